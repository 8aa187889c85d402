// The writer half of the export object: giflib's sequential EGif*
// calls producing exactly the file layout. Portable: no Windows
// header; wide paths work on Windows because the file is opened by OpenFile.
#pragma once

#include "GifRect.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>

struct GifFileType;
struct GifColorType;

namespace pelidore {

class GifWriter {
public:
    // Where the bytes go: takes `length` bytes and returns how many it kept
    // (fewer is a write error).
    using Output = std::function<std::size_t(const std::uint8_t* bytes, std::size_t length)>;

    GifWriter() = default;
    ~GifWriter();
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;

    // OpenGifFile: creates or truncates the file, writes the header,
    // the logical screen descriptor and the loop block. False (and no file
    // kept) when the file cannot be created or the size is not 1..65535.
    bool Open(const std::filesystem::path& path, int width, int height, bool transparency);
    // The same stream handed to output instead of a file (for example kept in
    // memory). False when output is empty or the size is not 1..65535.
    bool Open(Output output, int width, int height, bool transparency);

    // WriteGifFrame. colors: 256 entries (R, G, B). indices:
    // width x height bytes, bottom row first (stays the caller's). delay in hundredths of a second (clamped to
    // 0..65535). False when the size forecast refuses the frame (nothing written) or a write fails (the frame still
    // counts as written).
    bool WriteFrame(int delayCentiseconds, const GifColorType* colors, const std::uint8_t* indices,
                    std::uint8_t transparentIndex);

    // One frame drawn into part of the screen: its own image descriptor at
    // rect (inside the screen) and a colour table of the first colorCount
    // (1..256) entries of colors, rounded up to a power of two with black.
    // topRow: the indices of rect's top row; rowStep: from one row to the one
    // shown below it (negative for a bottom-up buffer). Refusals and failures
    // as WriteFrame, and false for a rect outside the screen.
    bool WriteImage(int delayCentiseconds, const GifColorType* colors, int colorCount, const GifRect& rect,
                    const std::uint8_t* topRow, std::ptrdiff_t rowStep, std::uint8_t transparentIndex);

    // True when WriteFrame would refuse the next frame for the size limit.
    bool WouldRefuse() const;

    // CloseGifFile: writes the trailer and closes the file. True when
    // the file was open and everything written to it since Open succeeded.
    // Harmless when not open. A file that a write failed on (a full disk) is
    // cut back to its last whole frame and given its trailer: the frames
    // before the failure are kept as a complete GIF.
    bool Close();

    bool IsOpen() const { return m_Gif != nullptr; }
    bool HadWriteError() const { return m_WriteError; }

    void SetSizeLimit(std::uint64_t bytes) { m_SizeLimit.store(bytes); }
    std::uint64_t SizeLimit() const { return m_SizeLimit.load(); }
    std::uint64_t FileSize() const { return m_FileSize.load(); }
    int FramesWritten() const { return m_FramesWritten.load(); }
    // Resets file size, frames written and size limit to 0.
    void ResetCounters();

private:
    static int Write(GifFileType* gif, const unsigned char* bytes, int length);
    bool Begin(int width, int height, bool transparency);
    void WriteControlBlock(int delayCentiseconds, std::uint8_t transparentIndex);
    bool KeepWholeFrames() const;

    GifFileType* m_Gif = nullptr;
    std::FILE* m_File = nullptr;  // when writing to a file
    std::filesystem::path m_Path; // of that file
    Output m_Output;
    int m_Width = 0;
    int m_Height = 0;
    bool m_Transparency = false;
    bool m_WriteError = false;
    std::uint64_t m_Position = 0; // bytes handed to the stream so far
    std::atomic<std::uint64_t> m_FileSize{0};
    std::atomic<int> m_FramesWritten{0};
    std::atomic<std::uint64_t> m_SizeLimit{0};
};

} // namespace pelidore
