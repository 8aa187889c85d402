#pragma once

#include "CNBitmap.h"
#include "CNButton.h"
#include "CNControlBase.h"
#include "CNListBox.h"
#include "CNSavedRect.h"
#include "CNTextStyle.h"

namespace pelidore {

// A drop-down list: a box showing the selected entry's text and a drop
// button; a click on the box opens the list below it (above when there is no
// room), drawn over the owner's other controls. While open the combo holds
// the mouse capture, so a click anywhere else closes it. A click (or a
// release after dragging from the box) on an entry selects it and closes the
// list; the wheel scrolls an open list that is longer than fits, and steps
// the selection of a closed one; Up, Down, Enter and Escape work while open.
//
// Notices: NWM_COMBO_DROPDOWN with wParam 1 when the list opens and 0 when it
// closes (lParam the combo); NWM_COMBO_SELECTED when the user chose another
// entry. A window that forwards its mouse messages to an open combo should
// call ProcessMessage from its OnMessage and return non-zero, so the combo
// does not see the message a second time through the child list (a repeated
// press or release is ignored all the same).
class CNCombo : public CNControlBase {
public:
    enum Image : int { kImageNormal = 0, kImageOpen = 1, kImageHover = 2, kImageCount = 3 };
    static constexpr int kMaxRows = 12;
    static constexpr int kMinRowsBelow = 3;
    static constexpr int kTextIndent = 6;

    CNCombo();
    ~CNCombo() override;

    // Box pictures: closed, open (pressed) and hover; 0 leaves one out (the
    // closed picture stands in, or theme colours when there is none).
    HRESULT SetImages(UINT normalId, UINT openId, UINT hoverId);
    // The drop button, in window coordinates like the combo itself.
    HRESULT SetDropButton(int x, int y, int width, int height, UINT normalId, UINT pressedId);
    // Size of one entry of the list; the list is at least as wide as the
    // combo, and at least the entry width plus its scroll bar.
    void SetItemSize(int width, int height);

    int AddItem(const wchar_t* text);
    void ResetContent();
    int GetCount() const { return m_List.GetCount(); }
    const wchar_t* GetItemText(int index) const { return m_List.GetItemText(index); }
    int FindItem(const wchar_t* text) const { return m_List.FindItem(text); }
    // An index outside the entries selects nothing and shows no text.
    void SetSelection(int index);
    int GetSelection() const { return m_List.GetSelection(); }
    bool IsItemSelected(int index) const { return m_List.IsItemSelected(index); }

    void SetFont(const CNFont* font);
    void SetTextColor(const CNColor& color);

    bool IsOpen() const { return m_Open; }
    // Open does nothing for an empty, hidden or disabled combo.
    void Open();
    void Close();
    const CNRect& GetListRect() const { return m_ListRect; }
    const CNListBox& GetList() const { return m_List; }

    void Release() override;
    void SetRect(int x, int y, int width, int height) override;
    void Draw(int mode) override;

protected:
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDraw() override;
    HRESULT OnCreate() override;
    void OnRelease() override;
    void OnActivate(int active) override;

private:
    struct MouseMessage {
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
        LONG time = 0;
    };

    bool IsRepeat(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(HWND window, WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonDown(HWND window, WPARAM wParam, LPARAM lParam);
    LRESULT OnButtonUp(HWND window, WPARAM wParam, LPARAM lParam);
    LRESULT OnWheel(HWND window, WPARAM wParam, LPARAM lParam);
    LRESULT OnKey(WPARAM key);
    void SetHover(bool hover);
    void Choose(int index);
    void PlaceList();
    void DrawList(bool freshBackground);
    void HideList();
    void PushRect(const CNRect& rect) const;
    bool InList(int x, int y) const;
    bool OverListScrollBar(int x, int y) const;
    void ShowSelectionText();
    const CNBitmap* BoxImage() const;
    void DrawPlainBox();
    RECT TextRect() const;
    void ReleaseImages();

    CNBitmap m_Images[kImageCount];
    CNButton m_DropButton;
    bool m_HasDropButton = false;
    CNListBox m_List;
    CNTextStyle m_Style;
    CNRect m_ListRect;
    CNSavedRect m_UnderList;
    int m_ItemWidth = 0;
    int m_ItemHeight = CNListBox::kDefaultRowHeight;
    bool m_Open = false;
    bool m_Hover = false;
    bool m_OpeningRelease = false;
    HWND m_PreviousCapture = nullptr;
    MouseMessage m_LastMouse;
};

} // namespace pelidore
