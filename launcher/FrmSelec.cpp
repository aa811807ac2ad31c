#include "FrmSelec.h"

#include "Arte.h"
#include "Etiqueta.h"
#include "Twips.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
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
} // namespace

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
}

void FrmSelec::LlenarUnidades() {
    const QString actual = QStorageInfo(QDir::currentPath()).rootPath();
    QStringList raices;
    for (const QStorageInfo& volumen : QStorageInfo::mountedVolumes()) {
        if (volumen.isValid())
            raices << volumen.rootPath();
    }
    if (!actual.isEmpty() && !raices.contains(actual))
        raices << actual;
    raices.removeDuplicates();
    raices.sort(Qt::CaseInsensitive);
    QSignalBlocker bloqueo(Drive);
    for (const QString& raiz : raices)
        Drive->addItem(QDir::toNativeSeparators(raiz), raiz);
    Drive->setCurrentIndex(qMax(0, Drive->findData(actual)));
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
    ResultadoShell = AbrirArchivo(
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
