#pragma once

#include "CFixedText.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pelidore {

// The recording and export settings as config.dat holds them: 539 bytes,
// little-endian, no header. The members start at the built-in defaults,
// except workFolder, whose default (the settings folder) only the caller
// knows and sets before loading.
class CConfigFile {
public:
    static constexpr std::size_t kSize = 539;

    static constexpr int kMaxFpsStep = 29;    // frames per second = step + 1
    static constexpr int kMaxScaleStep = 70;  // size percent = step + 30
    static constexpr int kMaxSpeedStep = 150; // speed percent = step + 50

    // Field offsets, in file order.
    static constexpr std::size_t kFpsStepOffset = 0;
    static constexpr std::size_t kScaleStepOffset = 4;
    static constexpr std::size_t kSpeedStepOffset = 8;
    static constexpr std::size_t kDitheringOffset = 12;
    static constexpr std::size_t kCursorCaptureOffset = 13;
    static constexpr std::size_t kTransparentOffset = 14;
    static constexpr std::size_t kQualityIndexOffset = 15;
    static constexpr std::size_t kWorkFolderOffset = 19;

    std::int32_t fpsStep = 9;
    std::int32_t scaleStep = 70;
    std::int32_t speedStep = 50;
    bool dithering = true;
    bool cursorCapture = false;
    bool transparent = false;
    std::int32_t qualityIndex = 0;
    CFixedText workFolder;

    // Takes every field that `bytes` holds completely; the others keep their
    // current values. Slider steps are clamped to their ranges; an empty work
    // folder keeps the current one. Returns whether the whole layout was there.
    bool Load(const std::uint8_t* bytes, std::size_t count);
    bool Load(const std::vector<std::uint8_t>& bytes) { return Load(bytes.data(), bytes.size()); }

    // Exactly kSize bytes, flags as 0 or 1.
    std::vector<std::uint8_t> Serialise() const;

    bool operator==(const CConfigFile& other) const;
    bool operator!=(const CConfigFile& other) const { return !(*this == other); }

private:
    static std::int32_t ClampStep(std::int32_t step, int maximum);
};

} // namespace pelidore
