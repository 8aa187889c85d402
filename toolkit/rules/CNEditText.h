#pragma once

#include <string>
#include <vector>

namespace pelidore {

// The text of a text field as lines of characters with a cursor (line and
// column) and a selection anchor, and the editing rules: a limit of
// kMaxChars characters (a line break counts as the two characters "\r\n" of
// the joined text, so the joined text always fits a 260-character buffer),
// single-line texts that stop at the first line break, and a numeric mode
// that admits whole numbers only and keeps them inside a range.
//
// Numeric clamping happens in two steps, so that a number can be typed digit
// by digit: a value beyond the end that further digits can only move away
// from (above the maximum, or a negative one below the minimum) is clamped at
// once; a value below the minimum, or an empty text, is clamped by Commit
// (the field does that when it loses the focus or Enter is pressed).
// Value() always answers inside the range.
//
// Portable: no Windows header; CNEdit draws it and feeds it keys.
class CNEditText {
public:
    static constexpr int kMaxChars = 259;

    struct Position {
        int line = 0;
        int column = 0;
        bool operator==(const Position& o) const { return line == o.line && column == o.column; }
        bool operator!=(const Position& o) const { return !(*this == o); }
        bool operator<(const Position& o) const { return line < o.line || (line == o.line && column < o.column); }
    };

    CNEditText();

    // Multi-line texts keep line breaks; switching to single-line cuts the text.
    void SetMultiline(bool multiline);
    bool IsMultiline() const { return m_Multiline; }

    // Whole numbers from min to max (bounds rounded inwards; a reversed range
    // collapses to min). The text is clamped to the range at once.
    void SetNumeric(double min, double max);
    void ClearNumeric() { m_Numeric = false; }
    bool IsNumeric() const { return m_Numeric; }
    long long Minimum() const { return m_Min; }
    long long Maximum() const { return m_Max; }

    // Replaces the text (normalised like typed text: cut to the limit, line
    // breaks kept only when multi-line, digits only when numeric); the cursor
    // goes to the end. Returns whether the text changed.
    bool SetText(const std::wstring& text);
    // Lines joined with "\r\n".
    std::wstring Text() const;
    // Characters of Text().
    int Length() const;
    const std::vector<std::wstring>& Lines() const { return m_Lines; }
    bool IsEmpty() const { return m_Lines.size() == 1 && m_Lines[0].empty(); }

    // The number shown, clamped to the range; the minimum when the text is empty.
    double Value() const;
    // Shows value clamped to the range.
    bool SetValue(double value);
    // Clamps below-range and empty numbers (see above). Returns whether the text changed.
    bool Commit();

    Position Cursor() const { return m_Cursor; }
    Position Anchor() const { return m_Anchor; }
    bool HasSelection() const { return m_Cursor != m_Anchor; }
    Position SelectionStart() const { return m_Cursor < m_Anchor ? m_Cursor : m_Anchor; }
    Position SelectionEnd() const { return m_Cursor < m_Anchor ? m_Anchor : m_Cursor; }
    std::wstring SelectedText() const;
    void SelectAll();

    // Cursor movement; extend keeps the anchor (Shift), otherwise the
    // selection collapses (to its near end for Left and Right).
    void MoveLeft(bool extend);
    void MoveRight(bool extend);
    void MoveUp(bool extend);
    void MoveDown(bool extend);
    void MoveHome(bool extend);
    void MoveEnd(bool extend);
    // Clamped into the text.
    void MoveTo(Position position, bool extend);

    // Typing and pasting: replaces the selection with what of text the rules
    // admit. Returns whether the text changed.
    bool Insert(const std::wstring& text);
    bool Backspace();
    bool Delete();

private:
    Position Clamp(Position position) const;
    void Place(Position position, bool extend);
    int CharsBetween(Position from, Position to) const;
    bool EraseSelection();
    void EraseRange(Position from, Position to);
    std::wstring Admit(const std::wstring& text) const;
    std::wstring AdmitNumeric(const std::wstring& text) const;
    std::wstring CutToRoom(const std::wstring& text, int room) const;
    void InsertAdmitted(const std::wstring& text);
    void ClampWhileTyping();
    bool ShowNumber(long long value);
    bool ParseNumber(long long& value) const;

    std::vector<std::wstring> m_Lines;
    Position m_Cursor;
    Position m_Anchor;
    bool m_Multiline = false;
    bool m_Numeric = false;
    long long m_Min = 0;
    long long m_Max = 0;
};

} // namespace pelidore
