#pragma once
// Calendar arithmetic on date serials and reading and writing of date text.

#include <QtGlobal>

// Days since 30 December 1899; the fraction is the time of day.
using TDateTime = double;

// No date set (coincides with 30 December 1899).
constexpr TDateTime EmptyDate = 0.0;

bool LeapYear(int year);
// Raises EConvertError for an invalid triple.
TDateTime MakeDateSerial(quint16 year, quint16 month, quint16 day);
// All three 0 for serials before 0001-01-01.
void SplitDateSerial(TDateTime serial, quint16 &year, quint16 &month, quint16 &day);
