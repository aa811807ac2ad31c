// puntero_virtual: gives a headless Wayland compositor's seat a pointer and keeps it
// until it is ended. Without an input device the seat offers no pointer, so the
// clients (XWayland among them) never receive the pointer input that the journeys send
// with "swaymsg seat seat0 cursor ...". The device is a virtual pointer
// (zwlr_virtual_pointer_manager_v1, offered by wlroots compositors); it stays still:
// the compositor's own cursor commands move and click.

#include <wayland-client.h>

#include <cstdio>
#include <cstring>

namespace {

// The two interfaces of the virtual-pointer protocol, as its scanner would write them:
// only the requests are needed, and of those only the first.
const wl_interface* const kSinTipos[] = {nullptr, nullptr, nullptr, nullptr, nullptr};
extern const wl_interface kPuntero;
const wl_interface* const kTiposCrear[] = {&wl_seat_interface, &kPuntero};
const wl_message kPeticionesGestor[] = {
    {"create_virtual_pointer", "?on", const_cast<const wl_interface**>(kTiposCrear)},
    {"destroy", "", const_cast<const wl_interface**>(kSinTipos)},
};
const wl_message kPeticionesPuntero[] = {
    {"motion", "uff", const_cast<const wl_interface**>(kSinTipos)},
    {"motion_absolute", "uuuuu", const_cast<const wl_interface**>(kSinTipos)},
    {"button", "uuu", const_cast<const wl_interface**>(kSinTipos)},
    {"axis", "uuf", const_cast<const wl_interface**>(kSinTipos)},
    {"frame", "", const_cast<const wl_interface**>(kSinTipos)},
    {"axis_source", "u", const_cast<const wl_interface**>(kSinTipos)},
    {"axis_stop", "uu", const_cast<const wl_interface**>(kSinTipos)},
    {"axis_discrete", "uufi", const_cast<const wl_interface**>(kSinTipos)},
    {"destroy", "", const_cast<const wl_interface**>(kSinTipos)},
};
const wl_interface kGestor = {
    "zwlr_virtual_pointer_manager_v1", 1, 2, kPeticionesGestor, 0, nullptr};
const wl_interface kPuntero = {"zwlr_virtual_pointer_v1", 1, 9, kPeticionesPuntero, 0, nullptr};

struct Globales {
    wl_seat* asiento = nullptr;
    wl_proxy* gestor = nullptr;
};

void Anunciado(void* datos, wl_registry* registro, uint32_t nombre, const char* interfaz,
               uint32_t) {
    auto* g = static_cast<Globales*>(datos);
    if (std::strcmp(interfaz, wl_seat_interface.name) == 0 && !g->asiento)
        g->asiento =
            static_cast<wl_seat*>(wl_registry_bind(registro, nombre, &wl_seat_interface, 1));
    else if (std::strcmp(interfaz, kGestor.name) == 0)
        g->gestor = static_cast<wl_proxy*>(wl_registry_bind(registro, nombre, &kGestor, 1));
}

void Retirado(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kOyente = {Anunciado, Retirado};

} // namespace

int main() {
    wl_display* pantalla = wl_display_connect(nullptr);
    if (!pantalla) {
        std::fprintf(stderr, "puntero_virtual: no Wayland display\n");
        return 1;
    }
    Globales g;
    wl_registry* registro = wl_display_get_registry(pantalla);
    wl_registry_add_listener(registro, &kOyente, &g);
    wl_display_roundtrip(pantalla);
    if (!g.asiento || !g.gestor) {
        std::fprintf(stderr, "puntero_virtual: the compositor offers no virtual pointer\n");
        return 1;
    }
    wl_proxy_marshal_constructor(g.gestor, 0, &kPuntero, g.asiento, nullptr);
    wl_display_roundtrip(pantalla);
    std::printf("listo\n");
    std::fflush(stdout);
    while (wl_display_dispatch(pantalla) != -1) {
    }
    return 0;
}
