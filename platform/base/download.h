#pragma once
// One file fetched over HTTPS when the user asks for it. The network code sits in a module
// loaded at the first request (download module), so that no program maps the network libraries
// at its start. The system's proxy settings count; the server's certificate is always checked.

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

struct TDownloadRequest {
    QString Url;             // https only
    QString UserAgent;       // "Tarvo/2.3"
    int TimeoutMs = 20000;   // for the whole answer
    qint64 Limit = 16 << 20; // a larger answer is refused
    // A PEM file of certificates trusted besides the system's (a mirror's own authority), or
    // empty.
    QString ExtraCaFile;
};

struct TDownloadResult {
    QByteArray Data;
    // Why nothing came, in German, without the address: "keine Antwort innerhalb von 20
    // Sekunden", "der Server meldet den Fehler 404 (Not Found)". Empty on success.
    QString Error;

    explicit operator bool() const { return Error.isEmpty(); }
};

using TDownloadDone = std::function<void(const TDownloadResult &)>;

// A download under way. Destroying it cancels it; `done` is not called then.
class TDownload {
public:
    virtual ~TDownload() = default;
};

// Starts the download; `done` is called once, from the event loop, never before this returns.
// Nothing is started, and the reason given, when the module cannot be loaded.
std::unique_ptr<TDownload> StartDownload(const TDownloadRequest &request, TDownloadDone done,
                                         QString &error);

// The module's one entry.
using TDownloadEntry = TDownload *(*)(const TDownloadRequest &request, TDownloadDone done);
inline constexpr const char *DownloadEntryName = "TarvoStartDownload";
