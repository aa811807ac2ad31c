// The controls of the diary window: where each one stands and how it looks.
#include "FrmMain.h"

#include "TextosAyuda.h"
#include "Twips.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace diary {

using comun::PonerNombreAccesible;
using comun::Px;
using comun::RectTwips;

namespace {

QRect Rect(const RectTw& r) {
    return RectTwips(r.izda, r.arriba, r.ancho, r.alto);
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

ImagenSvg* NuevaImagen(const QString& archivo, QRect rect, QWidget* contenedor) {
    auto* img = new ImagenSvg(archivo, contenedor);
    img->setGeometry(rect);
    return img;
}

// Labels and pointer pictures take the pointer's movements and clicks over them and
// do nothing with them: crossing one is not moving over the bare background.
void TomarMovimientos(QWidget* control) {
    control->setAttribute(Qt::WA_NoMousePropagation);
}

} // namespace

qsizetype PalabraMasLarga(QStringView texto) {
    qsizetype mayor = 0;
    qsizetype actual = 0;
    for (const QChar c : texto) {
        actual = c.isSpace() ? 0 : actual + 1;
        mayor = qMax(mayor, actual);
    }
    return mayor;
}

void FrmMain::Centrar(QWidget* etiqueta, int centroX, int centroY) {
    etiqueta->adjustSize();
    etiqueta->move(centroX - etiqueta->width() / 2, centroY - etiqueta->height() / 2);
}

QWidget* FrmMain::ContenedorDe(const Zona& zona) {
    switch (zona.contenedor) {
    case Contenedor::PicConfirma:
        return PicConfirma;
    case Contenedor::PicCopiar:
        return PicCopiar;
    case Contenedor::Ventana:
        break;
    }
    return this;
}

// The highlights of one container lie under everything else of it; its hot zones are
// made later, above the pictures they stand on.
void FrmMain::CrearSeleccion(Contenedor contenedor) {
    for (int i = 0; i < kNumZonas; ++i) {
        const Zona& z = kZonas[size_t(i)];
        if (z.contenedor != contenedor)
            continue;
        ImgSel[i] = new ImagenSvg(QStringLiteral("sel%1.svg").arg(i), ContenedorDe(z));
        ImgSel[i]->setGeometry(Rect(z.sel));
        ImgSel[i]->setAttribute(Qt::WA_TransparentForMouseEvents);
        PonerNombreAccesible(ImgSel[i], QStringLiteral("Resalte: ") + NombreZona(z.orden));
        ImgSel[i]->hide();
    }
}

void FrmMain::CrearZonas(Contenedor contenedor) {
    for (int i = 0; i < kNumZonas; ++i) {
        const Zona& z = kZonas[size_t(i)];
        if (z.contenedor != contenedor)
            continue;
        auto* zona = new QWidget(ContenedorDe(z));
        zona->setObjectName(QStringLiteral("ImgMenu%1").arg(i));
        zona->setGeometry(Rect(z.zona));
        zona->setMouseTracking(true);
        zona->setProperty("indice", i);
        zona->installEventFilter(this);
        comun::PonerBotonAccesible(zona, NombreZona(z.orden), DescripcionZona(z.orden),
                                   [this, i] { PulsarZona(i); });
        ImgMenu[i] = zona;
    }
}

// In the order of their stacking, bottom first.
void FrmMain::CrearControles() {
    CrearSeleccion(Contenedor::Ventana);
    CrearLista();
    CrearEtiquetas();
    CrearCajas();
    CrearZonas(Contenedor::Ventana);
    CrearImagenes();
    CrearPaneles();
    PonerInfo(TextoCuenta());
}

void FrmMain::CrearLista() {
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
    PonerNombreAccesible(ListTareas, QStringLiteral("Tareas"));
    // Moving over the list is not moving over the bare background.
    ListTareas->setAttribute(Qt::WA_NoMousePropagation);
    ListTareas->viewport()->setAttribute(Qt::WA_NoMousePropagation);
    connect(ListTareas, &QListWidget::currentRowChanged, this, [this] { ListTareas_Click(); });
}

void FrmMain::CrearEtiquetas() {
    const auto etiqueta = [&](QColor color, qreal puntos) {
        auto* e = new comun::Etiqueta(this);
        e->setFont(Fuente(puntos, true));
        e->setAlignment(Qt::AlignCenter);
        QPalette p = e->palette();
        p.setColor(QPalette::WindowText, color);
        e->setPalette(p);
        TomarMovimientos(e);
        return e;
    };
    LblFecha = etiqueta(Qt::white, 9.75);
    LblInfo = etiqueta(Qt::white, 9.75);
    LblProceso = etiqueta(QColor(255, 255, 0), 9.75);
    LblProceso->hide();
}

void FrmMain::CrearCajas() {
    TextBox1 = new QPlainTextEdit(this);
    TextBox1->setObjectName(QStringLiteral("TextBox1"));
    TextBox1->setGeometry(RectTwips(320, 3520, 5350, 1050));
    TextBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Lines break between words, and anywhere in a word longer than the line. The
    // toolkit finds that a word does not fit by measuring the rest of it for every line
    // it breaks, which grows with the square of the word: a description that holds a
    // very long word is laid out breaking anywhere instead. The choice is made when the
    // text changes and before it is laid out (contentsChange comes first).
    TextBox1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    connect(TextBox1->document(), &QTextDocument::contentsChange, this,
            [this](int desde, int, int anadidos) { ElegirCorteDeLineas(desde, anadidos); });
    TextBox2 = new QLineEdit(this);
    TextBox2->setObjectName(QStringLiteral("TextBox2"));
    TextBox2->setGeometry(RectTwips(240, 5080, 5475, 330));
    for (QWidget* caja : {static_cast<QWidget*>(TextBox1), static_cast<QWidget*>(TextBox2)}) {
        caja->setFont(Fuente(8.25, true));
        caja->setStyleSheet(QStringLiteral("color: black; background: white;"));
        caja->installEventFilter(this);
    }
    // Tab moves on to the next box, as in a form; Ctrl+Tab types a tab (eventFilter).
    TextBox1->setTabChangesFocus(true);
    PonerNombreAccesible(TextBox1, QStringLiteral("Descripción"), CuerpoCaja(1));
    PonerNombreAccesible(TextBox2, QStringLiteral("Referencia"), CuerpoCaja(2));
    TextBox1->viewport()->installEventFilter(this);
    TextBox1->viewport()->setMouseTracking(true);
    TextBox2->setMouseTracking(true);
    // A change made by the user (a character typed or deleted, a paste, a cut) is pending
    // work; a key that changes nothing (Tab, the arrows, a copy) is not.
    connect(TextBox1, &QPlainTextEdit::textChanged, this, [this] {
        if (!poniendoTexto_)
            TextBox_KeyPress(1);
    });
    connect(TextBox2, &QLineEdit::textEdited, this, [this] { TextBox_KeyPress(2); });
    connect(TextBox2, &QLineEdit::textChanged, this, [this] { TextBox_Change(2); });
}

void FrmMain::ElegirCorteDeLineas(int desde, int anadidos) {
    if (poniendoTexto_)
        return; // the program's own text: PonerTextos has chosen for it
    const QTextDocument* documento = TextBox1->document();
    const bool enCualquierParte = TextBox1->wordWrapMode() == QTextOption::WrapAnywhere;
    // Breaking anywhere stays while any word of the text is that long; otherwise only
    // the paragraphs the change touched can hold a new one (a word typed or pasted, or
    // two words joined by deleting what stood between them).
    QTextBlock bloque = enCualquierParte ? documento->begin() : documento->findBlock(desde);
    const QTextBlock ultimo =
        enCualquierParte ? QTextBlock() : documento->findBlock(desde + anadidos);
    bool larga = false;
    for (; bloque.isValid() && !larga; bloque = bloque.next()) {
        larga = PalabraMasLarga(bloque.text()) > kPalabraLarga;
        if (bloque == ultimo)
            break;
    }
    PonerCorteDeLineas(larga);
}

void FrmMain::PonerCorteDeLineas(bool enCualquierParte) {
    const auto modo =
        enCualquierParte ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (TextBox1->wordWrapMode() != modo)
        TextBox1->setWordWrapMode(modo);
}

void FrmMain::CrearImagenes() {
    ImgX = NuevaImagen(QStringLiteral("imgx.svg"), RectTwips(1280, 1240, 540, 570), this);
    ImgX->setMouseTracking(true);
    ImgX->installEventFilter(this);
    ImgGuardar = NuevaImagen(QStringLiteral("guardar.svg"), QRect(116, 116, 24, 24), this);
    ImgCancelar = NuevaImagen(QStringLiteral("cancelar.svg"), QRect(46, 130, 24, 24), this);
    ImgYaExiste =
        NuevaImagen(QStringLiteral("yaexiste.svg"), QRect(Px(1380), Px(2020), 110, 60), this);
    PonerNombreAccesible(ImgX, QStringLiteral("Guardar cambios no disponible"), CuerpoImgX());
    PonerNombreAccesible(ImgGuardar, QStringLiteral("Cambios sin guardar"),
                         QStringLiteral("Señala el botón «Guardar Cambios»."));
    PonerNombreAccesible(ImgCancelar, QStringLiteral("Cancelar cambios"),
                         QStringLiteral("Señala la «Papelera», que cancela la operación."));
    PonerNombreAccesible(ImgYaExiste, QStringLiteral("La tarea ya existe"),
                         QStringLiteral("No se puede dar de alta una tarea con la misma fecha "
                                        "y referencia."));
    for (QWidget* w : {static_cast<QWidget*>(ImgGuardar), static_cast<QWidget*>(ImgCancelar),
                       static_cast<QWidget*>(ImgYaExiste)}) {
        TomarMovimientos(w);
        w->hide();
    }
}

void FrmMain::CrearPaneles() {
    PicCopiar = NuevaImagen(QStringLiteral("copiar.svg"), RectTwips(2080, 360, 1695, 690), this);
    PicCopiar->setMouseTracking(true);
    PicCopiar->installEventFilter(this);
    PonerNombreAccesible(PicCopiar, NombreZona(Orden::Copiar), DescripcionZona(Orden::Copiar));
    CrearSeleccion(Contenedor::PicCopiar);
    CrearZonas(Contenedor::PicCopiar);
    PicCopiar->hide();

    PicConfirma =
        NuevaImagen(QStringLiteral("confirma.svg"), RectTwips(1240, 2010, 1845, 1065), this);
    PicConfirma->setFocusPolicy(Qt::StrongFocus);
    PicConfirma->setMouseTracking(true);
    PicConfirma->installEventFilter(this);
    PonerNombreAccesible(PicConfirma, QStringLiteral("¿Está seguro?"),
                         QStringLiteral("Confirme la eliminación de la tarea."));
    CrearSeleccion(Contenedor::PicConfirma);
    CrearZonas(Contenedor::PicConfirma);
    PicConfirma->hide();

    PicAyuda = new QWidget(this);
    PicAyuda->setAttribute(Qt::WA_TransparentForMouseEvents);
    PicAyuda->setAutoFillBackground(true);
    PonerNombreAccesible(PicAyuda, QStringLiteral("Ayuda"));
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
}

} // namespace diary
