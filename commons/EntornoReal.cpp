#include "EntornoReal.h"

#include "Texto.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
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

void DialogosReales::Mostrar(const Mensaje& mensaje) {
    QMessageBox caja(Icono(mensaje.tipo), mensaje.titulo, TextoVisible(mensaje.texto),
                     QMessageBox::Ok);
    caja.setTextFormat(Qt::PlainText);
    DarAnchoAlTitulo(caja);
    caja.exec();
}

Respuesta DialogosReales::Preguntar(const Mensaje& pregunta) {
    QMessageBox caja(Icono(pregunta.tipo), pregunta.titulo, TextoVisible(pregunta.texto),
                     QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
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
