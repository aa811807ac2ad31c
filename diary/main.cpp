#include "FrmMain.h"
#include "Letras.h"
#include "Plataforma.h"
#include "SonidosQt.h"
#include "Traducciones.h"

#include <QApplication>
#include <QDBusConnection>
#include <thread>

#ifdef __GLIBC__
#include <malloc.h>
#endif

int main(int argc, char* argv[]) {
#ifdef __GLIBC__
    // The start-up's helper threads (fonts, background picture, the toolkit's image
    // work) would each get a heap of their own that stays mapped for the program's
    // life: about 0.6 MB more at its peak. They are few and brief; one heap serves.
    mallopt(M_ARENA_MAX, 1);
#endif
    // Reading the desktop's font configuration is the largest single cost before the
    // first text can be drawn: it runs on a second thread while the application object
    // is built, and is joined before any window exists. (Filling the font list there too
    // makes three busy threads once the background picture starts: slower on two cores.)
    comun::PrecargaLetras letras;
    comun::EleccionPlataforma plataforma;
    QApplication app(argc, argv);
    plataforma.Soltar();
    // The first control starts the screen reader's bridge, which waits for a connection
    // to the desktop's session bus (or for the failed attempt to launch one): it is
    // opened here, on the other core, while the program checks its folder, reads its
    // settings and opens its store.
    std::thread bus([] { QDBusConnection::sessionBus(); });
    comun::CargarTraduccionesQt();
    // The name of its menu entry (scripts/escritorio.sh), so that the desktop matches
    // the windows to the entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("vemora-rendalio"));
    letras.Esperar();
    comun::Entorno entorno = comun::Entorno::Real(QCoreApplication::applicationDirPath());
    entorno.sonidos = std::make_shared<comun::SonidosQt>(QCoreApplication::applicationDirPath());
    diary::FrmMain frm(entorno);
    int resultado = 0;
    if (frm.Form_Load()) {
        frm.Mostrar();
        resultado = app.exec();
    }
    letras.Esperar(); // before the QApplication goes
    bus.join();
    return resultado;
}
