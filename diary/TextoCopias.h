#pragma once

#include "AlmacenTareas.h"

#include <QHash>
#include <QString>
#include <QVector>

namespace diary {

// The texts the two copy commands put on the clipboard; line breaks are CR+LF.

// Every line break of a text as CR+LF: a lone LF or a lone CR becomes CR+LF, and a
// CR+LF stays one. The description box hands its breaks over as LF, other programs
// may have stored either.
QString ConSaltosCrLf(const QString& texto);
// The same, appended to `destino`.
void AnadirSaltosCrLf(QString& destino, QStringView texto);

// Copy of the task shown: what the window's controls hold (an unsaved edit included).
// With no task listed (none stored, or a new one being created) the fixed notice.
QString TextoCopiaActual(qint32 numTareas, const QString& fecha, const QString& referencia,
                         const QString& descripcion);

// Copy of all tasks when the list holds no line.
QString TextoCopiaVacia(qint32 numTareas);
// The start of a copy of all tasks: the count line, an empty line and the header.
QString InicioCopiaTodas(qint32 numTareas);
// Appends to `texto` the block one task adds to a copy of all tasks.
void AnadirBloqueCopia(QString& texto, const Tarea& tarea);

// The record each task line copies: the first one, in the order given, with that line.
QHash<QString, Tarea> TareasPorLinea(const QVector<Tarea>& tareas);

} // namespace diary
