#include "GifTestUtil.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>

namespace pelidore {

namespace giftest {

std::filesystem::path TempDir()
{
    static const std::filesystem::path dir = [] {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        std::random_device rd;
        auto d = std::filesystem::temp_directory_path() /
                 ("pelidore-gif-" + std::to_string(stamp) + "-" + std::to_string(rd()));
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

std::filesystem::path TempPath(const std::string& name)
{
    return TempDir() / std::filesystem::u8path(name);
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

namespace {

struct Source {
    const std::vector<std::uint8_t>* bytes;
    std::size_t pos;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int length)
{
    auto* s = static_cast<Source*>(gif->UserData);
    const std::size_t left = s->bytes->size() - s->pos;
    const std::size_t n = static_cast<std::size_t>(length) < left ? static_cast<std::size_t>(length) : left;
    std::memcpy(out, s->bytes->data() + s->pos, n);
    s->pos += n;
    return static_cast<int>(n);
}

} // namespace

DecodedGif Decode(const std::vector<std::uint8_t>& bytes)
{
    DecodedGif result;
    Source source{&bytes, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, &ReadFromMemory, &error);
    if (gif == nullptr) {
        return result;
    }
    if (DGifSlurp(gif) != GIF_OK) {
        DGifCloseFile(gif, &error);
        return result;
    }
    result.version = bytes.size() >= 6 ? std::string(bytes.begin(), bytes.begin() + 6) : std::string();
    result.width = gif->SWidth;
    result.height = gif->SHeight;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        DecodedFrame frame;
        frame.left = image.ImageDesc.Left;
        frame.top = image.ImageDesc.Top;
        frame.width = image.ImageDesc.Width;
        frame.height = image.ImageDesc.Height;
        frame.interlaced = image.ImageDesc.Interlace;
        // Without a colour table of its own an image uses the global one.
        const ColorMapObject* map = image.ImageDesc.ColorMap != nullptr ? image.ImageDesc.ColorMap : gif->SColorMap;
        if (map != nullptr) {
            frame.colorCount = map->ColorCount;
            for (int c = 0; c < frame.colorCount && c < 256; ++c) {
                frame.colors[static_cast<std::size_t>(c)] = map->Colors[c];
            }
        }
        const std::size_t n = static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height);
        frame.indices.assign(image.RasterBits, image.RasterBits + n);
        for (int e = 0; e < image.ExtensionBlockCount; ++e) {
            const ExtensionBlock& ext = image.ExtensionBlocks[e];
            if (ext.Function == GRAPHICS_EXT_FUNC_CODE && ext.ByteCount == 4) {
                frame.packed = ext.Bytes[0];
                frame.delay = ext.Bytes[1] | (ext.Bytes[2] << 8);
                frame.transparentIndex = ext.Bytes[3];
            }
        }
        result.frames.push_back(std::move(frame));
    }
    // The loop block sits before the first image: giflib files it with the
    // extension blocks of image 0 (application block then its sub-block).
    if (gif->ImageCount > 0) {
        const SavedImage& first = gif->SavedImages[0];
        for (int e = 0; e + 1 < first.ExtensionBlockCount; ++e) {
            const ExtensionBlock& ext = first.ExtensionBlocks[e];
            if (ext.Function == APPLICATION_EXT_FUNC_CODE && ext.ByteCount == 11 &&
                std::memcmp(ext.Bytes, "NETSCAPE2.0", 11) == 0) {
                const ExtensionBlock& sub = first.ExtensionBlocks[e + 1];
                if (sub.ByteCount == 3) {
                    result.loopCount = sub.Bytes[1] | (sub.Bytes[2] << 8);
                }
            }
        }
    }
    DGifCloseFile(gif, &error);
    result.ok = true;
    return result;
}

DecodedGif DecodeFile(const std::filesystem::path& path)
{
    return Decode(ReadBytes(path));
}

std::vector<std::uint8_t> FlipRows(const std::vector<std::uint8_t>& rows, int width, int height, int bytesPerPixel)
{
    const std::size_t stride = static_cast<std::size_t>(width) * static_cast<std::size_t>(bytesPerPixel);
    std::vector<std::uint8_t> out(rows.size());
    for (int r = 0; r < height; ++r) {
        std::memcpy(out.data() + static_cast<std::size_t>(height - 1 - r) * stride,
                    rows.data() + static_cast<std::size_t>(r) * stride, stride);
    }
    return out;
}

std::vector<std::uint8_t> FrameToBgrBottomUp(const DecodedFrame& frame)
{
    std::vector<std::uint8_t> topDown(frame.indices.size() * 3);
    for (std::size_t i = 0; i < frame.indices.size(); ++i) {
        const GifColorType& c = frame.colors[frame.indices[i]];
        topDown[i * 3] = c.Blue;
        topDown[i * 3 + 1] = c.Green;
        topDown[i * 3 + 2] = c.Red;
    }
    return FlipRows(topDown, frame.width, frame.height, 3);
}

} // namespace giftest

} // namespace pelidore
