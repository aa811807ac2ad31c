#pragma once

#include "Zonas.h"

#include <QString>

namespace diary {

// The texts of the hover help. Lines are joined by a single carriage return, with no
// break after the last line.

// The title `LblInfo` takes over a zone; empty where the zone leaves the title as it is
// (the confirmation panel's SI and No).
QString TituloZona(Orden orden, bool editando, bool modoAyuda);
// The body `LblAyuda` takes over a zone; empty where the zone leaves it as it is.
QString CuerpoZona(Orden orden, bool editando);
// The body over the crossed-out save picture `ImgX`.
QString CuerpoImgX();
// The body over `TextBox`(Index): 1 the description, 2 the reference.
QString CuerpoCaja(int Index);
// The title over the bare background while a task is being created or changed.
QString TituloEdicion();

// What a screen reader announces for zone `ImgMenu`(i): its title and help body (as
// when no task is being edited), or a short text where the hover help has none.
QString NombreZona(Orden orden);
QString DescripcionZona(Orden orden);

} // namespace diary
