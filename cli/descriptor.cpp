#include "cli/descriptor.h"

#include "platform/base/files.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TDescriptorDevice::TDescriptorDevice(int fd, OpenMode mode, bool owned) : FFd(fd), FOwned(owned) {
    open(mode | QIODevice::Unbuffered);
}

TDescriptorDevice::~TDescriptorDevice() {
    if (FOwned) ::close(FFd);
}

qint64 TDescriptorDevice::readData(char *data, qint64 maxSize) {
    for (;;) {
        const ssize_t got = ::read(FFd, data, size_t(maxSize));
        if (got >= 0) return got;
        if (errno == EINTR) continue;
        // The reserved standard input is write-only: reading it fails so.
        setErrorString(errno == EBADF ? QStringLiteral("die Eingabe ist geschlossen")
                                      : SystemErrorText(errno));
        return -1;
    }
}

qint64 TDescriptorDevice::writeData(const char *data, qint64 size) {
    for (qint64 done = 0; done < size;) {
        const ssize_t written = ::write(FFd, data + done, size_t(size - done));
        if (written >= 0) {
            done += written;
        } else if (errno != EINTR) {
            setErrorString(SystemErrorText(errno));
            return -1;
        }
    }
    return size;
}

void ReserveStandardStreams() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // The lowest free number is this one: the ones below are open or reserved already.
        const int reserved = ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (reserved >= 0 && reserved != fd) {
            ::dup2(reserved, fd);
            ::close(reserved);
        }
    }
}

int OpenRegularFile(const QString &path, QString &reason) {
    reason.clear();
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        reason = SystemErrorText(errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        reason = SystemErrorText(errno);
    else if (S_ISDIR(info.st_mode))
        reason = SystemErrorText(EISDIR);
    else if (!S_ISREG(info.st_mode))
        reason = QStringLiteral("das ist keine gewöhnliche Datei (eine Pipe liest „--csv -“ von "
                                "der Standardeingabe)");
    if (!reason.isEmpty()) {
        ::close(fd);
        return -1;
    }
    // Reading a regular file never waits; the flag would only mislead a later reader.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}
