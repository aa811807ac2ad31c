#pragma once

#include "ArteSvg.h"
#include "Entorno.h"
#include "Etiqueta.h"
#include "Inicio.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QPushButton>
#include <QSvgRenderer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

namespace importer {

class MotorDatos;

// A picture-less hot spot over a part of the background (the help symbol).
class ZonaActiva : public QWidget {
    Q_OBJECT
public:
    explicit ZonaActiva(QWidget* padre);
signals:
    void Click();
    void MouseMove();

protected:
    void mousePressEvent(QMouseEvent* evento) override;
    void mouseReleaseEvent(QMouseEvent* evento) override;
    void mouseMoveEvent(QMouseEvent* evento) override;

private:
    bool pulsada_ = false;
};

// A picture drawn from an SVG of the resources, crisp at any pixel ratio, that lets the
// pointer through to the zone under it.
class Imagen : public comun::ImagenSvg {
public:
    Imagen(const QString& recurso, QWidget* padre);
};

// The wizard: eleven pages moved by Back and Next; step 9 makes the safety copy of
// Vemora.dat, step 10 merges "Datos.csv" into it; closing starts the host.
class FrmMain : public QWidget {
    Q_OBJECT
public:
    // `datos` does the safety copy and the import; by default the engine of the module
    // beside the program.
    explicit FrmMain(comun::Entorno entorno, std::shared_ptr<MotorDatos> datos = nullptr,
                     QWidget* padre = nullptr);

    // The start-up (guard, first page). False when the program must end at once.
    bool Form_Load();

    void CmdSiguiente_Click();
    void CmdAtras_Click();
    void ImgAyuda_Click();
    void ImgAyuda_MouseMove();
    void Form_MouseMove();
    void MostrarPaso();

    qint16 PasoActual = 0;
    QString RutaPrograma;
    QString RutaDatos;
    QString RutaCopia;

    comun::Etiqueta* LblDetalles;
    comun::Etiqueta* LblEstado;
    QPushButton* CmdAtras;
    QPushButton* CmdSiguiente;
    ZonaActiva* ImgAyuda;
    Imagen* ImgSel;

    // Colour of the page text as 0xBBGGRR.
    quint32 ColorDetalles() const { return colorDetalles_; }
    bool Terminado() const { return terminado_; }
    qint64 UltimoShell() const { return ultimoShell_; }
    // Milliseconds between two turns of the event loop during the import, and the turn
    // itself (tests act there as a user would while the import runs).
    int intervaloEventosMs = 30;
    std::function<void()> procesarEventos = [] { QCoreApplication::processEvents(); };

protected:
    void paintEvent(QPaintEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    void mouseMoveEvent(QMouseEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void Form_Unload();
    void PonerColorDetalles(quint32 color);
    void PonerEstadoPaso();
    void PonerEstado(const QString& caption);
    void HacerCopia();
    void IncluirDatos();
    void FalloImportacion(const QString& descripcion);
    void MostrarProgreso(qsizetype k, qsizetype total);
    void TerminarTrasImportacion();
    bool PerteneceAlInicio(std::optional<quint64> pulsado) const;
    void PonerCursores();

    comun::Entorno entorno_;
    std::shared_ptr<MotorDatos> datos_;
    comun::GuardiaInicio guardia_;
    QSvgRenderer fondo_;
    QPixmap fondoPintado_;
    quint32 colorDetalles_ = 0;
    bool terminado_ = false;
    bool importando_ = false;
    // The wizard was asked to end while the import ran.
    bool finPedido_ = false;
    // Contacts of the file committed by the import, and how many the file holds.
    qsizetype incluidos_ = 0;
    qsizetype totalContactos_ = 0;
    // Times of the input events (the window system's clock, in ms) of the press and the
    // release that are acting on CmdSiguiente; none for a click made by the program.
    std::optional<quint64> pulsadoSiguiente_;
    std::optional<quint64> soltadoSiguiente_;
    // The release (or Enter) that last entered step 10.
    std::optional<quint64> inicioImportacion_;
    qint64 ultimoShell_ = 0;
};

} // namespace importer
