#include "platform/comeforward.h"

#include "platform/namedlock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QByteArray request = QByteArrayLiteral("come-forward\n");
const QByteArray confirmation = QByteArrayLiteral("ok\n");
// A running copy answers at once from its message loop; one that does not within this time
// is hanging, and the caller must not hang with it.
constexpr int replyTimeoutMs = 500;
// Whatever a caller sends, the running copy holds no more than this per connection, and no
// more than this many connections at once: a caller that floods the socket is cut off, not
// buffered.
constexpr qsizetype maxRequestBytes = 4096;
constexpr int maxClients = 8;
constexpr int backlog = 50;

// False when the path does not fit (ComeForwardSocketPath makes sure it does).
bool addressOf(const QString &path, sockaddr_un &address) {
    const QByteArray native = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (native.isEmpty() || std::size_t(native.size()) >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, native.constData(), std::size_t(native.size()));
    return true;
}

int remainingMs(const QDeadlineTimer &deadline) {
    return int(std::max<qint64>(0, deadline.remainingTime()));
}

// Waits until the socket is ready for `events`; false on timeout or error.
bool waitFor(int fd, short events, int timeoutMs) {
    pollfd entry = {fd, events, 0};
    int ready;
    do
        ready = ::poll(&entry, 1, timeoutMs);
    while (ready < 0 && errno == EINTR);
    return ready > 0 && (entry.revents & events);
}

class TSocket {
public:
    explicit TSocket(int fd) : FFd(fd) {}
    ~TSocket() {
        if (FFd >= 0) ::close(FFd);
    }
    TSocket(const TSocket &) = delete;
    TSocket &operator=(const TSocket &) = delete;
    int Fd() const { return FFd; }

private:
    int FFd;
};

} // namespace

// One caller: its request is read into a buffer of fixed size, and the deadline goes with
// the connection, so a flood of short connections leaves nothing behind.
class TComeForwardServer::TCaller : public QObject {
public:
    TCaller(TComeForwardServer *server, int fd)
        : QObject(server), FServer(server), FFd(fd),
          FReader(new QSocketNotifier(fd, QSocketNotifier::Read, this)) {
        ++FServer->FClients;
        connect(FReader, &QSocketNotifier::activated, this, [this] { Read(); });
        // A caller that never finishes its request must not hold a connection forever.
        auto *deadline = new QTimer(this);
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, this, [this] { Close(); });
        deadline->start(10 * replyTimeoutMs);
        FRequest.reserve(maxRequestBytes);
    }
    ~TCaller() override {
        CloseSocket();
        --FServer->FClients;
    }

private:
    void Read() {
        char chunk[512];
        for (;;) {
            const qsizetype room =
                std::min<qsizetype>(qsizetype(sizeof chunk), maxRequestBytes - FRequest.size());
            const ssize_t got = ::recv(FFd, chunk, std::size_t(room), 0);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
            if (got > 0) FRequest.append(chunk, got);
            if (const qsizetype end = FRequest.indexOf('\n'); got > 0 && end >= 0) {
                Answer(FRequest.left(end + 1));
                return;
            }
            // Hung up or failed before a whole line, or the line is too long.
            if (got <= 0 || FRequest.size() >= maxRequestBytes) {
                Close();
                return;
            }
        }
    }

    void Answer(const QByteArray &line) {
        if (line == request) {
            FServer->FOnRequest();
            // Three bytes on a connection this side has not written to yet go at once.
            ::send(FFd, confirmation.constData(), std::size_t(confirmation.size()),
                   MSG_NOSIGNAL | MSG_DONTWAIT);
        }
        Close();
    }

    void Close() {
        CloseSocket();
        deleteLater();
    }

    // The notifier goes first, so that it never watches a number the system hands out anew.
    void CloseSocket() {
        if (FFd < 0) return;
        FReader->setEnabled(false);
        ::close(FFd);
        FFd = -1;
    }

    TComeForwardServer *FServer;
    int FFd;
    QSocketNotifier *FReader;
    QByteArray FRequest;
};

QString ComeForwardSocketPath(const QString &name) {
    return UserRuntimePath(name, QStringLiteral(".socket"), int(sizeof(sockaddr_un::sun_path)) - 1);
}

TComeForwardServer::TComeForwardServer(const QString &name, std::function<void()> onRequest)
    : FOnRequest(std::move(onRequest)) {
    const QString path = ComeForwardSocketPath(name);
    sockaddr_un address;
    if (path.isEmpty() || !addressOf(path, address)) return;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    // Only the copy that holds the instance's lock starts a server, so a socket file found
    // here is left over from a copy that was killed.
    ::unlink(address.sun_path);
    // The runtime folder is closed to everybody else; the socket itself says the same.
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        ::chmod(address.sun_path, S_IRWXU) != 0 || ::listen(fd, backlog) != 0) {
        ::close(fd);
        return;
    }
    FListener = fd;
    FPath = QFile::encodeName(path);
    FAcceptor = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(FAcceptor, &QSocketNotifier::activated, this, [this] { Accept(); });
}

TComeForwardServer::~TComeForwardServer() {
    // The callers go first: each of them counts itself out.
    const QObjectList children = this->children();
    for (QObject *child : children)
        delete dynamic_cast<TCaller *>(child);
    if (FListener < 0) return;
    FAcceptor->setEnabled(false);
    ::close(FListener);
    ::unlink(FPath.constData());
}

bool TComeForwardServer::IsListening() const {
    return FListener >= 0;
}

void TComeForwardServer::Accept() {
    for (;;) {
        const int fd = ::accept4(FListener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            return;
        }
        if (FClients >= maxClients)
            ::close(fd);
        else
            new TCaller(this, fd);
    }
}

bool RequestComeForward(const QString &name) {
    sockaddr_un address;
    if (!addressOf(ComeForwardSocketPath(name), address)) return false;
    const TSocket connection(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    const int fd = connection.Fd();
    if (fd < 0) return false;
    // A running copy whose queue of callers is full says "try again"; it has the same time to
    // take this one as to answer.
    QDeadlineTimer deadline(replyTimeoutMs);
    while (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        if (errno != EAGAIN || deadline.hasExpired()) return false;
        ::poll(nullptr, 0, std::min(10, remainingMs(deadline)));
    }
    deadline.setRemainingTime(replyTimeoutMs);
    for (qsizetype sent = 0; sent < request.size();) {
        const ssize_t n = ::send(fd, request.constData() + sent, std::size_t(request.size() - sent),
                                 MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!waitFor(fd, POLLOUT, remainingMs(deadline))) return false;
        } else {
            return false;
        }
    }
    QByteArray reply;
    while (!reply.contains('\n')) {
        if (!waitFor(fd, POLLIN, remainingMs(deadline))) return false;
        char chunk[64];
        const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        if (got <= 0 || reply.size() + got > maxRequestBytes) return false;
        reply.append(chunk, got);
    }
    return reply.left(reply.indexOf('\n') + 1) == confirmation;
}
