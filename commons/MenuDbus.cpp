#include "MenuDbus.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDBusMetaType>
#include <QIcon>
#include <QMenu>
#include <QMetaObject>
#include <QPixmap>

namespace comun {

QDBusArgument& operator<<(QDBusArgument& arg, const NodoMenuDbus& nodo) {
    arg.beginStructure();
    arg << nodo.id << nodo.propiedades;
    arg.beginArray(qMetaTypeId<QDBusVariant>());
    for (const NodoMenuDbus& hijo : nodo.hijos)
        arg << QDBusVariant(QVariant::fromValue(hijo));
    arg.endArray();
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, NodoMenuDbus& nodo) {
    arg.beginStructure();
    arg >> nodo.id >> nodo.propiedades;
    nodo.hijos.clear();
    arg.beginArray();
    while (!arg.atEnd()) {
        QDBusVariant variante;
        arg >> variante;
        NodoMenuDbus hijo;
        qvariant_cast<QDBusArgument>(variante.variant()) >> hijo;
        nodo.hijos.append(hijo);
    }
    arg.endArray();
    arg.endStructure();
    return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const PropiedadesMenuDbus& item) {
    arg.beginStructure();
    arg << item.id << item.propiedades;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, PropiedadesMenuDbus& item) {
    arg.beginStructure();
    arg >> item.id >> item.propiedades;
    arg.endStructure();
    return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const QuitadasMenuDbus& item) {
    arg.beginStructure();
    arg << item.id << item.nombres;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, QuitadasMenuDbus& item) {
    arg.beginStructure();
    arg >> item.id >> item.nombres;
    arg.endStructure();
    return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const EventoMenuDbus& evento) {
    arg.beginStructure();
    arg << evento.id << evento.evento << evento.datos << evento.hora;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, EventoMenuDbus& evento) {
    arg.beginStructure();
    arg >> evento.id >> evento.evento >> evento.datos >> evento.hora;
    arg.endStructure();
    return arg;
}

void RegistrarTiposMenuDbus() {
    static const bool hecho = [] {
        qDBusRegisterMetaType<NodoMenuDbus>();
        qDBusRegisterMetaType<PropiedadesMenuDbus>();
        qDBusRegisterMetaType<ListaPropiedadesMenuDbus>();
        qDBusRegisterMetaType<QuitadasMenuDbus>();
        qDBusRegisterMetaType<ListaQuitadasMenuDbus>();
        qDBusRegisterMetaType<EventoMenuDbus>();
        qDBusRegisterMetaType<ListaEventosMenuDbus>();
        return true;
    }();
    Q_UNUSED(hecho);
}

namespace {

// The protocol marks a mnemonic with "_" (and writes a plain one doubled), the toolkit
// with "&".
QString EtiquetaDbus(const QString& texto) {
    QString etiqueta;
    etiqueta.reserve(texto.size());
    for (int i = 0; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if (c == QLatin1Char('_')) {
            etiqueta += QStringLiteral("__");
        } else if (c == QLatin1Char('&') && i + 1 < texto.size()) {
            etiqueta +=
                texto.at(i + 1) == QLatin1Char('&') ? QStringLiteral("&") : QStringLiteral("_");
            if (texto.at(i + 1) == QLatin1Char('&'))
                ++i;
        } else {
            etiqueta += c;
        }
    }
    return etiqueta;
}

} // namespace

MenuDbus::MenuDbus(QMenu* menu, QObject* padre) : QObject(padre), menu_(menu) {
    RegistrarTiposMenuDbus();
    Numerar(menu);
}

void MenuDbus::Numerar(QMenu* menu) {
    const int idMenu = menu == menu_ ? 0 : acciones_.key(menu->menuAction(), 0);
    QList<int>& hijos = hijos_[idMenu];
    for (QAction* accion : menu->actions()) {
        const int id = int(acciones_.size()) + 1;
        acciones_.insert(id, accion);
        hijos.append(id);
        connect(accion, &QAction::changed, this, [this] {
            ++revision_;
            emit disposicionCambiada(revision_, 0);
        });
        if (accion->menu())
            Numerar(accion->menu());
    }
}

QList<int> MenuDbus::Hijos(int id) const {
    return hijos_.value(id);
}

QList<int> MenuDbus::Ids() const {
    QList<int> ids{0};
    for (auto it = acciones_.cbegin(); it != acciones_.cend(); ++it)
        ids.append(it.key());
    std::sort(ids.begin(), ids.end());
    return ids;
}

QByteArray MenuDbus::Dibujo(QAction* accion) const {
    const QIcon icono = accion->icon();
    if (icono.isNull())
        return {};
    auto guardado = dibujos_.constFind(icono.cacheKey());
    if (guardado != dibujos_.cend())
        return *guardado;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    icono.pixmap(16, 16).save(&buffer, "PNG");
    dibujos_.insert(icono.cacheKey(), png);
    return png;
}

QVariantMap MenuDbus::Propiedades(int id, const QStringList& nombres) const {
    QVariantMap propiedades;
    if (id == 0) {
        propiedades.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
    } else if (QAction* accion = acciones_.value(id)) {
        if (accion->isSeparator()) {
            propiedades.insert(QStringLiteral("type"), QStringLiteral("separator"));
        } else {
            propiedades.insert(QStringLiteral("label"), EtiquetaDbus(accion->text()));
            const QByteArray dibujo = Dibujo(accion);
            if (!dibujo.isEmpty())
                propiedades.insert(QStringLiteral("icon-data"), dibujo);
            if (accion->isCheckable()) {
                propiedades.insert(QStringLiteral("toggle-type"), QStringLiteral("checkmark"));
                propiedades.insert(QStringLiteral("toggle-state"), accion->isChecked() ? 1 : 0);
            }
            if (accion->menu())
                propiedades.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
        }
        if (!accion->isEnabled())
            propiedades.insert(QStringLiteral("enabled"), false);
        if (!accion->isVisible())
            propiedades.insert(QStringLiteral("visible"), false);
    }
    if (nombres.isEmpty())
        return propiedades;
    QVariantMap pedidas;
    for (const QString& nombre : nombres) {
        if (propiedades.contains(nombre))
            pedidas.insert(nombre, propiedades.value(nombre));
    }
    return pedidas;
}

NodoMenuDbus MenuDbus::Nodo(int id, int profundidad, const QStringList& nombres) const {
    NodoMenuDbus nodo;
    nodo.id = id;
    nodo.propiedades = Propiedades(id, nombres);
    if (profundidad == 0)
        return nodo;
    for (int hijo : Hijos(id))
        nodo.hijos.append(Nodo(hijo, profundidad < 0 ? -1 : profundidad - 1, nombres));
    return nodo;
}

bool MenuDbus::Evento(int id, const QString& evento) {
    if (!Existe(id))
        return false;
    if (evento != QLatin1String("clicked") || id == 0)
        return true;
    QAction* accion = acciones_.value(id);
    if (!accion->isEnabled() || accion->isSeparator() || accion->menu())
        return true;
    // While the locator or a message is open the program waits, as the icon does: the
    // choice brings that window forward instead of opening a second one over it.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->activateWindow();
        return true;
    }
    QMetaObject::invokeMethod(accion, &QAction::trigger, Qt::QueuedConnection);
    return true;
}

AdaptadorMenuDbus::AdaptadorMenuDbus(MenuDbus* menu, QObject* objeto)
    : QDBusAbstractAdaptor(objeto), menu_(menu) {
    connect(menu_, &MenuDbus::disposicionCambiada, this, &AdaptadorMenuDbus::LayoutUpdated);
}

uint AdaptadorMenuDbus::GetLayout(int parentId, int recursionDepth,
                                  const QStringList& propertyNames, NodoMenuDbus& layout) {
    layout = menu_->Existe(parentId) ? menu_->Nodo(parentId, recursionDepth, propertyNames)
                                     : NodoMenuDbus{};
    return menu_->Revision();
}

ListaPropiedadesMenuDbus AdaptadorMenuDbus::GetGroupProperties(const QList<int>& ids,
                                                               const QStringList& propertyNames) {
    ListaPropiedadesMenuDbus lista;
    for (int id : ids.isEmpty() ? menu_->Ids() : ids) {
        if (menu_->Existe(id))
            lista.append({id, menu_->Propiedades(id, propertyNames)});
    }
    return lista;
}

QDBusVariant AdaptadorMenuDbus::GetProperty(int id, const QString& name) {
    return QDBusVariant(menu_->Propiedades(id, {name}).value(name));
}

void AdaptadorMenuDbus::Event(int id, const QString& eventId, const QDBusVariant&, uint) {
    menu_->Evento(id, eventId);
}

QList<int> AdaptadorMenuDbus::EventGroup(const ListaEventosMenuDbus& events) {
    QList<int> errores;
    for (const EventoMenuDbus& evento : events) {
        if (!menu_->Evento(evento.id, evento.evento))
            errores.append(evento.id);
    }
    return errores;
}

bool AdaptadorMenuDbus::AboutToShow(int) {
    return false; // the items are always up to date
}

QList<int> AdaptadorMenuDbus::AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors) {
    idErrors.clear();
    for (int id : ids) {
        if (!menu_->Existe(id))
            idErrors.append(id);
    }
    return {};
}

} // namespace comun
