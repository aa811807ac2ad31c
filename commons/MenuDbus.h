#pragma once

// A menu exported over the session bus (com.canonical.dbusmenu), so that a
// notification area that draws menus itself (KDE Plasma, GNOME's AppIndicator
// extension, waybar) can show the icon's menu with its captions, pictures and check
// marks, and hand the user's choice back. The menu stays the program's own: a choice
// triggers the same action as a click in the program's popup.

#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusVariant>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariantMap>

class QAction;
class QMenu;

namespace comun {

// One item and, to the depth asked for, its children: (ia{sv}av).
struct NodoMenuDbus {
    int id = 0;
    QVariantMap propiedades;
    QList<NodoMenuDbus> hijos;
};

// The properties of one item: (ia{sv}).
struct PropiedadesMenuDbus {
    int id = 0;
    QVariantMap propiedades;
};
using ListaPropiedadesMenuDbus = QList<PropiedadesMenuDbus>;

// Property names no longer set on one item: (ias).
struct QuitadasMenuDbus {
    int id = 0;
    QStringList nombres;
};
using ListaQuitadasMenuDbus = QList<QuitadasMenuDbus>;

// One event of EventGroup: (isvu).
struct EventoMenuDbus {
    int id = 0;
    QString evento;
    QDBusVariant datos;
    uint hora = 0;
};
using ListaEventosMenuDbus = QList<EventoMenuDbus>;

QDBusArgument& operator<<(QDBusArgument& arg, const NodoMenuDbus& nodo);
const QDBusArgument& operator>>(const QDBusArgument& arg, NodoMenuDbus& nodo);
QDBusArgument& operator<<(QDBusArgument& arg, const PropiedadesMenuDbus& item);
const QDBusArgument& operator>>(const QDBusArgument& arg, PropiedadesMenuDbus& item);
QDBusArgument& operator<<(QDBusArgument& arg, const QuitadasMenuDbus& item);
const QDBusArgument& operator>>(const QDBusArgument& arg, QuitadasMenuDbus& item);
QDBusArgument& operator<<(QDBusArgument& arg, const EventoMenuDbus& evento);
const QDBusArgument& operator>>(const QDBusArgument& arg, EventoMenuDbus& evento);

// The menu's items, numbered once (0 is the menu itself), and what the protocol asks
// of them. The menus of our icons never gain or lose items; a change of caption, check
// mark or state is announced as a new layout.
class MenuDbus : public QObject {
    Q_OBJECT
public:
    explicit MenuDbus(QMenu* menu, QObject* padre = nullptr);

    NodoMenuDbus Nodo(int id, int profundidad, const QStringList& nombres) const;
    QVariantMap Propiedades(int id, const QStringList& nombres) const;
    bool Existe(int id) const { return id == 0 || acciones_.contains(id); }
    QList<int> Ids() const;
    // "clicked" on an item triggers its action once the bus call has been answered;
    // other events change nothing. False for an unknown item.
    bool Evento(int id, const QString& evento);
    uint Revision() const { return revision_; }

signals:
    void disposicionCambiada(uint revision, int padre);

private:
    void Numerar(QMenu* menu);
    QList<int> Hijos(int id) const;
    QByteArray Dibujo(QAction* accion) const;

    QPointer<QMenu> menu_;
    QHash<int, QAction*> acciones_;
    QHash<int, QList<int>> hijos_; // the items of the menu or submenu of each id
    uint revision_ = 1;
    mutable QHash<qint64, QByteArray> dibujos_; // PNG of each picture, by its cache key
};

// The bus interface of the menu, at the path the icon names in its Menu property.
class AdaptadorMenuDbus : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ Version)
    Q_PROPERTY(QString TextDirection READ TextDirection)
    Q_PROPERTY(QString Status READ Status)
    Q_PROPERTY(QStringList IconThemePath READ IconThemePath)
public:
    AdaptadorMenuDbus(MenuDbus* menu, QObject* objeto);

    uint Version() const { return 3; }
    QString TextDirection() const { return QStringLiteral("ltr"); }
    QString Status() const { return QStringLiteral("normal"); }
    QStringList IconThemePath() const { return {}; }

public slots:
    uint GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                   comun::NodoMenuDbus& layout);
    comun::ListaPropiedadesMenuDbus GetGroupProperties(const QList<int>& ids,
                                                       const QStringList& propertyNames);
    QDBusVariant GetProperty(int id, const QString& name);
    void Event(int id, const QString& eventId, const QDBusVariant& data, uint timestamp);
    QList<int> EventGroup(const comun::ListaEventosMenuDbus& events);
    bool AboutToShow(int id);
    QList<int> AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors);

signals:
    void ItemsPropertiesUpdated(const comun::ListaPropiedadesMenuDbus& updatedProps,
                                const comun::ListaQuitadasMenuDbus& removedProps);
    void LayoutUpdated(uint revision, int parent);
    void ItemActivationRequested(int id, uint timestamp);

private:
    MenuDbus* menu_;
};

// Registers the types above with the bus layer; safe to call more than once.
void RegistrarTiposMenuDbus();

} // namespace comun

Q_DECLARE_METATYPE(comun::NodoMenuDbus)
Q_DECLARE_METATYPE(comun::PropiedadesMenuDbus)
Q_DECLARE_METATYPE(comun::QuitadasMenuDbus)
Q_DECLARE_METATYPE(comun::EventoMenuDbus)
