// The wizard's import engine run in a process of its own, so that tests can run it as
// another user or kill it at any moment and look at what is left on disk.
//   trasvolo_motor asistente FOLDER   the wizard from step 0 to 10 with a recording
//                                     environment; prints each message box and the step
//   trasvolo_motor importar FOLDER    Datos.csv into Vemora.dat; prints "confirmados N"
//                                     each time contacts 1..N are permanent
//   trasvolo_motor copiar FOLDER      the safety copy; prints "copiando" as it starts
#include "FrmMain.h"
#include "Grabadoras.h"
#include "Trasvase.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

namespace {
void Linea(const QString& texto) {
    std::fputs(texto.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QString EnUnaLinea(QString texto) {
    texto.replace(u'\r', u' ').replace(u'\n', u' ');
    return texto;
}
} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s asistente|importar|copiar FOLDER\n", argv[0]);
        return 2;
    }
    const QString modo = QString::fromLocal8Bit(argv[1]);
    const QDir carpeta(QString::fromLocal8Bit(argv[2]));

    if (modo == QLatin1String("importar")) {
        QCoreApplication app(argc, argv);
        const importer::ArchivoContactos archivo =
            importer::LeerArchivoContactos(carpeta.filePath(QStringLiteral("Datos.csv")));
        if (!archivo.error.isEmpty()) {
            Linea(QStringLiteral("error ") + EnUnaLinea(archivo.error));
            return 1;
        }
        importer::AvisosImportacion avisos;
        avisos.entreLotes = [](qsizetype confirmados) {
            Linea(QStringLiteral("confirmados %1").arg(confirmados));
            return true;
        };
        const QString error = importer::ImportarContactos(
            archivo, carpeta.filePath(QStringLiteral("Vemora.dat")), avisos);
        Linea(error.isEmpty() ? QStringLiteral("fin")
                              : QStringLiteral("error ") + EnUnaLinea(error));
        return error.isEmpty() ? 0 : 1;
    }
    if (modo == QLatin1String("copiar")) {
        QCoreApplication app(argc, argv);
        Linea(QStringLiteral("copiando"));
        const QString error =
            importer::HacerCopiaSeguridad(carpeta.filePath(QStringLiteral("Vemora.dat")),
                                          carpeta.filePath(QStringLiteral("DatosAnt.bak")));
        Linea(error.isEmpty() ? QStringLiteral("copiada")
                              : QStringLiteral("error ") + EnUnaLinea(error));
        return error.isEmpty() ? 0 : 1;
    }
    if (modo == QLatin1String("asistente")) {
        QApplication app(argc, argv);
        auto e = comun::CrearEntornoGrabado(carpeta.path());
        e.dialogos->alMostrar = [](const comun::Mensaje& m) {
            Linea(QStringLiteral("mensaje\t%1\t%2").arg(m.titulo, EnUnaLinea(m.texto)));
        };
        importer::FrmMain ventana(e.entorno, std::make_shared<importer::MotorDirecto>());
        if (!ventana.Form_Load())
            return 1;
        while (ventana.PasoActual < 10 && !ventana.Terminado()) {
            const int antes = ventana.PasoActual;
            ventana.CmdSiguiente_Click();
            if (ventana.PasoActual <= antes)
                break; // the import failed and went back
        }
        Linea(QStringLiteral("paso %1").arg(ventana.PasoActual));
        return 0;
    }
    return 2;
}
