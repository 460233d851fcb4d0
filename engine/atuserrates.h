#pragma once
// The user's own changes of Austria's base rate: a small text file beside Germany's
// (<user's data folder>/tarvo/basiszinssaetze-at.txt), one change a line, the day it took
// effect and the rate ("09.07.2008;4,26"), "#" starting a comment line. Kept apart from the
// German file, whose lines are half-years: an Austrian change falls on any day. A broken line
// makes the whole file count for nothing, and no change is written over it.

#include "engine/atbaserates.h"
#include "engine/engineerror.h"

#include <QByteArray>
#include <QString>
#include <vector>

inline constexpr char AtUserRatesFileName[] = "basiszinssaetze-at.txt";

// <user's data folder>/tarvo/basiszinssaetze-at.txt
QString AtUserRatesPath();

struct TAtUserRates {
    std::vector<TBaseRateChange> Changes; // flagged as the user's, by day
    TEngineError Error;                   // names the file and, for a broken line, the line
};

// A missing file gives no changes and no error.
TAtUserRates LoadAtUserRates(const QString &path);
// The shipped changes with the user's over them, and the error of the user's file (then the
// shipped changes alone).
TAtBaseRates AtRatesWithUsers(const QString &path, TEngineError &error);
// Adds the change, or corrects the one of its day; removes the user's change of the day. The
// file is read afresh first, and left as it was on any error (a broken line, a check the
// change fails, a write that fails).
TEngineError SetAtUserRate(const QString &path, TBaseRateChange change);
TEngineError RemoveAtUserRate(const QString &path, TDateTime day);
