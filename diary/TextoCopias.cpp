#include "TextoCopias.h"

namespace diary {

namespace {
const QString kCrlf = QStringLiteral("\r\n");
const QString kCabecera = QStringLiteral("* Fecha - Referencia\r\n* Descripción\r\n\r\n");
} // namespace

QString ConSaltosCrLf(const QString& texto) {
    QString resultado;
    resultado.reserve(texto.size() + texto.size() / 8);
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            resultado += kCrlf;
            if (c == QLatin1Char('\r') && i + 1 < texto.size() && texto[i + 1] == QLatin1Char('\n'))
                ++i;
        } else {
            resultado += c;
        }
    }
    return resultado;
}

QString TextoCopiaActual(qint32 numTareas, const QString& fecha, const QString& referencia,
                         const QString& descripcion) {
    if (numTareas == 0)
        return QStringLiteral("NO EXISTE NINGUNA TAREA EN LA BASE DE DATOS.");
    return kCabecera + QStringLiteral("* ") + fecha + QStringLiteral(" - ") + referencia + kCrlf +
           QStringLiteral("* ") + descripcion;
}

QString TextoCopiaVacia(qint32 numTareas) {
    return QStringLiteral("SE COPIARON %1 TAREAS EN TOTAL.\r\n\r\n").arg(numTareas) +
           QStringLiteral("NO EXISTEN TAREAS EN LA BASE DE DATOS.");
}

QString InicioCopiaTodas(qint32 numTareas) {
    return QStringLiteral("SE COPIARON %1 TAREAS EN TOTAL.\r\n\r\n").arg(numTareas) + kCabecera;
}

QString BloqueCopia(const Tarea& tarea) {
    static const QString separador =
        QString(25, QLatin1Char(' ')) + QStringLiteral("--- oOo ---\r\n\r\n");
    return QStringLiteral("* ") + tarea.Fecha + QStringLiteral(" - ") + tarea.Tarea + kCrlf +
           QStringLiteral("* ") + ConSaltosCrLf(tarea.Descripcion) + kCrlf + kCrlf + separador;
}

QHash<QString, Tarea> TareasPorLinea(const QVector<Tarea>& tareas) {
    QHash<QString, Tarea> porLinea;
    porLinea.reserve(tareas.size());
    for (const Tarea& t : tareas) {
        const QString linea = t.Linea();
        if (!porLinea.contains(linea)) // the first record of a line wins
            porLinea.insert(linea, t);
    }
    return porLinea;
}

} // namespace diary
