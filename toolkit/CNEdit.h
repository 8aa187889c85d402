#pragma once

#include "CNControlBase.h"
#include "CNEditText.h"
#include "CNTextStyle.h"

#include <string>

namespace pelidore {

class CNEditPainter;

// The text field. Up to CNEditText::kMaxChars characters, set and read by
// the owner; a click gives it the keyboard (and a click elsewhere takes it
// away). Keys: arrows, Home, End (with Shift to select), Delete, Backspace,
// Ctrl+A, Ctrl+C, Ctrl+X, Ctrl+V (Unicode clipboard text), Enter; a double
// click selects everything. The caret blinks on a 500 ms timer of the owner.
// While the field has the keyboard it associates its own input context with
// the owner and keeps the input method's composition and candidate windows at
// the caret; composed text arrives as characters.
//
// A disabled field only shows its text. In numeric mode it takes whole
// numbers inside a range (see CNEditText for when values are clamped).
// Notices: NWM_EDIT_CHANGED after every change by the user, NWM_EDIT_RETURN
// when Enter is pressed in a single-line field.
class CNEdit : public CNControlBase {
public:
    static constexpr UINT kCaretBlinkMs = 500;
    static constexpr int kPadding = 4;

    CNEdit();
    ~CNEdit() override;

    // Replaces the text (cut to the limit; clamped in numeric mode).
    void SetText(const wchar_t* text) override;
    // Copies the text with its terminator into buffer, cut to capacity - 1
    // characters; returns the characters copied.
    int GetText(wchar_t* buffer, int capacity) const;
    using CNControlBase::GetText;
    std::wstring GetString() const { return m_Model.Text(); }

    void SetNumeric(double minimum, double maximum);
    void ClearNumeric() { m_Model.ClearNumeric(); }
    bool IsNumeric() const { return m_Model.IsNumeric(); }
    // The number shown, inside the range (the minimum for an empty field).
    double GetValue() const { return m_Model.Value(); }
    void SetValue(double value);
    void SetMultiline(bool multiline);

    void SetFont(const CNFont* font) { m_Style.SetFont(font); }
    void SetTextColor(const CNColor& color) { m_Style.SetColor(color); }
    // Gdiplus::StringAlignment for single-line text that fits: 0 near, 1 center, 2 far.
    void SetTextAlign(int horizontal) { m_Style.SetAlignment(horizontal, 1); }
    // Alpha 0 draws nothing (the default for back and border: the
    // windows' pictures hold the field's well).
    void SetBackColor(const CNColor& color) { m_BackColor = color; }
    void SetBorderColor(const CNColor& color) { m_BorderColor = color; }
    void SetSelectionColor(const CNColor& color) { m_SelectionColor = color; }
    void SetCaretColor(const CNColor& color) { m_CaretColor = color; }

    const CNEditText& GetModel() const { return m_Model; }
    bool IsCaretShown() const { return m_CaretShown; }
    HIMC GetInputContext() const { return m_InputContext; }
    // The caret's top in the owner's layout units.
    POINT GetCaretPoint();
    // Places the input method's windows at the caret; false when the input
    // method refused (or there is no input context).
    bool PlaceInputMethodWindows();

protected:
    void OnDraw() override;
    HRESULT OnCreate() override;
    void OnRelease() override;
    void OnFocus(int focused) override;
    void OnActivate(int active) override;

private:
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDblClk(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnChar(WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(WPARAM wParam, LPARAM lParam);
    LRESULT OnOwnerSetFocus(WPARAM wParam, LPARAM lParam);
    LRESULT OnOwnerKillFocus(WPARAM wParam, LPARAM lParam);
    LRESULT OnImeComposition(WPARAM wParam, LPARAM lParam);

    bool HandleMovementKey(WPARAM key, bool shift);
    bool HandleControlKey(WPARAM key);
    bool HandleEditingKey(WPARAM key);
    void Copy();
    void Paste();
    void Cut();
    void AfterEdit(bool changed);
    void AfterMove();
    void Commit();

    void StartCaret();
    void StopCaret();
    void RestartBlink();
    UINT_PTR CaretTimerId() const { return reinterpret_cast<UINT_PTR>(&m_CaretShown); }
    void AssociateInputContext();
    void RestoreInputContext();

    RECT InnerRect() const;
    float LineTop(CNEditPainter& painter, int line) const;
    float ColumnX(CNEditPainter& painter, int line, int column) const;
    float AlignOffset(CNEditPainter& painter) const;
    CNEditText::Position PositionAt(int x, int y);
    void KeepCaretVisible();
    void DrawSelection(CNEditPainter& painter);
    void DrawLines(CNEditPainter& painter);
    void DrawCaret(CNEditPainter& painter);
    void DrawFrame();
    void SyncTextBuffer();

    CNEditText m_Model;
    CNTextStyle m_Style;
    CNColor m_BackColor;
    CNColor m_BorderColor;
    CNColor m_SelectionColor;
    CNColor m_CaretColor;
    float m_ScrollX = 0.0f;
    int m_TopLine = 0;
    bool m_CaretShown = false;
    bool m_CaretTimer = false;
    bool m_MouseSelecting = false;
    HIMC m_InputContext = nullptr;
    HIMC m_PreviousContext = nullptr;
    bool m_ContextAssociated = false;
};

} // namespace pelidore
