#include "FrmMain.h"

#include "SonidosQt.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    comun::Entorno entorno = comun::Entorno::Real(QCoreApplication::applicationDirPath());
    entorno.sonidos = std::make_shared<comun::SonidosQt>(QCoreApplication::applicationDirPath());
    diary::FrmMain frm(entorno);
    if (!frm.Form_Load())
        return 0;
    frm.Mostrar();
    return app.exec();
}
