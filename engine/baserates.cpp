#include "engine/baserates.h"
#include "engine/baserates_p.h"

#include "engine/fixedtext.h"
#include "platform/base/fixedpoint.h"

#include <algorithm>

TDateTime FirstBaseRateDay() {
    return MakeDateSerial(2002, 1, 1);
}

TBaseRateTable::TBaseRateTable(std::vector<TBaseRate> rates) : FRates(std::move(rates)) {
    // Stable, so that of two rates for one half-year the later stays last and wins.
    std::stable_sort(FRates.begin(), FRates.end(),
                     [](const TBaseRate &a, const TBaseRate &b) { return a.From < b.From; });
    std::vector<TBaseRate> unique;
    for (const TBaseRate &rate : FRates) {
        if (!unique.empty() && unique.back().From == rate.From)
            unique.back() = rate;
        else
            unique.push_back(rate);
    }
    FRates = std::move(unique);
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
        return TEngineError(ecRate, QStringLiteral("Ein Basiszinssatz gilt jeweils ab dem "
                                                   "1. Januar oder 1. Juli, frühestens ab dem "
                                                   "01.01.2002; %1 ist kein solcher Tag.")
                                        .arg(FormatDayDate(from)));
    if (rate < MinBaseRate || rate > MaxBaseRate)
        return TEngineError(ecRate, QStringLiteral("Der Basiszinssatz %1 % liegt nicht zwischen "
                                                   "-10,00 % und 20,00 %.")
                                        .arg(HundredthsText(rate, u',')));
    return {};
}
