#pragma once
// Amounts, rates and dates as a script or a spreadsheet writes them. Numbers are read as
// platform/amounttext.h reads amounts ("1.000,50 €", "1000.50"). Dates are "TT.MM.JJJJ", "T.M.JJ"
// (the century window of the date routines) or ISO 8601 "JJJJ-MM-TT". Errors come back as German
// text naming the input.

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
