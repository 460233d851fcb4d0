// Self-pipe: the signal handler only writes a byte; the message loop reads it and quits.

#include "platform/gui/termination.h"

#include "platform/core/stoprequest.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int pipeEnds[2] = {-1, -1};

void onSignal(int) {
    const int saved = errno;
    // Counted at once, so that a wait outside the message loop (the start) gives up too.
    CountStopRequest();
    const char byte = 1;
    (void)!::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

} // namespace

void QuitOnTerminationRequest() {
    if (pipeEnds[0] >= 0 || ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto *notifier =
        new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char buffer[16];
        while (::read(pipeEnds[0], buffer, sizeof buffer) > 0) {
        }
        // exit() rather than quit(): it also ends a message box's loop that runs before the
        // main loop. The start then sees the counted request in Terminated() and does not
        // enter the main loop.
        QCoreApplication::exit(0);
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}
