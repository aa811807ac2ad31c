#pragma once

// The single-instance lock of a program, as seen from outside it. The lock's file alone
// says little: a program killed between creating the file and writing its owner into it
// leaves an empty file that the lock's own stale test never clears, and the program
// would count as open for ever. While the program runs it also holds a system lock on
// that file, which the system releases however the program ends: that is what is asked.

#include "Entorno.h"

#include <QString>

namespace launcher {

// True while a running program holds the lock of that executable name.
bool ProgramaAbierto(const comun::Entorno& entorno, const QString& nombreEjecutable);

// Removes the lock file of that executable name when no running program holds it, so
// that the start-up guard does not take a dead program's leftover for a running copy.
void QuitarBloqueoHuerfano(const comun::Entorno& entorno, const QString& nombreEjecutable);

} // namespace launcher
