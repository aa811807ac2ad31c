#pragma once

#include <QCursor>
#include <QIcon>
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
