#pragma once
// The system's font configuration, read once at start. Fontconfig's own start reads the
// configuration and then reads every template of its folder of available configurations once
// more, only for their descriptions: almost half of its start. The program reads the
// configuration alone, from the same files, and hands it to fontconfig before Qt asks for its
// first font, so every family and style still resolves to the same font file.

// True when the configuration was taken. False (no configuration file, no cache folder) leaves
// fontconfig to start on its own, with its own fallbacks.
bool PrepareFontConfiguration();
