#pragma once

// The diary's artwork is compiled in as SVG (":/diary/<file>") and drawn through
// commons' artwork helpers at the screen's pixel ratio. A picture that is missing draws
// nothing.

#include "ArteSvg.h"

#include <QColor>
#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QString>

namespace diary {

// The compiled-in artwork is registered; done once, before any other thread reads it.
void IniciarArte();

// An opaque picture rendered into an image over a base colour: safe on any thread (the
// artwork holds no text, so no fonts are needed). A null image when the file is missing.
QImage PintarArteOpaco(const QString& archivo, QSize tamano, qreal proporcion, QColor base);

// The colour under the window's background picture, and where it is missing.
inline const QColor kColorFondo(64, 64, 72);

// The window's background picture at its size and pixel ratio: safe on any thread. At
// ratios 1 and 2 it is the picture drawn when the program was built (the same drawing);
// at others, or when that one does not fit, it is drawn now.
QImage PintarFondo(QSize tamano, qreal proporcion);
// Only the picture drawn when the program was built; null where there is none.
QImage FondoCompilado(QSize tamano, qreal proporcion);

// The pointing hand over the hot zones (fingertip at 12,1).
QCursor CursorMano();
// The diary's icon at the sides of a window frame and a task bar.
inline constexpr int kLadosIcono[] = {16, 32, 64};
QIcon IconoDiario();
// The same icon drawn from its SVG when first asked for (what the compiled-in pictures
// must equal).
QIcon IconoDiarioDibujado();

// A picture control of the diary's artwork, named by its file.
class ImagenSvg : public comun::ImagenSvg {
public:
    ImagenSvg(const QString& archivo, QWidget* padre);
};

} // namespace diary
