#pragma once
// An error of the engine as a value, so that the window and the command line's batch can both
// show it: a code for the program, a German text for the user, and what the text names.

#include "dates/dateserial.h"

#include <QString>

enum TEngineErrorCode : int {
    ecNone = 0,
    ecClaim,           // the claim is 0, negative or too large
    ecDates,           // a day is no date, or the last day lies before the first
    ecRate,            // a typed rate is no rate or out of range
    ecNoBaseRate,      // a day before the first base rate, under a rule that needs one
    ecMissingHalfYear, // a half-year without a known base rate
    ecFlatFee,         // the flat fee asked for where it is not due
    ecFile,            // a file that cannot be read or written
    ecFileContent,     // a file whose content is broken at a line
    ecRule,            // a rate rule the law of the case does not offer for the claim
    ecDayCount,        // a day count the law of the case does not offer
    ecAllocation,      // an order of allocation the law of the case does not offer
};

struct TEngineError {
    TEngineError() = default;
    TEngineError(TEngineErrorCode code, QString message, QString file = QString(), int line = 0)
        : Code(code), Message(std::move(message)), File(std::move(file)), Line(line) {}

    TEngineErrorCode Code = ecNone;
    QString Message;
    // ecMissingHalfYear: the first day of the half-year without a base rate.
    TDateTime HalfYear = EmptyDate;
    // ecFile, ecFileContent: the file and, for content, the line (from 1).
    QString File;
    int Line = 0;

    explicit operator bool() const { return Code != ecNone; }
};
