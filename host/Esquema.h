#pragma once

// Vemora.dat, the host's address book: an SQLCipher database with the table Datos.
// Both the stand-in host and the import wizard open it through these functions, and
// the tests build their fixtures with them, so the schema lives in one place.

#include "BaseDatos.h"

#include <QList>
#include <QString>

namespace host {

inline const QString kArchivoDatos = QStringLiteral("Vemora.dat");

// Largest number of characters each text field accepts; a longer value is refused by
// the table itself (a CHECK constraint named after the field).
struct LimitesCampos {
    static constexpr int Nombre = 100;
    static constexpr int Email = 100;
    static constexpr int Direccion = 255;
    static constexpr int Telefono = 50;
    static constexpr int Celular = 50;
    static constexpr int Url = 255;
    static constexpr int Notas = 65535;
    static constexpr int Grupo = 50;
};

// Opens an existing database (or creates the file when `crear`) and gives it the key.
// Nothing is read yet: a wrong key shows at the first statement.
bool AbrirVemora(comun::sql::Conexion& conexion, const QString& ruta, bool crear);

// The statement that creates Datos; its own fields (Grupo, Favorito, Alta) have defaults.
QString SqlCrearDatos();

// Creates Vemora.dat with an empty Datos when the file is missing. False with a
// description when it cannot.
bool CrearVemoraSiFalta(const QString& ruta, QString* error = nullptr);

struct Contacto {
    qint64 Indice = 0;
    QString Nombre, Email, Direccion, Telefono, Celular, Url, Notas;
    QString Grupo;
    int Favorito = 0;
    QString Alta;
};

// Every record in stored order (the table's rowid order).
bool LeerContactos(comun::sql::Conexion& conexion, QList<Contacto>& contactos);

// Adds one record with every field given (fixtures, the host's own use).
bool AgregarContacto(comun::sql::Conexion& conexion, const Contacto& contacto);

} // namespace host
