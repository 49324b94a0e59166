// The day graph's drawing, read back from its off-screen picture (lines, steps,
// bars, gaps, the power factor's colours, the cursor) and from a recording canvas
// (the texts and where they stand).
#include "GraphFixture.h"
#include "RecordingCanvas.h"

#include "platform/DateTime.h"

namespace zeko::graph {

using zeko::test::GraphTest;
using zeko::test::PixelAt;

namespace {

class GraphDrawing : public GraphTest {
protected:
    GraphDrawing() {
        G().SetSingleGraf(true);
        G().SetYMax(500);
    }
    TColor At(int x, int y) { return PixelAt(Picture(), x, y); }
    TColor AtMinute(double minute, double value) { return At(G().MinuteToX(minute), G().UpperValueToY(value)); }
    // Whether the colour shows in the row of a value between two minutes.
    bool RowHas(double fromMinute, double toMinute, double value, TColor colour) {
        const int y = G().UpperValueToY(value);
        return !IsRectEmpty(
            test::InkBox(Picture(), {G().MinuteToX(fromMinute), y, G().MinuteToX(toMinute) + 1, y + 1}, colour));
    }
    // Whether the colour shows anywhere in the column of a minute.
    bool ColumnHas(double minute, TColor colour) {
        const int x = G().MinuteToX(minute);
        return !IsRectEmpty(test::InkBox(Picture(), {x, 0, x + 1, Height}, colour));
    }
    static constexpr TColor Red = 0x0000E0;
};

} // namespace

TEST_F(GraphDrawing, PointsFewerThanTheGapLimitApartAreJoinedOthersHoldAlone) {
    TSet& s = G().Series[1];
    s.Add({457, 110});  // 07:37
    s.Add({487, 110});  // 08:07: 30 minutes later, a gap
    s.Add({502, 210});  // 15 minutes later: joined
    G().RedrawAll();
    EXPECT_EQ(AtMinute(465, 110), Red);
    EXPECT_EQ(AtMinute(472, 110), Red);  // the hold ends 16 minutes after the point
    EXPECT_EQ(AtMinute(476, 110), G().BackColor);
    EXPECT_TRUE(RowHas(488, 501, 160, Red));  // the joining line
    EXPECT_EQ(AtMinute(510, 210), Red);  // the last point holds too
    EXPECT_EQ(AtMinute(521, 210), G().BackColor);
}

TEST_F(GraphDrawing, StepsHoldTheEarlierValueUntilTheLaterPoint) {
    G().Series[1].Add({600, 110});
    G().Series[1].Add({615, 290});
    G().SetGrafStyl(Step);
    EXPECT_EQ(AtMinute(608, 110), Red);
    EXPECT_FALSE(RowHas(601, 612, 290, Red));
    EXPECT_EQ(AtMinute(615, 200), Red);  // up at the later point
    G().SetGrafStyl(Line);
    EXPECT_TRUE(RowHas(601, 614, 200, Red));
    EXPECT_EQ(AtMinute(608, 110), G().BackColor);
}

TEST_F(GraphDrawing, BarsAreFilledSideBySideOnlyWhenThreePixelsFitEachSeries) {
    const TColor colours[] = {Red, clBlue, clLime};
    for (int i = 1; i <= 3; ++i)
        G().Series[i].Add({120, 300});
    G().SetNumSeries(3);
    G().SetGrafStyl(Bar);
    struct Case {
        int minutes, width;
        bool filled;
    } const cases[] = {{960, 8, false}, {900, 9, true}};
    for (const Case& c : cases) {
        G().ViewStart = 0;
        G().ViewEnd = c.minutes;
        G().RedrawAll();
        ASSERT_EQ(G().BarWidth(), c.width);
        const int x = G().MinuteToX(120), y = G().UpperValueToY(175);
        if (c.filled) {
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(At(x + 3 * i + 1, y), colours[i]) << i;
            EXPECT_EQ(At(x + 3, y), clBlack);  // the frame between series 1 and 2
        } else {
            EXPECT_EQ(At(x + 2, y), G().BackColor);
            EXPECT_EQ(At(x + 1, G().UpperValueToY(300)), colours[2]);  // the last outline on top
        }
    }
}

TEST_F(GraphDrawing, HiddenSeriesAndSeriesBeyondTheCountAreNotDrawn) {
    G().Series[1].Add({600, 100});
    G().Series[2].Add({600, 200});
    G().Series[5].Add({600, 300});
    G().Series[2].Visible = false;
    G().SetNumSeries(4);
    G().RedrawAll();
    EXPECT_TRUE(ColumnHas(605, Red));
    EXPECT_FALSE(ColumnHas(605, clBlue));
    EXPECT_FALSE(ColumnHas(605, clAqua));
}

TEST_F(GraphDrawing, ThePowerFactorTakesTheColourOfTheValueWhereASegmentStarts) {
    G().SetKresliUcinik(true);
    TSet2& cos = G().CosPhiSeries;
    cos.Add({600, 0.9});
    cos.Add({615, -0.9});
    cos.Add({630, 0.95});
    G().RedrawAll();
    const auto at = [&](double minute, double c) { return At(G().MinuteToX(minute), G().CosPhiToY(c)); };
    // The column of a minute around the centre line, which the time axis covers.
    const auto column = [&](double minute, TColor colour) {
        const int x = G().MinuteToX(minute), y = G().CosPhiY;
        return !IsRectEmpty(test::InkBox(Picture(), {x, y - 6, x + 1, y}, colour)) ||
               !IsRectEmpty(test::InkBox(Picture(), {x, y + 1, x + 1, y + 6}, colour));
    };
    EXPECT_TRUE(column(607, Red));  // from 0.9 down to -0.9: the inductive colour
    EXPECT_FALSE(column(607, clLime));
    EXPECT_TRUE(column(622.5, clLime));  // from -0.9 up to 0.95: the capacitive colour
    EXPECT_FALSE(column(622.5, Red));
    EXPECT_EQ(at(640, 0.95), Red);
    // The band's dotted edge and its axis on the left.
    const int edge = G().CosPhiY - G().CosPhiHalf;
    EXPECT_FALSE(IsRectEmpty(test::InkBox(Picture(), {100, edge, 140, edge + 1}, clBlack)));
    EXPECT_EQ(At(35, G().CosPhiY), clLime);
}

TEST_F(GraphDrawing, ACursorMoveRedrawsOnlyTheLegendAndTheMarkers) {
    G().Series[1].Add({600, 110});
    G().RedrawAll();
    const int plotX = G().MinuteToX(605), plotY = G().UpperValueToY(110);
    G().Series[1].Clear();  // the series area is not drawn again by a cursor move
    G().SetCursorX(G().MinuteToX(300));
    EXPECT_EQ(At(plotX, plotY), Red);
    EXPECT_EQ(At(G().MinuteToX(300), 10), G().CursorColor);
    EXPECT_EQ(At(G().MinuteToX(300), Height - 10), G().CursorColor);
    EXPECT_EQ(At(G().GraphWidth / 2 + 2, 10), G().BackColor);  // the old marker is gone
    EXPECT_TRUE(G().FullRedraw);
    G().RedrawAll();
    EXPECT_EQ(At(plotX, plotY), G().BackColor);
}

TEST_F(GraphDrawing, BelowZeroTheHourLinesLeaveTheHourLabelsFree) {
    G().SetYZapMax(-30);  // the plot reaches below zero: the time axis stands inside it
    G().GridColor = Red;  // told apart from the black of the labels
    G().RedrawAll();
    ASSERT_GT(G().NegativeHeight, 0);
    const int axis = G().UpperZeroY();
    const int labelBottom = axis + 4 + G().Buffer.Canvas().TextHeight("12");
    const TColor grid = Red;
    for (const int minute : {360, 720, 1080}) {
        const int x = G().MinuteToX(minute);
        EXPECT_TRUE(IsRectEmpty(test::InkBox(Picture(), {x, axis + 1, x + 1, labelBottom + 1}, grid))) << minute;
        // The line goes on below the labels and above the axis.
        EXPECT_FALSE(IsRectEmpty(test::InkBox(Picture(), {x, labelBottom + 2, x + 1, Height - 10}, grid))) << minute;
        EXPECT_FALSE(IsRectEmpty(test::InkBox(Picture(), {x, 20, x + 1, axis - 5}, grid))) << minute;
    }
}

TEST_F(GraphDrawing, TheAxesAndTheLegendWriteTheirTexts) {
    test::RecordingCanvas rec(Width, Height);
    G().BufferCanvas = &rec.canvas;
    G().GraphDate = EncodeDate(2024, 3, 5);
    G().SetKresliUcinik(true);
    G().SetYMinUcinikKl(0.8f);
    G().SetYMinUcinikZap(0.7f);
    G().Captions[1] = "Činný";
    G().Units[1] = "kWh";
    G().Decimals[1] = 1;
    G().Series[1].Add({705, 123.45});
    G().CosPhiSeries.Add({705, -0.934});
    G().RedrawAll();
    for (const char* text : {"0", "12", "24", "500", "1", "+0,80", " -0,70", "Reg.max: 0", "ÚT  05.03.2024",
                             "11:59", "Činný", "123,5", "kWh", "Cos fi:", "-0,93"})
        EXPECT_TRUE(rec.Has(text)) << text;
    EXPECT_FALSE(rec.Has("12:00"));
    // The hour labels start 5 pixels left of their tick; the value labels end
    // right of the axis' tick.
    EXPECT_EQ(rec.Find("12").X, G().MinuteToX(720) - 5);
    const test::RecordedText fiveHundred = rec.Find("500");
    EXPECT_LT(fiveHundred.X, 35 - 3);

    rec.device.Clear();
    G().ViewStart = 600;
    G().ViewEnd = 660;
    G().SetYZapMax(-30);
    G().RedrawAll();
    for (const char* text : {"10:00", "10:15", "11:00", "-50", "0", "50"})
        EXPECT_TRUE(rec.Has(text)) << text;
    G().BufferCanvas = &G().Buffer.Canvas();
}

} // namespace zeko::graph
