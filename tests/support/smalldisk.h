#pragma once
// A small file system of the test's own (tmpfs), for what a full disk does to a write. Mounting
// needs the right to mount; where it is missing, Reason says why and the test skips.

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

class TSmallDisk {
public:
    explicit TSmallDisk(qint64 bytes = 64 * 1024) {
        const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0700";
        if (::mount("tmpfs", QFile::encodeName(FRoot.path()).constData(), "tmpfs", 0,
                    options.constData()) == 0)
            FMounted = true;
        else
            Reason = QStringLiteral("no tmpfs can be mounted here: %1")
                         .arg(QString::fromLocal8Bit(std::strerror(errno)));
    }
    ~TSmallDisk() {
        if (FMounted) ::umount2(QFile::encodeName(FRoot.path()).constData(), MNT_DETACH);
    }
    TSmallDisk(const TSmallDisk &) = delete;
    TSmallDisk &operator=(const TSmallDisk &) = delete;

    bool Mounted() const { return FMounted; }
    QString Path() const { return FRoot.path(); }
    QString File(const QString &name) const { return FRoot.filePath(name); }
    // Fills what is left with a file of its own, so that the next write finds no room.
    void Fill() const {
        QFile filler(File(QStringLiteral(".filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Append)) return;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        // What did not fit a whole block, byte by byte.
        while (filler.write("x", 1) == 1 && filler.flush()) {
        }
    }

    QString Reason;

private:
    QTemporaryDir FRoot;
    bool FMounted = false;
};
