#pragma once

// Recording versions of the platform services: a test builds an environment on a
// temporary folder and reads what was shown, played, started and written.

#include "Entorno.h"

#include <QDate>
#include <QList>
#include <QStringList>
#include <functional>
#include <memory>

namespace comun {

class ShellGrabadora : public Shell {
public:
    qint64 Ejecutar(const LlamadaShell& llamada) override;
    // Recorded with the others; answered from the event loop with the next of
    // `respuestas`, or success once they are used up.
    void IniciarVigilado(const LlamadaShell& llamada,
                         std::function<void(bool exito)> respuesta) override;
    QList<LlamadaShell> llamadas;
    qint64 resultado = 42;
    QList<bool> respuestas;
};

class SonidosGrabadora : public Sonidos {
public:
    void Reproducir(const QString& ruta) override { rutas.append(ruta); }
    QStringList rutas;
};

class DialogosGrabadora : public Dialogos {
public:
    void Mostrar(const Mensaje& mensaje) override;
    // Records the question and gives the test's answer (Cancelar, unless the test says).
    Respuesta Preguntar(const Mensaje& pregunta) override;
    QList<Mensaje> mensajes;
    QList<Mensaje> preguntas;
    Respuesta respuesta = Respuesta::Cancelar;
    // Runs while a message or a question would be on screen (a test can act "behind" a
    // modal box).
    std::function<void(const Mensaje&)> alMostrar;
};

class RelojFijo : public Reloj {
public:
    explicit RelojFijo(QDate fecha) : fecha(fecha) {}
    QDate Hoy() const override { return fecha; }
    QDate fecha;
};

// Holds what the clipboard would hold, and how often it was emptied.
class PortapapelesGrabador : public Portapapeles {
public:
    void Vaciar() override {
        texto.clear();
        ++vaciados;
    }
    void PonerTexto(const QString& nuevo) override { texto = nuevo; }
    QString texto;
    int vaciados = 0;
};

// A desktop whose notification area and browser the test chooses; counts the ends.
class EscritorioGrabado : public Escritorio {
public:
    bool HayBandeja() const override { return bandeja; }
    bool HayAreaSni() const override { return areaSni; }
    QString Navegador() const override { return navegador; }
    void Terminar() override { ++terminados; }
    bool bandeja = false;
    bool areaSni = false;
    QString navegador;
    int terminados = 0;
};

struct EntornoGrabado {
    Entorno entorno;
    std::shared_ptr<ShellGrabadora> shell;
    std::shared_ptr<SonidosGrabadora> sonidos;
    std::shared_ptr<DialogosGrabadora> dialogos;
    std::shared_ptr<RelojFijo> reloj;
    std::shared_ptr<PortapapelesGrabador> portapapeles;
    std::shared_ptr<EscritorioGrabado> escritorio;
};

// A recording environment on the given folder; locks live in a folder of their own
// under it so parallel tests never see each other's.
EntornoGrabado CrearEntornoGrabado(const QString& carpeta, QDate hoy = QDate(2026, 12, 6));

} // namespace comun
