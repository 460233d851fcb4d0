#include "platform/base/files.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray encoded(const QString &path) {
    return QFile::encodeName(path);
}

// A file descriptor that closes itself; Close() reports what close() said.
class TFd {
public:
    explicit TFd(int fd) : FFd(fd) {}
    ~TFd() {
        if (FFd >= 0) ::close(FFd);
    }
    TFd(const TFd &) = delete;
    TFd &operator=(const TFd &) = delete;
    int Get() const { return FFd; }
    bool Close() {
        const int fd = FFd;
        FFd = -1;
        return ::close(fd) == 0 || errno == EINTR;
    }

private:
    int FFd;
};

bool writeAll(int fd, const char *data, qint64 size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

QString notRegularReason(mode_t mode) {
    if (S_ISDIR(mode)) return QStringLiteral("das ist ein Ordner, keine Datei");
    return QStringLiteral("das ist keine gewöhnliche Datei");
}

// A fresh name beside the target, in the pattern stale copies are recognised by.
int createBeside(const QString &target, QString &temporary, mode_t mode) {
    static constexpr char letters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString name = target + u'.';
        for (int i = 0; i < 6; ++i)
            name += QLatin1Char(letters[QRandomGenerator::global()->bounded(62)]);
        const int fd =
            ::open(encoded(name).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) {
            temporary = name;
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

} // namespace

TFileRead ReadWholeFile(const QString &path, qint64 limit) {
    TFileRead result;
    // Without blocking: opening a FIFO for reading would wait for a writer for ever.
    TFd fd(::open(encoded(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.Get() < 0) {
        if (errno == ENOENT) {
            result.Status = TReadStatus::Missing;
            return result;
        }
        result.Reason = SystemErrorText(errno);
        return result;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        result.Reason = SystemErrorText(errno);
        return result;
    }
    if (!S_ISREG(info.st_mode)) {
        result.Reason = notRegularReason(info.st_mode);
        return result;
    }
    const QString tooLarge = QStringLiteral("die Datei ist größer als %1").arg(SizeText(limit));
    if (info.st_size > limit) {
        result.Reason = tooLarge;
        return result;
    }
    // The size may change while we read: read until the end, but never past the limit.
    QByteArray data(qsizetype(info.st_size) + 1, Qt::Uninitialized);
    qint64 size = 0;
    for (;;) {
        if (size == data.size()) {
            if (size > limit) {
                result.Reason = tooLarge;
                return result;
            }
            data.resize(qsizetype(std::min<qint64>(limit + 1, 2 * size + 4096)));
        }
        const ssize_t read = ::read(fd.Get(), data.data() + size, size_t(data.size() - size));
        if (read < 0) {
            if (errno == EINTR) continue;
            result.Reason = SystemErrorText(errno);
            return result;
        }
        if (read == 0) break;
        size += read;
    }
    if (size > limit) {
        result.Reason = tooLarge;
        return result;
    }
    data.truncate(qsizetype(size));
    result.Status = TReadStatus::Read;
    result.Data = std::move(data);
    return result;
}

QString ReplaceFile(const QString &path, const QByteArray &data) {
    QString target = path;
    const QFileInfo info(path);
    if (info.isSymLink()) target = info.symLinkTarget();

    struct stat old {};
    const bool exists = ::stat(encoded(target).constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) return notRegularReason(old.st_mode);

    QString temporary;
    TFd fd(createBeside(target, temporary, exists ? (old.st_mode & 07777) : 0666));
    if (fd.Get() < 0) return SystemErrorText(errno);
    const QByteArray temporaryName = encoded(temporary);
    const auto fail = [&](int error) {
        ::unlink(temporaryName.constData());
        return SystemErrorText(error);
    };
    // The creation mask narrowed the mode; the old file's permissions are what it keeps.
    if (exists && ::fchmod(fd.Get(), old.st_mode & 07777) != 0) return fail(errno);
    if (!writeAll(fd.Get(), data.constData(), data.size())) return fail(errno);
    if (::fsync(fd.Get()) != 0) return fail(errno);
    if (!fd.Close()) return fail(errno);
    if (::rename(temporaryName.constData(), encoded(target).constData()) != 0) return fail(errno);
    // The rename itself reaches the disk with the folder.
    TFd folder(::open(encoded(QFileInfo(target).absolutePath()).constData(),
                      O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0) ::fsync(folder.Get());
    return {};
}

QString SystemErrorText(int error) {
    switch (error) {
    case ENOSPC:
        return QStringLiteral("kein Platz mehr auf dem Datenträger");
    case EDQUOT:
        return QStringLiteral("der zugeteilte Speicherplatz ist erschöpft");
    case EACCES:
    case EPERM:
        return QStringLiteral("keine Berechtigung");
    case EROFS:
        return QStringLiteral("der Datenträger ist schreibgeschützt");
    case ENOENT:
        return QStringLiteral("Datei oder Ordner nicht gefunden");
    case ENOTDIR:
        return QStringLiteral("ein Teil des Pfades ist kein Ordner");
    case EISDIR:
        return QStringLiteral("das ist ein Ordner, keine Datei");
    case ENAMETOOLONG:
        return QStringLiteral("der Name ist zu lang");
    case ELOOP:
        return QStringLiteral("zu viele symbolische Verknüpfungen");
    case EFBIG:
        return QStringLiteral("die Datei wird zu groß");
    case EIO:
        return QStringLiteral("Ein-/Ausgabefehler des Datenträgers");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("zu viele offene Dateien");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("das Gerät ist nicht verfügbar");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("die Datei ist in Gebrauch");
    case EEXIST:
        return QStringLiteral("die Datei besteht schon");
    case EPIPE:
        return QStringLiteral("der Empfänger hat die Verbindung beendet");
    case EXDEV:
        return QStringLiteral("Umbenennen über Datenträger hinweg ist nicht möglich");
    case ENOMEM:
        return QStringLiteral("nicht genug Arbeitsspeicher");
    case EBADF:
        return QStringLiteral("die Ausgabe ist geschlossen");
    default:
        return QStringLiteral("Systemfehler %1").arg(error);
    }
}

QString SizeText(qint64 bytes) {
    if (bytes >= 1024 * 1024 && bytes % (1024 * 1024) == 0)
        return QStringLiteral("%1 MiB").arg(bytes / (1024 * 1024));
    if (bytes >= 1024 && bytes % 1024 == 0) return QStringLiteral("%1 KiB").arg(bytes / 1024);
    return QStringLiteral("%1 Bytes").arg(bytes);
}
