#pragma once

#include "Entorno.h"

namespace comun {

// Programs are started on their own (in a session of their own, so that they outlive
// the starter); documents, folders and web addresses go to the desktop's opener.
class ShellReal : public Shell {
public:
    qint64 Ejecutar(const LlamadaShell& llamada) override;
    void IniciarVigilado(const LlamadaShell& llamada,
                         std::function<void(bool exito)> respuesta) override;
};

class SonidosMudos : public Sonidos {
public:
    void Reproducir(const QString&) override {}
};

class DialogosReales : public Dialogos {
public:
    void Mostrar(const Mensaje& mensaje) override;
    Respuesta Preguntar(const Mensaje& pregunta) override;
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

class EscritorioReal : public Escritorio {
public:
    bool HayBandeja() const override;
    bool HayAreaSni() const override;
    // The freedesktop opener (it follows the user's choice of browser for text/html),
    // then the system's alternatives for the default browser, looked up on the PATH.
    QString Navegador() const override;
    void Terminar() override;
};

QString CarpetaBloqueosPorDefecto();

} // namespace comun
