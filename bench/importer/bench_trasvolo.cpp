// Speed of the wizard's import: 50,000 contacts into a table of 50,000, half of them
// matching an existing name. For scale, the same file is loaded by the sqlcipher
// command line (.import into a plain table).
//
//   build-X/bench/importer/bench_trasvolo [contacts]
#include "Esquema.h"
#include "FrmMain.h"
#include "Grabadoras.h"
#include "Trasvase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

namespace {
QByteArray Linea(int n, bool existente) {
    // Existing contacts come back in small letters: the match is made in capitals.
    const QByteArray nombre =
        existente ? "contacto " + QByteArray::number(n) : "Nuevo " + QByteArray::number(n);
    return nombre + ",c" + QByteArray::number(n) + "@correo.example,\"Calle Mayor " +
           QByteArray::number(n % 300) + ", 2º\",Madrid,28013,Madrid,España,915550" +
           QByteArray::number(n % 1000) + ",600" + QByteArray::number(n) + ",http://web.example/" +
           QByteArray::number(n) + ",Nota del contacto " + QByteArray::number(n) + "\r\n";
}

bool LlenarTabla(const QString& ruta, int cuantos) {
    comun::sql::Conexion c;
    if (!host::CrearVemoraSiFalta(ruta) || !host::AbrirVemora(c, ruta, false) ||
        !c.Ejecutar("BEGIN"))
        return false;
    host::Contacto contacto;
    for (int n = 1; n <= cuantos; ++n) {
        contacto.Indice = n;
        contacto.Nombre = QStringLiteral("CONTACTO %1").arg(n);
        contacto.Email = QStringLiteral("viejo%1@correo.example").arg(n);
        if (!host::AgregarContacto(c, contacto))
            return false;
    }
    return c.Ejecutar("COMMIT");
}

qint64 Contar(const QString& ruta) {
    comun::sql::Conexion c;
    if (!host::AbrirVemora(c, ruta, false))
        return -1;
    auto s = c.Preparar("SELECT count(*) FROM Datos");
    return s.Fila() ? s.Entero(0) : -1;
}
} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int cuantos = argc > 1 ? atoi(argv[1]) : 50000;

    QTemporaryDir dir;
    QFile(dir.filePath("Vemora.exe")).open(QIODevice::WriteOnly);
    const QString rutaDatos = dir.filePath("Vemora.dat");
    if (!LlenarTabla(rutaDatos, cuantos)) {
        std::fprintf(stderr, "cannot prepare Vemora.dat\n");
        return 1;
    }
    QByteArray csv = "Nombre,Email,Calle,Ciudad,CP,Provincia,Pais,Telefono,Movil,Web,Notas\r\n";
    for (int n = 1; n <= cuantos; ++n)
        csv += Linea(n % 2 ? n : cuantos + n, n % 2 != 0);
    QFile archivo(dir.filePath("Datos.csv"));
    archivo.open(QIODevice::WriteOnly);
    archivo.write(csv);
    archivo.close();

    auto e = comun::CrearEntornoGrabado(dir.path());
    importer::FrmMain ventana(e.entorno, std::make_shared<importer::MotorDirecto>());
    if (!ventana.Form_Load())
        return 1;
    while (ventana.PasoActual < 9)
        ventana.CmdSiguiente_Click();
    QElapsedTimer reloj;
    reloj.start();
    ventana.CmdSiguiente_Click(); // step 10: the import
    const double segundos = reloj.nsecsElapsed() / 1e9;
    const qint64 total = Contar(rutaDatos);
    if (ventana.PasoActual != 10 || !e.dialogos->mensajes.isEmpty() ||
        total != cuantos + cuantos / 2) {
        std::fprintf(stderr, "import failed: step %d, %lld records\n", int(ventana.PasoActual),
                     total);
        return 1;
    }
    std::printf("Trasvolo: %d contacts into a table of %d (%d matching): %.3f s\n", cuantos,
                cuantos, (cuantos + 1) / 2, segundos);

    const QString cli = QStandardPaths::findExecutable("sqlcipher");
    if (cli.isEmpty()) {
        std::printf("sqlcipher command line not found: no comparison\n");
        return 0;
    }
    QProcess proceso;
    proceso.start(cli, {dir.filePath("Plano.dat")});
    proceso.waitForStarted();
    reloj.restart();
    proceso.write("PRAGMA key = 'quolby';\n.mode csv\n.import " +
                  dir.filePath("Datos.csv").toUtf8() +
                  " Importado\n"
                  "SELECT count(*) FROM Importado;\n");
    proceso.closeWriteChannel();
    proceso.waitForFinished(-1);
    const double segundosCli = reloj.nsecsElapsed() / 1e9;
    std::printf("sqlcipher .import of the same file into a plain table: %.3f s (%s rows)\n",
                segundosCli, proceso.readAllStandardOutput().trimmed().constData());
    return 0;
}
