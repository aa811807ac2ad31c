#pragma once

// The launcher's artwork is SVG compiled into the library; it is painted at the
// screen's device pixel ratio so it stays crisp on dense screens.

#include <QColor>
#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <functional>

class QSvgRenderer;

namespace launcher {

// Resources of the library must be registered once in a program that links it
// statically; every window of the library calls this before using its artwork.
void CargarArte();

// The picture at the given size in device-independent pixels, rendered at the ratio.
QPixmap PixmapSvg(const QString& recurso, QSize tamano, qreal proporcion);
// An icon with renderings at 1x and 2x, drawn when first asked for (see IconoDiferido).
QIcon IconoSvg(const QString& recurso, QSize tamano);
// An icon with one rendering (at 1x) per size, drawn when first asked for.
QIcon IconoSvgTamanos(const QString& recurso, const QList<QSize>& tamanos);

// An icon whose pictures are made the first time anything asks it for one (a menu that
// opens, a window frame, a notification area), not when the icon is made: start-up
// pays nothing for pictures nobody looks at. Every answer is that of the icon `hacer`
// builds, which is built once and shared by all copies.
QIcon IconoDiferido(std::function<QIcon()> hacer);
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
    // Read from the resource at the first paint: a picture that starts hidden (the
    // highlights) costs nothing until it is shown.
    QSvgRenderer* renderer_ = nullptr;
    bool pulsado_ = false;
};

} // namespace launcher
