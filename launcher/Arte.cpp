#include "Arte.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>

static void IniciarRecursosLanzador() {
    Q_INIT_RESOURCE(launcher);
}

namespace launcher {

void CargarArte() {
    static const bool hecho = [] {
        IniciarRecursosLanzador();
        return true;
    }();
    (void)hecho;
}

QPixmap PixmapSvg(const QString& recurso, QSize tamano, qreal proporcion) {
    CargarArte();
    QPixmap pixmap(tamano * proporcion);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(recurso);
    QPainter pintor(&pixmap);
    pintor.setRenderHint(QPainter::Antialiasing);
    renderer.render(&pintor, QRectF(QPointF(0, 0), QSizeF(pixmap.size())));
    pintor.end();
    pixmap.setDevicePixelRatio(proporcion);
    return pixmap;
}

QIcon IconoSvg(const QString& recurso, QSize tamano) {
    QIcon icono;
    icono.addPixmap(PixmapSvg(recurso, tamano, 1.0));
    icono.addPixmap(PixmapSvg(recurso, tamano, 2.0));
    return icono;
}

QCursor CursorMano() {
    const qreal proporcion = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    // The finger's tip is the hot spot.
    return QCursor(PixmapSvg(QStringLiteral(":/launcher/mano.svg"), QSize(32, 32), proporcion), 9,
                   1);
}

QColor ColorVB(quint32 bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

void PonerColor(QWidget* control, quint32 bgr) {
    QPalette paleta = control->palette();
    paleta.setColor(QPalette::WindowText, ColorVB(bgr));
    control->setPalette(paleta);
}

ImagenSvg::ImagenSvg(const QString& recurso, QWidget* padre) : QWidget(padre), recurso_(recurso) {
    CargarArte();
    if (!recurso_.isEmpty())
        renderer_ = new QSvgRenderer(recurso_, this);
    setMouseTracking(true);
    setAttribute(Qt::WA_TranslucentBackground);
}

void ImagenSvg::paintEvent(QPaintEvent*) {
    if (!renderer_)
        return;
    QPainter pintor(this);
    pintor.setRenderHint(QPainter::Antialiasing);
    renderer_->render(&pintor, QRectF(rect()));
}

// A click is the release of a press that began here; the second press of a double
// click raises the double click instead, and its release nothing.
void ImagenSvg::mousePressEvent(QMouseEvent* e) {
    pulsado_ = e->button() == Qt::LeftButton;
}

void ImagenSvg::mouseReleaseEvent(QMouseEvent* e) {
    const bool eraClic = pulsado_ && e->button() == Qt::LeftButton && rect().contains(e->pos());
    pulsado_ = false;
    if (eraClic)
        emit clic();
}

void ImagenSvg::mouseDoubleClickEvent(QMouseEvent* e) {
    pulsado_ = false;
    if (e->button() == Qt::LeftButton)
        emit dobleClic();
}

void ImagenSvg::mouseMoveEvent(QMouseEvent*) {
    emit movido();
}

} // namespace launcher
