#pragma once

#include "Entorno.h"

#include <QLibrary>
#include <memory>

namespace comun {

// Short WAV sounds through Qt Multimedia: asynchronous, one at a time. The multimedia
// stack (and the sound server's client libraries it drags in) lives in a module of its
// own, loaded with the first sound, so that starting a program costs nothing for it.
class SonidosQt : public Sonidos {
public:
    // carpetaModulo: where "VemoraSonidos.so" lies (the program's folder).
    explicit SonidosQt(QString carpetaModulo);
    ~SonidosQt() override;
    void Reproducir(const QString& ruta) override;

private:
    bool Cargar();

    QString carpetaModulo_;
    QLibrary modulo_;
    std::unique_ptr<Sonidos> efecto_;
    bool intentado_ = false;
};

} // namespace comun
