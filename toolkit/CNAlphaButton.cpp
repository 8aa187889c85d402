#include "toolkit/CNAlphaButton.h"

#include "toolkit/CNScreen.h"

namespace {

// 0.7 gives 178, 0.3 gives 76: the text fades with the picture.
BYTE TextAlphaFor(float opacity)
{
    return static_cast<BYTE>(opacity * 255.0f);
}

} // namespace

CNAlphaButton::CNAlphaButton() = default;

CNAlphaButton::~CNAlphaButton() = default;

void CNAlphaButton::SetImageOffset(int x, int y)
{
    m_nOffsetX = x;
    m_nOffsetY = y;
}

void CNAlphaButton::OnDraw()
{
    float opacity = kFullOpacity;
    const CNBitmap* image = ChooseImageAndOpacity(opacity);
    if (!m_bEnabled)
        opacity = kFaintOpacity;
    if (image && m_pScreen)
        m_pScreen->DrawImageAlpha(opacity, *image, m_X + m_nOffsetX, m_Y + m_nOffsetY);
    DrawLabelForState(TextAlphaFor(opacity));
}

HRESULT CNAlphaButton::OnCreate()
{
    m_nOffsetX = 0;
    m_nOffsetY = 0;
    return CNButton::OnCreate();
}

void CNAlphaButton::OnRelease()
{
    CNButton::OnRelease();
}

const CNBitmap* CNAlphaButton::ChooseImageAndOpacity(float& opacity) const
{
    if (m_nButtonState == kNormal && !m_bPressed) {
        opacity = kNormalOpacity;
        return ImageOrNormal(kImageNormal);
    }
    opacity = kFullOpacity;
    if (m_nButtonState == kPressed || m_nButtonState == kChecked || m_bPressed)
        return ImageOrNormal(kImagePressed);
    if (m_nButtonState == kHover)
        return ImageOrNormal(kImageHover);
    if (m_nButtonState == kFourth) {
        opacity = kFaintOpacity;
        return ImageOrNormal(kImageFourth);
    }
    return ImageOrNormal(kImageNormal);
}
