#include "Exportacion.h"

#include "Csv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace importer {

namespace {
// Far more than any exported address book; a larger file is not read into memory.
constexpr qint64 kMaximoCsv = qint64(256) << 20;

QString Visible(const QString& ruta) {
    return QDir::toNativeSeparators(ruta);
}

QString NoSeEncuentra(const QString& ruta) {
    return QStringLiteral("No se encuentra el archivo «%1».").arg(Visible(ruta));
}

// What stands under the name when it is not a file of data (a link is followed).
QString ClaseNoArchivo(const QString& ruta) {
    std::error_code error;
    const auto estado =
        std::filesystem::status(std::filesystem::path(ruta.toStdU16String()), error);
    if (error)
        return {};
    switch (estado.type()) {
    case std::filesystem::file_type::directory:
        return QStringLiteral("una carpeta");
    case std::filesystem::file_type::fifo:
        return QStringLiteral("una tubería con nombre (FIFO)");
    case std::filesystem::file_type::character:
    case std::filesystem::file_type::block:
        return QStringLiteral("un dispositivo");
    case std::filesystem::file_type::socket:
        return QStringLiteral("un socket");
    default:
        return QStringLiteral("un archivo especial del sistema");
    }
}

QString DemasiadoGrande(const QString& ruta, qint64 bytes) {
    return QStringLiteral("El archivo «%1» es demasiado grande (%2 MB) para ser una libreta de "
                          "direcciones exportada.")
        .arg(Visible(ruta))
        .arg(bytes >> 20);
}
} // namespace

ArchivoContactos LeerArchivoContactos(const QString& ruta) {
    ArchivoContactos resultado;
    // Only a file of data is read: opening a named pipe waits for a writer for good, and
    // a device gives bytes without end.
    const QFileInfo info(ruta);
    if (info.exists() && !info.isFile()) {
        resultado.error = QStringLiteral("«%1» no es un archivo de datos sino %2: exporte de "
                                         "nuevo la libreta de direcciones a un archivo «Datos».")
                              .arg(Visible(ruta), ClaseNoArchivo(ruta));
        return resultado;
    }
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly)) {
        resultado.error =
            archivo.exists()
                ? QStringLiteral("No se puede leer el archivo «%1».").arg(Visible(ruta))
                : NoSeEncuentra(ruta);
        return resultado;
    }
    if (archivo.size() > kMaximoCsv) {
        resultado.error = DemasiadoGrande(ruta, archivo.size());
        return resultado;
    }
    // Read up to one byte past the limit: the file may have grown since its size was
    // taken.
    const QByteArray bytes = archivo.read(kMaximoCsv + 1);
    if (bytes.size() > kMaximoCsv) {
        resultado.error = DemasiadoGrande(ruta, bytes.size());
        return resultado;
    }
    if (archivo.error() != QFileDevice::NoError) {
        resultado.error = QStringLiteral("No se puede leer el archivo «%1».").arg(Visible(ruta));
        return resultado;
    }
    archivo.close();

    const QString texto = DecodificarCsv(bytes);
    if (texto.trimmed().isEmpty()) {
        resultado.error = QStringLiteral("El archivo «%1» está vacío: exporte de nuevo la "
                                         "libreta de direcciones.")
                              .arg(Visible(ruta));
        return resultado;
    }
    // Nul characters would cut the names short in every program that reads them.
    if (texto.contains(QChar(0))) {
        resultado.error = QStringLiteral("El archivo «%1» no es un archivo de texto: contiene "
                                         "caracteres nulos.")
                              .arg(Visible(ruta));
        return resultado;
    }
    const QStringList lineas = LineasArchivo(texto);
    if (const qsizetype linea = LineaComillaSinCerrar(lineas)) {
        resultado.error = QStringLiteral("En el archivo «%1» el contacto de la línea %2 abre unas "
                                         "comillas que no se cierran: todas las líneas "
                                         "siguientes quedarían dentro de uno de sus datos.")
                              .arg(Visible(ruta))
                              .arg(linea);
        return resultado;
    }
    resultado.registros = ReagruparRegistros(lineas);
    // Blank lines after the last contact hold no contact.
    while (resultado.registros.size() > 1 && resultado.registros.last().trimmed().isEmpty())
        resultado.registros.removeLast();
    if (!CabeceraValida(resultado.registros.first())) {
        resultado.registros.clear();
        resultado.error = QStringLiteral("La primera línea del archivo «%1» no es la cabecera de "
                                         "la libreta exportada: debe empezar por la columna "
                                         "«Nombre» seguida del separador (una coma o un punto y "
                                         "coma).")
                              .arg(Visible(ruta));
        return resultado;
    }
    resultado.separador = *SeparadorDeCabecera(resultado.registros.first());
    return resultado;
}

} // namespace importer
