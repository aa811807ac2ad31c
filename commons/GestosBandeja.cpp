#include "GestosBandeja.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QStyleHints>
#include <QTimer>

namespace comun {

GestosBandeja::GestosBandeja(QObject* padre) : QObject(padre), TmrDobleClic(new QTimer(this)) {
    TmrDobleClic->setSingleShot(true);
    connect(TmrDobleClic, &QTimer::timeout, this, &GestosBandeja::TmrDobleClic_Timer);
}

void GestosBandeja::Icono_Activated(QSystemTrayIcon::ActivationReason motivo) {
    switch (motivo) {
    case QSystemTrayIcon::Trigger:
        Pulsado(Qt::LeftButton);
        break;
    case QSystemTrayIcon::Context:
        Pulsado(Qt::RightButton);
        break;
    case QSystemTrayIcon::DoubleClick:
        PedirCierre();
        break;
    default:
        break;
    }
}

bool GestosBandeja::CerrarMenuAbierto() {
    QWidget* menu = QApplication::activePopupWidget();
    if (!menu)
        return false;
    TmrDobleClic->stop();
    lugar_.reset();
    menu->close();
    return true;
}

void GestosBandeja::Activate(const QPoint& donde) {
    if (CerrarMenuAbierto())
        return;
    if (TmrDobleClic->isActive() && lugar_) {
        PedirCierre();
        return;
    }
    lugar_ = donde;
    TmrDobleClic->start(QGuiApplication::styleHints()->mouseDoubleClickInterval());
}

void GestosBandeja::ContextMenu(const QPoint& donde) {
    if (CerrarMenuAbierto())
        return;
    TmrDobleClic->stop();
    lugar_.reset();
    emit menuPedido(donde, true);
}

void GestosBandeja::PedirCierre() {
    DejarDeEsperar();
    TmrDobleClic->stop();
    lugar_.reset();
    emit cierrePedido();
}

void GestosBandeja::Pulsado(Qt::MouseButton boton) {
    if (!(QGuiApplication::mouseButtons() & boton)) {
        Soltado(boton);
        return;
    }
    if (esperado_ == Qt::NoButton)
        QCoreApplication::instance()->installEventFilter(this);
    esperado_ = boton;
}

bool GestosBandeja::eventFilter(QObject* objeto, QEvent* evento) {
    // The icon holds the pointer from press to release, so the release comes back here.
    if (evento->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(evento)->button() == esperado_) {
        const Qt::MouseButton boton = esperado_;
        DejarDeEsperar();
        Soltado(boton);
    }
    return QObject::eventFilter(objeto, evento);
}

void GestosBandeja::DejarDeEsperar() {
    if (esperado_ != Qt::NoButton)
        QCoreApplication::instance()->removeEventFilter(this);
    esperado_ = Qt::NoButton;
}

void GestosBandeja::Soltado(Qt::MouseButton boton) {
    lugar_.reset();
    if (boton == Qt::LeftButton) {
        TmrDobleClic->start(QGuiApplication::styleHints()->mouseDoubleClickInterval());
        return;
    }
    TmrDobleClic->stop();
    emit menuPedido(QCursor::pos(), false);
}

void GestosBandeja::TmrDobleClic_Timer() {
    TmrDobleClic->stop();
    const bool enPanel = lugar_.has_value();
    const QPoint donde = lugar_.value_or(QCursor::pos());
    lugar_.reset();
    emit menuPedido(donde, enPanel);
}

} // namespace comun
