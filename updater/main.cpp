#include "Entorno.h"
#include "FrmMain.h"
#include "Letras.h"
#include "Plataforma.h"
#include "Traducciones.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    comun::PrecargaLetras letras;
    comun::EleccionPlataforma plataforma;
    QApplication app(argc, argv);
    plataforma.Soltar();
    comun::CargarTraduccionesQt();
    // Installed, this program is "Brivolar.exe": it shares the bar's menu entry
    // (scripts/escritorio.sh), so that the desktop matches its windows to that entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("vemora-brivolar"));
    letras.ContinuarConLista();
    // The program lives without a visible window: closing a message box or the
    // locator must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    updater::FrmMain frm(comun::Entorno::Real(QCoreApplication::applicationDirPath()),
                         QCoreApplication::applicationFilePath());
    int resultado = 0;
    if (frm.Form_Load()) {
        QObject::connect(&frm, &updater::FrmMain::ProgramaTerminado, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        resultado = app.exec();
    }
    letras.Esperar(); // before the QApplication goes
    return resultado;
}
