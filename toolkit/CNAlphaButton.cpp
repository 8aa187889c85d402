#include "CNAlphaButton.h"

#include "CNScreen.h"

namespace pelidore {

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
    m_OffsetX = x;
    m_OffsetY = y;
}

void CNAlphaButton::OnDraw()
{
    float opacity = kFullOpacity;
    const CNBitmap* image = ChooseImageAndOpacity(opacity);
    if (!m_Enabled)
        opacity = kFaintOpacity;
    if (image && m_Screen)
        m_Screen->DrawImageAlpha(opacity, *image, m_X + m_OffsetX, m_Y + m_OffsetY);
    DrawLabelForState(TextAlphaFor(opacity));
}

HRESULT CNAlphaButton::OnCreate()
{
    m_OffsetX = 0;
    m_OffsetY = 0;
    return CNButton::OnCreate();
}

void CNAlphaButton::OnRelease()
{
    CNButton::OnRelease();
}

const CNBitmap* CNAlphaButton::ChooseImageAndOpacity(float& opacity) const
{
    if (m_ButtonState == kNormal && !m_Pressed) {
        opacity = kNormalOpacity;
        return ImageOrNormal(kImageNormal);
    }
    opacity = kFullOpacity;
    if (m_ButtonState == kPressed || m_ButtonState == kChecked || m_Pressed)
        return ImageOrNormal(kImagePressed);
    if (m_ButtonState == kHover)
        return ImageOrNormal(kImageHover);
    if (m_ButtonState == kFourth) {
        opacity = kFaintOpacity;
        return ImageOrNormal(kImageFourth);
    }
    return ImageOrNormal(kImageNormal);
}

} // namespace pelidore
