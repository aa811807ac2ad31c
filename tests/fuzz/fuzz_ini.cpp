// Fuzz target for the settings-file reader and writer: whatever bytes the file holds,
// reading never fails, and writing one key changes nothing outside that key's line.
#include "Ini.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>

namespace {

// The bytes of `antes` that the write removed must lie inside one line.
bool SoloUnaLineaCambio(const QByteArray& antes, const QByteArray& despues) {
    qsizetype prefijo = 0;
    const qsizetype minimo = qMin(antes.size(), despues.size());
    while (prefijo < minimo && antes[prefijo] == despues[prefijo])
        ++prefijo;
    qsizetype sufijo = 0;
    while (sufijo < minimo - prefijo &&
           antes[antes.size() - 1 - sufijo] == despues[despues.size() - 1 - sufijo])
        ++sufijo;
    const QByteArray quitado = antes.mid(prefijo, antes.size() - prefijo - sufijo);
    return !quitado.contains('\n') && !quitado.contains('\r');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tam) {
    if (tam < 2)
        return 0;
    // The first byte picks the names and value, the rest is the file.
    static const char* const kSecciones[] = {"Posicion", "Brivolar", "BWeb", "a", "Ñandú"};
    static const char* const kClaves[] = {"ReIzda", "Ocultar", "0", "x", "Clave larga"};
    const QString seccion = QString::fromUtf8(kSecciones[datos[0] % 5]);
    const QString clave = QString::fromUtf8(kClaves[(datos[0] / 5) % 5]);
    const QString valor = QStringLiteral("v%1").arg(datos[0]);
    const QByteArray contenido(reinterpret_cast<const char*>(datos + 1), qsizetype(tam - 1));

    const auto antes = comun::BuscarValorIni(contenido, seccion, clave);
    (void)antes;
    const QByteArray escrito = comun::PonerValorIni(contenido, seccion, clave, valor);
    // UTF-16 files are rewritten in UTF-16, where a line break is two bytes; the byte-level
    // check applies to the 8-bit files.
    const bool utf16 = contenido.startsWith("\xFF\xFE") || contenido.startsWith("\xFE\xFF");
    if (!utf16 && !SoloUnaLineaCambio(contenido, escrito))
        std::abort();
    if (comun::BuscarValorIni(escrito, seccion, clave) != valor)
        std::abort();
    return 0;
}
