#include "FrmMain.h"

#include "FrmCalendario.h"

#include "Texto.h"
#include "Twips.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCollator>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QWindowStateChangeEvent>
#include <algorithm>
#include <numeric>

namespace diary {

using comun::Px;
using comun::RectTwips;
using comun::Twips;

namespace {

const QString kSeccionPosicion = QStringLiteral("Posicion");
const QString kCaption = QStringLiteral("Tareas a recordar...");
const QString kTotales = QStringLiteral("Tareas totales:\r");
const QString kCrlf = QStringLiteral("\r\n");
const QString kCabecera = QStringLiteral("* Fecha - Referencia\r\n* Descripción\r\n\r\n");
// Under the background picture, and in its place should it be missing.
const QColor kColorFondo(64, 64, 72);

// Hot zones and their highlights (twips, relative to their container).
struct Zona {
    int izda, arriba, ancho, alto;
};
constexpr std::array<Zona, 11> kZonas{{{240, 1800, 435, 555},
                                       {720, 1360, 435, 555},
                                       {1320, 1320, 435, 435},
                                       {1920, 1320, 435, 435},
                                       {2400, 1440, 435, 435},
                                       {5520, 80, 315, 315},
                                       {50, 740, 405, 255},
                                       {720, 720, 525, 255},
                                       {2760, 1040, 375, 360},
                                       {180, 80, 570, 540},
                                       {1000, 120, 530, 500}}};
constexpr std::array<Zona, 11> kSel{{{210, 1780, 525, 615},
                                     {690, 1340, 525, 690},
                                     {1265, 1245, 570, 555},
                                     {1830, 1240, 540, 555},
                                     {2320, 1360, 540, 555},
                                     {5490, 60, 345, 360},
                                     {30, 700, 465, 330},
                                     {680, 700, 600, 315},
                                     {2720, 980, 495, 480},
                                     {140, 30, 660, 630},
                                     {960, 80, 630, 585}}};

QRect Rect(const Zona& z) {
    return RectTwips(z.izda, z.arriba, z.ancho, z.alto);
}

QString Lineas(std::initializer_list<const char*> lineas) {
    QStringList l;
    for (const char* s : lineas)
        l << QString::fromUtf8(s);
    return l.join(QLatin1Char('\r'));
}

QFont Fuente(qreal puntos, bool negrita) {
    QFont f = QApplication::font();
    // The narrow sans faces of the desktop the diary was drawn for, else a condensed one.
    f.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                   QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans")});
    f.setPointSizeF(puntos);
    f.setBold(negrita);
    return f;
}

// A label that grows with its text, centred on a point of its container.
void Centrar(QWidget* etiqueta, int centroX, int centroY) {
    etiqueta->adjustSize();
    etiqueta->move(centroX - etiqueta->width() / 2, centroY - etiqueta->height() / 2);
}

} // namespace

void OrdenarLineas(QStringList& lineas) {
    QCollator colacion{QLocale()};
    colacion.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> claves;
    claves.reserve(size_t(lineas.size()));
    for (const QString& l : std::as_const(lineas))
        claves.push_back(colacion.sortKey(l));
    std::vector<int> orden(size_t(lineas.size()));
    std::iota(orden.begin(), orden.end(), 0);
    std::stable_sort(orden.begin(), orden.end(), [&](int a, int b) {
        return claves[size_t(a)].compare(claves[size_t(b)]) < 0;
    });
    QStringList ordenadas;
    ordenadas.reserve(lineas.size());
    for (int i : orden)
        ordenadas << lineas[i];
    lineas = std::move(ordenadas);
}

FrmMain::FrmMain(comun::Entorno entorno, QWidget* padre)
    : QWidget(padre, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint),
      entorno_(std::move(entorno)) {
    setWindowTitle(kCaption);
    setFixedSize(comun::TamTwips(6000, 5595));
    // The background is the largest picture of the window: it is rendered on a second
    // thread while the controls are built, and the first paint collects it.
    IniciarArte();
    fondoPendiente_ =
        std::async(std::launch::async, [tamano = size(), proporcion = devicePixelRatioF()] {
            return PintarArteOpaco(QStringLiteral("fondo.svg"), tamano, proporcion, kColorFondo);
        });
    setMouseTracking(true);
    setWindowIcon(IconoDiario());
    CrearControles();
    // Alt+F4 closes the window where no window manager does it for the program.
    auto* cerrar = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), this);
    connect(cerrar, &QShortcut::activated, this, &QWidget::close);

    TmrGuardar.setInterval(400);
    TmrError.setInterval(5000);
    TmrError.setSingleShot(true);
    connect(&TmrGuardar, &QTimer::timeout, this, &FrmMain::TmrGuardar_Timer);
    connect(&TmrError, &QTimer::timeout, this, &FrmMain::TmrError_Timer);
}

FrmMain::~FrmMain() {
    if (calendario_)
        calendario_->Cerrar();
}

void FrmMain::CrearControles() {
    const QCursor mano = CursorMano();
    const auto crearSel = [&](int i, QWidget* contenedor) {
        ImgSel[i] = new ImagenSvg(QStringLiteral("sel%1.svg").arg(i), contenedor);
        ImgSel[i]->setGeometry(Rect(kSel[i]));
        ImgSel[i]->setAttribute(Qt::WA_TransparentForMouseEvents);
        ImgSel[i]->hide();
    };
    const auto crearZona = [&](int i, QWidget* contenedor) {
        auto* zona = new QWidget(contenedor);
        zona->setObjectName(QStringLiteral("ImgMenu%1").arg(i));
        zona->setGeometry(Rect(kZonas[i]));
        zona->setCursor(mano);
        zona->setMouseTracking(true);
        zona->setProperty("indice", i);
        zona->installEventFilter(this);
        ImgMenu[i] = zona;
    };
    const auto imagen = [&](const QString& archivo, QRect rect, QWidget* contenedor) {
        auto* img = new ImagenSvg(archivo, contenedor);
        img->setGeometry(rect);
        return img;
    };

    for (int i : {0, 1, 2, 3, 4, 5, 8})
        crearSel(i, this);

    ListTareas = new QListWidget(this);
    ListTareas->setObjectName(QStringLiteral("ListTareas"));
    ListTareas->setGeometry(RectTwips(3440, 1085, 2170, 1500));
    ListTareas->setUniformItemSizes(true);
    ListTareas->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListTareas->setFont(Fuente(9.75, false));
    ListTareas->setStyleSheet(QStringLiteral(
        "QListWidget { background: black; color: rgb(255,255,128); border: 1px solid #555; }"
        "QListWidget::item:selected { background: rgb(0,0,128); color: white; }"));
    ListTareas->installEventFilter(this);
    // Moving over the list is not moving over the bare background.
    ListTareas->setAttribute(Qt::WA_NoMousePropagation);
    ListTareas->viewport()->setAttribute(Qt::WA_NoMousePropagation);
    connect(ListTareas, &QListWidget::currentRowChanged, this, [this] { ListTareas_Click(); });

    const auto etiqueta = [&](QColor color, qreal puntos) {
        auto* e = new comun::Etiqueta(this);
        e->setFont(Fuente(puntos, true));
        e->setAlignment(Qt::AlignCenter);
        QPalette p = e->palette();
        p.setColor(QPalette::WindowText, color);
        e->setPalette(p);
        e->setAttribute(Qt::WA_TransparentForMouseEvents);
        return e;
    };
    LblFecha = etiqueta(Qt::white, 9.75);
    LblInfo = etiqueta(Qt::white, 9.75);
    LblProceso = etiqueta(QColor(255, 255, 0), 9.75);
    LblProceso->hide();

    TextBox1 = new QPlainTextEdit(this);
    TextBox1->setObjectName(QStringLiteral("TextBox1"));
    TextBox1->setGeometry(RectTwips(320, 3520, 5350, 1050));
    TextBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TextBox2 = new QLineEdit(this);
    TextBox2->setObjectName(QStringLiteral("TextBox2"));
    TextBox2->setGeometry(RectTwips(240, 5080, 5475, 330));
    for (QWidget* caja : {static_cast<QWidget*>(TextBox1), static_cast<QWidget*>(TextBox2)}) {
        caja->setFont(Fuente(8.25, true));
        caja->setStyleSheet(QStringLiteral("color: black; background: white;"));
        caja->installEventFilter(this);
    }
    TextBox1->viewport()->installEventFilter(this);
    TextBox1->viewport()->setMouseTracking(true);
    TextBox2->setMouseTracking(true);
    connect(TextBox1, &QPlainTextEdit::textChanged, this, [this] {
        if (!poniendoTexto_)
            TextBox_KeyPress(1); // a change made by the user (paste, cut, Delete) is pending work
    });
    connect(TextBox2, &QLineEdit::textEdited, this, [this] { TextBox_KeyPress(2); });
    connect(TextBox2, &QLineEdit::textChanged, this, [this] { TextBox_Change(2); });

    for (int i : {0, 1, 2, 3, 4, 5, 8})
        crearZona(i, this);

    ImgX = imagen(QStringLiteral("imgx.svg"), RectTwips(1280, 1240, 540, 570), this);
    ImgX->setMouseTracking(true);
    ImgX->installEventFilter(this);
    ImgGuardar = imagen(QStringLiteral("guardar.svg"), QRect(116, 116, 24, 24), this);
    ImgCancelar = imagen(QStringLiteral("cancelar.svg"), QRect(46, 130, 24, 24), this);
    ImgYaExiste = imagen(QStringLiteral("yaexiste.svg"), QRect(Px(1380), Px(2020), 110, 60), this);
    for (QWidget* w : {static_cast<QWidget*>(ImgGuardar), static_cast<QWidget*>(ImgCancelar),
                       static_cast<QWidget*>(ImgYaExiste)}) {
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
        w->hide();
    }

    PicCopiar = imagen(QStringLiteral("copiar.svg"), RectTwips(2080, 360, 1695, 690), this);
    PicCopiar->setMouseTracking(true);
    PicCopiar->installEventFilter(this);
    crearSel(9, PicCopiar);
    crearSel(10, PicCopiar);
    crearZona(9, PicCopiar);
    crearZona(10, PicCopiar);
    PicCopiar->hide();

    PicConfirma = imagen(QStringLiteral("confirma.svg"), RectTwips(1240, 2010, 1845, 1065), this);
    PicConfirma->setFocusPolicy(Qt::StrongFocus);
    PicConfirma->setMouseTracking(true);
    PicConfirma->installEventFilter(this);
    crearSel(6, PicConfirma);
    crearSel(7, PicConfirma);
    crearZona(6, PicConfirma);
    crearZona(7, PicConfirma);
    PicConfirma->hide();

    PicAyuda = new QWidget(this);
    PicAyuda->setAttribute(Qt::WA_TransparentForMouseEvents);
    PicAyuda->setAutoFillBackground(true);
    QPalette azul = PicAyuda->palette();
    azul.setColor(QPalette::Window, QColor(0, 0, 64));
    azul.setColor(QPalette::WindowText, QColor(255, 255, 0));
    PicAyuda->setPalette(azul);
    LblAyuda = new comun::Etiqueta(PicAyuda);
    LblAyuda->setFont(Fuente(8.25, true));
    LblAyuda->setPalette(azul);
    LblAyuda->setAutoFillBackground(true);
    LblAyuda->setMargin(2);
    PicAyuda->hide();

    PonerInfo(kTotales + QLatin1Char('0'));
}

// ---- Start-up, activation and shut-down -----------------------------------------------

bool FrmMain::Form_Load() {
    if (guardia_.Pasar(entorno_, QStringLiteral("Rendalio.exe"), true) !=
        comun::GuardiaInicio::Resultado::Continuar)
        return false;
    rutas_ = comun::ObtenerRutas(entorno_.carpeta);
    ini_.RutaIni = rutas_.RutaIni;

    setWindowTitle(kCaption + QStringLiteral(" Hoy es: ") +
                   QLocale().toString(entorno_.reloj->Hoy(), QLocale::ShortFormat));

    const int izda = ini_.LeerIniEntero(kSeccionPosicion, QStringLiteral("ReIzda"), 330);
    const int arriba = ini_.LeerIniEntero(kSeccionPosicion, QStringLiteral("ReArriba"), 330);
    move(comun::PosicionVisible(QPoint(Px(izda), Px(arriba)), size(), QPoint(Px(330), Px(330))));

    const QString ruta = rutas_.RutaPrograma + AlmacenTareas::NombreArchivo();
    // A file of zero bytes holds no task: it is made into the store like a missing one.
    if (!QFileInfo::exists(ruta) || AlmacenTareas::ArchivoVacio(ruta)) {
        if (const auto error = AlmacenTareas::CrearAlmacen(ruta)) {
            entorno_.dialogos->Critico(QStringLiteral("Error..."),
                                       QStringLiteral("Ha ocurrido el error número %1.\r\n%2")
                                           .arg(error->numero)
                                           .arg(error->descripcion));
            return false;
        }
    }
    if (const auto error = almacen_.AbrirAlmacen(ruta)) {
        // Working on without the tasks would lose them; the file stays as it is.
        entorno_.dialogos->Critico(
            QStringLiteral("Error..."),
            QStringLiteral("No se puede abrir el archivo de tareas\r%1\r%2\rEl programa se "
                           "cerrará sin modificar el archivo.")
                .arg(QDir::toNativeSeparators(ruta), error->descripcion));
        return false;
    }

    ConSonido =
        ini_.LeerIni(QStringLiteral("Opciones"), QStringLiteral("Sonido"), QStringLiteral("1"))
            .startsWith(QLatin1Char('1'));
    PrimeraActivacion = true;
    LlenarLista();

    // The calendar opens on today's date, which becomes the diary's current date; the
    // window itself is built and shown as soon as the diary has painted once
    // (MostrarCalendario), so that its construction does not hold back the diary.
    estado_.FechaActual = FechaDiario::DeFecha(entorno_.reloj->Hoy());
    cargado_ = true;
    return true;
}

void FrmMain::CrearCalendario() {
    if (calendario_)
        return;
    calendario_ = std::make_unique<FrmCalendario>(entorno_, ini_, estado_, *this);
    calendario_->Form_Load();
}

void FrmMain::MostrarCalendario() {
    if (!cargado_ || descargado_ || (calendario_ && calendario_->isVisible()))
        return;
    CrearCalendario();
    if (isMinimized())
        calendario_->showMinimized();
    else
        calendario_->show();
    // A task shown before the calendar existed is followed now, as it would have been.
    if (estado_.SeguirTarea && isActiveWindow())
        calendario_->RecibirFoco();
}

void FrmMain::Form_Activate() {
    if (!cargado_ || !PicConfirma->isHidden())
        return;
    const QString texto = estado_.FechaActual.Texto();
    if (LblFecha->Caption() == texto) {
        ListTareas->setFocus();
        PrimeraActivacion = false;
        return;
    }
    PonerFecha(texto);
    if (Editando())
        return;
    for (int i = 0; i < ListTareas->count(); ++i) {
        if (ListTareas->item(i)->text().startsWith(texto)) {
            SeleccionarLinea(i);
            PrimeraActivacion = false;
            return;
        }
    }
    if (PrimeraActivacion) {
        PrimeraActivacion = false;
        if (ListTareas->count() > 0) {
            ListTareas->blockSignals(true);
            ListTareas->setCurrentRow(0);
            ListTareas->blockSignals(false);
        }
        ListTareas_Click();
    } else {
        ImgMenu_Click(1);
    }
}

void FrmMain::Mostrar() {
    show();
    raise();
    activateWindow();
    // The first activation chooses the task to show; a desktop that does not hand the
    // focus to a new window must not leave the diary without it.
    if (!isActiveWindow())
        Form_Activate();
}

void FrmMain::RecibirFoco() {
    if (isActiveWindow()) {
        Form_Activate();
        return;
    }
    activateWindow();
    raise();
}

void FrmMain::Form_Unload() {
    if (!cargado_ || descargado_)
        return;
    descargado_ = true;
    ini_.EscribirIni(kSeccionPosicion, QStringLiteral("ReIzda"), QString::number(Twips(x())));
    ini_.EscribirIni(kSeccionPosicion, QStringLiteral("ReArriba"), QString::number(Twips(y())));
    CrearCalendario(); // closed before the first paint: the stored place goes back
    const QRect cal = calendario_->GeometriaTwips();
    ini_.EscribirIni(kSeccionPosicion, QStringLiteral("CaIzda"), QString::number(cal.x()));
    ini_.EscribirIni(kSeccionPosicion, QStringLiteral("CaArriba"), QString::number(cal.y()));
    ini_.EscribirIni(kSeccionPosicion, QStringLiteral("CaAncho"), QString::number(cal.width()));
    ini_.EscribirIni(kSeccionPosicion, QStringLiteral("CaAlto"), QString::number(cal.height()));
    almacen_.CerrarAlmacen();
    TmrGuardar.stop();
    TmrError.stop();
    calendario_->Cerrar();
}

void FrmMain::closeEvent(QCloseEvent* evento) {
    Form_Unload();
    evento->accept();
}

void FrmMain::changeEvent(QEvent* evento) {
    QWidget::changeEvent(evento);
    if (evento->type() == QEvent::ActivationChange && isActiveWindow()) {
        Form_Activate();
    } else if (evento->type() == QEvent::WindowStateChange && calendario_ && !descargado_) {
        // The calendar follows the diary into and out of the task bar.
        if (isMinimized())
            calendario_->showMinimized();
        else if (calendario_->isMinimized())
            calendario_->showNormal();
    }
}

void FrmMain::paintEvent(QPaintEvent*) {
    if (!calendario_ && cargado_ && !calendarioPedido_) {
        // The calendar is built once this first picture has reached the screen: a
        // zero-time timer runs after the paint has been handed to the window system,
        // and the synchronisation there waits until the window system has it.
        calendarioPedido_ = true;
        QTimer::singleShot(0, this, [this] {
            QGuiApplication::sync();
            MostrarCalendario();
        });
    }
    const qreal proporcion = devicePixelRatioF();
    if (fondoPendiente_.valid()) {
        QImage imagen = fondoPendiente_.get();
        if (!imagen.isNull())
            fondo_ = QPixmap::fromImage(std::move(imagen));
    }
    // A screen of another pixel ratio (the window moved) gets its own rendering.
    if (fondo_.isNull() || !qFuzzyCompare(fondo_.devicePixelRatio(), proporcion))
        fondo_ = QPixmap::fromImage(
            PintarArteOpaco(QStringLiteral("fondo.svg"), size(), proporcion, kColorFondo));
    QPainter pintor(this);
    if (fondo_.isNull())
        pintor.fillRect(rect(), kColorFondo);
    else
        pintor.drawPixmap(0, 0, fondo_);
}

// ---- Task list and saving -------------------------------------------------------------

QString FrmMain::TextoCuenta() const {
    return kTotales + QString::number(NumTareas);
}

void FrmMain::PonerInfo(const QString& caption) {
    LblInfo->PonerCaption(caption);
    Centrar(LblInfo, 137, 165); // on the grey oval of the background
}

void FrmMain::PonerFecha(const QString& caption) {
    LblFecha->PonerCaption(caption);
    Centrar(LblFecha, 342, 198); // on the date plate, growing with longer date formats
}

void FrmMain::PonerTextos(const QString& descripcion, const QString& referencia) {
    poniendoTexto_ = true;
    TextBox1->setPlainText(descripcion);
    TextBox2->setText(referencia);
    poniendoTexto_ = false;
}

QString FrmMain::TextoCaja(int Index) const {
    return Index == 1 ? TextBox1->toPlainText() : TextBox2->text();
}

void FrmMain::Sonar(const QString& archivo) {
    if (ConSonido)
        comun::ReproducirSonido(entorno_, rutas_.RutaPrograma + archivo);
}

void FrmMain::LlenarLista() {
    // The table is read before the list is touched: a file that cannot be read at this
    // moment (another program holds it) must not pass for an empty table.
    const qint32 cuenta = almacen_.Contar();
    QStringList lineas;
    if (cuenta > 0) {
        const QVector<Tarea> tareas = almacen_.Enumerar();
        lineas.reserve(tareas.size());
        for (const Tarea& t : tareas)
            lineas << t.Linea();
    }
    if (AvisarFalloLectura())
        return; // the list stays as it was
    ListTareas->blockSignals(true);
    ListTareas->clear();
    NumTareas = 0;
    PonerInfo(TextoCuenta());
    NumTareas = cuenta;
    PonerInfo(TextoCuenta());
    if (NumTareas > 0) {
        OrdenarLineas(lineas);
        ListTareas->addItems(lineas);
    }
    ListTareas->blockSignals(false);
    if (NumTareas != 0) {
        SeleccionarLinea(0);
    } else {
        PonerTextos(QString(), QString());
        PonerFecha(estado_.FechaActual.Texto());
    }
}

void FrmMain::SeleccionarLinea(int fila) {
    ListTareas->blockSignals(true);
    ListTareas->setCurrentRow(fila);
    ListTareas->blockSignals(false);
    ListTareas_Click();
}

void FrmMain::ListTareas_Click() {
    ActualizarBotones();
    if (almacen_.Contar() == 0) {
        AvisarFalloLectura();
        return;
    }
    const QListWidgetItem* item = ListTareas->currentItem();
    if (!item)
        return;
    const auto tarea = almacen_.BuscarPorLinea(item->text());
    if (!tarea) {
        AvisarFalloLectura();
        return;
    }
    IndiceActual = tarea->Indice;
    PonerFecha(tarea->Fecha);
    PonerTextos(tarea->Descripcion, tarea->Tarea);
    estado_.SeguirTarea = true;
    estado_.FechaActual = FechaDiario::DeTexto(LblFecha->Caption());
    if (calendario_ && calendario_->isVisible())
        calendario_->RecibirFoco();
}

void FrmMain::MostrarDuplicado() {
    ImgYaExiste->show();
    ImgYaExiste->raise();
    if (TmrError.interval() != 5000)
        TmrError.setInterval(5000);
    TmrError.start();
    TmrGuardar.stop();
    ImgGuardar->hide();
    ImgCancelar->hide();
    LblInfo->hide();
    Sonar(QStringLiteral("Error.wav"));
}

void FrmMain::AvisarFalloEscritura(const QString& accion, const ErrorAlmacen& error) {
    entorno_.dialogos->Critico(
        QStringLiteral("Error..."),
        QStringLiteral("No se ha podido %1 en el archivo de tareas\r%2\r%3")
            .arg(accion,
                 QDir::toNativeSeparators(rutas_.RutaPrograma + AlmacenTareas::NombreArchivo()),
                 error.descripcion));
}

bool FrmMain::AvisarFalloLectura() {
    const auto error = almacen_.TomarErrorLectura();
    if (!error)
        return false;
    entorno_.dialogos->Critico(
        QStringLiteral("Error..."),
        QStringLiteral("No se puede leer el archivo de tareas\r%1\r%2")
            .arg(QDir::toNativeSeparators(rutas_.RutaPrograma + AlmacenTareas::NombreArchivo()),
                 error->descripcion));
    return true;
}

void FrmMain::GuardarTarea() {
    poniendoTexto_ = true;
    if (TextBox1->toPlainText().isEmpty())
        TextBox1->setPlainText(QStringLiteral("?"));
    if (TextBox2->text().isEmpty())
        TextBox2->setText(QStringLiteral("?"));
    poniendoTexto_ = false;

    const QString fecha = LblFecha->Caption();
    if (NumTareas != 0) {
        almacen_.EditarActual(IndiceActual);
    } else {
        if (almacen_.ExisteFechaReferencia(fecha, TextBox2->text())) {
            MostrarDuplicado();
            return;
        }
        // Unable to tell whether the task exists: nothing is written and the edit goes on.
        if (const auto error = almacen_.TomarErrorLectura()) {
            AvisarFalloEscritura(
                QStringLiteral("guardar la tarea"),
                {error->numero, error->descripcion + QStringLiteral("\rLos datos escritos "
                                                                    "siguen en pantalla.")});
            return;
        }
        almacen_.Anadir();
    }
    ErrorAlmacen error;
    if (!almacen_.EscribirYConfirmar(fecha, TextBox1->toPlainText(), TextBox2->text(), &error)) {
        // Nothing was written: the typed text stays on screen and the edit goes on.
        AvisarFalloEscritura(
            QStringLiteral("guardar la tarea"),
            {error.numero, error.descripcion + QStringLiteral("\rLos datos escritos siguen en "
                                                              "pantalla.")});
        return;
    }
    Sonar(QStringLiteral("S4.wav"));
    UltimaLinea = fecha + QStringLiteral(" - ") + TextBox2->text();
    LlenarLista();
    for (int i = 0; i < ListTareas->count(); ++i) {
        if (ListTareas->item(i)->text() == UltimaLinea) {
            SeleccionarLinea(i);
            break;
        }
    }
    ActualizarBotones();
    ListTareas->setFocus();
}

void FrmMain::ActualizarBotones() {
    if (!TmrGuardar.isActive())
        return;
    TmrGuardar.stop();
    ImgGuardar->hide();
    ImgCancelar->hide();
    ImgX->show();
}

void FrmMain::TmrGuardar_Timer() {
    const bool visibles = !ImgGuardar->isHidden();
    ImgGuardar->setVisible(!visibles);
    ImgCancelar->setVisible(!visibles);
}

void FrmMain::TmrError_Timer() {
    ImgYaExiste->hide();
    if (!LblProceso->isHidden())
        LblProceso->hide();
    else
        TmrGuardar.start();
    TmrError.stop();
    LblInfo->show();
}

// ---- Commands -------------------------------------------------------------------------

void FrmMain::ImgMenu_Click(int Index) {
    const bool confirmando = !PicConfirma->isHidden();
    switch (Index) {
    case 0:
        if (!Editando() && NumTareas == 0)
            return;
        if (confirmando)
            return;
        if (!Editando()) {
            Sonar(QStringLiteral("S2.wav"));
            PicConfirma->show();
            PicConfirma->raise();
            PicConfirma->setFocus();
            ListTareas->setEnabled(false);
        } else {
            Sonar(QStringLiteral("S3.wav"));
            ActualizarBotones();
            if (ListTareas->count() == 0) {
                LlenarLista();
            } else {
                if (QListWidgetItem* item = ListTareas->currentItem())
                    item->setSelected(true);
                ListTareas_Click();
                ListTareas->setFocus();
            }
        }
        return;
    case 1:
        if (TmrError.isActive() || confirmando)
            return;
        Sonar(QStringLiteral("S3.wav"));
        ListTareas->blockSignals(true);
        ListTareas->clear();
        ListTareas->blockSignals(false);
        NumTareas = 0;
        ImgX->hide();
        TmrGuardar.start();
        poniendoTexto_ = true;
        TextBox1->clear();
        TextBox2->clear();
        poniendoTexto_ = false;
        PonerInfo(TextoCuenta());
        TextBox1->setFocus();
        return;
    case 2:
        // The crossed-out picture lies over the button while nothing is pending: a save
        // without a change is refused.
        if (!ImgX->isHidden())
            return;
        GuardarTarea();
        return;
    case 3:
    case 4: {
        if (Editando() || confirmando)
            return;
        const int i = ListTareas->currentItem() ? ListTareas->currentRow() : -1;
        if (Index == 3 && i > 0) {
            Sonar(QStringLiteral("S0.wav"));
            ListTareas->setCurrentRow(i - 1);
        } else if (Index == 4 && i < NumTareas - 1) {
            Sonar(QStringLiteral("S0.wav"));
            ListTareas->setCurrentRow(i + 1);
        }
        return;
    }
    case 5:
        Sonar(QStringLiteral("S1.wav"));
        if (ModoAyuda())
            unsetCursor();
        else
            setCursor(Qt::WhatsThisCursor);
        if (LblInfo->Caption().left(7) == QLatin1String("Mostrar"))
            comun::AbrirAyuda(entorno_, QStringLiteral("Ayuda/Rendalio.htm"));
        return;
    case 6: {
        const bool hallada = almacen_.BuscarPorIndice(IndiceActual).has_value();
        std::optional<ErrorAlmacen> error = almacen_.TomarErrorLectura();
        if (hallada)
            error = almacen_.BorrarActual();
        if (hallada && !error)
            Sonar(QStringLiteral("S7.wav"));
        PicConfirma->hide();
        ListTareas->setEnabled(true);
        if (error)
            AvisarFalloEscritura(QStringLiteral("eliminar la tarea"), *error);
        ActualizarBotones();
        LlenarLista();
        ListTareas->setFocus();
        return;
    }
    case 7:
        Sonar(QStringLiteral("S3.wav"));
        PicConfirma->hide();
        ListTareas->setEnabled(true);
        ListTareas_Click();
        ListTareas->setFocus();
        return;
    case 9:
        CopiarTarea();
        return;
    case 10:
        CopiarTodas();
        return;
    default:
        return;
    }
}

void FrmMain::TextBox_KeyPress(int) {
    if (!TmrGuardar.isActive() || NumTareas == 0) {
        ImgX->hide();
        if (!TmrGuardar.isActive())
            TmrGuardar.start();
    }
}

void FrmMain::TextBox_Change(int Index) {
    if (Index != 2 || TextBox2->text().size() <= kLargoReferencia)
        return;
    TextBox2->setText(TextBox2->text().left(kLargoReferencia));
    TextBox2->setCursorPosition(kLargoReferencia);
}

void FrmMain::TextBox_GotFocus(int Index) {
    if (Index == 1)
        TextBox1->selectAll();
    else
        TextBox2->selectAll();
}

bool FrmMain::eventFilter(QObject* objeto, QEvent* evento) {
    const QEvent::Type tipo = evento->type();
    const bool caja1 = objeto == TextBox1 || objeto == TextBox1->viewport();
    const int caja = caja1 ? 1 : (objeto == TextBox2 ? 2 : 0);

    if (const QVariant indice = objeto->property("indice"); indice.isValid()) {
        auto* zona = static_cast<QWidget*>(objeto);
        if (tipo == QEvent::MouseMove) {
            ImgMenu_MouseMove(indice.toInt(),
                              static_cast<QMouseEvent*>(evento)->position().toPoint());
            return true; // the window underneath must not take it for the background
        } else if (tipo == QEvent::MouseButtonRelease) {
            auto* raton = static_cast<QMouseEvent*>(evento);
            if (raton->button() == Qt::LeftButton &&
                zona->rect().contains(raton->position().toPoint()))
                ImgMenu_Click(indice.toInt());
            return true;
        } else if (tipo == QEvent::MouseButtonPress || tipo == QEvent::MouseButtonDblClick) {
            return true;
        }
        return false;
    }
    if (tipo == QEvent::KeyPress) {
        auto* tecla = static_cast<QKeyEvent*>(evento);
        if (objeto == ListTareas && tecla->key() == Qt::Key_Delete) {
            ImgMenu_Click(0);
            if (!PicConfirma->isHidden())
                PicConfirma->setFocus();
            return true;
        }
        if (objeto == PicConfirma) {
            if (tecla->key() == Qt::Key_S)
                ImgMenu_Click(6);
            else if (tecla->key() == Qt::Key_N)
                ImgMenu_Click(7);
            return true;
        }
        if (caja && !tecla->text().isEmpty())
            TextBox_KeyPress(caja);
        return false;
    }
    if (tipo == QEvent::MouseMove) {
        const QPoint pos = static_cast<QMouseEvent*>(evento)->position().toPoint();
        if (objeto == ImgX) {
            ImgX_MouseMove(pos);
            return true;
        }
        if (objeto == PicConfirma) {
            PicConfirma_MouseMove();
            return true;
        }
        if (objeto == PicCopiar) {
            PicCopiar_MouseMove();
            return true;
        }
        if (caja1)
            TextBox_MouseMove(1, static_cast<QWidget*>(objeto)->mapTo(TextBox1, pos));
        else if (caja == 2)
            TextBox_MouseMove(2, pos);
        return false;
    }
    if (tipo == QEvent::FocusIn && (objeto == TextBox1 || objeto == TextBox2)) {
        TextBox_GotFocus(caja);
        return false;
    }
    if (tipo == QEvent::MouseButtonDblClick && caja) {
        // A double click selects the whole text, not one word.
        TextBox_GotFocus(caja);
        return true;
    }
    return false;
}

// ---- Hover help -----------------------------------------------------------------------

bool FrmMain::ModoAyuda() const {
    return testAttribute(Qt::WA_SetCursor) && cursor().shape() == Qt::WhatsThisCursor;
}

void FrmMain::PonerCuerpo(const QString& cuerpo) {
    LblAyuda->PonerCaption(cuerpo);
    LblAyuda->adjustSize();
}

void FrmMain::MostrarAyudaEn(QPoint esquina) {
    if (PicAyuda->isHidden())
        PicAyuda->show();
    if (PicAyuda->width() != LblAyuda->width())
        PicAyuda->resize(LblAyuda->size());
    if (PicAyuda->height() != LblAyuda->height())
        PicAyuda->resize(LblAyuda->size());
    PicAyuda->move(esquina);
    PicAyuda->raise();
}

void FrmMain::ImgMenu_MouseMove(int Index, QPoint posicion) {
    if (Index < 0 || Index > 10)
        return;
    if (!ImgSel[UltimoBoton]->isHidden())
        ImgSel[UltimoBoton]->hide();
    ImgSel[Index]->show();
    UltimoBoton = Index;
    if (!PicCopiar->isHidden())
        ImgSel[8]->show();

    switch (Index) {
    case 0:
        if (Editando()) {
            PonerTitulo(QStringLiteral("CANCELAR\rOPERACION"));
            PonerCuerpo(Lineas({"No se almacenarán los nuevos datos",
                                "introducidos. Se cancelará la operación",
                                "de crear nueva tarea o modificar datos."}));
        } else {
            PonerTitulo(QStringLiteral("ELIMINAR\rTAREA"));
            PonerCuerpo(Lineas({"Elimina definitivamente la tarea seleccionada.",
                                "Solicita confirmación. Puede utilizar la tecla",
                                "«Supr» y para confirmar o no la eliminación",
                                "pulse seguidamente las teclas «S» o «N»."}));
        }
        break;
    case 1:
        PonerTitulo(QStringLiteral("CREAR NUEVA\rTAREA"));
        PonerCuerpo(Lineas(
            {"Introduzca -Referencia, Fecha y Descripción-",
             "Haga clic en «Guardar Cambios» para almacenar",
             "la nueva tarea o en la «Papelera» para",
             "cancelar. No se puede dar de alta una tarea", "con la misma fecha y referencia.",
             "Para introducir una fecha hágalo desde el", "calendario haciendo clic sobre ella."}));
        break;
    case 2:
        PonerTitulo(QStringLiteral("GUARDAR\rCAMBIOS"));
        PonerCuerpo(
            Lineas({"Almacenar los cambios realizados", "o la nueva tarea que ha creado."}));
        break;
    case 3:
        PonerTitulo(QStringLiteral("TAREA\rANTERIOR"));
        PonerCuerpo(Lineas(
            {"Puede utilizar el cursor arriba para", "desplazarse a la tarea anterior.",
             "Debe estar activa la lista de tareas.", "Para activarla haga clic sobre ella."}));
        break;
    case 4:
        PonerTitulo(QStringLiteral("TAREA\rSIGUIENTE"));
        PonerCuerpo(Lineas(
            {"Puede utilizar el cursor abajo para", "desplazarse a la tarea siguiente.",
             "Debe estar activa la lista de tareas.", "Para activarla haga clic sobre ella."}));
        break;
    case 5:
        PonerTitulo(ModoAyuda() ? QStringLiteral("Ocultar\rA Y U D A")
                                : QStringLiteral("Mostrar\rA Y U D A"));
        break;
    case 8:
        PonerTitulo(QStringLiteral("COPIAR\rTAREAS"));
        PonerCuerpo(Lineas({"Permite copiar las tareas en", "el portapapeles. Puede pegar",
                            "el contenido en cualquier", "procesador de textos para",
                            "su posterior tratamiento", "(impresión, envío por e-mail...)"}));
        break;
    case 9:
        PonerTitulo(QStringLiteral("COPIAR TAREA\rACTUAL"));
        break;
    case 10:
        PonerTitulo(QStringLiteral("COPIAR TODAS\rLAS TAREAS"));
        break;
    default:
        break;
    }

    if (Index == 8) {
        if (!ImgYaExiste->isHidden() || Editando())
            return;
        if (PicCopiar->isHidden()) {
            Sonar(QStringLiteral("S1.wav"));
            PicCopiar->show();
            PicCopiar->raise();
            PicAyuda->raise();
        }
    }
    if (ModoAyuda() && Index != 5 && Index != 6 && Index != 7 && Index != 9 && Index != 10) {
        const QPoint zona = ImgMenu[Index]->pos();
        MostrarAyudaEn(
            QPoint(zona.x() + posicion.x() + Px(200), zona.y() + posicion.y() - Px(200)));
    }
}

void FrmMain::ImgX_MouseMove(QPoint posicion) {
    if (!ModoAyuda())
        return;
    PonerCuerpo(Lineas({"«Guardar cambios» se activará cuando realice",
                        "alguna modificación en los datos o haga clic",
                        "sobre el icono «Crear nueva tarea»."}));
    MostrarAyudaEn(QPoint(ImgX->x() + posicion.x() + Px(400), ImgX->y() + posicion.y() - Px(200)));
}

void FrmMain::TextBox_MouseMove(int Index, QPoint posicion) {
    if (!ModoAyuda())
        return;
    if (Index == 1) {
        PonerCuerpo(Lineas({"Escriba aquí el contenido de", "la tarea que desea almacenar.",
                            "Hacer clic con el botón derecho", "del ratón muestra un pequeño",
                            "menú de opciones."}));
        MostrarAyudaEn(QPoint(TextBox1->x() + posicion.x() - Px(2800),
                              TextBox1->y() + posicion.y() - Px(200)));
    } else {
        PonerCuerpo(Lineas({"Pequeña descripción que se mostrará",
                            "en el cuadro Tareas junto con la fecha.",
                            "Puede introducir por ejemplo la hora a",
                            "la que tiene que realizar la tarea", "descrita en «Descripción»."}));
        MostrarAyudaEn(QPoint(TextBox2->x() + posicion.x() - Px(1800),
                              TextBox2->y() + posicion.y() - Px(1600)));
    }
}

void FrmMain::mouseMoveEvent(QMouseEvent*) {
    Form_MouseMove();
}

void FrmMain::Form_MouseMove() {
    if (!ImgSel[UltimoBoton]->isHidden())
        ImgSel[UltimoBoton]->hide();
    if (!ImgSel[8]->isHidden())
        ImgSel[8]->hide();
    if (!PicAyuda->isHidden())
        PicAyuda->hide();
    if (!PicCopiar->isHidden())
        PicCopiar->hide();
    PonerInfo(Editando() ? QStringLiteral("Crear o modif.\rtarea...") : TextoCuenta());
}

void FrmMain::PicConfirma_MouseMove() {
    if (!ImgSel[UltimoBoton]->isHidden())
        ImgSel[UltimoBoton]->hide();
}

void FrmMain::PicCopiar_MouseMove() {
    if (!ImgSel[UltimoBoton]->isHidden())
        ImgSel[UltimoBoton]->hide();
    if (!PicAyuda->isHidden())
        PicAyuda->hide();
    ImgSel[8]->show();
    PonerInfo(TextoCuenta());
}

// ---- Copies to the clipboard ----------------------------------------------------------

void FrmMain::CopiarTarea() {
    Sonar(QStringLiteral("S3.wav"));
    QClipboard* portapapeles = QGuiApplication::clipboard();
    portapapeles->clear();
    QString texto;
    if (NumTareas == 0) {
        texto = QStringLiteral("NO EXISTE NINGUNA TAREA EN LA BASE DE DATOS.");
    } else {
        texto = kCabecera + QStringLiteral("* ") + LblFecha->Caption() + QStringLiteral(" - ") +
                TextBox2->text() + kCrlf + QStringLiteral("* ") + TextBox1->toPlainText();
    }
    portapapeles->setText(texto);
}

void FrmMain::CopiarTodas() {
    // A second copy started from the events the first one lets run would interleave
    // with it.
    if (copiando_)
        return;
    Sonar(QStringLiteral("S3.wav"));
    QString texto = QStringLiteral("SE COPIARON %1 TAREAS EN TOTAL.\r\n\r\n").arg(NumTareas);
    if (ListTareas->count() == 0) {
        texto += QStringLiteral("NO EXISTEN TAREAS EN LA BASE DE DATOS.");
        QGuiApplication::clipboard()->setText(texto);
        return;
    }
    // Each line copies the first record in key order with that task line. The records
    // are read once into a table keyed by line, on a pass of their own, so the window's
    // current record stays on the task shown. A file that cannot be read now gives a
    // message, not a copy without its tasks.
    const QVector<Tarea> tareas =
        almacen_.Abierto() ? almacen_.Enumerar(true, false) : QVector<Tarea>();
    if (AvisarFalloLectura())
        return;
    copiando_ = true;
    if (TmrError.isActive())
        TmrError.stop();
    LblProceso->show();
    LblInfo->hide();
    texto += kCabecera;

    const qint32 total = NumTareas;
    QHash<QString, Tarea> porLinea;
    porLinea.reserve(tareas.size());
    for (const Tarea& t : tareas) {
        const QString linea = t.Linea();
        if (!porLinea.contains(linea)) // the first record of a line wins
            porLinea.insert(linea, t);
    }
    QStringList lineas;
    const int n = ListTareas->count();
    lineas.reserve(n);
    for (int p = 0; p < n; ++p)
        lineas << ListTareas->item(p)->text();

    const QString separador = QString(25, QLatin1Char(' ')) + QStringLiteral("--- oOo ---\r\n\r\n");
    const QString de = QStringLiteral("   de   ") + QString::number(total);
    QElapsedTimer pintado;
    pintado.start();
    LblProceso->setUpdatesEnabled(false);
    for (int p = 0; p <= n; ++p) {
        QCoreApplication::processEvents();
        if (p < n) {
            const auto it = porLinea.constFind(lineas[p]);
            if (it != porLinea.cend()) {
                texto += QStringLiteral("* ") + it->Fecha + QStringLiteral(" - ") + it->Tarea +
                         kCrlf + QStringLiteral("* ") + it->Descripcion + kCrlf + kCrlf + separador;
            }
        }
        const qsizetype largo = LblProceso->Caption().size();
        LblProceso->PonerCaption(QString::number(p) + de);
        if (LblProceso->Caption().size() != largo)
            Centrar(LblProceso, 137, 171); // only when the caption grows a digit
        // The caption is painted at most about sixty times a second; painting it for
        // every line would cost more than the copy itself.
        if (pintado.hasExpired(16) || p == n) {
            LblProceso->setUpdatesEnabled(true);
            LblProceso->repaint();
            LblProceso->setUpdatesEnabled(false);
            pintado.restart();
        }
    }
    LblProceso->setUpdatesEnabled(true);
    TmrError.setInterval(2000);
    TmrError.start();
    QGuiApplication::clipboard()->setText(texto);
    copiando_ = false;
}

} // namespace diary
