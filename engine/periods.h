#pragma once
// The plain values of interest statements: money in cents, rates in hundredths of a percent,
// a dated period whose first and last day both count, one row of a statement, and the
// half-years at which the base rate changes (§ 247 Abs. 1 BGB: 1 January and 1 July).

#include "dates/dateserial.h"

#include <vector>

// Whole cents; integers throughout, so that every statement adds up to the cent.
using TCents = qint64;
// Hundredths of a percent: 7,27 % is 727.
using TBasisPoints = qint32;

// Whole-day serials; the first and the last day both count.
struct TPeriod {
    TDateTime From = EmptyDate;
    TDateTime To = EmptyDate;

    bool operator==(const TPeriod &) const = default;
};

// One row of a statement. For a fixed rate BaseRate and Margin are 0 and HasBaseRate false.
struct TInterestRow {
    TDateTime From = EmptyDate;
    TDateTime To = EmptyDate;
    quint32 Days = 0; // under the statement's day count
    TBasisPoints BaseRate = 0;
    TBasisPoints Margin = 0;
    TBasisPoints Rate = 0; // base rate + margin, never below 0; or the fixed rate
    TCents Interest = 0;   // rounded to the cent
    bool HasBaseRate = false;
    bool UserBaseRate = false; // the base rate is one the user added or corrected

    bool operator==(const TInterestRow &) const = default;
};

// The day of a serial without its time; EmptyDate for serials outside the calendar.
TDateTime WholeDay(TDateTime serial);
// The first day of the half-year holding `day` (1 January or 1 July), and of the next one.
TDateTime HalfYearStart(TDateTime day);
TDateTime NextHalfYearStart(TDateTime day);
bool IsHalfYearStart(TDateTime day);

// The period cut before every 1 January and 1 July inside it; empty when To lies before From.
std::vector<TPeriod> SplitAtHalfYears(const TPeriod &period);
