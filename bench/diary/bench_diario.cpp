// Times of the diary on a large task file: start-up until the list is filled and the
// calendar is shown, one save with the list rebuilt, and a copy of every task with its
// progress caption.
#include "AlmacenTareas.h"
#include "ArranqueDiario.h"
#include "Grabadoras.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 30000;
    QTemporaryDir dir;
    QFile(dir.filePath("Vemora.exe")).open(QIODevice::WriteOnly);
    const QString ruta = dir.filePath("Rendalio.dat");
    diary::AlmacenTareas::CrearAlmacen(ruta);
    {
        comun::sql::Conexion db;
        db.Abrir(ruta, SQLITE_OPEN_READWRITE);
        db.Ejecutar("BEGIN");
        auto s = db.Preparar("INSERT INTO TblDatos VALUES(?1, ?2, ?3, ?4)");
        for (int i = 1; i <= n; ++i) {
            const QDate f = QDate(2020, 1, 1).addDays(i % 2000);
            s.Enlazar(1, i).Enlazar(2, f.toString("dd/MM/yyyy"));
            s.Enlazar(3, QString("Descripción de la tarea %1\r\ncon dos líneas").arg(i));
            s.Enlazar(4, QString("Referencia %1").arg(i * 7919 % n));
            s.Ejecutar();
            s.Reiniciar();
        }
        db.Ejecutar("COMMIT");
    }
    auto e = comun::CrearEntornoGrabado(dir.path(), QDate(2026, 12, 6));

    QElapsedTimer reloj;
    reloj.start();
    diary::FrmMain frm(e.entorno);
    if (!bench::ArrancarDiario(frm))
        return 1;
    const double arranque = reloj.nsecsElapsed() / 1e6;
    std::printf("start-up with %d tasks until the list is filled: %.1f ms (%d lines)\n", n,
                arranque, frm.ListTareas->count());
    QCoreApplication::processEvents();

    frm.ImgMenu_Click(1);
    frm.TextBox2->setText("Nueva tarea del banco");
    reloj.restart();
    frm.ImgMenu_Click(2);
    std::printf("save of one task + list rebuild with %d tasks: %.1f ms\n", n + 1,
                reloj.nsecsElapsed() / 1e6);

    reloj.restart();
    frm.ImgMenu_Click(10);
    std::printf("copy-all of %d tasks (progress caption per line): %.1f ms, %lld characters\n",
                n + 1, reloj.nsecsElapsed() / 1e6,
                static_cast<long long>(e.portapapeles->texto.size()));
    return 0;
}
