#include "FrmMain.h"

#include "SonidosQt.h"

#include <QApplication>
#include <thread>

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
#include <dlfcn.h>
#endif

namespace {

// Reading the desktop's font configuration is the largest single cost before the first
// text can be drawn. Where the toolkit uses fontconfig, that reading starts on a second
// thread while the application object is built, and is joined before any window
// exists; fontconfig keeps the result for the toolkit's own (then immediate) start.
std::thread PrepararFuentes() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    using FcInit = int (*)();
    if (auto iniciar = reinterpret_cast<FcInit>(dlsym(RTLD_DEFAULT, "FcInit")))
        return std::thread(iniciar);
#endif
    return {};
}

} // namespace

int main(int argc, char* argv[]) {
    std::thread fuentes = PrepararFuentes();
    QApplication app(argc, argv);
    if (fuentes.joinable())
        fuentes.join();
    comun::Entorno entorno = comun::Entorno::Real(QCoreApplication::applicationDirPath());
    entorno.sonidos = std::make_shared<comun::SonidosQt>(QCoreApplication::applicationDirPath());
    diary::FrmMain frm(entorno);
    if (!frm.Form_Load())
        return 0;
    frm.Mostrar();
    return app.exec();
}
