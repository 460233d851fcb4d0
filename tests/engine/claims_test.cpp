#include "engine/claims.h"
#include "engine_test_p.h"

#include <gtest/gtest.h>

namespace {

const TRateRule Consumer{rkConsumer, false, 0};
const TRateRule Business{rkNoConsumer, false, 0};
const TRateRule OldBusiness{rkNoConsumer, true, 0};
const TRateRule AtBusiness{rkNoConsumer, false, 0, false};
const TRateRule AtOldBusiness{rkNoConsumer, false, 0, true};
const TRateRule Statutory{rkStatutory, false, 0};
TRateRule fixed(TBasisPoints rate) {
    return {rkFixed, false, rate};
}
TRateRule margin(TBasisPoints points) {
    return {rkMargin, false, points};
}

constexpr TItemRef Claim1{TItemKind::Claim, 0}, Claim2{TItemKind::Claim, 1},
    Claim3{TItemKind::Claim, 2}, FlatFee1{TItemKind::FlatFee, 0}, Cost1{TItemKind::Cost, 0},
    Cost2{TItemKind::Cost, 1};

// Two claims (the first with the flat fee), a cost without and a cost with interest, and three
// payments: one naming the second claim, one on a 30 June, one paying more than is open.
TClaimsCase allocationCase(TAllocationRule rule) {
    TClaimsCase c;
    c.Claims = {{"Rechnung 1", 1000000, day("01.01.2024"), Business, true},
                {"Rechnung 2", 500000, day("01.03.2024"), fixed(500), false}};
    c.Costs = {{"Mahnkosten", 3600, day("15.01.2024"), false, EmptyDate, {}},
               {"Gerichtskosten", 50000, day("01.02.2024"), true, day("02.02.2024"), margin(500)}};
    c.Payments = {{day("01.04.2024"), 100000, 1},
                  {day("30.06.2024"), 200000, -1},
                  {day("01.10.2024"), 2000000, -1}};
    c.StatementDay = day("31.12.2024");
    c.Allocation = rule;
    return c;
}

std::vector<const TBooking *> payments(const TClaimsStatement &s) {
    std::vector<const TBooking *> found;
    for (const TBooking &b : s.Bookings)
        if (b.Kind == TBookingKind::Payment) found.push_back(&b);
    return found;
}

TCents interestOf(const TClaimsStatement &s, TItemRef item, const char *to) {
    for (const TBooking &b : s.Bookings)
        if (b.Kind == TBookingKind::Interest && b.Item == item && b.Period.To == day(to))
            return b.Period.Interest;
    return -1;
}

} // namespace

// By hand, taggenau (/ 365): the base rate is 3,62 % in the first half of 2024 and 3,37 % in the
// second, so Rechnung 1 runs at 12,62 % then 12,37 %, the court costs at 8,62 %.
//   01.04.: Rechnung 1 01.01.–01.04. 92 days 318,09; Rechnung 2 01.03.–01.04. 32 days 21,92;
//           costs 02.02.–01.04. 60 days 7,08. The 1.000,00 named for Rechnung 2 pay its
//           interest 21,92 and 978,08 of it.
//   30.06.: 90 days each: 311,18, 4.021,92 × 5 % 49,59, costs 10,63. § 367: flat fee 40,00,
//           Mahnkosten 36,00, cost interest 17,71, court costs 500,00, interest on Rechnung 1
//           (the higher rate) 629,27, on Rechnung 2 49,59, the rest 727,43 on Rechnung 1.
//   01.10.: 93 days: 9.272,57 × 12,37 % 292,25; 4.021,92 × 5 % 51,24; all paid, 6.362,02 over.
TEST(Claims, AllocatesInTheLawsOrderStepByStep) {
    const struct {
        TAllocationRule Rule;
        std::vector<std::vector<TAllocation>> Paid;
        std::vector<TBalances> After;
        TCents Overpaid;
    } cases[] = {
        {arBgb367,
         {{{Claim2, true, 2192}, {Claim2, false, 97808}},
          {{FlatFee1, false, 4000},
           {Cost1, false, 3600},
           {Cost2, true, 1771},
           {Cost2, false, 50000},
           {Claim1, true, 62927},
           {Claim2, true, 4959},
           {Claim1, false, 72743}},
          {{Claim1, true, 29225},
           {Claim2, true, 5124},
           {Claim1, false, 927257},
           {Claim2, false, 402192}}},
         {{1402192, 31809, 57600, 708}, {1329449, 0, 0, 0}, {0, 0, 0, 0}},
         636202},
        // § 497 Abs. 3: principal before interest; after the costs, Rechnung 1 (12,62 %) first.
        {arBgb497,
         {{{Claim2, true, 2192}, {Claim2, false, 97808}},
          {{FlatFee1, false, 4000},
           {Cost1, false, 3600},
           {Cost2, false, 50000},
           {Claim1, false, 142400}},
          {{Claim1, false, 857600},
           {Claim2, false, 402192},
           {Cost2, true, 1771},
           {Claim1, true, 89957},
           {Claim2, true, 10083}}},
         {{1402192, 31809, 57600, 708}, {1259792, 67886, 0, 1771}, {0, 0, 0, 0}},
         638397},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Rule);
        const TClaimsStatement s = CalculateClaims(allocationCase(c.Rule), ShippedBaseRates());
        ASSERT_FALSE(s.Error) << ErrorText(s.Error).toStdString();
        EXPECT_EQ(interestOf(s, Claim1, "01.04.2024"), 31809);
        EXPECT_EQ(interestOf(s, Cost2, "30.06.2024"), 1063);
        const std::vector<const TBooking *> paid = payments(s);
        ASSERT_EQ(paid.size(), 3u);
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(paid[i]->Allocations, c.Paid[i]) << "payment " << i;
            EXPECT_EQ(paid[i]->After, c.After[i]) << "payment " << i;
        }
        EXPECT_EQ(s.Overpaid, c.Overpaid);
        EXPECT_EQ(s.Open, TBalances());
        EXPECT_EQ(s.PerDay, 0);
    }
}

// Claims alike in due date, rate and age share a payment in proportion, each share floored to
// the cent and the cents left over going one each in the order entered.
TEST(Claims, SharesATieProRataToTheCent) {
    const struct {
        std::vector<TCents> Claims;
        TCents Payment;
        std::vector<TCents> Open;
    } cases[] = {
        {{1000, 2000}, 1000, {666, 1334}},    // 333,33 and 666,66: the first takes the cent
        {{100, 100, 100}, 200, {33, 33, 34}}, // 66 each, two cents left: the first two
        {{100, 100}, 500, {0, 0}},            // more than enough: both paid, 3,00 over
    };
    for (const auto &c : cases) {
        TClaimsCase input;
        for (TCents amount : c.Claims)
            input.Claims.push_back({"", amount, day("01.03.2025"), fixed(0), false});
        input.Payments = {{day("02.03.2025"), c.Payment, -1}};
        input.StatementDay = day("31.03.2025");
        const TClaimsStatement s = CalculateClaims(input, ShippedBaseRates());
        ASSERT_FALSE(s.Error);
        std::vector<TCents> open;
        for (const TItemBalance &b : s.Claims)
            open.push_back(b.Principal);
        EXPECT_EQ(open, c.Open);
    }
    // A due claim before one not yet due, the higher rate before the lower, the older first.
    TClaimsCase order;
    order.Claims = {{"später fällig", 10000, day("01.06.2025"), fixed(900), false},
                    {"niedriger", 10000, day("01.01.2025"), fixed(400), false},
                    {"jünger", 10000, day("01.02.2025"), fixed(800), false},
                    {"älter", 10000, day("01.01.2025"), fixed(800), false}};
    order.Payments = {{day("01.05.2025"), 30000, -1}};
    order.StatementDay = day("01.05.2025");
    order.DayCount = dcActual360;
    const TClaimsStatement s = CalculateClaims(order, ShippedBaseRates());
    ASSERT_FALSE(s.Error);
    const std::vector<const TBooking *> paid = payments(s);
    ASSERT_EQ(paid.size(), 1u);
    std::vector<TItemRef> principalOrder;
    for (const TAllocation &a : paid[0]->Allocations)
        if (!a.Interest) principalOrder.push_back(a.Item);
    EXPECT_EQ(principalOrder, (std::vector<TItemRef>{{TItemKind::Claim, 3}, Claim3, Claim2}));
}

// 1.000,00 € with 4,49 € interest open (4 % for 41 days), 100,00 € paid: the interest first.
TEST(Claims, InterestBeforePrincipal) {
    TClaimsCase c;
    c.Claims = {{"Darlehen", 100000, day("01.01.2025"), fixed(400), false}};
    c.Payments = {{day("10.02.2025"), 10000, -1}};
    c.StatementDay = day("10.02.2025");
    const TClaimsStatement s = CalculateClaims(c, ShippedBaseRates());
    ASSERT_FALSE(s.Error);
    EXPECT_EQ(payments(s)[0]->Allocations,
              (std::vector<TAllocation>{{Claim1, true, 449}, {Claim1, false, 9551}}));
    EXPECT_EQ(s.Claims[0], (TItemBalance{90449, 0}));
    // The next day runs on the new principal: 904,49 × 4 % / 365 = 0,0991…
    EXPECT_EQ(s.PerDay, 10);
}

// One claim without payments is the default-interest window's statement, row for row, under
// each law and each day count it offers.
TEST(Claims, OneClaimIsTheDefaultInterestStatement) {
    const struct {
        TCents Claim;
        const char *First, *Last;
        TRateRule Rule;
        bool FlatFee;
        TLaw Law = lwGermany;
    } cases[] = {
        {308900, "17.04.2025", "20.02.2026", Consumer, false},
        {1000000, "16.01.2023", "02.10.2025", Business, true},
        {1000000, "16.01.2023", "02.10.2025", OldBusiness, false},
        {100, "17.04.2025", "20.02.2026", Consumer, false},
        {13727782, "01.01.2000", "02.06.2002", fixed(400), false},
        {500000, "31.01.2024", "31.03.2025", margin(250), false},
        {99999999999999, "29.02.2004", "31.12.2026", Business, false},
        {1000000, "01.01.2023", "02.10.2025", AtBusiness, true, lwAustria},
        {1000000, "01.08.2002", "31.03.2009", AtOldBusiness, false, lwAustria},
        {500000, "15.05.2024", "20.02.2026", Statutory, false, lwAustria},
        {500000, "31.01.2016", "31.03.2018", margin(50), false, lwAustria},
        {1000000, "31.01.2024", "29.02.2028", Statutory, false, lwSwitzerland},
        {1000000, "15.12.2024", "28.02.2025", fixed(800), false, lwSwitzerland},
    };
    for (const auto &c : cases)
        for (TDayCount count : {dcActual365, dcActualActual, dcActual360, dc30360, dc30360Swiss}) {
            if (!DayCountOffered(c.Law, count)) continue;
            SCOPED_TRACE(std::string(c.First) + " " + std::to_string(count));
            TDefaultInterestInput window{c.Claim, day(c.First), day(c.Last),
                                         c.Rule,  count,        c.FlatFee};
            window.Law = c.Law;
            const TDefaultInterest expected = CalculateDefaultInterest(window, ShippedBaseRates());
            ASSERT_FALSE(expected.Error) << ErrorText(expected.Error).toStdString();
            TClaimsCase input;
            input.Claims = {{"", c.Claim, day(c.First), c.Rule, c.FlatFee}};
            input.StatementDay = day(c.Last);
            input.DayCount = count;
            input.Law = c.Law;
            input.Allocation = DefaultAllocation(c.Law);
            const TClaimsStatement s = CalculateClaims(input, ShippedBaseRates());
            ASSERT_FALSE(s.Error) << ErrorText(s.Error).toStdString();
            std::vector<TInterestRow> rows;
            for (const TBooking &b : s.Bookings)
                if (b.Kind == TBookingKind::Interest) rows.push_back(b.Period);
            EXPECT_EQ(rows, expected.Rows);
            EXPECT_EQ(s.Open.Interest, expected.Interest);
            EXPECT_EQ(s.Open.Costs, expected.FlatFee);
            EXPECT_EQ(s.Open.Total(), expected.Total);
            EXPECT_EQ(s.PerDay, expected.PerDay);
        }
}

// Each faulty input is named, so that the window can focus it, and nothing is calculated.
TEST(Claims, RefusesFaultyInputNamingIt) {
    const auto base = [] {
        TClaimsCase c;
        c.Claims = {{"Rechnung", 10000, day("01.01.2025"), Consumer, false}};
        c.Costs = {{"Mahnkosten", 500, day("01.02.2025"), false, EmptyDate, {}}};
        c.Payments = {{day("01.03.2025"), 1000, -1}};
        c.StatementDay = day("30.06.2025");
        return c;
    };
    const struct {
        void (*Change)(TClaimsCase &);
        TCaseField Field;
        int Index;
        const char *Message;
    } cases[] = {
        {[](TClaimsCase &c) { c.Claims.clear(); }, TCaseField::ClaimAmount, -1,
         "Die Aufstellung braucht mindestens eine Forderung."},
        {[](TClaimsCase &c) { c.Claims[0].Amount = 0; }, TCaseField::ClaimAmount, 0,
         "Der Betrag der Forderung 1 muss größer als 0,00 sein."},
        {[](TClaimsCase &c) { c.Payments[0].Date = day("31.12.2024"); }, TCaseField::PaymentDate, 0,
         "Die Zahlung 1 vom 31.12.2024 liegt vor dem Zinsbeginn jeder Forderung (01.01.2025)."},
        {[](TClaimsCase &c) {
             c.Costs[0].BearsInterest = true;
             c.Costs[0].FirstDay = day("31.01.2025");
             c.Costs[0].Rule = Consumer;
         },
         TCaseField::CostFirstDay, 0,
         "Der Zinsbeginn der Kosten 1 (31.01.2025) liegt vor ihrem Datum (01.02.2025)."},
        {[](TClaimsCase &c) { c.Payments[0].Claim = 1; }, TCaseField::PaymentClaim, 0,
         "Die Zahlung 1 nennt die Forderung 2, die es nicht gibt."},
        {[](TClaimsCase &c) { c.Payments[0].Amount = -5; }, TCaseField::PaymentAmount, 0,
         "Der Betrag der Zahlung 1 muss größer als 0,00 sein."},
        {[](TClaimsCase &c) { c.Costs[0].Amount = 0; }, TCaseField::CostAmount, 0,
         "Der Betrag der Kosten 1 muss größer als 0,00 sein."},
        {[](TClaimsCase &c) { c.StatementDay = day("31.12.2024"); }, TCaseField::StatementDay, -1,
         "Der Stichtag (31.12.2024) liegt vor dem ersten Zinsbeginn (01.01.2025)."},
        {[](TClaimsCase &c) { c.StatementDay = day("31.12.2099"); }, TCaseField::ClaimRule, 0,
         "Für das Halbjahr ab 01.01.2027 ist kein Basiszinssatz bekannt (die Basiszinssätze "
         "reichen bis 31.12.2026). Bitte den Basiszinssatz ergänzen oder einen früheren "
         "Stichtag wählen."},
        {[](TClaimsCase &c) { c.StatementDay = qQNaN(); }, TCaseField::StatementDay, -1,
         "Der Stichtag ist kein gültiges Datum."},
        {[](TClaimsCase &c) { c.Claims[0].FirstDay = qQNaN(); }, TCaseField::ClaimFirstDay, 0,
         "Der Zinsbeginn der Forderung 1 ist kein gültiges Datum."},
        {[](TClaimsCase &c) { c.Payments[0].Date = qQNaN(); }, TCaseField::PaymentDate, 0,
         "Das Datum der Zahlung 1 ist kein gültiges Datum."},
        {[](TClaimsCase &c) { c.Claims[0].Amount = MaxAmountCents + 1; }, TCaseField::ClaimAmount,
         0, "Der Betrag der Forderung 1 ist zu groß."},
        {[](TClaimsCase &c) { c.Costs[0].Date = day("01.07.2025"); }, TCaseField::CostDate, 0,
         "Die Kosten 1 vom 01.07.2025 entstehen erst nach dem Stichtag (30.06.2025)."},
        {[](TClaimsCase &c) { c.Payments[0].Date = day("01.07.2025"); }, TCaseField::PaymentDate, 0,
         "Die Zahlung 1 vom 01.07.2025 liegt nach dem Stichtag (30.06.2025)."},
        {[](TClaimsCase &c) { c.Claims[0].FirstDay = day("31.12.2001"); }, TCaseField::ClaimRule, 0,
         "Für Tage vor dem 01.01.2002 gibt es keinen Basiszinssatz nach § 247 BGB. Bitte einen "
         "festen Zinssatz wählen oder den Zinsbeginn auf den 01.01.2002 oder später legen."},
        {[](TClaimsCase &c) { c.Claims[0].FlatFee = true; }, TCaseField::ClaimFlatFee, 0,
         "Die Pauschale nach § 288 Abs. 5 BGB steht der Forderung 1 nicht zu: sie gilt nur, "
         "wenn kein Verbraucher beteiligt ist und die Forderung nach dem 28.07.2014 "
         "entstanden ist."},
    };
    for (const auto &c : cases) {
        TClaimsCase input = base();
        c.Change(input);
        const TClaimsStatement s = CalculateClaims(input, ShippedBaseRates());
        EXPECT_EQ(ErrorText(s.Error), QString::fromUtf8(c.Message));
        EXPECT_EQ(s.ErrorField, c.Field) << c.Message;
        EXPECT_EQ(s.ErrorIndex, c.Index) << c.Message;
        EXPECT_TRUE(s.Bookings.empty() && s.Claims.empty());
    }
}

namespace {

// Two claims at 4 %, the second sued, Mahnspesen of 40,00 € and 1.000,00 € paid on 01.04.2025.
// By hand, taggenau: Rechnung 1 01.01.–01.04. 91 days 9,97 €, Rechnung 2 01.03.–01.04. 32 days
// 7,01 €; after the payment 29 days to the statement day.
TClaimsCase suedCase(TLaw law, bool sued) {
    TClaimsCase c;
    c.Claims = {{"Rechnung 1", 100000, day("01.01.2025"), Statutory, false, false},
                {"Rechnung 2", 200000, day("01.03.2025"), Statutory, false, sued}};
    c.Costs = {{"Mahnspesen", 4000, day("15.01.2025"), false, EmptyDate, {}}};
    c.Payments = {{day("01.04.2025"), 100000, -1}};
    c.StatementDay = day("30.04.2025");
    c.Law = law;
    c.Allocation = DefaultAllocation(law);
    return c;
}

std::vector<TCents> openPrincipal(const TClaimsStatement &s) {
    std::vector<TCents> open;
    for (const TItemBalance &b : s.Claims)
        open.push_back(b.Principal);
    return open;
}

} // namespace

// §§ 1415, 1416 ABGB: costs, then the sued claim with its interest before its principal, and
// only then the others; § 367 BGB pays all interest before any principal and ranks no claim by
// its suit.
TEST(Claims, AustrianOrderPaysTheSuedClaimFirst) {
    const struct {
        TLaw Law;
        bool Sued;
        std::vector<TAllocation> Paid;
        TBalances After;
        TCents OpenInterest; // with 29 more days: 3,18 and 3,33 €; 0,16 and 6,36 €; 0,18 and 6,36 €
    } cases[] = {
        {lwAustria,
         true,
         {{Cost1, false, 4000}, {Claim2, true, 701}, {Claim2, false, 95299}},
         {204701, 997, 0, 0},
         1648},
        {lwAustria,
         false,
         {{Cost1, false, 4000}, {Claim1, true, 997}, {Claim1, false, 95003}},
         {204997, 701, 0, 0},
         1353},
        {lwGermany,
         true,
         {{Cost1, false, 4000}, {Claim1, true, 997}, {Claim2, true, 701}, {Claim1, false, 94302}},
         {205698, 0, 0, 0},
         654},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.Law) + (c.Sued ? " eingeklagt" : ""));
        const TClaimsStatement s = CalculateClaims(suedCase(c.Law, c.Sued), ShippedBaseRates());
        ASSERT_FALSE(s.Error) << ErrorText(s.Error).toStdString();
        EXPECT_EQ(s.Allocation, c.Law == lwAustria ? arAbgb1416 : arBgb367);
        const std::vector<const TBooking *> paid = payments(s);
        ASSERT_EQ(paid.size(), 1u);
        EXPECT_EQ(paid[0]->Allocations, c.Paid);
        EXPECT_EQ(paid[0]->After, c.After);
        EXPECT_EQ(s.Open.Interest, c.OpenInterest);
    }
}

// Art. 85 OR: costs, interest, capital; two debts due on one day share pro rata (Art. 87 Abs. 2
// OR). CHF 10'000 and 5'000 at 5 %, Swiss 30/360: 90 days to 31.03.2025 bear 125.00 and 62.50;
// of 3'000 paid, 100 costs and the interest leave 2'712.50 for capital, two thirds and one third
// (1'808.33⅓ and 904.16⅔, the cent left over to the first).
TEST(Claims, SwissOrderCostsInterestCapital) {
    TClaimsCase c;
    c.Law = lwSwitzerland;
    c.Allocation = arOr85;
    c.DayCount = dc30360Swiss;
    c.Claims = {{"Rechnung A", 1000000, day("01.01.2025"), Statutory, false},
                {"Rechnung B", 500000, day("01.01.2025"), Statutory, false}};
    c.Costs = {{"Betreibungskosten", 10000, day("15.02.2025"), false, EmptyDate, {}}};
    c.Payments = {{day("31.03.2025"), 300000, -1}};
    c.StatementDay = day("30.06.2025");
    const TClaimsStatement s = CalculateClaims(c, ShippedBaseRates());
    ASSERT_FALSE(s.Error) << ErrorText(s.Error).toStdString();
    EXPECT_EQ(interestOf(s, Claim1, "31.03.2025"), 12500);
    EXPECT_EQ(payments(s)[0]->Allocations, (std::vector<TAllocation>{{Cost1, false, 10000},
                                                                     {Claim1, true, 12500},
                                                                     {Claim2, true, 6250},
                                                                     {Claim1, false, 180834},
                                                                     {Claim2, false, 90416}}));
    // 90 more days on 8'191.66 and 4'095.84: 102.40 and 51.20.
    EXPECT_EQ(openPrincipal(s), (std::vector<TCents>{819166, 409584}));
    EXPECT_EQ(s.Open.Interest, 10240 + 5120);
    EXPECT_EQ(s.PerDay, 171); // 12'287.50 × 5 % / 360
}

// Each law's rank of undesignated payments: 600,00 paid on 01.05.2025 covers all five claims,
// so the order their principal is paid in is the rank.
TEST(Claims, RanksClaimsByTheLaw) {
    const auto claims = [] {
        return std::vector<TClaim>{
            {"später fällig", 10000, day("01.06.2025"), fixed(900), false, false},
            {"niedriger", 10000, day("01.01.2025"), fixed(400), false, false},
            {"jünger", 10000, day("01.02.2025"), fixed(800), false, false},
            {"älter", 10000, day("01.01.2025"), fixed(800), false, false},
            {"eingeklagt", 10000, day("01.03.2025"), fixed(400), false, true}};
    };
    const struct {
        TLaw Law;
        std::vector<int> Order;
    } cases[] = {
        {lwGermany, {3, 2, 1, 4, 0}},     // due, higher rate, older; the suit counts for nothing
        {lwAustria, {4, 3, 2, 1, 0}},     // the sued first, then as in Germany
        {lwSwitzerland, {4, 1, 3, 2, 0}}, // in enforcement, then the earlier due
    };
    for (const auto &c : cases) {
        TClaimsCase input;
        input.Claims = claims();
        input.Payments = {{day("01.05.2025"), 60000, -1}};
        input.StatementDay = day("01.05.2025");
        input.DayCount = dcActual360;
        input.Law = c.Law;
        input.Allocation = DefaultAllocation(c.Law);
        const TClaimsStatement s = CalculateClaims(input, ShippedBaseRates());
        ASSERT_FALSE(s.Error) << ErrorText(s.Error).toStdString();
        std::vector<int> order;
        for (const TAllocation &a : payments(s)[0]->Allocations)
            if (!a.Interest) order.push_back(a.Item.Index);
        EXPECT_EQ(order, c.Order) << c.Law;
    }
    // Alike in every respect: Austria pays in the order entered, Switzerland pro rata.
    for (const auto &[law, open] : {std::pair{lwAustria, std::vector<TCents>{0, 15000}},
                                    std::pair{lwSwitzerland, std::vector<TCents>{5000, 10000}}}) {
        TClaimsCase input;
        input.Claims = {{"", 10000, day("01.03.2025"), fixed(0), false},
                        {"", 20000, day("01.03.2025"), fixed(0), false}};
        input.Payments = {{day("02.03.2025"), 15000, -1}};
        input.StatementDay = day("31.03.2025");
        input.Law = law;
        input.Allocation = DefaultAllocation(law);
        EXPECT_EQ(openPrincipal(CalculateClaims(input, ShippedBaseRates())), open) << law;
    }
}

TEST(Claims, RefusesWhatTheLawDoesNotOffer) {
    const struct {
        TLaw Law;
        void (*Change)(TClaimsCase &);
        TCaseField Field;
        int Index;
        const char *Message;
    } cases[] = {
        {lwSwitzerland, [](TClaimsCase &c) { c.Allocation = arBgb367; }, TCaseField::Allocation, -1,
         "Nach Schweizer Recht werden Teilzahlungen nach Art. 85 bis 87 OR verrechnet."},
        {lwGermany, [](TClaimsCase &c) { c.Allocation = arAbgb1416; }, TCaseField::Allocation, -1,
         "Nach deutschem Recht werden Teilzahlungen nach § 367 oder § 497 Abs. 3 BGB verrechnet."},
        {lwAustria, [](TClaimsCase &c) { c.DayCount = dc30360Swiss; }, TCaseField::DayCount, -1,
         "Die Tageszählung 30/360 nach Schweizer Usanz gilt nur nach Schweizer Recht."},
        {lwAustria,
         [](TClaimsCase &c) {
             c.Claims[0].Rule = AtOldBusiness;
             c.Claims[0].FlatFee = true;
         },
         TCaseField::ClaimFlatFee, 0,
         "Die Pauschale nach § 458 UGB steht der Forderung 1 nicht zu: sie gilt nur bei einem "
         "unternehmerischen Geschäft aus einem Vertrag ab dem 16.03.2013."},
        {lwSwitzerland,
         [](TClaimsCase &c) {
             c.Costs[0].BearsInterest = true;
             c.Costs[0].FirstDay = c.Costs[0].Date;
             c.Costs[0].Rule = margin(500);
         },
         TCaseField::CostRule, 0,
         "Nach Schweizer Recht gelten 5 % Verzugszins (Art. 104 Abs. 1 OR) oder ein vertraglich "
         "vereinbarter fester Zinssatz; einen Basiszinssatz gibt es nicht."},
    };
    for (const auto &c : cases) {
        TClaimsCase input = suedCase(c.Law, false);
        if (c.Law == lwSwitzerland) input.DayCount = dc30360Swiss;
        c.Change(input);
        const TClaimsStatement s = CalculateClaims(input, ShippedBaseRates());
        EXPECT_EQ(ErrorText(s.Error), QString::fromUtf8(c.Message));
        EXPECT_EQ(s.ErrorField, c.Field) << c.Message;
        EXPECT_EQ(s.ErrorIndex, c.Index) << c.Message;
        EXPECT_TRUE(s.Bookings.empty());
    }
}
