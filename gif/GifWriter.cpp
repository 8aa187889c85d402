#include "GifWriter.h"

#include "SizeForecast.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <sys/stat.h>
#include <sys/types.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace pelidore {

namespace {

int OpenDescriptor(const std::filesystem::path& path)
{
#ifdef _WIN32
    return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH);
#endif
}

void CloseDescriptor(int fd)
{
#ifdef _WIN32
    _close(fd);
#else
    ::close(fd);
#endif
}

std::FILE* StreamFromDescriptor(int fd)
{
#ifdef _WIN32
    return _fdopen(fd, "wb");
#else
    return ::fdopen(fd, "wb");
#endif
}

} // namespace

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
    const int fd = OpenDescriptor(path);
    if (fd < 0) {
        return false;
    }
    m_File = StreamFromDescriptor(fd);
    if (m_File == nullptr) {
        CloseDescriptor(fd);
        return false;
    }
    int error = 0;
    // EGifOpenFileHandle would wrap the same descriptor in the same "wb"
    // stream, but hides the stream's position, which the file size needs;
    // an output function over our stream gives both.
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
    // Every frame reaches the operating system whole before the next one
    // starts, so a crash of the program loses at most the frame being written.
    if (std::fflush(m_File) != 0) {
        m_WriteError = true;
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
