// Writes one key of a large settings file over and over, alternating two values, so a
// test can kill it at any moment and look at what is left on disk. Given a section, a
// key and a value it writes that once instead, and its exit status says whether the key
// was stored (a test runs it as another user).
#include "Ini.h"

#include <QCoreApplication>
#include <QFile>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString ruta = QString::fromLocal8Bit(argv[1]);
    if (argc == 5)
        return comun::EscribirPerfil(ruta, QString::fromLocal8Bit(argv[2]),
                                     QString::fromLocal8Bit(argv[3]),
                                     QString::fromLocal8Bit(argv[4]))
                   ? 0
                   : 1;
    QFile listo(ruta + QStringLiteral(".listo"));
    for (long i = 0;; ++i) {
        comun::EscribirPerfil(ruta, QStringLiteral("Posicion"), QStringLiteral("ReIzda"),
                              (i % 2) ? QStringLiteral("2222") : QStringLiteral("1111"));
        if (i == 2 && listo.open(QIODevice::WriteOnly))
            listo.close();
    }
}
