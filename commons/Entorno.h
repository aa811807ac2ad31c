#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace comun {

// Every effect that leaves the process goes through these services, so that the
// windows never call the operating system directly and tests can watch them.

// What is asked of the desktop. Only a program is ever run: a document is opened by
// the desktop's opener whatever its execute bit says, since every file of a FAT or
// NTFS drive, and many unpacked from archives, carry that bit.
enum class AccionShell {
    Abrir,   // a document, folder or web address
    Iniciar, // a program (the program tables', "wab.exe", the browser's launcher)
};

struct LlamadaShell {
    QString operacion;      // "open", or empty for the default action
    QString archivo;        // program, document or web address
    QStringList parametros; // each one handed over as one argument, never through a shell
    QString directorio;
    AccionShell accion = AccionShell::Abrir;
};

class Shell {
public:
    virtual ~Shell() = default;
    // Starts or opens; returns a value above 32 on success and 2 when nothing could
    // be opened. Callers store it and, like the desktop's shell, report nothing.
    virtual qint64 Ejecutar(const LlamadaShell& llamada) = 0;
    // Starts a program and answers later, from the event loop, whether it failed: it
    // could not be started, or it ended with a failure within a few seconds. One still
    // running then counts as started well (a browser may stay in front of its
    // launcher). The program goes on when its starter ends.
    virtual void IniciarVigilado(const LlamadaShell& llamada,
                                 std::function<void(bool exito)> respuesta) = 0;
};

class Sonidos {
public:
    virtual ~Sonidos() = default;
    // Plays in the background; a new sound replaces one still playing; a missing file
    // plays nothing.
    virtual void Reproducir(const QString& ruta) = 0;
};

enum class TipoMensaje { Critico, Informacion };

// The answer to a question whose buttons are "Sí", "No" and "Cancelar".
enum class Respuesta { Si, No, Cancelar };

struct Mensaje {
    TipoMensaje tipo;
    QString titulo;
    QString texto;
};

class Dialogos {
public:
    virtual ~Dialogos() = default;
    // Modal, OK button only; returns when the user has closed it.
    virtual void Mostrar(const Mensaje& mensaje) = 0;
    // Modal, with the buttons "Sí" (the default), "No" and "Cancelar"; closing the box
    // any other way (Escape, its close box) is "Cancelar".
    virtual Respuesta Preguntar(const Mensaje& pregunta) = 0;
    void Critico(const QString& titulo, const QString& texto) {
        Mostrar({TipoMensaje::Critico, titulo, texto});
    }
    void Informacion(const QString& titulo, const QString& texto) {
        Mostrar({TipoMensaje::Informacion, titulo, texto});
    }
};

class Portapapeles {
public:
    virtual ~Portapapeles() = default;
    virtual void Vaciar() = 0;
    // Puts a plain text on the clipboard in place of what it held.
    virtual void PonerTexto(const QString& texto) = 0;
};

// The desktop the program runs on, and the program's own life on it.
class Escritorio {
public:
    virtual ~Escritorio() = default;
    // Whether the desktop has a notification area for tray icons.
    virtual bool HayBandeja() const = 0;
    // Whether that area speaks StatusNotifierItem on the session bus (KDE Plasma,
    // GNOME's AppIndicator extension, XFCE, waybar) rather than XEmbed.
    virtual bool HayAreaSni() const = 0;
    // The program that opens web pages (an absolute path), empty when the desktop has
    // none. Nothing is written to disk to find it.
    virtual QString Navegador() const = 0;
    // Ends the program once its windows have done their own shut-down.
    virtual void Terminar() = 0;
};

class Reloj {
public:
    virtual ~Reloj() = default;
    virtual QDate Hoy() const = 0;
};

// The application folder and the services a program's windows work with.
struct Entorno {
    QString carpeta;         // the application folder
    QString carpetaBloqueos; // where the single-instance locks live
    std::shared_ptr<Shell> shell;
    std::shared_ptr<Sonidos> sonidos;
    std::shared_ptr<Dialogos> dialogos;
    std::shared_ptr<Reloj> reloj;
    std::shared_ptr<Portapapeles> portapapeles;
    std::shared_ptr<Escritorio> escritorio;

    // The real desktop; sounds are silent until a program that plays them sets its own.
    static Entorno Real(const QString& carpeta);
};

} // namespace comun
