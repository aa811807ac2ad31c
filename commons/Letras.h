#pragma once

// The fonts are the longest part of the start-up before the first text can be drawn:
// reading the desktop's font configuration, then the toolkit's list of every installed
// font. Neither needs the window, so both run on another core: the configuration while
// the toolkit connects to the display, the list (for a program that measures texts
// early) while the window builds its controls. The first text waits for what is left.

#include <functional>
#include <future>
#include <thread>

namespace comun {

class PrecargaLetras {
public:
    // Build it before the QApplication: the configuration is read at once.
    PrecargaLetras();
    // Without ContinuarConLista the thread only reads the configuration; Esperar right
    // after the QApplication is built joins it there.
    ~PrecargaLetras() { Esperar(); }

    // Call it once the QApplication exists: the thread goes on to fill the toolkit's
    // list of fonts (its font database is safe to use from any thread), then runs
    // `despues` (measuring texts, for instance).
    void ContinuarConLista(std::function<void()> despues = {});
    // Waits for the thread to end. Call it before the QApplication is destroyed.
    void Esperar();

    PrecargaLetras(const PrecargaLetras&) = delete;
    PrecargaLetras& operator=(const PrecargaLetras&) = delete;

private:
    std::promise<std::function<void()>> seguir_; // empty: stop after the configuration
    bool decidido_ = false;
    std::thread hilo_;
};

} // namespace comun
