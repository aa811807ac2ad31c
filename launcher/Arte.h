#pragma once

// The launcher's artwork is SVG compiled into the library (":/launcher/..."); it is
// drawn through commons' artwork helpers, at the screen's device pixel ratio.

#include "ArteSvg.h"

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QSvgRenderer;

namespace launcher {

using comun::ColorVB;
using comun::IconoDiferido;
using comun::PonerColor;

// Resources of the library must be registered once in a program that links it
// statically; every window of the library calls this before using its artwork.
void CargarArte();

// The same as commons' helpers, with the library's resources registered first.
QPixmap PixmapSvg(const QString& recurso, QSize tamano, qreal proporcion);
QIcon IconoSvg(const QString& recurso, QSize tamano);
QIcon IconoSvgTamanos(const QString& recurso, const QList<QSize>& tamanos);
// The hand pointer of the buttons, the help label and the locator's help picture.
QCursor CursorMano();

// An image control that takes clicks: paints its SVG over its whole area (and nothing
// when hidden).
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
