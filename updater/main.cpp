#include "Entorno.h"
#include "FrmMain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The program lives without a visible window: closing a message box or the
    // locator must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    updater::FrmMain frm(comun::Entorno::Real(QCoreApplication::applicationDirPath()),
                         QCoreApplication::applicationFilePath());
    if (!frm.Form_Load())
        return 0;
    QObject::connect(&frm, &updater::FrmMain::ProgramaTerminado, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    return app.exec();
}
