#pragma once

#include "CFixedText.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pelidore {

// The logo settings as logo.dat holds them: 13 zero bytes, then the fields,
// 1601 bytes in all, little-endian, no header. Members start at the built-in
// defaults.
class CLogoFile {
public:
    static constexpr std::size_t kSize = 1601;
    static constexpr std::size_t kReservedBytes = 13;

    enum Kind : std::int32_t { kNoLogo = 0, kTextLogo = 1, kImageLogo = 2 };
    enum Corner : std::int32_t { kTopLeft = 0, kTopRight = 1, kBottomRight = 2, kBottomLeft = 3 };

    static constexpr std::array<std::int32_t, 10> kFontSizes = {8, 10, 12, 14, 16, 18, 20, 24, 28, 32};
    // Frame composition expects margins it can add to a frame edge; the
    // upper bound is what the margin fields can show.
    static constexpr std::int32_t kMaxMargin = 999;

    // Field offsets, in file order.
    static constexpr std::size_t kLogoKindOffset = 13;
    static constexpr std::size_t kLogoTextOffset = 17;
    static constexpr std::size_t kFontFaceOffset = 537;
    static constexpr std::size_t kFontSizeOffset = 1057;
    static constexpr std::size_t kFillColorOffset = 1061;
    static constexpr std::size_t kOutlineColorOffset = 1065;
    static constexpr std::size_t kImagePathOffset = 1069;
    static constexpr std::size_t kCornerOffset = 1589;
    static constexpr std::size_t kMarginXOffset = 1593;
    static constexpr std::size_t kMarginYOffset = 1597;

    std::int32_t logoKind = kNoLogo;
    CFixedText logoText;
    CFixedText fontFace{u"Arial"};
    std::int32_t fontSize = 18;
    std::uint32_t fillColor = 0xFFFFFFFF;    // 0xAARRGGBB, opaque white
    std::uint32_t outlineColor = 0xFF000000; // opaque black
    CFixedText imagePath;
    std::int32_t corner = kTopLeft;
    std::int32_t marginX = 5;
    std::int32_t marginY = 5;

    // Takes every field that `bytes` holds completely; the others keep their
    // current values. Values the window could not show are brought to what
    // it shows: an unknown kind is no logo, an unknown corner top-left, a
    // size outside the size list its first entry, margins 0..kMaxMargin.
    // Returns whether the whole layout was there.
    bool Load(const std::uint8_t* bytes, std::size_t count);
    bool Load(const std::vector<std::uint8_t>& bytes) { return Load(bytes.data(), bytes.size()); }

    // Exactly kSize bytes, the reserved head zero.
    std::vector<std::uint8_t> Serialise() const;

    // Position of `size` in kFontSizes, 0 (the first entry) when absent.
    static std::size_t FontSizeIndex(std::int32_t size);
    static std::int32_t ClampMargin(std::int32_t margin);

    bool operator==(const CLogoFile& other) const;
    bool operator!=(const CLogoFile& other) const { return !(*this == other); }

private:
    void BringIntoRange();
};

} // namespace pelidore
