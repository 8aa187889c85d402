#pragma once
// Draws the text or image logo into a recorded frame. The logo font and
// image are made on first use and kept, so a recording does not reload them
// every frame; they are made again when the settings name another face,
// size or picture, so a changed logo never keeps its stale look.
#include "CNBitmap.h"
#include "CNFont.h"
#include "NWindows.h"
#include "RecordingSettings.h"
#include "ScreenRect.h"

#include <filesystem>
#include <string>

namespace pelidore {

class CLogoPainter {
public:
    static constexpr int kLogoWeight = 800;
    static constexpr float kOutlineWidth = 2.0f;

    // Draws nothing (and succeeds) for no logo, an empty text or no picture.
    bool Draw(HDC target, const LogoSettings& logo, PixelSize frame);
    void ReleaseCache();

    bool HasCachedFont() const { return m_Font.IsCreated(); }
    bool HasCachedImage() const { return m_Image.IsLoaded(); }

private:
    bool DrawText(HDC target, const LogoSettings& logo, PixelSize frame);
    bool DrawImage(HDC target, const LogoSettings& logo, PixelSize frame);
    bool EnsureFont(const LogoSettings& logo);
    bool EnsureImage(const std::filesystem::path& path);

    CNFont m_Font;
    int m_FontSize = 0;
    std::wstring m_FontFace;
    CNBitmap m_Image;
    // The last picture asked for, loaded or not: a file that cannot be read
    // is not tried again on every frame.
    std::filesystem::path m_ImagePath;
};

} // namespace pelidore
