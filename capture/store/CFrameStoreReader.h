// Reads the frame store temp.dat (FrameStoreLayout): OpenForReading(path),
// NextFrame() until it says End or Error, Close(). The reader trusts nothing
// in the file: a damaged frame ends reading with ReadStatus::Error (the frames
// before it were delivered), and ErrorMessage() says what was wrong with which
// frame.
//
// Portable: no Windows header; paths are std::filesystem::path.
#pragma once

#include "CFrameDecoder.h"
#include "CFrameFile.h"
#include "FrameStoreLayout.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pelidore {

class CFrameStoreReader {
public:
    struct Frame {
        std::vector<std::uint8_t> pixels; // Width() * Height() * 3 bytes, bottom-up B, G, R rows
        float delay = 0.0f;               // seconds of playback time
        std::uint32_t blobLength = 0;     // L of the record
        std::uint8_t flag = 0;            // always 1
        bool keyFrame = false;            // kind byte 0 (else 15)
        std::uint8_t compressor = 0;      // 1 snappy, 2 zlib
    };
    enum class ReadStatus { Frame, End, Error };

    CFrameStoreReader();
    ~CFrameStoreReader();
    CFrameStoreReader(const CFrameStoreReader&) = delete;
    CFrameStoreReader& operator=(const CFrameStoreReader&) = delete;

    // Opens the file ("rb") and checks its header: version 1, 3 bytes per pixel,
    // a plausible size, a frame count >= 0. False otherwise (see ErrorMessage()).
    bool OpenForReading(const std::filesystem::path& path);
    // Like OpenForReading, but ignores the header's frame count: NextFrame
    // delivers every complete record and says End exactly at the end of the
    // file (the scan that recovery and `pelidore-convert info` use).
    bool OpenForScanning(const std::filesystem::path& path);
    // Frame: `out` holds the next frame. End: the header's count has been read
    // (scanning: the file ended after a whole record). Error: the next record
    // is torn or damaged, or the file ends before the header's count; the
    // error persists until Close.
    ReadStatus NextFrame(Frame& out);
    // Puts the reader at the record of frame `index`, which starts at `offset`
    // (a ReadOffset() taken earlier), as if the frames before it had been
    // read: the next NextFrame reads that record, and DelaySum() counts from
    // there. previous: frame index - 1 (FrameBytes()), which a delta frame
    // builds on; null for a key frame. Clears an earlier Error. False (and
    // ErrorMessage()) when the offset lies outside the records or the file
    // cannot be positioned there.
    bool SeekToRecord(std::uint64_t offset, int index, const std::uint8_t* previous);
    void Close();

    bool IsOpen() const { return m_File.IsOpen(); }
    int FramesRead() const { return m_FramesRead; }
    std::uint64_t ReadOffset() const { return m_ReadOffset; } // just after the last delivered frame
    std::uint64_t FileSize() const { return m_FileSize; }
    int Width() const { return m_Header.width; }
    int Height() const { return m_Header.height; }
    int BytesPerPixel() const { return m_Header.bytesPerPixel; }
    std::size_t FrameBytes() const { return m_FrameBytes; }
    int HeaderFrameCount() const { return m_Header.frameCount; }
    float DelaySum() const { return m_DelaySum; } // of the frames read so far
    const std::string& ErrorMessage() const { return m_Error; }

private:
    bool Open(const std::filesystem::path& path, bool scan);
    ReadStatus Fail(std::string text);

    FrameStoreLayout::Header m_Header;
    std::size_t m_FrameBytes = 0;
    int m_FramesRead = 0;
    float m_DelaySum = 0.0f;
    std::string m_Error;
    CFrameFile m_File;
    bool m_Scan = false;
    bool m_ReadFailed = false;
    std::uint64_t m_FileSize = 0;
    std::uint64_t m_ReadOffset = 0;
    std::size_t m_MaxBlobLength = 0;
    std::vector<std::uint8_t> m_ReadBuffer;
    CFrameDecoder m_Decoder;
};

} // namespace pelidore
