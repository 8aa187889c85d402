#include "CNIconList.h"

#include "CNCreationResult.h"
#include "CNLog.h"
#include "CNScreen.h"
#include "CNTheme.h"
#include "CNTopWindow.h"
#include "NControlMessages.h"

namespace pelidore {

namespace {

constexpr BYTE kSelectedAlpha = 110;

} // namespace

CNIconList::CNIconList() = default;

CNIconList::~CNIconList() = default;

HRESULT CNIconList::AddIcon(UINT resourceId)
{
    auto icon = std::make_unique<CNBitmap>();
    if (FAILED(icon->LoadResource(CNTopWindow::ModuleInstance(), resourceId))) {
        NLOG("CNIconList::AddIcon", CNLog::kLevelRefused, "icon list %d: no picture %u", m_ID, resourceId);
        return E_FAIL;
    }
    m_Icons.push_back(std::move(icon));
    return S_OK;
}

void CNIconList::RemoveAll()
{
    m_Icons.clear();
    m_Selection = -1;
    m_Hot = -1;
}

void CNIconList::SetCellSize(int width, int height)
{
    m_CellWidth = width > 0 ? width : kDefaultCell;
    m_CellHeight = height > 0 ? height : kDefaultCell;
    Layout();
}

int CNIconList::IconAt(int x, int y) const
{
    if (!HitTest(x, y))
        return -1;
    int column = (x - m_X) / m_CellWidth;
    int row = (y - m_Y) / m_CellHeight;
    if (column >= m_Columns)
        return -1;
    int index = row * m_Columns + column;
    return index < GetCount() ? index : -1;
}

void CNIconList::OnDraw()
{
    if (!m_Screen)
        return;
    for (int i = 0; i < GetCount(); ++i) {
        CNRect cell = CellRect(i);
        if (cell.y + cell.height > m_Y + m_Height)
            break;
        if (i == m_Selection) {
            CNColor selected = CNTheme::Accent();
            selected.SetAlpha(kSelectedAlpha);
            FillColor(selected, cell);
        } else if (i == m_Hot) {
            FillColor(CNTheme::ButtonHover(), cell);
        }
        const CNBitmap& icon = *m_Icons[static_cast<size_t>(i)];
        m_Screen->DrawImage(icon, cell.x + (cell.width - icon.Width()) / 2, cell.y + (cell.height - icon.Height()) / 2);
    }
}

HRESULT CNIconList::OnCreate()
{
    m_Selection = -1;
    m_Hot = -1;
    Layout();
    CNCreationResult result;
    result.Add(AddMessageFunc(WM_MOUSEMOVE, &CNIconList::OnMouseMove));
    result.Add(AddMessageFunc(WM_LBUTTONDOWN, &CNIconList::OnLButtonDown));
    result.Add(AddMessageFunc(WM_MOUSELEAVE, &CNIconList::OnMouseLeave));
    return result.Get();
}

void CNIconList::OnRelease()
{
    RemoveAll();
}

void CNIconList::OnSelect(int index)
{
    m_Selection = index >= 0 && index < GetCount() ? index : -1;
}

void CNIconList::OnMove(int, int, int, int)
{
    Layout();
}

void CNIconList::OnActivate(int active)
{
    CNControlBase::OnActivate(active);
    if (!active)
        m_Hot = -1;
}

LRESULT CNIconList::OnMouseMove(WPARAM, LPARAM lParam)
{
    SetHot(IconAt(PointX(lParam), PointY(lParam)));
    return 0;
}

LRESULT CNIconList::OnLButtonDown(WPARAM, LPARAM lParam)
{
    int index = IconAt(PointX(lParam), PointY(lParam));
    if (index < 0)
        return 0;
    OnSelect(index);
    Redraw();
    Notify(NWM_ICON_SELECTED);
    return 0;
}

LRESULT CNIconList::OnMouseLeave(WPARAM, LPARAM)
{
    SetHot(-1);
    return 0;
}

void CNIconList::Layout()
{
    int columns = m_CellWidth > 0 ? m_Width / m_CellWidth : 1;
    m_Columns = columns > 0 ? columns : 1;
}

CNRect CNIconList::CellRect(int index) const
{
    return CNRect{m_X + (index % m_Columns) * m_CellWidth, m_Y + (index / m_Columns) * m_CellHeight, m_CellWidth,
                  m_CellHeight};
}

void CNIconList::SetHot(int index)
{
    if (index == m_Hot)
        return;
    m_Hot = index;
    Redraw();
}

} // namespace pelidore
