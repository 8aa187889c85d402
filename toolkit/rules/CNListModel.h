#pragma once

#include <string>
#include <vector>

namespace pelidore {

// The entries of a list with its selection, its first visible row and the
// row under the pointer. Portable: the list controls draw it, the model only
// keeps the numbers consistent (every index is either valid or -1).
class CNListModel {
public:
    static constexpr int kNone = -1;

    // Appends an entry; returns its index.
    int Add(const std::wstring& text);
    void Clear();
    int Count() const { return static_cast<int>(m_Items.size()); }
    // The entry's text, or an empty text for an invalid index.
    const std::wstring& Text(int index) const;
    // The first entry with exactly this text, or kNone.
    int Find(const std::wstring& text) const;

    // An index outside the entries selects nothing.
    void SetSelection(int index);
    int Selection() const { return m_Selection; }
    void SetHot(int index);
    int Hot() const { return m_Hot; }

    // How many rows fit; at least 1.
    void SetVisibleRows(int rows);
    int VisibleRows() const { return m_VisibleRows; }
    bool NeedsScrolling() const { return Count() > m_VisibleRows; }
    int Top() const { return m_Top; }
    int MaxTop() const;
    // Clamped to 0..MaxTop; returns whether the first row changed.
    bool ScrollTo(int top);
    bool ScrollBy(int rows) { return ScrollTo(m_Top + rows); }
    // Scrolls the least amount that shows the entry.
    void EnsureVisible(int index);
    // The entry at a visible row (0 = first visible), or kNone.
    int IndexAtRow(int row) const;
    // index moved by delta and kept inside count entries; from kNone a step
    // forward lands on the first entry and a step back on the last.
    static int Step(int index, int delta, int count);

private:
    bool IsValid(int index) const { return index >= 0 && index < Count(); }

    std::vector<std::wstring> m_Items;
    int m_Selection = kNone;
    int m_Hot = kNone;
    int m_Top = 0;
    int m_VisibleRows = 1;
};

} // namespace pelidore
