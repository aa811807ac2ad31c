// Questions about the X display ($DISPLAY) that the end-to-end scripts wait on:
//   estado_x SELECTION   succeeds, printing the owner, when a client owns the selection
//                        (a notification area owns _NET_SYSTEM_TRAY_S0 once it docks icons)
//   estado_x --teclado   succeeds when another client holds the keyboard (an open popup
//                        menu takes it, and only then do keys reach it)
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>

namespace {
int DuenoSeleccion(Display* pantalla, const char* nombre) {
    const Window dueno = XGetSelectionOwner(pantalla, XInternAtom(pantalla, nombre, False));
    if (dueno != None)
        std::printf("0x%lx\n", dueno);
    return dueno != None ? 0 : 1;
}

int TecladoTomado(Display* pantalla) {
    // Taking the keyboard fails exactly while another client holds it; taken, it is
    // given back at once.
    const int resultado = XGrabKeyboard(pantalla, DefaultRootWindow(pantalla), False,
                                        GrabModeAsync, GrabModeAsync, CurrentTime);
    if (resultado == GrabSuccess)
        XUngrabKeyboard(pantalla, CurrentTime);
    XSync(pantalla, False);
    return resultado == AlreadyGrabbed ? 0 : 1;
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s SELECTION | --teclado\n", argv[0]);
        return 2;
    }
    Display* pantalla = XOpenDisplay(nullptr);
    if (!pantalla)
        return 2;
    const int resultado = std::strcmp(argv[1], "--teclado") == 0 ? TecladoTomado(pantalla)
                                                                 : DuenoSeleccion(pantalla, argv[1]);
    XCloseDisplay(pantalla);
    return resultado;
}
