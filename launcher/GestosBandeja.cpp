#include "GestosBandeja.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QStyleHints>
#include <QTimer>

namespace launcher {

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
        DejarDeEsperar();
        TmrDobleClic->stop();
        emit cierrePedido();
        break;
    default:
        break;
    }
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
    if (boton == Qt::LeftButton) {
        TmrDobleClic->start(QGuiApplication::styleHints()->mouseDoubleClickInterval());
        return;
    }
    TmrDobleClic->stop();
    emit menuPedido();
}

void GestosBandeja::TmrDobleClic_Timer() {
    TmrDobleClic->stop();
    emit menuPedido();
}

} // namespace launcher
