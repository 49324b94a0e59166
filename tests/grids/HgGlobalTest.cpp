// The cell painting helpers drawn into an image: border lines, cell borders,
// bevels, the text painter with its enlargement requests, and the date formats.
#include "grids/HgGlobal.h"

#include <gtest/gtest.h>

#include "ImageProbe.h"
#include "QtTestApp.h"
#include "grids/HgGrid.h"
#include "platform/FormatSettings.h"

namespace zeko {
namespace {

using test::InkBox;
using test::PixelAt;

class Painting : public ::testing::Test, public test::CanvasOnImage {
protected:
    Painting() : CanvasOnImage(80, 60) {}
    static ThgBorder Border(ThgBorderStyle style, int width, TColor color = clBlack) {
        ThgBorder b;
        b.SetStyle(style);
        b.SetWidth(width);
        b.SetColor(color);
        return b;
    }
};

TEST_F(Painting, DoubleBorderOfWidthOneTakesThreePixels) {
    const int taken = DrawBorderLine(canvas, {0, 10}, {20, 10}, hgSideTop, Border(hgbrdDouble, 1));
    EXPECT_EQ(taken, 3);
    EXPECT_EQ(At(5, 10), clBlack);
    EXPECT_EQ(At(5, 11), clWhite);
    EXPECT_EQ(At(5, 12), clBlack);
    EXPECT_EQ(At(20, 10), clWhite);  // the end point is left out
}

TEST_F(Painting, BorderLinesGrowIntoTheCellAndTakeTheirWidth) {
    struct Case {
        int side;
        TPoint p1, p2;
        TRect ink;
    };
    const Case cases[] = {
        {hgSideTop, {10, 10}, {20, 10}, {10, 10, 20, 13}},
        {hgSideBottom, {20, 30}, {10, 30}, {11, 28, 21, 31}},
        {hgSideLeft, {10, 30}, {10, 20}, {10, 21, 13, 31}},
        {hgSideRight, {40, 20}, {40, 30}, {38, 20, 41, 30}},
    };
    for (const Case& c : cases) {
        Clear();
        EXPECT_EQ(DrawBorderLine(canvas, c.p1, c.p2, c.side, Border(hgbrdSolid, 3, clRed)), 3);
        EXPECT_EQ(InkBox(image, {0, 0, 80, 60}, clRed), c.ink) << "side " << c.side;
    }
}

TEST_F(Painting, EmptyBordersDrawNothing) {
    EXPECT_EQ(DrawBorderLine(canvas, {0, 0}, {20, 0}, hgSideTop, Border(hgbrdDash, 0)), 0);
    EXPECT_EQ(DrawBorderLine(canvas, {0, 0}, {20, 0}, hgSideTop, Border(hgbrdNone, 4)), 0);
    EXPECT_EQ(InkBox(image, {0, 0, 80, 60}, clBlack), TRect{});
}

TEST_F(Painting, NegativeWidthsStayInsideTheCell) {
    // A double line of width -5 would put its second line 4 pixels outside the
    // cell and answer -3, which makes the cell's rectangle grow.
    EXPECT_EQ(DrawBorderLine(canvas, {0, 10}, {20, 10}, hgSideTop, Border(hgbrdDouble, -5)), 2);
    EXPECT_EQ(InkBox(image, {0, 0, 80, 60}, clBlack), (TRect{0, 10, 20, 12}));
    EXPECT_EQ(DrawBorderLine(canvas, {0, 30}, {20, 30}, hgSideTop, Border(hgbrdSolid, -2)), 0);
}

TEST_F(Painting, BorderLineLeavesThePenAsItFoundIt) {
    canvas.Pen().SetColor(clGreen);
    canvas.Pen().SetStyle(psDot);
    canvas.Pen().SetMode(pmXor);
    DrawBorderLine(canvas, {0, 0}, {20, 0}, hgSideTop, Border(hgbrdSolid, 2, clRed));
    EXPECT_EQ(canvas.Pen().Color(), clGreen);
    EXPECT_EQ(canvas.Pen().Style(), psDot);
    EXPECT_EQ(canvas.Pen().Mode(), pmXor);
}

TEST_F(Painting, CellBordersFrameTheCellAndShrinkIt) {
    TRect r{10, 10, 30, 25};
    DrawCellBorders(canvas, r, Border(hgbrdSolid, 2), Border(hgbrdSolid, 1, clRed), Border(hgbrdNone, 1),
                    Border(hgbrdSolid, 1, clBlue));
    EXPECT_EQ(r, (TRect{11, 12, 29, 25}));
    EXPECT_EQ(At(11, 10), clBlack);
    EXPECT_EQ(At(28, 11), clBlack);
    EXPECT_EQ(At(29, 11), clBlue);  // the right side is drawn over the top's end
    EXPECT_EQ(At(10, 10), clRed);   // and the left side, last, over its start
    EXPECT_EQ(At(10, 24), clRed);
    EXPECT_EQ(At(20, 24), clWhite);  // no bottom border
    EXPECT_EQ(At(30, 20), clWhite);
}

TEST_F(Painting, BevelsTakeTheirColoursAndTheInnerOneSitsInsideAFacePixel) {
    TColor tl = clRed, br = clRed;
    BevelColors(bvSpace, tl, br);
    EXPECT_EQ(tl, clRed);
    BevelColors(bvLowered, tl, br);
    EXPECT_EQ(tl, clBtnShadow);
    EXPECT_EQ(br, clBtnHighlight);

    TRect r{0, 0, 20, 20};
    DrawBevels(canvas, r, bvRaised, bvLowered);
    EXPECT_EQ(r, (TRect{3, 3, 17, 17}));
    EXPECT_EQ(At(0, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(At(19, 19), ColorToRGB(clBtnShadow));
    EXPECT_EQ(At(1, 1), ColorToRGB(clBtnFace));
    EXPECT_EQ(At(2, 2), ColorToRGB(clBtnShadow));
    EXPECT_EQ(At(17, 17), ColorToRGB(clBtnHighlight));

    TRect none{30, 0, 40, 10};
    DrawBevels(canvas, none, bvNone, bvNone);
    EXPECT_EQ(none, (TRect{30, 0, 40, 10}));
}

// A grid that records the enlargement requests posted to it.
class RecordingGrid : public THyperGrid {
public:
    std::vector<TMessage> posted;
    void HandleMessage(const TMessage& m) override { posted.push_back(m); }
};

class CellText : public Painting {
protected:
    THgDrawInfo Info(const std::string& text, TRect rect) {
        THgDrawInfo info;
        info.Canvas = &canvas;
        info.Text = text;
        info.Rect = rect;
        info.Grid = &grid;
        info.Col = 3;
        info.Row = 4;
        return info;
    }
    RecordingGrid grid;
};

TEST_F(CellText, AFittingTextAsksForNothing) {
    grid.SetHyperAdjustColWidth(true);
    grid.SetHyperAdjustRowHeight(true);
    THgDrawInfo info = Info("ab", {0, 0, 80, 40});
    DrawCellText(info);
    grid.DeliverPostedMessages();
    EXPECT_TRUE(grid.posted.empty());
}

TEST_F(CellText, ATooLargeTextAsksForTheRowFirstThenTheColumn) {
    grid.SetHyperAdjustColWidth(true);
    grid.SetHyperAdjustRowHeight(true);
    const int w = canvas.TextWidth("MMMMMMMM");
    const int h = canvas.TextHeight("M");
    THgDrawInfo info = Info("MMMMMMMM", {0, 0, 20, 6});
    DrawCellText(info);
    grid.DeliverPostedMessages();
    ASSERT_EQ(grid.posted.size(), 2u);
    EXPECT_EQ(grid.posted[0].Msg, HGM_ADJUSTROWHEIGHT);
    EXPECT_EQ(grid.posted[0].WParam, 4u);
    EXPECT_EQ(grid.posted[0].LParam, h + 4);
    EXPECT_EQ(grid.posted[1].Msg, HGM_ADJUSTCOLWIDTH);
    EXPECT_EQ(grid.posted[1].WParam, 3u);
    EXPECT_EQ(grid.posted[1].LParam, w + 1 + 4);  // both edges counted
    grid.posted.clear();
    grid.SetHyperAdjustRowHeight(false);
    THgDrawInfo again = Info("MMMMMMMM", {0, 0, 20, 6});
    DrawCellText(again);
    grid.DeliverPostedMessages();
    ASSERT_EQ(grid.posted.size(), 1u);
    EXPECT_EQ(grid.posted[0].Msg, HGM_ADJUSTCOLWIDTH);
}

TEST_F(CellText, CentringDividesTheFreeHeightRoundingDown) {
    canvas.Font().SetColor(clBlack);
    const int h = canvas.TextHeight("M");
    auto inkTop = [&](int rectHeight, ThgVAlignment align) {
        Clear();
        THgDrawInfo info = Info("M", {0, 0, 60, rectHeight});
        info.VAlign = align;
        DrawCellText(info);
        return InkBox(image, {0, 0, 80, 60}, clBlack).Top;
    };
    // The text area is the rectangle less 2 margins; its height counts both edges.
    const int top = inkTop(h + 4, hgvaTop);
    EXPECT_EQ(inkTop(h + 4, hgvaCenter), top);      // one pixel shorter: (1) div 2 = 0
    EXPECT_EQ(inkTop(h + 5, hgvaCenter), top + 1);  // two pixels: moved by 1
    EXPECT_EQ(inkTop(h + 24, hgvaBottom), top + 20);
}

TEST_F(CellText, FixedCellsMoveTheirTextUpByTheMargins) {
    canvas.Font().SetColor(clBlack);
    THgDrawInfo data = Info("M", {0, 10, 60, 50});
    DrawCellText(data);
    const int dataTop = InkBox(image, {0, 0, 80, 60}, clBlack).Top;
    Clear();
    THgDrawInfo fixed = Info("M", {0, 10, 60, 50});
    fixed.State = {gdFixed};
    DrawCellText(fixed);
    EXPECT_EQ(InkBox(image, {0, 0, 80, 60}, clBlack).Top, dataTop - 4);
}

TEST_F(CellText, HorizontalAlignmentAndEllipsis) {
    canvas.Font().SetColor(clBlack);
    THgDrawInfo right = Info("MM", {0, 0, 60, 30});
    right.HAlign = taRightJustify;
    DrawCellText(right);
    EXPECT_GE(InkBox(image, {0, 0, 80, 60}, clBlack).Right, 55);
    EXPECT_LE(InkBox(image, {0, 0, 80, 60}, clBlack).Right, 58);
    Clear();
    THgDrawInfo cut = Info("MMMMMMMMMMMM", {0, 0, 40, 30});
    cut.ClipStyle = hgclpEllipsis;
    DrawCellText(cut);
    EXPECT_LE(InkBox(image, {0, 0, 80, 60}, clBlack).Right, 38);
}

TEST(DateFormats, FollowTheLocaleOrder) {
    const std::string keep = FormatSettings().ShortDateFormat;
    struct Case {
        const char* format;
        int order;
    };
    for (const Case& c : {Case{"dd/mm/yyyy", 1}, Case{"M/d/yyyy", 0}, Case{"yyyy-MM-dd", 2}, Case{"", 0}}) {
        FormatSettings().ShortDateFormat = c.format;
        EXPECT_EQ(DateOrder(), c.order) << c.format;
    }
    FormatSettings().ShortDateFormat = keep;
    EXPECT_EQ(DateFormatPattern(2, 1), "dd/mm/yy");
    EXPECT_EQ(DateFormatPattern(1, 2), "yy/m/d");
    EXPECT_EQ(DateFormatPattern(10, 0), "dddd mmmm d, yyyy");
    EXPECT_EQ(DateFormatPattern(11, 0), "");
    EXPECT_EQ(TimeFormatPattern(3), "h:nn:ss ampm");
    EXPECT_EQ(TimeFormatPattern(-1), "");
}

TEST(StartsWithTest, IsExactAndCaseSensitive) {
    EXPECT_TRUE(StartsWith("", "abc"));
    EXPECT_TRUE(StartsWith("ab", "abc"));
    EXPECT_FALSE(StartsWith("AB", "abc"));
    EXPECT_FALSE(StartsWith("abcd", "abc"));
    EXPECT_TRUE(StartsWith("", ""));
}

} // namespace
} // namespace zeko
