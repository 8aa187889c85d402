#include "CNSliderControl.h"

#include "CNCreationResult.h"
#include "CNLog.h"
#include "CNScreen.h"
#include "CNTheme.h"
#include "CNTopWindow.h"
#include "NControlMessages.h"

namespace pelidore {

namespace {

// Drawn when a slider has no pictures.
constexpr int kPlainTrackThickness = 4;
constexpr int kPlainThumbLength = 10;

} // namespace

CNSliderControl::CNSliderControl() = default;

CNSliderControl::~CNSliderControl() = default;

HRESULT CNSliderControl::SetImages(UINT backgroundId, UINT thumbId, UINT fillId)
{
    HRESULT result = SetImage(kImageBackground, backgroundId);
    if (FAILED(SetImage(kImageThumb, thumbId)))
        result = E_FAIL;
    if (FAILED(SetImage(kImageFill, fillId)))
        result = E_FAIL;
    return result;
}

HRESULT CNSliderControl::SetImage(int which, UINT resourceId)
{
    if (which < 0 || which >= kImageCount)
        return E_FAIL;
    m_Images[which].Release();
    if (resourceId == 0)
        return S_OK;
    if (FAILED(m_Images[which].LoadResource(CNTopWindow::ModuleInstance(), resourceId))) {
        NLOG("CNSliderControl::SetImage", CNLog::kLevelRefused, "slider %d: no picture %u", m_ID, resourceId);
        return E_FAIL;
    }
    return S_OK;
}

void CNSliderControl::SetMaximum(double maximum)
{
    m_Maximum = maximum > 0.0 ? maximum : 0.0;
    SetPosition(m_Position);
}

void CNSliderControl::SetPosition(double position)
{
    if (!(position > 0.0)) // also catches NaN
        position = 0.0;
    if (position > m_Maximum)
        position = m_Maximum;
    m_Position = position;
}

void CNSliderControl::SetTrackRect(int x, int y, int width, int height)
{
    m_Track = CNRect{x, y, width, height};
}

void CNSliderControl::OnDraw()
{
    DrawBackground();
    DrawThumb();
}

HRESULT CNSliderControl::OnCreate()
{
    m_StateWord = 2;
    m_Maximum = kDefaultMaximum;
    m_Position = 0.0;
    m_PressStart = kNoDrag;
    m_Track = CNRect{0, 0, m_Width, m_Height};
    m_PreviousCapture = nullptr;
    CNCreationResult result;
    result.Add(AddMessageFunc(WM_LBUTTONDOWN, &CNSliderControl::OnLButtonDown));
    result.Add(AddMessageFunc(WM_MOUSEMOVE, &CNSliderControl::OnMouseMove));
    result.Add(AddMessageFunc(WM_LBUTTONUP, &CNSliderControl::OnLButtonUp));
    result.Add(AddMessageFunc(WM_CAPTURECHANGED, &CNSliderControl::OnCaptureChanged));
    return result.Get();
}

void CNSliderControl::OnRelease()
{
    if (IsDragging())
        EndDrag();
    ReleaseImages();
}

void CNSliderControl::OnActivate(int active)
{
    CNControlBase::OnActivate(active);
    // Hidden or disabled, the slider would never see the release.
    if (!active && IsDragging())
        EndDrag();
}

POINT CNSliderControl::ThumbPosition(int thumbWidth, int thumbHeight) const
{
    POINT at{m_X + m_Track.x, m_Y + m_Track.y};
    if (m_Orientation == kHorizontal)
        at.x += static_cast<int>((m_Track.width - thumbWidth) * Fraction());
    else
        at.y += static_cast<int>((m_Track.height - thumbHeight) * Fraction());
    if (at.x < m_X)
        at.x = m_X;
    if (at.x + thumbWidth > m_X + m_Width)
        at.x = m_X + m_Width - thumbWidth;
    if (at.y < m_Y)
        at.y = m_Y;
    if (at.y + thumbHeight > m_Y + m_Height)
        at.y = m_Y + m_Height - thumbHeight;
    return at;
}

void CNSliderControl::DrawBackground()
{
    if (!m_Screen)
        return;
    if (m_Images[kImageBackground].IsLoaded()) {
        m_Screen->DrawImage(m_Images[kImageBackground], m_X, m_Y);
        return;
    }
    if (m_Orientation == kHorizontal)
        FillColor(CNTheme::TrackBack(), m_X, m_Y + (m_Height - kPlainTrackThickness) / 2, m_Width,
                  kPlainTrackThickness);
    else
        FillColor(CNTheme::TrackBack(), m_X + (m_Width - kPlainTrackThickness) / 2, m_Y, kPlainTrackThickness,
                  m_Height);
}

void CNSliderControl::DrawThumb()
{
    if (!m_Screen)
        return;
    const CNBitmap& thumb = m_Images[kImageThumb];
    if (thumb.IsLoaded()) {
        POINT at = ThumbPosition(thumb.Width(), thumb.Height());
        m_Screen->DrawImage(thumb, at.x, at.y);
        return;
    }
    bool horizontal = m_Orientation == kHorizontal;
    int width = horizontal ? kPlainThumbLength : m_Width;
    int height = horizontal ? m_Height : kPlainThumbLength;
    POINT at = ThumbPosition(width, height);
    FillColor(IsDragging() ? CNTheme::Accent() : CNTheme::TrackThumbActive(), at.x, at.y, width, height);
}

bool CNSliderControl::InsideTrack(int x, int y) const
{
    int left = m_X + m_Track.x;
    int top = m_Y + m_Track.y;
    return x > left && x < left + m_Track.width && y > top && y < top + m_Track.height;
}

double CNSliderControl::ValueAt(int x, int y) const
{
    bool horizontal = m_Orientation == kHorizontal;
    int offset = horizontal ? x - (m_X + m_Track.x) : y - (m_Y + m_Track.y);
    int length = horizontal ? m_Track.width : m_Track.height;
    if (length <= 0)
        return 0.0;
    double value = offset * m_Maximum / length + 0.5;
    if (value < 0.0)
        value = 0.0;
    if (value > m_Maximum)
        value = m_Maximum;
    return static_cast<double>(static_cast<long long>(value));
}

LRESULT CNSliderControl::OnLButtonDown(WPARAM wParam, LPARAM lParam)
{
    int x = PointX(lParam);
    int y = PointY(lParam);
    if (m_ReadOnly || !InsideTrack(x, y))
        return 0;
    // A press without the button flag (a synthetic one) only jumps: a drag
    // would hold the capture with no release to end it.
    bool drag = wParam != 0;
    if (drag)
        m_PressStart = m_Position;
    m_Position = ValueAt(x, y);
    Redraw();
    if (drag && m_Owner)
        m_PreviousCapture = SetCapture(m_Owner);
    Notify(NWM_SLIDER_CHANGED);
    return 0;
}

LRESULT CNSliderControl::OnMouseMove(WPARAM, LPARAM lParam)
{
    if (!IsDragging())
        return 0;
    double value = ValueAt(PointX(lParam), PointY(lParam));
    if (value == m_Position)
        return 0;
    m_Position = value;
    Redraw();
    Notify(NWM_SLIDER_CHANGED);
    return 0;
}

LRESULT CNSliderControl::OnLButtonUp(WPARAM, LPARAM)
{
    if (IsDragging())
        EndDrag();
    return 0;
}

LRESULT CNSliderControl::OnCaptureChanged(WPARAM, LPARAM lParam)
{
    // Someone else took the mouse (a menu, another application): the drag is over.
    if (IsDragging() && reinterpret_cast<HWND>(lParam) != m_Owner)
        EndDrag();
    return 0;
}

void CNSliderControl::EndDrag()
{
    bool changed = m_Position != m_PressStart;
    m_PressStart = kNoDrag;
    if (changed)
        Notify(NWM_SLIDER_RELEASED);
    if (m_PreviousCapture != m_Owner && GetCapture() == m_Owner)
        ReleaseCapture();
    m_PreviousCapture = nullptr;
}

void CNSliderControl::ReleaseImages()
{
    for (CNBitmap& image : m_Images)
        image.Release();
}

} // namespace pelidore
