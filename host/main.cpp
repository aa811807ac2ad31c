#include "FrmVemora.h"

#include <QApplication>

// The host program itself is outside the suite; this window only stands in for it.
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    host::FrmVemora ventana(QCoreApplication::applicationDirPath());
    ventana.show();
    return app.exec();
}
