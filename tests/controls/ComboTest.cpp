#include "CNCombo.h"
#include "CNScreen.h"
#include "CNStaticControl.h"
#include "ControlPixels.h"
#include "ControlTestWindow.h"
#include "NControlMessages.h"
#include "ResourceIds.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pelidore {

namespace {

using Messages = std::vector<UINT>;

// The quality list of the setup window: 70, 150, 145 x 20, entries 125 x 15.
constexpr int kX = 70;
constexpr int kY = 150;
constexpr int kW = 145;
constexpr int kH = 20;
constexpr int kRow = 15;
constexpr int kBoxX = kX + 40;
constexpr int kBoxY = kY + 10;
const wchar_t* const kQualities[] = {L"High Speed", L"Low Quality", L"Medium Quality", L"High Quality"};

class ComboTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(m_Window.Open(377, 252), 0); }
    void TearDown() override
    {
        m_Window.ReleaseChildren();
        if (GetCapture() == m_Window.GetHwnd())
            ReleaseCapture();
    }

    void MakeCombo(int x, int y, int entries = 0)
    {
        ASSERT_EQ(m_Combo.Create(m_Window.GetHwnd(), m_Window.GetScreen(), 7, x, y, kW, kH, 1), 0);
        ASSERT_EQ(m_Combo.SetImages(IDB_COMBO, IDB_COMBO_OPEN, IDB_COMBO_HOVER), 0);
        ASSERT_EQ(m_Combo.SetDropButton(x + 130, y + 4, 13, 10, IDB_DROP_ARROW, IDB_DROP_ARROW_PRESSED), 0);
        m_Combo.SetItemSize(125, kRow);
        if (entries == 0) {
            for (const wchar_t* quality : kQualities)
                m_Combo.AddItem(quality);
        }
        for (int i = 0; i < entries; ++i)
            m_Combo.AddItem((L"Family " + std::to_wstring(i)).c_str());
        m_Combo.SetSelection(0);
        ASSERT_EQ(m_Window.AddChild(&m_Combo), 0);
        m_Window.GetScreen()->FillRect(30, 31, 35, 255, 0, 0, 377, 252);
        m_Window.Draw();
    }
    // The middle of a visible row of the open list.
    POINT RowPoint(int row) const
    {
        const CNRect& list = m_Combo.GetListRect();
        return POINT{list.x + 30, list.y + 1 + row * kRow + kRow / 2};
    }
    void ClickRow(int row)
    {
        POINT point = RowPoint(row);
        m_Window.Click(point.x, point.y);
    }
    std::vector<WPARAM> DropDowns() const { return m_Window.Params(NWM_COMBO_DROPDOWN); }

    ControlTestWindow m_Window;
    CNCombo m_Combo;
    CNStaticControl m_Cover;
};

TEST_F(ComboTest, ClickOnTheBoxOpensTheListBelowAndHoldsTheMouse)
{
    MakeCombo(kX, kY);
    m_Window.Click(kBoxX, kBoxY);
    ASSERT_TRUE(m_Combo.IsOpen());
    EXPECT_EQ(DropDowns(), std::vector<WPARAM>{1});
    EXPECT_EQ(m_Window.Notices()[0].lParam, reinterpret_cast<LPARAM>(&m_Combo));
    EXPECT_EQ(GetCapture(), m_Window.GetHwnd());
    EXPECT_EQ(m_Combo.GetListRect(), (CNRect{kX, kY + kH + 1, kW, 4 * kRow + 2}));
}

TEST_F(ComboTest, ClickOnAnEntrySelectsItAndCloses)
{
    MakeCombo(kX, kY);
    m_Window.Click(kBoxX, kBoxY);
    ClickRow(3);
    EXPECT_FALSE(m_Combo.IsOpen());
    EXPECT_EQ(m_Combo.GetSelection(), 3);
    EXPECT_TRUE(m_Combo.IsItemSelected(3));
    EXPECT_STREQ(m_Combo.GetText(), L"High Quality");
    EXPECT_EQ(m_Window.Messages(), (Messages{NWM_COMBO_DROPDOWN, NWM_COMBO_SELECTED, NWM_COMBO_DROPDOWN}));
    EXPECT_EQ(DropDowns(), (std::vector<WPARAM>{1, 0}));
    EXPECT_NE(GetCapture(), m_Window.GetHwnd());
}

TEST_F(ComboTest, ChoosingTheSelectedEntryAgainReportsNoChange)
{
    MakeCombo(kX, kY);
    m_Window.Click(kBoxX, kBoxY);
    ClickRow(0);
    EXPECT_FALSE(m_Combo.IsOpen());
    EXPECT_EQ(m_Window.Count(NWM_COMBO_SELECTED), 0);
}

TEST_F(ComboTest, ClickElsewhereOrOnTheBoxClosesWithoutChoosing)
{
    MakeCombo(kX, kY);
    m_Window.Click(kBoxX, kBoxY);
    m_Window.Click(350, 30);
    EXPECT_FALSE(m_Combo.IsOpen());
    m_Window.Click(kBoxX, kBoxY);
    ASSERT_TRUE(m_Combo.IsOpen());
    m_Window.Click(kBoxX, kBoxY);
    EXPECT_FALSE(m_Combo.IsOpen());
    EXPECT_EQ(m_Combo.GetSelection(), 0);
    EXPECT_EQ(DropDowns(), (std::vector<WPARAM>{1, 0, 1, 0}));
    EXPECT_EQ(m_Window.Count(NWM_COMBO_SELECTED), 0);
}

TEST_F(ComboTest, PressOnTheBoxDragToAnEntryAndReleasePicksIt)
{
    MakeCombo(kX, kY);
    m_Window.Press(kBoxX, kBoxY);
    ASSERT_TRUE(m_Combo.IsOpen());
    POINT row = RowPoint(2);
    m_Window.Move(row.x, row.y, MK_LBUTTON);
    EXPECT_EQ(m_Combo.GetList().GetHot(), 2);
    m_Window.Release(row.x, row.y);
    EXPECT_FALSE(m_Combo.IsOpen());
    EXPECT_EQ(m_Combo.GetSelection(), 2);
}

TEST_F(ComboTest, TheReleaseOfTheOpeningClickKeepsTheListOpen)
{
    MakeCombo(kX, kY);
    m_Window.Press(kBoxX, kBoxY);
    m_Window.Release(kBoxX, kBoxY);
    EXPECT_TRUE(m_Combo.IsOpen());
    m_Window.Release(350, 30);
    EXPECT_TRUE(m_Combo.IsOpen());
}

TEST_F(ComboTest, WheelOverTheClosedBoxStepsTheSelection)
{
    MakeCombo(kX, kY);
    m_Window.Wheel(kBoxX, kBoxY, -1);
    EXPECT_EQ(m_Combo.GetSelection(), 1);
    m_Window.Wheel(kBoxX, kBoxY, -1);
    m_Window.Wheel(kBoxX, kBoxY, -1);
    m_Window.Wheel(kBoxX, kBoxY, -1);
    EXPECT_EQ(m_Combo.GetSelection(), 3);
    m_Window.Wheel(kBoxX, kBoxY, 1);
    EXPECT_EQ(m_Combo.GetSelection(), 2);
    EXPECT_STREQ(m_Combo.GetText(), L"Medium Quality");
    EXPECT_EQ(m_Window.Count(NWM_COMBO_SELECTED), 4);
    m_Window.Wheel(300, 30, -1);
    EXPECT_EQ(m_Combo.GetSelection(), 2);
    EXPECT_FALSE(m_Combo.IsOpen());
}

// The font list holds every installed family: more than fits below the box.
TEST_F(ComboTest, ALongListShowsWhatFitsAndScrollsWithTheWheel)
{
    MakeCombo(67, 67, 40);
    m_Window.Click(67 + 40, 67 + 10);
    ASSERT_TRUE(m_Combo.IsOpen());
    const CNRect& list = m_Combo.GetListRect();
    EXPECT_LE(list.y + list.height, 252);
    EXPECT_GE(list.height, 9 * kRow + 2);
    EXPECT_TRUE(m_Combo.GetList().IsScrollBarShown());
    EXPECT_EQ(m_Combo.GetList().GetTopIndex(), 0);
    POINT row = RowPoint(1);
    m_Window.Wheel(row.x, row.y, -1);
    EXPECT_EQ(m_Combo.GetList().GetTopIndex(), CNListBox::kWheelRows);
    EXPECT_TRUE(m_Combo.IsOpen());
    ClickRow(0);
    EXPECT_EQ(m_Combo.GetSelection(), CNListBox::kWheelRows);
    EXPECT_STREQ(m_Combo.GetText(), L"Family 3");
}

TEST_F(ComboTest, DraggingTheListsScrollBarScrollsWithoutChoosing)
{
    MakeCombo(67, 67, 40);
    m_Window.Click(67 + 40, 67 + 10);
    const CNRect& list = m_Combo.GetListRect();
    int barX = list.x + list.width - 1 - CNListBox::kScrollBarWidth / 2;
    m_Window.Press(barX, list.y + 4);
    m_Window.Move(barX, list.y + list.height - 2, MK_LBUTTON);
    m_Window.Release(barX, list.y + list.height - 2);
    EXPECT_TRUE(m_Combo.IsOpen());
    EXPECT_GT(m_Combo.GetList().GetTopIndex(), 20);
    EXPECT_EQ(m_Combo.GetSelection(), 0);
}

TEST_F(ComboTest, KeysMoveTheHighlightChooseAndClose)
{
    MakeCombo(kX, kY);
    m_Window.Click(kBoxX, kBoxY);
    m_Window.Key(VK_DOWN);
    m_Window.Key(VK_DOWN);
    EXPECT_EQ(m_Combo.GetList().GetHot(), 2);
    m_Window.Key(VK_RETURN);
    EXPECT_FALSE(m_Combo.IsOpen());
    EXPECT_EQ(m_Combo.GetSelection(), 2);
    m_Window.Click(kBoxX, kBoxY);
    m_Window.Key(VK_UP);
    m_Window.Key(VK_ESCAPE);
    EXPECT_FALSE(m_Combo.IsOpen());
    EXPECT_EQ(m_Combo.GetSelection(), 2);
}

TEST_F(ComboTest, OpensUpwardsWithoutRoomBelow)
{
    MakeCombo(kX, 220);
    m_Window.Click(kBoxX, 230);
    ASSERT_TRUE(m_Combo.IsOpen());
    const CNRect& list = m_Combo.GetListRect();
    EXPECT_EQ(list.y + list.height, 220 - 1);
    EXPECT_EQ(list.height, 4 * kRow + 2);
}

TEST_F(ComboTest, HidingOrDisablingClosesAndFreesTheMouse)
{
    MakeCombo(kX, kY);
    m_Window.Click(kBoxX, kBoxY);
    m_Combo.Enable(false);
    EXPECT_FALSE(m_Combo.IsOpen());
    EXPECT_NE(GetCapture(), m_Window.GetHwnd());
    m_Window.Click(kBoxX, kBoxY);
    EXPECT_FALSE(m_Combo.IsOpen());
    m_Combo.Enable(true);
    m_Window.Click(kBoxX, kBoxY);
    m_Combo.Show(false);
    EXPECT_FALSE(m_Combo.IsOpen());
}

TEST_F(ComboTest, LosingTheMouseClosesTheList)
{
    MakeCombo(kX, kY);
    m_Window.Click(kBoxX, kBoxY);
    ReleaseCapture();
    m_Window.Pump();
    EXPECT_FALSE(m_Combo.IsOpen());
}

// A window that forwards its mouse input to the open combo and still lets
// the message through its child list must not toggle the combo twice.
TEST_F(ComboTest, TheSameMessageTwiceActsOnce)
{
    MakeCombo(kX, kY);
    LPARAM box = MAKELPARAM(kBoxX, kBoxY);
    m_Combo.ProcessMessage(m_Window.GetHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, box);
    m_Combo.ProcessMessage(m_Window.GetHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, box);
    EXPECT_TRUE(m_Combo.IsOpen());
}

TEST_F(ComboTest, SelectionOutsideTheEntriesShowsNothing)
{
    MakeCombo(kX, kY);
    m_Combo.SetSelection(4);
    EXPECT_EQ(m_Combo.GetSelection(), -1);
    EXPECT_STREQ(m_Combo.GetText(), L"");
    m_Combo.SetSelection(-1);
    EXPECT_EQ(m_Combo.GetSelection(), -1);
    m_Combo.SetSelection(1);
    EXPECT_STREQ(m_Combo.GetText(), L"Low Quality");
    EXPECT_EQ(m_Combo.FindItem(L"Medium Quality"), 2);
    EXPECT_EQ(m_Combo.GetCount(), 4);
}

TEST_F(ComboTest, EmptyComboDoesNotOpen)
{
    ASSERT_EQ(m_Combo.Create(m_Window.GetHwnd(), m_Window.GetScreen(), 7, kX, kY, kW, kH, 1), 0);
    ASSERT_EQ(m_Window.AddChild(&m_Combo), 0);
    m_Window.Click(kBoxX, kBoxY);
    EXPECT_FALSE(m_Combo.IsOpen());
    EXPECT_TRUE(m_Window.Notices().empty());
}

TEST_F(ComboTest, ClosingPutsBackWhatTheListCovered)
{
    MakeCombo(kX, kY);
    CNRect below{kX, kY + kH + 1, kW, 4 * kRow + 2};
    std::vector<uint32_t> before = PixelsOf(*m_Window.GetScreen(), below);
    m_Window.Click(kBoxX, kBoxY);
    EXPECT_NE(PixelsOf(*m_Window.GetScreen(), below), before);
    m_Window.Click(350, 30);
    EXPECT_EQ(PixelsOf(*m_Window.GetScreen(), below), before);
}

// Controls added after the combo paint later in a full redraw; the open
// list is painted again over them.
TEST_F(ComboTest, TheOpenListStaysOnTopOfLaterControls)
{
    MakeCombo(kX, kY);
    ASSERT_EQ(m_Cover.Create(m_Window.GetHwnd(), m_Window.GetScreen(), 8, kX, kY + kH + 5, kW, 40, 1), 0);
    m_Cover.SetBackColor(CNColor(255, 0, 255, 0));
    ASSERT_EQ(m_Window.AddChild(&m_Cover), 0);
    m_Window.Click(kBoxX, kBoxY);
    m_Window.GetScreen()->FillRect(30, 31, 35, 255, 0, 0, 377, 252);
    m_Window.Draw();
    // Right of the entry's text.
    POINT inside{m_Combo.GetListRect().x + 125, RowPoint(2).y};
    EXPECT_GT(GreenOf(m_Window.GetScreen()->PixelAt(inside.x, inside.y)), 200);
    m_Window.Pump();
    EXPECT_LT(GreenOf(m_Window.GetScreen()->PixelAt(inside.x, inside.y)), 100);
}

} // namespace

} // namespace pelidore
