// Date-time text as the settings store and the variant write and read it.

#include "dates/datetimetext.h"
#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

TEST(DateTimeText, WritesAndReadsTheLocaleForm) {
    GermanLocale de;
    PinnedClock clock;
    EXPECT_EQ(DateTimeToStr(38474), "02.05.2005");
    EXPECT_EQ(DateTimeToStr(38474.75), "02.05.2005 18:00:00");
    EXPECT_EQ(DateTimeToStr(0), "30.12.1899");
    EXPECT_EQ(DateTimeToStr(-1.25), "29.12.1899 06:00:00");
    EXPECT_EQ(StrToDateTime("02.05.2005"), 38474);
    EXPECT_EQ(StrToDateTime("2.5.05"), 38474);
    // Two-digit years fall in the date fields' window, 1945..2044 in 2005; two numbers take
    // the current year.
    EXPECT_EQ(StrToDateTime("1.1.45"), StrToDateTime("01.01.1945"));
    EXPECT_EQ(StrToDateTime("31.12.44"), StrToDateTime("31.12.2044"));
    EXPECT_EQ(StrToDateTime("02.05"), 38474);
    EXPECT_EQ(StrToDateTime("02.05.2005 18:00"), 38474.75);
    for (double serial : {38474.75, -1.25, 2958465.5, -693593.0})
        EXPECT_EQ(StrToDateTime(DateTimeToStr(serial)), serial) << serial;
}

TEST(DateTimeText, FollowsTheLocaleOrderAndClock) {
    PinnedSettings us(AmericanSettings());
    PinnedClock clock;
    EXPECT_EQ(DateTimeToStr(38474.75), "5/2/05 6:00:00 PM");
    EXPECT_EQ(StrToDateTime("5/2/05 6:00:00 PM"), 38474.75);
    EXPECT_EQ(StrToDateTime("5/2/2005 12:00 am"), 38474);
}

TEST(DateTimeText, RejectsWithTheGermanMessage) {
    GermanLocale de;
    for (const char *text :
         {"31.02.2005", "02", "x", "02.05.2005 25:00", "02.05.2005 x", "1.1.10000", "02/05/2005"})
        EXPECT_EQ(ErrorOf<EConvertError>([&] { StrToDateTime(QString::fromUtf8(text)); }),
                  QStringLiteral("'%1' ist keine gültige Datums- und Uhrzeitangabe").arg(text));
}
