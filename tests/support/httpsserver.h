#pragma once
// A small HTTPS server of the test's own on 127.0.0.1, served from the test's event loop. Its
// certificate is made when it starts (openssl) and is trusted only where the test names its
// file (TARVO_BASISZINS_CA); the product never skips a certificate check.

#include <QByteArray>
#include <QMap>
#include <QSslServer>
#include <QString>
#include <QTemporaryDir>

class THttpsServer {
public:
    enum class THow {
        Whole,   // the body with its length, then the connection closed
        Endless, // no length: the body, again and again, until the client gives up
        Stall,   // the header and half the body, then nothing
    };
    struct TAnswer {
        int Status = 200;
        QByteArray Body;
        THow How = THow::Whole;
    };

    THttpsServer();
    // False, with the reason, when no certificate could be made or no port opened.
    bool Ready() const { return FReason.isEmpty(); }
    const QString &Reason() const { return FReason; }

    void Serve(const QString &path, const TAnswer &answer) { FAnswers[path] = answer; }
    // https://127.0.0.1:<port><path>
    QString Url(const QString &path) const;
    // The server's certificate, which is its own authority.
    QString CaFile() const { return FDir.filePath(QStringLiteral("cert.pem")); }
    int Requests() const { return FRequests; }

private:
    void Answer(QSslSocket *socket);

    QTemporaryDir FDir;
    QSslServer FServer;
    QMap<QString, TAnswer> FAnswers;
    QString FReason;
    int FRequests = 0;
};

// A port on 127.0.0.1 where nothing listens.
quint16 ClosedPort();
