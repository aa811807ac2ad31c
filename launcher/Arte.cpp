#include "Arte.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QMouseEvent>
#include <QPainter>
#include <QSvgRenderer>
#include <memory>
#include <optional>

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

namespace {
QPixmap Pintar(QSvgRenderer& renderer, QSize tamano, qreal proporcion) {
    QPixmap pixmap(tamano * proporcion);
    pixmap.fill(Qt::transparent);
    QPainter pintor(&pixmap);
    pintor.setRenderHint(QPainter::Antialiasing);
    renderer.render(&pintor, QRectF(QPointF(0, 0), QSizeF(pixmap.size())));
    pintor.end();
    pixmap.setDevicePixelRatio(proporcion);
    return pixmap;
}

// Answers every question with the icon of its recipe, built at the first question.
// Copies of the icon share one recipe, so the pictures are made once.
class MotorDiferido : public QIconEngine {
public:
    struct Receta {
        std::function<QIcon()> hacer;
        std::optional<QIcon> icono;
    };
    explicit MotorDiferido(std::shared_ptr<Receta> receta) : receta_(std::move(receta)) {}

    // QIcon asks its engine for a pixmap at ratio 1, and for a scaled one (the size
    // in device pixels and the ratio) above it: both go to the built icon unchanged.
    QPixmap pixmap(const QSize& tamano, QIcon::Mode modo, QIcon::State estado) override {
        return Real().pixmap(tamano, 1.0, modo, estado);
    }
    QPixmap scaledPixmap(const QSize& tamano, QIcon::Mode modo, QIcon::State estado,
                         qreal escala) override {
        return Real().pixmap(tamano / escala, escala, modo, estado);
    }
    QSize actualSize(const QSize& tamano, QIcon::Mode modo, QIcon::State estado) override {
        // A pixmap icon's actual size is the size of the pixmap it gives for the request.
        return pixmap(tamano, modo, estado).size();
    }
    void paint(QPainter* pintor, const QRect& rect, QIcon::Mode modo,
               QIcon::State estado) override {
        // As a pixmap icon paints: its pixmap at the device's ratio, drawn over the rect.
        const QPaintDevice* dispositivo = pintor->device();
        const qreal proporcion =
            dispositivo ? dispositivo->devicePixelRatio() : qGuiApp->devicePixelRatio();
        pintor->drawPixmap(rect, scaledPixmap(rect.size() * proporcion, modo, estado, proporcion));
    }
    QList<QSize> availableSizes(QIcon::Mode modo, QIcon::State estado) override {
        return Real().availableSizes(modo, estado);
    }
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("launcher::MotorDiferido"); }
    QIconEngine* clone() const override { return new MotorDiferido(receta_); }

private:
    const QIcon& Real() {
        if (!receta_->icono)
            receta_->icono = receta_->hacer();
        return *receta_->icono;
    }
    std::shared_ptr<Receta> receta_;
};
} // namespace

QPixmap PixmapSvg(const QString& recurso, QSize tamano, qreal proporcion) {
    CargarArte();
    QSvgRenderer renderer(recurso);
    return Pintar(renderer, tamano, proporcion);
}

QIcon IconoDiferido(std::function<QIcon()> hacer) {
    return QIcon(new MotorDiferido(
        std::make_shared<MotorDiferido::Receta>(MotorDiferido::Receta{std::move(hacer), {}})));
}

QIcon IconoSvg(const QString& recurso, QSize tamano) {
    return IconoDiferido([recurso, tamano] {
        CargarArte();
        QSvgRenderer renderer(recurso); // read once for both renderings
        QIcon icono;
        icono.addPixmap(Pintar(renderer, tamano, 1.0));
        icono.addPixmap(Pintar(renderer, tamano, 2.0));
        return icono;
    });
}

QIcon IconoSvgTamanos(const QString& recurso, const QList<QSize>& tamanos) {
    return IconoDiferido([recurso, tamanos] {
        CargarArte();
        QSvgRenderer renderer(recurso);
        QIcon icono;
        for (const QSize& tamano : tamanos)
            icono.addPixmap(Pintar(renderer, tamano, 1.0));
        return icono;
    });
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
