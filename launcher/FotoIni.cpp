#include "FotoIni.h"

#include "Ini.h"

#include <QFile>

namespace launcher {

FotoIni::FotoIni(const QString& rutaIni) {
    QFile archivo(rutaIni);
    if (archivo.open(QIODevice::ReadOnly))
        contenido_ = archivo.readAll();
}

QString FotoIni::LeerIni(const QString& seccion, const QString& clave,
                         const QString& porDefecto) const {
    std::optional<QString> valor;
    if (contenido_)
        valor = comun::BuscarValorIni(*contenido_, seccion, clave);
    return valor.value_or(porDefecto).left(comun::kTamBufferIni - 1);
}

qint16 FotoIni::LeerIniEntero(const QString& seccion, const QString& clave,
                              qint16 porDefecto) const {
    return comun::ConvertirEntero16(LeerIni(seccion, clave, QString::number(porDefecto)))
        .value_or(porDefecto);
}

} // namespace launcher
