#include "Ventanas.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace comun {

namespace {
// The toolkit's X11 platform reads this property of a window whenever it sets the
// window's flags, and gives the window the types it names (_NET_WM_WINDOW_TYPE) ahead
// of the one that follows from the flags; the value is its flag for "toolbar".
const char* const kTipoVentanaX11 = "_q_xcb_wm_window_type";
constexpr int kTipoBarraDeHerramientas = 0x08;
} // namespace

void MarcarVentanaAuxiliar(QWidget* ventana) {
    // A tool window is announced as a utility window, to which some window managers
    // (Openbox) still give minimise and maximise buttons; they leave both out for a
    // toolbar and otherwise treat the two types alike. A window manager takes the first
    // type it knows: the toolbar type goes first, the utility type after it.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    ventana->winId(); // the platform window, not shown yet
    QWindow* ventanaX11 = ventana->windowHandle();
    if (!ventanaX11)
        return;
    ventanaX11->setProperty(kTipoVentanaX11, kTipoBarraDeHerramientas);
    // The types are written when the flags change: a flag without effect on X11 is set
    // and cleared again before the window is mapped.
    const Qt::WindowFlags flags = ventanaX11->flags();
    ventanaX11->setFlags(flags ^ Qt::WindowContextHelpButtonHint);
    ventanaX11->setFlags(flags);
}

void ColgarDeVentanaPrincipal(QWidget* ventana, QWidget* principal) {
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    ventana->winId();
    principal->winId();
    if (ventana->windowHandle() && principal->windowHandle())
        ventana->windowHandle()->setTransientParent(principal->windowHandle());
}

} // namespace comun
