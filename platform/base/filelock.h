#pragma once
// An exclusive lock that the processes changing one file share: a flock on a lock file beside
// it ("<file>.lock"). The kernel drops the lock when its holder ends, however it ends. Readers
// need none, since the file is only ever replaced whole.

#include <QString>

class TFileLock {
public:
    // Guards `path`; the lock file is `path` + ".lock".
    explicit TFileLock(const QString &path);
    ~TFileLock();
    TFileLock(const TFileLock &) = delete;
    TFileLock &operator=(const TFileLock &) = delete;

    // Waits for the lock up to `timeoutMs`; the reason in German when it cannot be had, empty
    // once it is held.
    QString Acquire(int timeoutMs = 5000);
    void Release();
    bool Held() const { return FFd >= 0; }
    // While held: removes the copies ReplaceFile left beside the file ("<name>.XXXXXX") when a
    // writer was ended between writing and renaming; none of them can be in use then. The
    // number removed.
    int RemoveStaleCopies();
    const QString &LockPath() const { return FLockPath; }

private:
    QString FPath;
    QString FLockPath;
    int FFd = -1;
};
