// The pieces of bench/compare-encoders.py that need the project's code:
//
//   GifCompare frames WxH N OUT.raw [PNGDIR]
//       writes the desktop-like recording (SyntheticFrames) as raw frames for
//       pelidore-convert, and as PNG files (frame0000.png, ...) for encoders
//       that read pictures;
//   GifCompare score WxH N IN.raw IN.gif DELAY
//       plays the GIF back as a viewer does and prints the mean PSNR over the
//       recorded frames, each compared with the picture on screen at its time
//       (DELAY hundredths apart), and the number of images in the GIF.
#include "GifPlayer.h"
#include "GifTestUtil.h"
#include "SyntheticFrames.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace pelidore {

namespace {

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data)
{
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
    PutBigEndian(out, static_cast<std::uint32_t>(crc));
}

// An 8-bit RGB PNG of a frame (rows top first, no filter), through zlib.
bool WritePng(const std::string& path, const synth::Pixels& frame, int w, int h)
{
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(h) * (static_cast<std::size_t>(w) * 3 + 1));
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);
        const std::uint8_t* p = frame.data() + static_cast<std::size_t>(h - 1 - y) * w * 3;
        for (int x = 0; x < w; ++x, p += 3) {
            raw.push_back(p[2]);
            raw.push_back(p[1]);
            raw.push_back(p[0]);
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 1) != Z_OK) {
        return false;
    }
    packed.resize(packedSize);
    std::vector<std::uint8_t> header;
    PutBigEndian(header, static_cast<std::uint32_t>(w));
    PutBigEndian(header, static_cast<std::uint32_t>(h));
    header.insert(header.end(), {8, 2, 0, 0, 0});
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(out);
}

int Frames(int w, int h, int n, const char* rawPath, const char* pngDir)
{
    std::FILE* raw = std::fopen(rawPath, "wb");
    if (raw == nullptr) {
        std::fprintf(stderr, "cannot create %s\n", rawPath);
        return 1;
    }
    const synth::DesktopSequence sequence(w, h, 1, false, true);
    synth::Pixels previous;
    double changed = 0.0;
    for (int i = 0; i < n; ++i) {
        const synth::Pixels frame = sequence.Frame(i);
        for (std::size_t p = 0; i > 0 && p < frame.size(); p += 3) {
            changed += std::memcmp(&frame[p], &previous[p], 3) != 0 ? 1.0 : 0.0;
        }
        previous = frame;
        std::fwrite(frame.data(), 1, frame.size(), raw);
        if (pngDir != nullptr) {
            char name[32];
            std::snprintf(name, sizeof name, "/frame%04d.png", i);
            if (!WritePng(std::string(pngDir) + name, frame, w, h)) {
                std::fprintf(stderr, "cannot write %s%s\n", pngDir, name);
                return 1;
            }
        }
    }
    std::printf("%.2f%% of the pixels change per frame\n",
                n > 1 ? 100.0 * changed / (static_cast<double>(n - 1) * w * h) : 0.0);
    return std::fclose(raw) == 0 ? 0 : 1;
}

int Score(int w, int h, int n, const char* rawPath, const char* gifPath, int delay)
{
    const auto gif = giftest::DecodeFile(gifPath);
    if (!gif.ok || gif.width != w || gif.height != h) {
        std::fprintf(stderr, "%s: not a %dx%d GIF\n", gifPath, w, h);
        return 1;
    }
    std::FILE* raw = std::fopen(rawPath, "rb");
    if (raw == nullptr) {
        std::fprintf(stderr, "cannot open %s\n", rawPath);
        return 1;
    }
    giftest::GifPlayer player(gif);
    synth::Pixels frame(static_cast<std::size_t>(w) * h * 3);
    double sum = 0.0;
    int scored = 0;
    for (int i = 0; i < n && std::fread(frame.data(), 1, frame.size(), raw) == frame.size(); ++i) {
        player.SeekTo(static_cast<long long>(i) * delay);
        sum += synth::Psnr(player.Picture().data(), frame.data(), frame.size());
        ++scored;
    }
    std::fclose(raw);
    std::printf("%.3f %zu\n", scored == 0 ? 0.0 : sum / scored, gif.frames.size());
    return scored == n ? 0 : 1;
}

} // namespace

} // namespace pelidore

int main(int argc, char** argv)
{
    int w = 0, h = 0;
    if (argc >= 5 && std::sscanf(argv[2], "%dx%d", &w, &h) == 2 && w > 0 && h > 0) {
        const int n = std::atoi(argv[3]);
        if (std::strcmp(argv[1], "frames") == 0 && (argc == 5 || argc == 6)) {
            return pelidore::Frames(w, h, n, argv[4], argc == 6 ? argv[5] : nullptr);
        }
        if (std::strcmp(argv[1], "score") == 0 && argc == 7) {
            return pelidore::Score(w, h, n, argv[4], argv[5], std::atoi(argv[6]));
        }
    }
    std::fprintf(stderr, "usage: GifCompare frames WxH N OUT.raw [PNGDIR]\n"
                         "       GifCompare score WxH N IN.raw IN.gif DELAY\n");
    return 2;
}
