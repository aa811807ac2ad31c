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
        if (continuar.get())
            QFontDatabase::families();
    });
}

void PrecargaLetras::ContinuarConLista() {
    if (decidido_)
        return;
    decidido_ = true;
    seguir_.set_value(true);
}

void PrecargaLetras::Esperar() {
    if (!decidido_) {
        decidido_ = true;
        seguir_.set_value(false);
    }
    if (hilo_.joinable())
        hilo_.join();
}

} // namespace launcher
