#include "platform/comeforward.h"

#include "platform/namedlock.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <sys/un.h>

namespace {

const QByteArray request = QByteArrayLiteral("come-forward\n");
const QByteArray confirmation = QByteArrayLiteral("ok\n");
// A running copy answers at once from its message loop; one that does not within this time
// is hanging, and the caller must not hang with it.
constexpr int replyTimeoutMs = 500;
// Whatever a caller sends, the running copy holds no more than this per connection, and no
// more than this many connections at once: a caller that floods the socket is cut off, not
// buffered.
constexpr qint64 maxRequestBytes = 4096;
constexpr int maxClients = 8;

} // namespace

QString ComeForwardSocketPath(const QString &name) {
    return UserRuntimePath(name, QStringLiteral(".socket"), int(sizeof(sockaddr_un::sun_path)) - 1);
}

TComeForwardServer::TComeForwardServer(const QString &name, std::function<void()> onRequest)
    : FServer(new QLocalServer(this)), FOnRequest(std::move(onRequest)) {
    const QString path = ComeForwardSocketPath(name);
    if (path.isEmpty()) return;
    FServer->setSocketOptions(QLocalServer::UserAccessOption);
    // Only the copy that holds the instance's lock starts a server, so a socket file found
    // here is left over from a copy that was killed.
    QLocalServer::removeServer(path);
    if (FServer->listen(path))
        connect(FServer, &QLocalServer::newConnection, this, &TComeForwardServer::Accept);
}

TComeForwardServer::~TComeForwardServer() {
    FServer->close();
}

bool TComeForwardServer::IsListening() const {
    return FServer->isListening();
}

void TComeForwardServer::Accept() {
    while (QLocalSocket *client = FServer->nextPendingConnection()) {
        if (FClients >= maxClients) {
            client->abort();
            client->deleteLater();
            continue;
        }
        ++FClients;
        connect(client, &QObject::destroyed, this, [this] { --FClients; });
        client->setReadBufferSize(maxRequestBytes);
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        // A caller that never finishes its request must not hold a connection forever. The
        // timer goes with the connection: a flood of short connections leaves none behind.
        auto *deadline = new QTimer(client);
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, client, [client] {
            client->abort();
            client->deleteLater();
        });
        deadline->start(10 * replyTimeoutMs);
        connect(client, &QLocalSocket::readyRead, this, [this, client] {
            if (!client->canReadLine()) {
                if (client->bytesAvailable() >= maxRequestBytes) {
                    client->abort();
                    client->deleteLater();
                }
                return;
            }
            if (client->readLine(maxRequestBytes) == request) {
                FOnRequest();
                client->write(confirmation);
            }
            client->disconnectFromServer();
        });
    }
}

bool RequestComeForward(const QString &name) {
    const QString path = ComeForwardSocketPath(name);
    if (path.isEmpty()) return false;
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(replyTimeoutMs)) return false;
    socket.write(request);
    if (!socket.waitForBytesWritten(replyTimeoutMs)) return false;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(replyTimeoutMs)) return false;
    return socket.readLine() == confirmation;
}
