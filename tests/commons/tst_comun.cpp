#include "Archivos.h"
#include "Entorno.h"
#include "EntornoReal.h"
#include "Grabadoras.h"
#include "IconoBandeja.h"
#include "Ini.h"
#include "Inicio.h"
#include "Plataforma.h"
#include "Reemplazo.h"
#include "Texto.h"
#include "Twips.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace comun;

using prueba::Escribir;
using prueba::Leer;

namespace {
// A shell script, with or without the execute bit.
void EscribirGuion(const QString& ruta, const QByteArray& cuerpo, bool ejecutable = true) {
    Escribir(ruta, "#!/bin/sh\n" + cuerpo + "\n");
    QFile::setPermissions(ruta,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                              (ejecutable ? QFileDevice::ExeOwner : QFileDevice::Permissions()));
}

QByteArray Citado(const QString& ruta) {
    return "'" + QFile::encodeName(ruta) + "'";
}
} // namespace

class TstComun : public QObject {
    Q_OBJECT
private slots:
    void init() { prueba::FallarConAvisos(); }
    void lecturaComoLasFuncionesDePerfil();
    void valorLargoCortadoA99();
    void escrituraConservaLoAjeno();
    void escrituraConBufferSeLeeLimpia();
    void numerosDe16Bits();
    void codificacionDeValores();
    void rutaProgramaConUnSeparador();
    void guardiaSinAnfitrion();
    void guardiaSegundaInstancia();
    void ayudaPrefiereElChm();
    void textoVisibleRompeEnRetorno();
    void archivoHostil();
    void escrituraMatadaDejaArchivoEntero();
    void archivoDeSoloLecturaNoSeToca();
    void bloqueoHuerfanoNoImpideArrancar();
    void archivoUnicodeYArchivosRaros();
    void plataformaElegida_data();
    void plataformaElegida();
    void menuDeBandejaJuntoAlPanel_data();
    void menuDeBandejaJuntoAlPanel();
    void archivoNuevoSigueLaMascara_data();
    void archivoNuevoSigueLaMascara();
    void carpetaSinPermisoConArchivoEscribible();
    void shellAbreDocumentosEIniciaProgramas_data();
    void shellAbreDocumentosEIniciaProgramas();
    void inicioVigilado_data();
    void inicioVigilado();
};

void TstComun::lecturaComoLasFuncionesDePerfil() {
    const QByteArray ini = "; comentario\r\n"
                           "[posicion]\r\n"
                           "  REIZDA  =   1200  \r\n"
                           "ReArriba=\"  45 \"\r\n"
                           "ReIzda=9999\r\n"
                           "[Posicion]\r\n"
                           "CaIzda=7\r\n"
                           "[Otra]\n"
                           "Sin igual\n"
                           "Clave=x\n"
                           "[BWeb\n" // a header cut short by a hand edit opens nothing
                           "Simple='C:\\Prog\\'\n"
                           "Vacia=''\n"
                           "Mezcla='x\"\n";
    QCOMPARE(BuscarValorIni(ini, "Posicion", "ReIzda"), QString("1200"));    // first key wins
    QCOMPARE(BuscarValorIni(ini, "POSICION", "rearriba"), QString("  45 ")); // quotes only
    QVERIFY(!BuscarValorIni(ini, "Posicion", "CaIzda")); // second section is not read
    QCOMPARE(BuscarValorIni(ini, "otra", "clave"), QString("x"));
    QVERIFY(!BuscarValorIni(ini, "Otra", "Sin igual"));
    QVERIFY(!BuscarValorIni(ini, "Nada", "Clave"));
    QCOMPARE(BuscarValorIni(ini, "Otra", "Simple"), QString("C:\\Prog\\")); // single quotes too
    QCOMPARE(BuscarValorIni(ini, "Otra", "Vacia"), QString(""));
    QCOMPARE(BuscarValorIni(ini, "Otra", "Mezcla"), QString("'x\"")); // not a pair
    QVERIFY(!BuscarValorIni(ini, "BWeb", "Simple"));
    // The writer agrees: a key of the section above goes before the broken header's line.
    QCOMPARE(BuscarValorIni(PonerValorIni(ini, "Otra", "Vacia", "1"), "Otra", "Vacia"),
             QString("1"));

    QTemporaryDir dir;
    ArchivoIni archivo(dir.filePath("Vemora.INI"));
    QCOMPARE(archivo.LeerIni("Posicion", "ReIzda", "330"), QString("330")); // no file
    QVERIFY(!QFile::exists(archivo.RutaIni)); // reading never creates it
}

void TstComun::valorLargoCortadoA99() {
    QTemporaryDir dir;
    ArchivoIni archivo(dir.filePath("Vemora.INI"));
    const QString largo = QString(120, QLatin1Char('a')) + "b";
    QVERIFY(archivo.EscribirIni("Brivolar", "Noctavo", largo));
    QCOMPARE(archivo.LeerIni("Brivolar", "Noctavo", "No"), largo.left(99));
    QCOMPARE(archivo.LargoIni, 99);
}

void TstComun::escrituraConservaLoAjeno() {
    QTemporaryDir dir;
    const QString ruta = dir.filePath("Vemora.INI");
    const QByteArray original =
        "# host's own\n[Vemora]\nIdioma=ES\n\n[Posicion]\r\nReIzda=1\r\n\r\n"
        "[Final]\nX=1";
    Escribir(ruta, original);
    ArchivoIni archivo(ruta);
    QVERIFY(archivo.EscribirIni("posicion", "REIZDA", "330"));
    QVERIFY(archivo.EscribirIni("Posicion", "ReArriba", "45"));
    QVERIFY(archivo.EscribirIni("Final", "Y", "2"));
    QVERIFY(archivo.EscribirIni("Nueva", "Z", "3"));
    QCOMPARE(Leer(ruta), QByteArray("# host's own\n[Vemora]\nIdioma=ES\n\n[Posicion]\r\n"
                                    "REIZDA=330\r\nReArriba=45\r\n\r\n[Final]\nX=1\r\nY=2\r\n"
                                    "[Nueva]\r\nZ=3\r\n"));
    // No temporary file is left beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"Vemora.INI"});
}

void TstComun::escrituraConBufferSeLeeLimpia() {
    QTemporaryDir dir;
    ArchivoIni archivo(dir.filePath("Vemora.INI"));
    QVERIFY(archivo.EscribirIniConBuffer("Brivolar", "Ocultar", "1"));
    QVERIFY(Leer(archivo.RutaIni).contains("Ocultar=1" + QByteArray(99, ' ') + "\r\n"));
    QCOMPARE(archivo.LeerIni("Brivolar", "Ocultar", "0"), QString("1"));
}

void TstComun::numerosDe16Bits() {
    QCOMPARE(ConvertirEntero16(" 330 "), std::optional<qint16>(330));
    QCOMPARE(ConvertirEntero16("-32768"), std::optional<qint16>(-32768));
    QCOMPARE(ConvertirEntero16("2.5"), std::optional<qint16>(2)); // half to even
    QCOMPARE(ConvertirEntero16("3.5"), std::optional<qint16>(4));
    QVERIFY(!ConvertirEntero16("32768"));
    QVERIFY(!ConvertirEntero16("abc"));
    QVERIFY(!ConvertirEntero16(""));
    QVERIFY(!ConvertirEntero16("1e3"));
    QTemporaryDir dir;
    ArchivoIni archivo(dir.filePath("Vemora.INI"));
    archivo.EscribirIni("Posicion", "ReIzda", "-99999");
    QCOMPARE(archivo.LeerIniEntero("Posicion", "ReIzda", 330), qint16(330));
}

void TstComun::codificacionDeValores() {
    QCOMPARE(BuscarValorIni("[A]\r\nB=Espa\xf1"
                            "a\r\n",
                            "A", "B"),
             QString::fromUtf8("España"));
    QCOMPARE(BuscarValorIni("\xEF\xBB\xBF[A]\r\nB=Espa\xc3\xb1"
                            "a\r\n",
                            "A", "B"),
             QString::fromUtf8("España"));
    QCOMPARE(DecodificarCp1252("\x80\x96"), QString::fromUtf8("€–"));
    QCOMPARE(PonerValorIni("", "A", "B", "l1\r\nl2"), QByteArray("[A]\r\nB=l1  l2\r\n"));
}

void TstComun::rutaProgramaConUnSeparador() {
    QCOMPARE(ObtenerRutaPrograma("/"), QString("/"));
    QCOMPARE(ObtenerRutaPrograma("/opt/vemora"), QString("/opt/vemora/"));
    QCOMPARE(ObtenerRutaPrograma("/opt/vemora/"), QString("/opt/vemora/"));
    QCOMPARE(ObtenerRutas("/opt/v").RutaIni, QString("/opt/v/Vemora.INI"));
}

void TstComun::guardiaSinAnfitrion() {
    QTemporaryDir dir;
    auto e = CrearEntornoGrabado(dir.path());
    const QString huerfano = dir.filePath(".Vemora.INI.~tmpAbC123");
    Escribir(huerfano, "x");
    GuardiaInicio guardia;
    QCOMPARE(guardia.Pasar(e.entorno, "Rendalio.exe", true),
             GuardiaInicio::Resultado::SinAnfitrion);
    QVERIFY(QFile::exists(huerfano)); // nothing is touched before the guard passes
    QCOMPARE(e.dialogos->mensajes.size(), 1);
    QCOMPARE(e.dialogos->mensajes[0].titulo, kTituloSinAnfitrion);
    QCOMPARE(e.dialogos->mensajes[0].texto,
             QString("Este programa tiene que estar en\rla misma carpeta que la Vemora."));
    QVERIFY(e.dialogos->mensajes[0].tipo == TipoMensaje::Critico);
    // A folder named like the host is not the host.
    QDir(dir.path()).mkdir("Vemora.exe");
    GuardiaInicio otra;
    QCOMPARE(otra.Pasar(e.entorno, "Brivolar.exe", true), GuardiaInicio::Resultado::SinAnfitrion);
}

void TstComun::guardiaSegundaInstancia() {
    QTemporaryDir dir;
    Escribir(dir.filePath("Vemora.exe"), "host");
    auto e = CrearEntornoGrabado(dir.path());
    // What killed runs leave (a settings write, the wizard's safety copy, one under a
    // pipe that must not hold up the start), a write going on, and a user's own file.
    const QStringList huerfanos = {".Vemora.INI.~tmpAbC123", ".DatosAnt.bak.~tmpXyZ789",
                                   ".Rendalio.dat.~tmpQwErTy-journal"};
    for (const QString& nombre : huerfanos)
        Escribir(dir.filePath(nombre), "x");
    QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(".Vemora.dat.~tmpTuBeRi")).constData(), 0600) ==
            0);
    // Names that only look like a temporary's are the user's.
    const QStringList delUsuario = {".Vemora.INI.bak",       ".~tmpAbC123",
                                    ".Vemora.INI.~tmpAbC12", ".Vemora.INI.~tmpAb-123",
                                    "Vemora.INI.~tmpAbC123", ".Vemora.INI.~tmpAbC123-diario"};
    for (const QString& nombre : delUsuario)
        Escribir(dir.filePath(nombre), "del usuario");
    ReemplazoAtomico enCurso(dir.filePath("Vemora.INI"));
    QVERIFY(enCurso.Valido());
    GuardiaInicio primera;
    QCOMPARE(primera.Pasar(e.entorno, "Rendalio.exe", true), GuardiaInicio::Resultado::Continuar);
    QStringList esperados = delUsuario;
    esperados << "Vemora.exe" << QFileInfo(enCurso.RutaTemporal()).fileName();
    esperados.sort();
    QStringList quedan = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    quedan.sort();
    QCOMPARE(quedan, esperados);
    QVERIFY(ProgramaEnMarcha(e.entorno, "Rendalio.exe"));
    QVERIFY(!ProgramaEnMarcha(e.entorno, "Brivolar.exe"));
    GuardiaInicio segunda;
    QCOMPARE(segunda.Pasar(e.entorno, "Rendalio.exe", true),
             GuardiaInicio::Resultado::OtraInstancia);
    GuardiaInicio hermano; // another program of the suite may run beside it
    QCOMPARE(hermano.Pasar(e.entorno, "Brivolar.exe", true), GuardiaInicio::Resultado::Continuar);
    GuardiaInicio asistente; // the wizard does not ask for a single instance
    QCOMPARE(asistente.Pasar(e.entorno, "Rendalio.exe", false),
             GuardiaInicio::Resultado::Continuar);
    QVERIFY(e.dialogos->mensajes.isEmpty());
    QVERIFY(!QFile::exists(dir.filePath("Vemora.INI")));
}

void TstComun::ayudaPrefiereElChm() {
    QTemporaryDir dir;
    auto e = CrearEntornoGrabado(dir.path());
    AbrirAyuda(e.entorno, "Ayuda/Rendalio.htm");
    Escribir(dir.filePath("Ayuda.chm"), "chm");
    AbrirAyuda(e.entorno, "Ayuda/Rendalio.htm");
    QCOMPARE(e.shell->llamadas.size(), 2);
    QCOMPARE(e.shell->llamadas[0].archivo, ObtenerRutaPrograma(dir.path()) + "Ayuda/Rendalio.htm");
    QCOMPARE(e.shell->llamadas[1].archivo, ObtenerRutaPrograma(dir.path()) + "Ayuda.chm");
    QCOMPARE(e.shell->llamadas[1].operacion, QString("open"));
    for (const auto& llamada : e.shell->llamadas)
        QVERIFY(llamada.accion == AccionShell::Abrir); // a document, never run
}

void TstComun::textoVisibleRompeEnRetorno() {
    QCOMPARE(TextoVisible("Tareas totales:\r0"), QString("Tareas totales:\n0"));
    QCOMPARE(TextoVisible("a\r\nb\rc"), QString("a\nb\nc"));
    QCOMPARE(Px(6000), 400);
    QCOMPARE(Px(5595), 373);
    QCOMPARE(RectTwips(240, 1800, 435, 555), QRect(16, 120, 29, 37));
}

void TstComun::archivoHostil() {
    // What users' files really hold: garbage, NULs, a byte-order mark, CR-only and mixed
    // line ends, duplicates, keys without "=", huge values, numbers out of range.
    static const char kInicio[] =
        "\xEF\xBB\xBF\x01\xff\xfe garbage\0\0\r[Posicion]\rReIzda=70000\n"
        "ReArriba=-12\r\nSinIgual\r\n[posicion]\nReIzda=5\n[Opciones]\nSonido=";
    static const char kFin[] = "\r\n[Opciones]\nSonido=0\n\0\x80\x81";
    QByteArray hostil(kInicio, sizeof(kInicio) - 1);
    hostil += QByteArray(10000, 'x') + QByteArray(kFin, sizeof(kFin) - 1);
    QTemporaryDir dir;
    const QString ruta = dir.filePath("Vemora.INI");
    Escribir(ruta, hostil);
    ArchivoIni archivo(ruta);
    QCOMPARE(archivo.LeerIniEntero("Posicion", "ReIzda", 330), qint16(330)); // out of range
    QCOMPARE(archivo.LeerIniEntero("Posicion", "ReArriba", 330), qint16(-12));
    QCOMPARE(archivo.LeerIni("Opciones", "Sonido", "1"), QString(99, QLatin1Char('x')));
    QCOMPARE(archivo.LeerIni("Posicion", "SinIgual", "d"), QString("d"));
    QVERIFY(archivo.EscribirIni("Posicion", "ReIzda", "330"));
    QByteArray esperado = hostil;
    esperado.replace("ReIzda=70000", "ReIzda=330");
    QCOMPARE(Leer(ruta), esperado);

    // Seeded random files: a write of one key never touches a byte outside its line.
    QRandomGenerator azar(prueba::Semilla(20261207));
    static const char kAlfabeto[] = "[]=\r\n \"abcPOSICIONposicion\xc3\xb1\x00\t;";
    const QByteArray alfabeto(kAlfabeto, sizeof(kAlfabeto) - 1);
    for (int vuelta = 0; vuelta < 2000; ++vuelta) {
        QByteArray contenido;
        const int largo = int(azar.bounded(200));
        for (int i = 0; i < largo; ++i)
            contenido += alfabeto[int(azar.bounded(int(alfabeto.size())))];
        const QByteArray escrito = PonerValorIni(contenido, "posicion", "a", "v");
        QCOMPARE(BuscarValorIni(escrito, "Posicion", "A"), QString("v"));
        qsizetype p = 0;
        while (p < contenido.size() && p < escrito.size() && contenido[p] == escrito[p])
            ++p;
        qsizetype s = 0;
        while (s < contenido.size() - p && s < escrito.size() - p &&
               contenido[contenido.size() - 1 - s] == escrito[escrito.size() - 1 - s])
            ++s;
        const QByteArray quitado = contenido.mid(p, contenido.size() - p - s);
        QVERIFY2(!quitado.contains('\n') && !quitado.contains('\r'), contenido.toHex().constData());
    }
}

void TstComun::escrituraMatadaDejaArchivoEntero() {
    QTemporaryDir dir;
    const QString ruta = dir.filePath("Vemora.INI");
    QByteArray base = "[Vemora]\r\n";
    for (int i = 0; i < 20000; ++i)
        base += "Clave" + QByteArray::number(i) + "=" + QByteArray(40, 'v') + "\r\n";
    base += "[Posicion]\r\nReIzda=1111\r\n[Final]\r\nX=1\r\n";
    Escribir(ruta, base);
    QByteArray otro = base;
    otro.replace("ReIzda=1111", "ReIzda=2222");
    QRandomGenerator momentos(prueba::Semilla(20261209));
    for (int vuelta = 0; vuelta < 5; ++vuelta) {
        QFile::remove(ruta + ".listo");
        QProcess escritor;
        escritor.start(ESCRITOR_INI, {ruta});
        QVERIFY(escritor.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(ruta + ".listo"), 10000);
        QTest::qWait(int(momentos.bounded(5, 60)));
        ::kill(pid_t(escritor.processId()), SIGKILL);
        QVERIFY(escritor.waitForFinished());
        const QByteArray queda = Leer(ruta);
        QVERIFY2(queda == base || queda == otro, "the settings file was left half-written");
    }
}

void TstComun::archivoDeSoloLecturaNoSeToca() {
    QTemporaryDir dir;
    const QString ruta = dir.filePath("Vemora.INI");
    Escribir(ruta, "[Posicion]\r\nReIzda=1\r\n");
    QFile::setPermissions(ruta, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    ArchivoIni archivo(ruta);
    // Honoured even for the administrator, whom the system would let write.
    QVERIFY(!archivo.EscribirIni("Posicion", "ReIzda", "330"));
    QCOMPARE(Leer(ruta), QByteArray("[Posicion]\r\nReIzda=1\r\n"));
    QDir(dir.path()).mkdir("Carpeta.INI");
    QVERIFY(!EscribirPerfil(dir.filePath("Carpeta.INI"), "A", "B", "c"));
    // A write that changes nothing leaves the file's date alone; a real one keeps its mode.
    QFile::setPermissions(ruta, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QDateTime antes = QFileInfo(ruta).lastModified();
    QTest::qWait(20);
    QVERIFY(archivo.EscribirIni("Posicion", "ReIzda", "1"));
    QCOMPARE(QFileInfo(ruta).lastModified(), antes);
    QVERIFY(archivo.EscribirIni("Posicion", "ReIzda", "2"));
    QCOMPARE(int(QFile::permissions(ruta)) & 0x7077, 0x6000); // owner read-write, nothing more
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    // The administrator rewriting a user's file leaves it the user's.
    if (::geteuid() == 0) {
        QVERIFY(::chown(QFile::encodeName(ruta).constData(), 65534, 65534) == 0);
        QVERIFY(archivo.EscribirIni("Posicion", "ReIzda", "3"));
        QCOMPARE(QFileInfo(ruta).ownerId(), 65534u);
        QCOMPARE(QFileInfo(ruta).groupId(), 65534u);
    }
}

void TstComun::bloqueoHuerfanoNoImpideArrancar() {
    QTemporaryDir dir;
    Escribir(dir.filePath("Vemora.exe"), "host");
    auto e = CrearEntornoGrabado(dir.path());
    // What a program killed while taking its lock leaves: an empty lock file.
    Escribir(QDir(e.entorno.carpetaBloqueos).filePath("Rendalio.exe.lock"), "");
    QVERIFY(!ProgramaEnMarcha(e.entorno, "Rendalio.exe"));
    GuardiaInicio guardia;
    QCOMPARE(guardia.Pasar(e.entorno, "Rendalio.exe", true), GuardiaInicio::Resultado::Continuar);
    QVERIFY(ProgramaEnMarcha(e.entorno, "Rendalio.exe"));
    GuardiaInicio segunda;
    QCOMPARE(segunda.Pasar(e.entorno, "Rendalio.exe", true),
             GuardiaInicio::Resultado::OtraInstancia);
}

void TstComun::archivoUnicodeYArchivosRaros() {
    QTemporaryDir dir;
    // Saved by a text editor as "Unicode": read, and written back in the same form.
    const QString ruta = dir.filePath("Vemora.INI");
    const QString texto =
        QString::fromUtf8("[Vemora]\r\nNombre=Íñigo\r\n[Posicion]\r\nReIzda=1\r\n");
    QByteArray utf16 = "\xFF\xFE";
    for (QChar c : texto)
        utf16 += char(c.unicode() & 0xFF), utf16 += char(c.unicode() >> 8);
    Escribir(ruta, utf16);
    ArchivoIni archivo(ruta);
    QCOMPARE(archivo.LeerIni("Vemora", "Nombre", "?"), QString::fromUtf8("Íñigo"));
    QVERIFY(archivo.EscribirIni("Posicion", "ReIzda", "330"));
    QByteArray esperado = "\xFF\xFE";
    const QString cambiado = QString(texto).replace("ReIzda=1", "ReIzda=330");
    for (QChar c : cambiado)
        esperado += char(c.unicode() & 0xFF), esperado += char(c.unicode() >> 8);
    QCOMPARE(Leer(ruta), esperado);

    // A device, a pipe or a folder in the settings file's place is neither read nor
    // written, by the key reader and the start-up snapshot alike; nothing waits on a pipe.
    const QString enlace = dir.filePath("Cero.INI");
    QVERIFY(QFile::link("/dev/zero", enlace));
    const QString tuberia = dir.filePath("Tuberia.INI");
    QVERIFY(::mkfifo(QFile::encodeName(tuberia).constData(), 0600) == 0);
    QVERIFY(QDir(dir.path()).mkdir("Carpeta.INI"));
    for (const QString& raro : {enlace, tuberia, dir.filePath("Carpeta.INI")}) {
        ArchivoIni ajustes(raro);
        QCOMPARE(ajustes.LeerIni("A", "B", "d"), QString("d"));
        QCOMPARE(FotoIni(raro).LeerIniEntero("A", "B", 7), qint16(7));
        QVERIFY(!ajustes.EscribirIni("A", "B", "c"));
    }
}

void TstComun::plataformaElegida_data() {
    QTest::addColumn<QByteArray>("usuario");
    QTest::addColumn<QByteArray>("x");
    QTest::addColumn<QByteArray>("wayland");
    QTest::addColumn<QByteArray>("sesion");
    QTest::addColumn<QByteArray>("elegida");
    QTest::newRow("Wayland con XWayland")
        << QByteArray() << QByteArray(":0") << QByteArray("wayland-0") << QByteArray()
        << QByteArray("xcb");
    QTest::newRow("sesión Wayland") << QByteArray() << QByteArray(":1") << QByteArray()
                                    << QByteArray("wayland") << QByteArray("xcb");
    QTest::newRow("la del usuario")
        << QByteArray("wayland") << QByteArray(":0") << QByteArray("wayland-0")
        << QByteArray("wayland") << QByteArray();
    QTest::newRow("sin servidor X") << QByteArray() << QByteArray() << QByteArray("wayland-0")
                                    << QByteArray("wayland") << QByteArray();
    QTest::newRow("X11") << QByteArray() << QByteArray(":0") << QByteArray() << QByteArray("x11")
                         << QByteArray();
}

void TstComun::plataformaElegida() {
    QFETCH(QByteArray, usuario);
    QFETCH(QByteArray, x);
    QFETCH(QByteArray, wayland);
    QFETCH(QByteArray, sesion);
    QFETCH(QByteArray, elegida);
    QCOMPARE(PlataformaElegida(usuario, x, wayland, sesion), elegida);
}

void TstComun::menuDeBandejaJuntoAlPanel_data() {
    QTest::addColumn<QPoint>("clic");
    QTest::addColumn<QPoint>("lugar");
    // A 200 x 356 menu on a 1280 x 1024 screen.
    QTest::newRow("panel arriba, en la esquina") << QPoint(1262, 15) << QPoint(1080, 31);
    QTest::newRow("panel abajo") << QPoint(600, 1012) << QPoint(600, 645);
    QTest::newRow("panel a la izquierda") << QPoint(10, 900) << QPoint(21, 668);
    QTest::newRow("panel a la derecha") << QPoint(1270, 300) << QPoint(1061, 300);
    QTest::newRow("lejos de los bordes") << QPoint(600, 500) << QPoint(600, 500);
}

void TstComun::menuDeBandejaJuntoAlPanel() {
    QFETCH(QPoint, clic);
    QFETCH(QPoint, lugar);
    QCOMPARE(LugarMenuBandeja(clic, QSize(200, 356), QRect(0, 0, 1280, 1024)), lugar);
}

void TstComun::archivoNuevoSigueLaMascara_data() {
    QTest::addColumn<int>("mascara");
    QTest::addColumn<int>("modo");
    QTest::newRow("077") << 0077 << 0600;
    QTest::newRow("022") << 0022 << 0644;
    QTest::newRow("002") << 0002 << 0664;
}

void TstComun::archivoNuevoSigueLaMascara() {
    QFETCH(int, mascara);
    QFETCH(int, modo);
    const mode_t antes = ::umask(mode_t(mascara));
    const auto restaurar = qScopeGuard([&] { ::umask(antes); });
    QTemporaryDir dir;
    const QString ruta = dir.filePath("Vemora.INI");
    QVERIFY(EscribirPerfil(ruta, "Posicion", "ReIzda", "330"));
    struct stat info {};
    QVERIFY(::stat(QFile::encodeName(ruta).constData(), &info) == 0);
    QCOMPARE(int(info.st_mode & 07777), modo);
}

void TstComun::carpetaSinPermisoConArchivoEscribible() {
    // An installation of another user, or a share: the settings file may be written,
    // its folder takes no new file.
    QTemporaryDir dir;
    QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
    const QString carpeta = dir.filePath("Vemora");
    const QString ruta = carpeta + "/Vemora.INI";
    Escribir(ruta, "; anfitrion\r\n[Posicion]\r\nReIzda=1\r\n[Vemora]\r\nX=1\r\n");
    QVERIFY(::chmod(QFile::encodeName(ruta).constData(), 0666) == 0);
    QVERIFY(::chmod(QFile::encodeName(carpeta).constData(), 0555) == 0);
    const auto restaurar =
        qScopeGuard([&] { ::chmod(QFile::encodeName(carpeta).constData(), 0755); });
    const auto escribir = [&](const QString& seccion, const QString& clave, const QString& valor) {
        QProcess escritor;
        // The administrator may make files in any folder: the writer runs as nobody.
        if (::geteuid() == 0)
            escritor.setChildProcessModifier([] {
                if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                    ::_exit(3);
            });
        escritor.start(ESCRITOR_INI, {ruta, seccion, clave, valor});
        return escritor.waitForFinished(30000) && escritor.exitStatus() == QProcess::NormalExit &&
               escritor.exitCode() == 0;
    };
    QVERIFY(escribir("Posicion", "ReIzda", "330"));
    QVERIFY(escribir("Brivolar", "Noctavo", "/opt/programas/")); // longer
    QVERIFY(escribir("Posicion", "ReIzda", "7"));                // shorter
    QCOMPARE(Leer(ruta), QByteArray("; anfitrion\r\n[Posicion]\r\nReIzda=7\r\n[Vemora]\r\nX=1\r\n"
                                    "[Brivolar]\r\nNoctavo=/opt/programas/\r\n"));
    QCOMPARE(QDir(carpeta).entryList(QDir::Files | QDir::Hidden), QStringList{"Vemora.INI"});
}

void TstComun::shellAbreDocumentosEIniciaProgramas_data() {
    QTest::addColumn<QString>("archivo"); // in the folder, or a web address
    QTest::addColumn<bool>("programa");   // asked to start it as a program
    QTest::addColumn<bool>("ejecutable"); // the file carries the execute bit
    QTest::addColumn<bool>("ejecutado");  // the file itself runs, rather than the opener
    // Every file of a FAT or NTFS drive has the execute bit: a document is never run.
    QTest::newRow("documento con bit") << "Ayuda.chm" << false << true << false;
    QTest::newRow("pagina con bit") << "Ayuda/Brivolar.htm" << false << true << false;
    QTest::newRow("direccion") << "https://www.pellmark.example/?a=1&b=2" << false << false
                               << false;
    QTest::newRow("programa") << "Noctavo.exe" << true << true << true;
    // One brought from Windows: the desktop's handler for its kind starts it.
    QTest::newRow("programa sin bit") << "Noctavo.exe" << true << false << false;
}

void TstComun::shellAbreDocumentosEIniciaProgramas() {
    QFETCH(QString, archivo);
    QFETCH(bool, programa);
    QFETCH(bool, ejecutable);
    QFETCH(bool, ejecutado);
    QTemporaryDir dir;
    const QString abierto = dir.filePath("abierto");
    const QString marca = dir.filePath("ejecutado");
    // The desktop's opener, standing in front of any on the search path.
    EscribirGuion(dir.filePath("bin/xdg-open"), "printf '%s' \"$1\" > " + Citado(abierto));
    const QByteArray camino = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(dir.filePath("bin")) + ":" + camino);
    const auto restaurar = qScopeGuard([&] { qputenv("PATH", camino); });
    const bool web = archivo.startsWith("https:");
    const QString ruta = web ? archivo : dir.filePath(archivo);
    if (!web)
        EscribirGuion(ruta, "touch " + Citado(marca), ejecutable);

    ShellReal shell;
    const auto accion = programa ? AccionShell::Iniciar : AccionShell::Abrir;
    QVERIFY(shell.Ejecutar({"open", ruta, {}, {}, accion}) > 32);
    if (ejecutado) {
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marca), 10000);
        QVERIFY(!QFile::exists(abierto));
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(Leer(abierto), ruta.toUtf8(), 10000);
        QVERIFY(!QFile::exists(marca));
    }
}

void TstComun::inicioVigilado_data() {
    QTest::addColumn<QByteArray>("guion"); // what the launcher does; empty: there is none
    QTest::addColumn<bool>("ejecutable");
    QTest::addColumn<bool>("exito");
    QTest::newRow("termina bien") << QByteArray("exit 0") << true << true;
    // A browser's launcher with no browser behind it.
    QTest::newRow("sin navegador") << QByteArray("echo 'no browser' >&2; exit 1") << true << false;
    QTest::newRow("muerto") << QByteArray("kill -9 $$") << true << false;
    // A browser that stays in front of its launcher.
    QTest::newRow("sigue abierto") << QByteArray("exec sleep 60") << true << true;
    QTest::newRow("sin bit de ejecucion") << QByteArray("exit 0") << false << false;
    QTest::newRow("no existe") << QByteArray() << true << false;
}

void TstComun::inicioVigilado() {
    QFETCH(QByteArray, guion);
    QFETCH(bool, ejecutable);
    QFETCH(bool, exito);
    QTemporaryDir dir;
    const QString lanzador = dir.filePath("navegador");
    const QString argumentos = dir.filePath("argumentos");
    const QString proceso = dir.filePath("proceso");
    if (!guion.isEmpty())
        EscribirGuion(lanzador,
                      "echo $$ > " + Citado(proceso) + "; printf '%s\\n' \"$@\" > " +
                          Citado(argumentos) + "\n" + guion,
                      ejecutable);
    const auto terminar = qScopeGuard([&] {
        if (const int pid = Leer(proceso).trimmed().toInt(); pid > 0)
            ::kill(pid, SIGKILL);
    });
    const QString direccion = "https://a.example/?x=1&y=2 dos";
    ShellReal shell;
    std::optional<bool> respuesta;
    shell.IniciarVigilado({"open", lanzador, {direccion}, {}, AccionShell::Iniciar},
                          [&](bool e) { respuesta = e; });
    QVERIFY(!respuesta); // never from inside the call
    QTRY_VERIFY_WITH_TIMEOUT(respuesta.has_value(), 15000);
    QCOMPARE(*respuesta, exito);
    if (ejecutable && !guion.isEmpty())
        QCOMPARE(Leer(argumentos), direccion.toUtf8() + "\n"); // one argument, untouched
}

QTEST_MAIN(TstComun)
#include "tst_comun.moc"
