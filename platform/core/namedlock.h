#pragma once
// Named locks shared by the processes of one user, standing in for the system's named
// mutexes: a flock on a file in the user's private runtime folder. The kernel drops a lock
// when its holder ends, however it ends, so the next taker gets it.

#include <QString>

// The system's private runtime folder of the user: $XDG_RUNTIME_DIR when it is a folder of
// this user closed to everybody else, otherwise a folder of that kind made for the purpose.
// Empty when no such folder can be had (then no named lock or socket can be made either).
QString UserRuntimeFolder();

// A path in the services' runtime folder for the object called `name`: the name percent-encoded, then
// `suffix`; a digest of the name stands in when that path would exceed `maxPathBytes` or a
// file name's limit. Empty when there is no runtime folder.
QString UserRuntimePath(const QString &name, const QString &suffix, int maxPathBytes = 4095);

class TNamedLock {
public:
    explicit TNamedLock(const QString &name);
    ~TNamedLock();
    TNamedLock(const TNamedLock &) = delete;
    TNamedLock &operator=(const TNamedLock &) = delete;

    enum class TAcquire {
        Acquired, // this object holds the lock now (also when it already did)
        Busy,     // another holder has it
        Failed    // the lock file cannot be opened
    };
    // Takes the lock without waiting.
    TAcquire TryAcquire();
    void Release();
    bool Held() const { return FHeld; }
    const QString &Path() const { return FPath; }

private:
    QString FPath;
    int FFd = -1;
    bool FHeld = false;
};
