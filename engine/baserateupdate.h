#pragma once
// "Basiszinssätze aktualisieren": on the user's request only, the Deutsche Bundesbank's
// base-rate series fetched over HTTPS, checked as the import checks a file (the same parser),
// and merged into the user's rates through the store (its lock, the import's rules).

#include "engine/baseratestore.h"

#include <functional>
#include <memory>
#include <vector>

class QObject;
class TDownload;

// The series BBIN1.M.DE.BBK.BBKBAS2.EUR.ME from the Bundesbank's statistics download service:
// the SDMX web service of its time-series database (base path
// https://api.statistiken.bundesbank.de/rest, documented under "Web service interface: Data" in
// the time-series databases' help on bundesbank.de), whose /download/{flow}/{key} gives the
// series as the database's CSV download, German with format=csv&lang=de.
inline constexpr char BundesbankDownloadUrl[] =
    "https://api.statistiken.bundesbank.de/rest/download/BBIN1/M.DE.BBK.BBKBAS2.EUR.ME"
    "?format=csv&lang=de";
// For tests and mirrors: another https address, and a PEM file of certificates trusted besides
// the system's.
inline constexpr char UpdateUrlVariable[] = "TARVO_BASISZINS_URL";
inline constexpr char UpdateCaVariable[] = "TARVO_BASISZINS_CA";
// For the whole answer; the answer may be as large as a file the import reads.
inline constexpr int UpdateTimeoutMs = 20000;

class TBaseRateUpdate {
public:
    explicit TBaseRateUpdate(TBaseRateStore &store);
    ~TBaseRateUpdate(); // cancels
    TBaseRateUpdate(const TBaseRateUpdate &) = delete;
    TBaseRateUpdate &operator=(const TBaseRateUpdate &) = delete;

    // BundesbankDownloadUrl, or the address TARVO_BASISZINS_URL names.
    const QString &Url() const { return FUrl; }
    bool Running() const { return FRunning; }
    // Fetches and merges; OnDone follows once from the event loop, unless cancelled first.
    void Start();
    // Nothing is changed then, and OnDone is not called.
    void Cancel();

    int TimeoutMs = UpdateTimeoutMs;
    // `error`: why nothing changed, in German, naming the address; `changes`: what changed.
    std::function<void(const TEngineError &error, const std::vector<TRateChange> &changes)> OnDone;

private:
    void Finish(const TEngineError &error, const std::vector<TRateChange> &changes);

    TBaseRateStore &FStore;
    QString FUrl;
    bool FRunning = false;
    std::unique_ptr<TDownload> FDownload;
    std::unique_ptr<QObject> FPending; // a failure before the download, told from the loop
};
