#pragma once
// Files that are not what a reader of whole files expects — a FIFO, a link to an endless
// device, a folder — and a watchdog that ends a read stuck on a FIFO, so that a fault fails
// the test instead of hanging it.

#include <QDir>
#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

enum class TSpecialFile { Fifo, DevZero, DevUrandom, Folder };

inline const char *SpecialFileName(TSpecialFile kind) {
    switch (kind) {
    case TSpecialFile::Fifo:
        return "FIFO";
    case TSpecialFile::DevZero:
        return "link to /dev/zero";
    case TSpecialFile::DevUrandom:
        return "link to /dev/urandom";
    default:
        return "folder";
    }
}

// The German reason a reader gives for it.
inline QString SpecialFileReason(TSpecialFile kind) {
    return kind == TSpecialFile::Folder ? QStringLiteral("das ist ein Ordner, keine Datei")
                                        : QStringLiteral("das ist keine gewöhnliche Datei");
}

// Puts one at `path` (its folder must exist); false when it cannot.
inline bool MakeSpecialFile(TSpecialFile kind, const QString &path) {
    const QByteArray native = QFile::encodeName(path);
    switch (kind) {
    case TSpecialFile::Fifo:
        return ::mkfifo(native.constData(), 0600) == 0;
    case TSpecialFile::DevZero:
        return ::symlink("/dev/zero", native.constData()) == 0;
    case TSpecialFile::DevUrandom:
        return ::symlink("/dev/urandom", native.constData()) == 0;
    default:
        return QDir().mkdir(path);
    }
}

inline constexpr TSpecialFile AllSpecialFiles[] = {TSpecialFile::Fifo, TSpecialFile::DevZero,
                                                   TSpecialFile::DevUrandom, TSpecialFile::Folder};

// While it lives: should a reader still block on the FIFO after `timeout`, it opens the FIFO
// for writing and closes it again, which ends the reader's wait, and notes that it had to.
class FifoWatchdog {
public:
    explicit FifoWatchdog(const QString &fifo,
                          std::chrono::milliseconds timeout = std::chrono::seconds(10))
        : FPath(QFile::encodeName(fifo)), FThread([this, timeout] {
              std::unique_lock<std::mutex> lock(FMutex);
              if (FDone.wait_for(lock, timeout, [this] { return FStopped; })) return;
              FFired = true;
              // Until the stuck reader has been let go.
              while (!FStopped) {
                  const int fd = ::open(FPath.constData(), O_WRONLY | O_NONBLOCK);
                  if (fd >= 0) ::close(fd);
                  FDone.wait_for(lock, std::chrono::milliseconds(20));
              }
          }) {}
    ~FifoWatchdog() {
        {
            std::lock_guard<std::mutex> lock(FMutex);
            FStopped = true;
        }
        FDone.notify_all();
        FThread.join();
    }
    FifoWatchdog(const FifoWatchdog &) = delete;
    FifoWatchdog &operator=(const FifoWatchdog &) = delete;

    bool Fired() const { return FFired; }

private:
    QByteArray FPath;
    std::mutex FMutex;
    std::condition_variable FDone;
    bool FStopped = false;
    std::atomic<bool> FFired{false};
    std::thread FThread; // last: it starts once the rest is made
};
