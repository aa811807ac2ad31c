#include "Etiqueta.h"

#include "Texto.h"

namespace comun {

void Etiqueta::PonerCaption(const QString& caption) {
    if (caption == caption_ && !text().isEmpty())
        return;
    caption_ = caption;
    setText(TextoVisible(caption));
}

void PonerNombreAccesible(QWidget* control, const QString& nombre, const QString& descripcion) {
    const auto enUnaLinea = [](QString texto) {
        return texto.replace(QLatin1Char('\r'), QLatin1Char(' ')).simplified();
    };
    control->setAccessibleName(enUnaLinea(nombre));
    control->setAccessibleDescription(enUnaLinea(descripcion));
}

} // namespace comun
