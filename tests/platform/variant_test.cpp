#include "platform/base/exceptions.h"
#include "platform/core/variant.h"
#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

TEST(Variant, EmptyReadsAsZeroFalseAndEmptyText) {
    const TVariant empty;
    EXPECT_EQ(empty.AsInteger(), 0);
    EXPECT_FALSE(empty.AsBoolean());
    EXPECT_EQ(empty.AsFloat(), 0.0);
    EXPECT_EQ(empty.AsString(), "");
    EXPECT_TRUE(empty == 0);
    EXPECT_TRUE(empty == false);
    EXPECT_TRUE(empty == "");
    EXPECT_FALSE(empty == 1);
}

TEST(Variant, TextConvertsByTheLocale) {
    GermanLocale de;
    PinnedClock clock;
    EXPECT_EQ(TVariant("x").VarType(), varString); // not taken for a Boolean
    EXPECT_EQ(TVariant("20").AsInteger(), 20);
    EXPECT_EQ(TVariant("2,5").AsFloat(), 2.5);
    EXPECT_EQ(TVariant("2,5").AsInteger(), 2); // ties to even
    EXPECT_EQ(TVariant("3,5").AsInteger(), 4);
    EXPECT_TRUE(TVariant("true").AsBoolean());
    EXPECT_FALSE(TVariant("FALSE").AsBoolean());
    EXPECT_TRUE(TVariant("-1").AsBoolean());
    EXPECT_EQ(TVariant("02.05.2005").AsDateTime(), 38474.0);
}

TEST(Variant, NumbersAndDatesBecomeText) {
    GermanLocale de;
    EXPECT_EQ(TVariant(20).AsString(), "20");
    EXPECT_EQ(TVariant(2.5).AsString(), "2,5");
    EXPECT_EQ(TVariant(true).AsString(), "True");
    EXPECT_EQ(TVariant::FromDateTime(38474.5).AsString(), "02.05.2005 12:00:00");
    EXPECT_EQ(TVariant::FromDateTime(38474.5).AsFloat(), 38474.5);
    EXPECT_EQ(TVariant(true).AsInteger(), 1);
    EXPECT_EQ(TVariant(2.5).AsInteger(), 2);
}

TEST(Variant, ComparesAcrossTypes) {
    GermanLocale de;
    EXPECT_TRUE(TVariant(true) == true);
    EXPECT_TRUE(TVariant(true) != 0);
    EXPECT_TRUE(TVariant(false) == 0);
    EXPECT_TRUE(TVariant(1) == true);
    EXPECT_TRUE(TVariant(5) != 0);
    EXPECT_TRUE(TVariant("20") == 20);
    EXPECT_TRUE(TVariant(2.0) == 2);
    EXPECT_FALSE(TVariant("a") == "A");
}

TEST(Variant, FailedConversionsRaiseTheVariantError) {
    GermanLocale de;
    const auto check = [](auto &&convert) {
        try {
            convert();
            ADD_FAILURE() << "no error";
        } catch (const EVariantError &e) {
            EXPECT_EQ(e.Message(), "Ungültige Variant-Typumwandlung");
        }
    };
    check([] { TVariant("abc").AsInteger(); });
    check([] { TVariant("2.5").AsFloat(); });
    check([] { TVariant("yes").AsBoolean(); });
    check([] { TVariant("gestern").AsDateTime(); });
    check([] { TVariant(3e9).AsInteger(); });
    check([] { TVariant("3000000000").AsInteger(); });
    check([] { return TVariant("abc") == 0; });
}
