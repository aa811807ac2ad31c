#include "SonidosQt.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace comun {

SonidosQt::SonidosQt() = default;
SonidosQt::~SonidosQt() = default;

void SonidosQt::Reproducir(const QString& ruta) {
    // Created on first use: the multimedia back end costs start-up time that a
    // program with sounds switched off should not pay.
    if (!efecto_)
        efecto_ = std::make_unique<QSoundEffect>();
    efecto_->stop();
    if (!QFileInfo(ruta).isFile())
        return;
    efecto_->setSource(QUrl::fromLocalFile(QFileInfo(ruta).absoluteFilePath()));
    efecto_->play();
}

} // namespace comun
