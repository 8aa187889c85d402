// Writes the frame store temp.dat (FrameStoreLayout): Create(w, h),
// OpenForWriting(path), Append(delay, pixels) per frame, Close() (rewrites the
// header's frame count). Every 20th frame (0, 20, 40, ...) is a key frame.
// One object can write one recording after another.
//
// Portable: no Windows header; paths are std::filesystem::path.
#pragma once

#include "CFrameEncoder.h"
#include "CFrameFile.h"
#include "FrameStoreLayout.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace pelidore {

class CFrameStoreWriter {
public:
    static constexpr int kKeyFrameInterval = 20;

    CFrameStoreWriter();
    ~CFrameStoreWriter(); // closes an open file (header rewritten)
    CFrameStoreWriter(const CFrameStoreWriter&) = delete;
    CFrameStoreWriter& operator=(const CFrameStoreWriter&) = delete;

    // Sets the size, clears the counts and the delay sum, allocates the codec
    // and its buffers once. False for absurd sizes or while a file is open.
    bool Create(int width, int height);
    // Chunks are compressed with snappy; zlib (compressor 2) on request.
    void SetCompressor(Compressor compressor, int zlibLevel = CChunkCompressor::kDefaultZlibLevel);
    // Creates the file ("wb") and writes the header with frame count 0.
    bool OpenForWriting(const std::filesystem::path& path);
    // Adds the delay to the delay sum and encodes the frame (width * height * 3
    // bytes); writes its record when the file is open and flushes it to the
    // file. True when the record was written. Without a file (it could not be
    // created) the frame is still encoded but neither written nor counted.
    // After a failed write nothing more is written; Close then cuts the torn
    // record.
    bool Append(float delaySeconds, const std::uint8_t* bgrPixels);
    // Rewrites the header's frame count and closes the file; frees the codec.
    // True when the file is complete: every appended frame written, header
    // rewritten, file closed without error.
    bool Close();

    bool IsWriting() const { return m_File.IsOpen(); }
    // A record could not be written (a full disk): nothing more will be.
    bool HasWriteFailed() const { return m_WriteFailed; }
    std::uint64_t BytesWritten() const { return m_GoodOffset; }
    int FramesWritten() const { return m_FramesWritten; }
    float DelaySum() const { return m_DelaySum; }
    const std::string& ErrorMessage() const { return m_Error; }

private:
    bool WriteRecord(float delaySeconds);

    FrameStoreLayout::Header m_Header;
    int m_FramesWritten = 0;
    float m_DelaySum = 0.0f;
    std::string m_Error;
    bool m_Created = false;
    bool m_WriteFailed = false;
    std::filesystem::path m_Path;
    CFrameFile m_File;
    std::uint64_t m_GoodOffset = 0; // end of the last complete record
    CFrameEncoder m_Encoder;
    Compressor m_Compressor = Compressor::Snappy;
    int m_ZlibLevel = CChunkCompressor::kDefaultZlibLevel;
};

} // namespace pelidore
