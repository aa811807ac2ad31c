// Hover help: the highlight of the button under the pointer, its title in `LblInfo`,
// the help panel in help mode, and the copy panel that hovering the copy button opens.
#include "FrmMain.h"

#include "TextosAyuda.h"
#include "Twips.h"

#include <QLineEdit>
#include <QPlainTextEdit>

namespace diary {

using comun::Px;

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
    // Near an edge the panel is moved inward, so that it shows whole inside the window.
    esquina.setX(qBound(0, esquina.x(), qMax(0, width() - PicAyuda->width())));
    esquina.setY(qBound(0, esquina.y(), qMax(0, height() - PicAyuda->height())));
    PicAyuda->move(esquina);
    PicAyuda->raise();
}

void FrmMain::ImgMenu_MouseMove(int Index, QPoint posicion) {
    if (Index < 0 || Index >= kNumZonas)
        return;
    const auto orden = static_cast<Orden>(Index);
    if (!ImgSel[UltimoBoton]->isHidden())
        ImgSel[UltimoBoton]->hide();
    ImgSel[Index]->show();
    UltimoBoton = Index;
    if (!PicCopiar->isHidden())
        ImgSel[8]->show();

    if (const QString titulo = TituloZona(orden, Editando(), ModoAyuda()); !titulo.isEmpty())
        PonerTitulo(titulo);
    if (const QString cuerpo = CuerpoZona(orden, Editando()); !cuerpo.isEmpty())
        PonerCuerpo(cuerpo);

    if (orden == Orden::Copiar) {
        if (!ImgYaExiste->isHidden() || Editando())
            return;
        if (PicCopiar->isHidden()) {
            Sonar(QStringLiteral("S1.wav"));
            PicCopiar->show();
            PicCopiar->raise();
            PicAyuda->raise();
        }
    }
    // The help button and the zones of the two panels explain themselves by their title.
    const bool conPanel = ZonaDe(orden).contenedor == Contenedor::Ventana && orden != Orden::Ayuda;
    if (ModoAyuda() && conPanel) {
        const QPoint zona = ImgMenu[Index]->pos();
        MostrarAyudaEn(
            QPoint(zona.x() + posicion.x() + Px(200), zona.y() + posicion.y() - Px(200)));
    }
}

void FrmMain::ImgX_MouseMove(QPoint posicion) {
    if (!ModoAyuda())
        return;
    PonerCuerpo(CuerpoImgX());
    MostrarAyudaEn(QPoint(ImgX->x() + posicion.x() + Px(400), ImgX->y() + posicion.y() - Px(200)));
}

void FrmMain::TextBox_MouseMove(int Index, QPoint posicion) {
    if (!ModoAyuda())
        return;
    PonerCuerpo(CuerpoCaja(Index));
    if (Index == 1)
        MostrarAyudaEn(QPoint(TextBox1->x() + posicion.x() - Px(2800),
                              TextBox1->y() + posicion.y() - Px(200)));
    else
        MostrarAyudaEn(QPoint(TextBox2->x() + posicion.x() - Px(1800),
                              TextBox2->y() + posicion.y() - Px(1600)));
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
    PonerInfo(Editando() ? TituloEdicion() : TextoCuenta());
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

} // namespace diary
