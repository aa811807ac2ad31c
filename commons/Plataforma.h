#pragma once

// Which of the desktop's display servers a program talks to. Our windows place
// themselves: the bar where the user left it, the diary's calendar beside the diary,
// every window at the place kept in the settings. A Wayland compositor lets no client
// do that, so in a Wayland session that also runs an X server (XWayland: GNOME, KDE
// Plasma, sway with "xwayland enable") the programs run on X11 through it. A platform
// the user chose (QT_QPA_PLATFORM) is kept; without an X server they run natively.

#include <QByteArray>

namespace comun {

// What to run on for a session, from its variables; empty: the toolkit's own choice.
QByteArray PlataformaElegida(const QByteArray& plataformaUsuario, const QByteArray& pantallaX,
                             const QByteArray& pantallaWayland, const QByteArray& tipoSesion);

// Build it before the QApplication and call Soltar() once the QApplication exists: the
// choice reaches the toolkit through QT_QPA_PLATFORM for the application object's
// construction only, so the programs this one starts (siblings, the host, the
// browser) still make their own choice.
class EleccionPlataforma {
public:
    EleccionPlataforma();
    ~EleccionPlataforma() { Soltar(); }
    void Soltar();

    EleccionPlataforma(const EleccionPlataforma&) = delete;
    EleccionPlataforma& operator=(const EleccionPlataforma&) = delete;

private:
    bool puesta_ = false;
};

} // namespace comun
