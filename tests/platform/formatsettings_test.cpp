// The regional settings as the machine's real de_DE, en_US and C locales define them, and the
// date-time text that the settings store writes and reads back under each.

#include "platform/base/formatsettings.h"

#include "dates/dateserial.h"
#include "platform/core/variant.h"
#include "tests/support/fixtures.h"
#include "tests/support/reallocale.h"

#include <gtest/gtest.h>

namespace {

struct Expected {
    const char *Locale;
    const char *ShortDate;
    QChar DateSeparator, Decimal, Thousands;
    const char *LongTime;
    const char *March;
    const char *Sunday;
};

const Expected Locales[] = {
    {"de_DE.UTF-8", "dd.MM.yyyy", u'.', u',', u'.', "HH:mm:ss", "März", "So"},
    {"en_US.UTF-8", "MM/dd/yyyy", u'/', u'.', u',', "hh:mm:ss AP", "March", "Sun"},
    {"C", "dd.MM.yyyy", u'.', u',', u'.', "HH:mm:ss", "März", "So."}, // the program's German
};

TEST(FormatSettingsFromSystem, ReadsTheCLibrarysLocale) {
    for (const Expected &e : Locales) {
        ASSERT_TRUE(ProvideLocale(QString::fromLatin1(e.Locale))) << e.Locale;
        const TFormatSettings s = TFormatSettings::FromSystemLocale(QString::fromLatin1(e.Locale));
        EXPECT_EQ(s.ShortDateFormat, e.ShortDate) << e.Locale;
        EXPECT_EQ(s.DateSeparator, e.DateSeparator) << e.Locale;
        EXPECT_EQ(s.DecimalSeparator, e.Decimal) << e.Locale;
        EXPECT_EQ(s.ThousandSeparator, e.Thousands) << e.Locale;
        EXPECT_EQ(s.LongTimeFormat, e.LongTime) << e.Locale;
        EXPECT_EQ(s.LongMonthNames[2], QString::fromUtf8(e.March)) << e.Locale;
        EXPECT_EQ(s.ShortDayNames[0], e.Sunday) << e.Locale;
    }
}

TEST(FormatSettingsFromSystem, TheUsersLocaleIsTheEnvironments) {
    ASSERT_TRUE(ProvideLocale(QStringLiteral("en_US.UTF-8")));
    const struct {
        const char *Value;
        const char *ShortDate;
    } rows[] = {{"en_US.UTF-8", "MM/dd/yyyy"},
                {"C", "dd.MM.yyyy"},
                {"POSIX", "dd.MM.yyyy"},
                {"xx_YY.UTF-8", "dd.MM.yyyy"}}; // not to be had: German
    for (const auto &row : rows) {
        const ScopedEnv lcAll("LC_ALL", QByteArray(row.Value));
        EXPECT_EQ(TFormatSettings::FromSystemLocale(QString()).ShortDateFormat, row.ShortDate)
            << row.Value;
    }
}

// What the settings store does with a date-time: its text goes into the store, the text read
// back gives the same serial, century and time included.
TEST(FormatSettingsFromSystem, DateTimeTextRoundTripsUnderEachLocale) {
    PinnedClock clock;
    const TDateTime moments[] = {MakeDateSerial(1950, 1, 1) + 0.5, MakeDateSerial(2005, 5, 2),
                                 MakeDateSerial(2050, 12, 31) + 0.75, MakeDateSerial(1, 1, 1),
                                 MakeDateSerial(9999, 12, 31) + 0.25};
    for (const Expected &e : Locales) {
        ASSERT_TRUE(ProvideLocale(QString::fromLatin1(e.Locale))) << e.Locale;
        PinnedSettings settings(
            TFormatSettings::FromSystemLocale(QString::fromLatin1(e.Locale)));
        EXPECT_TRUE(FormatSettings().ShortDateFormat.contains(QLatin1String("yyyy")));
        for (TDateTime moment : moments) {
            const QString text = TVariant::FromDateTime(moment).AsString();
            EXPECT_EQ(TVariant(text).AsDateTime(), moment) << e.Locale << " " << text.toStdString();
        }
        EXPECT_TRUE(TVariant::FromDateTime(MakeDateSerial(1950, 1, 1))
                        .AsString()
                        .contains(QLatin1String("1950")));
    }
}

} // namespace
