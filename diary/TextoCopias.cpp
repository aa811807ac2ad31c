#include "TextoCopias.h"

namespace diary {

namespace {
const QString kCrlf = QStringLiteral("\r\n");
const QString kCabecera = QStringLiteral("* Fecha - Referencia\r\n* Descripción\r\n\r\n");
} // namespace

void AnadirSaltosCrLf(QString& destino, QStringView texto) {
    // The text between two breaks goes over in one piece: a copy of all tasks passes
    // every description through here.
    qsizetype desde = 0;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        destino += texto.sliced(desde, i - desde);
        destino += kCrlf;
        if (c == QLatin1Char('\r') && i + 1 < texto.size() && texto[i + 1] == QLatin1Char('\n'))
            ++i;
        desde = i + 1;
    }
    destino += texto.sliced(desde);
}

QString ConSaltosCrLf(const QString& texto) {
    QString resultado;
    resultado.reserve(texto.size() + texto.size() / 8);
    AnadirSaltosCrLf(resultado, texto);
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

void AnadirBloqueCopia(QString& texto, const Tarea& tarea) {
    static const QString separador =
        QString(25, QLatin1Char(' ')) + QStringLiteral("--- oOo ---\r\n\r\n");
    // Appended piece by piece: a block built on its own and then appended would be
    // written twice, for every task of a long list.
    texto += QLatin1String("* ");
    texto += tarea.Fecha;
    texto += QLatin1String(" - ");
    texto += tarea.Tarea;
    texto += kCrlf;
    texto += QLatin1String("* ");
    AnadirSaltosCrLf(texto, tarea.Descripcion);
    texto += kCrlf;
    texto += kCrlf;
    texto += separador;
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
