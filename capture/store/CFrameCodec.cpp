#include "CFrameCodec.h"

#include <snappy.h>
#include <zlib.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pelidore {

namespace {

// Snappy never expands more than 64 output bytes per 3 input bytes (a copy
// with a 2-byte offset); deflate never more than 258 bytes per 2 bits. A chunk
// that claims more is not valid, and is refused before anything is allocated.
constexpr std::size_t kSnappyMaxRatio = 22;
constexpr std::size_t kDeflateMaxRatio = 1032;

// The codec refuses frames past 1 GiB, so every chunk size fits zlib's 32-bit
// lengths (uLong is 32 bits on Windows).
constexpr std::size_t kMaxCodecFrameBytes = std::size_t(1) << 30;

// Below this frame size the four chunks are coded one after the other: waking
// the OpenMP team costs more than the chunks themselves.
constexpr std::size_t kParallelMinFrameBytes = std::size_t(64) << 10;

std::string Format(const char* format, ...)
{
    char buffer[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

inline std::uint32_t ReadBE32(const std::uint8_t* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | std::uint32_t(p[3]);
}

inline void WriteBE32(std::uint8_t* p, std::uint32_t v)
{
    p[0] = std::uint8_t(v >> 24);
    p[1] = std::uint8_t(v >> 16);
    p[2] = std::uint8_t(v >> 8);
    p[3] = std::uint8_t(v);
}

// Bit k set when 32-bit word k of the 16 bytes at a equals that of b.
inline unsigned EqualMask4(const std::uint8_t* a, const std::uint8_t* b)
{
#if defined(__SSE2__)
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b));
    return unsigned(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(x, y))));
#else
    std::uint32_t x[4], y[4];
    std::memcpy(x, a, 16);
    std::memcpy(y, b, 16);
    return unsigned(x[0] == y[0]) | unsigned(x[1] == y[1]) << 1 | unsigned(x[2] == y[2]) << 2 |
           unsigned(x[3] == y[3]) << 3;
#endif
}

// 64 bytes, all 16 words equal.
inline bool AllWordsEqual64(const std::uint8_t* a, const std::uint8_t* b)
{
#if defined(__SSE2__)
    __m128i all = _mm_set1_epi8(-1);
    for (int k = 0; k < 4; ++k) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + 16 * k));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 16 * k));
        all = _mm_and_si128(all, _mm_cmpeq_epi8(x, y));
    }
    return _mm_movemask_epi8(all) == 0xFFFF;
#else
    return std::memcmp(a, b, 64) == 0;
#endif
}

// 64 bytes, no word equal.
inline bool NoWordEqual64(const std::uint8_t* a, const std::uint8_t* b)
{
#if defined(__SSE2__)
    __m128i any = _mm_setzero_si128();
    for (int k = 0; k < 4; ++k) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + 16 * k));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 16 * k));
        any = _mm_or_si128(any, _mm_cmpeq_epi32(x, y));
    }
    return _mm_movemask_epi8(any) == 0;
#else
    return (EqualMask4(a, b) | EqualMask4(a + 16, b + 16) | EqualMask4(a + 32, b + 32) | EqualMask4(a + 48, b + 48)) ==
           0;
#endif
}

// Rebuilds a chunk in place from a delta stream; nullptr on success, else why not.
const char* ApplyDelta(const std::uint8_t* stream, std::size_t length, std::uint8_t* chunk, std::size_t n)
{
    std::size_t p = 0;
    std::size_t pos = 0;
    while (p < length) {
        if (length - p < CFrameCodec::kRecordHeadBytes)
            return "a delta record head is cut off by the end of the stream";
        const std::uint8_t type = stream[p];
        const std::size_t bytes = (std::size_t(stream[p + 1]) << 8) | stream[p + 2];
        p += CFrameCodec::kRecordHeadBytes;
        if (type != CFrameCodec::kUnchanged && type != CFrameCodec::kChanged)
            return "a delta record has an unknown type";
        if (bytes == 0)
            return "a delta record has length 0";
        if (bytes > n - pos)
            return "a delta record runs past the end of the chunk";
        if (type == CFrameCodec::kChanged) {
            if (bytes > length - p)
                return "a changed record's data runs past the end of the delta stream";
            std::memcpy(chunk + pos, stream + p, bytes);
            p += bytes;
        }
        pos += bytes;
    }
    if (pos != n)
        return "the delta records do not cover the whole chunk";
    return nullptr;
}

} // namespace

CFrameCodec::CFrameCodec() = default;
CFrameCodec::~CFrameCodec() = default;

// ---- Geometry -----------------------------------------------------------------

std::size_t CFrameCodec::ChunkOffset(std::size_t frameBytes, int chunk)
{
    return (frameBytes / kChunkCount) * std::size_t(chunk);
}

std::size_t CFrameCodec::ChunkSize(std::size_t frameBytes, int chunk)
{
    const std::size_t s = frameBytes / kChunkCount;
    // The document writes the last chunk as S + N mod S, which equals N - 3 S
    // whenever S > 3; N - 3 S also holds for the tiniest frames.
    return chunk == kChunkCount - 1 ? frameBytes - s * (kChunkCount - 1) : s;
}

std::size_t CFrameCodec::MaxDeltaStreamLength(std::size_t n)
{
    // Records alternate between changed and unchanged unless one reaches the
    // cap, and an unchanged record that is not the last covers at least 3 words
    // (12 bytes it does not copy), which pays for its own head and for the head
    // of the changed record after it. So the stream exceeds n by at most the
    // heads of the capped records, of the first and last records and of the tail.
    return n + kRecordHeadBytes * (n / (kMaxRunWords * 4) + 8);
}

std::size_t CFrameCodec::MaxCompressedLength(std::size_t bytes)
{
    const std::size_t snappyBound = snappy::MaxCompressedLength(bytes);
    // compressBound of zlib 1.2.13, in size_t.
    const std::size_t zlibBound = bytes + (bytes >> 12) + (bytes >> 14) + (bytes >> 25) + 13;
    return std::max(snappyBound, zlibBound) + 16;
}

std::size_t CFrameCodec::MaxBlobLength(std::size_t frameBytes)
{
    std::size_t total = kBlobHeadBytes;
    for (int c = 0; c < kChunkCount; ++c)
        total += kChunkLengthBytes + MaxCompressedLength(MaxDeltaStreamLength(ChunkSize(frameBytes, c)));
    return total;
}

// ---- Run list and delta stream ------------------------------------------------------

void CFrameCodec::BuildRunList(const std::uint8_t* cur, const std::uint8_t* prev, std::size_t n, std::vector<Run>& runs)
{
    runs.clear();
    const std::size_t words = (n / 16) * 4; // only the first 16 * floor(n / 16) bytes are compared

    std::uint8_t openType = 0; // 0: no open run
    std::size_t openStart = 0; // in words
    std::uint32_t openLen = 0; // in words

    const auto closeOpen = [&]() {
        runs.push_back(Run{std::uint32_t(openStart * 4), openLen * 4, openType});
        openType = 0;
        openLen = 0;
    };
    const auto step = [&](bool equal, std::size_t w) {
        if (openType == 0) {
            openType = equal ? kUnchanged : kChanged;
            openStart = w;
            openLen = 1;
        } else if (equal == (openType == kUnchanged)) {
            ++openLen;
        } else if (equal) {
            closeOpen();
            openType = kUnchanged;
            openStart = w;
            openLen = 1;
        } else if (openLen < kMinUnchangedWords) {
            // A short unchanged run followed by a change joins the changed data:
            // the changed record just before it is reopened when the joined
            // length stays under the cap, else a new changed run starts here.
            if (!runs.empty() && runs.back().type == kChanged && runs.back().bytes / 4 + openLen + 1 < kMaxRunWords) {
                const Run last = runs.back();
                runs.pop_back();
                openStart = last.start / 4;
                openLen += last.bytes / 4;
            }
            openLen += 1;
            openType = kChanged;
        } else {
            closeOpen();
            openType = kChanged;
            openStart = w;
            openLen = 1;
        }
        if (openLen == kMaxRunWords)
            closeOpen();
    };

    std::size_t w = 0;
    while (w < words) {
        // Long stretches in steps of 16 words while the run stays under the cap.
        if (openType == kUnchanged) {
            while (w + 16 <= words && openLen + 16 < kMaxRunWords && AllWordsEqual64(cur + 4 * w, prev + 4 * w)) {
                w += 16;
                openLen += 16;
            }
        } else if (openType == kChanged) {
            while (w + 16 <= words && openLen + 16 < kMaxRunWords && NoWordEqual64(cur + 4 * w, prev + 4 * w)) {
                w += 16;
                openLen += 16;
            }
        }
        if (w >= words)
            break;
        // Four words per step.
        const unsigned mask = EqualMask4(cur + 4 * w, prev + 4 * w);
        if (openLen + 4 < kMaxRunWords &&
            ((mask == 0xF && openType == kUnchanged) || (mask == 0 && openType == kChanged))) {
            openLen += 4;
        } else {
            for (int k = 0; k < 4; ++k)
                step(((mask >> k) & 1) != 0, w + std::size_t(k));
        }
        w += 4;
    }
    if (openType != 0)
        closeOpen();
    if (n % 16 != 0)
        runs.push_back(Run{std::uint32_t(words * 4), std::uint32_t(n % 16), kChanged});
}

bool CFrameCodec::SerialiseRuns(const std::vector<Run>& runs, const std::uint8_t* cur, std::uint8_t* out,
                                std::size_t capacity, std::size_t& length)
{
    std::size_t p = 0;
    length = 0;
    for (const Run& run : runs) {
        const std::size_t need = kRecordHeadBytes + (run.type == kChanged ? run.bytes : 0);
        if (need > capacity - p)
            return false;
        out[p] = run.type;
        out[p + 1] = std::uint8_t(run.bytes >> 8);
        out[p + 2] = std::uint8_t(run.bytes);
        p += kRecordHeadBytes;
        if (run.type == kChanged) {
            std::memcpy(out + p, cur + run.start, run.bytes);
            p += run.bytes;
        }
    }
    length = p;
    return true;
}

bool CFrameCodec::ApplyDeltaStream(const std::uint8_t* stream, std::size_t length, std::uint8_t* chunk, std::size_t n,
                                   std::string* why)
{
    const char* failure = ApplyDelta(stream, length, chunk, n);
    if (failure && why)
        *why = failure;
    return failure == nullptr;
}

bool CFrameCodec::ParseBlob(const std::uint8_t* blob, std::size_t length, int bytesPerPixel, BlobInfo& info,
                            std::string* why)
{
    const auto fail = [&](std::string text) {
        if (why)
            *why = std::move(text);
        return false;
    };
    info = BlobInfo{};
    if (length < kBlobHeadBytes)
        return fail(Format("the blob is %zu bytes, shorter than its 5-byte head", length));
    info.version = blob[0];
    info.compressor = blob[1];
    info.kind = blob[2];
    info.chunkCount = blob[3];
    info.bytesPerPixel = blob[4];
    if (info.version != kBlobVersion)
        return fail(Format("blob version %u (expected 1)", unsigned(info.version)));
    if (info.compressor != std::uint8_t(Compressor::Snappy) && info.compressor != std::uint8_t(Compressor::Zlib))
        return fail(Format("unknown compressor %u", unsigned(info.compressor)));
    if (info.kind != std::uint8_t(Kind::Key) && info.kind != std::uint8_t(Kind::Delta))
        return fail(Format("unknown frame kind %u", unsigned(info.kind)));
    if (info.chunkCount != kChunkCount)
        return fail(Format("chunk count %u (expected %d)", unsigned(info.chunkCount), kChunkCount));
    if (int(info.bytesPerPixel) != bytesPerPixel)
        return fail(Format("%u bytes per pixel, the header says %d", unsigned(info.bytesPerPixel), bytesPerPixel));
    std::size_t p = kBlobHeadBytes;
    for (int c = 0; c < kChunkCount; ++c) {
        if (length - p < kChunkLengthBytes)
            return fail(Format("chunk %d: its length is cut off by the end of the blob", c));
        const std::uint32_t len = ReadBE32(blob + p);
        p += kChunkLengthBytes;
        if (len > length - p)
            return fail(Format("chunk %d: %u bytes, but only %zu are left in the blob", c, len, length - p));
        info.chunkLength[c] = len;
        info.chunkData[c] = blob + p;
        p += len;
    }
    if (p != length)
        return fail(Format("%zu bytes after the last chunk", length - p));
    return true;
}

// ---- Encoder ------------------------------------------------------------------

bool CFrameCodec::SetUpChunks(std::size_t frameBytes)
{
    Release();
    if (frameBytes == 0 || frameBytes > kMaxCodecFrameBytes)
        return false;
    m_FrameBytes = frameBytes;
    for (int c = 0; c < kChunkCount; ++c) {
        m_Chunks[c].offset = ChunkOffset(frameBytes, c);
        m_Chunks[c].size = ChunkSize(frameBytes, c);
    }
    return true;
}

bool CFrameCodec::InitEncoder(std::size_t frameBytes, Compressor compressor, int zlibLevel)
{
    if (!SetUpChunks(frameBytes))
        return false;
    SetCompressor(compressor, zlibLevel);
    m_Encoder = true;
    m_Previous.reset(new (std::nothrow) std::uint8_t[frameBytes]);
    if (!m_Previous) {
        Release();
        return false;
    }
    for (Chunk& chunk : m_Chunks) {
        const std::size_t words = (chunk.size / 16) * 4;
        chunk.deltaCapacity = MaxDeltaStreamLength(chunk.size);
        chunk.outCapacity = MaxCompressedLength(chunk.deltaCapacity);
        chunk.delta.reset(new (std::nothrow) std::uint8_t[chunk.deltaCapacity]);
        chunk.out.reset(new (std::nothrow) std::uint8_t[chunk.outCapacity]);
        if (!chunk.delta || !chunk.out) {
            Release();
            return false;
        }
        try {
            // Consecutive records cover at least 4 words unless one of them hit
            // the cap, so this is the most a chunk can need.
            chunk.runs.reserve(words / 2 + 2 * (words / kMaxRunWords) + 8);
        } catch (const std::bad_alloc&) {
            Release();
            return false;
        }
    }
    return true;
}

void CFrameCodec::SetCompressor(Compressor compressor, int zlibLevel)
{
    m_Compressor = compressor == Compressor::Zlib ? Compressor::Zlib : Compressor::Snappy;
    m_ZlibLevel = std::clamp(zlibLevel, 1, 9);
}

bool CFrameCodec::Compress(const std::uint8_t* src, std::size_t length, Chunk& chunk) const
{
    if (m_Compressor == Compressor::Snappy) {
        std::size_t outLength = 0;
        snappy::RawCompress(reinterpret_cast<const char*>(src), length, reinterpret_cast<char*>(chunk.out.get()),
                            &outLength);
        chunk.outLength = outLength;
        return outLength <= chunk.outCapacity;
    }
    uLongf outLength = uLongf(chunk.outCapacity);
    const int result = compress2(chunk.out.get(), &outLength, src, uLong(length), m_ZlibLevel);
    chunk.outLength = outLength;
    return result == Z_OK;
}

bool CFrameCodec::EncodeChunk(Chunk& chunk, const std::uint8_t* frame, bool keyFrame)
{
    const std::uint8_t* cur = frame + chunk.offset;
    std::uint8_t* prev = m_Previous.get() + chunk.offset;
    if (keyFrame) {
        std::memcpy(prev, cur, chunk.size);
        return Compress(cur, chunk.size, chunk);
    }
    BuildRunList(cur, prev, chunk.size, chunk.runs);
    std::size_t length = 0;
    const bool ok = SerialiseRuns(chunk.runs, cur, chunk.delta.get(), chunk.deltaCapacity, length) &&
                    Compress(chunk.delta.get(), length, chunk);
    // The previous chunk becomes this one: only the changed records differ.
    for (const Run& run : chunk.runs) {
        if (run.type == kChanged)
            std::memcpy(prev + run.start, cur + run.start, run.bytes);
    }
    return ok;
}

bool CFrameCodec::Encode(const std::uint8_t* frame, bool keyFrame)
{
    if (!m_Encoder || !frame)
        return false;
    if (!m_HavePrevious)
        keyFrame = true; // a delta needs a previous frame
    bool ok[kChunkCount];
#pragma omp parallel for num_threads(kChunkCount) schedule(static) if (m_FrameBytes >= kParallelMinFrameBytes)
    for (int c = 0; c < kChunkCount; ++c)
        ok[c] = EncodeChunk(m_Chunks[c], frame, keyFrame);
    m_KeyFrame = keyFrame;
    m_HavePrevious = true;
    for (bool chunkOk : ok) {
        if (!chunkOk) {
            m_HavePrevious = false; // the next frame is a key frame again
            for (Chunk& chunk : m_Chunks)
                chunk.outLength = 0;
            return false;
        }
    }
    return true;
}

std::size_t CFrameCodec::BlobLength() const
{
    std::size_t total = kBlobHeadBytes;
    for (const Chunk& chunk : m_Chunks)
        total += kChunkLengthBytes + chunk.outLength;
    return total;
}

void CFrameCodec::BlobHead(std::uint8_t out[kBlobHeadBytes]) const
{
    out[0] = kBlobVersion;
    out[1] = std::uint8_t(m_Compressor);
    out[2] = std::uint8_t(m_KeyFrame ? Kind::Key : Kind::Delta);
    out[3] = std::uint8_t(kChunkCount);
    out[4] = std::uint8_t(m_BytesPerPixel);
}

const std::uint8_t* CFrameCodec::ChunkData(int chunk) const
{
    return m_Chunks[chunk].out.get();
}

std::size_t CFrameCodec::ChunkLength(int chunk) const
{
    return m_Chunks[chunk].outLength;
}

void CFrameCodec::CopyBlob(std::uint8_t* out) const
{
    BlobHead(out);
    std::size_t p = kBlobHeadBytes;
    for (const Chunk& chunk : m_Chunks) {
        WriteBE32(out + p, std::uint32_t(chunk.outLength));
        p += kChunkLengthBytes;
        std::memcpy(out + p, chunk.out.get(), chunk.outLength);
        p += chunk.outLength;
    }
}

std::vector<std::uint8_t> CFrameCodec::Blob() const
{
    std::vector<std::uint8_t> blob(BlobLength());
    CopyBlob(blob.data());
    return blob;
}

// ---- Decoder ------------------------------------------------------------------

bool CFrameCodec::InitDecoder(std::size_t frameBytes, int bytesPerPixel)
{
    if (!SetUpChunks(frameBytes))
        return false;
    m_BytesPerPixel = bytesPerPixel;
    m_Encoder = false;
    return true;
}

const char* CFrameCodec::DecodeChunk(Chunk& chunk, const BlobInfo& info, int index)
{
    const std::uint8_t* src = info.chunkData[index];
    const std::size_t srcLength = info.chunkLength[index];
    std::uint8_t* target = info.IsKey() ? m_Previous.get() + chunk.offset : chunk.delta.get();
    std::size_t produced = 0;
    if (info.compressor == std::uint8_t(Compressor::Snappy)) {
        // The uncompressed length was checked against the target's size before.
        if (!snappy::GetUncompressedLength(reinterpret_cast<const char*>(src), srcLength, &produced) ||
            !snappy::RawUncompress(reinterpret_cast<const char*>(src), srcLength, reinterpret_cast<char*>(target)))
            return "the snappy data is corrupt";
    } else {
        uLongf outLength = uLongf(info.IsKey() ? chunk.size : chunk.deltaCapacity);
        uLong inLength = uLong(srcLength);
        const int result = uncompress2(target, &outLength, src, &inLength);
        if (result == Z_BUF_ERROR)
            return "the zlib data gives more bytes than the chunk holds";
        if (result != Z_OK)
            return "the zlib data is corrupt or cut off";
        if (inLength != srcLength)
            return "bytes follow the end of the zlib data";
        produced = outLength;
    }
    if (info.IsKey())
        return produced == chunk.size ? nullptr : "the key frame data is shorter than the chunk";
    return ApplyDelta(chunk.delta.get(), produced, m_Previous.get() + chunk.offset, chunk.size);
}

bool CFrameCodec::Decode(const std::uint8_t* blob, std::size_t length, std::vector<std::uint8_t>& pixels,
                         std::string* why)
{
    return Decode(blob, length, &pixels, nullptr, why);
}

bool CFrameCodec::Decode(const std::uint8_t* blob, std::size_t length, std::uint8_t* pixels, std::string* why)
{
    return Decode(blob, length, nullptr, pixels, why);
}

bool CFrameCodec::Decode(const std::uint8_t* blob, std::size_t length, std::vector<std::uint8_t>* vector,
                         std::uint8_t* pixels, std::string* why)
{
    const auto fail = [&](std::string text) {
        m_HavePrevious = false;
        if (why)
            *why = std::move(text);
        return false;
    };
    if (m_Encoder || m_FrameBytes == 0)
        return fail("the decoder is not initialised");
    BlobInfo info;
    std::string reason;
    if (!ParseBlob(blob, length, m_BytesPerPixel, info, &reason))
        return fail(reason);
    const bool key = info.IsKey();
    if (!key && !m_HavePrevious)
        return fail("a delta frame without a key frame before it");

    // Checks that need no decompression, before any allocation.
    for (int c = 0; c < kChunkCount; ++c) {
        const Chunk& chunk = m_Chunks[c];
        const std::size_t srcLength = info.chunkLength[c];
        const std::size_t capacity = key ? chunk.size : MaxDeltaStreamLength(chunk.size);
        if (info.compressor == std::uint8_t(Compressor::Snappy)) {
            std::size_t claimed = 0;
            if (!snappy::GetUncompressedLength(reinterpret_cast<const char*>(info.chunkData[c]), srcLength, &claimed))
                return fail(Format("chunk %d: not a snappy stream", c));
            if (key ? claimed != chunk.size : claimed > capacity)
                return fail(Format("chunk %d: snappy says %zu bytes, the chunk holds %zu%s", c, claimed, chunk.size,
                                   key ? "" : " (delta)"));
            if (claimed / kSnappyMaxRatio > srcLength)
                return fail(Format("chunk %d: %zu snappy bytes cannot give %zu bytes", c, srcLength, claimed));
        } else if (key && chunk.size / kDeflateMaxRatio > srcLength) {
            return fail(Format("chunk %d: %zu zlib bytes cannot give %zu bytes", c, srcLength, chunk.size));
        }
    }

    if (!m_Previous) {
        m_Previous.reset(new (std::nothrow) std::uint8_t[m_FrameBytes]);
        if (!m_Previous)
            return fail("out of memory for the frame");
    }
    if (vector) {
        try {
            vector->resize(m_FrameBytes);
        } catch (const std::bad_alloc&) {
            return fail("out of memory for the frame");
        }
        pixels = vector->data();
    }
    if (!pixels)
        return fail("no pixel buffer");
    if (!key) {
        for (Chunk& chunk : m_Chunks) {
            if (!chunk.delta) {
                chunk.deltaCapacity = MaxDeltaStreamLength(chunk.size);
                chunk.delta.reset(new (std::nothrow) std::uint8_t[chunk.deltaCapacity]);
                if (!chunk.delta)
                    return fail("out of memory for the delta buffers");
            }
        }
    }

    const char* failure[kChunkCount];
#pragma omp parallel for num_threads(kChunkCount) schedule(static) if (m_FrameBytes >= kParallelMinFrameBytes)
    for (int c = 0; c < kChunkCount; ++c) {
        Chunk& chunk = m_Chunks[c];
        failure[c] = DecodeChunk(chunk, info, c);
        if (!failure[c])
            std::memcpy(pixels + chunk.offset, m_Previous.get() + chunk.offset, chunk.size);
    }
    for (int c = 0; c < kChunkCount; ++c) {
        if (failure[c])
            return fail(Format("chunk %d: %s", c, failure[c]));
    }
    m_HavePrevious = true;
    return true;
}

void CFrameCodec::Release()
{
    m_Previous.reset();
    for (Chunk& chunk : m_Chunks)
        chunk = Chunk{};
    m_FrameBytes = 0;
    m_HavePrevious = false;
    m_KeyFrame = false;
    m_Encoder = false;
}

} // namespace pelidore
