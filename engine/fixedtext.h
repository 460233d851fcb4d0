#pragma once
// The reading of typed rates and of amounts from a currency field into the engine's integers,
// independent of the locale. Text is made from them elsewhere (report/, platform/fixedpoint).

#include "engine/periods.h"

#include <QString>
#include <QStringView>
#include <optional>

// A percentage as typed: optional sign, digits, at most two decimals after a comma or point,
// optionally followed by "%"; blanks around are ignored. Nothing for any other text.
std::optional<TBasisPoints> ParseBasisPoints(QStringView text);

// An amount with two decimals, as a currency field gives it, in cents, rounded half away from
// zero; nothing for NaN, infinity, or an amount beyond MaxAmountCents.
std::optional<TCents> CentsFromAmount(long double amount);
// 999.999.999.999,99: far beyond any claim, and far from overflowing the sums.
constexpr TCents MaxAmountCents = 99'999'999'999'999;
