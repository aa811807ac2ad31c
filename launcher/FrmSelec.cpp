#include "FrmSelec.h"

#include "Arte.h"
#include "Etiqueta.h"
#include "Twips.h"
#include "Ventanas.h"

#include <QCollator>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStyle>
#include <QSvgRenderer>

namespace launcher {

using comun::RectTwips;

const QString FrmSelec::kTitulo =
    QStringLiteral("Asistente para seleccionar la ruta de los programas...");
const QString FrmSelec::kTituloCarpetaLarga = QStringLiteral("Carpeta demasiado larga");
const QString FrmSelec::kTextoCarpetaLarga =
    QStringLiteral("La ruta de esta carpeta tiene más de 99 caracteres y no se podría leer "
                   "después.\rMueva el programa a una carpeta de ruta más corta y selecciónela.");

const QString FrmSelec::kTituloSinGuardar = QStringLiteral("No se puede guardar la carpeta.");
const QString FrmSelec::kTextoSinGuardar =
    QStringLiteral("No se puede guardar la carpeta del programa en el archivo de configuración\r"
                   "Vemora.INI. Compruebe que no es de solo lectura y que es un archivo.");

namespace {
const QString kBusque = QStringLiteral("Busque el programa...");
const QString kEncontrado = QStringLiteral("PROGRAMA ENCONTRADO...");
constexpr int kRol = Qt::UserRole;

QString Limpia(const QString& ruta) {
    return QDir::cleanPath(QFileInfo(ruta).absoluteFilePath());
}

const QString kEquipo = QStringLiteral("Equipo");
const QString kCarpetaPersonal = QStringLiteral("Carpeta personal");

// `ruta` is `carpeta` or lies inside it.
bool Dentro(const QString& ruta, const QString& carpeta) {
    if (carpeta.endsWith(QLatin1Char('/'))) // a root
        return ruta.startsWith(carpeta) || ruta + QLatin1Char('/') == carpeta;
    return ruta == carpeta || ruta.startsWith(carpeta + QLatin1Char('/'));
}

#if !defined(Q_OS_WIN)
// File systems the system keeps for itself: in memory, of processes and devices, of
// control groups and the kernel's own, packaged read-only images, container layers.
bool TipoDelSistema(const QByteArray& tipo) {
    static const QSet<QByteArray> kTipos = {
        "autofs",     "binfmt_misc",   "bpf",        "cgroup",          "cgroup2",
        "configfs",   "debugfs",       "devfs",      "devpts",          "devtmpfs",
        "efivarfs",   "fusectl",       "hugetlbfs",  "mqueue",          "nsfs",
        "nfsd",       "overlay",       "proc",       "pstore",          "ramfs",
        "rootfs",     "rpc_pipefs",    "securityfs", "selinuxfs",       "squashfs",
        "sysfs",      "tmpfs",         "tracefs",    "fuse.gvfsd-fuse", "fuse.portal",
        "fuse.lxcfs", "fuse.snapfuse", "aufs",       "zfs_snapshot",    "none"};
    return kTipos.contains(tipo);
}

// Shares of other machines, which are mounted from no device of this one.
bool TipoDeRed(const QByteArray& tipo) {
    static const QSet<QByteArray> kTipos = {"nfs",   "nfs4",       "cifs",  "smb3",
                                            "smbfs", "fuse.sshfs", "davfs", "fuse.davfs"};
    return kTipos.contains(tipo);
}

// The folders the system itself is installed and run from, and hidden folders.
bool RutaDelSistema(const QString& ruta) {
    static const QStringList kCarpetas = {
        QStringLiteral("/bin"),   QStringLiteral("/boot"),  QStringLiteral("/dev"),
        QStringLiteral("/efi"),   QStringLiteral("/etc"),   QStringLiteral("/lib"),
        QStringLiteral("/lib32"), QStringLiteral("/lib64"), QStringLiteral("/libx32"),
        QStringLiteral("/opt"),   QStringLiteral("/proc"),  QStringLiteral("/root"),
        QStringLiteral("/sbin"),  QStringLiteral("/snap"),  QStringLiteral("/srv"),
        QStringLiteral("/sys"),   QStringLiteral("/tmp"),   QStringLiteral("/usr"),
        QStringLiteral("/var")};
    for (const QString& carpeta : kCarpetas) {
        if (Dentro(ruta, carpeta))
            return true;
    }
    // Under /run only the removable media that the desktop mounts for its user.
    if (Dentro(ruta, QStringLiteral("/run")) && !Dentro(ruta, QStringLiteral("/run/media")))
        return true;
    if (ruta == QLatin1String("/home") || ruta == QLatin1String("/media") ||
        ruta == QLatin1String("/mnt") || ruta == QLatin1String("/run/media"))
        return true;
    return ruta.contains(QLatin1String("/."));
}
#endif
} // namespace

QList<Lugar> LugaresConocidos(const QList<Montaje>& montajes, const QString& carpetaPersonal) {
    QList<Lugar> lugares;
#if defined(Q_OS_WIN)
    // Every volume has a drive letter, which is what users know it by.
    Q_UNUSED(carpetaPersonal);
    for (const Montaje& m : montajes) {
        const QString raiz = QDir::toNativeSeparators(m.raiz);
        lugares.append({m.raiz, m.etiqueta.isEmpty()
                                    ? raiz
                                    : QStringLiteral("%1 (%2)").arg(raiz, m.etiqueta)});
    }
#else
    const QString personal = QDir::cleanPath(carpetaPersonal);
    QList<Lugar> volumenes;
    for (const Montaje& m : montajes) {
        const QString raiz = QDir::cleanPath(m.raiz);
        if (raiz.isEmpty() || raiz == QLatin1String("/") || raiz == personal)
            continue;
        const bool deDisco = m.dispositivo.startsWith("/dev/");
        if (TipoDelSistema(m.tipo) || !(deDisco || TipoDeRed(m.tipo)) || RutaDelSistema(raiz))
            continue;
        bool repetido = false;
        for (const Lugar& v : std::as_const(volumenes))
            repetido = repetido || v.ruta == raiz;
        if (!repetido)
            volumenes.append(
                {raiz, m.etiqueta.isEmpty() ? QFileInfo(raiz).fileName() : m.etiqueta});
    }
    // Two places of the same name (two sticks labelled alike) are told apart.
    QHash<QString, int> nombres;
    for (const Lugar& v : std::as_const(volumenes))
        ++nombres[v.nombre];
    for (Lugar& v : volumenes) {
        if (nombres.value(v.nombre) > 1)
            v.nombre += QStringLiteral(" (%1)").arg(v.ruta);
    }
    QCollator orden{QLocale()};
    orden.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(volumenes.begin(), volumenes.end(), [&](const Lugar& a, const Lugar& b) {
        return orden.compare(a.nombre, b.nombre) < 0;
    });
    lugares.append({QStringLiteral("/"), kEquipo});
    if (!personal.isEmpty() && personal != QLatin1String("/"))
        lugares.append({personal, kCarpetaPersonal});
    lugares.append(volumenes);
#endif
    return lugares;
}

// ---- Folder list ------------------------------------------------------------------------

ListaCarpetas::ListaCarpetas(QWidget* padre) : QListWidget(padre) {
    setIconSize(QSize(16, 16));
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* entrada) {
        // One click enters the folder; one that cannot be read leaves the list as it is.
        PonerRuta(entrada->data(kRol).toString());
    });
}

bool ListaCarpetas::PonerRuta(const QString& ruta) {
    const QFileInfo info(ruta);
    if (ruta.isEmpty() || !info.isDir() || !info.isReadable() || !info.isExecutable())
        return false;
    const QString limpia = Limpia(ruta);
    if (limpia == ruta_)
        return true;
    ruta_ = limpia;
    Llenar();
    emit rutaCambiada(ruta_);
    return true;
}

QListWidgetItem* ListaCarpetas::Entrada(const QString& ruta) const {
    const QString buscada = Limpia(ruta);
    for (int i = 0; i < count(); ++i) {
        if (item(i)->data(kRol).toString() == buscada)
            return item(i);
    }
    return nullptr;
}

void ListaCarpetas::Llenar() {
    clear();
    QStringList antepasados;
    QDir dir(ruta_);
    do {
        antepasados.prepend(dir.absolutePath());
    } while (dir.cdUp());

    const QIcon abierta = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon cerrada = style()->standardIcon(QStyle::SP_DirIcon);
    auto agregar = [this](const QString& ruta, const QString& texto, int nivel,
                          const QIcon& icono) {
        auto* entrada = new QListWidgetItem(icono, QString(nivel * 2, QLatin1Char(' ')) + texto);
        entrada->setData(kRol, ruta);
        addItem(entrada);
        return entrada;
    };
    int nivel = 0;
    QListWidgetItem* actual = nullptr;
    for (const QString& ruta : antepasados) {
        const QString nombre = QFileInfo(ruta).fileName();
        actual = agregar(ruta, nombre.isEmpty() ? QDir::toNativeSeparators(ruta) : nombre, nivel++,
                         abierta);
    }
    const auto hijas =
        QDir(ruta_).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& hija : hijas)
        agregar(Limpia(hija.absoluteFilePath()), hija.fileName(), nivel, cerrada);
    setCurrentItem(actual);
    scrollToItem(actual, QAbstractItemView::PositionAtTop);
}

// ---- File list --------------------------------------------------------------------------

void ListaArchivos::PonerRuta(const QString& ruta) {
    ruta_ = ruta;
    clear();
    // Name filters of QDir ignore letter case unless told otherwise, as the desktop's do.
    addItems(QDir(ruta).entryList({patron_}, QDir::Files, QDir::Name | QDir::IgnoreCase));
    emit rutaCambiada();
}

// ---- Dialog -----------------------------------------------------------------------------

FrmSelec::FrmSelec(const comun::Entorno& entorno, comun::ArchivoIni& ini, FilaPrograma fila,
                   QString direccionAyuda, QWidget* padre)
    : QDialog(padre), entorno_(entorno), ini_(ini), fila_(std::move(fila)),
      direccionAyuda_(std::move(direccionAyuda)) {
    CargarArte();
    setWindowFlags(Qt::Dialog | Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(kTitulo);
    setFixedSize(comun::TamTwips(6000, 4500));
    setModal(true);
    setMouseTracking(true);
    fondo_ = new QSvgRenderer(QStringLiteral(":/launcher/selec_fondo.svg"), this);

    const QString blanco = QStringLiteral("background: white; color: black;");
    Drive = new QComboBox(this);
    Drive->setGeometry(RectTwips(120, 2160, 1695, 315));
    Drive->setStyleSheet(blanco);
    DirCarpeta = new ListaCarpetas(this);
    DirCarpeta->setGeometry(RectTwips(2160, 1600, 2895, 2565));
    DirCarpeta->setStyleSheet(blanco);
    File = new ListaArchivos(this);
    File->setGeometry(RectTwips(4560, 0, 1335, 480));
    File->hide();
    comun::PonerNombreAccesible(Drive, QStringLiteral("Unidad"));
    comun::PonerNombreAccesible(DirCarpeta, QStringLiteral("Carpeta"));
    comun::PonerNombreAccesible(File, QStringLiteral("Archivos"));

    LblNombrePrg = new QLabel(this);
    LblNombrePrg->move(comun::Px(1740), comun::Px(1040));
    PonerColor(LblNombrePrg, 0xC0FFFF);
    QFont grande = LblNombrePrg->font();
    grande.setPixelSize(17);
    grande.setBold(true);
    LblNombrePrg->setFont(grande);

    LblEstado = new QLabel(this);
    LblEstado->move(comun::Px(840), comun::Px(4260));
    PonerColor(LblEstado, 0xFFFFFF);
    QFont negrita = LblEstado->font();
    negrita.setBold(true);
    LblEstado->setFont(negrita);

    auto* ayuda = new comun::Etiqueta(this);
    LblAyuda = ayuda;
    LblAyuda->move(comun::Px(2220), comun::Px(1020));
    PonerColor(LblAyuda, 0xFFFFFF);
    QFont pequena = LblAyuda->font();
    pequena.setPixelSize(10);
    LblAyuda->setFont(pequena);
    LblAyuda->hide();

    ImgAyuda = new ImagenSvg(QStringLiteral(":/launcher/selec_ayuda.svg"), this);
    ImgAyuda->setGeometry(RectTwips(240, 960, 495, 495));
    ImgAyuda->setCursor(CursorMano());
    ImgMundo = new ImagenSvg(QStringLiteral(":/launcher/selec_mundo.svg"), this);
    ImgMundo->setGeometry(RectTwips(200, 960, 555, 600));
    // The globe covers the help picture while the hint shows; clicks still reach the picture.
    ImgMundo->setAttribute(Qt::WA_TransparentForMouseEvents);
    ImgMundo->hide();
    const QString pista =
        QStringLiteral("Si no tiene alguno de estos programas\rdescárguelos desde "
                       "internet.");
    comun::PonerBotonAccesible(ImgAyuda, QStringLiteral("Descargar programas"), pista, [this] {
        MostrarPista(true);
        ImgAyuda_Click();
    });
    comun::PonerNombreAccesible(ImgMundo, QStringLiteral("Internet"), pista);

    CmdTerminar = new QPushButton(QStringLiteral("&Terminar"), this);
    CmdTerminar->setGeometry(RectTwips(480, 3360, 1095, 375));
    CmdTerminar->setCursor(CursorMano());
    CmdTerminar->hide();

    // The lists start at the current folder and its drive.
    LlenarUnidades();
    // A current folder that no longer exists or cannot be read: the home folder, else the root.
    if (!DirCarpeta->PonerRuta(QDir::currentPath()) && !DirCarpeta->PonerRuta(QDir::homePath()))
        DirCarpeta->PonerRuta(QDir::rootPath());
    File->PonerPatron(fila_.clave + QStringLiteral(".exe"));
    File->PonerRuta(DirCarpeta->Ruta());

    UltimaUnidad = Drive->currentText();
    indiceUnidad_ = Drive->currentIndex();
    LblNombrePrg->setText(fila_.nombreLocalizador.toUpper());
    LblNombrePrg->adjustSize();
    LblEstado->setText(kBusque);
    LblEstado->adjustSize();
    ayuda->PonerCaption(pista);
    LblAyuda->adjustSize();

    connect(Drive, &QComboBox::currentIndexChanged, this, [this] { Drive_Change(); });
    connect(DirCarpeta, &ListaCarpetas::rutaCambiada, File, &ListaArchivos::PonerRuta);
    connect(File, &ListaArchivos::rutaCambiada, this, [this] { ComprobarPrograma(); });
    connect(CmdTerminar, &QPushButton::clicked, this, [this] { CmdTerminar_Click(); });
    connect(ImgAyuda, &ImagenSvg::movido, this, [this] { MostrarPista(true); });
    connect(ImgAyuda, &ImagenSvg::clic, this, [this] { ImgAyuda_Click(); });
    comun::MarcarVentanaAuxiliar(this);
}

void FrmSelec::LlenarUnidades() {
    QList<Montaje> montajes;
    for (const QStorageInfo& volumen : QStorageInfo::mountedVolumes()) {
        if (volumen.isValid())
            montajes.append(
                {volumen.rootPath(), volumen.device(), volumen.fileSystemType(), volumen.name()});
    }
    const QList<Lugar> lugares = LugaresConocidos(montajes, QDir::homePath());
    // The place the current folder lies in: the innermost of those that hold it.
    const QString actual = Limpia(QDir::currentPath());
    int elegido = 0;
    qsizetype largo = -1;
    QSignalBlocker bloqueo(Drive);
    for (const Lugar& lugar : lugares) {
        const QString ruta = QDir::toNativeSeparators(lugar.ruta);
        Drive->addItem(lugar.nombre, lugar.ruta);
        Drive->setItemData(Drive->count() - 1, ruta, Qt::ToolTipRole);
        if (Dentro(actual, QDir::cleanPath(lugar.ruta)) && lugar.ruta.size() > largo) {
            elegido = Drive->count() - 1;
            largo = lugar.ruta.size();
        }
    }
    Drive->setCurrentIndex(elegido);
}

void FrmSelec::Drive_Change() {
    const QString raiz = Drive->currentData().toString();
    const bool lista = !raiz.isEmpty() && QStorageInfo(raiz).isReady();
    if (lista && DirCarpeta->PonerRuta(raiz)) {
        UltimaUnidad = Drive->currentText();
        indiceUnidad_ = Drive->currentIndex();
        return;
    }
    entorno_.dialogos->Critico(QStringLiteral("Error al Acceder a la unidad de disco"),
                               QStringLiteral("La unidad de disco no está disponible"));
    QSignalBlocker bloqueo(Drive);
    const int anterior = Drive->findText(UltimaUnidad);
    Drive->setCurrentIndex(anterior >= 0 ? anterior : indiceUnidad_);
}

void FrmSelec::ComprobarPrograma() {
    const bool encontrado =
        File->Primero().toUpper() == fila_.clave.toUpper() + QStringLiteral(".EXE");
    LblEstado->setText(encontrado ? kEncontrado : kBusque);
    LblEstado->adjustSize();
    CmdTerminar->setVisible(encontrado);
}

void FrmSelec::CmdTerminar_Click() {
    QString carpeta = QDir::toNativeSeparators(DirCarpeta->Ruta());
    if (!carpeta.endsWith(QDir::separator()))
        carpeta += QDir::separator();
    // The folder is read back through a 100-character buffer: a longer one would come
    // back cut and never find the program, so it is not stored at all.
    if (carpeta.size() > kLargoMaximoCarpeta) {
        entorno_.dialogos->Critico(kTituloCarpetaLarga, kTextoCarpetaLarga);
        return;
    }
    // The user asked for this folder to be kept: a settings file that refuses it is said
    // so, rather than the dialog closing as if it had been stored.
    if (!ini_.EscribirIniConBuffer(kSeccionProgramas, fila_.clave, carpeta))
        entorno_.dialogos->Critico(kTituloSinGuardar, kTextoSinGuardar);
    ResultadoShell = IniciarPrograma(
        entorno_, RutaEjecutable(carpeta.trimmed(), fila_.clave + QStringLiteral(".EXE")));
    accept();
}

void FrmSelec::ImgAyuda_Click() {
    entorno_.shell->Ejecutar(
        {QString(), direccionAyuda_, {}, QDir::toNativeSeparators(QDir::rootPath())});
}

void FrmSelec::MostrarPista(bool visible) {
    LblNombrePrg->setVisible(!visible);
    LblAyuda->setVisible(visible);
    ImgMundo->setVisible(visible);
}

void FrmSelec::paintEvent(QPaintEvent*) {
    QPainter pintor(this);
    pintor.setRenderHint(QPainter::Antialiasing);
    fondo_->render(&pintor, QRectF(rect()));
}

void FrmSelec::mouseMoveEvent(QMouseEvent* e) {
    // Only the background itself: moves over the labels reach here too.
    if (childAt(e->position().toPoint()))
        return;
    if (LblAyuda->isVisible())
        MostrarPista(false);
}

void FrmSelec::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (const QScreen* pantalla = screen() ? screen() : QGuiApplication::primaryScreen())
        move(pantalla->availableGeometry().center() - rect().center());
}

} // namespace launcher
