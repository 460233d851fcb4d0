#include "platform/base/filelock.h"

#include "platform/base/files.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

TFileLock::TFileLock(const QString &path)
    : FPath(path), FLockPath(path + QStringLiteral(".lock")) {}

TFileLock::~TFileLock() {
    Release();
}

QString TFileLock::Acquire(int timeoutMs) {
    if (FFd >= 0) return {};
    // Without following a link and without blocking, so that a link or a FIFO put in its
    // place can neither redirect the lock nor stop the program.
    const int fd = ::open(QFile::encodeName(FLockPath).constData(),
                          O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0 && errno == ELOOP)
        return QStringLiteral("die Sperrdatei „%1“ ist eine Verknüpfung, keine gewöhnliche Datei")
            .arg(FLockPath);
    if (fd < 0)
        return QStringLiteral("die Sperrdatei „%1“ lässt sich nicht öffnen: %2")
            .arg(FLockPath, SystemErrorText(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return QStringLiteral("die Sperrdatei „%1“ ist %2, keine gewöhnliche Datei")
            .arg(FLockPath, S_ISFIFO(info.st_mode)  ? QStringLiteral("eine FIFO")
                            : S_ISDIR(info.st_mode) ? QStringLiteral("ein Ordner")
                                                    : QStringLiteral("eine Gerätedatei"));
    }
    // Other holders keep it only while they read and write a small file; polling keeps the
    // wait bounded even when one of them has stopped.
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            FFd = fd;
            return {};
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            const int error = errno;
            ::close(fd);
            return SystemErrorText(error);
        }
        if (deadline.hasExpired()) {
            ::close(fd);
            return QStringLiteral("ein anderes Programm hält die Sperrdatei „%1“ zu lange "
                                  "belegt; bitte gleich noch einmal versuchen")
                .arg(FLockPath);
        }
        QThread::msleep(2);
    }
}

void TFileLock::Release() {
    // The lock file stays: removing it would let a later taker lock a new file while an
    // earlier one still holds the old.
    if (FFd >= 0) ::close(FFd);
    FFd = -1;
}

int TFileLock::RemoveStaleCopies() {
    if (FFd < 0) return 0;
    // Beside the file a link leads to, where ReplaceFile writes them.
    const QFileInfo link(FPath);
    const QFileInfo target(link.isSymLink() ? link.symLinkTarget() : FPath);
    const QDir folder = target.absoluteDir();
    const QRegularExpression copy(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(target.fileName()) + QStringLiteral("\\.[A-Za-z0-9]{6}")));
    int removed = 0;
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!copy.match(name).hasMatch()) continue;
        const QByteArray path = QFile::encodeName(folder.filePath(name));
        struct stat info {};
        // Only regular files of this user: nothing another user put there, no link.
        if (::lstat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode) ||
            info.st_uid != ::geteuid())
            continue;
        if (::unlink(path.constData()) == 0) ++removed;
    }
    return removed;
}
