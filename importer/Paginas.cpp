#include "Paginas.h"

#include <QStringList>

namespace importer {

namespace {
// Stands for the application folder inside a page's lines.
const QString kRuta = QStringLiteral("\x01");

QStringList Lineas(int paso) {
    switch (paso) {
    case 0:
        return {QStringLiteral("Este programa le ayudará paso a paso"),
                QStringLiteral("a trasvolo los datos que tiene"),
                QStringLiteral("almacenados en la libreta de"),
                QStringLiteral("direcciones que utiliza el programa"),
                QStringLiteral("de Microsoft OutLook Express."),
                QString(),
                QStringLiteral("Si ocurriera algún error durante el"),
                QStringLiteral("proceso de importación de datos"),
                QStringLiteral("o tiene alguna duda consulte la ayuda."),
                QString(),
                QStringLiteral("Haga clic en el botón «Siguiente ->».")};
    case 1:
        return {QStringLiteral("Este programa ha intentado abrir la"),
                QStringLiteral("«Libreta de direcciones». Si no se"),
                QStringLiteral("ha abierto correctamente hágalo usted"),
                QStringLiteral("mismo manualmente siguiendo la ruta:"),
                QString(),
                QStringLiteral("Inicio - Programas - Accesorios -"),
                QStringLiteral("Libreta de direcciones."),
                QString(),
                QStringLiteral("O bién abra el programa OutLook"),
                QStringLiteral("Express y haga clic en el icono que"),
                QStringLiteral("muestra la libreta de direcciones.")};
    case 2:
        return {QStringLiteral("Ahora deberá exportar los datos. En la"),
                QStringLiteral("libreta de direcciones acceda al menú:"),
                QString(),
                QStringLiteral("Archivo - Exportar - Otra libreta de"),
                QStringLiteral("direcciones..."),
                QString(),
                QStringLiteral("Seleccione el siguiente tipo:"),
                QStringLiteral("Archivo de texto (valores separados"),
                QStringLiteral("por comas)"),
                QString(),
                QStringLiteral("Haga clic en el botón «Exportar».")};
    case 3:
        return {QStringLiteral("Ahora guarde el archivo exportado"),
                QStringLiteral("dándole el nombre «Datos» para que"),
                QStringLiteral("este programa pueda convertirlo."),
                QString(),
                QStringLiteral("MUY IMPORTANTE: El archivo de texto"),
                QStringLiteral("que se va a exportar debe llamarse"),
                QStringLiteral("«Datos» y encontrarse en la misma"),
                QStringLiteral("carpeta que la Vemora y este asistente."),
                QString(),
                QStringLiteral("Para conocer la carpeta que debe"),
                QStringLiteral("buscar haga clic en el botón"),
                QStringLiteral("«Siguiente ->» de esta ventana.")};
    case 4:
        return {QStringLiteral("La Vemora y este asistente están en:"),
                QString(),
                kRuta,
                QString(),
                QStringLiteral("En la ventana «Exportar a CSV» haga clic"),
                QStringLiteral("en el botón «Examinar». Seleccione esa"),
                QStringLiteral("carpeta en la ventana «Guardar como»."),
                QStringLiteral("Nombre de archivo: «Datos». Tipo:"),
                QStringLiteral("«Valores separados por comas (*.csv)»."),
                QString(),
                QStringLiteral("Haga clic en el botón «Guardar» de"),
                QStringLiteral("la ventana «Guardar como».")};
    case 5:
        return {QStringLiteral("Ahora en la ventana «Exportar a CSV»"),
                QStringLiteral("aparecerá la ruta y el nombre del archivo"),
                QStringLiteral("debajo de «Guardar el archivo exportado"),
                QStringLiteral("exportado como»."),
                QString(),
                QStringLiteral("Haga clic en el botón «Siguiente»"),
                QStringLiteral("de la ventana «Exportar a CSV». En esta"),
                QStringLiteral("nueva sección tendrá que seleccionar"),
                QStringLiteral("sólamente los datos aquí especificados"),
                QStringLiteral("Para ver cuáles son éstos vaya al"),
                QStringLiteral("siguiente paso.")};
    case 6:
        // The order of these fields is the column order the import expects.
        return {QStringLiteral("Nombre (no el que está 1º sino el 4º)"),
                QStringLiteral("Dirección de correo electrónico"),
                QStringLiteral("Calle"),
                QStringLiteral("Ciudad"),
                QStringLiteral("Código Postal del domicilio"),
                QStringLiteral("Estado o provincia del domicilio"),
                QStringLiteral("Pais o Región del domicilio"),
                QStringLiteral("Teléfono particular"),
                QStringLiteral("Teléfono Móvil"),
                QStringLiteral("Página Web personal"),
                QStringLiteral("Notas"),
                QStringLiteral("      NO SELECCIONE OTROS DATOS...")};
    case 7:
        return {QStringLiteral("Si selecciona otros datos la conversión"),
                QStringLiteral("será errónea. Seleccione todos los"),
                QStringLiteral("especificados en este asistente"),
                QStringLiteral("y desmarque los que no coincidan"),
                QStringLiteral("con los aquí especificados."),
                QString(),
                QStringLiteral("Haga clic en el botón «Finalizar» de"),
                QStringLiteral("la ventana «Exportar a CSV»"),
                QString(),
                QStringLiteral("Haga clic en el botón «Siguiente ->»"),
                QStringLiteral("de esta ventana.")};
    case 8:
        return {QString(),
                QStringLiteral("Este asistente creará una copia de"),
                QStringLiteral("seguridad de los datos antiguos."),
                QString(),
                QStringLiteral("El archivo se llamará «DatosAnt.bak»"),
                QStringLiteral("y se creará en la misma carpeta"),
                QStringLiteral("donde está la Vemora."),
                QString(),
                kRuta,
                QString(),
                QStringLiteral("           HAGA CLIC EN «Copia SEG».")};
    case 9:
        return {QStringLiteral("Al trasvolo los datos se modificarán"),
                QStringLiteral("los nombres existentes con los nuevos"),
                QStringLiteral("datos importados."),
                QString(),
                QStringLiteral("Es decir, si el nombre «Orsimo» existía"),
                QStringLiteral("en la Vemora con unos datos y ese"),
                QStringLiteral("mismo nombre existe en la libreta de"),
                QStringLiteral("de direcciones con otros datos, estos"),
                QStringLiteral("últimos serán los que aparecerán en"),
                QStringLiteral("la Vemora al final de este proceso."),
                QString(),
                QStringLiteral("           HAGA CLIC EN «TRASVOLO».")};
    case 10:
        return {QStringLiteral("Los datos de la libreta de direcciones"),
                QStringLiteral("se han incluido en la vemora"),
                QString(),
                QStringLiteral("Examine los nuevos datos en la vemora"),
                QStringLiteral("si no son correctos puede restaurar la"),
                QStringLiteral("última copia de seguridad realizada"),
                QStringLiteral("desde las opciones del programa"),
                QStringLiteral("antes de cerrar la Vemora."),
                QString(),
                QStringLiteral("GRACIAS por utilizar mis Programas..."),
                QString(),
                QStringLiteral("PELLMARK - Programas para la Vemora")};
    default:
        return {};
    }
}
} // namespace

QString TextoPagina(int paso, const QString& rutaPrograma) {
    QStringList lineas = Lineas(paso);
    for (QString& linea : lineas) {
        if (linea == kRuta)
            linea = rutaPrograma;
    }
    return lineas.join(QLatin1Char('\r'));
}

} // namespace importer
