#include "engine/defaultinterest.h"
#include "engine_test_p.h"
#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct Row {
    const char *from, *to;
    quint32 days;
    TBasisPoints rate;
    TCents interest;
};

TDefaultInterest calculate(TCents claim, const char *first, const char *last, TRateRule rule,
                           TDayCount count = dcActual365,
                           const TBaseRateTable &table = ShippedBaseRates()) {
    return CalculateDefaultInterest({claim, day(first), day(last), rule, count, false}, table);
}

void expectRows(const TDefaultInterest &result, const std::vector<Row> &rows) {
    ASSERT_FALSE(result.Error) << ErrorText(result.Error).toStdString();
    ASSERT_EQ(result.Rows.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TInterestRow &got = result.Rows[i];
        EXPECT_EQ(FormatDayDate(got.From), rows[i].from) << i;
        EXPECT_EQ(FormatDayDate(got.To), rows[i].to) << i;
        EXPECT_EQ(got.Days, rows[i].days) << i;
        EXPECT_EQ(got.Rate, rows[i].rate) << i;
        EXPECT_EQ(got.Interest, rows[i].interest) << i;
        if (got.HasBaseRate) {
            EXPECT_EQ(got.Rate, std::max(0, got.BaseRate + got.Margin)) << i;
        }
    }
}

const TRateRule Consumer{rkConsumer, false, 0};
const TRateRule Business{rkNoConsumer, false, 0};

} // namespace

// The published figures; each row checked by hand as claim × rate × days / 365.
TEST(DefaultInterest, WorkedCases) {
    const struct {
        TCents claim;
        const char *first, *last;
        TRateRule rule;
        TDayCount count;
        std::vector<Row> rows;
        TCents total, perDay;
    } cases[] = {
        {308900,
         "17.04.2025",
         "20.02.2026",
         Consumer,
         dcActual365,
         {{"17.04.2025", "30.06.2025", 75, 727, 4614},
          {"01.07.2025", "31.12.2025", 184, 627, 9764},
          {"01.01.2026", "20.02.2026", 51, 627, 2706}},
         17084,
         53},
        // Both 1 January and 1 July belong to the new half-year; a statement that drops them
        // comes to 3.154,20 €.
        {1000000,
         "16.01.2023",
         "02.10.2025",
         Business,
         dcActual365,
         {{"16.01.2023", "30.06.2023", 166, 1062, 48299},
          {"01.07.2023", "31.12.2023", 184, 1212, 61098},
          {"01.01.2024", "30.06.2024", 182, 1262, 62927},
          {"01.07.2024", "31.12.2024", 184, 1237, 62358},
          {"01.01.2025", "30.06.2025", 181, 1127, 55887},
          {"01.07.2025", "02.10.2025", 94, 1027, 26449}},
         317018,
         281},
        // 2024 is a leap year: its two parts by 366.
        {1000000,
         "16.01.2023",
         "02.10.2025",
         Business,
         dcActualActual,
         {{"16.01.2023", "30.06.2023", 166, 1062, 48299},
          {"01.07.2023", "31.12.2023", 184, 1212, 61098},
          {"01.01.2024", "30.06.2024", 182, 1262, 62755},
          {"01.07.2024", "31.12.2024", 184, 1237, 62188},
          {"01.01.2025", "30.06.2025", 181, 1127, 55887},
          {"01.07.2025", "02.10.2025", 94, 1027, 26449}},
         316676,
         281},
        // One euro: the total is the sum of the rounded rows (5.53 cents unrounded).
        {100,
         "17.04.2025",
         "20.02.2026",
         Consumer,
         dcActual365,
         {{"17.04.2025", "30.06.2025", 75, 727, 1},
          {"01.07.2025", "31.12.2025", 184, 627, 3},
          {"01.01.2026", "20.02.2026", 51, 627, 1}},
         5,
         0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.first);
        const TDefaultInterest result = calculate(c.claim, c.first, c.last, c.rule, c.count);
        expectRows(result, c.rows);
        EXPECT_EQ(result.Interest, c.total);
        EXPECT_EQ(result.PerDay, c.perDay);
        EXPECT_EQ(result.Total, c.claim + c.total);
    }
}

// Courts differ on the day of payment. One court's 13.283,98 € for 4 % on 137.277,82 € from
// 01.01.2000 to the payment on 02.06.2002 counts 883 days: without the day of payment.
TEST(DefaultInterest, TheDayOfPaymentCountsOrNot) {
    const TRateRule statutory{rkStatutory, false, 0};
    const struct {
        TCents claim;
        const char *first, *last;
        TRateRule rule;
        bool lastDayCounts;
        std::vector<Row> rows;
        const char *counted; // in the statement's rules
    } cases[] = {
        {13727782,
         "01.01.2000",
         "02.06.2002",
         statutory,
         false,
         {{"01.01.2000", "01.06.2002", 883, 400, 1328398}},
         "der erste Zinstag zählt mit, der Zahlungstag (02.06.2002) nicht"},
        {13727782,
         "01.01.2000",
         "02.06.2002",
         statutory,
         true,
         {{"01.01.2000", "02.06.2002", 884, 400, 1329902}},
         "erster und letzter Zinstag zählen mit"},
        // Paid on 1 July: the new half-year's rate never applies.
        {100000,
         "01.06.2025",
         "01.07.2025",
         Consumer,
         false,
         {{"01.06.2025", "30.06.2025", 30, 727, 598}},
         "der Zahlungstag (01.07.2025) nicht"},
        {100000,
         "01.06.2025",
         "02.06.2025",
         Consumer,
         false,
         {{"01.06.2025", "01.06.2025", 1, 727, 20}},
         "der Zahlungstag (02.06.2025) nicht"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.counted);
        TDefaultInterestInput input{c.claim, day(c.first), day(c.last), c.rule, dcActual365, false};
        input.LastDayCounts = c.lastDayCounts;
        const TDefaultInterest result = CalculateDefaultInterest(input, ShippedBaseRates());
        expectRows(result, c.rows);
        EXPECT_EQ(FormatDayDate(LastInterestDay(input)), c.rows.back().to);
    }

    TDefaultInterestInput sameDay{100000,   day("01.06.2025"), day("01.06.2025"),
                                  Consumer, dcActual365,       false};
    sameDay.LastDayCounts = false;
    const TDefaultInterest none = CalculateDefaultInterest(sameDay, ShippedBaseRates());
    EXPECT_EQ(none.Error.Code, ecDates);
    EXPECT_EQ(ErrorText(none.Error), "Der Zahlungstag (01.06.2025) zählt nicht mit und ist der "
                                     "erste Zinstag: es bleibt kein Zinstag.");
}

TEST(DefaultInterest, SplitsAtEveryFirstOfJanuaryAndJuly) {
    const struct {
        const char *first, *last;
        TRateRule rule;
        TDayCount count;
        std::vector<Row> rows;
    } cases[] = {
        // Inside one half-year; one day; a whole half-year by 30/360.
        {"03.03.2025",
         "14.05.2025",
         Consumer,
         dcActual365,
         {{"03.03.2025", "14.05.2025", 73, 727, 1454}}},
        {"30.06.2025",
         "30.06.2025",
         Consumer,
         dcActual365,
         {{"30.06.2025", "30.06.2025", 1, 727, 20}}},
        {"01.07.2025",
         "01.07.2025",
         Consumer,
         dcActual365,
         {{"01.07.2025", "01.07.2025", 1, 627, 17}}},
        {"01.01.2025",
         "30.06.2025",
         Consumer,
         dc30360,
         {{"01.01.2025", "30.06.2025", 180, 727, 3635}}},
        // A new part at each publication, also where the rate stays the same (2025/2026).
        {"31.12.2025",
         "01.01.2026",
         Consumer,
         dcActual360,
         {{"31.12.2025", "31.12.2025", 1, 627, 17}, {"01.01.2026", "01.01.2026", 1, 627, 17}}},
        // Negative base rates: 2016 -0,83 then -0,88; a margin of 0 earns nothing then.
        {"01.01.2016",
         "31.12.2016",
         Consumer,
         dcActual365,
         {{"01.01.2016", "30.06.2016", 182, 417, 2079},
          {"01.07.2016", "31.12.2016", 184, 412, 2077}}},
        {"01.06.2022",
         "31.01.2023",
         TRateRule{rkMargin, false, 0},
         dcActual365,
         {{"01.06.2022", "30.06.2022", 30, 0, 0},
          {"01.07.2022", "31.12.2022", 184, 0, 0},
          {"01.01.2023", "31.01.2023", 31, 162, 138}}},
        // The margin by Art. 229 § 34 EGBGB.
        {"28.07.2014",
         "29.07.2014",
         TRateRule{rkNoConsumer, true, 0},
         dcActual365,
         {{"28.07.2014", "29.07.2014", 2, 727, 40}}},
        {"28.07.2014",
         "29.07.2014",
         Business,
         dcActual365,
         {{"28.07.2014", "29.07.2014", 2, 827, 45}}},
        // A fixed rate: one part across the changes.
        {"01.06.2025",
         "31.07.2025",
         TRateRule{rkStatutory, false, 0},
         dcActual365,
         {{"01.06.2025", "31.07.2025", 61, 400, 668}}},
        {"01.06.2025",
         "31.07.2025",
         TRateRule{rkFixed, false, 1250},
         dc30360,
         {{"01.06.2025", "31.07.2025", 60, 1250, 2083}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.first) + " - " + c.last);
        expectRows(calculate(100000, c.first, c.last, c.rule, c.count), c.rows);
    }
}

// The half-years follow one another by their lengths; they must be the calendar's, from any
// day, across leap years and centuries, up to the calendar's last day.
TEST(DefaultInterest, HalfYearsAreTheCalendars) {
    std::mt19937 random(20261208);
    std::vector<TPeriod> periods{{MakeDateSerial(1900, 2, 28), MakeDateSerial(2101, 3, 1)},
                                 {MakeDateSerial(9998, 5, 5), MaxDateSerial},
                                 {MakeDateSerial(9999, 7, 1), MaxDateSerial},
                                 {MinDateSerial, MakeDateSerial(2, 1, 1)}};
    for (int i = 0; i < 2000; ++i) {
        const TDateTime from = MinDateSerial + random() % 3652000;
        periods.push_back({from, std::min<TDateTime>(MaxDateSerial, from + random() % 8000)});
    }
    for (const TPeriod &period : periods) {
        std::vector<TPeriod> expected;
        TDateTime from = period.From;
        for (TDateTime next = NextHalfYearStart(from); next != EmptyDate && next <= period.To;
             next = NextHalfYearStart(from)) {
            expected.push_back({from, next - 1});
            from = next;
        }
        expected.push_back({from, period.To});
        ASSERT_EQ(SplitAtHalfYears(period), expected) << FormatDayDate(period.From).toStdString();
    }
}

// Days and interest on 1.000 € at 10 % under each day count; actual/actual weighs the days of
// 2023 by 365 and those of 2024 by 366.
TEST(DefaultInterest, DayCounts) {
    const struct {
        const char *from, *to;
        quint32 actual, days30;
        TCents act365, actAct, act360, interest30;
    } cases[] = {
        {"01.01.2025", "30.06.2025", 181, 180, 4959, 4959, 5028, 5000},
        {"01.07.2025", "31.12.2025", 184, 180, 5041, 5041, 5111, 5000},
        {"01.01.2024", "30.06.2024", 182, 180, 4986, 4973, 5056, 5000},
        {"17.04.2025", "30.06.2025", 75, 74, 2055, 2055, 2083, 2056},
        {"01.02.2025", "28.02.2025", 28, 30, 767, 767, 778, 833},
        {"28.02.2025", "31.03.2025", 32, 33, 877, 877, 889, 917},
        {"31.01.2025", "31.01.2025", 1, 0, 27, 27, 28, 0},
        {"31.01.2025", "01.02.2025", 2, 1, 55, 55, 56, 28},
        {"01.12.2023", "31.01.2024", 62, 60, 1699, 1696, 1722, 1667},
        {"01.01.2023", "31.12.2025", 1096, 1080, 30027, 30000, 30444, 30000},
        {"02.05.2025", "01.05.2025", 0, 0, 0, 0, 0, 0},
    };
    for (const auto &c : cases) {
        const TPeriod period{day(c.from), day(c.to)};
        SCOPED_TRACE(std::string(c.from) + " - " + c.to);
        for (TDayCount count : {dcActual365, dcActualActual, dcActual360})
            EXPECT_EQ(PeriodDays(count, period), c.actual);
        EXPECT_EQ(PeriodDays(dc30360, period), c.days30);
        EXPECT_EQ(PeriodInterest(100000, 1000, dcActual365, period), c.act365);
        EXPECT_EQ(PeriodInterest(100000, 1000, dcActualActual, period), c.actAct);
        EXPECT_EQ(PeriodInterest(100000, 1000, dcActual360, period), c.act360);
        EXPECT_EQ(PeriodInterest(100000, 1000, dc30360, period), c.interest30);
    }
}

TEST(DefaultInterest, RoundsEachPartToTheCentHalvesAwayFromZero) {
    const TPeriod days75{day("17.04.2025"), day("30.06.2025")};
    const TPeriod year{day("01.01.2025"), day("31.12.2025")};
    const struct {
        TCents claim;
        TBasisPoints rate;
        TPeriod period;
        TCents interest;
    } cases[] = {
        {73000, 727, days75, 1091},
        {73000, -727, days75, -1091}, // 1090,5 cents exactly
        {72999, 727, days75, 1090},
        {50, 100, year, 1}, // 0,5 cents
        {149, 100, year, 1},
        {-50, 100, year, -1},
        // The largest claim over a century: no overflow.
        {MaxAmountCents, 2000, {day("01.01.1900"), day("31.12.1999")}, 2001315068493131},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PeriodInterest(c.claim, c.rate, dcActual365, c.period), c.interest)
            << c.claim << " at " << c.rate;
}

TEST(DefaultInterest, PerDayAtTheLastRate) {
    const struct {
        TDayCount count;
        const char *last;
        TCents perDay;
    } cases[] = {
        {dcActual365, "20.02.2026", 1718},
        {dc30360, "20.02.2026", 1742},
        {dcActualActual, "20.02.2026", 1718},
        {dcActualActual, "31.12.2027", 1713}, // the next day lies in 2028: / 366
    };
    TBaseRateTable table = ShippedBaseRates().MergedWith(
        {{day("01.01.2027"), 127, true}, {day("01.07.2027"), 127, true}});
    for (const auto &c : cases)
        EXPECT_EQ(calculate(10000000, "17.04.2025", c.last, Consumer, c.count, table).PerDay,
                  c.perDay)
            << c.count << " " << c.last;
}

TEST(DefaultInterest, RefusesBadInputWithAGermanMessage) {
    const TRateRule fixed5{rkCommercial, false, 0};
    const struct {
        TCents claim;
        const char *first, *last;
        TRateRule rule;
        bool flatFee;
        TEngineErrorCode code;
        const char *message; // a part of it
    } cases[] = {
        {0, "01.01.2025", "31.01.2025", Consumer, false, ecClaim, "größer als 0,00 €"},
        {MaxAmountCents + 1, "01.01.2025", "31.01.2025", Consumer, false, ecClaim,
         "Die Forderung ist zu groß."},
        {-1, "01.01.2025", "31.01.2025", Consumer, false, ecClaim, "größer als 0,00 €"},
        {100, "01.02.2025", "31.01.2025", Consumer, false, ecDates,
         "Der letzte Zinstag (31.01.2025) liegt vor dem ersten Zinstag (01.02.2025)."},
        {100, "31.12.2001", "31.01.2002", Consumer, false, ecNoBaseRate, "vor dem 01.01.2002"},
        {100, "01.01.2025", "31.01.2025", TRateRule{rkFixed, false, 10001}, false, ecRate,
         "100,01 %"},
        {100, "01.01.2025", "31.01.2025", TRateRule{rkMargin, false, -1}, false, ecRate, "-0,01 %"},
        {100, "01.01.2025", "31.01.2025", Consumer, true, ecFlatFee, "§ 288 Abs. 5 BGB"},
        {100, "01.01.2014", "31.01.2014", TRateRule{rkNoConsumer, true, 0}, true, ecFlatFee,
         "nach dem 28.07.2014"},
        {100, "01.07.2026", "01.01.2027", Consumer, false, ecMissingHalfYear,
         "Für das Halbjahr ab 01.01.2027 ist kein Basiszinssatz bekannt (die Basiszinssätze "
         "reichen bis 31.12.2026)."},
    };
    for (const auto &c : cases) {
        const TDefaultInterest result = CalculateDefaultInterest(
            {c.claim, day(c.first), day(c.last), c.rule, dcActual365, c.flatFee},
            ShippedBaseRates());
        EXPECT_EQ(result.Error.Code, c.code) << c.message;
        EXPECT_TRUE(ErrorText(result.Error).contains(QString::fromUtf8(c.message)))
            << ErrorText(result.Error).toStdString();
        EXPECT_TRUE(result.Rows.empty()) << c.message;
        EXPECT_EQ(result.Interest, 0) << c.message;
    }
    EXPECT_EQ(ErrorText(calculate(100, "01.01.2025", "31.01.2025", Consumer, dcActual365,
                                  TBaseRateTable())
                            .Error),
              "Für das Halbjahr ab 01.01.2025 ist kein Basiszinssatz bekannt. Bitte den "
              "Basiszinssatz ergänzen oder einen früheren letzten Zinstag wählen.");
    // Dates before 2002 need no base rate under a fixed rate.
    expectRows(calculate(100000, "01.01.2001", "31.12.2001", fixed5),
               {{"01.01.2001", "31.12.2001", 365, 500, 5000}});
}

TEST(DefaultInterest, MissingHalfYearNamesItAndAUserRateFillsIt) {
    const TDefaultInterest refused = calculate(100000, "01.12.2026", "31.03.2027", Consumer);
    EXPECT_EQ(refused.Error.HalfYear, day("01.01.2027"));
    const TBaseRateTable table = ShippedBaseRates().MergedWith({{day("01.01.2027"), 200, true}});
    const TDefaultInterest result =
        calculate(100000, "01.12.2026", "31.03.2027", Consumer, dcActual365, table);
    expectRows(result, {{"01.12.2026", "31.12.2026", 31, 652, 554},
                        {"01.01.2027", "31.03.2027", 90, 700, 1726}});
    EXPECT_FALSE(result.Rows[0].UserBaseRate);
    EXPECT_TRUE(result.Rows[1].UserBaseRate);
    // A gap after the user's rate is refused as well, never bridged by an earlier rate.
    const TBaseRateTable gap = table.MergedWith({{day("01.01.2028"), 200, true}});
    EXPECT_EQ(
        calculate(100000, "01.12.2026", "31.01.2028", Consumer, dcActual365, gap).Error.HalfYear,
        day("01.07.2027"));
}

TEST(DefaultInterest, RuleHelpers) {
    EXPECT_TRUE(ClaimBefore29072014Preset(day("29.07.2014")));
    EXPECT_FALSE(ClaimBefore29072014Preset(day("30.07.2014")));
    EXPECT_EQ(MarginOf({rkNoConsumer, true, 0}), 800);
    EXPECT_EQ(MarginOf({rkNoConsumer, false, 0}), 900);
    EXPECT_TRUE(FlatFeeOffered(Business));
    const TDefaultInterest withFee = CalculateDefaultInterest(
        {100000, day("01.01.2025"), day("31.01.2025"), Business, dc30360, true},
        ShippedBaseRates());
    EXPECT_EQ(withFee.FlatFee, 4000);
    EXPECT_EQ(withFee.Total, 100000 + withFee.Interest + 4000);
}

TEST(DefaultInterest, ReadsTypedRates) {
    const struct {
        const char *text;
        TBasisPoints rate; // -1: refused
    } cases[] = {
        {"4,5", 450},  {" 12 % ", 1200}, {"0.75", 75}, {",5", 50},     {"100", 10000}, {"vier", -1},
        {"4,567", -1}, {"1.234,5", -1},  {"", -1},     {"100,01", -1}, {"-1", -1},     {"4,", -1},
    };
    for (const auto &c : cases) {
        TBasisPoints rate = -1;
        const TEngineError error = ReadTypedRate(QString::fromUtf8(c.text), rate);
        EXPECT_EQ(rate, c.rate) << c.text;
        EXPECT_EQ(error.Code, c.rate < 0 ? ecRate : ecNone) << c.text;
    }
    TBasisPoints rate = 0;
    EXPECT_EQ(ErrorText(ReadTypedRate(QStringLiteral("abc"), rate)),
              "„abc“ ist kein Zinssatz; erwartet wird eine Zahl mit höchstens zwei "
              "Nachkommastellen, etwa 4,5.");
}

namespace {

const TRateRule AtBusiness{rkNoConsumer, false, 0, false};
const TRateRule AtOldBusiness{rkNoConsumer, false, 0, true};
const TRateRule Statutory{rkStatutory, false, 0};

TDefaultInterest calculateUnder(TLaw law, TCents claim, const char *first, const char *last,
                                TRateRule rule, TDayCount count = dcActual365,
                                bool flatFee = false) {
    TDefaultInterestInput input{claim, day(first), day(last), rule, count, flatFee};
    input.Law = law;
    return CalculateDefaultInterest(input, ShippedBaseRates());
}

} // namespace

// Published Austrian figures, taggenau with both days counted. The base rate changed on
// 09.07.2008 and on 21.06.2023, yet each half-year keeps one rate; 2013 under § 456 UGB and
// under the earlier law; a margin over a negative base rate earns nothing.
TEST(DefaultInterest, AustrianWorkedCases) {
    const struct {
        const char *first, *last;
        TRateRule rule;
        std::vector<Row> rows;
        TCents total;
    } cases[] = {
        {"01.01.2023",
         "31.12.2023",
         AtBusiness,
         {{"01.01.2023", "30.06.2023", 181, 1108, 54945},
          {"01.07.2023", "31.12.2023", 184, 1258, 63417}},
         118362},
        {"01.07.2008",
         "31.12.2008",
         AtOldBusiness,
         {{"01.07.2008", "31.12.2008", 184, 1119, 56410}},
         56410},
        {"18.03.2013",
         "31.12.2013",
         AtBusiness,
         {{"18.03.2013", "30.06.2013", 105, 958, 27559},
          {"01.07.2013", "31.12.2013", 184, 908, 45773}},
         73332},
        {"18.03.2013",
         "31.12.2013",
         AtOldBusiness,
         {{"18.03.2013", "30.06.2013", 105, 838, 24107},
          {"01.07.2013", "31.12.2013", 184, 788, 39724}},
         63831},
        {"01.01.2017",
         "30.06.2017",
         TRateRule{rkMargin, false, 50},
         {{"01.01.2017", "30.06.2017", 181, 0, 0}},
         0},
        {"01.01.2024",
         "31.12.2024",
         Statutory,
         {{"01.01.2024", "31.12.2024", 366, 400, 40110}},
         40110},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.first);
        const TDefaultInterest result = calculateUnder(lwAustria, 1000000, c.first, c.last, c.rule);
        expectRows(result, c.rows);
        EXPECT_EQ(result.Interest, c.total);
    }
    const TDefaultInterest floor =
        calculateUnder(lwAustria, 1000000, "01.01.2017", "30.06.2017", {rkMargin, false, 50});
    EXPECT_EQ(floor.Rows[0].BaseRate, -62);
    EXPECT_EQ(floor.PerDay, 0);
    // § 458 UGB: € 40 for a business transaction under § 456 UGB.
    const TDefaultInterest fee = calculateUnder(lwAustria, 1000000, "01.01.2023", "31.12.2023",
                                                AtBusiness, dcActual365, true);
    EXPECT_EQ(fee.FlatFee, 4000);
    EXPECT_EQ(fee.Total, 1000000 + 118362 + 4000);
    EXPECT_TRUE(ContractBefore16032013Preset(day("16.03.2013")));
    EXPECT_FALSE(ContractBefore16032013Preset(day("17.03.2013")));
}

// CHF 10'000 at 5 % (Art. 104 Abs. 1 OR): the published 41.67, 125.00 and 506.94 for 30, 90
// and 365 actual days over 360; 500.00 for the year by Swiss usance.
TEST(DefaultInterest, SwissWorkedCases) {
    const struct {
        const char *last;
        TDayCount count;
        quint32 days;
        TCents interest;
    } cases[] = {
        {"30.01.2025", dcActual360, 30, 4167},
        {"31.03.2025", dcActual360, 90, 12500},
        {"31.12.2025", dcActual360, 365, 50694},
        {"31.12.2025", dc30360Swiss, 360, 50000},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.last);
        const TDefaultInterest result =
            calculateUnder(lwSwitzerland, 1000000, "01.01.2025", c.last, Statutory, c.count);
        expectRows(result, {{"01.01.2025", c.last, c.days, 500, c.interest}});
        EXPECT_EQ(result.PerDay, 139);
    }
}

// Swiss usance against the German 30/360: both count every month as 30 days and the 31st as
// nothing; only a part ending on the last day of February differs (CHF 10'000 at 5 %).
TEST(DefaultInterest, SwissUsance) {
    const struct {
        const char *from, *to;
        quint32 swiss, german;
        TCents interest;
    } cases[] = {
        {"01.01.2025", "31.01.2025", 30, 30, 4167}, {"01.03.2025", "31.03.2025", 30, 30, 4167},
        {"15.01.2025", "15.03.2025", 61, 61, 8472}, {"15.12.2024", "14.03.2025", 90, 90, 12500},
        {"01.02.2025", "28.02.2025", 28, 30, 3889}, {"01.02.2024", "29.02.2024", 29, 30, 4028},
        {"01.02.2024", "28.02.2024", 28, 30, 3889}, {"31.01.2025", "31.03.2025", 60, 60, 8333},
        {"28.02.2025", "31.03.2025", 33, 33, 4583}, {"31.01.2025", "31.01.2025", 0, 0, 0},
        {"30.01.2025", "31.01.2025", 1, 1, 139},    {"01.01.2025", "31.12.2025", 360, 360, 50000},
    };
    for (const auto &c : cases) {
        const TPeriod period{day(c.from), day(c.to)};
        SCOPED_TRACE(std::string(c.from) + " - " + c.to);
        EXPECT_EQ(PeriodDays(dc30360Swiss, period), c.swiss);
        EXPECT_EQ(PeriodDays(dc30360, period), c.german);
        EXPECT_EQ(PeriodInterest(1000000, 500, dc30360Swiss, period), c.interest);
    }
    EXPECT_EQ(YearDaysAfter(dc30360Swiss, day("31.12.2025")), 360);
}

// What a law does not offer is refused before anything is calculated.
TEST(DefaultInterest, RefusesWhatTheLawDoesNotOffer) {
    const struct {
        TLaw law;
        const char *first, *last;
        TRateRule rule;
        TDayCount count;
        bool flatFee;
        TEngineErrorCode code;
        const char *message; // a part of it
    } cases[] = {
        {lwGermany, "01.01.2025", "31.01.2025", Consumer, dc30360Swiss, false, ecDayCount,
         "nur nach Schweizer Recht"},
        {lwSwitzerland, "01.01.2025", "31.01.2025", Statutory, dcActualActual, false, ecDayCount,
         "30/360 nach Schweizer Usanz, act/360 und act/365"},
        {lwSwitzerland, "01.01.2025", "31.01.2025", Business, dc30360Swiss, false, ecRule,
         "Art. 104 Abs. 1 OR"},
        {lwSwitzerland, "01.01.2025", "31.01.2025", Statutory, dc30360Swiss, true, ecFlatFee,
         "keine Pauschale"},
        {lwAustria, "01.01.2025", "31.01.2025", Consumer, dcActual365, false, ecRule,
         "§ 1000 Abs. 1 ABGB"},
        {lwAustria, "01.01.2025", "31.01.2025", TRateRule{rkCommercial, false, 0}, dcActual365,
         false, ecRule, "nur nach deutschem Recht"},
        {lwAustria, "15.03.2013", "31.03.2013", AtBusiness, dcActual365, false, ecRule,
         "Zinsen ab dem 15.03.2013 stammen aus einem früheren Vertrag"},
        {lwAustria, "31.07.2002", "31.12.2002", AtOldBusiness, dcActual365, false, ecNoBaseRate,
         "erst ab dem 01.08.2002 (§ 1333 Abs. 2 ABGB)"},
        {lwAustria, "31.12.2001", "31.01.2002", TRateRule{rkMargin, false, 500}, dcActual365, false,
         ecNoBaseRate, "Oesterreichischen Nationalbank"},
        {lwAustria, "01.01.2012", "31.01.2012", AtOldBusiness, dcActual365, true, ecFlatFee,
         "§ 458 UGB"},
        {lwAustria, "01.07.2026", "01.01.2027", AtBusiness, dcActual365, false, ecMissingHalfYear,
         "Für das Halbjahr ab 01.01.2027 ist kein Basiszinssatz bekannt (die Basiszinssätze "
         "reichen bis 31.12.2026)."},
        {lwAustria, "01.07.2026", "01.01.2027", AtOldBusiness, dcActual365, false,
         ecMissingHalfYear, "ab 01.01.2027"},
        {lwGermany, "01.01.2025", "31.01.2025", Consumer, TDayCount(9), false, ecDayCount,
         "Die gewählte Tageszählung gibt es nicht."},
        {lwGermany, "01.01.2025", "31.01.2025", TRateRule{TRateKind(9)}, dcActual365, false, ecRule,
         "Die gewählte Zinsregel gibt es nicht."},
    };
    for (const auto &c : cases) {
        const TDefaultInterest result =
            calculateUnder(c.law, 100000, c.first, c.last, c.rule, c.count, c.flatFee);
        EXPECT_EQ(result.Error.Code, c.code) << c.message;
        EXPECT_TRUE(ErrorText(result.Error).contains(QString::fromUtf8(c.message)))
            << ErrorText(result.Error).toStdString();
        EXPECT_TRUE(result.Rows.empty()) << c.message;
    }
}
