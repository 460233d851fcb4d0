#pragma once
// The system's font configuration, read once at start. Fontconfig's own start reads the
// configuration and then reads every template of its folder of available configurations once
// more, only for their descriptions: almost half of its start. The program reads the
// configuration alone, from the same files, and hands it to fontconfig before Qt asks for its
// first font, so every family and style still resolves to the same font file.

#include <thread>

struct _FcConfig;

// True when the configuration was taken. False (no configuration file, no cache folder) leaves
// fontconfig to start on its own, with its own fallbacks.
bool PrepareFontConfiguration();

// The same, read on a thread of its own while the application object starts.
class TFontConfigurationLoad {
public:
    TFontConfigurationLoad();
    // Waits for the reading; a configuration never used is dropped.
    ~TFontConfigurationLoad();
    TFontConfigurationLoad(const TFontConfigurationLoad &) = delete;
    TFontConfigurationLoad &operator=(const TFontConfigurationLoad &) = delete;

    // Waits for the reading and hands it to fontconfig, as PrepareFontConfiguration does.
    bool Use();

private:
    std::thread FReader;
    bool FReadWhenUsed = false; // no thread could be had
    _FcConfig *FConfig = nullptr;
};
