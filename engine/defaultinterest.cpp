#include "engine/defaultinterest.h"

#include "engine/fixedtext.h"
#include "platform/base/fixedpoint.h"
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
    if ((rule.Kind == rkFixed || rule.Kind == rkMargin) &&
        (rule.Value < 0 || rule.Value > MaxTypedRate))
        return TEngineError(ecRate,
                            QStringLiteral("Der Zinssatz %1 % liegt nicht zwischen 0,00 % und "
                                           "100,00 %.")
                                .arg(HundredthsText(rule.Value, u',')));
    if (input.FlatFee && !FlatFeeOffered(rule))
        return TEngineError(ecFlatFee,
                            QStringLiteral("Die Pauschale von 40,00 € nach § 288 Abs. 5 BGB "
                                           "steht nur zu, wenn kein Verbraucher beteiligt "
                                           "ist und die Forderung nach dem 28.07.2014 "
                                           "entstanden ist."));
    return {};
}

TEngineError checkInput(const TDefaultInterestInput &input) {
    if (input.Claim <= 0 || input.Claim > MaxAmountCents)
        return TEngineError(
            ecClaim, input.Claim <= 0 ? QStringLiteral("Die Forderung muss größer als 0,00 € sein.")
                                      : QStringLiteral("Die Forderung ist zu groß."));
    if (!SerialDateValid(input.FirstDay))
        return TEngineError(ecDates, QStringLiteral("Der erste Zinstag ist kein gültiges Datum."));
    if (!SerialDateValid(input.LastDay))
        return TEngineError(ecDates, QStringLiteral("Der letzte Zinstag ist kein gültiges Datum."));
    const TDateTime first = WholeDay(input.FirstDay), last = WholeDay(input.LastDay);
    if (last < first)
        return TEngineError(ecDates, QStringLiteral("Der letzte Zinstag (%1) liegt vor dem ersten "
                                                    "Zinstag (%2).")
                                         .arg(FormatDayDate(last), FormatDayDate(first)));
    if (!input.LastDayCounts && last == first)
        return TEngineError(ecDates, QStringLiteral("Der Zahlungstag (%1) zählt nicht mit und ist "
                                                    "der erste Zinstag: es bleibt kein Zinstag.")
                                         .arg(FormatDayDate(last)));
    if (TEngineError ruleError = checkRule(input)) return ruleError;
    if (UsesBaseRate(input.Rule) && first < FirstBaseRateDay())
        return TEngineError(
            ecNoBaseRate,
            QStringLiteral("Für Tage vor dem 01.01.2002 gibt es keinen Basiszinssatz "
                           "nach § 247 BGB. Bitte einen festen Zinssatz wählen oder "
                           "den ersten Zinstag auf den 01.01.2002 oder später legen."));
    return {};
}

TEngineError missingHalfYear(TDateTime halfYear, const TBaseRateTable &table) {
    TEngineError missing(
        ecMissingHalfYear,
        QStringLiteral("Für das Halbjahr ab %1 ist kein Basiszinssatz bekannt")
                .arg(FormatDayDate(halfYear)) +
            (table.Reach() == EmptyDate ? QStringLiteral(".")
                                        : QStringLiteral(" (die Basiszinssätze reichen bis %1).")
                                              .arg(FormatDayDate(table.Reach()))) +
            QStringLiteral(" Bitte den Basiszinssatz ergänzen oder einen früheren letzten "
                           "Zinstag wählen."));
    missing.HalfYear = halfYear;
    return missing;
}

TInterestRow makeRow(const TDefaultInterestInput &input, const TPeriod &part,
                     const TBaseRate *base) {
    TInterestRow row;
    row.From = part.From;
    row.To = part.To;
    row.Days = PeriodDays(input.DayCount, part);
    row.HasBaseRate = base != nullptr;
    row.UserBaseRate = base && base->User;
    row.BaseRate = base ? base->Rate : 0;
    row.Margin = MarginOf(input.Rule);
    // A base rate far below zero must not turn the debtor's default into the creditor's debt.
    row.Rate = base ? std::max(0, row.BaseRate + row.Margin) : FixedRateOf(input.Rule);
    row.Interest = PeriodInterest(input.Claim, row.Rate, input.DayCount, part);
    return row;
}

} // namespace

quint32 PeriodDays(TDayCount count, const TPeriod &period) {
    if (period.To < period.From) return 0;
    if (count != dc30360) return quint32(period.To - period.From + 1);
    // The bar's rule counts from one day to another and takes the end of February as its
    // 30th; here both days count, and the 31st counts nothing, so that every month has 30.
    const TDateTime from = dayOfMonth(period.From) == 31 ? period.From + 1 : period.From;
    const TDateTime to = dayOfMonth(period.To) == 31 ? period.To - 1 : period.To;
    return to < from ? 0 : InterestDays(fcDeutsche, from, to) + 1;
}

int YearDaysAfter(TDayCount count, TDateTime lastDay) {
    if (count == dcActual360 || count == dc30360) return 360;
    if (count == dcActualActual && LeapYear(yearOf(lastDay + 1))) return 366;
    return 365;
}

TCents PeriodInterest(TCents claim, TBasisPoints rate, TDayCount count, const TPeriod &period) {
    if (period.To < period.From) return 0;
    const TWide base = TWide(claim) * rate;
    switch (count) {
    case dcActual365:
        return TCents(DivideRounded(base * PeriodDays(count, period), RateScale * 365));
    case dcActual360:
    case dc30360:
        return TCents(DivideRounded(base * PeriodDays(count, period), RateScale * 360));
    case dcActualActual:
        return TCents(DivideRounded(base * actualActualWeight(period), RateScale * LeapCommon));
    }
    return 0;
}

TDefaultInterest CalculateDefaultInterest(const TDefaultInterestInput &input,
                                          const TBaseRateTable &table) {
    TDefaultInterest result;
    result.DayCount = input.DayCount;
    result.Claim = input.Claim;
    if ((result.Error = checkInput(input))) return result;
    const TPeriod whole{WholeDay(input.FirstDay), LastInterestDay(input)};
    if (!UsesBaseRate(input.Rule)) {
        result.Rows.push_back(makeRow(input, whole, nullptr));
    } else {
        for (const TPeriod &part : SplitAtHalfYears(whole)) {
            const TBaseRate *base = table.Find(part.From);
            if (!base) {
                result.Rows.clear();
                result.Error = missingHalfYear(HalfYearStart(part.From), table);
                return result;
            }
            result.Rows.push_back(makeRow(input, part, base));
        }
    }
    for (const TInterestRow &row : result.Rows)
        result.Interest += row.Interest;
    result.PerDay = TCents(DivideRounded(TWide(input.Claim) * result.Rows.back().Rate,
                                         RateScale * YearDaysAfter(input.DayCount, whole.To)));
    result.FlatFee = input.FlatFee ? DefaultFlatFee : 0;
    result.Total = result.Claim + result.Interest + result.FlatFee;
    return result;
}

TDateTime LastInterestDay(const TDefaultInterestInput &input) {
    return WholeDay(input.LastDay) - (input.LastDayCounts ? 0 : 1);
}

bool ClaimBefore29072014Preset(TDateTime firstDay) {
    return WholeDay(firstDay) <= MakeDateSerial(2014, 7, 29);
}

bool UsesBaseRate(const TRateRule &rule) {
    return rule.Kind == rkConsumer || rule.Kind == rkNoConsumer || rule.Kind == rkMargin;
}

TBasisPoints MarginOf(const TRateRule &rule) {
    switch (rule.Kind) {
    case rkConsumer:
        return ConsumerMargin;
    case rkNoConsumer:
        return rule.ClaimBefore29072014 ? OldBusinessMargin : BusinessMargin;
    case rkMargin:
        return rule.Value;
    default:
        return 0;
    }
}

TBasisPoints FixedRateOf(const TRateRule &rule) {
    switch (rule.Kind) {
    case rkStatutory:
        return StatutoryRate;
    case rkCommercial:
        return CommercialRate;
    case rkFixed:
        return rule.Value;
    default:
        return 0;
    }
}

bool FlatFeeOffered(const TRateRule &rule) {
    return rule.Kind == rkNoConsumer && !rule.ClaimBefore29072014;
}

TEngineError ReadTypedRate(const QString &text, TBasisPoints &rate) {
    const std::optional<TBasisPoints> read = ParseBasisPoints(text);
    if (!read)
        return TEngineError(ecRate, QStringLiteral("„%1“ ist kein Zinssatz; erwartet wird eine "
                                                   "Zahl mit höchstens zwei Nachkommastellen, "
                                                   "etwa 4,5.")
                                        .arg(text.trimmed()));
    if (*read < 0 || *read > MaxTypedRate)
        return TEngineError(ecRate, QStringLiteral("Der Zinssatz %1 % liegt nicht zwischen "
                                                   "0,00 % und 100,00 %.")
                                        .arg(HundredthsText(*read, u',')));
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
