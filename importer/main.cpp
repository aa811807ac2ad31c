#include "FrmMain.h"

#include <QApplication>

#ifdef TRASVOLO_FONTCONFIG
#include <fontconfig/fontconfig.h>
#include <thread>
#endif

int main(int argc, char* argv[]) {
#ifdef TRASVOLO_FONTCONFIG
    // The pages are text: reading the system's font configuration takes a few
    // milliseconds, done here while the application connects to the display rather than
    // after it, when the first page is laid out.
    std::thread letras([] { FcInit(); });
#endif
    QApplication app(argc, argv);
#ifdef TRASVOLO_FONTCONFIG
    letras.join();
#endif
    importer::FrmMain ventana(comun::Entorno::Real(QCoreApplication::applicationDirPath()));
    if (!ventana.Form_Load())
        return 0;
    ventana.show();
    return app.exec();
}
