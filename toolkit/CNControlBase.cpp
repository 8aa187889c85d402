#include "CNControlBase.h"

#include "CNLog.h"
#include "CNScreen.h"
#include "NMessages.h"

#include <cwchar>

namespace pelidore {

CNControlBase::CNControlBase() = default;

CNControlBase::~CNControlBase()
{
    // A timer left on the owner would keep firing with an id nobody answers.
    if (m_HoverTimer && m_Owner)
        KillTimer(m_Owner, HoverTimerId());
    ClearMessageFuncs();
}

HRESULT CNControlBase::Create(HWND owner, CNScreen* screen, int id, int x, int y, int width, int height, int visible)
{
    m_Owner = owner;
    m_Screen = screen;
    m_ID = id;
    m_X = x;
    m_Y = y;
    m_Width = width;
    m_Height = height;
    m_Visible = visible;
    m_Enabled = 1;
    m_Focused = 0;
    m_Reserved = 0;
    m_Text[0] = L'\0';
    m_HoverNotify = 0;
    m_HoverTimer = 0;
    m_HoverReported = 0;
    for (int32_t& value : m_Value)
        value = kUnset;
    return OnCreate();
}

LRESULT CNControlBase::ProcessMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_Visible || !m_Enabled)
        return 0;
    if (m_HoverNotify)
        RunHoverLogic(message, wParam, lParam);
    LRESULT result = OnMessage(window, message, wParam, lParam);
    if (result != 0)
        return result;
    return DispatchMap(message, wParam, lParam);
}

void CNControlBase::Release()
{
    OnRelease();
    if (m_HoverTimer && m_Owner)
        KillTimer(m_Owner, HoverTimerId());
    m_HoverTimer = 0;
    m_HoverReported = 0;
    ClearMessageFuncs();
    FreeBackground();
}

void CNControlBase::SetRect(int x, int y, int width, int height)
{
    m_X = x;
    m_Y = y;
    if (width >= 0)
        m_Width = width;
    if (height >= 0)
        m_Height = height;
    OnMove(m_X, m_Y, m_Width, m_Height);
}

void CNControlBase::Draw(int mode)
{
    if (!m_Visible)
        return;
    // Every surface, not only a layered one: an ordinary window's control
    // redrawn over its own former image would smear its text and edges.
    if (m_Screen) {
        if (mode == kDrawFull)
            SaveBackground();
        else if (m_SavedBackground.saved)
            m_Screen->RestoreRect(m_SavedBackground);
    }
    OnDraw();
    if (mode != kDrawFull)
        Notify(NWM_CONTROL_UPDATE);
}

bool CNControlBase::HitTest(int x, int y) const
{
    return x > m_X && x < m_X + m_Width && y > m_Y && y < m_Y + m_Height;
}

void CNControlBase::Show(bool visible)
{
    SetActivityFlag(m_Visible, visible, m_Enabled);
}

void CNControlBase::Enable(bool enabled)
{
    SetActivityFlag(m_Enabled, enabled, m_Visible);
}

void CNControlBase::SetActivityFlag(int& flag, bool value, int otherFlag)
{
    bool wasActive = flag && otherFlag;
    flag = value ? 1 : 0;
    bool active = flag && otherFlag;
    if (wasActive != active)
        OnActivate(active ? 1 : 0);
}

void CNControlBase::FillColor(const CNColor& color, int x, int y, int width, int height) const
{
    if (!m_Screen || color.Alpha() == 0 || width <= 0 || height <= 0)
        return;
    m_Screen->FillRect(color.Red(), color.Green(), color.Blue(), color.Alpha(), x, y, width, height);
}

void CNControlBase::SetText(const wchar_t* text)
{
    if (!text) {
        m_Text[0] = L'\0';
        return;
    }
    wcsncpy(m_Text, text, kTextChars - 1);
    m_Text[kTextChars - 1] = L'\0';
}

void CNControlBase::SetHoverNotify(bool notify)
{
    if (!notify)
        CancelHover();
    m_HoverNotify = notify ? 1 : 0;
}

void CNControlBase::SetFocused(bool focused)
{
    int wanted = focused ? 1 : 0;
    if (wanted == m_Focused)
        return;
    m_Focused = wanted;
    OnFocus(wanted);
}

void CNControlBase::OnDraw() {}

HRESULT CNControlBase::OnCreate()
{
    return S_OK;
}

void CNControlBase::OnRelease() {}

LRESULT CNControlBase::OnMessage(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

void CNControlBase::OnFocus(int) {}

void CNControlBase::OnSelect(int) {}

void CNControlBase::OnActivate(int active)
{
    // A hidden or disabled control sees no messages, so a running hover timer
    // would never be stopped and a reported hover never ended.
    if (!active)
        CancelHover();
}

void CNControlBase::OnMove(int, int, int, int) {}

void CNControlBase::Notify(UINT message) const
{
    NotifyWith(message, static_cast<WPARAM>(m_ID));
}

void CNControlBase::NotifyWith(UINT message, WPARAM wParam) const
{
    if (!m_Owner)
        return;
    if (!PostMessageW(m_Owner, message, wParam, reinterpret_cast<LPARAM>(this)))
        NLOG("CNControlBase::Notify", CNLog::kLevelRefused, "PostMessage %u fail, error %lu", message, GetLastError());
}

bool CNControlBase::CursorInOwner(POINT& point) const
{
    return GetCursorPos(&point) && ScreenToLayout(point);
}

bool CNControlBase::ScreenToLayout(POINT& point) const
{
    if (!m_Owner || !ScreenToClient(m_Owner, &point))
        return false;
    if (m_Screen) {
        point.x = m_Screen->Scale().ToLayout(static_cast<int>(point.x));
        point.y = m_Screen->Scale().ToLayout(static_cast<int>(point.y));
    }
    return true;
}

void CNControlBase::RunHoverLogic(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        if (HitTestLParam(lParam))
            StartHoverTimer();
        else
            CancelHover();
        break;
    case WM_MOUSELEAVE:
        CancelHover();
        break;
    case WM_LBUTTONDOWN:
        if (HitTestLParam(lParam))
            CancelHover();
        break;
    case WM_TIMER:
        if (wParam == HoverTimerId())
            OnHoverTimer();
        break;
    default:
        break;
    }
}

void CNControlBase::StartHoverTimer()
{
    if (m_HoverTimer || m_HoverReported || !m_Owner)
        return;
    if (SetTimer(m_Owner, HoverTimerId(), kHoverDelayMs, nullptr) == 0) {
        NLOG("CNControlBase::StartHoverTimer", CNLog::kLevelRefused, "SetTimer fail, error %lu", GetLastError());
        return;
    }
    m_HoverTimer = 1;
}

void CNControlBase::CancelHover()
{
    if (m_HoverTimer) {
        if (m_Owner)
            KillTimer(m_Owner, HoverTimerId());
        m_HoverTimer = 0;
    } else if (m_HoverReported) {
        m_HoverReported = 0;
        Notify(NWM_HOVER_END);
    }
}

void CNControlBase::OnHoverTimer()
{
    if (!m_HoverTimer)
        return;
    KillTimer(m_Owner, HoverTimerId());
    m_HoverTimer = 0;
    POINT cursor;
    // Only a report that was made counts, so that NWM_HOVER_END never comes
    // without an NWM_HOVER before it.
    if (CursorInOwner(cursor) && HitTest(cursor.x, cursor.y)) {
        m_HoverReported = 1;
        Notify(NWM_HOVER);
    }
}

void CNControlBase::SaveBackground()
{
    m_SavedBackground.Reset();
    if (FAILED(m_Screen->SaveRect(GetRect(), m_SavedBackground)))
        return;
    if (m_BackgroundBitmap)
        KeepBackgroundBitmap();
}

void CNControlBase::KeepBackgroundBitmap()
{
    CNRect rect = GetRect();
    HBITMAP copy = m_Screen->CopyRectToBitmap(&rect);
    if (!copy)
        return;
    m_Background.Release();
    if (FAILED(m_Background.Load(copy)))
        NLOG("CNControlBase::Draw", CNLog::kLevelRefused, "cannot keep background of control %d", m_ID);
    else
        m_Background.SetDensity(m_Screen->Scale(), rect.width, rect.height);
    DeleteObject(copy);
}

void CNControlBase::FreeBackground()
{
    m_SavedBackground.Reset();
    if (m_BackgroundBitmap)
        m_Background.Release();
}

} // namespace pelidore
