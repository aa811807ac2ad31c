// What users' settings files really hold, fed to the real updater: damaged bytes,
// foreign line endings, repeated names, huge values, keys without a value, web-page
// addresses that are no addresses, and a settings file that cannot be written.

#include "Archivos.h"
#include "FrmMain.h"
#include "Grabadoras.h"
#include "Instalacion.h"

#include <QAction>
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace updater;

using prueba::Basura;
using prueba::Escribir;
using prueba::Leer;

namespace {
const QByteArray kNuevo = QByteArray("lanzador 1.8\0\x01\xff", 15).repeated(5000);
const QByteArray kViejo = "lanzador 1.00";
const QString kNavegador = QStringLiteral("/usr/bin/navegador");
const QString kWeb = QStringLiteral("https://www.pellmark.example/");

struct Carpeta {
    QTemporaryDir dir;
    comun::EntornoGrabado e = comun::CrearEntornoGrabado(dir.path());
    QString Ruta(const QString& nombre) const { return QDir(dir.path()).filePath(nombre); }
    QString Ini() const { return Ruta("Vemora.INI"); }

    Carpeta() {
        Escribir(Ruta("Vemora.exe"), "host");
        Escribir(Ruta(kInstalador), kNuevo);
        Escribir(Ruta(kLanzador), kViejo);
    }
    std::unique_ptr<FrmMain> Formulario() {
        auto frm = std::make_unique<FrmMain>(e.entorno, Ruta(kInstalador));
        e.escritorio->navegador = kNavegador;
        return frm;
    }
    QStringList Visibles() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
};
} // namespace

class TstActualizarEntradas : public QObject {
    Q_OBJECT
private slots:
    void init() { prueba::FallarConAvisos(); }
    void ajustesDanados_data();
    void ajustesDanados();
    void direccionesWeb();
    void ajustesQueNoSePuedenEscribir();
    void bloqueosDejadosPorProgramasMuertos();
};

void TstActualizarEntradas::ajustesDanados_data() {
    QTest::addColumn<QByteArray>("antes");
    QTest::addColumn<bool>("instala");
    QTest::addColumn<QStringList>("direcciones"); // pages 0 to 2; the rest are the web site
    QTest::addColumn<QByteArray>("despues");      // the whole file when the program has ended

    const QByteArray basura = Basura(11, 4000) + "\r\n" + QByteArray("\0\xff\r", 3) +
                              "[Actualizaciones]\r\nBrivolar=Ver 1.8\r\n[BWeb]\r\n"
                              "0=https://a.example/\r\n" +
                              Basura(12, 300);
    // The launcher of this version writes nothing of its own: the file stays as it was.
    QTest::newRow("basura binaria")
        << basura << false << QStringList{"https://a.example/", kWeb, kWeb} << basura;
    const QByteArray bom = "\xEF\xBB\xBF[Actualizaciones]\rBrivolar=Ver 1.8\r[BWeb]\r1=\"https://"
                           "b.example/\"\r";
    QTest::newRow("marca UTF-8 y solo CR")
        << bom << false << QStringList{kWeb, "https://b.example/", kWeb} << bom;
    const QByteArray mezcla = "[bweb]\n2=https://c.example/\r\n[ACTUALIZACIONES]\n\rbrivolar = "
                              "Ver 1.8\r[BWeb]\r\n0=https://no.example/\n";
    QTest::newRow("finales mezclados")
        << mezcla << false << QStringList{kWeb, kWeb, "https://c.example/"} << mezcla;
    const QByteArray largo = "https://d.example/" + QByteArray(10000, 'p');
    const QByteArray conLargo = "[Actualizaciones]\r\nBrivolar=Ver 1.8\r\n[BWeb]\r\n0=" + largo +
                                "\r\n1=" + QByteArray(10000, ' ') + "\r\n";
    QTest::newRow("valores de 10.000 caracteres")
        << conLargo << false << QStringList{QString::fromLatin1(largo.left(99)), "", kWeb}
        << conLargo;
    // The first section of a name decides: the mark in the second one is not seen, so
    // the installation runs and records its mark in the first.
    QTest::newRow("secciones repetidas")
        << QByteArray("[Actualizaciones]\r\nBrivolar=Ver 1.0\r\nbrivolar=Ver 1.8\r\n"
                      "[Actualizaciones]\r\nBrivolar=Ver 1.8\r\n")
        << true << QStringList{kWeb, kWeb, kWeb}
        << QByteArray("[Actualizaciones]\r\nBrivolar=Ver 1.8\r\nbrivolar=Ver 1.8\r\n"
                      "[Actualizaciones]\r\nBrivolar=Ver 1.8\r\n");
    QTest::newRow("claves sin igual")
        << QByteArray("[Actualizaciones]\r\nBrivolar\r\nVer 1.8\r\n[Otra]\r\nA=1\r\n") << true
        << QStringList{kWeb, kWeb, kWeb}
        << QByteArray("[Actualizaciones]\r\nBrivolar\r\nVer 1.8\r\nBrivolar=Ver 1.8\r\n[Otra]\r\n"
                      "A=1\r\n");
}

void TstActualizarEntradas::ajustesDanados() {
    QFETCH(QByteArray, antes);
    QFETCH(bool, instala);
    QFETCH(QStringList, direcciones);
    QFETCH(QByteArray, despues);
    Carpeta c;
    Escribir(c.Ini(), antes);
    auto frm = c.Formulario();
    bool escritoAntes = false;
    c.e.dialogos->alMostrar = [&](const comun::Mensaje&) {
        escritoAntes |= Leer(c.Ini()) != antes;
    };
    QCOMPARE(frm->Form_Load(), !instala);
    QVERIFY(!escritoAntes);
    QCOMPARE(frm->Direcciones.mid(0, 3), direcciones);
    QCOMPARE(frm->Direcciones.size(), 7);
    QCOMPARE(frm->Direcciones[6], kWeb);
    QCOMPARE(Leer(c.Ruta(kLanzador)), instala ? kNuevo : kViejo);
    if (!instala) {
        frm->TmrEliminar_Timer();
        frm->mnuSalir->trigger();
        QVERIFY(frm->Terminado());
    }
    QCOMPARE(Leer(c.Ini()), despues);
}

void TstActualizarEntradas::direccionesWeb() {
    Carpeta c;
    Escribir(c.Ini(), "[Actualizaciones]\r\nBrivolar=Ver 1.8\r\n[BWeb]\r\n0=\r\n"
                      "1=\x01\x02 basura <>\r\n2=https://e.example/" +
                          QByteArray(10000, 'q') +
                          "\r\n3=--new-window\r\n4=www.pellmark.example/novedades\r\n"
                          "5=file:///etc/passwd\r\n6=javascript:alert(1)\r\n");
    auto frm = c.Formulario();
    QVERIFY(frm->Form_Load());
    frm->mnuBWeb->trigger();
    // Only web addresses reach the browser, each as its one argument; one message,
    // once they are started, names the pages that were left out.
    QTRY_COMPARE(c.e.dialogos->mensajes.size(), 1);
    QStringList abiertas;
    for (const auto& l : c.e.shell->llamadas) {
        QCOMPARE(l.archivo, kNavegador);
        QCOMPARE(l.parametros.size(), 1);
        abiertas << l.parametros[0];
    }
    QCOMPARE(abiertas, QStringList({"https://e.example/" + QString(81, 'q'),
                                    "http://www.pellmark.example/novedades"}));
    QCOMPARE(c.e.dialogos->mensajes.size(), 1);
    QCOMPARE(c.e.dialogos->mensajes[0].tipo, comun::TipoMensaje::Critico);
    QCOMPARE(c.e.dialogos->mensajes[0].titulo, QString("Error. Consulte la ayuda."));
    QCOMPARE(c.e.dialogos->mensajes[0].texto, kTextoPaginasInvalidas.arg("0, 1, 3, 5, 6"));

    // Switched off, a bad address is not opened and not complained about.
    comun::EscribirPerfil(c.Ini(), "BWeb", "Abrir1", "0");
    comun::EscribirPerfil(c.Ini(), "BWeb", "Abrir0", "no");
    frm->mnuBWeb->trigger();
    QTRY_COMPARE(c.e.dialogos->mensajes.size(), 2);
    QCOMPARE(c.e.dialogos->mensajes[1].texto, kTextoPaginasInvalidas.arg("3, 5, 6"));
}

void TstActualizarEntradas::ajustesQueNoSePuedenEscribir() {
    const QString texto = "No se puede actualizar el complemento «Brivolar» porque no se puede\r"
                          "escribir en el archivo de configuración Vemora.INI. Compruebe que no "
                          "es\rde solo lectura y que es un archivo, y vuelva a intentarlo.";
    for (const QString tipo : {"solo lectura", "carpeta", "tuberia", "dispositivo"}) {
        // The version could not be recorded after the launcher is replaced: the user
        // would be left with a new launcher that takes itself for the installer. So
        // nothing is touched and the user is told what is wrong; nothing waits on a pipe.
        Carpeta c;
        const QByteArray antes = "[Brivolar]\r\nNoctavo=No\r\n";
        const bool carpeta = tipo == "carpeta";
        if (carpeta) {
            QVERIFY(QDir().mkpath(c.Ini()));
        } else if (tipo == "tuberia") {
            QVERIFY(::mkfifo(QFile::encodeName(c.Ini()).constData(), 0600) == 0);
        } else if (tipo == "dispositivo") {
            QVERIFY(QFile::link("/dev/zero", c.Ini()));
        } else {
            Escribir(c.Ini(), antes);
            QVERIFY(QFile::setPermissions(c.Ini(), QFile::ReadOwner | QFile::ReadGroup));
        }
        const QStringList archivos = c.Visibles();
        QVERIFY(!c.Formulario()->Form_Load());
        QCOMPARE(c.e.dialogos->mensajes.size(), 2); // the warning, then what is wrong
        QCOMPARE(c.e.dialogos->mensajes[1].tipo, comun::TipoMensaje::Critico);
        QCOMPARE(c.e.dialogos->mensajes[1].titulo, kTituloNoSePuede);
        QCOMPARE(c.e.dialogos->mensajes[1].texto, texto);
        QCOMPARE(Leer(c.Ruta(kLanzador)), kViejo);
        QVERIFY(c.e.shell->llamadas.isEmpty());
        QCOMPARE(c.Visibles(), archivos);
        if (carpeta)
            QVERIFY(QFileInfo(c.Ini()).isDir());
        else if (tipo == "dispositivo")
            QCOMPARE(QFileInfo(c.Ini()).symLinkTarget(), QString("/dev/zero"));
        else if (tipo == "solo lectura")
            QCOMPARE(Leer(c.Ini()), antes);
    }
}

void TstActualizarEntradas::bloqueosDejadosPorProgramasMuertos() {
    // Programs killed while they took their lock leave its file empty. Neither the
    // bar's nor the installer's own leftover may count as a running program.
    Carpeta c;
    const QDir bloqueos(c.e.entorno.carpetaBloqueos);
    Escribir(bloqueos.filePath(kLanzador + ".lock"), "");
    Escribir(bloqueos.filePath(kInstalador + ".lock"), "");
    QVERIFY(!c.Formulario()->Form_Load());
    QCOMPARE(c.e.dialogos->mensajes.size(), 1); // the warning only
    QCOMPARE(Leer(c.Ruta(kLanzador)), kNuevo);
    QVERIFY(QFile::exists(bloqueos.filePath(kLanzador + ".lock")));
    // A bar that really runs still stops the installation.
    Escribir(c.Ini(), "");
    comun::GuardiaInicio barra;
    QVERIFY(barra.TomarInstancia(c.e.entorno, kLanzador));
    Escribir(c.Ruta(kLanzador), kViejo);
    QVERIFY(!c.Formulario()->Form_Load());
    QCOMPARE(c.e.dialogos->mensajes.size(), 3);
    QCOMPARE(c.e.dialogos->mensajes[2].titulo, kTituloNoSePuede);
    QCOMPARE(Leer(c.Ruta(kLanzador)), kViejo);
}

QTEST_MAIN(TstActualizarEntradas)
#include "tst_actualizar_entradas.moc"
