#include "platform/base/formatsettings.h"
#include "platform/base/formatsettings_p.h"
#include "platform/base/services.h"

namespace {

QChar firstChar(const QString &text, QChar fallback) {
    return text.isEmpty() ? fallback : text.front();
}

} // namespace

QChar SeparatorOf(const QString &format, QChar fallback) {
    for (QChar c : format)
        if (!c.isLetter() && c != u'\'' && !c.isSpace()) return c;
    return fallback;
}

TFormatSettings TFormatSettings::FromLocale(const QLocale &locale) {
    TFormatSettings s;
    s.DecimalSeparator = firstChar(locale.decimalPoint(), u'.');
    s.ThousandSeparator = firstChar(locale.groupSeparator(), u',');
    s.CurrencyString = locale.currencySymbol(QLocale::CurrencySymbol);
    const QString sample = locale.toCurrencyString(1.0);
    const bool symbolFirst = sample.startsWith(s.CurrencyString);
    const bool spaced = sample.contains(QChar(u' ')) || sample.contains(QChar(0xA0)) ||
                        sample.contains(QChar(0x202F));
    s.CurrencyFormat = (symbolFirst ? 0 : 1) + (spaced ? 2 : 0);
    s.NegCurrFormat = symbolFirst ? (spaced ? 9 : 1) : (spaced ? 8 : 5);
    s.CurrencyDecimals = 2;
    s.ShortDateFormat = locale.dateFormat(QLocale::ShortFormat);
    s.DateSeparator = SeparatorOf(s.ShortDateFormat, u'/');
    for (int m = 1; m <= 12; ++m) {
        // The name on its own, as a calendar's title shows it: "styczeń", not the "stycznia"
        // that stands inside a full date.
        s.LongMonthNames[m - 1] = locale.standaloneMonthName(m, QLocale::LongFormat);
        s.ShortMonthNames[m - 1] = locale.monthName(m, QLocale::ShortFormat);
    }
    for (int d = 0; d < 7; ++d) {
        const int qtDay = d == 0 ? 7 : d; // Qt counts Monday 1 … Sunday 7
        s.LongDayNames[d] = locale.dayName(qtDay, QLocale::LongFormat);
        s.ShortDayNames[d] = locale.dayName(qtDay, QLocale::ShortFormat);
    }
    s.ShortTimeFormat = locale.timeFormat(QLocale::ShortFormat);
    s.LongTimeFormat = locale.timeFormat(QLocale::LongFormat);
    s.TimeSeparator = u':';
    s.TimeAMString = locale.amText();
    s.TimePMString = locale.pmText();
    s.FarEast = false; // Qt names no such property
    return s;
}

TFormatSettings TFormatSettings::German() {
    TFormatSettings s = FromLocale(QLocale(QLocale::German, QLocale::Germany));
    s.DecimalSeparator = u',';
    s.ThousandSeparator = u'.';
    s.CurrencyString = QStringLiteral("€");
    s.CurrencyFormat = 3;
    s.NegCurrFormat = 8;
    s.CurrencyDecimals = 2;
    s.ShortDateFormat = QStringLiteral("dd.MM.yyyy");
    s.DateSeparator = u'.';
    s.ShortTimeFormat = QStringLiteral("HH:mm");
    s.LongTimeFormat = QStringLiteral("HH:mm:ss");
    s.TimeSeparator = u':';
    s.FarEast = false;
    return s;
}

const TFormatSettings &FormatSettings() {
    return Services().FormatSettings();
}

void RefreshFormatSettings() {
    Services().RefreshFormatSettings();
}
