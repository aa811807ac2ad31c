#include "FrmMain.h"

#include "FrmCalendario.h"

#include "Twips.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QWindowStateChangeEvent>
#include <utility>

namespace diary {

using comun::Px;
using comun::Twips;

namespace {

const QString kSeccionPosicion = QStringLiteral("Posicion");
const QString kCaption = QStringLiteral("Tareas a recordar...");

} // namespace

FrmMain::FrmMain(comun::Entorno entorno, QWidget* padre)
    : QWidget(padre, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint),
      entorno_(std::move(entorno)) {
    setWindowTitle(kCaption);
    setFixedSize(comun::TamTwips(6000, 5595));
    // The background is the largest picture of the window: it is decoded (or, at an
    // unusual pixel ratio, drawn) on a second thread during the start-up checks and the
    // building of the controls, and the first paint collects it.
    IniciarArte();
    fondoPendiente_ =
        std::async(std::launch::async, [tamano = size(), proporcion = devicePixelRatioF()] {
            return PintarFondo(tamano, proporcion);
        });
    setMouseTracking(true);
    setWindowIcon(IconoDiario());
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

// ---- Start-up, activation and shut-down -----------------------------------------------

bool FrmMain::Form_Load() {
    if (guardia_.Pasar(entorno_, QStringLiteral("Rendalio.exe"), true) !=
        comun::GuardiaInicio::Resultado::Continuar)
        return false;
    rutas_ = comun::ObtenerRutas(entorno_.carpeta);
    ini_.RutaIni = rutas_.RutaIni;

    setWindowTitle(kCaption + QStringLiteral(" Hoy es: ") + TextoFecha(entorno_.reloj->Hoy()));

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
    // The controls come after the checks that may end the program. The first of them
    // starts the screen reader's bridge, which waits for the session bus being opened
    // on another thread (main.cpp): the checks above fill that wait.
    CrearControles();
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
    // A picked day's tasks may be stored with the date in the system's short form, as
    // stores written before hold it; such a line is the date and " - ".
    QString anterior;
    if (estado_.FechaActual.esFecha) {
        anterior = TextoFechaAnterior(estado_.FechaActual.fecha);
        anterior = anterior == texto ? QString() : anterior + QStringLiteral(" - ");
    }
    for (int i = 0; i < ListTareas->count(); ++i) {
        const QString linea = ListTareas->item(i)->text();
        if (linea.startsWith(texto) || (!anterior.isEmpty() && linea.startsWith(anterior))) {
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
        ImgMenu_Click(Orden::NuevaTarea);
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

bool FrmMain::HayCambiosSinGuardar() const {
    if (!cargado_ || descargado_)
        return false;
    // A new task prepared and left empty holds nothing of the user's; typing into a
    // stored task is what starts its edit.
    if (Editando())
        return NumTareas != 0 || !TextBox1->document()->isEmpty() || !TextBox2->text().isEmpty();
    // A new task refused as a duplicate is still on screen, unsaved.
    return !ImgYaExiste->isHidden() && NumTareas == 0;
}

bool FrmMain::ConfirmarCierre() {
    if (!HayCambiosSinGuardar())
        return true;
    const comun::Respuesta respuesta = entorno_.dialogos->Preguntar(
        {comun::TipoMensaje::Informacion, kCaption,
         QStringLiteral("Los datos escritos en la tarea no se han guardado.\r"
                        "¿Desea guardarlos antes de cerrar?")});
    switch (respuesta) {
    case comun::Respuesta::Si:
        // The usual save: a refused duplicate or a failed write keeps the window open
        // with the text, and says why.
        GuardarTarea();
        return !HayCambiosSinGuardar();
    case comun::Respuesta::No:
        return true;
    case comun::Respuesta::Cancelar:
        break;
    }
    return false;
}

void FrmMain::closeEvent(QCloseEvent* evento) {
    if (!ConfirmarCierre()) {
        evento->ignore();
        return;
    }
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
            PonerCursores();
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
        fondo_ = QPixmap::fromImage(PintarFondo(size(), proporcion));
    QPainter pintor(this);
    if (fondo_.isNull())
        pintor.fillRect(rect(), kColorFondo);
    else
        pintor.drawPixmap(0, 0, fondo_);
}

void FrmMain::PonerCursores() {
    // The pointer picture is drawn from its SVG: not needed to show the window.
    const QCursor mano = CursorMano();
    for (QWidget* zona : ImgMenu)
        if (zona)
            zona->setCursor(mano);
}

void FrmMain::Sonar(const QString& archivo) {
    if (ConSonido)
        comun::ReproducirSonido(entorno_, rutas_.RutaPrograma + archivo);
}

// ---- Commands -------------------------------------------------------------------------

void FrmMain::ImgMenu_Click(int Index) {
    if (Index < 0 || Index >= kNumZonas)
        return;
    switch (static_cast<Orden>(Index)) {
    case Orden::Papelera:
        UsarPapelera();
        return;
    case Orden::NuevaTarea:
        CrearNuevaTarea();
        return;
    case Orden::Guardar:
        // The crossed-out picture lies over the button while nothing is pending: a save
        // without a change is refused.
        if (ImgX->isHidden())
            GuardarTarea();
        return;
    case Orden::Anterior:
        MoverSeleccion(-1);
        return;
    case Orden::Siguiente:
        MoverSeleccion(+1);
        return;
    case Orden::Ayuda:
        CambiarModoAyuda();
        return;
    case Orden::ConfirmarSi:
        BorrarTareaMostrada();
        return;
    case Orden::ConfirmarNo:
        ConservarTareaMostrada();
        return;
    case Orden::CopiarActual:
        CopiarTarea();
        return;
    case Orden::CopiarTodas:
        CopiarTodas();
        return;
    case Orden::Copiar:
        return; // the copy button only opens its panel, on hover
    }
}

void FrmMain::PulsarZona(int Index) {
    if (Index < 0 || Index >= kNumZonas)
        return;
    ImgMenu_MouseMove(Index, ImgMenu[Index]->rect().center());
    ImgMenu_Click(Index);
}

// While browsing, asks to delete the task shown; while editing, drops the edit.
void FrmMain::UsarPapelera() {
    if ((!Editando() && NumTareas == 0) || !PicConfirma->isHidden())
        return;
    if (!Editando()) {
        Sonar(QStringLiteral("S2.wav"));
        PicConfirma->show();
        PicConfirma->raise();
        PicConfirma->setFocus();
        ListTareas->setEnabled(false);
        return;
    }
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

void FrmMain::CrearNuevaTarea() {
    if (TmrError.isActive() || !PicConfirma->isHidden())
        return;
    Sonar(QStringLiteral("S3.wav"));
    // The task shown may carry a date in an earlier store's form: the new one is dated
    // as the diary writes dates.
    const QString fecha = LblFecha->Caption();
    if (const auto dia = LeerFechaTexto(fecha, entorno_.reloj->Hoy());
        dia && fecha == TextoFechaAnterior(*dia) && fecha != TextoFecha(*dia)) {
        PonerFecha(TextoFecha(*dia));
        estado_.FechaActual = FechaDiario::DeFecha(*dia);
    }
    ListTareas->blockSignals(true);
    ListTareas->clear();
    ListTareas->blockSignals(false);
    NumTareas = 0;
    ImgX->hide();
    TmrGuardar.start();
    PonerTextos(QString(), QString());
    PonerInfo(TextoCuenta());
    TextBox1->setFocus();
}

// The previous (-1) or the next (+1) line of the list; nothing at either end.
void FrmMain::MoverSeleccion(int paso) {
    if (Editando() || !PicConfirma->isHidden())
        return;
    const int i = ListTareas->currentItem() ? ListTareas->currentRow() : -1;
    const bool puede = paso < 0 ? i > 0 : i < NumTareas - 1;
    if (!puede)
        return;
    Sonar(QStringLiteral("S0.wav"));
    ListTareas->setCurrentRow(i + paso);
}

void FrmMain::CambiarModoAyuda() {
    Sonar(QStringLiteral("S1.wav"));
    if (ModoAyuda())
        unsetCursor();
    else
        setCursor(Qt::WhatsThisCursor);
    // The title is refreshed by the pointer's movement, not by the click.
    if (LblInfo->Caption().left(7) == QLatin1String("Mostrar"))
        comun::AbrirAyuda(entorno_, QStringLiteral("Ayuda/Rendalio.htm"));
}

void FrmMain::BorrarTareaMostrada() {
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
}

void FrmMain::ConservarTareaMostrada() {
    Sonar(QStringLiteral("S3.wav"));
    PicConfirma->hide();
    ListTareas->setEnabled(true);
    ListTareas_Click();
    ListTareas->setFocus();
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
            // The second press of a double click is the zone's double click, and no
            // zone has a command for it: its release runs nothing.
            if (std::exchange(soltarDobleClic_, false))
                return true;
            auto* raton = static_cast<QMouseEvent*>(evento);
            if (raton->button() == Qt::LeftButton &&
                zona->rect().contains(raton->position().toPoint()))
                ImgMenu_Click(indice.toInt());
            return true;
        } else if (tipo == QEvent::MouseButtonPress) {
            soltarDobleClic_ = false;
            return true;
        } else if (tipo == QEvent::MouseButtonDblClick) {
            soltarDobleClic_ = true;
            return true;
        }
        return false;
    }
    if (tipo == QEvent::KeyPress) {
        auto* tecla = static_cast<QKeyEvent*>(evento);
        if (objeto == ListTareas && tecla->key() == Qt::Key_Delete) {
            ImgMenu_Click(Orden::Papelera);
            if (!PicConfirma->isHidden())
                PicConfirma->setFocus();
            return true;
        }
        if (objeto == PicConfirma) {
            if (tecla->key() == Qt::Key_S)
                ImgMenu_Click(Orden::ConfirmarSi);
            else if (tecla->key() == Qt::Key_N)
                ImgMenu_Click(Orden::ConfirmarNo);
            return true;
        }
        // Typing starts the editing through the boxes' change signals (CrearCajas): only
        // a key that types or deletes a character counts, not one that moves the focus
        // or the caret or copies.
        if (objeto == TextBox1 && tecla->key() == Qt::Key_Tab &&
            tecla->modifiers() == Qt::ControlModifier) {
            // Tab moves on from the description; Ctrl+Tab types the tab character.
            TextBox1->insertPlainText(QStringLiteral("\t"));
            return true;
        }
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

} // namespace diary
