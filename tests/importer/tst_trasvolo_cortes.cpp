// The wizard's process killed (SIGKILL) in the middle of the import and of the safety
// copy. Whatever the moment, Vemora.dat must pass its integrity check with every contact
// committed before the kill in it, and "DatosAnt.bak" must be the old copy or the new one,
// whole.
#include "Archivos.h"
#include "CarpetaPrueba.h"
#include "Trasvase.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

using namespace prueba;
using comun::sql::Conexion;

namespace {
constexpr int kPrevios = 300;
constexpr int kNuevos = 60000;

QString Nombre(int n) {
    return QStringLiteral("Contacto %1").arg(n, 6, 10, QLatin1Char('0'));
}

QString Integridad(const QString& ruta) {
    Conexion c;
    if (!host::AbrirVemora(c, ruta, false))
        return c.UltimoError();
    auto s = c.Preparar("PRAGMA integrity_check");
    return s.Fila() ? s.Texto(0) : c.UltimoError();
}

// The motor started in `carpeta`; its output lines are read as they come.
struct Motor {
    QProcess proceso;
    QStringList lineas;
    Motor(const QString& modo, const QString& carpeta) {
        proceso.setProgram(TRASVOLO_MOTOR);
        proceso.setArguments({modo, carpeta});
        proceso.start();
    }
    void Leer() {
        while (proceso.canReadLine())
            lineas << QString::fromUtf8(proceso.readLine()).trimmed();
    }
    // Waits for a line starting with `inicio`; false when the process ended without it.
    bool Esperar(const QString& inicio, int ms = 60000) {
        QElapsedTimer reloj;
        reloj.start();
        while (reloj.elapsed() < ms) {
            Leer();
            for (const QString& l : lineas)
                if (l.startsWith(inicio))
                    return true;
            if (proceso.state() == QProcess::NotRunning)
                return false;
            proceso.waitForReadyRead(20);
        }
        return false;
    }
    void Matar() {
        proceso.kill();
        proceso.waitForFinished(10000);
        lineas +=
            QString::fromUtf8(proceso.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    }
    // The highest count the motor reported as committed.
    int Confirmados() const {
        int n = 0;
        for (const QString& l : lineas)
            if (l.startsWith("confirmados "))
                n = qMax(n, l.mid(12).toInt());
        return n;
    }
};
} // namespace

class TstTrasvoloCortes : public QObject {
    Q_OBJECT
private slots:
    void init() { prueba::FallarConAvisos(); }
    void muerteDuranteLaImportacion();
    void muerteDuranteLaCopia();
};

void TstTrasvoloCortes::muerteDuranteLaImportacion() {
    Carpeta c;
    c.Llenar(kPrevios, 20);
    QByteArray csv = kCabecera;
    for (int n = 1; n <= kNuevos; ++n)
        csv += Nombre(n).toUtf8() + ",c" + QByteArray::number(n) +
               "@correo.example,\"Calle Mayor 1, 2º\",Madrid,28013,Madrid,España,1,2,w,nota\r\n";
    c.Csv(csv);
    const QByteArray limpia = Leer(c.Ruta("Vemora.dat"));

    QRandomGenerator azar(prueba::Semilla(20261207));
    int cortadas = 0;
    for (int ronda = 0; ronda < 6; ++ronda) {
        Escribir(c.Ruta("Vemora.dat"), limpia);
        Motor motor("importar", c.dir.path());
        QVERIFY(motor.Esperar("confirmados"));
        QThread::msleep(azar.bounded(20, 1200));
        motor.Matar();
        const int confirmados = motor.Confirmados();
        if (!motor.lineas.contains("fin"))
            ++cortadas;
        qInfo("kill %d: %d contacts reported committed", ronda + 1, confirmados);

        QCOMPARE(Integridad(c.Ruta("Vemora.dat")), QString("ok"));
        // The records before the import, then contacts 1..M in file order, M at least
        // what was reported committed: nothing missing, nothing half-written.
        const QList<host::Contacto> lista = c.Contactos();
        QVERIFY2(
            lista.size() >= kPrevios + confirmados,
            qPrintable(QString("%1 records, %2 committed").arg(lista.size()).arg(confirmados)));
        for (int i = 0; i < lista.size(); ++i) {
            const host::Contacto& r = lista[i];
            QCOMPARE(r.Indice, i + 1);
            if (i < kPrevios) {
                QCOMPARE(r.Nombre, QString("Previo %1").arg(i + 1));
                continue;
            }
            const int n = i - kPrevios + 1;
            QCOMPARE(r.Nombre, Nombre(n));
            QCOMPARE(r.Email, QString("c%1@correo.example").arg(n));
            QCOMPARE(r.Direccion,
                     QString("Calle Mayor 1, 2º\r\nMadrid\r\n28013\r\nMadrid\r\nEspaña"));
            QCOMPARE(r.Notas, QString("nota"));
        }
    }
    QVERIFY2(cortadas > 0, "every import ended before its kill");

    // After the last kill the import is simply run again, to its end.
    const importer::ArchivoContactos archivo = importer::LeerArchivoContactos(c.Ruta("Datos.csv"));
    QVERIFY(archivo.error.isEmpty());
    QCOMPARE(importer::ImportarContactos(archivo, c.Ruta("Vemora.dat"), {}), QString());
    QCOMPARE(c.Contactos().size(), kPrevios + kNuevos);
    QCOMPARE(Integridad(c.Ruta("Vemora.dat")), QString("ok"));
}

void TstTrasvoloCortes::muerteDuranteLaCopia() {
    Carpeta c;
    c.Llenar(30000, 1000); // tens of MB
    const QByteArray datos = Leer(c.Ruta("Vemora.dat"));
    QVERIFY(datos.size() > 20 << 20);
    const QByteArray anterior = QByteArray("copia de ayer ").repeated(200000);
    const QStringList archivos = {"DatosAnt.bak", "Vemora.dat", "Vemora.exe"};

    // One copy to its end gives the time a copy takes here.
    Escribir(c.Ruta("DatosAnt.bak"), anterior);
    qint64 duracion;
    {
        Motor motor("copiar", c.dir.path());
        QVERIFY(motor.Esperar("copiando"));
        QElapsedTimer reloj;
        reloj.start();
        QVERIFY(motor.Esperar("copiada"));
        duracion = qMax<qint64>(reloj.elapsed(), 5);
        motor.proceso.waitForFinished();
    }
    QCOMPARE(Leer(c.Ruta("DatosAnt.bak")), datos);

    QRandomGenerator azar(prueba::Semilla(20261208));
    int antiguas = 0, nuevas = 0;
    for (int ronda = 0; ronda < 10; ++ronda) {
        Escribir(c.Ruta("DatosAnt.bak"), anterior);
        Motor motor("copiar", c.dir.path());
        QVERIFY(motor.Esperar("copiando"));
        QThread::msleep(azar.bounded(duracion * 13 / 10 + 1));
        motor.Matar();
        const QByteArray copia = Leer(c.Ruta("DatosAnt.bak"));
        QVERIFY2(copia == anterior || copia == datos,
                 qPrintable(QString("DatosAnt.bak of %1 bytes is neither copy").arg(copia.size())));
        (copia == anterior ? antiguas : nuevas)++;
        QCOMPARE(Leer(c.Ruta("Vemora.dat")), datos);
        QCOMPARE(c.Archivos(), archivos); // no half-written copy left beside them
    }
    qInfo("copy of %lld MB in %lld ms; kills left the old copy %d times, the new one %d times",
          qint64(datos.size() >> 20), duracion, antiguas, nuevas);
    QCOMPARE(Integridad(c.Ruta("Vemora.dat")), QString("ok"));
}

QTEST_MAIN(TstTrasvoloCortes)
#include "tst_trasvolo_cortes.moc"
