#include "AlmacenTareas.h"

#include "Reemplazo.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <limits>
#include <string_view>

namespace diary {

namespace {

constexpr qint32 kMayorIndice = std::numeric_limits<qint32>::max();

// How ES_LINEA reads its values: given with the function, for each connection.
enum ModoLinea : uintptr_t {
    kEnMayusculas = 1, // dates and references compared without regard to case
    kBytesUtf8 = 2,    // the file keeps its texts in UTF-8
};

// The text a value gives in a line: NULL none, a number its decimal text. Text and blobs
// are taken as they lie in the record where those are UTF-8 bytes: asking the engine
// for text would first copy them, to end them in a zero.
std::string_view TextoDe(sqlite3_value* valor, bool bytesUtf8) {
    const int tipo = sqlite3_value_type(valor);
    if (tipo == SQLITE_NULL)
        return {};
    const void* datos = bytesUtf8 && (tipo == SQLITE_TEXT || tipo == SQLITE_BLOB)
                            ? sqlite3_value_blob(valor)
                            : sqlite3_value_text(valor);
    const auto bytes = size_t(sqlite3_value_bytes(valor));
    return datos ? std::string_view(static_cast<const char*>(datos), bytes) : std::string_view();
}

bool EsAscii(std::string_view texto) {
    return std::all_of(texto.begin(), texto.end(),
                       [](char c) { return static_cast<uchar>(c) < 0x80; });
}

char MayusculaAscii(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// Takes `trozo` off the front of `resto` when it is there. In capitals, those of the
// toolkit (accented letters included; SQLite's own upper() only knows ASCII), which for
// ASCII text, as dates and most references are, are made here byte by byte.
bool QuitarDelanteIgual(std::string_view& resto, std::string_view trozo, bool enMayusculas) {
    if (enMayusculas && !EsAscii(trozo)) {
        const QByteArray mayus =
            QString::fromUtf8(trozo.data(), qsizetype(trozo.size())).toUpper().toUtf8();
        return QuitarDelanteIgual(resto, std::string_view(mayus.constData(), size_t(mayus.size())),
                                  false);
    }
    if (resto.size() < trozo.size())
        return false;
    const bool igual = enMayusculas
                           ? std::equal(trozo.begin(), trozo.end(), resto.begin(),
                                        [](char c, char m) { return MayusculaAscii(c) == m; })
                           : resto.starts_with(trozo);
    if (igual)
        resto.remove_prefix(trozo.size());
    return igual;
}

// ES_LINEA(Fecha, Tarea, linea): whether IFNULL(Fecha, '') || ' - ' || IFNULL(Tarea, '')
// is the line (in capitals, for ES_LINEA_MAYUS). The list and the duplicate test find
// their record by a scan of the table; putting the values together for every record, and
// in capitals through the toolkit's strings, cost most of the scan.
void FuncionEsLinea(sqlite3_context* contexto, int, sqlite3_value** argumentos) {
    const auto modo = reinterpret_cast<uintptr_t>(sqlite3_user_data(contexto));
    const bool bytesUtf8 = (modo & kBytesUtf8) != 0;
    const bool enMayusculas = (modo & kEnMayusculas) != 0;
    std::string_view resto = TextoDe(argumentos[2], bytesUtf8);
    const bool igual = QuitarDelanteIgual(resto, TextoDe(argumentos[0], bytesUtf8), enMayusculas) &&
                       QuitarDelanteIgual(resto, " - ", false) &&
                       QuitarDelanteIgual(resto, TextoDe(argumentos[1], bytesUtf8), enMayusculas) &&
                       resto.empty();
    sqlite3_result_int(contexto, igual ? 1 : 0);
}

Tarea LeerTarea(const comun::sql::Sentencia& s) {
    Tarea t;
    t.Indice = qint32(s.Entero(0));
    t.Fecha = s.Texto(1);
    t.Descripcion = s.Texto(2);
    t.Tarea = s.Texto(3);
    return t;
}

} // namespace

QString DescribirError(int codigo, const QString& textoMotor) {
    if (codigo == SQLITE_READONLY_DIRECTORY)
        return QStringLiteral("La carpeta del archivo no admite cambios (falta el permiso de "
                              "escritura).");
    // The engine refuses to write into a file that was deleted, moved or renamed while
    // open: the file itself is not read-only, it is no longer there.
    if (codigo == SQLITE_READONLY_DBMOVED)
        return QStringLiteral("El archivo ya no existe: se ha borrado, movido o cambiado de "
                              "nombre mientras el programa estaba abierto.");
    switch (codigo & 0xff) {
    case SQLITE_NOTADB:
        return QStringLiteral("El archivo está dañado o no es un archivo de tareas.");
    case SQLITE_CORRUPT:
        return QStringLiteral("El archivo está dañado.");
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("No se puede leer el archivo (falta el permiso o no existe).");
    case SQLITE_READONLY:
        return QStringLiteral("El archivo es de solo lectura.");
    case SQLITE_FULL:
        return QStringLiteral("No queda espacio libre en el disco.");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("Otro programa está usando el archivo.");
    case SQLITE_IOERR:
        return QStringLiteral("Error de lectura o escritura en el disco (%1).").arg(textoMotor);
    default:
        return textoMotor;
    }
}

ErrorAlmacen AlmacenTareas::Error(int codigo) {
    db_.Anotar(codigo);
    return {codigo, DescribirError(codigo, db_.UltimoError())};
}

void AlmacenTareas::AnotarLectura(int codigo) {
    if (codigo != SQLITE_ROW && codigo != SQLITE_DONE && codigo != SQLITE_OK)
        errorLectura_ = Error(codigo);
}

bool AlmacenTareas::ArchivoVacio(const QString& ruta) {
    const QFileInfo archivo(ruta);
    if (!archivo.isFile() || archivo.size() != 0)
        return false;
    // A journal with data beside an empty file may be what SQLite rolls back or replays
    // into it: the file is not known to hold nothing then.
    for (const char* sufijo : {"-journal", "-wal"}) {
        const QFileInfo diario(ruta + QLatin1String(sufijo));
        if (diario.exists() && diario.size() != 0)
            return false;
    }
    return true;
}

std::optional<ErrorAlmacen> AlmacenTareas::CrearAlmacen(const QString& ruta) {
    if (QFileInfo::exists(ruta) && !ArchivoVacio(ruta))
        return ErrorAlmacen{
            SQLITE_CANTOPEN,
            QStringLiteral("Ya existe un archivo con ese nombre y no se sustituye.")};
    // The store is made under a name of its own in the same folder and renamed over the
    // final name once complete: the final name only ever holds a whole store. It gets the
    // permissions of the empty file it replaces, or those SQLite would give a new file.
    comun::ReemplazoAtomico nuevo(ruta);
    if (!nuevo.Valido())
        return ErrorAlmacen{SQLITE_CANTOPEN,
                            QStringLiteral("No se puede crear el archivo en la carpeta del "
                                           "programa.")};
    std::optional<ErrorAlmacen> error;
    {
        comun::sql::Conexion db;
        if (!db.Abrir(nuevo.RutaTemporal(), SQLITE_OPEN_READWRITE)) {
            error = ErrorAlmacen{db.UltimoCodigo(),
                                 DescribirError(db.UltimoCodigo(), db.UltimoError())};
        } else if (!db.Ejecutar(QStringLiteral("CREATE TABLE TblDatos(Indice INTEGER PRIMARY KEY, "
                                               "Fecha TEXT, Descripcion TEXT, Tarea TEXT)"))) {
            error = ErrorAlmacen{db.UltimoCodigo(),
                                 DescribirError(db.UltimoCodigo(), db.UltimoError())};
        }
    } // the engine releases the new file before it is renamed
    if (!error && !nuevo.Publicar())
        error = ErrorAlmacen{SQLITE_CANTOPEN,
                             QStringLiteral("No se puede dar su nombre al archivo nuevo.")};
    return error;
}

std::optional<ErrorAlmacen> AlmacenTareas::AbrirAlmacen(const QString& ruta) {
    CerrarAlmacen();
    // Never SQLITE_OPEN_CREATE: a file that vanished must not come back empty.
    if (!db_.Abrir(ruta, SQLITE_OPEN_READWRITE)) {
        const int codigo = db_.UltimoCodigo();
        return ErrorAlmacen{codigo, DescribirError(codigo, db_.UltimoError())};
    }
    sqlite3_busy_timeout(db_.Manejador(), 2000);

    // Reading the header and the table's columns tells a damaged or foreign file
    // before the window relies on it; none of this writes to the file.
    std::optional<ErrorAlmacen> error;
    {
        auto comprobacion = db_.Preparar(QStringLiteral("PRAGMA quick_check(1)"));
        if (!comprobacion.Valida()) {
            error = Error(comprobacion.Codigo());
        } else if (!comprobacion.Fila()) {
            error = Error(comprobacion.Codigo());
        } else if (comprobacion.Texto(0) != QLatin1String("ok")) {
            error = ErrorAlmacen{SQLITE_CORRUPT, DescribirError(SQLITE_CORRUPT, {})};
        }
    }
    if (!error) {
        auto tabla = db_.Preparar(QStringLiteral(
            "SELECT Indice, Fecha, Descripcion, Tarea FROM TblDatos ORDER BY Indice LIMIT 1"));
        if (!tabla.Valida()) {
            error = ErrorAlmacen{tabla.Codigo(),
                                 QStringLiteral("El archivo no contiene la tabla de tareas "
                                                "TblDatos con sus campos.")};
        } else if (const int paso = tabla.Paso(); paso != SQLITE_ROW && paso != SQLITE_DONE) {
            error = Error(paso);
        }
    }
    if (error)
        CerrarAlmacen();
    else
        CrearFunciones();
    return error;
}

void AlmacenTareas::CrearFunciones() {
    auto codificacion = db_.Preparar(QStringLiteral("PRAGMA encoding"));
    const uintptr_t utf8 = codificacion.Fila() && codificacion.Texto(0) == QLatin1String("UTF-8")
                               ? uintptr_t(kBytesUtf8)
                               : 0;
    for (const auto& [nombre, modo] :
         {std::pair{"ES_LINEA", utf8}, std::pair{"ES_LINEA_MAYUS", utf8 | kEnMayusculas}})
        sqlite3_create_function_v2(db_.Manejador(), nombre, 3, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                   reinterpret_cast<void*>(modo), FuncionEsLinea, nullptr, nullptr,
                                   nullptr);
}

void AlmacenTareas::CerrarAlmacen() {
    actual_.reset();
    pendiente_ = Pendiente::Nada;
    db_.Cerrar();
}

qint32 AlmacenTareas::Contar() {
    if (!Abierto())
        return 0;
    auto s = db_.Preparar(QStringLiteral("SELECT COUNT(*) FROM TblDatos"));
    if (!s.Fila()) {
        AnotarLectura(s.Codigo());
        return 0;
    }
    return qint32(qMin<qint64>(s.Entero(0), kMayorIndice));
}

QVector<Tarea> AlmacenTareas::Enumerar(bool conDescripcion, bool moverCursor) {
    if (!Abierto())
        return {};
    QVector<Tarea> tareas;
    auto s =
        db_.Preparar(conDescripcion ? QStringLiteral("SELECT Indice, Fecha, Descripcion, Tarea "
                                                     "FROM TblDatos ORDER BY Indice")
                                    : QStringLiteral("SELECT Indice, Fecha, NULL, Tarea "
                                                     "FROM TblDatos ORDER BY Indice"));
    while (s.Fila())
        tareas.append(LeerTarea(s));
    AnotarLectura(s.Codigo());
    if (moverCursor)
        actual_.reset(); // the cursor ends past the last record
    return tareas;
}

QStringList AlmacenTareas::Lineas() {
    if (!Abierto())
        return {};
    QStringList lineas;
    auto s = db_.Preparar(QStringLiteral("SELECT Fecha, Tarea FROM TblDatos ORDER BY Indice"));
    // Put together as bytes in one buffer, then made a string at once: one string a
    // record instead of three.
    QByteArray linea;
    while (s.Fila()) {
        linea.truncate(0);
        linea.append(s.Utf8(0)).append(" - ").append(s.Utf8(1));
        lineas.append(QString::fromUtf8(linea));
    }
    AnotarLectura(s.Codigo());
    actual_.reset();
    return lineas;
}

// A record written by another tool may lack its date or reference; it still has a line,
// with the missing part empty, and the line still finds it.
std::optional<Tarea> AlmacenTareas::BuscarPorLinea(const QString& linea) {
    if (!Abierto())
        return std::nullopt;
    auto s =
        db_.Preparar(QStringLiteral("SELECT Indice, Fecha, Descripcion, Tarea FROM TblDatos "
                                    "WHERE ES_LINEA(Fecha, Tarea, ?1) ORDER BY Indice LIMIT 1"));
    s.Enlazar(1, linea);
    return TomarPrimera(s);
}

std::optional<Tarea> AlmacenTareas::TomarPrimera(comun::sql::Sentencia& s) {
    if (!s.Fila()) {
        AnotarLectura(s.Codigo());
        return std::nullopt;
    }
    Tarea t = LeerTarea(s);
    actual_ = t.Indice; // the record found becomes the current one
    return t;
}

std::optional<Tarea> AlmacenTareas::BuscarPorIndice(qint32 indice) {
    if (!Abierto())
        return std::nullopt;
    auto s = db_.Preparar(
        QStringLiteral("SELECT Indice, Fecha, Descripcion, Tarea FROM TblDatos WHERE Indice = ?1"));
    s.Enlazar(1, qint64(indice));
    return TomarPrimera(s);
}

bool AlmacenTareas::ExisteFechaReferencia(const QString& fecha, const QString& referencia) {
    if (!Abierto())
        return false;
    auto s = db_.Preparar(
        QStringLiteral("SELECT 1 FROM TblDatos WHERE ES_LINEA_MAYUS(Fecha, Tarea, ?1) LIMIT 1"));
    s.Enlazar(1, fecha.toUpper() + QStringLiteral(" - ") + referencia.toUpper());
    if (s.Fila())
        return true;
    AnotarLectura(s.Codigo());
    return false;
}

std::optional<qint32> AlmacenTareas::SiguienteIndice() {
    auto mayor = db_.Preparar(QStringLiteral("SELECT MAX(Indice) FROM TblDatos"));
    if (!mayor.Fila()) {
        AnotarLectura(mayor.Codigo());
        return std::nullopt;
    }
    if (mayor.EsNulo(0))
        return 1;
    if (mayor.Entero(0) < kMayorIndice && mayor.Entero(0) >= 0)
        return qint32(mayor.Entero(0) + 1);
    // The counter has reached the top: reuse the lowest free key rather than stop or
    // overwrite a record.
    auto hueco = db_.Preparar(QStringLiteral(
        "SELECT 1 WHERE NOT EXISTS (SELECT 1 FROM TblDatos WHERE Indice = 1) "
        "UNION ALL SELECT Indice + 1 FROM TblDatos t WHERE Indice >= 1 AND Indice < ?1 "
        "AND NOT EXISTS (SELECT 1 FROM TblDatos u WHERE u.Indice = t.Indice + 1) "
        "ORDER BY 1 LIMIT 1"));
    hueco.Enlazar(1, qint64(kMayorIndice));
    if (!hueco.Fila())
        return std::nullopt;
    return qint32(hueco.Entero(0));
}

void AlmacenTareas::Anadir() {
    pendiente_ = Pendiente::Nuevo;
}

void AlmacenTareas::EditarActual(qint32 indice) {
    pendiente_ = Pendiente::Edicion;
    indiceEdicion_ = indice;
}

std::optional<qint32> AlmacenTareas::EscribirYConfirmar(const QString& fecha,
                                                        const QString& descripcion,
                                                        const QString& referencia,
                                                        ErrorAlmacen* error) {
    const auto fallar = [&](ErrorAlmacen e) -> std::optional<qint32> {
        if (error)
            *error = std::move(e);
        return std::nullopt;
    };
    const Pendiente pendiente = std::exchange(pendiente_, Pendiente::Nada);
    if (pendiente == Pendiente::Nada || !Abierto())
        return fallar({SQLITE_MISUSE, QStringLiteral("No hay ninguna tarea que guardar.")});

    qint32 indice = indiceEdicion_;
    comun::sql::Sentencia s;
    if (pendiente == Pendiente::Nuevo) {
        const auto siguiente = SiguienteIndice();
        if (!siguiente && errorLectura_)
            return fallar(*TomarErrorLectura()); // the file could not be read, not full
        if (!siguiente)
            return fallar(
                {SQLITE_FULL, QStringLiteral("No se puede asignar una clave a la tarea nueva.")});
        indice = *siguiente;
        s = db_.Preparar(QStringLiteral("INSERT INTO TblDatos(Indice, Fecha, Descripcion, Tarea) "
                                        "VALUES(?1, ?2, ?3, ?4)"));
    } else {
        s = db_.Preparar(QStringLiteral(
            "UPDATE TblDatos SET Fecha = ?2, Descripcion = ?3, Tarea = ?4 WHERE Indice = ?1"));
    }
    if (!s.Valida())
        return fallar(Error(s.Codigo()));
    s.Enlazar(1, qint64(indice)).Enlazar(2, fecha.toUpper());
    s.Enlazar(3, descripcion).Enlazar(4, referencia);
    if (!s.Ejecutar())
        return fallar(Error(s.Codigo()));
    if (pendiente == Pendiente::Edicion && sqlite3_changes(db_.Manejador()) != 1)
        return fallar({SQLITE_NOTFOUND, QStringLiteral("La tarea ya no existe en el archivo.")});
    actual_ = indice;
    return indice;
}

std::optional<ErrorAlmacen> AlmacenTareas::BorrarActual() {
    if (!actual_ || !Abierto())
        return ErrorAlmacen{SQLITE_NOTFOUND,
                            QStringLiteral("La tarea ya no existe en el archivo.")};
    auto s = db_.Preparar(QStringLiteral("DELETE FROM TblDatos WHERE Indice = ?1"));
    if (!s.Valida())
        return Error(s.Codigo());
    s.Enlazar(1, qint64(*actual_));
    if (!s.Ejecutar())
        return Error(s.Codigo());
    actual_.reset();
    return std::nullopt;
}

} // namespace diary
