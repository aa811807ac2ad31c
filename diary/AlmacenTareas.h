#pragma once

#include "BaseDatos.h"

#include <QString>
#include <QVector>
#include <optional>
#include <utility>

namespace diary {

// One record of TblDatos.
struct Tarea {
    qint32 Indice = 0;
    QString Fecha;
    QString Descripcion;
    QString Tarea;

    // The text by which a task stands in the list and is mapped back to its record.
    QString Linea() const { return Fecha + QStringLiteral(" - ") + Tarea; }
};

// An operation that failed: the engine's number and a description for the user.
struct ErrorAlmacen {
    int numero = 0;
    QString descripcion;
};

// The diary's task file Rendalio.dat: one table TblDatos, visited in ascending key
// order, with a current record ("the cursor") that the window's operations move.
class AlmacenTareas {
public:
    static QString NombreArchivo() { return QStringLiteral("Rendalio.dat"); }

    // Creates the file with the empty table, built aside and renamed into place, so a
    // failure or a crash never leaves a half-made store. A file that holds nothing (see
    // ArchivoVacio) is replaced; any other existing file is refused.
    static std::optional<ErrorAlmacen> CrearAlmacen(const QString& ruta);
    // A regular file of zero bytes with no journal holding data beside it: a store that
    // was never written, as good as missing.
    static bool ArchivoVacio(const QString& ruta);

    // Opens an existing file for the whole run without changing it. On failure the
    // error carries a Spanish reason fit for the user.
    std::optional<ErrorAlmacen> AbrirAlmacen(const QString& ruta);
    void CerrarAlmacen();
    bool Abierto() const { return db_.Abierta(); }

    qint32 Contar();
    // Every record in cursor order; the descriptions only when asked for. A pass of its
    // own (moverCursor false) leaves the current record where it was.
    QVector<Tarea> Enumerar(bool conDescripcion = false, bool moverCursor = true);
    // The task line of every record in cursor order (Tarea::Linea); the cursor ends past
    // the last record.
    QStringList Lineas();

    // The first record in cursor order whose task line equals the text exactly; it
    // becomes the current record.
    std::optional<Tarea> BuscarPorLinea(const QString& linea);
    // The record with that key, made current.
    std::optional<Tarea> BuscarPorIndice(qint32 indice);
    // Whether some record has this date and reference, without regard to case.
    bool ExisteFechaReferencia(const QString& fecha, const QString& referencia);

    // Starting a new record (its key is assigned when it is written) or a change of the
    // record with the given key.
    void Anadir();
    void EditarActual(qint32 indice);
    // Writes the record started by Anadir or EditarActual (the date upper-cased) and
    // makes it current; returns its key, or the error (nothing is then written).
    std::optional<qint32> EscribirYConfirmar(const QString& fecha, const QString& descripcion,
                                             const QString& referencia,
                                             ErrorAlmacen* error = nullptr);
    // Removes the current record.
    std::optional<ErrorAlmacen> BorrarActual();

    std::optional<qint32> Actual() const { return actual_; }
    // The failure of the last reading operation that could not read the file (held by
    // another program, damaged since it was opened), cleared by the call. The readers
    // answer "nothing" then, which the window must not take for an empty table.
    std::optional<ErrorAlmacen> TomarErrorLectura() { return std::exchange(errorLectura_, {}); }

    // The key a new record would get: one more than the highest, 1 in an empty table;
    // should the highest key be the largest one there is, the lowest free key instead.
    std::optional<qint32> SiguienteIndice();

private:
    ErrorAlmacen Error(int codigo);
    void AnotarLectura(int codigo);
    // The SQL functions the lookups by line use (ES_LINEA, ES_LINEA_MAYUS).
    void CrearFunciones();
    // The first row of a lookup, made the current record.
    std::optional<Tarea> TomarPrimera(comun::sql::Sentencia& s);

    comun::sql::Conexion db_;
    std::optional<qint32> actual_;
    enum class Pendiente { Nada, Nuevo, Edicion } pendiente_ = Pendiente::Nada;
    qint32 indiceEdicion_ = 0;
    std::optional<ErrorAlmacen> errorLectura_;
};

// The Spanish wording of an engine failure for the user.
QString DescribirError(int codigo, const QString& textoMotor);

} // namespace diary
