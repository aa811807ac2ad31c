#pragma once

#include <functional>

// An application folder for the wizard's tests: the host's executable, an empty
// address book, and helpers to write the export and read back the table.

#include "Archivos.h"
#include "Esquema.h"
#include "FrmMain.h"
#include "Grabadoras.h"
#include "Trasvase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace prueba {

inline const QByteArray kCabecera =
    "Nombre,Email,Calle,Ciudad,CP,Provincia,Pais,Tel,Movil,Web,Notas\r\n";

struct Carpeta {
    QTemporaryDir dir;
    comun::EntornoGrabado e = comun::CrearEntornoGrabado(dir.path());

    Carpeta() {
        QFile exe(Ruta("Vemora.exe"));
        exe.open(QIODevice::WriteOnly);
        host::CrearVemoraSiFalta(Ruta("Vemora.dat"));
    }
    QString Ruta(const QString& nombre) const { return dir.filePath(nombre); }
    void Csv(const QByteArray& bytes) const { Escribir(Ruta("Datos.csv"), bytes); }
    void Agregar(qint64 indice, const QString& nombre, const QString& email = "e") const {
        comun::sql::Conexion c;
        QVERIFY(host::AbrirVemora(c, Ruta("Vemora.dat"), false));
        host::Contacto contacto;
        contacto.Indice = indice;
        contacto.Nombre = nombre;
        contacto.Email = email;
        contacto.Grupo = "Familia";
        QVERIFY(host::AgregarContacto(c, contacto));
    }
    // Adds the records "Previo 1" to "Previo `cuantos`" (Indice 1 up), with `relleno`
    // characters of notes each, in one transaction.
    void Llenar(int cuantos, int relleno) const {
        comun::sql::Conexion c;
        QVERIFY(host::AbrirVemora(c, Ruta("Vemora.dat"), false));
        QVERIFY(c.Ejecutar("BEGIN"));
        host::Contacto contacto;
        contacto.Notas = QString(relleno, u'n');
        for (int n = 1; n <= cuantos; ++n) {
            contacto.Indice = n;
            contacto.Nombre = QStringLiteral("Previo %1").arg(n);
            QVERIFY(host::AgregarContacto(c, contacto));
        }
        QVERIFY(c.Ejecutar("COMMIT"));
    }
    QList<host::Contacto> Contactos() const {
        comun::sql::Conexion c;
        QList<host::Contacto> lista;
        if (!host::AbrirVemora(c, Ruta("Vemora.dat"), false) || !host::LeerContactos(c, lista))
            qWarning() << "cannot read Vemora.dat:" << c.UltimoError();
        return lista;
    }
    QStringList Nombres() const {
        QStringList nombres;
        for (const auto& c : Contactos())
            nombres << c.Nombre;
        return nombres;
    }
    QStringList Titulos() const {
        QStringList t;
        for (const auto& m : e.dialogos->mensajes)
            t << m.titulo;
        return t;
    }
    // The visible files of the folder (the wizard's lock folder is hidden).
    QStringList Archivos() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }
};

inline std::unique_ptr<importer::FrmMain> Abrir(Carpeta& c) {
    auto f = std::make_unique<importer::FrmMain>(c.e.entorno,
                                                 std::make_shared<importer::MotorDirecto>());
    if (!f->Form_Load())
        return nullptr;
    return f;
}

// Presses Next until `paso` is reached, once per step (a failed import goes back to 9).
inline void IrA(importer::FrmMain& f, int paso) {
    for (int n = paso - f.PasoActual; n > 0; --n)
        f.CmdSiguiente_Click();
}

// The wizard at step 9 (safety copy made) with `csv` to import, each turn of its event
// loop taken at once; `enElTurno` runs at every turn of the import with the turn's number,
// from 1, in place of the toolkit's events.
inline std::unique_ptr<importer::FrmMain>
AntesDeImportar(Carpeta& c, const QByteArray& csv,
                std::function<void(importer::FrmMain&, int)> enElTurno) {
    c.Csv(csv);
    auto f = Abrir(c);
    IrA(*f, 9);
    f->intervaloEventosMs = 0;
    f->procesarEventos = [ventana = f.get(), enElTurno = std::move(enElTurno),
                          turnos = 0]() mutable { enElTurno(*ventana, ++turnos); };
    return f;
}

// The whole journey: safety copy at 9, import at 10.
inline std::unique_ptr<importer::FrmMain> Importar(Carpeta& c, const QByteArray& csv) {
    c.Csv(csv);
    auto f = Abrir(c);
    IrA(*f, 10);
    return f;
}

} // namespace prueba
