#pragma once

// A small RAII wrapper over the SQLite C API. It is header-only on purpose: the
// diary links SQLite and the wizard and the host link SQLCipher, which export the
// same symbols, and each picks its own "sqlite3.h" through its include path.

#include <sqlite3.h>

#include <QByteArray>
#include <QString>
#include <utility>

namespace comun::sql {

class Sentencia {
public:
    Sentencia() = default;
    Sentencia(sqlite3* db, const QString& sql) {
        const QByteArray texto = sql.toUtf8();
        codigo_ = sqlite3_prepare_v2(db, texto.constData(), int(texto.size()), &stmt_, nullptr);
    }
    Sentencia(const Sentencia&) = delete;
    Sentencia& operator=(const Sentencia&) = delete;
    Sentencia(Sentencia&& otra) noexcept
        : stmt_(std::exchange(otra.stmt_, nullptr)), codigo_(otra.codigo_) {}
    Sentencia& operator=(Sentencia&& otra) noexcept {
        std::swap(stmt_, otra.stmt_);
        codigo_ = otra.codigo_;
        return *this;
    }
    ~Sentencia() { sqlite3_finalize(stmt_); }

    bool Valida() const { return stmt_ != nullptr && codigo_ == SQLITE_OK; }
    int Codigo() const { return codigo_; }

    Sentencia& Enlazar(int n, const QString& valor) {
        if (valor.isNull()) {
            sqlite3_bind_null(stmt_, n);
        } else {
            const QByteArray texto = valor.toUtf8();
            sqlite3_bind_text(stmt_, n, texto.constData(), int(texto.size()), SQLITE_TRANSIENT);
        }
        return *this;
    }
    Sentencia& Enlazar(int n, qint64 valor) {
        sqlite3_bind_int64(stmt_, n, valor);
        return *this;
    }
    Sentencia& Enlazar(int n, int valor) { return Enlazar(n, qint64(valor)); }

    // SQLITE_ROW, SQLITE_DONE or an error code.
    int Paso() {
        codigo_ = stmt_ ? sqlite3_step(stmt_) : SQLITE_MISUSE;
        return codigo_;
    }
    bool Fila() { return Paso() == SQLITE_ROW; }
    bool Ejecutar() { return Paso() == SQLITE_DONE; }
    void Reiniciar() {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }

    QString Texto(int columna) const {
        const QByteArrayView bytes = Utf8(columna);
        return bytes.data() ? QString::fromUtf8(bytes) : QString();
    }
    // The column's text as UTF-8 bytes, valid until the next step: for joining values
    // without making a string of each.
    QByteArrayView Utf8(int columna) const {
        const auto* datos = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, columna));
        return datos ? QByteArrayView(datos, sqlite3_column_bytes(stmt_, columna))
                     : QByteArrayView();
    }
    qint64 Entero(int columna) const { return sqlite3_column_int64(stmt_, columna); }
    bool EsNulo(int columna) const { return sqlite3_column_type(stmt_, columna) == SQLITE_NULL; }

private:
    sqlite3_stmt* stmt_ = nullptr;
    int codigo_ = SQLITE_MISUSE;
};

class Conexion {
public:
    Conexion() = default;
    Conexion(const Conexion&) = delete;
    Conexion& operator=(const Conexion&) = delete;
    ~Conexion() { Cerrar(); }

    // flags: SQLITE_OPEN_READWRITE, optionally | SQLITE_OPEN_CREATE.
    bool Abrir(const QString& ruta, int flags) {
        Cerrar();
        const QByteArray nombre = ruta.toUtf8();
        codigo_ = sqlite3_open_v2(nombre.constData(), &db_, flags, nullptr);
        if (codigo_ != SQLITE_OK) {
            error_ = db_ ? QString::fromUtf8(sqlite3_errmsg(db_))
                         : QString::fromUtf8(sqlite3_errstr(codigo_));
            Cerrar();
            return false;
        }
        sqlite3_extended_result_codes(db_, 1);
        return true;
    }
    void Cerrar() {
        if (db_)
            sqlite3_close_v2(db_);
        db_ = nullptr;
    }
    bool Abierta() const { return db_ != nullptr; }
    sqlite3* Manejador() const { return db_; }

    bool Ejecutar(const QString& sql) {
        char* mensaje = nullptr;
        codigo_ = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &mensaje);
        if (codigo_ != SQLITE_OK) {
            error_ =
                mensaje ? QString::fromUtf8(mensaje) : QString::fromUtf8(sqlite3_errstr(codigo_));
            sqlite3_free(mensaje);
            return false;
        }
        return true;
    }
    Sentencia Preparar(const QString& sql) {
        Sentencia s(db_, sql);
        if (!s.Valida())
            Anotar(s.Codigo());
        return s;
    }
    // Records the connection's own description of the last failure.
    void Anotar(int codigo) {
        codigo_ = codigo;
        error_ = db_ ? QString::fromUtf8(sqlite3_errmsg(db_))
                     : QString::fromUtf8(sqlite3_errstr(codigo));
    }
    int UltimoCodigo() const { return codigo_; }
    const QString& UltimoError() const { return error_; }

private:
    sqlite3* db_ = nullptr;
    int codigo_ = SQLITE_OK;
    QString error_;
};

} // namespace comun::sql
