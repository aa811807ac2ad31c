#include "FrmMain.h"
#include "Letras.h"
#include "Plataforma.h"
#include "Traducciones.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // The pages are text: the system's font configuration is read while the application
    // connects to the display rather than after it, when the first page is laid out.
    comun::PrecargaLetras letras;
    comun::EleccionPlataforma plataforma;
    QApplication app(argc, argv);
    plataforma.Soltar();
    comun::CargarTraduccionesQt();
    // The name of its menu entry (scripts/escritorio.sh), so that the desktop matches
    // the windows to the entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("vemora-trasvolo"));
    letras.Esperar();
    importer::FrmMain ventana(comun::Entorno::Real(QCoreApplication::applicationDirPath()));
    if (!ventana.Form_Load())
        return 0;
    ventana.show();
    return app.exec();
}
