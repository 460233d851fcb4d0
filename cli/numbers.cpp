#include "cli/numbers.h"

#include "dates/datetext.h"
#include "engine/fixedtext.h"
#include "platform/base/amounttext.h"
#include "platform/base/formatsettings.h"
#include "platform/base/numtext.h"

#include <algorithm>

namespace {

// The bar's currency fields take no third decimal.
constexpr qsizetype MaxDecimals = 2;

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

qsizetype digitRun(QStringView text, qsizetype from) {
    qsizetype end = from;
    while (end < text.size() && isDigit(text[end]))
        ++end;
    return end - from;
}

// The normal text "[-]digits[,digits]" with at most 19 digits as the nearest long double: the
// digits make an integer that a long double holds exactly, and one division by 1, 10 or 100
// rounds once to the nearest, just as the C library reads the same decimal text. Reading a
// million rows, that is much the cheaper way; false for longer numbers.
bool ExactValue(QStringView normal, long double &value) {
    static constexpr long double Powers[] = {1.0L, 10.0L, 100.0L};
    const bool negative = normal.startsWith(u'-');
    quint64 digits = 0;
    int count = 0, decimals = -1;
    for (QChar c : normal.sliced(negative ? 1 : 0)) {
        if (c == u',') {
            decimals = 0;
            continue;
        }
        if (++count > 19) return false;
        digits = digits * 10 + (c.unicode() - u'0');
        if (decimals >= 0) ++decimals;
    }
    const long double magnitude = static_cast<long double>(digits) / Powers[std::max(decimals, 0)];
    value = negative ? -magnitude : magnitude;
    return true;
}

QString quoted(QStringView text) {
    return QStringLiteral("„%1“").arg(text);
}

} // namespace

bool ReadAmount(QStringView text, long double &value, QString &error) {
    QString normal;
    if (!NormalizeNumber(text, normal)) {
        error = QStringLiteral("%1 ist keine Zahl").arg(quoted(text));
        return false;
    }
    const qsizetype comma = normal.indexOf(u',');
    if (comma >= 0 && normal.size() - comma - 1 > MaxDecimals) {
        error = QStringLiteral("%1 hat mehr als zwei Nachkommastellen").arg(quoted(text));
        return false;
    }
    if (ExactValue(normal, value)) return true;
    // The text the bar's field would hold, read by the same routine.
    if (comma >= 0) normal[comma] = FormatSettings().DecimalSeparator;
    if (!TryStrToFloat(normal, value)) {
        error = QStringLiteral("%1 ist keine Zahl").arg(quoted(text));
        return false;
    }
    return true;
}

bool ReadRate(QStringView text, long double &value, QString &error) {
    QStringView number = text.trimmed();
    if (number.endsWith(u'%')) number = number.chopped(1);
    if (ReadAmount(number, value, error)) return true;
    error.replace(quoted(number), quoted(text));
    return false;
}

bool ReadDate(QStringView text, TDateTime &date, QString &error) {
    const QStringView trimmed = text.trimmed();
    if (const std::optional<TDateTime> day = ParseDayDate(trimmed)) {
        date = *day;
        return true;
    }
    // Exactly two points and a year of two or four digits: "15.03." would take this year.
    const QList<QStringView> parts = trimmed.split(u'.');
    bool shaped = parts.size() == 3;
    for (qsizetype i = 0; shaped && i < 3; ++i) {
        const qsizetype length = parts[i].size();
        shaped = digitRun(parts[i], 0) == length &&
                 (i < 2 ? length >= 1 && length <= 2 : length == 2 || length == 4);
    }
    if (shaped && TryParseForeignDate(FormatSettings().ShortDateFormat, trimmed.toString(), date))
        return true;
    error = QStringLiteral("%1 ist kein gültiges Datum (TT.MM.JJJJ, T.M.JJ oder JJJJ-MM-TT)")
                .arg(quoted(text));
    return false;
}
