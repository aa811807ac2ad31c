#include "FrmMain.h"

#include "MotorDatos.h"
#include "Paginas.h"
#include "Texto.h"
#include "Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <cmath>

// The artwork lives in this static library; its resources are registered by hand.
static void IniciarRecursos() {
    Q_INIT_RESOURCE(recursos);
}

namespace importer {

using comun::Px;
using comun::RectTwips;

namespace {
const QString kSiguiente = QStringLiteral("&Siguiente ->");
const QString kCopiaSeg = QStringLiteral("&Copia Seg.");
const QString kTrasvolo = QStringLiteral("&TRASVOLO");
const QString kTerminar = QStringLiteral("&TERMINAR");
const QString kTituloCopia = QStringLiteral("ERROR AL GENERAR COPIA SEG.");
const QString kTituloImportacion = QStringLiteral("ERROR AL TRASVOLO DATOS.");
const QString kTituloInterrumpido = QStringLiteral("TRASVOLO INTERRUMPIDO.");

// The hand-shaped pointer of the buttons and the help spot, drawn at the screen's ratio.
QCursor CursorMano() {
    static const QCursor cursor =
        comun::CursorMano(QStringLiteral(":/importer/mano.svg"), QPoint(11, 1));
    return cursor;
}

// The window icon at the sizes title bars and task bars ask for, drawn here rather than
// through the SVG icon plugin, which would be loaded for this one picture.
QIcon IconoVentana() {
    QList<QSize> tamanos;
    for (const int lado : {16, 24, 32, 48, 64})
        tamanos.append(QSize(lado, lado));
    return comun::IconoSvgTamanos(QStringLiteral(":/importer/icono.svg"), tamanos);
}

// The pages were designed for MS Sans Serif; where it is missing the first sans-serif of
// the list that the system has stands in. Looked up once: every missing name asked for
// again would cost a search through the system's fonts.
const QString& FamiliaSansSerif() {
    static const QString familia = [] {
        const QStringList familias = QFontDatabase::families();
        for (const char* nombre :
             {"MS Sans Serif", "Microsoft Sans Serif", "Arial", "Liberation Sans", "DejaVu Sans"}) {
            const QString candidata = QString::fromLatin1(nombre);
            if (familias.contains(candidata, Qt::CaseInsensitive))
                return candidata;
        }
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return familia;
}

QFont LetraSansSerif(qreal puntos) {
    QFont letra(FamiliaSansSerif());
    letra.setStyleHint(QFont::SansSerif);
    letra.setPointSizeF(puntos);
    letra.setBold(true);
    return letra;
}

// The pages were laid out for a sans-serif with tight lines: the longest page (twelve
// lines) must end above the buttons whatever font stands in for it. Line spacing grows
// with the size, so the size is scaled down in one step and then checked.
QFont LetraPaginas() {
    constexpr int kLineasMaximas = 12;
    const int alto = Px(4000 - 970) - 16;
    QFont letra = LetraSansSerif(9.75);
    const int espacio = QFontMetrics(letra).lineSpacing();
    if (espacio * kLineasMaximas <= alto)
        return letra;
    const qreal estimado = 9.75 * alto / (espacio * kLineasMaximas);
    letra.setPointSizeF(qMax(7.0, std::floor(estimado * 4) / 4));
    while (QFontMetrics(letra).lineSpacing() * kLineasMaximas > alto && letra.pointSizeF() > 7)
        letra.setPointSizeF(letra.pointSizeF() - 0.25);
    return letra;
}

QPushButton* CrearBoton(QWidget* padre, const QString& caption, QRect lugar) {
    auto* boton = new QPushButton(caption, padre);
    boton->setGeometry(lugar);
    boton->setFont(LetraSansSerif(9.75));
    QPalette colores = boton->palette();
    colores.setColor(QPalette::Button, Qt::white);
    boton->setPalette(colores);
    boton->setAutoDefault(false);
    return boton;
}
} // namespace

// ---- ZonaActiva / Imagen ------------------------------------------------------------

ZonaActiva::ZonaActiva(QWidget* padre) : QWidget(padre) {
    setMouseTracking(true);
}

void ZonaActiva::mousePressEvent(QMouseEvent* evento) {
    if (evento->button() == Qt::LeftButton)
        pulsada_ = true;
}

void ZonaActiva::mouseReleaseEvent(QMouseEvent* evento) {
    const bool dentro = rect().contains(evento->position().toPoint());
    if (evento->button() == Qt::LeftButton && pulsada_ && dentro)
        emit Click();
    pulsada_ = false;
}

void ZonaActiva::mouseMoveEvent(QMouseEvent*) {
    emit MouseMove();
}

Imagen::Imagen(const QString& recurso, QWidget* padre) : comun::ImagenSvg(recurso, padre) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

// ---- FrmMain ---------------------------------------------------------------------------

FrmMain::FrmMain(comun::Entorno entorno, std::shared_ptr<MotorDatos> datos, QWidget* padre)
    : QWidget(padre), entorno_(std::move(entorno)),
      datos_(datos ? std::move(datos) : MotorDatosDelModulo(entorno_.carpeta)),
      fondo_((IniciarRecursos(), QStringLiteral(":/importer/fondo.svg"))) {
    setWindowTitle(QStringLiteral("Asistente para trasvolo datos de la libreta de direcciones..."));
    setWindowIcon(IconoVentana());
    setFixedSize(comun::TamTwips(6000, 4485));
    setMouseTracking(true);

    ImgSel = new Imagen(QStringLiteral(":/importer/seleccion.svg"), this);
    ImgSel->setGeometry(RectTwips(120, 90, 495, 585));
    ImgSel->hide();
    comun::PonerNombreAccesible(ImgSel, QStringLiteral("Resalte: Mostrar AYUDA"));

    ImgAyuda = new ZonaActiva(this);
    ImgAyuda->setGeometry(RectTwips(120, 120, 495, 495));
    ImgAyuda->setToolTip(QStringLiteral("Mostrar AYUDA..."));
    comun::PonerBotonAccesible(ImgAyuda, QStringLiteral("Mostrar AYUDA"),
                               QStringLiteral("Abre la ayuda del asistente."), [this] {
                                   ImgAyuda_MouseMove();
                                   ImgAyuda_Click();
                               });
    connect(ImgAyuda, &ZonaActiva::Click, this, &FrmMain::ImgAyuda_Click);
    connect(ImgAyuda, &ZonaActiva::MouseMove, this, &FrmMain::ImgAyuda_MouseMove);

    LblDetalles = new comun::Etiqueta(this);
    LblDetalles->move(Px(600), Px(970));
    LblDetalles->setFont(LetraPaginas());
    LblDetalles->setAttribute(Qt::WA_TranslucentBackground);
    PonerColorDetalles(0);

    LblEstado = new comun::Etiqueta(this);
    LblEstado->move(Px(960), Px(4110));
    LblEstado->setFont(LetraSansSerif(8.25));
    LblEstado->setAttribute(Qt::WA_TranslucentBackground);

    CmdAtras = CrearBoton(this, QStringLiteral("<-"), RectTwips(2760, 4000, 495, 375));
    CmdAtras->hide();
    // Its caption is an arrow, which a screen reader would spell out.
    comun::PonerNombreAccesible(CmdAtras, QStringLiteral("Atrás"));
    CmdSiguiente = CrearBoton(this, kSiguiente, RectTwips(3360, 4000, 1575, 375));
    CmdSiguiente->setDefault(true);
    connect(CmdAtras, &QPushButton::clicked, this, &FrmMain::CmdAtras_Click);
    connect(CmdSiguiente, &QPushButton::clicked, this, &FrmMain::CmdSiguiente_Click);
    CmdSiguiente->installEventFilter(this);

    // Only the buttons take the focus; Next comes first.
    setTabOrder(CmdSiguiente, CmdAtras);
    CmdSiguiente->setFocus();
}

bool FrmMain::Form_Load() {
    // Several copies of the wizard may run side by side.
    if (guardia_.Pasar(entorno_, QStringLiteral("Trasvolo.exe"), false) !=
        comun::GuardiaInicio::Resultado::Continuar)
        return false;
    RutaPrograma = comun::ObtenerRutaPrograma(entorno_.carpeta);
    PasoActual = 0;
    PonerEstado(QStringLiteral("Paso 0 de 10..."));
    MostrarPaso();
    return true;
}

void FrmMain::PonerEstadoPaso() {
    PonerEstado(QStringLiteral("Paso %1 de 10...").arg(PasoActual));
}

void FrmMain::PonerEstado(const QString& caption) {
    LblEstado->PonerCaption(caption);
    // The label has the room left of Back. A caption too long for one line there (the
    // progress of a large import) breaks at a space, and its lines end level with the
    // buttons' lower edge, inside the footer.
    const QPoint lugar(Px(960), Px(4110));
    const int ancho = CmdAtras->x() - lugar.x() - Px(60);
    LblEstado->setWordWrap(false);
    if (LblEstado->sizeHint().width() <= ancho) {
        LblEstado->move(lugar);
        LblEstado->adjustSize();
        return;
    }
    LblEstado->setWordWrap(true);
    const int alto = LblEstado->heightForWidth(ancho);
    LblEstado->setGeometry(lugar.x(), Px(4000 + 375) - alto, ancho, alto);
}

void FrmMain::CmdSiguiente_Click() {
    if (terminado_)
        return;
    const auto pulsado = std::exchange(pulsadoSiguiente_, std::nullopt);
    const auto soltado = std::exchange(soltadoSiguiente_, std::nullopt);
    if (PasoActual == 10) {
        // The second half of a double click (or a quickly repeated Enter) on "&TRASVOLO"
        // arrives at the import's first turn of the event loop: it belongs to the press
        // that started the import and must not end the wizard before the first contact.
        if (importando_ && PerteneceAlInicio(pulsado))
            return;
        close();
        return;
    }
    if (PasoActual == 9)
        inicioImportacion_ = soltado;
    ++PasoActual;
    PonerEstadoPaso();
    MostrarPaso();
}

bool FrmMain::PerteneceAlInicio(std::optional<quint64> pulsado) const {
    // Counted between the events' own times: the second press is only handled once the
    // database is open, which for a large one takes longer than a double click.
    return pulsado && inicioImportacion_ &&
           *pulsado < *inicioImportacion_ + quint64(QApplication::doubleClickInterval());
}

void FrmMain::CmdAtras_Click() {
    if (terminado_)
        return;
    --PasoActual;
    PonerEstadoPaso();
    MostrarPaso();
}

void FrmMain::ImgAyuda_Click() {
    ultimoShell_ = comun::AbrirAyuda(entorno_, QStringLiteral("Ayuda/Trasvolo.htm"));
}

void FrmMain::ImgAyuda_MouseMove() {
    if (ImgSel->isHidden())
        ImgSel->show();
}

void FrmMain::Form_MouseMove() {
    if (!ImgSel->isHidden())
        ImgSel->hide();
}

void FrmMain::PonerColorDetalles(quint32 color) {
    colorDetalles_ = color;
    comun::PonerColor(LblDetalles, color);
}

void FrmMain::MostrarPaso() {
    const int paso = PasoActual;
    if (paso < 0 || paso > 10)
        return;
    switch (paso) {
    case 0:
        if (!CmdAtras->isHidden())
            CmdAtras->hide();
        // Its caption is an arrow, which a screen reader would spell out.
        comun::PonerNombreAccesible(CmdAtras, QStringLiteral("Atrás"));
        break;
    case 1:
        if (CmdAtras->isHidden())
            CmdAtras->show();
        // The system's address book; where it does not exist nothing is reported and the
        // page tells the user how to open it by hand.
        ultimoShell_ = entorno_.shell->Ejecutar({QString(),
                                                 QStringLiteral("wab.exe"),
                                                 {},
                                                 QStringLiteral("c:\\"),
                                                 comun::AccionShell::Iniciar});
        break;
    case 7:
        CmdSiguiente->setText(kSiguiente);
        PonerColorDetalles(0);
        break;
    case 8:
        CmdSiguiente->setText(kCopiaSeg);
        PonerColorDetalles(0xFF0000);
        break;
    case 9:
        PonerColorDetalles(0);
        break;
    case 10:
        // Back and Next while the import runs: that import, still holding Vemora.dat, is
        // the one asked for again; its end (or failure) shows the result.
        if (importando_)
            return;
        importando_ = true;
        IncluirDatos();
        importando_ = false;
        if (finPedido_) {
            TerminarTrasImportacion();
            return;
        }
        // A failed import has gone back to step 9; Back may have been pressed while it
        // ran.
        if (PasoActual != 10)
            return;
        CmdSiguiente->setText(kTerminar);
        break;
    default:
        break;
    }
    LblDetalles->PonerCaption(TextoPagina(paso, RutaPrograma));
    LblDetalles->adjustSize();
    if (paso == 9) {
        if (CmdSiguiente->text() == kCopiaSeg) {
            // A copy taken during the import would be of a database the import holds, and
            // would replace the copy of the data before it.
            if (importando_)
                entorno_.dialogos->Critico(
                    kTituloCopia, QStringLiteral("No se ha hecho la copia de seguridad: el "
                                                 "trasvolo de datos todavía está en marcha y "
                                                 "tiene abierta la base de datos de la Vemora."));
            else
                HacerCopia();
        }
        CmdSiguiente->setText(kTrasvolo);
    }
}

void FrmMain::HacerCopia() {
    RutaDatos = RutaPrograma + QStringLiteral("Vemora.dat");
    RutaCopia = RutaPrograma + QStringLiteral("DatosAnt.bak");
    const QString error = datos_->HacerCopiaSeguridad(RutaDatos, RutaCopia);
    if (!error.isEmpty())
        entorno_.dialogos->Critico(kTituloCopia, error);
}

void FrmMain::FalloImportacion(const QString& descripcion) {
    entorno_.dialogos->Critico(kTituloImportacion, descripcion);
    // Back to the step that starts the import, from whatever page the user moved to
    // while it ran (step 0 hides Back); coming back from the import makes no safety copy.
    PasoActual = 9;
    if (CmdAtras->isHidden())
        CmdAtras->show();
    CmdSiguiente->setText(kTrasvolo);
    PonerEstadoPaso();
    MostrarPaso();
}

void FrmMain::IncluirDatos() {
    // First phase: the whole file, regrouped into one line per record.
    const ArchivoContactos archivo =
        LeerArchivoContactos(RutaPrograma + QStringLiteral("Datos.csv"));
    if (!archivo.error.isEmpty()) {
        FalloImportacion(archivo.error);
        return;
    }
    // Then the host's table, held exclusively until the import ends, one contact per
    // record line; the window runs its events between batches.
    AvisosImportacion avisos;
    avisos.intervaloMs = intervaloEventosMs;
    incluidos_ = 0;
    totalContactos_ = archivo.registros.size() - 1;
    avisos.entreLotes = [this](qsizetype confirmados) {
        incluidos_ = confirmados;
        procesarEventos();
        return !finPedido_;
    };
    avisos.progreso = [this](qsizetype k, qsizetype total) { MostrarProgreso(k, total); };
    const QString error =
        datos_->ImportarContactos(archivo, RutaPrograma + QStringLiteral("Vemora.dat"), avisos);
    if (!error.isEmpty())
        FalloImportacion(error);
    else if (!finPedido_)
        incluidos_ = totalContactos_;
}

void FrmMain::MostrarProgreso(qsizetype k, qsizetype total) {
    PonerEstado(QStringLiteral("Datos: %1 de %2").arg(k).arg(total));
}

void FrmMain::TerminarTrasImportacion() {
    // The import stopped at a turn of the event loop with every contact read so far
    // committed. Running the wizard again merges the file by name once more, so the
    // contacts already in are only written again.
    if (incluidos_ < totalContactos_)
        entorno_.dialogos->Informacion(
            kTituloInterrumpido,
            QStringLiteral("Se han incluido en la Vemora %1 de los %2 contactos de «Datos.csv»."
                           "\r\rPara incluir los demás, ejecute de nuevo este asistente: los "
                           "contactos que ya están en la Vemora se actualizarán, no se "
                           "duplicarán.")
                .arg(incluidos_)
                .arg(totalContactos_));
    finPedido_ = false;
    Form_Unload();
    close();
}

void FrmMain::Form_Unload() {
    if (terminado_)
        return;
    // Ending in the middle of the import: it stops at its next turn, and the wizard ends
    // once the user has been told how much of the file is in.
    if (importando_) {
        finPedido_ = true;
        return;
    }
    terminado_ = true;
    ultimoShell_ = entorno_.shell->Ejecutar({QStringLiteral("open"),
                                             RutaPrograma + QStringLiteral("Vemora.exe"),
                                             {},
                                             QString(),
                                             comun::AccionShell::Iniciar});
}

void FrmMain::closeEvent(QCloseEvent* evento) {
    Form_Unload();
    if (terminado_)
        evento->accept();
    else
        evento->ignore(); // shown until the import has stopped
}

void FrmMain::mouseMoveEvent(QMouseEvent*) {
    Form_MouseMove();
}

void FrmMain::keyPressEvent(QKeyEvent* evento) {
    // Enter presses Next wherever the focus is.
    if (evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) {
        if (CmdSiguiente->isVisible() && CmdSiguiente->isEnabled()) {
            pulsadoSiguiente_ = soltadoSiguiente_ = evento->timestamp();
            CmdSiguiente->click();
        }
        return;
    }
    QWidget::keyPressEvent(evento);
}

bool FrmMain::eventFilter(QObject* objeto, QEvent* evento) {
    // Notes when the user's press and release on Next happened, for the double-click
    // guard of the import; a key press clicks at once (Enter) or on its release (space).
    if (objeto == CmdSiguiente) {
        switch (evento->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            pulsadoSiguiente_ = static_cast<QInputEvent*>(evento)->timestamp();
            soltadoSiguiente_.reset();
            break;
        case QEvent::MouseButtonRelease:
            soltadoSiguiente_ = static_cast<QInputEvent*>(evento)->timestamp();
            break;
        case QEvent::KeyPress:
            pulsadoSiguiente_ = soltadoSiguiente_ = static_cast<QInputEvent*>(evento)->timestamp();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(objeto, evento);
}

void FrmMain::PonerCursores() {
    const QCursor mano = CursorMano();
    for (QWidget* control : {static_cast<QWidget*>(CmdAtras), static_cast<QWidget*>(CmdSiguiente),
                             static_cast<QWidget*>(ImgAyuda)})
        control->setCursor(mano);
}

void FrmMain::paintEvent(QPaintEvent*) {
    // The background is drawn from its SVG once (again only for another pixel ratio); every
    // later paint, a page change included, copies the pixmap.
    const qreal ratio = devicePixelRatioF();
    const bool primera = fondoPintado_.isNull();
    if (primera || fondoPintado_.devicePixelRatio() != ratio)
        fondoPintado_ = comun::PintarSvg(fondo_, size(), ratio);
    QPainter(this).drawPixmap(0, 0, fondoPintado_);
    // The pointers are not needed to show the window: they are made once it is on screen.
    if (primera)
        QTimer::singleShot(0, this, &FrmMain::PonerCursores);
}

} // namespace importer
