#pragma once

#include <array>
#include <cstddef>

namespace diary {

// The commands of the diary's hot zones; the value is the zone's index in `ImgMenu`.
enum class Orden {
    Papelera = 0,    // delete the task shown; while editing, cancel the edit
    NuevaTarea = 1,  // paper scroll
    Guardar = 2,     // floppy disk
    Anterior = 3,    // arrow pointing left
    Siguiente = 4,   // arrow pointing right
    Ayuda = 5,       // question mark
    ConfirmarSi = 6, // SI on the confirmation panel
    ConfirmarNo = 7, // No on the confirmation panel
    Copiar = 8,      // small notepad: opens the copy panel on hover
    CopiarActual = 9,
    CopiarTodas = 10,
};

constexpr int kNumZonas = 11;

// Where a zone lies: on the window itself or on one of its two panels.
enum class Contenedor { Ventana, PicConfirma, PicCopiar };

struct RectTw {
    int izda, arriba, ancho, alto; // twips, relative to the container
};

struct Zona {
    Orden orden;
    Contenedor contenedor;
    RectTw zona; // the hot zone `ImgMenu`(i)
    RectTw sel;  // its highlight `ImgSel`(i), slightly larger
};

// One row per zone, in index order.
constexpr std::array<Zona, kNumZonas> kZonas{{
    {Orden::Papelera, Contenedor::Ventana, {240, 1800, 435, 555}, {210, 1780, 525, 615}},
    {Orden::NuevaTarea, Contenedor::Ventana, {720, 1360, 435, 555}, {690, 1340, 525, 690}},
    {Orden::Guardar, Contenedor::Ventana, {1320, 1320, 435, 435}, {1265, 1245, 570, 555}},
    {Orden::Anterior, Contenedor::Ventana, {1920, 1320, 435, 435}, {1830, 1240, 540, 555}},
    {Orden::Siguiente, Contenedor::Ventana, {2400, 1440, 435, 435}, {2320, 1360, 540, 555}},
    {Orden::Ayuda, Contenedor::Ventana, {5520, 80, 315, 315}, {5490, 60, 345, 360}},
    {Orden::ConfirmarSi, Contenedor::PicConfirma, {50, 740, 405, 255}, {30, 700, 465, 330}},
    {Orden::ConfirmarNo, Contenedor::PicConfirma, {720, 720, 525, 255}, {680, 700, 600, 315}},
    {Orden::Copiar, Contenedor::Ventana, {2760, 1040, 375, 360}, {2720, 980, 495, 480}},
    {Orden::CopiarActual, Contenedor::PicCopiar, {180, 80, 570, 540}, {140, 30, 660, 630}},
    {Orden::CopiarTodas, Contenedor::PicCopiar, {1000, 120, 530, 500}, {960, 80, 630, 585}},
}};

static_assert([] {
    for (int i = 0; i < kNumZonas; ++i)
        if (static_cast<int>(kZonas[std::size_t(i)].orden) != i)
            return false;
    return true;
}());

constexpr const Zona& ZonaDe(Orden orden) {
    return kZonas[std::size_t(orden)];
}

} // namespace diary
