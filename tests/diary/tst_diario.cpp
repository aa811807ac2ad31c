#include "AlmacenTareas.h"
#include "FrmCalendario.h"
#include "FrmMain.h"

#include "Ini.h"

#include <QCalendarWidget>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

using namespace diary;

namespace {

const QDate kHoy(2026, 12, 6);

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
    bool Arrancar() {
        frm = std::make_unique<FrmMain>(e.entorno);
        if (!frm->Form_Load())
            return false;
        frm->Mostrar();
        QCoreApplication::processEvents();
        return true;
    }
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
    void Mover(QWidget* w, QPoint p) {
        QMouseEvent ev(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, {}, {});
        QApplication::sendEvent(w, &ev);
    }
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

QString Hoy() {
    return QLocale().toString(kHoy, QLocale::ShortFormat);
}

} // namespace

class TstDiario : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }

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
        QVERIFY(b.Sonidos().isEmpty());
    }
};

QTEST_MAIN(TstDiario)
#include "tst_diario.moc"
