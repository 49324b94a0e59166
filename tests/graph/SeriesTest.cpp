// The graph series: points addressed from 1, reads and writes outside the list,
// sorting by minute.
#include "graph/FullOknoSeries.h"

#include <gtest/gtest.h>

using namespace zeko::graph;

namespace {

std::vector<int> Minutes(const TSet& set) {
    std::vector<int> minutes;
    for (const TGraphPoint& p : set.Points())
        minutes.push_back(p.Minute);
    return minutes;
}

} // namespace

TEST(GraphSeries, ANewSeriesHasNoPointsAndAllAttributesZero) {
    const TSet set;
    EXPECT_EQ(set.Count(), 0);
    EXPECT_EQ(set.Color, 0);
    EXPECT_FALSE(set.Visible);
    EXPECT_FALSE(set.Band);
    EXPECT_EQ(set.BandPlus + set.BandMinus + set.GapLimit, 0);
    EXPECT_EQ(TSet2{}.NegativeColor, 0);
}

TEST(GraphSeries, IndexesOutsideTheListReadAsZeroAndWriteNothing) {
    TSet set;
    set.Add({30, 1.5});
    set.Add({45, 2.5});
    for (int index : {0, 3, -1}) {
        TGraphPoint p{99, 9.0};
        set.GetPoint(index, p);
        EXPECT_EQ(p.Minute, 0) << index;
        EXPECT_EQ(p.Value, 0.0) << index;
        set.SetPoint(index, {7, 7.0});
    }
    EXPECT_EQ(Minutes(set), (std::vector<int>{30, 45}));
    TGraphPoint p;
    set.GetPoint(2, p);
    EXPECT_EQ(p.Value, 2.5);
    set.SetPoint(1, {31, 3.0});
    set.GetPoint(1, p);
    EXPECT_EQ(p.Minute, 31);
    EXPECT_EQ(p.Value, 3.0);
}

TEST(GraphSeries, SortOrdersByMinuteAndClearEmptiesAgain) {
    TSet set;
    for (int m : {30, 15, 45})
        set.Add({m, double(m)});
    set.Sort();
    EXPECT_EQ(Minutes(set), (std::vector<int>{15, 30, 45}));
    set.Clear();
    set.Clear();
    EXPECT_EQ(set.Count(), 0);
}
