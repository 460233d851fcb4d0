#pragma once
// The number field's text rules, apart from the widget: reading typed number text, the
// decimals and sign rules that a typed key must keep, the range limit, digit grouping and
// the money pattern of the locale.

#include <QString>

// Trims blanks, drops the thousands separators and turns a "." or "," that is no separator
// of the locale into the decimal separator; "" becomes "0" and "-" becomes "-0".
QString NormalizeNumberText(const QString &text);

// The text a number is read from. With a decimal comma, amounts as Germans write them: a
// point followed by a comma later, or by exactly three digits and nothing more, groups
// thousands, any other point is the decimal comma, and a currency mark or grouping blanks are
// allowed (platform/amounttext.h); text that is no such amount comes back trimmed, unread.
// Otherwise, and for text with neither a point nor a mark nor blanks inside, the locale's
// plain number text (NormalizeNumberText), as also for a field that regroups its digits while
// typing, whose points are its own thousands separators.
QString FieldNumberText(const QString &text, bool regrouped = false);

// Digits, signs, exponent letters and the decimal separator only, forming one number that
// long double can hold. Leaves value alone when it fails.
bool ParseNumberText(const QString &text, long double &value);

// The digits after the decimal separator, up to an exponent; 0 without a separator.
qsizetype DecimalsOf(const QString &text);

// Whether the field may show this text after a paste: a number once read by
// FieldNumberText, with at most `decimals` decimals, and not negative when the range is.
bool AcceptsNumberText(const QString &text, unsigned decimals, long double minValue,
                       long double maxValue, bool regrouped = false);
// Whether a typed key may leave this text: one AcceptsNumberText takes, or, with a point in
// it, one that the digits still to come of its last thousands group would make so ("1.0",
// "1.000.").
bool AcceptsTypedText(const QString &text, unsigned decimals, long double minValue,
                      long double maxValue, bool regrouped = false);

// Clamps to the range; equal bounds mean no range, and crossed bounds keep the one that is
// not 0. With report, a changed value raises ERangeError naming both bounds with `decimals`.
long double LimitToRange(long double value, long double minValue, long double maxValue,
                         unsigned decimals, bool report);

// Puts the thousands separator between each three digits of the integer part when grouping;
// a sign stays in front, the decimals and the exponent stay as they are.
QString GroupDigits(const QString &text, bool grouping);

// ",0.00 €;-,0.00 €" and its kin: the locale's currency decimals and symbol placement.
QString CurrencyDisplayFormat();
