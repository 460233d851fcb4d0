#include "engine/atbaserates.h"
#include "engine/atbaserates_p.h"
#include "engine/lastwins_p.h"

#include <algorithm>

namespace {

// 01.01.1999: the first Austrian base rate (1. Euro-Justiz-Begleitgesetz).
TDateTime firstAtBaseRateDay() {
    return MakeDateSerial(1999, 1, 1);
}

const TBaseRateChange *inForce(const std::vector<TBaseRateChange> &changes, TDateTime day) {
    const auto after =
        std::upper_bound(changes.begin(), changes.end(), day,
                         [](TDateTime d, const TBaseRateChange &change) { return d < change.Day; });
    return after == changes.begin() ? nullptr : &*std::prev(after);
}

} // namespace

TAtBaseRates::TAtBaseRates(std::vector<TBaseRateChange> changes, TDateTime knownThrough)
    : FChanges(std::move(changes)), FKnownThrough(knownThrough) {
    SortLastWins(FChanges, &TBaseRateChange::Day);
    FFirstDay = AtHalfYearTable(FChanges, FKnownThrough, hrFirstDay);
    FLastDayBefore = AtHalfYearTable(FChanges, FKnownThrough, hrLastDayBefore);
}

TAtBaseRates TAtBaseRates::MergedWith(const std::vector<TBaseRateChange> &user) const {
    std::vector<TBaseRateChange> changes = FChanges;
    TDateTime knownThrough = FKnownThrough;
    for (TBaseRateChange change : user) {
        change.User = true;
        changes.push_back(change);
        knownThrough = std::max(knownThrough, change.Day);
    }
    return TAtBaseRates(std::move(changes), knownThrough);
}

const TBaseRateChange *TAtBaseRates::InForce(TDateTime day) const {
    return day > FKnownThrough ? nullptr : inForce(FChanges, day);
}

TBaseRateTable AtHalfYearTable(const std::vector<TBaseRateChange> &changes, TDateTime knownThrough,
                               TAtHalfYearRule rule) {
    std::vector<TBaseRate> rates;
    if (changes.empty()) return TBaseRateTable();
    for (TDateTime from = HalfYearStart(changes.front().Day); from != EmptyDate;
         from = NextHalfYearStart(from)) {
        const TDateTime fixing = rule == hrFirstDay ? from : from - 1;
        if (fixing > knownThrough) break;
        if (const TBaseRateChange *change = inForce(changes, fixing))
            rates.push_back({from, change->Rate, change->User, false});
    }
    return TBaseRateTable(std::move(rates));
}

const TAtBaseRates &ShippedAtBaseRates() {
    static const TAtBaseRates table = [] {
        std::vector<TBaseRateChange> changes;
        changes.reserve(ShippedAtChangeCount);
        for (int i = 0; i < ShippedAtChangeCount; ++i) {
            const TShippedChange &row = ShippedAtChangeRows[i];
            changes.push_back({MakeDateSerial(row.Year, row.Month, row.Day), row.Rate, false});
        }
        const TShippedDay &known = ShippedAtKnownThrough;
        return TAtBaseRates(std::move(changes), MakeDateSerial(known.Year, known.Month, known.Day));
    }();
    return table;
}

TEngineError CheckAtBaseRateChange(TDateTime day, TBasisPoints rate) {
    if (!SerialDateValid(day)) return TEngineError(ecRate, TErrorText::AtChangeDayInvalid);
    if (WholeDay(day) < firstAtBaseRateDay())
        return TEngineError(ecRate, TErrorText::AtBaseRateDay, {TErrorDay{day}});
    return BaseRateRangeError(rate);
}
