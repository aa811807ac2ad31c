#include "Tabla.h"

namespace updater {

namespace {
launcher::FilaPrograma Hermano(const QString& nombre, const QString& ejecutable) {
    return {launcher::TipoFila::Hermano, nombre, ejecutable, nombre, QString(), nombre};
}
} // namespace

const QVector<launcher::FilaPrograma>& TablaActualizar() {
    static const QVector<launcher::FilaPrograma> tabla = {
        Hermano(QStringLiteral("Noctavo"), QStringLiteral("Noctavo.exe")),
        Hermano(QStringLiteral("Poemarex"), QStringLiteral("Poemarex.exe")),
        Hermano(QStringLiteral("Custodex"), QStringLiteral("Custodex.exe")),
        Hermano(QStringLiteral("Numerax"), QStringLiteral("Numerax.exe")),
        Hermano(QStringLiteral("Apuntex"), QStringLiteral("Apuntex.exe")),
        Hermano(QStringLiteral("Tempux"), QStringLiteral("Tempux.exe")),
        // This version spells the file "ResguaX.exe"; the launch path matches file
        // names without regard to case, so it finds "Resguax.exe" too.
        Hermano(QStringLiteral("Resguax"), QStringLiteral("ResguaX.exe")),
        Hermano(QStringLiteral("Cantrix"), QStringLiteral("Cantrix.exe")),
        Hermano(QStringLiteral("Cerrox"), QStringLiteral("Cerrox.exe")),
        Hermano(QStringLiteral("Probex"), QStringLiteral("Probex.exe")),
        {launcher::TipoFila::Anfitrion, QString(), launcher::kEjecutableAnfitrion, QString(),
         QString(), QStringLiteral("Vemora")},
    };
    return tabla;
}

launcher::FilaPrograma FilaCarpeta(int indice) {
    launcher::FilaPrograma fila = TablaActualizar().at(indice);
    if (indice == 9)
        fila.nombreLocalizador = QStringLiteral("Probex...");
    return fila;
}

} // namespace updater
