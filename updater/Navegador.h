#pragma once

#include <QString>
#include <functional>

namespace updater {

// The program that opens web pages, found once at start-up. "Botón Web" starts it
// once per page with the address as its one argument.
struct Navegador {
    QString ruta;      // absolute path of the program; empty when none was found
    bool falta = true; // no browser: "Botón Web" shows its message instead
};

using DescubrirNavegador = std::function<Navegador()>;

// The desktop's own handler for web pages, looked up on the PATH in order of
// preference: the freedesktop opener (it follows the user's choice of browser for
// text/html), then the system's alternatives for the default browser. Nothing is
// written to disk to find it.
Navegador DescubrirNavegadorDelEscritorio();

} // namespace updater
