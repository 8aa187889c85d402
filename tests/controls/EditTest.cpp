#include "CNEdit.h"
#include "ControlTestWindow.h"
#include "NControlMessages.h"

#include <gtest/gtest.h>

#include <string>

namespace pelidore {

namespace {

// The minutes field of the time lock window: 32, 17, 41 x 20; a wide field
// below it for text.
constexpr int kTextX = 20;
constexpr int kTextY = 60;
constexpr int kTextW = 240;
constexpr int kTextH = 20;

// Holds a key down in this thread's keyboard state, as a real press would,
// so that the field sees Ctrl and Shift with the posted keys.
class HeldKey {
public:
    explicit HeldKey(int key) : m_Key(key) { Set(0x80); }
    ~HeldKey() { Set(0); }

private:
    void Set(BYTE state)
    {
        BYTE keys[256];
        if (GetKeyboardState(keys)) {
            keys[m_Key] = state;
            SetKeyboardState(keys);
        }
    }
    int m_Key;
};

std::wstring ClipboardText(HWND owner)
{
    std::wstring text;
    if (!OpenClipboard(owner))
        return L"<no clipboard>";
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (const wchar_t* chars = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr) {
        text = chars;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

bool PutOnClipboard(HWND owner, const std::wstring& text)
{
    if (!OpenClipboard(owner))
        return false;
    EmptyClipboard();
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool put = false;
    if (void* target = memory ? GlobalLock(memory) : nullptr) {
        memcpy(target, text.c_str(), bytes);
        GlobalUnlock(memory);
        put = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    }
    if (!put && memory)
        GlobalFree(memory);
    CloseClipboard();
    return put;
}

class EditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_Window.Open(300, 120), 0);
        ASSERT_EQ(m_Minutes.Create(m_Window.GetHwnd(), m_Window.GetScreen(), 0, 32, 17, 41, 20, 1), 0);
        ASSERT_EQ(m_Text.Create(m_Window.GetHwnd(), m_Window.GetScreen(), 1, kTextX, kTextY, kTextW, kTextH, 1), 0);
        ASSERT_EQ(m_Window.AddChild(&m_Minutes), 0);
        ASSERT_EQ(m_Window.AddChild(&m_Text), 0);
        SetForegroundWindow(m_Window.GetHwnd());
        SetFocus(m_Window.GetHwnd());
    }
    void TearDown() override { m_Window.ReleaseChildren(); }

    void FocusText() { m_Window.Click(kTextX + kTextW - 5, kTextY + 10); }

    ControlTestWindow m_Window;
    CNEdit m_Minutes;
    CNEdit m_Text;
};

TEST_F(EditTest, AClickGivesTheKeyboardAndAClickElsewhereTakesIt)
{
    FocusText();
    EXPECT_TRUE(m_Text.IsFocused());
    EXPECT_TRUE(m_Text.IsCaretShown());
    m_Window.Click(50, 27);
    EXPECT_FALSE(m_Text.IsFocused());
    EXPECT_FALSE(m_Text.IsCaretShown());
    EXPECT_TRUE(m_Minutes.IsFocused());
    m_Window.Type(L"42");
    EXPECT_STREQ(m_Minutes.GetText(), L"42");
    EXPECT_STREQ(m_Text.GetText(), L"");
}

TEST_F(EditTest, TheCaretBlinksOnAHalfSecondTimerOnlyWhileFocused)
{
    FocusText();
    int changes = 0;
    bool last = m_Text.IsCaretShown();
    for (int i = 0; i < 24; ++i) {
        m_Window.PumpFor(50);
        if (m_Text.IsCaretShown() != last)
            ++changes;
        last = m_Text.IsCaretShown();
    }
    // About 1.2 s: two blinks (a slow machine may see one or three).
    EXPECT_GE(changes, 1);
    EXPECT_LE(changes, 4);
    m_Window.Click(280, 110);
    m_Window.PumpFor(700);
    EXPECT_FALSE(m_Text.IsCaretShown());
}

TEST_F(EditTest, TypingAndTheEditingKeys)
{
    FocusText();
    m_Window.Type(L"hello");
    m_Window.Key(VK_LEFT);
    m_Window.Key(VK_LEFT);
    m_Window.Char(L'X');
    EXPECT_STREQ(m_Text.GetText(), L"helXlo");
    m_Window.Key(VK_HOME);
    m_Window.Key(VK_DELETE);
    EXPECT_STREQ(m_Text.GetText(), L"elXlo");
    m_Window.Key(VK_END);
    m_Window.Key(VK_BACK);
    EXPECT_STREQ(m_Text.GetText(), L"elXl");
    m_Window.Key(VK_RIGHT);
    m_Window.Key(VK_DELETE);
    EXPECT_STREQ(m_Text.GetText(), L"elXl");
    // Control characters come as keys, not as text.
    m_Window.Char(L'\b');
    m_Window.Char(L'\x01');
    EXPECT_STREQ(m_Text.GetText(), L"elXl");
    EXPECT_EQ(m_Window.Count(NWM_EDIT_CHANGED), 5 + 1 + 1 + 1);
}

TEST_F(EditTest, ShiftSelectsAndTypingReplacesTheSelection)
{
    FocusText();
    m_Window.Type(L"abcdef");
    {
        HeldKey shift(VK_SHIFT);
        m_Window.Key(VK_LEFT);
        m_Window.Key(VK_LEFT);
    }
    EXPECT_EQ(m_Text.GetModel().SelectedText(), L"ef");
    m_Window.Char(L'Z');
    EXPECT_STREQ(m_Text.GetText(), L"abcdZ");
    {
        HeldKey shift(VK_SHIFT);
        m_Window.Key(VK_HOME);
    }
    m_Window.Key(VK_BACK);
    EXPECT_STREQ(m_Text.GetText(), L"");
}

TEST_F(EditTest, ClipboardRoundTripWithCtrlKeys)
{
    FocusText();
    m_Window.Type(L"Pelidore \x00e9t\x00e9");
    {
        HeldKey control(VK_CONTROL);
        m_Window.Key('A');
        m_Window.Key('C');
    }
    EXPECT_EQ(ClipboardText(m_Window.GetHwnd()), L"Pelidore \x00e9t\x00e9");
    m_Window.Key(VK_END);
    {
        HeldKey control(VK_CONTROL);
        m_Window.Key('V');
    }
    EXPECT_STREQ(m_Text.GetText(), L"Pelidore \x00e9t\x00e9Pelidore \x00e9t\x00e9");
    {
        HeldKey control(VK_CONTROL);
        m_Window.Key('A');
        m_Window.Key('X');
    }
    EXPECT_STREQ(m_Text.GetText(), L"");
    EXPECT_EQ(ClipboardText(m_Window.GetHwnd()), L"Pelidore \x00e9t\x00e9Pelidore \x00e9t\x00e9");
}

TEST_F(EditTest, PasteIntoASingleLineFieldStopsAtTheLineBreak)
{
    ASSERT_TRUE(PutOnClipboard(m_Window.GetHwnd(), L"C:\\work\\folder\r\nsecond line"));
    FocusText();
    HeldKey control(VK_CONTROL);
    m_Window.Key('V');
    EXPECT_STREQ(m_Text.GetText(), L"C:\\work\\folder");
}

TEST_F(EditTest, TheTextStopsAtTheLimit)
{
    FocusText();
    ASSERT_TRUE(PutOnClipboard(m_Window.GetHwnd(), std::wstring(400, L'w')));
    {
        HeldKey control(VK_CONTROL);
        m_Window.Key('V');
    }
    EXPECT_EQ(m_Text.GetString().size(), static_cast<size_t>(CNEditText::kMaxChars));
    m_Window.Char(L'x');
    EXPECT_EQ(m_Text.GetString().size(), static_cast<size_t>(CNEditText::kMaxChars));
    wchar_t small[8];
    EXPECT_EQ(m_Text.GetText(small, 8), 7);
    EXPECT_STREQ(small, L"wwwwwww");
    m_Text.SetText(std::wstring(300, L'y').c_str());
    EXPECT_EQ(wcslen(m_Text.GetText()), static_cast<size_t>(CNEditText::kMaxChars));
}

TEST_F(EditTest, NumericFieldClampsTypedValues)
{
    m_Minutes.SetNumeric(1, 60);
    m_Minutes.SetText(L"5");
    m_Window.Click(70, 27);
    m_Window.Key(VK_END);
    m_Window.Char(L'9');
    EXPECT_STREQ(m_Minutes.GetText(), L"59");
    m_Window.Char(L'9');
    EXPECT_STREQ(m_Minutes.GetText(), L"60");
    m_Window.Char(L'a');
    m_Window.Char(L'-');
    EXPECT_STREQ(m_Minutes.GetText(), L"60");
    m_Window.Key(VK_BACK);
    m_Window.Key(VK_BACK);
    EXPECT_STREQ(m_Minutes.GetText(), L"");
    EXPECT_EQ(m_Minutes.GetValue(), 1.0);
    // Leaving the field puts the clamped value in.
    FocusText();
    EXPECT_STREQ(m_Minutes.GetText(), L"1");
    m_Minutes.SetText(L"75");
    EXPECT_STREQ(m_Minutes.GetText(), L"60");
    m_Minutes.SetValue(0);
    EXPECT_EQ(m_Minutes.GetValue(), 1.0);
}

TEST_F(EditTest, EnterReportsAndCommits)
{
    m_Minutes.SetNumeric(10, 99);
    m_Window.Click(70, 27);
    m_Window.Key(VK_BACK);
    m_Window.Key(VK_BACK);
    m_Window.Char(L'3');
    m_Window.Key(VK_RETURN);
    EXPECT_STREQ(m_Minutes.GetText(), L"10");
    EXPECT_EQ(m_Window.Params(NWM_EDIT_RETURN), std::vector<WPARAM>{0});
}

TEST_F(EditTest, ADisabledFieldOnlyShowsItsText)
{
    m_Text.SetText(L"C:\\users\\me\\Documents\\Pelidore");
    m_Text.Enable(false);
    FocusText();
    m_Window.Type(L"zz");
    m_Window.Key(VK_BACK);
    EXPECT_FALSE(m_Text.IsFocused());
    EXPECT_STREQ(m_Text.GetText(), L"C:\\users\\me\\Documents\\Pelidore");
    EXPECT_TRUE(m_Window.Notices().empty());
}

TEST_F(EditTest, DisablingAFocusedFieldTakesItsKeyboardAway)
{
    FocusText();
    m_Text.Enable(false);
    EXPECT_FALSE(m_Text.IsFocused());
    EXPECT_FALSE(m_Text.IsCaretShown());
}

TEST_F(EditTest, ClicksPlaceTheCursorAndTheCaretFollowsIt)
{
    m_Text.SetText(L"some words here");
    FocusText();
    EXPECT_EQ(m_Text.GetModel().Cursor().column, 15);
    POINT end = m_Text.GetCaretPoint();
    m_Window.Click(kTextX + 2, kTextY + 10);
    EXPECT_EQ(m_Text.GetModel().Cursor().column, 0);
    POINT start = m_Text.GetCaretPoint();
    EXPECT_LT(start.x, end.x);
    EXPECT_EQ(start.x, kTextX + CNEdit::kPadding);
    EXPECT_GT(start.y, kTextY);
    EXPECT_LT(start.y, kTextY + kTextH);
    m_Window.Key(VK_RIGHT);
    EXPECT_GT(m_Text.GetCaretPoint().x, start.x);
}

TEST_F(EditTest, ALongTextScrollsToKeepTheCaretInside)
{
    FocusText();
    for (int i = 0; i < 60; ++i)
        m_Window.Char(L'M');
    POINT caret = m_Text.GetCaretPoint();
    EXPECT_LT(caret.x, kTextX + kTextW);
    EXPECT_GT(caret.x, kTextX + kTextW / 2);
    m_Window.Key(VK_HOME);
    EXPECT_EQ(m_Text.GetCaretPoint().x, kTextX + CNEdit::kPadding);
}

TEST_F(EditTest, OwnInputContextAtTheCaretWhileFocused)
{
    ASSERT_NE(m_Text.GetInputContext(), nullptr);
    EXPECT_NE(m_Text.GetInputContext(), m_Minutes.GetInputContext());
    HIMC before = ImmGetContext(m_Window.GetHwnd());
    if (before)
        ImmReleaseContext(m_Window.GetHwnd(), before);
    FocusText();
    m_Window.Type(L"abc");
    HIMC now = ImmGetContext(m_Window.GetHwnd());
    EXPECT_EQ(now, m_Text.GetInputContext());
    if (now)
        ImmReleaseContext(m_Window.GetHwnd(), now);
    COMPOSITIONFORM composition = {};
    ASSERT_TRUE(ImmGetCompositionWindow(m_Text.GetInputContext(), &composition));
    POINT caret = m_Text.GetCaretPoint();
    EXPECT_EQ(composition.dwStyle, static_cast<DWORD>(CFS_POINT));
    EXPECT_EQ(composition.ptCurrentPos.x, caret.x);
    EXPECT_EQ(composition.ptCurrentPos.y, caret.y);
    CANDIDATEFORM candidate = {};
    ASSERT_TRUE(ImmGetCandidateWindow(m_Text.GetInputContext(), 0, &candidate));
    EXPECT_EQ(candidate.ptCurrentPos.x, caret.x);
    EXPECT_GT(candidate.ptCurrentPos.y, caret.y);
    m_Window.Click(280, 110);
    now = ImmGetContext(m_Window.GetHwnd());
    EXPECT_EQ(now, before);
    if (now)
        ImmReleaseContext(m_Window.GetHwnd(), now);
}

TEST_F(EditTest, CompositionMessagesTypeNothingThemselves)
{
    FocusText();
    m_Window.Post(WM_IME_STARTCOMPOSITION, 0, 0);
    m_Window.Post(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
    m_Window.Post(WM_IME_ENDCOMPOSITION, 0, 0);
    EXPECT_STREQ(m_Text.GetText(), L"");
    m_Window.Char(0x65E5);
    EXPECT_STREQ(m_Text.GetText(), L"\x65E5");
}

TEST_F(EditTest, DoubleClickSelectsEverything)
{
    m_Text.SetText(L"two words");
    m_Window.Post(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(kTextX + 30, kTextY + 10));
    EXPECT_EQ(m_Text.GetModel().SelectedText(), L"two words");
}

TEST_F(EditTest, MultiLineFieldTakesEnterAsALineBreak)
{
    m_Text.SetMultiline(true);
    FocusText();
    m_Window.Type(L"one");
    m_Window.Key(VK_RETURN);
    m_Window.Type(L"two");
    EXPECT_STREQ(m_Text.GetText(), L"one\r\ntwo");
    m_Window.Key(VK_UP);
    EXPECT_EQ(m_Text.GetModel().Cursor().line, 0);
    EXPECT_EQ(m_Window.Count(NWM_EDIT_RETURN), 0);
}

} // namespace

} // namespace pelidore
