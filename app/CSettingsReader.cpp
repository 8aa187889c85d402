#include "CSettingsReader.h"

#include "CFolderText.h"

#include <string_view>

namespace pelidore {

RecordingSettings CSettingsReader::Read() const
{
    RecordingSettings settings;
    m_Setup.GetSettings(settings.framesPerSecond, settings.scalePercent, settings.speedPercent, settings.dithering,
                        settings.transparent);
    settings.quality = m_Setup.GetQuality();
    settings.cursorCapture = m_Setup.IsCursorCapture();
    settings.workFolder = WorkFolder();
    settings.logo = ReadLogo();
    return settings;
}

LogoSettings CSettingsReader::ReadLogo() const
{
    LogoSettings logo;
    logo.kind = m_Logo.GetLogoKind();
    logo.corner = m_Logo.GetCorner();
    logo.marginX = m_Logo.GetMarginX();
    logo.marginY = m_Logo.GetMarginY();
    if (logo.kind == LogoSettings::kText) {
        wchar_t text[260] = {};
        wchar_t face[260] = {};
        CNColor fill;
        CNColor outline;
        const int size = m_Logo.GetTextLogo(text, face, fill, outline);
        logo.text = text;
        logo.fontFace = face;
        logo.fontSize = size > 0 ? size : LogoSettings::kDefaultFontSize;
        logo.fillArgb = fill.Argb();
        logo.outlineArgb = outline.Argb();
    } else if (logo.kind == LogoSettings::kImage) {
        wchar_t path[260] = {};
        if (m_Logo.GetImageLogo(path))
            logo.imagePath = path;
    }
    return logo;
}

std::filesystem::path CSettingsReader::WorkFolder() const
{
    wchar_t folder[260] = {};
    m_Setup.GetWorkFolder(folder);
    if (!CFolderText::IsFullPath(std::wstring_view(folder)))
        return m_Setup.GetSettingsFolder();
    return folder;
}

} // namespace pelidore
