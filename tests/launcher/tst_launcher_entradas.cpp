// What users' settings files really hold, fed to the real bar and locator: damaged
// bytes, foreign line endings, repeated names, huge values, numbers that do not fit,
// stored folders that are no folders, and a settings file that cannot be written.

#include "Archivos.h"
#include "FrmMain.h"
#include "FrmSelec.h"
#include "Grabadoras.h"
#include "Programas.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace launcher;

using prueba::Basura;
using prueba::Leer;

namespace {

// The start mode as the bar writes it: through the 100-character buffer.
QByteArray Oculto(char valor) {
    return "Ocultar=" + QByteArray(1, valor) + QByteArray(99, ' ');
}

struct Banco {
    QTemporaryDir dir;
    comun::EntornoGrabado e = comun::CrearEntornoGrabado(dir.path());
    QString ini = dir.filePath("Vemora.INI");
    QList<QString> localizadas;

    Banco() { prueba::Escribir(dir.filePath("Vemora.exe"), "host"); }
    std::unique_ptr<FrmMain> Barra(bool bandeja) {
        auto frm = std::make_unique<FrmMain>(e.entorno);
        e.escritorio->bandeja = bandeja;
        frm->lanzador.mostrarLocalizador = [this](FrmSelec& d) { localizadas << d.Fila().clave; };
        return frm;
    }
};
} // namespace

class TstLauncherEntradas : public QObject {
    Q_OBJECT
private slots:
    void init() { prueba::FallarConAvisos(); }
    void ajustesDanados_data();
    void ajustesDanados();
    void ajustesQueNoSePuedenEscribir();
    void carpetasGuardadasDanadas();
    void bloqueoDejadoPorUnaBarraMuerta();
    void unidadesDeLasTablasDeMontaje_data();
    void unidadesDeLasTablasDeMontaje();
};

void TstLauncherEntradas::ajustesDanados_data() {
    QTest::addColumn<QByteArray>("antes");
    QTest::addColumn<bool>("bandeja");
    QTest::addColumn<QPoint>("posicion");
    QTest::addColumn<bool>("oculta");
    QTest::addColumn<QByteArray>("despues"); // the whole file after the bar has closed

    const QByteArray o0 = Oculto('0'), o1 = Oculto('1');
    {
        // Damaged bytes before the keys, the host's own Windows-1252 section and more
        // damage without a final line break: all kept, the missing section added.
        const QByteArray antes = Basura(7, 3000) + "\r\n" + Basura(8, 40) + "\n" +
                                 QByteArray("\0\0\xff\xfe\r\n", 6) +
                                 "[Posicion]\r\nBrIzda=600\r\nBrArriba=900\r\n"
                                 "[Vemora]\r\nNombre=Jos\xe9 Pe\xf1"
                                 "a\r\n" +
                                 Basura(9, 500);
        QTest::newRow("basura binaria") << antes << false << QPoint(40, 60) << false
                                        << antes + "\r\n[Brivolar]\r\n" + o0 + "\r\n";
    }
    QTest::newRow("marca de orden UTF-8")
        << QByteArray("\xEF\xBB\xBF[Posicion]\r\nBrIzda=150\r\nBrArriba=300\r\n"
                      "[Brivolar]\r\nOcultar=1\r\n")
        << true << QPoint(10, 20) << true
        << "\xEF\xBB\xBF[Posicion]\r\nBrIzda=150\r\nBrArriba=300\r\n[Brivolar]\r\n" + o1 + "\r\n";
    QTest::newRow("solo CR")
        << QByteArray("[Posicion]\rBrIzda=450\rBrArriba=300\r[Otra]\rA=1\r") << false
        << QPoint(30, 20) << false
        << "[Posicion]\rBrIzda=450\rBrArriba=300\r[Otra]\rA=1\r[Brivolar]\r\n" + o0 + "\r\n";
    QTest::newRow("finales mezclados")
        << QByteArray("[Otra]\nA=1\r\n[Posicion]\rBrIzda=450\n\rBrArriba=300\r\n"
                      "[Brivolar]\nNoctavo=No\n")
        << false << QPoint(30, 20) << false
        << "[Otra]\nA=1\r\n[Posicion]\rBrIzda=450\n\rBrArriba=300\r\n[Brivolar]\nNoctavo=No\n" +
               o0 + "\r\n";
    // The first section and the first key of a name win, for reading and for writing.
    QTest::newRow("secciones y claves repetidas")
        << QByteArray("[Posicion]\r\nBrIzda=150\r\nbrizda=300\r\n[POSICION]\r\nBrArriba=450\r\n"
                      "[Brivolar]\r\nOcultar=0\r\n[brivolar]\r\nOcultar=1\r\n")
        << true << QPoint(10, 43) << false
        << "[Posicion]\r\nBrIzda=150\r\nbrizda=300\r\nBrArriba=645\r\n[POSICION]\r\n"
           "BrArriba=450\r\n[Brivolar]\r\n" +
               o0 + "\r\n[brivolar]\r\nOcultar=1\r\n";
    {
        const QByteArray carpeta = "/" + QByteArray(10000, 'd') + "/";
        QTest::newRow("valores de 10.000 caracteres")
            << "[Posicion]\r\nBrIzda=" + QByteArray(10000, '1') +
                   "\r\nBrArriba=" + QByteArray(10000, ' ') +
                   "9\r\n[Brivolar]\r\nNoctavo=" + carpeta + "\r\n"
            << false << QPoint(22, 1) << false // the blanks go before the value is cut
            << "[Posicion]\r\nBrIzda=330\r\nBrArriba=15\r\n[Brivolar]\r\nNoctavo=" + carpeta +
                   "\r\n" + o0 + "\r\n";
    }
    QTest::newRow("claves sin igual")
        << QByteArray(
               "[Posicion]\r\nBrIzda\r\nBrArriba 900\r\n=450\r\n\r\n[Brivolar]\r\nOcultar\r\n")
        << true << QPoint(22, 43) << false
        << "[Posicion]\r\nBrIzda\r\nBrArriba 900\r\n=450\r\nBrIzda=330\r\nBrArriba=645\r\n\r\n"
           "[Brivolar]\r\nOcultar\r\n" +
               o0 + "\r\n";
    QTest::newRow("fuera de 16 bits")
        << QByteArray("[Posicion]\r\nBrIzda=32768\r\nBrArriba=-32769\r\n[Brivolar]\r\n"
                      "Ocultar=65536\r\n")
        << true << QPoint(22, 43) << false
        << "[Posicion]\r\nBrIzda=330\r\nBrArriba=645\r\n[Brivolar]\r\n" + o0 + "\r\n";
    QTest::newRow("negativos")
        << QByteArray("[Posicion]\r\nBrIzda=-150\r\nBrArriba=-0\r\n[Brivolar]\r\nOcultar=-1\r\n")
        << true << QPoint(-10, 0) << true
        << "[Posicion]\r\nBrIzda=-150\r\nBrArriba=0\r\n[Brivolar]\r\n" + o1 + "\r\n";
    QTest::newRow("no numericos")
        << QByteArray("[Posicion]\r\nBrIzda=abc\r\nBrArriba=12px\r\n[Brivolar]\r\n"
                      "Ocultar=s\xed\r\n")
        << true << QPoint(22, 43) << false
        << "[Posicion]\r\nBrIzda=330\r\nBrArriba=645\r\n[Brivolar]\r\n" + o0 + "\r\n";
}

void TstLauncherEntradas::ajustesDanados() {
    QFETCH(QByteArray, antes);
    QFETCH(bool, bandeja);
    QFETCH(QPoint, posicion);
    QFETCH(bool, oculta);
    QFETCH(QByteArray, despues);
    Banco b;
    prueba::Escribir(b.ini, antes);
    auto frm = b.Barra(bandeja);
    QVERIFY(frm->Cargar());
    QCOMPARE(frm->pos(), posicion);
    QCOMPARE(frm->mnuOcultar->isChecked(), oculta);
    QCOMPARE(frm->isVisible(), !oculta);
    // Starting writes nothing.
    QVERIFY(Leer(b.ini) == antes);
    frm->mnuSalir->trigger();
    const QByteArray final = Leer(b.ini);
    if (final != despues) {
        const qsizetype n =
            std::mismatch(final.begin(), final.end(), despues.begin(), despues.end()).first -
            final.begin();
        QFAIL(qPrintable(QString("first difference at byte %1: %2 | expected %3")
                             .arg(n)
                             .arg(QString::fromLatin1(final.mid(n, 40).toPercentEncoding()))
                             .arg(QString::fromLatin1(despues.mid(n, 40).toPercentEncoding()))));
    }
    QVERIFY(b.e.dialogos->mensajes.isEmpty());
}

void TstLauncherEntradas::ajustesQueNoSePuedenEscribir() {
    {
        // Marked read-only by its owner: the bar reads it and leaves it as it is, even
        // for a user (such as the administrator) whom the system would let write.
        Banco b;
        const QByteArray antes = "[Posicion]\r\nBrIzda=600\r\n";
        prueba::Escribir(b.ini, antes);
        QVERIFY(QFile::setPermissions(b.ini, QFile::ReadOwner | QFile::ReadGroup));
        auto frm = b.Barra(false);
        QVERIFY(frm->Cargar());
        QCOMPARE(frm->pos(), QPoint(40, 43));
        frm->move(100, 100);
        frm->mnuOcultar->trigger();
        frm->mnuSalir->trigger();
        QCOMPARE(Leer(b.ini), antes);
        QCOMPARE(QFileInfo(b.ini).permissions() & 0x7077, QFile::ReadOwner | QFile::ReadGroup);
        // The locator: the folder cannot be kept, and the user is told so; the program
        // found is started all the same.
        const QString carpeta = b.dir.filePath("Programas/");
        prueba::Escribir(carpeta + "Noctavo.exe", "n");
        FrmSelec dlg(b.e.entorno, frm->Ini, TablaBarra()[0], kPaginaDescargas);
        QVERIFY(dlg.DirCarpeta->PonerRuta(carpeta));
        QVERIFY(!dlg.CmdTerminar->isHidden());
        dlg.CmdTerminar_Click();
        QCOMPARE(Leer(b.ini), antes);
        QCOMPARE(b.e.dialogos->mensajes.size(), 1);
        QCOMPARE(b.e.dialogos->mensajes[0].tipo, comun::TipoMensaje::Critico);
        QCOMPARE(b.e.dialogos->mensajes[0].titulo, FrmSelec::kTituloSinGuardar);
        QCOMPARE(b.e.dialogos->mensajes[0].texto, FrmSelec::kTextoSinGuardar);
        QCOMPARE(b.e.shell->llamadas.size(), 1);
        QCOMPARE(b.e.shell->llamadas[0].archivo, carpeta + "Noctavo.exe");
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
    }
    for (const char* raro : {"carpeta", "tuberia", "dispositivo"}) {
        // A folder, a pipe or a device where the file should be: the bar starts at once
        // at its default place and leaves that thing as it is.
        Banco b;
        const QString tipo = raro;
        if (tipo == "carpeta")
            QVERIFY(QDir().mkpath(b.ini + "/dentro"));
        else if (tipo == "tuberia")
            QVERIFY(::mkfifo(QFile::encodeName(b.ini).constData(), 0600) == 0);
        else
            QVERIFY(QFile::link("/dev/zero", b.ini));
        auto frm = b.Barra(true);
        QVERIFY(frm->Cargar());
        QCOMPARE(frm->pos(), QPoint(22, 43));
        frm->mnuSalir->trigger();
        QVERIFY(b.e.dialogos->mensajes.isEmpty());
        QStringList quedan =
            QDir(b.dir.path())
                .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
        quedan.removeAll(".bloqueos");
        quedan.sort();
        QCOMPARE(quedan, QStringList({"Vemora.INI", "Vemora.exe"}));
        if (tipo == "carpeta")
            QCOMPARE(QDir(b.ini).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                     QStringList{"dentro"});
        else if (tipo == "tuberia")
            QVERIFY(QFileInfo(b.ini).isSymLink() == false && !QFileInfo(b.ini).isFile());
        else
            QCOMPARE(QFileInfo(b.ini).symLinkTarget(), QString("/dev/zero"));
    }
}

void TstLauncherEntradas::carpetasGuardadasDanadas() {
    Banco b;
    const QByteArray larga = "/" + QByteArray(10000, 'x') + "/";
    prueba::Escribir(b.ini, "[Brivolar]\r\nNoctavo=" + larga +
                                "\r\nPoemarex=https://descargas.example/\r\n"
                                "Custodex=Programas/\r\nNumerax=-x/\r\nApuntex=\x01\x02\xff\r\n"
                                "Tempux=\r\nResguax=\"\"\r\n");
    // A program of the same name where each of those values would lead if taken as a
    // place relative to the folder the bar happens to run in.
    const QString antes = QDir::currentPath();
    QDir::setCurrent(b.dir.path());
    for (const char* nombre : {"Tempux.exe", "Resguax.exe", "Programas/Custodex.exe"})
        prueba::Escribir(b.dir.filePath(nombre), "x");
    auto frm = b.Barra(false);
    QVERIFY(frm->Cargar());
    // The long folder is cut by the reading buffer, as any reader of the file would.
    frm->Launch(0);
    QCOMPARE(b.e.shell->llamadas.size(), 1);
    QCOMPARE(b.e.shell->llamadas[0].archivo, QString::fromLatin1(larga.left(99)) + "Noctavo.exe");
    // An address, a relative or empty folder, or bytes that are no path at all: nothing
    // is started, as when a program is no longer at its folder, and nothing is shown.
    for (int i = 1; i <= 6; ++i) {
        frm->lanzador.ResultadoShell = 0;
        frm->Launch(i);
        QCOMPARE(frm->lanzador.ResultadoShell, 2);
    }
    QDir::setCurrent(antes);
    QCOMPARE(b.e.shell->llamadas.size(), 1);
    QVERIFY(b.localizadas.isEmpty());
    QVERIFY(b.e.dialogos->mensajes.isEmpty());
    // The repair stays where it was: a double click opens the locator.
    frm->Locate(1);
    QCOMPARE(b.localizadas, QList<QString>{"Poemarex"});
}

void TstLauncherEntradas::bloqueoDejadoPorUnaBarraMuerta() {
    // A bar killed while it took its lock leaves the lock's file empty: the next bar
    // starts all the same, and a bar that really runs still keeps a second one out.
    Banco b;
    prueba::Escribir(QDir(b.e.entorno.carpetaBloqueos).filePath("Brivolar.exe.lock"), "");
    auto frm = b.Barra(false);
    QVERIFY(frm->Cargar());
    QVERIFY(!b.Barra(false)->Cargar());
    QVERIFY(b.e.dialogos->mensajes.isEmpty());
}

// The locator's drive list from the mount tables machines have: a desktop with its
// system partitions, removable media and a share; a container; two sticks labelled
// alike. Only what a user knows as a place is offered, by its name.
void TstLauncherEntradas::unidadesDeLasTablasDeMontaje_data() {
#if defined(Q_OS_WIN)
    QSKIP("drive letters are every volume there");
#endif
    QTest::addColumn<QList<Montaje>>("montajes");
    QTest::addColumn<QString>("personal");
    QTest::addColumn<QStringList>("lugares"); // name|folder
    const QList<Montaje> sistema = {{"/", "/dev/sda2", "ext4", ""},
                                    {"/boot/efi", "/dev/sda1", "vfat", "EFI"},
                                    {"/proc", "proc", "proc", ""},
                                    {"/sys/fs/cgroup", "cgroup2", "cgroup2", ""},
                                    {"/dev", "udev", "devtmpfs", ""},
                                    {"/dev/shm", "tmpfs", "tmpfs", ""},
                                    {"/run", "tmpfs", "tmpfs", ""},
                                    {"/run/user/1000", "tmpfs", "tmpfs", ""},
                                    {"/run/user/1000/doc", "portal", "fuse.portal", ""},
                                    {"/snap/core22/1380", "/dev/loop3", "squashfs", ""},
                                    {"/var/lib/docker", "/dev/sda2", "ext4", ""},
                                    {"/home/ana/.cache/cuenta", "/dev/sdc1", "ext4", ""},
                                    {"/tmp", "tmpfs", "tmpfs", ""}};
    QTest::newRow("desktop")
        << (sistema + QList<Montaje>{{"/home", "/dev/sda3", "ext4", "casa"},
                                     {"/media/ana/MI USB", "/dev/sdb1", "vfat", "MI USB"},
                                     {"/run/media/ana/3A2F-11C0", "/dev/sdd1", "exfat", ""},
                                     {"/mnt/datos", "/dev/sdc2", "ext4", ""},
                                     {"/mnt/oficina", "//servidor/docs", "cifs", ""},
                                     {"/home/ana/nube", "ana@servidor:", "fuse.sshfs", ""}})
        << "/home/ana"
        << QStringList{"Equipo|/",
                       "Carpeta personal|/home/ana",
                       "3A2F-11C0|/run/media/ana/3A2F-11C0",
                       "datos|/mnt/datos",
                       "MI USB|/media/ana/MI USB",
                       "nube|/home/ana/nube",
                       "oficina|/mnt/oficina"};
    QTest::newRow("container") << QList<Montaje>{{"/", "overlay", "overlay", ""},
                                                 {"/proc", "proc", "proc", ""},
                                                 {"/etc/hosts", "/dev/vda1", "ext4", ""},
                                                 {"/etc/resolv.conf", "/dev/vda1", "ext4", ""},
                                                 {"/dev/shm", "shm", "tmpfs", ""},
                                                 {"/work", "/dev/vda1", "ext4", ""}}
                               << "/root"
                               << QStringList{"Equipo|/", "Carpeta personal|/root", "work|/work"};
    QTest::newRow("two sticks labelled alike")
        << QList<Montaje>{{"/", "/dev/sda2", "btrfs", ""},
                          {"/media/ana/USB", "/dev/sdb1", "vfat", "USB"},
                          {"/media/ana/USB1", "/dev/sdc1", "vfat", "USB"},
                          {"/media/ana/USB", "/dev/sdb1", "vfat", "USB"}}
        << "/home/ana"
        << QStringList{"Equipo|/", "Carpeta personal|/home/ana",
                       "USB (/media/ana/USB)|/media/ana/USB",
                       "USB (/media/ana/USB1)|/media/ana/USB1"};
}

void TstLauncherEntradas::unidadesDeLasTablasDeMontaje() {
    QFETCH(QList<Montaje>, montajes);
    QFETCH(QString, personal);
    QFETCH(QStringList, lugares);
    QStringList vistos;
    for (const Lugar& l : LugaresConocidos(montajes, personal))
        vistos << l.nombre + "|" + l.ruta;
    QCOMPARE(vistos, lugares);

    // The real dialog on this machine: the root and the home folder first, the current
    // folder's place chosen, no system folder offered.
    Banco b;
    comun::ArchivoIni ini(b.ini);
    FrmSelec dlg(b.e.entorno, ini, TablaBarra()[0], kPaginaDescargas);
    QCOMPARE(dlg.Drive->itemText(0), QString("Equipo"));
    if (QDir::homePath() != QDir::rootPath())
        QCOMPARE(dlg.Drive->itemData(1).toString(), QDir::cleanPath(QDir::homePath()));
    for (int i = 0; i < dlg.Drive->count(); ++i) {
        const QString ruta = dlg.Drive->itemData(i).toString();
        for (const char* sistema : {"/proc", "/sys", "/dev", "/run/user", "/etc", "/boot"})
            QVERIFY2(!ruta.startsWith(sistema), qPrintable(ruta));
    }
    QVERIFY(QDir::currentPath().startsWith(dlg.Drive->currentData().toString()));
}

QTEST_MAIN(TstLauncherEntradas)
#include "tst_launcher_entradas.moc"
