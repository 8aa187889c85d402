#pragma once
// Everything one recording needs from the settings, taken on the UI thread
// when the recording starts. The capture thread works from this copy and
// never reads the settings windows, which belong to the UI thread.
#include <cstdint>
#include <filesystem>
#include <string>

namespace pelidore {

struct LogoSettings {
    static constexpr int kNone = 0;
    static constexpr int kText = 1;
    static constexpr int kImage = 2;
    static constexpr int kDefaultFontSize = 12;

    int kind = kNone;
    int corner = 0;
    int marginX = 0;
    int marginY = 0;
    std::wstring text;
    std::wstring fontFace;
    int fontSize = kDefaultFontSize;
    std::uint32_t fillArgb = 0xFFFFFFFFu;
    std::uint32_t outlineArgb = 0xFF000000u;
    // Empty unless it names an existing file.
    std::filesystem::path imagePath;
};

struct RecordingSettings {
    int framesPerSecond = 10;
    int scalePercent = 100;
    int speedPercent = 100;
    bool dithering = true;
    bool transparent = false;
    bool cursorCapture = false;
    // 0 "High Speed" writes the GIF while recording; anything else records
    // into the frame store and writes the GIF after the stop.
    int quality = 0;
    std::filesystem::path workFolder;
    LogoSettings logo;

    bool IsLive() const { return quality == 0; }
};

} // namespace pelidore
