#include "platform/base/numtext.h"

#include "platform/base/exceptions.h"
#include "platform/base/fixedpoint.h"
#include "platform/base/formatsettings.h"

#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <string>
#include <vector>

namespace {

// A finite number as significant decimal digits: value = 0.digits × 10^point.
struct Decimal {
    bool negative = false;
    std::string digits; // no leading or trailing zeros; empty for zero
    int point = 0;

    bool isZero() const { return digits.empty(); }
};

// Rounds to `significant` digits, ties to even, through the C library's exact conversion.
Decimal toDecimal(long double value, int significant) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Le", significant - 1, value);
    Decimal d;
    const char *p = buffer;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    // The C locale of the process may write another decimal point; only digits matter.
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') d.digits += *p;
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty())
        d.negative = false;
    else
        d.point = exponent + 1;
    return d;
}

// Rounds at `decimals` places after the point, halves away from zero.
void roundAt(Decimal &d, int decimals) {
    const int keep = d.point + decimals;
    if (keep >= static_cast<int>(d.digits.size())) return;
    const bool up = keep >= 0 && d.digits[keep] >= '5';
    d.digits.resize(std::max(keep, 0));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[i] == '9')
            d.digits[i--] = '0';
        if (i >= 0) {
            ++d.digits[i];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.point;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty()) {
        d.negative = false;
        d.point = 0;
    }
}

QString integerDigits(const Decimal &d) {
    if (d.point <= 0) return {};
    const int have = std::min<int>(d.point, d.digits.size());
    return QString::fromLatin1(d.digits.data(), have) + QString(d.point - have, u'0');
}

QChar fractionDigit(const Decimal &d, int index) {
    const int at = d.point + index;
    return at >= 0 && at < static_cast<int>(d.digits.size()) ? QChar::fromLatin1(d.digits[at])
                                                             : QChar(u'0');
}

QString nonFiniteText(long double value) {
    if (std::isnan(value)) return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

bool isQuote(QChar c) {
    return c == u'\'' || c == u'"';
}

// Index just past the quoted run that starts at `open`; an open quote runs to the end.
qsizetype skipQuoted(const QString &text, qsizetype open) {
    const qsizetype close = text.indexOf(text[open], open + 1);
    return close < 0 ? text.size() : close + 1;
}

QStringList splitSections(const QString &pattern) {
    QStringList sections;
    qsizetype start = 0;
    for (qsizetype i = 0; i < pattern.size();) {
        if (isQuote(pattern[i])) {
            i = skipQuoted(pattern, i);
        } else if (pattern[i] == u';') {
            sections << pattern.mid(start, i - start);
            start = ++i;
        } else {
            ++i;
        }
    }
    sections << pattern.mid(start);
    return sections;
}

struct SectionLayout {
    int integerPlaces = 0;
    int minimumIntegerDigits = 0;
    QString decimalKinds; // the "0"/"#" after the point, in order
    bool grouping = false;
};

SectionLayout analyse(const QString &section) {
    SectionLayout layout;
    int firstZero = -1;
    bool pastPoint = false;
    for (qsizetype i = 0; i < section.size();) {
        const QChar c = section[i];
        if (isQuote(c)) {
            i = skipQuoted(section, i);
            continue;
        }
        if (c == u'0' || c == u'#') {
            if (pastPoint) {
                layout.decimalKinds += c;
            } else {
                if (c == u'0' && firstZero < 0) firstZero = layout.integerPlaces;
                ++layout.integerPlaces;
            }
        } else if (c == u'.') {
            pastPoint = true;
        } else if (c == u',') {
            layout.grouping = true;
        }
        ++i;
    }
    if (firstZero >= 0) layout.minimumIntegerDigits = layout.integerPlaces - firstZero;
    return layout;
}

// Writes an unsigned, already rounded number into the section's placeholders.
QString render(const QString &section, const SectionLayout &layout, const Decimal &d) {
    const TFormatSettings &fs = FormatSettings();
    QString digits = integerDigits(d);
    if (digits.size() < layout.minimumIntegerDigits)
        digits.prepend(QString(layout.minimumIntegerDigits - digits.size(), u'0'));
    const int count = static_cast<int>(digits.size());

    // Trailing "#" decimals are dropped while they would show a zero.
    int shownDecimals = static_cast<int>(layout.decimalKinds.size());
    while (shownDecimals > 0 && layout.decimalKinds[shownDecimals - 1] == u'#' &&
           fractionDigit(d, shownDecimals - 1) == u'0')
        --shownDecimals;

    QString out;
    // Digit at position `fromRight` (0 = units), followed by a group separator when due.
    auto putDigit = [&](int fromRight) {
        out += digits[count - 1 - fromRight];
        if (layout.grouping && fromRight > 0 && fromRight % 3 == 0) out += fs.ThousandSeparator;
    };
    // The leftmost placeholder takes every digit that has no placeholder of its own.
    auto putIntegerPlace = [&](int place) {
        const int fromRight = layout.integerPlaces - 1 - place;
        if (place == 0) {
            for (int r = count - 1; r >= fromRight; --r)
                putDigit(r);
        } else if (fromRight < count) {
            putDigit(fromRight);
        }
    };

    int integerPlace = 0;
    int decimalPlace = 0;
    bool pastPoint = false;
    for (qsizetype i = 0; i < section.size();) {
        const QChar c = section[i];
        if (isQuote(c)) {
            const qsizetype end = skipQuoted(section, i);
            const bool closed = end - 1 > i && section[end - 1] == c;
            out += section.mid(i + 1, end - i - 1 - (closed ? 1 : 0));
            i = end;
            continue;
        }
        if (c == u'0' || c == u'#') {
            if (!pastPoint)
                putIntegerPlace(integerPlace++);
            else if (decimalPlace < shownDecimals)
                out += fractionDigit(d, decimalPlace++);
        } else if (c == u'.') {
            if (!pastPoint) {
                pastPoint = true;
                if (layout.integerPlaces == 0) // the integer digits still need a place
                    for (int r = count - 1; r >= 0; --r)
                        putDigit(r);
                if (shownDecimals > 0) out += fs.DecimalSeparator;
            }
        } else if (c != u',') {
            out += c;
        }
        ++i;
    }
    return out;
}

locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return locale;
}

EConvertError floatError(const QString &text) {
    return EConvertError(
        Exception::Format(QStringLiteral("'%s' ist kein gültiger Gleitkommawert"), {text}));
}

} // namespace

QString FormatFloat(const QString &pattern, long double value) {
    if (pattern.isEmpty()) return FloatToStr(value);
    if (!std::isfinite(value)) return nonFiniteText(value);
    const QStringList sections = splitSections(pattern);
    auto usable = [&](int index) { return index < sections.size() && !sections[index].isEmpty(); };

    const Decimal exact = toDecimal(value, 18);
    int section = 0;
    if (exact.negative && usable(1))
        section = 1;
    else if (exact.isZero() && usable(2))
        section = 2;
    SectionLayout layout = analyse(sections[section]);
    Decimal rounded = exact;
    roundAt(rounded, static_cast<int>(layout.decimalKinds.size()));
    if (rounded.isZero() && !exact.isZero() && section != 2) {
        // What shows as zero is formatted as zero, without a sign.
        section = usable(2) ? 2 : 0;
        layout = analyse(sections[section]);
    }
    const QString text = render(sections[section], layout, rounded);
    return rounded.negative && section == 0 ? u'-' + text : text;
}

// What FormatFloat gives for the pattern "0.00…", written straight: the bar's result and the
// command line's million rows take this path.
QString FormatFixed(long double value, unsigned decimals, QChar decimal) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    Decimal d = toDecimal(value, 18);
    roundAt(d, static_cast<int>(decimals));
    QString text;
    text.reserve(std::max(d.point, 1) + static_cast<int>(decimals) + 2);
    if (d.negative) text += u'-';
    if (d.point <= 0) text += u'0';
    for (int i = 0; i < d.point; ++i)
        text +=
            i < static_cast<int>(d.digits.size()) ? QChar::fromLatin1(d.digits[i]) : QChar(u'0');
    if (decimals > 0) text += decimal.isNull() ? FormatSettings().DecimalSeparator : decimal;
    for (unsigned i = 0; i < decimals; ++i)
        text += fractionDigit(d, static_cast<int>(i));
    return text;
}

QString FormatFixed2(long double value) {
    if (const std::optional<qint64> hundredths = RoundedHundredths(value))
        return HundredthsText(*hundredths, FormatSettings().DecimalSeparator);
    return FormatFixed(value, 2);
}

std::optional<qint64> RoundedHundredths(long double value) {
    if (!std::isfinite(value)) return std::nullopt;
    // The two roundings, to eighteen digits and then to the hundredth, give what one rounding
    // of the value to the hundredth gives, unless the value lies within half a unit of the
    // eighteenth digit (at most 5e-18 of it) of a half hundredth: only there the exact decimal
    // digits are needed. Scaling by 100 errs by far less than that margin.
    const long double scaled = std::fabs(value) * 100;
    if (scaled < 1e15L) {
        const long double whole = std::floor(scaled);
        const long double fraction = scaled - whole;
        if (std::fabs(fraction - 0.5L) > scaled * 1e-17L + 1e-300L) {
            const qint64 hundredths = qint64(whole) + (fraction > 0.5L ? 1 : 0);
            return value < 0 ? -hundredths : hundredths;
        }
    }
    Decimal d = toDecimal(value, 18);
    roundAt(d, 2);
    if (d.isZero()) return 0;
    const int places = d.point + 2;
    // Eighteen digits stay well inside 64 bits.
    if (places > 18) return std::nullopt;
    qint64 hundredths = 0;
    for (int i = 0; i < places; ++i)
        hundredths = hundredths * 10 + (i < int(d.digits.size()) ? d.digits[size_t(i)] - '0' : 0);
    return d.negative ? -hundredths : hundredths;
}

QString FloatToStr(long double value) {
    if (!std::isfinite(value)) return nonFiniteText(value);
    const Decimal d = toDecimal(value, 15);
    if (d.isZero()) return QStringLiteral("0");
    const QChar separator = FormatSettings().DecimalSeparator;
    const QString digits = QString::fromLatin1(d.digits.data(), d.digits.size());
    const int exponent = d.point - 1;
    QString text;
    if (exponent < -5 || exponent >= 15) {
        text = digits.left(1);
        if (digits.size() > 1) text += separator + digits.mid(1);
        text += (exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+")) +
                QString::number(std::abs(exponent));
    } else if (d.point <= 0) {
        text = u'0' + QString(separator) + QString(-d.point, u'0') + digits;
    } else if (d.point >= digits.size()) {
        text = digits + QString(d.point - digits.size(), u'0');
    } else {
        text = digits.left(d.point) + separator + digits.mid(d.point);
    }
    return d.negative ? u'-' + text : text;
}

bool TryStrToFloat(const QString &text, long double &value) {
    const QChar separator = FormatSettings().DecimalSeparator;
    const QString t = text.trimmed();
    std::string ascii;
    qsizetype i = 0;
    auto digitsRun = [&] {
        const qsizetype start = i;
        while (i < t.size() && t[i] >= u'0' && t[i] <= u'9')
            ascii += char(t[i++].unicode());
        return i - start;
    };
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) ascii += char(t[i++].unicode());
    qsizetype mantissaDigits = digitsRun();
    if (i < t.size() && t[i] == separator) {
        ascii += '.';
        ++i;
        mantissaDigits += digitsRun();
    }
    if (mantissaDigits == 0) return false;
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        ascii += 'e';
        ++i;
        if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) ascii += char(t[i++].unicode());
        if (digitsRun() == 0) return false;
    }
    if (i != t.size()) return false;
    errno = 0;
    const long double parsed = strtold_l(ascii.c_str(), nullptr, cLocale());
    if (errno == ERANGE && std::isinf(parsed)) return false;
    value = parsed;
    return true;
}

long double StrToFloat(const QString &text) {
    long double value;
    if (!TryStrToFloat(text, value)) throw floatError(text);
    return value;
}

qint32 StrToInt(const QString &text) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    const bool negative = i < t.size() && t[i] == u'-';
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) ++i;
    if (i == t.size())
        throw EConvertError(
            Exception::Format(QStringLiteral("'%s' ist kein gültiger Integerwert"), {text}));
    const qint64 limit = negative ? qint64(1) << 31 : (qint64(1) << 31) - 1;
    qint64 n = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < u'0' || t[i] > u'9' || (n = n * 10 + (t[i].unicode() - u'0')) > limit)
            throw EConvertError(
                Exception::Format(QStringLiteral("'%s' ist kein gültiger Integerwert"), {text}));
    }
    return static_cast<qint32>(negative ? -n : n);
}

int ReadDigits(QStringView digits, qsizetype maxDigits) {
    if (digits.isEmpty() || digits.size() > maxDigits) return -1;
    int value = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9') return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}
