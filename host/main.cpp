#include "FrmVemora.h"
#include "Plataforma.h"

#include <QApplication>

// The host program itself is outside the suite; this window only stands in for it.
int main(int argc, char* argv[]) {
    comun::EleccionPlataforma plataforma;
    QApplication app(argc, argv);
    plataforma.Soltar();
    host::FrmVemora ventana(QCoreApplication::applicationDirPath());
    ventana.show();
    return app.exec();
}
