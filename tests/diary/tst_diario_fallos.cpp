// The diary killed in the middle of its saves: after each kill the task file passes the
// engine's integrity check, and it holds every task whose save had returned, with the
// last description saved or the one being saved at the moment of the kill.

#include "AlmacenTareas.h"
#include "Archivos.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

class TstFallos : public QObject {
    Q_OBJECT
private slots:
    void init() { prueba::FallarConAvisos(); }
    void muerteEnMedioDeGuardar() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile(dir.filePath("Vemora.exe")).open(QIODevice::WriteOnly);
        const QString registro = dir.filePath("guardadas.log");
        QRandomGenerator azar(prueba::Semilla(QRandomGenerator::global()->generate()));

        QHash<QString, int> ultima; // reference -> last description saved
        int nuevas = 0;
        const int vueltas = 8;
        for (int v = 0; v < vueltas; ++v) {
            QProcess hijo;
            hijo.start(QStringLiteral(AYUDANTE_GUARDAR),
                       {dir.path(), registro, QString::number(v)});
            QVERIFY(hijo.waitForStarted(10000));
            QByteArray salida;
            while (!salida.contains("listo") && hijo.waitForReadyRead(20000))
                salida += hijo.readAllStandardOutput();
            QVERIFY2(salida.contains("listo"), hijo.readAllStandardError().constData());
            QTest::qSleep(int(azar.bounded(20, 400)));
            QVERIFY2(hijo.state() == QProcess::Running,
                     qPrintable(QStringLiteral("the child ended by itself with %1: %2")
                                    .arg(hijo.exitCode())
                                    .arg(QString::fromLocal8Bit(hijo.readAllStandardError()))));
            hijo.kill(); // SIGKILL: no handler, no clean-up
            QVERIFY(hijo.waitForFinished(10000));
            QCOMPARE(hijo.exitStatus(), QProcess::CrashExit);

            // What the next start of the diary finds (a read-write open rolls back an
            // interrupted transaction, as the diary's own open does).
            comun::sql::Conexion db;
            QVERIFY(db.Abrir(dir.filePath("Rendalio.dat"), SQLITE_OPEN_READWRITE));
            auto control = db.Preparar("PRAGMA integrity_check");
            QVERIFY(control.Fila());
            QCOMPARE(control.Texto(0), QString("ok"));
            QHash<QString, QStringList> filas; // reference -> descriptions of its records
            auto s = db.Preparar("SELECT Tarea, Descripcion FROM TblDatos");
            while (s.Fila())
                filas[s.Texto(0)] << s.Texto(1);
            int registros = 0;
            for (const QStringList& d : std::as_const(filas))
                registros += int(d.size());

            QFile log(registro);
            QVERIFY(log.open(QIODevice::ReadOnly));
            ultima.clear();
            nuevas = 0;
            for (const QByteArray& linea : log.readAll().split('\n')) {
                const QList<QByteArray> partes = linea.split(' ');
                if (partes.value(0) == "N") {
                    ultima.insert(QString::fromUtf8(partes.value(1)), 0);
                    ++nuevas;
                } else if (partes.value(0) == "E") {
                    ultima[QString::fromUtf8(partes.value(1))] = partes.value(2).toInt();
                }
            }
            QVERIFY(nuevas > 0);
            for (auto it = ultima.cbegin(); it != ultima.cend(); ++it) {
                const QStringList d = filas.value(it.key());
                QVERIFY2(d.size() == 1,
                         qPrintable(it.key() + ": " + QString::number(d.size()) + " records"));
                // The change being saved when the process died may or may not be in.
                QVERIFY2(d[0] == QStringLiteral("v%1").arg(it.value()) ||
                             d[0] == QStringLiteral("v%1").arg(it.value() + 1),
                         qPrintable(it.key() + ": " + d[0]));
            }
            // At most the one task being saved at each kill is there without its line.
            QVERIFY2(registros >= nuevas && registros <= nuevas + v + 1,
                     qPrintable(QStringLiteral("%1 records, %2 saves").arg(registros).arg(nuevas)));
        }
        // No leftovers of a store being made.
        const QStringList archivos = QDir(dir.path()).entryList(QDir::Files);
        for (const QString& a : archivos)
            QVERIFY2(!a.startsWith("Rendalio.dat."), qPrintable(a));
        qInfo("%d tasks saved over %d kills", nuevas, vueltas);
    }
};

QTEST_GUILESS_MAIN(TstFallos)
#include "tst_diario_fallos.moc"
