#include "platform/base/fixedpoint.h"

namespace {

// A number's text: `sign` (none where 0), the digits of the magnitude with `group` between
// threes (none where 0), and `decimal` with two digits where `hundredths` holds them.
struct TNumber {
    char16_t Sign = 0;
    quint64 Magnitude = 0;
    char16_t Group = 0, Decimal = 0; // a byte writer's are ASCII
    int Hundredths = -1;

    qsizetype Length() const {
        int digits = 1;
        for (quint64 bound = 10; digits < 20 && Magnitude >= bound; bound *= 10)
            ++digits;
        return (Sign ? 1 : 0) + digits + (Group ? (digits - 1) / 3 : 0) + (Hundredths >= 0 ? 3 : 0);
    }

    // Writes the text backwards from `end`: one writer for text and for bytes. Unsigned, so
    // that the smallest qint64 keeps its digits.
    template <typename Char> void Write(Char *end) const {
        if (Hundredths >= 0) {
            *--end = Char('0' + Hundredths % 10);
            *--end = Char('0' + Hundredths / 10);
            *--end = Char(Decimal);
        }
        quint64 rest = Magnitude;
        if (!Group) {
            do {
                *--end = Char('0' + rest % 10);
                rest /= 10;
            } while (rest > 0);
        } else {
            for (int count = 0;; ++count) {
                if (count == 3) {
                    *--end = Char(Group);
                    count = 0;
                }
                *--end = Char('0' + rest % 10);
                if ((rest /= 10) == 0) break;
            }
        }
        if (Sign) *--end = Char(Sign);
    }
};

void append(QString &out, const TNumber &number) {
    const qsizetype at = out.size(), length = number.Length();
    out.resize(at + length);
    number.Write(reinterpret_cast<char16_t *>(out.data()) + at + length);
}

void append(TByteText &out, const TNumber &number) {
    const qsizetype length = number.Length();
    number.Write(out.Reserve(length) + length);
    out.Commit(length);
}

quint64 magnitudeOf(qint64 value) {
    return value < 0 ? 0 - quint64(value) : quint64(value);
}

TNumber hundredths(qint64 value, char16_t decimal, char16_t group) {
    const quint64 magnitude = magnitudeOf(value);
    return {value < 0 ? u'-' : char16_t(0), magnitude / 100, group, decimal, int(magnitude % 100)};
}

} // namespace

void AppendHundredths(QString &out, qint64 value, QChar decimal, QChar group) {
    append(out, hundredths(value, decimal.unicode(), group.unicode()));
}

void AppendHundredths(TByteText &out, qint64 value, char decimal, char group) {
    append(out, hundredths(value, char16_t(decimal), char16_t(group)));
}

QString HundredthsText(qint64 value, QChar decimal, QChar group) {
    QString text;
    AppendHundredths(text, value, decimal, group);
    return text;
}

void AppendInteger(QString &out, qint64 value, QChar group) {
    append(out, TNumber{value < 0 ? u'-' : char16_t(0), magnitudeOf(value), group.unicode()});
}

void AppendInteger(TByteText &out, qint64 value, char group) {
    append(out, TNumber{value < 0 ? u'-' : char16_t(0), magnitudeOf(value), char16_t(group)});
}

QString IntegerText(qint64 value, QChar group) {
    QString text;
    AppendInteger(text, value, group);
    return text;
}
