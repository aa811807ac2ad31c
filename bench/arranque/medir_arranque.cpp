// Starts programs on the current X display and measures, for each, the time until its
// first top-level window is mapped and its peak resident memory shortly after. The
// programs take turns, one start each per round, so that a machine that gets busier or
// quieter during the measurement weighs on all of them alike.
//   medir_arranque FOLDER RUNS PROGRAM...
// Prints one line per program: "<program> start_ms=<median> peak_kb=<median>".
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

long LeerPicoKb(pid_t pid) {
    std::ifstream estado("/proc/" + std::to_string(pid) + "/status");
    std::string linea;
    while (std::getline(estado, linea))
        if (linea.rfind("VmHWM:", 0) == 0)
            return std::strtol(linea.c_str() + 6, nullptr, 10);
    return -1;
}

template <typename T> T Mediana(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Medida {
    double ms = -1;
    long picoKb = -1;
};

Medida Arrancar(Display* pantalla, const std::string& carpeta, const std::string& programa) {
    XSelectInput(pantalla, DefaultRootWindow(pantalla), SubstructureNotifyMask);
    XSync(pantalla, True);
    const auto inicio = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(carpeta.c_str()) != 0)
            _exit(127);
        const std::string ruta = carpeta + "/" + programa;
        execl(ruta.c_str(), ruta.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    Medida medida;
    const auto limite = inicio + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < limite) {
        if (XPending(pantalla) == 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            continue;
        }
        XEvent evento;
        XNextEvent(pantalla, &evento);
        if (evento.type == MapNotify) {
            medida.ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - inicio)
                    .count();
            break;
        }
    }
    // Let the first paint and the start-up's own work settle before reading the peak.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    medida.picoKb = LeerPicoKb(pid);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    XSelectInput(pantalla, DefaultRootWindow(pantalla), NoEventMask);
    return medida;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s FOLDER RUNS PROGRAM...\n", argv[0]);
        return 2;
    }
    const std::string carpeta = argv[1];
    const int vueltas = std::max(1, std::atoi(argv[2]));
    const std::vector<std::string> programas(argv + 3, argv + argc);
    Display* pantalla = XOpenDisplay(nullptr);
    if (!pantalla) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    std::vector<std::vector<double>> tiempos(programas.size());
    std::vector<std::vector<long>> picos(programas.size());
    for (int v = 0; v < vueltas; ++v) {
        for (size_t p = 0; p < programas.size(); ++p) {
            const Medida medida = Arrancar(pantalla, carpeta, programas[p]);
            if (medida.ms < 0) {
                std::fprintf(stderr, "%s: no window within 20 s\n", programas[p].c_str());
                return 1;
            }
            tiempos[p].push_back(medida.ms);
            picos[p].push_back(medida.picoKb);
        }
    }
    for (size_t p = 0; p < programas.size(); ++p)
        std::printf("%s start_ms=%.1f peak_kb=%ld\n", programas[p].c_str(), Mediana(tiempos[p]),
                    Mediana(picos[p]));
    return 0;
}
