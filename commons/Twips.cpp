#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace comun {

QPoint PosicionVisible(QPoint deseada, QSize tamano, QPoint porDefecto) {
    const auto pantallas = QGuiApplication::screens();
    if (pantallas.isEmpty())
        return deseada;
    // At least a corner-sized piece of the window must be reachable with the mouse.
    const QRect ventana(deseada, tamano.expandedTo(QSize(1, 1)));
    for (const QScreen* pantalla : pantallas) {
        const QRect comun = pantalla->availableGeometry().intersected(ventana);
        if (comun.width() >= qMin(40, ventana.width()) &&
            comun.height() >= qMin(20, ventana.height()))
            return deseada;
    }
    return porDefecto;
}

} // namespace comun
