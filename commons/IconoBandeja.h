#pragma once

// The program's icon in the desktop's notification area, whichever kind the desktop
// has: an area that speaks StatusNotifierItem on the session bus (KDE Plasma, GNOME's
// AppIndicator extension, XFCE, waybar) gets an item the program serves itself, which
// keeps the place of each click and exports the menu; an XEmbed area (or one the item
// cannot reach) gets the toolkit's icon. Either way the clicks reach the gestures.

#include <QIcon>
#include <QObject>
#include <QString>

class QMenu;
class QPoint;
class QRect;
class QSize;
class QSystemTrayIcon;

namespace comun {

class ElementoSni;
class GestosBandeja;

class IconoBandeja : public QObject {
    Q_OBJECT
public:
    struct Datos {
        QIcon icono;
        QString id;     // the program's menu entry, a stable name for the area
        QString titulo; // the icon's caption
        QString tip;    // its tooltip
        QMenu* menu = nullptr;
    };

    // sni: the desktop's area speaks StatusNotifierItem (Escritorio::HayAreaSni).
    IconoBandeja(const Datos& datos, GestosBandeja* gestos, bool sni, QObject* padre = nullptr);
    ~IconoBandeja() override;

    void Mostrar();
    void Quitar();
    bool Visible() const;
    QIcon Icono() const { return datos_.icono; }
    QString Tip() const { return datos_.tip; }
    // The item on the session bus, or the toolkit's icon: one of them, once shown.
    ElementoSni* Elemento() const { return sni_; }
    QSystemTrayIcon* IconoXembed() const { return xembed_; }

private:
    void CrearIconoXembed();

    Datos datos_;
    GestosBandeja* gestos_;
    ElementoSni* sni_ = nullptr;
    QSystemTrayIcon* xembed_ = nullptr;
};

// Where a menu of that size opens for a click that an area reported on its icon: the
// icon sits in a panel along the nearest edge of the screen, and the menu opens beside
// that panel rather than over it. Nobody says how thick the panel is: the click is
// taken to be on its middle line, so the panel is twice as thick as the click is far
// from the edge. A click far from every edge opens the menu at the click.
QPoint LugarMenuBandeja(const QPoint& clic, const QSize& menu, const QRect& pantalla);

// Opens the icon's menu at the place given: the pointer, or (enPanel) where the area
// said its icon was clicked. False on a Wayland display: no client knows where the icon
// is there, and a menu opened without the user's input to one of the program's windows
// would come up as a window of its own. The item then asks the area to show the
// exported menu itself (ElementoSni::EsMenu).
bool AbrirMenuBandeja(QMenu* menu, const QPoint& donde, bool enPanel);

} // namespace comun
