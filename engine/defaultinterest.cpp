#include "engine/defaultinterest.h"

#include "engine/fixedtext.h"
#include "engine/interest.h"
#include "engine/wide_p.h"

#include <algorithm>

namespace {

// Under dcActualActual days are weighed on this common denominator: a day of a common year is
// 366 / (365 × 366), one of a leap year 365 / (365 × 366).
constexpr TWide LeapCommon = 365 * 366;

int yearOf(TDateTime day) {
    quint16 y, m, d;
    SplitDateSerial(day, y, m, d);
    return y;
}

int dayOfMonth(TDateTime day) {
    quint16 y, m, d;
    SplitDateSerial(day, y, m, d);
    return d;
}

// Days weighed by their year's length, over LeapCommon.
TWide actualActualWeight(const TPeriod &period) {
    TWide weight = 0;
    for (int year = yearOf(period.From), last = yearOf(period.To); year <= last; ++year) {
        const TDateTime from = std::max(period.From, MakeDateSerial(year, 1, 1));
        const TDateTime to = std::min(period.To, MakeDateSerial(year, 12, 31));
        weight += TWide(to - from + 1) * (LeapYear(year) ? 365 : 366);
    }
    return weight;
}

TEngineError checkRule(const TDefaultInterestInput &input) {
    const TRateRule &rule = input.Rule;
    if (rule.Kind == rkFixed || rule.Kind == rkMargin)
        if (TEngineError error = TypedRateError(rule.Value)) return error;
    if (input.FlatFee && !FlatFeeOffered(rule, input.Law)) return FlatFeeError(input.Law);
    return {};
}

// Days counted as if every month had 30 and the 31st were the 30th.
qint64 swissDayNumber(TDateTime day) {
    quint16 y, m, d;
    SplitDateSerial(day, y, m, d);
    return 360 * qint64(y) + 30 * (m - 1) + std::min<int>(d, 30);
}

TEngineError checkInput(const TDefaultInterestInput &input) {
    if (input.Claim > MaxAmountCents) return TEngineError(ecClaim, TErrorText::ClaimTooLarge);
    if (input.Claim <= 0)
        return TEngineError(ecClaim, input.Law == lwSwitzerland ? TErrorText::ClaimNotPositiveFrancs
                                                                : TErrorText::ClaimNotPositive);
    if (!SerialDateValid(input.FirstDay)) return TEngineError(ecDates, TErrorText::FirstDayInvalid);
    if (!SerialDateValid(input.LastDay)) return TEngineError(ecDates, TErrorText::LastDayInvalid);
    const TDateTime first = WholeDay(input.FirstDay), last = WholeDay(input.LastDay);
    if (last < first)
        return TEngineError(ecDates, TErrorText::LastDayBeforeFirst,
                            {TErrorDay{last}, TErrorDay{first}});
    if (!input.LastDayCounts && last == first)
        return TEngineError(ecDates, TErrorText::NoInterestDayLeft, {TErrorDay{last}});
    if (TEngineError error = DayCountError(input.Law, input.DayCount)) return error;
    if (TEngineError error = RuleOfferedError(input.Law, input.Rule, first)) return error;
    if (TEngineError ruleError = checkRule(input)) return ruleError;
    return BaseRateDaysError(input.Law, input.Rule, first, TErrorText::FirstInterestDayPhrase);
}

} // namespace

quint32 PeriodDays(TDayCount count, const TPeriod &period) {
    if (period.To < period.From) return 0;
    if (count == dc30360Swiss) {
        // The 31st counts nothing; the last day of February counts as itself, so that a part
        // ending there has February's true days, while one running through has 30.
        const TDateTime from = dayOfMonth(period.From) == 31 ? period.From + 1 : period.From;
        return period.To < from ? 0 : quint32(swissDayNumber(period.To) - swissDayNumber(from) + 1);
    }
    if (count != dc30360) return quint32(period.To - period.From + 1);
    // The bar's rule counts from one day to another and takes the end of February as its
    // 30th; here both days count, and the 31st counts nothing, so that every month has 30.
    const TDateTime from = dayOfMonth(period.From) == 31 ? period.From + 1 : period.From;
    const TDateTime to = dayOfMonth(period.To) == 31 ? period.To - 1 : period.To;
    return to < from ? 0 : InterestDays(fcDeutsche, from, to) + 1;
}

int YearDaysAfter(TDayCount count, TDateTime lastDay) {
    if (count == dcActual360 || count == dc30360 || count == dc30360Swiss) return 360;
    if (count == dcActualActual && LeapYear(yearOf(lastDay + 1))) return 366;
    return 365;
}

TInterestRow InterestRow(TCents principal, const TPeriod &part, const TBaseRate *base,
                         const TRateRule &rule, TLaw law, TDayCount count) {
    TInterestRow row;
    row.From = part.From;
    row.To = part.To;
    row.Days = PeriodDays(count, part);
    row.HasBaseRate = base != nullptr;
    row.UserBaseRate = base && base->User;
    row.BaseRate = base ? base->Rate : 0;
    row.Margin = MarginOf(rule, law);
    // A base rate far below zero must not turn the debtor's default into the creditor's debt.
    row.Rate = base ? std::max(0, row.BaseRate + row.Margin) : FixedRateOf(rule, law);
    row.Interest = PeriodInterest(principal, row.Rate, count, part);
    return row;
}

TCents PeriodInterest(TCents claim, TBasisPoints rate, TDayCount count, const TPeriod &period) {
    if (period.To < period.From) return 0;
    const TWide base = TWide(claim) * rate;
    switch (count) {
    case dcActual365:
        return TCents(DivideRounded(base * PeriodDays(count, period), RateScale * 365));
    case dcActual360:
    case dc30360:
    case dc30360Swiss:
        return TCents(DivideRounded(base * PeriodDays(count, period), RateScale * 360));
    case dcActualActual:
        return TCents(DivideRounded(base * actualActualWeight(period), RateScale * LeapCommon));
    }
    return 0;
}

TDefaultInterest CalculateDefaultInterest(const TDefaultInterestInput &input,
                                          const TBaseRateTable &german,
                                          const TAtBaseRates &austrian) {
    TDefaultInterest result;
    result.DayCount = input.DayCount;
    result.Law = input.Law;
    result.Claim = input.Claim;
    if ((result.Error = checkInput(input))) return result;
    const TPeriod whole{WholeDay(input.FirstDay), LastInterestDay(input)};
    const TBaseRateTable &table = HalfYearRates(input.Law, input.Rule, german, austrian);
    if (!UsesBaseRate(input.Rule)) {
        result.Rows.push_back(
            InterestRow(input.Claim, whole, nullptr, input.Rule, input.Law, input.DayCount));
    } else {
        const std::vector<TPeriod> parts = SplitAtHalfYears(whole);
        result.Rows.reserve(parts.size());
        const TBaseRate *base = nullptr;
        const TBaseRate *const end = table.Rates().data() + table.Rates().size();
        for (const TPeriod &part : parts) {
            // Each part after the first begins its half-year, whose rate is most often the one
            // after the last part's in the table.
            if (base && base + 1 < end && base[1].From == part.From)
                ++base;
            else
                base = table.Find(part.From);
            if (!base) {
                result.Rows.clear();
                result.Error = MissingHalfYearError(HalfYearStart(part.From), table, false);
                return result;
            }
            result.Rows.push_back(
                InterestRow(input.Claim, part, base, input.Rule, input.Law, input.DayCount));
        }
    }
    for (const TInterestRow &row : result.Rows)
        result.Interest += row.Interest;
    result.PerDay = TCents(DivideRounded(TWide(input.Claim) * result.Rows.back().Rate,
                                         RateScale * YearDaysAfter(input.DayCount, whole.To)));
    result.FlatFee = input.FlatFee ? FlatFeeOf(input.Law) : 0;
    result.Total = result.Claim + result.Interest + result.FlatFee;
    return result;
}

TDateTime LastInterestDay(const TDefaultInterestInput &input) {
    return WholeDay(input.LastDay) - (input.LastDayCounts ? 0 : 1);
}

bool ClaimBefore29072014Preset(TDateTime firstDay) {
    return WholeDay(firstDay) <= MakeDateSerial(2014, 7, 29);
}

bool ContractBefore16032013Preset(TDateTime firstDay) {
    return WholeDay(firstDay) <= AtCurrentLawFirstDay();
}

TDateTime AtBusinessRateFirstDay() {
    return MakeDateSerial(2002, 8, 1);
}

TDateTime AtCurrentLawFirstDay() {
    return MakeDateSerial(2013, 3, 16);
}

bool UsesBaseRate(const TRateRule &rule) {
    return rule.Kind == rkConsumer || rule.Kind == rkNoConsumer || rule.Kind == rkMargin;
}

TBasisPoints MarginOf(const TRateRule &rule, TLaw law) {
    switch (rule.Kind) {
    case rkConsumer:
        return law == lwGermany ? ConsumerMargin : 0;
    case rkNoConsumer:
        if (law == lwAustria)
            return rule.ContractBefore16032013 ? AtOldBusinessMargin : AtBusinessMargin;
        return law == lwGermany ? (rule.ClaimBefore29072014 ? OldBusinessMargin : BusinessMargin)
                                : 0;
    case rkMargin:
        return rule.Value;
    default:
        return 0;
    }
}

TBasisPoints FixedRateOf(const TRateRule &rule, TLaw law) {
    switch (rule.Kind) {
    case rkStatutory:
        return law == lwSwitzerland ? ChStatutoryRate
               : law == lwAustria   ? AtStatutoryRate
                                    : StatutoryRate;
    case rkCommercial:
        return CommercialRate;
    case rkFixed:
        return rule.Value;
    default:
        return 0;
    }
}

bool FlatFeeOffered(const TRateRule &rule, TLaw law) {
    switch (law) {
    case lwGermany:
        return rule.Kind == rkNoConsumer && !rule.ClaimBefore29072014;
    case lwAustria:
        return rule.Kind == rkNoConsumer && !rule.ContractBefore16032013;
    case lwSwitzerland:
        break;
    }
    return false;
}

TCents FlatFeeOf(TLaw law) {
    return law == lwAustria ? AtFlatFee : DefaultFlatFee;
}

bool RuleOffered(TLaw law, TRateKind kind) {
    switch (law) {
    case lwGermany:
        return kind >= rkConsumer && kind <= rkMargin;
    case lwAustria:
        return kind == rkNoConsumer || kind == rkStatutory || kind == rkFixed || kind == rkMargin;
    case lwSwitzerland:
        return kind == rkStatutory || kind == rkFixed;
    }
    return false;
}

bool DayCountOffered(TLaw law, TDayCount count) {
    switch (law) {
    case lwGermany:
    case lwAustria:
        return count >= dcActual365 && count <= dc30360;
    case lwSwitzerland:
        return count == dc30360Swiss || count == dcActual360 || count == dcActual365;
    }
    return false;
}

TDayCount DefaultDayCount(TLaw law) {
    return law == lwSwitzerland ? dc30360Swiss : dcActual365;
}

const TBaseRateTable &HalfYearRates(TLaw law, const TRateRule &rule, const TBaseRateTable &german,
                                    const TAtBaseRates &austrian) {
    if (law != lwAustria) return german;
    return austrian.HalfYears(
        rule.Kind == rkNoConsumer && rule.ContractBefore16032013 ? hrLastDayBefore : hrFirstDay);
}

TEngineError DayCountError(TLaw law, TDayCount count) {
    if (DayCountOffered(law, count)) return {};
    if (law == lwSwitzerland && count >= dcActual365 && count <= dc30360)
        return TEngineError(ecDayCount, TErrorText::DayCountsOfSwitzerland);
    if (count == dc30360Swiss) return TEngineError(ecDayCount, TErrorText::DayCountOnlySwiss);
    return TEngineError(ecDayCount, TErrorText::DayCountUnknown);
}

TEngineError RuleOfferedError(TLaw law, const TRateRule &rule, TDateTime firstDay) {
    if (!RuleOffered(law, rule.Kind)) {
        if (law == lwSwitzerland) return TEngineError(ecRule, TErrorText::RuleSwitzerland);
        if (law == lwAustria && rule.Kind == rkConsumer)
            return TEngineError(ecRule, TErrorText::RuleAustrianConsumer);
        if (law == lwAustria && rule.Kind == rkCommercial)
            return TEngineError(ecRule, TErrorText::RuleAustrianCommercial);
        return TEngineError(ecRule, TErrorText::RuleUnknown);
    }
    // Interest before the law's first day cannot come from a contract made under it.
    if (law == lwAustria && rule.Kind == rkNoConsumer && !rule.ContractBefore16032013 &&
        WholeDay(firstDay) < AtCurrentLawFirstDay())
        return TEngineError(ecRule, TErrorText::RuleAustrianOlderContract,
                            {TErrorDay{WholeDay(firstDay)}});
    return {};
}

TEngineError FlatFeeError(TLaw law, std::optional<int> claim) {
    std::vector<TErrorArgument> arguments{TErrorAmount{FlatFeeOf(law)}};
    if (claim) arguments = {TErrorEntry{TEntryKind::Claim, *claim + 1}};
    switch (law) {
    case lwGermany:
        return TEngineError(ecFlatFee,
                            claim ? TErrorText::FlatFeeGermanyOfClaim : TErrorText::FlatFeeGermany,
                            arguments);
    case lwAustria:
        return TEngineError(ecFlatFee,
                            claim ? TErrorText::FlatFeeAustriaOfClaim : TErrorText::FlatFeeAustria,
                            arguments);
    case lwSwitzerland:
        break;
    }
    return TEngineError(ecFlatFee, TErrorText::FlatFeeSwitzerland);
}

TEngineError BaseRateDaysError(TLaw law, const TRateRule &rule, TDateTime firstDay,
                               TErrorText firstDayInput) {
    if (!UsesBaseRate(rule)) return {};
    const TDateTime first = WholeDay(firstDay);
    TErrorText text = TErrorText::None;
    if (law == lwAustria && rule.Kind == rkNoConsumer && first < AtBusinessRateFirstDay())
        text = TErrorText::NoAustrianBusinessRate;
    else if (first < FirstBaseRateDay())
        text = law == lwAustria ? TErrorText::NoAustrianBaseRate : TErrorText::NoGermanBaseRate;
    else
        return {};
    return TEngineError(ecNoBaseRate, text, {Phrase(firstDayInput)});
}

TEngineError MissingHalfYearError(TDateTime halfYear, const TBaseRateTable &table,
                                  bool statementDay) {
    const bool reach = table.Reach() != EmptyDate;
    TEngineError missing(
        ecMissingHalfYear,
        statementDay ? (reach ? TErrorText::MissingHalfYearByStatementReach
                              : TErrorText::MissingHalfYearByStatement)
                     : (reach ? TErrorText::MissingHalfYearReach : TErrorText::MissingHalfYear),
        {TErrorDay{halfYear}});
    if (reach) missing.Arguments.push_back(TErrorDay{table.Reach()});
    missing.HalfYear = halfYear;
    return missing;
}

TEngineError TypedRateError(TBasisPoints rate) {
    if (rate >= 0 && rate <= MaxTypedRate) return {};
    return TEngineError(ecRate, TErrorText::RateOutOfRange,
                        {TErrorRate{rate}, TErrorRate{0}, TErrorRate{MaxTypedRate}});
}

TEngineError ReadTypedRate(const QString &text, TBasisPoints &rate) {
    const std::optional<TBasisPoints> read = ParseBasisPoints(text);
    if (!read) return TEngineError(ecRate, TErrorText::RateUnreadable, {text.trimmed()});
    if (TEngineError error = TypedRateError(*read)) return error;
    rate = *read;
    return {};
}

std::vector<TSum> Sums(const TDefaultInterest &result) {
    std::vector<TSum> sums{{TSumKind::Claim, result.Claim}, {TSumKind::Interest, result.Interest}};
    if (result.FlatFee) sums.push_back({TSumKind::FlatFee, result.FlatFee});
    sums.push_back({TSumKind::Total, result.Total});
    sums.push_back({TSumKind::PerDay, result.PerDay});
    return sums;
}
