// Helpers shared by the frame store tests: frame generators, a temporary
// folder, whole-file access, hand-made blobs, and an independent parser of
// temp.dat that reads the layout straight from the bytes (it shares no code
// with the store, so a test that uses it checks the file, not the store
// against itself).
#pragma once

#include "CFrameFile.h"

#include <gtest/gtest.h>
#include <snappy.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace pelidore {

namespace fstest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes RandomFrame(std::size_t bytes, std::uint32_t seed)
{
    std::mt19937 rng(seed);
    Bytes frame(bytes);
    for (std::size_t i = 0; i < bytes; i += 4) {
        const std::uint32_t v = rng();
        for (std::size_t k = 0; k < 4 && i + k < bytes; ++k)
            frame[i + k] = std::uint8_t(v >> (8 * k));
    }
    return frame;
}

// A UI-like picture: flat panels, a few gradients and text-like specks.
inline Bytes DesktopFrame(int width, int height, std::uint32_t seed = 1)
{
    std::mt19937 rng(seed);
    Bytes frame(std::size_t(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &frame[(std::size_t(y) * width + x) * 3];
            const bool panel = ((x / 160) + (y / 90)) % 3 == 0;
            p[0] = panel ? 240 : std::uint8_t(40 + y * 100 / height);
            p[1] = panel ? 240 : std::uint8_t(60 + x * 80 / width);
            p[2] = panel ? 235 : 90;
            if (panel && (y % 18) < 10 && (x % 7) < 4 && (rng() & 7) == 0)
                p[0] = p[1] = p[2] = 20;
        }
    }
    return frame;
}

// Frame i of a sequence in which a window of about `percent` % of the area
// moves across a fixed desktop and shows changing content.
inline Bytes MovingWindowFrame(const Bytes& desktop, int width, int height, int index, double percent = 2.0)
{
    Bytes frame = desktop;
    const double area = double(width) * height * percent / 100.0;
    const int ww = std::max(4, int(std::sqrt(area * 2.0))); // 2:1 window
    const int wh = std::max(2, int(area / ww));
    const int x0 = (index * 12) % std::max(1, width - ww);
    const int y0 = (index * 5) % std::max(1, height - wh);
    std::mt19937 rng(std::uint32_t(1000 + index));
    for (int y = y0; y < y0 + wh && y < height; ++y) {
        for (int x = x0; x < x0 + ww && x < width; ++x) {
            std::uint8_t* p = &frame[(std::size_t(y) * width + x) * 3];
            p[0] = std::uint8_t(x * 3 + index);
            p[1] = std::uint8_t(y * 2);
            p[2] = std::uint8_t((rng() & 1) ? 200 : 30);
        }
    }
    return frame;
}

class TempDir {
public:
    TempDir()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "pelidore-framestore-";
        if (info)
            name += std::string(info->test_suite_name()) + "-" + info->name();
        std::random_device device;
        name += "-" + std::to_string(device() % 1000000);
        for (char& c : name) {
            if (c == '/')
                c = '_';
        }
        m_Path = std::filesystem::temp_directory_path() / name;
        std::filesystem::create_directories(m_Path);
    }
    ~TempDir()
    {
        std::error_code error;
        std::filesystem::remove_all(m_Path, error);
    }
    const std::filesystem::path& Path() const { return m_Path; }
    std::filesystem::path operator/(const std::string& name) const { return m_Path / name; }

private:
    std::filesystem::path m_Path;
};

inline Bytes ReadAll(const std::filesystem::path& path)
{
    std::uint64_t size = 0;
    Bytes bytes;
    CFrameFile file;
    if (!CFrameFile::Size(path, size) || !file.Open(path, CFrameFile::Mode::Read))
        return bytes;
    bytes.resize(std::size_t(size));
    if (!file.Read(bytes.data(), bytes.size()))
        bytes.clear();
    return bytes;
}

inline bool WriteAll(const std::filesystem::path& path, const Bytes& bytes)
{
    CFrameFile file;
    return file.Open(path, CFrameFile::Mode::Write) && file.Write(bytes.data(), bytes.size()) && file.Close();
}

inline std::uint32_t LE32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
inline std::uint32_t BE32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | std::uint32_t(p[3]);
}
inline void PutLE32(std::uint8_t* p, std::uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        p[k] = std::uint8_t(v >> (8 * k));
}
inline void PutBE32(std::uint8_t* p, std::uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        p[k] = std::uint8_t(v >> (24 - 8 * k));
}

// ---- Blobs made by hand --------------------------------------------------------
// Written byte by byte rather than by CFrameEncoder, so that a test can hand the
// decoder what the encoder never makes: wrong head fields, lying chunk
// lengths, chunks that decompress to the wrong size.

// A blob with the given head and chunk payloads.
inline Bytes MakeBlob(std::uint8_t compressor, std::uint8_t kind, const std::vector<Bytes>& chunks,
                      std::uint8_t count = 4, std::uint8_t bpp = 3, std::uint8_t version = 1)
{
    Bytes blob = {version, compressor, kind, count, bpp};
    for (const Bytes& c : chunks) {
        std::uint8_t len[4];
        PutBE32(len, std::uint32_t(c.size()));
        blob.insert(blob.end(), len, len + 4);
        blob.insert(blob.end(), c.begin(), c.end());
    }
    return blob;
}

inline Bytes Snappy(const Bytes& raw)
{
    std::string out;
    snappy::Compress(reinterpret_cast<const char*>(raw.data()), raw.size(), &out);
    return Bytes(out.begin(), out.end());
}

// A snappy chunk of `length` bytes whose preamble claims `claimed` bytes of
// output that its zero bytes cannot give: the decoder must not take the claim
// as a size to allocate or trust.
inline Bytes SnappyClaiming(std::size_t claimed, std::size_t length)
{
    Bytes chunk;
    std::size_t v = claimed;
    while (v >= 0x80) {
        chunk.push_back(std::uint8_t(v | 0x80));
        v >>= 7;
    }
    chunk.push_back(std::uint8_t(v));
    chunk.resize(length, 0);
    return chunk;
}

inline Bytes Zlib(const Bytes& raw)
{
    Bytes out(compressBound(uLong(raw.size())));
    uLongf len = uLongf(out.size());
    compress2(out.data(), &len, raw.data(), uLong(raw.size()), 6);
    out.resize(len);
    return out;
}

// ---- Independent parser of the file layout ---------------------------------------

struct DeltaRecord {
    int type;
    int bytes;
};

struct ParsedChunk {
    std::uint32_t compressedLength = 0;
    Bytes data;                       // decompressed: the raw chunk (key frame) or the delta stream
    std::vector<DeltaRecord> records; // delta frames only
};

struct ParsedRecord {
    std::size_t offset = 0; // of the record in the file
    std::uint32_t blobLength = 0;
    float delay = 0;
    int flag = 0;
    int blobVersion = 0, compressor = 0, kind = 0, chunkCount = 0, bytesPerPixel = 0;
    std::vector<ParsedChunk> chunks;
};

struct ParsedFile {
    int version = 0, width = 0, height = 0, bytesPerPixel = 0, frameCount = 0;
    std::vector<ParsedRecord> records;
    std::size_t trailingBytes = 0;
};

inline std::vector<DeltaRecord> ParseDeltaStream(const Bytes& stream)
{
    std::vector<DeltaRecord> records;
    std::size_t p = 0;
    while (p + 3 <= stream.size()) {
        const int type = stream[p];
        const int bytes = stream[p + 1] << 8 | stream[p + 2];
        records.push_back({type, bytes});
        p += 3 + (type == 2 ? bytes : 0);
    }
    return records;
}

inline ParsedFile ParseStoreFile(const Bytes& file)
{
    ParsedFile parsed;
    if (file.size() < 20)
        return parsed;
    parsed.version = int(LE32(&file[0]));
    parsed.width = int(LE32(&file[4]));
    parsed.height = int(LE32(&file[8]));
    parsed.bytesPerPixel = int(LE32(&file[12]));
    parsed.frameCount = int(LE32(&file[16]));
    std::size_t p = 20;
    while (p + 9 <= file.size()) {
        ParsedRecord record;
        record.offset = p;
        record.blobLength = LE32(&file[p]);
        std::memcpy(&record.delay, &file[p + 4], 4);
        record.flag = file[p + 8];
        if (record.blobLength > file.size() - p - 9)
            break;
        const std::uint8_t* blob = &file[p + 9];
        record.blobVersion = blob[0];
        record.compressor = blob[1];
        record.kind = blob[2];
        record.chunkCount = blob[3];
        record.bytesPerPixel = blob[4];
        std::size_t q = 5;
        for (int c = 0; c < record.chunkCount && q + 4 <= record.blobLength; ++c) {
            ParsedChunk chunk;
            chunk.compressedLength = BE32(blob + q);
            q += 4;
            const char* src = reinterpret_cast<const char*>(blob + q);
            if (record.compressor == 1) {
                std::string out;
                snappy::Uncompress(src, chunk.compressedLength, &out);
                chunk.data.assign(out.begin(), out.end());
            } else {
                Bytes out(std::size_t(parsed.width) * parsed.height * 3 * 2 + 64);
                uLongf outLength = uLongf(out.size());
                uncompress(out.data(), &outLength, blob + q, chunk.compressedLength);
                out.resize(outLength);
                chunk.data = out;
            }
            if (record.kind != 0)
                chunk.records = ParseDeltaStream(chunk.data);
            q += chunk.compressedLength;
            record.chunks.push_back(std::move(chunk));
        }
        parsed.records.push_back(std::move(record));
        p += 9 + parsed.records.back().blobLength;
    }
    parsed.trailingBytes = file.size() - p;
    return parsed;
}

} // namespace fstest

} // namespace pelidore
