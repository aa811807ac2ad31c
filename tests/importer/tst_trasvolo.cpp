#include "Archivos.h"
#include "CarpetaPrueba.h"
#include "FrmVemora.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <limits>

using namespace importer;
using comun::sql::Conexion;

using namespace prueba;

namespace {
QString Pagina(int paso, const QString& ruta) {
    switch (paso) {
    case 0:
        return "Este programa le ayudará paso a paso\ra trasvolo los datos que tiene\ralmacenados "
               "en la libreta de\rdirecciones que utiliza el programa\rde Microsoft OutLook "
               "Express.\r\rSi ocurriera algún error durante el\rproceso de importación de "
               "datos\ro tiene alguna duda consulte la ayuda.\r\rHaga clic en el botón "
               "«Siguiente ->».";
    case 1:
        return "Este programa ha intentado abrir la\r«Libreta de direcciones». Si no se\rha "
               "abierto correctamente hágalo usted\rmismo manualmente siguiendo la ruta:\r\r"
               "Inicio - Programas - Accesorios -\rLibreta de direcciones.\r\rO bién abra el "
               "programa OutLook\rExpress y haga clic en el icono que\rmuestra la libreta de "
               "direcciones.";
    case 2:
        return "Ahora deberá exportar los datos. En la\rlibreta de direcciones acceda al menú:\r\r"
               "Archivo - Exportar - Otra libreta de\rdirecciones...\r\rSeleccione el siguiente "
               "tipo:\rArchivo de texto (valores separados\rpor comas)\r\rHaga clic en el botón "
               "«Exportar».";
    case 3:
        return "Ahora guarde el archivo exportado\rdándole el nombre «Datos» para que\reste "
               "programa pueda convertirlo.\r\rMUY IMPORTANTE: El archivo de texto\rque se va a "
               "exportar debe llamarse\r«Datos» y encontrarse en la misma\rcarpeta que la Vemora "
               "y este asistente.\r\rPara conocer la carpeta que debe\rbuscar haga clic en el "
               "botón\r«Siguiente ->» de esta ventana.";
    case 4:
        return "La Vemora y este asistente están en:\r\r" + ruta +
               "\r\rEn la ventana «Exportar a CSV» haga clic\ren el botón «Examinar». Seleccione "
               "esa\rcarpeta en la ventana «Guardar como».\rNombre de archivo: «Datos». Tipo:\r"
               "«Valores separados por comas (*.csv)».\r\rHaga clic en el botón «Guardar» de\rla "
               "ventana «Guardar como».";
    case 5:
        return "Ahora en la ventana «Exportar a CSV»\raparecerá la ruta y el nombre del archivo\r"
               "debajo de «Guardar el archivo exportado\rexportado como».\r\rHaga clic en el "
               "botón «Siguiente»\rde la ventana «Exportar a CSV». En esta\rnueva sección tendrá "
               "que seleccionar\rsólamente los datos aquí especificados\rPara ver cuáles son "
               "éstos vaya al\rsiguiente paso.";
    case 6:
        return "Nombre (no el que está 1º sino el 4º)\rDirección de correo electrónico\rCalle\r"
               "Ciudad\rCódigo Postal del domicilio\rEstado o provincia del domicilio\rPais o "
               "Región del domicilio\rTeléfono particular\rTeléfono Móvil\rPágina Web personal\r"
               "Notas\r      NO SELECCIONE OTROS DATOS...";
    case 7:
        return "Si selecciona otros datos la conversión\rserá errónea. Seleccione todos los\r"
               "especificados en este asistente\ry desmarque los que no coincidan\rcon los aquí "
               "especificados.\r\rHaga clic en el botón «Finalizar» de\rla ventana «Exportar a "
               "CSV»\r\rHaga clic en el botón «Siguiente ->»\rde esta ventana.";
    case 8:
        return "\rEste asistente creará una copia de\rseguridad de los datos antiguos.\r\rEl "
               "archivo se llamará «DatosAnt.bak»\ry se creará en la misma carpeta\rdonde está "
               "la Vemora.\r\r" +
               ruta + "\r\r           HAGA CLIC EN «Copia SEG».";
    case 9:
        return "Al trasvolo los datos se modificarán\rlos nombres existentes con los nuevos\r"
               "datos importados.\r\rEs decir, si el nombre «Orsimo» existía\ren la Vemora con "
               "unos datos y ese\rmismo nombre existe en la libreta de\rde direcciones con otros "
               "datos, estos\rúltimos serán los que aparecerán en\rla Vemora al final de este "
               "proceso.\r\r           HAGA CLIC EN «TRASVOLO».";
    default:
        return "Los datos de la libreta de direcciones\rse han incluido en la vemora\r\rExamine "
               "los nuevos datos en la vemora\rsi no son correctos puede restaurar la\rúltima "
               "copia de seguridad realizada\rdesde las opciones del programa\rantes de cerrar "
               "la Vemora.\r\rGRACIAS por utilizar mis Programas...\r\rPELLMARK - Programas "
               "para la Vemora";
    }
}

// A press or a release of the left button on `boton`, at `momento` ms of the clock of
// the input events.
void Raton(QWidget* boton, QEvent::Type tipo, quint64 momento) {
    const QPointF centro = boton->rect().center();
    const bool suelto = tipo == QEvent::MouseButtonRelease;
    QMouseEvent evento(tipo, centro, boton->mapToGlobal(centro), Qt::LeftButton,
                       suelto ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    evento.setTimestamp(momento);
    QApplication::sendEvent(boton, &evento);
}

// The system's file layer with failures planted, installed as the default for the
// lifetime of the object. A one-off one: after `escriturasAntes` more writes to a rollback
// journal, the next one fails as a broken disk would. A lasting one: every write that
// would take the database file past `tamanoMaximo` bytes fails as on a full disk.
class DiscoQueFalla {
public:
    explicit DiscoQueFalla() {
        real_ = sqlite3_vfs_find(nullptr);
        vfs_ = *real_;
        vfs_.zName = "disco_que_falla";
        vfs_.szOsFile = Desplazamiento() + int(sizeof(const sqlite3_io_methods*));
        vfs_.xOpen = &DiscoQueFalla::Abrir;
        sqlite3_vfs_register(&vfs_, 1);
    }
    ~DiscoQueFalla() {
        sqlite3_vfs_unregister(&vfs_);
        escriturasAntes = -1;
        tamanoMaximo = -1;
    }
    static inline int escriturasAntes = -1;        // -1: none fails
    static inline sqlite3_int64 tamanoMaximo = -1; // -1: no limit

private:
    static int Desplazamiento() { return (real_->szOsFile + 7) & ~7; }
    static const sqlite3_io_methods*& MetodosReales(sqlite3_file* f) {
        return *reinterpret_cast<const sqlite3_io_methods**>(reinterpret_cast<char*>(f) +
                                                             Desplazamiento());
    }
    static int Abrir(sqlite3_vfs*, const char* nombre, sqlite3_file* f, int flags, int* salida) {
        const int codigo = real_->xOpen(real_, nombre, f, flags, salida);
        if (codigo != SQLITE_OK || !f->pMethods)
            return codigo;
        if (flags & SQLITE_OPEN_MAIN_JOURNAL) {
            MetodosReales(f) = f->pMethods;
            diario_ = *f->pMethods;
            diario_.xWrite = &DiscoQueFalla::EscribirDiario;
            f->pMethods = &diario_;
        } else if (flags & SQLITE_OPEN_MAIN_DB) {
            MetodosReales(f) = f->pMethods;
            datos_ = *f->pMethods;
            datos_.xWrite = &DiscoQueFalla::EscribirDatos;
            f->pMethods = &datos_;
        }
        return codigo;
    }
    static int EscribirDiario(sqlite3_file* f, const void* datos, int n, sqlite3_int64 donde) {
        if (escriturasAntes >= 0 && escriturasAntes-- == 0)
            return SQLITE_IOERR_WRITE;
        return MetodosReales(f)->xWrite(f, datos, n, donde);
    }
    static int EscribirDatos(sqlite3_file* f, const void* datos, int n, sqlite3_int64 donde) {
        if (tamanoMaximo >= 0 && donde + n > tamanoMaximo)
            return SQLITE_FULL;
        return MetodosReales(f)->xWrite(f, datos, n, donde);
    }
    static inline sqlite3_vfs* real_ = nullptr;
    static inline sqlite3_vfs vfs_{};
    static inline sqlite3_io_methods diario_{};
    static inline sqlite3_io_methods datos_{};
};

QString Boton(int paso) {
    return paso <= 7   ? "&Siguiente ->"
           : paso == 8 ? "&Copia Seg."
           : paso == 9 ? "&TRASVOLO"
                       : "&TERMINAR";
}

} // namespace

class TstTrasvolo : public QObject {
    Q_OBJECT
private slots:
    void init() { prueba::FallarConAvisos(); }
    void paginasBotonesYVueltaAtras();
    void libretaEnCadaEntradaAlPaso1();
    void cerrarEnCualquierPasoArrancaLaVemora();
    void introYAyuda();
    void sinAnfitrionNoArranca();
    void copiasDeSeguridad();
    void importacionCasos();
    void importacionCoincidencias();
    void importacionIndice();
    void importacionFallos();
    void anfitrionBloqueaLaBaseDeDatos();
    void accionesDuranteLaImportacion();
};

void TstTrasvolo::paginasBotonesYVueltaAtras() {
    Carpeta c;
    c.Csv(kCabecera);
    auto f = Abrir(c);
    const QString ruta = QDir::toNativeSeparators(c.dir.path()) + QDir::separator();
    QCOMPARE(f->RutaPrograma, ruta);
    const auto comprobar = [&](int paso) {
        QCOMPARE(f->PasoActual, paso);
        QCOMPARE(f->LblDetalles->Caption(), Pagina(paso, ruta));
        QCOMPARE(f->LblEstado->Caption(), QString("Paso %1 de 10...").arg(paso));
        QCOMPARE(f->CmdSiguiente->text(), Boton(paso));
        QCOMPARE(f->CmdAtras->isHidden(), paso == 0);
        QCOMPARE(f->ColorDetalles(), paso == 8 ? 0xFF0000u : 0u);
    };
    comprobar(0);
    for (int paso = 1; paso <= 10; ++paso) {
        f->CmdSiguiente_Click();
        comprobar(paso);
    }
    for (int paso = 9; paso >= 0; --paso) {
        f->CmdAtras_Click();
        comprobar(paso);
    }
    QVERIFY(c.e.dialogos->mensajes.isEmpty());
    QVERIFY(!f->Terminado());
}

void TstTrasvolo::libretaEnCadaEntradaAlPaso1() {
    Carpeta c;
    auto f = Abrir(c);
    QVERIFY(c.e.shell->llamadas.isEmpty());
    f->CmdSiguiente_Click(); // 1
    f->CmdSiguiente_Click(); // 2
    f->CmdAtras_Click();     // 1 again
    QCOMPARE(c.e.shell->llamadas.size(), 2);
    for (const auto& llamada : c.e.shell->llamadas) {
        QCOMPARE(llamada.operacion, QString());
        QCOMPARE(llamada.archivo, QString("wab.exe"));
        QVERIFY(llamada.accion == comun::AccionShell::Iniciar);
        QCOMPARE(llamada.directorio, QString("c:\\"));
    }
}

void TstTrasvolo::cerrarEnCualquierPasoArrancaLaVemora() {
    for (int paso = 0; paso <= 10; ++paso) {
        Carpeta c;
        c.Csv(kCabecera + "Ana,,,,,,,,,,\r\n");
        auto f = Abrir(c);
        IrA(*f, paso);
        if (paso == 10)
            f->CmdSiguiente_Click(); // "&TERMINAR"
        else
            f->close();
        QVERIFY(f->Terminado());
        const auto& ultima = c.e.shell->llamadas.last();
        QCOMPARE(ultima.operacion, QString("open"));
        QCOMPARE(ultima.archivo, f->RutaPrograma + "Vemora.exe");
        QCOMPARE(c.Contactos().size(), paso == 10 ? 1 : 0);
        f->CmdSiguiente_Click(); // an ended wizard does nothing more
        QCOMPARE(c.e.shell->llamadas.last().archivo, ultima.archivo);
    }
}

void TstTrasvolo::introYAyuda() {
    Carpeta c;
    auto f = Abrir(c);
    f->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.get()));
    QTest::keyClick(f.get(), Qt::Key_Return);
    QCOMPARE(f->PasoActual, 1);
    f->CmdAtras->setFocus();
    QTest::keyClick(f->CmdAtras, Qt::Key_Enter); // Enter presses Next, not the focused Back
    QCOMPARE(f->PasoActual, 2);

    QVERIFY(f->ImgSel->isHidden());
    QTest::mouseMove(f->ImgAyuda, f->ImgAyuda->rect().center());
    QTRY_VERIFY(f->ImgSel->isVisible());
    QTest::mouseMove(f.get(), QPoint(200, 40));
    QTRY_VERIFY(f->ImgSel->isHidden());
    QTest::mouseClick(f->ImgAyuda, Qt::LeftButton);
    const QString pagina = f->RutaPrograma + QDir::toNativeSeparators("Ayuda/Trasvolo.htm");
    QCOMPARE(c.e.shell->llamadas.last().archivo, pagina);
    QCOMPARE(f->ImgAyuda->toolTip(), QString("Mostrar AYUDA..."));
}

void TstTrasvolo::sinAnfitrionNoArranca() {
    Carpeta c;
    QFile::remove(c.Ruta("Vemora.exe"));
    QVERIFY(!Abrir(c));
    QCOMPARE(c.Titulos(), QStringList({"Imposible abrir el programa."}));
    QVERIFY(c.e.shell->llamadas.isEmpty());
}

void TstTrasvolo::copiasDeSeguridad() {
    Carpeta c;
    auto f = Abrir(c);
    IrA(*f, 9);
    QCOMPARE(Leer(c.Ruta("DatosAnt.bak")), Leer(c.Ruta("Vemora.dat")));
    // 9 -> 8 -> 9 copies again, over the first copy; 10 -> 9 makes no copy.
    c.Agregar(1, "Nuevo");
    f->CmdAtras_Click();
    f->CmdSiguiente_Click();
    QCOMPARE(Leer(c.Ruta("DatosAnt.bak")), Leer(c.Ruta("Vemora.dat")));
    QCOMPARE(QDir(c.dir.path()).entryList({"DatosAnt.bak*"}, QDir::Files | QDir::Hidden).size(), 1);
    c.Csv(kCabecera);
    f->CmdSiguiente_Click();
    c.Agregar(2, "Otro");
    f->CmdAtras_Click();
    QVERIFY(Leer(c.Ruta("DatosAnt.bak")) != Leer(c.Ruta("Vemora.dat")));
    QVERIFY(c.e.dialogos->mensajes.isEmpty());

    // The copy holds the whole address book: an old copy open to everyone does not make
    // the new one readable by more people than the database.
    const auto soloDueno = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QVERIFY(QFile::setPermissions(c.Ruta("Vemora.dat"), soloDueno));
    QVERIFY(QFile::setPermissions(c.Ruta("DatosAnt.bak"),
                                  soloDueno | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    f->CmdAtras_Click();
    f->CmdSiguiente_Click();
    QCOMPARE(Leer(c.Ruta("DatosAnt.bak")), Leer(c.Ruta("Vemora.dat")));
    const auto delUsuario = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
    QCOMPARE(QFile::permissions(c.Ruta("DatosAnt.bak")) & ~delUsuario, soloDueno);
    // A disk that fills during the copy is named as such.
    if (QFileInfo::exists("/dev/full")) {
        QFile origen(c.Ruta("Vemora.dat"));
        QVERIFY(origen.open(QIODevice::ReadOnly));
        QCOMPARE(CopiarDatos(origen, "/dev/full", c.Ruta("DatosAnt.bak")),
                 QString("El disco está lleno."));
    }

    // Without Vemora.dat: the message, the old copy untouched, and Next reads TRASVOLO.
    // Both messages tell how to get an address book.
    const QByteArray anterior = Leer(c.Ruta("DatosAnt.bak"));
    QFile::remove(c.Ruta("Vemora.dat"));
    f->CmdAtras_Click();
    f->CmdSiguiente_Click();
    QCOMPARE(c.Titulos(), QStringList({"ERROR AL GENERAR COPIA SEG."}));
    QCOMPARE(f->CmdSiguiente->text(), QString("&TRASVOLO"));
    QCOMPARE(Leer(c.Ruta("DatosAnt.bak")), anterior);
    f->CmdSiguiente_Click();
    QCOMPARE(c.Titulos(), QStringList({"ERROR AL GENERAR COPIA SEG.", "ERROR AL TRASVOLO DATOS."}));
    for (const auto& mensaje : c.e.dialogos->mensajes)
        QVERIFY2(mensaje.texto.contains(QDir::toNativeSeparators(c.Ruta("Vemora.dat"))) &&
                     mensaje.texto.contains("Inicie la Vemora una vez"),
                 qPrintable(mensaje.texto));
}

void TstTrasvolo::importacionCasos() {
    Carpeta c;
    // Windows-1252 bytes, a quoted two-line address, empty address parts, quoted notes
    // (stored as typed, without the export's quoting).
    auto f = Importar(c, kCabecera + "\"Pe\xf1"
                                     "a, Luis\",l@x,\"Calle 1\r\nPiso 2\",Le\xf3n,24001,"
                                     "Le\xf3n,Espa\xf1"
                                     "a,1,2,http://w,\"Nota, \"\"cita\"\"\"\r\n"
                                     "Solo Calle,,Mayor 3,,,,,,,,\r\n");
    QCOMPARE(f->PasoActual, 10);
    QCOMPARE(f->LblEstado->Caption(), QString("Datos: 2 de 2"));
    QCOMPARE(f->CmdSiguiente->text(), QString("&TERMINAR"));
    const auto lista = c.Contactos();
    QCOMPARE(lista.size(), 2);
    QCOMPARE(lista[0].Nombre, QString("Peña, Luis"));
    QCOMPARE(lista[0].Direccion, QString("Calle 1 Piso 2\r\nLeón\r\n24001\r\nLeón\r\nEspaña"));
    QCOMPARE(lista[0].Url, QString("http://w"));
    QCOMPARE(lista[0].Notas, QString("Nota, \"cita\""));
    QCOMPARE(lista[0].Grupo, QString("General")); // the host's own fields get their defaults
    QCOMPARE(lista[1].Direccion, QString("Mayor 3\r\n\r\n\r\n\r\n"));
    QCOMPARE(lista[1].Email, QString("?"));
    QCOMPARE(lista[1].Notas, QString("?"));

    // Header only: nothing imported, the page of step 10 all the same.
    Carpeta vacia;
    f = Importar(vacia, kCabecera);
    QCOMPARE(f->PasoActual, 10);
    QCOMPARE(f->LblEstado->Caption(), QString("Paso 10 de 10..."));
    QCOMPARE(f->CmdSiguiente->text(), QString("&TERMINAR"));
    QVERIFY(vacia.Contactos().isEmpty());

    // Semicolons, and a UTF-8 file with its byte-order mark.
    Carpeta puntoYComa;
    f = Importar(puntoYComa, "\xEF\xBB\xBFNombre;Email;a;b;c;d;e;f;g;h;i\r\n"
                             "Zo\xC3\xAB, la de Girona;z@x;;;;;;;;;nota;con;puntos\r\n");
    QCOMPARE(puntoYComa.Nombres(), QStringList({"Zoë, la de Girona"}));
    QCOMPARE(puntoYComa.Contactos()[0].Notas, QString("nota;con;puntos"));
}

void TstTrasvolo::importacionCoincidencias() {
    Carpeta c;
    c.Agregar(1, "JOSÉ ÁLVAREZ", "viejo");
    c.Agregar(2, "Doble", "primero");
    c.Agregar(3, "DOBLE", "segundo");
    const QByteArray csv = kCabecera + "jos\xe9 \xe1lvarez,nuevo,,,,,,,,,\r\n"
                                       "doble,cambiado,,,,,,,,,\r\n"
                                       ",sin nombre,,,,,,,,,\r\n";
    auto f = Importar(c, csv);
    auto lista = c.Contactos();
    QCOMPARE(lista.size(), 4);
    QCOMPARE(lista[0].Nombre, QString("josé álvarez")); // edited in place
    QCOMPARE(lista[0].Email, QString("nuevo"));
    QCOMPARE(lista[0].Indice, 1);
    QCOMPARE(lista[0].Grupo, QString("Familia")); // the host's own field is kept
    QCOMPARE(lista[1].Email, QString("cambiado"));
    QCOMPARE(lista[2].Email, QString("segundo"));
    QCOMPARE(lista[3].Nombre, QString("?"));

    // Back to 9 and Next repeats the import: the empty name is added once more.
    f->CmdAtras_Click();
    f->CmdSiguiente_Click();
    QCOMPARE(f->PasoActual, 10);
    QCOMPARE(c.Nombres(), QStringList({"josé álvarez", "doble", "DOBLE", "?", "?"}));

    // Within one file the last line of a name wins, over a record the file itself added.
    Carpeta d;
    Importar(d, kCabecera + "Eva,1,,,,,,,,,\r\nEVA,2,,,,,,,,,\r\n");
    QCOMPARE(d.Contactos().size(), 1);
    QCOMPARE(d.Contactos()[0].Email, QString("2"));
}

void TstTrasvolo::importacionIndice() {
    Carpeta c;
    c.Agregar(50, "Alto");
    c.Agregar(7, "Bajo"); // last in stored order, not the largest
    Importar(c, kCabecera + "Nuevo,,,,,,,,,,\r\nOtro,,,,,,,,,,\r\n");
    auto lista = c.Contactos();
    QCOMPARE(lista[2].Indice, 8);
    QCOMPARE(lista[3].Indice, 9);
    Carpeta vacia;
    Importar(vacia, kCabecera + "Primero,,,,,,,,,,\r\n");
    QCOMPARE(vacia.Contactos()[0].Indice, 1);

    Carpeta tope;
    tope.Agregar(2147483647, "Tope");
    auto f = Importar(tope, kCabecera + "Mas,,,,,,,,,,\r\n");
    QCOMPARE(tope.Titulos(), QStringList({"ERROR AL TRASVOLO DATOS."}));
    QCOMPARE(f->PasoActual, 9);
    QCOMPARE(tope.Contactos().size(), 1);
}

void TstTrasvolo::importacionFallos() {
    const auto comprobarFallo = [](Carpeta& c, FrmMain& f, const QString& enTexto) {
        QCOMPARE(c.Titulos(), QStringList({"ERROR AL TRASVOLO DATOS."}));
        QVERIFY2(c.e.dialogos->mensajes[0].texto.contains(enTexto),
                 qPrintable(c.e.dialogos->mensajes[0].texto));
        QCOMPARE(f.PasoActual, 9);
        QCOMPARE(f.LblEstado->Caption(), QString("Paso 9 de 10..."));
        QCOMPARE(f.CmdSiguiente->text(), QString("&TRASVOLO"));
        QCOMPARE(f.LblDetalles->Caption(), Pagina(9, f.RutaPrograma));
        // Both files were given back: the host can take the database at once.
        host::FrmVemora anfitrion(c.dir.path());
        QVERIFY2(anfitrion.Abierta(), qPrintable(anfitrion.Estado()));
    };
    {
        // A blank line stops the import there; the contacts before it stay.
        Carpeta c;
        auto f =
            Importar(c, kCabecera + "Uno,,,,,,,,,,\r\nDos,,,,,,,,,,\r\n\r\nTres,,,,,,,,,,\r\n");
        comprobarFallo(c, *f, "contacto 3");
        QCOMPARE(c.Nombres(), QStringList({"Uno", "Dos"}));
    }
    {
        // A value too long for its field: the contact is dropped, the one before stays.
        Carpeta c;
        auto f =
            Importar(c, kCabecera + "Uno,,,,,,,,,,\r\n" + QByteArray(101, 'x') + ",,,,,,,,,,\r\n");
        comprobarFallo(c, *f, "Nombre");
        QCOMPARE(c.Nombres(), QStringList({"Uno"}));
    }
    {
        Carpeta c;
        auto f = Abrir(c);
        IrA(*f, 10);
        comprobarFallo(c, *f, "Datos.csv");
    }
    // Back pressed while the import runs, down to step 9, 8, 1 or 0: its failure
    // returns to step 9 all the same, Back shown, with no safety copy made on the way.
    for (int atras : {1, 2, 9, 10}) {
        Carpeta c;
        auto f = AntesDeImportar(
            c, kCabecera + "Uno,,,,,,,,,,\r\nDos,,,,,,,,,,\r\n\r\nTres,,,,,,,,,,\r\n",
            [&](FrmMain& w, int turno) {
                if (turno == 2)
                    for (int n = 0; n < atras; ++n)
                        w.CmdAtras_Click();
            });
        const QByteArray copia = Leer(c.Ruta("DatosAnt.bak"));
        f->CmdSiguiente_Click();
        comprobarFallo(c, *f, "contacto 3");
        QVERIFY(!f->CmdAtras->isHidden());
        QCOMPARE(Leer(c.Ruta("DatosAnt.bak")), copia);
        QCOMPARE(c.Nombres(), QStringList({"Uno", "Dos"}));
    }
    for (const bool duradero : {false, true}) {
        // A disk failure makes the engine give up the whole batch, not only the contact in
        // progress: the contacts before the failing one are kept all the same. A one-off
        // failure strikes a journal write halfway through the batch (each update touches
        // another page of the table, so journal writes go on); a lasting one, a full disk,
        // strikes the commit and every commit after it that needs more room.
        Carpeta c;
        c.Llenar(300, 300);
        QByteArray csv = kCabecera;
        const auto nombre = [](int j) {
            return j % 2 ? QString("previo %1").arg(3 * j) : QString("Nuevo %1").arg(j);
        };
        for (int j = 1; j <= 100; ++j)
            csv += nombre(j).toUtf8() + ",c" + QByteArray::number(j) + ",,,,,,,,," +
                   QByteArray(1000, 'n') + "\r\n";
        c.Csv(csv);
        const ArchivoContactos archivo = LeerArchivoContactos(c.Ruta("Datos.csv"));
        const qint64 tamano = QFileInfo(c.Ruta("Vemora.dat")).size();
        DiscoQueFalla falla;
        qsizetype fallido = 0;
        AvisosImportacion avisos;
        avisos.intervaloMs = std::numeric_limits<int>::max(); // one batch
        avisos.progreso = [&](qsizetype k, qsizetype) {
            if (k == 1 && duradero)
                DiscoQueFalla::tamanoMaximo = tamano + 40 * 1024;
            else if (k == 1)
                DiscoQueFalla::escriturasAntes = 60;
            fallido = k;
        };
        const QString error = ImportarContactos(archivo, c.Ruta("Vemora.dat"), avisos);
        DiscoQueFalla::escriturasAntes = -1;
        DiscoQueFalla::tamanoMaximo = -1;
        QVERIFY2(!error.isEmpty() && fallido > 5 && fallido < 100,
                 qPrintable(QString("%1 at contact %2").arg(error).arg(fallido)));
        if (duradero)
            QCOMPARE(error, QString("El disco está lleno."));
        QHash<QString, QString> correos;
        for (const auto& r : c.Contactos())
            correos.insert(r.Nombre.toUpper(), r.Email);
        QCOMPARE(correos.size(), 300 + int(fallido - 1) / 2);
        for (int j = 1; j <= 100; ++j) {
            const auto r = correos.constFind(nombre(j).toUpper());
            if (j < fallido)
                QVERIFY2(r != correos.constEnd() && *r == QString("c%1").arg(j),
                         qPrintable(nombre(j)));
            else
                QVERIFY(r == correos.constEnd() || *r != QString("c%1").arg(j));
        }
    }
    {
        // Another password.
        Carpeta c;
        QFile::remove(c.Ruta("Vemora.dat"));
        Conexion otra;
        QVERIFY(otra.Abrir(c.Ruta("Vemora.dat"), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE));
        QVERIFY(otra.Ejecutar("PRAGMA key = 'otra'") && otra.Ejecutar(host::SqlCrearDatos()));
        otra.Cerrar();
        // The copy is refused too: it would replace an older good copy with a file the
        // import cannot use either.
        auto f = Importar(c, kCabecera + "Uno,,,,,,,,,,\r\n");
        QCOMPARE(c.Titulos(),
                 QStringList({"ERROR AL GENERAR COPIA SEG.", "ERROR AL TRASVOLO DATOS."}));
        QVERIFY(c.e.dialogos->mensajes[1].texto.contains("Contraseña"));
        QVERIFY(!QFile::exists(c.Ruta("DatosAnt.bak")));
        QCOMPARE(f->PasoActual, 9);
    }
}

void TstTrasvolo::anfitrionBloqueaLaBaseDeDatos() {
    Carpeta c;
    c.Agregar(1, "Ana");
    c.Csv(kCabecera + "Luis,,,,,,,,,,\r\n");
    auto anfitrion = std::make_unique<host::FrmVemora>(c.dir.path());
    QVERIFY(anfitrion->Abierta());
    QCOMPARE(anfitrion->Tabla()->rowCount(), 1);
    QCOMPARE(anfitrion->Tabla()->item(0, 1)->text(), QString("Ana"));

    auto f = Abrir(c);
    IrA(*f, 10);
    QCOMPARE(c.Titulos(), QStringList({"ERROR AL GENERAR COPIA SEG.", "ERROR AL TRASVOLO DATOS."}));
    QVERIFY(c.e.dialogos->mensajes[1].texto.contains("en uso"));
    QCOMPARE(f->PasoActual, 9);
    QVERIFY(!QFile::exists(c.Ruta("DatosAnt.bak")));

    anfitrion.reset(); // the host ends
    f->CmdSiguiente_Click();
    QCOMPARE(f->PasoActual, 10);
    QCOMPARE(c.Nombres(), QStringList({"Ana", "Luis"}));

    // A host started on a folder without an address book makes an empty one.
    QFile::remove(c.Ruta("Vemora.dat"));
    host::FrmVemora nuevo(c.dir.path());
    QVERIFY(nuevo.Abierta());
    QCOMPARE(nuevo.Tabla()->rowCount(), 0);
}

void TstTrasvolo::accionesDuranteLaImportacion() {
    QByteArray csv = kCabecera;
    for (int i = 1; i <= 5; ++i)
        csv += "Contacto " + QByteArray::number(i) + ",,,,,,,,,,\r\n";
    // Before the wizard ends, the user reads how much of the file is in.
    const auto comprobarAviso = [](Carpeta& c, FrmMain& f, int incluidos) {
        QVERIFY(f.Terminado());
        QCOMPARE(c.Titulos(), QStringList({"TRASVOLO INTERRUMPIDO."}));
        const comun::Mensaje& aviso = c.e.dialogos->mensajes[0];
        QCOMPARE(aviso.tipo, comun::TipoMensaje::Informacion);
        const QString cuantos = QString("Se han incluido en la Vemora %1 de los 5").arg(incluidos);
        QVERIFY2(aviso.texto.startsWith(cuantos), qPrintable(aviso.texto));
        QCOMPARE(c.e.shell->llamadas.last().archivo, f.RutaPrograma + "Vemora.exe");
        QCOMPARE(c.Nombres().size(), incluidos);
    };
    for (const QString como : {"cerrar", "TRASVOLO", "Intro"}) {
        // Ending at the third turn of the event loop keeps the two contacts read before.
        Carpeta c;
        auto f = AntesDeImportar(c, csv, [&](FrmMain& w, int turno) {
            if (turno != 3)
                return;
            if (como == "cerrar")
                w.close();
            else if (como == "TRASVOLO")
                w.CmdSiguiente->click();
            else
                QTest::keyClick(&w, Qt::Key_Return);
        });
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.get()));
        // The box comes while the wizard is still there, before the host is started.
        c.e.dialogos->alMostrar = [&](const comun::Mensaje&) {
            QVERIFY(f->isVisible());
            QCOMPARE(c.e.shell->llamadas.last().archivo, QString("wab.exe"));
        };
        f->CmdSiguiente_Click();
        comprobarAviso(c, *f, 2);
        QVERIFY(c.e.shell->llamadas.last().accion == comun::AccionShell::Iniciar);
        QCOMPARE(c.Nombres(), QStringList({"Contacto 1", "Contacto 2"}));
        QVERIFY(!f->isVisible());
    }
    {
        // Back while it runs: the import goes on to the end, step 10 shows no page.
        Carpeta c;
        auto f = AntesDeImportar(c, csv, [&](FrmMain& w, int turno) {
            if (turno == 2) {
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot read Vemora.dat"));
                QCOMPARE(c.Contactos().size(), 0); // held exclusively meanwhile
                w.CmdAtras_Click();
            }
        });
        f->CmdSiguiente_Click();
        QCOMPARE(c.Contactos().size(), 5);
        QCOMPARE(f->PasoActual, 9);
        QCOMPARE(f->CmdSiguiente->text(), QString("&TRASVOLO"));
        QCOMPARE(f->LblDetalles->Caption(), Pagina(9, f->RutaPrograma));
        QCOMPARE(f->LblEstado->Caption(), QString("Datos: 5 de 5"));
        QVERIFY(c.e.dialogos->mensajes.isEmpty());
    }
    {
        // Back to 8 and Next twice while it runs: no safety copy of the database the
        // import holds, and the user is told so; no second import; the running one ends
        // and shows step 10.
        Carpeta c;
        auto f = AntesDeImportar(c, csv, [](FrmMain& w, int turno) {
            if (turno == 2) {
                w.CmdAtras_Click();
                w.CmdAtras_Click();
                w.CmdSiguiente_Click();
                w.CmdSiguiente_Click();
            }
        });
        const QByteArray copia = Leer(c.Ruta("DatosAnt.bak"));
        f->CmdSiguiente_Click();
        QCOMPARE(c.Titulos(), QStringList({"ERROR AL GENERAR COPIA SEG."}));
        QVERIFY(c.e.dialogos->mensajes[0].texto.contains("todavía está en marcha"));
        QCOMPARE(c.Nombres(), QStringList({"Contacto 1", "Contacto 2", "Contacto 3", "Contacto 4",
                                           "Contacto 5"}));
        QCOMPARE(Leer(c.Ruta("DatosAnt.bak")), copia);
        QCOMPARE(f->PasoActual, 10);
        QCOMPARE(f->CmdSiguiente->text(), QString("&TERMINAR"));
        QCOMPARE(f->LblDetalles->Caption(), Pagina(10, f->RutaPrograma));
        QVERIFY(!f->Terminado());
    }
    {
        // A double click on TRASVOLO: its second press is handled at the first turn, after
        // an opening of the database longer than a double click, and is still part of
        // the same request; a press after the double-click interval ends the wizard.
        Carpeta c;
        c.Csv(csv);
        auto f = Abrir(c);
        IrA(*f, 9);
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.get()));
        f->intervaloEventosMs = 0;
        const quint64 doble = QApplication::doubleClickInterval();
        int turnos = 0;
        f->procesarEventos = [&] {
            ++turnos;
            if (turnos == 1) {
                QTest::qSleep(int(doble) + 50); // the slow opening
                Raton(f->CmdSiguiente, QEvent::MouseButtonDblClick, 1000 + doble / 2);
                Raton(f->CmdSiguiente, QEvent::MouseButtonRelease, 1000 + doble / 2 + 10);
            }
            if (turnos == 3) {
                Raton(f->CmdSiguiente, QEvent::MouseButtonPress, 1000 + 2 * doble);
                Raton(f->CmdSiguiente, QEvent::MouseButtonRelease, 1000 + 2 * doble + 10);
            }
        };
        Raton(f->CmdSiguiente, QEvent::MouseButtonPress, 1000 - 100);
        Raton(f->CmdSiguiente, QEvent::MouseButtonRelease, 1000);
        comprobarAviso(c, *f, 2);
    }
}

QTEST_MAIN(TstTrasvolo)
#include "tst_trasvolo.moc"
