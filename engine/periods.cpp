#include "engine/periods.h"

TDateTime WholeDay(TDateTime serial) {
    quint16 year, month, day;
    SplitDateSerial(serial, year, month, day);
    return year == 0 ? EmptyDate : MakeDateSerial(year, month, day);
}

TDateTime HalfYearStart(TDateTime day) {
    quint16 y, m, d;
    SplitDateSerial(day, y, m, d);
    if (y == 0) return EmptyDate;
    return MakeDateSerial(y, m <= 6 ? 1 : 7, 1);
}

TDateTime NextHalfYearStart(TDateTime day) {
    quint16 y, m, d;
    SplitDateSerial(day, y, m, d);
    if (y == 0 || (y == 9999 && m > 6)) return EmptyDate;
    return m <= 6 ? MakeDateSerial(y, 7, 1) : MakeDateSerial(y + 1, 1, 1);
}

bool IsHalfYearStart(TDateTime day) {
    quint16 y, m, d;
    SplitDateSerial(day, y, m, d);
    return y != 0 && d == 1 && (m == 1 || m == 7) && day == MakeDateSerial(y, m, d);
}

std::vector<TPeriod> SplitAtHalfYears(const TPeriod &period) {
    std::vector<TPeriod> parts;
    if (period.To < period.From) return parts;
    parts.reserve(std::size_t((period.To - period.From) / 181) + 2);
    TDateTime from = period.From;
    TDateTime next = NextHalfYearStart(from);
    // After the first cut the half-years follow by their lengths, without a calendar lookup:
    // January to June 181 days (182 in a leap year), July to December 184.
    quint16 year = 0, month = 0, day = 0;
    if (next != EmptyDate) SplitDateSerial(next, year, month, day);
    // EmptyDate past the calendar's end: nothing left to cut.
    while (next != EmptyDate && next <= period.To) {
        parts.push_back({from, next - 1});
        from = next;
        if (month == 1) {
            next += LeapYear(year) ? 182 : 181;
            month = 7;
        } else if (year < 9999) {
            next += 184;
            month = 1;
            ++year;
        } else {
            next = EmptyDate;
        }
    }
    parts.push_back({from, period.To});
    return parts;
}
