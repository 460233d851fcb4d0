#pragma once
// Number text in the user's regional settings (FormatSettings()): display
// patterns, the fixed two-decimal result text, and the parsers with their German errors.

#include <QString>
#include <optional>

// Formats by a display pattern of up to three sections "positive;negative;zero":
//   0     a digit that is always shown        #   a digit shown only when significant
//   .     the first one places the decimal separator; the "0"/"#" after it give the decimals
//   ,     anywhere in a section: group the integer digits by three
//   '…' or "…"  literal text; any other character is copied as well
// The value is rounded to the decimals, halves away from zero. A negative section formats the
// value without its sign (the section writes any minus itself); without one a "-" leads.
// Zero, and anything that rounds to zero, takes the zero section, else the first.
// An empty pattern gives FloatToStr(value).
QString FormatFloat(const QString &pattern, long double value);

// A fixed number of decimals after the regional settings' separator (or `decimal`), no
// grouping, a leading "-" when negative.
QString FormatFixed(long double value, unsigned decimals, QChar decimal = QChar());
// Two decimals: the result label's text.
QString FormatFixed2(long double value);
// The value rounded as FormatFixed2 rounds it, in whole hundredths; nothing for a value that
// is not finite or has more than sixteen whole digits.
std::optional<qint64> RoundedHundredths(long double value);

// The general text with up to 15 significant digits: "2,5", "1234", "1E+20".
QString FloatToStr(long double value);

// Optional sign, digits with at most one decimal separator, optional exponent; blanks
// around are ignored. A number beyond the range of long double is no number. Raises
// EConvertError "'%s' ist kein gültiger Gleitkommawert".
long double StrToFloat(const QString &text);
// The same without the error: false when the text is no number.
bool TryStrToFloat(const QString &text, long double &value);

// Optional sign and decimal digits within 32 bits; blanks around are ignored.
// Raises EConvertError "'%s' ist kein gültiger Integerwert".
qint32 StrToInt(const QString &text);

// 1 to maxDigits ASCII digits and nothing else, as a number; -1 otherwise.
int ReadDigits(QStringView digits, qsizetype maxDigits);
