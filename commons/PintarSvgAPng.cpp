// Build step: draws an SVG over a base colour into a PNG, through the same drawing the
// programs use at run time, so that a picture drawn here and one drawn on the user's
// screen are the same pixels.
//   pintar_svg_a_png ENTRADA.svg SALIDA.png ANCHO ALTO PROPORCION #rrggbb
#include "ArteSvg.h"

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: %s IN.svg OUT.png WIDTH HEIGHT RATIO #rrggbb\n", argv[0]);
        return 2;
    }
    // A build machine may have no display; the drawing needs none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argcApp = 1;
    QGuiApplication app(argcApp, argv);
    const QString entrada = QString::fromLocal8Bit(argv[1]);
    const QString salida = QString::fromLocal8Bit(argv[2]);
    const QSize tamano(QByteArray(argv[3]).toInt(), QByteArray(argv[4]).toInt());
    const qreal proporcion = QByteArray(argv[5]).toDouble();
    const QColor base = QColor::fromString(QLatin1String(argv[6]));
    if (tamano.isEmpty() || proporcion <= 0 || !base.isValid()) {
        std::fprintf(stderr, "%s: bad size, ratio or colour\n", argv[0]);
        return 2;
    }
    const QImage imagen = comun::PintarSvgOpaco(entrada, tamano, proporcion, base);
    if (imagen.isNull()) {
        std::fprintf(stderr, "%s: cannot draw %s\n", argv[0], argv[1]);
        return 1;
    }
    // Written whole or not at all: a half-written picture must not reach the build.
    QSaveFile archivo(salida);
    if (!archivo.open(QIODevice::WriteOnly) || !imagen.save(&archivo, "PNG") || !archivo.commit()) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
