#include "engine/fixedtext.h"

#include "platform/base/numtext.h"

#include <cmath>

std::optional<TBasisPoints> ParseBasisPoints(QStringView text) {
    text = text.trimmed();
    if (text.endsWith(u'%')) text = text.chopped(1).trimmed();
    bool negative = false;
    if (text.startsWith(u'-') || text.startsWith(u'+') || text.startsWith(u'\u2212')) {
        negative = text.front() != u'+';
        text = text.sliced(1);
    }
    qsizetype separator = -1;
    for (qsizetype i = 0; i < text.size() && separator < 0; ++i)
        if (text[i] == u',' || text[i] == u'.') separator = i;
    const QStringView whole = separator < 0 ? text : text.first(separator);
    const QStringView decimals = separator < 0 ? QStringView() : text.sliced(separator + 1);
    // ",5" reads as 0,5; six digits keep the product far below 2^31.
    const int units = whole.isEmpty() && !decimals.isEmpty() ? 0 : ReadDigits(whole, 6);
    if (units < 0 || decimals.size() > 2 || (separator >= 0 && decimals.isEmpty()))
        return std::nullopt;
    int hundredths = 0;
    if (!decimals.isEmpty()) {
        hundredths = ReadDigits(decimals, 2);
        if (hundredths < 0) return std::nullopt;
        if (decimals.size() == 1) hundredths *= 10;
    }
    const TBasisPoints value = units * 100 + hundredths;
    return negative ? -value : value;
}

std::optional<TCents> CentsFromAmount(long double amount) {
    if (!std::isfinite(amount)) return std::nullopt;
    const long double cents = std::round(amount * 100);
    if (std::fabs(cents) > MaxAmountCents) return std::nullopt;
    return static_cast<TCents>(cents);
}
