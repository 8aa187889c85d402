// The layout of the frame store temp.dat, shared by its writer, reader and
// recovery: a 20-byte header (version 1, width, height, bytes per pixel 3,
// frame count; little-endian 32-bit integers), then one record per frame: a
// 9-byte head (blob length L, little-endian 32-bit; the delay in seconds, a
// little-endian 32-bit float; the flag 1) and the L bytes of the frame's blob
// (CFrameBlob). The frame count is 0 until the writer closes the file.
//
// Portable: no Windows header.
#pragma once

#include "CFrameBlob.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace pelidore {

class FrameStoreLayout {
public:
    static constexpr int kVersion = 1;
    static constexpr int kBytesPerPixel = CFrameBlob::kBytesPerPixel;
    static constexpr std::size_t kHeaderBytes = 20;      // version, width, height, bytes per pixel, frame count
    static constexpr std::size_t kFrameCountOffset = 16; // of the frame count in the header
    static constexpr std::size_t kRecordHeadBytes = 9;   // blob length, delay, flag
    static constexpr std::uint8_t kRecordFlag = 1;
    // Sizes past these are refused by the writer and by the reader: a side of
    // 16384 pixels, a frame of 256 MiB (an 8K monitor is 95 MiB).
    static constexpr int kMaxDimension = 16384;
    static constexpr std::size_t kMaxFrameBytes = std::size_t(256) << 20;

    struct Header {
        int version = kVersion;
        int width = 0;
        int height = 0;
        int bytesPerPixel = kBytesPerPixel;
        int frameCount = 0;
    };

    struct RecordHead {
        std::uint32_t blobLength = 0;
        float delay = 0.0f; // seconds of playback time
        std::uint8_t flag = kRecordFlag;
    };

    // The sizes the writer and the reader accept: 1..16384 on each side, at
    // most 256 MiB a frame.
    static bool IsPlausibleSize(int width, int height);
    static std::size_t FrameBytesFor(int width, int height); // width * height * 3 in size_t
    // A delay the store keeps: finite and not negative.
    static bool IsPlaybackTime(float seconds);

    static void WriteHeader(const Header& header, std::uint8_t out[kHeaderBytes]);
    // Reads the header and checks it: version 1, 3 bytes per pixel, a
    // plausible size, a frame count >= 0. False, with the reason, otherwise.
    static bool ReadHeader(const std::uint8_t in[kHeaderBytes], Header& header, std::string& error);
    static void WriteFrameCount(int frameCount, std::uint8_t out[4]);

    static void WriteRecordHead(const RecordHead& head, std::uint8_t out[kRecordHeadBytes]);
    static RecordHead ReadRecordHead(const std::uint8_t in[kRecordHeadBytes]);
};

} // namespace pelidore
