#include "Inicio.h"

#include "Reemplazo.h"
#include "Texto.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace comun {

const QString kTituloSinAnfitrion = QStringLiteral("Imposible abrir el programa.");
const QString kTextoSinAnfitrion =
    QStringLiteral("Este programa tiene que estar en\rla misma carpeta que la Vemora.");

QString ObtenerRutaPrograma(const QString& carpeta) {
    QString ruta = QDir::toNativeSeparators(carpeta);
    // A root already ends in the separator; nothing else does.
    if (!ruta.endsWith(QDir::separator()))
        ruta += QDir::separator();
    return ruta;
}

Rutas ObtenerRutas(const QString& carpeta) {
    Rutas rutas;
    rutas.RutaPrograma = ObtenerRutaPrograma(carpeta);
    rutas.RutaIni = rutas.RutaPrograma + QStringLiteral("Vemora.INI");
    return rutas;
}

bool ExisteAnfitrion(const QString& rutaPrograma) {
    const QFileInfo anfitrion(rutaPrograma + QStringLiteral("Vemora.exe"));
    return anfitrion.isFile() && !anfitrion.isHidden();
}

namespace {
QString RutaBloqueo(const Entorno& entorno, const QString& nombreEjecutable) {
    return QDir(entorno.carpetaBloqueos).filePath(nombreEjecutable + QStringLiteral(".lock"));
}
} // namespace

bool ProgramaEnMarcha(const Entorno& entorno, const QString& nombreEjecutable) {
#if defined(Q_OS_UNIX)
    const QByteArray ruta = QFile::encodeName(RutaBloqueo(entorno, nombreEjecutable));
    const int fd = ::open(ruta.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool libre = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd); // also releases the lock just taken
    return !libre;
#else
    QLockFile bloqueo(RutaBloqueo(entorno, nombreEjecutable));
    bloqueo.setStaleLockTime(0);
    if (bloqueo.tryLock(0)) {
        bloqueo.unlock();
        return false;
    }
    return bloqueo.error() == QLockFile::LockFailedError;
#endif
}

void QuitarBloqueoHuerfano(const Entorno& entorno, const QString& nombreEjecutable) {
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

bool GuardiaInicio::TomarInstancia(const Entorno& entorno, const QString& nombreEjecutable) {
    QDir().mkpath(entorno.carpetaBloqueos);
    QuitarBloqueoHuerfano(entorno, nombreEjecutable);
    auto bloqueo = std::make_unique<QLockFile>(RutaBloqueo(entorno, nombreEjecutable));
    // A lock left by a process that died is recognised by its process id, not by age.
    bloqueo->setStaleLockTime(0);
    if (!bloqueo->tryLock(0)) {
        if (bloqueo->error() == QLockFile::LockFailedError)
            return false;
        // The lock folder is unusable (permissions, full disk): do not refuse the user
        // the program for that.
        return true;
    }
    bloqueo_ = std::move(bloqueo);
    return true;
}

bool GuardiaInicio::ComprobarAnfitrion(const Entorno& entorno) {
    if (ExisteAnfitrion(ObtenerRutaPrograma(entorno.carpeta)))
        return true;
    entorno.dialogos->Critico(kTituloSinAnfitrion, kTextoSinAnfitrion);
    return false;
}

GuardiaInicio::Resultado GuardiaInicio::Pasar(const Entorno& entorno,
                                              const QString& nombreEjecutable, bool unaInstancia) {
    if (unaInstancia && !TomarInstancia(entorno, nombreEjecutable))
        return Resultado::OtraInstancia;
    if (!ComprobarAnfitrion(entorno))
        return Resultado::SinAnfitrion;
    EliminarTemporales(entorno.carpeta);
    return Resultado::Continuar;
}

qint64 AbrirAyuda(const Entorno& entorno, const QString& paginaPropia) {
    const QString rutaPrograma = ObtenerRutaPrograma(entorno.carpeta);
    const QString chm = rutaPrograma + QStringLiteral("Ayuda.chm");
    const QString archivo = QFileInfo(chm).isFile() ? chm : rutaPrograma + Nativo(paginaPropia);
    return entorno.shell->Ejecutar({QStringLiteral("open"), archivo, {}, QString()});
}

void ReproducirSonido(const Entorno& entorno, const QString& ruta) {
    entorno.sonidos->Reproducir(ruta);
}

} // namespace comun
