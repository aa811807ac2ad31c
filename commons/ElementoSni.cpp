#include "ElementoSni.h"

#include "MenuDbus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDBusServiceWatcher>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QtEndian>

namespace comun {

namespace {
const QString kVigilante = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kRutaElemento = QStringLiteral("/StatusNotifierItem");
const QString kRutaMenu = QStringLiteral("/MenuBar");
int elementosCreados = 0;
} // namespace

QDBusArgument& operator<<(QDBusArgument& arg, const PixmapSni& dibujo) {
    arg.beginStructure();
    arg << dibujo.ancho << dibujo.alto << dibujo.pixeles;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, PixmapSni& dibujo) {
    arg.beginStructure();
    arg >> dibujo.ancho >> dibujo.alto >> dibujo.pixeles;
    arg.endStructure();
    return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const ToolTipSni& tip) {
    arg.beginStructure();
    arg << tip.icono << tip.dibujos << tip.titulo << tip.texto;
    arg.endStructure();
    return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, ToolTipSni& tip) {
    arg.beginStructure();
    arg >> tip.icono >> tip.dibujos >> tip.titulo >> tip.texto;
    arg.endStructure();
    return arg;
}

void RegistrarTiposSni() {
    static const bool hecho = [] {
        qDBusRegisterMetaType<PixmapSni>();
        qDBusRegisterMetaType<ListaPixmapsSni>();
        qDBusRegisterMetaType<ToolTipSni>();
        return true;
    }();
    Q_UNUSED(hecho);
}

ListaPixmapsSni DibujosSni(const QIcon& icono) {
    ListaPixmapsSni dibujos;
    for (int lado : {16, 22, 24, 32, 48, 64}) {
        QImage imagen = icono.pixmap(lado, lado).toImage();
        if (imagen.isNull())
            continue;
        if (imagen.width() != lado || imagen.height() != lado)
            imagen = imagen.scaled(lado, lado, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        imagen = imagen.convertToFormat(QImage::Format_ARGB32);
        PixmapSni dibujo{imagen.width(), imagen.height(), {}};
        dibujo.pixeles.resize(qsizetype(imagen.width()) * imagen.height() * 4);
        auto* destino = reinterpret_cast<quint32*>(dibujo.pixeles.data());
        for (int y = 0; y < imagen.height(); ++y) {
            const auto* fila = reinterpret_cast<const quint32*>(imagen.constScanLine(y));
            for (int x = 0; x < imagen.width(); ++x)
                *destino++ = qToBigEndian(fila[x]);
        }
        dibujos.append(dibujo);
    }
    return dibujos;
}

ElementoSni::ElementoSni(const DatosIconoSni& datos, QObject* padre)
    : QObject(padre), datos_(datos) {
    RegistrarTiposSni();
    servicio_ = QStringLiteral("org.kde.StatusNotifierItem-%1-%2")
                    .arg(QCoreApplication::applicationPid())
                    .arg(++elementosCreados);
    new AdaptadorSni(this);
    if (datos_.menu) {
        menu_ = new MenuDbus(datos_.menu, this);
        new AdaptadorMenuDbus(menu_, menu_);
    }
}

ElementoSni::~ElementoSni() {
    Quitar();
}

bool ElementoSni::EsMenu() const {
    return datos_.menu && QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool ElementoSni::Mostrar() {
    if (visible_)
        return true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.registerService(servicio_))
        return false;
    if (!bus.registerObject(kRutaElemento, this, QDBusConnection::ExportAdaptors) ||
        (menu_ && !bus.registerObject(kRutaMenu, menu_, QDBusConnection::ExportAdaptors))) {
        bus.unregisterObject(kRutaElemento);
        bus.unregisterService(servicio_);
        return false;
    }
    visible_ = true;
    // An area that starts (or starts again) later learns of the item as it comes up.
    vigia_ =
        new QDBusServiceWatcher(kVigilante, bus, QDBusServiceWatcher::WatchForRegistration, this);
    connect(vigia_, &QDBusServiceWatcher::serviceRegistered, this, &ElementoSni::Registrar);
    Registrar();
    return true;
}

void ElementoSni::Registrar() {
    QDBusMessage llamada =
        QDBusMessage::createMethodCall(kVigilante, QStringLiteral("/StatusNotifierWatcher"),
                                       kVigilante, QStringLiteral("RegisterStatusNotifierItem"));
    llamada << servicio_;
    // Not waited for: the area answers when it can, and the program goes on meanwhile.
    QDBusConnection::sessionBus().asyncCall(llamada);
}

void ElementoSni::Quitar() {
    if (!visible_)
        return;
    visible_ = false;
    delete vigia_;
    vigia_ = nullptr;
    // The area sees the name go and takes the icon away.
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.unregisterObject(kRutaMenu);
    bus.unregisterObject(kRutaElemento);
    bus.unregisterService(servicio_);
}

AdaptadorSni::AdaptadorSni(ElementoSni* elemento)
    : QDBusAbstractAdaptor(elemento), elemento_(elemento),
      dibujos_(DibujosSni(elemento->Datos().icono)) {}

QString AdaptadorSni::Id() const {
    return elemento_->Datos().id;
}

QString AdaptadorSni::Title() const {
    return elemento_->Datos().titulo;
}

QDBusObjectPath AdaptadorSni::Menu() const {
    // The protocol's name for "no menu exported".
    return QDBusObjectPath(elemento_->Datos().menu ? kRutaMenu : QStringLiteral("/NO_DBUSMENU"));
}

bool AdaptadorSni::ItemIsMenu() const {
    return elemento_->EsMenu();
}

ToolTipSni AdaptadorSni::ToolTip() const {
    return {QString(), {}, elemento_->Datos().tip, QString()};
}

void AdaptadorSni::Activate(int x, int y) {
    emit elemento_->activado(QPoint(x, y));
}

void AdaptadorSni::SecondaryActivate(int, int) {}

void AdaptadorSni::ContextMenu(int x, int y) {
    emit elemento_->menuContextual(QPoint(x, y));
}

void AdaptadorSni::Scroll(int, const QString&) {}

} // namespace comun
