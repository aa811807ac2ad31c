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
    // The name of its menu entry (scripts/escritorio.sh), so that the desktop matches
    // the windows to the entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("vemora-brivolar"));
    // The captions' size is measured there too, while the bar builds its controls.
    letras.ContinuarConLista([] { launcher::TamanoLeyendas(QGuiApplication::font()); });
    // The bar may be hidden with only its tray icon left: closing the locator must
    // not end the program; only the bar's own shut-down does.
    app.setQuitOnLastWindowClosed(false);
    launcher::FrmMain frm(comun::Entorno::Real(QCoreApplication::applicationDirPath()));
    const int resultado = frm.Cargar() ? app.exec() : 0;
    letras.Esperar(); // before the QApplication goes
    return resultado;
}
