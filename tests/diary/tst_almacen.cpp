#include "AlmacenTareas.h"
#include "Archivos.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace diary;

namespace {
qint32 Guardar(AlmacenTareas& a, const QString& fecha, const QString& ref,
               std::optional<qint32> editar = std::nullopt) {
    if (editar)
        a.EditarActual(*editar);
    else
        a.Anadir();
    return a.EscribirYConfirmar(fecha, QStringLiteral("desc"), ref).value_or(-1);
}
} // namespace

class TstAlmacen : public QObject {
    Q_OBJECT
private slots:
    void init() {
        prueba::FallarConAvisos();
        QVERIFY(dir_.isValid());
        ruta_ = dir_.filePath(QStringLiteral("t%1.dat").arg(++n_));
        QVERIFY(!AlmacenTareas::CrearAlmacen(ruta_));
        QVERIFY(!a_.AbrirAlmacen(ruta_));
    }
    void cleanup() { a_.CerrarAlmacen(); }

    void clavesYReutilizacionDeLaUltima() {
        QCOMPARE(Guardar(a_, "01/01/2026", "a"), 1);
        QCOMPARE(Guardar(a_, "01/01/2026", "b"), 2);
        QCOMPARE(Guardar(a_, "01/01/2026", "c"), 3);
        // Deleting one in the middle leaves the counter; deleting the last frees its key.
        QVERIFY(a_.BuscarPorIndice(2));
        QVERIFY(!a_.BorrarActual());
        QCOMPARE(Guardar(a_, "01/01/2026", "d"), 4);
        QVERIFY(a_.BuscarPorIndice(4));
        QVERIFY(!a_.BorrarActual());
        QCOMPARE(Guardar(a_, "01/01/2026", "e"), 4);
        QCOMPARE(a_.Contar(), 3);
        // Keys are 32-bit: past the old 16-bit limit, and never one that exists already.
        {
            comun::sql::Conexion db;
            QVERIFY(db.Abrir(ruta_, SQLITE_OPEN_READWRITE));
            QVERIFY(db.Ejecutar("INSERT INTO TblDatos VALUES(32767, 'X', 'x', 'x')"));
        }
        QCOMPARE(Guardar(a_, "01/01/2026", "f"), 32768);
        {
            comun::sql::Conexion db;
            QVERIFY(db.Abrir(ruta_, SQLITE_OPEN_READWRITE));
            QVERIFY(db.Ejecutar("INSERT INTO TblDatos VALUES(2147483647, 'X', 'x', 'x')"));
        }
        QCOMPARE(Guardar(a_, "01/01/2026", "g"), 2); // the lowest free key
        QCOMPARE(Guardar(a_, "01/01/2026", "h"), 5);
    }

    void duplicadoSinDistinguirMayusculas() {
        Guardar(a_, "06/12/2026", "DENTISTA");
        Guardar(a_, "06/12/2026", "Reunión");
        QVERIFY(a_.ExisteFechaReferencia("06/12/2026", "dentista"));
        QVERIFY(a_.ExisteFechaReferencia("06/12/2026", "REUNIÓN"));
        QVERIFY(!a_.ExisteFechaReferencia("07/12/2026", "dentista"));
        QVERIFY(!a_.ExisteFechaReferencia("06/12/2026", "dentist"));
        // The date is stored upper-cased, the reference as typed.
        Guardar(a_, "6 dic. 2026", "Cita");
        QVERIFY(a_.BuscarPorLinea("6 DIC. 2026 - Cita"));
        QVERIFY(!a_.BuscarPorLinea("6 dic. 2026 - Cita"));
        QVERIFY(a_.ExisteFechaReferencia("6 Dic. 2026", "CITA"));
    }

    void buscarPorLineaDaLaPrimera() {
        Guardar(a_, "01/01/2026", "a");
        const qint32 b = Guardar(a_, "02/01/2026", "b");
        // Editing does not test for duplicates: two records may share a line.
        QCOMPARE(Guardar(a_, "01/01/2026", "a", b), b);
        QCOMPARE(a_.BuscarPorLinea("01/01/2026 - a")->Indice, 1);
        QCOMPARE(a_.Actual(), std::optional<qint32>(1));
        QVERIFY(!a_.BuscarPorLinea("01/01/2026 - A"));
        // The line is the whole of both values, whatever a reference holds.
        const qint32 c = Guardar(a_, "03/01/2026", "x - y");
        QCOMPARE(a_.BuscarPorLinea("03/01/2026 - x - y")->Indice, c);
        QVERIFY(!a_.BuscarPorLinea("03/01/2026 - x"));
        QCOMPARE(a_.Enumerar().size(), 3);
        // A pass of its own keeps the current record.
        a_.BuscarPorIndice(2);
        a_.Enumerar(true, false);
        QCOMPARE(a_.Actual(), std::optional<qint32>(2));
    }

    void archivosQueNoSeAbren() {
        const auto probar = [&](const QByteArray& bytes, const char* motivo) {
            const QString ruta = dir_.filePath("malo.dat");
            QFile f(ruta);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(bytes);
            f.close();
            AlmacenTareas otro;
            const auto error = otro.AbrirAlmacen(ruta);
            QVERIFY(error);
            QVERIFY2(error->descripcion.contains(QString::fromUtf8(motivo)),
                     qPrintable(error->descripcion));
            QVERIFY(!otro.Abierto());
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), bytes); // left exactly as it was
        };
        probar(QByteArray("esto no es una base de datos, solo texto....").repeated(200), "dañado");
        QFile sano(ruta_);
        QVERIFY(sano.open(QIODevice::ReadOnly));
        QByteArray roto = sano.readAll();
        roto.replace(0, 16, "SQLite format 2\0");
        probar(roto, "dañado");
        // A database of another program: no TblDatos.
        const QString ajena = dir_.filePath("ajena.dat");
        {
            comun::sql::Conexion db;
            QVERIFY(db.Abrir(ajena, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE));
            QVERIFY(db.Ejecutar("CREATE TABLE Otra(x)"));
        }
        AlmacenTareas otro;
        const auto error = otro.AbrirAlmacen(ajena);
        QVERIFY(error && error->descripcion.contains("TblDatos"));
        QVERIFY(otro.AbrirAlmacen(dir_.filePath("no-existe.dat")));
        QVERIFY(!QFile::exists(dir_.filePath("no-existe.dat")));
    }

    void creacionFallidaNoDejaArchivo() {
        const QString ruta = dir_.filePath("no/hay/carpeta/Rendalio.dat");
        const auto error = AlmacenTareas::CrearAlmacen(ruta);
        QVERIFY(error);
        QVERIFY(error->numero != 0);
        QVERIFY(!QFile::exists(ruta));
        // Creating over an existing table fails too, and the file that was there stays.
        QVERIFY(AlmacenTareas::CrearAlmacen(ruta_));
        QVERIFY(QFile::exists(ruta_));
    }

    void archivoNuevoYArchivoBorrado() {
        // A new store gets what the user's umask leaves, as any new file of theirs.
        const mode_t mascara = ::umask(077);
        const auto error = AlmacenTareas::CrearAlmacen(dir_.filePath("nuevo.dat"));
        ::umask(mascara);
        QVERIFY(!error);
        struct stat info {};
        QVERIFY(::stat(QFile::encodeName(dir_.filePath("nuevo.dat")).constData(), &info) == 0);
        QCOMPARE(int(info.st_mode & 07777), 0600);
        // Deleted while the diary runs: the save says the file is missing, not that it is
        // read-only.
        QCOMPARE(Guardar(a_, "01/01/2026", "a"), 1);
        QVERIFY(QFile::remove(ruta_));
        a_.Anadir();
        ErrorAlmacen fallo;
        QVERIFY(!a_.EscribirYConfirmar("01/01/2026", "desc", "b", &fallo));
        QVERIFY2(fallo.descripcion.startsWith("El archivo ya no existe"),
                 qPrintable(fallo.descripcion));
    }

private:
    QTemporaryDir dir_;
    QString ruta_;
    int n_ = 0;
    AlmacenTareas a_;
};

QTEST_GUILESS_MAIN(TstAlmacen)
#include "tst_almacen.moc"
