#include "CNListBox.h"

#include "CNCreationResult.h"
#include "CNScreen.h"
#include "CNTheme.h"
#include "NControlMessages.h"

namespace pelidore {

namespace {

constexpr int kBorder = 1;
constexpr int kTextIndent = 6;

} // namespace

CNListBox::CNListBox() = default;

CNListBox::~CNListBox() = default;

int CNListBox::AddItem(const wchar_t* text)
{
    int index = m_Model.Add(text ? text : L"");
    SyncScrollBar();
    return index;
}

void CNListBox::ResetContent()
{
    m_Model.Clear();
    m_Picked = CNListModel::kNone;
    SyncScrollBar();
}

void CNListBox::SetRowHeight(int height)
{
    m_RowHeight = height > 0 ? height : kDefaultRowHeight;
    Layout();
}

int CNListBox::ItemAt(int x, int y) const
{
    int left = m_X + kBorder;
    int top = m_Y + kBorder;
    if (x < left || x >= left + RowsWidth() || y < top || y >= m_Y + m_Height - kBorder)
        return CNListModel::kNone;
    return m_Model.IndexAtRow((y - top) / m_RowHeight);
}

void CNListBox::ScrollRows(int rows)
{
    if (m_Model.ScrollBy(rows))
        SyncScrollBar();
}

int CNListBox::TakePicked()
{
    int picked = m_Picked;
    m_Picked = CNListModel::kNone;
    return picked;
}

void CNListBox::OnDraw()
{
    if (!m_Screen)
        return;
    FillColor(CNTheme::ListEdge(), m_X, m_Y, m_Width, m_Height);
    FillColor(CNTheme::ListBack(), m_X + kBorder, m_Y + kBorder, m_Width - 2 * kBorder, m_Height - 2 * kBorder);
    for (int row = 0; row < m_Model.VisibleRows(); ++row) {
        int index = m_Model.IndexAtRow(row);
        if (index != CNListModel::kNone)
            DrawRow(row, index);
    }
    if (m_ScrollBar.IsVisible())
        m_ScrollBar.Draw(kDrawFull);
}

HRESULT CNListBox::OnCreate()
{
    m_Picked = CNListModel::kNone;
    m_WheelRemainder = 0;
    if (FAILED(m_ScrollBar.Create(m_Owner, m_Screen, m_ID, 0, 0, kScrollBarWidth, 0, 0)))
        return E_FAIL;
    m_ScrollBar.SetNotify(false);
    CNCreationResult result;
    result.Add(AddMessageFunc(WM_MOUSEMOVE, &CNListBox::OnMouseMove));
    result.Add(AddMessageFunc(WM_LBUTTONDOWN, &CNListBox::OnLButtonDown));
    result.Add(AddMessageFunc(WM_MOUSEWHEEL, &CNListBox::OnMouseWheel));
    result.Add(AddMessageFunc(WM_MOUSELEAVE, &CNListBox::OnMouseLeave));
    Layout();
    return result.Get();
}

void CNListBox::OnRelease()
{
    m_ScrollBar.Release();
    m_Style.Release();
}

void CNListBox::OnMove(int, int, int, int)
{
    Layout();
}

LRESULT CNListBox::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT used = m_ScrollBar.ProcessMessage(window, message, wParam, lParam);
    if (m_ScrollBar.TakeChanged()) {
        m_Model.ScrollTo(m_ScrollBar.GetPosition());
        Redraw();
    }
    return used;
}

void CNListBox::OnActivate(int active)
{
    CNControlBase::OnActivate(active);
    if (active)
        return;
    m_Model.SetHot(CNListModel::kNone);
    // Hiding the bar ends a drag it holds; it comes back as the entries need.
    m_ScrollBar.Show(false);
    SyncScrollBar();
}

LRESULT CNListBox::OnMouseMove(WPARAM, LPARAM lParam)
{
    int hot = ItemAt(PointX(lParam), PointY(lParam));
    if (hot == m_Model.Hot())
        return 0;
    m_Model.SetHot(hot);
    Redraw();
    return 0;
}

LRESULT CNListBox::OnLButtonDown(WPARAM, LPARAM lParam)
{
    int index = ItemAt(PointX(lParam), PointY(lParam));
    if (index == CNListModel::kNone)
        return 0;
    m_Model.SetSelection(index);
    m_Picked = index;
    Redraw();
    if (m_Notify)
        Notify(NWM_LIST_SELECTED);
    return 0;
}

LRESULT CNListBox::OnMouseWheel(WPARAM wParam, LPARAM lParam)
{
    POINT point{PointX(lParam), PointY(lParam)};
    if (!ScreenToLayout(point) || !HitTest(point.x, point.y))
        return 0;
    m_WheelRemainder += static_cast<short>(HIWORD(wParam));
    int notches = m_WheelRemainder / WHEEL_DELTA;
    m_WheelRemainder -= notches * WHEEL_DELTA;
    if (notches == 0 || !m_Model.ScrollBy(-notches * kWheelRows))
        return 0;
    SyncScrollBar();
    m_Model.SetHot(ItemAt(point.x, point.y));
    Redraw();
    return 0;
}

LRESULT CNListBox::OnMouseLeave(WPARAM, LPARAM)
{
    if (m_Model.Hot() == CNListModel::kNone)
        return 0;
    m_Model.SetHot(CNListModel::kNone);
    Redraw();
    return 0;
}

void CNListBox::Layout()
{
    m_Model.SetVisibleRows((m_Height - 2 * kBorder) / m_RowHeight);
    m_ScrollBar.SetRect(m_X + m_Width - kBorder - kScrollBarWidth, m_Y + kBorder, kScrollBarWidth,
                        m_Height - 2 * kBorder);
    SyncScrollBar();
}

void CNListBox::SyncScrollBar()
{
    m_ScrollBar.SetRange(m_Model.Count(), m_Model.VisibleRows());
    m_ScrollBar.SetPosition(m_Model.Top());
    m_ScrollBar.Show(m_Model.NeedsScrolling());
}

int CNListBox::RowsWidth() const
{
    if (m_RowWidth > 0)
        return m_RowWidth;
    int width = m_Width - 2 * kBorder;
    if (m_Model.NeedsScrolling())
        width -= kScrollBarWidth;
    return width;
}

void CNListBox::DrawRow(int row, int index)
{
    int left = m_X + kBorder;
    int top = m_Y + kBorder + row * m_RowHeight;
    int width = RowsWidth();
    bool hot = index == m_Model.Hot();
    if (hot)
        FillColor(CNTheme::Accent(), left, top, width, m_RowHeight);
    else if (index == m_Model.Selection())
        FillColor(CNTheme::ListSelected(), left, top, width, m_RowHeight);
    RECT text{left + kTextIndent, top, left + width - 2, top + m_RowHeight};
    CNColor color = hot ? CNTheme::AccentText() : m_Style.Color();
    m_Screen->DrawText(m_Style.Font(), text, color, m_Model.Text(index).c_str(), 0, 0, 1, true);
}

} // namespace pelidore
