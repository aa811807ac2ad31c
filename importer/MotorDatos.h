#pragma once

// The wizard's two data operations, the safety copy and the import, behind one interface.
// They need SQLCipher (and with it OpenSSL), which the program does not load until the
// user reaches the safety copy: the real engine lives in the module "TrasvoloDatos.so"
// beside the program; the tests run the same code in their own process (MotorDirecto,
// Trasvase.h).

#include "Exportacion.h"

#include <QString>
#include <functional>
#include <memory>

namespace importer {

// What the import tells its caller while it runs.
struct AvisosImportacion {
    // Milliseconds between two batches (a commit followed by a turn of the caller's
    // event loop).
    int intervaloMs = 30;
    // Contacts 1 to `confirmados` are permanent in the table. False ends the import at
    // once, keeping them (the wizard is closing).
    std::function<bool(qsizetype confirmados)> entreLotes;
    // Contact `k` of `total` is next, shown after each batch and at a failure.
    std::function<void(qsizetype k, qsizetype total)> progreso;
};

class MotorDatos {
public:
    virtual ~MotorDatos() = default;
    // Byte copy of Vemora.dat; an empty text on success, else the description.
    virtual QString HacerCopiaSeguridad(const QString& rutaDatos, const QString& rutaCopia) = 0;
    // The contacts of `archivo` into the table Datos of `rutaDatos`; an empty text when all
    // are in (or the caller stopped it), else the description of the failure.
    virtual QString ImportarContactos(const ArchivoContactos& archivo, const QString& rutaDatos,
                                      const AvisosImportacion& avisos) = 0;
};

// The engine of the module in `carpeta`, loaded at its first use. When the module cannot
// be loaded, both operations answer with a description of why.
std::shared_ptr<MotorDatos> MotorDatosDelModulo(const QString& carpeta);

// The module's file name and the function that makes its engine.
inline const QString kModuloDatos = QStringLiteral("TrasvoloDatos.so");
inline constexpr char kFabricaMotorDatos[] = "CrearMotorDatosTrasvolo";

} // namespace importer
