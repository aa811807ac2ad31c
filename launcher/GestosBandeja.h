#pragma once

// The pointer gestures of a notification-area icon, shared by both launchers: the menu
// opens on the release of the left or right button, a left double click ends the
// program. After a left release the menu waits for the double-click time, so that the
// second click of a double click reaches the icon instead of an open menu; and since
// the menu never opens while the button that opened it is still down, that button's
// release cannot choose one of its items.

#include <QObject>
#include <QSystemTrayIcon>

class QTimer;

namespace launcher {

class GestosBandeja : public QObject {
    Q_OBJECT
public:
    explicit GestosBandeja(QObject* padre = nullptr);

    // The icon's notification. Some notification areas report a click when its button
    // goes down, others once it is up: the gesture goes on only with the button up.
    void Icono_Activated(QSystemTrayIcon::ActivationReason motivo);
    void TmrDobleClic_Timer();

    QTimer* TmrDobleClic; // runs from a left release until the double-click time is over

signals:
    void menuPedido();
    void cierrePedido();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void Pulsado(Qt::MouseButton boton);
    void Soltado(Qt::MouseButton boton);
    void DejarDeEsperar();

    Qt::MouseButton esperado_ = Qt::NoButton; // pressed over the icon, not yet released
};

} // namespace launcher
