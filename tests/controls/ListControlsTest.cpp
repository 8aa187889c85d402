#include "CNAlphaButton.h"
#include "CNControlFrame.h"
#include "CNIconList.h"
#include "CNListBox.h"
#include "CNScreen.h"
#include "CNScrollBar.h"
#include "CNStaticControl.h"
#include "CNStringButton.h"
#include "ControlPixels.h"
#include "ControlTestWindow.h"
#include "NControlMessages.h"
#include "ResourceIds.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pelidore {

namespace {

class ListControlsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(m_Window.Open(360, 260), 0); }
    void TearDown() override
    {
        m_Window.ReleaseChildren();
        if (GetCapture() == m_Window.GetHwnd())
            ReleaseCapture();
    }
    template <class Control>
    void Add(Control& control, int id, int x, int y, int width, int height)
    {
        ASSERT_EQ(control.Create(m_Window.GetHwnd(), m_Window.GetScreen(), id, x, y, width, height, 1), 0);
        ASSERT_EQ(m_Window.AddChild(&control), 0);
    }

    ControlTestWindow m_Window;
    CNListBox m_List;
    CNScrollBar m_Bar;
    CNIconList m_Icons;
    CNControlFrame m_Frame;
    CNAlphaButton m_InFrame;
    CNStringButton m_TextButton;
    CNStaticControl m_Label;
};

// 10 rows of 15 pixels in a list of 152 (with its border) at 20, 20.
TEST_F(ListControlsTest, ListBoxSelectsOnClickAndScrollsWithTheWheel)
{
    Add(m_List, 4, 20, 20, 150, 152);
    for (int i = 0; i < 30; ++i)
        m_List.AddItem((L"Entry " + std::to_wstring(i)).c_str());
    EXPECT_TRUE(m_List.IsScrollBarShown());
    m_Window.Click(60, 21 + 2 * 15 + 7);
    EXPECT_EQ(m_List.GetSelection(), 2);
    EXPECT_EQ(m_Window.Params(NWM_LIST_SELECTED), std::vector<WPARAM>{4});
    m_Window.Wheel(60, 60, -2);
    EXPECT_EQ(m_List.GetTopIndex(), 2 * CNListBox::kWheelRows);
    m_Window.Click(60, 21 + 7);
    EXPECT_EQ(m_List.GetSelection(), 6);
    m_Window.Wheel(60, 60, -20);
    EXPECT_EQ(m_List.GetTopIndex(), 20);
    m_Window.Wheel(300, 200, 5);
    EXPECT_EQ(m_List.GetTopIndex(), 20);
    m_Window.Move(60, 21 + 7);
    EXPECT_EQ(m_List.GetHot(), 20);
    m_Window.Leave();
    EXPECT_EQ(m_List.GetHot(), -1);
}

TEST_F(ListControlsTest, ListBoxWithoutOverflowHasNoScrollBar)
{
    Add(m_List, 4, 20, 20, 150, 152);
    m_List.AddItem(L"only");
    EXPECT_FALSE(m_List.IsScrollBarShown());
    EXPECT_EQ(m_List.ItemAt(60, 21 + 15 + 3), -1);
    m_Window.Wheel(60, 30, -1);
    EXPECT_EQ(m_List.GetTopIndex(), 0);
    m_List.ResetContent();
    EXPECT_EQ(m_List.GetCount(), 0);
    EXPECT_EQ(m_List.GetSelection(), -1);
}

TEST_F(ListControlsTest, ScrollBarPagesOnItsTrackAndDragsItsThumb)
{
    Add(m_Bar, 5, 300, 20, 12, 200);
    m_Bar.SetRange(100, 10);
    EXPECT_EQ(m_Bar.GetMaxPosition(), 90);
    CNRect thumb = m_Bar.ThumbRect();
    EXPECT_EQ(thumb.height, 20);
    m_Window.Click(305, 150);
    EXPECT_EQ(m_Bar.GetPosition(), 10);
    EXPECT_EQ(m_Window.Params(NWM_SCROLL_CHANGED), std::vector<WPARAM>{5});
    thumb = m_Bar.ThumbRect();
    m_Window.Press(305, thumb.y + 5);
    EXPECT_TRUE(m_Bar.IsDragging());
    EXPECT_EQ(GetCapture(), m_Window.GetHwnd());
    m_Window.Move(305, 500, MK_LBUTTON);
    EXPECT_EQ(m_Bar.GetPosition(), 90);
    m_Window.Release(305, 500);
    EXPECT_FALSE(m_Bar.IsDragging());
    EXPECT_NE(GetCapture(), m_Window.GetHwnd());
    m_Window.Click(305, 25);
    EXPECT_EQ(m_Bar.GetPosition(), 80);
    m_Bar.SetRange(5, 10);
    EXPECT_EQ(m_Bar.GetPosition(), 0);
}

TEST_F(ListControlsTest, IconListSelectsTheClickedCell)
{
    Add(m_Icons, 6, 10, 10, 100, 60);
    m_Icons.SetCellSize(30, 30);
    ASSERT_EQ(m_Icons.AddIcon(IDB_CORNER_TOP_LEFT), 0);
    ASSERT_EQ(m_Icons.AddIcon(IDB_CORNER_TOP_RIGHT), 0);
    ASSERT_EQ(m_Icons.AddIcon(IDB_CORNER_BOTTOM_RIGHT), 0);
    ASSERT_EQ(m_Icons.AddIcon(IDB_CORNER_BOTTOM_LEFT), 0);
    EXPECT_EQ(m_Icons.AddIcon(2), E_FAIL);
    EXPECT_EQ(m_Icons.GetCount(), 4);
    // Three cells fit in a row; the fourth starts the second row.
    EXPECT_EQ(m_Icons.IconAt(15, 55), 3);
    EXPECT_EQ(m_Icons.IconAt(105, 20), -1);
    m_Window.Click(75, 20);
    EXPECT_EQ(m_Icons.GetSelection(), 2);
    EXPECT_EQ(m_Window.Params(NWM_ICON_SELECTED), std::vector<WPARAM>{6});
    m_Icons.SetSelection(9);
    EXPECT_EQ(m_Icons.GetSelection(), -1);
    m_Window.Move(45, 20);
    EXPECT_EQ(m_Icons.GetHot(), 1);
}

TEST_F(ListControlsTest, FrameCarriesItsControlsAndSilencesThem)
{
    Add(m_Frame, 7, 20, 20, 200, 100);
    m_Frame.SetText(L"Corner");
    ASSERT_EQ(m_InFrame.Create(m_Window.GetHwnd(), m_Window.GetScreen(), 1, 40, 50, 22, 22, 1), 0);
    ASSERT_EQ(m_InFrame.SetImages(IDB_CORNER_TOP_LEFT, IDB_CORNER_TOP_LEFT_SET, 0, 0, CNButton::kRadio), 0);
    ASSERT_EQ(m_Frame.AddControl(&m_InFrame), 0);
    EXPECT_EQ(m_Frame.AddControl(&m_InFrame), E_FAIL);
    EXPECT_EQ(m_Frame.AddControl(nullptr), E_FAIL);
    m_Window.Click(50, 60);
    EXPECT_TRUE(m_InFrame.IsChecked());
    m_Frame.SetRect(120, 120, -1, -1);
    EXPECT_EQ(m_InFrame.GetRect(), (CNRect{140, 150, 22, 22}));
    m_InFrame.SetChecked(false);
    m_Window.Click(50, 60);
    EXPECT_FALSE(m_InFrame.IsChecked());
    m_Frame.Enable(false);
    m_Window.Click(150, 160);
    EXPECT_FALSE(m_InFrame.IsChecked());
    m_Frame.Enable(true);
    m_Window.Click(150, 160);
    EXPECT_TRUE(m_InFrame.IsChecked());
}

TEST_F(ListControlsTest, StringButtonWorksLikeAPushButton)
{
    Add(m_TextButton, 8, 20, 200, 80, 24);
    m_TextButton.SetText(L"Apply");
    m_Window.Move(60, 210);
    EXPECT_EQ(m_TextButton.GetState(), CNButton::kHover);
    m_Window.Click(60, 210);
    EXPECT_EQ(m_Window.Messages(), (std::vector<UINT>{NWM_BUTTON_PRESSED, NWM_BUTTON_RELEASED, NWM_BUTTON_CLICKED}));
    m_Window.GetScreen()->ClearRect(0, 0, 360, 260);
    m_Window.Draw();
    uint32_t face = m_Window.GetScreen()->PixelAt(22, 202);
    EXPECT_GT(Brightness(face), 0);
    m_TextButton.Enable(false);
    m_Window.Click(60, 210);
    EXPECT_EQ(m_Window.Count(NWM_BUTTON_CLICKED), 1);
}

TEST_F(ListControlsTest, StaticTextIsDrawnInItsColour)
{
    Add(m_Label, 9, 10, 10, 200, 30);
    m_Label.SetText(L"MMMMMMMM");
    m_Label.SetTextColor(CNColor(255, 0, 255, 0));
    m_Label.SetBackColor(CNColor(255, 10, 10, 10));
    m_Window.GetScreen()->ClearRect(0, 0, 360, 260);
    m_Window.Draw();
    int green = 0;
    for (uint32_t pixel : PixelsOf(*m_Window.GetScreen(), m_Label.GetRect()))
        green += GreenOf(pixel) > 150 && RedOf(pixel) < 100 ? 1 : 0;
    EXPECT_GT(green, 20);
    EXPECT_EQ(RedOf(m_Window.GetScreen()->PixelAt(205, 35)), 10);
    // Too long a text is cut, never overflowed.
    m_Label.SetText(std::wstring(1000, L'x').c_str());
    EXPECT_EQ(wcslen(m_Label.GetText()), static_cast<size_t>(CNControlBase::kTextChars - 1));
}

} // namespace

} // namespace pelidore
