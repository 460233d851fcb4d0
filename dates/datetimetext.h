#pragma once
// Date-time text in the user's regional settings, as the settings store and the variant read
// and write it.

#include <QString>

// A date serial (days since 30 December 1899, the time of day in the fraction) as the short
// date, followed by the long time unless the time is midnight.
QString DateTimeToStr(double serial);

// Reads a short date, optionally followed by a time (hours and minutes, optional seconds,
// optional AM/PM text); years of one or two digits are widened into the date fields' century
// window, longer years stand as written.
// Raises EConvertError "'%s' ist keine gültige Datums- und Uhrzeitangabe".
double StrToDateTime(const QString &text);
