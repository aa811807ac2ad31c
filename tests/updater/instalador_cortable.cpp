// The installation of Actualizar Brivolar on its own, for the test that kills it half
// way: argument 1 is the application folder, argument 2 the file that stands for the
// running executable. The messages are recorded, not shown; the warning is announced
// on the standard output. Exit code 0: installed.

#include "Grabadoras.h"
#include "Inicio.h"
#include "Instalacion.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QString carpeta = QString::fromLocal8Bit(argv[1]);
    const QString ejecutable = QString::fromLocal8Bit(argv[2]);
    auto e = comun::CrearEntornoGrabado(carpeta);
    // The warning is the last thing before the copy: the test hears of it on the pipe.
    e.dialogos->alMostrar = [](const comun::Mensaje&) {
        std::fputs("aviso\n", stdout);
        std::fflush(stdout);
    };
    const QString rutaPrograma = comun::ObtenerRutaPrograma(carpeta);
    comun::ArchivoIni ini(rutaPrograma + QStringLiteral("Vemora.INI"));
    const auto resultado = updater::InstalarLanzador(e.entorno, ini, rutaPrograma, ejecutable);
    if (resultado == updater::ResultadoInstalacion::Instalado)
        return 0;
    for (const auto& mensaje : e.dialogos->mensajes)
        std::fprintf(stderr, "%s\n", qPrintable(mensaje.titulo + QLatin1Char('|') + mensaje.texto));
    return 1;
}
