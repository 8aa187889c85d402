#pragma once

#include "CNControlBase.h"
#include "CNListModel.h"
#include "CNScrollBar.h"
#include "CNTextStyle.h"

#include <string>

namespace pelidore {

// A list of text entries, one per row, with a selection, a highlighted row
// under the pointer, wheel scrolling and a scroll bar when the entries do not
// fit. A click on an entry selects it and posts NWM_LIST_SELECTED (unless
// notices are off: CNCombo embeds a list and reads TakePicked instead).
class CNListBox : public CNControlBase {
public:
    static constexpr int kDefaultRowHeight = 15;
    static constexpr int kScrollBarWidth = 10;
    static constexpr int kWheelRows = 3;

    CNListBox();
    ~CNListBox() override;

    int AddItem(const wchar_t* text);
    void ResetContent();
    int GetCount() const { return m_Model.Count(); }
    const wchar_t* GetItemText(int index) const { return m_Model.Text(index).c_str(); }
    int FindItem(const wchar_t* text) const { return m_Model.Find(text ? text : L""); }
    // An index outside the entries selects nothing (-1).
    void SetSelection(int index) { m_Model.SetSelection(index); }
    int GetSelection() const { return m_Model.Selection(); }
    bool IsItemSelected(int index) const { return index >= 0 && index == m_Model.Selection(); }

    void SetRowHeight(int height);
    int GetRowHeight() const { return m_RowHeight; }
    // Width of the highlight of a row; 0 (the default) spans the list.
    void SetRowWidth(int width) { m_RowWidth = width; }
    void SetFont(const CNFont* font) { m_Style.SetFont(font); }
    void SetTextColor(const CNColor& color) { m_Style.SetColor(color); }
    void SetNotify(bool notify) { m_Notify = notify; }

    // The entry under a point, or -1.
    int ItemAt(int x, int y) const;
    void EnsureVisible(int index)
    {
        m_Model.EnsureVisible(index);
        SyncScrollBar();
    }
    void ScrollRows(int rows);
    int GetTopIndex() const { return m_Model.Top(); }
    void SetHot(int index) { m_Model.SetHot(index); }
    int GetHot() const { return m_Model.Hot(); }
    // The entry picked by the last click, once; -1 if none.
    int TakePicked();
    bool IsScrollBarShown() const { return m_ScrollBar.IsVisible(); }

protected:
    void OnDraw() override;
    HRESULT OnCreate() override;
    void OnRelease() override;
    void OnMove(int x, int y, int width, int height) override;
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnActivate(int active) override;

private:
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    void Layout();
    void SyncScrollBar();
    int RowsWidth() const;
    void DrawRow(int row, int index);

    CNListModel m_Model;
    CNScrollBar m_ScrollBar;
    CNTextStyle m_Style;
    int m_RowHeight = kDefaultRowHeight;
    int m_RowWidth = 0;
    int m_Picked = CNListModel::kNone;
    int m_WheelRemainder = 0;
    bool m_Notify = true;
};

} // namespace pelidore
