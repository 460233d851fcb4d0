#pragma once
// What PrepareFontConfiguration hands to fontconfig, for the tests that compare it with
// fontconfig's own.

#include <fontconfig/fontconfig.h>

// The system's configuration with its fonts, owned by the caller (FcConfigDestroy); null where
// fontconfig's own start would have to fall back.
FcConfig *LoadFontConfiguration();
