#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace comun {

// The settings file behaves as the desktop's profile functions do: names match
// without regard to case, the first matching section and key win, a line is a section
// header only with its closing "]", blanks around a value and one pair of surrounding
// quotes (double or single) are dropped on reading, and a write keeps every other byte
// of the file.

constexpr int kTamBufferIni = 100;

// Pure functions over the file's bytes (no I/O), shared by the reader, the writer
// and the fuzz targets.
std::optional<QString> BuscarValorIni(const QByteArray& contenido, const QString& seccion,
                                      const QString& clave);
QByteArray PonerValorIni(const QByteArray& contenido, const QString& seccion, const QString& clave,
                         const QString& valor);

// The whole settings file, when it is an ordinary file of a settings file's size: a
// pipe, a device, a folder or a huge file in its place reads as missing, so that no
// program hangs or runs out of memory at start-up.
std::optional<QByteArray> LeerArchivoIni(const QString& ruta);

// Reads through a buffer of tamBuffer characters: at most tamBuffer - 1 are kept.
QString LeerPerfil(const QString& ruta, const QString& seccion, const QString& clave,
                   const QString& porDefecto, int tamBuffer);
// Writes one key when ArchivoEscribible allows it, replacing the file whole through
// ReemplazoAtomico: the settings file is at every moment the old or the new complete
// file. Where the folder takes no new file the file is rewritten in place instead. A
// write that changes nothing writes nothing.
// False when the key is not stored.
bool EscribirPerfil(const QString& ruta, const QString& seccion, const QString& clave,
                    const QString& valor);

// Whether the settings file may be written: missing (a write creates it), or an ordinary
// file whose mode bits allow writing. The read-only mark is honoured for everyone, the
// administrator included: a file the user protected is never rewritten behind their back.
bool ArchivoEscribible(const QString& ruta);

// A stored number as a 16-bit signed integer (rounded half to even); nullopt when the
// text is not a number or does not fit.
std::optional<qint16> ConvertirEntero16(const QString& texto);

// The programs' one convention for Vemora.INI.
class ArchivoIni {
public:
    explicit ArchivoIni(QString rutaIni = {}) : RutaIni(std::move(rutaIni)) {}

    QString LeerIni(const QString& seccion, const QString& clave, const QString& porDefecto);
    // A value that is not a 16-bit whole number gives the caller's default.
    qint16 LeerIniEntero(const QString& seccion, const QString& clave, qint16 porDefecto);
    bool EscribirIni(const QString& seccion, const QString& clave, const QString& valor);
    // The padded form: the value left-aligned in the 100-character buffer, all of it written.
    bool EscribirIniConBuffer(const QString& seccion, const QString& clave, const QString& valor);

    QString RutaIni;
    QString BufferIni; // the characters the last read placed in the buffer
    int LargoIni = 0;
};

// The settings file read once for a run of lookups (start-up reads several keys in a
// row). A lookup answers as ArchivoIni::LeerIni would have on the file as it was read.
class FotoIni {
public:
    explicit FotoIni(const QString& rutaIni);

    QString LeerIni(const QString& seccion, const QString& clave, const QString& porDefecto) const;
    // A value that is not a 16-bit whole number gives the caller's default.
    qint16 LeerIniEntero(const QString& seccion, const QString& clave, qint16 porDefecto) const;

private:
    std::optional<QByteArray> contenido_; // nothing when the file could not be read
};

} // namespace comun
