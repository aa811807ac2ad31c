#pragma once

// The exported address book "Datos.csv" as the import takes it.

#include <QChar>
#include <QString>
#include <QStringList>

namespace importer {

// The first phase of the import: "Datos.csv" read, decoded and regrouped into record
// lines, or the reason why it cannot be imported at all (missing, empty, not text, no
// header, a quote left open to the end). Nothing of the address book is touched here.
struct ArchivoContactos {
    QStringList registros; // the header first; blank lines at the very end dropped
    QChar separador;
    QString error;
};
ArchivoContactos LeerArchivoContactos(const QString& ruta);

} // namespace importer
