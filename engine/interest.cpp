#include "engine/interest.h"

#include "platform/base/fixedpoint.h"
#include "platform/base/formatsettings.h"
#include "platform/base/numtext.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A decimal constant, not 365/364.75 or the like computed at run time.
constexpr long double EuroFactor = 1.0006849315L;

qint64 deutscheDays(TDateTime start, TDateTime end) {
    quint16 y1, m1, d1, y2, m2, d2;
    SplitDateSerial(start, y1, m1, d1);
    SplitDateSerial(end, y2, m2, d2);
    // Only the end day is adjusted: the end of February counts as its 30th in every year.
    const int endDay = m2 == 2 && (d2 == 28 || d2 == 29) ? 30 : d2;
    return 360 * (qint64(y2) - y1) + 30 * (qint64(m2) - m1) + (qint64(endDay) - d1);
}

long double yearDivisor(int year) {
    return LeapYear(year) ? 36600.0L : 36500.0L;
}

long double englischeAmount(quint32 days, TDateTime start, TDateTime end, long double principal,
                            long double rate) {
    quint16 y1, m1, d1, y2, m2, d2;
    SplitDateSerial(start, y1, m1, d1);
    SplitDateSerial(end, y2, m2, d2);
    if (y1 == 0 || y2 == 0) // outside the calendar: no years to split by
        return 0;
    if (y1 == y2) return principal * rate * days / yearDivisor(y1);
    long double amount = 0;
    for (int year = y1; year <= y2; ++year) {
        long double yearDays;
        if (year == y1)
            yearDays = (MakeDateSerial(year, 12, 31) - start) + 1;
        else if (year == y2)
            yearDays = end - MakeDateSerial(year, 1, 1);
        else
            yearDays = LeapYear(year) ? 366 : 365;
        amount += principal * rate * yearDays / yearDivisor(year);
    }
    return amount;
}

} // namespace

quint32 InterestDays(int code, TDateTime start, TDateTime end) {
    const double difference = end - start;
    if (!(difference >= 0)) // end before start (or no number at all)
        return 0;
    switch (code) {
    case fcEuro:
    case fcEnglische:
        return static_cast<quint32>(
            std::min(std::nearbyint(difference), double(std::numeric_limits<quint32>::max())));
    case fcDeutsche:
        // Serials outside the calendar split into zeros and could give a negative figure.
        return static_cast<quint32>(std::max<qint64>(deutscheDays(start, end), 0));
    default:
        return 0;
    }
}

long double InterestAmount(int code, quint32 days, TDateTime start, TDateTime end,
                           long double principal, long double rate) {
    if (end < start) return 0;
    switch (code) {
    case fcEuro:
        return principal * rate * days * EuroFactor / 36000;
    case fcDeutsche:
        return principal * rate * days / 36000;
    case fcEnglische:
        return englischeAmount(days, start, end, principal, rate);
    default:
        return 0;
    }
}

TInterestFigures CalculateInterestFigures(int code, TDateTime start, TDateTime end,
                                          long double principal, long double rate) {
    const quint32 days = InterestDays(code, start, end);
    const long double interest = InterestAmount(code, days, start, end, principal, rate);
    // Nearest whole day, ties to even (the rounding mode in force).
    return {std::llrint(end - start), days, RoundedHundredths(interest), interest};
}

TInterestText CalculateInterestText(int code, TDateTime start, TDateTime end, long double principal,
                                    long double rate) {
    const TInterestFigures figures = CalculateInterestFigures(code, start, end, principal, rate);
    QString label;
    label.reserve(32);
    label += u"( ";
    label += QString::number(figures.Difference);
    label += u" / ";
    label += QString::number(figures.Days);
    label += u" Tage )";
    return {label,
            figures.Hundredths
                ? HundredthsText(*figures.Hundredths, FormatSettings().DecimalSeparator)
                : FormatFixed2(figures.Amount),
            figures.Difference,
            figures.Days,
            figures.Hundredths,
            figures.Amount};
}
