#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>

namespace diary {

// FechaActual holds either a date (picked in the calendar) or a date text (the stored
// date of the task shown); its text form is the date in the user's short format.
struct FechaDiario {
    QDate fecha;
    QString texto;
    bool esFecha = false;

    static FechaDiario DeFecha(QDate f) { return {f, QString(), true}; }
    static FechaDiario DeTexto(const QString& t) { return {QDate(), t, false}; }
    QString Texto() const {
        return esFecha
                   ? (fecha.isValid() ? QLocale().toString(fecha, QLocale::ShortFormat) : QString())
                   : texto;
    }
};

// What the diary window and the calendar window share for the whole run.
struct EstadoDiario {
    FechaDiario FechaActual;
    bool SeguirTarea = false;
};

// Reads a date text in the user's short format. A format with a two-digit year is read
// in the century of `hoy` (the locale alone would give 19xx), and a four-digit year is
// accepted too. nullopt when the text is not such a date.
std::optional<QDate> LeerFechaTexto(const QString& texto, QDate hoy);

} // namespace diary
