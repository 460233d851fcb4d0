#pragma once
// The dated table of base rates (§ 247 BGB): one rate a half-year, from 1 January or 1 July.
// The table shipped with the program, with the user's rates merged over it.

#include "engine/engineerror.h"
#include "engine/periods.h"

#include <QString>
#include <vector>

struct TBaseRate {
    TDateTime From = EmptyDate; // 1 January or 1 July
    TBasisPoints Rate = 0;
    bool User = false;     // from the user's file: typed or imported
    bool Imported = false; // in the user's file, taken from the Bundesbank's download

    bool operator==(const TBaseRate &) const = default;
};

// The range a rate the user adds or imports may take.
constexpr TBasisPoints MinBaseRate = -1000;
constexpr TBasisPoints MaxBaseRate = 2000;
// 01.01.2002: § 247 BGB defines the base rate from then on.
TDateTime FirstBaseRateDay();

class TBaseRateTable {
public:
    TBaseRateTable() = default;
    // Ordered by date; of two rates for one half-year the later in the list wins.
    explicit TBaseRateTable(std::vector<TBaseRate> rates);

    // The user's rates over this table's, flagged as the user's.
    TBaseRateTable MergedWith(const std::vector<TBaseRate> &user) const;

    const std::vector<TBaseRate> &Rates() const { return FRates; }
    // The rate of the half-year holding `day`; nullptr when that half-year has none. Never
    // the rate of another half-year.
    const TBaseRate *Find(TDateTime day) const;
    // The last day of the unbroken run of half-years from the first rate: 31.12.2026 for a
    // table whose last row is 01.07.2026. EmptyDate for an empty table.
    TDateTime Reach() const { return FReach; }

private:
    std::vector<TBaseRate> FRates;
    TDateTime FReach = EmptyDate;
};

// The table compiled into the program from engine/basiszinssatz.csv.
const TBaseRateTable &ShippedBaseRates();

// An error (ecRate) unless `from` is a 1 January or 1 July from FirstBaseRateDay() on and
// `rate` lies within MinBaseRate and MaxBaseRate.
TEngineError CheckBaseRate(TDateTime from, TBasisPoints rate);
// An error (ecRate) unless `rate` lies within MinBaseRate and MaxBaseRate.
TEngineError BaseRateRangeError(TBasisPoints rate);
// Why the table has no rate for the day: a day before FirstBaseRateDay() (ecNoBaseRate), or a
// half-year beyond its reach (ecMissingHalfYear). No error where it has one.
TEngineError BaseRateLookupError(TDateTime day, const TBaseRateTable &table);
