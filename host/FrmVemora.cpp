#include "FrmVemora.h"

#include "Esquema.h"
#include "Reemplazo.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QVBoxLayout>

namespace host {

namespace {
// The wizard may still be releasing the database when it starts the host at its end.
constexpr int kEsperaBloqueoMs = 10000;
} // namespace

FrmVemora::FrmVemora(const QString& carpeta, QWidget* padre) : QWidget(padre) {
    setWindowTitle(QStringLiteral("Vemora"));
    auto* capa = new QVBoxLayout(this);
    auto* titulo = new QLabel(QStringLiteral("Vemora: libreta de direcciones"), this);
    QFont letra = titulo->font();
    letra.setBold(true);
    titulo->setFont(letra);
    capa->addWidget(titulo);
    tabla_ = new QTableWidget(this);
    tabla_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabla_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabla_->verticalHeader()->setVisible(false);
    capa->addWidget(tabla_, 1);
    lblEstado_ = new QLabel(this);
    capa->addWidget(lblEstado_);
    resize(760, 420);

    // A creation of the address book cut short leaves its temporary behind.
    comun::EliminarTemporales(carpeta);
    const QString ruta = QDir(carpeta).filePath(kArchivoDatos);
    QString error;
    if (!CrearVemoraSiFalta(ruta, &error)) {
        estado_ = QStringLiteral("No se pudo crear %1: %2").arg(kArchivoDatos, error);
    } else if (AbrirBloqueada(ruta)) {
        LlenarTabla();
    }
    lblEstado_->setText(estado_);
}

bool FrmVemora::AbrirBloqueada(const QString& ruta) {
    // The engine takes an empty file for an empty database and would write one into it
    // when it takes the lock below.
    if (QFileInfo(ruta).size() == 0) {
        estado_ = QStringLiteral("El archivo %1 está vacío: no es una libreta de direcciones.")
                      .arg(kArchivoDatos);
        return false;
    }
    if (!AbrirVemora(conexion_, ruta, false)) {
        estado_ = conexion_.UltimoError();
        return false;
    }
    sqlite3_busy_timeout(conexion_.Manejador(), kEsperaBloqueoMs);
    // In exclusive locking mode the lock taken by the first write is never given back
    // until the connection closes: nobody else can read or write the address book.
    if (!conexion_.Ejecutar(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE")) ||
        !conexion_.Ejecutar(QStringLiteral("BEGIN EXCLUSIVE")) ||
        !conexion_.Ejecutar(QStringLiteral("COMMIT"))) {
        estado_ =
            QStringLiteral("No se puede abrir %1: %2").arg(kArchivoDatos, conexion_.UltimoError());
        conexion_.Cerrar();
        return false;
    }
    return true;
}

void FrmVemora::LlenarTabla() {
    QList<Contacto> contactos;
    if (!LeerContactos(conexion_, contactos)) {
        estado_ = conexion_.UltimoError();
        return;
    }
    const QStringList cabeceras = {
        QStringLiteral("Indice"),    QStringLiteral("Nombre"),   QStringLiteral("Email"),
        QStringLiteral("Dirección"), QStringLiteral("Teléfono"), QStringLiteral("Celular"),
        QStringLiteral("Url"),       QStringLiteral("Notas"),    QStringLiteral("Grupo")};
    tabla_->setColumnCount(int(cabeceras.size()));
    tabla_->setHorizontalHeaderLabels(cabeceras);
    tabla_->setRowCount(int(contactos.size()));
    for (int fila = 0; fila < contactos.size(); ++fila) {
        const Contacto& c = contactos[fila];
        const QStringList valores = {QString::number(c.Indice),
                                     c.Nombre,
                                     c.Email,
                                     c.Direccion,
                                     c.Telefono,
                                     c.Celular,
                                     c.Url,
                                     c.Notas,
                                     c.Grupo};
        for (int col = 0; col < valores.size(); ++col) {
            // The address keeps its line breaks in the table; one line per cell is enough here.
            QString visible = valores[col];
            visible.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
            auto* celda = new QTableWidgetItem(visible);
            celda->setToolTip(valores[col]);
            tabla_->setItem(fila, col, celda);
        }
    }
    tabla_->resizeColumnsToContents();
    estado_ = QStringLiteral("%1 contactos").arg(contactos.size());
}

void FrmVemora::Soltar() {
    conexion_.Cerrar();
}

} // namespace host
