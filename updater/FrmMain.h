#pragma once

// The launcher of version 1.8 and its own installer: started where the version mark
// is missing it installs itself as "Brivolar.exe" and ends; otherwise it lives in the
// notification area (or, on a desktop without one, in a small window of its own) with
// a menu that launches the programs, locates them, opens the web pages and the help.

#include "Entorno.h"
#include "Ini.h"
#include "Inicio.h"
#include "Navegador.h"
#include "Programas.h"

#include <QIcon>
#include <QStringList>
#include <QSystemTrayIcon>
#include <QVector>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QTimer;
class QToolButton;

namespace comun {
class GestosBandeja;
class IconoBandeja;
} // namespace comun

namespace updater {

inline const QString kTipIcono = QStringLiteral("Pellmark. Brivolar programas...");
inline const QString kSeccionWeb = QStringLiteral("BWeb");
constexpr int kPaginasWeb = 7;
constexpr int kIntervaloEliminar = 3000;

extern const QString kTituloSinNavegador;
extern const QString kTextoSinNavegador;
// "%1": the numbers of the pages whose address is no web address.
extern const QString kTextoPaginasInvalidas;

// The address to hand to the browser for a stored page, or empty when the value is no
// web address (empty, stray bytes, another scheme, a local file, an option).
QString DireccionWeb(const QString& valor);

// The way in where the desktop has no notification area: an always-on-top window
// whose one button opens the same menu. Closing it ends the program, as the tray
// icon's double click does.
class FrmSinBandeja : public QWidget {
    Q_OBJECT
public:
    FrmSinBandeja(const QIcon& icono, QMenu* menu);
    QToolButton* CmdMenu;
    static const QString kTitulo;

signals:
    void cerrada();

protected:
    void closeEvent(QCloseEvent* e) override;
};

class FrmMain : public QWidget {
    Q_OBJECT
public:
    // rutaEjecutable: the running program's own file (the source of the installation
    // and the file the clean-up must not remove from under itself).
    FrmMain(const comun::Entorno& entorno, QString rutaEjecutable, QWidget* padre = nullptr);
    ~FrmMain() override;

    // Start-up. False when the program ends here (another instance, no host, or the
    // installation ran): nothing is left running.
    bool Form_Load();
    // Shut-down: removes the tray icon (or its window) and ends the program.
    void Form_Unload();

    void mnuAyuda_Click();
    void mnuSelec_Click(int indice);
    void mnuBrivolar_Click(int indice);
    void mnuBWeb_Click();
    void mnuWeb_Click();
    void mnuSalir_Click() { Form_Unload(); }
    void TmrEliminar_Timer();
    void Icono_Activated(QSystemTrayIcon::ActivationReason razon);

    QString RutaPrograma;
    comun::ArchivoIni Ini;
    QStringList Direcciones; // the seven web-page addresses, read at start-up
    Navegador Browser;
    bool Terminado() const { return terminado_; }
    launcher::Lanzador& Lanzador() { return *lanzador_; }

    QMenu* mnuMenu;
    QAction* mnuAyuda;
    QMenu* mnuCarpetas;
    std::array<QAction*, 10> mnuSelec{};
    std::array<QAction*, 11> mnuBrivolar{};
    QAction* mnuBWeb;
    QAction* mnuWeb;
    QAction* mnuSalir;
    std::array<QIcon, 18> ImgIco; // pictures of the menu items; 1, 2 and 14 hold none
    QTimer* TmrEliminar;
    comun::IconoBandeja* Icono = nullptr;       // only on a desktop with a notification area
    comun::GestosBandeja* Gestos;               // the icon's clicks made into menu and end
    FrmSinBandeja* VentanaSinBandeja = nullptr; // only on a desktop without one

signals:
    // The program is over; main() leaves its event loop on it.
    void ProgramaTerminado();

private:
    void CrearMenu();
    void LeerDirecciones(const comun::FotoIni& ajustes);
    void IniciarBandeja();
    void PonerDibujosMenu();
    // Starts the browser for the next page of "Botón Web" once the start for the page
    // before did not fail, so that the pages open in their order and a launcher with
    // no browser behind it is found at the first page.
    void AbrirSiguientePagina();
    void TerminarPaginas(bool sinNavegador);
    // True, with the open modal window brought forward, while one is open.
    bool AvisarModal();

    comun::Entorno entorno_;
    QString rutaEjecutable_;
    comun::GuardiaInicio guardia_;
    std::unique_ptr<launcher::Lanzador> lanzador_;
    bool terminado_ = false;
    QStringList paginasPorAbrir_;  // the addresses of this "Botón Web" not started yet
    QStringList paginasInvalidas_; // the numbers of its pages that are no web address
    bool abriendoPaginas_ = false;
};

} // namespace updater
