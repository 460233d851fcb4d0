#include "engine/interest.h"
#include "platform/base/numtext.h"
#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

namespace {

// "dd.mm.yyyy" as a serial, so that the tables read like the dates they stand for.
TDateTime date(const char *text) {
    const QStringList p = QString::fromLatin1(text).split(u'.');
    return MakeDateSerial(p[2].toUShort(), p[1].toUShort(), p[0].toUShort());
}

struct Result {
    quint32 days;
    const char *amount;
};

struct Shown {
    quint32 days;
    QString amount;
};

// The main window's sequence: days first, then the amount with those days, shown with two
// decimals.
Shown calculate(int code, const char *start, const char *end, long double principal,
                long double rate) {
    const quint32 days = InterestDays(code, date(start), date(end));
    return {days,
            FormatFixed2(InterestAmount(code, days, date(start), date(end), principal, rate))};
}

void expectResult(int code, const char *start, const char *end, long double principal,
                  long double rate, Result expected) {
    const Shown got = calculate(code, start, end, principal, rate);
    EXPECT_EQ(got.days, expected.days) << "code " << code << ", " << start << " - " << end;
    EXPECT_EQ(got.amount, expected.amount) << "code " << code << ", " << start << " - " << end;
}

} // namespace

TEST(Interest, WorkedExamples) {
    GermanLocale de;
    const struct {
        const char *start, *end;
        long double principal, rate;
        Result euro, deutsche, englische;
    } rows[] = {
        {"15.01.2005", "15.03.2005", 1000, 10, {59, "16,40"}, {60, "16,67"}, {59, "16,16"}},
        {"15.01.2005", "10.03.2005", 1000, 10, {54, "15,01"}, {55, "15,28"}, {54, "14,79"}},
        {"15.01.2005", "10.02.2005", 1000, 10, {26, "7,23"}, {25, "6,94"}, {26, "7,12"}},
        {"31.01.2005", "28.02.2005", 1000, 10, {28, "7,78"}, {29, "8,06"}, {28, "7,67"}},
        {"01.01.2004", "28.02.2004", 1000, 10, {58, "16,12"}, {59, "16,39"}, {58, "15,85"}},
        {"01.12.2005", "31.01.2006", 1000, 10, {61, "16,96"}, {60, "16,67"}, {61, "16,71"}},
        {"15.12.2003", "15.01.2004", 1000, 10, {31, "8,62"}, {30, "8,33"}, {31, "8,48"}},
        {"15.06.2003",
         "15.06.2006",
         1000,
         10,
         {1096, "304,65"},
         {1080, "300,00"},
         {1096, "300,00"}},
        {"02.05.2005", "01.05.2005", 1000, 10, {0, "0,00"}, {0, "0,00"}, {0, "0,00"}},
        {"01.01.2005", "02.05.2005", 2500, 7.5L, {121, "63,06"}, {121, "63,02"}, {121, "62,16"}},
        {"01.01.2005", "31.12.2005", 1000, 10, {364, "101,18"}, {360, "100,00"}, {364, "99,73"}},
        // One day in 2004, a leap year, and none in 2005.
        {"31.12.2004", "01.01.2005", 1000, 10, {1, "0,28"}, {0, "0,00"}, {1, "0,27"}},
        // Beyond 16 bits of days: the true count and amount.
        {"01.01.1800",
         "02.05.2005",
         1000,
         10,
         {74996, "20846,49"},
         {73921, "20533,61"},
         {74996, "20533,15"}},
    };
    for (const auto &r : rows) {
        expectResult(fcEuro, r.start, r.end, r.principal, r.rate, r.euro);
        expectResult(fcDeutsche, r.start, r.end, r.principal, r.rate, r.deutsche);
        expectResult(fcEnglische, r.start, r.end, r.principal, r.rate, r.englische);
    }
}

TEST(Interest, DeutscheCountsThirtyDayMonths) {
    const struct {
        const char *start, *end;
        quint32 days;
    } cases[] = {
        {"31.01.2005", "01.02.2005", 0}, // the start month's rest is -1
        {"30.01.2005", "01.02.2005", 1},
        {"28.02.2005", "28.02.2005", 2}, // the end's 28 February counts as the 30th
        {"29.02.2004", "29.02.2004", 1},
        {"28.02.2004", "29.02.2004", 2},
        {"01.03.2005", "31.03.2005", 30},
        {"28.02.2005", "31.03.2005", 33},
    };
    for (const auto &c : cases)
        EXPECT_EQ(InterestDays(fcDeutsche, date(c.start), date(c.end)), c.days)
            << c.start << " - " << c.end;
    for (int code : {fcEuro, fcEnglische}) {
        EXPECT_EQ(InterestDays(code, date("31.01.2005"), date("01.02.2005")), 1u);
        EXPECT_EQ(InterestDays(code, date("30.01.2005"), date("01.02.2005")), 2u);
        EXPECT_EQ(InterestDays(code, date("28.02.2005"), date("28.02.2005")), 0u);
    }
}

TEST(Interest, EndBeforeStartGivesNothingWhateverTheDays) {
    for (int code : {fcEuro, fcDeutsche, fcEnglische}) {
        EXPECT_EQ(InterestDays(code, date("02.05.2005"), date("01.05.2005")), 0u);
        EXPECT_EQ(InterestAmount(code, 30, date("02.05.2005"), date("01.05.2005"), 1000, 10), 0);
    }
}

TEST(Interest, UnknownCodesGiveNothing) {
    for (int code : {0, 4, -1, 65537}) {
        EXPECT_EQ(InterestDays(code, date("15.01.2005"), date("15.03.2005")), 0u) << code;
        EXPECT_EQ(InterestAmount(code, 59, date("15.01.2005"), date("15.03.2005"), 1000, 10), 0)
            << code;
    }
}

TEST(Interest, SignFollowsPrincipalAndRate) {
    GermanLocale de;
    for (int code : {fcEuro, fcDeutsche, fcEnglische}) {
        EXPECT_EQ(calculate(code, "15.01.2005", "15.03.2005", 0, 10).amount, "0,00");
        EXPECT_EQ(calculate(code, "15.01.2005", "15.03.2005", 1000, 0).amount, "0,00");
    }
    EXPECT_EQ(calculate(fcDeutsche, "15.01.2005", "15.03.2005", -1000, 10).amount, "-16,67");
    EXPECT_EQ(calculate(fcEnglische, "15.12.2003", "15.01.2004", 1000, -10).amount, "-8,48");
}

TEST(Interest, EnglischeWholeYearsGiveExactlyOneRateEach) {
    // Each whole year adds A × p / 100, leap year or not.
    EXPECT_EQ(InterestAmount(fcEnglische, 0, date("15.06.2003"), date("15.06.2006"), 1000, 10),
              300.0L);
    EXPECT_EQ(InterestAmount(fcEnglische, 0, date("01.01.2003"), date("01.01.2005"), 1000, 10),
              200.0L);
}
