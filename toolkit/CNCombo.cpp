#include "CNCombo.h"

#include "CNCreationResult.h"
#include "CNLog.h"
#include "CNScreen.h"
#include "CNTheme.h"
#include "CNTopWindow.h"
#include "NControlMessages.h"
#include "NMessages.h"

namespace pelidore {

namespace {

constexpr int kListGap = 1;
constexpr int kListBorders = 2;
// Room kept free at the window's edge below or above the list.
constexpr int kEdgeMargin = 2;
constexpr int kTextRightMargin = 20;

} // namespace

CNCombo::CNCombo() = default;

CNCombo::~CNCombo()
{
    if (m_Open && m_Owner && GetCapture() == m_Owner && m_PreviousCapture != m_Owner)
        ReleaseCapture();
}

HRESULT CNCombo::SetImages(UINT normalId, UINT openId, UINT hoverId)
{
    ReleaseImages();
    const UINT ids[kImageCount] = {normalId, openId, hoverId};
    CNCreationResult result;
    for (int i = 0; i < kImageCount; ++i) {
        if (ids[i] != 0 && FAILED(m_Images[i].LoadResource(CNTopWindow::ModuleInstance(), ids[i]))) {
            NLOG("CNCombo::SetImages", CNLog::kLevelRefused, "combo %d: no picture %u", m_ID, ids[i]);
            result.Add(E_FAIL);
        }
    }
    return result.Get();
}

HRESULT CNCombo::SetDropButton(int x, int y, int width, int height, UINT normalId, UINT pressedId)
{
    m_DropButton.Release();
    m_HasDropButton = false;
    if (FAILED(m_DropButton.Create(m_Owner, m_Screen, m_ID, x, y, width, height, 1)))
        return E_FAIL;
    m_HasDropButton = true;
    return m_DropButton.SetImages(normalId, pressedId);
}

void CNCombo::SetItemSize(int width, int height)
{
    m_ItemWidth = width > 0 ? width : 0;
    m_ItemHeight = height > 0 ? height : CNListBox::kDefaultRowHeight;
    m_List.SetRowHeight(m_ItemHeight);
}

int CNCombo::AddItem(const wchar_t* text)
{
    return m_List.AddItem(text);
}

void CNCombo::ResetContent()
{
    Close();
    m_List.ResetContent();
    ShowSelectionText();
}

void CNCombo::SetSelection(int index)
{
    m_List.SetSelection(index);
    ShowSelectionText();
}

void CNCombo::SetFont(const CNFont* font)
{
    m_Style.SetFont(font);
    m_List.SetFont(font);
}

void CNCombo::SetTextColor(const CNColor& color)
{
    m_Style.SetColor(color);
    m_List.SetTextColor(color);
}

void CNCombo::Open()
{
    if (m_Open || !m_Visible || !m_Enabled || m_List.GetCount() == 0 || !m_Screen)
        return;
    m_Open = true;
    m_Hover = false;
    PlaceList();
    m_List.SetHot(m_List.GetSelection());
    m_List.EnsureVisible(m_List.GetSelection());
    if (m_Owner)
        m_PreviousCapture = SetCapture(m_Owner);
    DrawList(true);
    Redraw();
    NotifyWith(NWM_COMBO_DROPDOWN, 1);
}

void CNCombo::Close()
{
    if (!m_Open)
        return;
    m_Open = false;
    m_OpeningRelease = false;
    HideList();
    if (m_Owner && m_PreviousCapture != m_Owner && GetCapture() == m_Owner)
        ReleaseCapture();
    m_PreviousCapture = nullptr;
    Redraw();
    NotifyWith(NWM_COMBO_DROPDOWN, 0);
}

void CNCombo::Release()
{
    Close();
    CNControlBase::Release();
}

void CNCombo::SetRect(int x, int y, int width, int height)
{
    Close();
    int dx = x - m_X;
    int dy = y - m_Y;
    CNControlBase::SetRect(x, y, width, height);
    if (m_HasDropButton) {
        CNRect button = m_DropButton.GetRect();
        m_DropButton.SetRect(button.x + dx, button.y + dy, -1, -1);
    }
}

void CNCombo::Draw(int mode)
{
    if (!m_Visible)
        return;
    CNControlBase::Draw(mode);
    if (!m_Open)
        return;
    if (mode == kDrawFull)
        // Controls added after this one are yet to paint over the list:
        // paint it again once the whole window has been drawn.
        NotifyWith(NWM_COMBO_OVERLAY, 0);
    else
        DrawList(false);
}

LRESULT CNCombo::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        return OnMouseMove(window, wParam, lParam);
    case WM_MOUSELEAVE:
        SetHover(false);
        if (m_Open)
            m_List.ProcessMessage(window, message, wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        return IsRepeat(message, wParam, lParam) ? 1 : OnButtonDown(window, wParam, lParam);
    case WM_LBUTTONUP:
        return IsRepeat(message, wParam, lParam) ? 1 : OnButtonUp(window, wParam, lParam);
    case WM_MOUSEWHEEL:
        return OnWheel(window, wParam, lParam);
    case WM_KEYDOWN:
        return m_Open ? OnKey(wParam) : 0;
    case WM_CAPTURECHANGED:
        if (m_Open && reinterpret_cast<HWND>(lParam) != m_Owner)
            Close();
        return 0;
    case NWM_COMBO_OVERLAY:
        if (reinterpret_cast<CNCombo*>(lParam) != this)
            return 0;
        if (m_Open)
            DrawList(true);
        return 1;
    default:
        return 0;
    }
}

void CNCombo::OnDraw()
{
    if (!m_Screen)
        return;
    const CNBitmap* box = BoxImage();
    if (box)
        m_Screen->DrawImage(*box, m_X, m_Y);
    else
        DrawPlainBox();
    if (m_Text[0] != L'\0')
        m_Screen->DrawText(m_Style.Font(), TextRect(), m_Style.Color(), m_Text, 0, 0, 1, true);
    if (m_HasDropButton) {
        m_DropButton.SetState(m_Open ? CNButton::kPressed : CNButton::kNormal);
        m_DropButton.Draw(kDrawFull);
    }
}

HRESULT CNCombo::OnCreate()
{
    m_Open = false;
    m_Hover = false;
    m_LastMouse = MouseMessage{};
    if (FAILED(m_List.Create(m_Owner, m_Screen, m_ID, m_X, m_Y + m_Height, m_Width, m_ItemHeight + kListBorders, 0)))
        return E_FAIL;
    m_List.SetNotify(false);
    m_List.SetRowHeight(m_ItemHeight);
    return S_OK;
}

void CNCombo::OnRelease()
{
    ReleaseImages();
    m_DropButton.Release();
    m_HasDropButton = false;
    m_List.Release();
    m_Style.Release();
}

void CNCombo::OnActivate(int active)
{
    CNControlBase::OnActivate(active);
    if (!active) {
        Close();
        m_Hover = false;
    }
}

// A window that forwards mouse input to an open combo may also pass the same
// message on through its child list; acting on it twice would reopen or
// re-pick. Two real presses never share time, place and flags (a release
// comes between them); wheel turns may, so they are not checked.
bool CNCombo::IsRepeat(UINT message, WPARAM wParam, LPARAM lParam)
{
    MouseMessage now{message, wParam, lParam, GetMessageTime()};
    bool repeat = now.message == m_LastMouse.message && now.wParam == m_LastMouse.wParam &&
                  now.lParam == m_LastMouse.lParam && now.time == m_LastMouse.time;
    m_LastMouse = now;
    return repeat;
}

LRESULT CNCombo::OnMouseMove(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (!m_Open) {
        SetHover(HitTestLParam(lParam));
        return 0;
    }
    m_List.ProcessMessage(window, WM_MOUSEMOVE, wParam, lParam);
    return 1;
}

LRESULT CNCombo::OnButtonDown(HWND window, WPARAM wParam, LPARAM lParam)
{
    int x = PointX(lParam);
    int y = PointY(lParam);
    if (!m_Open) {
        if (!HitTest(x, y))
            return 0;
        Open();
        m_OpeningRelease = true;
        return 1;
    }
    if (OverListScrollBar(x, y)) {
        m_List.ProcessMessage(window, WM_LBUTTONDOWN, wParam, lParam);
        return 1;
    }
    if (InList(x, y))
        return 1;
    Close();
    return 1;
}

LRESULT CNCombo::OnButtonUp(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (!m_Open)
        return 0;
    bool opening = m_OpeningRelease;
    m_OpeningRelease = false;
    bool wasScrolling = m_List.IsScrollBarShown() && OverListScrollBar(PointX(lParam), PointY(lParam));
    m_List.ProcessMessage(window, WM_LBUTTONUP, wParam, lParam);
    if (wasScrolling)
        return 1;
    int index = m_List.ItemAt(PointX(lParam), PointY(lParam));
    // The release of the press that opened the list picks only after the
    // pointer was dragged onto an entry.
    if (index != CNListModel::kNone && !(opening && HitTestLParam(lParam)))
        Choose(index);
    return 1;
}

LRESULT CNCombo::OnWheel(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (m_Open) {
        m_List.ProcessMessage(window, WM_MOUSEWHEEL, wParam, lParam);
        return 1;
    }
    POINT point{PointX(lParam), PointY(lParam)};
    if (!ScreenToLayout(point) || !HitTest(point.x, point.y))
        return 0;
    int delta = static_cast<short>(HIWORD(wParam));
    if (delta == 0 || m_List.GetCount() == 0)
        return 1;
    int before = m_List.GetSelection();
    int chosen = CNListModel::Step(before, delta > 0 ? -1 : 1, m_List.GetCount());
    if (chosen != before) {
        SetSelection(chosen);
        Redraw();
        Notify(NWM_COMBO_SELECTED);
    }
    return 1;
}

LRESULT CNCombo::OnKey(WPARAM key)
{
    switch (key) {
    case VK_ESCAPE:
        Close();
        return 1;
    case VK_RETURN:
        if (m_List.GetHot() != CNListModel::kNone)
            Choose(m_List.GetHot());
        else
            Close();
        return 1;
    case VK_UP:
    case VK_DOWN: {
        int next = CNListModel::Step(m_List.GetHot(), key == VK_DOWN ? 1 : -1, m_List.GetCount());
        m_List.SetHot(next);
        m_List.EnsureVisible(next);
        DrawList(false);
        return 1;
    }
    default:
        return 0;
    }
}

void CNCombo::SetHover(bool hover)
{
    if (hover == m_Hover)
        return;
    m_Hover = hover;
    Redraw();
}

void CNCombo::Choose(int index)
{
    int before = m_List.GetSelection();
    SetSelection(index);
    if (index != before)
        Notify(NWM_COMBO_SELECTED);
    Close();
}

void CNCombo::PlaceList()
{
    int count = m_List.GetCount();
    int wanted = count < kMaxRows ? count : kMaxRows;
    int surface = m_Screen ? m_Screen->LayoutHeight() : 0;
    int below = (surface - (m_Y + m_Height + kListGap) - kEdgeMargin - kListBorders) / m_ItemHeight;
    int above = (m_Y - kListGap - kEdgeMargin - kListBorders) / m_ItemHeight;
    bool up = below < wanted && below < kMinRowsBelow && above > below;
    int rows = up ? above : below;
    if (rows > wanted)
        rows = wanted;
    if (rows < 1)
        rows = 1;
    int height = rows * m_ItemHeight + kListBorders;
    int width = m_Width;
    if (m_ItemWidth + CNListBox::kScrollBarWidth + kListBorders > width)
        width = m_ItemWidth + CNListBox::kScrollBarWidth + kListBorders;
    int top = up ? m_Y - kListGap - height : m_Y + m_Height + kListGap;
    m_ListRect = CNRect{m_X, top, width, height};
    m_List.SetRect(m_ListRect.x, m_ListRect.y, m_ListRect.width, m_ListRect.height);
    m_List.Show(true);
}

void CNCombo::DrawList(bool freshBackground)
{
    if (!m_Screen)
        return;
    if (freshBackground || !m_UnderList.saved) {
        if (FAILED(m_Screen->SaveRect(m_ListRect, m_UnderList)))
            m_UnderList.Reset();
    } else {
        m_Screen->RestoreRect(m_UnderList);
    }
    m_List.Draw(kDrawFull);
    PushRect(m_ListRect);
}

void CNCombo::HideList()
{
    if (m_Screen && m_UnderList.saved)
        m_Screen->RestoreRect(m_UnderList);
    m_UnderList.Reset();
    m_List.Show(false);
    PushRect(m_ListRect);
}

void CNCombo::PushRect(const CNRect& rect) const
{
    if (!m_Owner)
        return;
    CNRect* copy = new CNRect(rect);
    if (!PostMessageW(m_Owner, NWM_RECT_UPDATE, NWM_RECT_DELETE, reinterpret_cast<LPARAM>(copy)))
        delete copy;
}

bool CNCombo::InList(int x, int y) const
{
    return x >= m_ListRect.x && x < m_ListRect.x + m_ListRect.width && y >= m_ListRect.y &&
           y < m_ListRect.y + m_ListRect.height;
}

bool CNCombo::OverListScrollBar(int x, int y) const
{
    return m_List.IsScrollBarShown() && InList(x, y) && m_List.ItemAt(x, y) == CNListModel::kNone &&
           x >= m_ListRect.x + m_ListRect.width - 1 - CNListBox::kScrollBarWidth;
}

void CNCombo::ShowSelectionText()
{
    SetText(m_List.GetItemText(m_List.GetSelection()));
}

const CNBitmap* CNCombo::BoxImage() const
{
    int which = m_Open ? kImageOpen : (m_Hover ? kImageHover : kImageNormal);
    if (m_Images[which].IsLoaded())
        return &m_Images[which];
    return m_Images[kImageNormal].IsLoaded() ? &m_Images[kImageNormal] : nullptr;
}

void CNCombo::DrawPlainBox()
{
    FillColor(m_Open ? CNTheme::Accent() : CNTheme::FieldEdge(), m_X, m_Y, m_Width, m_Height);
    FillColor(m_Hover ? CNTheme::ButtonHover() : CNTheme::ButtonFace(), m_X + 1, m_Y + 1, m_Width - 2, m_Height - 2);
}

RECT CNCombo::TextRect() const
{
    int right = m_HasDropButton ? m_DropButton.GetRect().x - 2 : m_X + m_Width - kTextRightMargin;
    return RECT{m_X + kTextIndent, m_Y, right, m_Y + m_Height};
}

void CNCombo::ReleaseImages()
{
    for (CNBitmap& image : m_Images)
        image.Release();
}

} // namespace pelidore
