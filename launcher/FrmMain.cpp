#include "FrmMain.h"

#include "Arte.h"
#include "Contorno.h"
#include "Etiqueta.h"
#include "GestosBandeja.h"
#include "IconoBandeja.h"
#include "Ini.h"
#include "Twips.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QMutex>
#include <QPainter>
#include <QSvgRenderer>
#include <QTimer>
#include <QWindow>

namespace launcher {

using comun::Px;
using comun::RectTwips;

const QString FrmMain::kLeyendaInicial =
    QStringLiteral("Clic -> Abrir Programas / Doble clic -> Selec. carpeta.");

namespace {
const QString kSeccionPosicion = QStringLiteral("Posicion");
constexpr qint16 kIzdaPorDefecto = 330;
constexpr qint16 kArribaPorDefecto = 645;
constexpr quint32 kAmarillo = 0xFFFF;
constexpr quint32 kCian = 0xFFFF00;
constexpr quint32 kBlanco = 0xFFFFFF;

// Places of the button areas and of their highlights, in twips.
constexpr int kZonas[9][4] = {{120, 0, 345, 585},  {600, 0, 540, 585},  {1240, 0, 540, 585},
                              {1920, 0, 600, 585}, {2640, 0, 465, 585}, {3240, 0, 540, 585},
                              {3880, 0, 480, 585}, {4520, 0, 360, 585}, {5160, 45, 180, 225}};
constexpr int kResaltes[9][4] = {{150, 0, 315, 570},  {620, 0, 540, 570},  {1290, 0, 510, 570},
                                 {1940, 0, 600, 570}, {2640, 0, 480, 570}, {3300, 0, 465, 570},
                                 {3900, 0, 480, 570}, {4520, 0, 390, 540}, {5140, 0, 210, 285}};

// What a screen reader calls button i: the caption of its menu item; the hide button
// has none.
QString NombreBoton(int i) {
    const QString& titulo = TablaBarra()[i].tituloMenu;
    return titulo.isEmpty() ? QStringLiteral("Ocultar barra") : titulo;
}
} // namespace

FrmMain::FrmMain(const comun::Entorno& entorno, QWidget* padre)
    : QWidget(padre, Qt::FramelessWindowHint), lanzador(entorno, Ini, kPaginaDescargas),
      entorno_(entorno) {
    CargarArte();
    setWindowTitle(QStringLiteral("Brivolar"));
    // The window frame and the notification area share one icon, drawn when first asked.
    setWindowIcon(IconoSvg(QStringLiteral(":/launcher/icono.svg"), QSize(32, 32)));
    setFixedSize(comun::TamTwips(5490, 1800));
    setMouseTracking(true);
    fondo_ = new QSvgRenderer(QStringLiteral(":/launcher/barra.svg"), this);
    CrearControles();
    CrearMenu();
    Gestos = new comun::GestosBandeja(this);
    connect(Gestos, &comun::GestosBandeja::menuPedido, this, &FrmMain::Icono_Menu);
    connect(Gestos, &comun::GestosBandeja::cierrePedido, this, &FrmMain::Icono_Cerrar);
}

FrmMain::~FrmMain() = default;

void FrmMain::CrearControles() {
    const QCursor mano = CursorMano();
    // Highlights lie under the button areas and let the pointer through to them.
    for (int i = 0; i < 9; ++i) {
        ImgSel[i] = new ImagenSvg(QStringLiteral(":/launcher/sel_%1.svg").arg(i), this);
        ImgSel[i]->setGeometry(
            RectTwips(kResaltes[i][0], kResaltes[i][1], kResaltes[i][2], kResaltes[i][3]));
        ImgSel[i]->setAttribute(Qt::WA_TransparentForMouseEvents);
        comun::PonerNombreAccesible(ImgSel[i], QStringLiteral("Resalte: ") + NombreBoton(i));
        ImgSel[i]->hide();
    }
    for (int i = 0; i < 9; ++i) {
        ImgMenu[i] = new ImagenSvg(QString(), this);
        // Pressed by a screen reader: the pointer comes onto the button and clicks.
        comun::PonerBotonAccesible(ImgMenu[i], NombreBoton(i), TablaBarra()[i].leyenda, [this, i] {
            ImgMenu_MouseMove(i);
            Launch(i);
        });
        ImgMenu[i]->setGeometry(RectTwips(kZonas[i][0], kZonas[i][1], kZonas[i][2], kZonas[i][3]));
        ImgMenu[i]->setCursor(mano);
        connect(ImgMenu[i], &ImagenSvg::movido, this, [this, i] { ImgMenu_MouseMove(i); });
        connect(ImgMenu[i], &ImagenSvg::clic, this, [this, i] { Launch(i); });
        connect(ImgMenu[i], &ImagenSvg::dobleClic, this, [this, i] { Locate(i); });
    }

    LblDetalles = new QLabel(kLeyendaInicial, this);
    LblDetalles->setGeometry(RectTwips(580, 630, 3855, 195));
    PonerColor(LblDetalles, kBlanco);
    LblDetalles->setMouseTracking(true);
    LblDetalles->installEventFilter(this);

    LblAyuda = new QLabel(QStringLiteral("?"), this);
    LblAyuda->setGeometry(RectTwips(4380, 630, 120, 195));
    PonerColor(LblAyuda, kAmarillo);
    LblAyuda->setCursor(mano);
    LblAyuda->setMouseTracking(true);
    LblAyuda->installEventFilter(this);
    comun::PonerBotonAccesible(LblAyuda, QStringLiteral("Mostrar AYUDA"),
                               QStringLiteral("Abre la ayuda de la barra."), [this] {
                                   LblAyuda_MouseMove();
                                   LblAyuda_Click();
                               });

    // The menu's pictures are drawn when the menu first opens (IconoSvg is lazy).
    for (int i = 0; i < 14; ++i) {
        if (i == 2 || i == 3 || i == 12)
            continue; // the check-mark item and the separators carry no picture
        ImgIco[i] =
            IconoSvg(QStringLiteral(":/launcher/menu_%1.svg").arg(i, 2, 10, QLatin1Char('0')),
                     QSize(13, 13));
    }

    TmrApagar = new QTimer(this);
    TmrApagar->setInterval(10000);
    connect(TmrApagar, &QTimer::timeout, this, [this] { TmrApagar_Timer(); });
}

namespace {
QFont LetraLeyendas(const QFont& base, int tamano) {
    QFont letra = base;
    letra.setStretch(QFont::SemiCondensed);
    letra.setPixelSize(tamano);
    return letra;
}
} // namespace

int TamanoLeyendas(const QFont& base) {
    // Font metrics may be taken on any thread; the sizes found are kept per font.
    static QMutex cerrojo;
    static QHash<QString, int> medidos;
    const QMutexLocker bloqueo(&cerrojo);
    const QString clave = base.key();
    if (const auto hallado = medidos.constFind(clave); hallado != medidos.constEnd())
        return *hallado;
    // The longest caption must end before the "?" whatever fonts the desktop has.
    const int ancho = Px(4380) - Px(580) - 3;
    int tamano = 11;
    for (; tamano > 8; --tamano) {
        if (QFontMetrics(LetraLeyendas(base, tamano)).horizontalAdvance(FrmMain::kLeyendaInicial) <=
            ancho)
            break;
    }
    medidos.insert(clave, tamano);
    return tamano;
}

void FrmMain::PonerLetras() {
    QFont letra = LetraLeyendas(font(), TamanoLeyendas(font()));
    LblDetalles->setFont(letra);
    letra.setBold(true);
    LblAyuda->setFont(letra);
}

void FrmMain::CrearMenu() {
    mnuMenu = new QMenu(QStringLiteral("Menu"), this);
    mnuAyuda =
        mnuMenu->addAction(QStringLiteral("Mostrar AYUDA"), this, [this] { LblAyuda_Click(); });
    mnuMostrar = mnuMenu->addAction(QStringLiteral("Mostrar programa"), this, [this] {
        // A bar that is already shown but lies under other windows comes to the front.
        show();
        raise();
        activateWindow();
    });
    mnuOcultar = mnuMenu->addAction(QStringLiteral("Ocultar al inicio"));
    // The mark only takes effect at the next start.
    mnuOcultar->setCheckable(true);
    mnuMenu->addSeparator();
    for (int i = 0; i < 8; ++i)
        mnuBrivolar[i] =
            mnuMenu->addAction(TablaBarra()[i].tituloMenu, this, [this, i] { Launch(i); });
    mnuMenu->addSeparator();
    mnuSalir = mnuMenu->addAction(QStringLiteral("SALIR"), this, [this] { close(); });
}

bool FrmMain::Cargar() {
    if (guardia_.Pasar(entorno_, QStringLiteral("Brivolar.exe"), true) !=
        comun::GuardiaInicio::Resultado::Continuar)
        return false;
    RutaPrograma = comun::ObtenerRutaPrograma(entorno_.carpeta);
    RutaIni = RutaPrograma + QStringLiteral("Vemora.INI");
    Ini.RutaIni = RutaIni;

    // A value that is not a whole number gives the key's default, and a place off
    // every screen gives the default place.
    const comun::FotoIni ajustes(RutaIni);
    const qint16 izda =
        ajustes.LeerIniEntero(kSeccionPosicion, QStringLiteral("BrIzda"), kIzdaPorDefecto);
    const qint16 arriba =
        ajustes.LeerIniEntero(kSeccionPosicion, QStringLiteral("BrArriba"), kArribaPorDefecto);
    move(comun::PosicionVisible(QPoint(Px(izda), Px(arriba)), size(),
                                QPoint(Px(kIzdaPorDefecto), Px(kArribaPorDefecto))));

    mnuOcultar->setChecked(ajustes.LeerIniEntero(kSeccionProgramas, QStringLiteral("Ocultar"), 0) !=
                           0);

    Region = CrearRegion(1.0f, 1.0f, 0, 0);
    setMask(Region);
    // As late as it can be: the first text measured may wait for the list of fonts
    // that start-up fills on another core (Letras.h).
    PonerLetras();

    // Without a notification area a hidden bar could never be called back. (Whether
    // there is one is only asked here when it decides: a shown bar asks after its
    // first paint.)
    if (mnuOcultar->isChecked() && HayBandeja()) {
        CrearIcono(); // the icon is all the user gets: at once
    } else {
        show();
        // Nobody can reach the icon in the bar's first milliseconds: it comes right
        // after the first paint instead of before it.
        QTimer::singleShot(0, this, [this] { TerminarArranque(); });
    }

    const auto acciones = mnuMenu->actions();
    for (int posicion = 0; posicion < 14 && posicion < acciones.size(); ++posicion) {
        if (!ImgIco[posicion].isNull())
            acciones[posicion]->setIcon(ImgIco[posicion]);
    }
    TmrApagar->start();
    return true;
}

bool FrmMain::HayBandeja() {
    if (!bandeja_)
        bandeja_ = entorno_.escritorio->HayBandeja();
    return *bandeja_;
}

void FrmMain::TerminarArranque() {
    if (!descargado_ && HayBandeja() && !Icono)
        CrearIcono();
}

void FrmMain::CrearIcono() {
    const QString leyenda = QStringLiteral("Brivolar programas");
    Icono = new comun::IconoBandeja(
        {windowIcon(), QStringLiteral("vemora-brivolar"), leyenda, leyenda, mnuMenu}, Gestos,
        entorno_.escritorio->HayAreaSni(), this);
    Icono->Mostrar();
}

void FrmMain::Launch(int index) {
    if (index < 0 || index >= TablaBarra().size())
        return;
    const FilaPrograma& fila = TablaBarra()[index];
    if (fila.tipo == TipoFila::Ocultar) {
        // Hidden only while the tray icon can bring it back.
        if (HayBandeja())
            hide();
        return;
    }
    lanzador.Lanzar(fila, this);
}

void FrmMain::Locate(int index) {
    if (index < 0 || index >= TablaBarra().size())
        return;
    lanzador.Localizar(TablaBarra()[index], this);
}

// ---- Hover feedback -------------------------------------------------------------------

void FrmMain::ImgMenu_MouseMove(int index) {
    TmrApagar->start();
    if (ImgSel[Actual]->isVisible())
        ImgSel[Actual]->hide();
    ImgSel[index]->show();
    Actual = index;
    LblDetalles->setText(TablaBarra()[index].leyenda);
}

void FrmMain::Form_MouseMove() {
    LblDetalles_MouseMove();
    if (LblAyuda->font().underline())
        PonerAyudaResaltada(false);
}

void FrmMain::LblDetalles_MouseMove() {
    if (ImgSel[Actual]->isVisible())
        ImgSel[Actual]->hide();
    if (!LblDetalles->text().startsWith(QStringLiteral("Clic")))
        LblDetalles->setText(kLeyendaInicial);
}

void FrmMain::LblAyuda_MouseMove() {
    if (!LblDetalles->text().startsWith(QStringLiteral("Mos")))
        LblDetalles->setText(QStringLiteral("MOSTRAR AYUDA..."));
    if (!LblAyuda->font().underline())
        PonerAyudaResaltada(true);
    TmrApagar->start();
}

void FrmMain::PonerAyudaResaltada(bool resaltada) {
    QFont letra = LblAyuda->font();
    letra.setUnderline(resaltada);
    LblAyuda->setFont(letra);
    PonerColor(LblAyuda, resaltada ? kCian : kAmarillo);
}

void FrmMain::TmrApagar_Timer() {
    Form_MouseMove();
    TmrApagar->stop();
}

void FrmMain::LblAyuda_Click() {
    comun::AbrirAyuda(entorno_, QStringLiteral("Ayuda/Brivolar.htm"));
}

// ---- Tray icon ------------------------------------------------------------------------

void FrmMain::Icono_Menu(const QPoint& donde, bool enPanel) {
    comun::AbrirMenuBandeja(mnuMenu, donde, enPanel);
}

void FrmMain::Icono_Cerrar() {
    close();
}

// ---- Window events --------------------------------------------------------------------

void FrmMain::paintEvent(QPaintEvent*) {
    QPainter pintor(this);
    pintor.setRenderHint(QPainter::Antialiasing);
    pintor.fillRect(rect(), QColor(0x10, 0x1c, 0x2e));
    fondo_->render(&pintor, QRectF(0, 0, 360, 57));
}

void FrmMain::mousePressEvent(QMouseEvent* e) {
    if (childAt(e->position().toPoint()))
        return;
    // Without a notification area the menu is reached from the bar itself, on the
    // release (mouseReleaseEvent).
    if (!HayBandeja() && e->button() == Qt::RightButton)
        return;
    // The window system moves the window like a title bar; where it cannot (no window
    // manager that offers it), the bar follows the pointer itself.
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    agarre_ = e->globalPosition().toPoint() - pos();
}

void FrmMain::mouseMoveEvent(QMouseEvent* e) {
    if (agarre_ && e->buttons() != Qt::NoButton) {
        move(e->globalPosition().toPoint() - *agarre_);
        return;
    }
    if (!childAt(e->position().toPoint()))
        Form_MouseMove();
}

void FrmMain::mouseReleaseEvent(QMouseEvent* e) {
    agarre_.reset();
    // Opened while the button was still down, the menu would take its release as the
    // choice of the item under the pointer.
    if (!HayBandeja() && e->button() == Qt::RightButton && !childAt(e->position().toPoint()))
        mnuMenu->popup(e->globalPosition().toPoint());
}

bool FrmMain::eventFilter(QObject* objeto, QEvent* evento) {
    const bool esAyuda = objeto == LblAyuda;
    if (objeto != LblAyuda && objeto != LblDetalles)
        return QWidget::eventFilter(objeto, evento);
    switch (evento->type()) {
    case QEvent::MouseMove:
        esAyuda ? LblAyuda_MouseMove() : LblDetalles_MouseMove();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return true; // a label is not the background: no drag
    case QEvent::MouseButtonRelease: {
        const auto* raton = static_cast<QMouseEvent*>(evento);
        if (esAyuda && raton->button() == Qt::LeftButton &&
            LblAyuda->rect().contains(raton->position().toPoint()))
            LblAyuda_Click();
        return true;
    }
    default:
        return QWidget::eventFilter(objeto, evento);
    }
}

void FrmMain::closeEvent(QCloseEvent* e) {
    Form_Unload();
    e->accept();
}

void FrmMain::Form_Unload() {
    if (descargado_)
        return;
    descargado_ = true;
    // A settings file that cannot be written (marked read-only, or not a file at all)
    // keeps what it holds; the place and start mode are simply not remembered.
    GuardarAjustes();
    if (Icono) {
        Icono->Quitar();
        delete Icono;
        Icono = nullptr;
    }
    // The program ends after the shut-down has saved the settings.
    entorno_.escritorio->Terminar();
}

void FrmMain::GuardarAjustes() {
    Ini.EscribirIni(kSeccionPosicion, QStringLiteral("BrIzda"), QString::number(comun::Twips(x())));
    Ini.EscribirIni(kSeccionPosicion, QStringLiteral("BrArriba"),
                    QString::number(comun::Twips(y())));
    Ini.EscribirIniConBuffer(kSeccionProgramas, QStringLiteral("Ocultar"),
                             mnuOcultar->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace launcher
