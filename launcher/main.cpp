#include "FrmMain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The bar may be hidden with only its tray icon left: closing the locator must
    // not end the program; only the bar's own shut-down does.
    app.setQuitOnLastWindowClosed(false);
    launcher::FrmMain frm(comun::Entorno::Real(QCoreApplication::applicationDirPath()));
    if (!frm.Cargar())
        return 0;
    return app.exec();
}
