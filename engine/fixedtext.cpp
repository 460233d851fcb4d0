#include "engine/fixedtext.h"

#include "platform/numtext.h"

#include <cmath>

namespace {

QString fixed2(qint64 value, QChar decimal, QChar group) {
    // Unsigned, so that the smallest qint64 keeps its digits.
    const quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    QString whole = QString::number(magnitude / 100);
    if (!group.isNull())
        for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
            whole.insert(at, group);
    const quint64 cents = magnitude % 100;
    QString text = value < 0 ? QStringLiteral("-") : QString();
    text += whole;
    text += decimal;
    text += QChar(u'0' + int(cents / 10));
    text += QChar(u'0' + int(cents % 10));
    return text;
}

std::optional<TDateTime> makeDay(int year, int month, int day) {
    if (year < 0 || month < 0 || day < 0 || !DatePartsValid(year, month, day)) return std::nullopt;
    return MakeDateSerial(year, month, day);
}

} // namespace

QString FormatCents(TCents value, QChar decimal, QChar group) {
    return fixed2(value, decimal, group);
}

QString FormatBasisPoints(TBasisPoints value, QChar decimal) {
    return fixed2(value, decimal, QChar());
}

QString FormatDayDate(TDateTime day) {
    quint16 y, m, d;
    SplitDateSerial(day, y, m, d);
    if (y == 0) return QString();
    return QStringLiteral("%1.%2.%3")
        .arg(d, 2, 10, QChar(u'0'))
        .arg(m, 2, 10, QChar(u'0'))
        .arg(y, 4, 10, QChar(u'0'));
}

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

std::optional<TDateTime> ParseDayDate(QStringView text) {
    text = text.trimmed();
    if (text.size() == 10 && text[2] == u'.' && text[5] == u'.')
        return makeDay(ReadDigits(text.sliced(6, 4), 4), ReadDigits(text.sliced(3, 2), 2),
                       ReadDigits(text.first(2), 2));
    return ParseIsoDate(text);
}

std::optional<TCents> CentsFromAmount(long double amount) {
    if (!std::isfinite(amount)) return std::nullopt;
    const long double cents = std::round(amount * 100);
    if (std::fabs(cents) > MaxAmountCents) return std::nullopt;
    return static_cast<TCents>(cents);
}
