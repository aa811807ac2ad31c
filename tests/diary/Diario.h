#pragma once

// What the diary's window tests share: the day they run on, and starting the window as
// the program does.

#include "FrmCalendario.h"
#include "FrmMain.h"
#include "Grabadoras.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>
#include <QtTest>
#include <memory>

namespace prueba {

inline const QDate kHoyDiario(2026, 12, 6);

// The dates are written and read in the Spanish short format the users see.
inline void LocaleDelDiario() {
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
}

// Starts the diary on the environment (a window of a previous start first lets go of the
// instance lock); true once its calendar window, made after the first paint, shows.
inline bool ArrancarDiario(std::unique_ptr<diary::FrmMain>& frm, const comun::Entorno& entorno) {
    frm.reset();
    frm = std::make_unique<diary::FrmMain>(entorno);
    if (!frm->Form_Load())
        return false;
    frm->Mostrar();
    QCoreApplication::processEvents();
    return QTest::qWaitFor([&] { return frm->Calendario() && frm->Calendario()->isVisible(); });
}

} // namespace prueba
