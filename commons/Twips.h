#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cmath>

namespace comun {

// Layouts are given in twips; at 96 dots per inch a pixel is 15 twips, and Qt's
// device-independent pixels scale the rest on denser screens.
constexpr int kTwipsPorPixel = 15;

constexpr int Px(int twips) {
    return twips >= 0 ? (twips + kTwipsPorPixel / 2) / kTwipsPorPixel
                      : -((-twips + kTwipsPorPixel / 2) / kTwipsPorPixel);
}
constexpr int Twips(int pixeles) {
    return pixeles * kTwipsPorPixel;
}

inline QRect RectTwips(int izquierda, int arriba, int ancho, int alto) {
    return QRect(Px(izquierda), Px(arriba), Px(ancho), Px(alto));
}
inline QSize TamTwips(int ancho, int alto) {
    return QSize(Px(ancho), Px(alto));
}

// A window whose stored place lies off every screen (a changed monitor set-up, a
// value written while minimised) is put back at its default place.
QPoint PosicionVisible(QPoint deseada, QSize tamano, QPoint porDefecto);

} // namespace comun
