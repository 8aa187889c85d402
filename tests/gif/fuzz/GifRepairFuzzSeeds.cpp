// Writes the GIF repair fuzzer's seed corpus: recordings as GifWriter writes
// them (no frame, one, several; with and without transparency; odd sizes),
// whole and cut short at a few places. Usage: GifRepairFuzzSeeds DIR
#include "GifWriter.h"

#include <gif_lib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace pelidore {

namespace {

std::vector<std::uint8_t> Recording(const std::filesystem::path& path, int w, int h, int frames, bool transparency)
{
    GifWriter writer;
    if (!writer.Open(path, w, h, transparency))
        return {};
    GifColorType colors[256] = {};
    for (int i = 0; i < 256; ++i)
        colors[i] = GifColorType{std::uint8_t(i), std::uint8_t(i * 7), std::uint8_t(255 - i)};
    std::vector<std::uint8_t> indices(std::size_t(w) * h);
    for (int f = 0; f < frames; ++f) {
        for (std::size_t i = 0; i < indices.size(); ++i)
            indices[i] = std::uint8_t((i * (f + 3)) % 251 < 200 ? f : i % 256);
        writer.WriteFrame(5 * (f + 1), colors, indices.data(), 0);
    }
    writer.Close();
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(size));
}

} // namespace

} // namespace pelidore

using namespace pelidore;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: GifRepairFuzzSeeds DIR\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    const struct {
        int w, h, frames;
        bool transparency;
    } kinds[] = {{4, 2, 0, false}, {3, 5, 1, true}, {16, 8, 3, false}, {33, 7, 2, true}};
    int written = 0;
    for (const auto& k : kinds) {
        const std::string stem = "seed-" + std::to_string(k.w) + "x" + std::to_string(k.h) + "-" +
                                 std::to_string(k.frames) + (k.transparency ? "t" : "");
        const auto bytes = Recording(dir / (stem + ".tmp"), k.w, k.h, k.frames, k.transparency);
        std::filesystem::remove(dir / (stem + ".tmp"));
        if (bytes.empty())
            return 1;
        for (const std::size_t size : {bytes.size(), bytes.size() - 1, bytes.size() * 2 / 3, std::size_t(40)}) {
            if (size <= bytes.size()) {
                Write(dir / (stem + "-" + std::to_string(size)), bytes, size);
                ++written;
            }
        }
    }
    std::printf("%d seeds in %s\n", written, dir.string().c_str());
    return 0;
}
