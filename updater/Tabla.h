#pragma once

// The program table of the tray launcher: the bar's rows (same keys, so folders stored
// by either launcher serve both), three more siblings, and the host last.

#include "Programas.h"

#include <QVector>

namespace updater {

constexpr int kFilasHermanos = 10; // rows 0 to 9: the folder menu
constexpr int kFilaAnfitrion = 10; // row 10: the host program

const QVector<launcher::FilaPrograma>& TablaActualizar();

// The row as the folder menu hands it to the locator: row 9 shows "Probex..." there.
launcher::FilaPrograma FilaCarpeta(int indice);

} // namespace updater
