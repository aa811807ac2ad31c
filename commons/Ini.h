#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace comun {

// The settings file behaves as the desktop's profile functions do: names match
// without regard to case, the first matching section and key win, blanks around a
// value and one pair of surrounding double quotes are dropped on reading, and a
// write keeps every other byte of the file.

constexpr int kTamBufferIni = 100;

// Pure functions over the file's bytes (no I/O), shared by the reader, the writer
// and the fuzz targets.
std::optional<QString> BuscarValorIni(const QByteArray& contenido, const QString& seccion,
                                      const QString& clave);
QByteArray PonerValorIni(const QByteArray& contenido, const QString& seccion, const QString& clave,
                         const QString& valor);

// Reads through a buffer of tamBuffer characters: at most tamBuffer - 1 are kept.
QString LeerPerfil(const QString& ruta, const QString& seccion, const QString& clave,
                   const QString& porDefecto, int tamBuffer);
// Writes one key when ArchivoEscribible allows it. The new file is made under a hidden
// temporary name beside the old one, flushed to disk and renamed over it, so that the
// settings file is at every moment the old or the new complete file and a run cut short
// leaves only a hidden temporary behind. A write that changes nothing writes nothing.
// False when the key is not stored.
bool EscribirPerfil(const QString& ruta, const QString& seccion, const QString& clave,
                    const QString& valor);

// Whether the settings file may be written: missing (a write creates it), or an ordinary
// file whose mode bits allow writing. The read-only mark is honoured for everyone, the
// administrator included: a file the user protected is never rewritten behind their back.
bool ArchivoEscribible(const QString& ruta);

// The hidden temporary names EscribirPerfil uses beside the settings file.
bool EsTemporalIni(const QString& nombreArchivo);

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

} // namespace comun
