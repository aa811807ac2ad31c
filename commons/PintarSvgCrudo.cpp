// Build step: draws an SVG over a base colour, or over a transparent ground for an icon,
// and writes its pixels as they lie in memory (32-bit 0xAARRGGBB, premultiplied where
// transparent, rows top to bottom, no header), through the same drawing
// the programs use at run time: a picture drawn here and one drawn on the user's
// screen are the same pixels. The resource compiler compresses the file; a program
// unpacks it straight into an image, with no decoder and no image plug-in.
//   pintar_svg ENTRADA.svg SALIDA ANCHO ALTO PROPORCION #rrggbb|transparente
#include "ArteSvg.h"

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QSaveFile>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 7) {
        std::fprintf(stderr, "usage: %s IN.svg OUT WIDTH HEIGHT RATIO #rrggbb|transparente\n",
                     argv[0]);
        return 2;
    }
    // A build machine may have no display; the drawing needs none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argcApp = 1;
    QGuiApplication app(argcApp, argv);
    const QSize tamano(QByteArray(argv[3]).toInt(), QByteArray(argv[4]).toInt());
    const qreal proporcion = QByteArray(argv[5]).toDouble();
    const QString entrada = QString::fromLocal8Bit(argv[1]);
    const bool transparente = QByteArray(argv[6]) == "transparente";
    const QColor base = transparente ? QColor() : QColor::fromString(QLatin1String(argv[6]));
    if (tamano.isEmpty() || proporcion <= 0 || (!transparente && !base.isValid())) {
        std::fprintf(stderr, "%s: bad size, ratio or colour\n", argv[0]);
        return 2;
    }
    QImage imagen;
    if (transparente) {
        QSvgRenderer dibujo(entrada);
        if (dibujo.isValid())
            imagen = comun::PintarSvg(dibujo, tamano, proporcion)
                         .toImage()
                         .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    } else {
        imagen = comun::PintarSvgOpaco(entrada, tamano, proporcion, base);
    }
    if (imagen.isNull()) {
        std::fprintf(stderr, "%s: cannot draw %s\n", argv[0], argv[1]);
        return 1;
    }
    // Written whole or not at all: a half-written picture must not reach the build.
    QSaveFile archivo(QString::fromLocal8Bit(argv[2]));
    const auto* pixeles = reinterpret_cast<const char*>(imagen.constBits());
    if (!archivo.open(QIODevice::WriteOnly) ||
        archivo.write(pixeles, imagen.sizeInBytes()) != imagen.sizeInBytes() || !archivo.commit()) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
