#include "GifWriter.h"

#include "OpenFile.h"
#include "SizeForecast.h"

#include <gif_lib.h>

namespace pelidore {

GifWriter::~GifWriter()
{
    Close();
}

int GifWriter::Output(GifFileType* gif, const unsigned char* bytes, int length)
{
    auto* self = static_cast<GifWriter*>(gif->UserData);
    if (length <= 0) {
        return 0;
    }
    const std::size_t written = std::fwrite(bytes, 1, static_cast<std::size_t>(length), self->m_File);
    self->m_Position += written;
    if (written != static_cast<std::size_t>(length)) {
        self->m_WriteError = true;
    }
    return static_cast<int>(written);
}

bool GifWriter::Open(const std::filesystem::path& path, int width, int height, bool transparency)
{
    Close();
    m_WriteError = false;
    m_Position = 0;
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535) {
        return false;
    }
    m_File = OpenFile(path, "wb");
    if (m_File == nullptr) {
        return false;
    }
    int error = 0;
    // EGifOpenFileHandle would wrap a descriptor in a "wb" stream, but hides
    // the stream's position, which the file size needs; an output function
    // over our stream gives both.
    m_Gif = EGifOpen(this, &GifWriter::Output, &error);
    if (m_Gif == nullptr) {
        std::fclose(m_File);
        m_File = nullptr;
        return false;
    }
    m_Width = width;
    m_Height = height;
    m_Transparency = transparency;
    EGifSetGifVersion(m_Gif, true);
    if (EGifPutScreenDesc(m_Gif, width, height, 8, 0, nullptr) == GIF_ERROR) {
        Close();
        return false;
    }
    static const GifByteType kNetscape[11] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    static const GifByteType kLoop[3] = {0x01, 0x00, 0x01};
    EGifPutExtensionLeader(m_Gif, APPLICATION_EXT_FUNC_CODE);
    EGifPutExtensionBlock(m_Gif, sizeof kNetscape, kNetscape);
    EGifPutExtensionBlock(m_Gif, sizeof kLoop, kLoop);
    EGifPutExtensionTrailer(m_Gif);
    m_FileSize.store(m_Position);
    return true;
}

bool GifWriter::WouldRefuse() const
{
    return SizeForecastExceeds(m_SizeLimit.load(), m_FileSize.load(), m_FramesWritten.load());
}

bool GifWriter::WriteFrame(int delayCentiseconds, const GifColorType* colors, const std::uint8_t* indices,
                           std::uint8_t transparentIndex)
{
    if (m_Gif == nullptr || colors == nullptr || indices == nullptr) {
        return false;
    }
    if (WouldRefuse()) {
        return false;
    }
    m_FramesWritten.fetch_add(1);

    if (delayCentiseconds < 0) {
        delayCentiseconds = 0;
    } else if (delayCentiseconds > 0xFFFF) {
        delayCentiseconds = 0xFFFF;
    }
    GifByteType control[4];
    control[0] = static_cast<GifByteType>(4 + (m_Transparency ? 1 : 0));
    control[1] = static_cast<GifByteType>(delayCentiseconds & 0xFF);
    control[2] = static_cast<GifByteType>(delayCentiseconds / 256);
    control[3] = transparentIndex;
    EGifPutExtension(m_Gif, GRAPHICS_EXT_FUNC_CODE, 4, control);

    // giflib copies the map into its own image state.
    ColorMapObject* map = GifMakeMapObject(256, colors);
    if (map == nullptr) {
        return false;
    }
    const bool described = EGifPutImageDesc(m_Gif, 0, 0, m_Width, m_Height, false, map) != GIF_ERROR;
    GifFreeMapObject(map);
    if (!described) {
        return false;
    }
    for (int r = m_Height - 1; r >= 0; --r) {
        GifPixelType* row =
            const_cast<GifPixelType*>(indices) + static_cast<std::size_t>(r) * static_cast<std::size_t>(m_Width);
        if (EGifPutLine(m_Gif, row, m_Width) == GIF_ERROR) {
            return false;
        }
    }
    if (m_WriteError) {
        return false;
    }
    m_FileSize.store(m_Position);
    return true;
}

bool GifWriter::Close()
{
    if (m_Gif == nullptr) {
        return false;
    }
    int error = 0;
    const bool closed = EGifCloseFile(m_Gif, &error) != GIF_ERROR;
    m_Gif = nullptr;
    const bool flushed = std::fclose(m_File) == 0;
    m_File = nullptr;
    return closed && flushed && !m_WriteError;
}

void GifWriter::ResetCounters()
{
    m_FileSize.store(0);
    m_FramesWritten.store(0);
    m_SizeLimit.store(0);
}

} // namespace pelidore
