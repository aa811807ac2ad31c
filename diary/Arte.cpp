#include "Arte.h"

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

QImage PintarFondo(QSize tamano, qreal proporcion) {
    for (const int hecha : {1, 2}) {
        if (!qFuzzyCompare(proporcion, qreal(hecha)))
            continue;
        IniciarArte();
        QImage imagen(QStringLiteral(":/diary/pintado/fondo@%1x.png").arg(hecha), "PNG");
        if (imagen.size() != tamano * hecha)
            break;
        imagen.setDevicePixelRatio(hecha);
        return imagen;
    }
    return PintarArteOpaco(QStringLiteral("fondo.svg"), tamano, proporcion, kColorFondo);
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
