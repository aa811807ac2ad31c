#pragma once

#include "Entorno.h"

#include <QLockFile>
#include <QString>
#include <memory>

namespace comun {

// RutaPrograma: the application folder ending in exactly one separator.
QString ObtenerRutaPrograma(const QString& carpeta);

struct Rutas {
    QString RutaPrograma;
    QString RutaIni; // RutaPrograma + "Vemora.INI"
};
Rutas ObtenerRutas(const QString& carpeta);

// "Vemora.exe" as a regular file in the folder.
bool ExisteAnfitrion(const QString& rutaPrograma);

// True while a running process holds the single-instance lock of that executable name.
// The lock's file alone says little: a program killed between creating the file and
// writing its owner into it leaves an empty file. While a program runs it also holds a
// system lock on that file, which the system releases however the program ends: that
// is what is asked.
bool ProgramaEnMarcha(const Entorno& entorno, const QString& nombreEjecutable);

// Removes the lock file of that executable name when no running program holds it, so a
// dead program's leftover is never taken for a running copy.
void QuitarBloqueoHuerfano(const Entorno& entorno, const QString& nombreEjecutable);

extern const QString kTituloSinAnfitrion;
extern const QString kTextoSinAnfitrion;

// The first steps of every program: single instance (when asked), then the host check.
// Once both pass, the temporaries that a run cut short left in the folder are removed
// (EliminarTemporales): nothing is touched before. Holds the instance lock for as long
// as the object lives.
class GuardiaInicio {
public:
    enum class Resultado {
        Continuar,
        OtraInstancia, // end silently
        SinAnfitrion,  // the message was shown; end
    };

    Resultado Pasar(const Entorno& entorno, const QString& nombreEjecutable, bool unaInstancia);
    // Only the single-instance step, for programs that do more before the host check.
    bool TomarInstancia(const Entorno& entorno, const QString& nombreEjecutable);
    // Only the host check with its message.
    static bool ComprobarAnfitrion(const Entorno& entorno);

private:
    std::unique_ptr<QLockFile> bloqueo_;
};

// Opens "Ayuda.chm" of the folder when it exists, else the program's own page
// (a path relative to the folder, such as "Ayuda/Rendalio.htm"). Reports nothing.
qint64 AbrirAyuda(const Entorno& entorno, const QString& paginaPropia);

// Plays a sound of the application folder in the background.
void ReproducirSonido(const Entorno& entorno, const QString& ruta);

} // namespace comun
