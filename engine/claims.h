#pragma once
// The claims statement (Forderungsaufstellung): several claims and costs, each bearing interest
// of its own from its first interest day, partial payments booked in the order the law sets
// (§ 367 BGB, or § 497 Abs. 3 BGB for consumer loans; §§ 1415, 1416 ABGB; Art. 85–87 OR) with
// interest running on what is left, and the open balances at the statement day. Integer cents
// throughout; the result is typed, and an error comes back as a value naming the input at fault.

#include "engine/baserates.h"
#include "engine/defaultinterest.h"
#include "engine/engineerror.h"
#include "engine/periods.h"

#include <QString>
#include <vector>

// Costs first under every rule: those without interest (and flat fees) oldest first, then the
// interest on costs, then the costs bearing interest. The claims then by the rule.
enum TAllocationRule : int {
    // costs, interest, principal (§ 367 Abs. 1 BGB); among claims the due, the more
    // burdensome (higher rate), the older, then pro rata (§ 366 Abs. 2 BGB)
    arBgb367,
    // costs, principal, interest (§ 497 Abs. 3 BGB); claims ranked as under arBgb367
    arBgb497,
    // costs, then claim by claim its interest before its principal (§ 1416 ABGB): the sued
    // first, then the due, the more burdensome, the older, then in the order entered
    arAbgb1416,
    // costs, then debt by debt its interest before its principal (Art. 85 Abs. 1 OR): the one
    // in enforcement first, then the due, the earlier due, then pro rata (Art. 87 OR)
    arOr85,
};

struct TClaim {
    QString Name; // "Rechnung 4711"
    TCents Amount = 0;
    TDateTime FirstDay = EmptyDate; // Zinsbeginn: the day after the due date
    TRateRule Rule;
    bool FlatFee = false; // § 288 Abs. 5 BGB or § 458 UGB, only where FlatFeeOffered(Rule, Law)
    // Eingeklagt or tituliert (Austria), in enforcement (Switzerland): paid first under
    // arAbgb1416 and arOr85; German law ranks no claim by it.
    bool Sued = false;
};

struct TCost {
    QString Name; // "Mahnkosten"
    TCents Amount = 0;
    TDateTime Date = EmptyDate; // the day it arose
    bool BearsInterest = false;
    TDateTime FirstDay = EmptyDate; // where it bears interest: on or after Date
    TRateRule Rule;
};

struct TPayment {
    TDateTime Date = EmptyDate;
    TCents Amount = 0;
    int Claim = -1; // the claim the debtor named (Tilgungsbestimmung), or -1
};

struct TClaimsCase {
    std::vector<TClaim> Claims;
    std::vector<TCost> Costs;
    std::vector<TPayment> Payments;
    TDateTime StatementDay = EmptyDate; // Stichtag, counted
    TDayCount DayCount = dcActual365;
    TAllocationRule Allocation = arBgb367;
    TLaw Law = lwGermany;
};

// The orders of allocation each law offers: Germany arBgb367 and arBgb497, Austria arAbgb1416,
// Switzerland arOr85; the first of them is the law's default.
bool AllocationOffered(TLaw law, TAllocationRule rule);
TAllocationRule DefaultAllocation(TLaw law);

// An item that can be open: a claim, a cost, or the flat fee of a claim (Index is the claim's).
enum class TItemKind : int { Claim, Cost, FlatFee };
struct TItemRef {
    TItemKind Kind = TItemKind::Claim;
    int Index = 0;

    bool operator==(const TItemRef &) const = default;
};

// What a share of a payment paid: an item's principal, or its interest.
struct TAllocation {
    TItemRef Item;
    bool Interest = false;
    TCents Amount = 0;

    bool operator==(const TAllocation &) const = default;
};

// The open balances on a day.
struct TBalances {
    TCents Principal = 0;    // the claims' principal (Hauptforderung)
    TCents Interest = 0;     // interest on the claims
    TCents Costs = 0;        // costs arisen by the day, flat fees included
    TCents CostInterest = 0; // interest on costs

    TCents Total() const { return Principal + Interest + Costs + CostInterest; }
    bool operator==(const TBalances &) const = default;
};

enum class TBookingKind : int {
    Item,     // a claim, cost or flat fee: on its date, with its amount
    Interest, // one interest period of one item: dated at its last day
    Payment,  // a payment, its allocation and the balances after it
};

struct TBooking {
    TBookingKind Kind = TBookingKind::Item;
    TDateTime Date = EmptyDate;
    TItemRef Item;    // Item, Interest
    int Payment = -1; // Payment: its index in the case
    // Item: its amount; Interest: the principal the interest runs on; Payment: its amount.
    TCents Amount = 0;
    TInterestRow Period;                  // Interest
    std::vector<TAllocation> Allocations; // Payment, in the order booked
    TCents Overpaid = 0;                  // Payment: what was left after everything open
    TBalances After;                      // Payment
};

struct TItemBalance {
    TCents Principal = 0;
    TCents Interest = 0;

    bool operator==(const TItemBalance &) const = default;
};

// The input an error names, so that a window can focus it.
enum class TCaseField : int {
    None,
    StatementDay,
    ClaimAmount,
    ClaimFirstDay,
    ClaimRule,
    ClaimFlatFee,
    CostAmount,
    CostDate,
    CostFirstDay,
    CostRule,
    PaymentDate,
    PaymentAmount,
    PaymentClaim,
    DayCount,
    Allocation,
};

struct TClaimsStatement {
    TEngineError Error; // when set, nothing else
    TCaseField ErrorField = TCaseField::None;
    int ErrorIndex = -1; // the claim, cost or payment at fault

    std::vector<TBooking> Bookings;   // chronological
    std::vector<TItemBalance> Claims; // at the statement day, one a claim
    std::vector<TItemBalance> Costs;  // one a cost
    std::vector<TCents> FlatFees;     // open flat fee of each claim (0 where none)
    TBalances Open;
    // Each open principal bearing interest × its rate on the statement day / the day count's
    // year, summed and rounded once.
    TCents PerDay = 0;
    TCents Overpaid = 0; // Überzahlung: paid beyond everything open, never a negative balance
    TDayCount DayCount = dcActual365;
    TAllocationRule Allocation = arBgb367;
    TLaw Law = lwGermany;
};

// `table` holds Germany's base rates, `austrian` Austria's (under the other laws unused).
TClaimsStatement CalculateClaims(const TClaimsCase &input, const TBaseRateTable &table,
                                 const TAtBaseRates &austrian = ShippedAtBaseRates());
