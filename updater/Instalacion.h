#pragma once

#include "Entorno.h"
#include "Ini.h"

#include <QString>

namespace updater {

// Names in the application folder that the installation relies on.
inline const QString kLanzador = QStringLiteral("Brivolar.exe");
inline const QString kInstalador = QStringLiteral("Actualizar Brivolar.exe");
inline const QString kPaginaAyuda = QStringLiteral("Ayuda/Brivolar.htm");

// The version mark of this launcher in [Actualizaciones] Brivolar, compared exactly.
inline const QString kSeccionVersion = QStringLiteral("Actualizaciones");
inline const QString kClaveVersion = QStringLiteral("Brivolar");
inline const QString kVersion = QStringLiteral("Ver 1.8");

extern const QString kTituloSinLanzador;
extern const QString kTextoSinLanzador;
extern const QString kTituloAviso;
extern const QString kTextoAviso;
extern const QString kTituloNoSePuede;
extern const QString kTextoNoSePuede;
extern const QString kTextoSinAjustes;
extern const QString kTituloYaActualizado;
extern const QString kTextoYaActualizado;

// True when the installed version mark is this one (letter case included).
bool VersionInstalada(const comun::FotoIni& ajustes);

enum class ResultadoInstalacion {
    SinLanzador, // no "Brivolar.exe": message, help opened, nothing changed
    NoSePuede,   // old launcher running or the copy failed: message, old launcher kept
    Instalado,   // new launcher in place, version recorded, new launcher started
};

// Replaces "Brivolar.exe" of the application folder with a copy of the running
// executable, records the version and starts the new launcher, with the messages the
// user sees on the way. The caller ends the program afterwards whatever the result.
// The old launcher is only replaced by a finished, flushed copy (a rename over it), so
// a failure at any step leaves the user with a working launcher.
ResultadoInstalacion InstalarLanzador(const comun::Entorno& entorno, comun::ArchivoIni& ini,
                                      const QString& rutaPrograma, const QString& rutaEjecutable);

// Copies origen over destino through comun::ReemplazoAtomico (executable), so that
// destino is at every moment either the old or the new complete file. When respaldo is given, the
// old destino is first kept under that hidden name (a second link to it where the file system
// allows) so the caller can put it back. On failure destino is untouched and no temporary is left.
bool ReemplazarArchivo(const QString& origen, const QString& destino,
                       const QString& respaldo = QString());

// The hidden files an installation works with beside "Brivolar.exe": its copy in the
// making and the old launcher kept until the version is recorded. A run that was cut
// short (power cut, killed process) may leave them; the next installation and the new
// launcher's clean-up remove them, with the suite's other hidden temporaries.
void EliminarTemporales(const QString& rutaPrograma);

// Both names lead to the same file on disk.
bool MismoArchivo(const QString& a, const QString& b);

// The clean-up of the new launcher: removes the leftover "Actualizar Brivolar.exe".
// True when nothing is left to remove; false when it cannot be removed, in particular
// when the running program is that very file.
bool EliminarInstalador(const QString& rutaPrograma, const QString& rutaEjecutable);

} // namespace updater
