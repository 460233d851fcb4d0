#pragma once
// Amounts, rates and dates as a script or a spreadsheet writes them. Numbers take a decimal
// comma or point and thousands dots: "1.000,50", "1000,50" and "1000.50" are the same amount;
// a point followed by exactly three digits, with no comma in the number, is a thousands dot
// ("1.000" is one thousand). Dates are "TT.MM.JJJJ", "T.M.JJ" (the century window of the date
// routines) or ISO 8601 "JJJJ-MM-TT". Errors come back as German text naming the input.

#include "dates/dateserial.h"

#include <QString>
#include <QStringView>

// The value a currency field of the bar holds for the same number typed there, with at most
// two decimals; the sign may lead.
bool ReadAmount(QStringView text, long double &value, QString &error);
// A yearly rate in percent, read as the amount is; a trailing "%" is allowed.
bool ReadRate(QStringView text, long double &value, QString &error);
// A whole-day serial.
bool ReadDate(QStringView text, TDateTime &date, QString &error);

// The number in the form "[-]digits[,digits]" with the thousands dots gone and the decimal
// comma in its place; false for text that is no number under the rules above.
bool NormalizeNumber(QStringView text, QString &normal);
