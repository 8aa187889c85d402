// The frame store temp.dat: a 20-byte header, then one record per
// frame (blob length, delay, flag 1, blob coded by CFrameCodec).
//
// Portable: no Windows header; paths are std::filesystem::path, opened with
// _wfopen under Windows. One object is a writer or a reader, one at a time.
//
// Writer: Create(w, h), OpenForWriting(path), Append(delay, pixels) per frame,
// Close() (rewrites the header's frame count). Every 20th frame (0, 20, 40, ...)
// is a key frame.
//
// Reader: OpenForReading(path), NextFrame() until it says End or Error,
// CloseReader(). The reader trusts nothing in the file: a damaged frame ends
// reading with ReadStatus::Error (the frames before it were delivered), and
// ErrorMessage() says what was wrong with which frame.
//
// Recovery: Recover(path) keeps every complete, decodable frame of a store
// whose header says 0 frames (the program died while recording) or whose tail
// is torn, cuts the rest and writes the true count into the header.
#pragma once

#include "CFrameCodec.h"
#include "CFrameFile.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pelidore {

class CFrameStore {
public:
    static constexpr int kVersion = 1;
    static constexpr int kBytesPerPixel = 3;
    static constexpr std::size_t kHeaderBytes = 20;    // version, width, height, bytes per pixel, frame count
    static constexpr std::size_t kRecordHeadBytes = 9; // blob length, delay, flag
    static constexpr std::uint8_t kRecordFlag = 1;
    static constexpr int kKeyFrameInterval = 20;
    // Sizes past these are refused by Create and by the reader: a side of
    // 16384 pixels, a frame of 256 MiB (an 8K monitor is 95 MiB).
    static constexpr int kMaxDimension = 16384;
    static constexpr std::size_t kMaxFrameBytes = std::size_t(256) << 20;

    struct Frame {
        std::vector<std::uint8_t> pixels; // Width() * Height() * 3 bytes, bottom-up B, G, R rows
        float delay = 0.0f;               // seconds of playback time
        std::uint32_t blobLength = 0;     // L of the record
        std::uint8_t flag = 0;            // always 1
        bool keyFrame = false;            // kind byte 0 (else 15)
        std::uint8_t compressor = 0;      // 1 snappy, 2 zlib
    };
    enum class ReadStatus { Frame, End, Error };

    struct RecoverResult {
        bool ok = false;          // the file is now a consistent store (it may hold 0 frames)
        int framesKept = 0;       // complete, decodable frames now counted in the header
        int headerFrameCount = 0; // what the header said before
        int width = 0;
        int height = 0;
        std::uint64_t bytesBefore = 0; // file size before and after
        std::uint64_t bytesAfter = 0;
        bool changed = false; // the file was cut or its header rewritten
        std::string message;  // why the scan stopped, or why recovery failed
    };

    CFrameStore();
    ~CFrameStore(); // closes a writer (header rewritten) or a reader
    CFrameStore(const CFrameStore&) = delete;
    CFrameStore& operator=(const CFrameStore&) = delete;

    // The sizes Create and the reader accept: 1..16384 on each side, at most
    // 256 MiB a frame.
    static bool IsPlausibleSize(int width, int height);
    static std::size_t FrameBytesFor(int width, int height); // width * height * 3 in size_t

    // ---- Writer --------------------------------------------------------------
    // Sets the size, clears the counts and the delay sum, allocates the codec
    // and its buffers once. False for absurd sizes or while a file is open.
    bool Create(int width, int height);
    // Chunks are compressed with snappy; zlib (compressor 2) on request.
    void SetCompressor(CFrameCodec::Compressor compressor, int zlibLevel = CFrameCodec::kDefaultZlibLevel);
    // Creates the file ("wb") and writes the header with frame count 0.
    bool OpenForWriting(const std::filesystem::path& path);
    // Adds the delay to the delay sum and encodes the frame (width * height * 3
    // bytes); writes its record when the file is open and flushes it to the
    // file. True when the record was written. Without a file (it could not be created) the frame is still
    // encoded but neither written nor counted, as the document says. After a
    // failed write nothing more is written; Close then cuts the torn record.
    bool Append(float delaySeconds, const std::uint8_t* bgrPixels);
    // Rewrites the header's frame count and closes the file; frees the codec.
    // True when the file is complete: every appended frame written, header
    // rewritten, file closed without error.
    bool Close();
    bool IsWriting() const { return m_Writer.IsOpen(); }
    std::uint64_t BytesWritten() const { return m_GoodOffset; }

    // ---- Reader --------------------------------------------------------------
    // Opens the file ("rb") and checks its header: version 1, 3 bytes per pixel,
    // a plausible size, a frame count >= 0. False otherwise (see ErrorMessage()).
    bool OpenForReading(const std::filesystem::path& path);
    // Like OpenForReading, but ignores the header's frame count: NextFrame
    // delivers every complete record and says End exactly at the end of the
    // file (the scan that Recover and `pelidore-convert info` use).
    bool OpenForScanning(const std::filesystem::path& path);
    // Frame: `out` holds the next frame. End: the header's count has been read
    // (scanning: the file ended after a whole record). Error: the next record
    // is torn or damaged, or the file ends before the header's count; the
    // error persists until CloseReader.
    ReadStatus NextFrame(Frame& out);
    void CloseReader();
    bool IsReading() const { return m_Reader.IsOpen(); }
    int FramesRead() const { return m_FramesRead; }
    std::uint64_t ReadOffset() const { return m_ReadOffset; } // just after the last delivered frame
    std::uint64_t FileSize() const { return m_FileSize; }

    // ---- Both ----------------------------------------------------------------
    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    int BytesPerPixel() const { return m_BytesPerPixel; }
    std::size_t FrameBytes() const { return m_FrameBytes; }
    int HeaderFrameCount() const { return m_HeaderFrameCount; }
    int FramesWritten() const { return m_FramesWritten; }
    float DelaySum() const { return m_DelaySum; } // written, or read so far
    const std::string& ErrorMessage() const { return m_Error; }

    static RecoverResult Recover(const std::filesystem::path& path);

private:
    bool OpenReader(const std::filesystem::path& path, bool scan);
    ReadStatus ReadError(std::string text);
    void ResetCounts();

    int m_Version = kVersion;
    int m_Width = 0;
    int m_Height = 0;
    int m_BytesPerPixel = kBytesPerPixel;
    int m_HeaderFrameCount = 0;
    int m_FramesWritten = 0;
    int m_FramesRead = 0;
    float m_DelaySum = 0.0f;
    std::size_t m_FrameBytes = 0;
    std::string m_Error;

    // Writer
    bool m_Created = false;
    bool m_WriteFailed = false;
    std::filesystem::path m_Path;
    CFrameFile m_Writer;
    std::uint64_t m_GoodOffset = 0; // end of the last complete record
    CFrameCodec m_Encoder;
    CFrameCodec::Compressor m_Compressor = CFrameCodec::Compressor::Snappy;
    int m_ZlibLevel = CFrameCodec::kDefaultZlibLevel;

    // Reader
    CFrameFile m_Reader;
    bool m_Scan = false;
    bool m_ReadFailed = false;
    std::uint64_t m_FileSize = 0;
    std::uint64_t m_ReadOffset = 0;
    std::size_t m_MaxBlobLength = 0;
    std::vector<std::uint8_t> m_ReadBuffer;
    CFrameCodec m_Decoder;
};

} // namespace pelidore
