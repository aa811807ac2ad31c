// What users' files really hold: exports that are empty, cut short, in another encoding,
// with other line ends or absurdly long lines, and address books that are not one. Each
// must end in the import's own behaviour or in a message that says what is wrong, and
// never in a changed Vemora.dat that the user did not ask to change.
#include "Archivos.h"
#include "CarpetaPrueba.h"
#include "FrmVemora.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStringEncoder>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace prueba;
using comun::sql::Conexion;

namespace {
const QString kTituloImportacion = QStringLiteral("ERROR AL TRASVOLO DATOS.");
const QString kTituloCopia = QStringLiteral("ERROR AL GENERAR COPIA SEG.");
const QByteArray kCopiaAnterior = "la copia de seguridad de ayer";

QByteArray Contacto(const QByteArray& nombre) {
    return nombre + ",,,,,,,,,,\r\n";
}

QByteArray Utf16(const QString& texto) {
    QStringEncoder codificador(QStringEncoder::Utf16LE);
    return "\xFF\xFE" + QByteArray(codificador.encode(texto));
}

// A database made with the host's key (or none) holding `sql`.
void CrearBase(const QString& ruta, const QString& sql, bool conClave = true) {
    QFile::remove(ruta);
    Conexion c;
    QVERIFY(c.Abrir(ruta, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE));
    if (conClave)
        QVERIFY(c.Ejecutar("PRAGMA key = 'quolby'"));
    QVERIFY2(c.Ejecutar(sql), qPrintable(c.UltimoError()));
}

QString SinCampo(const QString& campo) {
    QString sql = host::SqlCrearDatos();
    // "Url TEXT CONSTRAINT Url CHECK (...), " removed whole.
    const qsizetype inicio = sql.indexOf(campo + " TEXT");
    const qsizetype fin = sql.indexOf(", ", sql.indexOf(")", inicio));
    sql.remove(inicio, fin + 2 - inicio);
    return sql;
}
} // namespace

class TstTrasvoloEntradas : public QObject {
    Q_OBJECT
private slots:
    void init() { prueba::FallarConAvisos(); }
    void exportacionesDefectuosas_data();
    void exportacionesDefectuosas();
    void exportacionQueNoEsArchivo_data();
    void exportacionQueNoEsArchivo();
    void lineasEnormes();
    void libretaQueNoLoEs_data();
    void libretaQueNoLoEs();
    void libretaSinPermisoDeEscritura();
};

void TstTrasvoloEntradas::exportacionesDefectuosas_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("error"); // a part of the message; empty when it imports
    QTest::addColumn<QStringList>("nombres");
    QTest::addColumn<QString>("direccion"); // of the first contact, when it imports

    const QByteArray cabecera = kCabecera;
    QTest::newRow("cero bytes") << QByteArray() << "está vacío" << QStringList() << "";
    QTest::newRow("solo saltos") << QByteArray("\r\n \r\n") << "está vacío" << QStringList() << "";
    QTest::newRow("solo cabecera") << cabecera << "" << QStringList() << "";
    QTest::newRow("cabecera sin salto") << cabecera.chopped(2) << "" << QStringList() << "";
    QTest::newRow("cabecera corta")
        << "Nombre\r\n" + Contacto("Ana") << "no es la cabecera" << QStringList() << "";
    QTest::newRow("cabecera de tres")
        << QByteArray("Nom") << "no es la cabecera" << QStringList() << "";
    // Another language's export: its seventh character is a letter, not a separator.
    QTest::newRow("cabecera en inglés") << "Name,E-mail Address,Street\r\n" + Contacto("Ana")
                                        << "no es la cabecera" << QStringList() << "";
    QTest::newRow("sin cabecera") << Contacto("Ana María") + Contacto("Luis") << "no es la cabecera"
                                  << QStringList() << "";
    QTest::newRow("bytes nulos") << cabecera + Contacto(QByteArray("An\0a", 4))
                                 << "caracteres nulos" << QStringList() << "";
    QTest::newRow("UTF-16 con marca")
        << Utf16(QString::fromLatin1(cabecera) + "José,,Calle Ñ,,,,,,,,\r\n") << ""
        << QStringList({"José"}) << "Calle Ñ\r\n\r\n\r\n\r\n";
    // An opening quote never closed would swallow every contact after it into one value.
    QTest::newRow("comilla abierta hasta el final")
        << cabecera + Contacto("Ana") + Contacto("\"Luis") + Contacto("Eva") + Contacto("Pío")
        << "línea 3" << QStringList() << "";
    // On the last line alone it takes nothing else in: the notes keep it, as they are.
    QTest::newRow("comilla abierta en la última línea")
        << cabecera + "Ana,,C,,,,,,,,\"sin cerrar\r\n"
        << "" << QStringList({"Ana"}) << "C\r\n\r\n\r\n\r\n";
    QTest::newRow("líneas en blanco al final") << cabecera + Contacto("Ana") + "\r\n  \r\n\r\n"
                                               << "" << QStringList({"Ana"}) << "?\r\n\r\n\r\n\r\n";
    QTest::newRow("línea en blanco en medio")
        << cabecera + Contacto("Ana") + "\r\n" + Contacto("Eva")
        << "contacto 2 de «Datos.csv» está en blanco" << QStringList({"Ana"}) << "";
    QTest::newRow("faltan campos")
        << cabecera + "Ana,a@b,Calle\r\n"
        << "(«Ana,a@b,Calle»): no se encuentra el separador «,» del campo 3" << QStringList() << "";

    // Line ends of every system, and a quoted address over two lines.
    const QByteArray cuerpo = "Nombre;Email;a;b;c;d;e;f;g;h;i|Ana;;\"Calle 1|Piso 2\";León;;;;;;;|"
                              "Eva;;;;;;;;;;";
    for (const char* fin : {"\r\n", "\r", "\n"}) {
        QByteArray csv = cuerpo;
        csv.replace("|", fin);
        QTest::newRow(qPrintable(QStringLiteral("fines de línea %1")
                                     .arg(QString::number(QByteArray(fin).size() == 2 ? 0
                                                          : fin[0] == '\r'            ? 13
                                                                                      : 10))))
            << csv << "" << QStringList({"Ana", "Eva"}) << "Calle 1 Piso 2\r\nLeón\r\n\r\n\r\n";
    }
    QTest::newRow("Windows-1252") << cabecera + "Jos\xe9 Pe\xf1"
                                                "a,,\xc1vila,,,,,,,,\r\n"
                                  << "" << QStringList({"José Peña"}) << "Ávila\r\n\r\n\r\n\r\n";
    QTest::newRow("UTF-8") << cabecera + "Jos\xc3\xa9 Pe\xc3\xb1"
                                         "a,,\xc3\x81vila,,,,,,,,\r\n"
                           << "" << QStringList({"José Peña"}) << "Ávila\r\n\r\n\r\n\r\n";
    // One line typed on another system does not spoil the accents of the others.
    QTest::newRow("UTF-8 con una línea Windows-1252")
        << cabecera + "Jos\xc3\xa9,,\xc3\x81vila,,,,,,,,\r\n" +
               Contacto("Pe\xf1"
                        "a")
        << "" << QStringList({"José", "Peña"}) << "Ávila\r\n\r\n\r\n\r\n";
}

void TstTrasvoloEntradas::exportacionesDefectuosas() {
    QFETCH(QByteArray, csv);
    QFETCH(QString, error);
    QFETCH(QStringList, nombres);
    QFETCH(QString, direccion);
    Carpeta c;
    const QByteArray datosAntes = Leer(c.Ruta("Vemora.dat"));
    auto f = Importar(c, csv);
    if (error.isEmpty()) {
        QVERIFY2(c.e.dialogos->mensajes.isEmpty(),
                 qPrintable(c.e.dialogos->mensajes.value(0).texto));
        QCOMPARE(f->PasoActual, 10);
        QCOMPARE(c.Nombres(), nombres);
        if (!nombres.isEmpty())
            QCOMPARE(c.Contactos()[0].Direccion, direccion);
        return;
    }
    QCOMPARE(c.Titulos(), QStringList({kTituloImportacion}));
    QVERIFY2(c.e.dialogos->mensajes[0].texto.contains(error),
             qPrintable(c.e.dialogos->mensajes[0].texto));
    QCOMPARE(f->PasoActual, 9);
    QCOMPARE(c.Nombres(), nombres);
    if (nombres.isEmpty()) // refused before the address book was opened
        QCOMPARE(Leer(c.Ruta("Vemora.dat")), datosAntes);
    QCOMPARE(Leer(c.Ruta("Datos.csv")), csv); // the export itself is only read
}

void TstTrasvoloEntradas::exportacionQueNoEsArchivo_data() {
    QTest::addColumn<QString>("clase");   // what stands under the name "Datos.csv"
    QTest::addColumn<QString>("mensaje"); // a part of the message
    QTest::newRow("tubería con nombre") << "fifo"
                                        << "una tubería con nombre";
    // A device's size reads as 0, so no limit on the size stops it.
    QTest::newRow("enlace a /dev/zero") << "/dev/zero"
                                        << "un dispositivo";
    QTest::newRow("carpeta") << "carpeta"
                             << "una carpeta";
}

void TstTrasvoloEntradas::exportacionQueNoEsArchivo() {
    QFETCH(QString, clase);
    QFETCH(QString, mensaje);
    Carpeta c;
    const QString ruta = c.Ruta("Datos.csv");
    if (clase == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(ruta).constData(), 0600), 0);
    else if (clase == "carpeta")
        QVERIFY(QDir(c.dir.path()).mkdir("Datos.csv"));
    else if (!QFile::link(clase, ruta))
        QSKIP("no such device here");
    auto f = Abrir(c);
    IrA(*f, 10);
    QCOMPARE(c.Titulos(), QStringList({kTituloImportacion}));
    const QString texto = c.e.dialogos->mensajes[0].texto;
    QVERIFY2(texto.contains(QDir::toNativeSeparators(ruta)) && texto.contains(mensaje),
             qPrintable(texto));
    QCOMPARE(f->PasoActual, 9);
    QVERIFY(c.Contactos().isEmpty());
}

void TstTrasvoloEntradas::lineasEnormes() {
    // Each journey must end well within the time a user waits.
    qint64 masLento = 0;
    const auto medir = [&masLento](Carpeta& c, const QByteArray& csv) {
        QElapsedTimer reloj;
        reloj.start();
        auto f = Importar(c, csv);
        masLento = qMax(masLento, reloj.elapsed());
        return f;
    };
    {
        // 100,000 fields: the ten first are taken, the rest is one note too long for
        // its field; the contact before stays.
        Carpeta c;
        QByteArray linea = "Luis";
        for (int i = 0; i < 100000; ++i)
            linea += ",x";
        auto f = medir(c, kCabecera + Contacto("Ana") + linea + "\r\n");
        QCOMPARE(c.Titulos(), QStringList({kTituloImportacion}));
        QVERIFY(c.e.dialogos->mensajes[0].texto.contains("Notas"));
        QCOMPARE(c.Nombres(), QStringList({"Ana"}));
        QCOMPARE(f->PasoActual, 9);
    }
    {
        // A header of 100,000 columns imports the contacts under it.
        Carpeta c;
        QByteArray cabecera = "Nombre";
        for (int i = 0; i < 100000; ++i)
            cabecera += ",C" + QByteArray::number(i);
        medir(c, cabecera + "\r\n" + Contacto("Ana"));
        QVERIFY(c.e.dialogos->mensajes.isEmpty());
        QCOMPARE(c.Nombres(), QStringList({"Ana"}));
    }
    {
        // Lines of 1 MB: a name, then an address quoted over five such lines.
        const QByteArray mega(1 << 20, 'm');
        Carpeta c;
        medir(c, kCabecera + Contacto("Ana") + Contacto(mega));
        QVERIFY(c.e.dialogos->mensajes[0].texto.contains("Nombre"));
        QCOMPARE(c.Nombres(), QStringList({"Ana"}));
        Carpeta d;
        QByteArray direccion = "Eva,,\"";
        for (int i = 0; i < 5; ++i)
            direccion += mega + "\r\n";
        medir(d, kCabecera + direccion + "\",,,,,,,,\r\n" + Contacto("Pío"));
        QVERIFY(d.e.dialogos->mensajes[0].texto.contains("Direccion"));
        QCOMPARE(d.Contactos().size(), 0);
    }
    qInfo("slowest of these imports: %lld ms", masLento);
    QVERIFY2(masLento < 15000, qPrintable(QString("%1 ms").arg(masLento)));
}

void TstTrasvoloEntradas::libretaQueNoLoEs_data() {
    QTest::addColumn<int>("caso");
    QTest::addColumn<bool>("copia");      // whether the safety copy is made
    QTest::addColumn<QString>("mensaje"); // a part of the import's message
    QTest::newRow("texto") << 0 << false << "no es una base de datos de la Vemora";
    QTest::newRow("cero bytes") << 1 << false << "está vacío";
    QTest::newRow("SQLite sin contraseña") << 2 << false << "Contraseña";
    QTest::newRow("sin tabla Datos") << 3 << true << "No se encuentra la tabla «Datos»";
    QTest::newRow("sin el campo Url") << 4 << true << "le falta el campo «Url»";
    QTest::newRow("sin el campo Nombre") << 5 << true << "le falta el campo «Nombre»";
    QTest::newRow("bytes al azar") << 6 << false << "no es una base de datos de la Vemora";
    // A damaged address book still opens and shows its first pages: the copy must not
    // replace the last good one with it.
    QTest::newRow("basura en medio") << 7 << false << "está dañado";
    QTest::newRow("cortado") << 8 << false << "está dañado";
}

void TstTrasvoloEntradas::libretaQueNoLoEs() {
    QFETCH(int, caso);
    QFETCH(bool, copia);
    QFETCH(QString, mensaje);
    Carpeta c;
    const QString ruta = c.Ruta("Vemora.dat");
    switch (caso) {
    case 0:
        Escribir(ruta, QByteArray("Nombre,Email\r\nEsto es una libreta de texto\r\n").repeated(50));
        break;
    case 1:
        Escribir(ruta, {});
        break;
    case 2:
        CrearBase(ruta, host::SqlCrearDatos(), false);
        break;
    case 3:
        CrearBase(ruta, "CREATE TABLE Otra (Nombre TEXT)");
        break;
    case 4:
        CrearBase(ruta, SinCampo("Url"));
        break;
    case 5:
        CrearBase(ruta, SinCampo("Nombre"));
        break;
    case 6: {
        QByteArray azar(64 * 1024, '\0');
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(azar.data()), azar.size() / 4);
        Escribir(ruta, azar);
        break;
    }
    default: {
        c.Llenar(300, 300);
        QByteArray bytes = Leer(ruta);
        if (caso == 7)
            bytes.replace(bytes.size() / 2, 3000, Basura(23, 3000));
        else
            bytes.truncate(bytes.size() / 2);
        Escribir(ruta, bytes);
    }
    }
    Escribir(c.Ruta("DatosAnt.bak"), kCopiaAnterior);
    c.Csv(kCabecera + Contacto("Ana"));
    const QByteArray antes = Leer(ruta);
    const QStringList archivos = c.Archivos();

    auto f = Abrir(c);
    IrA(*f, 10);
    QCOMPARE(f->PasoActual, 9);
    const QStringList titulos =
        copia ? QStringList({kTituloImportacion}) : QStringList({kTituloCopia, kTituloImportacion});
    QCOMPARE(c.Titulos(), titulos);
    const QString texto = c.e.dialogos->mensajes.last().texto;
    QVERIFY2(texto.contains(mensaje), qPrintable(texto));
    QVERIFY2(texto.contains(QDir::toNativeSeparators(ruta)), qPrintable(texto));
    // Not a byte of the address book changes, and no file appears beside it.
    QCOMPARE(Leer(ruta), antes);
    QCOMPARE(c.Archivos(), archivos);
    QCOMPARE(Leer(c.Ruta("DatosAnt.bak")), copia ? antes : kCopiaAnterior);
    if (!copia)
        QVERIFY(c.e.dialogos->mensajes[0].texto.contains("No se ha hecho la copia"));

    // The stand-in host started on the same folder reports the file and leaves it alone.
    host::FrmVemora anfitrion(c.dir.path());
    QVERIFY(!anfitrion.Estado().isEmpty());
    QCOMPARE(anfitrion.Tabla()->rowCount(), 0);
    QCOMPARE(Leer(ruta), antes);
}

void TstTrasvoloEntradas::libretaSinPermisoDeEscritura() {
    // A file the wizard may not write. Root writes anything, so the wizard then runs in a
    // process of its own as the unprivileged user "nobody".
    const bool comoRoot = geteuid() == 0;
    // The wizard's messages and its last step; "99" when the user cannot be changed.
    const auto ejecutar = [&](Carpeta& c, QStringList& mensajes) -> QString {
        QProcess proceso;
        proceso.setProgram(TRASVOLO_MOTOR);
        proceso.setArguments({"asistente", c.dir.path()});
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.insert("QT_QPA_PLATFORM", "offscreen");
        entorno.insert("HOME", c.dir.path());
        entorno.remove("XDG_RUNTIME_DIR");
        proceso.setProcessEnvironment(entorno);
        if (comoRoot) {
            proceso.setChildProcessModifier([] {
                if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
                    _exit(99);
            });
        }
        proceso.start();
        if (!proceso.waitForFinished(60000))
            return "no termina";
        if (proceso.exitCode() != 0)
            return QString::number(proceso.exitCode());
        QString paso;
        for (const QString& linea :
             QString::fromUtf8(proceso.readAllStandardOutput()).split('\n')) {
            if (linea.startsWith("mensaje\t"))
                mensajes << linea.mid(8);
            else if (linea.startsWith("paso "))
                paso = linea.mid(5);
        }
        return paso;
    };
    const auto permisos = [](const QString& ruta, mode_t modo) {
        QCOMPARE(::chmod(QFile::encodeName(ruta).constData(), modo), 0);
    };
    {
        // The file read-only in a folder open to everyone: the safety copy is made, the
        // import is refused before it starts.
        Carpeta c;
        c.Agregar(1, "Ana");
        c.Csv(kCabecera + Contacto("Luis"));
        permisos(c.dir.path(), 0777);
        permisos(c.Ruta("Vemora.dat"), 0444);
        const QByteArray antes = Leer(c.Ruta("Vemora.dat"));
        QStringList mensajes;
        const QString paso = ejecutar(c, mensajes);
        if (paso == "99")
            QSKIP("cannot become the user nobody to run the wizard without write permission");
        QCOMPARE(paso, QString("9"));
        QCOMPARE(mensajes.size(), 1);
        QVERIFY2(mensajes[0].startsWith(kTituloImportacion + "\tNo tiene permiso para escribir "
                                                             "en el archivo"),
                 qPrintable(mensajes[0]));
        QCOMPARE(Leer(c.Ruta("Vemora.dat")), antes);
        QCOMPARE(Leer(c.Ruta("DatosAnt.bak")), antes);
        QCOMPARE(c.Archivos(),
                 QStringList({"Datos.csv", "DatosAnt.bak", "Vemora.dat", "Vemora.exe"}));
        permisos(c.dir.path(), 0700);
    }
    {
        // The file writable but the folder not: neither the copy nor the engine's journal
        // can be made there.
        Carpeta c;
        c.Agregar(1, "Ana");
        c.Csv(kCabecera + Contacto("Luis"));
        permisos(c.Ruta("Vemora.dat"), 0666);
        permisos(c.dir.path(), 0555);
        const QByteArray antes = Leer(c.Ruta("Vemora.dat"));
        QStringList mensajes;
        const QString paso = ejecutar(c, mensajes);
        permisos(c.dir.path(), 0700);
        QCOMPARE(paso, QString("9"));
        QCOMPARE(mensajes.size(), 2);
        QVERIFY2(mensajes[0].startsWith(kTituloCopia + "\tNo se puede crear el archivo"),
                 qPrintable(mensajes[0]));
        QVERIFY2(mensajes[1].startsWith(kTituloImportacion + "\tNo tiene permiso para escribir "
                                                             "en la carpeta"),
                 qPrintable(mensajes[1]));
        QCOMPARE(Leer(c.Ruta("Vemora.dat")), antes);
        QCOMPARE(c.Nombres(), QStringList({"Ana"}));
        QCOMPARE(c.Archivos(), QStringList({"Datos.csv", "Vemora.dat", "Vemora.exe"}));
    }
}

QTEST_MAIN(TstTrasvoloEntradas)
#include "tst_trasvolo_entradas.moc"
