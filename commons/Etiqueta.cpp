#include "Etiqueta.h"

#include "Texto.h"

namespace comun {

void Etiqueta::PonerCaption(const QString& caption) {
    if (caption == caption_ && !text().isEmpty())
        return;
    caption_ = caption;
    setText(TextoVisible(caption));
}

} // namespace comun
