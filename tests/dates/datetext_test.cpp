#include "dates/datetext.h"

#include "platform/base/exceptions.h"
#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

namespace {

struct Ymd {
    int y, m, d;
};

Ymd split(TDateTime serial) {
    quint16 y, m, d;
    SplitDateSerial(serial, y, m, d);
    return {y, m, d};
}

} // namespace

TEST(Calendar, LeapRules) {
    EXPECT_TRUE(LeapYear(2000));
    EXPECT_TRUE(LeapYear(2004));
    EXPECT_TRUE(LeapYear(400));
    EXPECT_FALSE(LeapYear(1900));
    EXPECT_FALSE(LeapYear(2100));
    EXPECT_FALSE(LeapYear(2005));
    EXPECT_EQ(MonthLength(2004, 2), 29);
    EXPECT_EQ(MonthLength(2005, 2), 28);
    EXPECT_FALSE(DatePartsValid(1900, 2, 29));
    EXPECT_FALSE(DatePartsValid(2100, 2, 29));
    EXPECT_TRUE(DatePartsValid(2000, 2, 29));
}

TEST(Calendar, InvalidPartsAreRejected) {
    EXPECT_FALSE(DatePartsValid(0, 1, 1));
    EXPECT_FALSE(DatePartsValid(10000, 1, 1));
    EXPECT_FALSE(DatePartsValid(2005, 0, 1));
    EXPECT_FALSE(DatePartsValid(2005, 13, 1));
    EXPECT_FALSE(DatePartsValid(2005, 4, 31));
    EXPECT_FALSE(DatePartsValid(2005, 1, 0));
    EXPECT_FALSE(DatePartsValid(static_cast<quint16>(-1), 1, 1));
    try {
        MakeDateSerial(2005, 2, 29);
        FAIL() << "no error raised";
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Ungültiges Argument zum Codieren des Datums"));
    }
}

TEST(Calendar, FixedSerials) {
    EXPECT_EQ(MakeDateSerial(1899, 12, 30), 0.0);
    EXPECT_EQ(MakeDateSerial(1899, 12, 31), 1.0);
    EXPECT_EQ(MakeDateSerial(1900, 1, 1), 2.0);
    EXPECT_EQ(MakeDateSerial(1, 1, 1), -693593.0);
    EXPECT_EQ(MakeDateSerial(9999, 12, 31), 2958465.0);
    EXPECT_EQ(MakeDateSerial(2005, 5, 2), 38474.0);
    EXPECT_EQ(MakeDateSerial(2000, 3, 1), 36586.0);
}

TEST(Calendar, SplitOutsideTheRangeGivesZeros) {
    for (TDateTime s : {-693594.0, -1e9, 2958466.0, 1e300, std::nan("")}) {
        const Ymd p = split(s);
        EXPECT_EQ(p.y, 0) << s;
        EXPECT_EQ(p.m, 0) << s;
        EXPECT_EQ(p.d, 0) << s;
    }
    EXPECT_FALSE(SerialDateValid(-693594));
    EXPECT_FALSE(SerialDateValid(2958466));
    EXPECT_FALSE(SerialDateValid(1e300));
    EXPECT_TRUE(SerialDateValid(0));
    EXPECT_TRUE(SerialDateValid(-693593));
    EXPECT_TRUE(SerialDateValid(2958465.75));
}

TEST(Calendar, SplitUsesTheWholeDayRoundedToTheMillisecond) {
    const Ymd noon = split(38474.5);
    EXPECT_EQ(noon.y * 10000 + noon.m * 100 + noon.d, 20050502);
    const Ymd beforeMidnight = split(38474.9999999999);
    EXPECT_EQ(beforeMidnight.d, 3);
    const Ymd earlyMorningBefore1900 = split(-0.25); // whole day 0 (truncated toward zero)
    EXPECT_EQ(earlyMorningBefore1900.y * 10000 + earlyMorningBefore1900.m * 100 +
                  earlyMorningBefore1900.d,
              18991230);
}

// Every day of the range: the serial splits into the next calendar date after the one before,
// builds back to itself, and the weekday steps through the week.
TEST(Calendar, EveryDayOfTheRangeRoundTrips) {
    int y = 1, m = 1, d = 1;
    int weekday = WeekdayNumber(MinDateSerial);
    EXPECT_EQ(weekday, 2); // 0001-01-01 was a Monday
    for (int s = -693593; s <= 2958465; ++s) {
        quint16 sy, sm, sd;
        SplitDateSerial(s, sy, sm, sd);
        ASSERT_TRUE(sy == y && sm == m && sd == d)
            << "serial " << s << " split into " << sy << "-" << sm << "-" << sd << ", expected "
            << y << "-" << m << "-" << d;
        ASSERT_EQ(MakeDateSerial(sy, sm, sd), s);
        ASSERT_EQ(WeekdayNumber(s), weekday) << s;
        weekday = weekday % 7 + 1;
        if (++d > MonthLength(y, m)) {
            d = 1;
            if (++m > 12) {
                m = 1;
                ++y;
            }
        }
    }
    EXPECT_EQ(y, 10000);
}

TEST(Calendar, Weekdays) {
    EXPECT_EQ(WeekdayNumber(0), 7);     // Saturday
    EXPECT_EQ(WeekdayNumber(38474), 2); // 2 May 2005, a Monday
    EXPECT_EQ(WeekdayNumber(38474.99), 2);
}

TEST(Calendar, CurrentDateFollowsTheClock) {
    PinnedClock clock(QDateTime(QDate(2005, 5, 2), QTime(18, 0)));
    EXPECT_EQ(CurrentDateSerial(), 38474.0);
    EXPECT_DOUBLE_EQ(CurrentDateTimeSerial(), 38474.75);
    EXPECT_EQ(CurrentLocalYear(), 2005);
}

namespace {

const QString DayFirst = QStringLiteral("DD/MM/YYYY");

// German settings and the clock in 2005.
class DateText : public ::testing::Test {
protected:
    GermanLocale locale;
    PinnedClock clock;
};

TDateTime parsed(const QString &format, const QString &text) {
    TDateTime date = -1;
    EXPECT_TRUE(TryParseDate(format, text, date)) << text.toStdString();
    return date;
}

TFormatSettings withShortDateFormat(const QString &format, QChar separator) {
    TFormatSettings s = TFormatSettings::German();
    s.ShortDateFormat = format;
    s.DateSeparator = separator;
    return s;
}

} // namespace

TEST_F(DateText, GermanTextsReadAsTheSameDay) {
    const TDateTime may2 = MakeDateSerial(2005, 5, 2);
    for (const char *text : {"02.05.2005", "2.5.05", "2.5", " 2 . 5 . 2005 ", "  02 .05.  05",
                             "02.05.2005.", "02.05.2005. ", "0002.0005.2005", "02.05.2005   ",
                             // laid out like the masked field: read by position
                             "2 .5 .05  ", "02.05.2005"})
        EXPECT_EQ(parsed(DayFirst, QString::fromUtf8(text)), may2) << text;
}

TEST_F(DateText, TwoDigitYearsLandInTheCenturyWindow) {
    EXPECT_EQ(parsed(DayFirst, "2.5.45"), MakeDateSerial(1945, 5, 2));
    EXPECT_EQ(parsed(DayFirst, "2.5.44"), MakeDateSerial(2044, 5, 2));
    EXPECT_EQ(parsed(DayFirst, "2.5.00"), MakeDateSerial(2000, 5, 2));
    // Three or four digits are taken as they stand.
    EXPECT_EQ(parsed(DayFirst, "2.5.100"), MakeDateSerial(100, 5, 2));
    EXPECT_EQ(parsed(DayFirst, "2.5.0044"), MakeDateSerial(2044, 5, 2));
}

TEST_F(DateText, UnreadableTextsFail) {
    for (const char *text : {"2", "2.", "2.5.", "2.5.2005x", "31.04.2005", "29.02.2005",
                             "2.5.20055", "2/5/2005", "x2.5.2005", "2..5.2005", "2.5.2005..",
                             "  .  .    ", "02.05.    ", "0.5.2005", "2.13.2005", " "}) {
        TDateTime date = -1;
        EXPECT_FALSE(TryParseDate(DayFirst, QString::fromUtf8(text), date)) << text;
    }
}

TEST_F(DateText, ParseVariantsHandleFailureTheirOwnWay) {
    EXPECT_EQ(parsed(DayFirst, ""), EmptyDate);
    EXPECT_EQ(ParseDate(DayFirst, "1.5"), MakeDateSerial(2005, 5, 1));
    EXPECT_EQ(ParseDateOr(DayFirst, "  .  .    ", 38000.75), 38000.0);
    EXPECT_EQ(ParseDateOr(DayFirst, "", 38000.75), EmptyDate);
    EXPECT_EQ(ParseDateOr(DayFirst, "3.5.2005", 38000.75), 38475.0);
    try {
        ParseDate(DayFirst, "31.04.2005");
        FAIL() << "no error raised";
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("''31.04.2005'' ist kein gültiges Datum"));
    }
    EXPECT_EQ(DateOr(EmptyDate, 5.5), 5.5);
    EXPECT_EQ(DateOr(0.25, 5.5), 0.25); // a time on 30.12.1899 is a date that is set
    EXPECT_EQ(DateOr(38474, 5.5), 38474.0);
}

TEST(DateTextOrders, MonthFirstAndYearFirstLocales) {
    PinnedClock clock;
    {
        PinnedSettings us(withShortDateFormat("M/d/yyyy", u'/'));
        EXPECT_EQ(parsed("MM/DD/YYYY", "5/2/2005"), 38474.0);
        EXPECT_EQ(parsed("MM/DD/YYYY", "5/2"), 38474.0);
        EXPECT_EQ(parsed("MM/DD/YYYY", "05/02/05"), 38474.0);
    }
    {
        PinnedSettings iso(withShortDateFormat("yyyy-MM-dd", u'-'));
        EXPECT_EQ(parsed("YYYY/MM/DD", "2005-5-2"), 38474.0);
        EXPECT_EQ(parsed("YYYY/MM/DD", "5-2"), 38474.0);
        EXPECT_EQ(parsed("YYYY/MM/DD", "05-05-02"), 38474.0);
        EXPECT_EQ(parsed("YYYY/MM/DD", "2005-05-02"), 38474.0);
    }
}

TEST(DateTextYears, WidenYearWindows) {
    struct Case {
        int clockYear, year, widened;
    } cases[] = {
        {2005, 5, 2005},    {2005, 45, 1945}, {2005, 44, 2044}, {2005, 0, 2000},  {2005, 99, 1999},
        {2026, 66, 1966},   {2026, 65, 2065}, {2026, 0, 2000},  {2026, 99, 1999}, {2026, 100, 100},
        {2026, 1999, 1999}, {2005, -1, -1},   {2060, 0, 2000},  {2061, 0, 2100},  {2059, 99, 1999},
    };
    for (const Case &c : cases) {
        PinnedClock clock(QDateTime(QDate(c.clockYear, 6, 1), QTime(12, 0)));
        EXPECT_EQ(WidenYear(c.year), c.widened) << c.clockYear << " " << c.year;
    }
}

TEST(MaskedField, ReadsThePositionsOfTheLetter) {
    struct Case {
        const char *text;
        QChar letter;
        int expected;
    } cases[] = {
        {"1 /5 /05  ", u'D', 1},  {"1 /5 /05  ", u'M', 5},    {"1 /5 /05  ", u'Y', 5},
        {"  /  /    ", u'D', -2}, {"02/05/2005", u'Y', 2005}, {"02/05", u'Y', -2},
        {"02/05/20", u'Y', 20},   {"0x/05/2005", u'D', -1},   {"02/05/2005x", u'D', 99},
        {"02/05/2005", u'Q', 99}, {" 2/05/2005", u'D', 2},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ExtractMaskedField("DD/MM/YYYY", c.text, c.letter, 99, -2), c.expected)
            << c.text << " " << c.letter.toLatin1();
    // Lower-case letters in the format count; only the first run is read.
    EXPECT_EQ(ExtractMaskedField("dd d", "12 3", u'D', 99, -2), 12);
    EXPECT_EQ(ExtractMaskedField("DDDDDDDDDDDDDDDDDDDDDD", "9999999999999999999999", u'D', 99, -2),
              -1);
}

TEST_F(DateText, MaskedTextWithoutYearIsNoDate) {
    // A blank year field is not year -1 widened into the window.
    quint16 d, m, y;
    EXPECT_FALSE(ScanDateText(DayFirst, "02.05.    ", d, m, y));
    EXPECT_TRUE(ScanDateText(DayFirst, "02.05.5   ", d, m, y));
    EXPECT_EQ(y, 2005);
}

TEST_F(DateText, SeparatorScanReportsWhereItStopped) {
    quint16 y, m, d;
    qsizetype position = 3;
    EXPECT_TRUE(ScanDateBySeparators("ab 2.5.2005 ", DayFirst, position, y, m, d));
    EXPECT_EQ(position, 12);
    EXPECT_EQ(y * 10000 + m * 100 + d, 20050502);
    position = 0;
    EXPECT_FALSE(ScanDateBySeparators("2.5.20055", DayFirst, position, y, m, d));
    EXPECT_EQ(position, 8);
}

TEST(DateTextLocales, EraAndWeekdayNamesAreSkipped) {
    PinnedClock clock;
    TFormatSettings era = withShortDateFormat("gg yyyy/MM/dd", u'/');
    {
        PinnedSettings scope(era);
        EXPECT_EQ(parsed("YYYY/MM/DD", "AD 2005/5/2"), 38474.0);
    }
    TFormatSettings farEast = withShortDateFormat("yyyy/MM/dd ddd", u'/');
    farEast.FarEast = true;
    farEast.ShortTimeFormat = "tt h:mm";
    farEast.TimeAMString = "AM";
    farEast.TimePMString = "PM";
    {
        PinnedSettings scope(farEast);
        EXPECT_EQ(parsed("YYYY/MM/DD", "2005/5/2 Mon"), 38474.0);
        EXPECT_EQ(parsed("YYYY/MM/DD", "2005/5/2 Mon day"), 38474.0);
        TDateTime date;
        EXPECT_FALSE(TryParseDate("YYYY/MM/DD", "2005/5/2 Mon pm 3", date));
        farEast.FarEast = false;
        PinnedSettings notFarEast(farEast);
        EXPECT_FALSE(TryParseDate("YYYY/MM/DD", "2005/5/2 Mon", date));
    }
}

TEST(FieldFormat, FollowsTheLocaleOrder) {
    struct Case {
        const char *shortDate;
        const char *four, *two, *maskFour;
    } cases[] = {
        {"dd.MM.yyyy", "DD/MM/YYYY", "DD/MM/YY", "!99/99/9999;1;_"},
        {"M/d/yy", "MM/DD/YYYY", "MM/DD/YY", "!99/99/9999;1;_"},
        {"yyyy-MM-dd", "YYYY/MM/DD", "YY/MM/DD", "!9999/99/99;1;_"},
        {"ee/MM/dd", "YYYY/MM/DD", "YY/MM/DD", "!9999/99/99;1;_"},
        {"'x' M d", "MM/DD/YYYY", "MM/DD/YY", "!99/99/9999;1;_"},
        {"--", "DD/MM/YYYY", "DD/MM/YY", "!99/99/9999;1;_"},
    };
    for (const Case &c : cases) {
        PinnedSettings scope(withShortDateFormat(c.shortDate, u'.'));
        EXPECT_EQ(FieldDateFormat(true), c.four) << c.shortDate;
        EXPECT_EQ(FieldDateFormat(false), c.two) << c.shortDate;
        EXPECT_EQ(FieldDateMask(u'_', true), c.maskFour) << c.shortDate;
        EXPECT_EQ(FieldDateMask(u' ', false), "!99/99/99;1; ") << c.shortDate;
    }
}

TEST_F(DateText, FormatDateWritesTheElements) {
    const TDateTime may2 = MakeDateSerial(2005, 5, 2);
    EXPECT_EQ(FormatDate("DD/MM/YYYY", may2), "02.05.2005");
    EXPECT_EQ(FormatDate("dd/mm/yy", may2 + 0.9), "02.05.05");
    EXPECT_EQ(FormatDate("MMMM, YYYY", may2), QStringLiteral("Mai, 2005"));
    EXPECT_EQ(FormatDate("MMMM, YYYY", MakeDateSerial(2005, 3, 1)), QStringLiteral("März, 2005"));
    EXPECT_EQ(FormatDate("D.M.Y", MakeDateSerial(2009, 11, 30)), "30.11.09");
    EXPECT_EQ(FormatDate("YYYY/MM/DD", MakeDateSerial(7, 1, 9)), "0007.01.09");
    EXPECT_EQ(FormatDate("YY-MM-DD", MakeDateSerial(2000, 12, 31)), "00-12-31");
    // A month name on its own takes the form that stands alone, not the one inside a date.
    PinnedSettings polish(TFormatSettings::FromLocale(QLocale(QLocale::Polish)));
    EXPECT_EQ(FormatDate("MMMM YYYY", MakeDateSerial(2005, 1, 15)), QStringLiteral("styczeń 2005"));
}
