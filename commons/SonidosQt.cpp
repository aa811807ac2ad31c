#include "SonidosQt.h"

#include <QDir>

namespace comun {

namespace {
using Fabrica = Sonidos* (*)();
}

SonidosQt::SonidosQt(QString carpetaModulo) : carpetaModulo_(std::move(carpetaModulo)) {}

SonidosQt::~SonidosQt() {
    // The effect's code lives in the module: destroy it before the module may go.
    efecto_.reset();
}

bool SonidosQt::Cargar() {
    if (intentado_)
        return efecto_ != nullptr;
    intentado_ = true;
    modulo_.setFileName(QDir(carpetaModulo_).filePath(QStringLiteral("VemoraSonidos.so")));
    if (!modulo_.load())
        return false; // no module, no sound: the programs never report a sound failure
    auto fabrica = reinterpret_cast<Fabrica>(modulo_.resolve("CrearSonidosVemora"));
    if (fabrica)
        efecto_.reset(fabrica());
    return efecto_ != nullptr;
}

void SonidosQt::Reproducir(const QString& ruta) {
    if (Cargar())
        efecto_->Reproducir(ruta);
}

} // namespace comun
