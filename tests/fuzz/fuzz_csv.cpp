// Fuzz target for the reading of "Datos.csv": decoding, cutting into lines, regrouping
// into record lines and splitting a contact into its values. Besides "no crash, no hang"
// it checks, for any bytes, each step against a plain statement of what it must do, and
// for a well-formed export built from the same bytes, that every value comes back.
#include "Csv.h"
#include "Texto.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void Fallo(const char* que) {
    std::fprintf(stderr, "property broken: %s\n", que);
    std::abort();
}

void Comprobar(bool condicion, const char* que) {
    if (!condicion)
        Fallo(que);
}

qsizetype Contar(QStringView texto, QChar c) {
    return texto.count(c);
}

// Cutting into lines: no line holds a break, and the lines joined by "\n" give the text
// with every CR+LF, CR and LF as one "\n", less the break that ends the last line.
void ComprobarLineas(const QString& texto, const QStringList& lineas) {
    QString normal = texto;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.replace(u'\r', u'\n');
    if (normal.endsWith(u'\n'))
        normal.chop(1);
    for (const QString& linea : lineas)
        Comprobar(!linea.contains(u'\r') && !linea.contains(u'\n'), "a line holds a break");
    Comprobar(lineas.join(u'\n') == normal, "lines do not rejoin to the text");
}

// Regrouping: line n and line n+1 are joined by one space when an odd number of quotes
// stands before that point in the file (a quoted value goes on), else by CR+LF; the
// record lines are that text cut at CR+LF.
void ComprobarRegistros(const QStringList& lineas, const QStringList& registros) {
    QString esperado;
    bool dentro = false;
    for (qsizetype n = 0; n < lineas.size(); ++n) {
        if (Contar(lineas[n], u'"') % 2 != 0)
            dentro = !dentro;
        esperado += lineas[n];
        if (n + 1 < lineas.size())
            esperado += dentro ? QStringLiteral(" ") : QStringLiteral("\r\n");
    }
    Comprobar(registros == esperado.split(QStringLiteral("\r\n")), "regrouped records");

    // The open quote at the end is reported when, and only when, the last record took in
    // more than its own line; the report names the line where that record begins.
    qsizetype inicio = 0;
    bool abierto = false;
    for (qsizetype n = 0; n < lineas.size(); ++n) {
        if (!abierto)
            inicio = n;
        if (Contar(lineas[n], u'"') % 2 != 0)
            abierto = !abierto;
    }
    const qsizetype esperada = abierto && inicio + 1 < lineas.size() ? inicio + 1 : 0;
    Comprobar(importer::LineaComillaSinCerrar(lineas) == esperada, "open quote report");
}

// A value read as CSV. One that begins with a quote: the text up to the first quote that
// is not one of a doubled pair, each pair read as one quote, then whatever follows that
// quote as it stands. Any other value as it is.
QString LeerValor(const QString& crudo) {
    if (!crudo.startsWith(u'"'))
        return crudo;
    const QString cuerpo = crudo.mid(1);
    qsizetype cierre = 0;
    while ((cierre = cuerpo.indexOf(u'"', cierre)) >= 0 &&
           cuerpo.mid(cierre, 2) == QStringLiteral("\"\""))
        cierre += 2;
    const auto uno = [](QString texto) {
        return texto.replace(QStringLiteral("\"\""), QStringLiteral("\""));
    };
    if (cierre < 0)
        return uno(cuerpo);
    return uno(cuerpo.left(cierre)) + cuerpo.mid(cierre + 1);
}

// Splitting a contact: a separator counts when an even number of quotes stands before it
// on the line (itself included). Ten of them give ten values and the notes, each read
// as CSV; fewer name the field whose separator is missing.
void ComprobarParticion(QStringView linea, QChar separador) {
    QList<qsizetype> posiciones;
    int comillas = 0;
    for (qsizetype i = 0; i < linea.size() && posiciones.size() < 10; ++i) {
        if (linea[i] == u'"')
            ++comillas;
        if (comillas % 2 == 0 && linea[i] == separador)
            posiciones << i;
    }
    const importer::Particion p = importer::PartirContacto(linea, separador);
    if (posiciones.size() < 10) {
        Comprobar(!p.campos, "a contact short of separators was split");
        Comprobar(p.campoSinSeparador == posiciones.size() + 1, "field without separator");
        return;
    }
    Comprobar(p.campos.has_value(), "a contact with ten separators was not split");
    qsizetype inicio = 0;
    for (int campo = 0; campo < 10; ++campo) {
        const QString valor = LeerValor(linea.mid(inicio, posiciones[campo] - inicio).toString());
        Comprobar(p.campos->valores[campo] == valor, "value of a field");
        inicio = posiciones[campo] + 1;
    }
    Comprobar(p.campos->notas == LeerValor(linea.mid(inicio).toString()),
              "notes are not the rest of the line");
    const importer::FilaDatos fila = importer::ComponerFila(*p.campos);
    Comprobar(fila.Direccion.count(QStringLiteral("\r\n")) >= 4, "address parts");
    Comprobar(!fila.Nombre.isEmpty() && !fila.Notas.isEmpty(), "empty stored value");
}

// How an exporter writes one value: quoted when it holds the separator, a quote or a line
// break, with its quotes doubled.
QString Exportar(const QString& valor, QChar separador) {
    if (!valor.contains(separador) && !valor.contains(u'"') && !valor.contains(u'\r') &&
        !valor.contains(u'\n'))
        return valor;
    QString doblado = valor;
    doblado.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + doblado + u'"';
}

// Each line break of a value becomes one space when its lines are regrouped.
QString SaltosComoEspacios(QString texto) {
    texto.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    texto.replace(u'\r', u' ');
    texto.replace(u'\n', u' ');
    return texto;
}

// A well-formed export made of the fuzzer's bytes: up to three contacts of eleven values
// (the bytes cut at 0x1E, each byte one Latin-1 character), with a comma, a semicolon or
// a tab, written in UTF-8 or in Windows-1252.
void ComprobarExportacion(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return;
    const auto opciones = static_cast<unsigned char>(bytes[0]);
    const QChar separador = (opciones & 3) == 0 ? u';' : (opciones & 3) == 1 ? u'\t' : u',';
    QList<QStringList> contactos;
    const QList<QByteArray> trozos = bytes.mid(1).split('\x1e');
    for (qsizetype i = 0; i < trozos.size() && contactos.size() < 3; i += 11) {
        QStringList valores;
        for (qsizetype j = i; j < i + 11; ++j)
            valores << (j < trozos.size() ? QString::fromLatin1(trozos[j]) : QString());
        contactos << valores;
    }
    QString texto = QStringLiteral("Nombre%1Email").arg(separador);
    for (const QStringList& valores : contactos) {
        QStringList exportados;
        for (const QString& v : valores)
            exportados << Exportar(v, separador);
        texto += QStringLiteral("\r\n") + exportados.join(separador);
    }
    texto += QStringLiteral("\r\n");

    // UTF-8 comes back as it was written. So does Windows-1252 (outside 0x80..0x9F, where
    // it differs from Latin-1) on every line whose bytes are not by chance valid UTF-8.
    Comprobar(importer::DecodificarCsv(texto.toUtf8()) == texto, "UTF-8 export not decoded");
    const bool windows = (opciones & 4) != 0;
    if (windows && std::none_of(texto.begin(), texto.end(), [](QChar c) {
            return c.unicode() >= 0x80 && c.unicode() < 0xA0;
        })) {
        const QStringList escritas = importer::LineasArchivo(texto);
        const QStringList leidas =
            importer::LineasArchivo(importer::DecodificarCsv(texto.toLatin1()));
        Comprobar(escritas.size() == leidas.size(), "Windows-1252 export: lines");
        for (qsizetype n = 0; n < escritas.size(); ++n) {
            if (!comun::EsUtf8Valido(escritas[n].toLatin1()))
                Comprobar(escritas[n] == leidas[n], "Windows-1252 line not decoded");
        }
    }

    const QStringList registros = importer::RegistrosDeTexto(texto);
    Comprobar(registros.size() == contactos.size() + 1, "number of record lines");
    Comprobar(importer::CabeceraValida(registros[0]), "header of a well-formed export");
    Comprobar(importer::LineaComillaSinCerrar(importer::LineasArchivo(texto)) == 0,
              "open quote in a well-formed export");
    for (qsizetype n = 0; n < contactos.size(); ++n) {
        const importer::Particion p = importer::PartirContacto(registros[n + 1], separador);
        Comprobar(p.campos.has_value(), "well-formed contact not split");
        // Every value comes back as it was before the export, each line break one space.
        for (int campo = 0; campo < 10; ++campo)
            Comprobar(p.campos->valores[campo] == SaltosComoEspacios(contactos[n][campo]),
                      "a value of a well-formed contact changed");
        Comprobar(p.campos->notas == SaltosComoEspacios(contactos[n][10]),
                  "notes of a well-formed contact changed");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t largo) {
    const QByteArray bytes(reinterpret_cast<const char*>(datos), qsizetype(largo));

    // Any bytes: the decoding keeps every line break (they are the same bytes in UTF-8
    // and Windows-1252), and valid UTF-8 is read as UTF-8.
    const QString texto = importer::DecodificarCsv(bytes);
    if (!bytes.startsWith("\xFF\xFE") && !bytes.startsWith("\xFE\xFF")) {
        Comprobar(Contar(texto, u'\r') == bytes.count('\r'), "CR lost in decoding");
        Comprobar(Contar(texto, u'\n') == bytes.count('\n'), "LF lost in decoding");
        const QByteArray cuerpo = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
        if (comun::EsUtf8Valido(cuerpo))
            Comprobar(texto.toUtf8() == cuerpo, "valid UTF-8 not read as UTF-8");
    }

    const QStringList lineas = importer::LineasArchivo(texto);
    ComprobarLineas(texto, lineas);
    const QStringList registros = importer::ReagruparRegistros(lineas);
    Comprobar(!registros.isEmpty(), "no header line");
    ComprobarRegistros(lineas, registros);

    const auto separador = importer::SeparadorDeCabecera(registros.first());
    for (const QString& registro : registros)
        ComprobarParticion(registro, separador.value_or(u','));

    ComprobarExportacion(bytes);
    return 0;
}
