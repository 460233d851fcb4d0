#include "platform/base/exceptions.h"
#include "platform/base/fixedpoint.h"
#include "platform/base/numtext.h"
#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

struct PatternCase {
    const char *pattern;
    long double value;
    const char *expected;
};

} // namespace

TEST(FormatFloat, FollowsThePatternRules) {
    GermanLocale de;
    const PatternCase cases[] = {
        {",0.00;-,0.00", 0, "0,00"},
        {",0.00;-,0.00", 1234.5L, "1.234,50"},
        {",0.00;-,0.00", -1234.5L, "-1.234,50"},
        {",0.00;-,0.00", 1234567.891L, "1.234.567,89"},
        {",0.00;-,0.00", 999.995L, "1.000,00"}, // the carry opens a new group
        {",0.00;-,0.00", -0.001L, "0,00"},      // what shows as zero has no sign
        {"0.##", 1234.5L, "1234,5"},
        {"0.##", 10, "10"},
        {"0.##", -3, "-3"},
        {"0.##", 0.125L, "0,13"},
        {"#.##", 0.5L, ",5"},
        {"000", 7, "007"},
        {"0", 2.5L, "3"},
        {"0.00;(0.00);'null'", -3, "(3,00)"},
        {"0.00;(0.00);'null'", 0, "null"},
        {"0.00;(0.00);'null'", -0.001L, "null"},
        {"0.00;", -2, "-2,00"}, // an empty section falls back to the first
        {"#,##0.00 'EUR'", 1234.5L, "1.234,50 EUR"},
        {"\"0;#.,\"0", 5, "0;#.,5"},
        {"", 2.5L, "2,5"},
    };
    for (const PatternCase &c : cases)
        EXPECT_EQ(FormatFloat(QString::fromUtf8(c.pattern), c.value), QString::fromUtf8(c.expected))
            << c.pattern << " " << double(c.value);
}

TEST(FormatFixed2, RoundsTo18DigitsThenHalvesAwayFromZero) {
    GermanLocale de;
    const struct {
        long double value;
        const char *expected;
    } cases[] = {
        {0, "0,00"},
        {0.125L, "0,13"},
        {2.675L, "2,68"},
        {2.675, "2,67"}, // the double lies below the half even after 18 digits
        {-0.005L, "-0,01"},
        {-0.004L, "0,00"},
        {-1234.5L, "-1234,50"},
        {1e6L, "1000000,00"},
        // Just below the half; 18 significant digits lift it onto the half.
        {std::nextafter(0.125L, 0.0L), "0,13"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatFixed2(c.value), QString::fromUtf8(c.expected)) << double(c.value);
}

TEST(FormatFixed2, UsesTheLocaleDecimalSeparator) {
    PinnedSettings us(AmericanSettings());
    EXPECT_EQ(FormatFixed2(1234.5L), "1234.50");
}

TEST(FormatFixed, GivesTheDecimalsAskedFor) {
    GermanLocale de;
    const struct {
        long double value;
        unsigned decimals;
        const char *expected;
    } cases[] = {{1, 2, "1,00"},
                 {100, 2, "100,00"},
                 {1234.5L, 3, "1234,500"},
                 {2.5L, 0, "3"},
                 {-0.004L, 2, "0,00"},
                 {-7.125L, 2, "-7,13"},
                 {1e20L, 1, "100000000000000000000,0"}};
    for (const auto &c : cases)
        EXPECT_EQ(FormatFixed(c.value, c.decimals), c.expected) << double(c.value);
}

// The fixed text is written without the pattern machinery; it must say what the pattern says.
TEST(FormatFixed, SaysWhatTheZeroPatternSays) {
    GermanLocale de;
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> magnitude(-12, 12);
    for (int i = 0; i < 20000; ++i) {
        const long double sign = random() % 2 ? 1 : -1;
        const long double value =
            sign * std::pow(10.0L, magnitude(random)) * (random() % 7 + 1) / 8;
        const unsigned decimals = unsigned(random() % 4);
        const QString pattern = decimals ? "0." + QString(decimals, u'0') : QStringLiteral("0");
        ASSERT_EQ(FormatFixed(value, decimals), FormatFloat(pattern, value))
            << double(value) << " " << decimals;
    }
    using limits = std::numeric_limits<long double>;
    for (long double special :
         {0.0L, -0.0L, limits::infinity(), -limits::infinity(), limits::quiet_NaN()})
        EXPECT_EQ(FormatFixed2(special), FormatFloat("0.00", special)) << double(special);
}

// The hundredths come by a short way unless the value lies near a half hundredth; either way
// they must be the digits the exact decimal text rounds to: at halves, a hair beside them (where
// the eighteenth digit decides), at random, both signs, from tiny to sixteen whole digits.
TEST(RoundedHundredths, AgreesWithTheExactDigits) {
    GermanLocale de;
    std::mt19937_64 random(20261208);
    std::vector<long double> values{0.125L, 2.675L, 2.675, 0.005L, 0.015L, 1.005L, 1e-30L, 0.0L};
    for (int i = 0; i < 20000; ++i) {
        const long double cents =
            std::pow(10.0L, static_cast<long double>(random() % 16)) * (random() % 1000);
        const long double half = (std::floor(cents) + 0.5L) / 100;
        values.push_back(half);
        values.push_back(std::nextafter(half, 0.0L));
        values.push_back(std::nextafter(half, 1e30L));
        values.push_back(half * (1 - static_cast<long double>(random() % 20) * 1e-18L));
        values.push_back(half * (1 + static_cast<long double>(random() % 20) * 1e-18L));
        values.push_back(cents / 100 * (random() % 997) / 991);
    }
    for (const long double magnitude : values)
        for (const long double value : {magnitude, -magnitude}) {
            const std::optional<qint64> hundredths = RoundedHundredths(value);
            if (!hundredths) continue; // beyond sixteen whole digits
            ASSERT_EQ(HundredthsText(*hundredths, u','), FormatFixed(value, 2)) << double(value);
        }
}

TEST(FloatToStr, GivesUpTo15SignificantDigits) {
    GermanLocale de;
    EXPECT_EQ(FloatToStr(2.5), "2,5");
    EXPECT_EQ(FloatToStr(1234), "1234");
    EXPECT_EQ(FloatToStr(0.1), "0,1");
    EXPECT_EQ(FloatToStr(-0.00001), "-0,00001");
    EXPECT_EQ(FloatToStr(1e20), "1E+20");
    EXPECT_EQ(FloatToStr(1e-7), "1E-7");
    EXPECT_EQ(FloatToStr(123456789012345678.0), "1,23456789012346E+17");
    EXPECT_EQ(StrToFloat(FloatToStr(1e20)), 1e20L);
}

TEST(StrToFloat, ReadsLocaleNumbers) {
    GermanLocale de;
    EXPECT_EQ(StrToFloat("2,5"), 2.5L);
    EXPECT_EQ(StrToFloat(" -1,5e3 "), -1500.0L);
    EXPECT_EQ(StrToFloat("+3"), 3.0L);
    EXPECT_EQ(StrToFloat(",5"), 0.5L);
    EXPECT_EQ(StrToFloat("5,"), 5.0L);
    EXPECT_EQ(StrToFloat("0,1"), 0.1L); // in extended precision, not via double
}

TEST(StrToFloat, RejectsWithTheGermanMessage) {
    GermanLocale de;
    for (const char *text : {"2.5", "", "-", "1e", "1,000,5", "1.000,5", "abc", "1e99999", "nan"})
        EXPECT_EQ(ErrorOf<EConvertError>([&] { StrToFloat(QString::fromUtf8(text)); }),
                  QStringLiteral("'%1' ist kein gültiger Gleitkommawert").arg(text));
}

TEST(TryStrToFloat, LeavesTheValueAloneOnFailure) {
    GermanLocale de;
    long double value = 7;
    EXPECT_FALSE(TryStrToFloat("1e99999", value));
    EXPECT_FALSE(TryStrToFloat("-1e99999", value));
    EXPECT_EQ(value, 7.0L);
    EXPECT_TRUE(TryStrToFloat("1e4000", value)); // within extended precision
    EXPECT_TRUE(std::isfinite(value));
}

TEST(StrToInt, ReadsThe32BitRange) {
    EXPECT_EQ(StrToInt("20"), 20);
    EXPECT_EQ(StrToInt(" +7 "), 7);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    for (const char *text :
         {"2147483648", "-2147483649", "99999999999999999999", "TRUE", "1,5", "", "-", "1 2"})
        EXPECT_EQ(ErrorOf<EConvertError>([&] { StrToInt(QString::fromUtf8(text)); }),
                  QStringLiteral("'%1' ist kein gültiger Integerwert").arg(text));
}
