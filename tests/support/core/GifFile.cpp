#include "GifFile.h"

#include <cstdio>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace pelidore {

namespace {

GifFileType* OpenGif(const std::filesystem::path& path, int& error)
{
#ifdef _WIN32
    const int fd = _wopen(path.c_str(), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        error = D_GIF_ERR_OPEN_FAILED;
        return nullptr;
    }
    return DGifOpenFileHandle(fd, &error);
#else
    return DGifOpenFileName(path.c_str(), &error);
#endif
}

} // namespace

GifFile::GifFile(const std::filesystem::path& path)
{
    int error = 0;
    m_Gif = OpenGif(path, error);
    if (!m_Gif) {
        m_Error = std::string("cannot open: ") + GifErrorString(error);
        return;
    }
    if (DGifSlurp(m_Gif) != GIF_OK) {
        m_Error = std::string("cannot read: ") + GifErrorString(m_Gif->Error);
        DGifCloseFile(m_Gif, &error);
        m_Gif = nullptr;
    }
}

GifFile::~GifFile()
{
    int error = 0;
    if (m_Gif)
        DGifCloseFile(m_Gif, &error);
}

int GifFile::Width() const
{
    return m_Gif ? m_Gif->SWidth : 0;
}

int GifFile::Height() const
{
    return m_Gif ? m_Gif->SHeight : 0;
}

int GifFile::FrameCount() const
{
    return m_Gif ? m_Gif->ImageCount : 0;
}

int GifFile::DelayOf(int frame) const
{
    GraphicsControlBlock control;
    if (!m_Gif || DGifSavedExtensionToGCB(m_Gif, frame, &control) != GIF_OK)
        return -1;
    return control.DelayTime;
}

int GifFile::TotalCentiseconds() const
{
    int total = 0;
    for (int i = 0; i < FrameCount(); ++i)
        total += DelayOf(i);
    return total;
}

void GifFile::RgbAt(int frame, int x, int y, int& red, int& green, int& blue) const
{
    red = green = blue = -1;
    if (!m_Gif || frame < 0 || frame >= m_Gif->ImageCount)
        return;
    const SavedImage& image = m_Gif->SavedImages[frame];
    const GifImageDesc& desc = image.ImageDesc;
    const int ix = x - desc.Left;
    const int iy = y - desc.Top;
    if (ix < 0 || iy < 0 || ix >= desc.Width || iy >= desc.Height)
        return;
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : m_Gif->SColorMap;
    const int index = image.RasterBits[iy * desc.Width + ix];
    if (!map || index >= map->ColorCount)
        return;
    red = map->Colors[index].Red;
    green = map->Colors[index].Green;
    blue = map->Colors[index].Blue;
}

} // namespace pelidore
