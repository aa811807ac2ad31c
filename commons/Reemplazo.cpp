#include "Reemplazo.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <filesystem>
#include <system_error>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace comun {

namespace {

const QLatin1String kMarcaTemporal(".~tmp");
const QLatin1String kSufijoDiario("-journal");
constexpr int kLetrasAzar = 6;

QString LetrasAzar() {
    static const char kAlfabeto[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString letras;
    for (int i = 0; i < kLetrasAzar; ++i)
        letras += QLatin1Char(kAlfabeto[QRandomGenerator::global()->bounded(62)]);
    return letras;
}

std::filesystem::path Camino(const QString& ruta) {
    return std::filesystem::path(ruta.toStdU16String());
}

// The file a name leads to: a link stays a link, the file behind it is replaced.
QString ArchivoFinal(const QString& destino) {
    const QFileInfo info(destino);
    if (!info.isSymLink())
        return info.absoluteFilePath();
    return info.canonicalFilePath(); // empty for a link that leads nowhere
}

#if defined(Q_OS_UNIX)
// The administrator rewriting a user's file leaves it the user's.
bool ConservarDueno(int descriptor, const QString& destino) {
    struct stat viejo {};
    if (::geteuid() != 0 || ::stat(QFile::encodeName(destino).constData(), &viejo) != 0)
        return true;
    struct stat nuevo {};
    if (::fstat(descriptor, &nuevo) != 0)
        return false;
    if (nuevo.st_uid == viejo.st_uid && nuevo.st_gid == viejo.st_gid)
        return true;
    return ::fchown(descriptor, viejo.st_uid, viejo.st_gid) == 0;
}
#endif

constexpr QFileDevice::Permissions kLecturaEscrituraTodos =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
    QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
// The file's mode bits, without the toolkit's flags for the current user.
constexpr QFileDevice::Permissions kBitsModo =
    kLecturaEscrituraTodos | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;

#if defined(Q_OS_UNIX)
bool MismoArchivo(int descriptor, const QByteArray& ruta) {
    struct stat abierto {};
    struct stat nombrado {};
    return ::fstat(descriptor, &abierto) == 0 && ::lstat(ruta.constData(), &nombrado) == 0 &&
           abierto.st_dev == nombrado.st_dev && abierto.st_ino == nombrado.st_ino;
}
#endif

// Makes a new temporary private and marks it as being written. Another program's
// clean-up may have found it in the moment between its making and its mark: false
// then, and the file is that clean-up's to remove.
bool TomarTemporal(QFile& archivo) {
    if (!archivo.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        archivo.close();
        QFile::remove(archivo.fileName());
        return false;
    }
#if defined(Q_OS_UNIX)
    if (::flock(archivo.handle(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK)
            return true; // a file system without marks: written unmarked, as it must be
        archivo.close();
        return false;
    }
    if (!MismoArchivo(archivo.handle(), QFile::encodeName(archivo.fileName()))) {
        archivo.close();
        return false;
    }
#endif
    return true;
}

} // namespace

ReemplazoAtomico::ReemplazoAtomico(const QString& destino) : destino_(ArchivoFinal(destino)) {
    if (destino_.isEmpty())
        return;
    const QFileInfo info(destino_);
    const QString base = info.absolutePath() + QLatin1Char('/') + QLatin1Char('.') +
                         info.fileName() + kMarcaTemporal;
    for (int intento = 0; intento < 20 && !archivo_.isOpen(); ++intento) {
        archivo_.setFileName(base + LetrasAzar());
        // A name someone else holds is never reused.
        if (!archivo_.open(QIODevice::WriteOnly | QIODevice::NewOnly, kLecturaEscrituraTodos))
            continue;
        // What the system gave the new, still empty file is what any new file of this
        // user gets in this folder: read and write for all, less the umask (or as the
        // folder's default access list says).
        permisosNuevo_ = archivo_.permissions() & kBitsModo;
        if (TomarTemporal(archivo_))
            return;
    }
}

ReemplazoAtomico::~ReemplazoAtomico() {
    if (publicado_ || archivo_.fileName().isEmpty() || !archivo_.isOpen())
        return;
    archivo_.close();
    QFile::remove(archivo_.fileName());
    QFile::remove(archivo_.fileName() + kSufijoDiario);
}

bool ReemplazoAtomico::Escribir(const QByteArray& bytes) {
    return Valido() && archivo_.write(bytes) == bytes.size();
}

bool ReemplazoAtomico::CopiarDe(QFile& origen) {
    if (!Valido())
        return false;
    constexpr qint64 kTrozo = 1 << 20;
    qint64 copiados = 0;
    while (!origen.atEnd()) {
        const QByteArray trozo = origen.read(kTrozo);
        if (trozo.isEmpty() && origen.error() != QFileDevice::NoError)
            return false;
        if (!Escribir(trozo))
            return false;
        copiados += trozo.size();
    }
    // A file that changed size while being read (or a device) is not a whole copy.
    return origen.error() == QFileDevice::NoError &&
           (origen.isSequential() || copiados == origen.size());
}

bool ReemplazoAtomico::Publicar() {
    if (!Valido() || publicado_ || !archivo_.flush())
        return false;
#if defined(Q_OS_UNIX)
    // The rename must never publish a file whose bytes are still in the cache only.
    if (::fsync(archivo_.handle()) != 0 || !ConservarDueno(archivo_.handle(), destino_))
        return false;
#endif
    QFileDevice::Permissions permisos = permisosNuevo_;
    if (permisosForzados_)
        permisos = *permisosForzados_;
    else if (QFileInfo::exists(destino_))
        permisos = QFile::permissions(destino_);
    if (!archivo_.setPermissions(permisos))
        return false;
    std::error_code error;
    std::filesystem::rename(Camino(archivo_.fileName()), Camino(destino_), error);
    if (error)
        return false;
    publicado_ = true;
    archivo_.close();
    SincronizarCarpeta(QFileInfo(destino_).absolutePath());
    return true;
}

bool ReescribirEnSitio(const QString& destino, const QByteArray& contenido) {
    QFile archivo(destino);
    // Read and write: the file is not emptied on opening.
    if (!archivo.open(QIODevice::ReadWrite))
        return false;
#if defined(Q_OS_LINUX)
    // The room a longer file needs is taken first: a full disk then refuses the write
    // before any byte of the old file is overwritten.
    const qint64 antes = archivo.size();
    if (contenido.size() > antes &&
        ::posix_fallocate(archivo.handle(), antes, contenido.size() - antes) == ENOSPC)
        return false;
#endif
    if (archivo.write(contenido) != contenido.size() || !archivo.resize(contenido.size()) ||
        !archivo.flush())
        return false;
#if defined(Q_OS_UNIX)
    return ::fsync(archivo.handle()) == 0;
#else
    return true;
#endif
}

bool EscribirArchivoAtomico(const QString& destino, const QByteArray& contenido) {
    ReemplazoAtomico reemplazo(destino);
    return reemplazo.Escribir(contenido) && reemplazo.Publicar();
}

namespace {
bool EsLetraAzar(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}
} // namespace

// Read by hand, not with a pattern: every program asks this at start-up, and a pattern
// would load and compile the regular expression engine for a folder that seldom holds
// a temporary.
bool EsTemporalPropio(const QString& nombre) {
    QStringView resto(nombre);
    if (resto.endsWith(kSufijoDiario))
        resto.chop(kSufijoDiario.size());
    // "." + the name (one character at least) + ".~tmp" + the letters
    const qsizetype marca = resto.size() - kLetrasAzar - kMarcaTemporal.size();
    if (marca < 2 || !resto.startsWith(u'.') || !resto.sliced(marca).startsWith(kMarcaTemporal))
        return false;
    return std::all_of(resto.end() - kLetrasAzar, resto.end(), EsLetraAzar);
}

bool MarcarEnUso(int descriptor) {
#if defined(Q_OS_UNIX)
    return descriptor >= 0 && ::flock(descriptor, LOCK_EX | LOCK_NB) == 0;
#else
    Q_UNUSED(descriptor);
    return false;
#endif
}

namespace {
// Removes `nombre` of the folder unless a running program holds `marcado` (the file
// itself, or the temporary a journal belongs to) as being written; a file that cannot be
// opened is taken to be held. The mark is taken for the removal, so that no program can
// take the file as its own in between.
void QuitarSiLibre(const QDir& dir, const QString& nombre, const QString& marcado) {
#if defined(Q_OS_UNIX)
    const QByteArray ruta = QFile::encodeName(dir.filePath(marcado));
    // Not blocking: a pipe under such a name must not hold up a program's start.
    const int fd = ::open(ruta.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT && nombre != marcado)
            QFile::remove(dir.filePath(nombre)); // the journal of a temporary that is gone
        return;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && MismoArchivo(fd, ruta))
        QFile::remove(dir.filePath(nombre));
    ::close(fd);
#else
    Q_UNUSED(marcado);
    QFile::remove(dir.filePath(nombre));
#endif
}
} // namespace

void EliminarTemporales(const QString& carpeta, const QStringList& propiosTambien) {
    const QDir dir(carpeta);
    // Every name, sorted out here: a name filter is a pattern too.
    const auto nombres =
        dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString& nombre : nombres) {
        if (!nombre.startsWith(u'.'))
            continue; // the temporaries and left-overs of ours are all hidden
        if (!EsTemporalPropio(nombre) && !propiosTambien.contains(nombre, Qt::CaseInsensitive))
            continue;
        // A temporary's journal lives as long as the temporary is being written.
        QString escrito = nombre;
        if (EsTemporalPropio(nombre) && nombre.endsWith(kSufijoDiario))
            escrito.chop(kSufijoDiario.size());
        QuitarSiLibre(dir, nombre, escrito);
    }
}

void SincronizarCarpeta(const QString& carpeta) {
#if defined(Q_OS_UNIX)
    const int fd = ::open(QFile::encodeName(carpeta).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(carpeta);
#endif
}

} // namespace comun
