#include "platform/gui/fontconfiguration.h"
#include "platform/gui/fontconfiguration_p.h"

#include <system_error>

namespace {

// Without one fontconfig's own start picks a fallback folder; leave that to it.
bool HasCacheFolder(FcConfig *config) {
    FcStrList *folders = FcConfigGetCacheDirs(config);
    if (!folders) return false;
    const bool any = FcStrListNext(folders) != nullptr;
    FcStrListDone(folders);
    return any;
}

bool MakeCurrent(FcConfig *config) {
    if (!config) return false;
    const bool taken = FcConfigSetCurrent(config);
    // Fontconfig holds its own reference to the current configuration.
    FcConfigDestroy(config);
    return taken;
}

} // namespace

FcConfig *LoadFontConfiguration() {
    FcConfig *config = FcConfigCreate();
    if (!config) return nullptr;
    // No name: the file FONTCONFIG_FILE names, else fonts.conf with all it includes, as
    // fontconfig's own start reads it.
    if (!FcConfigParseAndLoad(config, nullptr, FcTrue) || !HasCacheFolder(config) ||
        !FcConfigBuildFonts(config)) {
        FcConfigDestroy(config);
        return nullptr;
    }
    return config;
}

bool PrepareFontConfiguration() {
    return MakeCurrent(LoadFontConfiguration());
}

TFontConfigurationLoad::TFontConfigurationLoad() {
    try {
        FReader = std::thread([this] { FConfig = LoadFontConfiguration(); });
    } catch (const std::system_error &) {
        FReadWhenUsed = true;
    }
}

TFontConfigurationLoad::~TFontConfigurationLoad() {
    if (FReader.joinable()) FReader.join();
    if (FConfig) FcConfigDestroy(FConfig);
}

bool TFontConfigurationLoad::Use() {
    if (FReader.joinable()) FReader.join();
    if (FReadWhenUsed) FConfig = LoadFontConfiguration();
    FReadWhenUsed = false;
    FcConfig *config = FConfig;
    FConfig = nullptr;
    return MakeCurrent(config);
}
