#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>

namespace diary {

// The date as the diary writes it: the order and separators of the user's short date
// format, with a two-digit day and month and a four-digit year ("06/12/2026"). The
// system's own short format may carry a two-digit year without leading zeros
// ("6/12/26"), which reads back in the wrong century; stores written before keep that
// form, and both are read.
QString TextoFecha(QDate fecha);
// The same date in the system's short format, as stores written before hold it.
QString TextoFechaAnterior(QDate fecha);

// FechaActual holds either a date (picked in the calendar) or a date text (the stored
// date of the task shown); its text form is the date as the diary writes it.
struct FechaDiario {
    QDate fecha;
    QString texto;
    bool esFecha = false;

    static FechaDiario DeFecha(QDate f) { return {f, QString(), true}; }
    static FechaDiario DeTexto(const QString& t) { return {QDate(), t, false}; }
    QString Texto() const { return esFecha ? TextoFecha(fecha) : texto; }
};

// What the diary window and the calendar window share for the whole run.
struct EstadoDiario {
    FechaDiario FechaActual;
    bool SeguirTarea = false;
};

// Reads a date text in the user's short format, as the diary writes it or in the
// system's own form. A two-digit year is read in the century of `hoy` (the locale alone
// would give 19xx). nullopt when the text is not such a date.
std::optional<QDate> LeerFechaTexto(const QString& texto, QDate hoy);

// The texts that stand for the same day as `texto`: itself and, when it is a date in
// one of the two forms above, the other form. Any other text stands only for itself.
QStringList FormasDeFecha(const QString& texto, QDate hoy);

} // namespace diary
