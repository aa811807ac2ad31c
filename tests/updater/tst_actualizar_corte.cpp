// The installation killed at random moments while it copies a launcher of tens of
// megabytes: whatever the moment, "Brivolar.exe" and Vemora.INI are each the old or the
// new complete file, what is left behind is hidden and never named like the launcher,
// and the next installation finishes and removes it.

#include "Archivos.h"
#include "Grabadoras.h"
#include "Instalacion.h"
#include "Reemplazo.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <signal.h>

using namespace updater;

using prueba::Escribir;
using prueba::Leer;

namespace {
const QByteArray kIniViejo = "[Vemora]\r\nNombre=Jos\xe9\r\n[Brivolar]\r\nNoctavo=No\r\n";
const QByteArray kIniNuevo = kIniViejo + "[Actualizaciones]\r\nBrivolar=Ver 1.8\r\n";

QByteArray Azar(quint32 semilla, qsizetype largo) {
    QByteArray bytes(largo, Qt::Uninitialized);
    QRandomGenerator(semilla).fillRange(reinterpret_cast<quint32*>(bytes.data()), largo / 4);
    return bytes;
}
// A fresh listing each time: a QDir keeps the first one it made.
QStringList Archivos(const QString& carpeta) {
    return QDir(carpeta).entryList(QDir::Files | QDir::Hidden);
}
} // namespace

class TstActualizarCorte : public QObject {
    Q_OBJECT
private slots:
    void init() { prueba::FallarConAvisos(); }
    void cortadaEnCualquierMomento();
    void limpiezaDeRestos();
};

void TstActualizarCorte::cortadaEnCualquierMomento() {
    QTemporaryDir dir;
    const QDir carpeta(dir.path());
    const QString lanzador = carpeta.filePath(kLanzador);
    const QString ini = carpeta.filePath("Vemora.INI");
    // The running executable lies outside the folder, as large as a real program.
    QTemporaryDir fuera;
    const QString propio = QDir(fuera.path()).filePath(kInstalador);
    const QByteArray nuevo = Azar(1, 64 << 20);
    const QByteArray viejo = Azar(2, 3 << 20);
    QVERIFY(Escribir(propio, nuevo));
    QVERIFY(Escribir(carpeta.filePath("Vemora.exe"), "host"));
    const QStringList propios = {kLanzador, "Vemora.INI", "Vemora.exe"}; // sorted

    auto instalar = [&] {
        auto proceso = std::make_unique<QProcess>();
        proceso->setProgram(QStringLiteral(INSTALADOR_CORTABLE));
        proceso->setArguments({dir.path(), propio});
        proceso->start();
        return proceso;
    };
    // The helper says on its pipe when the warning has been answered: the copy follows.
    auto esperarAviso = [](QProcess& proceso) {
        while (!proceso.canReadLine()) {
            if (!proceso.waitForReadyRead(20000))
                return false;
        }
        return proceso.readLine() == "aviso\n";
    };

    // How long the installation takes here from the warning to its end.
    QVERIFY(Escribir(lanzador, viejo) && Escribir(ini, kIniViejo));
    auto medida = instalar();
    QVERIFY(esperarAviso(*medida));
    QElapsedTimer reloj;
    reloj.start();
    QVERIFY(medida->waitForFinished(60000));
    const qint64 duracion = qMax<qint64>(reloj.nsecsElapsed() / 1000, 1000); // microseconds
    QCOMPARE(medida->exitCode(), 0);
    QVERIFY(Leer(lanzador) == nuevo);
    QCOMPARE(Leer(ini), kIniNuevo);
    qInfo("installation after the warning: %lld us", duracion);

    QRandomGenerator azar(prueba::Semilla(20261206));
    int antes = 0, despues = 0;
    for (int vuelta = 0; vuelta < 10; ++vuelta) {
        QVERIFY(Escribir(lanzador, viejo) && Escribir(ini, kIniViejo));
        auto proceso = instalar();
        QVERIFY(esperarAviso(*proceso));
        // The first cut comes at once; the others anywhere up to past the end.
        const qint64 espera = vuelta == 0 ? 0 : azar.bounded(duracion + duracion / 2);
        QThread::usleep(ulong(espera));
        // An ended process has no id: a kill of id 0 would hit this test's own group.
        if (const qint64 pid = proceso->processId(); pid > 0)
            ::kill(pid_t(pid), SIGKILL);
        proceso->waitForFinished(10000);
        QCOMPARE(proceso->state(), QProcess::NotRunning);

        const QByteArray ahora = Leer(lanzador);
        QVERIFY2(ahora == viejo || ahora == nuevo,
                 qPrintable(QString("round %1 (%2 us): launcher of %3 bytes")
                                .arg(vuelta)
                                .arg(espera)
                                .arg(ahora.size())));
        const QByteArray ajustes = Leer(ini);
        QVERIFY2(ajustes == kIniViejo || ajustes == kIniNuevo, ajustes.constData());
        // The version is recorded only once the new launcher is in place.
        QVERIFY(ajustes == kIniViejo || ahora == nuevo);
        ++(ahora == viejo ? antes : despues);
        qInfo("cut %lld us after the warning: %s launcher", espera, ahora == viejo ? "old" : "new");
        for (const QString& nombre : Archivos(dir.path())) {
            if (propios.contains(nombre))
                continue;
            QVERIFY2(nombre.startsWith('.'), qPrintable(nombre));
            QVERIFY2(!nombre.endsWith(kLanzador, Qt::CaseInsensitive), qPrintable(nombre));
        }
    }
    qInfo("cut before the launcher was replaced: %d, after: %d", antes, despues);
    QVERIFY2(antes > 0, "no cut landed before the launcher was replaced");

    // What a cut leaves where the system has no unnamed temporaries: hidden copies.
    QVERIFY(Escribir(carpeta.filePath(".Brivolar.exe.~tmpAb12Cd"), nuevo.left(1000)));
    QVERIFY(Escribir(carpeta.filePath(".Brivolar.exe.anterior"), viejo));
    QVERIFY(Escribir(carpeta.filePath(".Vemora.INI.~tmpXy34Zw"), "[Vem"));
    // The next installation finishes and takes what was left with it.
    QVERIFY(Escribir(lanzador, viejo) && Escribir(ini, kIniViejo));
    auto ultima = instalar();
    QVERIFY(ultima->waitForFinished(60000));
    QVERIFY2(ultima->exitCode() == 0, ultima->readAllStandardError().constData());
    QVERIFY(Leer(lanzador) == nuevo);
    QCOMPARE(Leer(ini), kIniNuevo);
    QStringList quedan = Archivos(dir.path());
    quedan.sort();
    QCOMPARE(quedan, propios);
}

void TstActualizarCorte::limpiezaDeRestos() {
    // The new launcher's clean-up also takes what a cut installation left, and only that:
    // not a user's own hidden copies, not a temporary another program is still writing;
    // a folder that merely bears the installer's name is not the installer.
    QTemporaryDir dir;
    const QDir carpeta(dir.path());
    const QString rutaPrograma = carpeta.filePath("x").chopped(1);
    for (const char* nombre :
         {".Brivolar.exe.~tmpAb12Cd", ".Brivolar.exe.anterior", ".Vemora.INI.~tmpXy34Zw",
          ".Rendalio.dat.~tmpQq12Rr-journal", ".Brivolar.exe", ".oculto", "Vemora.INI",
          ".Vemora.INI.bak", ".Brivolar.exe.Ab12Cd"})
        QVERIFY(Escribir(carpeta.filePath(nombre), "x"));
    QVERIFY(carpeta.mkdir(kInstalador));
    comun::ReemplazoAtomico enCurso(carpeta.filePath("Vemora.INI"));
    QVERIFY(enCurso.Valido());
    EliminarTemporales(rutaPrograma);
    QVERIFY(EliminarInstalador(rutaPrograma, carpeta.filePath(kLanzador)));
    QStringList quedan = Archivos(dir.path());
    quedan.sort();
    QStringList esperados = {".Brivolar.exe",   ".Brivolar.exe.Ab12Cd",
                             ".Vemora.INI.bak", ".oculto",
                             "Vemora.INI",      QFileInfo(enCurso.RutaTemporal()).fileName()};
    esperados.sort();
    QCOMPARE(quedan, esperados);
    QVERIFY(QFileInfo(carpeta.filePath(kInstalador)).isDir());
}

QTEST_GUILESS_MAIN(TstActualizarCorte)
#include "tst_actualizar_corte.moc"
