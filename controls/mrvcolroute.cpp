#include "controls/mrvcolroute.h"

#include <algorithm>

TColor ShiftColor(TColor color, int delta) {
    const auto channel = [&](int shift) {
        return std::max(std::min(int(color >> shift & 0xFF) + delta, 255), 0);
    };
    return RGB(channel(0), channel(8), channel(16));
}

TColor RampEntry(TColor base, int index) {
    return ShiftColor(base, (index - 7) * 17);
}

TShadeRamp BuildShadeRamp(TColor base) {
    TShadeRamp ramp;
    for (int i = 0; i < 16; ++i)
        ramp[i] = RampEntry(base, i);
    return ramp;
}
