#pragma once
// The base rates the default-interest calculations use: the shipped table with the user's own
// rates (<user's data folder>/tarvo/basiszinssaetze.txt) merged over it. The window and the
// command line share it and change the file alike: every change reads the file afresh under a
// lock that all writers take (a lock file beside it), so that no writer ever writes back a
// list older than the file, and a change made meanwhile by another program is kept.

#include "engine/baserates.h"
#include "engine/bundesbank.h"
#include "engine/engineerror.h"
#include "engine/userrates.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QFileSystemWatcher;

class TBaseRateStore {
public:
    // <user's data folder>/tarvo/basiszinssaetze.txt
    static QString DefaultPath();
    explicit TBaseRateStore(QString path = DefaultPath());
    ~TBaseRateStore();
    TBaseRateStore(const TBaseRateStore &) = delete;
    TBaseRateStore &operator=(const TBaseRateStore &) = delete;

    const QString &Path() const { return FPath; }
    const TBaseRateTable &Table() const { return FTable; }
    // The user's rates as the file last read gave them, in file order.
    std::vector<TBaseRate> UserRates() const { return FFile.Rates(); }

    // Reads the user's file afresh. A broken one is moved aside by the engine and its error
    // given; one that cannot be read stays and its error is given; then only the shipped rates
    // count.
    TEngineError Load();
    // Reads the file again when it changed since it was last read. A broken or unreadable file
    // leaves the rates as they were (and the file where it is: the user may be editing it).
    // True when the rates changed.
    bool Refresh();
    // Adds or corrects the user's rate of a half-year.
    TEngineError Set(const TBaseRate &rate);
    // Removes the user's rate of the half-year (the shipped one, if any, counts again).
    TEngineError Remove(TDateTime from);
    // Takes over the half-years of a Bundesbank download; `changed` counts those whose rate in
    // force changed.
    TEngineError Import(const QString &csvPath, int &changed);
    // The same for the answer of the Bundesbank's download service fetched from `url`;
    // `changes` gets the half-years whose rate in force changed.
    TEngineError TakeAnswer(const QByteArray &answer, const QString &url,
                            std::vector<TRateChange> &changes);
    // The files set aside as broken beside the user's file, the newest first.
    QStringList SetAsideFiles() const { return SetAsideUserRates(FPath); }

    // Follows the changes other programs make to the file while an event loop runs: Refresh,
    // then OnChanged when the rates changed.
    void Watch();
    std::function<void()> OnChanged;

private:
    // Under the lock: the file read afresh, edited and written back. On an error the file
    // stays as it was; the rates in memory are the file's as read.
    TEngineError Change(const std::function<TEngineError(TUserRatesFile &)> &edit);
    TEngineError TakeOver(const TBundesbankImport &read, std::vector<TRateChange> &changes);
    void Adopt(const TUserRatesFile &file, const QByteArray &bytes);
    void WatchPaths();

    QString FPath;
    TUserRatesFile FFile;
    QByteArray FBytes; // what the file held when last read or written
    TBaseRateTable FTable;
    std::unique_ptr<QFileSystemWatcher> FWatcher;
};
