#include "FrmMain.h"
#include "Letras.h"
#include "SonidosQt.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // Reading the desktop's font configuration is the largest single cost before the
    // first text can be drawn: it runs on a second thread while the application object
    // is built, and is joined before any window exists.
    comun::PrecargaLetras letras;
    QApplication app(argc, argv);
    letras.Esperar();
    comun::Entorno entorno = comun::Entorno::Real(QCoreApplication::applicationDirPath());
    entorno.sonidos = std::make_shared<comun::SonidosQt>(QCoreApplication::applicationDirPath());
    diary::FrmMain frm(entorno);
    if (!frm.Form_Load())
        return 0;
    frm.Mostrar();
    return app.exec();
}
