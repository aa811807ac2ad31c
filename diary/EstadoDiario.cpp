#include "EstadoDiario.h"

#include <QRegularExpression>

namespace diary {

namespace {

// The user's short date format with the day and month in two digits and the year in
// four; names of days and months, literal text and other fields are kept.
QString FormatoFechaDiario() {
    const QString corto = QLocale().dateFormat(QLocale::ShortFormat);
    QString formato;
    for (qsizetype i = 0; i < corto.size();) {
        const QChar c = corto[i];
        if (c == QLatin1Char('\'')) { // quoted text, '' being a quote
            const qsizetype fin = corto.indexOf(QLatin1Char('\''), i + 1);
            const qsizetype hasta = fin < 0 ? corto.size() : fin + 1;
            formato += corto.mid(i, hasta - i);
            i = hasta;
            continue;
        }
        qsizetype largo = 1;
        while (i + largo < corto.size() && corto[i + largo] == c)
            ++largo;
        if (c == QLatin1Char('y'))
            formato += QStringLiteral("yyyy");
        else if ((c == QLatin1Char('d') || c == QLatin1Char('M')) && largo <= 2)
            formato += QString(2, c);
        else
            formato += corto.mid(i, largo);
        i += largo;
    }
    return formato;
}

} // namespace

QString TextoFecha(QDate fecha) {
    return fecha.isValid() ? QLocale().toString(fecha, FormatoFechaDiario()) : QString();
}

QString TextoFechaAnterior(QDate fecha) {
    return fecha.isValid() ? QLocale().toString(fecha, QLocale::ShortFormat) : QString();
}

std::optional<QDate> LeerFechaTexto(const QString& texto, QDate hoy) {
    const QLocale local;
    const QString limpio = texto.trimmed();
    if (limpio.isEmpty())
        return std::nullopt;
    if (const QDate f = local.toDate(limpio, FormatoFechaDiario()); f.isValid())
        return f;
    const QString formato = local.dateFormat(QLocale::ShortFormat);
    static const QRegularExpression kYyyy(QStringLiteral("y{3,}"));
    static const QRegularExpression kYy(QStringLiteral("(?<!y)yy(?!y)"));
    const bool dosCifras = !formato.contains(kYyyy) && formato.contains(kYy);

    // The year always read with four digits first, so that 29 February of a leap year
    // of this century is not lost to a non-leap 19xx.
    QString formatoLargo = formato;
    if (dosCifras)
        formatoLargo.replace(kYy, QStringLiteral("yyyy"));
    if (dosCifras) {
        // "6/12/26": put the century in front of the two-digit year before reading.
        static const QRegularExpression kAnoFinal(QStringLiteral("(\\d+)(\\D*)$"));
        const auto m = kAnoFinal.match(limpio);
        const int siglo = (hoy.isValid() ? hoy.year() : QDate::currentDate().year()) / 100 * 100;
        if (m.hasMatch() && m.captured(1).size() <= 2) {
            QString conSiglo = limpio;
            conSiglo.replace(m.capturedStart(1), m.capturedLength(1),
                             QString::number(siglo + m.captured(1).toInt()));
            const QDate f = local.toDate(conSiglo, formatoLargo);
            if (f.isValid())
                return f;
        }
    }
    QDate f = local.toDate(limpio, formatoLargo);
    if (f.isValid())
        return f;
    f = local.toDate(limpio, formato);
    if (!f.isValid())
        return std::nullopt;
    if (dosCifras) {
        const int siglo = (hoy.isValid() ? hoy.year() : QDate::currentDate().year()) / 100 * 100;
        const QDate enSiglo(siglo + f.year() % 100, f.month(), f.day());
        if (enSiglo.isValid())
            return enSiglo;
    }
    return f;
}

QStringList FormasDeFecha(const QString& texto, QDate hoy) {
    QStringList formas{texto};
    const std::optional<QDate> fecha = LeerFechaTexto(texto, hoy);
    if (!fecha)
        return formas;
    const QString nueva = TextoFecha(*fecha);
    const QString anterior = TextoFechaAnterior(*fecha);
    if (texto == nueva && anterior != nueva)
        formas << anterior;
    else if (texto == anterior && anterior != nueva)
        formas << nueva;
    return formas;
}

} // namespace diary
