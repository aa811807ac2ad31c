#pragma once

// The quick-launch bar: a frameless window shaped by its outline, a row of program
// buttons, a round hide button, a caption strip that explains what the pointer is
// over, a popup menu that repeats every command and an icon in the notification area.

#include "Entorno.h"
#include "Ini.h"
#include "Inicio.h"
#include "Programas.h"

#include <QIcon>
#include <QRegion>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QSvgRenderer;
class QTimer;

namespace comun {
class GestosBandeja;
class IconoBandeja;
} // namespace comun

namespace launcher {

class ImagenSvg;

// The pixel size of the bar's captions for a desktop font: the largest from 11 down to
// 8 at which the longest caption ends before the "?". Measured once per font, on any
// thread: start-up measures it on another core while the bar builds itself (main.cpp).
int TamanoLeyendas(const QFont& base);

class FrmMain : public QWidget {
    Q_OBJECT
public:
    explicit FrmMain(const comun::Entorno& entorno, QWidget* padre = nullptr);
    ~FrmMain() override;

    // The window's load: the start-up guard, the stored place and start mode, the
    // outline, the window shown (or, hidden at start, the tray icon). False when the
    // program has to end at once.
    bool Cargar();
    // What can wait until the bar has been painted: the tray icon of a shown bar.
    // Cargar queues it for the event loop's first turn; calling it again does nothing.
    void TerminarArranque();

    void Launch(int index);
    void Locate(int index);

    // Handlers of the controls' events, callable as a person's gestures would raise them.
    void ImgMenu_MouseMove(int index);
    void Form_MouseMove();
    void LblDetalles_MouseMove();
    void LblAyuda_MouseMove();
    void LblAyuda_Click();
    void TmrApagar_Timer();
    void Icono_Menu(const QPoint& donde, bool enPanel);
    void Icono_Cerrar();

    std::array<ImagenSvg*, 9> ImgMenu{};
    std::array<ImagenSvg*, 9> ImgSel{};
    QLabel* LblDetalles = nullptr;
    QLabel* LblAyuda = nullptr;
    std::array<QIcon, 14> ImgIco;
    QTimer* TmrApagar = nullptr;
    comun::IconoBandeja* Icono = nullptr;   // none where the desktop has no notification area
    comun::GestosBandeja* Gestos = nullptr; // the icon's clicks made into menu and close requests
    // Whether it has one: asked once, when first needed.
    bool HayBandeja();
    QMenu* mnuMenu = nullptr;
    QAction* mnuAyuda = nullptr;
    QAction* mnuMostrar = nullptr;
    QAction* mnuOcultar = nullptr;
    std::array<QAction*, 8> mnuBrivolar{};
    QAction* mnuSalir = nullptr;

    int Actual = 0; // the highlighted button
    QRegion Region;
    QString RutaPrograma;
    QString RutaIni;
    comun::ArchivoIni Ini;
    Lanzador lanzador;

    static const QString kLeyendaInicial;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void CrearControles();
    void CrearMenu();
    void PonerLetras();
    void CrearIcono();
    void Form_Unload();
    void GuardarAjustes();
    void PonerAyudaResaltada(bool resaltada);

    comun::Entorno entorno_;
    comun::GuardiaInicio guardia_;
    QSvgRenderer* fondo_ = nullptr;
    bool descargado_ = false;
    std::optional<bool> bandeja_;
    // Where the pointer holds the window while it is dragged by hand.
    std::optional<QPoint> agarre_;
};

} // namespace launcher
