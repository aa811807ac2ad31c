#include "Archivos.h"
#include "FrmMain.h"
#include "FrmSelec.h"
#include "GestosBandeja.h"
#include "Grabadoras.h"
#include "IconoBandeja.h"
#include "Instalacion.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace updater;

using prueba::Escribir;
using prueba::Leer;

namespace {
const QByteArray kNuevo = QByteArray("lanzador 1.8\0\x01\xff", 15).repeated(9000);
const QByteArray kViejo = "lanzador 1.00";
const QString kNavegador = QStringLiteral("/opt/navegador/bin/navegador");
const QString kWeb = QStringLiteral("https://www.pellmark.example/");
const QByteArray kVersion18 = "[Actualizaciones]\r\nBrivolar=Ver 1.8\r\n";

// The user's texts written out again, so a slip in the program's copy shows here.
const QString kSinLanzador =
    "Descargue primero los complementos de la vemora.|No se puede actualizar el complemento "
    "«Brivolar» de la Vemora\rporque no existe. Lea en la ayuda cómo descargarlo "
    "gratuitamente\ry vuelva a brivolar este programa de actualización.";
const QString kAviso =
    "ANTES DE ACTUALIZAR ESTE COMPLEMENTO. MUY IMPORTANTE...|Compruebe que no está abierta la "
    "verión anterior del complemento «Brivolar».\rSi está abierta ciérrela antes de proceder a "
    "la actualización. Para saber\rsi está abierta busque el icono de este programa al lado del "
    "reloj de\rgüindous en la barra de tareas («SysTray».)";
const QString kNoSePuede =
    "No se puede actualizar el complemento.|No se puede actualizar el complemento «Brivolar». "
    "La versión\ranterior del mismo está abierta. Ciérrela y vuelva a intentarlo.";

// An application folder with the host, the old launcher and a file standing for this
// program's own executable ("Actualizar Brivolar.exe").
struct Carpeta {
    QTemporaryDir dir;
    comun::EntornoGrabado e = comun::CrearEntornoGrabado(dir.path());
    QString Ruta(const QString& nombre) const { return QDir(dir.path()).filePath(nombre); }
    QString Sep() const { return comun::ObtenerRutaPrograma(dir.path()); }
    QString Ini() const { return Ruta("Vemora.INI"); }

    explicit Carpeta(const QByteArray& ini = {}) {
        Escribir(Ruta("Vemora.exe"), "host");
        Escribir(Ruta(kInstalador), kNuevo);
        Escribir(Ruta(kLanzador), kViejo);
        if (!ini.isEmpty())
            Escribir(Ini(), ini);
    }
    std::unique_ptr<FrmMain> Formulario(const QString& ejecutable = kInstalador,
                                        bool navegador = true) {
        auto frm = std::make_unique<FrmMain>(e.entorno, Ruta(ejecutable));
        e.escritorio->navegador = navegador ? kNavegador : QString();
        return frm;
    }
    // Each message as "title|text", critical ones marked with "!".
    QStringList Mensajes() const {
        QStringList r;
        for (const auto& m : e.dialogos->mensajes)
            r << (m.tipo == comun::TipoMensaje::Critico ? "!" : "") + m.titulo + "|" + m.texto;
        return r;
    }
    QStringList Abiertos() const {
        QStringList r;
        for (const auto& l : e.shell->llamadas)
            r << (l.parametros.isEmpty() ? l.archivo : l.archivo + " " + l.parametros.join(' '));
        return r;
    }
    int Archivos() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(); }
};
} // namespace

class TstActualizar : public QObject {
    Q_OBJECT
private slots:
    void init() { prueba::FallarConAvisos(); }
    void instalacionRechazada_data();
    void instalacionRechazada();
    void instalacion_data();
    void instalacion();
    void limpiezaDelInstalador();
    void menuLanzaYLocalizaPorFila();
    void botonWebPaginaAPagina();
    void menuYBandeja();
};

void TstActualizar::instalacionRechazada_data() {
    QTest::addColumn<QString>("ejecutable");
    QTest::addColumn<bool>("conLanzador");
    QTest::addColumn<bool>("barraAbierta");
    QTest::addColumn<QStringList>("mensajes");
    QTest::newRow("sin lanzador") << kInstalador << false << false
                                  << QStringList{"!" + kSinLanzador};
    // The old bar holds its instance lock: its file could be replaced under it here,
    // so the lock is what says it is open.
    QTest::newRow("barra abierta")
        << kInstalador << true << true << QStringList{kAviso, "!" + kNoSePuede};
    // A source that cannot be read: the copy fails and nothing may be lost.
    QTest::newRow("copia fallida")
        << "Falta.exe" << true << false << QStringList{kAviso, "!" + kNoSePuede};
}

void TstActualizar::instalacionRechazada() {
    QFETCH(QString, ejecutable);
    QFETCH(bool, conLanzador);
    QFETCH(bool, barraAbierta);
    QFETCH(QStringList, mensajes);
    Carpeta c;
    if (!conLanzador)
        QFile::remove(c.Ruta(kLanzador));
    comun::GuardiaInicio barra;
    if (barraAbierta)
        QVERIFY(barra.TomarInstancia(c.e.entorno, kLanzador));
    const QByteArray antes = Leer(c.Ruta(kLanzador));
    const int archivos = c.Archivos();
    QVERIFY(!c.Formulario(ejecutable)->Form_Load());
    QCOMPARE(c.Mensajes(), mensajes);
    QCOMPARE(c.Abiertos(),
             conLanzador ? QStringList() : QStringList{c.Sep() + "Ayuda/Brivolar.htm"});
    QCOMPARE(Leer(c.Ruta(kLanzador)), antes);
    QCOMPARE(c.Archivos(), archivos); // no settings file, no temporary left
}

void TstActualizar::instalacion_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("ejecutable");
    QTest::addColumn<bool>("instala");
    QTest::newRow("sin ajustes") << QByteArray() << kInstalador << true;
    QTest::newRow("version vieja")
        << QByteArray("[Actualizaciones]\r\nBrivolar=Ver 1.00\r\n") << kInstalador << true;
    QTest::newRow("otra caja") << QByteArray("[actualizaciones]\r\nbrivolar=ver 1.8\r\n")
                               << kInstalador << true;
    QTest::newRow("otro nombre") << QByteArray() << "Copia de actualizar.exe" << true;
    QTest::newRow("ya instalada") << QByteArray("[ACTUALIZACIONES]\r\nBRIVOLAR= Ver 1.8 \r\n")
                                  << kLanzador << false;
    // The installed launcher whose mark was lost or is another version's: nothing to
    // install, it records its mark and runs.
    QTest::newRow("lanzador sin ajustes") << QByteArray() << kLanzador << false;
    QTest::newRow("lanzador sin marca")
        << QByteArray("[Actualizaciones]\r\n[BWeb]\r\n0=https://a.example/\r\n") << kLanzador
        << false;
    QTest::newRow("lanzador de otra version")
        << QByteArray("[Actualizaciones]\r\nBrivolar=Ver 1.7\r\n") << kLanzador << false;
}

void TstActualizar::instalacion() {
    QFETCH(QByteArray, ini);
    QFETCH(QString, ejecutable);
    QFETCH(bool, instala);
    Carpeta c(ini);
    const QByteArray propio = kNuevo + ejecutable.toUtf8();
    Escribir(c.Ruta(ejecutable), propio);
    // While the warning is on screen nothing has been touched yet.
    c.e.dialogos->alMostrar = [&](const comun::Mensaje&) {
        QCOMPARE(Leer(c.Ruta(kLanzador)), kViejo);
    };
    auto frm = c.Formulario(ejecutable);
    QCOMPARE(frm->Form_Load(), !instala); // the installer ends after starting the new launcher
    QCOMPARE(frm->TmrEliminar->isActive(), !instala);
    QCOMPARE(Leer(c.Ruta(kLanzador)), propio);
    QCOMPARE(comun::LeerPerfil(c.Ini(), "Actualizaciones", "Brivolar", "", 100),
             QString("Ver 1.8"));
    if (!instala) {
        QVERIFY(c.Mensajes().isEmpty());
        QVERIFY(c.Abiertos().isEmpty());
        QCOMPARE(frm->TmrEliminar->interval(), 3000);
        QVERIFY(frm->TmrEliminar->isSingleShot());
        QVERIFY(frm->VentanaSinBandeja->isVisible());
        return;
    }
    QCOMPARE(c.Mensajes(), QStringList{kAviso});
    QVERIFY(QFileInfo(c.Ruta(kLanzador)).isExecutable());
    QCOMPARE(c.Abiertos(), QStringList{c.Sep() + kLanzador});
    QCOMPARE(c.e.shell->llamadas[0].operacion, QString("open"));
    QVERIFY(c.e.shell->llamadas[0].accion == comun::AccionShell::Iniciar);
    QVERIFY(
        !QDir(c.dir.path()).entryList(QDir::Hidden | QDir::Files).join(' ').contains(".Brivolar"));
}

void TstActualizar::limpiezaDelInstalador() {
    {
        // The new launcher removes the leftover installer silently and goes on; with
        // nothing left to remove it shows nothing either.
        Carpeta c(kVersion18);
        // A settings write killed in an earlier run: removed at start, as every program
        // of the suite does.
        Escribir(c.Ruta(".Vemora.INI.~tmpAbC123"), "x");
        auto frm = c.Formulario(kLanzador);
        QVERIFY(frm->Form_Load());
        QVERIFY(!QFile::exists(c.Ruta(".Vemora.INI.~tmpAbC123")));
        frm->TmrEliminar_Timer();
        QVERIFY(!QFile::exists(c.Ruta(kInstalador)));
        QVERIFY(!frm->TmrEliminar->isActive());
        frm->TmrEliminar_Timer();
        QVERIFY(c.Mensajes().isEmpty());
        QVERIFY(!frm->Terminado());
    }
    // The installer started again after the update is the running program: it stays,
    // says the update is done and ends.
    Carpeta c(kVersion18);
    auto frm = c.Formulario(kInstalador);
    QSignalSpy fin(frm.get(), &FrmMain::ProgramaTerminado);
    QVERIFY(frm->Form_Load());
    frm->TmrEliminar_Timer();
    QVERIFY(QFile::exists(c.Ruta(kInstalador)));
    QCOMPARE(c.Mensajes(), QStringList{"Resultado de la última actualización.|Ya se actualizó "
                                       "correctamente el complemento Brivolar."});
    QCOMPARE(fin.count(), 1);
    QVERIFY(!frm->VentanaSinBandeja->isVisible());
}

void TstActualizar::menuLanzaYLocalizaPorFila() {
    Carpeta c;
    const QString programas = c.Ruta("Programas") + "/";
    Escribir(programas + "Resguax.exe", "r"); // the bar's spelling of "ResguaX.exe"
    Escribir(programas + "Noctavo.exe", "n");
    Escribir(c.Ini(), kVersion18 + ("[Brivolar]\r\nNoctavo=" + programas + "\r\nResguax=" +
                                    programas + "\r\nProbex=" + programas + "\r\nCerrox=No\r\n")
                                       .toUtf8());
    auto frm = c.Formulario();
    QVERIFY(frm->Form_Load());
    QStringList localizador;
    frm->Lanzador().mostrarLocalizador = [&](launcher::FrmSelec& d) {
        localizador << d.LblNombrePrg->text() + "/" + d.Fila().clave + "/" + d.DireccionAyuda();
    };
    for (int i : {0, 6, 10, 7, 8, 9})
        frm->mnuBrivolar[i]->trigger();
    for (int i : {9, 0})
        frm->mnuSelec[i]->trigger(); // whatever is stored
    frm->mnuAyuda->trigger();
    frm->mnuWeb->trigger();
    QCOMPARE(c.Abiertos(), QStringList({programas + "Noctavo.exe", programas + "Resguax.exe",
                                        c.Sep() + "Vemora.exe", programas + "Probex.exe",
                                        c.Sep() + "Ayuda/Brivolar.htm", kWeb}));
    QCOMPARE(localizador, QStringList({"CANTRIX/Cantrix/" + kWeb, "CERROX/Cerrox/" + kWeb,
                                       "PROBEX.../Probex/" + kWeb, "NOCTAVO/Noctavo/" + kWeb}));
}

void TstActualizar::botonWebPaginaAPagina() {
    Carpeta c(kVersion18);
    auto frm = c.Formulario();
    QVERIFY(frm->Form_Load());
    frm->mnuBWeb->trigger();
    // A page is started once the start of the one before has not failed.
    QCOMPARE(c.Abiertos(), QStringList{kNavegador + " " + kWeb});
    QTRY_COMPARE(c.Abiertos(), QStringList(7, kNavegador + " " + kWeb));
    QVERIFY(c.e.shell->llamadas[6].accion == comun::AccionShell::Iniciar);
    QVERIFY(c.Mensajes().isEmpty());

    Carpeta d(kVersion18 + "[BWeb]\r\n0=https://a.example/?x=1&y=2\r\n2=https://c.example/ dos\r\n"
                           "4=--remote-debugging-port=1\r\nAbrir3=0\r\nAbrir5=Si\r\n");
    auto frmD = d.Formulario();
    QVERIFY(frmD->Form_Load());
    // The addresses are read once; the switches on every choice.
    comun::EscribirPerfil(d.Ini(), "BWeb", "1", "https://cambiada.example/");
    frmD->mnuBWeb->trigger();
    QTRY_COMPARE(d.e.shell->llamadas.size(), 4);
    comun::EscribirPerfil(d.Ini(), "BWeb", "Abrir0", "0");
    comun::EscribirPerfil(d.Ini(), "BWeb", "Abrir3", "1");
    frmD->mnuBWeb->trigger();
    QTRY_COMPARE(d.e.shell->llamadas.size(), 8);
    QStringList paginas;
    for (const auto& l : d.e.shell->llamadas)
        paginas << l.parametros; // one argument each, the address untouched
    QCOMPARE(paginas, QStringList({"https://a.example/?x=1&y=2", kWeb, "https://c.example/ dos",
                                   kWeb, kWeb, "https://c.example/ dos", kWeb, kWeb}));

    // A launcher that ends in failure has no browser behind it: the pages left are not
    // started and the user is told. The next choice tries again.
    const QString sinNavegador =
        "!Error. Consulte la ayuda.|No se encontró el navegador\rpara abrir las páginas...";
    Carpeta f(kVersion18);
    auto frmF = f.Formulario();
    QVERIFY(frmF->Form_Load());
    f.e.shell->respuestas = {true, false};
    frmF->mnuBWeb->trigger();
    QTRY_COMPARE(f.Mensajes(), QStringList{sinNavegador});
    QCOMPARE(f.Abiertos(), QStringList(2, kNavegador + " " + kWeb));
    frmF->mnuBWeb->trigger();
    QTRY_COMPARE(f.Abiertos(), QStringList(9, kNavegador + " " + kWeb));
    QCOMPARE(f.Mensajes(), QStringList{sinNavegador});

    Carpeta e(kVersion18);
    auto frmE = e.Formulario(kInstalador, false);
    QVERIFY(frmE->Form_Load());
    frmE->mnuBWeb->trigger();
    frmE->mnuWeb->trigger(); // the other commands still work
    QCOMPARE(e.Mensajes(), QStringList{sinNavegador});
    QCOMPARE(e.Abiertos(), QStringList{kWeb});
}

void TstActualizar::menuYBandeja() {
    Carpeta c(kVersion18);
    auto frm = c.Formulario();
    QVERIFY(frm->Form_Load());
    const auto elementos = frm->mnuMenu->actions();
    QStringList titulos;
    for (int i = 0; i < elementos.size(); ++i) {
        titulos << (elementos[i]->isSeparator() ? "-" : elementos[i]->text());
        QCOMPARE(elementos[i]->icon().isNull(), i == 1 || i == 2 || i == 14);
    }
    QCOMPARE(titulos, QString("Mostrar AYUDA,Selec. carpeta,-,Noctavo,Poemarex,Custodex,Numerax,"
                              "Apuntex,Tempux,Resguax,Cantrix,Cerrox,Probex,Vemora,-,Botón Web,"
                              "www.pellmark.example,SALIR")
                          .split(','));
    const auto carpetas = frm->mnuCarpetas->actions();
    QCOMPARE(carpetas.size(), 10);
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(carpetas[i]->text(), elementos[i + 3]->text());
        QCOMPARE(carpetas[i]->icon().cacheKey(), frm->ImgIco[i + 3].cacheKey());
    }
    QVERIFY(frm->ImgIco[16].pixmap(16, 16).toImage().pixelColor(8, 8).alpha() > 0); // drawn
    QVERIFY(!frm->isVisible());
    QVERIFY(!frm->Icono); // no notification area: the window instead of the icon
    QVERIFY(frm->VentanaSinBandeja->isVisible());
    QVERIFY(frm->VentanaSinBandeja->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(frm->VentanaSinBandeja->CmdMenu->menu(), frm->mnuMenu);
    // A right click opens the menu at once, a left one after the double-click time.
    frm->Icono_Activated(QSystemTrayIcon::Context);
    QVERIFY(frm->mnuMenu->isVisible());
    frm->mnuMenu->hide();
    frm->Icono_Activated(QSystemTrayIcon::Trigger);
    QVERIFY(!frm->mnuMenu->isVisible());
    frm->Gestos->TmrDobleClic_Timer();
    QVERIFY(frm->mnuMenu->isVisible());
    frm->mnuMenu->hide();
    frm->Icono_Activated(QSystemTrayIcon::MiddleClick);
    QVERIFY(!frm->mnuMenu->isVisible() && !frm->Terminado());
    {
        QDialog localizador; // the icon waits while a modal window is open
        localizador.setModal(true);
        localizador.show();
        frm->Icono_Activated(QSystemTrayIcon::DoubleClick);
        QVERIFY(!frm->Terminado() && !frm->mnuMenu->isVisible());
    }
    frm->Icono_Activated(QSystemTrayIcon::Trigger);
    frm->Icono_Activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(frm->Terminado() && !frm->Gestos->TmrDobleClic->isActive());

    // Closing the window of a desktop without tray ends the program too.
    frm.reset();
    auto otro = c.Formulario();
    QVERIFY(otro->Form_Load());
    otro->VentanaSinBandeja->close();
    QVERIFY(otro->Terminado());

    // With a notification area: the icon with its tip and the program's picture, no
    // window; the end removes the icon.
    otro.reset();
    auto conBandeja = c.Formulario();
    c.e.escritorio->bandeja = true;
    QVERIFY(conBandeja->Form_Load());
    QVERIFY(conBandeja->Icono && conBandeja->Icono->Visible());
    QCOMPARE(conBandeja->Icono->Tip(), QString("Pellmark. Brivolar programas..."));
    QCOMPARE(conBandeja->Icono->Icono().cacheKey(), conBandeja->windowIcon().cacheKey());
    QVERIFY(!conBandeja->VentanaSinBandeja && !conBandeja->isVisible());
    conBandeja->mnuSalir->trigger();
    QVERIFY(conBandeja->Terminado() && !conBandeja->Icono->Visible());
    QVERIFY(c.Mensajes().isEmpty());
}

QTEST_MAIN(TstActualizar)
#include "tst_actualizar.moc"
