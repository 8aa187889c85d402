#include "FrameStoreLayout.h"

#include "ByteOrder.h"
#include "FormatText.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace pelidore {

namespace {

std::int32_t ReadInt32(const std::uint8_t* p)
{
    const std::uint32_t bits = ReadLE32(p);
    std::int32_t value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace

bool FrameStoreLayout::IsPlausibleSize(int width, int height)
{
    if (width < 1 || height < 1 || width > kMaxDimension || height > kMaxDimension)
        return false;
    return FrameBytesFor(width, height) <= kMaxFrameBytes;
}

std::size_t FrameStoreLayout::FrameBytesFor(int width, int height)
{
    if (width < 1 || height < 1)
        return 0;
    return std::size_t(width) * std::size_t(height) * std::size_t(kBytesPerPixel);
}

bool FrameStoreLayout::IsPlaybackTime(float seconds)
{
    return std::isfinite(seconds) && seconds >= 0.0f;
}

void FrameStoreLayout::WriteHeader(const Header& header, std::uint8_t out[kHeaderBytes])
{
    WriteLE32(out + 0, std::uint32_t(header.version));
    WriteLE32(out + 4, std::uint32_t(header.width));
    WriteLE32(out + 8, std::uint32_t(header.height));
    WriteLE32(out + 12, std::uint32_t(header.bytesPerPixel));
    WriteFrameCount(header.frameCount, out + kFrameCountOffset);
}

bool FrameStoreLayout::ReadHeader(const std::uint8_t in[kHeaderBytes], Header& header, std::string& error)
{
    Header read;
    read.version = ReadInt32(in + 0);
    read.width = ReadInt32(in + 4);
    read.height = ReadInt32(in + 8);
    read.bytesPerPixel = ReadInt32(in + 12);
    read.frameCount = ReadInt32(in + kFrameCountOffset);
    const auto fail = [&](std::string text) {
        error = std::move(text);
        return false;
    };
    if (read.version != kVersion)
        return fail(FormatText("header: version %d (expected 1)", read.version));
    if (read.bytesPerPixel != kBytesPerPixel)
        return fail(FormatText("header: %d bytes per pixel (expected 3)", read.bytesPerPixel));
    if (!IsPlausibleSize(read.width, read.height))
        return fail(FormatText("header: %d x %d is not a frame size the store accepts", read.width, read.height));
    if (read.frameCount < 0)
        return fail(FormatText("header: frame count %d", read.frameCount));
    header = read;
    return true;
}

void FrameStoreLayout::WriteFrameCount(int frameCount, std::uint8_t out[4])
{
    WriteLE32(out, std::uint32_t(frameCount));
}

void FrameStoreLayout::WriteRecordHead(const RecordHead& head, std::uint8_t out[kRecordHeadBytes])
{
    std::uint32_t delayBits;
    std::memcpy(&delayBits, &head.delay, sizeof delayBits);
    WriteLE32(out + 0, head.blobLength);
    WriteLE32(out + 4, delayBits);
    out[8] = head.flag;
}

FrameStoreLayout::RecordHead FrameStoreLayout::ReadRecordHead(const std::uint8_t in[kRecordHeadBytes])
{
    RecordHead head;
    const std::uint32_t delayBits = ReadLE32(in + 4);
    head.blobLength = ReadLE32(in + 0);
    std::memcpy(&head.delay, &delayBits, sizeof head.delay);
    head.flag = in[8];
    return head;
}

} // namespace pelidore
