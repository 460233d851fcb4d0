#include "platform/base/fixedpoint.h"

namespace {

// One writer of the digits for text and for bytes: `Char` is char16_t or char.
template <typename Char> struct TDigitsOf;
template <> struct TDigitsOf<char16_t> {
    static void Append(QString &out, const char16_t *digits, qsizetype count) {
        out.append(reinterpret_cast<const QChar *>(digits), count);
    }
};
template <> struct TDigitsOf<char> {
    static void Append(TByteText &out, const char *digits, qsizetype count) {
        out.Append(digits, count);
    }
};

// The digits of the magnitude, with `group` between threes (none where it is 0), after `sign`
// (none where it is 0), and a tail of `decimal` and two digits where `decimals` holds them;
// unsigned, so that the smallest qint64 keeps its digits. Written into a small array first and
// appended at once.
template <typename Char, typename Out>
void appendNumber(Out &out, Char sign, quint64 magnitude, Char group, Char decimal = 0,
                  int hundredths = -1) {
    Char text[40];
    int at = 40;
    if (hundredths >= 0) {
        text[--at] = Char('0' + hundredths % 10);
        text[--at] = Char('0' + hundredths / 10);
        text[--at] = decimal;
    }
    int count = 0;
    do {
        if (group && count > 0 && count % 3 == 0) text[--at] = group;
        text[--at] = Char('0' + magnitude % 10);
        magnitude /= 10;
        ++count;
    } while (magnitude > 0);
    if (sign) text[--at] = sign;
    TDigitsOf<Char>::Append(out, text + at, 40 - at);
}

quint64 magnitudeOf(qint64 value) {
    return value < 0 ? 0 - quint64(value) : quint64(value);
}

template <typename Char, typename Out>
void appendHundredths(Out &out, qint64 value, Char decimal, Char group) {
    const quint64 magnitude = magnitudeOf(value);
    appendNumber<Char>(out, value < 0 ? Char('-') : Char(0), magnitude / 100, group, decimal,
                       int(magnitude % 100));
}

} // namespace

void AppendHundredths(QString &out, qint64 value, QChar decimal, QChar group) {
    appendHundredths<char16_t>(out, value, decimal.unicode(), group.unicode());
}

void AppendHundredths(TByteText &out, qint64 value, char decimal, char group) {
    appendHundredths<char>(out, value, decimal, group);
}

QString HundredthsText(qint64 value, QChar decimal, QChar group) {
    QString text;
    AppendHundredths(text, value, decimal, group);
    return text;
}

void AppendInteger(QString &out, qint64 value, QChar group) {
    appendNumber<char16_t>(out, value < 0 ? u'-' : char16_t(0), magnitudeOf(value),
                           group.unicode());
}

void AppendInteger(TByteText &out, qint64 value, char group) {
    appendNumber<char>(out, value < 0 ? '-' : char(0), magnitudeOf(value), group);
}

QString IntegerText(qint64 value, QChar group) {
    QString text;
    AppendInteger(text, value, group);
    return text;
}
