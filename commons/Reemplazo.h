#pragma once

// One way to replace a file whole: the new content is made under a hidden temporary name
// in the same folder, flushed to disk, given the old file's mode bits (a new file those
// the user's umask leaves; and, when the administrator rewrites a user's file, the old
// file's owner and group), renamed over the old name,
// and the folder's entry is flushed too. At every moment the name holds the old or the
// new complete file; a run cut short leaves only a hidden temporary behind, which
// EliminarTemporales recognises as ours.

#include <QFile>
#include <QString>
#include <QStringList>
#include <optional>

namespace comun {

class ReemplazoAtomico {
public:
    // Makes the temporary beside `destino` (a link is followed: the file it leads to is
    // the one replaced). Valido() tells whether it could be made.
    explicit ReemplazoAtomico(const QString& destino);
    ~ReemplazoAtomico(); // an unpublished temporary is removed
    ReemplazoAtomico(const ReemplazoAtomico&) = delete;
    ReemplazoAtomico& operator=(const ReemplazoAtomico&) = delete;

    bool Valido() const { return archivo_.isOpen(); }
    QString Destino() const { return destino_; }
    // For a caller that fills the temporary by its name (a database engine): the file stays
    // open here, marked as being written, until Publicar.
    QString RutaTemporal() const { return archivo_.fileName(); }

    bool Escribir(const QByteArray& bytes);
    // Copies the whole of `origen` (an open file) in pieces; false when it cannot be read
    // to its end.
    bool CopiarDe(QFile& origen);

    // The mode bits the new file gets: by default those of the file it replaces, else
    // those of any new file of the user there (read and write less the umask), or these.
    void PermisosSiNuevo(QFileDevice::Permissions permisos) { permisosNuevo_ = permisos; }
    void ForzarPermisos(QFileDevice::Permissions permisos) { permisosForzados_ = permisos; }

    // Flushes, renames over the destination and flushes the folder. False (and the old
    // file untouched) on any failure.
    bool Publicar();

private:
    QString destino_;
    QFile archivo_;
    bool publicado_ = false;
    QFileDevice::Permissions permisosNuevo_ = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    std::optional<QFileDevice::Permissions> permisosForzados_;
};

// Writes `contenido` as the whole of `destino` through a ReemplazoAtomico.
bool EscribirArchivoAtomico(const QString& destino, const QByteArray& contenido);

// Rewrites an existing file where it is and flushes it: for a file that may be written
// in a folder that takes no new file, where no temporary can be made. Not atomic, but
// a longer content fails on a full disk before the old one is touched.
bool ReescribirEnSitio(const QString& destino, const QByteArray& contenido);

// Whether `nombre` is a temporary that ReemplazoAtomico makes for a file of that folder
// (".<name>.~tmp" and six random letters or digits).
bool EsTemporalPropio(const QString& nombre);

// Removes, in `carpeta`, the temporaries of this suite that a run cut short left behind,
// and the extra names given (files of ours that may be left over). A file that a running
// program is still writing is left alone, and so is anything that only looks like ours
// (a user's ".Vemora.INI.bak"). Every program runs it when it starts.
void EliminarTemporales(const QString& carpeta, const QStringList& propiosTambien = {});

// Marks an open file as being written, for as long as it stays open, so that
// EliminarTemporales of another program leaves it alone. False where it cannot be marked.
bool MarcarEnUso(int descriptor);

// Flushes a folder's own entry, so that a rename in it lasts.
void SincronizarCarpeta(const QString& carpeta);

} // namespace comun
