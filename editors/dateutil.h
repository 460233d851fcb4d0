#pragma once
// Calendar arithmetic on date serials and reading and writing of date text.

#include <QtGlobal>

// Days since 30 December 1899; the fraction is the time of day.
using TDateTime = double;

// No date set (coincides with 30 December 1899).
constexpr TDateTime EmptyDate = 0.0;

// Serials of 0001-01-01 and 9999-12-31, the range the conversions accept.
constexpr TDateTime MinDateSerial = -693593.0;
constexpr TDateTime MaxDateSerial = 2958465.0;

bool LeapYear(int year);
// Month 1 to 12.
int MonthLength(int year, int month);
bool DatePartsValid(quint16 year, quint16 month, quint16 day);
// Raises EConvertError for an invalid triple.
TDateTime MakeDateSerial(quint16 year, quint16 month, quint16 day);
// All three 0 for serials outside 0001-01-01 … 9999-12-31 (and for NaN).
void SplitDateSerial(TDateTime serial, quint16 &year, quint16 &month, quint16 &day);
// True exactly for the serials that split into a valid date, whatever their fraction.
bool SerialDateValid(TDateTime serial);
// 1 (Sunday) to 7 (Saturday).
int WeekdayNumber(TDateTime serial);

// Today as a whole-day serial, the current moment with its time of day, the current year.
TDateTime CurrentDateSerial();
TDateTime CurrentDateTimeSerial();
int CurrentLocalYear();
