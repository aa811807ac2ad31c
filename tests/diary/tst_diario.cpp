#include "AlmacenTareas.h"
#include "Archivos.h"
#include "Diario.h"
#include "FrmCalendario.h"
#include "FrmMain.h"
#include "Grabadoras.h"

#include "Ini.h"

#include <QCalendarWidget>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QResource>
#include <QTemporaryDir>
#include <QtTest>

using namespace diary;

namespace {

const QDate kHoy = prueba::kHoyDiario;

// A temporary application folder with the host present, a settings text and tasks.
struct Banco {
    QTemporaryDir dir;
    comun::EntornoGrabado e;
    std::unique_ptr<FrmMain> frm;

    explicit Banco(const QByteArray& ini = {}, const QList<QStringList>& tareas = {}) {
        QFile(dir.filePath("Vemora.exe")).open(QIODevice::WriteOnly);
        if (!ini.isEmpty()) {
            QFile f(dir.filePath("Vemora.INI"));
            f.open(QIODevice::WriteOnly);
            f.write(ini);
        }
        if (!tareas.isEmpty()) {
            const QString ruta = dir.filePath("Rendalio.dat");
            AlmacenTareas::CrearAlmacen(ruta);
            AlmacenTareas a;
            a.AbrirAlmacen(ruta);
            for (const QStringList& t : tareas) { // fecha, referencia[, descripción]
                a.Anadir();
                a.EscribirYConfirmar(t[0], t.value(2, "d " + t[1]), t[1]);
            }
        }
        e = comun::CrearEntornoGrabado(dir.path(), kHoy);
    }
    bool Arrancar() { return prueba::ArrancarDiario(frm, e.entorno); }
    QString Ruta(const char* nombre) const { return dir.filePath(nombre); }
    QString Ini(const char* seccion, const char* clave) {
        comun::ArchivoIni ini(Ruta("Vemora.INI"));
        return ini.LeerIni(seccion, clave, "(falta)");
    }
    QStringList Sonidos() {
        QStringList nombres;
        for (const QString& r : e.sonidos->rutas)
            nombres << QFileInfo(r).fileName();
        e.sonidos->rutas.clear();
        return nombres;
    }
    QStringList Lineas() const {
        QStringList l;
        for (int i = 0; i < frm->ListTareas->count(); ++i)
            l << frm->ListTareas->item(i)->text();
        return l;
    }
    // A click where a person would click: on the widget under the zone's centre.
    void Clic(int zona) {
        QWidget* z = frm->ImgMenu[zona];
        const QPoint centro = z->mapTo(frm.get(), z->rect().center());
        QWidget* bajo = frm->childAt(centro);
        QVERIFY(bajo);
        QTest::mouseClick(bajo, Qt::LeftButton, {}, bajo->mapFrom(frm.get(), centro));
    }
    // A double click as the window system delivers it: the second press comes as a
    // double-click event between the two clicks' presses and releases.
    void DobleClic(int zona) {
        QWidget* z = frm->ImgMenu[zona];
        const QPoint centro = z->mapTo(frm.get(), z->rect().center());
        QWidget* bajo = frm->childAt(centro);
        QVERIFY(bajo);
        const QPoint p = bajo->mapFrom(frm.get(), centro);
        QTest::mousePress(bajo, Qt::LeftButton, {}, p);
        QTest::mouseRelease(bajo, Qt::LeftButton, {}, p);
        QTest::mouseDClick(bajo, Qt::LeftButton, {}, p);
        QTest::mouseRelease(bajo, Qt::LeftButton, {}, p);
    }
    // The pointer moved to a point of the window; the window system delivers it.
    void Mover(QPoint p) {
        QTest::mouseMove(frm.get(), p);
        QCoreApplication::processEvents();
    }
    void MoverAZona(int zona, int dx = 0) {
        QWidget* z = frm->ImgMenu[zona];
        Mover(z->mapTo(frm.get(), z->rect().center() + QPoint(dx, 0)));
    }
    void Fondo() { Mover(QPoint(300, 25)); } // bare background, top of the window
    void Escribir(int caja, const QString& texto) {
        QWidget* w =
            caja == 1 ? static_cast<QWidget*>(frm->TextBox1) : static_cast<QWidget*>(frm->TextBox2);
        QTest::keyClicks(w, texto);
    }
    QList<QStringList> Filas() {
        comun::sql::Conexion db;
        db.Abrir(Ruta("Rendalio.dat"), SQLITE_OPEN_READONLY);
        auto s = db.Preparar("SELECT Indice, Fecha, Descripcion, Tarea FROM TblDatos ORDER BY 1");
        QList<QStringList> filas;
        while (s.Fila())
            filas << QStringList{s.Texto(0), s.Texto(1), s.Texto(2), s.Texto(3)};
        return filas;
    }
};

// Today as the diary writes it, and as the system's short format (which stores written
// before hold) has it.
QString Hoy() {
    return QStringLiteral("06/12/2026");
}
QString HoyAnterior() {
    return QStringLiteral("6/12/26");
}

} // namespace

class TstDiario : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prueba::LocaleDelDiario(); }
    void init() { prueba::FallarConAvisos(); }

    void arranqueSinTareas() {
        Banco b;
        QVERIFY(b.Arrancar());
        QVERIFY(QFile::exists(b.Ruta("Rendalio.dat")));
        QCOMPARE(b.frm->windowTitle(), "Tareas a recordar... Hoy es: " + Hoy());
        QCOMPARE(b.frm->LblInfo->Caption(), QString("Tareas totales:\r0"));
        QCOMPARE(b.frm->LblFecha->Caption(), Hoy());
        QVERIFY(b.frm->TextBox1->toPlainText().isEmpty());
        QVERIFY(!b.frm->Editando());
        QCOMPARE(b.frm->pos(), QPoint(22, 22));
        QCOMPARE(b.frm->Calendario()->pos(), QPoint(429, 22));
        QCOMPARE(b.frm->Calendario()->Calendario->selectedDate(), kHoy);
        // The hand over every hot zone, panels included, from the first paint on.
        for (QWidget* zona : b.frm->ImgMenu)
            QCOMPARE(zona->cursor().shape(), Qt::BitmapCursor);
        // Empty table: waste bin, previous and next do nothing and play nothing.
        for (int zona : {0, 3, 4})
            b.Clic(zona);
        QVERIFY(b.Sonidos().isEmpty());
        QVERIFY(b.frm->PicConfirma->isHidden());
        QVERIFY(!QFile::exists(b.Ruta("Vemora.INI"))); // nothing written before shut-down
        // A second diary ends silently.
        FrmMain segundo(b.e.entorno);
        QVERIFY(!segundo.Form_Load());
        QVERIFY(b.e.dialogos->mensajes.isEmpty());
    }

    // The background compiled in at ratios 1 and 2, and the icon at its three sizes, are
    // the artwork as drawn at run time: a changed window, colour or drawing shows here.
    void arteCompiladoIgualAlDibujado() {
        Banco b;
        QVERIFY(b.Arrancar());
        for (const qreal proporcion : {1.0, 2.0}) {
            const QImage compilado = FondoCompilado(b.frm->size(), proporcion);
            const QImage dibujado = PintarArteOpaco(QStringLiteral("fondo.svg"), b.frm->size(),
                                                    proporcion, kColorFondo);
            QVERIFY(!compilado.isNull());
            QVERIFY(!dibujado.isNull());
            QCOMPARE(compilado.devicePixelRatio(), proporcion);
            QCOMPARE(compilado, dibujado);
            // Packed, and unpacked without a second copy.
            QCOMPARE(QResource(QStringLiteral(":/diary/pintado/fondo@%1x.rgb32").arg(proporcion))
                         .compressionAlgorithm(),
                     QResource::ZlibCompression);
        }
        const QIcon dibujado = IconoDiarioDibujado();
        for (const int lado : kLadosIcono) {
            const QImage compilado =
                comun::ImagenCompilada(QStringLiteral(":/diary/pintado/icono%1.argb32").arg(lado),
                                       QSize(lado, lado), QImage::Format_ARGB32_Premultiplied);
            QVERIFY(!compilado.isNull());
            QCOMPARE(compilado, dibujado.pixmap(QSize(lado, lado)).toImage());
            QCOMPARE(IconoDiario().pixmap(QSize(lado, lado)).toImage(), compilado);
        }
    }

    void arranqueMuestraLaTareaDeHoy_data() {
        QTest::addColumn<QString>("hoy");
        QTest::newRow("today as the diary writes it") << Hoy();
        QTest::newRow("today as earlier stores wrote it") << HoyAnterior();
    }

    void arranqueMuestraLaTareaDeHoy() {
        QFETCH(QString, hoy);
        {
            Banco b({}, {{"01/01/2026", "antes"}, {hoy, "hoy"}, {"9/9/27", "luego"}});
            QVERIFY(b.Arrancar());
            QCOMPARE(b.frm->TextBox2->text(), QString("hoy"));
            QCOMPARE(b.frm->LblInfo->Caption(), QString("Tareas totales:\r3"));
            QCOMPARE(b.frm->ListTareas->currentItem()->text(), hoy + " - hoy");
        }
        Banco b({}, {{"9/9/27", "luego"}, {"01/01/2026", "antes"}});
        QVERIFY(b.Arrancar());
        QCOMPARE(b.frm->TextBox2->text(), QString("antes")); // the first line of the list
        QCOMPARE(b.frm->LblFecha->Caption(), QString("01/01/2026"));
        QVERIFY(!b.frm->Editando());
        // The calendar, opened on today, follows the task shown and hands the focus back.
        QTRY_COMPARE(b.frm->Calendario()->Calendario->selectedDate(), QDate(2026, 1, 1));
        QTRY_VERIFY(b.frm->isActiveWindow());
        QTest::qWait(50);
        QCOMPARE(b.frm->TextBox2->text(), QString("antes"));
        QVERIFY(!b.frm->Editando());
    }

    // Closing with a task typed and not saved asks whether to save it; whatever the
    // answer, a window that closes writes the six places and nothing else.
    // Dates are written in the locale's order with a two-digit day and month and a
    // four-digit year; the system's short form, which stores written before hold, is
    // read as the same day (not in the 1900s).
    void fechasEnElOrdenDelIdioma_data() {
        QTest::addColumn<QString>("idioma");
        QTest::addColumn<QDate>("fecha");
        QTest::addColumn<QString>("escrita");
        QTest::addColumn<QString>("anterior");
        QTest::newRow("es_ES") << "es_ES" << QDate(2026, 12, 8) << "08/12/2026"
                               << "8/12/26";
        QTest::newRow("es_ES, 29 February") << "es_ES" << QDate(2028, 2, 29) << "29/02/2028"
                                            << "29/2/28";
        QTest::newRow("en_US") << "en_US" << QDate(2026, 12, 8) << "12/08/2026"
                               << "12/8/26";
        QTest::newRow("de_DE") << "de_DE" << QDate(2026, 1, 5) << "05.01.2026"
                               << "05.01.26";
        QTest::newRow("ja_JP") << "ja_JP" << QDate(2026, 1, 5) << "2026/01/05"
                               << "2026/01/05";
    }

    void fechasEnElOrdenDelIdioma() {
        QFETCH(QString, idioma);
        QFETCH(QDate, fecha);
        QFETCH(QString, escrita);
        QFETCH(QString, anterior);
        QLocale::setDefault(QLocale(idioma));
        const auto volver = qScopeGuard([] { prueba::LocaleDelDiario(); });
        QCOMPARE(TextoFecha(fecha), escrita);
        QCOMPARE(TextoFechaAnterior(fecha), anterior);
        for (const QString& texto : {escrita, anterior}) {
            QCOMPARE(LeerFechaTexto(texto, kHoy), std::optional<QDate>(fecha));
            const QStringList formas = FormasDeFecha(texto, kHoy);
            QCOMPARE(QSet<QString>(formas.begin(), formas.end()),
                     QSet<QString>({escrita, anterior}));
        }
        QCOMPARE(FormasDeFecha("MAÑANA", kHoy), QStringList{"MAÑANA"});
    }

    void cierreEscribeLasSeisClaves_data() {
        QTest::addColumn<bool>("nueva");      // a new task, else the shown one changed
        QTest::addColumn<QString>("escrito"); // typed into it
        QTest::addColumn<int>("respuesta");   // to the question, when one comes
        QTest::addColumn<bool>("pregunta");
        QTest::addColumn<bool>("cierra");
        QTest::addColumn<QStringList>("guardadas"); // references, descriptions
        const int si = int(comun::Respuesta::Si);
        const int no = int(comun::Respuesta::No);
        const int cancelar = int(comun::Respuesta::Cancelar);
        const QStringList antes = {"DENTISTA", "d DENTISTA"};
        QTest::newRow("new task left empty: no question")
            << true << QString() << cancelar << false << true << antes;
        QTest::newRow("No drops the text") << true << "sin guardar" << no << true << true << antes;
        QTest::newRow("Sí saves it") << true << "sin guardar" << si << true << true
                                     << QStringList{"DENTISTA", "d DENTISTA", "sin guardar", "?"};
        QTest::newRow("Cancelar keeps the window and the text")
            << true << "sin guardar" << cancelar << true << false << antes;
        QTest::newRow("Sí on a duplicate is refused; the window stays")
            << true << "dentista" << si << true << false << antes;
        QTest::newRow("Sí saves a change to the shown task")
            << false << "otra " << si << true << true << QStringList{"DENTISTA", "otra d DENTISTA"};
    }

    void cierreEscribeLasSeisClaves() {
        QFETCH(bool, nueva);
        QFETCH(QString, escrito);
        QFETCH(int, respuesta);
        QFETCH(bool, pregunta);
        QFETCH(bool, cierra);
        QFETCH(QStringList, guardadas);
        Banco b("[Posicion]\r\nReIzda=abc\r\nReArriba=99999\r\nCaIzda=-30000\r\n[Opciones]\r\n"
                "Sonido=10\r\n",
                {{Hoy(), "DENTISTA"}});
        QVERIFY(b.Arrancar());
        QCOMPARE(b.frm->pos(), QPoint(22, 22));                // bad values: the default place
        QCOMPARE(b.frm->Calendario()->pos(), QPoint(429, 22)); // off every screen: default
        b.frm->move(100, 60);
        b.frm->Calendario()->move(500, 40);
        b.frm->Calendario()->resize(300, 200);
        if (nueva) {
            b.Clic(1);
            b.Escribir(2, escrito);
        } else {
            b.frm->TextBox1->setFocus();
            b.frm->TextBox1->moveCursor(QTextCursor::Start);
            b.Escribir(1, escrito);
        }
        b.e.dialogos->respuesta = comun::Respuesta(respuesta);
        b.frm->close();
        QCOMPARE(b.e.dialogos->preguntas.size(), int(pregunta));
        if (pregunta) {
            const comun::Mensaje& m = b.e.dialogos->preguntas[0];
            QCOMPARE(m.tipo, comun::TipoMensaje::Informacion);
            QCOMPARE(m.titulo, QString("Tareas a recordar..."));
            QCOMPARE(m.texto, QString::fromUtf8("Los datos escritos en la tarea no se han "
                                                "guardado.\r¿Desea guardarlos antes de cerrar?"));
        }
        if (!cierra) {
            QVERIFY(b.frm->isVisible());
            QVERIFY(b.frm->Calendario()->isVisible());
            QCOMPARE(b.Ini("Posicion", "ReIzda"), QString("abc")); // nothing written
            QCOMPARE(b.frm->TextBox2->text(), escrito);
            QCOMPARE(b.frm->Almacen().Contar(), 1);
            // Answered No at the next try, it closes as the others do.
            b.e.dialogos->respuesta = comun::Respuesta::No;
            b.frm->close();
        }
        QVERIFY(!b.frm->isVisible());
        QStringList filas;
        for (const QStringList& fila : b.Filas())
            filas << fila[3] << fila[2];
        QCOMPARE(filas, guardadas);
        QCOMPARE(b.Ini("Posicion", "ReIzda"), QString("1500"));
        QCOMPARE(b.Ini("Posicion", "ReArriba"), QString("900"));
        QCOMPARE(b.Ini("Posicion", "CaIzda"), QString("7500"));
        QCOMPARE(b.Ini("Posicion", "CaArriba"), QString("600"));
        QCOMPARE(b.Ini("Posicion", "CaAncho"), QString("4620"));
        QCOMPARE(b.Ini("Posicion", "CaAlto"), QString("3330"));
        QCOMPARE(b.Ini("Opciones", "Sonido"), QString("10"));
        QVERIFY(!b.frm->Calendario()->isVisible());
        // The place and size are found again at the next start.
        b.frm.reset();
        QVERIFY(b.Arrancar());
        QCOMPARE(b.frm->pos(), QPoint(100, 60));
        QCOMPARE(b.frm->Calendario()->pos(), QPoint(500, 40));
        QCOMPARE(b.frm->Calendario()->size(), QSize(300, 200));
    }

    void archivoQueNoSeAbreTerminaSinTocarlo() {
        Banco b;
        const QByteArray basura = QByteArray("no soy una base de datos").repeated(100);
        QFile f(b.Ruta("Rendalio.dat"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(basura);
        f.close();
        QVERIFY(!b.Arrancar());
        QCOMPARE(b.e.dialogos->mensajes.size(), 1);
        const comun::Mensaje m = b.e.dialogos->mensajes.first();
        QCOMPARE(m.tipo, comun::TipoMensaje::Critico);
        QVERIFY(m.texto.contains(b.Ruta("Rendalio.dat")));
        QVERIFY(m.texto.contains(QString::fromUtf8("dañado")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), basura);
        QVERIFY(!QFile::exists(b.Ruta("Vemora.INI")));
        // Without the host the guard ends before anything is created.
        Banco sinHost;
        QFile::remove(sinHost.Ruta("Vemora.exe"));
        QVERIFY(!sinHost.Arrancar());
        QVERIFY(!QFile::exists(sinHost.Ruta("Rendalio.dat")));
    }

    void nuevaTareaGuardadaYDuplicado() {
        // Stored as earlier stores wrote dates: the new task, dated as the diary writes
        // them, meets it on the same day.
        Banco b({}, {{HoyAnterior(), "DENTISTA"}});
        QVERIFY(b.Arrancar());
        b.Sonidos();
        QVERIFY(!b.frm->ImgX->isHidden());
        b.Clic(2); // nothing pending: refused silently
        QVERIFY(b.Sonidos().isEmpty());
        b.Clic(1);
        QVERIFY(b.frm->Editando());
        QVERIFY(b.frm->ImgX->isHidden());
        QCOMPARE(b.frm->ListTareas->count(), 0);
        b.Escribir(2, "dentista");
        b.Clic(2);
        QCOMPARE(b.Sonidos(), QStringList({"S3.wav", "Error.wav"}));
        QVERIFY(!b.frm->ImgYaExiste->isHidden());
        QVERIFY(b.frm->LblInfo->isHidden());
        QVERIFY(!b.frm->Editando());
        QCOMPARE(b.frm->TmrError.interval(), 5000);
        QCOMPARE(b.Filas().size(), 1);
        b.frm->TmrError_Timer();
        QVERIFY(b.frm->ImgYaExiste->isHidden());
        QVERIFY(b.frm->Editando());
        QVERIFY(!b.frm->LblInfo->isHidden());
        QCOMPARE(b.frm->TextBox2->text(), QString("dentista"));
        b.Escribir(2, " 17:30");
        b.Clic(2);
        QCOMPARE(b.Sonidos(), QStringList({"S4.wav"}));
        QCOMPARE(b.Lineas(),
                 QStringList({Hoy() + " - dentista 17:30", HoyAnterior() + " - DENTISTA"}));
        QCOMPARE(b.frm->ListTareas->currentRow(), 0);
        QCOMPARE(b.frm->LblInfo->Caption(), QString("Tareas totales:\r2"));
        QVERIFY(!b.frm->Editando());
        QVERIFY(!b.frm->ImgX->isHidden() && b.frm->ImgGuardar->isHidden());
        QCOMPARE(b.Filas().last(), QStringList({"2", Hoy(), "?", "dentista 17:30"}));
        // Empty boxes are saved as "?".
        b.Clic(1);
        b.frm->Estado().FechaActual = FechaDiario::DeTexto("1/1/27");
        b.frm->Form_Activate();
        QCOMPARE(b.frm->LblFecha->Caption(), QString("1/1/27"));
        b.frm->ImgMenu_Click(2);
        QCOMPARE(b.Filas().last(), QStringList({"3", "1/1/27", "?", "?"}));
    }

    void edicionCambiaSoloEseRegistro() {
        Banco b({}, {{"01/01/2026", "a"}, {"02/01/2026", "b"}, {"03/01/2026", "c"}});
        QVERIFY(b.Arrancar());
        b.frm->ListTareas->setCurrentRow(1);
        QCOMPARE(b.frm->TextBox2->text(), QString("b"));
        b.frm->TextBox1->setFocus();
        b.Escribir(1, "nueva descripcion");
        QVERIFY(b.frm->Editando());
        b.frm->Almacen().BuscarPorLinea("03/01/2026 - c"); // the cursor moves meanwhile
        b.frm->ImgMenu_Click(10);                          // a copy-all walks the table too
        b.Clic(2);
        const auto filas = b.Filas();
        QCOMPARE(filas[1], QStringList({"2", "02/01/2026", "nueva descripcion", "b"}));
        QCOMPARE(filas[0][2], QString("d a"));
        QCOMPARE(filas[2][2], QString("d c"));
        // Editing does not test for duplicates; the same line then shows the first record.
        b.frm->ListTareas->setCurrentRow(2);
        b.frm->TextBox2->setFocus();
        b.Escribir(2, "a");
        b.frm->LblFecha->PonerCaption("01/01/2026");
        b.Clic(2);
        QCOMPARE(b.Filas()[2][3], QString("a"));
        QCOMPARE(b.Lineas().count("01/01/2026 - a"), 2);
    }

    void cancelarNuevaYEditada() {
        Banco b({}, {{"01/01/2026", "a", "texto a"}});
        QVERIFY(b.Arrancar());
        b.Escribir(1, "x");
        QVERIFY(b.frm->Editando());
        b.Sonidos();
        b.Clic(0);
        QCOMPARE(b.Sonidos(), QStringList({"S3.wav"}));
        QCOMPARE(b.frm->TextBox1->toPlainText(), QString("texto a"));
        QVERIFY(b.frm->ListTareas->hasFocus() || !b.frm->isActiveWindow());
        QVERIFY(!b.frm->Editando() && !b.frm->ImgX->isHidden());
        b.Clic(1);
        b.Escribir(2, "nueva");
        b.Clic(0);
        QCOMPARE(b.Lineas(), QStringList({"01/01/2026 - a"}));
        QCOMPARE(b.frm->TextBox2->text(), QString("a"));
        QCOMPARE(b.Filas().size(), 1);
    }

    void borrarConClicTeclasYSupr() {
        Banco b({}, {{"01/01/2026", "a"}, {"02/01/2026", "b"}, {"03/01/2026", "c"}});
        QVERIFY(b.Arrancar());
        b.Sonidos();
        b.Clic(0);
        QVERIFY(!b.frm->PicConfirma->isHidden());
        QVERIFY(!b.frm->ListTareas->isEnabled());
        for (int zona : {0, 1, 3, 4}) // refused while the panel is shown
            b.frm->ImgMenu_Click(zona);
        QCOMPARE(b.Sonidos(), QStringList({"S2.wav"}));
        b.Clic(7);
        QCOMPARE(b.Sonidos(), QStringList({"S3.wav"}));
        QVERIFY(b.frm->PicConfirma->isHidden());
        b.Clic(0);
        b.Clic(6);
        QCOMPARE(b.Sonidos(), QStringList({"S2.wav", "S7.wav"}));
        QCOMPARE(b.Lineas(), QStringList({"02/01/2026 - b", "03/01/2026 - c"}));
        QCOMPARE(b.frm->LblInfo->Caption(), QString("Tareas totales:\r2"));
        // Delete key in the list, then the S and N keys (either case).
        QTest::keyClick(b.frm->ListTareas, Qt::Key_Delete);
        QVERIFY(!b.frm->PicConfirma->isHidden());
        QTest::keyClick(b.frm->PicConfirma, Qt::Key_N);
        QVERIFY(b.frm->PicConfirma->isHidden());
        QCOMPARE(b.Lineas().size(), 2);
        QTest::keyClick(b.frm->ListTareas, Qt::Key_Delete);
        QTest::keyClick(b.frm->PicConfirma, Qt::Key_S, Qt::ShiftModifier);
        QCOMPARE(b.Lineas(), QStringList({"03/01/2026 - c"}));
        QCOMPARE(b.Filas().first()[0], QString("3"));
        // While editing the Delete key abandons the edit without a question.
        b.Escribir(2, "x");
        QTest::keyClick(b.frm->ListTareas, Qt::Key_Delete);
        QVERIFY(b.frm->PicConfirma->isHidden());
        QCOMPARE(b.frm->TextBox2->text(), QString("c"));
    }

    // Keys in the list and the boxes: only one that types or deletes a character starts
    // the editing; Tab and Shift+Tab move along list, description and reference, and
    // Ctrl+Tab types a tab into the description.
    void teclasEnLasCajas_data() {
        QTest::addColumn<QString>("desde");
        QTest::addColumn<int>("tecla");
        QTest::addColumn<int>("modificadores");
        QTest::addColumn<QString>("hacia");
        QTest::addColumn<bool>("edita");
        const int nada = Qt::NoModifier, mayus = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
        QTest::newRow("Tab, list")
            << "ListTareas" << int(Qt::Key_Tab) << nada << "TextBox1" << false;
        QTest::newRow("Tab, Descripción")
            << "TextBox1" << int(Qt::Key_Tab) << nada << "TextBox2" << false;
        QTest::newRow("Tab, Referencia")
            << "TextBox2" << int(Qt::Key_Tab) << nada << "ListTareas" << false;
        QTest::newRow("Shift+Tab, list")
            << "ListTareas" << int(Qt::Key_Backtab) << mayus << "TextBox2" << false;
        QTest::newRow("Shift+Tab, Referencia")
            << "TextBox2" << int(Qt::Key_Backtab) << mayus << "TextBox1" << false;
        QTest::newRow("Shift+Tab, Descripción")
            << "TextBox1" << int(Qt::Key_Backtab) << mayus << "ListTareas" << false;
        QTest::newRow("Ctrl+Tab, Descripción")
            << "TextBox1" << int(Qt::Key_Tab) << ctrl << "TextBox1" << true;
        QTest::newRow("Ctrl+Tab, Referencia")
            << "TextBox2" << int(Qt::Key_Tab) << ctrl << "TextBox2" << false;
        QTest::newRow("Ctrl+C, Referencia")
            << "TextBox2" << int(Qt::Key_C) << ctrl << "TextBox2" << false;
        QTest::newRow("letter, Referencia")
            << "TextBox2" << int(Qt::Key_X) << nada << "TextBox2" << true;
        QTest::newRow("Backspace, Descripción")
            << "TextBox1" << int(Qt::Key_Backspace) << nada << "TextBox1" << true;
    }
    void teclasEnLasCajas() {
        QFETCH(QString, desde);
        QFETCH(int, tecla);
        QFETCH(int, modificadores);
        QFETCH(QString, hacia);
        QFETCH(bool, edita);
        Banco b({}, {{"01/01/2026", "a", "linea 1\r\nlinea 2"}, {"02/01/2026", "b"}});
        QVERIFY(b.Arrancar());
        auto* control = b.frm->findChild<QWidget*>(desde);
        QVERIFY(control);
        control->setFocus();
        QTest::keyClick(control, Qt::Key(tecla), Qt::KeyboardModifiers(modificadores));
        QCOMPARE(b.frm->focusWidget()->objectName(), hacia);
        QCOMPARE(b.frm->Editando(), edita);
        QCOMPARE(b.frm->ImgX->isHidden(), edita);
        if (!edita) {
            QCOMPARE(b.frm->TextoCaja(1), QString("linea 1\r\nlinea 2"));
            QCOMPARE(b.frm->TextoCaja(2), QString("a"));
        } else if (modificadores == Qt::ControlModifier) {
            QCOMPARE(b.frm->TextoCaja(1).count('\t'), 1);
        }
    }

    void anteriorYSiguiente() {
        Banco b({}, {{"01/01/2026", "a"}, {"02/01/2026", "b"}});
        QVERIFY(b.Arrancar());
        b.Sonidos();
        b.Clic(3); // already on the first line
        QCOMPARE(b.frm->ListTareas->currentRow(), 0);
        b.Clic(4);
        QCOMPARE(b.frm->TextBox2->text(), QString("b"));
        b.Clic(4); // on the last line
        QCOMPARE(b.Sonidos(), QStringList({"S0.wav"}));
        b.Clic(3);
        QCOMPARE(b.frm->TextBox2->text(), QString("a"));
        b.frm->ListTareas->setCurrentRow(-1);
        b.Sonidos();
        b.Clic(3);
        QVERIFY(b.Sonidos().isEmpty());
        b.Clic(4);
        QCOMPARE(b.frm->ListTareas->currentRow(), 0);
        b.Escribir(1, "x"); // refused while editing
        b.Clic(4);
        QCOMPARE(b.frm->ListTareas->currentRow(), 0);
    }

    void referenciaCortadaYOrdenDeTexto() {
        Banco b({}, {{"02/01/2026", "x"},
                     {"01/12/2026", "y"},
                     {"15/06/2026", "z"},
                     {"15/06/2026", "Alfa"},
                     {"15/06/2026", "beta"}});
        QVERIFY(b.Arrancar());
        QCOMPARE(b.Lineas(), QStringList({"01/12/2026 - y", "02/01/2026 - x", "15/06/2026 - Alfa",
                                          "15/06/2026 - beta", "15/06/2026 - z"}));
        b.frm->TextBox2->setFocus();
        b.frm->TextBox2->setCursorPosition(1);
        b.Escribir(2, QString(300, 'r'));
        QCOMPARE(b.frm->TextBox2->text().size(), 250);
        QCOMPARE(b.frm->TextBox2->cursorPosition(), 250);
        b.frm->TextBox1->setFocus();
        b.Escribir(1, QString(600, 'd'));
        QCOMPARE(b.frm->TextBox1->toPlainText().size(), 600);
        // A double click selects the whole text.
        QTest::mouseDClick(b.frm->TextBox2, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(b.frm->TextBox2->selectedText().size(), 250);

        // A very long word, pasted or stored, makes the description break its lines
        // anywhere (laid out between words it would hold the window for seconds to
        // minutes); once it has gone, lines break between words again.
        const auto modo = [&] { return b.frm->TextBox1->wordWrapMode(); };
        QCOMPARE(modo(), QTextOption::WrapAtWordBoundaryOrAnywhere);
        QGuiApplication::clipboard()->setText("ab" + QString(5000, 'c') + " de");
        QTest::keyClick(b.frm->TextBox1, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(modo(), QTextOption::WrapAnywhere);
        QTest::keyClick(b.frm->TextBox1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(modo(), QTextOption::WrapAtWordBoundaryOrAnywhere);
        b.Clic(2);
        b.frm->TextBox1->setFocus();
        b.frm->TextBox1->setPlainText(QString(5000, 'x') + " y");
        b.Clic(2);
        const int larga = b.frm->ListTareas->currentRow();
        b.frm->ListTareas->setCurrentRow(larga == 0 ? 1 : 0);
        QCOMPARE(modo(), QTextOption::WrapAtWordBoundaryOrAnywhere);
        b.frm->ListTareas->setCurrentRow(larga);
        QCOMPARE(b.frm->TextBox1->toPlainText().size(), 5002);
        QCOMPARE(modo(), QTextOption::WrapAnywhere);
        // Typing a blank into the middle splits it into words short enough.
        QTextCursor cursor = b.frm->TextBox1->textCursor();
        cursor.setPosition(2500);
        b.frm->TextBox1->setTextCursor(cursor);
        QTest::keyClick(b.frm->TextBox1, Qt::Key_Space);
        QCOMPARE(modo(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    }

    void sonidosSegunLaOpcion() {
        for (const char* valor : {"0", "", "01"}) {
            Banco b(QByteArray("[Opciones]\r\nSonido=") + valor + "\r\n", {{"1/1/26", "a"}});
            QVERIFY(b.Arrancar());
            b.Clic(1);
            b.Escribir(2, "b");
            b.Clic(2);
            b.Clic(3);
            QCOMPARE(b.Lineas().size(), 2);
            QVERIFY(b.Sonidos().isEmpty());
        }
        Banco b("[Opciones]\r\nSonido=1x\r\n", {{"1/1/26", "a"}});
        QVERIFY(b.Arrancar());
        b.Clic(5);
        QCOMPARE(b.e.sonidos->rutas.value(0), b.frm->RutaPrograma() + "S1.wav");
    }

    void escrituraFallidaConservaElTexto() {
        Banco b({}, {{"1/1/26", "a"}});
        QVERIFY(b.Arrancar());
        comun::sql::Conexion otro; // another program holds the file
        QVERIFY(otro.Abrir(b.Ruta("Rendalio.dat"), SQLITE_OPEN_READWRITE));
        QVERIFY(otro.Ejecutar("BEGIN EXCLUSIVE"));
        b.Clic(1);
        b.Escribir(2, "mi texto");
        b.Clic(2);
        QCOMPARE(b.e.dialogos->mensajes.size(), 1);
        QCOMPARE(b.e.dialogos->mensajes[0].titulo, QString("Error..."));
        QVERIFY(b.e.dialogos->mensajes[0].texto.contains("guardar la tarea"));
        QCOMPARE(b.frm->TextBox2->text(), QString("mi texto"));
        QVERIFY(b.frm->Editando());
        otro.Ejecutar("ROLLBACK");
        b.Clic(2);
        QCOMPARE(b.Filas().size(), 2);
    }

    void calendarioYDiario() {
        Banco b({}, {{"10/12/26", "b"},
                     {"10/12/26", "a"},
                     {"15/06/26", "junio"},
                     {"01/01/2026", "enero"},
                     {"mañana", "sin fecha"}});
        QVERIFY(b.Arrancar());
        FrmCalendario* cal = b.frm->Calendario();
        QVERIFY(cal->isVisible());
        QCOMPARE(cal->windowTitle(), QString("Calendario"));
        QVERIFY(cal->windowFlags() & Qt::Tool);
        // Selecting a task moves the calendar to its date (two- and four-digit years).
        b.frm->ListTareas->setCurrentRow(b.Lineas().indexOf("15/06/26 - junio"));
        QTRY_COMPARE(cal->Calendario->selectedDate(), QDate(2026, 6, 15));
        QTRY_VERIFY(b.frm->isActiveWindow());
        b.frm->ListTareas->setCurrentRow(b.Lineas().indexOf("01/01/2026 - enero"));
        QTRY_COMPARE(cal->Calendario->selectedDate(), QDate(2026, 1, 1));
        QTRY_VERIFY(b.frm->isActiveWindow());
        b.frm->ListTareas->setCurrentRow(b.Lineas().indexOf("MAÑANA - sin fecha"));
        QTest::qWait(50);
        QCOMPARE(cal->Calendario->selectedDate(), QDate(2026, 1, 1)); // unreadable: stays
        // A day with tasks shows the first of them in list order.
        b.Sonidos();
        emit cal->Calendario->clicked(QDate(2026, 12, 10));
        QTRY_COMPARE(b.frm->TextBox2->text(), QString("a"));
        QVERIFY(b.Sonidos().isEmpty());
        // A day without tasks while browsing prepares a new task for it.
        emit cal->Calendario->clicked(QDate(2026, 12, 11));
        QTRY_VERIFY(b.frm->Editando());
        QCOMPARE(b.frm->LblFecha->Caption(), QString("11/12/2026"));
        QCOMPARE(b.frm->ListTareas->count(), 0);
        QCOMPARE(b.Sonidos(), QStringList({"S3.wav"}));
        // While editing a picked day only changes the date.
        b.Escribir(2, "x");
        emit cal->Calendario->clicked(QDate(2026, 12, 10));
        QTRY_COMPARE(b.frm->LblFecha->Caption(), QString("10/12/2026"));
        QCOMPARE(b.frm->TextBox2->text(), QString("x"));
        QVERIFY(b.frm->Editando());
        // The calendar refuses to close and hands the focus to the diary.
        cal->close();
        QVERIFY(cal->isVisible());
        QTRY_VERIFY(b.frm->isActiveWindow());
        // Minimising the diary minimises the calendar; restoring brings both back.
        b.frm->showMinimized();
        QTRY_VERIFY(cal->isMinimized());
        b.frm->showNormal();
        QTRY_VERIFY(!cal->isMinimized());
        // Never a negative size for the calendar.
        cal->resize(3, 2);
        QCOMPARE(cal->Calendario->size(), QSize(3, 2));
    }

    void ayudaAlPasarElRaton() {
        Banco b({}, {{"1/1/26", "a"}});
        QVERIFY(b.Arrancar());
        const QStringList titulos = {"ELIMINAR\rTAREA", "CREAR NUEVA\rTAREA", "GUARDAR\rCAMBIOS",
                                     "TAREA\rANTERIOR", "TAREA\rSIGUIENTE",   "Mostrar\rA Y U D A"};
        for (int i = 0; i < titulos.size(); ++i) {
            b.frm->ImgX->hide(); // the crossed-out picture would cover the save button
            b.MoverAZona(i);
            QCOMPARE(b.frm->LblInfo->Caption(), titulos[i]);
            QVERIFY(!b.frm->ImgSel[i]->isHidden());
            QVERIFY(b.frm->PicAyuda->isHidden()); // help mode is off
        }
        b.frm->ImgX->show();
        b.Sonidos();
        b.Clic(5);
        QVERIFY(b.frm->ModoAyuda());
        QCOMPARE(b.frm->cursor().shape(), Qt::WhatsThisCursor);
        QCOMPARE(b.e.shell->llamadas.size(), 1);
        QCOMPARE(b.e.shell->llamadas[0].archivo, b.frm->RutaPrograma() + "Ayuda/Rendalio.htm");
        b.MoverAZona(5, 1);
        QCOMPARE(b.frm->LblInfo->Caption(), QString("Ocultar\rA Y U D A"));
        b.MoverAZona(0);
        QVERIFY(b.frm->ImgSel[5]->isHidden());
        QCOMPARE(b.frm->LblAyuda->Caption(),
                 QString::fromUtf8("Elimina definitivamente la tarea seleccionada.\rSolicita "
                                   "confirmación. Puede utilizar la tecla\r«Supr» y para "
                                   "confirmar o no la eliminación\rpulse seguidamente las "
                                   "teclas «S» o «N»."));
        QVERIFY(!b.frm->PicAyuda->isHidden());
        QCOMPARE(b.frm->PicAyuda->size(), b.frm->LblAyuda->size());
        const int alto4 = b.frm->PicAyuda->height();
        b.MoverAZona(1);
        QVERIFY(b.frm->PicAyuda->height() > alto4); // seven lines
        b.Mover(b.frm->ImgX->geometry().center());
        QVERIFY(b.frm->LblAyuda->Caption().startsWith(QString::fromUtf8("«Guardar cambios»")));
        b.Mover(b.frm->TextBox2->geometry().center());
        QVERIFY(b.frm->LblAyuda->Caption().startsWith(QString::fromUtf8("Pequeña descripción")));
        // Placed left of and above the pointer, the panel would leave the window over
        // the left of either box: it is moved inward and shows whole.
        for (QWidget* caja :
             {static_cast<QWidget*>(b.frm->TextBox1), static_cast<QWidget*>(b.frm->TextBox2)}) {
            b.Mover(caja->geometry().topLeft() + QPoint(8, 8));
            QVERIFY(!b.frm->PicAyuda->isHidden());
            QVERIFY(b.frm->rect().contains(b.frm->PicAyuda->geometry()));
        }
        b.Fondo();
        QVERIFY(b.frm->PicAyuda->isHidden());
        QCOMPARE(b.frm->LblInfo->Caption(), QString("Tareas totales:\r1"));
        // Editing: the waste bin explains the cancel; the copy panel stays closed.
        b.Escribir(1, "x");
        b.MoverAZona(0);
        QCOMPARE(b.frm->LblInfo->Caption(), QString("CANCELAR\rOPERACION"));
        QVERIFY(b.frm->LblAyuda->Caption().startsWith("No se almacenar"));
        b.Sonidos();
        b.MoverAZona(8);
        QCOMPARE(b.frm->LblInfo->Caption(), QString("COPIAR\rTAREAS"));
        QVERIFY(b.frm->PicCopiar->isHidden());
        b.Fondo();
        QCOMPARE(b.frm->LblInfo->Caption(), QString("Crear o modif.\rtarea..."));
        QVERIFY(b.Sonidos().isEmpty());
        // Help mode off again after moving over the button: nothing opens.
        b.MoverAZona(5);
        b.Clic(5);
        QVERIFY(!b.frm->ModoAyuda());
        QCOMPARE(b.e.shell->llamadas.size(), 1);
    }

    // Where the desktop's events meet the window: a double click is one command, a
    // typed or pasted line break leaves as CR+LF, and the labels and blinking pointers
    // are not the bare background.
    void eventosDelEscritorio() {
        Banco b({}, {{"1/1/26", "a"}, {"2/1/26", "b"}, {"3/1/26", "c"}});
        QVERIFY(b.Arrancar());
        b.Sonidos();
        b.DobleClic(4);
        QCOMPARE(b.frm->TextBox2->text(), QString("b"));
        QCOMPARE(b.Sonidos(), QStringList({"S0.wav"}));
        b.Fondo(); // the pointer may already rest on the help button: a move must reach it
        b.MoverAZona(5);
        b.DobleClic(5);
        QVERIFY(b.frm->ModoAyuda());
        QCOMPARE(b.e.shell->llamadas.size(), 1);
        b.frm->unsetCursor();

        // A description typed on two lines, with a pasted part holding a lone LF, a
        // lone CR and a CR+LF.
        QGuiApplication::clipboard()->setText("p\nq\rr\r\ns");
        const auto escribirDescripcion = [&] {
            b.frm->TextBox1->setFocus();
            b.Escribir(1, "uno");
            QTest::keyClick(b.frm->TextBox1, Qt::Key_Return);
            b.Escribir(1, "dos ");
            QTest::keyClick(b.frm->TextBox1, Qt::Key_V, Qt::ControlModifier);
        };
        b.MoverAZona(8); // the copy panel opens only while nothing is being edited
        escribirDescripcion();
        const QString crlf = "uno\r\ndos p\r\nq\r\nr\r\ns";
        b.Clic(9);
        QVERIFY2(b.e.portapapeles->texto.endsWith("* " + crlf),
                 qPrintable(b.e.portapapeles->texto));
        // While editing, a double click on the waste bin cancels and asks nothing.
        b.DobleClic(0);
        QVERIFY(!b.frm->Editando());
        QVERIFY(b.frm->PicConfirma->isHidden());
        QCOMPARE(b.frm->TextBox2->text(), QString("b"));
        escribirDescripcion();
        b.Clic(2);
        QCOMPARE(b.Filas()[1][2], crlf);
        // Shown again from the store: one line break each, not two.
        QCOMPARE(b.frm->TextBox1->document()->blockCount(), 5);
        b.Fondo();
        b.MoverAZona(8);
        b.Clic(10);
        QVERIFY(b.e.portapapeles->texto.contains("* " + crlf + "\r\n\r\n"));

        // Crossing the labels and the blinking pointers changes nothing.
        b.Fondo();
        b.MoverAZona(4);
        b.Mover(b.frm->LblInfo->geometry().center());
        QCOMPARE(b.frm->LblInfo->Caption(), QString("TAREA\rSIGUIENTE"));
        QVERIFY(!b.frm->ImgSel[4]->isHidden());
        b.MoverAZona(8);
        b.Mover(b.frm->LblFecha->geometry().center());
        QVERIFY(!b.frm->PicCopiar->isHidden());
        b.Fondo();
        QVERIFY(b.frm->PicCopiar->isHidden());
        b.Escribir(2, "x");
        b.frm->TmrGuardar.setInterval(3600 * 1000); // no blink between the steps below
        for (ImagenSvg* mano : {b.frm->ImgGuardar, b.frm->ImgCancelar}) {
            if (mano->isHidden())
                b.frm->TmrGuardar_Timer();
            b.MoverAZona(0);
            b.Mover(mano->geometry().center());
            QCOMPARE(b.frm->LblInfo->Caption(), QString("CANCELAR\rOPERACION"));
        }
        b.Fondo();
        QCOMPARE(b.frm->LblInfo->Caption(), QString("Crear o modif.\rtarea..."));
    }

    void panelDeCopiaYCopias() {
        Banco b({}, {{"2/1/26", "dos", "linea 1\r\nlinea 2"},
                     {"1/1/26", "uno", "u"},
                     {"3/1/26", "tres", "t\rt2\nt3"}, // breaks of another program
                     {"1/1/26", "uno", "repetida"}});
        QVERIFY(b.Arrancar());
        const QString& copia = b.e.portapapeles->texto;
        b.Sonidos();
        b.MoverAZona(8);
        b.MoverAZona(8);
        QVERIFY(!b.frm->PicCopiar->isHidden());
        QCOMPARE(b.Sonidos(), QStringList({"S1.wav"}));
        b.MoverAZona(9);
        QCOMPARE(b.frm->LblInfo->Caption(), QString("COPIAR TAREA\rACTUAL"));
        QVERIFY(!b.frm->ImgSel[8]->isHidden());
        b.MoverAZona(10);
        QCOMPARE(b.frm->LblInfo->Caption(), QString("COPIAR TODAS\rLAS TAREAS"));
        // Copy of the task shown, with an unsaved edit.
        b.frm->TextBox2->setFocus();
        b.Escribir(2, "cambiada");
        b.Clic(9);
        QCOMPARE(copia, QString::fromUtf8("* Fecha - Referencia\r\n* Descripción\r\n\r\n"
                                          "* 1/1/26 - cambiada\r\n* u"));
        b.Clic(0); // drop the edit
        b.MoverAZona(8);
        b.Clic(10);
        const QString sep = QString(25, ' ') + "--- oOo ---\r\n\r\n";
        QCOMPARE(copia, QString::fromUtf8("SE COPIARON 4 TAREAS EN TOTAL.\r\n\r\n"
                                          "* Fecha - Referencia\r\n* Descripción\r\n\r\n") +
                            "* 1/1/26 - uno\r\n* u\r\n\r\n" + sep +
                            "* 1/1/26 - uno\r\n* u\r\n\r\n" + sep +
                            "* 2/1/26 - dos\r\n* linea 1\r\nlinea 2\r\n\r\n" + sep +
                            "* 3/1/26 - tres\r\n* t\r\nt2\r\nt3\r\n\r\n" + sep);
        QCOMPARE(b.frm->LblProceso->Caption(), QString("4   de   4"));
        QVERIFY(!b.frm->LblProceso->isHidden() && b.frm->LblInfo->isHidden());
        QCOMPARE(b.frm->TmrError.interval(), 2000);
        QVERIFY(b.frm->TmrError.isActive());
        b.frm->TmrError_Timer();
        QVERIFY(b.frm->LblProceso->isHidden() && !b.frm->LblInfo->isHidden());
        QVERIFY(!b.frm->Editando());
        // A new task being created: nothing to copy.
        b.Fondo();
        b.Clic(1);
        b.frm->ImgMenu_Click(9);
        QCOMPARE(copia, QString("NO EXISTE NINGUNA TAREA EN LA BASE DE DATOS."));
        b.frm->ImgMenu_Click(10);
        QCOMPARE(copia, QString("SE COPIARON 0 TAREAS EN TOTAL.\r\n\r\n"
                                "NO EXISTEN TAREAS EN LA BASE DE DATOS."));
        QVERIFY(!b.frm->LblInfo->isHidden());
    }
};

QTEST_MAIN(TstDiario)
#include "tst_diario.moc"
