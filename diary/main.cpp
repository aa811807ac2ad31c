#include "FrmMain.h"
#include "Letras.h"
#include "SonidosQt.h"
#include "Traducciones.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // Reading the desktop's font configuration is the largest single cost before the
    // first text can be drawn: it runs on a second thread while the application object
    // is built, and is joined before any window exists.
    comun::PrecargaLetras letras;
    QApplication app(argc, argv);
    comun::CargarTraduccionesQt();
    // The name of its menu entry (scripts/escritorio.sh), so that the desktop matches
    // the windows to the entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("vemora-rendalio"));
    letras.Esperar();
    comun::Entorno entorno = comun::Entorno::Real(QCoreApplication::applicationDirPath());
    entorno.sonidos = std::make_shared<comun::SonidosQt>(QCoreApplication::applicationDirPath());
    diary::FrmMain frm(entorno);
    if (!frm.Form_Load())
        return 0;
    frm.Mostrar();
    return app.exec();
}
