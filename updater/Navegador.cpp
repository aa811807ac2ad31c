#include "Navegador.h"

#include <QStandardPaths>
#include <QStringList>

namespace updater {

Navegador DescubrirNavegadorDelEscritorio() {
    const QStringList candidatos = {
#if defined(Q_OS_MACOS)
        QStringLiteral("open"),
#endif
        QStringLiteral("xdg-open"),         // freedesktop: the default text/html handler
        QStringLiteral("x-www-browser"),    // Debian alternatives: the graphical browser
        QStringLiteral("sensible-browser"), // Debian: $BROWSER, then the alternatives
    };
    Navegador navegador;
    for (const QString& candidato : candidatos) {
        const QString ruta = QStandardPaths::findExecutable(candidato);
        if (!ruta.isEmpty()) {
            navegador.ruta = ruta;
            navegador.falta = false;
            break;
        }
    }
    return navegador;
}

} // namespace updater
