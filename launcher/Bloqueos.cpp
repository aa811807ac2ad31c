#include "Bloqueos.h"

#include "Inicio.h"

#include <QDir>
#include <QFile>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace launcher {

namespace {
// The name the start-up guard gives the lock of an executable.
QString RutaBloqueo(const comun::Entorno& entorno, const QString& nombreEjecutable) {
    return QDir(entorno.carpetaBloqueos).filePath(nombreEjecutable + QStringLiteral(".lock"));
}
} // namespace

bool ProgramaAbierto(const comun::Entorno& entorno, const QString& nombreEjecutable) {
#if defined(Q_OS_UNIX)
    const QByteArray ruta = QFile::encodeName(RutaBloqueo(entorno, nombreEjecutable));
    const int fd = ::open(ruta.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return false;
        return comun::ProgramaEnMarcha(entorno, nombreEjecutable);
    }
    const bool libre = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd); // also releases the lock just taken
    return !libre;
#else
    return comun::ProgramaEnMarcha(entorno, nombreEjecutable);
#endif
}

void QuitarBloqueoHuerfano(const comun::Entorno& entorno, const QString& nombreEjecutable) {
#if defined(Q_OS_UNIX)
    const QByteArray ruta = QFile::encodeName(RutaBloqueo(entorno, nombreEjecutable));
    const int fd = ::open(ruta.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    // Removed while held, as the lock's own stale removal does, so that no starting
    // program can take it in between.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        ::unlink(ruta.constData());
    ::close(fd);
#else
    (void)entorno;
    (void)nombreEjecutable;
#endif
}

} // namespace launcher
