#pragma once
// The number field's text rules, apart from the widget: reading typed number text, the
// decimals and sign rules that a typed key must keep, the range limit, digit grouping and
// the money pattern of the locale.

#include <QString>

// Trims blanks, drops the thousands separators and turns a "." or "," that is no separator
// of the locale into the decimal separator; "" becomes "0" and "-" becomes "-0".
QString NormalizeNumberText(const QString &text);

// Digits, signs, exponent letters and the decimal separator only, forming one number that
// long double can hold. Leaves value alone when it fails.
bool ParseNumberText(const QString &text, long double &value);

// The digits after the decimal separator, up to an exponent; 0 without a separator.
qsizetype DecimalsOf(const QString &text);

// Whether the field may show this text after a typed key or a paste: a number once
// normalised, with at most `decimals` decimals, and not negative when the range is.
bool AcceptsNumberText(const QString &text, unsigned decimals, long double minValue,
                       long double maxValue);

// Clamps to the range; equal bounds mean no range, and crossed bounds keep the one that is
// not 0. With report, a changed value raises ERangeError naming both bounds with `decimals`.
long double LimitToRange(long double value, long double minValue, long double maxValue,
                         unsigned decimals, bool report);

// Puts the thousands separator between each three digits of the integer part when grouping;
// a sign stays in front, the decimals and the exponent stay as they are.
QString GroupDigits(const QString &text, bool grouping);

// ",0.00 €;-,0.00 €" and its kin: the locale's currency decimals and symbol placement.
QString CurrencyDisplayFormat();
