#include "IconoBandeja.h"

#include "ElementoSni.h"
#include "GestosBandeja.h"

#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <algorithm>

namespace comun {

IconoBandeja::IconoBandeja(const Datos& datos, GestosBandeja* gestos, bool sni, QObject* padre)
    : QObject(padre), datos_(datos), gestos_(gestos) {
    if (sni) {
        sni_ = new ElementoSni({datos_.icono, datos_.id, datos_.titulo, datos_.tip, datos_.menu},
                               this);
        // Queued: the area's call is answered first, and a gesture that ends the program
        // (and takes this item away) never runs inside the item's own bus call.
        connect(sni_, &ElementoSni::activado, gestos_, &GestosBandeja::Activate,
                Qt::QueuedConnection);
        connect(sni_, &ElementoSni::menuContextual, gestos_, &GestosBandeja::ContextMenu,
                Qt::QueuedConnection);
    }
}

IconoBandeja::~IconoBandeja() {
    Quitar();
}

void IconoBandeja::Mostrar() {
    if (sni_) {
        if (sni_->Mostrar())
            return;
        // No session bus to serve the item on: the toolkit's icon finds what it can.
        delete sni_;
        sni_ = nullptr;
    }
    if (!xembed_)
        CrearIconoXembed();
    xembed_->show();
}

void IconoBandeja::CrearIconoXembed() {
    xembed_ = new QSystemTrayIcon(datos_.icono, this);
    xembed_->setToolTip(datos_.tip);
    // No context menu of the icon's own: the toolkit would open it as the right button
    // goes down, and that button's release would choose an item.
    connect(xembed_, &QSystemTrayIcon::activated, gestos_, &GestosBandeja::Icono_Activated);
}

void IconoBandeja::Quitar() {
    if (sni_)
        sni_->Quitar();
    if (xembed_)
        xembed_->hide();
}

bool IconoBandeja::Visible() const {
    return (sni_ && sni_->Visible()) || (xembed_ && xembed_->isVisible());
}

QPoint LugarMenuBandeja(const QPoint& clic, const QSize& menu, const QRect& pantalla) {
    // Panels are a few dozen pixels thick; a click farther in is no panel's.
    constexpr int kPanelMaximo = 96;
    const int arriba = clic.y() - pantalla.top();
    const int abajo = pantalla.bottom() - clic.y();
    const int izquierda = clic.x() - pantalla.left();
    const int derecha = pantalla.right() - clic.x();
    const int cerca = std::min({arriba, abajo, izquierda, derecha});
    const auto encajar = [](int valor, int desde, int largo, int hasta) {
        return std::max(desde, std::min(valor, hasta - largo + 1));
    };
    QPoint lugar = clic;
    if (cerca < 0 || cerca > kPanelMaximo) {
        return lugar;
    } else if (cerca == arriba) {
        lugar.setY(pantalla.top() + 2 * arriba + 1);
    } else if (cerca == abajo) {
        lugar.setY(pantalla.bottom() - 2 * abajo - menu.height());
    } else if (cerca == izquierda) {
        lugar.setX(pantalla.left() + 2 * izquierda + 1);
    } else {
        lugar.setX(pantalla.right() - 2 * derecha - menu.width());
    }
    lugar.setX(encajar(lugar.x(), pantalla.left(), menu.width(), pantalla.right()));
    lugar.setY(encajar(lugar.y(), pantalla.top(), menu.height(), pantalla.bottom()));
    return lugar;
}

bool AbrirMenuBandeja(QMenu* menu, const QPoint& donde, bool enPanel) {
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return false;
    QScreen* pantalla = QGuiApplication::screenAt(donde);
    if (enPanel && pantalla)
        menu->popup(LugarMenuBandeja(donde, menu->sizeHint(), pantalla->geometry()));
    else
        menu->popup(donde);
    return true;
}

} // namespace comun
