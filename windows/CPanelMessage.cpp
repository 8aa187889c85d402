#include "CPanelMessage.h"

#include "CNTheme.h"

namespace pelidore {

namespace {

constexpr int kFontHeight = 13;
constexpr int kFontWeight = FW_BOLD;
constexpr int kNear = 0;
constexpr int kCentred = 1;
constexpr const wchar_t* kEllipsis = L"\u2026";
// Drawing trims a little more than measuring takes: the last letters stay clear of it.
constexpr int kTrimMargin = 10;

} // namespace

HRESULT CPanelMessage::Create()
{
    return m_Font.Create(kFontHeight, kFontWeight, CNTheme::kFontFace);
}

void CPanelMessage::Draw(CNScreen& screen)
{
    if (m_Text.empty() || !m_Font.IsCreated())
        return;
    if (m_Shown.empty())
        m_Shown = FitText(screen);
    screen.DrawText(m_Font, kArea, CNTheme::Accent(), m_Shown.c_str(), 0, kNear, kCentred, true);
}

// A long folder gives way in its middle: the drive and the last names are
// what tell the user which folder it is.
std::wstring CPanelMessage::FitText(CNScreen& screen) const
{
    const float room = static_cast<float>(kArea.right - kArea.left - kTrimMargin);
    std::wstring text = m_Text;
    for (std::size_t kept = m_Text.size(); kept > 0 && screen.MeasureText(m_Font, text.c_str(), -1).Width > room;) {
        --kept;
        const std::size_t head = kept / 2;
        text = m_Text.substr(0, head) + kEllipsis + m_Text.substr(m_Text.size() - (kept - head));
    }
    return text;
}

} // namespace pelidore
