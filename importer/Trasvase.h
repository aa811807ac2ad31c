#pragma once

// The database side of the wizard: the safety copy of Vemora.dat and the merge of the
// contacts into its table Datos.

#include "BaseDatos.h"
#include "Csv.h"
#include "Exportacion.h"
#include "MotorDatos.h"

#include <QFile>
#include <QHash>
#include <QString>
#include <QStringList>

namespace importer {

// Byte copy of `rutaDatos` to `rutaCopia`. The copy is written to a temporary file of the
// same folder and renamed over the old copy only when complete, so a failure leaves the
// previous copy whole. The database is read under its shared lock so the copy is never
// taken in the middle of someone else's write; a database held by the host cannot be
// copied ("in use"). A file that is not the host's database (empty, foreign, another
// password) or is damaged (it fails the engine's quick check) is not copied: it would
// only replace the last good copy with something the import cannot use either. The copy
// is never more readable than the database. Returns an empty text on success, else the
// description.
QString HacerCopiaSeguridad(const QString& rutaDatos, const QString& rutaCopia);

// The bytes of `origen` (open for reading) written to `rutaEscritura`, the temporary of the
// copy `rutaCopia`. Empty on success, else the description ("El disco está lleno." when
// the disk fills).
QString CopiarDatos(QFile& origen, const QString& rutaEscritura, const QString& rutaCopia);

// Vemora.dat opened exclusively for the import. Contacts go in through Incluir; they are
// kept in a transaction until Confirmar, which the caller runs before letting the window
// process events and before reporting a failure.
class Trasvase {
public:
    Trasvase() = default;
    Trasvase(const Trasvase&) = delete;
    Trasvase& operator=(const Trasvase&) = delete;
    ~Trasvase() { Cerrar(); }

    // Opens with the password, takes the exclusive lock, reads the last record's Indice
    // in stored order and the names of every record.
    bool Abrir(const QString& ruta);

    // A contact whose capitalised name equals that of a record (the first in stored
    // order) replaces that record's imported fields; any other is added with the next
    // Indice. The contact is dropped when the table refuses it.
    bool Incluir(const FilaDatos& fila);

    // Makes everything included so far permanent and starts the next batch. A failed
    // commit gives the whole batch up (LotePerdido).
    bool Confirmar();

    // Confirms what is pending and gives the database back.
    void Cerrar();

    // True after a failure that made the engine give up the whole batch (a failed commit,
    // an I/O or memory failure in the middle of a statement), not only the contact in
    // progress.
    bool LotePerdido() const { return lotePerdido_; }
    // After a lost batch: a new one, with the names and the last Indice as they are stored.
    bool Recuperar();

    bool Abierta() const { return conexion_.Abierta(); }
    const QString& Error() const { return error_; }
    qint64 UltimoIndice() const { return ultimoIndice_; }

private:
    bool Fallo(int codigo);
    bool Fallo(const QString& descripcion);
    bool FalloDeSentencia(const comun::sql::Sentencia& sentencia);
    bool LeerEstado();
    void CambiarClave(qint64 rowid, const QString& anterior, const QString& nueva);

    comun::sql::Conexion conexion_;
    comun::sql::Sentencia alta_, cambio_;
    // Capitalised name -> rowid of the first record (stored order) that carries it.
    QHash<QString, qint64> primeros_;
    qint64 ultimoIndice_ = 0;
    bool enTransaccion_ = false;
    bool lotePerdido_ = false;
    QString ruta_;
    QString error_;
};

// Descriptions of the engine's failures, in the words a user of the wizard reads.
QString DescribirError(int codigo, const QString& mensajeMotor, const QString& ruta);

// The second and third phases: Vemora.dat opened exclusively, one contact per record
// line. An empty result when every contact is in (or the caller stopped it); else the
// description of the failure, with the contacts before the failing one kept.
QString ImportarContactos(const ArchivoContactos& archivo, const QString& rutaDatos,
                          const AvisosImportacion& avisos);

// The engine that runs the functions above in this process: the tests', and the one the
// module of the program hands out.
class MotorDirecto : public MotorDatos {
public:
    QString HacerCopiaSeguridad(const QString& rutaDatos, const QString& rutaCopia) override {
        return importer::HacerCopiaSeguridad(rutaDatos, rutaCopia);
    }
    QString ImportarContactos(const ArchivoContactos& archivo, const QString& rutaDatos,
                              const AvisosImportacion& avisos) override {
        return importer::ImportarContactos(archivo, rutaDatos, avisos);
    }
};

} // namespace importer
