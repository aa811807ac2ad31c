#include "Ini.h"

#include "Reemplazo.h"
#include "Texto.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cmath>
#include <vector>

namespace comun {

namespace {

struct Linea {
    qsizetype inicio;    // first byte of the line
    qsizetype fin;       // one past the last byte before the line break
    qsizetype siguiente; // first byte of the next line
};

std::vector<Linea> PartirLineas(const QByteArray& contenido) {
    std::vector<Linea> lineas;
    qsizetype inicio = 0;
    // A byte-order mark belongs to no name: skip it so the first section is found.
    if (contenido.startsWith("\xEF\xBB\xBF"))
        inicio = 3;
    qsizetype i = inicio;
    const qsizetype n = contenido.size();
    while (i < n) {
        const char c = contenido[i];
        if (c == '\n' || c == '\r') {
            qsizetype siguiente = i + 1;
            if (c == '\r' && siguiente < n && contenido[siguiente] == '\n')
                ++siguiente;
            lineas.push_back({inicio, i, siguiente});
            inicio = i = siguiente;
        } else {
            ++i;
        }
    }
    if (inicio < n)
        lineas.push_back({inicio, n, n});
    return lineas;
}

bool EsBlanco(char c) {
    return c == ' ' || c == '\t';
}

QByteArray Recortar(const QByteArray& bytes) {
    qsizetype a = 0;
    qsizetype b = bytes.size();
    while (a < b && EsBlanco(bytes[a]))
        ++a;
    while (b > a && EsBlanco(bytes[b - 1]))
        --b;
    return bytes.mid(a, b - a);
}

bool MismoNombre(const QByteArray& bytes, const QString& nombre) {
    return DecodificarTexto(bytes).compare(nombre.trimmed(), Qt::CaseInsensitive) == 0;
}

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<QByteArray> NombreSeccion(const QByteArray& linea) {
    const QByteArray recortada = Recortar(linea);
    if (!recortada.startsWith('['))
        return std::nullopt;
    // Without its closing bracket the line opens nothing (a hand edit cut short): the keys
    // after it still belong to the section above, as the desktop reads them.
    const qsizetype cierre = recortada.indexOf(']');
    if (cierre < 0)
        return std::nullopt;
    return Recortar(recortada.mid(1, cierre - 1));
}

struct Posicion {
    std::optional<size_t> seccion; // line of the section header
    std::optional<size_t> clave;   // line of the key inside it
    size_t ultimaDeSeccion = 0;    // last non-blank line of the section
};

Posicion Localizar(const QByteArray& contenido, const std::vector<Linea>& lineas,
                   const QString& seccion, const QString& clave) {
    Posicion pos;
    for (size_t i = 0; i < lineas.size(); ++i) {
        const QByteArray texto = contenido.mid(lineas[i].inicio, lineas[i].fin - lineas[i].inicio);
        if (auto nombre = NombreSeccion(texto)) {
            if (pos.seccion)
                break; // the first matching section ends here
            if (MismoNombre(*nombre, seccion)) {
                pos.seccion = i;
                pos.ultimaDeSeccion = i;
            }
            continue;
        }
        if (!pos.seccion)
            continue;
        if (!Recortar(texto).isEmpty())
            pos.ultimaDeSeccion = i;
        const qsizetype igual = texto.indexOf('=');
        if (igual >= 0 && MismoNombre(Recortar(texto.left(igual)), clave)) {
            pos.clave = i;
            return pos;
        }
    }
    return pos;
}

QByteArray LineaClave(const QString& clave, const QString& valor) {
    QString limpio = valor;
    // A line break inside a value would split the file's structure.
    limpio.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    return clave.toUtf8() + '=' + limpio.toUtf8();
}

std::optional<QString> BuscarEnBytes(const QByteArray& contenido, const QString& seccion,
                                     const QString& clave) {
    const auto lineas = PartirLineas(contenido);
    const Posicion pos = Localizar(contenido, lineas, seccion, clave);
    if (!pos.clave)
        return std::nullopt;
    const Linea& l = lineas[*pos.clave];
    const QByteArray texto = contenido.mid(l.inicio, l.fin - l.inicio);
    QByteArray valor = Recortar(texto.mid(texto.indexOf('=') + 1));
    if (valor.size() >= 2 && (valor.front() == '"' || valor.front() == '\'') &&
        valor.back() == valor.front())
        valor = valor.mid(1, valor.size() - 2);
    return DecodificarTexto(valor);
}

QByteArray PonerEnBytes(const QByteArray& contenido, const QString& seccion, const QString& clave,
                        const QString& valor) {
    const auto lineas = PartirLineas(contenido);
    const Posicion pos = Localizar(contenido, lineas, seccion, clave);
    const QByteArray nueva = LineaClave(clave, valor);
    QByteArray resultado = contenido;
    if (pos.clave) {
        const Linea& l = lineas[*pos.clave];
        resultado.replace(l.inicio, l.fin - l.inicio, nueva);
        return resultado;
    }
    if (pos.seccion) {
        const Linea& l = lineas[pos.ultimaDeSeccion];
        if (l.siguiente == l.fin) // last line of the file, without a line break
            resultado.insert(l.fin, "\r\n" + nueva);
        else
            resultado.insert(l.siguiente, nueva + "\r\n");
        return resultado;
    }
    if (!resultado.isEmpty() && !resultado.endsWith('\n') && !resultado.endsWith('\r'))
        resultado += "\r\n";
    resultado += '[' + seccion.toUtf8() + "]\r\n" + nueva + "\r\n";
    return resultado;
}

// A settings file saved as UTF-16 (a text editor's "Unicode", marked by its byte-order
// mark) is read and written in UTF-16, as the desktop's profile functions do, so a write
// never mixes 8-bit lines into it.
std::optional<QStringConverter::Encoding> CodificacionUtf16(const QByteArray& contenido) {
    if (contenido.startsWith("\xFF\xFE"))
        return QStringConverter::Utf16LE;
    if (contenido.startsWith("\xFE\xFF"))
        return QStringConverter::Utf16BE;
    return std::nullopt;
}

QByteArray Utf16AUtf8(const QByteArray& contenido, QStringConverter::Encoding codificacion) {
    QStringDecoder decodificador(codificacion, QStringDecoder::Flag::Stateless);
    return QString(decodificador.decode(contenido.mid(2))).toUtf8();
}

QByteArray Utf8AUtf16(const QByteArray& bytes, const QByteArray& marca,
                      QStringConverter::Encoding codificacion) {
    QStringEncoder codificador(codificacion, QStringEncoder::Flag::Stateless);
    return marca + QByteArray(codificador.encode(QString::fromUtf8(bytes)));
}

// Settings files are small: anything else (a device, a pipe, a huge file) is not read.
constexpr qint64 kTamMaximoIni = 8 * 1024 * 1024;

} // namespace

std::optional<QByteArray> LeerArchivoIni(const QString& ruta) {
    const QFileInfo info(ruta);
    if (!info.isFile() || info.size() > kTamMaximoIni)
        return std::nullopt;
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly))
        return std::nullopt;
    // As much as the file holds and a byte more, which tells a file that grew meanwhile:
    // a read of the largest size allowed would take that much memory first.
    const qint64 tam = archivo.size();
    QByteArray contenido = archivo.read(tam + 1);
    if (contenido.size() > tam)
        contenido += archivo.read(kTamMaximoIni + 1 - contenido.size());
    if (archivo.error() != QFileDevice::NoError || contenido.size() > kTamMaximoIni)
        return std::nullopt;
    return contenido;
}

std::optional<QString> BuscarValorIni(const QByteArray& contenido, const QString& seccion,
                                      const QString& clave) {
    if (const auto codificacion = CodificacionUtf16(contenido))
        return BuscarEnBytes(Utf16AUtf8(contenido, *codificacion), seccion, clave);
    return BuscarEnBytes(contenido, seccion, clave);
}

QByteArray PonerValorIni(const QByteArray& contenido, const QString& seccion, const QString& clave,
                         const QString& valor) {
    if (const auto codificacion = CodificacionUtf16(contenido))
        return Utf8AUtf16(PonerEnBytes(Utf16AUtf8(contenido, *codificacion), seccion, clave, valor),
                          contenido.left(2), *codificacion);
    return PonerEnBytes(contenido, seccion, clave, valor);
}

QString LeerPerfil(const QString& ruta, const QString& seccion, const QString& clave,
                   const QString& porDefecto, int tamBuffer) {
    std::optional<QString> valor;
    if (const auto contenido = LeerArchivoIni(ruta))
        valor = BuscarValorIni(*contenido, seccion, clave);
    const QString resultado = valor.value_or(porDefecto);
    return resultado.left(qMax(0, tamBuffer - 1));
}

bool ArchivoEscribible(const QString& ruta) {
    const QFileInfo info(ruta);
    if (!info.exists() && !info.isSymLink())
        return true;
    // The mode bits, not the system's answer: the system lets the administrator write
    // anything.
    constexpr auto kEscritura =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return info.isFile() && info.isWritable() && (info.permissions() & kEscritura);
}

bool EscribirPerfil(const QString& ruta, const QString& seccion, const QString& clave,
                    const QString& valor) {
    if (!ArchivoEscribible(ruta))
        return false;
    ReemplazoAtomico reemplazo(ruta);
    const QString destino = reemplazo.Destino();
    if (destino.isEmpty())
        return false;
    QByteArray contenido;
    const bool existe = QFileInfo::exists(destino);
    if (existe) {
        // A file that cannot be read whole must not be replaced by one holding our key only.
        const auto actual = LeerArchivoIni(destino);
        if (!actual)
            return false;
        contenido = *actual;
    }
    const QByteArray nuevo = PonerValorIni(contenido, seccion, clave, valor);
    if (existe && nuevo == contenido)
        return true;
    if (reemplazo.Valido())
        return reemplazo.Escribir(nuevo) && reemplazo.Publicar();
    // A writable file in a folder that takes no new file (an installation of another
    // user, a share): no temporary can be made beside it, and the file is rewritten
    // where it is rather than every setting being lost.
    return existe && !QFileInfo(QFileInfo(destino).absolutePath()).isWritable() &&
           ReescribirEnSitio(destino, nuevo);
}

std::optional<qint16> ConvertirEntero16(const QString& texto) {
    const QString limpio = texto.trimmed();
    if (limpio.isEmpty())
        return std::nullopt;
    for (QChar c : limpio) {
        if (!(c.isDigit() && c.unicode() < 128) && c != QLatin1Char('.') && c != QLatin1Char('-') &&
            c != QLatin1Char('+'))
            return std::nullopt;
    }
    bool correcto = false;
    const double numero = limpio.toDouble(&correcto);
    if (!correcto || !std::isfinite(numero))
        return std::nullopt;
    const double redondeado = std::nearbyint(numero); // half to even, as the conversion rounds
    if (redondeado < -32768.0 || redondeado > 32767.0)
        return std::nullopt;
    return static_cast<qint16>(redondeado);
}

QString ArchivoIni::LeerIni(const QString& seccion, const QString& clave,
                            const QString& porDefecto) {
    BufferIni = LeerPerfil(RutaIni, seccion, clave, porDefecto, kTamBufferIni);
    LargoIni = static_cast<int>(BufferIni.size());
    return BufferIni.left(LargoIni);
}

qint16 ArchivoIni::LeerIniEntero(const QString& seccion, const QString& clave, qint16 porDefecto) {
    return ConvertirEntero16(LeerIni(seccion, clave, QString::number(porDefecto)))
        .value_or(porDefecto);
}

FotoIni::FotoIni(const QString& rutaIni) : contenido_(LeerArchivoIni(rutaIni)) {}

QString FotoIni::LeerIni(const QString& seccion, const QString& clave,
                         const QString& porDefecto) const {
    std::optional<QString> valor;
    if (contenido_)
        valor = BuscarValorIni(*contenido_, seccion, clave);
    return valor.value_or(porDefecto).left(kTamBufferIni - 1);
}

qint16 FotoIni::LeerIniEntero(const QString& seccion, const QString& clave,
                              qint16 porDefecto) const {
    return ConvertirEntero16(LeerIni(seccion, clave, QString::number(porDefecto)))
        .value_or(porDefecto);
}

bool ArchivoIni::EscribirIni(const QString& seccion, const QString& clave, const QString& valor) {
    return EscribirPerfil(RutaIni, seccion, clave, valor);
}

bool ArchivoIni::EscribirIniConBuffer(const QString& seccion, const QString& clave,
                                      const QString& valor) {
    BufferIni = valor.left(kTamBufferIni).leftJustified(kTamBufferIni, QLatin1Char(' '));
    return EscribirPerfil(RutaIni, seccion, clave, BufferIni);
}

} // namespace comun
