#include "Arte.h"

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
    return comun::PixmapSvg(recurso, tamano, proporcion);
}

QIcon IconoSvg(const QString& recurso, QSize tamano) {
    CargarArte();
    return comun::IconoSvg(recurso, tamano);
}

QIcon IconoSvgTamanos(const QString& recurso, const QList<QSize>& tamanos) {
    CargarArte();
    return comun::IconoSvgTamanos(recurso, tamanos);
}

QCursor CursorMano() {
    CargarArte();
    // The finger's tip is the hot spot.
    return comun::CursorMano(QStringLiteral(":/launcher/mano.svg"), QPoint(9, 1));
}

ImagenSvg::ImagenSvg(const QString& recurso, QWidget* padre) : QWidget(padre), recurso_(recurso) {
    CargarArte();
    setMouseTracking(true);
    setAttribute(Qt::WA_TranslucentBackground);
}

void ImagenSvg::paintEvent(QPaintEvent*) {
    if (recurso_.isEmpty())
        return;
    if (!renderer_)
        renderer_ = new QSvgRenderer(recurso_, this);
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
