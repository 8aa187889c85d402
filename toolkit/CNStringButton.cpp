#include "toolkit/CNStringButton.h"

#include "toolkit/CNScreen.h"
#include "toolkit/CNTheme.h"

namespace {

constexpr BYTE kDisabledTextAlpha = 96;

} // namespace

CNStringButton::CNStringButton()
    : m_Normal(CNTheme::ButtonFace()), m_Hover(CNTheme::ButtonHover()), m_Pressed(CNTheme::Accent())
{
}

CNStringButton::~CNStringButton() = default;

void CNStringButton::SetFaceColors(const CNColor& normal, const CNColor& hover, const CNColor& pressed)
{
    m_Normal = normal;
    m_Hover = hover;
    m_Pressed = pressed;
}

void CNStringButton::OnDraw()
{
    if (m_Images[kImageNormal].IsLoaded()) {
        CNButton::OnDraw();
        return;
    }
    DrawFace(FaceForState());
    DrawLabelForState(m_bEnabled ? 255 : kDisabledTextAlpha);
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
    if (!m_bEnabled)
        return m_Normal;
    if (m_nButtonState == kPressed || m_nButtonState == kChecked || m_bPressed)
        return m_Pressed;
    if (m_nButtonState == kHover)
        return m_Hover;
    return m_Normal;
}

void CNStringButton::DrawFace(const CNColor& face)
{
    FillColor(face, GetRect());
}
