// The libimagequant qualities with "Smaller files": each frame gives only
// the pixels where what the viewer shows is too far from the recorded colour,
// cropped to their rectangle, quantized by libimagequant against a palette
// kept across frames (rebuilt when it would serve the new pixels too poorly),
// with one palette index kept for transparency. Portable.
//
// Stability: a pixel whose recorded colour is unchanged is written again only
// to bring it closer to that colour, and at most until a frame fails to; so an
// unchanged area settles and never flickers.
#pragma once

#include "GifCanvas.h"
#include "GifRect.h"

#include <gif_lib.h>

#include <cstdint>
#include <vector>

struct liq_attr;
struct liq_result;

namespace pelidore {

class LiqDeltaQuantizer {
public:
    // One frame's image: rect empty when nothing needs drawing.
    struct Image {
        GifRect rect;
        std::vector<std::uint8_t> indices; // rect's pixels, top row first
        GifColorType colors[256] = {};
        int colorCount = 0;
        int transparentIndex = 0;
    };

    LiqDeltaQuantizer() = default;
    ~LiqDeltaQuantizer();
    LiqDeltaQuantizer(const LiqDeltaQuantizer&) = delete;
    LiqDeltaQuantizer& operator=(const LiqDeltaQuantizer&) = delete;

    // Forgets the palette and the frames before; quality as GifExporter's
    // (libimagequant's speed and the bounds follow it). False when
    // libimagequant cannot be set up.
    bool Start(int width, int height, int quality, bool dithering);
    void Release();

    // frame: the recorded frame (blue, green, red, bottom row first);
    // canvas: what the viewer shows now. The first frame is drawn whole.
    // False when libimagequant gives no result (the frame is then skipped).
    // Sets the calling thread's OpenMP team size (the export worker's).
    bool Quantize(const std::uint8_t* frame, const GifCanvas& canvas, Image& out);

    int Rebuilds() const { return m_Rebuilds; }

private:
    GifRect MarkNeeded(const std::uint8_t* frame, const GifCanvas& canvas);
    void FillInput(const std::uint8_t* frame, const GifRect& rect);
    bool Remap(liq_result* result, const std::uint8_t* frame, const GifCanvas& canvas, Image& out, double* error);
    bool Rebuild(const std::uint8_t* frame, const GifCanvas& canvas, Image& out);
    static bool ReadPalette(liq_result* result, Image& out);
    double MeanError(const std::uint8_t* frame, const GifCanvas& canvas, const Image& out) const;
    void KeepOnlyImprovements(const std::uint8_t* frame, const GifCanvas& canvas, Image& out);
    static void CropToDrawn(Image& out);

    int m_Width = 0;
    int m_Height = 0;
    int m_NeedBound = 0; // squared distance a shown pixel may be off by
    double m_RebuildFactor = 0.0;
    bool m_Dithering = false;
    int m_Threads = 1; // OpenMP's team size on this thread when started
    bool m_First = true;
    int m_Rebuilds = 0;
    liq_attr* m_Attr = nullptr;
    liq_result* m_Result = nullptr;       // the kept palette
    double m_BuildError = 0.0;            // its mean error on the pixels it was built from
    std::vector<std::uint8_t> m_Previous; // the recorded frame before
    std::vector<std::uint8_t> m_Settled;  // 1: unchanged and not improvable now
    std::vector<std::uint8_t> m_Needed;   // this frame's pixels to send, top row first
    std::vector<std::uint8_t> m_Rgba;     // the rect's pixels for libimagequant
};

} // namespace pelidore
