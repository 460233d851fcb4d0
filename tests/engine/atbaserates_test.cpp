#include "engine/atbaserates.h"
#include "engine_test_p.h"

#include <gtest/gtest.h>

namespace {

constexpr TBasisPoints None = 99999;

TBasisPoints rateOf(const TBaseRateTable &table, const char *halfYear) {
    const TBaseRate *found = table.Find(day(halfYear));
    return found ? found->Rate : None;
}

} // namespace

// The National Bank's changes of 09.07.2008 and 21.06.2023 wait for the next half-year; the
// table vouches for nothing after 30.11.2026, so 2027 has no rate under either rule.
TEST(AtBaseRates, ShippedChangesBecomeHalfYears) {
    const TAtBaseRates &shipped = ShippedAtBaseRates();
    EXPECT_EQ(shipped.KnownThrough(), day("30.11.2026"));
    const struct {
        const char *HalfYear;
        TBasisPoints FirstDay, LastDayBefore;
    } cases[] = {
        {"01.07.2001", None, None}, {"01.01.2002", 275, 275}, {"01.07.2008", 319, 319},
        {"01.01.2009", 188, 188},   {"01.01.2013", 38, 38},   {"01.07.2013", -12, -12},
        {"01.01.2023", 188, 188},   {"01.07.2023", 338, 338}, {"01.07.2026", 153, 153},
        {"01.01.2027", None, None},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(rateOf(shipped.HalfYears(hrFirstDay), c.HalfYear), c.FirstDay) << c.HalfYear;
        EXPECT_EQ(rateOf(shipped.HalfYears(hrLastDayBefore), c.HalfYear), c.LastDayBefore)
            << c.HalfYear;
    }
    EXPECT_EQ(shipped.HalfYears(hrFirstDay).Reach(), day("31.12.2026"));
    EXPECT_EQ(shipped.HalfYears(hrLastDayBefore).Reach(), day("31.12.2026"));
    EXPECT_EQ(shipped.InForce(day("08.07.2008"))->Rate, 319);
    EXPECT_EQ(shipped.InForce(day("09.07.2008"))->Rate, 370);
    EXPECT_EQ(shipped.InForce(day("01.12.2026")), nullptr);
}

// The two rules part where a change falls on a 1 January or 1 July, and reach differently.
TEST(AtBaseRates, EachRuleFixesItsDay) {
    const std::vector<TBaseRateChange> changes{
        {day("01.01.2020"), 100}, {day("01.07.2020"), 200}, {day("15.08.2020"), 300}};
    const struct {
        TAtHalfYearRule Rule;
        TBasisPoints H1, H2, Next; // 2020, 2020, 2021
        const char *Reach;
    } cases[] = {
        {hrFirstDay, 100, 200, None, "31.12.2020"},
        {hrLastDayBefore, None, 100, 300, "30.06.2021"},
    };
    for (const auto &c : cases) {
        const TBaseRateTable table = AtHalfYearTable(changes, day("31.12.2020"), c.Rule);
        EXPECT_EQ(rateOf(table, "01.01.2020"), c.H1) << c.Rule;
        EXPECT_EQ(rateOf(table, "01.07.2020"), c.H2) << c.Rule;
        EXPECT_EQ(rateOf(table, "01.01.2021"), c.Next) << c.Rule;
        EXPECT_EQ(FormatDayDate(table.Reach()), c.Reach) << c.Rule;
    }
}

TEST(AtBaseRates, UserChangesOverTheShippedOnes) {
    const TAtBaseRates merged = ShippedAtBaseRates().MergedWith(
        {{day("08.02.2023"), 250}, {day("01.07.2026"), 200}, {day("01.01.2027"), 225}});
    EXPECT_EQ(*merged.InForce(day("01.03.2023")), (TBaseRateChange{day("08.02.2023"), 250, true}));
    EXPECT_FALSE(merged.InForce(day("01.04.2023"))->User);
    // Known now through the last change: 2027's first half under both rules, no further.
    EXPECT_EQ(merged.KnownThrough(), day("01.01.2027"));
    const TBaseRateTable &first = merged.HalfYears(hrFirstDay);
    const TBaseRateTable &last = merged.HalfYears(hrLastDayBefore);
    EXPECT_EQ(*first.Find(day("01.07.2026")), (TBaseRate{day("01.07.2026"), 200, true}));
    EXPECT_EQ(*last.Find(day("01.07.2026")), (TBaseRate{day("01.07.2026"), 153, false}));
    EXPECT_EQ(rateOf(first, "01.01.2027"), 225);
    EXPECT_EQ(rateOf(last, "01.01.2027"), 200);
    EXPECT_EQ(first.Reach(), day("30.06.2027"));
    EXPECT_EQ(last.Reach(), day("30.06.2027"));

    EXPECT_FALSE(CheckAtBaseRateChange(day("01.01.1999"), -1000));
    EXPECT_EQ(CheckAtBaseRateChange(day("31.12.1998"), 100).Code, ecRate);
    EXPECT_EQ(ErrorText(CheckAtBaseRateChange(day("01.01.2027"), 2001)),
              "Der Basiszinssatz 20,01 % liegt nicht zwischen -10,00 % und 20,00 %.");
}
