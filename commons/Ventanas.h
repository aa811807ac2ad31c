#pragma once

class QWidget;

namespace comun {

// A window that works beside the program's main window (the diary's calendar, the
// launcher's locator) rather than on its own: the window manager frames it with a
// caption and a close button, and no minimise or maximise button; it goes and comes
// back with the main window. Call before the window is first shown. The window itself
// is made a tool window (Qt::Tool) by its own flags.
void MarcarVentanaAuxiliar(QWidget* ventana);

} // namespace comun
