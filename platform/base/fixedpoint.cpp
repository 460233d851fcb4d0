#include "platform/base/fixedpoint.h"

namespace {

// The digits of the magnitude, with `group` between threes; unsigned, so that the smallest
// qint64 keeps its digits.
void appendDigits(QString &out, quint64 magnitude, QChar group) {
    char16_t digits[20];
    int count = 0;
    do {
        digits[count++] = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    while (count > 0) {
        out += QChar(digits[--count]);
        if (!group.isNull() && count > 0 && count % 3 == 0) out += group;
    }
}

quint64 magnitudeOf(qint64 value) {
    return value < 0 ? 0 - quint64(value) : quint64(value);
}

} // namespace

void AppendHundredths(QString &out, qint64 value, QChar decimal, QChar group) {
    const quint64 magnitude = magnitudeOf(value);
    if (value < 0) out += u'-';
    appendDigits(out, magnitude / 100, group);
    out += decimal;
    out += QChar(u'0' + int(magnitude % 100 / 10));
    out += QChar(u'0' + int(magnitude % 10));
}

QString HundredthsText(qint64 value, QChar decimal, QChar group) {
    QString text;
    AppendHundredths(text, value, decimal, group);
    return text;
}

void AppendInteger(QString &out, qint64 value, QChar group) {
    if (value < 0) out += u'-';
    appendDigits(out, magnitudeOf(value), group);
}

QString IntegerText(qint64 value, QChar group) {
    QString text;
    AppendInteger(text, value, group);
    return text;
}
