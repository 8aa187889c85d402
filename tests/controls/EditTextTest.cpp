#include "CNEditText.h"

#include <gtest/gtest.h>

#include <string>

namespace pelidore {

namespace {

using Position = CNEditText::Position;

CNEditText Typed(const std::wstring& text)
{
    CNEditText edit;
    edit.Insert(text);
    return edit;
}

TEST(EditText, TypingInsertsAtTheCursorAndReplacesTheSelection)
{
    CNEditText edit = Typed(L"helo");
    edit.MoveLeft(false);
    EXPECT_TRUE(edit.Insert(L"l"));
    EXPECT_EQ(edit.Text(), L"hello");
    EXPECT_EQ(edit.Cursor(), (Position{0, 4}));
    edit.MoveHome(false);
    edit.MoveRight(true);
    edit.MoveRight(true);
    EXPECT_EQ(edit.SelectedText(), L"he");
    edit.Insert(L"J");
    EXPECT_EQ(edit.Text(), L"Jllo");
    EXPECT_FALSE(edit.HasSelection());
}

TEST(EditText, BackspaceAndDeleteAtBothEnds)
{
    CNEditText edit = Typed(L"abc");
    EXPECT_FALSE(edit.Delete());
    EXPECT_TRUE(edit.Backspace());
    EXPECT_EQ(edit.Text(), L"ab");
    edit.MoveHome(false);
    EXPECT_FALSE(edit.Backspace());
    EXPECT_TRUE(edit.Delete());
    EXPECT_EQ(edit.Text(), L"b");
    edit.SelectAll();
    EXPECT_TRUE(edit.Backspace());
    EXPECT_TRUE(edit.IsEmpty());
    EXPECT_FALSE(edit.Backspace());
}

TEST(EditText, ArrowsCollapseASelectionToItsNearEnd)
{
    CNEditText edit = Typed(L"abcdef");
    edit.MoveTo(Position{0, 2}, false);
    edit.MoveTo(Position{0, 5}, true);
    edit.MoveLeft(false);
    EXPECT_EQ(edit.Cursor(), (Position{0, 2}));
    edit.MoveTo(Position{0, 5}, true);
    edit.MoveRight(false);
    EXPECT_EQ(edit.Cursor(), (Position{0, 5}));
    edit.MoveEnd(false);
    edit.MoveRight(false);
    EXPECT_EQ(edit.Cursor(), (Position{0, 6}));
    edit.MoveTo(Position{3, 99}, false);
    EXPECT_EQ(edit.Cursor(), (Position{0, 6}));
}

TEST(EditText, SingleLineStopsAtTheFirstLineBreakAndDropsControlCharacters)
{
    CNEditText edit = Typed(L"one\ttwo\x01\r\nthree");
    EXPECT_EQ(edit.Text(), L"onetwo");
    EXPECT_FALSE(edit.Insert(L"\nmore"));
    EXPECT_EQ(edit.Text(), L"onetwo");
}

TEST(EditText, MultiLineKeepsLinesAndMovesBetweenThem)
{
    CNEditText edit;
    edit.SetMultiline(true);
    edit.Insert(L"first\r\nsecond line\rthird");
    ASSERT_EQ(edit.Lines().size(), 3u);
    EXPECT_EQ(edit.Text(), L"first\r\nsecond line\r\nthird");
    EXPECT_EQ(edit.Length(), 5 + 2 + 11 + 2 + 5);
    edit.MoveUp(false);
    EXPECT_EQ(edit.Cursor(), (Position{1, 5}));
    edit.MoveUp(false);
    edit.MoveUp(false);
    EXPECT_EQ(edit.Cursor(), (Position{0, 0}));
    edit.MoveEnd(false);
    edit.MoveRight(true);
    EXPECT_EQ(edit.SelectedText(), L"\r\n");
    EXPECT_TRUE(edit.Delete());
    EXPECT_EQ(edit.Text(), L"firstsecond line\r\nthird");
    edit.MoveHome(false);
    EXPECT_FALSE(edit.Backspace());
    edit.MoveDown(false);
    edit.MoveHome(false);
    EXPECT_TRUE(edit.Backspace());
    EXPECT_EQ(edit.Text(), L"firstsecond linethird");
}

TEST(EditText, LimitCountsLineBreaksAsTwoCharacters)
{
    CNEditText edit;
    edit.Insert(std::wstring(300, L'x'));
    EXPECT_EQ(edit.Length(), CNEditText::kMaxChars);
    EXPECT_FALSE(edit.Insert(L"y"));
    edit.SelectAll();
    EXPECT_TRUE(edit.Insert(L"z"));
    EXPECT_EQ(edit.Text(), L"z");

    CNEditText lines;
    lines.SetMultiline(true);
    lines.Insert(std::wstring(CNEditText::kMaxChars - 1, L'a'));
    // A line break needs two places; only one is left.
    EXPECT_FALSE(lines.Insert(L"\n"));
    EXPECT_TRUE(lines.Insert(L"b"));
    EXPECT_LE(static_cast<int>(lines.Text().size()), CNEditText::kMaxChars);
}

TEST(EditText, SetTextCutsToTheLimitAndPlacesTheCursorAtTheEnd)
{
    CNEditText edit;
    EXPECT_TRUE(edit.SetText(std::wstring(400, L'q')));
    EXPECT_EQ(edit.Length(), CNEditText::kMaxChars);
    EXPECT_EQ(edit.Cursor(), (Position{0, CNEditText::kMaxChars}));
    EXPECT_FALSE(edit.SetText(std::wstring(400, L'q')));
    EXPECT_TRUE(edit.SetText(L""));
    EXPECT_TRUE(edit.IsEmpty());
}

TEST(EditText, NumericAdmitsDigitsOnly)
{
    CNEditText edit;
    edit.SetNumeric(0, 999);
    EXPECT_EQ(edit.Text(), L"0");
    edit.SetText(L"");
    EXPECT_TRUE(edit.Insert(L"1a2-b3"));
    EXPECT_EQ(edit.Text(), L"123");
    EXPECT_FALSE(edit.Insert(L"x"));
    EXPECT_FALSE(edit.Insert(L"-"));
    EXPECT_EQ(edit.Value(), 123.0);
}

TEST(EditText, NumericValueAboveTheMaximumIsClampedWhileTyping)
{
    CNEditText edit;
    edit.SetNumeric(1, 60);
    edit.SetText(L"");
    edit.Insert(L"7");
    EXPECT_EQ(edit.Text(), L"7");
    edit.Insert(L"5");
    EXPECT_EQ(edit.Text(), L"60");
    EXPECT_EQ(edit.Value(), 60.0);
}

// Below the minimum a number may still be on its way: 2 then 5 is 25 in 10..99.
TEST(EditText, NumericValueBelowTheMinimumWaitsForCommit)
{
    CNEditText edit;
    edit.SetNumeric(10, 99);
    edit.SetText(L"");
    edit.Insert(L"2");
    EXPECT_EQ(edit.Text(), L"2");
    EXPECT_EQ(edit.Value(), 10.0);
    edit.Insert(L"5");
    EXPECT_EQ(edit.Text(), L"25");
    edit.SelectAll();
    edit.Insert(L"3");
    EXPECT_TRUE(edit.Commit());
    EXPECT_EQ(edit.Text(), L"10");
    edit.SelectAll();
    edit.Backspace();
    EXPECT_TRUE(edit.Commit());
    EXPECT_EQ(edit.Text(), L"10");
    EXPECT_FALSE(edit.Commit());
}

TEST(EditText, NumericLeadingZerosAndHugeNumbers)
{
    CNEditText edit;
    edit.SetNumeric(0, 99);
    edit.SetText(L"");
    edit.Insert(L"007");
    EXPECT_EQ(edit.Value(), 7.0);
    EXPECT_TRUE(edit.Commit());
    EXPECT_EQ(edit.Text(), L"7");
    edit.SetText(L"123456789012345678901234567890");
    EXPECT_EQ(edit.Text(), L"99");
}

TEST(EditText, NumericNegativeRange)
{
    CNEditText edit;
    edit.SetNumeric(-50, 50);
    edit.SetText(L"");
    EXPECT_TRUE(edit.Insert(L"-"));
    EXPECT_EQ(edit.Value(), -50.0);
    edit.Insert(L"7");
    EXPECT_EQ(edit.Text(), L"-7");
    edit.Insert(L"7");
    EXPECT_EQ(edit.Text(), L"-50");
    edit.MoveHome(false);
    EXPECT_FALSE(edit.Insert(L"-"));
}

TEST(EditText, SettingTheRangeClampsWhatIsThere)
{
    CNEditText edit = Typed(L"250");
    edit.SetNumeric(0, 99);
    EXPECT_EQ(edit.Text(), L"99");
    edit.SetNumeric(5.5, 3.2);
    EXPECT_EQ(edit.Minimum(), 6);
    EXPECT_EQ(edit.Maximum(), 6);
    EXPECT_EQ(edit.Text(), L"6");
    edit.SetNumeric(0, 99);
    EXPECT_TRUE(edit.SetValue(-3));
    EXPECT_EQ(edit.Text(), L"0");
    EXPECT_TRUE(edit.SetValue(42.9));
    EXPECT_EQ(edit.Text(), L"42");
}

TEST(EditText, SwitchingToSingleLineCutsTheText)
{
    CNEditText edit;
    edit.SetMultiline(true);
    edit.Insert(L"a\nb");
    edit.SetMultiline(false);
    EXPECT_EQ(edit.Text(), L"a");
    EXPECT_EQ(edit.Cursor(), (Position{0, 1}));
}

} // namespace

} // namespace pelidore
