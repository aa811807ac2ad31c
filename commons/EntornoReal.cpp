#include "EntornoReal.h"

#include "Texto.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QUrl>

namespace comun {

Entorno Entorno::Real(const QString& carpeta) {
    Entorno entorno;
    entorno.carpeta = carpeta;
    entorno.carpetaBloqueos = CarpetaBloqueosPorDefecto();
    entorno.shell = std::make_shared<ShellReal>();
    entorno.sonidos = std::make_shared<SonidosMudos>();
    entorno.dialogos = std::make_shared<DialogosReales>();
    entorno.reloj = std::make_shared<RelojReal>();
    entorno.portapapeles = std::make_shared<PortapapelesReal>();
    entorno.escritorio = std::make_shared<EscritorioReal>();
    return entorno;
}

bool EscritorioReal::HayBandeja() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool EscritorioReal::HayAreaSni() const {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    // The area's host registers with the watcher once it shows items: a watcher
    // without a host (an area that has gone) shows nothing.
    QDBusMessage pregunta = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.StatusNotifierWatcher"), QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    pregunta << QStringLiteral("org.kde.StatusNotifierWatcher")
             << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage respuesta = bus.call(pregunta, QDBus::Block, 2000);
    return respuesta.type() == QDBusMessage::ReplyMessage && !respuesta.arguments().isEmpty() &&
           respuesta.arguments().first().value<QDBusVariant>().variant().toBool();
}

QString EscritorioReal::Navegador() const {
    const QStringList candidatos = {
#if defined(Q_OS_MACOS)
        QStringLiteral("open"),
#endif
        QStringLiteral("xdg-open"),         // freedesktop: the default text/html handler
        QStringLiteral("x-www-browser"),    // Debian alternatives: the graphical browser
        QStringLiteral("sensible-browser"), // Debian: $BROWSER, then the alternatives
    };
    for (const QString& candidato : candidatos) {
        const QString ruta = QStandardPaths::findExecutable(candidato);
        if (!ruta.isEmpty())
            return ruta;
    }
    return {};
}

void EscritorioReal::Terminar() {
    QCoreApplication::quit();
}

namespace {
constexpr qint64 kExito = 42;
constexpr qint64 kNoEncontrado = 2;

bool EsDireccionWeb(const QString& texto) {
    const QUrl url(texto, QUrl::StrictMode);
    const QString esquema = url.scheme().toLower();
    return url.isValid() &&
           (esquema == QLatin1String("http") || esquema == QLatin1String("https") ||
            esquema == QLatin1String("mailto"));
}

// The desktop's shell finds a program named without a folder ("wab.exe") on the search
// path; a name with a folder part is taken as it is, relative to the current folder.
QString UbicarPrograma(const QString& archivo) {
    if (archivo.isEmpty() || QFileInfo(archivo).fileName() != archivo)
        return archivo;
    const QString hallado = QStandardPaths::findExecutable(archivo);
    return hallado.isEmpty() ? archivo : hallado;
}
} // namespace

qint64 ShellReal::Ejecutar(const LlamadaShell& llamada) {
    const QFileInfo info(UbicarPrograma(llamada.archivo));
    if (info.isFile() && info.isExecutable()) {
        QString directorio = llamada.directorio;
        if (directorio.isEmpty() || !QFileInfo(directorio).isDir())
            directorio = info.absolutePath();
        return QProcess::startDetached(info.absoluteFilePath(), llamada.parametros, directorio)
                   ? kExito
                   : kNoEncontrado;
    }
    if (info.exists())
        return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()))
                   ? kExito
                   : kNoEncontrado;
    if (EsDireccionWeb(llamada.archivo))
        return QDesktopServices::openUrl(QUrl(llamada.archivo)) ? kExito : kNoEncontrado;
    return kNoEncontrado;
}

void DialogosReales::Mostrar(const Mensaje& mensaje) {
    // A message belongs to the window the user is working in: the window system keeps
    // it over that window and, where the compositor places the windows, centres it there.
    QMessageBox caja(
        mensaje.tipo == TipoMensaje::Critico ? QMessageBox::Critical : QMessageBox::Information,
        mensaje.titulo, TextoVisible(mensaje.texto), QMessageBox::Ok, QApplication::activeWindow());
    caja.setTextFormat(Qt::PlainText);
    caja.exec();
}

void PortapapelesReal::Vaciar() {
    QGuiApplication::clipboard()->clear();
}

void PortapapelesReal::PonerTexto(const QString& texto) {
    QGuiApplication::clipboard()->setText(texto);
}

QString CarpetaBloqueosPorDefecto() {
    QString carpeta = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (carpeta.isEmpty())
        carpeta = QDir::tempPath();
    return carpeta;
}

} // namespace comun
