#include "CNButton.h"

#include "CNCreationResult.h"
#include "CNLog.h"
#include "CNScreen.h"
#include "CNTopWindow.h"
#include "NControlMessages.h"

namespace pelidore {

namespace {

// Mouse buttons whose being held keeps a push button from showing its hover look.
constexpr WPARAM kAnyMouseButton = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;
// A picture at least this much narrower than the control gets its label beside it.
constexpr int kBesideMargin = 4;
constexpr int kLabelGap = 5;

} // namespace

CNButton::CNButton() = default;

CNButton::~CNButton() = default;

HRESULT CNButton::SetImages(UINT normalId, UINT pressedId, UINT hoverId, UINT fourthId, int kind)
{
    ReleaseImages();
    m_Kind = kind;
    const UINT ids[kImageCount] = {normalId, pressedId, hoverId, fourthId};
    CNCreationResult result;
    HINSTANCE instance = CNTopWindow::ModuleInstance();
    for (int i = 0; i < kImageCount; ++i) {
        if (ids[i] == 0)
            continue;
        if (FAILED(m_Images[i].LoadResource(instance, ids[i]))) {
            NLOG("CNButton::SetImages", CNLog::kLevelRefused, "button %d: no picture %u", m_ID, ids[i]);
            result.Add(E_FAIL);
        }
    }
    return result.Get();
}

void CNButton::SetState(int state)
{
    m_ButtonState = state;
    m_Pressed = 0;
}

bool CNButton::IsChecked() const
{
    return (m_Kind == kCheck || m_Kind == kRadio) && m_ButtonState == kChecked;
}

void CNButton::OnDraw()
{
    const CNBitmap* image = ChooseImage();
    if (image && m_Screen)
        m_Screen->DrawImage(*image, m_X, m_Y);
    DrawLabelForState(255);
}

HRESULT CNButton::OnCreate()
{
    m_StateWord = 2;
    m_ButtonState = kNormal;
    m_Pressed = 0;
    m_PressReported = 0;
    CNCreationResult result;
    result.Add(AddMessageFunc(WM_LBUTTONDOWN, &CNButton::OnLButtonDown));
    result.Add(AddMessageFunc(WM_LBUTTONUP, &CNButton::OnLButtonUp));
    result.Add(AddMessageFunc(WM_MOUSEMOVE, &CNButton::OnMouseMove));
    result.Add(AddMessageFunc(WM_MOUSELEAVE, &CNButton::OnMouseLeave));
    if (FAILED(result.Get()))
        return E_FAIL;
    return CNStaticControl::OnCreate();
}

void CNButton::OnRelease()
{
    ReleaseImages();
    CNStaticControl::OnRelease();
}

void CNButton::OnActivate(int active)
{
    CNStaticControl::OnActivate(active);
    if (active)
        return;
    // A hidden or disabled button hears no release: end the press now, so it
    // neither comes back pressed nor owes its owner the release notice.
    if (m_ButtonState == kHover || m_ButtonState == kPressed)
        m_ButtonState = kNormal;
    m_Pressed = 0;
    ReportRelease();
}

const CNBitmap* CNButton::ImageOrNormal(int which) const
{
    if (m_Images[which].IsLoaded())
        return &m_Images[which];
    if (m_Images[kImageNormal].IsLoaded())
        return &m_Images[kImageNormal];
    return nullptr;
}

const CNBitmap* CNButton::ChooseImage() const
{
    if (!m_Enabled && m_Images[kImageFourth].IsLoaded())
        return &m_Images[kImageFourth];
    if (m_ButtonState == kNormal && !m_Pressed)
        return ImageOrNormal(kImageNormal);
    if (m_ButtonState == kPressed || m_ButtonState == kChecked || m_Pressed)
        return ImageOrNormal(kImagePressed);
    if (m_ButtonState == kHover)
        return ImageOrNormal(kImageHover);
    if (m_ButtonState == kFourth)
        return ImageOrNormal(kImageFourth);
    return ImageOrNormal(kImageNormal);
}

RECT CNButton::LabelRect(int& horizontal, int& vertical) const
{
    horizontal = m_Style.HorizontalAlign();
    vertical = m_Style.VerticalAlign();
    if (HasTextInsets())
        return TextRect();
    const CNBitmap& picture = m_Images[kImageNormal];
    bool beside = picture.IsLoaded() && picture.Width() + kBesideMargin < m_Width;
    if (!HasTextAlign()) {
        horizontal = beside ? 0 : 1;
        vertical = 1;
    }
    if (beside)
        return RECT{m_X + picture.Width() + kLabelGap, m_Y, m_X + m_Width, m_Y + m_Height};
    return RECT{m_X, m_Y, m_X + m_Width, m_Y + m_Height};
}

void CNButton::DrawLabelForState(BYTE alpha)
{
    if (m_Text[0] == L'\0')
        return;
    int horizontal = 0;
    int vertical = 0;
    RECT rect = LabelRect(horizontal, vertical);
    int keepHorizontal = m_Style.HorizontalAlign();
    int keepVertical = m_Style.VerticalAlign();
    m_Style.SetAlignment(horizontal, vertical);
    DrawLabel(rect, alpha);
    m_Style.SetAlignment(keepHorizontal, keepVertical);
}

LRESULT CNButton::OnLButtonDown(WPARAM, LPARAM lParam)
{
    if (!HitTestLParam(lParam))
        return 0;
    switch (m_Kind) {
    case kPush:
        m_ButtonState = kPressed;
        Redraw();
        m_PressReported = 1;
        Notify(NWM_BUTTON_PRESSED);
        break;
    case kCheck:
        m_Pressed = 1;
        Redraw();
        break;
    case kRadio:
        if (m_ButtonState == kNormal) {
            m_Pressed = 1;
            Redraw();
        }
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CNButton::OnLButtonUp(WPARAM, LPARAM lParam)
{
    ReportRelease();
    bool inside = HitTestLParam(lParam);
    if (m_ButtonState == kPressed && inside) {
        if (!ReleaseToState())
            return 0;
        Redraw();
        Notify(NWM_BUTTON_CLICKED);
        return 0;
    }
    if (ReleaseCheckable(inside))
        return 0;
    ReleaseElsewhere();
    return 0;
}

// A release inside while pressed; false when nothing further happens.
bool CNButton::ReleaseToState()
{
    if (m_Kind == kLatch) {
        if (!m_Pressed)
            return false;
        m_ButtonState = kChecked;
        return true;
    }
    m_ButtonState = kHover;
    return true;
}

bool CNButton::ReleaseCheckable(bool inside)
{
    if (!inside || !m_Pressed || (m_Kind != kCheck && m_Kind != kRadio))
        return false;
    if (m_ButtonState == kNormal)
        m_ButtonState = kChecked;
    else if (m_Kind == kCheck && m_ButtonState == kChecked)
        m_ButtonState = kNormal;
    else
        return false;
    m_Pressed = 0;
    Redraw();
    Notify(NWM_BUTTON_CLICKED);
    return true;
}

void CNButton::ReleaseElsewhere()
{
    if (m_ButtonState == kPressed) {
        m_ButtonState = kHover;
        Redraw();
    } else if (m_Pressed) {
        m_Pressed = 0;
        Redraw();
    }
}

LRESULT CNButton::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    if (!TracksHover())
        return 0;
    bool inside = HitTestLParam(lParam);
    if (inside && m_ButtonState == kNormal && (wParam & kAnyMouseButton) == 0) {
        m_ButtonState = kHover;
        Redraw();
    } else if (!inside && m_ButtonState != kNormal) {
        LeaveToNormal();
    }
    return 0;
}

LRESULT CNButton::OnMouseLeave(WPARAM, LPARAM)
{
    if (TracksHover() && m_ButtonState != kNormal)
        LeaveToNormal();
    return 0;
}

void CNButton::LeaveToNormal()
{
    m_ButtonState = kNormal;
    Redraw();
    ReportRelease();
}

// The press-reported flag falls back once the release has been reported, so
// a press yields one NWM_BUTTON_RELEASED and later hover exits stay silent.
void CNButton::ReportRelease()
{
    if (!m_PressReported)
        return;
    m_PressReported = 0;
    Notify(NWM_BUTTON_RELEASED);
}

void CNButton::ReleaseImages()
{
    for (CNBitmap& image : m_Images)
        image.Release();
}

} // namespace pelidore
