// The two copy commands: the task shown, and every task of the list.
#include "FrmMain.h"

#include "TextoCopias.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

namespace diary {

void FrmMain::CopiarTarea() {
    Sonar(QStringLiteral("S3.wav"));
    entorno_.portapapeles->Vaciar();
    entorno_.portapapeles->PonerTexto(
        TextoCopiaActual(NumTareas, LblFecha->Caption(), TextBox2->text(), TextoDescripcion()));
}

void FrmMain::CopiarTodas() {
    // A second copy started from the events the first one lets run would interleave
    // with it.
    if (copiando_)
        return;
    Sonar(QStringLiteral("S3.wav"));
    if (ListTareas->count() == 0) {
        entorno_.portapapeles->PonerTexto(TextoCopiaVacia(NumTareas));
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
    QString texto = InicioCopiaTodas(NumTareas);

    const QHash<QString, Tarea> porLinea = TareasPorLinea(tareas);
    QStringList lineas;
    const int n = ListTareas->count();
    lineas.reserve(n);
    for (int p = 0; p < n; ++p)
        lineas << ListTareas->item(p)->text();

    const QString de = QStringLiteral("   de   ") + QString::number(NumTareas);
    QElapsedTimer pintado;
    pintado.start();
    LblProceso->setUpdatesEnabled(false);
    for (int p = 0; p <= n; ++p) {
        QCoreApplication::processEvents();
        if (p < n) {
            if (const auto it = porLinea.constFind(lineas[p]); it != porLinea.cend())
                AnadirBloqueCopia(texto, *it);
        }
        MostrarProgreso(p, de, pintado, p == n);
    }
    LblProceso->setUpdatesEnabled(true);
    TmrError.setInterval(2000);
    TmrError.start();
    entorno_.portapapeles->PonerTexto(texto);
    copiando_ = false;
}

void FrmMain::MostrarProgreso(int posicion, const QString& de, QElapsedTimer& pintado,
                              bool ultimo) {
    // The caption is painted at most about sixty times a second; painting it for every
    // line would cost more than the copy itself, and so would giving the label every
    // caption that is never painted. The first is given, for a paint the system asks for.
    const bool pintar = pintado.hasExpired(16) || ultimo;
    if (!pintar && posicion != 0)
        return;
    const qsizetype largo = LblProceso->Caption().size();
    LblProceso->PonerCaption(QString::number(posicion) + de);
    if (LblProceso->Caption().size() != largo)
        Centrar(LblProceso, 137, 171); // only when the caption grows a digit
    if (pintar) {
        LblProceso->setUpdatesEnabled(true);
        LblProceso->repaint();
        LblProceso->setUpdatesEnabled(false);
        pintado.restart();
    }
}

} // namespace diary
