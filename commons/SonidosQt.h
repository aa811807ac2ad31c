#pragma once

#include "Entorno.h"

#include <memory>

class QSoundEffect;

namespace comun {

// Short WAV sounds through Qt Multimedia: asynchronous, one at a time.
class SonidosQt : public Sonidos {
public:
    SonidosQt();
    ~SonidosQt() override;
    void Reproducir(const QString& ruta) override;

private:
    std::unique_ptr<QSoundEffect> efecto_;
};

} // namespace comun
