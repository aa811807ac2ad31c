#include "Arte.h"

#include <QResource>

#include <cstring>

#include <zlib.h>

// The resource file is generated from the artwork present when the project was
// configured; a static library needs its initialiser called by name.
static void IniciarRecursos() {
    Q_INIT_RESOURCE(diario);
}

namespace diary {

namespace {
QString RutaArte(const QString& archivo) {
    return QStringLiteral(":/diary/") + archivo;
}
} // namespace

void IniciarArte() {
    static const bool hecho = [] {
        IniciarRecursos();
        return true;
    }();
    (void)hecho;
}

QImage PintarArteOpaco(const QString& archivo, QSize tamano, qreal proporcion, QColor base) {
    return comun::PintarSvgOpaco(RutaArte(archivo), tamano, proporcion, base);
}

QImage FondoCompilado(QSize tamano, qreal proporcion) {
    const int veces = qRound(proporcion);
    if ((veces != 1 && veces != 2) || !qFuzzyCompare(proporcion, qreal(veces)))
        return {};
    IniciarArte();
    const QResource recurso(QStringLiteral(":/diary/pintado/fondo@%1x.rgb32").arg(veces));
    QImage imagen(tamano * veces, QImage::Format_RGB32);
    if (!recurso.isValid() || imagen.isNull() || imagen.bytesPerLine() != imagen.width() * 4 ||
        recurso.uncompressedSize() != imagen.sizeInBytes())
        return {};
    // Unpacked straight into the image: no second copy of the pixels is ever held. The
    // resource compiler stores the size (4 bytes, big-endian) before the zlib stream.
    if (recurso.compressionAlgorithm() == QResource::ZlibCompression && recurso.size() > 4) {
        uLongf hecho = uLongf(imagen.sizeInBytes());
        if (uncompress(imagen.bits(), &hecho, recurso.data() + 4, uLong(recurso.size() - 4)) !=
                Z_OK ||
            hecho != uLongf(imagen.sizeInBytes()))
            return {};
    } else {
        const QByteArray pixeles = recurso.uncompressedData();
        if (pixeles.size() != imagen.sizeInBytes())
            return {};
        std::memcpy(imagen.bits(), pixeles.constData(), size_t(pixeles.size()));
    }
    imagen.setDevicePixelRatio(veces);
    return imagen;
}

QImage PintarFondo(QSize tamano, qreal proporcion) {
    QImage imagen = FondoCompilado(tamano, proporcion);
    if (imagen.isNull())
        imagen = PintarArteOpaco(QStringLiteral("fondo.svg"), tamano, proporcion, kColorFondo);
    return imagen;
}

QCursor CursorMano() {
    IniciarArte();
    return comun::CursorMano(RutaArte(QStringLiteral("mano.svg")), QPoint(12, 1));
}

QIcon IconoDiario() {
    IniciarArte();
    return comun::IconoSvgTamanos(RutaArte(QStringLiteral("icono.svg")),
                                  {QSize(16, 16), QSize(32, 32), QSize(64, 64)});
}

ImagenSvg::ImagenSvg(const QString& archivo, QWidget* padre)
    : comun::ImagenSvg((IniciarArte(), RutaArte(archivo)), padre) {}

} // namespace diary
