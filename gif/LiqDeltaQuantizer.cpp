#include "LiqDeltaQuantizer.h"

#include "GifBounds.h"
#include "LiqQuantizer.h"

#include <libimagequant.h>
#include <omp.h>

#include <algorithm>
#include <cstddef>

namespace pelidore {

namespace {

// Per quality: how far (squared distance over red, green and blue) a shown
// pixel may be from its recorded colour before it is sent again, and how much
// worse than on the pixels it was built from the kept palette may serve a
// frame's pixels before a new one is built. Measured on desktop recordings
// (bench/README.md): tighter bounds buy PSNR with bytes and time.
struct Bounds {
    int need;
    double rebuildFactor;
};

Bounds BoundsForQuality(int quality)
{
    switch (quality) {
    case 1:
        return {300, 6.0}; // 10 a channel
    case 2:
        return {192, 3.0}; // 8 a channel
    default:
        return {75, 3.0}; // 5 a channel
    }
}

// libimagequant's OpenMP team costs more than it saves on images below this
// many pixels: its threads wait for work by spinning, which on a busy machine
// takes the time of the thread doing the work (measured: 3 to 6 times slower
// exports).
constexpr std::size_t kTeamPixels = 200000;

// An error this small (mean squared distance) never asks for a new palette.
constexpr double kRebuildFloor = 3.0;

int Distance2(const std::uint8_t* a, const std::uint8_t* b)
{
    const int d0 = a[0] - b[0];
    const int d1 = a[1] - b[1];
    const int d2 = a[2] - b[2];
    return d0 * d0 + d1 * d1 + d2 * d2;
}

int Distance2(const GifColorType& c, const std::uint8_t* bgr)
{
    const std::uint8_t color[3] = {c.Blue, c.Green, c.Red};
    return Distance2(color, bgr);
}

// The recorded pixel at screen column x, row y (the frame is bottom row first).
const std::uint8_t* FramePixel(const std::uint8_t* frame, int width, int height, int x, int y)
{
    const std::size_t row = static_cast<std::size_t>(height - 1 - y);
    return frame + (row * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3u;
}

} // namespace

LiqDeltaQuantizer::~LiqDeltaQuantizer()
{
    Release();
}

bool LiqDeltaQuantizer::Start(int width, int height, int quality, bool dithering)
{
    Release();
    m_Width = width;
    m_Height = height;
    const Bounds bounds = BoundsForQuality(quality);
    m_NeedBound = bounds.need;
    m_RebuildFactor = bounds.rebuildFactor;
    m_Dithering = dithering;
    m_First = true;
    m_Rebuilds = 0;
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    m_Previous.assign(count * 3u, 0);
    m_Settled.assign(count, 0);
    m_Needed.assign(count, 0);
    m_Threads = omp_get_max_threads();
    m_Attr = liq_attr_create();
    if (m_Attr == nullptr) {
        return false;
    }
    const int speed = LiqSpeedForQuality(quality);
    if (speed != 0) {
        liq_set_speed(m_Attr, speed);
    }
    // 255 colours and the transparent one.
    liq_set_max_colors(m_Attr, 256);
    return true;
}

void LiqDeltaQuantizer::Release()
{
    if (m_Result != nullptr) {
        liq_result_destroy(m_Result);
        m_Result = nullptr;
    }
    if (m_Attr != nullptr) {
        liq_attr_destroy(m_Attr);
        m_Attr = nullptr;
    }
    std::vector<std::uint8_t>().swap(m_Previous);
    std::vector<std::uint8_t>().swap(m_Settled);
    std::vector<std::uint8_t>().swap(m_Needed);
    std::vector<std::uint8_t>().swap(m_Rgba);
}

bool LiqDeltaQuantizer::Quantize(const std::uint8_t* frame, const GifCanvas& canvas, Image& out)
{
    if (m_Attr == nullptr || frame == nullptr || canvas.Width() != m_Width || canvas.Height() != m_Height) {
        return false;
    }
    out.rect = MarkNeeded(frame, canvas);
    if (out.rect.IsEmpty()) {
        return true;
    }
    const std::size_t pixels = static_cast<std::size_t>(out.rect.width) * static_cast<std::size_t>(out.rect.height);
    omp_set_num_threads(pixels >= kTeamPixels ? m_Threads : 1);
    FillInput(frame, out.rect);
    double error = 0.0;
    bool mapped = false;
    if (m_Result != nullptr && !m_First) {
        mapped = Remap(m_Result, frame, canvas, out, &error) &&
                 error <= std::max(kRebuildFloor, m_BuildError * m_RebuildFactor);
    }
    if (!mapped && !Rebuild(frame, canvas, out)) {
        return false;
    }
    if (!m_First) {
        KeepOnlyImprovements(frame, canvas, out);
    }
    m_First = false;
    CropToDrawn(out);
    return true;
}

// Marks the pixels to send and returns their rectangle; remembers the frame.
GifRect LiqDeltaQuantizer::MarkNeeded(const std::uint8_t* frame, const GifCanvas& canvas)
{
    GifBounds bounds;
    for (int y = 0; y < m_Height; ++y) {
        const std::size_t row = static_cast<std::size_t>(m_Height - 1 - y) * static_cast<std::size_t>(m_Width);
        const std::uint8_t* recorded = frame + row * 3u;
        std::uint8_t* previous = m_Previous.data() + row * 3u;
        const std::uint8_t* shown = canvas.At(0, y);
        std::uint8_t* needed = m_Needed.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_Width);
        for (int x = 0; x < m_Width; ++x, recorded += 3, previous += 3, shown += 3) {
            std::uint8_t& settled = m_Settled[row + static_cast<std::size_t>(x)];
            if (recorded[0] != previous[0] || recorded[1] != previous[1] || recorded[2] != previous[2]) {
                settled = 0;
                previous[0] = recorded[0];
                previous[1] = recorded[1];
                previous[2] = recorded[2];
            }
            const bool need = m_First || (settled == 0 && Distance2(recorded, shown) > m_NeedBound);
            needed[x] = need ? 1 : 0;
            if (need) {
                bounds.Add(x, y);
            }
        }
    }
    return bounds.Rect();
}

// The rect's pixels as libimagequant takes them (red, green, blue, alpha, top
// row first); a pixel not to send is fully transparent, so it neither shapes
// the palette nor gets a colour.
void LiqDeltaQuantizer::FillInput(const std::uint8_t* frame, const GifRect& rect)
{
    m_Rgba.resize(static_cast<std::size_t>(rect.width) * static_cast<std::size_t>(rect.height) * 4u);
    std::uint8_t* out = m_Rgba.data();
    for (int y = rect.top; y < rect.top + rect.height; ++y) {
        const std::uint8_t* needed = m_Needed.data() + static_cast<std::size_t>(y) * m_Width;
        const std::uint8_t* recorded = FramePixel(frame, m_Width, m_Height, rect.left, y);
        for (int x = rect.left; x < rect.left + rect.width; ++x, recorded += 3, out += 4) {
            if (needed[x] != 0) {
                out[0] = recorded[2];
                out[1] = recorded[1];
                out[2] = recorded[0];
                out[3] = 255;
            } else {
                out[0] = out[1] = out[2] = out[3] = 0;
            }
        }
    }
}

// Maps the rect with result's palette into out; *error: the mean squared
// distance of the sent pixels from their recorded colours.
bool LiqDeltaQuantizer::Remap(liq_result* result, const std::uint8_t* frame, const GifCanvas& canvas, Image& out,
                              double* error)
{
    const GifRect& rect = out.rect;
    liq_image* image = liq_image_create_rgba(m_Attr, m_Rgba.data(), rect.width, rect.height, 0);
    if (image == nullptr) {
        return false;
    }
    out.indices.resize(static_cast<std::size_t>(rect.width) * static_cast<std::size_t>(rect.height));
    const bool remapped = liq_write_remapped_image(result, image, out.indices.data(), out.indices.size()) == LIQ_OK;
    liq_image_destroy(image);
    if (!remapped || !ReadPalette(result, out)) {
        return false;
    }
    *error = MeanError(frame, canvas, out);
    return true;
}

bool LiqDeltaQuantizer::Rebuild(const std::uint8_t* frame, const GifCanvas& canvas, Image& out)
{
    const GifRect& rect = out.rect;
    liq_image* image = liq_image_create_rgba(m_Attr, m_Rgba.data(), rect.width, rect.height, 0);
    if (image == nullptr) {
        return false;
    }
    // The transparent entry is there even when every pixel is sent.
    liq_image_add_fixed_color(image, liq_color{0, 0, 0, 0});
    liq_result* result = nullptr;
    const bool quantized = liq_image_quantize(image, m_Attr, &result) == LIQ_OK;
    liq_image_destroy(image);
    if (!quantized) {
        return false;
    }
    liq_set_dithering_level(result, m_Dithering ? 0.6f : 0.0f);
    double error = 0.0;
    if (!Remap(result, frame, canvas, out, &error)) {
        liq_result_destroy(result);
        return false;
    }
    if (m_Result != nullptr) {
        liq_result_destroy(m_Result);
    }
    m_Result = result;
    m_BuildError = error;
    ++m_Rebuilds;
    return true;
}

// Remapping refines the palette and keeps the refined one apart; the indices
// refer to that one, so it is read after remapping.
bool LiqDeltaQuantizer::ReadPalette(liq_result* result, Image& out)
{
    const liq_palette* palette = liq_get_palette(result);
    if (palette == nullptr || palette->count == 0) {
        return false;
    }
    out.colorCount = static_cast<int>(std::min(palette->count, 256u));
    out.transparentIndex = -1;
    for (int i = 0; i < out.colorCount; ++i) {
        const liq_color& c = palette->entries[i];
        out.colors[i].Red = c.a != 0 ? c.r : 0;
        out.colors[i].Green = c.a != 0 ? c.g : 0;
        out.colors[i].Blue = c.a != 0 ? c.b : 0;
        if (c.a == 0 && out.transparentIndex < 0) {
            out.transparentIndex = i;
        }
    }
    return out.transparentIndex >= 0;
}

double LiqDeltaQuantizer::MeanError(const std::uint8_t* frame, const GifCanvas& canvas, const Image& out) const
{
    const GifRect& rect = out.rect;
    double sum = 0.0;
    std::size_t count = 0;
    const std::uint8_t* index = out.indices.data();
    for (int y = rect.top; y < rect.top + rect.height; ++y) {
        const std::uint8_t* needed = m_Needed.data() + static_cast<std::size_t>(y) * m_Width;
        const std::uint8_t* recorded = FramePixel(frame, m_Width, m_Height, rect.left, y);
        const std::uint8_t* shown = canvas.At(rect.left, y);
        for (int x = rect.left; x < rect.left + rect.width; ++x, ++index, recorded += 3, shown += 3) {
            if (needed[x] == 0) {
                continue;
            }
            sum +=
                *index == out.transparentIndex ? Distance2(shown, recorded) : Distance2(out.colors[*index], recorded);
            ++count;
        }
    }
    return count == 0 ? 0.0 : sum / static_cast<double>(count);
}

// A pixel is drawn only when its new colour is closer to the recorded one
// than what is shown; one that is not, and whose recorded colour stays,
// is not tried again.
void LiqDeltaQuantizer::KeepOnlyImprovements(const std::uint8_t* frame, const GifCanvas& canvas, Image& out)
{
    const GifRect& rect = out.rect;
    std::uint8_t* index = out.indices.data();
    const auto transparent = static_cast<std::uint8_t>(out.transparentIndex);
    for (int y = rect.top; y < rect.top + rect.height; ++y) {
        const std::uint8_t* needed = m_Needed.data() + static_cast<std::size_t>(y) * m_Width;
        const std::uint8_t* recorded = FramePixel(frame, m_Width, m_Height, rect.left, y);
        const std::uint8_t* shown = canvas.At(rect.left, y);
        std::uint8_t* settled = m_Settled.data() +
                                static_cast<std::size_t>(m_Height - 1 - y) * static_cast<std::size_t>(m_Width) +
                                static_cast<std::size_t>(rect.left);
        for (int x = rect.left; x < rect.left + rect.width; ++x, ++index, recorded += 3, shown += 3, ++settled) {
            if (needed[x] == 0) {
                *index = transparent;
                continue;
            }
            if (*index != transparent && Distance2(out.colors[*index], recorded) < Distance2(shown, recorded)) {
                continue;
            }
            *index = transparent;
            *settled = 1;
        }
    }
}

// Shrinks the image to the rectangle of the pixels it draws.
void LiqDeltaQuantizer::CropToDrawn(Image& out)
{
    const GifRect rect = out.rect;
    GifBounds bounds;
    for (int y = 0; y < rect.height; ++y) {
        const std::uint8_t* row = out.indices.data() + static_cast<std::size_t>(y) * rect.width;
        for (int x = 0; x < rect.width; ++x) {
            if (row[x] != out.transparentIndex) {
                bounds.Add(x, y);
            }
        }
    }
    const GifRect inside = bounds.Rect();
    if (inside.IsEmpty()) {
        out.rect = GifRect{};
        out.indices.clear();
        return;
    }
    if (inside.width == rect.width && inside.height == rect.height) {
        return;
    }
    const GifRect cropped{rect.left + inside.left, rect.top + inside.top, inside.width, inside.height};
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(cropped.width) * cropped.height);
    for (int y = 0; y < cropped.height; ++y) {
        const std::uint8_t* from = out.indices.data() + static_cast<std::size_t>(inside.top + y) * rect.width +
                                   static_cast<std::size_t>(inside.left);
        std::copy(from, from + cropped.width, indices.data() + static_cast<std::size_t>(y) * cropped.width);
    }
    out.indices.swap(indices);
    out.rect = cropped;
}

} // namespace pelidore
