#include "MotorDatos.h"

#include <QDir>
#include <QLibrary>

namespace importer {

namespace {
using Fabrica = MotorDatos* (*)();

class MotorModulo : public MotorDatos {
public:
    explicit MotorModulo(const QString& carpeta) : modulo_(QDir(carpeta).filePath(kModuloDatos)) {}
    ~MotorModulo() override {
        // The engine's code lives in the module: destroy it first. The module itself
        // stays loaded until the program ends.
        motor_.reset();
    }

    QString HacerCopiaSeguridad(const QString& rutaDatos, const QString& rutaCopia) override {
        if (!Cargar())
            return error_;
        return motor_->HacerCopiaSeguridad(rutaDatos, rutaCopia);
    }
    QString ImportarContactos(const ArchivoContactos& archivo, const QString& rutaDatos,
                              const AvisosImportacion& avisos) override {
        if (!Cargar())
            return error_;
        return motor_->ImportarContactos(archivo, rutaDatos, avisos);
    }

private:
    bool Cargar() {
        if (motor_)
            return true;
        Fabrica fabrica = nullptr;
        if (modulo_.load())
            fabrica = reinterpret_cast<Fabrica>(modulo_.resolve(kFabricaMotorDatos));
        if (fabrica)
            motor_.reset(fabrica());
        if (!motor_)
            error_ = QStringLiteral("No se puede cargar el archivo «%1», que forma parte de este "
                                    "asistente: %2")
                         .arg(QDir::toNativeSeparators(modulo_.fileName()), modulo_.errorString());
        return motor_ != nullptr;
    }

    QLibrary modulo_;
    std::unique_ptr<MotorDatos> motor_;
    QString error_;
};
} // namespace

std::shared_ptr<MotorDatos> MotorDatosDelModulo(const QString& carpeta) {
    return std::make_shared<MotorModulo>(carpeta);
}

} // namespace importer
