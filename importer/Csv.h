#pragma once

// Reading of the exported address book "Datos.csv", kept apart from the database and
// the window: plain text in, record lines and field values out.

#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <optional>

namespace importer {

// The file's bytes as text. A byte-order mark says UTF-8 or UTF-16. Without one, a file
// that is valid UTF-8 is read as UTF-8; otherwise each line is read as UTF-8 when its
// bytes are valid UTF-8 and as Windows-1252 when not, so that one line typed on another
// system does not spoil the accents (and with them the name matching) of all the others.
QString DecodificarCsv(const QByteArray& bytes);

// The file's lines as sequential input gives them: a line ends at CR+LF, CR or LF;
// the break after the last line does not make one more (empty) line.
QStringList LineasArchivo(QStringView texto);

// Regroups the file's lines into record lines. A quoted value that goes on past the end
// of a line joins the next line with one space; every other line ends its record.
// Lines are joined with CR+LF and the result is cut at CR+LF only, so a text with no
// lines still gives one (empty) record line, the header.
QStringList ReagruparRegistros(const QStringList& lineas);

// Both steps together, from the decoded file text.
QStringList RegistrosDeTexto(QStringView texto);

// When the end of the file comes inside a quoted value that took in more than its own
// line (a closing quote is missing, so every line after it would end up in one value):
// the number, from 1, of the file line where that record begins. 0 otherwise.
qsizetype LineaComillaSinCerrar(const QStringList& lineas);

// The separator is the seventh character of the header, which starts with "Nombre";
// none when the header is shorter.
std::optional<QChar> SeparadorDeCabecera(QStringView cabecera);

// The header of an export as the wizard asks for it: "Nombre" first, then a separator
// that can be one (not a letter, a digit, a blank or a quote). Anything else is another
// file, or an export in another language or column order, whose values would land in
// the wrong fields.
bool CabeceraValida(QStringView cabecera);

// A value as it stands between two separators, read as CSV: a value that begins with a
// quote loses its enclosing quotes and each doubled quote inside becomes one; any other
// value is taken as it is.
QString ValorCsv(QStringView crudo);

// One contact line cut into its ten leading values and the rest (the notes), each read
// by ValorCsv.
struct CamposContacto {
    std::array<QString, 10> valores;
    QString notas; // everything after the tenth separator
};

struct Particion {
    std::optional<CamposContacto> campos;
    int campoSinSeparador = 0; // 1..10: the field whose separator was missing
};

// Separators inside quotes do not count; the quote count runs over the whole line.
Particion PartirContacto(QStringView linea, std::optional<QChar> separador);

// The values as the table Datos receives them.
struct FilaDatos {
    QString clave; // the name in capitals, before "?" stands in for an empty one
    QString Nombre, Email, Direccion, Telefono, Celular, Url, Notas;
};

FilaDatos ComponerFila(const CamposContacto& campos);

// The matching key of a name: capitals, accented letters included.
inline QString ClaveNombre(const QString& nombre) {
    return nombre.toUpper();
}

} // namespace importer
