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

QImage FondoCompilado(QSize tamano, qreal proporcion) {
    const int veces = qRound(proporcion);
    if ((veces != 1 && veces != 2) || !qFuzzyCompare(proporcion, qreal(veces)))
        return {};
    IniciarArte();
    return comun::ImagenCompilada(QStringLiteral(":/diary/pintado/fondo@%1x.rgb32").arg(veces),
                                  tamano * veces, QImage::Format_RGB32, veces);
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
    // The sizes of the window frame and the task bar, drawn when the program was built;
    // drawn from the SVG when first asked for if they are missing.
    QIcon icono;
    for (const int lado : kLadosIcono) {
        QImage imagen =
            comun::ImagenCompilada(QStringLiteral(":/diary/pintado/icono%1.argb32").arg(lado),
                                   QSize(lado, lado), QImage::Format_ARGB32_Premultiplied);
        if (imagen.isNull())
            return IconoDiarioDibujado();
        icono.addPixmap(QPixmap::fromImage(std::move(imagen)));
    }
    return icono;
}

QIcon IconoDiarioDibujado() {
    IniciarArte();
    QList<QSize> tamanos;
    for (const int lado : kLadosIcono)
        tamanos << QSize(lado, lado);
    return comun::IconoSvgTamanos(RutaArte(QStringLiteral("icono.svg")), tamanos);
}

ImagenSvg::ImagenSvg(const QString& archivo, QWidget* padre)
    : comun::ImagenSvg((IniciarArte(), RutaArte(archivo)), padre) {}

} // namespace diary
