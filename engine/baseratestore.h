#pragma once
// The base rates the default-interest calculations use: the shipped table with the user's own
// rates (<user's data folder>/tarvo/basiszinssaetze.txt) merged over it. The window and the
// command line share it, so that both calculate with the same table and change the file alike.

#include "engine/baserates.h"
#include "engine/engineerror.h"

#include <QString>
#include <vector>

class TBaseRateStore {
public:
    // <user's data folder>/tarvo/basiszinssaetze.txt
    static QString DefaultPath();
    explicit TBaseRateStore(QString path = DefaultPath());

    const QString &Path() const { return FPath; }
    const TBaseRateTable &Table() const { return FTable; }

    // Reads the user's file afresh. A broken one is moved aside by the engine and its error
    // given; then only the shipped rates count.
    TEngineError Load();
    // Adds or corrects the user's rate of a half-year and saves the file; on an error nothing
    // changes, in memory or on disk.
    TEngineError Set(const TBaseRate &rate);
    // Takes over the half-years of a Bundesbank download; `changed` counts those whose rate in
    // force changed.
    TEngineError Import(const QString &csvPath, int &changed);

private:
    TEngineError Commit(const std::vector<TBaseRate> &user);

    QString FPath;
    std::vector<TBaseRate> FUser;
    TBaseRateTable FTable;
};

// "„…/bbk.csv“ gelesen: 3 Halbjahre mit neuem Basiszinssatz.": what an import did.
QString ImportReportText(const QString &csvPath, int changed);
