#include "Csv.h"

#include "Texto.h"

#include <QStringDecoder>

namespace importer {

namespace {
constexpr QChar kComilla = u'"';
const QString kCrLf = QStringLiteral("\r\n");
const QString kVacio = QStringLiteral("?");

QString OInterrogacion(const QString& valor) {
    return valor.isEmpty() ? kVacio : valor;
}
} // namespace

namespace {
// UTF-8 as it stands: a byte-order mark inside the file is a character like any other
// (QString::fromUtf8 would drop one at the start of a piece, and with it could join a
// CR and an LF that stood on both sides of it into one line break).
QString DecodificarUtf8(const QByteArray& bytes) {
    QStringDecoder decodificador(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                           QStringDecoder::Flag::ConvertInitialBom);
    return decodificador.decode(bytes);
}

QString DecodificarLinea(const QByteArray& bytes) {
    return comun::EsUtf8Valido(bytes) ? DecodificarUtf8(bytes) : comun::DecodificarCp1252(bytes);
}

QString DecodificarUtf16(const QByteArray& bytes, QStringDecoder::Encoding codificacion) {
    QStringDecoder decodificador(codificacion, QStringDecoder::Flag::Stateless);
    return decodificador.decode(bytes);
}
} // namespace

QString DecodificarCsv(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE"))
        return DecodificarUtf16(bytes.mid(2), QStringDecoder::Utf16LE);
    if (bytes.startsWith("\xFE\xFF"))
        return DecodificarUtf16(bytes.mid(2), QStringDecoder::Utf16BE);
    const QByteArray cuerpo = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    if (comun::EsUtf8Valido(cuerpo))
        return DecodificarUtf8(cuerpo);
    // Line breaks are the same bytes in both encodings, so the file can be cut first.
    QString texto;
    texto.reserve(cuerpo.size());
    qsizetype inicio = 0;
    for (qsizetype i = 0; i < cuerpo.size(); ++i) {
        const char c = cuerpo[i];
        if (c != '\r' && c != '\n')
            continue;
        texto += DecodificarLinea(cuerpo.mid(inicio, i - inicio));
        texto += QLatin1Char(c);
        inicio = i + 1;
    }
    texto += DecodificarLinea(cuerpo.mid(inicio));
    return texto;
}

QStringList LineasArchivo(QStringView texto) {
    QStringList lineas;
    qsizetype inicio = 0;
    const qsizetype largo = texto.size();
    for (qsizetype i = 0; i < largo; ++i) {
        const QChar c = texto[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lineas.append(texto.mid(inicio, i - inicio).toString());
        if (c == u'\r' && i + 1 < largo && texto[i + 1] == u'\n')
            ++i;
        inicio = i + 1;
    }
    if (inicio < largo)
        lineas.append(texto.mid(inicio).toString());
    return lineas;
}

QStringList ReagruparRegistros(const QStringList& lineas) {
    QString texto;
    bool dentroDeComillas = false;
    int comillas = 0;
    for (qsizetype n = 0; n < lineas.size(); ++n) {
        const QString& linea = lineas[n];
        if (!dentroDeComillas)
            comillas = 0;
        for (const QChar c : linea) {
            if (c == kComilla) {
                ++comillas;
                dentroDeComillas = (comillas % 2) != 0;
            }
        }
        texto += linea;
        if (n + 1 == lineas.size())
            break; // the last line is taken as it is
        if (comillas % 2 != 0)
            texto += u' ';
        else
            texto += kCrLf;
    }
    return texto.split(kCrLf);
}

QStringList RegistrosDeTexto(QStringView texto) {
    return ReagruparRegistros(LineasArchivo(texto));
}

qsizetype LineaComillaSinCerrar(const QStringList& lineas) {
    bool dentroDeComillas = false;
    int comillas = 0;
    qsizetype inicioRegistro = 0;
    for (qsizetype n = 0; n < lineas.size(); ++n) {
        if (!dentroDeComillas) {
            comillas = 0;
            inicioRegistro = n;
        }
        for (const QChar c : lineas[n]) {
            if (c == kComilla) {
                ++comillas;
                dentroDeComillas = (comillas % 2) != 0;
            }
        }
    }
    const bool abierta = (comillas % 2) != 0;
    return abierta && inicioRegistro + 1 < lineas.size() ? inicioRegistro + 1 : 0;
}

bool CabeceraValida(QStringView cabecera) {
    if (cabecera.size() < 7 || !cabecera.startsWith(u"Nombre", Qt::CaseInsensitive))
        return false;
    const QChar separador = cabecera[6];
    return !separador.isLetterOrNumber() && separador != u' ' && separador != QChar(0xA0) &&
           separador != kComilla;
}

std::optional<QChar> SeparadorDeCabecera(QStringView cabecera) {
    if (cabecera.size() < 7)
        return std::nullopt;
    return cabecera[6];
}

namespace {
// The position of the separator that ends the value at the start of `linea`, or -1. The
// quote count goes on from the values before it.
qsizetype BuscarSeparador(QStringView linea, QChar separador, int& comillas) {
    for (qsizetype i = 0; i < linea.size(); ++i) {
        const QChar c = linea[i];
        if (c == kComilla)
            ++comillas;
        if (comillas % 2 == 0 && c == separador)
            return i;
    }
    return -1;
}
} // namespace

QString ValorCsv(QStringView crudo) {
    if (!crudo.startsWith(kComilla))
        return crudo.toString();
    // Inside the quotes a doubled quote stands for one; the first single quote closes
    // them. What follows the closing quote (an export would put nothing there) is kept
    // as it stands, and a quote never closed runs to the end of the value.
    QString valor;
    valor.reserve(crudo.size());
    qsizetype i = 1;
    for (; i < crudo.size(); ++i) {
        if (crudo[i] != kComilla) {
            valor += crudo[i];
            continue;
        }
        if (i + 1 < crudo.size() && crudo[i + 1] == kComilla) {
            valor += kComilla;
            ++i;
            continue;
        }
        ++i;
        break;
    }
    valor += crudo.sliced(i);
    return valor;
}

Particion PartirContacto(QStringView linea, std::optional<QChar> separador) {
    Particion particion;
    CamposContacto campos;
    int comillas = 0;
    for (int campo = 0; campo < 10; ++campo) {
        // Every character before the separator, quotes included, belongs to the value.
        const qsizetype parada = separador ? BuscarSeparador(linea, *separador, comillas) : -1;
        if (parada < 0) {
            particion.campoSinSeparador = campo + 1;
            return particion;
        }
        campos.valores[campo] = ValorCsv(linea.first(parada));
        linea = linea.sliced(parada + 1);
    }
    campos.notas = ValorCsv(linea);
    particion.campos = std::move(campos);
    return particion;
}

FilaDatos ComponerFila(const CamposContacto& campos) {
    const auto& v = campos.valores;
    FilaDatos fila;
    fila.clave = ClaveNombre(v[0]);
    fila.Nombre = OInterrogacion(v[0]);
    fila.Email = OInterrogacion(v[1]);
    QString& direccion = fila.Direccion;
    direccion.reserve(qMax(v[2].size(), qsizetype(1)) + v[3].size() + v[4].size() + v[5].size() +
                      v[6].size() + 4 * kCrLf.size());
    direccion += OInterrogacion(v[2]);
    for (int parte = 3; parte <= 6; ++parte) {
        direccion += kCrLf;
        direccion += v[parte];
    }
    fila.Telefono = OInterrogacion(v[7]);
    fila.Celular = OInterrogacion(v[8]);
    fila.Url = OInterrogacion(v[9]);
    fila.Notas = OInterrogacion(campos.notas);
    return fila;
}

} // namespace importer
