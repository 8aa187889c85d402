#include "CNStringButton.h"

#include "CNScreen.h"
#include "CNTheme.h"

namespace pelidore {

namespace {

constexpr BYTE kDisabledTextAlpha = 96;

} // namespace

CNStringButton::CNStringButton()
    : m_NormalColor(CNTheme::ButtonFace()), m_HoverColor(CNTheme::ButtonHover()), m_PressedColor(CNTheme::Accent())
{
}

CNStringButton::~CNStringButton() = default;

void CNStringButton::SetFaceColors(const CNColor& normal, const CNColor& hover, const CNColor& pressed)
{
    m_NormalColor = normal;
    m_HoverColor = hover;
    m_PressedColor = pressed;
}

void CNStringButton::OnDraw()
{
    if (m_Images[kImageNormal].IsLoaded()) {
        CNButton::OnDraw();
        return;
    }
    DrawFace(FaceForState());
    DrawLabelForState(m_Enabled ? 255 : kDisabledTextAlpha);
}

HRESULT CNStringButton::OnCreate()
{
    HRESULT result = CNButton::OnCreate();
    if (!HasTextAlign())
        SetTextAlign(1, 1);
    return result;
}

void CNStringButton::OnRelease()
{
    CNButton::OnRelease();
}

const CNColor& CNStringButton::FaceForState() const
{
    if (!m_Enabled)
        return m_NormalColor;
    if (m_ButtonState == kPressed || m_ButtonState == kChecked || m_Pressed)
        return m_PressedColor;
    if (m_ButtonState == kHover)
        return m_HoverColor;
    return m_NormalColor;
}

void CNStringButton::DrawFace(const CNColor& face)
{
    FillColor(face, GetRect());
}

} // namespace pelidore
