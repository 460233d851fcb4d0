#pragma once
// Import of the Deutsche Bundesbank's CSV download of the base-rate series: a header block,
// then one end-of-month value a line ("2025-07;1,27;"), "." for a month without a value.
// The months collapse into the half-years the rates belong to; a file with a broken line
// gives an error and no rates at all.

#include "engine/baserates.h"

#include <QByteArray>
#include <QString>
#include <vector>

// Basiszinssatz gemäß § 247 BGB, Stand am Monatsende.
inline constexpr char BundesbankSeriesKey[] = "BBIN1.M.DE.BBK.BBKBAS2.EUR.ME";

struct TBundesbankImport {
    // One rate a half-year that has at least one monthly value, from 01.01.2002 on, ordered;
    // flagged as the user's. Empty when Error is set.
    std::vector<TBaseRate> Rates;
    TEngineError Error;
};

// Error.Line names the broken line; Error.File stays empty.
TBundesbankImport ParseBundesbankCsv(const QByteArray &data);
// The same for a file; the error names the file.
TBundesbankImport ReadBundesbankCsv(const QString &path);
