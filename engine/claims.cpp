#include "engine/claims.h"

#include "engine/fixedtext.h"
#include "engine/wide_p.h"

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>
#include <tuple>

namespace {

// An item that can be open, with what is open of it and how far its interest is booked.
struct TItem {
    TItemRef Ref;
    TDateTime Date = EmptyDate; // open from this day on
    TCents Principal = 0;
    TCents Interest = 0;
    bool Bearing = false;
    TDateTime FirstDay = EmptyDate;
    TRateRule Rule;
    TDateTime Next = EmptyDate; // the first day whose interest is not booked yet
    int Table = 0;              // the base rates it reads: an index into FTables
    bool Sued = false;
};

class TCalculation {
public:
    TCalculation(const TClaimsCase &input, const TBaseRateTable &german,
                 const TAtBaseRates &austrian, TClaimsStatement &result);

    void Run();

private:
    bool Check();
    bool Fault(TCaseField field, int index, TEngineError error);
    bool CheckRule(const TRateRule &rule, TDateTime firstDay, TCaseField field, int index);
    void MakeItems();
    bool Accrue(TDateTime through);
    bool AccrueItem(TItem &item, TDateTime through);
    bool RateOn(const TItem &item, TDateTime day, TBasisPoints &rate, const TBaseRate **base);
    bool Book(int index, TDateTime day);
    TCents Pay(TItem &item, bool interest, TCents amount, std::vector<TAllocation> &paid);
    TCents PayCosts(bool bearing, bool interest, TDateTime day, TCents amount,
                    std::vector<TAllocation> &paid);
    bool RankClaims(TDateTime day);
    size_t TieEnd(size_t from) const;
    void PayTie(size_t from, size_t to, bool interest, TCents &amount,
                std::vector<TAllocation> &paid);
    void PayClaims(bool interest, TCents &amount, std::vector<TAllocation> &paid);
    void PayClaimByClaim(TCents &amount, std::vector<TAllocation> &paid);
    TBalances Balances(TDateTime day) const;
    bool Finish();

    TItem &Claim(int index) { return FItems[size_t(index)]; }
    int TableOf(const TRateRule &rule);
    void MakeHalfYears();

    // The half-years from the first base-linked interest day through the statement day with
    // their base rates in each table, so that a day's rate is found without splitting dates.
    struct THalfYear {
        TDateTime From;
        std::array<const TBaseRate *, 2> Base;
    };

    // The case with every date a whole day, once; an invalid date stays invalid.
    TClaimsCase FInput;
    const TBaseRateTable &FGerman;
    const TAtBaseRates &FAustrian;
    TClaimsStatement &FResult;
    // The half-year tables the items read: Germany's, or Austria's under one or both rules.
    std::vector<const TBaseRateTable *> FTables;
    // Claims first, in the order entered, then flat fees, then costs.
    std::vector<TItem> FItems;
    std::vector<THalfYear> FHalfYears;
    // The claims in the order a payment reaches them, and a tie's shares: kept to be reused.
    struct TRank {
        TItem *Item;
        // Not sued, not due, minus the rate, first day, and where the law shares no tie, the
        // place entered; a part the law does not rank by stays 0.
        std::tuple<bool, bool, TBasisPoints, TDateTime, int> Key;
    };
    std::vector<TRank> FRanks;
    std::vector<TCents> FShares;
    std::vector<TItem *> FCosts;
};

TEngineError AllocationError(TLaw law) {
    switch (law) {
    case lwGermany:
        break;
    case lwAustria:
        return TEngineError(ecAllocation, TErrorText::AllocationAustria);
    case lwSwitzerland:
        return TEngineError(ecAllocation, TErrorText::AllocationSwitzerland);
    }
    return TEngineError(ecAllocation, TErrorText::AllocationGermany);
}

TDateTime wholeDayOrInvalid(TDateTime serial) {
    return SerialDateValid(serial) ? WholeDay(serial) : std::numeric_limits<TDateTime>::quiet_NaN();
}

TCalculation::TCalculation(const TClaimsCase &input, const TBaseRateTable &german,
                           const TAtBaseRates &austrian, TClaimsStatement &result)
    : FInput(input), FGerman(german), FAustrian(austrian), FResult(result) {
    FInput.StatementDay = wholeDayOrInvalid(FInput.StatementDay);
    for (TClaim &claim : FInput.Claims)
        claim.FirstDay = wholeDayOrInvalid(claim.FirstDay);
    for (TCost &cost : FInput.Costs) {
        cost.Date = wholeDayOrInvalid(cost.Date);
        cost.FirstDay = cost.BearsInterest ? wholeDayOrInvalid(cost.FirstDay) : EmptyDate;
    }
    for (TPayment &payment : FInput.Payments)
        payment.Date = wholeDayOrInvalid(payment.Date);
}

bool TCalculation::Fault(TCaseField field, int index, TEngineError error) {
    FResult.Error = std::move(error);
    FResult.ErrorField = field;
    FResult.ErrorIndex = index;
    return false;
}

bool TCalculation::CheckRule(const TRateRule &rule, TDateTime firstDay, TCaseField field,
                             int index) {
    TEngineError error = RuleOfferedError(FInput.Law, rule, firstDay);
    if (!error && (rule.Kind == rkFixed || rule.Kind == rkMargin))
        error = TypedRateError(rule.Value);
    if (!error)
        error = BaseRateDaysError(FInput.Law, rule, firstDay, TErrorText::InterestStartPhrase);
    return error ? Fault(field, index, error) : true;
}

bool TCalculation::Check() {
    const TClaimsCase &in = FInput;
    const auto amountError = [](TCents amount, TErrorEntry entry) {
        return TEngineError(ecClaim,
                            amount <= 0 ? TErrorText::EntryAmountNotPositive
                                        : TErrorText::EntryAmountTooLarge,
                            {entry});
    };
    const auto amountValid = [](TCents amount) { return amount > 0 && amount <= MaxAmountCents; };
    const auto dateError = [](TErrorText text, TErrorEntry entry) {
        return TEngineError(ecDates, text, {entry});
    };
    if (!SerialDateValid(in.StatementDay))
        return Fault(TCaseField::StatementDay, -1,
                     TEngineError(ecDates, TErrorText::StatementDayInvalid));
    const TDateTime statementDay = in.StatementDay;
    if (TEngineError error = DayCountError(in.Law, in.DayCount))
        return Fault(TCaseField::DayCount, -1, error);
    if (!AllocationOffered(in.Law, in.Allocation))
        return Fault(TCaseField::Allocation, -1, AllocationError(in.Law));
    if (in.Claims.empty())
        return Fault(TCaseField::ClaimAmount, -1, TEngineError(ecClaim, TErrorText::NoClaims));
    TDateTime earliest = MaxDateSerial;
    for (int i = 0; i < int(in.Claims.size()); ++i) {
        const TClaim &claim = in.Claims[size_t(i)];
        const TErrorEntry entry{TEntryKind::Claim, i + 1};
        if (!amountValid(claim.Amount))
            return Fault(TCaseField::ClaimAmount, i, amountError(claim.Amount, entry));
        if (!SerialDateValid(claim.FirstDay))
            return Fault(TCaseField::ClaimFirstDay, i,
                         dateError(TErrorText::EntryFirstDayInvalid, entry));
        if (!CheckRule(claim.Rule, claim.FirstDay, TCaseField::ClaimRule, i)) return false;
        if (claim.FlatFee && !FlatFeeOffered(claim.Rule, in.Law))
            return Fault(TCaseField::ClaimFlatFee, i, FlatFeeError(in.Law, i));
        earliest = std::min(earliest, claim.FirstDay);
    }
    if (statementDay < earliest)
        return Fault(TCaseField::StatementDay, -1,
                     TEngineError(ecDates, TErrorText::StatementDayBeforeFirst,
                                  {TErrorDay{statementDay}, TErrorDay{earliest}}));
    for (int i = 0; i < int(in.Costs.size()); ++i) {
        const TCost &cost = in.Costs[size_t(i)];
        const TErrorEntry entry{TEntryKind::Cost, i + 1};
        if (!amountValid(cost.Amount))
            return Fault(TCaseField::CostAmount, i, amountError(cost.Amount, entry));
        if (!SerialDateValid(cost.Date))
            return Fault(TCaseField::CostDate, i, dateError(TErrorText::EntryDateInvalid, entry));
        const TDateTime date = cost.Date;
        if (date > statementDay)
            return Fault(TCaseField::CostDate, i,
                         TEngineError(ecDates, TErrorText::CostAfterStatementDay,
                                      {entry, TErrorDay{date}, TErrorDay{statementDay}}));
        if (!cost.BearsInterest) continue;
        if (!SerialDateValid(cost.FirstDay))
            return Fault(TCaseField::CostFirstDay, i,
                         dateError(TErrorText::EntryFirstDayInvalid, entry));
        if (cost.FirstDay < date)
            return Fault(TCaseField::CostFirstDay, i,
                         TEngineError(ecDates, TErrorText::CostStartBeforeDate,
                                      {entry, TErrorDay{cost.FirstDay}, TErrorDay{date}}));
        if (!CheckRule(cost.Rule, cost.FirstDay, TCaseField::CostRule, i)) return false;
    }
    for (int i = 0; i < int(in.Payments.size()); ++i) {
        const TPayment &payment = in.Payments[size_t(i)];
        const TErrorEntry entry{TEntryKind::Payment, i + 1};
        if (!SerialDateValid(payment.Date))
            return Fault(TCaseField::PaymentDate, i,
                         dateError(TErrorText::EntryDateInvalid, entry));
        const TDateTime date = payment.Date;
        if (date < earliest)
            return Fault(TCaseField::PaymentDate, i,
                         TEngineError(ecDates, TErrorText::PaymentBeforeInterest,
                                      {entry, TErrorDay{date}, TErrorDay{earliest}}));
        if (date > statementDay)
            return Fault(TCaseField::PaymentDate, i,
                         TEngineError(ecDates, TErrorText::PaymentAfterStatementDay,
                                      {entry, TErrorDay{date}, TErrorDay{statementDay}}));
        if (!amountValid(payment.Amount))
            return Fault(TCaseField::PaymentAmount, i, amountError(payment.Amount, entry));
        if (payment.Claim < -1 || payment.Claim >= int(in.Claims.size()))
            return Fault(TCaseField::PaymentClaim, i,
                         TEngineError(ecClaim, TErrorText::PaymentNamesNoClaim,
                                      {entry, TErrorCount{payment.Claim + 1}}));
    }
    return true;
}

int TCalculation::TableOf(const TRateRule &rule) {
    const TBaseRateTable *table = &HalfYearRates(FInput.Law, rule, FGerman, FAustrian);
    const auto known = std::find(FTables.begin(), FTables.end(), table);
    if (known != FTables.end()) return int(known - FTables.begin());
    FTables.push_back(table);
    return int(FTables.size()) - 1;
}

void TCalculation::MakeItems() {
    const TClaimsCase &in = FInput;
    for (int i = 0; i < int(in.Claims.size()); ++i) {
        const TClaim &claim = in.Claims[size_t(i)];
        const TDateTime first = claim.FirstDay;
        FItems.push_back({{TItemKind::Claim, i},
                          first,
                          claim.Amount,
                          0,
                          true,
                          first,
                          claim.Rule,
                          first,
                          TableOf(claim.Rule),
                          claim.Sued});
    }
    for (int i = 0; i < int(in.Claims.size()); ++i) {
        const TClaim &claim = in.Claims[size_t(i)];
        if (!claim.FlatFee) continue;
        // The flat fee falls due with the default, on the first interest day.
        const TDateTime first = claim.FirstDay;
        FItems.push_back({{TItemKind::FlatFee, i},
                          first,
                          FlatFeeOf(in.Law),
                          0,
                          false,
                          EmptyDate,
                          {},
                          EmptyDate});
    }
    for (int i = 0; i < int(in.Costs.size()); ++i) {
        const TCost &cost = in.Costs[size_t(i)];
        const TDateTime first = cost.BearsInterest ? cost.FirstDay : EmptyDate;
        FItems.push_back({{TItemKind::Cost, i},
                          cost.Date,
                          cost.Amount,
                          0,
                          cost.BearsInterest,
                          first,
                          cost.Rule,
                          first,
                          cost.BearsInterest ? TableOf(cost.Rule) : 0});
    }
    for (const TItem &item : FItems) {
        TBooking booking;
        booking.Kind = TBookingKind::Item;
        booking.Date = item.Date;
        booking.Item = item.Ref;
        booking.Amount = item.Principal;
        FResult.Bookings.push_back(booking);
    }
}

bool TCalculation::RateOn(const TItem &item, TDateTime day, TBasisPoints &rate,
                          const TBaseRate **base) {
    *base = nullptr;
    if (!UsesBaseRate(item.Rule)) {
        rate = FixedRateOf(item.Rule, FInput.Law);
        return true;
    }
    const auto after =
        std::upper_bound(FHalfYears.begin(), FHalfYears.end(), day,
                         [](TDateTime d, const THalfYear &half) { return d < half.From; });
    // Days past the last half-year lie beyond the statement day: none are looked up but those
    // of a payment, which lie within.
    const TBaseRateTable &table = *FTables[size_t(item.Table)];
    *base = after == FHalfYears.begin() ? table.Find(day) : std::prev(after)->Base[item.Table];
    if (!*base) {
        const bool isCost = item.Ref.Kind == TItemKind::Cost;
        const TEngineError missing = MissingHalfYearError(HalfYearStart(day), table, true);
        return Fault(isCost ? TCaseField::CostRule : TCaseField::ClaimRule, item.Ref.Index,
                     missing);
    }
    rate = std::max(0, (*base)->Rate + MarginOf(item.Rule, FInput.Law));
    return true;
}

bool TCalculation::AccrueItem(TItem &item, TDateTime through) {
    if (!item.Bearing || item.Next > through) return true;
    const TPeriod stretch{item.Next, through};
    item.Next = through + 1;
    // Nothing open, nothing to bear interest; the day count goes on regardless.
    if (item.Principal == 0) return true;
    // Base-linked items end a period at every half-year's end.
    auto half = std::upper_bound(FHalfYears.begin(), FHalfYears.end(), stretch.From,
                                 [](TDateTime d, const THalfYear &h) { return d < h.From; });
    const bool linked = UsesBaseRate(item.Rule);
    for (TPeriod part{stretch.From, stretch.From}; part.From <= stretch.To;
         part.From = part.To + 1, ++half) {
        part.To =
            !linked || half == FHalfYears.end() ? stretch.To : std::min(stretch.To, half->From - 1);
        // The half-year holding the part's first day, when the table covers it.
        const TBaseRate *base =
            linked && half != FHalfYears.begin() ? std::prev(half)->Base[item.Table] : nullptr;
        TBasisPoints rate = 0;
        if (!base && !RateOn(item, part.From, rate, &base)) return false;
        TBooking booking;
        booking.Kind = TBookingKind::Interest;
        booking.Date = part.To;
        booking.Item = item.Ref;
        booking.Amount = item.Principal;
        booking.Period =
            InterestRow(item.Principal, part, base, item.Rule, FInput.Law, FInput.DayCount);
        item.Interest += booking.Period.Interest;
        FResult.Bookings.push_back(std::move(booking));
    }
    return true;
}

bool TCalculation::Accrue(TDateTime through) {
    for (TItem &item : FItems)
        if (!AccrueItem(item, through)) return false;
    return true;
}

TCents TCalculation::Pay(TItem &item, bool interest, TCents amount,
                         std::vector<TAllocation> &paid) {
    TCents &open = interest ? item.Interest : item.Principal;
    const TCents share = std::min(open, amount);
    if (share <= 0) return 0;
    open -= share;
    const auto same = std::find_if(paid.begin(), paid.end(), [&](const TAllocation &a) {
        return a.Item == item.Ref && a.Interest == interest;
    });
    if (same != paid.end())
        same->Amount += share;
    else
        paid.push_back({item.Ref, interest, share});
    return share;
}

// Costs oldest first; a flat fee before a cost of the same day (the items stand in that order),
// then the order entered. Only costs arisen by the payment day are open.
TCents TCalculation::PayCosts(bool bearing, bool interest, TDateTime day, TCents amount,
                              std::vector<TAllocation> &paid) {
    FCosts.clear();
    for (TItem &item : FItems)
        if (item.Ref.Kind != TItemKind::Claim && item.Bearing == bearing && item.Date <= day)
            FCosts.push_back(&item);
    std::stable_sort(FCosts.begin(), FCosts.end(),
                     [](const TItem *a, const TItem *b) { return a->Date < b->Date; });
    TCents used = 0;
    for (TItem *item : FCosts)
        used += Pay(*item, interest, amount - used, paid);
    return used;
}

// § 366 Abs. 2 BGB: the due claims before those not yet due, among them the more burdensome
// (the higher rate on the payment day) first, then the older. § 1416 ABGB puts the sued claims
// before all others and shares no tie; Art. 87 OR puts the debt in enforcement first and ranks
// the rest by due date alone.
bool TCalculation::RankClaims(TDateTime day) {
    FRanks.clear();
    const TAllocationRule rule = FInput.Allocation;
    const bool bySuit = rule == arAbgb1416 || rule == arOr85;
    for (TItem &item : FItems) {
        if (item.Ref.Kind != TItemKind::Claim) break;
        TBasisPoints rate = 0;
        if (rule != arOr85) {
            const TBaseRate *base = nullptr;
            if (!RateOn(item, day, rate, &base)) return false;
        }
        FRanks.push_back({&item,
                          {bySuit && !item.Sued, item.FirstDay > day, -rate, item.FirstDay,
                           rule == arAbgb1416 ? item.Ref.Index : 0}});
    }
    std::stable_sort(FRanks.begin(), FRanks.end(),
                     [](const TRank &a, const TRank &b) { return a.Key < b.Key; });
    return true;
}

// The end of the claims ranked alike with the one at `from`.
size_t TCalculation::TieEnd(size_t from) const {
    size_t to = from + 1;
    while (to < FRanks.size() && FRanks[to].Key == FRanks[from].Key)
        ++to;
    return to;
}

// Claims ranked alike share the amount in proportion to what is open of them.
void TCalculation::PayTie(size_t from, size_t to, bool interest, TCents &amount,
                          std::vector<TAllocation> &paid) {
    const auto open = [&](const TRank &r) {
        return interest ? r.Item->Interest : r.Item->Principal;
    };
    TCents total = 0;
    for (size_t i = from; i < to; ++i)
        total += open(FRanks[i]);
    if (amount >= total) {
        for (size_t i = from; i < to; ++i)
            amount -= Pay(*FRanks[i].Item, interest, open(FRanks[i]), paid);
    } else {
        // Each share floored to the cent; the cents left over one each, in the order
        // entered (the items stand in that order and the sort kept it).
        const TCents available = amount;
        FShares.clear();
        for (size_t i = from; i < to; ++i)
            FShares.push_back(TCents(TWide(available) * open(FRanks[i]) / total));
        TCents left = available - std::accumulate(FShares.begin(), FShares.end(), TCents(0));
        for (size_t i = from; left > 0; i = i + 1 == to ? from : i + 1) {
            if (FShares[i - from] < open(FRanks[i])) {
                ++FShares[i - from];
                --left;
            }
        }
        for (size_t i = from; i < to; ++i)
            amount -= Pay(*FRanks[i].Item, interest, FShares[i - from], paid);
    }
}

// All interest in the order of rank, or all principal.
void TCalculation::PayClaims(bool interest, TCents &amount, std::vector<TAllocation> &paid) {
    for (size_t from = 0; from < FRanks.size() && amount > 0;) {
        const size_t to = TieEnd(from);
        PayTie(from, to, interest, amount, paid);
        from = to;
    }
}

// In the order of rank each claim's interest, then its principal.
void TCalculation::PayClaimByClaim(TCents &amount, std::vector<TAllocation> &paid) {
    for (size_t from = 0; from < FRanks.size() && amount > 0;) {
        const size_t to = TieEnd(from);
        PayTie(from, to, true, amount, paid);
        PayTie(from, to, false, amount, paid);
        from = to;
    }
}

bool TCalculation::Book(int index, TDateTime day) {
    const TPayment &payment = FInput.Payments[size_t(index)];
    // The payment day still bears interest on the old principal.
    if (!Accrue(day)) return false;
    TBooking booking;
    booking.Kind = TBookingKind::Payment;
    booking.Date = day;
    booking.Payment = index;
    booking.Amount = payment.Amount;
    std::vector<TAllocation> &paid = booking.Allocations;
    TCents amount = payment.Amount;
    if (payment.Claim >= 0) {
        TItem &named = Claim(payment.Claim);
        amount -= Pay(named, true, amount, paid);
        amount -= Pay(named, false, amount, paid);
    }
    const auto costs = [&](bool bearing, bool interest) {
        amount -= PayCosts(bearing, interest, day, amount, paid);
    };
    if (!RankClaims(day)) return false;
    switch (FInput.Allocation) {
    case arBgb367:
        costs(false, false);
        costs(true, true);
        costs(true, false);
        PayClaims(true, amount, paid);
        PayClaims(false, amount, paid);
        break;
    case arBgb497:
        costs(false, false);
        costs(true, false);
        PayClaims(false, amount, paid);
        costs(true, true);
        PayClaims(true, amount, paid);
        break;
    case arAbgb1416:
    case arOr85:
        // Neither law settles the costs' place among several debts; they come first as in
        // § 367 BGB, which is also what Art. 85 OR says of the costs of one debt.
        costs(false, false);
        costs(true, true);
        costs(true, false);
        PayClaimByClaim(amount, paid);
        break;
    }
    booking.Overpaid = amount;
    FResult.Overpaid += amount;
    booking.After = Balances(day);
    FResult.Bookings.push_back(std::move(booking));
    return true;
}

TBalances TCalculation::Balances(TDateTime day) const {
    TBalances balances;
    for (const TItem &item : FItems) {
        if (item.Ref.Kind == TItemKind::Claim) {
            balances.Principal += item.Principal;
            balances.Interest += item.Interest;
        } else if (item.Date <= day) {
            balances.Costs += item.Principal;
            balances.CostInterest += item.Interest;
        }
    }
    return balances;
}

bool TCalculation::Finish() {
    const TDateTime statementDay = FInput.StatementDay;
    FResult.Claims.resize(FInput.Claims.size());
    FResult.Costs.resize(FInput.Costs.size());
    FResult.FlatFees.assign(FInput.Claims.size(), 0);
    TWide perDay = 0;
    for (const TItem &item : FItems) {
        const bool open = item.Ref.Kind == TItemKind::Claim || item.Date <= statementDay;
        const TItemBalance balance{open ? item.Principal : 0, item.Interest};
        const size_t index = size_t(item.Ref.Index);
        switch (item.Ref.Kind) {
        case TItemKind::Claim:
            FResult.Claims[index] = balance;
            break;
        case TItemKind::Cost:
            FResult.Costs[index] = balance;
            break;
        case TItemKind::FlatFee:
            FResult.FlatFees[index] = balance.Principal;
            break;
        }
        if (item.Bearing && item.FirstDay <= statementDay && item.Principal > 0) {
            const TBaseRate *base = nullptr;
            TBasisPoints rate = 0;
            if (!RateOn(item, statementDay, rate, &base)) return false;
            perDay += TWide(item.Principal) * rate;
        }
    }
    FResult.Open = Balances(statementDay);
    FResult.PerDay =
        TCents(DivideRounded(perDay, RateScale * YearDaysAfter(FInput.DayCount, statementDay)));
    return true;
}

void TCalculation::MakeHalfYears() {
    TDateTime first = MaxDateSerial;
    for (const TItem &item : FItems)
        if (item.Bearing && UsesBaseRate(item.Rule)) first = std::min(first, item.FirstDay);
    const TDateTime last = FInput.StatementDay;
    for (TDateTime from = HalfYearStart(first); from != EmptyDate && from <= last;
         from = NextHalfYearStart(from)) {
        THalfYear half{from, {nullptr, nullptr}};
        for (size_t t = 0; t < FTables.size(); ++t)
            half.Base[t] = FTables[t]->Find(from);
        FHalfYears.push_back(half);
    }
}

void TCalculation::Run() {
    FResult.DayCount = FInput.DayCount;
    FResult.Allocation = FInput.Allocation;
    FResult.Law = FInput.Law;
    if (!Check()) return;
    MakeItems();
    MakeHalfYears();
    // Every bearing item may have a period for each payment and each half-year.
    size_t bearing = 0;
    for (const TItem &item : FItems)
        bearing += item.Bearing;
    FResult.Bookings.reserve(FResult.Bookings.size() + FInput.Payments.size() +
                             bearing * (FInput.Payments.size() + FHalfYears.size() + 1));
    // Payments in the order of their days; of one day, in the order entered.
    std::vector<std::pair<TDateTime, int>> order;
    for (int i = 0; i < int(FInput.Payments.size()); ++i)
        order.push_back({FInput.Payments[size_t(i)].Date, i});
    std::stable_sort(order.begin(), order.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &[day, index] : order)
        if (!Book(index, day)) return;
    if (Accrue(FInput.StatementDay)) Finish();
}

} // namespace

bool AllocationOffered(TLaw law, TAllocationRule rule) {
    switch (law) {
    case lwGermany:
        return rule == arBgb367 || rule == arBgb497;
    case lwAustria:
        return rule == arAbgb1416;
    case lwSwitzerland:
        return rule == arOr85;
    }
    return false;
}

TAllocationRule DefaultAllocation(TLaw law) {
    switch (law) {
    case lwGermany:
        break;
    case lwAustria:
        return arAbgb1416;
    case lwSwitzerland:
        return arOr85;
    }
    return arBgb367;
}

TClaimsStatement CalculateClaims(const TClaimsCase &input, const TBaseRateTable &table,
                                 const TAtBaseRates &austrian) {
    TClaimsStatement result;
    TCalculation(input, table, austrian, result).Run();
    if (result.Error) {
        const TEngineError error = result.Error;
        const TCaseField field = result.ErrorField;
        const int index = result.ErrorIndex;
        result = TClaimsStatement();
        result.Error = error;
        result.ErrorField = field;
        result.ErrorIndex = index;
        result.DayCount = input.DayCount;
        result.Allocation = input.Allocation;
        result.Law = input.Law;
        return result;
    }
    // Chronological: on one day, the items that arise, then the interest periods that end, then
    // the payments; otherwise as booked. Sorted by index, so that each booking moves once.
    std::vector<std::pair<qint64, int>> order;
    order.reserve(result.Bookings.size());
    for (int i = 0; i < int(result.Bookings.size()); ++i) {
        const TBooking &b = result.Bookings[size_t(i)];
        // Serials are whole days within ±3·10^6: day, kind and place fit one integer.
        order.push_back({(qint64(b.Date) * 4 + int(b.Kind)) * (qint64(1) << 32) + i, i});
    }
    std::sort(order.begin(), order.end());
    std::vector<TBooking> sorted;
    sorted.reserve(order.size());
    for (const auto &[key, i] : order)
        sorted.push_back(std::move(result.Bookings[size_t(i)]));
    result.Bookings = std::move(sorted);
    return result;
}
