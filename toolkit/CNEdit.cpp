#include "CNEdit.h"

#include "CNCreationResult.h"
#include "CNEditPainter.h"
#include "CNLog.h"
#include "CNScreen.h"
#include "CNTheme.h"
#include "NControlMessages.h"

#include <cstring>
#include <cwchar>

namespace pelidore {

namespace {

constexpr BYTE kDisabledTextAlpha = 150;
constexpr float kCaretWidth = 1.0f;
// How far past the caret the text scrolls when the caret reaches an edge.
constexpr float kScrollLead = 24.0f;

bool KeyHeld(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

} // namespace

CNEdit::CNEdit() : m_SelectionColor(CNTheme::Selection()), m_CaretColor(CNTheme::Caret()) {}

CNEdit::~CNEdit()
{
    if (m_CaretTimer && m_Owner)
        KillTimer(m_Owner, CaretTimerId());
    RestoreInputContext();
    if (m_InputContext)
        ImmDestroyContext(m_InputContext);
}

void CNEdit::SetText(const wchar_t* text)
{
    m_Model.SetText(text ? text : L"");
    m_ScrollX = 0.0f;
    m_TopLine = 0;
    SyncTextBuffer();
}

int CNEdit::GetText(wchar_t* buffer, int capacity) const
{
    if (!buffer || capacity <= 0)
        return 0;
    size_t length = wcslen(m_Text);
    if (length > static_cast<size_t>(capacity - 1))
        length = static_cast<size_t>(capacity - 1);
    std::memcpy(buffer, m_Text, length * sizeof(wchar_t));
    buffer[length] = L'\0';
    return static_cast<int>(length);
}

void CNEdit::SetNumeric(double minimum, double maximum)
{
    m_Model.SetNumeric(minimum, maximum);
    SyncTextBuffer();
}

void CNEdit::SetValue(double value)
{
    m_Model.SetValue(value);
    SyncTextBuffer();
}

void CNEdit::SetMultiline(bool multiline)
{
    m_Model.SetMultiline(multiline);
    SyncTextBuffer();
}

POINT CNEdit::GetCaretPoint()
{
    POINT point{m_X + kPadding, m_Y};
    if (!m_Screen)
        return point;
    CNEditPainter painter(m_Screen->MemoryDC(), m_Style.Font(), m_Screen->Scale());
    if (!painter.IsReady())
        return point;
    CNEditText::Position cursor = m_Model.Cursor();
    point.x = static_cast<LONG>(ColumnX(painter, cursor.line, cursor.column));
    point.y = static_cast<LONG>(LineTop(painter, cursor.line));
    return point;
}

bool CNEdit::PlaceInputMethodWindows()
{
    if (!m_InputContext || !m_Screen)
        return false;
    // The input method works in the owner's pixels.
    const CNScale& scale = m_Screen->Scale();
    POINT caret = GetCaretPoint();
    CNEditPainter painter(m_Screen->MemoryDC(), m_Style.Font(), scale);
    LONG lineHeight = painter.IsReady() ? static_cast<LONG>(painter.LineHeight() + 0.5f) : m_Height;
    COMPOSITIONFORM composition = {};
    composition.dwStyle = CFS_POINT;
    composition.ptCurrentPos =
        POINT{scale.ToPixels(static_cast<int>(caret.x)), scale.ToPixels(static_cast<int>(caret.y))};
    CANDIDATEFORM candidate = {};
    candidate.dwIndex = 0;
    candidate.dwStyle = CFS_CANDIDATEPOS;
    candidate.ptCurrentPos = POINT{composition.ptCurrentPos.x, scale.ToPixels(static_cast<int>(caret.y + lineHeight))};
    bool placed = ImmSetCompositionWindow(m_InputContext, &composition) != FALSE;
    placed = ImmSetCandidateWindow(m_InputContext, &candidate) != FALSE && placed;
    LOGFONTW description = {};
    const CNFont& font = m_Style.Font();
    if (font.Handle() && GetObjectW(font.Handle(), sizeof(description), &description) == sizeof(description)) {
        description.lfHeight = scale.ToPixels(static_cast<int>(description.lfHeight));
        ImmSetCompositionFontW(m_InputContext, &description);
    }
    return placed;
}

void CNEdit::OnDraw()
{
    if (!m_Screen)
        return;
    DrawFrame();
    CNEditPainter painter(m_Screen->MemoryDC(), m_Style.Font(), m_Screen->Scale());
    if (!painter.IsReady())
        return;
    if (m_Focused && m_Model.HasSelection())
        DrawSelection(painter);
    DrawLines(painter);
    if (m_CaretShown)
        DrawCaret(painter);
}

HRESULT CNEdit::OnCreate()
{
    m_Model.SetText(m_Text);
    m_ScrollX = 0.0f;
    m_TopLine = 0;
    m_CaretShown = false;
    m_CaretTimer = false;
    m_MouseSelecting = false;
    if (!m_InputContext) {
        m_InputContext = ImmCreateContext();
        if (!m_InputContext)
            NLOG("CNEdit::OnCreate", CNLog::kLevelRefused, "ImmCreateContext fail, error %lu", GetLastError());
    }
    CNCreationResult result;
    result.Add(AddMessageFunc(WM_LBUTTONDOWN, &CNEdit::OnLButtonDown));
    result.Add(AddMessageFunc(WM_LBUTTONDBLCLK, &CNEdit::OnLButtonDblClk));
    result.Add(AddMessageFunc(WM_MOUSEMOVE, &CNEdit::OnMouseMove));
    result.Add(AddMessageFunc(WM_LBUTTONUP, &CNEdit::OnLButtonUp));
    result.Add(AddMessageFunc(WM_CAPTURECHANGED, &CNEdit::OnCaptureChanged));
    result.Add(AddMessageFunc(WM_KEYDOWN, &CNEdit::OnKeyDown));
    result.Add(AddMessageFunc(WM_CHAR, &CNEdit::OnChar));
    result.Add(AddMessageFunc(WM_TIMER, &CNEdit::OnTimer));
    result.Add(AddMessageFunc(WM_SETFOCUS, &CNEdit::OnOwnerSetFocus));
    result.Add(AddMessageFunc(WM_KILLFOCUS, &CNEdit::OnOwnerKillFocus));
    result.Add(AddMessageFunc(WM_IME_STARTCOMPOSITION, &CNEdit::OnImeComposition));
    result.Add(AddMessageFunc(WM_IME_COMPOSITION, &CNEdit::OnImeComposition));
    return result.Get();
}

void CNEdit::OnRelease()
{
    SetFocused(false);
    if (m_InputContext) {
        ImmDestroyContext(m_InputContext);
        m_InputContext = nullptr;
    }
    m_Style.Release();
}

void CNEdit::OnFocus(int focused)
{
    if (focused) {
        AssociateInputContext();
        StartCaret();
        PlaceInputMethodWindows();
        Redraw();
        return;
    }
    StopCaret();
    RestoreInputContext();
    m_MouseSelecting = false;
    Commit();
    Redraw();
}

void CNEdit::OnActivate(int active)
{
    CNControlBase::OnActivate(active);
    // A disabled or hidden field only shows its text: no keyboard, no caret.
    if (!active)
        SetFocused(false);
}

LRESULT CNEdit::OnLButtonDown(WPARAM wParam, LPARAM lParam)
{
    if (!HitTestLParam(lParam)) {
        SetFocused(false);
        return 0;
    }
    if (m_Owner && GetFocus() != m_Owner)
        ::SetFocus(m_Owner);
    SetFocused(true);
    m_Model.MoveTo(PositionAt(PointX(lParam), PointY(lParam)), (wParam & MK_SHIFT) != 0);
    m_MouseSelecting = true;
    if (m_Owner)
        SetCapture(m_Owner);
    AfterMove();
    return 0;
}

LRESULT CNEdit::OnLButtonDblClk(WPARAM, LPARAM lParam)
{
    if (!HitTestLParam(lParam))
        return 0;
    SetFocused(true);
    m_Model.SelectAll();
    AfterMove();
    return 0;
}

LRESULT CNEdit::OnMouseMove(WPARAM, LPARAM lParam)
{
    if (!m_MouseSelecting)
        return 0;
    CNEditText::Position before = m_Model.Cursor();
    m_Model.MoveTo(PositionAt(PointX(lParam), PointY(lParam)), true);
    if (m_Model.Cursor() != before)
        AfterMove();
    return 0;
}

LRESULT CNEdit::OnLButtonUp(WPARAM, LPARAM)
{
    if (!m_MouseSelecting)
        return 0;
    m_MouseSelecting = false;
    if (m_Owner && GetCapture() == m_Owner)
        ReleaseCapture();
    return 0;
}

LRESULT CNEdit::OnCaptureChanged(WPARAM, LPARAM)
{
    m_MouseSelecting = false;
    return 0;
}

LRESULT CNEdit::OnKeyDown(WPARAM wParam, LPARAM)
{
    if (!m_Focused)
        return 0;
    if (KeyHeld(VK_CONTROL) && HandleControlKey(wParam))
        return 1;
    if (HandleMovementKey(wParam, KeyHeld(VK_SHIFT)))
        return 1;
    return HandleEditingKey(wParam) ? 1 : 0;
}

LRESULT CNEdit::OnChar(WPARAM wParam, LPARAM)
{
    // Control characters (Backspace, Ctrl+letters, Enter) were handled as keys.
    wchar_t c = static_cast<wchar_t>(wParam);
    if (!m_Focused || c < 0x20 || c == 0x7F)
        return 0;
    AfterEdit(m_Model.Insert(std::wstring(1, c)));
    return 1;
}

LRESULT CNEdit::OnTimer(WPARAM wParam, LPARAM)
{
    if (wParam != CaretTimerId() || !m_CaretTimer)
        return 0;
    m_CaretShown = !m_CaretShown;
    Redraw();
    return 1;
}

LRESULT CNEdit::OnOwnerSetFocus(WPARAM, LPARAM)
{
    if (m_Focused && !m_CaretTimer) {
        StartCaret();
        Redraw();
    }
    return 0;
}

LRESULT CNEdit::OnOwnerKillFocus(WPARAM, LPARAM)
{
    if (m_CaretTimer) {
        StopCaret();
        Redraw();
    }
    return 0;
}

// Only placement: the input method's result comes back through the window's
// default handling as WM_CHAR, which types it.
LRESULT CNEdit::OnImeComposition(WPARAM, LPARAM)
{
    if (m_Focused)
        PlaceInputMethodWindows();
    return 0;
}

bool CNEdit::HandleMovementKey(WPARAM key, bool shift)
{
    switch (key) {
    case VK_LEFT:
        m_Model.MoveLeft(shift);
        break;
    case VK_RIGHT:
        m_Model.MoveRight(shift);
        break;
    case VK_UP:
        m_Model.MoveUp(shift);
        break;
    case VK_DOWN:
        m_Model.MoveDown(shift);
        break;
    case VK_HOME:
        m_Model.MoveHome(shift);
        break;
    case VK_END:
        m_Model.MoveEnd(shift);
        break;
    default:
        return false;
    }
    AfterMove();
    return true;
}

bool CNEdit::HandleControlKey(WPARAM key)
{
    switch (key) {
    case 'A':
        m_Model.SelectAll();
        AfterMove();
        return true;
    case 'C':
        Copy();
        return true;
    case 'X':
        Cut();
        return true;
    case 'V':
        Paste();
        return true;
    default:
        return false;
    }
}

bool CNEdit::HandleEditingKey(WPARAM key)
{
    switch (key) {
    case VK_DELETE:
        AfterEdit(m_Model.Delete());
        return true;
    case VK_BACK:
        AfterEdit(m_Model.Backspace());
        return true;
    case VK_RETURN:
        if (m_Model.IsMultiline()) {
            AfterEdit(m_Model.Insert(L"\n"));
        } else {
            Commit();
            Notify(NWM_EDIT_RETURN);
        }
        return true;
    default:
        return false;
    }
}

void CNEdit::Copy()
{
    if (!m_Model.HasSelection())
        return;
    std::wstring text = m_Model.SelectedText();
    if (!OpenClipboard(m_Owner)) {
        NLOG("CNEdit::Copy", CNLog::kLevelRefused, "OpenClipboard fail, error %lu", GetLastError());
        return;
    }
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = EmptyClipboard() ? GlobalAlloc(GMEM_MOVEABLE, bytes) : nullptr;
    void* target = memory ? GlobalLock(memory) : nullptr;
    if (target) {
        std::memcpy(target, text.c_str(), bytes);
        GlobalUnlock(memory);
        if (SetClipboardData(CF_UNICODETEXT, memory))
            memory = nullptr; // the clipboard owns it now
    }
    if (memory) {
        NLOG("CNEdit::Copy", CNLog::kLevelRefused, "cannot put text on the clipboard, error %lu", GetLastError());
        GlobalFree(memory);
    }
    CloseClipboard();
}

void CNEdit::Paste()
{
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT))
        return;
    if (!OpenClipboard(m_Owner)) {
        NLOG("CNEdit::Paste", CNLog::kLevelRefused, "OpenClipboard fail, error %lu", GetLastError());
        return;
    }
    std::wstring text;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const wchar_t* source = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (source) {
        // The block may lack its terminator: read no further than its size.
        size_t most = GlobalSize(data) / sizeof(wchar_t);
        size_t length = 0;
        while (length < most && source[length] != L'\0')
            ++length;
        text.assign(source, length);
        GlobalUnlock(data);
    }
    CloseClipboard();
    AfterEdit(m_Model.Insert(text));
}

void CNEdit::Cut()
{
    if (!m_Model.HasSelection())
        return;
    Copy();
    AfterEdit(m_Model.Delete());
}

void CNEdit::AfterEdit(bool changed)
{
    if (changed)
        SyncTextBuffer();
    AfterMove();
    if (changed)
        Notify(NWM_EDIT_CHANGED);
}

void CNEdit::AfterMove()
{
    KeepCaretVisible();
    RestartBlink();
    PlaceInputMethodWindows();
    Redraw();
}

void CNEdit::Commit()
{
    if (!m_Model.Commit())
        return;
    SyncTextBuffer();
    KeepCaretVisible();
    Notify(NWM_EDIT_CHANGED);
}

void CNEdit::StartCaret()
{
    m_CaretShown = true;
    if (m_CaretTimer || !m_Owner)
        return;
    if (SetTimer(m_Owner, CaretTimerId(), kCaretBlinkMs, nullptr) == 0) {
        NLOG("CNEdit::StartCaret", CNLog::kLevelRefused, "SetTimer fail, error %lu", GetLastError());
        return;
    }
    m_CaretTimer = true;
}

void CNEdit::StopCaret()
{
    if (m_CaretTimer && m_Owner)
        KillTimer(m_Owner, CaretTimerId());
    m_CaretTimer = false;
    m_CaretShown = false;
}

// Typing and moving show the caret at once and start its blink over.
void CNEdit::RestartBlink()
{
    if (!m_Focused)
        return;
    StopCaret();
    StartCaret();
}

void CNEdit::AssociateInputContext()
{
    if (!m_InputContext || !m_Owner || m_ContextAssociated)
        return;
    m_PreviousContext = ImmAssociateContext(m_Owner, m_InputContext);
    m_ContextAssociated = true;
}

void CNEdit::RestoreInputContext()
{
    if (!m_ContextAssociated)
        return;
    if (m_Owner && IsWindow(m_Owner))
        ImmAssociateContext(m_Owner, m_PreviousContext);
    m_PreviousContext = nullptr;
    m_ContextAssociated = false;
}

RECT CNEdit::InnerRect() const
{
    return RECT{m_X + kPadding, m_Y + 1, m_X + m_Width - kPadding, m_Y + m_Height - 1};
}

float CNEdit::LineTop(CNEditPainter& painter, int line) const
{
    float height = painter.LineHeight();
    if (!m_Model.IsMultiline())
        return m_Y + (m_Height - height) / 2.0f;
    return m_Y + 2.0f + (line - m_TopLine) * height;
}

float CNEdit::AlignOffset(CNEditPainter& painter) const
{
    int align = m_Style.HorizontalAlign();
    if (m_Model.IsMultiline() || align == 0)
        return 0.0f;
    const std::wstring& line = m_Model.Lines()[0];
    float room =
        static_cast<float>(m_Width - 2 * kPadding) - painter.Width(line.c_str(), static_cast<int>(line.size()));
    if (room <= 0.0f)
        return 0.0f;
    return align == 1 ? room / 2.0f : room;
}

float CNEdit::ColumnX(CNEditPainter& painter, int line, int column) const
{
    const std::wstring& text = m_Model.Lines()[static_cast<size_t>(line)];
    return m_X + kPadding + AlignOffset(painter) - m_ScrollX + painter.Width(text.c_str(), column);
}

CNEditText::Position CNEdit::PositionAt(int x, int y)
{
    CNEditText::Position position = m_Model.Cursor();
    if (!m_Screen)
        return position;
    CNEditPainter painter(m_Screen->MemoryDC(), m_Style.Font(), m_Screen->Scale());
    if (!painter.IsReady())
        return position;
    int line = 0;
    if (m_Model.IsMultiline() && painter.LineHeight() > 0.0f)
        line = m_TopLine + static_cast<int>((y - (m_Y + 2.0f)) / painter.LineHeight());
    int lines = static_cast<int>(m_Model.Lines().size());
    line = line < 0 ? 0 : (line >= lines ? lines - 1 : line);
    const std::wstring& text = m_Model.Lines()[static_cast<size_t>(line)];
    // The column whose boundary is nearest to x.
    int column = 0;
    float previous = ColumnX(painter, line, 0);
    for (int next = 1; next <= static_cast<int>(text.size()); ++next) {
        float edge = ColumnX(painter, line, next);
        if (x < (previous + edge) / 2.0f)
            break;
        column = next;
        previous = edge;
    }
    return CNEditText::Position{line, column};
}

void CNEdit::KeepCaretVisible()
{
    if (!m_Screen)
        return;
    CNEditPainter painter(m_Screen->MemoryDC(), m_Style.Font(), m_Screen->Scale());
    if (!painter.IsReady())
        return;
    CNEditText::Position cursor = m_Model.Cursor();
    const std::wstring& text = m_Model.Lines()[static_cast<size_t>(cursor.line)];
    float caret = painter.Width(text.c_str(), cursor.column);
    float room = static_cast<float>(m_Width - 2 * kPadding) - kCaretWidth;
    if (caret - m_ScrollX > room)
        m_ScrollX = caret - room + kScrollLead;
    if (caret - m_ScrollX < 0.0f)
        m_ScrollX = caret > kScrollLead ? caret - kScrollLead : 0.0f;
    float whole = painter.Width(text.c_str(), static_cast<int>(text.size()));
    if (m_ScrollX > 0.0f && whole - m_ScrollX < room)
        m_ScrollX = whole > room ? whole - room : 0.0f;
    if (m_Model.IsMultiline() && painter.LineHeight() > 0.0f) {
        int rows = static_cast<int>((m_Height - 4) / painter.LineHeight());
        rows = rows > 0 ? rows : 1;
        if (cursor.line < m_TopLine)
            m_TopLine = cursor.line;
        if (cursor.line >= m_TopLine + rows)
            m_TopLine = cursor.line - rows + 1;
    }
}

void CNEdit::DrawSelection(CNEditPainter& painter)
{
    CNEditText::Position from = m_Model.SelectionStart();
    CNEditText::Position to = m_Model.SelectionEnd();
    RECT inner = InnerRect();
    for (int line = from.line; line <= to.line; ++line) {
        int start = line == from.line ? from.column : 0;
        int length = static_cast<int>(m_Model.Lines()[static_cast<size_t>(line)].size());
        int end = line == to.line ? to.column : length;
        float left = ColumnX(painter, line, start);
        float right = ColumnX(painter, line, end) + (line == to.line ? 0.0f : 4.0f);
        int x0 = static_cast<int>(left) > inner.left ? static_cast<int>(left) : inner.left;
        int x1 = static_cast<int>(right + 0.5f) < inner.right ? static_cast<int>(right + 0.5f) : inner.right;
        int top = static_cast<int>(LineTop(painter, line));
        FillColor(m_SelectionColor, x0, top, x1 - x0, static_cast<int>(painter.LineHeight() + 0.5f));
    }
}

void CNEdit::DrawLines(CNEditPainter& painter)
{
    CNColor color = m_Enabled ? m_Style.Color() : m_Style.ColorWithAlpha(kDisabledTextAlpha);
    RECT inner = InnerRect();
    const std::vector<std::wstring>& lines = m_Model.Lines();
    for (int line = m_Model.IsMultiline() ? m_TopLine : 0; line < static_cast<int>(lines.size()); ++line) {
        float top = LineTop(painter, line);
        if (top >= inner.bottom)
            break;
        const std::wstring& text = lines[static_cast<size_t>(line)];
        painter.DrawLine(text.c_str(), static_cast<int>(text.size()), ColumnX(painter, line, 0), top, inner, color);
    }
}

void CNEdit::DrawCaret(CNEditPainter& painter)
{
    CNEditText::Position cursor = m_Model.Cursor();
    RECT inner = InnerRect();
    int x = static_cast<int>(ColumnX(painter, cursor.line, cursor.column));
    if (x < inner.left)
        x = inner.left;
    if (x >= inner.right)
        x = inner.right - 1;
    int top = static_cast<int>(LineTop(painter, cursor.line));
    FillColor(m_CaretColor, x, top, static_cast<int>(kCaretWidth), static_cast<int>(painter.LineHeight() + 0.5f));
}

void CNEdit::DrawFrame()
{
    if (m_BorderColor.Alpha() != 0) {
        FillColor(m_BorderColor, m_X, m_Y, m_Width, m_Height);
        FillColor(m_BackColor.Alpha() != 0 ? m_BackColor : CNTheme::FieldBack(), m_X + 1, m_Y + 1, m_Width - 2,
                  m_Height - 2);
        return;
    }
    FillColor(m_BackColor, m_X, m_Y, m_Width, m_Height);
}

void CNEdit::SyncTextBuffer()
{
    std::wstring text = m_Model.Text();
    CNControlBase::SetText(text.c_str());
}

} // namespace pelidore
