#pragma once

#include "Entorno.h"

namespace comun {

class ShellReal : public Shell {
public:
    qint64 Ejecutar(const LlamadaShell& llamada) override;
};

class SonidosMudos : public Sonidos {
public:
    void Reproducir(const QString&) override {}
};

class DialogosReales : public Dialogos {
public:
    void Mostrar(const Mensaje& mensaje) override;
};

class RelojReal : public Reloj {
public:
    QDate Hoy() const override { return QDate::currentDate(); }
};

QString CarpetaBloqueosPorDefecto();

} // namespace comun
