#include "CFrameStoreWriter.h"

#include "FormatText.h"

#include <climits>

namespace pelidore {

CFrameStoreWriter::CFrameStoreWriter() = default;

CFrameStoreWriter::~CFrameStoreWriter()
{
    if (m_File.IsOpen())
        Close();
}

bool CFrameStoreWriter::Create(int width, int height)
{
    if (m_File.IsOpen()) {
        m_Error = "Create: the store still has a file open";
        return false;
    }
    m_FramesWritten = 0;
    m_DelaySum = 0.0f;
    m_Error.clear();
    m_Created = false;
    m_WriteFailed = false;
    m_GoodOffset = 0;
    if (!FrameStoreLayout::IsPlausibleSize(width, height)) {
        m_Error = FormatText("Create: %d x %d is not a frame size the store accepts", width, height);
        return false;
    }
    m_Header = FrameStoreLayout::Header{};
    m_Header.width = width;
    m_Header.height = height;
    if (!m_Encoder.Init(FrameStoreLayout::FrameBytesFor(width, height), m_Compressor, m_ZlibLevel)) {
        m_Error = "Create: out of memory for the codec buffers";
        return false;
    }
    m_Created = true;
    return true;
}

void CFrameStoreWriter::SetCompressor(Compressor compressor, int zlibLevel)
{
    m_Compressor = compressor;
    m_ZlibLevel = zlibLevel;
    m_Encoder.SetCompressor(compressor, zlibLevel);
}

bool CFrameStoreWriter::OpenForWriting(const std::filesystem::path& path)
{
    if (!m_Created || m_File.IsOpen()) {
        m_Error = "OpenForWriting: Create first, and close any open file";
        return false;
    }
    m_Path = path;
    m_WriteFailed = false;
    m_GoodOffset = 0;
    if (!m_File.Open(path, CFrameFile::Mode::Write)) {
        m_Error = "OpenForWriting: cannot create the file";
        return false;
    }
    std::uint8_t header[FrameStoreLayout::kHeaderBytes];
    FrameStoreLayout::WriteHeader(m_Header, header);
    if (!m_File.Write(header, sizeof header)) {
        m_File.Close();
        m_Error = "OpenForWriting: cannot write the header";
        return false;
    }
    m_GoodOffset = FrameStoreLayout::kHeaderBytes;
    return true;
}

bool CFrameStoreWriter::Append(float delaySeconds, const std::uint8_t* bgrPixels)
{
    if (!m_Created) {
        m_Error = "Append: Create first";
        return false;
    }
    if (!bgrPixels) {
        m_Error = "Append: no pixels";
        return false;
    }
    if (!FrameStoreLayout::IsPlaybackTime(delaySeconds)) {
        m_Error = "Append: the delay is not a playback time";
        return false;
    }
    m_DelaySum += delaySeconds;
    const bool keyFrame = m_FramesWritten % kKeyFrameInterval == 0;
    if (!m_Encoder.Encode(bgrPixels, keyFrame)) {
        m_Error = "Append: the frame could not be compressed";
        return false;
    }
    if (!m_File.IsOpen() || m_WriteFailed || m_FramesWritten == INT_MAX)
        return false;
    if (!WriteRecord(delaySeconds)) {
        m_WriteFailed = true;
        m_Error = FormatText("Append: writing frame %d failed (disk full?)", m_FramesWritten);
        return false;
    }
    ++m_FramesWritten;
    return true;
}

bool CFrameStoreWriter::WriteRecord(float delaySeconds)
{
    const std::size_t blobLength = m_Encoder.BlobLength();
    std::uint8_t head[FrameStoreLayout::kRecordHeadBytes + CFrameBlob::kHeadBytes];
    FrameStoreLayout::RecordHead recordHead;
    recordHead.blobLength = std::uint32_t(blobLength);
    recordHead.delay = delaySeconds;
    FrameStoreLayout::WriteRecordHead(recordHead, head);
    m_Encoder.BlobHead(head + FrameStoreLayout::kRecordHeadBytes);
    bool ok = m_File.Write(head, sizeof head);
    for (int c = 0; ok && c < CFrameBlob::kChunkCount; ++c) {
        std::uint8_t length[CFrameBlob::kChunkLengthBytes];
        CFrameBlob::WriteChunkLength(m_Encoder.ChunkLength(c), length);
        ok = m_File.Write(length, sizeof length) && m_File.Write(m_Encoder.ChunkData(c), m_Encoder.ChunkLength(c));
    }
    // Each record reaches the file at once, so that a crash of the program
    // loses at most the frame being written (recovery brings back the rest).
    if (!ok || !m_File.Flush())
        return false;
    m_GoodOffset += FrameStoreLayout::kRecordHeadBytes + blobLength;
    return true;
}

bool CFrameStoreWriter::Close()
{
    bool complete = false;
    if (m_File.IsOpen()) {
        m_Header.frameCount = m_FramesWritten;
        std::uint8_t header[FrameStoreLayout::kHeaderBytes];
        FrameStoreLayout::WriteHeader(m_Header, header);
        const bool flushed = m_File.Flush();
        const bool headerWritten = m_File.Seek(0) && m_File.Write(header, sizeof header);
        const bool closed = m_File.Close();
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

} // namespace pelidore
