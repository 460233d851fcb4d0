#include "editors/dateutil.h"

#include "platform/exceptions.h"
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
