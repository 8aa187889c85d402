#pragma once

#include "CNBitmap.h"
#include "CNControlBase.h"

#include <memory>
#include <vector>

namespace pelidore {

// Pictures in cells, left to right and wrapping into rows as the control's
// width allows; the cell under the pointer is highlighted and a click selects
// a cell and posts NWM_ICON_SELECTED.
class CNIconList : public CNControlBase {
public:
    static constexpr int kDefaultCell = 28;

    CNIconList();
    ~CNIconList() override;

    // Appends a "PNG" resource of the top window's module; E_FAIL (and
    // nothing added) when it cannot be loaded.
    HRESULT AddIcon(UINT resourceId);
    void RemoveAll();
    int GetCount() const { return static_cast<int>(m_Icons.size()); }
    void SetCellSize(int width, int height);
    // An index outside the icons selects nothing (-1). The owner repaints.
    void SetSelection(int index) { OnSelect(index); }
    int GetSelection() const { return m_Selection; }
    int GetHot() const { return m_Hot; }
    // The icon under a point, or -1.
    int IconAt(int x, int y) const;

protected:
    void OnDraw() override;
    HRESULT OnCreate() override;
    void OnRelease() override;
    void OnSelect(int index) override;
    void OnMove(int x, int y, int width, int height) override;
    void OnActivate(int active) override;

private:
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    void Layout();
    CNRect CellRect(int index) const;
    void SetHot(int index);

    std::vector<std::unique_ptr<CNBitmap>> m_Icons;
    int m_CellWidth = kDefaultCell;
    int m_CellHeight = kDefaultCell;
    int m_Columns = 1;
    int m_Selection = -1;
    int m_Hot = -1;
};

} // namespace pelidore
