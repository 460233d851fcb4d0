#pragma once
// The standard streams and a batch file, read and written straight through their descriptors:
// no buffer of the C library or of Qt lies between, and each failed read or write keeps its
// German reason as the device's error string, so that no failure passes for success.

#include <QIODevice>
#include <QString>

class TDescriptorDevice : public QIODevice {
public:
    // Opens the device on the descriptor, unbuffered; `owned` closes the descriptor with it.
    TDescriptorDevice(int fd, OpenMode mode, bool owned = false);
    ~TDescriptorDevice() override;
    TDescriptorDevice(const TDescriptorDevice &) = delete;
    TDescriptorDevice &operator=(const TDescriptorDevice &) = delete;

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    // All or -1: a write that stops halfway is a failed write.
    qint64 writeData(const char *data, qint64 size) override;

private:
    int FFd;
    bool FOwned;
};

// Gives each closed standard stream /dev/null, opened the wrong way round: no file the program
// opens later takes its number, and each use of the stream fails as closed.
void ReserveStandardStreams();

// Opens a batch file for reading: a regular file only, and without waiting on the opening (a
// FIFO would wait for a writer for ever). -1 and the German reason otherwise.
int OpenRegularFile(const QString &path, QString &reason);
