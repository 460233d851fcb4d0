#pragma once
// Holds a named lock in a child process until the test kills it, the way another running
// copy of the program would.

#include "platform/core/namedlock.h"

#include <csignal>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

class LockHolder {
public:
    explicit LockHolder(const QString &name) {
        int fds[2];
        if (::pipe(fds) != 0) return;
        FPid = ::fork();
        if (FPid == 0) {
            ::close(fds[0]);
            TNamedLock lock(name);
            const char taken = lock.TryAcquire() == TNamedLock::TAcquire::Acquired ? '1' : '0';
            if (::write(fds[1], &taken, 1) != 1) ::_exit(1);
            for (;;)
                ::pause();
        }
        ::close(fds[1]);
        char taken = '0';
        FHeld = FPid > 0 && ::read(fds[0], &taken, 1) == 1 && taken == '1';
        ::close(fds[0]);
    }
    ~LockHolder() { Kill(); }
    LockHolder(const LockHolder &) = delete;
    LockHolder &operator=(const LockHolder &) = delete;

    // Whether the child took the lock.
    bool Held() const { return FHeld; }
    // Ends the child without any chance to release the lock itself.
    void Kill() {
        if (FPid <= 0) return;
        ::kill(FPid, SIGKILL);
        ::waitpid(FPid, nullptr, 0);
        FPid = -1;
    }

private:
    pid_t FPid = -1;
    bool FHeld = false;
};
