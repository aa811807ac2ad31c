#pragma once

#include "BaseDatos.h"

#include <QLabel>
#include <QTableWidget>
#include <QWidget>

namespace host {

// The stand-in for the host address book: it lists the contacts of Vemora.dat and,
// like the real host, keeps the database to itself for as long as it runs.
class FrmVemora : public QWidget {
    Q_OBJECT
public:
    explicit FrmVemora(const QString& carpeta, QWidget* padre = nullptr);

    // True once Vemora.dat is open and locked.
    bool Abierta() const { return conexion_.Abierta(); }
    const QString& Estado() const { return estado_; }
    QTableWidget* Tabla() const { return tabla_; }

    // Gives up the database (the window stays, empty).
    void Soltar();

private:
    bool AbrirBloqueada(const QString& ruta);
    void LlenarTabla();

    comun::sql::Conexion conexion_;
    QTableWidget* tabla_;
    QLabel* lblEstado_;
    QString estado_;
};

} // namespace host
