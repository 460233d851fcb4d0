#pragma once
// Import of the Deutsche Bundesbank's base-rate series in the layouts it is downloaded in:
// - the time-series database's CSV download, German ("2025-07;1,27;": semicolons, decimal
//   comma) or English ("2025-07,1.27,": commas, decimal point): a first line naming the
//   series' key above its column (and "<key>_FLAGS" above the flags' column), header lines
//   (title, unit, date), one end-of-month value a line ("." and a flag for a month without a
//   value), and remark lines whose first cell is empty;
// - SDMX-CSV as the statistics service's interface gives it: a header row ("DATAFLOW", or
//   "STRUCTURE" and "STRUCTURE_ID", then the key's dimensions, TIME_PERIOD, OBS_VALUE and
//   attributes), one observation a row, the separator the one after the first term.
// UTF-8 or Latin-1, with or without a byte-order mark, CR, LF or CRLF. The months collapse into
// the half-years the rates belong to. A file that is broken or cut short gives an error and no
// rates at all.

#include "engine/baserates.h"

#include <QByteArray>
#include <QString>
#include <vector>

// Basiszinssatz gemäß § 247 BGB, Stand am Monatsende.
inline constexpr char BundesbankSeriesKey[] = "BBIN1.M.DE.BBK.BBKBAS2.EUR.ME";

struct TBundesbankImport {
    // One rate a half-year that has at least one monthly value, from 01.01.2002 on, ordered;
    // flagged as the user's and as imported. Empty when Error is set.
    std::vector<TBaseRate> Rates;
    TEngineError Error;
};

// Error.Line names the broken line, and the message says what is wrong with it; Line 0 is
// about the file as a whole, and the message goes on from "Die Datei „…“ " ("enthält die
// Reihe …"). Error.File stays empty. Months before the series' first (January 1999) or more
// than a year after today are refused.
TBundesbankImport ParseBundesbankCsv(const QByteArray &data);
// The same for a file, read only when it is a regular file within the read limit; the error
// names the file.
TBundesbankImport ReadBundesbankCsv(const QString &path);
// The same for the answer of the Bundesbank's download service (or a mirror's); the error names
// the address.
TBundesbankImport ParseBundesbankAnswer(const QByteArray &data, const QString &url);
