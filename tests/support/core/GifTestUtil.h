// Helpers of the GIF tests: temporary paths, file bytes, and a decoder that
// reads a GIF back with giflib (from memory, so wide paths need no care).
#pragma once

#include <gif_lib.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pelidore {

namespace giftest {

// A fresh folder per test process under the system's temporary folder.
std::filesystem::path TempDir();
std::filesystem::path TempPath(const std::string& name);
std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

struct DecodedFrame {
    int delay = -1;  // hundredths; -1 without a graphic control block
    int packed = -1; // the graphic control block's packed byte
    int transparentIndex = -1;
    int left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
    std::array<GifColorType, 256> colors{}; // its own colour table, else the global one
    int colorCount = 0;
    std::vector<std::uint8_t> indices; // top row first, as in the file
};

struct DecodedGif {
    bool ok = false;
    std::string version;
    int width = 0, height = 0;
    int loopCount = -1;
    std::vector<DecodedFrame> frames;
};

DecodedGif Decode(const std::vector<std::uint8_t>& bytes);
DecodedGif DecodeFile(const std::filesystem::path& path);

// The frame as the viewer sees it: for each pixel, top row first, its
// colour (R, G, B) from the frame's own colour table, bottom-up BGR result.
std::vector<std::uint8_t> FrameToBgrBottomUp(const DecodedFrame& frame);

// Flip a top-down index buffer to bottom-up order (and back).
std::vector<std::uint8_t> FlipRows(const std::vector<std::uint8_t>& rows, int width, int height, int bytesPerPixel);

} // namespace giftest

} // namespace pelidore
