#pragma once
// Austria's base rate (Basiszinssatz of the Oesterreichische Nationalbank): it changes on any
// day, but default interest takes one rate a half-year, fixed on a day the law names. The table
// of changes shipped with the program, the user's changes merged over it, and the half-year
// tables the rest of the engine reads as it reads Germany's.

#include "engine/baserates.h"

#include <vector>

// The rate in force from Day on, until the next change.
struct TBaseRateChange {
    TDateTime Day = EmptyDate;
    TBasisPoints Rate = 0;
    bool User = false; // added or corrected by the user

    bool operator==(const TBaseRateChange &) const = default;
};

// The day whose rate holds for a half-year.
enum TAtHalfYearRule : int {
    // § 456 UGB (contracts from 16.03.2013): the first calendar day of the half-year.
    hrFirstDay,
    // § 352 UGB a. F., § 1333 Abs. 2 ABGB a. F.: the last day of the half-year before.
    hrLastDayBefore,
};

class TAtBaseRates {
public:
    TAtBaseRates() = default;
    // Ordered by day; of two changes on one day the later in the list wins. `knownThrough` is
    // the last day the changes are known to be complete for.
    TAtBaseRates(std::vector<TBaseRateChange> changes, TDateTime knownThrough);

    // The user's changes over these, flagged as the user's. A change after the known days
    // vouches for the days up to it.
    TAtBaseRates MergedWith(const std::vector<TBaseRateChange> &user) const;

    const std::vector<TBaseRateChange> &Changes() const { return FChanges; }
    TDateTime KnownThrough() const { return FKnownThrough; }
    // The rate in force on `day`; nullptr before the first change or after the known days.
    const TBaseRateChange *InForce(TDateTime day) const;
    // One rate a half-year under the rule, for every half-year whose fixing day is known; its
    // Reach() is how far that rule's rates reach.
    const TBaseRateTable &HalfYears(TAtHalfYearRule rule) const {
        return rule == hrFirstDay ? FFirstDay : FLastDayBefore;
    }

private:
    std::vector<TBaseRateChange> FChanges;
    TDateTime FKnownThrough = EmptyDate;
    TBaseRateTable FFirstDay, FLastDayBefore;
};

// The half-year table of the changes under the rule: each half-year from the first change on
// whose fixing day lies within the known days, with the rate in force on that day.
TBaseRateTable AtHalfYearTable(const std::vector<TBaseRateChange> &changes, TDateTime knownThrough,
                               TAtHalfYearRule rule);

// The table compiled into the program from engine/basiszinssatz-at.csv.
const TAtBaseRates &ShippedAtBaseRates();

// A German error (ecRate) unless `day` is a date from 01.01.1999 (the first Austrian base
// rate) on and `rate` lies within MinBaseRate and MaxBaseRate.
TEngineError CheckAtBaseRateChange(TDateTime day, TBasisPoints rate);
