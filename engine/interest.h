#pragma once
// Interest days and interest amounts under the three formulas. Stateless; never rounds.

#include "dates/dateserial.h"

#include <QString>
#include <QtGlobal>
#include <optional>

// The formula codes. Any other code selects no formula: 0 days and an amount of 0.
enum TFormulaCode : int {
    fcEuro = 1,      // actual days, × 1.0006849315 / 36000
    fcDeutsche = 2,  // 30/360 days, / 36000
    fcEnglische = 3, // actual days, / 36500 or / 36600, split by calendar year
};

// The day count of the period under the formula; 0 when end lies before start. 32 bits wide,
// so that periods beyond 65535 days keep their true count.
quint32 InterestDays(int code, TDateTime start, TDateTime end);

// The unrounded interest on principal at rate percent a year; `days` is InterestDays' result
// for the same code and dates. 0 when end lies before start.
long double InterestAmount(int code, quint32 days, TDateTime start, TDateTime end,
                           long double principal, long double rate);

// A calculation as the bar shows it: the day label ("( 59 / 60 Tage )": the days between the
// dates, nearest whole day, and the formula's interest days) and the interest with two
// decimals in the regional settings ("16,67").
struct TInterestText {
    QString DayLabel;
    QString Interest;
    // The label's two figures, for callers that write them apart (the command line's CSV and
    // JSON).
    qint64 Difference = 0;
    quint32 Days = 0;
    // The interest as shown, in whole hundredths (JSON writes it from these); nothing beyond
    // sixteen whole digits, where only Amount tells it.
    std::optional<qint64> Hundredths;
    long double Amount = 0; // unrounded
};
TInterestText CalculateInterestText(int code, TDateTime start, TDateTime end, long double principal,
                                    long double rate);

// The same calculation's figures without their text, for callers that write the text
// themselves (a million rows of the command line).
struct TInterestFigures {
    qint64 Difference = 0;
    quint32 Days = 0;
    std::optional<qint64> Hundredths;
    long double Amount = 0;
};
TInterestFigures CalculateInterestFigures(int code, TDateTime start, TDateTime end,
                                          long double principal, long double rate);
