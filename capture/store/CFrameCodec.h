// The frame codec of the frame store: a frame is cut into 4 chunks
// coded in parallel; a key frame compresses the raw chunk, a delta frame
// compresses a stream of unchanged/changed records against the previous frame.
//
// Portable: no Windows header. The decoder trusts nothing in a blob: every
// length is checked against what is left of the blob and of the chunk, and a
// malformed blob is refused without writing outside the frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pelidore {

class CFrameCodec {
public:
    enum class Compressor : std::uint8_t { Snappy = 1, Zlib = 2 };
    enum class Kind : std::uint8_t { Key = 0, Delta = 15 };

    static constexpr int kChunkCount = 4;
    static constexpr int kBytesPerPixel = 3;
    static constexpr std::uint8_t kBlobVersion = 1;
    static constexpr std::size_t kBlobHeadBytes = 5;    // version, compressor, kind, chunk count, bytes per pixel
    static constexpr std::size_t kChunkLengthBytes = 4; // big-endian compressed chunk length
    static constexpr std::size_t kRecordHeadBytes = 3;  // delta record: type, 16-bit big-endian byte length
    static constexpr std::uint8_t kUnchanged = 1;
    static constexpr std::uint8_t kChanged = 2;
    static constexpr std::uint32_t kMaxRunWords = 0x3FFF; // a run is closed at 16383 words (65532 bytes)
    static constexpr std::uint32_t kMinUnchangedWords =
        3; // shorter unchanged runs before a change join the changed data
    static constexpr int kDefaultZlibLevel = 1;

    // One record of a chunk's run list: `bytes` bytes from `start` (both in
    // bytes from the chunk's start).
    struct Run {
        std::uint32_t start;
        std::uint32_t bytes;
        std::uint8_t type; // kUnchanged or kChanged
    };

    // What the head of a blob says; filled by ParseBlob.
    struct BlobInfo {
        std::uint8_t version = 0;
        std::uint8_t compressor = 0;
        std::uint8_t kind = 0;
        std::uint8_t chunkCount = 0;
        std::uint8_t bytesPerPixel = 0;
        std::uint32_t chunkLength[kChunkCount] = {};
        const std::uint8_t* chunkData[kChunkCount] = {};
        bool IsKey() const { return kind == static_cast<std::uint8_t>(Kind::Key); }
    };

    CFrameCodec();
    ~CFrameCodec();
    CFrameCodec(const CFrameCodec&) = delete;
    CFrameCodec& operator=(const CFrameCodec&) = delete;

    // ---- Geometry (all sizes in size_t) -------------------------------------
    // Chunk c of a frame of frameBytes bytes: S = frameBytes / 4 bytes, the last
    // one takes the remainder (frameBytes - 3 S).
    static std::size_t ChunkOffset(std::size_t frameBytes, int chunk);
    static std::size_t ChunkSize(std::size_t frameBytes, int chunk);
    // The longest delta stream a chunk of n bytes can give.
    static std::size_t MaxDeltaStreamLength(std::size_t n);
    // The longest output of either compressor for `bytes` input bytes.
    static std::size_t MaxCompressedLength(std::size_t bytes);
    // The longest blob a frame of frameBytes bytes can give (either kind, either compressor).
    static std::size_t MaxBlobLength(std::size_t frameBytes);

    // ---- The chunk delta coding (pure functions, exposed for tests) ----------
    // Builds the run list of a chunk of n bytes against the previous chunk
    // (the run list rules). `runs` is cleared first.
    static void BuildRunList(const std::uint8_t* cur, const std::uint8_t* prev, std::size_t n, std::vector<Run>& runs);
    // Serialises a run list into a delta stream of `length` bytes; false when
    // it would not fit `capacity` (MaxDeltaStreamLength(n) always suffices).
    static bool SerialiseRuns(const std::vector<Run>& runs, const std::uint8_t* cur, std::uint8_t* out,
                              std::size_t capacity, std::size_t& length);
    // Rebuilds a chunk of n bytes in place: `chunk` holds the previous chunk and
    // receives the new one. False (with a reason) when a record has an unknown
    // type or a zero length, runs past the chunk or the stream, or the records
    // do not cover the chunk exactly.
    static bool ApplyDeltaStream(const std::uint8_t* stream, std::size_t length, std::uint8_t* chunk, std::size_t n,
                                 std::string* why);

    // Reads and checks the head and the chunk table of a blob: version 1,
    // compressor 1 or 2, kind 0 or 15, 4 chunks, bytes per pixel as expected,
    // every chunk length inside the blob, and no byte left over.
    static bool ParseBlob(const std::uint8_t* blob, std::size_t length, int bytesPerPixel, BlobInfo& info,
                          std::string* why);

    // ---- Encoder ---------------------------------------------------------------
    // Allocates every buffer once: the previous frame, and per chunk a run list,
    // a delta buffer and an output buffer. False for frameBytes 0.
    bool InitEncoder(std::size_t frameBytes, Compressor compressor = Compressor::Snappy,
                     int zlibLevel = kDefaultZlibLevel);
    // The store writes snappy; zlib (compressor 2) on request, at zlibLevel (1..9).
    void SetCompressor(Compressor compressor, int zlibLevel = kDefaultZlibLevel);
    Compressor GetCompressor() const { return m_Compressor; }
    // Codes one frame of FrameBytes() bytes and advances the previous frame.
    // False when the encoder is not initialised or a compressor fails.
    bool Encode(const std::uint8_t* frame, bool keyFrame);
    // The blob of the last Encode, in pieces (no copy) or as one copy.
    std::size_t BlobLength() const;
    void BlobHead(std::uint8_t out[kBlobHeadBytes]) const;
    const std::uint8_t* ChunkData(int chunk) const;
    std::size_t ChunkLength(int chunk) const;
    void CopyBlob(std::uint8_t* out) const; // BlobLength() bytes
    std::vector<std::uint8_t> Blob() const;

    // ---- Decoder ---------------------------------------------------------------
    // Remembers the frame size; the big buffers are allocated on the first key
    // frame that passes its checks, so a header alone never causes a giant
    // allocation.
    bool InitDecoder(std::size_t frameBytes, int bytesPerPixel = kBytesPerPixel);
    // Decodes one blob into `pixels`. False, with a reason, for any malformed
    // blob, and for a delta frame before any key frame; after a failure the next
    // frame must be a key frame. The vector is resized to FrameBytes() only once
    // the blob has passed the checks that need no decompression; the pointer
    // form writes FrameBytes() bytes.
    bool Decode(const std::uint8_t* blob, std::size_t length, std::vector<std::uint8_t>& pixels, std::string* why);
    bool Decode(const std::uint8_t* blob, std::size_t length, std::uint8_t* pixels, std::string* why);
    bool HasPreviousFrame() const { return m_HavePrevious; }

    void Release();
    std::size_t FrameBytes() const { return m_FrameBytes; }

private:
    struct Chunk {
        std::size_t offset = 0;
        std::size_t size = 0;
        std::vector<Run> runs;
        std::unique_ptr<std::uint8_t[]> delta;
        std::size_t deltaCapacity = 0;
        std::unique_ptr<std::uint8_t[]> out;
        std::size_t outCapacity = 0;
        std::size_t outLength = 0;
    };

    bool SetUpChunks(std::size_t frameBytes);
    bool EncodeChunk(Chunk& chunk, const std::uint8_t* frame, bool keyFrame);
    bool Compress(const std::uint8_t* src, std::size_t length, Chunk& chunk) const;
    bool Decode(const std::uint8_t* blob, std::size_t length, std::vector<std::uint8_t>* vector, std::uint8_t* pixels,
                std::string* why);
    const char* DecodeChunk(Chunk& chunk, const BlobInfo& info, int index); // nullptr on success

    std::size_t m_FrameBytes = 0;
    int m_BytesPerPixel = kBytesPerPixel;
    Compressor m_Compressor = Compressor::Snappy;
    int m_ZlibLevel = kDefaultZlibLevel;
    bool m_Encoder = false;
    bool m_KeyFrame = false;
    bool m_HavePrevious = false;
    std::unique_ptr<std::uint8_t[]> m_Previous; // the previous frame, chunk by chunk
    Chunk m_Chunks[kChunkCount];
};

} // namespace pelidore
