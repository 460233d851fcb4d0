// Amounts written as bytes for the command line's rows and as text for everything else come
// from one writer: they must be the same characters, at the edges of the range too, and text
// keeps separators beyond ASCII whole.

#include "platform/base/fixedpoint.h"
#include "report/amounts.h"
#include "report/json.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(Amounts, BytesAreTheTextsCharacters) {
    using limits = std::numeric_limits<qint64>;
    for (const qint64 value : {qint64(0),
                               qint64(1),
                               qint64(-1),
                               qint64(5),
                               qint64(-5),
                               qint64(99),
                               qint64(-99),
                               qint64(100),
                               qint64(-100),
                               qint64(999),
                               qint64(1000),
                               qint64(99999),
                               qint64(100000),
                               qint64(-123456),
                               qint64(308900),
                               qint64(99999999999999),
                               qint64(-99999999999999),
                               qint64(1234567890123456789),
                               limits::max(),
                               limits::min(),
                               limits::min() + 1}) {
        const auto bytes = [value](auto append) {
            TByteText out;
            out += "x"; // appended after what is there
            append(out);
            return QString::fromUtf8(out.View());
        };
        EXPECT_EQ(bytes([&](TByteText &o) { AppendGermanCents(o, value); }),
                  u'x' + GermanCents(value))
            << value;
        EXPECT_EQ(bytes([&](TByteText &o) { AppendPlainCents(o, value, ','); }),
                  u'x' + PlainCents(value, u','))
            << value;
        EXPECT_EQ(bytes([&](TByteText &o) { AppendJsonCents(o, value); }),
                  QStringLiteral("x\"") + PlainCents(value, u'.') + u'"')
            << value;
        EXPECT_EQ(bytes([&](TByteText &o) { AppendInteger(o, value, '.'); }),
                  u'x' + CountText(value))
            << value;
    }
    EXPECT_EQ(GermanCents(-123456789), "-1.234.567,89");
    EXPECT_EQ(GermanCents(std::numeric_limits<qint64>::min()), "-92.233.720.368.547.758,08");
    EXPECT_EQ(HundredthsText(123456789, QChar(0x066B), QChar(0x066C)), u"1٬234٬567٫89");
    EXPECT_EQ(IntegerText(-1234567, QChar(0x00A0)), u"-1\u00A0234\u00A0567");
}

} // namespace
