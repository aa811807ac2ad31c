// The yardstick: an empty Qt Widgets window of the diary's size, built like the suite.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget ventana;
    ventana.setWindowTitle(QStringLiteral("Vacio"));
    ventana.resize(400, 373);
    ventana.show();
    return app.exec();
}
