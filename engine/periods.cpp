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
    TDateTime from = period.From;
    for (;;) {
        const TDateTime next = NextHalfYearStart(from);
        // EmptyDate past the calendar's end: nothing left to cut.
        if (next == EmptyDate || next > period.To) break;
        parts.push_back({from, next - 1});
        from = next;
    }
    parts.push_back({from, period.To});
    return parts;
}
