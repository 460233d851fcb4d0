#include "tests/support/httpsserver.h"

#include <QFile>
#include <QProcess>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>

namespace {

QByteArray ReadAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Phrase(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

} // namespace

THttpsServer::THttpsServer() {
    QProcess openssl;
    openssl.setWorkingDirectory(FDir.path());
    openssl.start(QStringLiteral("openssl"),
                  {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                   "-nodes", "-keyout", "key.pem", "-out", "cert.pem", "-days", "2", "-subj",
                   "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1,DNS:localhost"});
    if (!openssl.waitForFinished(20000) || openssl.exitCode() != 0) {
        FReason = QStringLiteral("openssl made no certificate: ") +
                  QString::fromLocal8Bit(openssl.readAllStandardError()) + openssl.errorString();
        return;
    }
    QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
    ssl.setLocalCertificate(QSslCertificate(ReadAll(CaFile()), QSsl::Pem));
    ssl.setPrivateKey(QSslKey(ReadAll(FDir.filePath(QStringLiteral("key.pem"))), QSsl::Ec));
    ssl.setPeerVerifyMode(QSslSocket::VerifyNone);
    FServer.setSslConfiguration(ssl);
    QObject::connect(&FServer, &QTcpServer::pendingConnectionAvailable, &FServer, [this] {
        while (QTcpSocket *next = FServer.nextPendingConnection()) {
            auto *socket = qobject_cast<QSslSocket *>(next);
            QObject::connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QSslSocket::readyRead, socket, [this, socket] {
                if (socket->property("answered").toBool()) return;
                socket->setProperty("request",
                                    socket->property("request").toByteArray() + socket->readAll());
                if (socket->property("request").toByteArray().contains("\r\n\r\n")) Answer(socket);
            });
        }
    });
    if (!FServer.listen(QHostAddress::LocalHost)) FReason = FServer.errorString();
}

QString THttpsServer::Url(const QString &path) const {
    return QStringLiteral("https://127.0.0.1:%1%2").arg(FServer.serverPort()).arg(path);
}

void THttpsServer::Answer(QSslSocket *socket) {
    socket->setProperty("answered", true);
    ++FRequests;
    // "GET /path HTTP/1.1"
    const QByteArray request = socket->property("request").toByteArray();
    const QString path =
        QString::fromLatin1(request.left(request.indexOf("\r\n")).split(' ').value(1));
    const TAnswer answer = FAnswers.value(path, TAnswer{404, "nicht da\n", THow::Whole});
    QByteArray head = "HTTP/1.1 " + QByteArray::number(answer.Status) + ' ' +
                      Phrase(answer.Status) + "\r\nContent-Type: text/csv; charset=utf-8\r\n";
    if (answer.How != THow::Endless)
        head += "Content-Length: " + QByteArray::number(answer.Body.size()) + "\r\n";
    socket->write(head + "Connection: close\r\n\r\n");
    switch (answer.How) {
    case THow::Whole:
        socket->write(answer.Body);
        socket->disconnectFromHost();
        break;
    case THow::Stall:
        socket->write(answer.Body.left(answer.Body.size() / 2));
        break;
    case THow::Endless: {
        // Written as the client reads, so that the test's memory stays small.
        const auto more = [socket, body = answer.Body] {
            if (socket->bytesToWrite() < 4 * body.size()) socket->write(body);
        };
        QObject::connect(socket, &QSslSocket::encryptedBytesWritten, socket, more);
        more();
        break;
    }
    }
}

quint16 ClosedPort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}
