#include "CNEditText.h"

#include <cmath>

namespace pelidore {

namespace {

constexpr int kLineBreakChars = 2; // "\r\n" in the joined text
// More digits than this cannot matter: every range bound fits in fewer.
constexpr size_t kMaxNumberDigits = 18;

bool IsLineBreak(wchar_t c)
{
    return c == L'\r' || c == L'\n';
}

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

long long InwardBound(double value, bool lower)
{
    constexpr double kLimit = 1e17;
    if (std::isnan(value))
        return 0;
    if (value > kLimit)
        value = kLimit;
    if (value < -kLimit)
        value = -kLimit;
    return static_cast<long long>(lower ? std::ceil(value) : std::floor(value));
}

} // namespace

CNEditText::CNEditText() : m_Lines(1) {}

void CNEditText::SetMultiline(bool multiline)
{
    m_Multiline = multiline && !m_Numeric;
    if (!m_Multiline && m_Lines.size() > 1) {
        m_Lines.resize(1);
        m_Cursor = m_Anchor = Position{0, static_cast<int>(m_Lines[0].size())};
    }
}

void CNEditText::SetNumeric(double min, double max)
{
    m_Numeric = true;
    m_Multiline = false;
    m_Min = InwardBound(min, true);
    m_Max = InwardBound(max, false);
    if (m_Max < m_Min)
        m_Max = m_Min;
    SetText(Text());
    Commit();
}

bool CNEditText::SetText(const std::wstring& text)
{
    std::wstring before = Text();
    m_Lines.assign(1, std::wstring());
    m_Cursor = m_Anchor = Position{};
    std::wstring admitted = Admit(text);
    if (m_Numeric) {
        admitted = AdmitNumeric(admitted);
        if (admitted == L"-")
            admitted.clear();
    }
    InsertAdmitted(CutToRoom(admitted, kMaxChars));
    // A number given by the owner is clamped whole, not digit by digit.
    if (m_Numeric && !IsEmpty()) {
        long long value = 0;
        if (ParseNumber(value))
            ShowNumber(value < m_Min ? m_Min : (value > m_Max ? m_Max : value));
    }
    return Text() != before;
}

std::wstring CNEditText::Text() const
{
    std::wstring joined;
    for (size_t i = 0; i < m_Lines.size(); ++i) {
        if (i > 0)
            joined += L"\r\n";
        joined += m_Lines[i];
    }
    return joined;
}

int CNEditText::Length() const
{
    int length = 0;
    for (const std::wstring& line : m_Lines)
        length += static_cast<int>(line.size());
    return length + kLineBreakChars * static_cast<int>(m_Lines.size() - 1);
}

double CNEditText::Value() const
{
    long long value = m_Min;
    if (!ParseNumber(value))
        value = m_Min;
    if (value < m_Min)
        value = m_Min;
    if (value > m_Max)
        value = m_Max;
    return static_cast<double>(value);
}

bool CNEditText::SetValue(double value)
{
    long long whole = InwardBound(value, value < 0);
    if (m_Numeric) {
        if (whole < m_Min)
            whole = m_Min;
        if (whole > m_Max)
            whole = m_Max;
    }
    return SetText(std::to_wstring(whole));
}

bool CNEditText::Commit()
{
    if (!m_Numeric)
        return false;
    long long value = 0;
    if (!ParseNumber(value))
        return ShowNumber(m_Min);
    return ShowNumber(value < m_Min ? m_Min : (value > m_Max ? m_Max : value));
}

std::wstring CNEditText::SelectedText() const
{
    Position from = SelectionStart();
    Position to = SelectionEnd();
    if (from.line == to.line)
        return m_Lines[from.line].substr(from.column, to.column - from.column);
    std::wstring text = m_Lines[from.line].substr(from.column);
    for (int line = from.line + 1; line < to.line; ++line)
        text += L"\r\n" + m_Lines[line];
    text += L"\r\n" + m_Lines[to.line].substr(0, to.column);
    return text;
}

void CNEditText::SelectAll()
{
    m_Anchor = Position{};
    m_Cursor = Position{static_cast<int>(m_Lines.size()) - 1, static_cast<int>(m_Lines.back().size())};
}

void CNEditText::MoveLeft(bool extend)
{
    if (!extend && HasSelection()) {
        Place(SelectionStart(), false);
        return;
    }
    Position next = m_Cursor;
    if (next.column > 0)
        --next.column;
    else if (next.line > 0)
        next = Position{next.line - 1, static_cast<int>(m_Lines[next.line - 1].size())};
    Place(next, extend);
}

void CNEditText::MoveRight(bool extend)
{
    if (!extend && HasSelection()) {
        Place(SelectionEnd(), false);
        return;
    }
    Position next = m_Cursor;
    if (next.column < static_cast<int>(m_Lines[next.line].size()))
        ++next.column;
    else if (next.line + 1 < static_cast<int>(m_Lines.size()))
        next = Position{next.line + 1, 0};
    Place(next, extend);
}

void CNEditText::MoveUp(bool extend)
{
    Position next = m_Cursor;
    if (next.line > 0)
        --next.line;
    else
        next.column = 0;
    Place(Clamp(next), extend);
}

void CNEditText::MoveDown(bool extend)
{
    Position next = m_Cursor;
    if (next.line + 1 < static_cast<int>(m_Lines.size()))
        ++next.line;
    else
        next.column = static_cast<int>(m_Lines[next.line].size());
    Place(Clamp(next), extend);
}

void CNEditText::MoveHome(bool extend)
{
    Place(Position{m_Cursor.line, 0}, extend);
}

void CNEditText::MoveEnd(bool extend)
{
    Place(Position{m_Cursor.line, static_cast<int>(m_Lines[m_Cursor.line].size())}, extend);
}

void CNEditText::MoveTo(Position position, bool extend)
{
    Place(Clamp(position), extend);
}

bool CNEditText::Insert(const std::wstring& text)
{
    std::wstring admitted = Admit(text);
    if (m_Numeric)
        admitted = AdmitNumeric(admitted);
    int room = kMaxChars - Length() + CharsBetween(SelectionStart(), SelectionEnd());
    admitted = CutToRoom(admitted, room);
    if (admitted.empty())
        return false;
    std::wstring before = Text();
    EraseSelection();
    InsertAdmitted(admitted);
    if (m_Numeric)
        ClampWhileTyping();
    return Text() != before;
}

bool CNEditText::Backspace()
{
    if (EraseSelection())
        return true;
    if (m_Cursor == Position{})
        return false;
    Position end = m_Cursor;
    MoveLeft(false);
    EraseRange(m_Cursor, end);
    return true;
}

bool CNEditText::Delete()
{
    if (EraseSelection())
        return true;
    Position start = m_Cursor;
    MoveRight(false);
    if (m_Cursor == start)
        return false;
    EraseRange(start, m_Cursor);
    return true;
}

CNEditText::Position CNEditText::Clamp(Position position) const
{
    int lines = static_cast<int>(m_Lines.size());
    if (position.line < 0)
        position.line = 0;
    if (position.line >= lines)
        position.line = lines - 1;
    int length = static_cast<int>(m_Lines[position.line].size());
    if (position.column < 0)
        position.column = 0;
    if (position.column > length)
        position.column = length;
    return position;
}

void CNEditText::Place(Position position, bool extend)
{
    m_Cursor = position;
    if (!extend)
        m_Anchor = position;
}

int CNEditText::CharsBetween(Position from, Position to) const
{
    if (from.line == to.line)
        return to.column - from.column;
    int count = static_cast<int>(m_Lines[from.line].size()) - from.column + to.column;
    for (int line = from.line + 1; line < to.line; ++line)
        count += static_cast<int>(m_Lines[line].size());
    return count + kLineBreakChars * (to.line - from.line);
}

bool CNEditText::EraseSelection()
{
    if (!HasSelection())
        return false;
    EraseRange(SelectionStart(), SelectionEnd());
    return true;
}

void CNEditText::EraseRange(Position from, Position to)
{
    std::wstring tail = m_Lines[to.line].substr(to.column);
    m_Lines[from.line].erase(from.column);
    m_Lines[from.line] += tail;
    m_Lines.erase(m_Lines.begin() + from.line + 1, m_Lines.begin() + to.line + 1);
    Place(from, false);
}

// Drops control characters; a single-line text stops at its first line
// break, a multi-line one keeps them (CRLF, CR and LF alike) as "\n".
std::wstring CNEditText::Admit(const std::wstring& text) const
{
    std::wstring admitted;
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (IsLineBreak(c)) {
            if (!m_Multiline)
                break;
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
            admitted += L'\n';
        } else if (c >= 0x20 && c != 0x7F) {
            admitted += c;
        }
    }
    return admitted;
}

// Digits, and one leading minus sign when the range has negative numbers.
std::wstring CNEditText::AdmitNumeric(const std::wstring& text) const
{
    std::wstring digits;
    bool signAllowed = m_Min < 0 && m_Cursor.column == 0 && (m_Lines[0].empty() || m_Lines[0][0] != L'-');
    bool selectionHoldsSign =
        HasSelection() && SelectionStart().column == 0 && !m_Lines[0].empty() && m_Lines[0][0] == L'-';
    if (m_Min < 0 && (signAllowed || selectionHoldsSign) && !text.empty() && text[0] == L'-')
        digits += L'-';
    for (wchar_t c : text) {
        if (IsDigit(c))
            digits += c;
    }
    return digits;
}

// The longest start of text that fits room characters, counting "\r\n".
std::wstring CNEditText::CutToRoom(const std::wstring& text, int room) const
{
    std::wstring fitting;
    for (wchar_t c : text) {
        int cost = c == L'\n' ? kLineBreakChars : 1;
        if (cost > room)
            break;
        room -= cost;
        fitting += c;
    }
    return fitting;
}

void CNEditText::InsertAdmitted(const std::wstring& text)
{
    std::wstring tail = m_Lines[m_Cursor.line].substr(m_Cursor.column);
    m_Lines[m_Cursor.line].erase(m_Cursor.column);
    Position at = m_Cursor;
    for (wchar_t c : text) {
        if (c == L'\n') {
            m_Lines.insert(m_Lines.begin() + at.line + 1, std::wstring());
            at = Position{at.line + 1, 0};
        } else {
            m_Lines[at.line] += c;
            ++at.column;
        }
    }
    m_Lines[at.line] += tail;
    Place(at, false);
}

void CNEditText::ClampWhileTyping()
{
    long long value = 0;
    if (!ParseNumber(value))
        return;
    if (value > m_Max)
        ShowNumber(m_Max);
    else if (value < m_Min && value < 0)
        ShowNumber(m_Min);
}

bool CNEditText::ShowNumber(long long value)
{
    std::wstring text = std::to_wstring(value);
    bool changed = text != m_Lines[0] || m_Lines.size() != 1;
    m_Lines.assign(1, text);
    Place(Position{0, static_cast<int>(text.size())}, false);
    return changed;
}

bool CNEditText::ParseNumber(long long& value) const
{
    const std::wstring& text = m_Lines[0];
    size_t i = 0;
    bool negative = !text.empty() && text[0] == L'-';
    if (negative)
        i = 1;
    // Leading zeros carry no weight; the digits after them are what counts.
    while (i + 1 < text.size() && text[i] == L'0')
        ++i;
    if (i >= text.size())
        return false;
    if (text.size() - i > kMaxNumberDigits) {
        value = negative ? -1000000000000000000LL : 1000000000000000000LL;
        return true;
    }
    long long number = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i]))
            return false;
        number = number * 10 + (text[i] - L'0');
    }
    value = negative ? -number : number;
    return true;
}

} // namespace pelidore
