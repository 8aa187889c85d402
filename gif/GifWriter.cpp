#include "gif/GifWriter.h"

#include "gif/SizeForecast.h"

#include <gif_lib.h>

#include <fcntl.h>
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
    const std::size_t written = std::fwrite(bytes, 1, static_cast<std::size_t>(length), self->file_);
    self->position_ += written;
    if (written != static_cast<std::size_t>(length)) {
        self->writeError_ = true;
    }
    return static_cast<int>(written);
}

bool GifWriter::Open(const std::filesystem::path& path, int width, int height, bool transparency)
{
    Close();
    writeError_ = false;
    position_ = 0;
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535) {
        return false;
    }
    const int fd = OpenDescriptor(path);
    if (fd < 0) {
        return false;
    }
    file_ = StreamFromDescriptor(fd);
    if (file_ == nullptr) {
        CloseDescriptor(fd);
        return false;
    }
    int error = 0;
    // EGifOpenFileHandle would wrap the same descriptor in the same "wb"
    // stream, but hides the stream's position, which the file size needs;
    // an output function over our stream gives both.
    gif_ = EGifOpen(this, &GifWriter::Output, &error);
    if (gif_ == nullptr) {
        std::fclose(file_);
        file_ = nullptr;
        return false;
    }
    width_ = width;
    height_ = height;
    transparency_ = transparency;
    EGifSetGifVersion(gif_, true);
    if (EGifPutScreenDesc(gif_, width, height, 8, 0, nullptr) == GIF_ERROR) {
        Close();
        return false;
    }
    static const GifByteType kNetscape[11] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    static const GifByteType kLoop[3] = {0x01, 0x00, 0x01};
    EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE);
    EGifPutExtensionBlock(gif_, sizeof kNetscape, kNetscape);
    EGifPutExtensionBlock(gif_, sizeof kLoop, kLoop);
    EGifPutExtensionTrailer(gif_);
    fileSize_.store(position_);
    return true;
}

bool GifWriter::WouldRefuse() const
{
    return SizeForecastExceeds(sizeLimit_.load(), fileSize_.load(), framesWritten_.load());
}

bool GifWriter::WriteFrame(int delayCentiseconds, const GifColorType* colors, const std::uint8_t* indices,
                           std::uint8_t transparentIndex)
{
    if (gif_ == nullptr || colors == nullptr || indices == nullptr) {
        return false;
    }
    if (WouldRefuse()) {
        return false;
    }
    framesWritten_.fetch_add(1);

    if (delayCentiseconds < 0) {
        delayCentiseconds = 0;
    } else if (delayCentiseconds > 0xFFFF) {
        delayCentiseconds = 0xFFFF;
    }
    GifByteType control[4];
    control[0] = static_cast<GifByteType>(4 + (transparency_ ? 1 : 0));
    control[1] = static_cast<GifByteType>(delayCentiseconds & 0xFF);
    control[2] = static_cast<GifByteType>(delayCentiseconds / 256);
    control[3] = transparentIndex;
    EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, 4, control);

    // giflib copies the map into its own image state.
    ColorMapObject* map = GifMakeMapObject(256, colors);
    if (map == nullptr) {
        return false;
    }
    const bool described = EGifPutImageDesc(gif_, 0, 0, width_, height_, false, map) != GIF_ERROR;
    GifFreeMapObject(map);
    if (!described) {
        return false;
    }
    for (int r = height_ - 1; r >= 0; --r) {
        GifPixelType* row = const_cast<GifPixelType*>(indices) + static_cast<std::size_t>(r) * static_cast<std::size_t>(width_);
        if (EGifPutLine(gif_, row, width_) == GIF_ERROR) {
            return false;
        }
    }
    if (writeError_) {
        return false;
    }
    fileSize_.store(position_);
    return true;
}

bool GifWriter::Close()
{
    if (gif_ == nullptr) {
        return false;
    }
    int error = 0;
    const bool closed = EGifCloseFile(gif_, &error) != GIF_ERROR;
    gif_ = nullptr;
    const bool flushed = std::fclose(file_) == 0;
    file_ = nullptr;
    return closed && flushed && !writeError_;
}

void GifWriter::ResetCounters()
{
    fileSize_.store(0);
    framesWritten_.store(0);
    sizeLimit_.store(0);
}
