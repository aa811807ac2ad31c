#include "Traducciones.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace comun {

bool CargarTraduccionesQt() {
    // Owned by the application object, which uses it for as long as it lives.
    auto* traductor = new QTranslator(QCoreApplication::instance());
    if (traductor->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(traductor))
        return true;
    delete traductor;
    return false;
}

} // namespace comun
