#include "TextosAyuda.h"

#include <QStringList>

namespace diary {

namespace {

QString Lineas(std::initializer_list<const char*> lineas) {
    QStringList l;
    for (const char* s : lineas)
        l << QString::fromUtf8(s);
    return l.join(QLatin1Char('\r'));
}

} // namespace

QString TituloZona(Orden orden, bool editando, bool modoAyuda) {
    switch (orden) {
    case Orden::Papelera:
        return editando ? QStringLiteral("CANCELAR\rOPERACION") : QStringLiteral("ELIMINAR\rTAREA");
    case Orden::NuevaTarea:
        return QStringLiteral("CREAR NUEVA\rTAREA");
    case Orden::Guardar:
        return QStringLiteral("GUARDAR\rCAMBIOS");
    case Orden::Anterior:
        return QStringLiteral("TAREA\rANTERIOR");
    case Orden::Siguiente:
        return QStringLiteral("TAREA\rSIGUIENTE");
    case Orden::Ayuda:
        return modoAyuda ? QStringLiteral("Ocultar\rA Y U D A")
                         : QStringLiteral("Mostrar\rA Y U D A");
    case Orden::Copiar:
        return QStringLiteral("COPIAR\rTAREAS");
    case Orden::CopiarActual:
        return QStringLiteral("COPIAR TAREA\rACTUAL");
    case Orden::CopiarTodas:
        return QStringLiteral("COPIAR TODAS\rLAS TAREAS");
    case Orden::ConfirmarSi:
    case Orden::ConfirmarNo:
        break;
    }
    return {};
}

QString CuerpoZona(Orden orden, bool editando) {
    switch (orden) {
    case Orden::Papelera:
        if (editando)
            return Lineas({"No se almacenarán los nuevos datos",
                           "introducidos. Se cancelará la operación",
                           "de crear nueva tarea o modificar datos."});
        return Lineas({"Elimina definitivamente la tarea seleccionada.",
                       "Solicita confirmación. Puede utilizar la tecla",
                       "«Supr» y para confirmar o no la eliminación",
                       "pulse seguidamente las teclas «S» o «N»."});
    case Orden::NuevaTarea:
        return Lineas(
            {"Introduzca -Referencia, Fecha y Descripción-",
             "Haga clic en «Guardar Cambios» para almacenar",
             "la nueva tarea o en la «Papelera» para",
             "cancelar. No se puede dar de alta una tarea", "con la misma fecha y referencia.",
             "Para introducir una fecha hágalo desde el", "calendario haciendo clic sobre ella."});
    case Orden::Guardar:
        return Lineas({"Almacenar los cambios realizados", "o la nueva tarea que ha creado."});
    case Orden::Anterior:
        return Lineas({"Puede utilizar el cursor arriba para", "desplazarse a la tarea anterior.",
                       "Debe estar activa la lista de tareas.",
                       "Para activarla haga clic sobre ella."});
    case Orden::Siguiente:
        return Lineas({"Puede utilizar el cursor abajo para", "desplazarse a la tarea siguiente.",
                       "Debe estar activa la lista de tareas.",
                       "Para activarla haga clic sobre ella."});
    case Orden::Copiar:
        return Lineas({"Permite copiar las tareas en", "el portapapeles. Puede pegar",
                       "el contenido en cualquier", "procesador de textos para",
                       "su posterior tratamiento", "(impresión, envío por e-mail...)"});
    case Orden::Ayuda:
    case Orden::ConfirmarSi:
    case Orden::ConfirmarNo:
    case Orden::CopiarActual:
    case Orden::CopiarTodas:
        break;
    }
    return {};
}

QString CuerpoImgX() {
    return Lineas({"«Guardar cambios» se activará cuando realice",
                   "alguna modificación en los datos o haga clic",
                   "sobre el icono «Crear nueva tarea»."});
}

QString CuerpoCaja(int Index) {
    if (Index == 1)
        return Lineas({"Escriba aquí el contenido de", "la tarea que desea almacenar.",
                       "Hacer clic con el botón derecho", "del ratón muestra un pequeño",
                       "menú de opciones."});
    return Lineas({"Pequeña descripción que se mostrará", "en el cuadro Tareas junto con la fecha.",
                   "Puede introducir por ejemplo la hora a", "la que tiene que realizar la tarea",
                   "descrita en «Descripción»."});
}

QString TituloEdicion() {
    return QStringLiteral("Crear o modif.\rtarea...");
}

QString NombreZona(Orden orden) {
    switch (orden) {
    case Orden::ConfirmarSi:
        return QStringLiteral("SI");
    case Orden::ConfirmarNo:
        return QStringLiteral("No");
    default:
        return TituloZona(orden, false, false);
    }
}

QString DescripcionZona(Orden orden) {
    switch (orden) {
    case Orden::Ayuda:
        return QStringLiteral("Muestra u oculta la ayuda de los botones.");
    case Orden::ConfirmarSi:
        return QStringLiteral("Elimina la tarea seleccionada.");
    case Orden::ConfirmarNo:
        return QStringLiteral("Conserva la tarea seleccionada.");
    case Orden::CopiarActual:
        return QStringLiteral("Copia la tarea actual en el portapapeles.");
    case Orden::CopiarTodas:
        return QStringLiteral("Copia todas las tareas en el portapapeles.");
    default:
        return CuerpoZona(orden, false);
    }
}

} // namespace diary
