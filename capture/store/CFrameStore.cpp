#include "CFrameStore.h"

#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

namespace pelidore {

namespace {

std::string Format(const char* format, ...)
{
    char buffer[320];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

inline void WriteLE32(std::uint8_t* p, std::uint32_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

inline std::uint32_t ReadLE32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

inline void WriteBE32(std::uint8_t* p, std::uint32_t v)
{
    p[0] = std::uint8_t(v >> 24);
    p[1] = std::uint8_t(v >> 16);
    p[2] = std::uint8_t(v >> 8);
    p[3] = std::uint8_t(v);
}

inline std::int32_t AsInt32(std::uint32_t v)
{
    std::int32_t result;
    std::memcpy(&result, &v, sizeof result);
    return result;
}

inline std::uint32_t FloatBits(float f)
{
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

inline float BitsFloat(std::uint32_t bits)
{
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

unsigned long long ULL(std::uint64_t v)
{
    return static_cast<unsigned long long>(v);
}

} // namespace

CFrameStore::CFrameStore() = default;

CFrameStore::~CFrameStore()
{
    if (m_Writer.IsOpen())
        Close();
    CloseReader();
}

bool CFrameStore::IsPlausibleSize(int width, int height)
{
    if (width < 1 || height < 1 || width > kMaxDimension || height > kMaxDimension)
        return false;
    return FrameBytesFor(width, height) <= kMaxFrameBytes;
}

std::size_t CFrameStore::FrameBytesFor(int width, int height)
{
    if (width < 1 || height < 1)
        return 0;
    return std::size_t(width) * std::size_t(height) * std::size_t(kBytesPerPixel);
}

void CFrameStore::ResetCounts()
{
    m_HeaderFrameCount = 0;
    m_FramesWritten = 0;
    m_FramesRead = 0;
    m_DelaySum = 0.0f;
    m_Error.clear();
}

// ---- Writer -------------------------------------------------------------------

bool CFrameStore::Create(int width, int height)
{
    if (m_Writer.IsOpen() || m_Reader.IsOpen()) {
        m_Error = "Create: the store still has a file open";
        return false;
    }
    ResetCounts();
    m_Created = false;
    m_WriteFailed = false;
    m_GoodOffset = 0;
    if (!IsPlausibleSize(width, height)) {
        m_Error = Format("Create: %d x %d is not a frame size the store accepts", width, height);
        return false;
    }
    m_Version = kVersion;
    m_Width = width;
    m_Height = height;
    m_BytesPerPixel = kBytesPerPixel;
    m_FrameBytes = FrameBytesFor(width, height);
    if (!m_Encoder.InitEncoder(m_FrameBytes, m_Compressor, m_ZlibLevel)) {
        m_Error = "Create: out of memory for the codec buffers";
        return false;
    }
    m_Created = true;
    return true;
}

void CFrameStore::SetCompressor(CFrameCodec::Compressor compressor, int zlibLevel)
{
    m_Compressor = compressor;
    m_ZlibLevel = zlibLevel;
    m_Encoder.SetCompressor(compressor, zlibLevel);
}

bool CFrameStore::OpenForWriting(const std::filesystem::path& path)
{
    if (!m_Created || m_Writer.IsOpen() || m_Reader.IsOpen()) {
        m_Error = "OpenForWriting: Create first, and close any open file";
        return false;
    }
    m_Path = path;
    m_WriteFailed = false;
    m_GoodOffset = 0;
    if (!m_Writer.Open(path, CFrameFile::Mode::Write)) {
        m_Error = "OpenForWriting: cannot create the file";
        return false;
    }
    std::uint8_t header[kHeaderBytes];
    WriteLE32(header + 0, std::uint32_t(m_Version));
    WriteLE32(header + 4, std::uint32_t(m_Width));
    WriteLE32(header + 8, std::uint32_t(m_Height));
    WriteLE32(header + 12, std::uint32_t(m_BytesPerPixel));
    WriteLE32(header + 16, 0);
    if (!m_Writer.Write(header, sizeof header)) {
        m_Writer.Close();
        m_Error = "OpenForWriting: cannot write the header";
        return false;
    }
    m_GoodOffset = kHeaderBytes;
    return true;
}

bool CFrameStore::Append(float delaySeconds, const std::uint8_t* bgrPixels)
{
    if (!m_Created) {
        m_Error = "Append: Create first";
        return false;
    }
    if (!bgrPixels) {
        m_Error = "Append: no pixels";
        return false;
    }
    if (!std::isfinite(delaySeconds) || delaySeconds < 0.0f) {
        m_Error = "Append: the delay is not a playback time";
        return false;
    }
    m_DelaySum += delaySeconds;
    const bool keyFrame = m_FramesWritten % kKeyFrameInterval == 0;
    if (!m_Encoder.Encode(bgrPixels, keyFrame)) {
        m_Error = "Append: the frame could not be compressed";
        return false;
    }
    if (!m_Writer.IsOpen() || m_WriteFailed || m_FramesWritten == INT_MAX)
        return false;

    const std::size_t blobLength = m_Encoder.BlobLength();
    std::uint8_t head[kRecordHeadBytes + CFrameCodec::kBlobHeadBytes];
    WriteLE32(head + 0, std::uint32_t(blobLength));
    WriteLE32(head + 4, FloatBits(delaySeconds));
    head[8] = kRecordFlag;
    m_Encoder.BlobHead(head + kRecordHeadBytes);
    bool ok = m_Writer.Write(head, sizeof head);
    for (int c = 0; ok && c < CFrameCodec::kChunkCount; ++c) {
        std::uint8_t length[CFrameCodec::kChunkLengthBytes];
        WriteBE32(length, std::uint32_t(m_Encoder.ChunkLength(c)));
        ok = m_Writer.Write(length, sizeof length) && m_Writer.Write(m_Encoder.ChunkData(c), m_Encoder.ChunkLength(c));
    }
    // Each record reaches the file at once, so that a crash of the program
    // loses at most the frame being written (Recover brings back the rest).
    ok = ok && m_Writer.Flush();
    if (!ok) {
        m_WriteFailed = true;
        m_Error = Format("Append: writing frame %d failed (disk full?)", m_FramesWritten);
        return false;
    }
    m_GoodOffset += kRecordHeadBytes + blobLength;
    ++m_FramesWritten;
    return true;
}

bool CFrameStore::Close()
{
    bool complete = false;
    if (m_Writer.IsOpen()) {
        m_HeaderFrameCount = m_FramesWritten;
        std::uint8_t header[kHeaderBytes];
        WriteLE32(header + 0, std::uint32_t(m_Version));
        WriteLE32(header + 4, std::uint32_t(m_Width));
        WriteLE32(header + 8, std::uint32_t(m_Height));
        WriteLE32(header + 12, std::uint32_t(m_BytesPerPixel));
        WriteLE32(header + 16, std::uint32_t(m_FramesWritten));
        const bool flushed = m_Writer.Flush();
        const bool headerWritten = m_Writer.Seek(0) && m_Writer.Write(header, sizeof header);
        const bool closed = m_Writer.Close();
        complete = !m_WriteFailed && flushed && headerWritten && closed;
        if (m_WriteFailed) {
            // Cut the torn record, so that the frames before it read back;
            // never grow a file whose buffered records did not reach the disk.
            std::uint64_t size = 0;
            if (CFrameFile::Size(m_Path, size) && size > m_GoodOffset)
                CFrameFile::Truncate(m_Path, m_GoodOffset);
        }
        if (!complete && m_Error.empty())
            m_Error = "Close: the file could not be finished";
    } else {
        m_Error = "Close: no file was open for writing";
    }
    m_Encoder.Release();
    m_Created = false;
    return complete;
}

// ---- Reader -------------------------------------------------------------------

bool CFrameStore::OpenForReading(const std::filesystem::path& path)
{
    return OpenReader(path, false);
}

bool CFrameStore::OpenForScanning(const std::filesystem::path& path)
{
    return OpenReader(path, true);
}

bool CFrameStore::OpenReader(const std::filesystem::path& path, bool scan)
{
    if (m_Writer.IsOpen()) {
        m_Error = "OpenForReading: the store is open for writing";
        return false;
    }
    CloseReader();
    ResetCounts();
    m_Width = m_Height = 0;
    m_FrameBytes = 0;
    const auto fail = [&](std::string text) {
        m_Reader.Close();
        m_Error = std::move(text);
        return false;
    };
    std::uint64_t size = 0;
    if (!CFrameFile::Size(path, size) || !m_Reader.Open(path, CFrameFile::Mode::Read))
        return fail("cannot open the file");
    if (size < kHeaderBytes)
        return fail(Format("the file is %llu bytes, shorter than the 20-byte header", ULL(size)));
    std::uint8_t header[kHeaderBytes];
    if (!m_Reader.Read(header, sizeof header))
        return fail("cannot read the header");
    const std::int32_t version = AsInt32(ReadLE32(header + 0));
    const std::int32_t width = AsInt32(ReadLE32(header + 4));
    const std::int32_t height = AsInt32(ReadLE32(header + 8));
    const std::int32_t bytesPerPixel = AsInt32(ReadLE32(header + 12));
    const std::int32_t frameCount = AsInt32(ReadLE32(header + 16));
    if (version != kVersion)
        return fail(Format("header: version %d (expected 1)", int(version)));
    if (bytesPerPixel != kBytesPerPixel)
        return fail(Format("header: %d bytes per pixel (expected 3)", int(bytesPerPixel)));
    if (!IsPlausibleSize(width, height))
        return fail(Format("header: %d x %d is not a frame size the store accepts", int(width), int(height)));
    if (frameCount < 0)
        return fail(Format("header: frame count %d", int(frameCount)));
    m_Version = version;
    m_Width = width;
    m_Height = height;
    m_BytesPerPixel = bytesPerPixel;
    m_HeaderFrameCount = frameCount;
    m_FrameBytes = FrameBytesFor(width, height);
    if (!m_Decoder.InitDecoder(m_FrameBytes, m_BytesPerPixel))
        return fail("cannot set up the decoder");
    m_MaxBlobLength = CFrameCodec::MaxBlobLength(m_FrameBytes);
    m_FileSize = size;
    m_ReadOffset = kHeaderBytes;
    m_Scan = scan;
    m_ReadFailed = false;
    return true;
}

CFrameStore::ReadStatus CFrameStore::ReadError(std::string text)
{
    m_ReadFailed = true;
    m_Error = std::move(text);
    return ReadStatus::Error;
}

CFrameStore::ReadStatus CFrameStore::NextFrame(Frame& out)
{
    if (!m_Reader.IsOpen()) {
        m_Error = "NextFrame: no store is open for reading";
        return ReadStatus::Error;
    }
    if (m_ReadFailed)
        return ReadStatus::Error;
    if (!m_Scan && m_FramesRead >= m_HeaderFrameCount)
        return ReadStatus::End;
    const int index = m_FramesRead;
    const std::uint64_t remaining = m_FileSize - m_ReadOffset;
    if (remaining == 0) {
        if (m_Scan)
            return ReadStatus::End;
        return ReadError(Format("frame %d: the file ends after %d of the %d frames its header counts", index,
                                m_FramesRead, m_HeaderFrameCount));
    }
    if (remaining < kRecordHeadBytes)
        return ReadError(Format("frame %d: the record head is cut off (%llu bytes left): the record is torn", index,
                                ULL(remaining)));
    std::uint8_t head[kRecordHeadBytes];
    if (!m_Reader.Read(head, sizeof head))
        return ReadError(Format("frame %d: cannot read the record head", index));
    const std::uint32_t blobLength = ReadLE32(head + 0);
    const float delay = BitsFloat(ReadLE32(head + 4));
    const std::uint8_t flag = head[8];
    if (flag != kRecordFlag)
        return ReadError(Format("frame %d: record flag %u (expected 1)", index, unsigned(flag)));
    if (!std::isfinite(delay) || delay < 0.0f)
        return ReadError(Format("frame %d: the delay %g is not a playback time", index, double(delay)));
    if (blobLength > remaining - kRecordHeadBytes)
        return ReadError(Format("frame %d: its %u-byte blob runs past the end of the file (%llu bytes left): the "
                                "record is torn",
                                index, blobLength, ULL(remaining - kRecordHeadBytes)));
    if (blobLength > m_MaxBlobLength)
        return ReadError(Format("frame %d: a %u-byte blob is longer than any %d x %d frame gives", index, blobLength,
                                m_Width, m_Height));
    if (m_ReadBuffer.size() < blobLength) {
        try {
            m_ReadBuffer.resize(blobLength);
        } catch (const std::bad_alloc&) {
            return ReadError(Format("frame %d: out of memory for a %u-byte blob", index, blobLength));
        }
    }
    if (!m_Reader.Read(m_ReadBuffer.data(), blobLength))
        return ReadError(Format("frame %d: cannot read its blob", index));
    std::string why;
    if (!m_Decoder.Decode(m_ReadBuffer.data(), blobLength, out.pixels, &why))
        return ReadError(Format("frame %d: %s", index, why.c_str()));
    out.delay = delay;
    out.blobLength = blobLength;
    out.flag = flag;
    out.keyFrame = m_ReadBuffer[2] == std::uint8_t(CFrameCodec::Kind::Key);
    out.compressor = m_ReadBuffer[1];
    m_ReadOffset += kRecordHeadBytes + blobLength;
    ++m_FramesRead;
    m_DelaySum += delay;
    return ReadStatus::Frame;
}

void CFrameStore::CloseReader()
{
    m_Reader.Close();
    m_Decoder.Release();
    std::vector<std::uint8_t>().swap(m_ReadBuffer);
    m_ReadFailed = false;
    m_Scan = false;
}

// ---- Recovery -----------------------------------------------------------------

CFrameStore::RecoverResult CFrameStore::Recover(const std::filesystem::path& path)
{
    RecoverResult result;
    CFrameStore store;
    if (!store.OpenForScanning(path)) {
        result.message = store.ErrorMessage();
        return result;
    }
    result.headerFrameCount = store.HeaderFrameCount();
    result.width = store.Width();
    result.height = store.Height();
    result.bytesBefore = store.FileSize();
    std::uint64_t goodEnd = kHeaderBytes;
    int kept = 0;
    Frame frame;
    for (;;) {
        const ReadStatus status = store.NextFrame(frame);
        if (status == ReadStatus::Frame) {
            ++kept;
            goodEnd = store.ReadOffset();
            if (kept == INT_MAX) {
                result.message = "the frame count is full";
                break;
            }
            continue;
        }
        result.message = status == ReadStatus::End ? "the file ends after a complete frame" : store.ErrorMessage();
        break;
    }
    store.CloseReader();

    if (goodEnd < result.bytesBefore) {
        if (!CFrameFile::Truncate(path, goodEnd)) {
            result.message = "cannot cut the file after its last complete frame";
            return result;
        }
        result.changed = true;
    }
    if (result.headerFrameCount != kept) {
        CFrameFile file;
        std::uint8_t count[4];
        WriteLE32(count, std::uint32_t(kept));
        const bool written = file.Open(path, CFrameFile::Mode::Update) && file.Seek(16) && file.Write(count, 4);
        const bool closed = file.Close();
        if (!written || !closed) {
            result.message = "cannot rewrite the header's frame count";
            return result;
        }
        result.changed = true;
    }
    result.ok = true;
    result.framesKept = kept;
    result.bytesAfter = goodEnd;
    return result;
}

} // namespace pelidore
