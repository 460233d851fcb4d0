#include "engine/baserates.h"
#include "engine/baserates_p.h"
#include "engine/lastwins_p.h"

#include <algorithm>

TDateTime FirstBaseRateDay() {
    return MakeDateSerial(2002, 1, 1);
}

TBaseRateTable::TBaseRateTable(std::vector<TBaseRate> rates) : FRates(std::move(rates)) {
    SortLastWins(FRates, &TBaseRate::From);
    if (FRates.empty()) return;
    TDateTime next = NextHalfYearStart(FRates.front().From);
    for (std::size_t i = 1; i < FRates.size() && FRates[i].From == next; ++i)
        next = NextHalfYearStart(next);
    FReach = next - 1;
}

TBaseRateTable TBaseRateTable::MergedWith(const std::vector<TBaseRate> &user) const {
    std::vector<TBaseRate> rates = FRates;
    for (TBaseRate rate : user) {
        rate.User = true;
        rates.push_back(rate);
    }
    return TBaseRateTable(std::move(rates));
}

const TBaseRate *TBaseRateTable::Find(TDateTime day) const {
    const TDateTime start = HalfYearStart(day);
    const auto at =
        std::lower_bound(FRates.begin(), FRates.end(), start,
                         [](const TBaseRate &rate, TDateTime from) { return rate.From < from; });
    return at != FRates.end() && at->From == start ? &*at : nullptr;
}

const TBaseRateTable &ShippedBaseRates() {
    static const TBaseRateTable table = [] {
        std::vector<TBaseRate> rates;
        rates.reserve(ShippedRateCount);
        for (int i = 0; i < ShippedRateCount; ++i) {
            const TShippedRate &row = ShippedRateRows[i];
            rates.push_back({MakeDateSerial(row.Year, row.Month, 1), row.Rate, false});
        }
        return TBaseRateTable(std::move(rates));
    }();
    return table;
}

TEngineError CheckBaseRate(TDateTime from, TBasisPoints rate) {
    if (!IsHalfYearStart(from) || from < FirstBaseRateDay())
        return TEngineError(ecRate, TErrorText::BaseRateDay, {TErrorDay{from}});
    return BaseRateRangeError(rate);
}

TEngineError BaseRateRangeError(TBasisPoints rate) {
    if (rate >= MinBaseRate && rate <= MaxBaseRate) return {};
    return TEngineError(ecRate, TErrorText::BaseRateOutOfRange,
                        {TErrorRate{rate}, TErrorRate{MinBaseRate}, TErrorRate{MaxBaseRate}});
}

TEngineError BaseRateLookupError(TDateTime day, const TBaseRateTable &table) {
    if (table.Find(day)) return {};
    if (day < FirstBaseRateDay()) return TEngineError(ecNoBaseRate, TErrorText::NoBaseRateBefore);
    TEngineError error(ecMissingHalfYear, TErrorText::HalfYearBeyondReach,
                       {TErrorDay{HalfYearStart(day)}, TErrorDay{table.Reach()}});
    error.HalfYear = HalfYearStart(day);
    return error;
}
