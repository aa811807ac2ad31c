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

// The desktop's clipboard (the system one, not the selection).
class PortapapelesReal : public Portapapeles {
public:
    void Vaciar() override;
    void PonerTexto(const QString& texto) override;
};

QString CarpetaBloqueosPorDefecto();

} // namespace comun
