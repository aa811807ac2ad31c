// libFuzzer target for the reading of "Datos.csv": any bytes must decode, regroup and
// split without crashing or hanging, and the regrouping must lose no character.
#include "Csv.h"
#include "Texto.h"

#include <cstdint>
#include <cstdlib>

namespace {
QString SinBlancos(QString s) {
    s.remove(u'\r');
    s.remove(u'\n');
    s.remove(u' ');
    return s;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t largo) {
    const QString texto =
        comun::DecodificarTexto(QByteArray(reinterpret_cast<const char*>(datos), qsizetype(largo)));
    const QStringList registros = importer::RegistrosDeTexto(texto);
    if (registros.isEmpty() || SinBlancos(registros.join(QString())) != SinBlancos(texto))
        std::abort();
    const auto separador = importer::SeparadorDeCabecera(registros.first());
    for (const QString& linea : registros) {
        const importer::Particion p = importer::PartirContacto(linea, separador);
        if (p.campos) {
            if (!linea.endsWith(p.campos->notas))
                std::abort();
            importer::ComponerFila(*p.campos);
        } else if (p.campoSinSeparador < 1 || p.campoSinSeparador > 10) {
            std::abort();
        }
    }
    return 0;
}
