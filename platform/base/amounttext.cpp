#include "platform/base/amounttext.h"

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// A space of any width between thousands: ordinary, no-break and narrow no-break.
bool isGroupSpace(QChar c) {
    return c == u' ' || c == QChar(0x00A0) || c == QChar(0x202F);
}

qsizetype digitRun(QStringView text, qsizetype from) {
    qsizetype end = from;
    while (end < text.size() && isDigit(text[end]))
        ++end;
    return end - from;
}

// "1.234.567" or "1 234 567": a first group of one to three digits without a leading zero,
// then groups of exactly three, each after the same separator.
bool readGrouped(QStringView text, QString &digits) {
    const qsizetype first = digitRun(text, 0);
    if (first < 1 || first > 3 || first == text.size() || text[0] == u'0') return false;
    const QChar separator = text[first];
    if (separator != u'.' && !isGroupSpace(separator)) return false;
    digits += text.first(first);
    for (qsizetype at = first; at < text.size(); at += 4) {
        if (text[at] != separator || digitRun(text, at + 1) != 3) return false;
        digits += text.sliced(at + 1, 3);
    }
    return true;
}

// The whole-number part: plain digits, or digits grouped by thousands.
bool readWhole(QStringView text, QString &digits) {
    if (digitRun(text, 0) == text.size()) {
        digits += text;
        return true;
    }
    return readGrouped(text, digits);
}

QStringView withoutMark(QStringView text, QStringView mark) {
    if (text.startsWith(mark, Qt::CaseInsensitive)) return text.sliced(mark.size()).trimmed();
    if (text.endsWith(mark, Qt::CaseInsensitive)) return text.chopped(mark.size()).trimmed();
    return text;
}

} // namespace

QStringView WithoutCurrency(QStringView text) {
    text = text.trimmed();
    for (const QStringView mark : {QStringView(u"€"), QStringView(u"EUR")}) {
        const QStringView rest = withoutMark(text, mark);
        if (rest.size() != text.size()) return rest;
    }
    return text;
}

bool NormalizeNumber(QStringView text, QString &normal) {
    text = WithoutCurrency(text);
    normal.clear();
    normal.reserve(text.size() + 1);
    if (!text.isEmpty() && (text[0] == u'-' || text[0] == u'+')) {
        if (text[0] == u'-') normal += u'-';
        text = text.sliced(1);
    }
    qsizetype comma = text.indexOf(u',');
    if (comma >= 0 && text.lastIndexOf(u',') != comma) return false;
    // Without a comma, a point that is no thousands dot is the decimal point.
    if (comma < 0) {
        const qsizetype point = text.indexOf(u'.');
        if (point >= 0 && text.lastIndexOf(u'.') == point && digitRun(text, point + 1) != 3)
            comma = point;
    }
    const QStringView whole = comma < 0 ? text : text.first(comma);
    const QStringView decimals = comma < 0 ? QStringView() : text.sliced(comma + 1);
    if (!readWhole(whole, normal)) return false;
    if (digitRun(decimals, 0) != decimals.size()) return false;
    if (whole.isEmpty() && decimals.isEmpty()) return false;
    if (!decimals.isEmpty()) {
        normal += u',';
        normal += decimals;
    }
    return true;
}
