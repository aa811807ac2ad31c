#include "Csv.h"

namespace importer {

namespace {
constexpr QChar kComilla = u'"';
const QString kCrLf = QStringLiteral("\r\n");
const QString kVacio = QStringLiteral("?");

QString OInterrogacion(const QString& valor) {
    return valor.isEmpty() ? kVacio : valor;
}
} // namespace

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

std::optional<QChar> SeparadorDeCabecera(QStringView cabecera) {
    if (cabecera.size() < 7)
        return std::nullopt;
    return cabecera[6];
}

Particion PartirContacto(QStringView linea, std::optional<QChar> separador) {
    Particion particion;
    CamposContacto campos;
    int comillas = 0;
    for (int campo = 0; campo < 10; ++campo) {
        QString valor;
        qsizetype parada = -1;
        for (qsizetype i = 0; i < linea.size(); ++i) {
            const QChar c = linea[i];
            if (c == kComilla)
                ++comillas;
            if (comillas % 2 == 0 && separador && c == *separador) {
                parada = i;
                break;
            }
            valor += c;
        }
        if (parada < 0) {
            particion.campoSinSeparador = campo + 1;
            return particion;
        }
        linea = linea.mid(parada + 1);
        if (valor.startsWith(kComilla))
            valor = valor.size() >= 2 ? valor.mid(1, valor.size() - 2) : QString();
        campos.valores[campo] = valor;
    }
    campos.notas = linea.toString();
    particion.campos = std::move(campos);
    return particion;
}

FilaDatos ComponerFila(const CamposContacto& campos) {
    const auto& v = campos.valores;
    FilaDatos fila;
    fila.clave = ClaveNombre(v[0]);
    fila.Nombre = OInterrogacion(v[0]);
    fila.Email = OInterrogacion(v[1]);
    fila.Direccion =
        OInterrogacion(v[2]) + kCrLf + v[3] + kCrLf + v[4] + kCrLf + v[5] + kCrLf + v[6];
    fila.Telefono = OInterrogacion(v[7]);
    fila.Celular = OInterrogacion(v[8]);
    fila.Url = OInterrogacion(v[9]);
    fila.Notas = OInterrogacion(campos.notas);
    return fila;
}

} // namespace importer
