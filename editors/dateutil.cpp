#include "editors/dateutil.h"

#include "platform/clock.h"
#include "platform/exceptions.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int DaysPer400Years = 146097;
constexpr int DaysPer100Years = 36524;
constexpr int DaysPer4Years = 1461;
// Days from 0001-01-01 (day 1) to 1899-12-30 (serial 0).
constexpr int SerialOffset = 693594;
constexpr qint64 MSecsPerDay = 86400000;

constexpr int MonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Whole days of a serial, with its time rounded to the millisecond first so that a moment a
// hair before midnight counts as the next day. Only meaningful for finite serials in range.
qint64 wholeDays(TDateTime serial) {
    return static_cast<qint64>(std::nearbyint(serial * MSecsPerDay)) / MSecsPerDay;
}

// Keeps the millisecond rounding away from values that would overflow it.
bool convertible(TDateTime serial) {
    return std::isfinite(serial) && serial > MinDateSerial - 1 && serial < MaxDateSerial + 1;
}

} // namespace

bool LeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int MonthLength(int year, int month) {
    return MonthDays[month - 1] + (month == 2 && LeapYear(year) ? 1 : 0);
}

bool DatePartsValid(quint16 year, quint16 month, quint16 day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= MonthLength(year, month);
}

TDateTime MakeDateSerial(quint16 year, quint16 month, quint16 day) {
    if (!DatePartsValid(year, month, day))
        throw EConvertError(QStringLiteral("Ungültiges Argument zum Codieren des Datums"));
    int days = day;
    for (int m = 1; m < month; ++m)
        days += MonthLength(year, m);
    const int p = year - 1;
    return p * 365 + p / 4 - p / 100 + p / 400 + days - SerialOffset;
}

void SplitDateSerial(TDateTime serial, quint16 &year, quint16 &month, quint16 &day) {
    year = month = day = 0;
    if (!convertible(serial)) return;
    const qint64 whole = wholeDays(serial);
    if (whole < MinDateSerial || whole > MaxDateSerial) return;
    int n = static_cast<int>(whole + SerialOffset - 1); // days after 0001-01-01
    const int cycles400 = n / DaysPer400Years;
    n %= DaysPer400Years;
    // The last day of a 400-year cycle belongs to the fourth century, not a fifth.
    const int centuries = std::min(n / DaysPer100Years, 3);
    n -= centuries * DaysPer100Years;
    const int cycles4 = n / DaysPer4Years;
    n %= DaysPer4Years;
    const int years = std::min(n / 365, 3);
    n -= years * 365;
    const int y = cycles400 * 400 + centuries * 100 + cycles4 * 4 + years + 1;
    int m = 1;
    while (n >= MonthLength(y, m)) {
        n -= MonthLength(y, m);
        ++m;
    }
    year = static_cast<quint16>(y);
    month = static_cast<quint16>(m);
    day = static_cast<quint16>(n + 1);
}

bool SerialDateValid(TDateTime serial) {
    quint16 y, m, d;
    SplitDateSerial(serial, y, m, d);
    return DatePartsValid(y, m, d);
}

int WeekdayNumber(TDateTime serial) {
    // Serials out of range still get a weekday in 1..7 rather than a negative remainder.
    double days = convertible(serial) ? static_cast<double>(wholeDays(serial)) : std::trunc(serial);
    if (!std::isfinite(days)) days = 0;
    double r = std::fmod(days + SerialOffset, 7.0);
    if (r < 0) r += 7;
    return static_cast<int>(r) + 1;
}

TDateTime CurrentDateSerial() {
    const QDate today = Now().date();
    return MakeDateSerial(today.year(), today.month(), today.day());
}

TDateTime CurrentDateTimeSerial() {
    const QDateTime now = Now();
    const QTime t = now.time();
    const QDate d = now.date();
    return MakeDateSerial(d.year(), d.month(), d.day()) +
           static_cast<double>(t.msecsSinceStartOfDay()) / MSecsPerDay;
}

int CurrentLocalYear() {
    return Now().date().year();
}
