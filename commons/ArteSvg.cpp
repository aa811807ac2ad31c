#include "ArteSvg.h"

#include <QFile>
#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QResource>
#include <QScreen>
#include <QSvgRenderer>
#include <cstring>
#include <memory>
#include <optional>

#include <zlib.h>

namespace comun {

QPixmap PintarSvg(QSvgRenderer& dibujo, QSize tamano, qreal proporcion) {
    if (tamano.isEmpty())
        return {};
    QPixmap imagen(tamano * proporcion);
    imagen.fill(Qt::transparent);
    {
        QPainter pintor(&imagen);
        pintor.setRenderHint(QPainter::Antialiasing);
        dibujo.render(&pintor, QRectF(QPointF(0, 0), QSizeF(imagen.size())));
    }
    imagen.setDevicePixelRatio(proporcion);
    return imagen;
}

QPixmap PixmapSvg(const QString& recurso, QSize tamano, qreal proporcion) {
    if (!QFile::exists(recurso))
        return {};
    QSvgRenderer dibujo(recurso);
    if (!dibujo.isValid())
        return {};
    return PintarSvg(dibujo, tamano, proporcion);
}

QImage PintarSvgOpaco(const QString& recurso, QSize tamano, qreal proporcion, QColor base) {
    QSvgRenderer dibujo(recurso);
    if (!dibujo.isValid() || tamano.isEmpty())
        return {};
    QImage imagen(tamano * proporcion, QImage::Format_RGB32);
    imagen.setDevicePixelRatio(proporcion);
    imagen.fill(base);
    QPainter pintor(&imagen);
    pintor.setRenderHint(QPainter::Antialiasing);
    dibujo.render(&pintor, QRectF(QPointF(0, 0), QSizeF(tamano)));
    return imagen;
}

QImage ImagenCompilada(const QString& recurso, QSize pixeles, QImage::Format formato,
                       qreal proporcion) {
    const QResource datos(recurso);
    QImage imagen(pixeles, formato);
    if (!datos.isValid() || imagen.isNull() || imagen.depth() != 32 ||
        datos.uncompressedSize() != imagen.sizeInBytes())
        return {};
    // Unpacked straight into the image: no second copy of the pixels is ever held. The
    // resource compiler stores the size (4 bytes, big-endian) before the zlib stream.
    if (datos.compressionAlgorithm() == QResource::ZlibCompression && datos.size() > 4) {
        uLongf hecho = uLongf(imagen.sizeInBytes());
        if (uncompress(imagen.bits(), &hecho, datos.data() + 4, uLong(datos.size() - 4)) != Z_OK ||
            hecho != uLongf(imagen.sizeInBytes()))
            return {};
    } else {
        const QByteArray crudos = datos.uncompressedData();
        if (crudos.size() != imagen.sizeInBytes())
            return {};
        std::memcpy(imagen.bits(), crudos.constData(), size_t(crudos.size()));
    }
    imagen.setDevicePixelRatio(proporcion);
    return imagen;
}

namespace {
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
    QString key() const override { return QStringLiteral("comun::MotorDiferido"); }
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

QIcon IconoDiferido(std::function<QIcon()> hacer) {
    return QIcon(new MotorDiferido(
        std::make_shared<MotorDiferido::Receta>(MotorDiferido::Receta{std::move(hacer), {}})));
}

QIcon IconoSvg(const QString& recurso, QSize tamano) {
    return IconoDiferido([recurso, tamano] {
        QSvgRenderer dibujo(recurso); // read once for both renderings
        QIcon icono;
        icono.addPixmap(PintarSvg(dibujo, tamano, 1.0));
        icono.addPixmap(PintarSvg(dibujo, tamano, 2.0));
        return icono;
    });
}

QIcon IconoSvgTamanos(const QString& recurso, const QList<QSize>& tamanos) {
    return IconoDiferido([recurso, tamanos] {
        QSvgRenderer dibujo(recurso);
        QIcon icono;
        for (const QSize& tamano : tamanos)
            icono.addPixmap(PintarSvg(dibujo, tamano, 1.0));
        return icono;
    });
}

QCursor CursorMano(const QString& recurso, QPoint punta) {
    const qreal proporcion = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    const QPixmap mano = PixmapSvg(recurso, QSize(32, 32), proporcion);
    if (mano.isNull())
        return QCursor(Qt::PointingHandCursor);
    return QCursor(mano, punta.x(), punta.y());
}

QColor ColorVB(quint32 bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

void PonerColor(QWidget* control, quint32 bgr) {
    QPalette paleta = control->palette();
    paleta.setColor(QPalette::WindowText, ColorVB(bgr));
    control->setPalette(paleta);
}

ImagenSvg::ImagenSvg(const QString& recurso, QWidget* padre) : QWidget(padre), recurso_(recurso) {}

void ImagenSvg::paintEvent(QPaintEvent*) {
    const qreal proporcion = devicePixelRatioF();
    if (pintada_.isNull() || pintada_.deviceIndependentSize() != QSizeF(size()) ||
        !qFuzzyCompare(pintada_.devicePixelRatio(), proporcion))
        pintada_ = PixmapSvg(recurso_, size(), proporcion);
    if (pintada_.isNull())
        return;
    QPainter(this).drawPixmap(0, 0, pintada_);
}

} // namespace comun
