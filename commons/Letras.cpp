#include "Letras.h"

#include <QFontDatabase>
#include <QStringList>

#include <fontconfig/fontconfig.h>

namespace comun {

PrecargaLetras::PrecargaLetras() {
    hilo_ = std::thread([continuar = seguir_.get_future()]() mutable {
        // The toolkit's font database starts with the same call; fontconfig loads its
        // configuration once per process and may be entered from several threads.
        FcInit();
        if (const std::function<void()> despues = continuar.get()) {
            QFontDatabase::families();
            despues();
        }
    });
}

void PrecargaLetras::ContinuarConLista(std::function<void()> despues) {
    if (decidido_)
        return;
    decidido_ = true;
    if (!despues)
        despues = [] {};
    seguir_.set_value(std::move(despues));
}

void PrecargaLetras::Esperar() {
    if (!decidido_) {
        decidido_ = true;
        seguir_.set_value({});
    }
    if (hilo_.joinable())
        hilo_.join();
}

} // namespace comun
