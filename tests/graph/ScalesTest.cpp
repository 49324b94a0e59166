// The day graph's model: nice scales, the time window and its step, the negative
// range, points one per minute, the power factor in its band, the legend's rule
// for the value at a minute, the layouts, and sizes and values that must not
// hang or overflow the drawing.
#include "GraphFixture.h"

#include <climits>
#include <cmath>
#include <limits>

namespace zeko::graph {

using zeko::test::GraphTest;

namespace {

struct NiceCase {
    int divisions, value, step, result;
};

} // namespace

TEST_F(GraphTest, NiceScaleRoundsUpToAStepThatGivesAtMostTheDivisions) {
    const NiceCase cases[] = {
        {11, 2000, 500, 2000}, {11, 1999, 500, 2000}, {11, 12, 5, 15},      {11, 10, 1, 10},
        {11, 500, 50, 500},    {11, 0, 1, 1},         {11, -5, 1, 1},       {11, 1000, 100, 1000},
        {11, 60000, 5000, 60000}, {11, INT_MAX, 5000, 2000000000},         {6, 2000, 500, 2000},
        {6, 100, 50, 100},     {6, 5, 1, 5},          {6, 6, 5, 10},
    };
    for (const NiceCase& c : cases) {
        G().MaxDivisions = c.divisions;
        int step = 0;
        EXPECT_EQ(G().NiceScale(c.value, step), c.result) << c.divisions << " " << c.value;
        EXPECT_EQ(step, c.step) << c.divisions << " " << c.value;
    }
}

TEST_F(GraphTest, RoundToStepTakesTheNearerMultipleAndATieGoesUp) {
    const int cases[][3] = {{7, 15, 0}, {8, 15, 15}, {15, 30, 30}, {45, 30, 60}, {1439, 60, 1440}, {29, 60, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(TFullOkno::RoundToStep(c[0], c[1]), c[2]) << c[0] << " " << c[1];
}

TEST_F(GraphTest, TheTimeWindowIsWidenedToAnHourAndRoundedToItsStep) {
    struct Case {
        int start, end, step, viewStart, viewEnd;
    } const cases[] = {
        {0, 1440, 60, 0, 1440},    {600, 615, 15, 600, 660}, {1400, 1420, 15, 1380, 1440},
        {0, 240, 30, 0, 240},      {0, 232, 15, 0, 225},     {0, 480, 60, 0, 480},
        {600, 600, 15, 600, 660},  {1439, 1440, 15, 1380, 1440},
    };
    for (const Case& c : cases) {
        G().ViewStart = c.start;
        G().ViewEnd = c.end;
        G().ComputeScales();
        EXPECT_EQ(G().TimeStep, c.step) << c.start << ".." << c.end;
        EXPECT_EQ(G().ViewStart, c.viewStart) << c.start << ".." << c.end;
        EXPECT_EQ(G().ViewEnd, c.viewEnd) << c.start << ".." << c.end;
    }
    EXPECT_DOUBLE_EQ(G().PixelsPerMinute, (920 - 35 - 30) / 60.0);
}

TEST_F(GraphTest, TheRangeBelowZeroIsTheLowestValueRoundedUpToTheStep) {
    const int cases[][2] = {{0, 0}, {-30, 50}, {30, 50}, {100, 100}, {120, 150}, {-500, 500}};
    G().SetSingleGraf(true);
    for (const auto& c : cases) {
        G().SetYMax(500);
        G().SetYZapMax(c[0]);
        G().ComputeScales();
        EXPECT_EQ(G().YStep, 50);
        EXPECT_EQ(G().NegativeRange, c[1]) << c[0];
        EXPECT_EQ(G().NegativeHeight, static_cast<int>(std::nearbyint(c[1] * G().YScale))) << c[0];
        EXPECT_EQ(G().UpperZeroY(), Height - 35 - G().NegativeHeight);
    }
}

namespace {

struct PutCase {
    const char* name;
    std::vector<std::tuple<double, bool, bool>> puts;  // value, add, keep larger
    double stored;
};

} // namespace

TEST_F(GraphTest, PutPointKeepsOnePointPerMinute) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const PutCase cases[] = {
        {"larger last", {{10, false, true}, {20, false, true}}, 20},
        {"larger first", {{20, false, true}, {10, false, true}}, 20},
        {"replaced", {{20, false, false}, {10, false, false}}, 10},
        {"added", {{10, false, true}, {20, true, true}, {5, true, false}}, 35},
        {"no number kept out", {{10, false, true}, {nan, false, false}, {HUGE_VAL, true, true}}, 10},
    };
    for (const PutCase& c : cases) {
        TSet set;
        for (const auto& [value, add, keep] : c.puts)
            G().PutPoint(set, 5, value, add, keep);
        ASSERT_EQ(set.Count(), 1) << c.name;
        EXPECT_EQ(set.Points()[0].Value, c.stored) << c.name;
    }
    TSet none;
    G().PutPoint(none, 5, nan, false, true);
    EXPECT_EQ(none.Count(), 0);
}

TEST_F(GraphTest, ASeriesOfMoreThanTheLimitTakesNoNewMinuteButUpdatesOld) {
    TSet set;
    for (int m = 0; m <= G().MaxPocetBodu(); ++m)
        G().PutPoint(set, m, 1, false, true);
    ASSERT_EQ(set.Count(), 2001);
    G().PutPoint(set, 5000, 1, false, true);
    EXPECT_EQ(set.Count(), 2001);
    G().PutPoint(set, 7, 3, false, true);
    EXPECT_EQ(set.Points()[7].Value, 3);
}

TEST_F(GraphTest, ThePowerFactorLiesInItsBandHeldToTheBandEdges) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        float kl, zap;
        double c;
        int y;  // relative to the centre line
    } const cases[] = {
        {0.8f, 0, 0.5, -29}, {0.8f, 0, 1.0, 0},  {0.8f, 0, -1.0, 0}, {0, 0, 0.9, -2},  {0, 0, -0.9, 4},
        {0, 0, 0.0, -29},    {0, 0.7f, -0.5, 31}, {0, 0, nan, 0},    {1.0f, 0, 0.9, 0}, {0, 0, -0.0, -29},
    };
    for (const Case& c : cases) {
        G().SetYMinUcinikKl(c.kl);
        G().YMinUcinikZap = c.zap;
        G().ComputeScales();
        EXPECT_EQ(G().CosPhiToY(c.c), G().CosPhiY + c.y) << c.kl << " " << c.zap << " " << c.c;
    }
}

TEST_F(GraphTest, TheLegendShowsTheLastPointWithinTheGapLimit) {
    TSet set;
    for (int m : {450, 465, 480})
        set.Add({m, double(m)});
    TSet gapped;
    gapped.Add({450, 1});
    gapped.Add({480, 2});
    struct Case {
        const TSet* set;
        int minute;
        bool shown;
        double value;
    } const cases[] = {
        {&set, 470, true, 465},    {&set, 480, true, 480},   {&set, 496, true, 480}, {&set, 497, false, 0},
        {&set, 449, false, 0},     {&gapped, 466, true, 1},  {&gapped, 467, false, 0}, {&gapped, 490, true, 2},
        {&set, 450, true, 450},
    };
    for (const Case& c : cases) {
        double value = -1;
        EXPECT_EQ(TFullOkno::LegendValue(*c.set, c.minute, 17, value), c.shown) << c.minute;
        if (c.shown) {
            EXPECT_EQ(value, c.value) << c.minute;
        }
    }
    double value = 0;
    EXPECT_FALSE(TFullOkno::LegendValue(TSet{}, 0, 17, value));
}

TEST_F(GraphTest, TimeAndPercentTexts) {
    const std::pair<int, const char*> minutes[] = {{0, "00:00"}, {75, "01:15"}, {1440, "24:00"}, {1441, "00:01"}};
    for (const auto& [n, text] : minutes)
        EXPECT_EQ(TFullOkno::MinutesToText(n), text);
    const std::pair<double, const char*> percents[] = {{1.5, "+1,50%"}, {-2.25, "-2,25%"}, {0, "0,00%"}};
    for (const auto& [v, text] : percents)
        EXPECT_EQ(TFullOkno::PercentText(v), text);
}

TEST_F(GraphTest, TheLayoutsSplitTheHeightBetweenTheGraphsAndTheBand) {
    struct Case {
        bool single, band;
        int splitY;
        TRect upper, lower;
        int divisions;
    } const cases[] = {
        {true, false, Height, {35, 20, 30, 35}, {35, 5, 30, 35}, 11},
        {true, true, Height, {35, 20, 30, 100}, {35, 5, 30, 35}, 11},
        {false, false, Height / 2, {35, 20, 30, 27}, {35, 5, 30, 35}, 11},
        {false, true, Height / 2 - 30, {35, 20, 30, 27}, {35, 5, 30, 100}, 6},
    };
    for (const Case& c : cases) {
        G().SetKresliUcinik(false);
        G().SetSingleGraf(c.single);
        if (c.band)
            G().SetKresliUcinik(true);
        EXPECT_EQ(G().SplitY, c.splitY) << c.single << c.band;
        EXPECT_EQ(G().UpperFrame, c.upper) << c.single << c.band;
        EXPECT_EQ(G().LowerFrame, c.lower) << c.single << c.band;
        EXPECT_EQ(G().MaxDivisions, c.divisions) << c.single << c.band;
    }
    // Switching the band off leaves the halves; the single layout is set again after.
    G().SetKresliUcinik(false);
    EXPECT_EQ(G().SplitY, Height / 2);
    G().SetShowMinMaxValues(true);
    G().SetSingleGraf(true);
    EXPECT_EQ(G().UpperFrame.Top, 60);
}

TEST_F(GraphTest, OnlyTheScreenWidthOf800ResizesTheControl) {
    G().SetXRozliseni(1024);
    EXPECT_EQ(G().width(), Width);
    EXPECT_EQ(G().XRozliseni, 640);
    G().SetXRozliseni(800);
    EXPECT_EQ(G().width(), 788);
    EXPECT_EQ(G().height(), 459);
    EXPECT_EQ(G().Buffer.Width(), 788);
    EXPECT_EQ(G().GraphWidth, 725);
    EXPECT_EQ(G().CosPhiY, 409);
}

TEST_F(GraphTest, NoSizeAndNoMaximumHangsOrOverflowsTheDrawing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const int sizes[][2] = {{1000, 40}, {1000, 56}, {1000, 1}, {1, 1}, {0, 0}, {60, 200}};
    for (const auto& s : sizes) {
        TFullOkno graph(nullptr);
        graph.Init(s[0], s[1]);
        for (int i = 1; i <= 3; ++i)
            for (double v : {1e300, -1e300, nan, 250.0, HUGE_VAL})
                graph.Series[i].Add({600 + 15 * i, v});
        graph.CosPhiSeries.Add({600, nan});
        graph.CosPhiSeries.Add({615, 0.9});
        // Seconds and a contracted demand no record can hold, in the legend.
        graph.LowerSeries[1].Add({615, 1e300});
        graph.LowerSeries[2].Add({615, -1e300});
        graph.ContractedSeries.Add({615, 1e300});
        graph.KresliSjednaneOdbery = true;
        for (bool single : {true, false}) {
            graph.SetSingleGraf(single);
            graph.SetKresliUcinik(true);
            for (const TFullOknoStyle style : {Line, Step, Bar})
                graph.SetGrafStyl(style);
            for (int maximum : {INT_MAX, 0, -7, 1}) {
                graph.SetUzivatelskeMaximum(maximum);
                graph.SetUkazatelMaxima(4);
                EXPECT_GE(graph.YMax, 1) << s[0] << "x" << s[1];
            }
            graph.SetYZapMax(INT_MIN);
            graph.RedrawAll();
            graph.SetCursorX(graph.UpperFrame.Left + 1);
            graph.SetCursorMinute(620);
        }
    }
}

TEST_F(GraphTest, AValueTooLargeForAPixelIsDrawnAtTheEdgeOfThePlot) {
    G().SetSingleGraf(true);
    G().Series[1].Add({600, 1e300});
    G().Series[1].Add({615, 100});
    G().RedrawAll();
    // The line from the second point runs up out of the plot; the top margin
    // blanks it above the plot.
    const int left = G().MinuteToX(600) - 1, right = G().MinuteToX(615) + 1;
    const int top = G().UpperFrame.Top;
    EXPECT_FALSE(IsRectEmpty(test::InkBox(Picture(), {left, top, right, top + 1}, G().Series[1].Color)));
    EXPECT_TRUE(IsRectEmpty(test::InkBox(Picture(), {left, 0, right, top}, G().Series[1].Color)));
    EXPECT_EQ(G().UpperValueToY(1e300), -2000);
    EXPECT_EQ(G().UpperValueToY(-1e300), Height + 2000);
}

} // namespace zeko::graph
