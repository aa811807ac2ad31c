#pragma once

// The program's icon as a StatusNotifierItem, served by the program itself on the
// session bus. The toolkit's own item forgets where the area says a click happened;
// this one keeps it, so the menu can open at the icon, and exports the menu so that an
// area that draws menus itself can show it.

#include <QByteArray>
#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QIcon>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>

class QDBusServiceWatcher;
class QMenu;

namespace comun {

class MenuDbus;

// One picture of the icon: width, height, ARGB32 pixels in network byte order: (iiay).
struct PixmapSni {
    int ancho = 0;
    int alto = 0;
    QByteArray pixeles;
};
using ListaPixmapsSni = QList<PixmapSni>;

// The tooltip: icon name, pictures, title, text: (sa(iiay)ss).
struct ToolTipSni {
    QString icono;
    ListaPixmapsSni dibujos;
    QString titulo;
    QString texto;
};

QDBusArgument& operator<<(QDBusArgument& arg, const PixmapSni& dibujo);
const QDBusArgument& operator>>(const QDBusArgument& arg, PixmapSni& dibujo);
QDBusArgument& operator<<(QDBusArgument& arg, const ToolTipSni& tip);
const QDBusArgument& operator>>(const QDBusArgument& arg, ToolTipSni& tip);

// The icon's pictures at the sizes areas ask for.
ListaPixmapsSni DibujosSni(const QIcon& icono);

struct DatosIconoSni {
    QIcon icono;
    QString id;     // stable name of the item (the program's menu entry)
    QString titulo; // the icon's caption
    QString tip;    // the tooltip's text
    QMenu* menu = nullptr;
};

class ElementoSni : public QObject {
    Q_OBJECT
public:
    explicit ElementoSni(const DatosIconoSni& datos, QObject* padre = nullptr);
    ~ElementoSni() override;

    // Puts the item on the bus and asks the area to show it. False when there is no
    // session bus to serve it on.
    bool Mostrar();
    void Quitar();
    bool Visible() const { return visible_; }
    const DatosIconoSni& Datos() const { return datos_; }
    QString Servicio() const { return servicio_; }
    // Whether the area should open the exported menu itself on a primary click too: only
    // where the program cannot place a menu of its own (a Wayland display, where no
    // client knows where the icon is).
    bool EsMenu() const;

signals:
    void activado(const QPoint& donde);
    void menuContextual(const QPoint& donde);

private:
    void Registrar();

    DatosIconoSni datos_;
    QString servicio_;
    MenuDbus* menu_ = nullptr;
    QDBusServiceWatcher* vigia_ = nullptr;
    bool visible_ = false;
};

// The bus interface of the item, at /StatusNotifierItem.
class AdaptadorSni : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ Category)
    Q_PROPERTY(QString Id READ Id)
    Q_PROPERTY(QString Title READ Title)
    Q_PROPERTY(QString Status READ Status)
    Q_PROPERTY(int WindowId READ WindowId)
    Q_PROPERTY(QString IconThemePath READ IconThemePath)
    Q_PROPERTY(QDBusObjectPath Menu READ Menu)
    Q_PROPERTY(bool ItemIsMenu READ ItemIsMenu)
    Q_PROPERTY(QString IconName READ IconName)
    Q_PROPERTY(comun::ListaPixmapsSni IconPixmap READ IconPixmap)
    Q_PROPERTY(QString OverlayIconName READ OverlayIconName)
    Q_PROPERTY(comun::ListaPixmapsSni OverlayIconPixmap READ OverlayIconPixmap)
    Q_PROPERTY(QString AttentionIconName READ AttentionIconName)
    Q_PROPERTY(comun::ListaPixmapsSni AttentionIconPixmap READ AttentionIconPixmap)
    Q_PROPERTY(QString AttentionMovieName READ AttentionMovieName)
    Q_PROPERTY(comun::ToolTipSni ToolTip READ ToolTip)
public:
    explicit AdaptadorSni(ElementoSni* elemento);

    QString Category() const { return QStringLiteral("ApplicationStatus"); }
    QString Id() const;
    QString Title() const;
    QString Status() const { return QStringLiteral("Active"); }
    int WindowId() const { return 0; }
    QString IconThemePath() const { return {}; }
    QDBusObjectPath Menu() const;
    bool ItemIsMenu() const;
    QString IconName() const { return {}; }
    ListaPixmapsSni IconPixmap() const { return dibujos_; }
    QString OverlayIconName() const { return {}; }
    ListaPixmapsSni OverlayIconPixmap() const { return {}; }
    QString AttentionIconName() const { return {}; }
    ListaPixmapsSni AttentionIconPixmap() const { return {}; }
    QString AttentionMovieName() const { return {}; }
    ToolTipSni ToolTip() const;

public slots:
    void Activate(int x, int y);
    void SecondaryActivate(int x, int y);
    void ContextMenu(int x, int y);
    void Scroll(int delta, const QString& orientation);

signals:
    void NewTitle();
    void NewIcon();
    void NewAttentionIcon();
    void NewOverlayIcon();
    void NewToolTip();
    void NewStatus(const QString& status);

private:
    ElementoSni* elemento_;
    ListaPixmapsSni dibujos_;
};

void RegistrarTiposSni();

} // namespace comun

Q_DECLARE_METATYPE(comun::PixmapSni)
Q_DECLARE_METATYPE(comun::ToolTipSni)
