// The sound module loaded by SonidosQt on the first sound.
#include "Entorno.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace {

class EfectoQt : public comun::Sonidos {
public:
    void Reproducir(const QString& ruta) override {
        // A new sound replaces the one still playing; a missing file leaves silence.
        efecto_.stop();
        const QFileInfo archivo(ruta);
        if (!archivo.isFile())
            return;
        efecto_.setSource(QUrl::fromLocalFile(archivo.absoluteFilePath()));
        efecto_.play();
    }

private:
    QSoundEffect efecto_;
};

} // namespace

extern "C" Q_DECL_EXPORT comun::Sonidos* CrearSonidosVemora() {
    return new EfectoQt();
}
