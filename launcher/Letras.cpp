#include "Letras.h"

#include <QFontDatabase>
#include <QStringList>

#if defined(LAUNCHER_FONTCONFIG)
#include <fontconfig/fontconfig.h>
#endif

namespace launcher {

PrecargaLetras::PrecargaLetras() {
    hilo_ = std::thread([continuar = seguir_.get_future()]() mutable {
#if defined(LAUNCHER_FONTCONFIG)
        // The toolkit's font database starts with the same call; fontconfig loads its
        // configuration once per process and may be entered from several threads.
        FcInit();
#endif
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

} // namespace launcher
