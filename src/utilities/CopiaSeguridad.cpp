#include "utilities/CopiaSeguridad.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <memory>

#include "platform/Database.h"
#include "platform/MsgBox.h"

namespace zul {
namespace {

constexpr const char* kEntrada = "ZUL.mdb";
constexpr int kEsperaBloqueo = 5000;    // ms a writer may hold the database
constexpr la_ssize_t kTramo = 1 << 20;  // bytes handed to the archive at a time
constexpr int kBloque = 64 * 1024;      // the archive's writes to disk
constexpr int kPermisos = 0666;         // the user's umask decides, as for any file

// What the system said, in the user's words where it is a common case; "" for the rest.
QString CausaComun(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return QStringLiteral("No tiene permiso para escribir en esa carpeta.");
        case ENOENT:
            return QStringLiteral("La carpeta no existe.");
        case EISDIR:
            return QStringLiteral("Ya hay una carpeta con el nombre de la copia.");
        default:
            return CausaComunDelSistema(error);
    }
}

QString Causa(int error) {
    const QString comun = CausaComun(error);
    return comun.isEmpty() ? CausaDelSistema(error) : comun;
}

struct Conexion {
    sqlite3* db = nullptr;
    ~Conexion() { sqlite3_close(db); }
    QString error() const { return DescripcionDelMotor(db); }
};

// The archive being written: removed on every way out unless it got its name. Hidden and named
// as unfinished so that nobody takes it for a backup; locked while it is written.
struct Temporal {
    QByteArray ruta;
    int fd = -1;
    bool renombrado = false;
    ~Temporal() {
        if (fd >= 0) ::close(fd);
        if (!renombrado && !ruta.isEmpty()) ::unlink(ruta.constData());
    }
};

using Escritor = std::unique_ptr<archive, decltype(&archive_write_free)>;
using Lector = std::unique_ptr<archive, decltype(&archive_read_free)>;

QString ErrorArchivo(archive* a) {
    const int error = archive_errno(a);
    const QString texto = QString::fromLocal8Bit(archive_error_string(a));
    if (error <= 0) return texto;
    // A common condition says it all; for the rest the archive's own words follow.
    const QString comun = CausaComun(error);
    return comun.isEmpty() ? Causa(error) + QStringLiteral(" (") + texto + QLatin1Char(')') : comun;
}

// Copies the database page by page under one read lock: a whole database even while another
// connection writes. The copy lives in memory, owned by `copia`.
QByteArrayView Instantanea(const QString& rutaBase, Conexion& origen, Conexion& copia) {
    if (!QFileInfo(rutaBase).isFile())
        throw ErrorCopia(QStringLiteral("No se encuentra la base de datos %1.").arg(rutaBase));
    if (sqlite3_open_v2(QFile::encodeName(rutaBase).constData(), &origen.db, SQLITE_OPEN_READONLY,
                        nullptr) != SQLITE_OK)
        throw ErrorCopia(QStringLiteral("No se puede abrir la base de datos %1: %2")
                             .arg(rutaBase, origen.error()));
    sqlite3_busy_timeout(origen.db, kEsperaBloqueo);
    if (sqlite3_open_v2("file:zul_copia?vfs=memdb", &copia.db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI,
                        nullptr) != SQLITE_OK)
        throw ErrorCopia(QStringLiteral("No hay memoria para la copia: %1").arg(copia.error()));
    sqlite3_backup* b = sqlite3_backup_init(copia.db, "main", origen.db, "main");
    if (!b) throw ErrorCopia(copia.error());
    sqlite3_backup_step(b, -1);
    if (sqlite3_backup_finish(b) != SQLITE_OK)
        throw ErrorCopia(QStringLiteral("No se puede leer la base de datos %1: %2")
                             .arg(rutaBase, copia.error()));
    sqlite3_int64 tam = 0;
    const unsigned char* datos = sqlite3_serialize(copia.db, "main", &tam, SQLITE_SERIALIZE_NOCOPY);
    if (!datos || tam <= 0)
        throw ErrorCopia(QStringLiteral("La base de datos %1 está vacía.").arg(rutaBase));
    return {reinterpret_cast<const char*>(datos), static_cast<qsizetype>(tam)};
}

void Escribir(const QByteArrayView& base, int fd) {
    const Escritor escritor(archive_write_new(), archive_write_free);
    archive* const a = escritor.get();
    archive_write_set_format_zip(a);
    // Deflate at zlib's usual level, the one every zip tool reads.
    archive_write_set_options(a, "zip:compression=deflate,zip:compression-level=6");
    archive_write_set_bytes_per_block(a, kBloque);
    archive_write_set_bytes_in_last_block(a, 1);
    if (archive_write_open_fd(a, fd) != ARCHIVE_OK) throw ErrorCopia(ErrorArchivo(a));
    archive_entry* entrada = archive_entry_new();
    archive_entry_set_pathname(entrada, kEntrada);
    archive_entry_set_filetype(entrada, AE_IFREG);
    archive_entry_set_perm(entrada, 0644);
    archive_entry_set_size(entrada, base.size());
    archive_entry_set_mtime(entrada, std::time(nullptr), 0);
    const int cabecera = archive_write_header(a, entrada);
    archive_entry_free(entrada);
    if (cabecera != ARCHIVE_OK) throw ErrorCopia(ErrorArchivo(a));
    for (qsizetype hecho = 0; hecho < base.size();) {
        const la_ssize_t n = archive_write_data(a, base.data() + hecho,
                                                std::min<qsizetype>(kTramo, base.size() - hecho));
        if (n <= 0) throw ErrorCopia(ErrorArchivo(a));
        hecho += n;
    }
    if (archive_write_close(a) != ARCHIVE_OK) throw ErrorCopia(ErrorArchivo(a));
    if (::fsync(fd) != 0) {
        const int error = errno;
        throw ErrorCopia(Causa(error));
    }
}

// The archive as any zip reader sees it: one entry, ZUL.mdb, byte for byte the snapshot.
void Comprobar(const QByteArrayView& base, const QByteArray& ruta) {
    const QString distinta =
        QStringLiteral("La copia escrita no coincide con la base de datos; no se guardó.");
    const Lector lector(archive_read_new(), archive_read_free);
    archive* const a = lector.get();
    archive_read_support_format_zip(a);
    if (archive_read_open_filename(a, ruta.constData(), kTramo) != ARCHIVE_OK)
        throw ErrorCopia(ErrorArchivo(a));
    archive_entry* entrada = nullptr;
    if (archive_read_next_header(a, &entrada) != ARCHIVE_OK) throw ErrorCopia(ErrorArchivo(a));
    if (qstrcmp(archive_entry_pathname(entrada), kEntrada) != 0) throw ErrorCopia(distinta);
    const void* bloque = nullptr;
    size_t tam = 0;
    la_int64_t desde = 0;
    qsizetype leido = 0;
    int rc;
    while ((rc = archive_read_data_block(a, &bloque, &tam, &desde)) == ARCHIVE_OK) {
        if (desde != leido || tam > static_cast<size_t>(base.size() - leido) ||
            std::memcmp(base.data() + leido, bloque, tam) != 0)
            throw ErrorCopia(distinta);
        leido += static_cast<qsizetype>(tam);
    }
    if (rc != ARCHIVE_EOF) throw ErrorCopia(ErrorArchivo(a));
    if (leido != base.size() || archive_read_next_header(a, &entrada) != ARCHIVE_EOF)
        throw ErrorCopia(distinta);
}

// What a backup cut short (the program killed, the power gone) leaves: Temporal's names.
const QRegularExpression& PatronTemporal() {
    static const QRegularExpression patron(QStringLiteral(R"(^\.ZUL\d{8}\.zip\.[0-9a-z]+\.tmp$)"));
    return patron;
}

QByteArray NombreTemporal(const QString& archivo) {
    const QFileInfo f(archivo);
    return QFile::encodeName(f.dir().filePath(
        QLatin1Char('.') + f.fileName().trimmed() + QLatin1Char('.') +
        QString::number(QRandomGenerator::global()->generate(), 36) + QStringLiteral(".tmp")));
}

// Removes the leftovers of earlier backups in `carpeta`. One still locked is being written at
// this moment, from this computer or another, and stays.
void QuitarRestos(const QString& carpeta) {
    const QDir dir(carpeta);
    for (const QString& nombre : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!PatronTemporal().match(nombre).hasMatch()) continue;
        const QByteArray ruta = QFile::encodeName(dir.filePath(nombre));
        const int fd = ::open(ruta.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(ruta.constData());
        ::close(fd);
    }
}

// The new name reaches the disk too, so a power cut leaves the old archive or the new one.
void AsentarCarpeta(const QByteArray& carpeta) {
    const int fd = ::open(carpeta.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

QString NombreCopia(const QDate& fecha) {
    return QStringLiteral(" ZUL") + fecha.toString(QStringLiteral("ddMMyyyy")) +
           QStringLiteral(".zip");
}

void GenerarCopia(const QString& rutaBase, const QString& archivo) {
    const QByteArray destino = QFile::encodeName(archivo);
    const QString carpeta = QFileInfo(archivo).absolutePath();
    QuitarRestos(carpeta);
    // The folder is tried before the database is read: a wrong folder is told at once.
    Temporal tmp;
    for (int intento = 0; tmp.fd < 0; ++intento) {
        tmp.ruta = NombreTemporal(archivo);
        tmp.fd = ::open(tmp.ruta.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kPermisos);
        if (tmp.fd < 0 && (errno != EEXIST || intento > 100)) {
            const int error = errno;
            tmp.ruta.clear();
            const QFileInfo f(carpeta);
            // A folder that is there but takes no files (a system one) is not a missing one.
            const QString causa =
                error == ENOENT && f.isDir()     ? QStringLiteral("La carpeta no admite archivos.")
                : error == ENOTDIR && f.isFile() ? QStringLiteral("Es un archivo, no una carpeta.")
                                                 : Causa(error);
            throw ErrorCopia(QStringLiteral("No se puede escribir en %1: %2").arg(carpeta, causa));
        }
    }
    ::flock(tmp.fd, LOCK_EX | LOCK_NB);

    Conexion origen, copia;
    const QByteArrayView base = Instantanea(rutaBase, origen, copia);
    Escribir(base, tmp.fd);
    // Kept open, and so locked, until it has its name.
    Comprobar(base, tmp.ruta);
    if (::rename(tmp.ruta.constData(), destino.constData()) != 0) {
        const int error = errno;
        throw ErrorCopia(QStringLiteral("No se puede guardar %1: %2").arg(archivo, Causa(error)));
    }
    tmp.renombrado = true;
    AsentarCarpeta(QFile::encodeName(carpeta));
}

}  // namespace zul
