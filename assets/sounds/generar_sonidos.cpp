// Synthesises the diary's seven event sounds as 16-bit mono PCM WAV files at 22050 Hz.
// Everything is computed from fixed tones, envelopes and a seeded noise source, so every
// build produces the same bytes. Usage: generar_sonidos <output folder>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kFrecuencia = 22050;
constexpr double kPi = std::numbers::pi;

// Peak levels stay between about -6 and -3.5 dBFS: heard clearly, far from clipping. Sustained
// sounds (the question, the buzz) get a lower peak so that they are not louder than the clicks.

class Sonido {
public:
    explicit Sonido(double segundos)
        : muestras_(static_cast<std::size_t>(segundos * kFrecuencia + 0.5), 0.0) {}

    // A struck tone: quick linear attack, exponential decay with time constant `caida`,
    // partials given as (frequency ratio, relative amplitude). `deslizar` bends the pitch
    // by that factor over the note (1 = steady).
    void AnadirNota(double inicio, double duracion, double hz, double amplitud, double ataque,
                    double caida, const std::vector<std::pair<double, double>>& parciales,
                    double deslizar = 1.0) {
        const std::size_t desde = Indice(inicio);
        const std::size_t hasta = std::min(muestras_.size(), Indice(inicio + duracion));
        std::vector<double> fase(parciales.size(), 0.0);
        for (std::size_t i = desde; i < hasta; ++i) {
            const double t = static_cast<double>(i - desde) / kFrecuencia;
            const double avance = t / duracion;
            const double f = hz * std::pow(deslizar, avance);
            double env = (t < ataque) ? t / ataque : std::exp(-(t - ataque) / caida);
            // A short release at the note's end keeps it from stopping with a click.
            const double resto = duracion - t;
            if (resto < 0.012) {
                env *= resto / 0.012;
            }
            double valor = 0.0;
            for (std::size_t k = 0; k < parciales.size(); ++k) {
                fase[k] += 2.0 * kPi * f * parciales[k].first / kFrecuencia;
                valor += parciales[k].second * std::sin(fase[k]);
            }
            muestras_[i] += amplitud * env * valor;
        }
    }

    // Band-passed noise whose centre moves from `hzDesde` to `hzHasta` (exponentially),
    // shaped by an attack and a decay; `q` is the filter's damping (smaller = narrower band).
    // The noise comes from a fixed-seed generator.
    void AnadirSoplo(double inicio, double duracion, double hzDesde, double hzHasta,
                     double amplitud, double ataque, double caida, double q,
                     std::uint32_t semilla) {
        const std::size_t desde = Indice(inicio);
        const std::size_t hasta = std::min(muestras_.size(), Indice(inicio + duracion));
        // Two state-variable band-pass stages in series: steeper sides, so the swish keeps
        // a clear pitch movement instead of turning into hiss.
        double bajo[2] = {0.0, 0.0}, banda[2] = {0.0, 0.0};
        std::uint32_t estado = semilla;
        for (std::size_t i = desde; i < hasta; ++i) {
            const double t = static_cast<double>(i - desde) / kFrecuencia;
            const double hz = hzDesde * std::pow(hzHasta / hzDesde, t / duracion);
            estado = estado * 1664525u + 1013904223u;
            const double ruido = static_cast<double>(estado >> 8) / 8388608.0 - 1.0;
            const double f = 2.0 * std::sin(kPi * hz / kFrecuencia);
            double entrada = ruido;
            for (int etapa = 0; etapa < 2; ++etapa) {
                bajo[etapa] += f * banda[etapa];
                const double alto = entrada - bajo[etapa] - q * banda[etapa];
                banda[etapa] += f * alto;
                entrada = banda[etapa];
            }
            double env = (t < ataque) ? t / ataque : std::exp(-(t - ataque) / caida);
            const double resto = duracion - t;
            if (resto < 0.015) {
                env *= resto / 0.015;
            }
            muestras_[i] += amplitud * env * entrada;
        }
    }

    // Scales the whole sound so that its highest absolute sample is `pico`.
    void Normalizar(double pico) {
        double maximo = 0.0;
        for (double m : muestras_) {
            maximo = std::max(maximo, std::fabs(m));
        }
        if (maximo > 0.0) {
            for (double& m : muestras_) {
                m *= pico / maximo;
            }
        }
    }

    bool Guardar(const std::filesystem::path& ruta) const {
        std::ofstream salida(ruta, std::ios::binary | std::ios::trunc);
        if (!salida) {
            return false;
        }
        const std::uint32_t datos = static_cast<std::uint32_t>(muestras_.size() * 2);
        auto u32 = [&](std::uint32_t v) {
            const char b[4] = {static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff),
                               static_cast<char>((v >> 16) & 0xff),
                               static_cast<char>((v >> 24) & 0xff)};
            salida.write(b, 4);
        };
        auto u16 = [&](std::uint16_t v) {
            const char b[2] = {static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff)};
            salida.write(b, 2);
        };
        salida.write("RIFF", 4);
        u32(36 + datos);
        salida.write("WAVEfmt ", 8);
        u32(16);              // size of the fmt chunk
        u16(1);               // PCM
        u16(1);               // mono
        u32(kFrecuencia);     // sample rate
        u32(kFrecuencia * 2); // bytes per second
        u16(2);               // bytes per frame
        u16(16);              // bits per sample
        salida.write("data", 4);
        u32(datos);
        for (double m : muestras_) {
            const double limitado = std::clamp(m, -1.0, 1.0);
            u16(static_cast<std::uint16_t>(
                static_cast<std::int16_t>(std::lround(limitado * 32767.0))));
        }
        return static_cast<bool>(salida);
    }

private:
    std::size_t Indice(double segundos) const {
        return static_cast<std::size_t>(std::max(0.0, segundos) * kFrecuencia + 0.5);
    }

    std::vector<double> muestras_;
};

// Timbres, as partial lists.
const std::vector<std::pair<double, double>> kSeno = {{1.0, 1.0}};
const std::vector<std::pair<double, double>> kCampana = {
    {1.0, 1.0}, {2.0, 0.32}, {3.01, 0.12}, {4.17, 0.05}};
const std::vector<std::pair<double, double>> kCristal = {{1.0, 1.0}, {2.76, 0.16}, {4.1, 0.03}};
const std::vector<std::pair<double, double>> kMadera = {
    {1.0, 1.0}, {2.0, 0.18}, {3.0, 0.22}, {5.0, 0.05}};
const std::vector<std::pair<double, double>> kZumbido = {{1.0, 1.0}, {2.0, 0.45}, {3.0, 0.33},
                                                         {4.0, 0.2}, {5.0, 0.16}, {7.0, 0.08}};

// S0: moving to the previous or next task, a soft wooden tick.
Sonido CrearTic() {
    Sonido s(0.10);
    s.AnadirNota(0.0, 0.10, 1760.0, 1.0, 0.0015, 0.014, kMadera);
    s.AnadirSoplo(0.0, 0.03, 4000.0, 3000.0, 0.5, 0.001, 0.006, 0.5, 11u);
    return s;
}

// S1: help or copy panel opening, a light rising glass chime of three notes.
Sonido CrearCampanilla() {
    Sonido s(0.45);
    const double notas[] = {1318.5, 1661.2, 1975.5}; // E6, G#6, B6
    for (int i = 0; i < 3; ++i) {
        s.AnadirNota(0.055 * i, 0.45 - 0.055 * i, notas[i], 0.55, 0.003, 0.11, kCristal);
    }
    return s;
}

// S2: deletion asked, two rounded notes rising like a question, the second bending up.
Sonido CrearPregunta() {
    Sonido s(0.46);
    s.AnadirNota(0.0, 0.19, 587.3, 0.8, 0.012, 0.16, kMadera);      // D5
    s.AnadirNota(0.2, 0.26, 784.0, 0.8, 0.012, 0.2, kMadera, 1.06); // G5, rising
    return s;
}

// S3: new task, cancel, copy: a soft click followed by a short upward swish.
Sonido CrearRoce() {
    Sonido s(0.2);
    s.AnadirNota(0.0, 0.03, 2400.0, 0.45, 0.0008, 0.006, kSeno);
    s.AnadirSoplo(0.012, 0.185, 700.0, 3600.0, 1.0, 0.05, 0.05, 0.3, 29u);
    return s;
}

// S4: task saved, a warm confirmation ding with its octave below for body.
Sonido CrearConfirmacion() {
    Sonido s(0.6);
    s.AnadirNota(0.0, 0.6, 1046.5, 0.75, 0.004, 0.2, kCampana);    // C6
    s.AnadirNota(0.0, 0.6, 523.25, 0.25, 0.004, 0.15, kSeno);      // C5
    s.AnadirNota(0.07, 0.53, 1568.0, 0.35, 0.004, 0.17, kCampana); // G6, a touch after
    return s;
}

// S7: task deleted, a descending swoosh with a falling tone under it.
Sonido CrearBarrido() {
    Sonido s(0.5);
    s.AnadirSoplo(0.0, 0.5, 3800.0, 260.0, 1.0, 0.04, 0.17, 0.35, 47u);
    s.AnadirNota(0.0, 0.42, 880.0, 0.12, 0.03, 0.14, kSeno, 0.28);
    return s;
}

// Error: a duplicate refused, two gentle low buzzes.
Sonido CrearZumbido() {
    Sonido s(0.42);
    for (int i = 0; i < 2; ++i) {
        const double t = 0.2 * i;
        s.AnadirNota(t, 0.17, 138.6, 0.6, 0.012, 0.2, kZumbido);
        s.AnadirNota(t, 0.17, 141.0, 0.4, 0.012, 0.2, kZumbido); // slight beat, softer edge
    }
    return s;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "uso: %s <carpeta de salida>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path carpeta = argv[1];
    std::error_code error;
    std::filesystem::create_directories(carpeta, error);

    struct Archivo {
        const char* nombre;
        Sonido (*crear)();
        double pico;
    };
    const Archivo archivos[] = {
        {"S0.wav", CrearTic, 0.6},           {"S1.wav", CrearCampanilla, 0.6},
        {"S2.wav", CrearPregunta, 0.5},      {"S3.wav", CrearRoce, 0.6},
        {"S4.wav", CrearConfirmacion, 0.62}, {"S7.wav", CrearBarrido, 0.67},
        {"Error.wav", CrearZumbido, 0.5}};
    for (const Archivo& a : archivos) {
        Sonido s = a.crear();
        s.Normalizar(a.pico);
        if (!s.Guardar(carpeta / a.nombre)) {
            std::fprintf(stderr, "no se pudo escribir %s\n", (carpeta / a.nombre).string().c_str());
            return 1;
        }
    }
    return 0;
}
