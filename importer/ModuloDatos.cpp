// The module "TrasvoloDatos.so": the wizard's database engine (SQLCipher), loaded by the
// program when the user first reaches the safety copy or the import.
#include "Trasvase.h"

extern "C" Q_DECL_EXPORT importer::MotorDatos* CrearMotorDatosTrasvolo() {
    return new importer::MotorDirecto;
}
