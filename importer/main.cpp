#include "FrmMain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    importer::FrmMain ventana(comun::Entorno::Real(QCoreApplication::applicationDirPath()));
    if (!ventana.Form_Load())
        return 0;
    ventana.show();
    return app.exec();
}
