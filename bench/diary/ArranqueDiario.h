// Start-up of the diary as the program's main() does it, for the diary's benchmarks.
#pragma once

#include "FrmCalendario.h"
#include "FrmMain.h"

#include <QCoreApplication>

namespace bench {

// Loads and shows the diary, then returns once its calendar window is shown too: the
// calendar is built after the diary's first paint, and a start-up counts until then.
inline bool ArrancarDiario(diary::FrmMain& frm) {
    if (!frm.Form_Load())
        return false;
    frm.Mostrar();
    while (!frm.Calendario() || !frm.Calendario()->isVisible())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return true;
}

} // namespace bench
