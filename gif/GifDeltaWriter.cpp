#include "GifDeltaWriter.h"

#include "ColorRuns.h"
#include "GifRunJoiner.h"

#include <gif_lib.h>

namespace pelidore {

namespace {

// "High Speed" + "Transparent" after the first frame, when few pixels
// changed: the octree's colours for them, one entry of them transparent.
// Half the table takes a bit off every LZW code, and the few per cent of
// the screen that change lose little by it (measured in bench/README.md);
// a frame where much changes keeps the whole palette, as its picture
// weighs on the recording as much as the first frame's.
constexpr int kChangedColors = 128;
constexpr std::size_t kFewChangedShare = 8; // at most one pixel in 8

// Pixels not in the key colour that "Transparent" gives unchanged ones.
std::size_t CountChanged(const std::uint8_t* pixels, std::size_t count)
{
    std::size_t changed = 0;
    for (std::size_t i = 0; i < count; ++i) {
        changed += ColorRuns::ColorOf(pixels + i * 3) != ColorRuns::kTransparentKey ? 1 : 0;
    }
    return changed;
}

} // namespace

bool GifDeltaWriter::Start(int width, int height, int quality, bool dithering, bool transparency)
{
    m_Width = width;
    m_Height = height;
    m_Quality = quality;
    m_Transparency = transparency && quality == 0;
    m_OwnColors = m_Transparency && !dithering;
    m_First = true;
    m_Canvas.Reset(width, height);
    if (quality == 0) {
        m_Indices.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
        return true;
    }
    return m_Liq.Start(width, height, quality, dithering);
}

void GifDeltaWriter::Release()
{
    m_Canvas.Release();
    m_Liq.Release();
    std::vector<std::uint8_t>().swap(m_Indices);
    std::vector<std::uint8_t>().swap(m_Image.indices);
}

bool GifDeltaWriter::Write(GifWriter& writer, const std::uint8_t* pixels, int centiseconds)
{
    const bool written =
        m_Quality == 0 ? WriteOctreeFrame(writer, pixels, centiseconds) : WriteLiqFrame(writer, pixels, centiseconds);
    m_First = m_First && !written;
    return written;
}

// The octree's frame, cropped to where it changes the picture: outside the
// rectangle every pixel is transparent or shows the colour already there.
// With "Transparent" (and no "Dithering", whose reduced colours the octree
// keeps exactly) the first frame's pixels take their nearest palette colour,
// a picture that stays wherever the recording does not change, and later
// frames where few pixels changed get a smaller palette (kChangedColors).
// With "Transparent" a pixel may take the index before it where that shows
// the same (GifRunJoiner).
bool GifDeltaWriter::WriteOctreeFrame(GifWriter& writer, const std::uint8_t* pixels, int centiseconds)
{
    GifColorType colors[256];
    std::uint8_t transparentIndex = 0;
    int used = 0;
    const std::size_t count = static_cast<std::size_t>(m_Width) * static_cast<std::size_t>(m_Height);
    const bool fewChanged = m_OwnColors && !m_First && CountChanged(pixels, count) <= count / kFewChangedShare;
    const int maxColors = fewChanged ? kChangedColors : 256;
    if (!m_Octree.Quantize(m_Width, m_Height, pixels, m_Indices.data(), colors, maxColors, &transparentIndex,
                           m_Transparency, &used)) {
        return false;
    }
    if (m_OwnColors && m_First) {
        m_Nearest.Remap(pixels, count, colors, used, transparentIndex, m_Indices.data());
    }
    const int transparent = m_Transparency ? transparentIndex : -1;
    const GifRect rect =
        m_First ? GifRect{0, 0, m_Width, m_Height} : m_Canvas.ChangedBounds(m_Indices.data(), colors, transparent);
    if (rect.IsEmpty()) {
        return WriteUnchanged(writer, centiseconds);
    }
    const std::ptrdiff_t width = m_Width;
    std::uint8_t* topRow = m_Indices.data() + static_cast<std::ptrdiff_t>(m_Height - 1 - rect.top) * width +
                           static_cast<std::ptrdiff_t>(rect.left);
    if (!m_First && m_Transparency) {
        GifRunJoiner::Join(m_Canvas, rect, topRow, -width, colors, used, transparent);
    }
    return WriteAndDraw(writer, centiseconds, colors, used, rect, topRow, -width, transparent);
}

bool GifDeltaWriter::WriteLiqFrame(GifWriter& writer, const std::uint8_t* pixels, int centiseconds)
{
    if (!m_Liq.Quantize(pixels, m_Canvas, m_Image)) {
        return false;
    }
    if (m_Image.rect.IsEmpty()) {
        return WriteUnchanged(writer, centiseconds);
    }
    return WriteAndDraw(writer, centiseconds, m_Image.colors, m_Image.colorCount, m_Image.rect, m_Image.indices.data(),
                        m_Image.rect.width, m_Image.transparentIndex);
}

// One pixel in the top-left corner, in the colour shown there (or
// transparent where the file has transparency): the delay passes and the
// picture stays.
bool GifDeltaWriter::WriteUnchanged(GifWriter& writer, int centiseconds)
{
    const std::uint8_t* shown = m_Canvas.At(0, 0);
    GifColorType colors[1];
    colors[0].Red = shown[2];
    colors[0].Green = shown[1];
    colors[0].Blue = shown[0];
    const std::uint8_t index = 0;
    return writer.WriteImage(centiseconds, colors, 1, GifRect{0, 0, 1, 1}, &index, 1, 0);
}

bool GifDeltaWriter::WriteAndDraw(GifWriter& writer, int centiseconds, const GifColorType* colors, int colorCount,
                                  const GifRect& rect, const std::uint8_t* topRow, std::ptrdiff_t rowStep,
                                  int transparentIndex)
{
    const auto transparentByte = static_cast<std::uint8_t>(transparentIndex < 0 ? 0 : transparentIndex);
    if (!writer.WriteImage(centiseconds, colors, colorCount, rect, topRow, rowStep, transparentByte)) {
        return false;
    }
    m_Canvas.Draw(rect, topRow, rowStep, colors, transparentIndex);
    return true;
}

} // namespace pelidore
