#include "Programas.h"

#include "FrmSelec.h"
#include "Inicio.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace launcher {

namespace {
FilaPrograma Hermano(const QString& nombre) {
    return {TipoFila::Hermano,
            nombre,
            nombre + QStringLiteral(".exe"),
            nombre,
            QStringLiteral("Programa: ") + nombre.toUpper() + QStringLiteral("..."),
            nombre};
}
} // namespace

const QVector<FilaPrograma>& TablaBarra() {
    static const QVector<FilaPrograma> tabla = {
        Hermano(QStringLiteral("Noctavo")),
        Hermano(QStringLiteral("Poemarex")),
        Hermano(QStringLiteral("Custodex")),
        Hermano(QStringLiteral("Numerax")),
        Hermano(QStringLiteral("Apuntex")),
        Hermano(QStringLiteral("Tempux")),
        Hermano(QStringLiteral("Resguax")),
        {TipoFila::Anfitrion, QString(), kEjecutableAnfitrion, QString(),
         QStringLiteral("Programa: VEMORA..."), QStringLiteral("Vemora")},
        {TipoFila::Ocultar, QString(), QString(), QString(),
         QStringLiteral("Ocultar esta barra de inicio rápido para los programas."), QString()},
    };
    return tabla;
}

std::optional<QString> LeerCarpeta(comun::ArchivoIni& ini, const QString& clave) {
    const QString valor = ini.LeerIni(kSeccionProgramas, clave, kNoLocalizado);
    if (valor == kNoLocalizado)
        return std::nullopt;
    return valor;
}

bool AjustesEscribibles(const QString& rutaIni) {
    const QFileInfo info(rutaIni);
    if (!info.exists() && !info.isSymLink())
        return true;
    // The mode bits, not the "user" flag: that one asks the system, which lets the
    // administrator write anything.
    constexpr auto kEscritura =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return info.isFile() && info.isWritable() && (info.permissions() & kEscritura);
}

namespace {
const QString kPrefijoTemporalAjustes = QStringLiteral(".Vemora.INI.");
} // namespace

bool EsTemporalAjustes(const QString& nombre) {
    return nombre.startsWith(kPrefijoTemporalAjustes, Qt::CaseInsensitive) &&
           nombre.size() > kPrefijoTemporalAjustes.size();
}

bool EscribirAjuste(comun::ArchivoIni& ini, const QString& seccion, const QString& clave,
                    const QString& valor, bool conBuffer) {
    QString texto = valor;
    if (conBuffer) {
        ini.BufferIni =
            valor.left(comun::kTamBufferIni).leftJustified(comun::kTamBufferIni, QLatin1Char(' '));
        texto = ini.BufferIni;
    }
    if (!AjustesEscribibles(ini.RutaIni))
        return false;
    // A link to the settings file stays a link: the file it leads to is the one written.
    QFileInfo info(ini.RutaIni);
    if (info.isSymLink())
        info = QFileInfo(info.canonicalFilePath());
    QByteArray contenido;
    QFileDevice::Permissions permisos = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ReadGroup | QFileDevice::ReadOther;
    if (info.exists()) {
        // A file that cannot be read whole must not be replaced by one holding our key only.
        QFile actual(info.absoluteFilePath());
        if (!actual.open(QIODevice::ReadOnly))
            return false;
        contenido = actual.readAll();
        if (actual.error() != QFileDevice::NoError)
            return false;
        permisos = actual.permissions();
    }
    const QByteArray nuevo = comun::PonerValorIni(contenido, seccion, clave, texto);
    if (info.exists() && nuevo == contenido)
        return true;
    QTemporaryFile temporal(info.absolutePath() + QLatin1Char('/') + kPrefijoTemporalAjustes +
                            QStringLiteral("XXXXXX"));
    if (!temporal.open() || temporal.write(nuevo) != nuevo.size() || !temporal.flush())
        return false;
#if defined(Q_OS_UNIX)
    if (::fsync(temporal.handle()) != 0)
        return false;
#endif
    if (!temporal.setPermissions(permisos))
        return false;
    temporal.close();
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(temporal.fileName().toStdU16String()),
                            std::filesystem::path(info.absoluteFilePath().toStdU16String()), error);
    if (error)
        return false;
    temporal.setAutoRemove(false);
    return true;
}

bool CarpetaUtilizable(const QString& carpeta) {
    if (carpeta.isEmpty() || !QDir::isAbsolutePath(carpeta))
        return false;
    for (const QChar c : carpeta) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    }
    return true;
}

QString RutaEjecutable(const QString& carpeta, const QString& ejecutable) {
    const QString exacta = carpeta + ejecutable;
    if (QFileInfo(exacta).isFile())
        return exacta;
    const QDir dir(carpeta);
    const QStringList parecidos =
        dir.entryList({ejecutable}, QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& nombre : parecidos) {
        if (nombre.compare(ejecutable, Qt::CaseInsensitive) == 0)
            return carpeta + nombre;
    }
    return exacta;
}

qint64 AbrirArchivo(const comun::Entorno& entorno, const QString& ruta) {
    return entorno.shell->Ejecutar({QStringLiteral("open"), ruta, {}, QString()});
}

Lanzador::Lanzador(const comun::Entorno& entorno, comun::ArchivoIni& ini, QString direccionAyuda)
    : mostrarLocalizador([](FrmSelec& dialogo) { dialogo.exec(); }), entorno_(entorno), ini_(ini),
      direccionAyuda_(std::move(direccionAyuda)) {}

void Lanzador::Lanzar(const FilaPrograma& fila, QWidget* dueno) {
    switch (fila.tipo) {
    case TipoFila::Hermano: {
        const auto carpeta = LeerCarpeta(ini_, fila.clave);
        if (!carpeta) {
            Localizar(fila, dueno);
            return;
        }
        // A value that is no folder of this machine starts nothing, as a program that
        // is no longer at its folder does; a double click still opens the locator.
        ResultadoShell = CarpetaUtilizable(*carpeta)
                             ? AbrirArchivo(entorno_, RutaEjecutable(*carpeta, fila.ejecutable))
                             : kNoEncontrado;
        return;
    }
    case TipoFila::Anfitrion:
        ResultadoShell =
            AbrirArchivo(entorno_, comun::ObtenerRutaPrograma(entorno_.carpeta) + fila.ejecutable);
        return;
    case TipoFila::Ocultar:
        return;
    }
}

void Lanzador::Localizar(const FilaPrograma& fila, QWidget* dueno) {
    if (fila.tipo != TipoFila::Hermano)
        return;
    FrmSelec dialogo(entorno_, ini_, fila, direccionAyuda_, dueno);
    if (mostrarLocalizador)
        mostrarLocalizador(dialogo);
}

} // namespace launcher
