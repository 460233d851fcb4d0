#include "dates/datetext.h"

#include "platform/base/exceptions.h"
#include "platform/base/formatsettings.h"

#include <cmath>
#include <limits>
#include <optional>

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The number in the run of `letter`; nullopt where ExtractMaskedField gives its fallback, so
// that callers can leave a costly fallback uncomputed.
std::optional<int> maskedField(const QString &format, const QString &text, QChar letter,
                               int blank) {
    if (text.size() > format.size()) return std::nullopt;
    const qsizetype length = text.size();
    qsizetype i = 0;
    while (i < format.size() && format[i].toUpper() != letter)
        ++i;
    if (i == format.size()) return std::nullopt;
    constexpr int MaxCollected = 20;
    int collected = 0;
    bool valid = true;
    qint64 value = 0;
    for (; i < length && format[i].toUpper() == letter; ++i) {
        const QChar c = text[i];
        if (c == u' ' || collected == MaxCollected) continue;
        ++collected;
        if (!isDigit(c) || value > std::numeric_limits<int>::max()) {
            valid = false;
            continue;
        }
        value = value * 10 + (c.unicode() - u'0');
    }
    if (collected == 0) return blank;
    return valid && value <= std::numeric_limits<int>::max() ? static_cast<int>(value) : -1;
}

} // namespace

int ExtractMaskedField(const QString &format, const QString &text, QChar letter, int fallback,
                       int blank) {
    return maskedField(format, text, letter, blank).value_or(fallback);
}

bool ScanDateText(const QString &format, const QString &text, quint16 &day, quint16 &month,
                  quint16 &year) {
    const int m = ExtractMaskedField(format, text, u'M', 0, -1);
    const int d = ExtractMaskedField(format, text, u'D', 1, -1);
    const std::optional<int> y = maskedField(format, text, u'Y', -1);
    const int widened = y ? WidenYear(*y) : CurrentLocalYear();
    if (DatePartsValid(widened, m, d)) {
        day = static_cast<quint16>(d);
        month = static_cast<quint16>(m);
        year = static_cast<quint16>(widened);
        return true;
    }
    qsizetype position = 0;
    return ScanDateBySeparators(text, format, position, year, month, day);
}

bool TryParseDate(const QString &format, const QString &text, TDateTime &date) {
    if (text.isEmpty()) {
        date = EmptyDate;
        return true;
    }
    quint16 y, m, d;
    if (!ScanDateText(format, text, d, m, y)) return false;
    date = MakeDateSerial(y, m, d);
    return true;
}

TDateTime ParseDate(const QString &format, const QString &text) {
    TDateTime date;
    if (!TryParseDate(format, text, date)) throw NoDateError(text);
    return date;
}

EConvertError NoDateError(const QString &text) {
    return EConvertError(
        Exception::Format(QStringLiteral("''%s'' ist kein gültiges Datum"), {text}));
}

bool TryParseForeignDate(const QString &format, const QString &text, TDateTime &date) {
    const QString trimmed = text.trimmed();
    if (const std::optional<TDateTime> iso = ParseIsoDate(trimmed)) {
        date = *iso;
        return true;
    }
    quint16 year, month, day;
    qsizetype position = 0;
    if (trimmed.isEmpty() || !ScanDateBySeparators(trimmed, format, position, year, month, day))
        return false;
    date = MakeDateSerial(year, month, day);
    return true;
}

TDateTime ParseDateOr(const QString &format, const QString &text, TDateTime fallback) {
    TDateTime date;
    return TryParseDate(format, text, date) ? date : std::trunc(fallback);
}

TDateTime DateOr(TDateTime date, TDateTime fallback) {
    return date == EmptyDate ? fallback : date;
}

bool LocaleFourDigitYear() {
    static const bool fourDigits =
        FormatSettings().ShortDateFormat.toUpper().contains(QStringLiteral("YYYY"));
    return fourDigits;
}

QString FieldDateFormat(bool fourDigitYear) {
    switch (DateOrderOf(FormatSettings().ShortDateFormat)) {
    case DateFieldOrder::MonthDayYear:
        return fourDigitYear ? QStringLiteral("MM/DD/YYYY") : QStringLiteral("MM/DD/YY");
    case DateFieldOrder::DayMonthYear:
        break;
    case DateFieldOrder::YearMonthDay:
        return fourDigitYear ? QStringLiteral("YYYY/MM/DD") : QStringLiteral("YY/MM/DD");
    }
    return fourDigitYear ? QStringLiteral("DD/MM/YYYY") : QStringLiteral("DD/MM/YY");
}

QString FieldDateMask(QChar blank, bool fourDigitYear) {
    QString mask;
    if (!fourDigitYear)
        mask = QStringLiteral("!99/99/99;1;");
    else if (DateOrderOf(FormatSettings().ShortDateFormat) == DateFieldOrder::YearMonthDay)
        mask = QStringLiteral("!9999/99/99;1;");
    else
        mask = QStringLiteral("!99/99/9999;1;");
    return mask + blank;
}
