#pragma once

// The programs' artwork is SVG compiled into each program; it is drawn at the screen's
// pixel ratio so that it stays crisp on dense screens, and only when first needed.

#include <QColor>
#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>

class QSvgRenderer;

namespace comun {

// The picture at `tamano` device-independent pixels, drawn at `proporcion` over a
// transparent background.
QPixmap PintarSvg(QSvgRenderer& dibujo, QSize tamano, qreal proporcion);
// The same from a resource; a null pixmap when the resource is missing or no SVG.
QPixmap PixmapSvg(const QString& recurso, QSize tamano, qreal proporcion);
// An opaque picture over a base colour, drawn into an image without any shared state:
// safe on any thread as long as the artwork holds no text. Null when missing.
QImage PintarSvgOpaco(const QString& recurso, QSize tamano, qreal proporcion, QColor base);

// A picture drawn when the program was built (the build step pintar_svg): its pixels as
// they lie in memory, `pixeles` in size and in `formato`, in a resource the resource
// compiler may have packed with zlib. Null when the resource is missing or of another
// size. Safe on any thread.
QImage ImagenCompilada(const QString& recurso, QSize pixeles, QImage::Format formato,
                       qreal proporcion = 1.0);

// An icon whose pictures are made the first time anything asks it for one (a menu that
// opens, a window frame, a notification area), not when the icon is made: start-up
// pays nothing for pictures nobody looks at. Every answer is that of the icon `hacer`
// builds, which is built once and shared by all copies.
QIcon IconoDiferido(std::function<QIcon()> hacer);
// An icon with renderings at 1x and 2x of one size, drawn when first asked for.
QIcon IconoSvg(const QString& recurso, QSize tamano);
// An icon with one rendering (at 1x) per size, drawn when first asked for.
QIcon IconoSvgTamanos(const QString& recurso, const QList<QSize>& tamanos);

// The hand pointer of a program's hot zones, at the screen's ratio, with its hot spot
// at the fingertip; the desktop's own pointing hand when the picture is missing.
QCursor CursorMano(const QString& recurso, QPoint punta);

// Colours are kept as the desktop stores them: red in the low byte, blue in the high.
QColor ColorVB(quint32 bgr);
// A label's text colour.
void PonerColor(QWidget* control, quint32 bgr);

// A picture control: one SVG over its whole rectangle, drawn the first time it is shown
// and again only for another size or pixel ratio (a picture that starts hidden costs
// nothing until it is shown).
class ImagenSvg : public QWidget {
    Q_OBJECT
public:
    ImagenSvg(const QString& recurso, QWidget* padre);
    const QString& Recurso() const { return recurso_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString recurso_;
    QPixmap pintada_;
};

} // namespace comun
