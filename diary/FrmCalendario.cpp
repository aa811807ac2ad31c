#include "FrmCalendario.h"

#include "FrmMain.h"

#include "Twips.h"
#include "Ventanas.h"

#include <QCalendarWidget>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace diary {

using comun::Px;
using comun::Twips;

FrmCalendario::FrmCalendario(const comun::Entorno& entorno, comun::ArchivoIni& ini,
                             EstadoDiario& estado, FrmMain& diario)
    : QWidget(nullptr,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      entorno_(entorno), ini_(ini), estado_(estado), diario_(diario) {
    setWindowTitle(QStringLiteral("Calendario"));
    Calendario = new QCalendarWidget(this);
    Calendario->setObjectName(QStringLiteral("Calendario"));
    Calendario->setMinimumSize(0, 0);
    Calendario->setGridVisible(true);
    Calendario->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setMinimumSize(1, 1);
    connect(Calendario, &QCalendarWidget::clicked, this, &FrmCalendario::Calendario_Click);
    connect(Calendario, &QCalendarWidget::activated, this, &FrmCalendario::Calendario_Click);
}

void FrmCalendario::Form_Load() {
    const QString seccion = QStringLiteral("Posicion");
    const int izda = ini_.LeerIniEntero(seccion, QStringLiteral("CaIzda"), 6440);
    const int arriba = ini_.LeerIniEntero(seccion, QStringLiteral("CaArriba"), 330);
    int ancho = ini_.LeerIniEntero(seccion, QStringLiteral("CaAncho"), 4725);
    int alto = ini_.LeerIniEntero(seccion, QStringLiteral("CaAlto"), 3135);
    if (ancho <= 0 || alto <= 0) {
        ancho = 4725;
        alto = 3135;
    }
    // A stored size larger than every screen (a hand-edited or foreign value) would put
    // most of the calendar out of reach: it is cut to the largest available area.
    QSize mayor;
    for (const QScreen* pantalla : QGuiApplication::screens())
        mayor = mayor.expandedTo(pantalla->availableGeometry().size());
    if (!mayor.isEmpty()) {
        ancho = qMin(ancho, Twips(mayor.width()));
        alto = qMin(alto, Twips(mayor.height()));
    }
    // The stored size includes the frame; the client is the calendar's own size.
    const QSize cliente(qMax(1, Px(ancho) - Px(kMargenAncho)), qMax(1, Px(alto) - Px(kMargenAlto)));
    resize(cliente);
    move(comun::PosicionVisible(QPoint(Px(izda), Px(arriba)), QSize(Px(ancho), Px(alto)),
                                QPoint(Px(6440), Px(330))));
    // The diary set FechaActual to this same day when it loaded (the calendar window is
    // built after the diary's first paint, when FechaActual may already follow a task).
    Calendario->setSelectedDate(entorno_.reloj->Hoy());
    comun::MarcarVentanaAuxiliar(this);
    comun::ColgarDeVentanaPrincipal(this, &diario_);
}

void FrmCalendario::Form_Activate() {
    if (!estado_.SeguirTarea)
        return;
    estado_.SeguirTarea = false;
    const FechaDiario& actual = estado_.FechaActual;
    // A task date that this calendar cannot read leaves it on its day.
    const std::optional<QDate> fecha = actual.esFecha
                                           ? std::optional<QDate>(actual.fecha)
                                           : LeerFechaTexto(actual.texto, entorno_.reloj->Hoy());
    if (fecha && fecha->isValid())
        Calendario->setSelectedDate(*fecha);
    diario_.RecibirFoco();
}

void FrmCalendario::Calendario_Click(QDate dia) {
    if (!dia.isValid())
        return;
    estado_.FechaActual = FechaDiario::DeFecha(dia);
    if (diario_.isVisible())
        diario_.RecibirFoco();
}

void FrmCalendario::RecibirFoco() {
    if (isActiveWindow()) {
        Form_Activate();
        return;
    }
    activateWindow();
    raise();
}

void FrmCalendario::Cerrar() {
    cerrando_ = true;
    close();
}

QRect FrmCalendario::GeometriaTwips() const {
    return QRect(Twips(x()), Twips(y()), Twips(width()) + kMargenAncho,
                 Twips(height()) + kMargenAlto);
}

void FrmCalendario::closeEvent(QCloseEvent* evento) {
    if (cerrando_) {
        evento->accept();
        return;
    }
    evento->ignore();
    diario_.RecibirFoco();
}

void FrmCalendario::resizeEvent(QResizeEvent* evento) {
    QWidget::resizeEvent(evento);
    Calendario->setGeometry(0, 0, qMax(0, width()), qMax(0, height()));
}

void FrmCalendario::changeEvent(QEvent* evento) {
    QWidget::changeEvent(evento);
    if (evento->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

} // namespace diary
