#include "CNScrollBar.h"

#include "CNScreen.h"
#include "CNTheme.h"
#include "NControlMessages.h"

namespace pelidore {

namespace {

constexpr int kThumbInset = 2;

} // namespace

CNScrollBar::CNScrollBar() = default;

CNScrollBar::~CNScrollBar() = default;

void CNScrollBar::SetRange(int count, int page)
{
    m_Count = count > 0 ? count : 0;
    m_Page = page > 0 ? page : 1;
    SetPosition(m_Position);
}

void CNScrollBar::SetPosition(int position)
{
    if (position > GetMaxPosition())
        position = GetMaxPosition();
    if (position < 0)
        position = 0;
    m_Position = position;
}

int CNScrollBar::GetMaxPosition() const
{
    int most = m_Count - m_Page;
    return most > 0 ? most : 0;
}

bool CNScrollBar::TakeChanged()
{
    bool changed = m_Changed;
    m_Changed = false;
    return changed;
}

int CNScrollBar::ThumbLength() const
{
    int track = TrackLength();
    if (m_Count <= m_Page || m_Count == 0)
        return track;
    int length = static_cast<int>(static_cast<long long>(track) * m_Page / m_Count);
    if (length < kMinThumb)
        length = kMinThumb;
    return length < track ? length : track;
}

CNRect CNScrollBar::ThumbRect() const
{
    int length = ThumbLength();
    int room = TrackLength() - length;
    int most = GetMaxPosition();
    int offset = most > 0 ? static_cast<int>(static_cast<long long>(room) * m_Position / most) : 0;
    if (Horizontal())
        return CNRect{m_X + offset, m_Y, length, m_Height};
    return CNRect{m_X, m_Y + offset, m_Width, length};
}

void CNScrollBar::Release()
{
    if (IsDragging())
        EndDrag();
    CNControlBase::Release();
}

void CNScrollBar::SetRect(int x, int y, int width, int height)
{
    if (IsDragging())
        EndDrag();
    CNControlBase::SetRect(x, y, width, height);
}

void CNScrollBar::OnDraw()
{
    if (!m_Screen)
        return;
    FillColor(CNTheme::TrackBack(), GetRect());
    CNRect thumb = ThumbRect();
    thumb.x += kThumbInset;
    thumb.y += kThumbInset;
    thumb.width -= 2 * kThumbInset;
    thumb.height -= 2 * kThumbInset;
    if (!thumb.IsEmpty())
        FillColor(IsDragging() ? CNTheme::TrackThumbActive() : CNTheme::TrackThumb(), thumb);
}

HRESULT CNScrollBar::OnCreate()
{
    m_DragOffset = -1;
    m_Changed = false;
    return S_OK;
}

LRESULT CNScrollBar::OnMessage(HWND, UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        return OnPress(PointX(lParam), PointY(lParam));
    case WM_MOUSEMOVE:
        return OnDrag(PointX(lParam), PointY(lParam));
    case WM_LBUTTONUP:
        if (!IsDragging())
            return 0;
        EndDrag();
        return 1;
    case WM_CAPTURECHANGED:
        if (IsDragging() && reinterpret_cast<HWND>(lParam) != m_Owner)
            EndDrag();
        return 0;
    default:
        return 0;
    }
}

void CNScrollBar::OnActivate(int active)
{
    CNControlBase::OnActivate(active);
    if (!active && IsDragging())
        EndDrag();
}

LRESULT CNScrollBar::OnPress(int x, int y)
{
    if (!HitTest(x, y))
        return 0;
    CNRect thumb = ThumbRect();
    int along = Along(x, y);
    int thumbStart = Horizontal() ? thumb.x - m_X : thumb.y - m_Y;
    if (along < thumbStart) {
        MoveByUser(m_Position - m_Page);
    } else if (along >= thumbStart + ThumbLength()) {
        MoveByUser(m_Position + m_Page);
    } else {
        m_DragOffset = along - thumbStart;
        if (m_Owner)
            m_PreviousCapture = SetCapture(m_Owner);
        Redraw();
    }
    return 1;
}

LRESULT CNScrollBar::OnDrag(int x, int y)
{
    if (!IsDragging())
        return 0;
    int room = TrackLength() - ThumbLength();
    int start = Along(x, y) - m_DragOffset;
    int position =
        room > 0 ? static_cast<int>((static_cast<long long>(start) * GetMaxPosition() + room / 2) / room) : 0;
    MoveByUser(position);
    return 1;
}

void CNScrollBar::EndDrag()
{
    m_DragOffset = -1;
    if (m_PreviousCapture != m_Owner && GetCapture() == m_Owner)
        ReleaseCapture();
    m_PreviousCapture = nullptr;
    Redraw();
}

void CNScrollBar::MoveByUser(int position)
{
    int before = m_Position;
    SetPosition(position);
    if (m_Position == before)
        return;
    m_Changed = true;
    Redraw();
    if (m_Notify)
        Notify(NWM_SCROLL_CHANGED);
}

} // namespace pelidore
