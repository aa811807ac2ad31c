#include "Esquema.h"

#include "Reemplazo.h"

#include <QFile>
#include <QFileInfo>

namespace host {

namespace {
// The database password of the host's address book.
constexpr char kClave[] = "quolby";

QString Limite(const char* campo, int largo) {
    return QStringLiteral("CONSTRAINT %1 CHECK (%1 IS NULL OR length(%1) <= %2)")
        .arg(QLatin1String(campo))
        .arg(largo);
}
} // namespace

bool AbrirVemora(comun::sql::Conexion& conexion, const QString& ruta, bool crear) {
    const int flags = SQLITE_OPEN_READWRITE | (crear ? SQLITE_OPEN_CREATE : 0);
    if (!conexion.Abrir(ruta, flags))
        return false;
    // The key is given before anything is read; a wrong one shows at the first statement.
    if (!conexion.Ejecutar(QStringLiteral("PRAGMA key = '%1'").arg(QLatin1String(kClave)))) {
        conexion.Cerrar();
        return false;
    }
    return true;
}

QString SqlCrearDatos() {
    using L = LimitesCampos;
    return QStringLiteral("CREATE TABLE Datos ("
                          "Indice INTEGER NOT NULL CONSTRAINT Indice CHECK (Indice BETWEEN "
                          "-2147483648 AND 2147483647), "
                          "Nombre TEXT %1, Email TEXT %2, Direccion TEXT %3, Telefono TEXT %4, "
                          "Celular TEXT %5, Url TEXT %6, Notas TEXT %7, "
                          "Grupo TEXT NOT NULL DEFAULT 'General' %8, "
                          "Favorito INTEGER NOT NULL DEFAULT 0 CONSTRAINT Favorito CHECK "
                          "(Favorito IN (0, 1)), "
                          "Alta TEXT NOT NULL DEFAULT (date('now')))")
        .arg(Limite("Nombre", L::Nombre), Limite("Email", L::Email),
             Limite("Direccion", L::Direccion), Limite("Telefono", L::Telefono),
             Limite("Celular", L::Celular), Limite("Url", L::Url), Limite("Notas", L::Notas),
             Limite("Grupo", L::Grupo));
}

bool CrearVemoraSiFalta(const QString& ruta, QString* error) {
    if (QFileInfo::exists(ruta))
        return true;
    // Created under a temporary name and renamed when complete, so that a half-made
    // file never passes for the address book.
    comun::ReemplazoAtomico nuevo(ruta);
    comun::sql::Conexion conexion;
    bool bien = nuevo.Valido() && AbrirVemora(conexion, nuevo.RutaTemporal(), true) &&
                conexion.Ejecutar(SqlCrearDatos());
    if (!bien && error)
        *error = conexion.UltimoError();
    conexion.Cerrar();
    if (bien && !nuevo.Publicar()) {
        bien = false;
        if (error)
            *error = QStringLiteral("No se puede crear el archivo «%1».").arg(ruta);
    }
    return bien;
}

bool LeerContactos(comun::sql::Conexion& conexion, QList<Contacto>& contactos) {
    contactos.clear();
    auto consulta = conexion.Preparar(
        QStringLiteral("SELECT Indice, Nombre, Email, Direccion, Telefono, Celular, Url, Notas, "
                       "Grupo, Favorito, Alta FROM Datos ORDER BY rowid"));
    if (!consulta.Valida())
        return false;
    int codigo;
    while ((codigo = consulta.Paso()) == SQLITE_ROW) {
        Contacto c;
        c.Indice = consulta.Entero(0);
        c.Nombre = consulta.Texto(1);
        c.Email = consulta.Texto(2);
        c.Direccion = consulta.Texto(3);
        c.Telefono = consulta.Texto(4);
        c.Celular = consulta.Texto(5);
        c.Url = consulta.Texto(6);
        c.Notas = consulta.Texto(7);
        c.Grupo = consulta.Texto(8);
        c.Favorito = int(consulta.Entero(9));
        c.Alta = consulta.Texto(10);
        contactos.append(c);
    }
    if (codigo != SQLITE_DONE) {
        conexion.Anotar(codigo);
        return false;
    }
    return true;
}

bool AgregarContacto(comun::sql::Conexion& conexion, const Contacto& c) {
    auto alta = conexion.Preparar(
        QStringLiteral("INSERT INTO Datos (Indice, Nombre, Email, Direccion, Telefono, Celular, "
                       "Url, Notas, Grupo, Favorito, Alta) VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
                       "coalesce(?, 'General'), ?, coalesce(?, date('now')))"));
    if (!alta.Valida())
        return false;
    alta.Enlazar(1, c.Indice)
        .Enlazar(2, c.Nombre)
        .Enlazar(3, c.Email)
        .Enlazar(4, c.Direccion)
        .Enlazar(5, c.Telefono)
        .Enlazar(6, c.Celular)
        .Enlazar(7, c.Url)
        .Enlazar(8, c.Notas)
        .Enlazar(9, c.Grupo)
        .Enlazar(10, c.Favorito)
        .Enlazar(11, c.Alta);
    if (!alta.Ejecutar()) {
        conexion.Anotar(alta.Codigo());
        return false;
    }
    return true;
}

} // namespace host
