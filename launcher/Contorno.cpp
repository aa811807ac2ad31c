#include "Contorno.h"

#include <cfenv>
#include <cmath>

namespace launcher {

namespace {
// The button band.
constexpr int kPoligonoA[][2] = {
    {12, 0},   {323, 0},  {324, 1},  {326, 1},  {328, 3},  {329, 3},  {330, 4}, {331, 7}, {333, 9},
    {333, 28}, {331, 30}, {330, 33}, {328, 35}, {327, 35}, {324, 38}, {9, 38},  {8, 37},  {7, 37},
    {3, 33},   {2, 30},   {0, 28},   {0, 13},   {1, 12},   {1, 10},   {2, 9},   {2, 8},   {8, 2}};
// The round hide button.
constexpr int kPoligonoB[][2] = {{349, 3},  {352, 3},  {353, 4},  {354, 4},  {355, 5},
                                 {356, 8},  {356, 12}, {355, 13}, {355, 14}, {354, 15},
                                 {351, 16}, {349, 16}, {348, 15}, {347, 15}, {346, 14},
                                 {345, 11}, {345, 7},  {346, 6},  {346, 5},  {347, 4}};
// The caption strip.
constexpr int kPoligonoC[][2] = {{34, 40}, {305, 40}, {305, 56}, {304, 57}, {35, 57}, {34, 56}};

int Redondear(float valor) {
    // Halves to the even integer, whatever rounding mode someone left set.
    const int modo = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const float r = std::nearbyint(valor);
    std::fesetround(modo);
    return static_cast<int>(r);
}

template <size_t N>
QPolygon Construir(const int (&puntos)[N][2], float ex, float ey, qint16 dx, qint16 dy, float tx,
                   float ty) {
    QPolygon poligono;
    poligono.reserve(int(N));
    for (const auto& p : puntos)
        poligono << QPoint(Redondear(float(p[0]) * ex * 15.0f / tx + float(dx)),
                           Redondear(float(p[1]) * ey * 15.0f / ty + float(dy)));
    return poligono;
}
} // namespace

std::array<QPolygon, 3> PuntosContorno(float escalaX, float escalaY, qint16 desplazaX,
                                       qint16 desplazaY, float twipsPorPixelX,
                                       float twipsPorPixelY) {
    const float ex = escalaX, ey = escalaY, tx = twipsPorPixelX, ty = twipsPorPixelY;
    return {Construir(kPoligonoA, ex, ey, desplazaX, desplazaY, tx, ty),
            Construir(kPoligonoB, ex, ey, desplazaX, desplazaY, tx, ty),
            Construir(kPoligonoC, ex, ey, desplazaX, desplazaY, tx, ty)};
}

QRegion CrearRegion(float escalaX, float escalaY, qint16 desplazaX, qint16 desplazaY,
                    float twipsPorPixelX, float twipsPorPixelY) {
    const auto poligonos =
        PuntosContorno(escalaX, escalaY, desplazaX, desplazaY, twipsPorPixelX, twipsPorPixelY);
    QRegion region;
    for (const QPolygon& poligono : poligonos)
        region = region.united(QRegion(poligono, Qt::OddEvenFill));
    return region;
}

} // namespace launcher
