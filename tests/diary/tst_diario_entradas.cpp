// The diary against the files real machines hold: settings files written by other
// programs and editors, and task files that are damaged, emptied, read-only or held by
// another program. Each case ends in the usual behaviour or in a Spanish message, and
// never changes a file the user did not ask to change.
#include "AlmacenTareas.h"
#include "Archivos.h"
#include "Diario.h"
#include "FrmCalendario.h"
#include "FrmMain.h"
#include "Grabadoras.h"

#include "Ini.h"
#include "Twips.h"

#include <QCalendarWidget>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace diary;
using comun::Px;
using prueba::Escribir;
using prueba::Leer;

namespace {

const QDate kHoy = prueba::kHoyDiario;
// Where the windows stand without settings (pixels).
const QPoint kDiario(Px(330), Px(330));
const QPoint kCalendario(Px(6440), Px(330));

// An application folder with the host present.
struct Carpeta {
    QTemporaryDir tmp;
    QString dir;
    comun::EntornoGrabado e;
    std::unique_ptr<FrmMain> frm;

    explicit Carpeta(const QString& existente = {}) {
        dir = existente.isEmpty() ? tmp.path() : existente;
        if (existente.isEmpty())
            QFile(Ruta("Vemora.exe")).open(QIODevice::WriteOnly);
        e = comun::CrearEntornoGrabado(dir, kHoy);
    }
    QString Ruta(const QString& nombre) const { return QDir(dir).filePath(nombre); }
    bool Arrancar() { return prueba::ArrancarDiario(frm, e.entorno); }
    void Tareas(int n) {
        const QString ruta = Ruta("Rendalio.dat");
        QVERIFY(!AlmacenTareas::CrearAlmacen(ruta));
        AlmacenTareas a;
        QVERIFY(!a.AbrirAlmacen(ruta));
        for (int i = 1; i <= n; ++i) {
            a.Anadir();
            QVERIFY(a.EscribirYConfirmar(QStringLiteral("0%1/01/2026").arg(i % 9 + 1),
                                         QString(120, QLatin1Char('d')) + QString::number(i),
                                         QStringLiteral("tarea %1").arg(i)));
        }
    }
    QStringList Mensajes() {
        QStringList textos;
        for (const comun::Mensaje& m : std::as_const(e.dialogos->mensajes)) {
            if (m.tipo != comun::TipoMensaje::Critico || m.titulo != QLatin1String("Error..."))
                textos << QStringLiteral("(otro tipo o título) ") + m.titulo;
            textos << m.texto;
        }
        e.dialogos->mensajes.clear();
        return textos;
    }
    // What the folder holds besides the lock folder of the test environment.
    QStringList Archivos() const {
        QStringList nombres = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
        nombres.sort();
        return nombres;
    }
};

// Another process that holds the task file with an exclusive lock until released.
class OtroPrograma {
public:
    explicit OtroPrograma(const QString& ruta) {
        proceso_.setProgram(QStringLiteral("sqlite3"));
        proceso_.setArguments({ruta});
        proceso_.start();
        if (!proceso_.waitForStarted(5000))
            return;
        proceso_.write("BEGIN EXCLUSIVE;\nSELECT 'retenido';\n");
        QElapsedTimer t;
        t.start();
        while (!proceso_.readAllStandardOutput().contains("retenido") && t.elapsed() < 5000)
            proceso_.waitForReadyRead(100);
        retenido_ = t.elapsed() < 5000;
    }
    ~OtroPrograma() { Soltar(); }
    bool Retenido() const { return retenido_; }
    void Soltar() {
        if (proceso_.state() == QProcess::NotRunning)
            return;
        proceso_.write("ROLLBACK;\n.quit\n");
        proceso_.closeWriteChannel();
        if (!proceso_.waitForFinished(5000))
            proceso_.kill();
        proceso_.waitForFinished(1000);
    }

private:
    QProcess proceso_;
    bool retenido_ = false;
};

} // namespace

class TstEntradas : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prueba::LocaleDelDiario(); }
    void init() { prueba::FallarConAvisos(); }

    void ajustesComoLosDejanOtros_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QPoint>("diario");
        QTest::addColumn<QPoint>("calendario");
        QTest::addColumn<bool>("sonido");
        QByteArray basura;
        for (int i = 0; i < 4096; ++i)
            basura += char((i * 7919 + 13) % 256); // NULs, line breaks, brackets, high bytes
        const QPoint p600_450(Px(600), Px(450));

        QTest::newRow("binary garbage") << basura << kDiario << kCalendario << true;
        QTest::newRow("keys inside garbage")
            << basura + "\r\n[Posicion]\r\nReIzda=600\r\nReArriba=450\r\n" + basura << p600_450
            << kCalendario << true;
        QTest::newRow("byte-order mark")
            << QByteArray("\xEF\xBB\xBF[Posicion]\r\nReIzda=600\r\nReArriba=450\r\n[Opciones]\r\n"
                          "Sonido=0\r\n")
            << p600_450 << kCalendario << false;
        QTest::newRow("CR only") << QByteArray("[Posicion]\rReIzda=600\rReArriba=450\r[Opciones]\r"
                                               "Sonido=0\r")
                                 << p600_450 << kCalendario << false;
        QTest::newRow("mixed line ends")
            << QByteArray("[Posicion]\nReIzda=600\r\nReArriba=450\r[Opciones]\n\rSonido=0")
            << p600_450 << kCalendario << false;
        QTest::newRow("duplicate sections and keys")
            << QByteArray("[posicion]\r\nReIzda=600\r\nReIzda=900\r\n[Opciones]\r\nSonido=0\r\n"
                          "[POSICION]\r\nReArriba=450\r\nCaIzda=7500\r\n[Opciones]\r\nSonido=1\r\n")
            << QPoint(Px(600), Px(330)) << kCalendario << false;
        QTest::newRow("10,000-character values")
            << "[Posicion]\r\nReIzda=" + QByteArray(10000, '1') + "\r\nReArriba=450" +
                   QByteArray(10000, ' ') + "\r\n[Opciones]\r\nSonido=1" + QByteArray(9999, 'x')
            << QPoint(Px(330), Px(450)) << kCalendario << true;
        QTest::newRow("keys without =")
            << QByteArray("[Posicion]\r\nReIzda 600\r\nReArriba\r\nCaIzda:7500\r\n[Opciones]\r\n"
                          "Sonido\r\n")
            << kDiario << kCalendario << true;
        QTest::newRow("outside 16 bits")
            << QByteArray("[Posicion]\r\nReIzda=40000\r\nReArriba=-40000\r\nCaIzda=32768\r\n"
                          "CaArriba=-32769\r\nCaAncho=99999\r\nCaAlto=70000\r\n")
            << kDiario << kCalendario << true;
        QTest::newRow("larger than the screen")
            << QByteArray("[Posicion]\r\nCaIzda=0\r\nCaArriba=0\r\nCaAncho=32767\r\n"
                          "CaAlto=32000\r\n")
            << kDiario << QPoint(0, 0) << true;
        QTest::newRow("negative")
            << QByteArray("[Posicion]\r\nReIzda=-300\r\nReArriba=-150\r\nCaIzda=-30000\r\n"
                          "CaArriba=-330\r\nCaAncho=-4725\r\nCaAlto=-1\r\n")
            << QPoint(Px(-300), Px(-150)) << kCalendario << true;
        QTest::newRow("not numbers")
            << QByteArray("[Posicion]\r\nReIzda=abc\r\nReArriba=12px\r\nCaIzda=0x10\r\n"
                          "CaArriba=1e3\r\nCaAncho=\r\nCaAlto=\"\"\r\n")
            << kDiario << kCalendario << true;
        QTest::newRow("quoted and padded")
            << QByteArray("[Posicion]\r\n  ReIzda  =  \"600\"  \r\nReArriba=+450\r\n[Opciones]\r\n"
                          "Sonido=\"1\"\r\n")
            << p600_450 << kCalendario << true;
        for (const char* valor : {"", "-1", " 0", "sí", "yes", "\xEF\xBC\x91", "0x1", "2"})
            QTest::newRow(qPrintable(QStringLiteral("Sonido=%1").arg(QString::fromUtf8(valor))))
                << QByteArray("[Opciones]\r\nSonido=") + valor + "\r\n"
                << kDiario << kCalendario << false;
        QTest::newRow("Sonido=1.5")
            << QByteArray("[Opciones]\r\nSonido=1.5\r\n") << kDiario << kCalendario << true;
    }

    void ajustesComoLosDejanOtros() {
        QFETCH(QByteArray, ini);
        QFETCH(QPoint, diario);
        QFETCH(QPoint, calendario);
        QFETCH(bool, sonido);
        Carpeta c;
        Escribir(c.Ruta("Vemora.INI"), ini);
        QVERIFY(c.Arrancar());
        QVERIFY(c.Mensajes().isEmpty());
        QCOMPARE(c.frm->pos(), diario);
        QCOMPARE(c.frm->Calendario()->pos(), calendario);
        QCOMPARE(c.frm->ConSonido, sonido);
        // The calendar is never a sliver nor larger than the screen.
        const QRect pantalla = c.frm->screen()->availableGeometry();
        QVERIFY(c.frm->Calendario()->width() >= 100 && c.frm->Calendario()->height() >= 50);
        QVERIFY(c.frm->Calendario()->width() <= pantalla.width());
        QVERIFY(c.frm->Calendario()->height() <= pantalla.height());
        QCOMPARE(Leer(c.Ruta("Vemora.INI")), ini); // start-up writes nothing

        // Closing writes the six places and keeps every other byte where it was.
        c.frm->move(150, 90);
        c.frm->close();
        const QByteArray despues = Leer(c.Ruta("Vemora.INI"));
        comun::ArchivoIni leido(c.Ruta("Vemora.INI"));
        QCOMPARE(leido.LeerIni("Posicion", "ReIzda", {}), QString("2250"));
        QCOMPARE(leido.LeerIni("Posicion", "ReArriba", {}), QString("1350"));
        for (const char* clave : {"CaIzda", "CaArriba", "CaAncho", "CaAlto"})
            QVERIFY(comun::ConvertirEntero16(leido.LeerIni("Posicion", clave, {})));
        if (!ini.toLower().contains("[posicion]"))
            QVERIFY(despues.startsWith(ini));
        const QStringList archivos = c.Archivos();
        QCOMPARE(archivos, QStringList({"Rendalio.dat", "Vemora.INI", "Vemora.exe"}));
    }

    void archivoDeTareasQueNoSeAbre_data() {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("cut in half") << "mitad" << QString::fromUtf8("dañado");
        QTest::newRow("cut inside the header") << "cabecera" << QString::fromUtf8("dañado");
        QTest::newRow("first page only") << "pagina" << QString::fromUtf8("dañado");
        QTest::newRow("plain text") << "texto" << QString::fromUtf8("no es un archivo de tareas");
        QTest::newRow("another program's database") << "ajena" << QString("TblDatos");
        QTest::newRow("a folder") << "carpeta" << QString("No se puede leer");
    }

    void archivoDeTareasQueNoSeAbre() {
        QFETCH(QString, caso);
        QFETCH(QString, motivo);
        Carpeta c;
        const QString ruta = c.Ruta("Rendalio.dat");
        QByteArray antes;
        if (caso == "carpeta") {
            QVERIFY(QDir().mkpath(ruta));
        } else if (caso == "ajena") {
            comun::sql::Conexion db;
            QVERIFY(db.Abrir(ruta, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE));
            QVERIFY(db.Ejecutar("CREATE TABLE Contactos(Nombre TEXT); "
                                "INSERT INTO Contactos VALUES('Ana')"));
        } else if (caso == "texto") {
            Escribir(ruta, QByteArray("Tareas pendientes:\r\n1. Dentista 17:30\r\n").repeated(40));
        } else {
            c.Tareas(600);
            const QByteArray entero = Leer(ruta);
            QVERIFY(entero.size() > 8 * 4096);
            const qsizetype largo =
                caso == "mitad" ? entero.size() / 2 : (caso == "cabecera" ? 60 : 4096);
            Escribir(ruta, entero.left(largo));
        }
        if (caso != "carpeta")
            antes = Leer(ruta);

        QVERIFY(!c.Arrancar());
        const QStringList mensajes = c.Mensajes();
        QCOMPARE(mensajes.size(), 1);
        QVERIFY2(mensajes[0].startsWith("No se puede abrir el archivo de tareas\r" + ruta + "\r"),
                 qPrintable(mensajes[0]));
        QVERIFY2(mensajes[0].contains(motivo), qPrintable(mensajes[0]));
        QVERIFY(mensajes[0].endsWith(QString::fromUtf8("sin modificar el archivo.")));
        if (caso != "carpeta")
            QCOMPARE(Leer(ruta), antes); // byte for byte as it was
        // Nothing else appeared: no settings, no journal, no half-made store.
        QCOMPARE(c.Archivos(), caso == "carpeta" ? QStringList({"Vemora.exe"})
                                                 : QStringList({"Rendalio.dat", "Vemora.exe"}));
        QVERIFY(c.frm->Calendario() == nullptr || !c.frm->Calendario()->isVisible());
    }

    void archivoVacioPasaAAlmacenNuevo() {
        Carpeta c;
        const QString ruta = c.Ruta("Rendalio.dat");
        Escribir(ruta, {});
        QFile::setPermissions(ruta, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                        QFile::WriteUser | QFile::ReadGroup);
        QVERIFY(c.Arrancar());
        QVERIFY(c.Mensajes().isEmpty());
        QVERIFY(QFileInfo(ruta).size() > 0);
        QCOMPARE(QFile::permissions(ruta), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                               QFile::WriteUser | QFile::ReadGroup);
        QCOMPARE(c.frm->LblInfo->Caption(), QString("Tareas totales:\r0"));
        c.frm->ImgMenu_Click(1);
        QTest::keyClicks(c.frm->TextBox2, "primera");
        c.frm->ImgMenu_Click(2);
        QCOMPARE(c.frm->LblInfo->Caption(), QString("Tareas totales:\r1"));
        c.frm->close();
        QCOMPARE(c.Archivos(), QStringList({"Rendalio.dat", "Vemora.INI", "Vemora.exe"}));

        // An empty file beside a journal that holds data is not known to be empty: it is
        // not replaced.
        Carpeta d;
        Escribir(d.Ruta("Rendalio.dat"), {});
        Escribir(d.Ruta("Rendalio.dat-wal"), QByteArray(32, 'w'));
        QVERIFY(!AlmacenTareas::ArchivoVacio(d.Ruta("Rendalio.dat")));
        QVERIFY(AlmacenTareas::CrearAlmacen(d.Ruta("Rendalio.dat")));
        QCOMPARE(QFileInfo(d.Ruta("Rendalio.dat")).size(), 0);
    }

    // Records written by another tool: missing dates, references and descriptions,
    // numbers where text is expected. Each line still shows, finds and deletes its own
    // record.
    void tareasEscritasPorOtraHerramienta() {
        Carpeta c;
        const QString ruta = c.Ruta("Rendalio.dat");
        QVERIFY(!AlmacenTareas::CrearAlmacen(ruta));
        {
            comun::sql::Conexion db;
            QVERIFY(db.Abrir(ruta, SQLITE_OPEN_READWRITE));
            QVERIFY(db.Ejecutar("INSERT INTO TblDatos VALUES(1, NULL, 'sin fecha', 'a');"
                                "INSERT INTO TblDatos VALUES(2, '3/3/27', NULL, NULL);"
                                "INSERT INTO TblDatos VALUES(3, 20270101, 'numeros', 42);"
                                "INSERT INTO TblDatos VALUES(7, '5/5/27', 'otra', 'b')"));
        }
        QVERIFY(c.Arrancar());
        QVERIFY(c.Mensajes().isEmpty());
        const QStringList esperadas = {" - a", "20270101 - 42", "3/3/27 - ", "5/5/27 - b"};
        QStringList lineas;
        for (int i = 0; i < c.frm->ListTareas->count(); ++i)
            lineas << c.frm->ListTareas->item(i)->text();
        lineas.sort();
        QCOMPARE(lineas, esperadas);
        const QHash<QString, QString> descripciones = {{" - a", "sin fecha"},
                                                       {"20270101 - 42", "numeros"},
                                                       {"3/3/27 - ", ""},
                                                       {"5/5/27 - b", "otra"}};
        for (int i = 0; i < c.frm->ListTareas->count(); ++i) {
            c.frm->ListTareas->setCurrentRow(i);
            const QString linea = c.frm->ListTareas->item(i)->text();
            QCOMPARE(c.frm->TextBox1->toPlainText(), descripciones.value(linea));
        }
        // The line without a date deletes its own record, not the one shown before.
        c.frm->ListTareas->setCurrentItem(
            c.frm->ListTareas->findItems(" - a", Qt::MatchExactly)[0]);
        c.frm->ImgMenu_Click(0);
        c.frm->ImgMenu_Click(6);
        QCOMPARE(c.frm->ListTareas->count(), 3);
        QVERIFY(c.frm->ListTareas->findItems(" - a", Qt::MatchExactly).isEmpty());
        // A new task on that date with an empty reference is saved with "?", so it
        // does not clash with the record that has none.
        c.frm->ImgMenu_Click(1);
        c.frm->Estado().FechaActual = FechaDiario::DeTexto("3/3/27");
        c.frm->Form_Activate();
        c.frm->ImgMenu_Click(2);
        QCOMPARE(c.frm->LblInfo->Caption(), QString("Tareas totales:\r4"));
    }

    // The folder is read-only to the program: the tasks are shown, and saving or
    // deleting says why it cannot be done and keeps what was typed. Run as root, the
    // checks are made by a copy of this test running as an ordinary user, since root
    // writes through any permission.
    void archivoDeSoloLectura() {
#ifndef Q_OS_UNIX
        QSKIP("permissions are a Unix case here");
#else
        const QByteArray carpetaHijo = qgetenv("DIARIO_SOLO_LECTURA");
        if (!carpetaHijo.isEmpty()) {
            ComprobarSoloLectura(QString::fromLocal8Bit(carpetaHijo));
            return;
        }
        Carpeta c;
        c.Tareas(3);
        const QString ruta = c.Ruta("Rendalio.dat");
        const QByteArray antes = Leer(ruta);
        if (geteuid() != 0) {
            QVERIFY(QFile::setPermissions(ruta, QFile::ReadOwner | QFile::ReadUser));
            ComprobarSoloLectura(c.dir);
            QCOMPARE(Leer(ruta), antes);
            return;
        }
        const passwd* usuario = getpwnam("nobody");
        if (!usuario)
            QSKIP("no ordinary user to run the read-only case as");
        // The folder belongs to the ordinary user (it may write the settings and its
        // lock there); the task file is root's and read-only to everybody else.
        QVERIFY(chmod(QFile::encodeName(c.tmp.path()).constData(), 0755) == 0);
        QVERIFY(chown(QFile::encodeName(c.dir).constData(), usuario->pw_uid, usuario->pw_gid) == 0);
        QVERIFY(chmod(QFile::encodeName(ruta).constData(), 0644) == 0);
        const pid_t hijo = fork();
        if (hijo == 0) {
            if (setgroups(0, nullptr) != 0 || setgid(usuario->pw_gid) != 0 ||
                setuid(usuario->pw_uid) != 0)
                _exit(3);
            setenv("DIARIO_SOLO_LECTURA", QFile::encodeName(c.dir).constData(), 1);
            setenv("HOME", QFile::encodeName(c.dir).constData(), 1);
            setenv("XDG_RUNTIME_DIR", QFile::encodeName(c.dir).constData(), 1);
            const QByteArray yo = QFile::encodeName(QCoreApplication::applicationFilePath());
            execl(yo.constData(), yo.constData(), "archivoDeSoloLectura", "-silent",
                  static_cast<char*>(nullptr));
            _exit(4);
        }
        QVERIFY(hijo > 0);
        int estado = 0;
        QCOMPARE(waitpid(hijo, &estado, 0), hijo);
        QVERIFY(WIFEXITED(estado));
        QCOMPARE(WEXITSTATUS(estado), 0); // the ordinary user's run passed
        QCOMPARE(Leer(ruta), antes);
#endif
    }

    // Another program holds the file with an exclusive lock: at start-up the diary says
    // so and ends without touching it; during the run a read or a write that cannot be
    // made says so and changes nothing, and all works again once the file is free.
    void archivoRetenidoPorOtroPrograma() {
        if (QStandardPaths::findExecutable("sqlite3").isEmpty())
            QSKIP("the sqlite3 command line is needed to hold the file from another process");
        Carpeta c;
        c.Tareas(3);
        const QString ruta = c.Ruta("Rendalio.dat");
        const QByteArray antes = Leer(ruta);
        {
            OtroPrograma otro(ruta);
            QVERIFY(otro.Retenido());
            QElapsedTimer t;
            t.start();
            QVERIFY(!c.Arrancar());
            QVERIFY(t.elapsed() < 10000); // a wait, not a hang
            const QStringList mensajes = c.Mensajes();
            QCOMPARE(mensajes.size(), 1);
            QVERIFY2(
                mensajes[0].contains(QString::fromUtf8("Otro programa está usando el archivo")),
                qPrintable(mensajes[0]));
        }
        QCOMPARE(Leer(ruta), antes);
        QVERIFY(!QFile::exists(c.Ruta("Vemora.INI")));

        QVERIFY(c.Arrancar());
        QCOMPARE(c.frm->ListTareas->count(), 3);
        const QString mostrada = c.frm->TextBox2->text();
        OtroPrograma otro(ruta);
        QVERIFY(otro.Retenido());
        // Another line chosen: the shown task stays and the reason is given.
        c.frm->ListTareas->setCurrentRow(2);
        QStringList mensajes = c.Mensajes();
        QCOMPARE(mensajes.size(), 1);
        QVERIFY2(mensajes[0].startsWith("No se puede leer el archivo de tareas\r" + ruta),
                 qPrintable(mensajes[0]));
        QCOMPARE(c.frm->TextBox2->text(), mostrada);
        // Copy of all tasks: a message, not a copy without the tasks.
        c.e.portapapeles->texto = "antes";
        c.frm->ImgMenu_Click(10);
        QCOMPARE(c.Mensajes().size(), 1);
        QCOMPARE(c.e.portapapeles->texto, QString("antes"));
        QVERIFY(c.frm->LblProceso->isHidden());
        // A new task: neither the duplicate test nor the write can be made; what was
        // typed stays and the edit goes on.
        c.frm->ImgMenu_Click(1);
        QTest::keyClicks(c.frm->TextBox2, "nueva");
        c.frm->ImgMenu_Click(2);
        mensajes = c.Mensajes();
        QCOMPARE(mensajes.size(), 1);
        QVERIFY(mensajes[0].contains("guardar la tarea"));
        QVERIFY(c.frm->Editando());
        QCOMPARE(c.frm->TextBox2->text(), QString("nueva"));
        // Abandoning it rebuilds the list from a file that cannot be read: a message.
        c.frm->ImgMenu_Click(0);
        QCOMPARE(c.Mensajes().size(), 1);
        QVERIFY(!c.frm->Editando());
        otro.Soltar();
        QCOMPARE(Leer(ruta), antes);

        c.frm->ImgMenu_Click(1);
        QTest::keyClicks(c.frm->TextBox2, "nueva");
        c.frm->ImgMenu_Click(2);
        QVERIFY(c.Mensajes().isEmpty());
        QCOMPARE(c.frm->LblInfo->Caption(), QString("Tareas totales:\r4"));
        QCOMPARE(c.frm->ListTareas->count(), 4);
    }

private:
    void ComprobarSoloLectura(const QString& dir) {
        Carpeta c(dir);
        QVERIFY(c.Arrancar());
        QVERIFY(c.Mensajes().isEmpty());
        QCOMPARE(c.frm->ListTareas->count(), 3);
        // A change to a stored task.
        c.frm->TextBox1->setFocus();
        QTest::keyClicks(c.frm->TextBox1, "cambio");
        c.frm->ImgMenu_Click(2);
        QStringList mensajes = c.Mensajes();
        QCOMPARE(mensajes.size(), 1);
        QVERIFY2(mensajes[0].startsWith("No se ha podido guardar la tarea en el archivo de "
                                        "tareas\r" +
                                        c.Ruta("Rendalio.dat")),
                 qPrintable(mensajes[0]));
        QVERIFY2(mensajes[0].contains(QString::fromUtf8("solo lectura")) ||
                     mensajes[0].contains("permiso"),
                 qPrintable(mensajes[0]));
        QVERIFY(c.frm->Editando());
        QVERIFY(c.frm->TextBox1->toPlainText().contains("cambio"));
        // A deletion.
        c.frm->ImgMenu_Click(0); // abandons the edit
        c.frm->ImgMenu_Click(0);
        c.frm->ImgMenu_Click(6);
        mensajes = c.Mensajes();
        QCOMPARE(mensajes.size(), 1);
        QVERIFY(mensajes[0].startsWith("No se ha podido eliminar la tarea"));
        QCOMPARE(c.frm->ListTareas->count(), 3);
        c.frm->close();
    }
};

QTEST_MAIN(TstEntradas)
#include "tst_diario_entradas.moc"
