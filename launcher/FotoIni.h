#pragma once

// The settings file read once for a run of lookups: start-up reads several keys in a
// row, and every LeerIni opens and reads the whole file again. A lookup answers as
// ArchivoIni::LeerIni would have on the file as it was read: the first matching
// section and key, the caller's default when the key or the file is missing, at most
// the 99 characters the buffer keeps.

#include <QByteArray>
#include <QString>
#include <optional>

namespace launcher {

class FotoIni {
public:
    explicit FotoIni(const QString& rutaIni);

    QString LeerIni(const QString& seccion, const QString& clave, const QString& porDefecto) const;
    // A value that is not a 16-bit whole number gives the caller's default.
    qint16 LeerIniEntero(const QString& seccion, const QString& clave, qint16 porDefecto) const;

private:
    std::optional<QByteArray> contenido_; // nothing when the file could not be read
};

} // namespace launcher
