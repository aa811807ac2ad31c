#pragma once

// The program table of the quick-launch bar and the launching of its rows. The
// updater's tray launcher links this library and uses the same row type, launcher
// and locator with a longer table of its own.

#include "Entorno.h"
#include "Ini.h"

#include <QString>
#include <QVector>
#include <functional>
#include <optional>

class QWidget;

namespace launcher {

class FrmSelec;

// The maker's addresses: the web site, and the page where the sibling programs
// can be downloaded (opened by the locator's help picture on the bar).
inline const QString kDireccionWeb = QStringLiteral("https://www.pellmark.example/");
inline const QString kPaginaDescargas = QStringLiteral("https://www.pellmark.example/descargas/");

// Section of Vemora.INI that holds the sibling programs' folders.
inline const QString kSeccionProgramas = QStringLiteral("Brivolar");
// The stored value while a program has not been located yet.
inline const QString kNoLocalizado = QStringLiteral("No");
// The host program, always started from the application folder.
inline const QString kEjecutableAnfitrion = QStringLiteral("Vemora.exe");
// A stored folder is read back through a 100-character buffer: only this many
// characters of it survive.
constexpr int kLargoMaximoCarpeta = comun::kTamBufferIni - 1;

enum class TipoFila {
    Hermano,   // a sibling program with a folder stored under its key
    Anfitrion, // the host program of the application folder
    Ocultar,   // the bar's hide button: launches nothing
};

struct FilaPrograma {
    TipoFila tipo = TipoFila::Hermano;
    QString clave;             // key in section "Brivolar", also the executable's base name
    QString ejecutable;        // file name appended to the stored folder
    QString nombreLocalizador; // shown in upper case by the locator
    QString leyenda;           // hover caption on the bar
    QString tituloMenu;        // caption of the popup-menu item
};

// The bar's nine rows, addressed by the index of its buttons (0 to 8).
const QVector<FilaPrograma>& TablaBarra();

// The folder stored for a key, read through the 100-character buffer; nullopt
// while the value is "No" (absent keys read as "No").
std::optional<QString> LeerCarpeta(comun::ArchivoIni& ini, const QString& clave);

// A stored folder that can be started from: an absolute path of this machine. Anything
// else (an address, a relative or empty folder, stray bytes) would be resolved against
// wherever the bar happens to run, or handed to a web browser.
bool CarpetaUtilizable(const QString& carpeta);

// The path to start for a stored folder: the folder followed by the file name as
// spelled in the table. Windows matches file names without regard to case; where
// the file system does not, a file of the folder whose name differs only in case
// is taken instead of failing to start.
QString RutaEjecutable(const QString& carpeta, const QString& ejecutable);

// The shell's result for a file that could not be found.
constexpr qint64 kNoEncontrado = 2;

// Starts a program of the table the way the launchers do ("open", no parameters, no
// directory) and returns the shell's result, which nobody reports.
qint64 IniciarPrograma(const comun::Entorno& entorno, const QString& ruta);

// Launch and Locate of the program table's rows.
class Lanzador {
public:
    Lanzador(const comun::Entorno& entorno, comun::ArchivoIni& ini, QString direccionAyuda);

    // A sibling with a stored folder starts from it; one without opens the locator;
    // the host starts from the application folder; the hide row does nothing here.
    void Lanzar(const FilaPrograma& fila, QWidget* dueno);
    // Opens the locator for a sibling row, whatever is stored; other rows: nothing.
    void Localizar(const FilaPrograma& fila, QWidget* dueno);

    // The last launch's shell result: kept, never reported.
    qint64 ResultadoShell = 0;
    // How the locator is shown: modally by default. Tests put their own here to look
    // at the dialog (and press its buttons) without blocking.
    std::function<void(FrmSelec&)> mostrarLocalizador;

private:
    comun::Entorno entorno_;
    comun::ArchivoIni& ini_;
    QString direccionAyuda_;
};

} // namespace launcher
