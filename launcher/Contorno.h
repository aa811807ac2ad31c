#pragma once

// The bar's visible outline: three polygons given in pixels of a 96-dots-per-inch
// screen (the button band, the round hide button and the caption strip).

#include <QPolygon>
#include <QRegion>
#include <array>

namespace launcher {

// The window points of the three polygons. Each point is scaled by scale x 15 /
// twips-per-pixel and moved by the offset, then rounded to the nearest integer
// with halves going to the even one, so the shape keeps its size in twips on
// screens of other densities.
std::array<QPolygon, 3> PuntosContorno(float escalaX, float escalaY, qint16 desplazaX,
                                       qint16 desplazaY, float twipsPorPixelX = 15.0f,
                                       float twipsPorPixelY = 15.0f);

// The union of the three polygons, each filled in alternate (odd-even) mode.
QRegion CrearRegion(float escalaX, float escalaY, qint16 desplazaX, qint16 desplazaY,
                    float twipsPorPixelX = 15.0f, float twipsPorPixelY = 15.0f);

} // namespace launcher
