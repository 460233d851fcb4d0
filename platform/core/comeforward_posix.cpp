#include "platform/core/comeforward.h"

#include "platform/core/namedlock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QStringDecoder>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// "come-forward\n", or "come-forward " and what the later copy asks for besides (a window to
// open) before the newline.
const QByteArray request = QByteArrayLiteral("come-forward");
const QByteArray confirmation = QByteArrayLiteral("ok\n");
// A running copy answers at once from its message loop; one that does not within this time
// is hanging, and the caller must not hang with it.
constexpr int replyTimeoutMs = 500;
// Whatever a caller sends, the running copy holds no more than this per connection, and no
// more than this many connections at once: a caller that floods the socket is cut off, not
// buffered. When every slot is taken, a new caller takes the place of the one silent longest,
// so that connections held open and idle cannot keep a real caller out.
constexpr qsizetype maxRequestBytes = 4096;
constexpr int maxCallers = 8;
constexpr int maxAcceptsAtOnce = 64;
// Callers not yet taken wait in the kernel, which costs this process nothing; a short queue
// would turn a second copy away while a flood fills it.
constexpr int backlog = SOMAXCONN;

qint64 steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

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

// The argument of a request line, or nullopt for a line that is no request. An argument is
// UTF-8 text without control characters.
std::optional<QString> RequestArgument(QByteArrayView line) {
    if (!line.endsWith('\n')) return std::nullopt;
    line.chop(1);
    if (line == request) return QString();
    if (!line.startsWith(request + ' ')) return std::nullopt;
    const QByteArrayView argument = line.sliced(request.size() + 1);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(argument);
    if (utf8.hasError() || text.isEmpty()) return std::nullopt;
    for (QChar c : text)
        if (c.category() == QChar::Other_Control) return std::nullopt;
    return text;
}

} // namespace

// One caller slot. The slots are made with the server and reused, so that however many
// connections come and go, the running copy holds the same memory and notifiers.
struct TComeForwardServer::TCaller {
    int Fd = -1;
    QSocketNotifier *Reader = nullptr;
    // When the caller is dropped unless its line is complete, on the steady clock.
    qint64 DueMs = 0;
    // Order of the last sign of life, taking the caller or bytes from it: the lowest has been
    // silent longest.
    quint64 Heard = 0;
    qsizetype Size = 0;
    std::array<char, maxRequestBytes> Request;
};

QString ComeForwardSocketPath(const QString &name) {
    return UserRuntimePath(name, QStringLiteral(".socket"), int(sizeof(sockaddr_un::sun_path)) - 1);
}

TComeForwardServer::TComeForwardServer(const QString &name,
                                       std::function<void(const QString &)> onRequest,
                                       int lineTimeoutMs)
    : FOnRequest(std::move(onRequest)), FLineTimeoutMs(lineTimeoutMs) {
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
    FCallers = std::make_unique<TCaller[]>(maxCallers);
    for (int i = 0; i < maxCallers; ++i) {
        TCaller &caller = FCallers[i];
        caller.Reader = new QSocketNotifier(QSocketNotifier::Read, this);
        connect(caller.Reader, &QSocketNotifier::activated, this, [this, &caller] {
            Read(caller);
            Rearm();
        });
    }
    // One deadline for all callers, armed only while somebody is connected: an idle program
    // wakes for nothing.
    FDeadline = new QTimer(this);
    FDeadline->setSingleShot(true);
    connect(FDeadline, &QTimer::timeout, this, [this] { DropLate(); });
    FAcceptor = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(FAcceptor, &QSocketNotifier::activated, this, [this] { Accept(); });
}

TComeForwardServer::~TComeForwardServer() {
    if (FListener < 0) return;
    for (int i = 0; i < maxCallers; ++i)
        Drop(FCallers[i]);
    FAcceptor->setEnabled(false);
    ::close(FListener);
    ::unlink(FPath.constData());
}

bool TComeForwardServer::IsListening() const {
    return FListener >= 0;
}

void TComeForwardServer::Accept() {
    // Back to the message loop now and then, so that a stream of connections cannot freeze
    // the window; the listener is still ready and brings us back.
    for (int taken = 0; taken < maxAcceptsAtOnce; ++taken) {
        const int fd = ::accept4(FListener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            break;
        }
        TCaller &caller = FreeCaller();
        caller.Fd = fd;
        caller.Size = 0;
        caller.Heard = ++FLastHeard;
        caller.DueMs = steadyMs() + FLineTimeoutMs;
        // A second copy sends its line as soon as it is connected, usually before it is
        // taken: then it is answered here and needs no notifier.
        Read(caller);
        if (caller.Fd >= 0) {
            caller.Reader->setSocket(caller.Fd);
            caller.Reader->setEnabled(true);
        }
    }
    Rearm();
}

TComeForwardServer::TCaller &TComeForwardServer::FreeCaller() {
    TCaller *const begin = FCallers.get(), *const end = begin + maxCallers;
    const auto isFree = [](const TCaller &caller) { return caller.Fd < 0; };
    if (TCaller *free = std::find_if(begin, end, isFree); free != end) return *free;
    // Whatever has arrived is read before anybody is dropped, so that a caller whose line
    // came in while others were being taken is answered, not dropped for silence.
    for (TCaller *caller = begin; caller != end; ++caller)
        Read(*caller);
    if (TCaller *free = std::find_if(begin, end, isFree); free != end) return *free;
    TCaller &silent = *std::min_element(
        begin, end, [](const TCaller &a, const TCaller &b) { return a.Heard < b.Heard; });
    Drop(silent);
    return silent;
}

void TComeForwardServer::Read(TCaller &caller) {
    while (caller.Fd >= 0) {
        const ssize_t got = ::recv(caller.Fd, caller.Request.data() + caller.Size,
                                   std::size_t(maxRequestBytes - caller.Size), 0);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        // Hung up or failed before a whole line.
        if (got <= 0) {
            Drop(caller);
            return;
        }
        const char *const fresh = caller.Request.data() + caller.Size;
        caller.Size += got;
        caller.Heard = ++FLastHeard;
        if (const void *end = std::memchr(fresh, '\n', std::size_t(got))) {
            Answer(caller, static_cast<const char *>(end) - caller.Request.data() + 1);
            return;
        }
        if (caller.Size >= maxRequestBytes) {
            Drop(caller);
            return;
        }
    }
}

void TComeForwardServer::Answer(TCaller &caller, qsizetype lineSize) {
    const std::optional<QString> argument =
        RequestArgument(QByteArrayView(caller.Request.data(), lineSize));
    // The slot is free before the request runs, so that nothing the window does meanwhile
    // finds it half used.
    const TSocket connection(Release(caller));
    if (!argument) return;
    FOnRequest(*argument);
    // Three bytes on a connection this side has not written to yet go at once.
    ::send(connection.Fd(), confirmation.constData(), std::size_t(confirmation.size()),
           MSG_NOSIGNAL | MSG_DONTWAIT);
}

// Frees the slot and hands over its connection. The notifier lets go first, so that it never
// watches a number the system hands out anew.
int TComeForwardServer::Release(TCaller &caller) {
    const int fd = caller.Fd;
    caller.Reader->setEnabled(false);
    caller.Fd = -1;
    caller.Size = 0;
    return fd;
}

void TComeForwardServer::Drop(TCaller &caller) {
    if (caller.Fd >= 0) ::close(Release(caller));
}

void TComeForwardServer::DropLate() {
    FArmedFor = -1;
    const qint64 now = steadyMs();
    for (int i = 0; i < maxCallers; ++i)
        if (FCallers[i].Fd >= 0 && FCallers[i].DueMs <= now) Drop(FCallers[i]);
    Rearm();
}

void TComeForwardServer::Rearm() {
    qint64 next = -1;
    for (int i = 0; i < maxCallers; ++i)
        if (FCallers[i].Fd >= 0 && (next < 0 || FCallers[i].DueMs < next)) next = FCallers[i].DueMs;
    if (next < 0) {
        FDeadline->stop();
        FArmedFor = -1;
    } else if (next != FArmedFor) {
        FDeadline->start(int(std::max<qint64>(0, next - steadyMs())));
        FArmedFor = next;
    }
}

bool RequestComeForward(const QString &name, const QString &argument) {
    const QByteArray line =
        (argument.isEmpty() ? request : request + ' ' + argument.toUtf8()) + '\n';
    if (line.size() > maxRequestBytes) return false;
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
    for (qsizetype sent = 0; sent < line.size();) {
        const ssize_t n =
            ::send(fd, line.constData() + sent, std::size_t(line.size() - sent), MSG_NOSIGNAL);
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
