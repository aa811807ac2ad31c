#pragma once

// The launcher's artwork is SVG compiled into the library; it is painted at the
// screen's device pixel ratio so it stays crisp on dense screens.

#include <QColor>
#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QSvgRenderer;

namespace launcher {

// Resources of the library must be registered once in a program that links it
// statically; every window of the library calls this before using its artwork.
void CargarArte();

// The picture at the given size in device-independent pixels, rendered at the ratio.
QPixmap PixmapSvg(const QString& recurso, QSize tamano, qreal proporcion);
// An icon with renderings at 1x and 2x.
QIcon IconoSvg(const QString& recurso, QSize tamano);
// The hand pointer of the buttons, the help label and the locator's help picture.
QCursor CursorMano();

// Colours are kept as the desktop stores them: red in the low byte, blue in the high.
QColor ColorVB(quint32 bgr);
// A label's text colour.
void PonerColor(QWidget* control, quint32 bgr);

// An image control: paints its SVG over its whole area (and nothing when hidden).
class ImagenSvg : public QWidget {
    Q_OBJECT
public:
    ImagenSvg(const QString& recurso, QWidget* padre);
    const QString& Recurso() const { return recurso_; }

signals:
    void clic();
    void dobleClic();
    void movido();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    QString recurso_;
    QSvgRenderer* renderer_ = nullptr;
    bool pulsado_ = false;
};

} // namespace launcher
