#pragma once
// Default interest (Verzugszinsen) on a claim: the base rate of § 247 BGB plus the margin of
// § 288 BGB, split at every 1 January and 1 July, or a fixed rate; each part rounded to the
// cent. Errors come back as values, never as exceptions.

#include "engine/baserates.h"
#include "engine/engineerror.h"
#include "engine/periods.h"

#include <QString>
#include <vector>

enum TDayCount : int {
    dcActual365 = 1,    // "taggenau": actual days / 365
    dcActualActual = 2, // actual days / 365, days of a leap year / 366
    dcActual360 = 3,    // actual days / 360
    dc30360 = 4,        // the bar's deutsche day rule (fcDeutsche), / 360
};

enum TRateKind : int {
    rkConsumer,   // base rate + ConsumerMargin
    rkNoConsumer, // base rate + BusinessMargin, or OldBusinessMargin for an older claim
    rkStatutory,  // StatutoryRate
    rkCommercial, // CommercialRate
    rkFixed,      // Value a year
    rkMargin,     // base rate + Value
};

constexpr TBasisPoints ConsumerMargin = 500;    // § 288 Abs. 1 BGB
constexpr TBasisPoints BusinessMargin = 900;    // § 288 Abs. 2 BGB
constexpr TBasisPoints OldBusinessMargin = 800; // § 288 Abs. 2 BGB a. F., Art. 229 § 34 EGBGB
constexpr TBasisPoints StatutoryRate = 400;     // § 246 BGB
constexpr TBasisPoints CommercialRate = 500;    // § 352 HGB
constexpr TBasisPoints MaxTypedRate = 10000;    // a typed rate or margin: 0 to 100 %
constexpr TCents DefaultFlatFee = 4000;         // § 288 Abs. 5 BGB

struct TRateRule {
    TRateKind Kind = rkConsumer;
    // rkNoConsumer: the claim arose before 29.07.2014 (Art. 229 § 34 EGBGB).
    bool ClaimBefore29072014 = false;
    TBasisPoints Value = 0; // rkFixed: the rate; rkMargin: the margin
};

struct TDefaultInterestInput {
    TCents Claim = 0;
    TDateTime FirstDay = EmptyDate; // the day after the due date (§ 187 Abs. 1 BGB)
    TDateTime LastDay = EmptyDate;  // the day of payment or of the statement
    TRateRule Rule;
    TDayCount DayCount = dcActual365;
    bool FlatFee = false; // only where FlatFeeOffered(Rule)
    // Whether interest runs on the last day too. Courts differ on the day of payment; without
    // it the last interest day is the day before, which must not lie before the first.
    bool LastDayCounts = true;
};

struct TDefaultInterest {
    TEngineError Error; // when set, no rows and no sums
    std::vector<TInterestRow> Rows;
    TCents Claim = 0;
    TCents Interest = 0; // the sum of the rounded rows; no interest on interest (§ 289 BGB)
    TCents PerDay = 0;   // one more day at the last row's rate ("Zinsen je weiteren Tag")
    TCents FlatFee = 0;
    TCents Total = 0; // claim, interest and flat fee
    TDayCount DayCount = dcActual365;
};

// What a sum of the statement is.
enum class TSumKind : int { Claim, Interest, FlatFee, Total, PerDay };
struct TSum {
    TSumKind Kind;
    TCents Amount;
};
// The claim, the interest, the flat fee where chosen, the total and the interest per day.
std::vector<TSum> Sums(const TDefaultInterest &result);

// A calculation with what it was made from and how far the base rates reached: what every
// output of the statement renders.
struct TDefaultInterestStatement {
    TDefaultInterestInput Input;
    TDefaultInterest Result;
    TDateTime Reach = EmptyDate; // of the base rates it was calculated with
};

TDefaultInterest CalculateDefaultInterest(const TDefaultInterestInput &input,
                                          const TBaseRateTable &table);
// The last day interest runs on: LastDay, or the day before when the day of payment does not
// count.
TDateTime LastInterestDay(const TDefaultInterestInput &input);

// The check box's preset: a claim whose first interest day is 29.07.2014 or earlier fell due
// on 28.07.2014 or earlier, so it arose before 29.07.2014.
bool ClaimBefore29072014Preset(TDateTime firstDay);
// Whether the rule adds the base rate, the margin it adds (0 for a fixed rate), and the fixed
// rate (0 for a rule over the base rate).
bool UsesBaseRate(const TRateRule &rule);
TBasisPoints MarginOf(const TRateRule &rule);
TBasisPoints FixedRateOf(const TRateRule &rule);
// The flat fee of § 288 Abs. 5 BGB: no consumer involved, claim arisen after 28.07.2014.
bool FlatFeeOffered(const TRateRule &rule);

// A part's days under the day count; 0 when To lies before From. Under dc30360 every month
// has 30 days and the 31st counts nothing, so each half-year has 180.
quint32 PeriodDays(TDayCount count, const TPeriod &period);
// The days of the year that one further day after `lastDay` is a share of: 360 under the
// 360-day counts, 366 under dcActualActual when that day lies in a leap year, else 365.
int YearDaysAfter(TDayCount count, TDateTime lastDay);
// The interest on the claim for the part at the rate a year, rounded to the cent, halves away
// from zero. Under dcActualActual a part across a year end counts each year's days by that
// year's length.
TCents PeriodInterest(TCents claim, TBasisPoints rate, TDayCount count, const TPeriod &period);

// A fixed rate or margin as the user typed it ("4,5", "12 %"); an error (ecRate) for text that
// is no rate or lies outside 0 to 100 %, and then `rate` stays as it was.
TEngineError ReadTypedRate(const QString &text, TBasisPoints &rate);

