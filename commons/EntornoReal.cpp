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
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>
#include <vector>

#if defined(__GLIBC__)
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

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
// How long a started program is watched for a failure, and how often it is looked at.
// A browser's launcher that finds no browser gives up well within the time; one that
// is still running then has a browser in front of it.
constexpr int kPlazoVigilancia = 2000;
constexpr int kIntervaloVigilancia = 50;
// Once answered, a program still running is only looked at now and then, so that its
// end leaves no dead entry behind in the system's process table.
constexpr int kIntervaloRecogida = 1000;

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

bool EsPrograma(const QFileInfo& info) {
    return info.isFile() && info.isExecutable();
}

// The folder a started program works in: the one asked for when it exists, else the
// program's own.
QString CarpetaDeTrabajo(const LlamadaShell& llamada, const QFileInfo& programa) {
    if (!llamada.directorio.isEmpty() && QFileInfo(llamada.directorio).isDir())
        return llamada.directorio;
    return programa.absolutePath();
}

// Hands a document, folder or address to the desktop's opener: the freedesktop one
// when the system has it, else the toolkit's own way (a portal, the desktop's tools).
// `argumento` is what the opener is given: a local path, or the address.
bool AbrirConElEscritorio(const QString& argumento, const QUrl& url) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString abridor = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!abridor.isEmpty())
        return QProcess::startDetached(abridor, {argumento});
#else
    Q_UNUSED(argumento);
#endif
    return QDesktopServices::openUrl(url);
}

qint64 Abrir(const LlamadaShell& llamada) {
    const QFileInfo info(llamada.archivo);
    if (info.exists())
        return AbrirConElEscritorio(info.absoluteFilePath(),
                                    QUrl::fromLocalFile(info.absoluteFilePath()))
                   ? kExito
                   : kNoEncontrado;
    if (EsDireccionWeb(llamada.archivo)) {
        const QUrl url(llamada.archivo);
        return AbrirConElEscritorio(QString::fromLatin1(url.toEncoded()), url) ? kExito
                                                                               : kNoEncontrado;
    }
    return kNoEncontrado;
}

// Answers from the event loop, never from inside the call that asked.
void ResponderLuego(std::function<void(bool)> respuesta, bool exito) {
    QTimer::singleShot(0, [respuesta = std::move(respuesta), exito] { respuesta(exito); });
}

#if defined(__GLIBC__)
// Starts the program as a child of this one, in a session of its own so that it
// outlives this program and its terminal; 0 when it could not be started.
pid_t IniciarHijo(const QString& programa, const QStringList& parametros, const QString& carpeta) {
    QList<QByteArray> textos{QFile::encodeName(programa)};
    for (const QString& parametro : parametros)
        textos << parametro.toLocal8Bit();
    std::vector<char*> argumentos;
    for (QByteArray& texto : textos)
        argumentos.push_back(texto.data());
    argumentos.push_back(nullptr);
    const QByteArray carpetaNativa = QFile::encodeName(carpeta);

    posix_spawnattr_t atributos;
    posix_spawnattr_init(&atributos);
    sigset_t ninguna;
    sigemptyset(&ninguna);
    sigset_t todas;
    sigfillset(&todas);
    posix_spawnattr_setsigmask(&atributos, &ninguna);
    posix_spawnattr_setsigdefault(&atributos, &todas);
    posix_spawnattr_setflags(&atributos,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawn_file_actions_t acciones;
    posix_spawn_file_actions_init(&acciones);
    posix_spawn_file_actions_addchdir_np(&acciones, carpetaNativa.constData());
    pid_t pid = 0;
    if (::posix_spawn(&pid, argumentos[0], &acciones, &atributos, argumentos.data(), environ) != 0)
        pid = 0;
    posix_spawn_file_actions_destroy(&acciones);
    posix_spawnattr_destroy(&atributos);
    return pid;
}

// Looks at the child until it ends or the time is up, answers once, and reaps it
// whenever it ends.
void VigilarHijo(pid_t pid, std::function<void(bool)> respuesta) {
    auto* reloj = new QTimer(QCoreApplication::instance());
    reloj->setInterval(kIntervaloVigilancia);
    QElapsedTimer desde;
    desde.start();
    auto pendiente = std::make_shared<std::function<void(bool)>>(std::move(respuesta));
    QObject::connect(reloj, &QTimer::timeout, reloj, [reloj, pid, desde, pendiente] {
        int estado = 0;
        const pid_t hallado = ::waitpid(pid, &estado, WNOHANG);
        if (hallado == 0) {
            if (*pendiente && desde.elapsed() >= kPlazoVigilancia) {
                reloj->setInterval(kIntervaloRecogida);
                std::exchange(*pendiente, {})(true);
            }
            return;
        }
        reloj->stop();
        reloj->deleteLater();
        // Ended: it failed unless it said it succeeded. (Reaped by someone else, its
        // end is unknown and it is taken as started.)
        const bool exito = hallado != pid || (WIFEXITED(estado) && WEXITSTATUS(estado) == 0);
        if (*pendiente)
            std::exchange(*pendiente, {})(exito);
    });
    reloj->start();
}
#endif
} // namespace

qint64 ShellReal::Ejecutar(const LlamadaShell& llamada) {
    if (llamada.accion == AccionShell::Abrir)
        return Abrir(llamada);
    const QFileInfo info(UbicarPrograma(llamada.archivo));
    if (EsPrograma(info))
        return QProcess::startDetached(info.absoluteFilePath(), llamada.parametros,
                                       CarpetaDeTrabajo(llamada, info))
                   ? kExito
                   : kNoEncontrado;
    // A program without the execute bit (one brought from Windows) is the desktop's
    // to start, through its handler for that kind of file.
    if (info.exists())
        return Abrir({llamada.operacion, info.absoluteFilePath(), {}, {}, AccionShell::Abrir});
    return kNoEncontrado;
}

void ShellReal::IniciarVigilado(const LlamadaShell& llamada, std::function<void(bool)> respuesta) {
    const QFileInfo info(UbicarPrograma(llamada.archivo));
    if (!EsPrograma(info)) {
        ResponderLuego(std::move(respuesta), false);
        return;
    }
#if defined(__GLIBC__)
    const pid_t pid =
        IniciarHijo(info.absoluteFilePath(), llamada.parametros, CarpetaDeTrabajo(llamada, info));
    if (pid > 0)
        VigilarHijo(pid, std::move(respuesta));
    else
        ResponderLuego(std::move(respuesta), false);
#else
    // Where the child cannot be watched, a start is all that is known.
    ResponderLuego(std::move(respuesta),
                   QProcess::startDetached(info.absoluteFilePath(), llamada.parametros,
                                           CarpetaDeTrabajo(llamada, info)));
#endif
}

namespace {
// The window frame draws the title in a bold face beside its buttons (the window's icon,
// close and, on many desktops, minimise and maximise too) and cuts a title it cannot fit
// in its middle. The toolkit keeps room for the title in the normal face and about two
// buttons only: the box is made wide enough for the frame, within the screen.
void DarAnchoAlTitulo(QMessageBox& caja) {
    auto* rejilla = qobject_cast<QGridLayout*>(caja.layout());
    if (!rejilla)
        return;
    QFont negrita = caja.font();
    negrita.setBold(true);
    const QFontMetrics medida(negrita);
    const int boton = medida.height() + 8;
    int ancho = medida.horizontalAdvance(caja.windowTitle()) + 6 * boton;
    if (const QScreen* pantalla = caja.screen())
        ancho = qMin(ancho, pantalla->availableGeometry().width() - 2 * boton);
    const QMargins margenes = rejilla->contentsMargins();
    ancho -= margenes.left() + margenes.right();
    if (ancho <= 0)
        return;
    rejilla->addItem(new QSpacerItem(ancho, 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                     rejilla->rowCount(), 0, 1, rejilla->columnCount());
}

QMessageBox::Icon Icono(TipoMensaje tipo) {
    return tipo == TipoMensaje::Critico ? QMessageBox::Critical : QMessageBox::Information;
}
} // namespace

// A message belongs to the window the user is working in: the window system keeps it over
// that window and, where the compositor places the windows, centres it there.
void DialogosReales::Mostrar(const Mensaje& mensaje) {
    QMessageBox caja(Icono(mensaje.tipo), mensaje.titulo, TextoVisible(mensaje.texto),
                     QMessageBox::Ok, QApplication::activeWindow());
    caja.setTextFormat(Qt::PlainText);
    DarAnchoAlTitulo(caja);
    caja.exec();
}

Respuesta DialogosReales::Preguntar(const Mensaje& pregunta) {
    QMessageBox caja(Icono(pregunta.tipo), pregunta.titulo, TextoVisible(pregunta.texto),
                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                     QApplication::activeWindow());
    caja.setTextFormat(Qt::PlainText);
    // Spanish whether or not the toolkit's own translations are installed.
    caja.button(QMessageBox::Yes)->setText(QStringLiteral("&Sí"));
    caja.button(QMessageBox::No)->setText(QStringLiteral("&No"));
    caja.button(QMessageBox::Cancel)->setText(QStringLiteral("Cancelar"));
    caja.setDefaultButton(QMessageBox::Yes);
    caja.setEscapeButton(QMessageBox::Cancel);
    DarAnchoAlTitulo(caja);
    switch (caja.exec()) {
    case QMessageBox::Yes:
        return Respuesta::Si;
    case QMessageBox::No:
        return Respuesta::No;
    default:
        return Respuesta::Cancelar;
    }
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
