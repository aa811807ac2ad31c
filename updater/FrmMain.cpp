#include "FrmMain.h"

#include "Arte.h"
#include "Etiqueta.h"
#include "GestosBandeja.h"
#include "IconoBandeja.h"
#include "Instalacion.h"
#include "Tabla.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

// The static library's resources must be registered by hand, outside any namespace.
static void RegistrarArteActualizar() {
    Q_INIT_RESOURCE(updater);
}

namespace updater {

const QString kTituloSinNavegador = QStringLiteral("Error. Consulte la ayuda.");
const QString kTextoSinNavegador =
    QStringLiteral("No se encontró el navegador\rpara abrir las páginas...");
const QString kTextoPaginasInvalidas =
    QStringLiteral("No se abrieron estas páginas del «Botón Web» porque su dirección no es\r"
                   "una dirección web: %1. Corríjalas en la sección [BWeb] de Vemora.INI.");
const QString FrmSinBandeja::kTitulo = QStringLiteral("Brivolar programas");

namespace {
// Pictures of ImgIco by index; the empty ones belong to items without a picture.
const std::array<const char*, 18> kDibujos = {
    "ayuda",   nullptr,   nullptr,  "noctavo",  "poemarex", "custodex",
    "numerax", "apuntex", "tempux", "resguax",  "cantrix",  "cerrox",
    "probex",  "vemora",  nullptr,  "botonweb", "web",      "salir",
};

// Drawn when the menu first opens (IconoSvg is lazy).
QIcon Dibujo(const char* nombre, int lado) {
    return launcher::IconoSvg(QStringLiteral(":/updater/%1.svg").arg(QLatin1String(nombre)),
                              QSize(lado, lado));
}

// The program's icon at the sizes notification areas and window frames ask for, so
// none of them has to scale a rendering of another size; drawn when first asked for.
QIcon IconoPrograma() {
    QList<QSize> tamanos;
    for (int lado : {16, 22, 24, 32, 48, 64})
        tamanos.append(QSize(lado, lado));
    return launcher::IconoSvgTamanos(QStringLiteral(":/updater/icono.svg"), tamanos);
}

// The host name of the maker's web site: the caption of the web-site item.
QString NombreSitio() {
    return QUrl(launcher::kDireccionWeb).host();
}
} // namespace

FrmSinBandeja::FrmSinBandeja(const QIcon& icono, QMenu* menu)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(kTitulo);
    setWindowIcon(icono);
    auto* capa = new QHBoxLayout(this);
    capa->setContentsMargins(4, 4, 4, 4);
    CmdMenu = new QToolButton(this);
    CmdMenu->setIcon(icono);
    CmdMenu->setIconSize(QSize(32, 32));
    CmdMenu->setText(QStringLiteral("Brivolar"));
    CmdMenu->setToolTip(kTipIcono);
    CmdMenu->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    CmdMenu->setPopupMode(QToolButton::InstantPopup);
    CmdMenu->setMenu(menu);
    // A button that opens a menu is a menu button to the toolkit, whose only action
    // opens the menu; here it is a push button like every command picture, whose press
    // is the click that opens it.
    comun::PonerBotonAccesible(CmdMenu, CmdMenu->text(), kTipIcono, [this] { CmdMenu->click(); });
    capa->addWidget(CmdMenu);
    adjustSize();
    setFixedSize(sizeHint());
    // Top right corner of the screen, near where the notification area would be.
    if (const QScreen* pantalla = QGuiApplication::primaryScreen()) {
        const QRect zona = pantalla->availableGeometry();
        move(zona.right() - width() - 16, zona.top() + 16);
    }
}

void FrmSinBandeja::closeEvent(QCloseEvent* e) {
    e->accept();
    emit cerrada();
}

FrmMain::FrmMain(const comun::Entorno& entorno, QString rutaEjecutable, QWidget* padre)
    : QWidget(padre), entorno_(entorno), rutaEjecutable_(std::move(rutaEjecutable)) {
    RegistrarArteActualizar();
    launcher::CargarArte();
    setWindowTitle(QStringLiteral("Brivolar"));
    for (int i = 0; i < int(kDibujos.size()); ++i) {
        if (kDibujos[i])
            ImgIco[i] = Dibujo(kDibujos[i], 16);
    }
    setWindowIcon(IconoPrograma());
    lanzador_ = std::make_unique<launcher::Lanzador>(entorno_, Ini, launcher::kDireccionWeb);
    CrearMenu();

    TmrEliminar = new QTimer(this);
    TmrEliminar->setInterval(kIntervaloEliminar);
    TmrEliminar->setSingleShot(true);
    connect(TmrEliminar, &QTimer::timeout, this, &FrmMain::TmrEliminar_Timer);

    Gestos = new comun::GestosBandeja(this);
    connect(Gestos, &comun::GestosBandeja::menuPedido, this,
            [this](const QPoint& donde, bool enPanel) {
                if (!AvisarModal())
                    comun::AbrirMenuBandeja(mnuMenu, donde, enPanel);
            });
    connect(Gestos, &comun::GestosBandeja::cierrePedido, this, [this] {
        if (!AvisarModal())
            Form_Unload();
    });
}

FrmMain::~FrmMain() {
    delete VentanaSinBandeja;
    delete mnuMenu;
}

void FrmMain::CrearMenu() {
    // A top-level popup shared by the tray icon and the no-tray window; the form
    // deletes it (after that window) when it goes.
    mnuMenu = new QMenu(QStringLiteral("Menu"));
    const auto& tabla = TablaActualizar();
    mnuAyuda = mnuMenu->addAction(QStringLiteral("Mostrar AYUDA"), this, &FrmMain::mnuAyuda_Click);
    mnuCarpetas = mnuMenu->addMenu(QStringLiteral("Selec. carpeta"));
    for (int i = 0; i < kFilasHermanos; ++i) {
        mnuSelec[i] =
            mnuCarpetas->addAction(tabla[i].tituloMenu, this, [this, i] { mnuSelec_Click(i); });
    }
    mnuMenu->addSeparator();
    for (int i = 0; i < int(mnuBrivolar.size()); ++i) {
        mnuBrivolar[i] =
            mnuMenu->addAction(tabla[i].tituloMenu, this, [this, i] { mnuBrivolar_Click(i); });
    }
    mnuMenu->addSeparator();
    mnuBWeb = mnuMenu->addAction(QStringLiteral("Botón Web"), this, &FrmMain::mnuBWeb_Click);
    mnuWeb = mnuMenu->addAction(NombreSitio(), this, &FrmMain::mnuWeb_Click);
    mnuSalir = mnuMenu->addAction(QStringLiteral("SALIR"), this, &FrmMain::mnuSalir_Click);
}

bool FrmMain::Form_Load() {
    if (!guardia_.TomarInstancia(entorno_, QFileInfo(rutaEjecutable_).fileName()))
        return false;
    RutaPrograma = comun::ObtenerRutaPrograma(entorno_.carpeta);
    Browser.ruta = entorno_.escritorio->Navegador();
    Browser.falta = Browser.ruta.isEmpty();
    if (!comun::GuardiaInicio::ComprobarAnfitrion(entorno_))
        return false;
    // As every program of the suite does once its guard has passed.
    EliminarTemporales(RutaPrograma);
    Ini.RutaIni = RutaPrograma + QStringLiteral("Vemora.INI");
    const comun::FotoIni ajustes(Ini.RutaIni); // read once for the keys below
    LeerDirecciones(ajustes);
    if (!VersionInstalada(ajustes)) {
        // Running as "Brivolar.exe" this program is the installed launcher already and
        // has nothing to install (it could only fail to replace itself, every time): it
        // puts back the mark that was lost and goes on. A failed write changes nothing
        // here; the next start tries again.
        if (!MismoArchivo(rutaEjecutable_, RutaPrograma + kLanzador)) {
            InstalarLanzador(entorno_, Ini, RutaPrograma, rutaEjecutable_);
            return false;
        }
        Ini.EscribirIni(kSeccionVersion, kClaveVersion, kVersion);
    }
    TmrEliminar->start();
    IniciarBandeja();
    return true;
}

void FrmMain::LeerDirecciones(const comun::FotoIni& ajustes) {
    Direcciones.clear();
    for (int i = 0; i < kPaginasWeb; ++i)
        Direcciones.append(
            ajustes.LeerIni(kSeccionWeb, QString::number(i), launcher::kDireccionWeb));
}

void FrmMain::IniciarBandeja() {
    PonerDibujosMenu();
    if (entorno_.escritorio->HayBandeja()) {
        // Made only where there is a notification area: elsewhere it would only cost
        // start-up time (the toolkit looks for the area's services when one is made).
        Icono = new comun::IconoBandeja({windowIcon(), QStringLiteral("vemora-brivolar"),
                                         QStringLiteral("Brivolar programas"), kTipIcono, mnuMenu},
                                        Gestos, entorno_.escritorio->HayAreaSni(), this);
        Icono->Mostrar();
    } else {
        VentanaSinBandeja = new FrmSinBandeja(windowIcon(), mnuMenu);
        connect(VentanaSinBandeja, &FrmSinBandeja::cerrada, this, &FrmMain::Form_Unload);
        VentanaSinBandeja->show();
    }
    hide();
}

void FrmMain::PonerDibujosMenu() {
    const auto elementos = mnuMenu->actions();
    for (int posicion = 0; posicion < elementos.size() && posicion < int(ImgIco.size()); ++posicion)
        elementos[posicion]->setIcon(ImgIco[posicion]);
    const auto carpetas = mnuCarpetas->actions();
    for (int posicion = 0; posicion < carpetas.size(); ++posicion)
        carpetas[posicion]->setIcon(ImgIco[posicion + 3]);
}

void FrmMain::Form_Unload() {
    if (terminado_)
        return;
    terminado_ = true;
    TmrEliminar->stop();
    mnuMenu->hide();
    if (Icono)
        Icono->Quitar();
    if (VentanaSinBandeja) {
        VentanaSinBandeja->disconnect(this);
        VentanaSinBandeja->hide();
    }
    emit ProgramaTerminado();
}

void FrmMain::Icono_Activated(QSystemTrayIcon::ActivationReason razon) {
    Gestos->Icono_Activated(razon);
}

bool FrmMain::AvisarModal() {
    // While the locator or a message is open the icon waits, as the rest of the program
    // does: a second locator over the first, or an end under an open dialog, is no use.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal)
        modal->activateWindow();
    return modal != nullptr;
}

void FrmMain::mnuAyuda_Click() {
    comun::AbrirAyuda(entorno_, kPaginaAyuda);
}

void FrmMain::mnuSelec_Click(int indice) {
    if (indice >= 0 && indice < kFilasHermanos)
        lanzador_->Localizar(FilaCarpeta(indice), this);
}

void FrmMain::mnuBrivolar_Click(int indice) {
    if (indice >= 0 && indice < TablaActualizar().size())
        lanzador_->Lanzar(TablaActualizar()[indice], this);
}

void FrmMain::mnuBWeb_Click() {
    if (Browser.falta) {
        entorno_.dialogos->Critico(kTituloSinNavegador, kTextoSinNavegador);
        return;
    }
    // The pages of a choice still being opened are the ones asked for.
    if (abriendoPaginas_)
        return;
    paginasPorAbrir_.clear();
    paginasInvalidas_.clear();
    for (int i = 0; i < Direcciones.size(); ++i) {
        const QString abrir = Ini.LeerIni(kSeccionWeb, QStringLiteral("Abrir") + QString::number(i),
                                          QStringLiteral("1"));
        if (abrir != QStringLiteral("1"))
            continue;
        const QString direccion = DireccionWeb(Direcciones[i]);
        if (direccion.isEmpty())
            paginasInvalidas_ << QString::number(i);
        else
            paginasPorAbrir_ << direccion;
    }
    abriendoPaginas_ = true;
    AbrirSiguientePagina();
}

void FrmMain::AbrirSiguientePagina() {
    if (paginasPorAbrir_.isEmpty()) {
        TerminarPaginas(false);
        return;
    }
    const QString direccion = paginasPorAbrir_.takeFirst();
    QPointer<FrmMain> formulario(this);
    entorno_.shell->IniciarVigilado(
        {QStringLiteral("open"), Browser.ruta, {direccion}, QString(), comun::AccionShell::Iniciar},
        [formulario](bool exito) {
            if (!formulario || formulario->terminado_)
                return;
            if (exito)
                formulario->AbrirSiguientePagina();
            else
                formulario->TerminarPaginas(true);
        });
}

void FrmMain::TerminarPaginas(bool sinNavegador) {
    abriendoPaginas_ = false;
    paginasPorAbrir_.clear();
    // With no browser the addresses do not matter: the user is told what is missing.
    if (sinNavegador)
        entorno_.dialogos->Critico(kTituloSinNavegador, kTextoSinNavegador);
    else if (!paginasInvalidas_.isEmpty())
        entorno_.dialogos->Critico(
            kTituloSinNavegador,
            kTextoPaginasInvalidas.arg(paginasInvalidas_.join(QStringLiteral(", "))));
}

QString DireccionWeb(const QString& valor) {
    const QString texto = valor.trimmed();
    // The address is the opener's one argument: a value that starts like an option
    // would be taken as one.
    if (texto.isEmpty() || texto.startsWith(QLatin1Char('-')))
        return QString();
    for (const QChar c : texto) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return QString();
    }
    auto esWeb = [](const QUrl& url) {
        const QString esquema = url.scheme().toLower();
        return url.isValid() && !url.host().isEmpty() &&
               (esquema == QLatin1String("http") || esquema == QLatin1String("https"));
    };
    // The pages are handed to the desktop's opener, which would open a local file or
    // run whatever handles another scheme: only web addresses go to it.
    if (esWeb(QUrl(texto, QUrl::TolerantMode)))
        return texto;
    // "www.example.com/pagina": a browser takes it as a web address; the opener would
    // look for a file of that name.
    if (!texto.contains(QStringLiteral("://")) && !texto.contains(QLatin1Char(' '))) {
        const QString conEsquema = QStringLiteral("http://") + texto;
        const QUrl url(conEsquema, QUrl::StrictMode);
        if (esWeb(url) && url.host().contains(QLatin1Char('.')))
            return conEsquema;
    }
    return QString();
}

void FrmMain::mnuWeb_Click() {
    entorno_.shell->Ejecutar(
        {QString(), launcher::kDireccionWeb, {}, QDir::toNativeSeparators(QDir::rootPath())});
}

void FrmMain::TmrEliminar_Timer() {
    TmrEliminar->stop();
    EliminarTemporales(RutaPrograma);
    if (EliminarInstalador(RutaPrograma, rutaEjecutable_))
        return;
    entorno_.dialogos->Informacion(kTituloYaActualizado, kTextoYaActualizado);
    Form_Unload();
}

} // namespace updater
