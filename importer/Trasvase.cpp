#include "Trasvase.h"

#include "Esquema.h"
#include "Reemplazo.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <limits>

namespace importer {

namespace {
QString Visible(const QString& ruta) {
    return QDir::toNativeSeparators(ruta);
}

QString NoSeEncuentra(const QString& ruta) {
    return QStringLiteral("No se encuentra el archivo «%1».").arg(Visible(ruta));
}

// The host makes its address book at its first start; the wizard never makes one.
QString SinLibreta(const QString& ruta) {
    return NoSeEncuentra(ruta) +
           QStringLiteral(" Inicie la Vemora una vez para que cree su libreta de direcciones, "
                          "ciérrela y vuelva a ejecutar este asistente.");
}

QString NoEsLibreta(const QString& ruta) {
    return QStringLiteral("«%1» no es un archivo de datos: no es la base de datos de la Vemora.")
        .arg(Visible(ruta));
}

QString EstaVacio(const QString& ruta) {
    return QStringLiteral("El archivo «%1» está vacío: no es la base de datos de la Vemora.")
        .arg(Visible(ruta));
}

QString SinPermiso(const QString& ruta) {
    return QStringLiteral("No tiene permiso para escribir en el archivo «%1».").arg(Visible(ruta));
}

// The field named in an engine message such as "table Datos has no column named Url",
// "no such column: Url" or "NOT NULL constraint failed: Datos.Grupo".
QString CampoDelMensaje(const QString& mensaje, const QString& prefijo) {
    QString campo = mensaje.mid(mensaje.indexOf(prefijo) + prefijo.size()).trimmed();
    campo = campo.section(QLatin1Char(' '), 0, 0);
    if (campo.startsWith(QLatin1String("Datos.")))
        campo = campo.mid(6);
    return campo;
}

const QString kDesbordamiento = QStringLiteral("Desbordamiento.");
} // namespace

QString DescribirError(int codigo, const QString& mensajeMotor, const QString& ruta) {
    switch (codigo & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("El archivo «%1» está en uso por otro programa.").arg(Visible(ruta));
    case SQLITE_NOTADB:
        // Encrypted pages read with the wrong key and a file of another kind look the same.
        return QStringLiteral("Contraseña no válida: el archivo «%1» no es una base de datos de "
                              "la Vemora o no se puede abrir con su contraseña.")
            .arg(Visible(ruta));
    case SQLITE_CANTOPEN: {
        if (!QFileInfo::exists(ruta))
            return SinLibreta(ruta);
        // The journal beside the database could not be made.
        const QFileInfo carpeta(QFileInfo(ruta).absolutePath());
        if (!carpeta.isWritable())
            return QStringLiteral("No tiene permiso para escribir en la carpeta «%1».")
                .arg(Visible(carpeta.absoluteFilePath()));
        return QStringLiteral("No se puede abrir el archivo «%1».").arg(Visible(ruta));
    }
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return SinPermiso(ruta);
    case SQLITE_FULL:
        return QStringLiteral("El disco está lleno.");
    case SQLITE_CORRUPT:
        return QStringLiteral("El archivo «%1» está dañado.").arg(Visible(ruta));
    case SQLITE_CONSTRAINT: {
        // The table names each size rule after its field.
        const QString prefijo = QStringLiteral("CHECK constraint failed: ");
        if (mensajeMotor.startsWith(prefijo)) {
            const QString campo = mensajeMotor.mid(prefijo.size()).trimmed();
            if (campo == QLatin1String("Indice"))
                return kDesbordamiento;
            return QStringLiteral("El campo «%1» es demasiado pequeño para aceptar el valor "
                                  "que se intentó guardar.")
                .arg(campo);
        }
        const QString noNulo = QStringLiteral("NOT NULL constraint failed:");
        if (mensajeMotor.startsWith(noNulo))
            return QStringLiteral("El campo «%1» de la tabla «Datos» no puede quedar vacío.")
                .arg(CampoDelMensaje(mensajeMotor, noNulo));
        const QString unico = QStringLiteral("UNIQUE constraint failed:");
        if (mensajeMotor.startsWith(unico))
            return QStringLiteral("La tabla «Datos» ya tiene otro contacto con el mismo valor en "
                                  "el campo «%1».")
                .arg(CampoDelMensaje(mensajeMotor, unico));
        return QStringLiteral("La tabla «Datos» no acepta el valor: %1").arg(mensajeMotor);
    }
    default:
        break;
    }
    if (mensajeMotor.startsWith(QLatin1String("no such table")))
        return QStringLiteral("No se encuentra la tabla «Datos» en el archivo «%1».")
            .arg(Visible(ruta));
    // A SELECT names the missing column one way, an INSERT or UPDATE the other.
    for (const QString& prefijo :
         {QStringLiteral("no such column:"), QStringLiteral("has no column named")}) {
        if (mensajeMotor.contains(prefijo))
            return QStringLiteral("A la tabla «Datos» del archivo «%1» le falta el campo «%2».")
                .arg(Visible(ruta), CampoDelMensaje(mensajeMotor, prefijo));
    }
    return QStringLiteral("Error de la base de datos: %1").arg(mensajeMotor);
}

namespace {
// Why no copy was made, and that the copy made before is still there.
QString SinCopia(const QString& rutaCopia) {
    if (QFileInfo(rutaCopia).isFile())
        return QStringLiteral(" No se ha hecho la copia de seguridad: «%1» conserva la copia "
                              "anterior.")
            .arg(Visible(rutaCopia));
    return QStringLiteral(" No se ha hecho la copia de seguridad.");
}

// Reads the database under a shared lock, kept by `lector` until it is closed: nobody
// writes while the copy is taken, and a database held exclusively (the host running, an
// import under way) is reported as in use. A file that is not an intact address book is
// refused: its copy would replace the last good one with something the import cannot use
// either. Empty when it may be copied, else the reason.
QString ComprobarLibreta(comun::sql::Conexion& lector, const QString& rutaDatos,
                         const QString& rutaCopia) {
    const auto fallo = [&](int codigo) {
        QString error = DescribirError(codigo, lector.UltimoError(), rutaDatos);
        const int base = codigo & 0xff;
        if (base != SQLITE_BUSY && base != SQLITE_LOCKED)
            error += SinCopia(rutaCopia);
        return error;
    };
    if (!host::AbrirVemora(lector, rutaDatos, false) || !lector.Ejecutar(QStringLiteral("BEGIN")))
        return fallo(lector.UltimoCodigo());
    auto lectura = lector.Preparar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    if (!lectura.Valida())
        return fallo(lector.UltimoCodigo());
    if (const int codigo = lectura.Paso(); codigo != SQLITE_ROW) {
        lector.Anotar(codigo);
        return fallo(codigo);
    }
    // Every page decrypted and every tree walked: a file damaged in its middle or cut
    // short still opens and reads its first pages.
    auto prueba = lector.Preparar(QStringLiteral("PRAGMA quick_check"));
    if (!prueba.Valida())
        return fallo(lector.UltimoCodigo());
    int codigo = prueba.Paso();
    if (codigo == SQLITE_ROW && prueba.Texto(0) == QLatin1String("ok"))
        codigo = prueba.Paso();
    if (codigo == SQLITE_DONE)
        return {};
    return fallo(codigo == SQLITE_ROW ? SQLITE_CORRUPT : codigo);
}

// The copy holds the whole address book: it is never open to more people than the
// database is. The mode bits are those of the database, less any that an old copy had
// taken away; the group's bits only count when the copy ends up in the database's group
// (a copy replaced by the administrator keeps its old owner and group, any other belongs
// to whoever makes it).
QFileDevice::Permissions PermisosCopia(const QFileInfo& datos, const QString& rutaCopia,
                                       const QString& rutaTemporal) {
    constexpr auto kDelUsuario =
        QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
    constexpr auto kDelGrupo =
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup;
    QFileDevice::Permissions permisos = datos.permissions() & ~kDelUsuario;
    const QFileInfo anterior(rutaCopia);
    const QFileInfo temporal(rutaTemporal);
    uint grupo = temporal.groupId();
    if (anterior.isFile()) {
        permisos &= anterior.permissions();
        if (temporal.ownerId() == 0)
            grupo = anterior.groupId();
    }
    if (grupo != datos.groupId())
        permisos &= ~kDelGrupo;
    return permisos;
}
} // namespace

QString CopiarDatos(QFile& origen, const QString& rutaEscritura, const QString& rutaCopia) {
    const auto noSeLee = [&] {
        return QStringLiteral("No se puede leer el archivo «%1».").arg(Visible(origen.fileName()));
    };
    const auto noSeEscribe = [&](const QFile& destino) {
        if (destino.error() == QFileDevice::ResourceError)
            return QStringLiteral("El disco está lleno.");
        return QStringLiteral("No se puede escribir el archivo «%1».").arg(Visible(rutaCopia));
    };
    // Pieces of 1 MiB written as they come: a failure is known at the write that meets it.
    QFile destino(rutaEscritura);
    if (!destino.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return noSeEscribe(destino);
    constexpr qint64 kTrozo = 1 << 20;
    qint64 copiados = 0;
    while (!origen.atEnd()) {
        const QByteArray trozo = origen.read(kTrozo);
        if (trozo.isEmpty() && origen.error() != QFileDevice::NoError)
            return noSeLee();
        if (destino.write(trozo) != trozo.size())
            return noSeEscribe(destino);
        copiados += trozo.size();
    }
    // A file that changed size while being read is not a whole copy.
    if (origen.error() != QFileDevice::NoError || copiados != origen.size())
        return noSeLee();
    destino.close();
    if (destino.error() != QFileDevice::NoError)
        return noSeEscribe(destino);
    return {};
}

QString HacerCopiaSeguridad(const QString& rutaDatos, const QString& rutaCopia) {
    const QFileInfo datos(rutaDatos);
    if (!datos.exists())
        return SinLibreta(rutaDatos);
    if (!datos.isFile())
        return NoEsLibreta(rutaDatos) + SinCopia(rutaCopia);
    // An empty file would be taken for an empty database by the engine; it is not read
    // through it at all.
    if (datos.size() == 0)
        return EstaVacio(rutaDatos) + SinCopia(rutaCopia);

    comun::sql::Conexion lector;
    if (QString motivo = ComprobarLibreta(lector, rutaDatos, rutaCopia); !motivo.isEmpty())
        return motivo;

    QFile origen(rutaDatos);
    if (!origen.open(QIODevice::ReadOnly))
        return QStringLiteral("No se puede leer el archivo «%1».").arg(Visible(rutaDatos));
    comun::ReemplazoAtomico destino(rutaCopia);
    if (!destino.Valido())
        return QStringLiteral("No se puede crear el archivo «%1».").arg(Visible(rutaCopia));
    destino.ForzarPermisos(PermisosCopia(datos, rutaCopia, destino.RutaTemporal()));
    if (QString error = CopiarDatos(origen, destino.RutaTemporal(), rutaCopia); !error.isEmpty())
        return error;
    if (!destino.Publicar())
        return QStringLiteral("No se puede escribir el archivo «%1».").arg(Visible(rutaCopia));
    return {};
}

bool Trasvase::Fallo(int codigo) {
    error_ = DescribirError(codigo, conexion_.UltimoError(), ruta_);
    return false;
}

bool Trasvase::Fallo(const QString& descripcion) {
    error_ = descripcion;
    return false;
}

bool Trasvase::FalloDeSentencia(const comun::sql::Sentencia& sentencia) {
    conexion_.Anotar(sentencia.Codigo());
    // A rule that refuses the record leaves the batch as it was; an I/O or memory failure
    // halfway makes the engine roll the whole transaction back.
    if (enTransaccion_ && sqlite3_get_autocommit(conexion_.Manejador())) {
        enTransaccion_ = false;
        lotePerdido_ = true;
    }
    return Fallo(sentencia.Codigo());
}

// The last record's Indice in stored order and the first record of each name.
bool Trasvase::LeerEstado() {
    primeros_.clear();
    ultimoIndice_ = 0;
    auto ultimo =
        conexion_.Preparar(QStringLiteral("SELECT Indice FROM Datos ORDER BY rowid DESC LIMIT 1"));
    if (!ultimo.Valida())
        return Fallo(conexion_.UltimoCodigo());
    const int codigo = ultimo.Paso();
    if (codigo == SQLITE_ROW)
        ultimoIndice_ = ultimo.Entero(0);
    else if (codigo != SQLITE_DONE) {
        conexion_.Anotar(codigo);
        return Fallo(codigo);
    }

    auto nombres =
        conexion_.Preparar(QStringLiteral("SELECT rowid, Nombre FROM Datos ORDER BY rowid"));
    if (!nombres.Valida())
        return Fallo(conexion_.UltimoCodigo());
    int paso;
    while ((paso = nombres.Paso()) == SQLITE_ROW) {
        if (nombres.EsNulo(1))
            continue; // a record without a name matches nothing
        const QString clave = ClaveNombre(nombres.Texto(1));
        if (!primeros_.contains(clave))
            primeros_.insert(clave, nombres.Entero(0));
    }
    if (paso != SQLITE_DONE) {
        conexion_.Anotar(paso);
        return Fallo(paso);
    }
    return true;
}

bool Trasvase::Abrir(const QString& ruta) {
    Cerrar();
    ruta_ = ruta;
    error_.clear();
    primeros_.clear();
    ultimoIndice_ = 0;
    lotePerdido_ = false;
    const QFileInfo datos(ruta);
    if (!datos.exists())
        return Fallo(SinLibreta(ruta));
    if (!datos.isFile())
        return Fallo(NoEsLibreta(ruta));
    // The engine takes an empty file for an empty database and would write one into it
    // at the first commit.
    if (datos.size() == 0)
        return Fallo(EstaVacio(ruta));
    const bool bien = [&] {
        if (!host::AbrirVemora(conexion_, ruta, false))
            return Fallo(conexion_.UltimoCodigo());
        // A file the process may not write is opened read-only by the engine without a
        // word; say so now rather than at the first contact.
        if (sqlite3_db_readonly(conexion_.Manejador(), "main") == 1)
            return Fallo(SinPermiso(ruta));
        // Exclusive for the whole import: the lock taken here is kept across commits, and
        // with it the page cache. A cache that holds the whole table (up to 32 MiB) keeps
        // the pages the name scan decrypted for the updates that follow.
        if (!conexion_.Ejecutar(QStringLiteral("PRAGMA cache_size = -32768")) ||
            !conexion_.Ejecutar(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE")) ||
            !conexion_.Ejecutar(QStringLiteral("BEGIN EXCLUSIVE")))
            return Fallo(conexion_.UltimoCodigo());
        enTransaccion_ = true;

        if (!LeerEstado())
            return false;

        // OR FAIL: a single-record statement refused by a rule has changed nothing, so
        // it needs no statement journal. That journal would copy (and encrypt) every
        // page each UPDATE touches, the largest cost of the import.
        alta_ = conexion_.Preparar(
            QStringLiteral("INSERT OR FAIL INTO Datos (Indice, Nombre, Email, Direccion, Telefono, "
                           "Celular, Url, Notas) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
        if (!alta_.Valida())
            return Fallo(conexion_.UltimoCodigo());
        cambio_ = conexion_.Preparar(QStringLiteral(
            "UPDATE OR FAIL Datos SET Nombre = ?, Email = ?, Direccion = ?, Telefono = ?, "
            "Celular = ?, Url = ?, Notas = ? WHERE rowid = ?"));
        if (!cambio_.Valida())
            return Fallo(conexion_.UltimoCodigo());
        return true;
    }();
    if (!bien) {
        const QString error = error_;
        enTransaccion_ = false; // nothing to keep
        alta_ = {};
        cambio_ = {};
        conexion_.Cerrar();
        error_ = error;
    }
    return bien;
}

bool Trasvase::Incluir(const FilaDatos& fila) {
    const auto enlazar = [&fila](comun::sql::Sentencia& s, int primero) {
        s.Enlazar(primero, fila.Nombre)
            .Enlazar(primero + 1, fila.Email)
            .Enlazar(primero + 2, fila.Direccion)
            .Enlazar(primero + 3, fila.Telefono)
            .Enlazar(primero + 4, fila.Celular)
            .Enlazar(primero + 5, fila.Url)
            .Enlazar(primero + 6, fila.Notas);
    };
    const auto encontrado = primeros_.constFind(fila.clave);
    if (encontrado != primeros_.constEnd()) {
        const qint64 rowid = encontrado.value();
        cambio_.Reiniciar();
        enlazar(cambio_, 1);
        cambio_.Enlazar(8, rowid);
        if (!cambio_.Ejecutar())
            return FalloDeSentencia(cambio_);
        // Only an empty name changes the record's key (it is stored as "?").
        const QString nueva = ClaveNombre(fila.Nombre);
        if (nueva != fila.clave)
            CambiarClave(rowid, fila.clave, nueva);
        return true;
    }
    if (ultimoIndice_ >= std::numeric_limits<qint32>::max())
        return Fallo(kDesbordamiento);
    alta_.Reiniciar();
    alta_.Enlazar(1, ultimoIndice_ + 1);
    enlazar(alta_, 2);
    if (!alta_.Ejecutar())
        return FalloDeSentencia(alta_);
    ++ultimoIndice_;
    // A new record comes last in stored order: it is the first of its name only when
    // no earlier record carries that name.
    const QString clave = ClaveNombre(fila.Nombre);
    if (!primeros_.contains(clave))
        primeros_.insert(clave, sqlite3_last_insert_rowid(conexion_.Manejador()));
    return true;
}

void Trasvase::CambiarClave(qint64 rowid, const QString& anterior, const QString& nueva) {
    // The next record (stored order) with the old name becomes the first of that name.
    primeros_.remove(anterior);
    auto siguientes = conexion_.Preparar(
        QStringLiteral("SELECT rowid, Nombre FROM Datos WHERE rowid > ? ORDER BY rowid"));
    siguientes.Enlazar(1, rowid);
    while (siguientes.Fila()) {
        if (!siguientes.EsNulo(1) && ClaveNombre(siguientes.Texto(1)) == anterior) {
            primeros_.insert(anterior, siguientes.Entero(0));
            break;
        }
    }
    const auto actual = primeros_.constFind(nueva);
    if (actual == primeros_.constEnd() || actual.value() > rowid)
        primeros_.insert(nueva, rowid);
}

bool Trasvase::Confirmar() {
    if (!conexion_.Abierta())
        return true;
    if (enTransaccion_) {
        if (!conexion_.Ejecutar(QStringLiteral("COMMIT"))) {
            Fallo(conexion_.UltimoCodigo());
            // A commit that failed may leave the batch open or half given up: it is given
            // up whole, and the caller makes it again.
            if (!sqlite3_get_autocommit(conexion_.Manejador()))
                conexion_.Ejecutar(QStringLiteral("ROLLBACK"));
            enTransaccion_ = false;
            lotePerdido_ = true;
            return false;
        }
        enTransaccion_ = false;
    }
    if (!conexion_.Ejecutar(QStringLiteral("BEGIN")))
        return Fallo(conexion_.UltimoCodigo());
    enTransaccion_ = true;
    return true;
}

bool Trasvase::Recuperar() {
    lotePerdido_ = false;
    if (!conexion_.Abierta())
        return false;
    if (!conexion_.Ejecutar(QStringLiteral("BEGIN")))
        return Fallo(conexion_.UltimoCodigo());
    enTransaccion_ = true;
    return LeerEstado();
}

void Trasvase::Cerrar() {
    if (conexion_.Abierta() && enTransaccion_)
        conexion_.Ejecutar(QStringLiteral("COMMIT"));
    enTransaccion_ = false;
    alta_ = {};
    cambio_ = {};
    conexion_.Cerrar();
}

namespace {
QString VerSeparador(QChar separador) {
    return separador == u'\t' ? QStringLiteral("tabulador") : QStringLiteral("«%1»").arg(separador);
}

QString ErrorDeContacto(qsizetype k, const QString& linea, const Particion& particion,
                        QChar separador) {
    if (linea.trimmed().isEmpty())
        return QStringLiteral("La línea del contacto %1 de «Datos.csv» está en blanco.").arg(k);
    constexpr int kMuestra = 40;
    const QString muestra =
        linea.size() > kMuestra ? linea.left(kMuestra) + QStringLiteral("...") : linea;
    return QStringLiteral("Faltan datos en el contacto %1 de «Datos.csv» («%2»): no se encuentra "
                          "el separador %3 del campo %4.")
        .arg(k)
        .arg(muestra, VerSeparador(separador))
        .arg(particion.campoSinSeparador);
}

} // namespace

QString ImportarContactos(const ArchivoContactos& archivo, const QString& rutaDatos,
                          const AvisosImportacion& avisos) {
    Trasvase tabla;
    if (!tabla.Abrir(rutaDatos))
        return tabla.Error();

    const QStringList& registros = archivo.registros;
    const qsizetype total = registros.size() - 1;
    const auto progreso = [&](qsizetype k) {
        if (avisos.progreso)
            avisos.progreso(k, total);
    };
    const auto incluir = [&](qsizetype k) -> QString {
        const Particion particion = PartirContacto(registros[k], archivo.separador);
        if (!particion.campos)
            return ErrorDeContacto(k, registros[k], particion, archivo.separador);
        if (!tabla.Incluir(ComponerFila(*particion.campos)))
            return tabla.Error();
        return {};
    };
    // Contacts 1 to `confirmados` are permanent.
    qsizetype confirmados = 0;
    // Makes the contacts before `hasta` permanent, in one commit. When the engine gives
    // that batch up (its commit failed, or a failure halfway through a statement rolled it
    // back), its contacts are made again one commit each, so that a fault that lasts (a
    // full disk) keeps every contact before the one it stops, as it would have had each
    // contact been committed alone. Empty when all are in; else the failure of the first
    // contact that could not be kept.
    const auto confirmarHasta = [&](qsizetype hasta) -> QString {
        if (!tabla.LotePerdido()) {
            if (tabla.Confirmar()) {
                confirmados = hasta - 1;
                return {};
            }
            if (!tabla.LotePerdido()) { // committed, but no next batch could be started
                confirmados = hasta - 1;
                return tabla.Error();
            }
        }
        if (!tabla.Recuperar())
            return tabla.Error();
        for (qsizetype j = confirmados + 1; j < hasta; ++j) {
            QString error = incluir(j);
            if (error.isEmpty() && !tabla.Confirmar())
                error = tabla.Error();
            if (!error.isEmpty()) {
                progreso(j);
                return error;
            }
            confirmados = j;
        }
        return {};
    };

    // Everything read so far is committed before the caller gets to run its events (Back,
    // close) and before a failure is reported, so those always find the same contacts
    // stored.
    QElapsedTimer reloj;
    for (qsizetype k = 1; k <= total; ++k) {
        if (k == 1 || reloj.elapsed() >= avisos.intervaloMs) {
            if (const QString error = confirmarHasta(k); !error.isEmpty())
                return error;
            if (avisos.entreLotes && !avisos.entreLotes(confirmados))
                return {}; // what was read is stored
            reloj.start();
            progreso(k);
        }
        if (const QString error = incluir(k); !error.isEmpty()) {
            progreso(k);
            // The contacts before it stay; one of them may fail first.
            const QString antes = confirmarHasta(k);
            return antes.isEmpty() ? error : antes;
        }
    }
    if (total > 0)
        progreso(total);
    return confirmarHasta(total + 1);
}

} // namespace importer
