// What the desktop sees of the programs besides their pictures: the names a screen
// reader announces for every control of each program's window, the command pictures as
// buttons it can press, and the toolkit's own texts in the user's language.
#include "Archivos.h"
#include "Grabadoras.h"
#include "Traducciones.h"

#include "AlmacenTareas.h"
#include "FrmSelec.h"
#include "Programas.h"
#include "diary/FrmMain.h"
#include "importer/FrmMain.h"
#include "launcher/Arte.h"
#include "launcher/FrmMain.h"
#include "updater/FrmMain.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <optional>

namespace {

// The controls of the window without a name, as "class objectName" lines; with
// VOLCAR_ACCESIBLE set, every node is printed as a screen reader gets it.
void BuscarSinNombre(QAccessibleInterface* nodo, const QWidget* ventana, int nivel,
                     QStringList& sinNombre) {
    const QString nombre = nodo->text(QAccessible::Name);
    auto* control = qobject_cast<QWidget*>(nodo->object());
    if (qEnvironmentVariableIsSet("VOLCAR_ACCESIBLE"))
        qInfo().noquote() << QString(nivel * 2, QLatin1Char(' ')) << nodo->role() << nombre << "|"
                          << nodo->text(QAccessible::Description);
    // A label is named by its text; the toolkit's own parts of a control (scroll bars,
    // viewports, a list's popup window) go by the control's name.
    const bool propio = control && control->window() == ventana &&
                        nodo->role() != QAccessible::StaticText &&
                        !control->objectName().startsWith(QLatin1String("qt_")) &&
                        !qobject_cast<QScrollBar*>(control);
    if (propio && nombre.trimmed().isEmpty())
        sinNombre << QString::fromLatin1(control->metaObject()->className()) + QLatin1Char(' ') +
                         control->objectName();
    for (int i = 0; i < nodo->childCount(); ++i)
        if (QAccessibleInterface* hijo = nodo->child(i))
            BuscarSinNombre(hijo, ventana, nivel + 1, sinNombre);
}

QStringList SinNombre(QWidget* ventana) {
    QStringList sinNombre;
    QAccessibleInterface* raiz = QAccessible::queryAccessibleInterface(ventana);
    if (!raiz)
        return {QStringLiteral("no accessible interface")};
    BuscarSinNombre(raiz, ventana, 0, sinNombre);
    return sinNombre;
}

void SinNombreVacio(QWidget* ventana) {
    const QStringList sinNombre = SinNombre(ventana);
    QVERIFY2(sinNombre.isEmpty(),
             qPrintable(QStringLiteral("without a name: ") + sinNombre.join(", ")));
}

// What is wrong with `control` as a screen reader's push button, or nothing: its name
// and description are the control's own, and "Press" comes first while a click could
// reach it (by default, while it is shown).
QString NoEsBoton(QWidget* control, std::optional<bool> alcanzable = {}) {
    QAccessibleInterface* boton = QAccessible::queryAccessibleInterface(control);
    const QString quien = control->accessibleName() + QStringLiteral(": ");
    if (!boton || boton->role() != QAccessible::PushButton)
        return quien + QStringLiteral("no push button");
    if (control->accessibleName().isEmpty() ||
        boton->text(QAccessible::Name) != control->accessibleName() ||
        boton->text(QAccessible::Description) != control->accessibleDescription())
        return quien + QStringLiteral("name or description not the control's");
    QAccessibleActionInterface* acciones = boton->actionInterface();
    if (!acciones)
        return quien + QStringLiteral("no actions");
    const bool pulsable =
        acciones->actionNames().value(0) == QAccessibleActionInterface::pressAction();
    if (pulsable != alcanzable.value_or(control->isVisible()))
        return quien + (pulsable ? QStringLiteral("Press offered out of a click's reach")
                                 : QStringLiteral("Press is not the first action"));
    return {};
}

// The screen reader presses the control; the press runs on the event loop's next turn.
void Pulsar(QWidget* control) {
    QAccessible::queryAccessibleInterface(control)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
}

} // namespace

class TstAccesible : public QObject {
    Q_OBJECT
private slots:
    void init() { prueba::FallarConAvisos(); }
    void todosLosControlesTienenNombre();
    void imagenesDeOrdenSonBotones();
    void textosDelToolkitEnEspanol();
};

void TstAccesible::todosLosControlesTienenNombre() {
    QTemporaryDir dir;
    prueba::Escribir(dir.filePath("Vemora.exe"), "x");
    const comun::EntornoGrabado e = comun::CrearEntornoGrabado(dir.path());

    diary::FrmMain diario(e.entorno);
    QVERIFY(diario.Form_Load()); // its controls are built once the start-up checks pass
    SinNombreVacio(&diario);
    QCOMPARE(diario.ImgMenu[1]->accessibleName(), QString("CREAR NUEVA TAREA"));

    launcher::FrmMain barra(e.entorno);
    SinNombreVacio(&barra);
    comun::ArchivoIni ini(dir.filePath("Vemora.INI"));
    launcher::FrmSelec localizador(e.entorno, ini, launcher::TablaBarra()[0],
                                   launcher::kPaginaDescargas);
    SinNombreVacio(&localizador);

    QMenu menu;
    updater::FrmSinBandeja sinBandeja(QIcon(), &menu);
    SinNombreVacio(&sinBandeja);

    importer::FrmMain asistente(e.entorno);
    SinNombreVacio(&asistente);
}

// Every command picture of the four programs is a push button whose "Press" does what a
// left click does, guards and sounds included, and only while the picture is shown.
void TstAccesible::imagenesDeOrdenSonBotones() {
    QTemporaryDir dir;
    prueba::Escribir(dir.filePath("Vemora.exe"), "x");
    const QString tareas = dir.filePath("Rendalio.dat");
    QVERIFY(!diary::AlmacenTareas::CrearAlmacen(tareas));
    {
        diary::AlmacenTareas almacen;
        QVERIFY(!almacen.AbrirAlmacen(tareas));
        for (const char* referencia : {"a", "b"}) {
            almacen.Anadir();
            QVERIFY(almacen.EscribirYConfirmar("01/01/2026", "d", referencia));
        }
    }
    const comun::EntornoGrabado e = comun::CrearEntornoGrabado(dir.path());
    const auto sonidos = [&] {
        QStringList nombres;
        for (const QString& ruta : std::as_const(e.sonidos->rutas))
            nombres << QFileInfo(ruta).fileName();
        e.sonidos->rutas.clear();
        return nombres;
    };

    diary::FrmMain diario(e.entorno);
    QVERIFY(diario.Form_Load());
    diario.Mostrar();
    QVERIFY(QTest::qWaitForWindowExposed(&diario));
    for (QWidget* zona : diario.ImgMenu)
        QCOMPARE(NoEsBoton(zona), QString());
    sonidos();
    Pulsar(diario.ImgMenu[4]); // TAREA SIGUIENTE
    QCOMPARE(diario.TextBox2->text(), QString("b"));
    Pulsar(diario.ImgMenu[2]); // nothing to save: refused, as a click is
    QVERIFY(!diario.Editando());
    QCOMPARE(sonidos(), QStringList({"S0.wav"}));
    Pulsar(diario.ImgMenu[0]); // the question, whose answers are buttons while it shows
    QVERIFY(!diario.PicConfirma->isHidden());
    QCOMPARE(NoEsBoton(diario.ImgMenu[6]), QString());
    Pulsar(diario.ImgMenu[7]);
    QVERIFY(diario.PicConfirma->isHidden());
    QCOMPARE(NoEsBoton(diario.ImgMenu[6]), QString());
    Pulsar(diario.ImgMenu[6]); // hidden: nothing is deleted
    QCOMPARE(diario.ListTareas->count(), 2);
    QCOMPARE(sonidos(), QStringList({"S2.wav", "S3.wav"}));
    // The pointer comes onto a zone as a click's does: the copy button opens its panel,
    // and the help button, titled "Mostrar", opens the help document.
    Pulsar(diario.ImgMenu[8]);
    QVERIFY(!diario.PicCopiar->isHidden());
    QCOMPARE(NoEsBoton(diario.ImgMenu[9]), QString());
    Pulsar(diario.ImgMenu[9]);
    QVERIFY(e.portapapeles->texto.endsWith("- b\r\n* d"));
    Pulsar(diario.ImgMenu[5]);
    QVERIFY(diario.ModoAyuda());
    QCOMPARE(e.shell->llamadas.size(), 1);
    QCOMPARE(sonidos(), QStringList({"S1.wav", "S3.wav", "S1.wav"}));
    diario.close();

    launcher::FrmMain barra(e.entorno);
    barra.show();
    for (QWidget* imagen : barra.ImgMenu)
        QCOMPARE(NoEsBoton(imagen), QString());
    QCOMPARE(NoEsBoton(barra.LblAyuda), QString());
    Pulsar(barra.ImgMenu[7]); // the host
    QVERIFY(barra.ImgSel[7]->isVisible());
    QCOMPARE(e.shell->llamadas.size(), 2);
    QVERIFY(e.shell->llamadas.last().archivo.endsWith("/Vemora.exe"));
    comun::ArchivoIni ini(dir.filePath("Vemora.INI"));
    launcher::FrmSelec localizador(e.entorno, ini, launcher::TablaBarra()[0],
                                   launcher::kPaginaDescargas);
    localizador.show(); // modal: the bar under it is out of a click's reach
    QCOMPARE(NoEsBoton(localizador.ImgAyuda), QString());
    QCOMPARE(NoEsBoton(barra.ImgMenu[7], false), QString());
    localizador.close();

    importer::FrmMain asistente(e.entorno);
    asistente.show();
    QCOMPARE(NoEsBoton(asistente.ImgAyuda), QString());

    // The 1.8 launcher's button opens its menu, as a click does.
    QMenu menu;
    menu.addAction(QStringLiteral("SALIR"));
    updater::FrmSinBandeja sinBandeja(QIcon(), &menu);
    sinBandeja.show();
    QCOMPARE(NoEsBoton(sinBandeja.CmdMenu), QString());
    bool abierto = false;
    QTimer cerrar;
    connect(&cerrar, &QTimer::timeout, &menu, [&] {
        abierto = abierto || menu.isVisible();
        menu.close();
    });
    cerrar.start(10);
    Pulsar(sinBandeja.CmdMenu);
    QVERIFY(QTest::qWaitFor([&] { return abierto; }));
}

// Run last: the translation stays installed for the rest of the process.
void TstAccesible::textosDelToolkitEnEspanol() {
    QLocale::setDefault(QLocale::c());
    QVERIFY(!comun::CargarTraduccionesQt());
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    QVERIFY(comun::CargarTraduccionesQt());
    QDialogButtonBox botones(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(botones.button(QDialogButtonBox::Ok)->text().remove(QLatin1Char('&')),
             QString("Aceptar"));
    QCOMPARE(botones.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')),
             QString("Cancelar"));
}

QTEST_MAIN(TstAccesible)
#include "tst_accesible.moc"
