#include "gif/GifWriter.h"

#include "gif/SizeForecast.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <sys/stat.h>
#include <sys/types.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

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
    const std::size_t written = std::fwrite(bytes, 1, static_cast<std::size_t>(length), self->m_file);
    self->m_position += written;
    if (written != static_cast<std::size_t>(length)) {
        self->m_writeError = true;
    }
    return static_cast<int>(written);
}

bool GifWriter::Open(const std::filesystem::path& path, int width, int height, bool transparency)
{
    Close();
    m_writeError = false;
    m_position = 0;
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535) {
        return false;
    }
    const int fd = OpenDescriptor(path);
    if (fd < 0) {
        return false;
    }
    m_file = StreamFromDescriptor(fd);
    if (m_file == nullptr) {
        CloseDescriptor(fd);
        return false;
    }
    int error = 0;
    // EGifOpenFileHandle would wrap the same descriptor in the same "wb"
    // stream, but hides the stream's position, which the file size needs;
    // an output function over our stream gives both.
    m_gif = EGifOpen(this, &GifWriter::Output, &error);
    if (m_gif == nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
        return false;
    }
    m_width = width;
    m_height = height;
    m_transparency = transparency;
    EGifSetGifVersion(m_gif, true);
    if (EGifPutScreenDesc(m_gif, width, height, 8, 0, nullptr) == GIF_ERROR) {
        Close();
        return false;
    }
    static const GifByteType kNetscape[11] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    static const GifByteType kLoop[3] = {0x01, 0x00, 0x01};
    EGifPutExtensionLeader(m_gif, APPLICATION_EXT_FUNC_CODE);
    EGifPutExtensionBlock(m_gif, sizeof kNetscape, kNetscape);
    EGifPutExtensionBlock(m_gif, sizeof kLoop, kLoop);
    EGifPutExtensionTrailer(m_gif);
    m_fileSize.store(m_position);
    return true;
}

bool GifWriter::WouldRefuse() const
{
    return SizeForecastExceeds(m_sizeLimit.load(), m_fileSize.load(), m_framesWritten.load());
}

bool GifWriter::WriteFrame(int delayCentiseconds, const GifColorType* colors, const std::uint8_t* indices,
                           std::uint8_t transparentIndex)
{
    if (m_gif == nullptr || colors == nullptr || indices == nullptr) {
        return false;
    }
    if (WouldRefuse()) {
        return false;
    }
    m_framesWritten.fetch_add(1);

    if (delayCentiseconds < 0) {
        delayCentiseconds = 0;
    } else if (delayCentiseconds > 0xFFFF) {
        delayCentiseconds = 0xFFFF;
    }
    GifByteType control[4];
    control[0] = static_cast<GifByteType>(4 + (m_transparency ? 1 : 0));
    control[1] = static_cast<GifByteType>(delayCentiseconds & 0xFF);
    control[2] = static_cast<GifByteType>(delayCentiseconds / 256);
    control[3] = transparentIndex;
    EGifPutExtension(m_gif, GRAPHICS_EXT_FUNC_CODE, 4, control);

    // giflib copies the map into its own image state.
    ColorMapObject* map = GifMakeMapObject(256, colors);
    if (map == nullptr) {
        return false;
    }
    const bool described = EGifPutImageDesc(m_gif, 0, 0, m_width, m_height, false, map) != GIF_ERROR;
    GifFreeMapObject(map);
    if (!described) {
        return false;
    }
    for (int r = m_height - 1; r >= 0; --r) {
        GifPixelType* row =
            const_cast<GifPixelType*>(indices) + static_cast<std::size_t>(r) * static_cast<std::size_t>(m_width);
        if (EGifPutLine(m_gif, row, m_width) == GIF_ERROR) {
            return false;
        }
    }
    if (m_writeError) {
        return false;
    }
    m_fileSize.store(m_position);
    return true;
}

bool GifWriter::Close()
{
    if (m_gif == nullptr) {
        return false;
    }
    int error = 0;
    const bool closed = EGifCloseFile(m_gif, &error) != GIF_ERROR;
    m_gif = nullptr;
    const bool flushed = std::fclose(m_file) == 0;
    m_file = nullptr;
    return closed && flushed && !m_writeError;
}

void GifWriter::ResetCounters()
{
    m_fileSize.store(0);
    m_framesWritten.store(0);
    m_sizeLimit.store(0);
}
