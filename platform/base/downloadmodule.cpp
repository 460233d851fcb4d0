// The download module: only this unit links the network libraries.

#include "platform/base/download.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QSslConfiguration>
#include <QTimer>
#include <QUrl>

namespace {

// Qt's own texts are English; the reasons the user reads are German.
QString CertificateReason(const QSslError &error, const QString &host) {
    switch (error.error()) {
    case QSslError::SelfSignedCertificate:
    case QSslError::SelfSignedCertificateInChain:
    case QSslError::UnableToGetLocalIssuerCertificate:
    case QSslError::UnableToGetIssuerCertificate:
    case QSslError::UnableToVerifyFirstCertificate:
    case QSslError::CertificateUntrusted:
        return QStringLiteral("das Zertifikat des Servers stammt von keiner vertrauenswürdigen "
                              "Stelle");
    case QSslError::CertificateExpired:
        return QStringLiteral("das Zertifikat des Servers ist abgelaufen");
    case QSslError::CertificateNotYetValid:
        return QStringLiteral("das Zertifikat des Servers gilt noch nicht");
    case QSslError::HostNameMismatch:
        return QStringLiteral("das Zertifikat des Servers gilt nicht für „%1“").arg(host);
    case QSslError::CertificateRevoked:
        return QStringLiteral("das Zertifikat des Servers ist zurückgezogen");
    default:
        return QStringLiteral("das Zertifikat des Servers ist nicht gültig (%1)")
            .arg(error.errorString());
    }
}

// The proxy the system names for the address, "host:port", or nothing for a direct connection.
QString ProxyOf(const QUrl &url) {
    for (const QNetworkProxy &proxy : QNetworkProxyFactory::proxyForQuery(QNetworkProxyQuery(url)))
        if (proxy.type() == QNetworkProxy::HttpProxy || proxy.type() == QNetworkProxy::Socks5Proxy)
            return proxy.hostName() + u':' + QString::number(proxy.port());
    return {};
}

QString NetworkReason(QNetworkReply *reply) {
    const QString host = reply->url().host();
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && status.toInt() >= 400) {
        const QString phrase =
            reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().trimmed();
        return phrase.isEmpty()
                   ? QStringLiteral("der Server meldet den Fehler %1").arg(status.toInt())
                   : QStringLiteral("der Server meldet den Fehler %1 (%2)")
                         .arg(status.toInt())
                         .arg(phrase);
    }
    switch (reply->error()) {
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("der Server „%1“ nimmt keine Verbindung an").arg(host);
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("der Server hat die Verbindung vorzeitig beendet");
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("der Server „%1“ ist nicht zu finden (keine Netzverbindung oder "
                              "ein falscher Name)")
            .arg(host);
    case QNetworkReply::TimeoutError:
        return QStringLiteral("der Server antwortet nicht");
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("keine sichere Verbindung (TLS) zum Server möglich");
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::BackgroundRequestNotAllowedError:
        return QStringLiteral("keine Netzverbindung");
    case QNetworkReply::TooManyRedirectsError:
        return QStringLiteral("der Server leitet zu oft weiter");
    case QNetworkReply::InsecureRedirectError:
        return QStringLiteral("der Server leitet auf eine unverschlüsselte Adresse weiter");
    default:
        break;
    }
    // Through a proxy, Qt often tells no more than an unknown error and its English text.
    const QString proxy = ProxyOf(reply->url());
    const QString named = proxy.isEmpty() ? QString() : QStringLiteral(" „%1“").arg(proxy);
    switch (reply->error()) {
    case QNetworkReply::ProxyConnectionRefusedError:
        return QStringLiteral("der Proxy%1 nimmt keine Verbindung an").arg(named);
    case QNetworkReply::ProxyConnectionClosedError:
        return QStringLiteral("der Proxy%1 hat die Verbindung vorzeitig beendet").arg(named);
    case QNetworkReply::ProxyNotFoundError:
        return QStringLiteral("der Proxy%1 ist nicht zu finden").arg(named);
    case QNetworkReply::ProxyTimeoutError:
        return QStringLiteral("der Proxy%1 antwortet nicht").arg(named);
    case QNetworkReply::ProxyAuthenticationRequiredError:
        return QStringLiteral("der Proxy%1 verlangt eine Anmeldung").arg(named);
    default:
        return proxy.isEmpty() ? QStringLiteral("Netzwerkfehler (%1)").arg(reply->errorString())
                               : QStringLiteral("die Verbindung über den Proxy „%1“ scheitert "
                                                "(%2)")
                                     .arg(proxy, reply->errorString());
    }
}

QString Seconds(int ms) {
    return ms % 1000 == 0 ? QStringLiteral("%1 Sekunden").arg(ms / 1000)
                          : QStringLiteral("%1 ms").arg(ms);
}

// Lives until its answer was handed on or the download was cancelled; the handle the caller
// holds may be destroyed inside `done`, so the worker is then deleted later.
class TWorker : public QObject {
public:
    TWorker(const TDownloadRequest &request, TDownloadDone done);
    ~TWorker() override;
    void Cancel();
    bool InCallback() const { return FInCallback; }

private:
    void Fail(const QString &reason);
    void Read();
    void Replied();
    void Hand(const TDownloadResult &result);

    QNetworkAccessManager FManager;
    QNetworkReply *FReply = nullptr;
    QTimer FTimer;
    TDownloadDone FDone;
    QString FHost;
    qint64 FLimit;
    QByteArray FData;
    QString FReason;    // why the download was ended here
    QString FSslReason; // what was wrong with the server's certificate
    bool FInCallback = false;
};

TWorker::TWorker(const TDownloadRequest &request, TDownloadDone done)
    : FDone(std::move(done)), FLimit(request.Limit) {
    const QUrl url(request.Url, QUrl::StrictMode);
    FHost = url.host();
    const auto failLater = [this](const QString &reason) {
        QTimer::singleShot(0, this, [this, reason] { Hand({{}, reason}); });
    };
    if (!url.isValid() || url.host().isEmpty()) {
        failLater(QStringLiteral("die Adresse ist ungültig"));
        return;
    }
    if (url.scheme() != QLatin1String("https")) {
        failLater(QStringLiteral("nur Adressen mit https:// werden abgerufen"));
        return;
    }
    QNetworkRequest ask(url);
    ask.setHeader(QNetworkRequest::UserAgentHeader, request.UserAgent);
    // Never from a cache: the point is the server's current answer.
    ask.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    if (!request.ExtraCaFile.isEmpty()) {
        const QList<QSslCertificate> extra =
            QSslCertificate::fromPath(request.ExtraCaFile, QSsl::Pem);
        if (extra.isEmpty()) {
            failLater(QStringLiteral("die Zertifikatsdatei „%1“ enthält keine Zertifikate")
                          .arg(request.ExtraCaFile));
            return;
        }
        QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
        ssl.setCaCertificates(QSslConfiguration::systemCaCertificates() + extra);
        ask.setSslConfiguration(ssl);
    }
    FReply = FManager.get(ask);
    connect(FReply, &QNetworkReply::readyRead, this, [this] { Read(); });
    connect(FReply, &QNetworkReply::metaDataChanged, this, [this] {
        const QVariant length = FReply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > FLimit)
            Fail(QStringLiteral("die Antwort ist größer als %1 MiB").arg(FLimit >> 20));
    });
    connect(FReply, &QNetworkReply::sslErrors, this, [this](const QList<QSslError> &errors) {
        if (!errors.isEmpty()) FSslReason = CertificateReason(errors.front(), FHost);
    });
    connect(FReply, &QNetworkReply::finished, this, [this] { Replied(); });
    FTimer.setSingleShot(true);
    connect(&FTimer, &QTimer::timeout, this, [this, timeout = request.TimeoutMs] {
        Fail(QStringLiteral("keine vollständige Antwort innerhalb von %1").arg(Seconds(timeout)));
    });
    FTimer.start(request.TimeoutMs);
}

TWorker::~TWorker() {
    // The connections kept for reuse go with their thread now, not at some later time.
    FManager.clearConnectionCache();
}

void TWorker::Fail(const QString &reason) {
    if (!FReason.isEmpty() || !FReply) return;
    FReason = reason;
    FReply->abort(); // finishes the reply: Replied hands the reason on
}

void TWorker::Read() {
    if (!FReason.isEmpty()) return;
    if (FData.size() + FReply->bytesAvailable() > FLimit)
        return Fail(QStringLiteral("die Antwort ist größer als %1 MiB").arg(FLimit >> 20));
    FData += FReply->readAll();
}

void TWorker::Replied() {
    FTimer.stop();
    if (FReason.isEmpty() && FReply->error() == QNetworkReply::NoError) Read();
    QString reason = FReason;
    if (reason.isEmpty() && FReply->error() != QNetworkReply::NoError)
        reason = FReply->error() == QNetworkReply::SslHandshakeFailedError && !FSslReason.isEmpty()
                     ? FSslReason
                     : NetworkReason(FReply);
    FReply->deleteLater();
    FReply = nullptr;
    Hand(reason.isEmpty() ? TDownloadResult{std::move(FData), {}} : TDownloadResult{{}, reason});
}

void TWorker::Hand(const TDownloadResult &result) {
    if (!FDone) return;
    const TDownloadDone done = std::move(FDone);
    FDone = nullptr;
    FInCallback = true;
    done(result);
    FInCallback = false;
}

void TWorker::Cancel() {
    FDone = nullptr;
    FTimer.stop();
    if (!FReply) return;
    FReply->disconnect(this);
    FReply->abort();
}

class THandle : public TDownload {
public:
    explicit THandle(TWorker *worker) : FWorker(worker) {}
    ~THandle() override {
        FWorker->Cancel();
        if (FWorker->InCallback())
            FWorker->deleteLater();
        else
            delete FWorker;
    }

private:
    TWorker *FWorker;
};

} // namespace

extern "C" Q_DECL_EXPORT TDownload *TarvoStartDownload(const TDownloadRequest &request,
                                                       TDownloadDone done) {
    // Offices reach the internet through the proxy their desktop or environment names.
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    return new THandle(new TWorker(request, std::move(done)));
}
