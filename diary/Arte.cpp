#include "Arte.h"

#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>
#include <memory>

// The resource file is generated from the artwork present when the project was
// configured; a static library needs its initialiser called by name.
static void IniciarRecursos() {
    Q_INIT_RESOURCE(diario);
}

namespace diary {

void IniciarArte() {
    static bool iniciado = false;
    if (!iniciado) {
        IniciarRecursos();
        iniciado = true;
    }
}

QSvgRenderer* CargarArte(const QString& archivo) {
    IniciarArte();
    static QHash<QString, std::shared_ptr<QSvgRenderer>> cache;
    auto it = cache.find(archivo);
    if (it == cache.end()) {
        const QString ruta = QStringLiteral(":/diary/") + archivo;
        std::shared_ptr<QSvgRenderer> renderer;
        if (QFile::exists(ruta)) {
            renderer = std::make_shared<QSvgRenderer>(ruta);
            if (!renderer->isValid())
                renderer.reset();
        }
        it = cache.insert(archivo, renderer);
    }
    return it->get();
}

QPixmap PintarArte(const QString& archivo, QSize tamano, qreal proporcion) {
    QSvgRenderer* renderer = CargarArte(archivo);
    if (!renderer || tamano.isEmpty())
        return {};
    QPixmap pixmap(tamano * proporcion);
    pixmap.setDevicePixelRatio(proporcion);
    pixmap.fill(Qt::transparent);
    QPainter pintor(&pixmap);
    pintor.setRenderHint(QPainter::Antialiasing);
    renderer->render(&pintor, QRectF(QPointF(0, 0), QSizeF(tamano)));
    return pixmap;
}

QImage PintarArteOpaco(const QString& archivo, QSize tamano, qreal proporcion, QColor base) {
    QSvgRenderer renderer(QStringLiteral(":/diary/") + archivo);
    if (!renderer.isValid() || tamano.isEmpty())
        return {};
    QImage imagen(tamano * proporcion, QImage::Format_RGB32);
    imagen.setDevicePixelRatio(proporcion);
    imagen.fill(base);
    QPainter pintor(&imagen);
    pintor.setRenderHint(QPainter::Antialiasing);
    renderer.render(&pintor, QRectF(QPointF(0, 0), QSizeF(tamano)));
    return imagen;
}

QCursor CursorMano() {
    const qreal proporcion = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    const QPixmap mano = PintarArte(QStringLiteral("mano.svg"), QSize(32, 32), proporcion);
    if (mano.isNull())
        return QCursor(Qt::PointingHandCursor);
    return QCursor(mano, 12, 1);
}

QIcon IconoDiario() {
    QIcon icono;
    for (int lado : {16, 32, 64}) {
        const QPixmap p = PintarArte(QStringLiteral("icono.svg"), QSize(lado, lado), 1.0);
        if (!p.isNull())
            icono.addPixmap(p);
    }
    return icono;
}

ImagenSvg::ImagenSvg(const QString& archivo, QWidget* padre) : QWidget(padre), archivo_(archivo) {}

void ImagenSvg::paintEvent(QPaintEvent*) {
    const qreal proporcion = devicePixelRatioF();
    if (cache_.isNull() || cache_.deviceIndependentSize().toSize() != size() ||
        !qFuzzyCompare(cache_.devicePixelRatio(), proporcion))
        cache_ = PintarArte(archivo_, size(), proporcion);
    if (cache_.isNull())
        return;
    QPainter pintor(this);
    pintor.drawPixmap(0, 0, cache_);
}

} // namespace diary
