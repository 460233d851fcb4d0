#pragma once
// The user's own base rates: a small UTF-8 text file in the user's data folder, one rate a
// line ("01.01.2027;1,52"; ISO dates and decimal points are read too; "#" starts a comment
// line). A broken file is moved aside whole, never half-used.

#include "engine/baserates.h"

#include <QString>
#include <vector>

// The file's name inside the user's data folder.
inline constexpr char UserRatesFileName[] = "basiszinssaetze.txt";

struct TUserRates {
    std::vector<TBaseRate> Rates; // flagged as the user's; empty when Error is set
    TEngineError Error;
};

// Error.Line names the first broken line; Error.File stays empty.
TUserRates ParseUserRates(const QString &text);
QString SerializeUserRates(const std::vector<TBaseRate> &rates);

// A missing file gives no rates and no error. A broken one is renamed to
// "<name>.broken-<yyyyMMdd-HHmmss>" and the error names the file, the line and the new name.
TUserRates LoadUserRates(const QString &path);
// Writes a temporary file beside `path` and renames it over, creating the folder if needed.
TEngineError SaveUserRates(const QString &path, const std::vector<TBaseRate> &rates);

// Adds the rate, or corrects the user's rate of its half-year; an error (ecRate) for a date
// or value CheckBaseRate refuses, and then the list stays as it was.
TEngineError SetUserRate(std::vector<TBaseRate> &user, TBaseRate rate);
// Takes over rates (from an import) into the user's list: a rate equal to the shipped one
// drops the user's correction of it, any other becomes the user's. The number of half-years
// whose rate in force changed.
int AdoptRates(std::vector<TBaseRate> &user, const std::vector<TBaseRate> &rates,
               const TBaseRateTable &shipped);
