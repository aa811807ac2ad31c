#include "FrmMain.h"
#include "FrmSelec.h"
#include "Instalacion.h"
#include "Tabla.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace updater;
using comun::TipoMensaje;

namespace {
const QByteArray kBytesNuevo = QByteArray("lanzador 1.8\0\x01\x02\xff", 16).repeated(5000);
const QByteArray kBytesViejo = "lanzador 1.00";
const QString kNavegador = QStringLiteral("/opt/navegador/bin/navegador");

QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
void Escribir(const QString& ruta, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(ruta).absolutePath());
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// An application folder with the host, a running "Actualizar Brivolar.exe" (a fake
// file standing for this program's own executable) and, when asked, an old launcher.
struct Carpeta {
    QTemporaryDir dir;
    comun::EntornoGrabado e = comun::CrearEntornoGrabado(dir.path());
    QString Ruta(const QString& nombre) const { return QDir(dir.path()).filePath(nombre); }
    QString Ini() const { return Ruta(QStringLiteral("Vemora.INI")); }
    QString Sep() const { return comun::ObtenerRutaPrograma(dir.path()); }

    explicit Carpeta(bool conLanzador = true) {
        Escribir(Ruta(QStringLiteral("Vemora.exe")), "host");
        Escribir(Ruta(kInstalador), kBytesNuevo);
        if (conLanzador)
            Escribir(Ruta(kLanzador), kBytesViejo);
    }
    void PonerIni(const QByteArray& texto) { Escribir(Ini(), texto); }
    std::unique_ptr<FrmMain> Formulario(const QString& ejecutable = kInstalador,
                                        bool conNavegador = true) {
        auto frm = std::make_unique<FrmMain>(e.entorno, Ruta(ejecutable));
        frm->descubrirNavegador = [conNavegador] {
            return conNavegador ? Navegador{kNavegador, false} : Navegador{};
        };
        frm->hayBandeja = [] { return false; };
        return frm;
    }
    QStringList Sobrantes() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};
} // namespace

class TstActualizar : public QObject {
    Q_OBJECT
private slots:
    void sinLanzadorMuestraAyudaYNoCambiaNada();
    void lanzadorAbiertoNoSeToca();
    void copiaFallidaConservaElLanzador();
    void instalacionNormal();
    void marcaDeVersionExacta_data();
    void marcaDeVersionExacta();
    void limpiezaDelInstalador();
    void menuConSusDibujos();
    void menuLanzaYLocalizaPorFila();
    void botonWebAbrePaginaAPagina();
    void iconoYVentanaSinBandeja();
};

void TstActualizar::sinLanzadorMuestraAyudaYNoCambiaNada() {
    Carpeta c(false);
    auto frm = c.Formulario();
    QVERIFY(!frm->Form_Load());
    QCOMPARE(c.e.dialogos->mensajes.size(), 1);
    const auto& m = c.e.dialogos->mensajes[0];
    QCOMPARE(m.tipo, TipoMensaje::Critico);
    QCOMPARE(m.titulo, QStringLiteral("Descargue primero los complementos de la vemora."));
    QCOMPARE(m.texto, QStringLiteral("No se puede actualizar el complemento «Brivolar» de la "
                                     "Vemora\rporque no existe. Lea en la ayuda cómo descargarlo "
                                     "gratuitamente\ry vuelva a brivolar este programa de "
                                     "actualización."));
    QCOMPARE(c.e.shell->llamadas.size(), 1);
    QCOMPARE(c.e.shell->llamadas[0].archivo, c.Sep() + QStringLiteral("Ayuda/Brivolar.htm"));
    QVERIFY(!QFile::exists(c.Ruta(kLanzador)));
    QVERIFY(!QFile::exists(c.Ini()));
}

void TstActualizar::lanzadorAbiertoNoSeToca() {
    const QString titulo = QStringLiteral("No se puede actualizar el complemento.");
    const QString texto = QStringLiteral("No se puede actualizar el complemento «Brivolar». La "
                                         "versión\ranterior del mismo está abierta. Ciérrela y "
                                         "vuelva a intentarlo.");
    {
        // The old bar holds its instance lock: on this system its file could be
        // replaced under it, so the lock is what says it is open.
        Carpeta c;
        comun::GuardiaInicio barra;
        QVERIFY(barra.TomarInstancia(c.e.entorno, kLanzador));
        auto frm = c.Formulario();
        QVERIFY(!frm->Form_Load());
        QCOMPARE(c.e.dialogos->mensajes.size(), 2);
        QCOMPARE(c.e.dialogos->mensajes[0].tipo, TipoMensaje::Informacion);
        QCOMPARE(c.e.dialogos->mensajes[0].titulo,
                 QStringLiteral("ANTES DE ACTUALIZAR ESTE COMPLEMENTO. MUY IMPORTANTE..."));
        QCOMPARE(c.e.dialogos->mensajes[0].texto,
                 QStringLiteral("Compruebe que no está abierta la verión anterior del "
                                "complemento «Brivolar».\rSi está abierta ciérrela antes de "
                                "proceder a la actualización. Para saber\rsi está abierta "
                                "busque el icono de este programa al lado del reloj de\rgüindous "
                                "en la barra de tareas («SysTray».)"));
        QCOMPARE(c.e.dialogos->mensajes[1].tipo, TipoMensaje::Critico);
        QCOMPARE(c.e.dialogos->mensajes[1].titulo, titulo);
        QCOMPARE(c.e.dialogos->mensajes[1].texto, texto);
        QCOMPARE(Leer(c.Ruta(kLanzador)), kBytesViejo);
        QVERIFY(!QFile::exists(c.Ini()));
        QVERIFY(c.e.shell->llamadas.isEmpty());
    }
    {
        // The installed launcher itself, with its version mark gone, is the open one.
        Carpeta c;
        Escribir(c.Ruta(kLanzador), kBytesNuevo);
        auto frm = c.Formulario(kLanzador);
        QVERIFY(!frm->Form_Load());
        QCOMPARE(c.e.dialogos->mensajes.size(), 2);
        QCOMPARE(c.e.dialogos->mensajes[1].titulo, titulo);
        QCOMPARE(Leer(c.Ruta(kLanzador)), kBytesNuevo);
        QVERIFY(c.e.shell->llamadas.isEmpty());
    }
}

void TstActualizar::copiaFallidaConservaElLanzador() {
    Carpeta c;
    // The source cannot be read: nothing may be lost on the way.
    auto frm = c.Formulario(QStringLiteral("No existe.exe"));
    QVERIFY(!frm->Form_Load());
    QCOMPARE(c.e.dialogos->mensajes.size(), 2);
    QCOMPARE(c.e.dialogos->mensajes[1].titulo, kTituloNoSePuede);
    QCOMPARE(Leer(c.Ruta(kLanzador)), kBytesViejo);
    QVERIFY(!QFile::exists(c.Ini()));
    QVERIFY(c.e.shell->llamadas.isEmpty());
    QCOMPARE(c.Sobrantes().size(), 3); // host, installer, old launcher: no temporary left
}

void TstActualizar::instalacionNormal() {
    Carpeta c;
    c.PonerIni("[Actualizaciones]\r\nBrivolar=Ver 1.00\r\n");
    // While the warning is on screen nothing has been touched yet.
    c.e.dialogos->alMostrar = [&](const comun::Mensaje&) {
        QCOMPARE(Leer(c.Ruta(kLanzador)), kBytesViejo);
    };
    auto frm = c.Formulario();
    QVERIFY(!frm->Form_Load()); // the installer ends after starting the new launcher
    QCOMPARE(c.e.dialogos->mensajes.size(), 1);
    QCOMPARE(c.e.dialogos->mensajes[0].titulo, kTituloAviso);
    QCOMPARE(Leer(c.Ruta(kLanzador)), kBytesNuevo);
    QVERIFY(QFileInfo(c.Ruta(kLanzador)).isExecutable());
    QCOMPARE(comun::LeerPerfil(c.Ini(), "Actualizaciones", "Brivolar", "", 100),
             QStringLiteral("Ver 1.8"));
    QCOMPARE(c.e.shell->llamadas.size(), 1);
    QCOMPARE(c.e.shell->llamadas[0].operacion, QStringLiteral("open"));
    QCOMPARE(c.e.shell->llamadas[0].archivo, c.Sep() + kLanzador);
    QVERIFY(c.e.shell->llamadas[0].parametros.isEmpty());
    QVERIFY(!frm->TmrEliminar->isActive());
    QCOMPARE(c.Sobrantes().size(), 4); // plus Vemora.INI; no temporary left

    // An installer under another name installs its own bytes all the same.
    Carpeta otra;
    Escribir(otra.Ruta(QStringLiteral("Copia de actualizar.exe")), kBytesNuevo + "x");
    auto frm2 = otra.Formulario(QStringLiteral("Copia de actualizar.exe"));
    QVERIFY(!frm2->Form_Load());
    QCOMPARE(Leer(otra.Ruta(kLanzador)), kBytesNuevo + "x");
}

void TstActualizar::marcaDeVersionExacta_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<bool>("instala");
    QTest::newRow("sin archivo") << QByteArray() << true;
    QTest::newRow("minusculas") << QByteArray("[actualizaciones]\r\nbrivolar=ver 1.8\r\n") << true;
    QTest::newRow("mayusculas") << QByteArray("[Actualizaciones]\r\nBrivolar=VER 1.8\r\n") << true;
    QTest::newRow("exacta") << QByteArray("[ACTUALIZACIONES]\r\nBRIVOLAR= Ver 1.8 \r\n") << false;
}

void TstActualizar::marcaDeVersionExacta() {
    QFETCH(QByteArray, ini);
    QFETCH(bool, instala);
    Carpeta c;
    if (!ini.isEmpty())
        c.PonerIni(ini);
    auto frm = c.Formulario();
    QCOMPARE(frm->Form_Load(), !instala);
    QCOMPARE(Leer(c.Ruta(kLanzador)), instala ? kBytesNuevo : kBytesViejo);
    QCOMPARE(frm->TmrEliminar->isActive(), !instala);
    if (!instala) {
        QCOMPARE(frm->TmrEliminar->interval(), 3000);
        QVERIFY(frm->TmrEliminar->isSingleShot());
        QVERIFY(c.e.dialogos->mensajes.isEmpty());
    }
}

void TstActualizar::limpiezaDelInstalador() {
    const QByteArray version = "[Actualizaciones]\r\nBrivolar=Ver 1.8\r\n";
    {
        // The new launcher removes the leftover installer silently and goes on.
        Carpeta c;
        c.PonerIni(version);
        Escribir(c.Ruta(kLanzador), kBytesNuevo);
        auto frm = c.Formulario(kLanzador);
        QSignalSpy fin(frm.get(), &FrmMain::ProgramaTerminado);
        QVERIFY(frm->Form_Load());
        frm->TmrEliminar_Timer();
        QVERIFY(!QFile::exists(c.Ruta(kInstalador)));
        QVERIFY(!frm->TmrEliminar->isActive());
        QVERIFY(c.e.dialogos->mensajes.isEmpty());
        QVERIFY(!frm->Terminado());
        QCOMPARE(fin.count(), 0);
        // Nothing left to remove: nothing shown either.
        frm->TmrEliminar_Timer();
        QVERIFY(c.e.dialogos->mensajes.isEmpty());
        QVERIFY(!frm->Terminado());
    }
    {
        // The installer started again after the update: it is the running program,
        // so it stays, says the update is done and ends.
        Carpeta c;
        c.PonerIni(version);
        auto frm = c.Formulario(kInstalador);
        QSignalSpy fin(frm.get(), &FrmMain::ProgramaTerminado);
        QVERIFY(frm->Form_Load());
        frm->TmrEliminar_Timer();
        QVERIFY(QFile::exists(c.Ruta(kInstalador)));
        QCOMPARE(c.e.dialogos->mensajes.size(), 1);
        QCOMPARE(c.e.dialogos->mensajes[0].tipo, TipoMensaje::Informacion);
        QCOMPARE(c.e.dialogos->mensajes[0].titulo,
                 QStringLiteral("Resultado de la última actualización."));
        QCOMPARE(c.e.dialogos->mensajes[0].texto,
                 QStringLiteral("Ya se actualizó correctamente el complemento Brivolar."));
        QVERIFY(frm->Terminado());
        QCOMPARE(fin.count(), 1);
        QVERIFY(!frm->VentanaSinBandeja->isVisible());
    }
}

void TstActualizar::menuConSusDibujos() {
    Carpeta c;
    c.PonerIni("[Actualizaciones]\r\nBrivolar=Ver 1.8\r\n");
    auto frm = c.Formulario();
    QVERIFY(frm->Form_Load());
    const auto elementos = frm->mnuMenu->actions();
    QStringList titulos;
    for (QAction* a : elementos)
        titulos << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(titulos,
             QStringList({"Mostrar AYUDA", "Selec. carpeta", "-", "Noctavo", "Poemarex", "Custodex",
                          "Numerax", "Apuntex", "Tempux", "Resguax", "Cantrix", "Cerrox", "Probex",
                          "Vemora", "-", "Botón Web", "www.pellmark.example", "SALIR"}));
    for (int i = 0; i < elementos.size(); ++i)
        QCOMPARE(elementos[i]->icon().isNull(), i == 1 || i == 2 || i == 14);
    const auto carpetas = frm->mnuCarpetas->actions();
    QCOMPARE(carpetas.size(), 10);
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(carpetas[i]->text(), elementos[i + 3]->text());
        QVERIFY(!carpetas[i]->icon().isNull());
        QCOMPARE(carpetas[i]->icon().cacheKey(), frm->ImgIco[i + 3].cacheKey());
    }
    // The pictures are drawn, not empty placeholders.
    const QImage dibujo = frm->ImgIco[16].pixmap(16, 16).toImage();
    QVERIFY(dibujo.pixelColor(8, 8).alpha() > 0);
    QCOMPARE(frm->Direcciones, QStringList(7, QStringLiteral("https://www.pellmark.example/")));
}

void TstActualizar::menuLanzaYLocalizaPorFila() {
    Carpeta c;
    const QString programas = c.Ruta(QStringLiteral("Programas")) + QLatin1Char('/');
    Escribir(programas + QStringLiteral("Resguax.exe"), "r"); // the bar's spelling
    Escribir(programas + QStringLiteral("Noctavo.exe"), "n");
    c.PonerIni(("[Actualizaciones]\r\nBrivolar=Ver 1.8\r\n[Brivolar]\r\nNoctavo=" + programas +
                "\r\nResguax=" + programas + "\r\nProbex=" + programas + "\r\nCerrox=No\r\n")
                   .toUtf8());
    auto frm = c.Formulario();
    QVERIFY(frm->Form_Load());
    QList<launcher::FilaPrograma> localizadas;
    QStringList nombres;
    frm->Lanzador().mostrarLocalizador = [&](launcher::FrmSelec& dialogo) {
        localizadas << dialogo.Fila();
        nombres << dialogo.LblNombrePrg->text();
        QCOMPARE(dialogo.DireccionAyuda(), QStringLiteral("https://www.pellmark.example/"));
    };
    auto& llamadas = c.e.shell->llamadas;

    frm->mnuBrivolar[0]->trigger();
    QCOMPARE(llamadas.size(), 1);
    QCOMPARE(llamadas.last().archivo, programas + QStringLiteral("Noctavo.exe"));
    frm->mnuBrivolar[6]->trigger(); // "ResguaX.exe" finds the file of the other case
    QCOMPARE(llamadas.last().archivo, programas + QStringLiteral("Resguax.exe"));
    frm->mnuBrivolar[10]->trigger();
    QCOMPARE(llamadas.last().archivo, c.Sep() + QStringLiteral("Vemora.exe"));
    QCOMPARE(llamadas.size(), 3);
    QVERIFY(localizadas.isEmpty());

    // Rows without a folder ("No" or absent) open the locator instead of launching.
    frm->mnuBrivolar[7]->trigger();
    frm->mnuBrivolar[8]->trigger();
    QCOMPARE(llamadas.size(), 3);
    QCOMPARE(nombres, QStringList({"CANTRIX", "CERROX"}));
    QCOMPARE(localizadas[0].clave, QStringLiteral("Cantrix"));
    QCOMPARE(localizadas[1].clave, QStringLiteral("Cerrox"));

    // The folder menu opens the locator whatever is stored; row 9 shows "Probex...".
    frm->mnuSelec[9]->trigger();
    frm->mnuSelec[0]->trigger();
    frm->mnuSelec[6]->trigger();
    QCOMPARE(llamadas.size(), 3);
    QCOMPARE(nombres.mid(2), QStringList({"PROBEX...", "NOCTAVO", "RESGUAX"}));
    QCOMPARE(localizadas[2].clave, QStringLiteral("Probex"));
    QCOMPARE(localizadas[2].ejecutable, QStringLiteral("Probex.exe"));
    // From the launch menu the same row keeps its plain name.
    comun::EscribirPerfil(c.Ini(), "Brivolar", "Probex", "No");
    frm->mnuBrivolar[9]->trigger();
    QCOMPARE(nombres.last(), QStringLiteral("PROBEX"));

    frm->mnuAyuda->trigger();
    QCOMPARE(llamadas.last().archivo, c.Sep() + QStringLiteral("Ayuda/Brivolar.htm"));
    frm->mnuWeb->trigger();
    QCOMPARE(llamadas.last().archivo, QStringLiteral("https://www.pellmark.example/"));
}

void TstActualizar::botonWebAbrePaginaAPagina() {
    {
        Carpeta c;
        c.PonerIni("[Actualizaciones]\r\nBrivolar=Ver 1.8\r\n");
        auto frm = c.Formulario();
        QVERIFY(frm->Form_Load());
        frm->mnuBWeb->trigger();
        const auto& llamadas = c.e.shell->llamadas;
        QCOMPARE(llamadas.size(), 7);
        for (const auto& l : llamadas) {
            QCOMPARE(l.archivo, kNavegador);
            QCOMPARE(l.parametros, QStringList({"https://www.pellmark.example/"}));
        }
    }
    {
        Carpeta c;
        c.PonerIni("[Actualizaciones]\r\nBrivolar=Ver 1.8\r\n[BWeb]\r\n"
                   "0=https://a.example/?x=1&y=2\r\n2=https://c.example/ dos palabras\r\n"
                   "4=--remote-debugging-port=1\r\nAbrir3=0\r\nAbrir5=Si\r\n");
        auto frm = c.Formulario();
        QVERIFY(frm->Form_Load());
        // Addresses are read once; the switches on every choice.
        comun::EscribirPerfil(c.Ini(), "BWeb", "1", "https://cambiada.example/");
        frm->mnuBWeb->trigger();
        QStringList abiertas;
        for (const auto& l : c.e.shell->llamadas)
            abiertas << l.parametros;
        QCOMPARE(abiertas,
                 QStringList({"https://a.example/?x=1&y=2", "https://www.pellmark.example/",
                              "https://c.example/ dos palabras", "https://www.pellmark.example/"}));
        c.e.shell->llamadas.clear();
        comun::EscribirPerfil(c.Ini(), "BWeb", "Abrir0", "0");
        comun::EscribirPerfil(c.Ini(), "BWeb", "Abrir3", "1");
        frm->mnuBWeb->trigger();
        QCOMPARE(c.e.shell->llamadas.size(), 4); // pages 1, 2, 3 and 6
        QCOMPARE(c.e.shell->llamadas[1].parametros[0],
                 QStringLiteral("https://c.example/ dos palabras"));
        QVERIFY(c.e.dialogos->mensajes.isEmpty());
    }
    {
        Carpeta c;
        c.PonerIni("[Actualizaciones]\r\nBrivolar=Ver 1.8\r\n");
        auto frm = c.Formulario(kInstalador, false);
        QVERIFY(frm->Form_Load());
        frm->mnuBWeb->trigger();
        QVERIFY(c.e.shell->llamadas.isEmpty());
        QCOMPARE(c.e.dialogos->mensajes.size(), 1);
        QCOMPARE(c.e.dialogos->mensajes[0].tipo, TipoMensaje::Critico);
        QCOMPARE(c.e.dialogos->mensajes[0].titulo, QStringLiteral("Error. Consulte la ayuda."));
        QCOMPARE(c.e.dialogos->mensajes[0].texto,
                 QStringLiteral("No se encontró el navegador\rpara abrir las páginas..."));
        // The other commands still work.
        frm->mnuWeb->trigger();
        QCOMPARE(c.e.shell->llamadas.size(), 1);
    }
}

void TstActualizar::iconoYVentanaSinBandeja() {
    Carpeta c;
    c.PonerIni("[Actualizaciones]\r\nBrivolar=Ver 1.8\r\n");
    auto frm = c.Formulario();
    QVERIFY(frm->Form_Load());
    QVERIFY(!frm->isVisible());
    QCOMPARE(frm->Icono->toolTip(), QStringLiteral("Pellmark. Brivolar programas..."));
    QVERIFY(frm->VentanaSinBandeja && frm->VentanaSinBandeja->isVisible());
    QVERIFY(frm->VentanaSinBandeja->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(frm->VentanaSinBandeja->CmdMenu->menu(), frm->mnuMenu);

    frm->Icono_Activated(QSystemTrayIcon::Context);
    QVERIFY(frm->mnuMenu->isVisible());
    frm->mnuMenu->hide();
    frm->Icono_Activated(QSystemTrayIcon::Trigger);
    QVERIFY(frm->mnuMenu->isVisible());
    frm->mnuMenu->hide();
    frm->Icono_Activated(QSystemTrayIcon::MiddleClick);
    QVERIFY(!frm->mnuMenu->isVisible());
    QVERIFY(!frm->Terminado());
    frm->Icono_Activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(frm->Terminado());

    // Closing the window of a desktop without tray ends the program too.
    Carpeta otra;
    otra.PonerIni("[Actualizaciones]\r\nBrivolar=Ver 1.8\r\n");
    auto frm2 = otra.Formulario();
    QVERIFY(frm2->Form_Load());
    frm2->VentanaSinBandeja->close();
    QVERIFY(frm2->Terminado());
    // A second copy of the same program ends silently before anything else.
    auto frm3 = otra.Formulario();
    QVERIFY(!frm3->Form_Load());
    QVERIFY(otra.e.dialogos->mensajes.isEmpty());
}

QTEST_MAIN(TstActualizar)
#include "tst_actualizar.moc"
