// Our own ImgPrReduceColor (what it does is ours to choose): a
// fast, temporally stable colour reducer for screen content. It hands the
// "High Speed" octree frames of at most 254 colours, each in an octree leaf
// of its own and none in the leaf of the transparency key, so the octree
// reproduces them exactly and the quality of "High Speed" becomes ours.
// Portable.
//
//   - The palette (at most 254 colours) is kept across the frames of one
//     export and rebuilt only when the picture's colours drift, so unchanged
//     screen areas give identical output pixels frame after frame.
//   - Colours the palette holds exactly (flat UI colours, text) come out
//     exact; other colours are ordered-dithered (8x8 Bayer, by position)
//     between the two palette colours that best bracket them.
//   - Mapping goes through a lookup table keyed by 5-bit RGB.
#pragma once

#include <cstdint>
#include <memory>

namespace pelidore {

class ImgPrReducer {
public:
    static constexpr int kMaxColors = 254;

    ImgPrReducer();
    ~ImgPrReducer();
    ImgPrReducer(const ImgPrReducer&) = delete;
    ImgPrReducer& operator=(const ImgPrReducer&) = delete;

    // Forgets the palette: the next frame builds a new one (GifExporter::Start).
    void Reset();
    // src and dst: width x height x 3 bytes, blue, green, red (any row
    // order; dst may equal src). False for a null buffer or a size that is
    // not positive.
    bool Reduce(const std::uint8_t* src, int width, int height, std::uint8_t* dst);

    // How far towards full two-colour mixing the dither goes: 1 mixes in
    // proportion, 0 maps every colour to its nearest entry; the default 0.5
    // mixes only the middle half between two entries (measured: most of
    // nearest mapping's PSNR, without its banding).
    void SetDitherStrength(float strength);

    // Diagnostics.
    int PaletteSize() const;
    int ExactColors() const;
    int Rebuilds() const; // palettes built since Reset

private:
    struct Impl;
    std::unique_ptr<Impl> m_Impl;
};

// The plain entry point: one frame, a palette of its own
// (no state across calls). Fills dst with width x height pixels of 3 bytes in
// the layout of src; true when dst was filled.
bool ImgPrReduceColor(const std::uint8_t* src, int width, int height, std::uint8_t* dst);

// The same with the palette kept in `state` across the frames of an export.
bool ImgPrReduceColor(ImgPrReducer& state, const std::uint8_t* src, int width, int height, std::uint8_t* dst);

} // namespace pelidore
