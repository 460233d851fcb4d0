#pragma once
// Default interest (Verzugszinsen) on a claim: the base rate of § 247 BGB plus the margin of
// § 288 BGB, split at every 1 January and 1 July, or a fixed rate; each part rounded to the
// cent. Austrian and Swiss law as the law of the case, with the rules, day counts and flat fee
// each offers. Errors come back as values, never as exceptions.

#include "engine/atbaserates.h"
#include "engine/baserates.h"
#include "engine/engineerror.h"
#include "engine/periods.h"

#include <QString>
#include <optional>
#include <vector>

// The law of the case.
enum TLaw : int {
    lwGermany = 0,
    lwAustria = 1,
    lwSwitzerland = 2,
};

enum TDayCount : int {
    dcActual365 = 1,    // "taggenau": actual days / 365
    dcActualActual = 2, // actual days / 365, days of a leap year / 366
    dcActual360 = 3,    // actual days / 360
    dc30360 = 4,        // the bar's deutsche day rule (fcDeutsche), / 360
    // Swiss usance, / 360: every month 30 days and the 31st counts nothing, as under dc30360;
    // but a part ending on the last day of February counts February's true 28 or 29 days.
    dc30360Swiss = 5,
};

// Under Austrian law rkNoConsumer is the business transaction (unternehmerisches Geschäft) and
// rkStatutory the rate of § 1000 Abs. 1 ABGB; under Swiss law rkStatutory is Art. 104 Abs. 1
// OR. What each law offers: RuleOffered().
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

constexpr TBasisPoints AtBusinessMargin = 920;    // § 456 UGB
constexpr TBasisPoints AtOldBusinessMargin = 800; // § 352 UGB a. F., § 1333 Abs. 2 ABGB a. F.
constexpr TBasisPoints AtStatutoryRate = 400;     // § 1000 Abs. 1 ABGB
constexpr TCents AtFlatFee = 4000;                // § 458 UGB
constexpr TBasisPoints ChStatutoryRate = 500;     // Art. 104 Abs. 1 OR
// 01.08.2002: § 1333 Abs. 2 ABGB puts business default interest over the base rate.
TDateTime AtBusinessRateFirstDay();
// 16.03.2013: § 456 UGB holds for contracts from this day on (Zahlungsverzugsgesetz).
TDateTime AtCurrentLawFirstDay();

struct TRateRule {
    TRateKind Kind = rkConsumer;
    // rkNoConsumer: the claim arose before 29.07.2014 (Art. 229 § 34 EGBGB).
    bool ClaimBefore29072014 = false;
    TBasisPoints Value = 0; // rkFixed: the rate; rkMargin: the margin
    // Austrian rkNoConsumer: the contract was made before 16.03.2013, so § 352 UGB a. F. or
    // § 1333 Abs. 2 ABGB a. F. hold instead of § 456 UGB.
    bool ContractBefore16032013 = false;
};

struct TDefaultInterestInput {
    TCents Claim = 0;
    TDateTime FirstDay = EmptyDate; // the day after the due date (§ 187 Abs. 1 BGB)
    TDateTime LastDay = EmptyDate;  // the day of payment or of the statement
    TRateRule Rule;
    TDayCount DayCount = dcActual365;
    bool FlatFee = false; // only where FlatFeeOffered(Rule, Law)
    // Whether interest runs on the last day too. Courts differ on the day of payment; without
    // it the last interest day is the day before, which must not lie before the first.
    bool LastDayCounts = true;
    TLaw Law = lwGermany;
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
    TLaw Law = lwGermany; // the input's, so that the sums name their money and provisions
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

// `table` holds Germany's base rates, `austrian` Austria's (under the other laws unused).
TDefaultInterest CalculateDefaultInterest(const TDefaultInterestInput &input,
                                          const TBaseRateTable &table,
                                          const TAtBaseRates &austrian = ShippedAtBaseRates());
// The last day interest runs on: LastDay, or the day before when the day of payment does not
// count.
TDateTime LastInterestDay(const TDefaultInterestInput &input);

// The check box's preset: a claim whose first interest day is 29.07.2014 or earlier fell due
// on 28.07.2014 or earlier, so it arose before 29.07.2014.
bool ClaimBefore29072014Preset(TDateTime firstDay);
// The same for Austria: interest from 16.03.2013 or earlier means a claim due by 15.03.2013,
// from a contract made before 16.03.2013.
bool ContractBefore16032013Preset(TDateTime firstDay);
// Whether the rule adds the base rate, the margin it adds (0 for a fixed rate), and the fixed
// rate (0 for a rule over the base rate).
bool UsesBaseRate(const TRateRule &rule);
TBasisPoints MarginOf(const TRateRule &rule, TLaw law = lwGermany);
TBasisPoints FixedRateOf(const TRateRule &rule, TLaw law = lwGermany);
// The flat fee of 40 euros: § 288 Abs. 5 BGB (no consumer involved, claim arisen after 28.07.2014)
// or § 458 UGB (a business transaction from a contract from 16.03.2013 on); none in Swiss law.
bool FlatFeeOffered(const TRateRule &rule, TLaw law = lwGermany);
TCents FlatFeeOf(TLaw law);

// What each law offers. Germany: every rule and the four German day counts. Austria: the
// business rule, 4 % (rkStatutory), a fixed rate or a margin over its base rate; the German
// day counts. Switzerland: 5 % (rkStatutory) or a fixed rate; dc30360Swiss, dcActual360,
// dcActual365.
bool RuleOffered(TLaw law, TRateKind kind);
bool DayCountOffered(TLaw law, TDayCount count);
TDayCount DefaultDayCount(TLaw law);
// The half-year base rates the rule reads under the law: Germany's table, or Austria's under
// the rule's half-year rule.
const TBaseRateTable &HalfYearRates(TLaw law, const TRateRule &rule, const TBaseRateTable &german,
                                    const TAtBaseRates &austrian);

// The errors of what a law does not offer, for both statements; no error where it does.
TEngineError DayCountError(TLaw law, TDayCount count);
// ecRule for a rule the law does not offer, or Austria's current business rule for a claim
// whose interest began before its law did.
TEngineError RuleOfferedError(TLaw law, const TRateRule &rule, TDateTime firstDay);
// Always an error (ecFlatFee); `claim` (from 0) names the claim in a claims statement.
TEngineError FlatFeeError(TLaw law, std::optional<int> claim = std::nullopt);
// ecNoBaseRate for a rule over the base rate before the days its law has one; `firstDayInput`
// is the phrase that names the first day's input (FirstInterestDayPhrase, InterestStartPhrase).
TEngineError BaseRateDaysError(TLaw law, const TRateRule &rule, TDateTime firstDay,
                               TErrorText firstDayInput);
// ecMissingHalfYear for the half-year, naming how far the table reaches; the statement day
// (rather than the last interest day) is what the user may move instead.
TEngineError MissingHalfYearError(TDateTime halfYear, const TBaseRateTable &table,
                                  bool statementDay);
// ecRate for a fixed rate or margin outside 0 to MaxTypedRate; no error within.
TEngineError TypedRateError(TBasisPoints rate);
// The row of one part: its days, the base rate (`base`, where the rule adds one) plus the
// rule's margin, never below 0, or the rule's fixed rate, and the interest on `principal`.
TInterestRow InterestRow(TCents principal, const TPeriod &part, const TBaseRate *base,
                         const TRateRule &rule, TLaw law, TDayCount count);
// A part's days under the day count; 0 when To lies before From. Under dc30360 and
// dc30360Swiss every month has 30 days and the 31st counts nothing, so each half-year has 180;
// dc30360Swiss counts a part ending on 28.02. of a common year as 28 days of February.
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
