// Child of the kill test: the diary window, headless, saving tasks in a loop into the
// Rendalio.dat of FOLDER. After each save has returned it appends a line to LOG and
// flushes it to the disk, so the test knows every save that finished before the kill:
//   "N <reference>"          a new task was saved (its description "v0")
//   "E <reference> <k>"      that task's description was changed to "v<k>"
// A line "listo" on standard output tells that the window is up and the loop begins.
//   diario_guardar_en_bucle FOLDER LOG ROUND
#include "FrmMain.h"
#include "Grabadoras.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

int registro = -1;

void Anotar(const QByteArray& linea) {
    const QByteArray texto = linea + '\n';
    if (::write(registro, texto.constData(), size_t(texto.size())) != texto.size() ||
        ::fsync(registro) != 0)
        std::_Exit(5);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 4)
        return 2;
    const QString carpeta = QString::fromLocal8Bit(argv[1]);
    registro = ::open(argv[2], O_WRONLY | O_APPEND | O_CREAT, 0644);
    const QByteArray vuelta = argv[3];
    if (registro < 0)
        return 3;
    auto e = comun::CrearEntornoGrabado(carpeta);
    diary::FrmMain frm(e.entorno);
    if (!frm.Form_Load())
        return 4;
    frm.Mostrar();
    QCoreApplication::processEvents();
    std::printf("listo\n");
    std::fflush(stdout);

    QHash<QString, int> ediciones;
    QStringList creadas;
    for (int n = 0;; ++n) {
        const QString referencia = QStringLiteral("r%1-%2").arg(QString::fromLatin1(vuelta)).arg(n);
        frm.ImgMenu_Click(1);
        frm.TextBox1->setPlainText(QStringLiteral("v0"));
        frm.TextBox2->setText(referencia);
        frm.ImgMenu_Click(2);
        if (!e.dialogos->mensajes.isEmpty() || frm.Editando())
            return 6; // the save did not go through
        Anotar("N " + referencia.toUtf8());
        creadas << referencia;

        // Every other round, a change to an earlier task of this run.
        if (n % 2 == 1) {
            const QString elegida = creadas[(n * 7) % creadas.size()];
            const QString linea = frm.LblFecha->Caption() + QStringLiteral(" - ") + elegida;
            const auto encontradas = frm.ListTareas->findItems(linea, Qt::MatchExactly);
            if (encontradas.isEmpty())
                return 7;
            frm.ListTareas->setCurrentItem(encontradas.first());
            const int k = ediciones.value(elegida) + 1;
            frm.TextBox1->setPlainText(QStringLiteral("v%1").arg(k));
            frm.ImgMenu_Click(2);
            if (!e.dialogos->mensajes.isEmpty() || frm.Editando())
                return 8;
            ediciones[elegida] = k;
            Anotar("E " + elegida.toUtf8() + ' ' + QByteArray::number(k));
        }
    }
}
