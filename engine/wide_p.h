#pragma once
// The wide integers of the interest calculations: claim × rate × days reaches 10^28 for the
// largest claims over centuries, which 64 bits do not hold.

__extension__ typedef __int128 TWide;

// Rates are hundredths of a percent: a rate r is r / 10000 of the claim a year.
constexpr TWide RateScale = 10000;

// The quotient rounded to the nearest, halves away from zero.
inline TWide DivideRounded(TWide numerator, TWide denominator) {
    // Most statements stay within 64 bits, where the division is one instruction.
    constexpr TWide Narrow = TWide(1) << 62;
    if (numerator > -Narrow && numerator < Narrow && denominator > 0 && denominator < Narrow) {
        const long long n = static_cast<long long>(numerator);
        const long long d = static_cast<long long>(denominator);
        const long long quotient = n / d, rest = n % d;
        if ((rest < 0 ? -2 * rest : 2 * rest) < d) return quotient;
        return n < 0 ? quotient - 1 : quotient + 1;
    }
    const TWide quotient = numerator / denominator;
    const TWide rest = numerator % denominator;
    const TWide twice = rest < 0 ? -2 * rest : 2 * rest;
    if (twice < denominator) return quotient;
    return numerator < 0 ? quotient - 1 : quotient + 1;
}
