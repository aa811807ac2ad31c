// Times of the diary with descriptions that hold one very long word: start-up showing a
// stored task of that kind, showing it again from the list, a paste of a long word into
// the description and the save that follows. Each step counts until the description box
// has been painted, as a person sees it.
#include "AlmacenTareas.h"
#include "ArranqueDiario.h"
#include "Grabadoras.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

// The box painted now, as the window system would have it painted next.
void PintarCaja(diary::FrmMain& frm) {
    frm.TextBox1->viewport()->repaint();
    QCoreApplication::processEvents();
}

// Wall-clock time and the processor time of this thread (which a busy machine does not
// inflate), both in milliseconds since the last Empezar().
struct Medida {
    QElapsedTimer reloj;
    double cpu0 = 0;
    static double Cpu() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
    }
    void Empezar() {
        reloj.start();
        cpu0 = Cpu();
    }
    void Decir(const char* que) const {
        std::printf("%s: %.1f ms (processor %.1f ms)\n", que, reloj.nsecsElapsed() / 1e6,
                    Cpu() - cpu0);
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Characters of the stored word and of the pasted one.
    const int guardada = argc > 1 ? std::atoi(argv[1]) : 1048576;
    const int pegada = argc > 2 ? std::atoi(argv[2]) : 300000;
    QTemporaryDir dir;
    QFile(dir.filePath("Vemora.exe")).open(QIODevice::WriteOnly);
    const QString ruta = dir.filePath("Rendalio.dat");
    diary::AlmacenTareas::CrearAlmacen(ruta);
    {
        diary::AlmacenTareas almacen;
        almacen.AbrirAlmacen(ruta);
        almacen.Anadir();
        almacen.EscribirYConfirmar("06/12/2026", QString(guardada, QLatin1Char('x')), "larga");
        almacen.Anadir();
        almacen.EscribirYConfirmar("07/12/2026", "corta", "corta");
    }
    auto e = comun::CrearEntornoGrabado(dir.path(), QDate(2026, 12, 6));

    Medida medida;
    medida.Empezar();
    diary::FrmMain frm(e.entorno);
    if (!bench::ArrancarDiario(frm))
        return 1;
    PintarCaja(frm);
    medida.Decir(
        ("start-up showing a task of one " + std::to_string(guardada) + "-character word").c_str());

    frm.ListTareas->setCurrentRow(1);
    PintarCaja(frm);
    medida.Empezar();
    frm.ListTareas->setCurrentRow(0);
    PintarCaja(frm);
    medida.Decir("that task shown again from the list");

    frm.ListTareas->setCurrentRow(1);
    PintarCaja(frm);
    QGuiApplication::clipboard()->setText(QStringLiteral("ab").repeated(pegada / 2));
    frm.TextBox1->setFocus();
    frm.TextBox1->moveCursor(QTextCursor::End);
    medida.Empezar();
    frm.TextBox1->paste();
    PintarCaja(frm);
    medida.Decir(("paste of one " + std::to_string(pegada) + "-character word").c_str());

    medida.Empezar();
    frm.ImgMenu_Click(2);
    PintarCaja(frm);
    medida.Decir("save of that task, list rebuilt and that task shown");
    return 0;
}
