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
    if (input.FlatFee && !FlatFeeOffered(rule, input.Law)) return FlatFeeError(input.Law, {});
    return {};
}

// Days counted as if every month had 30 and the 31st were the 30th.
qint64 swissDayNumber(TDateTime day) {
    quint16 y, m, d;
    SplitDateSerial(day, y, m, d);
    return 360 * qint64(y) + 30 * (m - 1) + std::min<int>(d, 30);
}

TEngineError checkInput(const TDefaultInterestInput &input) {
    if (input.Claim <= 0 || input.Claim > MaxAmountCents)
        return TEngineError(ecClaim,
                            input.Claim > 0 ? QStringLiteral("Die Forderung ist zu groß.")
                            : input.Law == lwSwitzerland
                                ? QStringLiteral("Die Forderung muss größer als CHF 0.00 sein.")
                                : QStringLiteral("Die Forderung muss größer als 0,00 € sein."));
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
    if (TEngineError error = DayCountError(input.Law, input.DayCount)) return error;
    if (TEngineError error = RuleOfferedError(input.Law, input.Rule, first)) return error;
    if (TEngineError ruleError = checkRule(input)) return ruleError;
    return BaseRateDaysError(input.Law, input.Rule, first, QStringLiteral("den ersten Zinstag"));
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
    row.Margin = MarginOf(input.Rule, input.Law);
    // A base rate far below zero must not turn the debtor's default into the creditor's debt.
    row.Rate = base ? std::max(0, row.BaseRate + row.Margin) : FixedRateOf(input.Rule, input.Law);
    row.Interest = PeriodInterest(input.Claim, row.Rate, input.DayCount, part);
    return row;
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
    result.Claim = input.Claim;
    if ((result.Error = checkInput(input))) return result;
    const TPeriod whole{WholeDay(input.FirstDay), LastInterestDay(input)};
    const TBaseRateTable &table = HalfYearRates(input.Law, input.Rule, german, austrian);
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
        return TEngineError(ecDayCount,
                            QStringLiteral("Nach Schweizer Recht stehen die Tageszählungen "
                                           "30/360 nach Schweizer Usanz, act/360 und act/365 "
                                           "zur Wahl."));
    if (count == dc30360Swiss)
        return TEngineError(ecDayCount, QStringLiteral("Die Tageszählung 30/360 nach Schweizer "
                                                       "Usanz gilt nur nach Schweizer Recht."));
    return TEngineError(ecDayCount, QStringLiteral("Die gewählte Tageszählung gibt es nicht."));
}

TEngineError RuleOfferedError(TLaw law, const TRateRule &rule, TDateTime firstDay) {
    if (!RuleOffered(law, rule.Kind)) {
        if (law == lwSwitzerland)
            return TEngineError(ecRule,
                                QStringLiteral("Nach Schweizer Recht gelten 5 % Verzugszins "
                                               "(Art. 104 Abs. 1 OR) oder ein vertraglich "
                                               "vereinbarter fester Zinssatz; einen "
                                               "Basiszinssatz gibt es nicht."));
        if (law == lwAustria && rule.Kind == rkConsumer)
            return TEngineError(ecRule,
                                QStringLiteral("Das österreichische Recht kennt keinen eigenen "
                                               "Verzugszins bei Beteiligung eines Verbrauchers: "
                                               "es gelten 4 % (§ 1000 Abs. 1 ABGB)."));
        if (law == lwAustria && rule.Kind == rkCommercial)
            return TEngineError(ecRule,
                                QStringLiteral("5 % nach § 352 HGB gelten nur nach deutschem "
                                               "Recht; nach österreichischem Recht gelten 4 % "
                                               "(§ 1000 Abs. 1 ABGB) oder bei unternehmerischen "
                                               "Geschäften der Basiszinssatz + 9,2 "
                                               "Prozentpunkte (§ 456 UGB)."));
        return TEngineError(ecRule, QStringLiteral("Die gewählte Zinsregel gibt es nicht."));
    }
    // Interest before the law's first day cannot come from a contract made under it.
    if (law == lwAustria && rule.Kind == rkNoConsumer && !rule.ContractBefore16032013 &&
        WholeDay(firstDay) < AtCurrentLawFirstDay())
        return TEngineError(ecRule, QStringLiteral("§ 456 UGB gilt für Verträge ab dem 16.03.2013; "
                                                   "Zinsen ab dem %1 stammen aus einem früheren "
                                                   "Vertrag. Bitte „Vertrag vor dem 16.03.2013 "
                                                   "geschlossen“ wählen.")
                                        .arg(FormatDayDate(WholeDay(firstDay))));
    return {};
}

TEngineError FlatFeeError(TLaw law, const QString &subject) {
    switch (law) {
    case lwGermany:
        if (subject.isEmpty())
            return TEngineError(ecFlatFee,
                                QStringLiteral("Die Pauschale von 40,00 € nach § 288 Abs. 5 BGB "
                                               "steht nur zu, wenn kein Verbraucher beteiligt "
                                               "ist und die Forderung nach dem 28.07.2014 "
                                               "entstanden ist."));
        return TEngineError(ecFlatFee,
                            QStringLiteral("Die Pauschale nach § 288 Abs. 5 BGB steht %1 nicht "
                                           "zu: sie gilt nur, wenn kein Verbraucher beteiligt "
                                           "ist und die Forderung nach dem 28.07.2014 "
                                           "entstanden ist.")
                                .arg(subject));
    case lwAustria:
        if (subject.isEmpty())
            return TEngineError(ecFlatFee,
                                QStringLiteral("Die Pauschale von 40,00 € nach § 458 UGB steht "
                                               "nur bei einem unternehmerischen Geschäft aus "
                                               "einem Vertrag ab dem 16.03.2013 zu."));
        return TEngineError(ecFlatFee,
                            QStringLiteral("Die Pauschale nach § 458 UGB steht %1 nicht zu: sie "
                                           "gilt nur bei einem unternehmerischen Geschäft aus "
                                           "einem Vertrag ab dem 16.03.2013.")
                                .arg(subject));
    case lwSwitzerland:
        break;
    }
    return TEngineError(ecFlatFee, QStringLiteral("Das Schweizer Obligationenrecht kennt keine "
                                                  "Pauschale bei Zahlungsverzug."));
}

TEngineError BaseRateDaysError(TLaw law, const TRateRule &rule, TDateTime firstDay,
                               const QString &firstDayName) {
    if (!UsesBaseRate(rule)) return {};
    const TDateTime first = WholeDay(firstDay);
    if (law == lwAustria && rule.Kind == rkNoConsumer && first < AtBusinessRateFirstDay())
        return TEngineError(ecNoBaseRate,
                            QStringLiteral("Verzugszinsen über dem Basiszinssatz bei "
                                           "unternehmerischen Geschäften gibt es in Österreich "
                                           "erst ab dem 01.08.2002 (§ 1333 Abs. 2 ABGB). Bitte "
                                           "einen festen Zinssatz wählen oder %1 auf den "
                                           "01.08.2002 oder später legen.")
                                .arg(firstDayName));
    if (first >= FirstBaseRateDay()) return {};
    if (law == lwAustria)
        return TEngineError(ecNoBaseRate,
                            QStringLiteral("Für Tage vor dem 01.01.2002 ist kein Basiszinssatz "
                                           "der Oesterreichischen Nationalbank hinterlegt. Bitte "
                                           "einen festen Zinssatz wählen oder %1 auf den "
                                           "01.01.2002 oder später legen.")
                                .arg(firstDayName));
    return TEngineError(ecNoBaseRate,
                        QStringLiteral("Für Tage vor dem 01.01.2002 gibt es keinen Basiszinssatz "
                                       "nach § 247 BGB. Bitte einen festen Zinssatz wählen oder "
                                       "%1 auf den 01.01.2002 oder später legen.")
                            .arg(firstDayName));
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
