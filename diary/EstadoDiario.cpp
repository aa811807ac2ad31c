#include "EstadoDiario.h"

#include <QRegularExpression>

namespace diary {

std::optional<QDate> LeerFechaTexto(const QString& texto, QDate hoy) {
    const QLocale local;
    const QString formato = local.dateFormat(QLocale::ShortFormat);
    const QString limpio = texto.trimmed();
    if (limpio.isEmpty())
        return std::nullopt;
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

} // namespace diary
