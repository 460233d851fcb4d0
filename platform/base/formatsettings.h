#pragma once
// The user's regional settings as the program reads them: filled from the user's C-library
// locale at start (a C/POSIX locale counts as German, since the program is German) and
// refreshed when the regional settings change, by the services in use.

#include <QChar>
#include <QLocale>
#include <QString>
#include <array>

struct TFormatSettings {
    QChar DecimalSeparator = u',';
    QChar ThousandSeparator = u'.';
    QString CurrencyString = QStringLiteral("€");
    int CurrencyFormat = 3; // 0 "€1", 1 "1€", 2 "€ 1", 3 "1 €"
    int NegCurrFormat = 8;  // 8 "-1 €"
    int CurrencyDecimals = 2;
    QString ShortDateFormat = QStringLiteral("dd.MM.yyyy"); // letters d, M, y
    QChar DateSeparator = u'.';
    std::array<QString, 12> LongMonthNames; // January first
    std::array<QString, 12> ShortMonthNames;
    std::array<QString, 7> LongDayNames;  // Sunday first
    std::array<QString, 7> ShortDayNames; // Sunday first, as the locale writes them
    QString ShortTimeFormat = QStringLiteral("HH:mm");
    QString LongTimeFormat = QStringLiteral("HH:mm:ss");
    QChar TimeSeparator = u':';
    QString TimeAMString;
    QString TimePMString;
    bool FarEast = false;

    // Everything from Qt's locale data (CLDR).
    static TFormatSettings FromLocale(const QLocale &locale);
    // The settings a C-library locale defines ("de_DE.UTF-8"; empty for the user's own, as
    // the environment names it): date and time patterns, day and month names and the
    // separators from the C library, what it lacks (the currency) from Qt. A C/POSIX locale,
    // or one the C library does not have, gives German().
    static TFormatSettings FromSystemLocale(const QString &name);
    // Fixed German settings: decimal comma, thousands point, "dd.MM.yyyy", separator ".".
    static TFormatSettings German();
};

// The settings in force: the services' (Services().FormatSettings()).
const TFormatSettings &FormatSettings();
// Has the services read the user's locale again.
void RefreshFormatSettings();
