#pragma once

class QWidget;

namespace comun {

// A window that works beside the program's main window (the diary's calendar, the
// launcher's locator) rather than on its own: the window manager frames it with a
// caption and a close button, and no minimise or maximise button; it goes and comes
// back with the main window. Call before the window is first shown. The window itself
// is made a tool window (Qt::Tool) by its own flags.
void MarcarVentanaAuxiliar(QWidget* ventana);

// On a Wayland display no program places its windows, and a tiling compositor (sway)
// would give a tool window the whole screen: it is made a child of the main window,
// which compositors float over it. Elsewhere the window keeps its own place.
void ColgarDeVentanaPrincipal(QWidget* ventana, QWidget* principal);

} // namespace comun
