#pragma once
// A GIF read back whole with giflib, for checking what a recording wrote.
#include <gif_lib.h>

#include <filesystem>
#include <string>
#include <vector>

namespace pelidore {

class GifFile {
public:
    explicit GifFile(const std::filesystem::path& path);
    ~GifFile();
    GifFile(const GifFile&) = delete;
    GifFile& operator=(const GifFile&) = delete;

    bool IsOpen() const { return m_Gif != nullptr; }
    const std::string& Error() const { return m_Error; }
    int Width() const;
    int Height() const;
    int FrameCount() const;
    // Centiseconds of frame i (its graphic control block).
    int DelayOf(int frame) const;
    int TotalCentiseconds() const;
    // Red, green and blue of pixel (x, y) of frame i, rows top-down as shown.
    void RgbAt(int frame, int x, int y, int& red, int& green, int& blue) const;

private:
    GifFileType* m_Gif = nullptr;
    std::string m_Error;
};

} // namespace pelidore
