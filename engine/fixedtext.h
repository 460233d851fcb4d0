#pragma once
// Fixed-point text of the engine's integers, independent of the locale: amounts in cents
// ("3.170,18" or "3170.18"), rates in hundredths of a percent ("-0,88"), days as
// "dd.mm.yyyy", and the reading of typed rates and of amounts from a currency field.

#include "engine/periods.h"

#include <QString>
#include <QStringView>
#include <optional>

// Two decimals; `group` separates thousands unless it is QChar() (the command line's
// "3170.18" is FormatCents(v, u'.', QChar())).
QString FormatCents(TCents value, QChar decimal = u',', QChar group = u'.');
// Two decimals, no grouping: "7,27", "-0,88".
QString FormatBasisPoints(TBasisPoints value, QChar decimal = u',');
// "dd.mm.yyyy"; empty for serials outside the calendar.
QString FormatDayDate(TDateTime day);

// A percentage as typed: optional sign, digits, at most two decimals after a comma or point,
// optionally followed by "%"; blanks around are ignored. Nothing for any other text.
std::optional<TBasisPoints> ParseBasisPoints(QStringView text);
// "dd.mm.yyyy" or "yyyy-mm-dd"; nothing for any other text or an invalid date.
std::optional<TDateTime> ParseDayDate(QStringView text);

// An amount with two decimals, as a currency field gives it, in cents, rounded half away from
// zero; nothing for NaN, infinity, or an amount beyond MaxAmountCents.
std::optional<TCents> CentsFromAmount(long double amount);
// 999.999.999.999,99 €: far beyond any claim, and far from overflowing the sums.
constexpr TCents MaxAmountCents = 99'999'999'999'999;
