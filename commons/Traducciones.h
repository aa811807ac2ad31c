#pragma once

namespace comun {

// Installs the toolkit's own translations (the buttons of message boxes, the text
// boxes' context menus) for the language of the default locale, from the folder where
// the system keeps them. The suite's own texts are Spanish and are not translated.
// Returns false when there is none for that language (as under the "C" locale), and
// the toolkit keeps its English texts. Needs the application object.
bool CargarTraduccionesQt();

} // namespace comun
