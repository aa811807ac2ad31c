#include "Plataforma.h"

#include <QtGlobal>

namespace comun {

QByteArray PlataformaElegida(const QByteArray& plataformaUsuario, const QByteArray& pantallaX,
                             const QByteArray& pantallaWayland, const QByteArray& tipoSesion) {
    if (!plataformaUsuario.isEmpty())
        return {};
    const bool wayland = !pantallaWayland.isEmpty() || tipoSesion == "wayland";
    if (wayland && !pantallaX.isEmpty())
        return QByteArrayLiteral("xcb");
    return {};
}

EleccionPlataforma::EleccionPlataforma() {
    const QByteArray plataforma =
        PlataformaElegida(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"),
                          qgetenv("WAYLAND_DISPLAY"), qgetenv("XDG_SESSION_TYPE"));
    if (plataforma.isEmpty())
        return;
    qputenv("QT_QPA_PLATFORM", plataforma);
    puesta_ = true;
}

void EleccionPlataforma::Soltar() {
    if (puesta_)
        qunsetenv("QT_QPA_PLATFORM");
    puesta_ = false;
}

} // namespace comun
