#pragma once

#include "AlmacenTareas.h"
#include "Arte.h"
#include "EstadoDiario.h"
#include "Zonas.h"

#include "Entorno.h"
#include "Etiqueta.h"
#include "Ini.h"
#include "Inicio.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <array>
#include <future>
#include <memory>

class QElapsedTimer;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace diary {

class FrmCalendario;

// Lines of the task list in alphabetical order of the whole line, without regard to
// case, by the user's collation; equal lines keep their order.
void OrdenarLineas(QStringList& lineas);

// The length of the longest run of characters between two blanks.
qsizetype PalabraMasLarga(QStringView texto);

// The reminder diary's main window.
class FrmMain : public QWidget {
    Q_OBJECT
public:
    static constexpr int kLargoReferencia = 250;
    // A description with a word longer than this breaks its lines anywhere: laying out
    // such a word between word boundaries costs a few milliseconds at this length, and
    // grows with its square.
    static constexpr qsizetype kPalabraLarga = 4096;

    explicit FrmMain(comun::Entorno entorno, QWidget* padre = nullptr);
    ~FrmMain() override;

    // Start-up; false when the program must end (the reason has been shown, or a copy
    // is already running). Nothing is written before this succeeds; the controls exist
    // once it has.
    bool Form_Load();
    // Shows the window and runs its first activation.
    void Mostrar();
    void Form_Activate();
    // Shut-down: the window's and the calendar's places, then the store is closed.
    void Form_Unload();
    // Takes the focus; when it already has it, its activation runs at once.
    void RecibirFoco();

    // The task list and saving.
    void LlenarLista();
    void ListTareas_Click();
    void GuardarTarea();
    void ActualizarBotones();
    void TmrGuardar_Timer();
    void TmrError_Timer();

    // The commands of the hot zones (Index 0 to 10, as `Orden`).
    void ImgMenu_Click(int Index);
    void ImgMenu_Click(Orden orden) { ImgMenu_Click(static_cast<int>(orden)); }
    // A zone pressed by a screen reader: what a left click does, the pointer's coming
    // onto the zone included (the title it shows is what the help command reads, and
    // hovering the copy button opens its panel).
    void PulsarZona(int Index);
    void TextBox_KeyPress(int Index);

    // Hover help (positions in pixels, relative to the control under the pointer).
    void ImgMenu_MouseMove(int Index, QPoint posicion);
    void ImgX_MouseMove(QPoint posicion);
    void TextBox_MouseMove(int Index, QPoint posicion);
    void Form_MouseMove();
    void PicConfirma_MouseMove();
    void PicCopiar_MouseMove();

    bool Editando() const { return TmrGuardar.isActive(); }
    // A task typed and not saved is on screen (being edited, or refused as a duplicate).
    bool HayCambiosSinGuardar() const;
    bool ModoAyuda() const;
    // The text of a box as it leaves the window; the description's line breaks as CR+LF.
    QString TextoCaja(int Index) const;
    // The calendar window; it exists once the diary has painted for the first time.
    FrmCalendario* Calendario() const { return calendario_.get(); }
    // Builds and shows the calendar window (once); the first paint of the diary asks for it.
    void MostrarCalendario();
    AlmacenTareas& Almacen() { return almacen_; }
    EstadoDiario& Estado() { return estado_; }
    QString RutaPrograma() const { return rutas_.RutaPrograma; }
    bool CopiandoTodas() const { return copiando_; }

    // Window state shared by the commands.
    qint32 NumTareas = 0;
    qint32 IndiceActual = 0;
    bool ConSonido = true;
    bool PrimeraActivacion = true;
    int UltimoBoton = 0;
    QString UltimaLinea;

    // Controls.
    QListWidget* ListTareas = nullptr;
    comun::Etiqueta* LblFecha = nullptr;
    comun::Etiqueta* LblInfo = nullptr;
    comun::Etiqueta* LblProceso = nullptr;
    comun::Etiqueta* LblAyuda = nullptr;
    QWidget* PicAyuda = nullptr;
    QPlainTextEdit* TextBox1 = nullptr; // Descripción
    QLineEdit* TextBox2 = nullptr;      // Referencia
    std::array<QWidget*, kNumZonas> ImgMenu{};
    std::array<ImagenSvg*, kNumZonas> ImgSel{};
    ImagenSvg* ImgX = nullptr;
    ImagenSvg* ImgGuardar = nullptr;
    ImagenSvg* ImgCancelar = nullptr;
    ImagenSvg* ImgYaExiste = nullptr;
    ImagenSvg* PicConfirma = nullptr;
    ImagenSvg* PicCopiar = nullptr;
    QTimer TmrGuardar;
    QTimer TmrError;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void changeEvent(QEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    // The controls (FrmMainControles.cpp).
    void CrearControles();
    void CrearSeleccion(Contenedor contenedor);
    void CrearZonas(Contenedor contenedor);
    void CrearLista();
    void CrearEtiquetas();
    void CrearCajas();
    // How the description breaks its lines: after the user's change of the text
    // (`anadidos` characters from `desde`), or for a text the program puts there.
    void ElegirCorteDeLineas(int desde, int anadidos);
    void PonerCorteDeLineas(bool enCualquierParte);
    void CrearImagenes();
    void CrearPaneles();
    QWidget* ContenedorDe(const Zona& zona);
    // The hand pointer over the hot zones, once the window is on screen.
    void PonerCursores();
    // A label that grows with its text, centred on a point of its container.
    static void Centrar(QWidget* etiqueta, int centroX, int centroY);

    // The commands.
    void UsarPapelera();
    void CrearNuevaTarea();
    void MoverSeleccion(int paso);
    void CambiarModoAyuda();
    void BorrarTareaMostrada();
    void ConservarTareaMostrada();

    void CrearCalendario();
    // Closing with unsaved text asks whether to save it; true when the window may close.
    bool ConfirmarCierre();
    void Sonar(const QString& archivo);
    void SeleccionarLinea(int fila);
    void PonerFecha(const QString& caption);
    void PonerTextos(const QString& descripcion, const QString& referencia);
    void PonerInfo(const QString& caption);
    void PonerTitulo(const QString& caption) { PonerInfo(caption); }
    void PonerCuerpo(const QString& cuerpo);
    void MostrarAyudaEn(QPoint esquina);
    void TextBox_Change(int Index);
    void TextBox_GotFocus(int Index);
    void MostrarDuplicado();
    // The copies (FrmMainCopias.cpp).
    void CopiarTarea();
    void CopiarTodas();
    void MostrarProgreso(int posicion, const QString& de, QElapsedTimer& pintado, bool ultimo);
    void AvisarFalloEscritura(const QString& accion, const ErrorAlmacen& error);
    // Shows the store's last reading failure, if any; true when there was one.
    bool AvisarFalloLectura();
    QString TextoCuenta() const;
    QString TextoDescripcion() const;

    comun::Entorno entorno_;
    comun::Rutas rutas_;
    comun::ArchivoIni ini_;
    comun::GuardiaInicio guardia_;
    AlmacenTareas almacen_;
    EstadoDiario estado_;
    std::unique_ptr<FrmCalendario> calendario_;
    QPixmap fondo_;
    // The background picture being rendered on a second thread while the controls are
    // built; the first paint takes it.
    std::future<QImage> fondoPendiente_;
    bool cargado_ = false;
    bool descargado_ = false;
    bool poniendoTexto_ = false;
    bool copiando_ = false;
    bool calendarioPedido_ = false;
    // A double click's second press was seen on a zone; its release is not a click.
    bool soltarDobleClic_ = false;
};

} // namespace diary
