#pragma once
// The calendar of date serials: days since 30 December 1899 and their conversion to and from
// year, month and day, the century window for two-digit years, and the reading and writing of
// date text by the locale's date separator. Every date and date-time text of the program goes
// through here, so that there is one calendar and one century window.

#include "platform/base/bytetext.h"

#include <QChar>
#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <optional>

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
// Takes the parts unnarrowed, so that 65537 cannot wrap round to a valid 1.
bool DatePartsValid(int year, int month, int day);
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

// Order of day, month and year in a date format.
enum class DateFieldOrder { MonthDayYear, DayMonthYear, YearMonthDay };

// Places the 100-year window into which two-digit years are widened.
constexpr quint8 CenturyWindowOffset = 60;

// Order of the first day, month or year letter of the format (day first when there is none).
DateFieldOrder DateOrderOf(const QString &format);
// A year 0 to 99 moved into the window from CurrentLocalYear() - CenturyWindowOffset on;
// other years unchanged.
int WidenYear(int year);

// Reads free text such as "1.5.05", "12.1.2005" or "1.5" (the current year) with the locale's
// date separator, in the order of the format. `position` is the index of the first character
// to read and ends past the scan; succeeds only for a valid date followed by nothing but blanks
// and at most one separator.
bool ScanDateBySeparators(const QString &text, const QString &format, qsizetype &position,
                          quint16 &year, quint16 &month, quint16 &day);
// Writes the serial's date by the format, letters in either case: D day, DD (or longer) day
// with two digits, M month, MM two digits, MMM short and MMMM (or longer) long month name,
// Y or YY last two digits of the year, YYY or longer four digits; "/" writes the locale's date
// separator, everything else stands as it is.
QString FormatDate(const QString &format, TDateTime serial);

// ISO 8601 "yyyy-mm-dd" exactly; nullopt for anything else or a day that does not exist.
std::optional<TDateTime> ParseIsoDate(QStringView text);
// The serial's day as "yyyy-mm-dd"; empty for serials outside the calendar.
QString FormatIsoDate(TDateTime serial);
void AppendIsoDate(QString &out, TDateTime serial);
void AppendIsoDate(TByteText &out, TDateTime serial);
// The serial's day as Germans write it, "dd.mm.yyyy", whatever the locale; empty outside the
// calendar.
QString FormatDayDate(TDateTime serial);
void AppendDayDate(QString &out, TDateTime serial);
void AppendDayDate(TByteText &out, TDateTime serial);
// "dd.mm.yyyy" or "yyyy-mm-dd"; nothing for any other text or an invalid date.
std::optional<TDateTime> ParseDayDate(QStringView text);
