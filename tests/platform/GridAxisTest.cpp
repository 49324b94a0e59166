#include "platform/GridAxis.h"

#include <gtest/gtest.h>

namespace zeko {
namespace {

// One fixed line of 30, then 40 each; gaps of 1.
GridAxis Axis(int count) {
    GridAxis a;
    a.defaultSize = 40;
    a.Resize(count);
    a.sizes[0] = 30;
    return a;
}

TEST(GridAxisTest, PlacesLinesAfterTheFixedOnesFromTheFirstShown) {
    GridAxis a = Axis(6);
    EXPECT_EQ(a.FixedExtent(1), 31);
    EXPECT_EQ(a.Start(2, 1), 31 + 41);
    a.first = 3;
    EXPECT_EQ(a.Start(3, 1), 31);
    EXPECT_EQ(a.Start(1, 1), 31 - 82);  // scrolled out: left of the fixed line's end
    EXPECT_TRUE(a.ScrolledOut(2));
    EXPECT_EQ(a.Find(10, 1, 200), 0);
    EXPECT_EQ(a.Find(31, 1, 200), 3);
    EXPECT_EQ(a.Find(71, 1, 200), 3);  // the gap belongs to the line before it
    EXPECT_EQ(a.Find(200, 1, 200), -1);
    EXPECT_EQ(a.Total(1), 31 + 5 * 41);
}

TEST(GridAxisTest, ScrollingLimitsAndVisibleCounts) {
    GridAxis a = Axis(6);
    EXPECT_EQ(a.MaxFirst(31 + 2 * 41, 1), 4);  // the last two lines fill the view
    EXPECT_EQ(a.MaxFirst(1000, 1), 1);
    EXPECT_EQ(a.VisibleCount(31 + 2 * 41 + 20, 1), 2);
    EXPECT_EQ(a.FirstShowing(5, 31 + 2 * 41, 1), 4);
    a.first = 4;
    EXPECT_EQ(a.FirstShowing(2, 31 + 2 * 41, 1), 2);
    EXPECT_EQ(a.FirstShowing(0, 31 + 2 * 41, 1), 4);  // fixed lines are always shown
}

TEST(GridAxisTest, BoundariesResizingAndMoves) {
    GridAxis a = Axis(4);
    EXPECT_EQ(a.BoundaryAt(27, 1, 300, 4), 0);
    EXPECT_EQ(a.BoundaryAt(34, 1, 300, 4), 0);
    EXPECT_EQ(a.BoundaryAt(50, 1, 300, 4), -1);
    a.current = a.anchor = 3;
    a.Resize(2);
    EXPECT_EQ(a.current, 1);
    a.SetFixed(5);
    EXPECT_EQ(a.fixed, 1);
    EXPECT_EQ(a.first, 1);
    a.Resize(4);
    a.sizes = {30, 1, 2, 3};
    a.Move(1, 3);
    EXPECT_EQ(a.sizes, (std::vector<int>{30, 2, 3, 1}));
    a.Move(3, 0);
    EXPECT_EQ(a.sizes, (std::vector<int>{1, 30, 2, 3}));
    a.Move(2, 2);
    EXPECT_EQ(a.sizes, (std::vector<int>{1, 30, 2, 3}));
    EXPECT_EQ(MovedIndex(1, 1, 3), 3);
    EXPECT_EQ(MovedIndex(2, 1, 3), 1);
    EXPECT_EQ(MovedIndex(0, 1, 3), 0);
    EXPECT_EQ(MovedIndex(1, 3, 1), 2);
}

} // namespace
} // namespace zeko
