#pragma once

#include <QString>

namespace importer {

// The text of page `paso` (0 to 10) with `rutaPrograma` where the page names the
// folder; lines are joined by a single carriage return. Empty outside 0 to 10.
QString TextoPagina(int paso, const QString& rutaPrograma);

} // namespace importer
