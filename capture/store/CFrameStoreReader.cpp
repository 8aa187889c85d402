#include "CFrameStoreReader.h"

#include "FormatText.h"

#include <new>
#include <utility>

namespace pelidore {

namespace {

unsigned long long ULL(std::uint64_t v)
{
    return static_cast<unsigned long long>(v);
}

} // namespace

CFrameStoreReader::CFrameStoreReader() = default;

CFrameStoreReader::~CFrameStoreReader()
{
    Close();
}

bool CFrameStoreReader::OpenForReading(const std::filesystem::path& path)
{
    return Open(path, false);
}

bool CFrameStoreReader::OpenForScanning(const std::filesystem::path& path)
{
    return Open(path, true);
}

bool CFrameStoreReader::Open(const std::filesystem::path& path, bool scan)
{
    Close();
    m_FramesRead = 0;
    m_DelaySum = 0.0f;
    m_Error.clear();
    m_Header.width = m_Header.height = m_Header.frameCount = 0;
    m_FrameBytes = 0;
    const auto fail = [&](std::string text) {
        m_File.Close();
        m_Error = std::move(text);
        return false;
    };
    std::uint64_t size = 0;
    if (!CFrameFile::Size(path, size) || !m_File.Open(path, CFrameFile::Mode::Read))
        return fail("cannot open the file");
    if (size < FrameStoreLayout::kHeaderBytes)
        return fail(FormatText("the file is %llu bytes, shorter than the 20-byte header", ULL(size)));
    std::uint8_t header[FrameStoreLayout::kHeaderBytes];
    if (!m_File.Read(header, sizeof header))
        return fail("cannot read the header");
    std::string why;
    if (!FrameStoreLayout::ReadHeader(header, m_Header, why))
        return fail(why);
    m_FrameBytes = FrameStoreLayout::FrameBytesFor(m_Header.width, m_Header.height);
    if (!m_Decoder.Init(m_FrameBytes, m_Header.bytesPerPixel))
        return fail("cannot set up the decoder");
    m_MaxBlobLength = CFrameBlob::MaxLength(m_FrameBytes);
    m_FileSize = size;
    m_ReadOffset = FrameStoreLayout::kHeaderBytes;
    m_Scan = scan;
    m_ReadFailed = false;
    return true;
}

CFrameStoreReader::ReadStatus CFrameStoreReader::Fail(std::string text)
{
    m_ReadFailed = true;
    m_Error = std::move(text);
    return ReadStatus::Error;
}

CFrameStoreReader::ReadStatus CFrameStoreReader::NextFrame(Frame& out)
{
    if (!m_File.IsOpen()) {
        m_Error = "NextFrame: no store is open for reading";
        return ReadStatus::Error;
    }
    if (m_ReadFailed)
        return ReadStatus::Error;
    if (!m_Scan && m_FramesRead >= m_Header.frameCount)
        return ReadStatus::End;
    const int index = m_FramesRead;
    constexpr std::size_t kHeadBytes = FrameStoreLayout::kRecordHeadBytes;
    const std::uint64_t remaining = m_FileSize - m_ReadOffset;
    if (remaining == 0) {
        if (m_Scan)
            return ReadStatus::End;
        return Fail(FormatText("frame %d: the file ends after %d of the %d frames its header counts", index,
                               m_FramesRead, m_Header.frameCount));
    }
    if (remaining < kHeadBytes)
        return Fail(FormatText("frame %d: the record head is cut off (%llu bytes left): the record is torn", index,
                               ULL(remaining)));
    std::uint8_t headBytes[kHeadBytes];
    if (!m_File.Read(headBytes, sizeof headBytes))
        return Fail(FormatText("frame %d: cannot read the record head", index));
    const FrameStoreLayout::RecordHead head = FrameStoreLayout::ReadRecordHead(headBytes);
    const std::uint32_t blobLength = head.blobLength;
    if (head.flag != FrameStoreLayout::kRecordFlag)
        return Fail(FormatText("frame %d: record flag %u (expected 1)", index, unsigned(head.flag)));
    if (!FrameStoreLayout::IsPlaybackTime(head.delay))
        return Fail(FormatText("frame %d: the delay %g is not a playback time", index, double(head.delay)));
    if (blobLength > remaining - kHeadBytes)
        return Fail(FormatText("frame %d: its %u-byte blob runs past the end of the file (%llu bytes left): the "
                               "record is torn",
                               index, blobLength, ULL(remaining - kHeadBytes)));
    if (blobLength > m_MaxBlobLength)
        return Fail(FormatText("frame %d: a %u-byte blob is longer than any %d x %d frame gives", index, blobLength,
                               m_Header.width, m_Header.height));
    if (m_ReadBuffer.size() < blobLength) {
        try {
            m_ReadBuffer.resize(blobLength);
        } catch (const std::bad_alloc&) {
            return Fail(FormatText("frame %d: out of memory for a %u-byte blob", index, blobLength));
        }
    }
    if (!m_File.Read(m_ReadBuffer.data(), blobLength))
        return Fail(FormatText("frame %d: cannot read its blob", index));
    std::string why;
    if (!m_Decoder.Decode(m_ReadBuffer.data(), blobLength, out.pixels, &why))
        return Fail(FormatText("frame %d: %s", index, why.c_str()));
    const CFrameBlob::Head blobHead = CFrameBlob::ReadHead(m_ReadBuffer.data());
    out.delay = head.delay;
    out.blobLength = blobLength;
    out.flag = head.flag;
    out.keyFrame = blobHead.IsKey();
    out.compressor = blobHead.compressor;
    m_ReadOffset += kHeadBytes + blobLength;
    ++m_FramesRead;
    m_DelaySum += head.delay;
    return ReadStatus::Frame;
}

bool CFrameStoreReader::SeekToRecord(std::uint64_t offset, int index, const std::uint8_t* previous)
{
    if (!m_File.IsOpen()) {
        m_Error = "SeekToRecord: no store is open for reading";
        return false;
    }
    m_ReadFailed = false;
    if (offset < FrameStoreLayout::kHeaderBytes || offset > m_FileSize || index < 0) {
        Fail(FormatText("frame %d: offset %llu lies outside the records", index, ULL(offset)));
        return false;
    }
    if (!m_File.Seek(offset)) {
        Fail(FormatText("frame %d: cannot move to offset %llu", index, ULL(offset)));
        return false;
    }
    if (!m_Decoder.SetPreviousFrame(previous)) {
        Fail(FormatText("frame %d: out of memory for the frame before it", index));
        return false;
    }
    m_ReadOffset = offset;
    m_FramesRead = index;
    m_DelaySum = 0.0f;
    return true;
}

void CFrameStoreReader::Close()
{
    m_File.Close();
    m_Decoder.Release();
    std::vector<std::uint8_t>().swap(m_ReadBuffer);
    m_ReadFailed = false;
    m_Scan = false;
}

} // namespace pelidore
