// What the desktop sees of the programs besides their pictures: the names a screen
// reader announces for every control of each program's window, and the toolkit's own
// texts in the user's language.
#include "Archivos.h"
#include "Grabadoras.h"
#include "Traducciones.h"

#include "FrmSelec.h"
#include "Programas.h"
#include "diary/FrmMain.h"
#include "importer/FrmMain.h"
#include "launcher/FrmMain.h"
#include "updater/FrmMain.h"

#include <QAccessible>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

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

} // namespace

class TstAccesible : public QObject {
    Q_OBJECT
private slots:
    void init() { prueba::FallarConAvisos(); }
    void todosLosControlesTienenNombre();
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
