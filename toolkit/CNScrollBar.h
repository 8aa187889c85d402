#pragma once

#include "CNControlBase.h"

namespace pelidore {

// A scroll bar over a range of count entries of which page are shown at a
// time; the position is the first shown entry, 0..count - page. Dragging the
// thumb holds the mouse capture; a press on the track beside the thumb pages
// towards the pointer. NWM_SCROLL_CHANGED reports changes made by the user
// unless notices are turned off (a control that embeds the bar reads
// TakeChanged after passing it a message instead).
class CNScrollBar : public CNControlBase {
public:
    static constexpr int kVertical = 0;
    static constexpr int kHorizontal = 1;
    static constexpr int kMinThumb = 14;

    CNScrollBar();
    ~CNScrollBar() override;

    void SetOrientation(int orientation) { m_Orientation = orientation; }
    // The position is clamped to the new range.
    void SetRange(int count, int page);
    int GetCount() const { return m_Count; }
    int GetPage() const { return m_Page; }
    void SetPosition(int position);
    int GetPosition() const { return m_Position; }
    int GetMaxPosition() const;
    void SetNotify(bool notify) { m_Notify = notify; }
    bool IsDragging() const { return m_DragOffset >= 0; }
    // Whether the user moved the bar since the last call.
    bool TakeChanged();
    // The thumb in window coordinates.
    CNRect ThumbRect() const;

    void Release() override;
    void SetRect(int x, int y, int width, int height) override;

protected:
    void OnDraw() override;
    HRESULT OnCreate() override;
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnActivate(int active) override;

private:
    bool Horizontal() const { return m_Orientation == kHorizontal; }
    int TrackLength() const { return Horizontal() ? m_Width : m_Height; }
    int ThumbLength() const;
    int Along(int x, int y) const { return Horizontal() ? x - m_X : y - m_Y; }
    LRESULT OnPress(int x, int y);
    LRESULT OnDrag(int x, int y);
    void EndDrag();
    void MoveByUser(int position);

    int m_Orientation = kVertical;
    int m_Count = 0;
    int m_Page = 1;
    int m_Position = 0;
    int m_DragOffset = -1;
    HWND m_PreviousCapture = nullptr;
    bool m_Notify = true;
    bool m_Changed = false;
};

} // namespace pelidore
