#include "CNListModel.h"

namespace pelidore {

int CNListModel::Add(const std::wstring& text)
{
    m_Items.push_back(text);
    return Count() - 1;
}

void CNListModel::Clear()
{
    m_Items.clear();
    m_Selection = kNone;
    m_Hot = kNone;
    m_Top = 0;
}

const std::wstring& CNListModel::Text(int index) const
{
    static const std::wstring empty;
    return IsValid(index) ? m_Items[static_cast<size_t>(index)] : empty;
}

int CNListModel::Find(const std::wstring& text) const
{
    for (int i = 0; i < Count(); ++i) {
        if (m_Items[static_cast<size_t>(i)] == text)
            return i;
    }
    return kNone;
}

void CNListModel::SetSelection(int index)
{
    m_Selection = IsValid(index) ? index : kNone;
}

void CNListModel::SetHot(int index)
{
    m_Hot = IsValid(index) ? index : kNone;
}

void CNListModel::SetVisibleRows(int rows)
{
    m_VisibleRows = rows > 0 ? rows : 1;
    ScrollTo(m_Top);
}

int CNListModel::MaxTop() const
{
    int top = Count() - m_VisibleRows;
    return top > 0 ? top : 0;
}

bool CNListModel::ScrollTo(int top)
{
    if (top > MaxTop())
        top = MaxTop();
    if (top < 0)
        top = 0;
    bool changed = top != m_Top;
    m_Top = top;
    return changed;
}

void CNListModel::EnsureVisible(int index)
{
    if (!IsValid(index))
        return;
    if (index < m_Top)
        ScrollTo(index);
    else if (index >= m_Top + m_VisibleRows)
        ScrollTo(index - m_VisibleRows + 1);
}

int CNListModel::IndexAtRow(int row) const
{
    if (row < 0 || row >= m_VisibleRows)
        return kNone;
    int index = m_Top + row;
    return IsValid(index) ? index : kNone;
}

int CNListModel::Step(int index, int delta, int count)
{
    if (count <= 0)
        return kNone;
    long long next;
    if (index < 0 || index >= count)
        next = delta > 0 ? delta - 1 : count + static_cast<long long>(delta);
    else
        next = index + static_cast<long long>(delta);
    if (next < 0)
        next = 0;
    if (next >= count)
        next = count - 1;
    return static_cast<int>(next);
}

} // namespace pelidore
