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

qint64 IniciarPrograma(const comun::Entorno& entorno, const QString& ruta) {
    return entorno.shell->Ejecutar(
        {QStringLiteral("open"), ruta, {}, QString(), comun::AccionShell::Iniciar});
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
                             ? IniciarPrograma(entorno_, RutaEjecutable(*carpeta, fila.ejecutable))
                             : kNoEncontrado;
        return;
    }
    case TipoFila::Anfitrion:
        ResultadoShell = IniciarPrograma(entorno_, comun::ObtenerRutaPrograma(entorno_.carpeta) +
                                                       fila.ejecutable);
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
