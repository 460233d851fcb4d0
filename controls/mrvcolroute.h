#pragma once
// The colour routines of the drawn controls: a colour shifted on all three channels, and the
// 16-step shade ramp a control draws its bevels and marks from.

#include "platform/gui/colors.h"

#include <array>

// Adds delta to red, green and blue, each kept within 0..255. The top byte is ignored, so a
// system colour is shaded from its low 24 bits as if they were RGB.
TColor ShiftColor(TColor color, int delta);

// Entry i is the base shifted by (i - 7) * 17: entry 7 is the base, lower entries darker.
using TShadeRamp = std::array<TColor, 16>;
TShadeRamp BuildShadeRamp(TColor base);
// Entry index of the ramp of base, on its own.
TColor RampEntry(TColor base, int index);
