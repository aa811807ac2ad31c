// Writes one key of a large settings file over and over, alternating two values, so a
// test can kill it at any moment and look at what is left on disk.
#include "Ini.h"

#include <QCoreApplication>
#include <QFile>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString ruta = QString::fromLocal8Bit(argv[1]);
    QFile listo(ruta + QStringLiteral(".listo"));
    for (long i = 0;; ++i) {
        comun::EscribirPerfil(ruta, QStringLiteral("Posicion"), QStringLiteral("ReIzda"),
                              (i % 2) ? QStringLiteral("2222") : QStringLiteral("1111"));
        if (i == 2 && listo.open(QIODevice::WriteOnly))
            listo.close();
    }
}
