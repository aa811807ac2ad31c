#pragma once

// The file helpers every test needs, and the randomness and warnings policy of the
// suite's tests.

#include <QByteArray>
#include <QString>

namespace prueba {

// The whole file; "<ilegible>" when it cannot be read.
QByteArray Leer(const QString& ruta);
// Writes the whole file, making its folder first; a failure fails the running test
// (and is returned, for a caller that stops there).
bool Escribir(const QString& ruta, const QByteArray& bytes);

// Damaged bytes as a foreign file holds them: every byte value but the three that would
// start a line, a section or a value of a settings file.
QByteArray Basura(quint32 semilla, int largo);

// The seed of a random test: `porDefecto`, or the one in PRUEBAS_SEMILLA to replay a run.
// It is printed, so a failing run can be reproduced.
quint32 Semilla(quint32 porDefecto);

// Call from a test class's init(): any warning the test function raises fails it, but
// those on the suite's short allow-list (what the headless platform says of itself).
void FallarConAvisos();

} // namespace prueba
