#pragma once

#include <QString>

namespace updater {

// The program that opens web pages, found once at start-up (Entorno's Escritorio).
// "Botón Web" starts it once per page with the address as its one argument. A launcher
// found here may still have no browser behind it: one that ends in failure counts as
// no browser for that choice of "Botón Web".
struct Navegador {
    QString ruta;      // absolute path of the program; empty when none was found
    bool falta = true; // no browser: "Botón Web" shows its message instead
};

} // namespace updater
