#include "Instalacion.h"

#include "Inicio.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace updater {

const QString kTituloSinLanzador =
    QStringLiteral("Descargue primero los complementos de la vemora.");
const QString kTextoSinLanzador =
    QStringLiteral("No se puede actualizar el complemento «Brivolar» de la Vemora\r"
                   "porque no existe. Lea en la ayuda cómo descargarlo gratuitamente\r"
                   "y vuelva a brivolar este programa de actualización.");
const QString kTituloAviso =
    QStringLiteral("ANTES DE ACTUALIZAR ESTE COMPLEMENTO. MUY IMPORTANTE...");
const QString kTextoAviso =
    QStringLiteral("Compruebe que no está abierta la verión anterior del complemento «Brivolar».\r"
                   "Si está abierta ciérrela antes de proceder a la actualización. Para saber\r"
                   "si está abierta busque el icono de este programa al lado del reloj de\r"
                   "güindous en la barra de tareas («SysTray».)");
const QString kTituloNoSePuede = QStringLiteral("No se puede actualizar el complemento.");
const QString kTextoNoSePuede =
    QStringLiteral("No se puede actualizar el complemento «Brivolar». La versión\r"
                   "anterior del mismo está abierta. Ciérrela y vuelva a intentarlo.");
const QString kTituloYaActualizado = QStringLiteral("Resultado de la última actualización.");
const QString kTextoYaActualizado =
    QStringLiteral("Ya se actualizó correctamente el complemento Brivolar.");

bool VersionInstalada(comun::ArchivoIni& ini) {
    return ini.LeerIni(kSeccionVersion, kClaveVersion, QStringLiteral("No")) == kVersion;
}

bool MismoArchivo(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

bool ReemplazarArchivo(const QString& origen, const QString& destino) {
    QFile fuente(origen);
    if (!fuente.open(QIODevice::ReadOnly))
        return false;
    QTemporaryFile copia(QFileInfo(destino).absolutePath() + QStringLiteral("/.") +
                         QFileInfo(destino).fileName() + QStringLiteral(".XXXXXX"));
    if (!copia.open())
        return false;
    qint64 copiados = 0;
    while (!fuente.atEnd()) {
        const QByteArray trozo = fuente.read(1 << 16);
        if (trozo.isEmpty() && fuente.error() != QFileDevice::NoError)
            return false;
        if (copia.write(trozo) != trozo.size())
            return false;
        copiados += trozo.size();
    }
    if (copiados != fuente.size() || !copia.flush())
        return false;
#if defined(Q_OS_UNIX)
    // The rename below must never publish a file whose bytes are still in the cache only.
    if (::fsync(copia.handle()) != 0)
        return false;
#endif
    const auto permisos = fuente.permissions() | QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                          QFileDevice::ExeOwner | QFileDevice::ReadUser | QFileDevice::ExeUser;
    if (!copia.setPermissions(permisos))
        return false;
    copia.close();
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(copia.fileName().toStdU16String()),
                            std::filesystem::path(destino.toStdU16String()), error);
    if (error)
        return false; // the temporary goes with `copia`
    copia.setAutoRemove(false);
    return true;
}

ResultadoInstalacion InstalarLanzador(const comun::Entorno& entorno, comun::ArchivoIni& ini,
                                      const QString& rutaPrograma, const QString& rutaEjecutable) {
    const QString lanzador = rutaPrograma + kLanzador;
    if (!QFileInfo(lanzador).isFile()) {
        entorno.dialogos->Critico(kTituloSinLanzador, kTextoSinLanzador);
        comun::AbrirAyuda(entorno, kPaginaAyuda);
        return ResultadoInstalacion::SinLanzador;
    }
    entorno.dialogos->Informacion(kTituloAviso, kTextoAviso);

    // A running launcher keeps working from a replaced file on this system, so "its
    // file is in use" is found through its instance lock; the installer started under
    // the launcher's own name is the other case of a launcher that is open.
    const bool lanzadorAbierto =
        MismoArchivo(rutaEjecutable, lanzador) || comun::ProgramaEnMarcha(entorno, kLanzador);
    if (lanzadorAbierto || !ReemplazarArchivo(rutaEjecutable, lanzador) ||
        !ini.EscribirIni(kSeccionVersion, kClaveVersion, kVersion)) {
        entorno.dialogos->Critico(kTituloNoSePuede, kTextoNoSePuede);
        return ResultadoInstalacion::NoSePuede;
    }
    entorno.shell->Ejecutar({QStringLiteral("open"), lanzador, {}, QString()});
    return ResultadoInstalacion::Instalado;
}

bool EliminarInstalador(const QString& rutaPrograma, const QString& rutaEjecutable) {
    const QString instalador = rutaPrograma + kInstalador;
    const QFileInfo info(instalador);
    if (!info.exists() && !info.isSymLink())
        return true;
    // The running program's own file: the user started the installer again after the
    // update; it is not removed from under the running program.
    if (MismoArchivo(rutaEjecutable, instalador))
        return false;
    return QFile::remove(instalador);
}

} // namespace updater
