#pragma once
// Inside the platform: the reading of the program's own date-time text.

#include "dates/dateserial.h"

// As ScanDateBySeparators, but only a year of one or two digits is widened: a year written
// with more digits stands as written, so that "01.01.0001" is the year 1.
bool ScanDateKeepingLongYears(const QString &text, const QString &format, qsizetype &position,
                              quint16 &year, quint16 &month, quint16 &day);
