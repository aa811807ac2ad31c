#pragma once

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QSvgRenderer;

namespace diary {

// The diary's artwork is compiled in as SVG (":/diary/<file>") and drawn at the
// screen's pixel ratio. A picture that is missing draws nothing.
QSvgRenderer* CargarArte(const QString& archivo);

// The picture rendered at a size in device-independent pixels; a null pixmap when the
// file is missing.
QPixmap PintarArte(const QString& archivo, QSize tamano, qreal proporcion);

// The compiled-in artwork is registered; done once, before any other thread reads it.
void IniciarArte();

// An opaque picture rendered into an image over a base colour, without the shared
// renderers: safe on any thread (the artwork holds no text, so no fonts are needed).
// A null image when the file is missing.
QImage PintarArteOpaco(const QString& archivo, QSize tamano, qreal proporcion, QColor base);

// The pointing hand over the hot zones (fingertip at 12,1).
QCursor CursorMano();
QIcon IconoDiario();

// A picture control: draws one SVG over its whole rectangle.
class ImagenSvg : public QWidget {
    Q_OBJECT
public:
    ImagenSvg(const QString& archivo, QWidget* padre);
    const QString& Archivo() const { return archivo_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString archivo_;
    QPixmap cache_;
};

} // namespace diary
