#include "GifWriter.h"

#include "OpenFile.h"
#include "SizeForecast.h"

#include <gif_lib.h>

#include <algorithm>
#include <system_error>

namespace pelidore {

namespace {

constexpr int kTrailer = 0x3B;

} // namespace

GifWriter::~GifWriter()
{
    Close();
}

int GifWriter::Write(GifFileType* gif, const unsigned char* bytes, int length)
{
    auto* self = static_cast<GifWriter*>(gif->UserData);
    if (length <= 0) {
        return 0;
    }
    const std::size_t written = self->m_Output(bytes, static_cast<std::size_t>(length));
    self->m_Position += written;
    if (written != static_cast<std::size_t>(length)) {
        self->m_WriteError = true;
    }
    return static_cast<int>(written);
}

bool GifWriter::Open(const std::filesystem::path& path, int width, int height, bool transparency)
{
    Close();
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535) {
        return false;
    }
    std::FILE* file = OpenFile(path, "wb");
    if (file == nullptr) {
        return false;
    }
    // EGifOpenFileHandle would wrap a descriptor in a "wb" stream, but hides
    // the stream's position, which the file size needs; an output function
    // over our stream gives both.
    m_File = file;
    m_Path = path;
    m_Output = [file](const std::uint8_t* bytes, std::size_t length) { return std::fwrite(bytes, 1, length, file); };
    return Begin(width, height, transparency);
}

bool GifWriter::Open(Output output, int width, int height, bool transparency)
{
    Close();
    if (!output || width <= 0 || height <= 0 || width > 65535 || height > 65535) {
        return false;
    }
    m_Output = std::move(output);
    return Begin(width, height, transparency);
}

// The header, the logical screen descriptor and the loop block, through
// m_Output.
bool GifWriter::Begin(int width, int height, bool transparency)
{
    m_WriteError = false;
    m_Position = 0;
    m_FileSize.store(0);
    int error = 0;
    m_Gif = EGifOpen(this, &GifWriter::Write, &error);
    if (m_Gif == nullptr) {
        if (m_File != nullptr) {
            std::fclose(m_File);
            m_File = nullptr;
        }
        m_Output = nullptr;
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
    m_FileSize.store(m_WriteError ? 0 : m_Position);
    return true;
}

bool GifWriter::WouldRefuse() const
{
    return SizeForecastExceeds(m_SizeLimit.load(), m_FileSize.load(), m_FramesWritten.load());
}

bool GifWriter::WriteFrame(int delayCentiseconds, const GifColorType* colors, const std::uint8_t* indices,
                           std::uint8_t transparentIndex)
{
    if (indices == nullptr) {
        return false;
    }
    const std::ptrdiff_t width = m_Width;
    const std::uint8_t* topRow = indices + static_cast<std::ptrdiff_t>(m_Height - 1) * width;
    return WriteImage(delayCentiseconds, colors, 256, GifRect{0, 0, m_Width, m_Height}, topRow, -width,
                      transparentIndex);
}

bool GifWriter::WriteImage(int delayCentiseconds, const GifColorType* colors, int colorCount, const GifRect& rect,
                           const std::uint8_t* topRow, std::ptrdiff_t rowStep, std::uint8_t transparentIndex)
{
    if (m_Gif == nullptr || colors == nullptr || topRow == nullptr || colorCount < 1 || colorCount > 256) {
        return false;
    }
    if (rect.IsEmpty() || rect.left < 0 || rect.top < 0 || rect.width > m_Width - rect.left ||
        rect.height > m_Height - rect.top) {
        return false;
    }
    if (WouldRefuse()) {
        return false;
    }
    m_FramesWritten.fetch_add(1);
    WriteControlBlock(delayCentiseconds, transparentIndex);

    // A colour table holds a power of two of entries; giflib copies the map
    // into its own image state.
    int tableSize = 2;
    while (tableSize < colorCount) {
        tableSize *= 2;
    }
    GifColorType table[256] = {};
    std::copy(colors, colors + colorCount, table);
    ColorMapObject* map = GifMakeMapObject(tableSize, table);
    if (map == nullptr) {
        return false;
    }
    const bool described =
        EGifPutImageDesc(m_Gif, rect.left, rect.top, rect.width, rect.height, false, map) != GIF_ERROR;
    GifFreeMapObject(map);
    if (!described) {
        return false;
    }
    for (int r = 0; r < rect.height; ++r) {
        // giflib masks the indices to the table's bits in place; ours are
        // already below the table size, so the caller's buffer stays as it is.
        GifPixelType* row = const_cast<GifPixelType*>(topRow + static_cast<std::ptrdiff_t>(r) * rowStep);
        if (EGifPutLine(m_Gif, row, rect.width) == GIF_ERROR) {
            return false;
        }
    }
    // Every frame reaches the operating system whole before the next one
    // starts, so a crash of the program loses at most the frame being written.
    if (m_File != nullptr && std::fflush(m_File) != 0) {
        m_WriteError = true;
    }
    if (m_WriteError) {
        return false;
    }
    m_FileSize.store(m_Position);
    return true;
}

void GifWriter::WriteControlBlock(int delayCentiseconds, std::uint8_t transparentIndex)
{
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
}

bool GifWriter::Close()
{
    if (m_Gif == nullptr) {
        return false;
    }
    int error = 0;
    const bool closed = EGifCloseFile(m_Gif, &error) != GIF_ERROR;
    m_Gif = nullptr;
    const bool toFile = m_File != nullptr;
    const bool flushed = !toFile || std::fclose(m_File) == 0;
    m_File = nullptr;
    m_Output = nullptr;
    const bool complete = closed && flushed && !m_WriteError;
    // Without its header whole there is nothing to keep.
    if (toFile && !complete && m_FileSize.load() > 0) {
        KeepWholeFrames();
    }
    return complete;
}

// After a failed write the file may end in part of a frame, or in a buffer
// that never reached the disk. Every whole frame was flushed (FileSize moves
// only then), so the file is cut there; the cut frees at least the byte the
// trailer needs, even on a full disk. Done in place: a copy would not fit.
bool GifWriter::KeepWholeFrames() const
{
    // Never grown: bytes that sat in the buffer when the disk filled are not
    // in the file, and zeros in their place would be no GIF.
    const std::uint64_t whole = m_FileSize.load();
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(m_Path, error);
    if (error || size < whole) {
        return false;
    }
    std::filesystem::resize_file(m_Path, whole, error);
    if (error) {
        return false;
    }
    std::FILE* file = OpenFile(m_Path, "ab");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fputc(kTrailer, file) != EOF;
    return std::fclose(file) == 0 && written;
}

void GifWriter::ResetCounters()
{
    m_FileSize.store(0);
    m_FramesWritten.store(0);
    m_SizeLimit.store(0);
}

} // namespace pelidore
