#pragma once
// Weekdays as the calendar's settings name them, and sets of them.

enum class TDayOfWeekName { Sun, Mon, Tue, Wed, Thu, Fri, Sat };

// A set of weekdays, one bit each, Sunday the lowest.
using TDaysOfWeek = unsigned;

constexpr TDaysOfWeek DayBit(TDayOfWeekName day) {
    return TDaysOfWeek(1) << unsigned(day);
}
