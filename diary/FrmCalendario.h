#pragma once

#include "EstadoDiario.h"

#include "Entorno.h"
#include "Ini.h"

#include <QWidget>

class QCalendarWidget;

namespace diary {

class FrmMain;

// The month calendar beside the diary: picking a day hands the date to the diary, and
// showing a task in the diary moves the calendar to the task's date.
class FrmCalendario : public QWidget {
    Q_OBJECT
public:
    // The window's frame in the stored size: the calendar is this much smaller than
    // the window (twips).
    static constexpr int kMargenAlto = 330;
    static constexpr int kMargenAncho = 120;

    FrmCalendario(const comun::Entorno& entorno, comun::ArchivoIni& ini, EstadoDiario& estado,
                  FrmMain& diario);

    void Form_Load();
    void Form_Activate();
    void Calendario_Click(QDate dia);
    // Takes the focus; when it already has it, its activation runs at once.
    void RecibirFoco();
    // The program is ending: the window may close now.
    void Cerrar();

    // Left, Top, Width and Height as stored in Vemora.INI (twips, frame included).
    QRect GeometriaTwips() const;

    QCalendarWidget* Calendario;

protected:
    void closeEvent(QCloseEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    void changeEvent(QEvent* evento) override;

private:
    const comun::Entorno& entorno_;
    comun::ArchivoIni& ini_;
    EstadoDiario& estado_;
    FrmMain& diario_;
    bool cerrando_ = false;
};

} // namespace diary
