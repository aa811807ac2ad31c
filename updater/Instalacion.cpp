#include "Instalacion.h"

#include "Inicio.h"
#include "Programas.h"
#include "Reemplazo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

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
const QString kTextoSinAjustes =
    QStringLiteral("No se puede actualizar el complemento «Brivolar» porque no se puede\r"
                   "escribir en el archivo de configuración Vemora.INI. Compruebe que no es\r"
                   "de solo lectura y que es un archivo, y vuelva a intentarlo.");
const QString kTituloYaActualizado = QStringLiteral("Resultado de la última actualización.");
const QString kTextoYaActualizado =
    QStringLiteral("Ya se actualizó correctamente el complemento Brivolar.");

bool VersionInstalada(const comun::FotoIni& ajustes) {
    return ajustes.LeerIni(kSeccionVersion, kClaveVersion, QStringLiteral("No")) == kVersion;
}

bool MismoArchivo(const QString& a, const QString& b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

namespace {
// The old launcher kept during the installation, until the version is recorded.
const QString kRespaldo = QStringLiteral(".") + kLanzador + QStringLiteral(".anterior");

std::filesystem::path Camino(const QString& ruta) {
    return std::filesystem::path(ruta.toStdU16String());
}

// A second name for the old launcher: a link where the file system has them (nothing
// is copied and the launcher's own name never goes away), a copy elsewhere.
bool GuardarRespaldo(const QString& destino, const QString& respaldo) {
    std::error_code error;
    std::filesystem::remove(Camino(respaldo), error);
    error.clear();
    std::filesystem::create_hard_link(Camino(destino), Camino(respaldo), error);
    if (!error)
        return true;
    error.clear();
    std::filesystem::copy_file(Camino(destino), Camino(respaldo), error);
    return !error;
}
} // namespace

void EliminarTemporales(const QString& rutaPrograma) {
    comun::EliminarTemporales(rutaPrograma, {kRespaldo});
}

bool ReemplazarArchivo(const QString& origen, const QString& destino, const QString& respaldo) {
    QFile fuente(origen);
    if (!fuente.open(QIODevice::ReadOnly))
        return false;
    comun::ReemplazoAtomico copia(destino);
    if (!copia.CopiarDe(fuente))
        return false;
    copia.ForzarPermisos(fuente.permissions() | QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                         QFileDevice::ExeOwner);
    if (!respaldo.isEmpty() && !GuardarRespaldo(copia.Destino(), respaldo))
        return false;
    if (!copia.Publicar()) {
        if (!respaldo.isEmpty())
            QFile::remove(respaldo);
        return false; // the temporary goes with `copia`
    }
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
    if (lanzadorAbierto) {
        entorno.dialogos->Critico(kTituloNoSePuede, kTextoNoSePuede);
        return ResultadoInstalacion::NoSePuede;
    }
    // The version must be recorded once the new launcher is in place; a settings file
    // that would refuse it is found before anything is touched, or the user would be
    // left with a new launcher that takes itself for the installer.
    if (!comun::ArchivoEscribible(ini.RutaIni)) {
        entorno.dialogos->Critico(kTituloNoSePuede, kTextoSinAjustes);
        return ResultadoInstalacion::NoSePuede;
    }
    EliminarTemporales(rutaPrograma);
    const QString respaldo = rutaPrograma + kRespaldo;
    // The old launcher, and so its second name, is marked as being written until the
    // installation ends: no other program's clean-up takes the way back meanwhile.
    QFile anterior(lanzador);
    if (anterior.open(QIODevice::ReadOnly))
        comun::MarcarEnUso(anterior.handle());
    if (!ReemplazarArchivo(rutaEjecutable, lanzador, respaldo)) {
        entorno.dialogos->Critico(kTituloNoSePuede, kTextoNoSePuede);
        return ResultadoInstalacion::NoSePuede;
    }
    if (!ini.EscribirIni(kSeccionVersion, kClaveVersion, kVersion)) {
        // The old launcher goes back, whole, under its name.
        std::error_code error;
        std::filesystem::rename(Camino(respaldo), Camino(lanzador), error);
        entorno.dialogos->Critico(kTituloNoSePuede, kTextoSinAjustes);
        return ResultadoInstalacion::NoSePuede;
    }
    QFile::remove(respaldo);
    entorno.shell->Ejecutar(
        {QStringLiteral("open"), lanzador, {}, QString(), comun::AccionShell::Iniciar});
    return ResultadoInstalacion::Instalado;
}

bool EliminarInstalador(const QString& rutaPrograma, const QString& rutaEjecutable) {
    const QString instalador = rutaPrograma + kInstalador;
    const QFileInfo info(instalador);
    // Only a file of that name is the installer: a folder so named is none of ours.
    if (!info.isFile() && !info.isSymLink())
        return true;
    // The running program's own file: the user started the installer again after the
    // update; it is not removed from under the running program.
    if (MismoArchivo(rutaEjecutable, instalador))
        return false;
    return QFile::remove(instalador);
}

} // namespace updater
