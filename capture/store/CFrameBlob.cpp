#include "CFrameBlob.h"

#include "ByteOrder.h"
#include "CChunkDelta.h"
#include "FormatText.h"

#include <utility>

namespace pelidore {

std::size_t CFrameBlob::ChunkOffset(std::size_t frameBytes, int chunk)
{
    return (frameBytes / kChunkCount) * std::size_t(chunk);
}

std::size_t CFrameBlob::ChunkSize(std::size_t frameBytes, int chunk)
{
    const std::size_t s = frameBytes / kChunkCount;
    // N - 3 S equals S + N mod S whenever S > 3, and also holds for the
    // tiniest frames.
    return chunk == kChunkCount - 1 ? frameBytes - s * (kChunkCount - 1) : s;
}

std::size_t CFrameBlob::MaxLength(std::size_t frameBytes)
{
    std::size_t total = kHeadBytes;
    for (int c = 0; c < kChunkCount; ++c) {
        const std::size_t stream = CChunkDelta::MaxStreamLength(ChunkSize(frameBytes, c));
        total += kChunkLengthBytes + CChunkCompressor::MaxCompressedLength(stream);
    }
    return total;
}

void CFrameBlob::WriteHead(const Head& head, std::uint8_t out[kHeadBytes])
{
    out[0] = head.version;
    out[1] = head.compressor;
    out[2] = head.kind;
    out[3] = head.chunkCount;
    out[4] = head.bytesPerPixel;
}

CFrameBlob::Head CFrameBlob::ReadHead(const std::uint8_t in[kHeadBytes])
{
    Head head;
    head.version = in[0];
    head.compressor = in[1];
    head.kind = in[2];
    head.chunkCount = in[3];
    head.bytesPerPixel = in[4];
    return head;
}

void CFrameBlob::WriteChunkLength(std::size_t length, std::uint8_t out[kChunkLengthBytes])
{
    WriteBE32(out, std::uint32_t(length));
}

bool CFrameBlob::Parse(const std::uint8_t* blob, std::size_t length, int bytesPerPixel, Info& info, std::string* why)
{
    const auto fail = [&](std::string text) {
        if (why)
            *why = std::move(text);
        return false;
    };
    info = Info{};
    if (length < kHeadBytes)
        return fail(FormatText("the blob is %zu bytes, shorter than its 5-byte head", length));
    const Head& head = info.head = ReadHead(blob);
    if (head.version != kVersion)
        return fail(FormatText("blob version %u (expected 1)", unsigned(head.version)));
    if (!CChunkCompressor::IsKnown(head.compressor))
        return fail(FormatText("unknown compressor %u", unsigned(head.compressor)));
    if (head.kind != std::uint8_t(Kind::Key) && head.kind != std::uint8_t(Kind::Delta))
        return fail(FormatText("unknown frame kind %u", unsigned(head.kind)));
    if (head.chunkCount != kChunkCount)
        return fail(FormatText("chunk count %u (expected %d)", unsigned(head.chunkCount), kChunkCount));
    if (int(head.bytesPerPixel) != bytesPerPixel)
        return fail(FormatText("%u bytes per pixel, the header says %d", unsigned(head.bytesPerPixel), bytesPerPixel));
    std::size_t p = kHeadBytes;
    for (int c = 0; c < kChunkCount; ++c) {
        if (length - p < kChunkLengthBytes)
            return fail(FormatText("chunk %d: its length is cut off by the end of the blob", c));
        const std::uint32_t len = ReadBE32(blob + p);
        p += kChunkLengthBytes;
        if (len > length - p)
            return fail(FormatText("chunk %d: %u bytes, but only %zu are left in the blob", c, len, length - p));
        info.chunkLength[c] = len;
        info.chunkData[c] = blob + p;
        p += len;
    }
    if (p != length)
        return fail(FormatText("%zu bytes after the last chunk", length - p));
    return true;
}

} // namespace pelidore
