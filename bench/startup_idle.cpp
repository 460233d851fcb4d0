// Preloaded into a Qt program run under callgrind (tools/startup_bench.sh --instructions): ends
// the program the first time its main thread's event loop would wait with nothing to do after
// a widget was painted, so that callgrind's total is the instructions the program takes to its
// first frame and the idle loop. Threads count with the main thread; the end counts nothing.

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>

#include <atomic>
#include <dlfcn.h>
#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

std::atomic<bool> Painted{false};
// Set just before the event loop's own poll, cleared by that poll.
std::atomic<bool> LoopWaits{false};

class TPaintWatch : public QObject {
protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint) Painted = true;
        return QObject::eventFilter(watched, event);
    }
};

void Watch() {
    qApp->installEventFilter(new TPaintWatch);
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     [] { LoopWaits = true; });
}

bool OnMainThread() {
    return ::syscall(SYS_gettid) == ::getpid();
}

} // namespace

__attribute__((constructor)) static void Install() {
    qAddPreRoutine(Watch);
}

// The event loop's wait: with a frame drawn and nothing ready, the program is idle.
extern "C" int poll(struct pollfd *fds, nfds_t count, int timeout) {
    using TPoll = int (*)(struct pollfd *, nfds_t, int);
    static const auto real = reinterpret_cast<TPoll>(::dlsym(RTLD_NEXT, "poll"));
    if (OnMainThread() && LoopWaits.exchange(false) && Painted && timeout != 0 &&
        real(fds, count, 0) == 0)
        ::_exit(0);
    return real(fds, count, timeout);
}
