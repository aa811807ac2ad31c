#pragma once

// The pointer gestures of a notification-area icon, shared by both launchers: a right
// click opens the menu at once, a left click after the double-click time, and a left
// double click ends the program.
//
// XEmbed areas hand the icon's own mouse events to the toolkit (Icono_Activated): the
// menu opens on the release of the button, at the pointer. After a left release the
// menu waits for the double-click time, so that the second click of a double click
// reaches the icon instead of an open menu; and since the menu never opens while the
// button that opened it is still down, that button's release cannot choose one of its
// items.
//
// StatusNotifierItem areas report a click once it is over, with the place on the
// screen where it happened (Activate, ContextMenu). Their protocol has no double click:
// two activations within the double-click time are one. The menu opens at the
// reported place, since the X server may not know where the pointer is while it is
// over a Wayland panel. A click on the icon while a menu of ours is open closes it, as
// a click outside a menu does on X11: through XWayland the X server never sees a click
// outside its own windows.

#include <QObject>
#include <QPoint>
#include <QSystemTrayIcon>
#include <optional>

class QTimer;

namespace comun {

class GestosBandeja : public QObject {
    Q_OBJECT
public:
    explicit GestosBandeja(QObject* padre = nullptr);

    // The XEmbed icon's notification. Some areas report a click when its button goes
    // down, others once it is up: the gesture goes on only with the button up.
    void Icono_Activated(QSystemTrayIcon::ActivationReason motivo);
    // A StatusNotifierItem area's primary (left) click and its context (right) click.
    void Activate(const QPoint& donde);
    void ContextMenu(const QPoint& donde);
    void TmrDobleClic_Timer();

    QTimer* TmrDobleClic; // runs from a left click until the double-click time is over

signals:
    // enPanel: the place is where an area said its icon was clicked (AbrirMenuBandeja).
    void menuPedido(const QPoint& donde, bool enPanel);
    void cierrePedido();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void Pulsado(Qt::MouseButton boton);
    void Soltado(Qt::MouseButton boton);
    void DejarDeEsperar();
    void PedirCierre();
    bool CerrarMenuAbierto();

    Qt::MouseButton esperado_ = Qt::NoButton; // pressed over the icon, not yet released
    std::optional<QPoint> lugar_; // where the area reported the waiting click; else the pointer
};

} // namespace comun
