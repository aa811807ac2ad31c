#include "Grabadoras.h"

#include <QDir>
#include <QTimer>

namespace comun {

qint64 ShellGrabadora::Ejecutar(const LlamadaShell& llamada) {
    llamadas.append(llamada);
    return resultado;
}

void ShellGrabadora::IniciarVigilado(const LlamadaShell& llamada,
                                     std::function<void(bool)> respuesta) {
    llamadas.append(llamada);
    const bool exito = respuestas.isEmpty() || respuestas.takeFirst();
    QTimer::singleShot(0, [respuesta = std::move(respuesta), exito] { respuesta(exito); });
}

void DialogosGrabadora::Mostrar(const Mensaje& mensaje) {
    mensajes.append(mensaje);
    if (alMostrar)
        alMostrar(mensaje);
}

Respuesta DialogosGrabadora::Preguntar(const Mensaje& pregunta) {
    preguntas.append(pregunta);
    if (alMostrar)
        alMostrar(pregunta);
    return respuesta;
}

EntornoGrabado CrearEntornoGrabado(const QString& carpeta, QDate hoy) {
    EntornoGrabado e;
    e.shell = std::make_shared<ShellGrabadora>();
    e.sonidos = std::make_shared<SonidosGrabadora>();
    e.dialogos = std::make_shared<DialogosGrabadora>();
    e.reloj = std::make_shared<RelojFijo>(hoy);
    e.portapapeles = std::make_shared<PortapapelesGrabador>();
    e.escritorio = std::make_shared<EscritorioGrabado>();
    e.entorno.carpeta = carpeta;
    e.entorno.carpetaBloqueos = QDir(carpeta).filePath(QStringLiteral(".bloqueos"));
    QDir().mkpath(e.entorno.carpetaBloqueos);
    e.entorno.shell = e.shell;
    e.entorno.sonidos = e.sonidos;
    e.entorno.dialogos = e.dialogos;
    e.entorno.reloj = e.reloj;
    e.entorno.portapapeles = e.portapapeles;
    e.entorno.escritorio = e.escritorio;
    return e;
}

} // namespace comun
