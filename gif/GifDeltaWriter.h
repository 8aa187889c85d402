// The "Smaller files" layout of an export: after the first frame, each frame
// is written as the smallest rectangle that changes what the viewer shows,
// with its own image descriptor and a colour table no larger than it needs; a
// frame that changes nothing is one pixel that keeps what is shown, carrying
// its delay. "High Speed" runs the octree over the whole frame as it comes
// (with "Transparent" already keyed, see GifExporter); alone or with
// "Dithering" it quantizes as without the option. "Transparent" without
// "Dithering" maps the first frame to the nearest palette colours and gives
// later frames where little changed a smaller palette: other pictures, as
// close to the recording over all. With "Transparent" a pixel may take the
// index before it where that shows the same (GifRunJoiner). The
// libimagequant qualities go through LiqDeltaQuantizer. Portable.
#pragma once

#include "GifCanvas.h"
#include "GifWriter.h"
#include "LiqDeltaQuantizer.h"
#include "NearestColorMap.h"
#include "QColorQuantizer.h"

#include <cstdint>
#include <vector>

namespace pelidore {

class GifDeltaWriter {
public:
    // quality and transparency as GifExporter::Start takes them.
    bool Start(int width, int height, int quality, bool dithering, bool transparency);
    void Release();
    // Whether the file needs transparency switched on.
    bool UsesTransparency() const { return m_Transparency || m_Quality != 0; }

    // One frame (blue, green, red, bottom row first; for "High Speed" with
    // "Transparent" already keyed). False when quantizing or writing failed
    // or the size limit refused the frame.
    bool Write(GifWriter& writer, const std::uint8_t* pixels, int centiseconds);

private:
    bool WriteOctreeFrame(GifWriter& writer, const std::uint8_t* pixels, int centiseconds);
    bool WriteLiqFrame(GifWriter& writer, const std::uint8_t* pixels, int centiseconds);
    bool WriteUnchanged(GifWriter& writer, int centiseconds);
    bool WriteAndDraw(GifWriter& writer, int centiseconds, const GifColorType* colors, int colorCount,
                      const GifRect& rect, const std::uint8_t* topRow, std::ptrdiff_t rowStep, int transparentIndex);

    int m_Width = 0;
    int m_Height = 0;
    int m_Quality = 0;
    bool m_Transparency = false;
    bool m_OwnColors = false; // "High Speed" + "Transparent" without "Dithering"
    bool m_First = true;
    GifCanvas m_Canvas;
    QColorQuantizer m_Octree;
    NearestColorMap m_Nearest;
    LiqDeltaQuantizer m_Liq;
    LiqDeltaQuantizer::Image m_Image;
    std::vector<std::uint8_t> m_Indices;
};

} // namespace pelidore
