#include "CPanelMessage.h"

#include "CNTheme.h"

namespace pelidore {

namespace {

constexpr int kFontHeight = 13;
constexpr int kFontWeight = FW_BOLD;
constexpr int kCentred = 1;

} // namespace

HRESULT CPanelMessage::Create()
{
    return m_Font.Create(kFontHeight, kFontWeight, CNTheme::kFontFace);
}

void CPanelMessage::Draw(CNScreen& screen) const
{
    // A long folder name ends in an ellipsis rather than running under the frame.
    if (!m_Text.empty() && m_Font.IsCreated())
        screen.DrawText(m_Font, kArea, CNTheme::Accent(), m_Text.c_str(), 0, kCentred, kCentred, true);
}

} // namespace pelidore
