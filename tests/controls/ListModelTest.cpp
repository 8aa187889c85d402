#include "CNListModel.h"

#include <gtest/gtest.h>

#include <string>

namespace pelidore {

namespace {

CNListModel ModelOf(int count, int rows)
{
    CNListModel model;
    for (int i = 0; i < count; ++i)
        model.Add(L"entry " + std::to_wstring(i));
    model.SetVisibleRows(rows);
    return model;
}

TEST(ListModel, SelectionAndHotAreAnEntryOrNone)
{
    CNListModel model = ModelOf(4, 10);
    model.SetSelection(3);
    EXPECT_EQ(model.Selection(), 3);
    model.SetSelection(4);
    EXPECT_EQ(model.Selection(), CNListModel::kNone);
    model.SetSelection(-7);
    EXPECT_EQ(model.Selection(), CNListModel::kNone);
    model.SetHot(2);
    model.Clear();
    EXPECT_EQ(model.Hot(), CNListModel::kNone);
    EXPECT_EQ(model.Count(), 0);
    EXPECT_EQ(model.Text(0), L"");
}

TEST(ListModel, FindsTheFirstExactText)
{
    CNListModel model;
    model.Add(L"Arial");
    model.Add(L"Arial Black");
    model.Add(L"Arial");
    EXPECT_EQ(model.Find(L"Arial"), 0);
    EXPECT_EQ(model.Find(L"Arial Black"), 1);
    EXPECT_EQ(model.Find(L"arial"), CNListModel::kNone);
}

TEST(ListModel, ScrollingStaysInsideTheEntries)
{
    CNListModel model = ModelOf(20, 9);
    EXPECT_TRUE(model.NeedsScrolling());
    EXPECT_EQ(model.MaxTop(), 11);
    EXPECT_TRUE(model.ScrollBy(30));
    EXPECT_EQ(model.Top(), 11);
    EXPECT_FALSE(model.ScrollBy(1));
    EXPECT_TRUE(model.ScrollTo(-4));
    EXPECT_EQ(model.Top(), 0);
    CNListModel shortList = ModelOf(4, 9);
    EXPECT_FALSE(shortList.NeedsScrolling());
    EXPECT_FALSE(shortList.ScrollBy(3));
}

TEST(ListModel, EnsureVisibleScrollsTheLeastAmount)
{
    CNListModel model = ModelOf(20, 5);
    model.EnsureVisible(7);
    EXPECT_EQ(model.Top(), 3);
    model.EnsureVisible(5);
    EXPECT_EQ(model.Top(), 3);
    model.EnsureVisible(1);
    EXPECT_EQ(model.Top(), 1);
    model.EnsureVisible(99);
    EXPECT_EQ(model.Top(), 1);
}

TEST(ListModel, RowsMapToEntriesBelowTheTop)
{
    CNListModel model = ModelOf(10, 4);
    model.ScrollTo(5);
    EXPECT_EQ(model.IndexAtRow(0), 5);
    EXPECT_EQ(model.IndexAtRow(3), 8);
    EXPECT_EQ(model.IndexAtRow(4), CNListModel::kNone);
    EXPECT_EQ(model.IndexAtRow(-1), CNListModel::kNone);
    CNListModel shortList = ModelOf(2, 4);
    EXPECT_EQ(shortList.IndexAtRow(2), CNListModel::kNone);
}

TEST(ListModel, ShrinkingTheViewKeepsTheTopValid)
{
    CNListModel model = ModelOf(10, 2);
    model.ScrollTo(8);
    model.SetVisibleRows(6);
    EXPECT_EQ(model.Top(), 4);
    model.SetVisibleRows(0);
    EXPECT_EQ(model.VisibleRows(), 1);
}

TEST(ListModel, StepsStayInsideAndStartFromTheEnds)
{
    EXPECT_EQ(CNListModel::Step(2, 1, 4), 3);
    EXPECT_EQ(CNListModel::Step(3, 1, 4), 3);
    EXPECT_EQ(CNListModel::Step(0, -1, 4), 0);
    EXPECT_EQ(CNListModel::Step(CNListModel::kNone, 1, 4), 0);
    EXPECT_EQ(CNListModel::Step(CNListModel::kNone, -1, 4), 3);
    EXPECT_EQ(CNListModel::Step(1, 1, 0), CNListModel::kNone);
    EXPECT_EQ(CNListModel::Step(1, 100, 4), 3);
}

} // namespace

} // namespace pelidore
