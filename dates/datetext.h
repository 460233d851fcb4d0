#pragma once
// Reading and writing of the date fields' text: masked fields read by position, free text by
// separators (dates/dateserial), the fields' fixed-width format and input mask.

#include "dates/dateserial.h"
#include "platform/base/exceptions.h"

// The number at the positions of the format's run of `letter` (upper case) in text laid out
// like the format; `fallback` when the letter is missing or the text is longer than the
// format, `blank` when the run holds only blanks, -1 when it holds no integer.
int ExtractMaskedField(const QString &format, const QString &text, QChar letter, int fallback,
                       int blank);
// Reads the text by position first (masked fields), else by separators.
bool ScanDateText(const QString &format, const QString &text, quint16 &day, quint16 &month,
                  quint16 &year);
// An empty text reads as EmptyDate.
bool TryParseDate(const QString &format, const QString &text, TDateTime &date);
// Raises EConvertError for text that is no date.
TDateTime ParseDate(const QString &format, const QString &text);
// The error ParseDate raises for the text.
EConvertError NoDateError(const QString &text);
// A whole date as it comes from elsewhere (a paste): free text by separators in the order of
// the format, or ISO 8601 "yyyy-mm-dd"; surrounding blanks ignored.
bool TryParseForeignDate(const QString &format, const QString &text, TDateTime &date);
// The whole-day part of the fallback for text that is no date.
TDateTime ParseDateOr(const QString &format, const QString &text, TDateTime fallback);
// The fallback when no date is set.
TDateTime DateOr(TDateTime date, TDateTime fallback);

// Whether the locale's short date format writes four-digit years, as it was when first asked;
// the program asks at start, before any window exists.
bool LocaleFourDigitYear();
// The date field's fixed-width format ("DD/MM/YYYY", …) and input mask in the locale's order.
QString FieldDateFormat(bool fourDigitYear);
QString FieldDateMask(QChar blank, bool fourDigitYear);
