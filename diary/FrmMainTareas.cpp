// The task list, showing the selected task, and saving a new or changed one.
#include "FrmMain.h"

#include "FrmCalendario.h"
#include "TextoCopias.h"

#include <QCollator>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <algorithm>
#include <numeric>

namespace diary {

namespace {
const QString kTotales = QStringLiteral("Tareas totales:\r");
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
    if (TextBox1->toPlainText() == descripcion) {
        // The task shown once more (start-up shows the first task, then today's): the
        // box already holds the text laid out, which for a long one is most of the
        // cost of showing it. It only goes back to the start, as a new text would.
        TextBox1->moveCursor(QTextCursor::Start);
    } else {
        // The box lays a text out as it takes it: breaking anywhere is chosen before a
        // text with a long word arrives, and breaking between words once it has gone.
        const bool larga = PalabraMasLarga(descripcion) > kPalabraLarga;
        if (larga)
            PonerCorteDeLineas(true);
        TextBox1->setPlainText(descripcion);
        if (!larga)
            PonerCorteDeLineas(false);
    }
    TextBox2->setText(referencia);
    poniendoTexto_ = false;
}

QString FrmMain::TextoCaja(int Index) const {
    return Index == 1 ? TextoDescripcion() : TextBox2->text();
}

QString FrmMain::TextoDescripcion() const {
    return ConSaltosCrLf(TextBox1->toPlainText());
}

void FrmMain::LlenarLista() {
    // The table is read before the list is touched: a file that cannot be read at this
    // moment (another program holds it) must not pass for an empty table.
    const qint32 cuenta = almacen_.Contar();
    QStringList lineas;
    if (cuenta > 0)
        lineas = almacen_.Lineas();
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
        // The same day written in the diary's other form of dates is the same date.
        bool existe = false;
        for (const QString& forma : FormasDeFecha(fecha, entorno_.reloj->Hoy()))
            existe = existe || almacen_.ExisteFechaReferencia(forma, TextBox2->text());
        if (existe) {
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
    if (!almacen_.EscribirYConfirmar(fecha, TextoDescripcion(), TextBox2->text(), &error)) {
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

} // namespace diary
