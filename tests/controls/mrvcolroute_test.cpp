#include "controls/mrvcolroute.h"

#include <gtest/gtest.h>

namespace {

const int GreyRamp[16] = {9, 26, 43, 60, 77, 94, 111, 128, 145, 162, 179, 196, 213, 230, 247, 255};

TEST(ShadeRamp, GreyShadesEveryChannelAlike) {
    const TShadeRamp ramp = BuildShadeRamp(clGray);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(ramp[i], RGB(GreyRamp[i], GreyRamp[i], GreyRamp[i])) << "entry " << i;
}

TEST(ShadeRamp, GreenLiftsRedAndBlueOnlyAboveTheBase) {
    const TShadeRamp ramp = BuildShadeRamp(clGreen);
    for (int i = 0; i < 16; ++i) {
        const int other = i < 8 ? 0 : (i - 7) * 17;
        EXPECT_EQ(ramp[i], RGB(other, GreyRamp[i], other)) << "entry " << i;
    }
}

TEST(ShadeRamp, ASystemColourIsShadedFromItsLowBits) {
    EXPECT_EQ(BuildShadeRamp(clBtnFace)[7], RGB(15, 0, 0));
    EXPECT_EQ(BuildShadeRamp(clBtnFace)[8], RGB(32, 17, 17));
}

TEST(ShiftColor, ClampsEachChannel) {
    EXPECT_EQ(ShiftColor(RGB(250, 5, 128), 10), RGB(255, 15, 138));
    EXPECT_EQ(ShiftColor(RGB(250, 5, 128), -10), RGB(240, 0, 118));
}

} // namespace
