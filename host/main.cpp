#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

// The host program itself is outside the suite; this window only stands in for it.
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget ventana;
    ventana.setWindowTitle(QStringLiteral("Vemora"));
    auto* capa = new QVBoxLayout(&ventana);
    capa->addWidget(new QLabel(QStringLiteral("Vemora: libreta de direcciones"), &ventana));
    ventana.resize(360, 240);
    ventana.show();
    return app.exec();
}
