// The alignment grid painted into an image: each cell's fill, text place, text
// colour and font come from its resolved settings.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include "AligridTestSupport.h"
#include "ImageProbe.h"

using namespace zeko;
using namespace zeko::aligrid_test;

namespace {

constexpr TColor kInk = clBlack;

class AligridDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSysColors();
        grid = MakeGrid(4, 4);
        grid->SetDefaultColWidth(80);
        grid->SetBorderStyle(bsNone);
        grid->SetScrollBars(ssNone);
        grid->SetColor(clWhite);
        grid->Font().SetColor(kInk);
        grid->Font().SetName("DejaVu Sans");
        grid->Font().SetHeight(-12);
        grid->SetDrawSelection(false);  // the current cell would be drawn selected
        grid->resize(400, 300);
    }

    void Paint() {
        image = grid->PaintToImage();
        origin = grid->viewport()->mapTo(grid.get(), QPoint(0, 0));
    }
    TColor Pixel(int x, int y) const { return test::PixelAt(image, origin.x() + x, origin.y() + y); }
    // Columns (client x) inside the cell where some pixel shows the colour over the
    // cell's background.
    struct Ink { int left = -1, right = -1, top = -1, bottom = -1, count = 0; };
    Ink InkOf(int col, int row, TColor color) const {
        const TRect r = grid->CellRect(col, row);
        const TColor background = Background(col, row);
        Ink ink;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (test::Covers(Pixel(x, y), color, background)) {
                    if (ink.left < 0 || x < ink.left) ink.left = x;
                    if (x > ink.right) ink.right = x;
                    if (ink.top < 0) ink.top = y;
                    ink.bottom = y;
                    ++ink.count;
                }
        return ink;
    }
    TColor Background(int col, int row) const {
        const TRect r = grid->CellRect(col, row);
        return Pixel(r.Right - 2, r.Bottom - 2);  // a corner the text never reaches
    }

    std::unique_ptr<TStringAlignGrid> grid;
    QImage image;
    QPoint origin;
};

} // namespace

TEST_F(AligridDrawing, TextSitsByTheResolvedAlignmentTwoPixelsIn) {
    grid->SetAlignCol(2, alCenter);
    grid->SetAlignCell(2, 2, alRight);
    for (int r = 1; r < 4; ++r)
        for (int c = 1; c < 4; ++c)
            grid->SetCells(c, r, "II");
    Paint();
    const TRect left = grid->CellRect(1, 2);
    const Ink l = InkOf(1, 2, kInk);
    ASSERT_GT(l.count, 0);
    EXPECT_GE(l.left, left.Left + 2);
    EXPECT_LE(l.left, left.Left + 4);
    EXPECT_GE(l.top, left.Top + 2);  // no vertical centring: the text starts at the top
    EXPECT_LE(l.top, left.Top + 6);

    const TRect right = grid->CellRect(2, 2);
    const Ink rr = InkOf(2, 2, kInk);
    EXPECT_LE(rr.right, right.Right - 3);
    EXPECT_GE(rr.right, right.Right - 6);

    const TRect centre = grid->CellRect(2, 1);
    const Ink cc = InkOf(2, 1, kInk);
    const int leftGap = cc.left - centre.Left, rightGap = centre.Right - 1 - cc.right;
    EXPECT_NEAR(leftGap, rightGap, 3);
    EXPECT_EQ(InkOf(2, 3, kInk).left - grid->CellRect(2, 3).Left, leftGap);  // the column's centring
    EXPECT_EQ(InkOf(3, 2, kInk).left - grid->CellRect(3, 2).Left, l.left - left.Left);
}

TEST_F(AligridDrawing, CellColoursAndFixedColourFillTheirCellsOnly) {
    grid->SetColorCell(2, 2, clYellow);
    grid->GetBrushCol(3).SetColor(clAqua);
    grid->SetFixedColor(clGray);
    grid->GetBrushFixedRow(0).SetColor(clLime);
    grid->FocusCell(1, 3);
    Paint();
    EXPECT_EQ(Background(2, 2), ColorToRGB(clYellow));
    EXPECT_EQ(Background(2, 1), ColorToRGB(clWhite));
    EXPECT_EQ(Background(1, 2), ColorToRGB(clWhite));
    EXPECT_EQ(Background(3, 1), ColorToRGB(clAqua));
    EXPECT_EQ(Background(3, 2), ColorToRGB(clAqua));
    EXPECT_EQ(Background(0, 2), ColorToRGB(clGray));
    EXPECT_EQ(Background(2, 0), ColorToRGB(clLime));
}

TEST_F(AligridDrawing, SelectedCellsTakeTheSelectionColours) {
    grid->SetOptions(grid->Options() + goRangeSelect);
    for (int r = 1; r < 4; ++r)
        for (int c = 1; c < 4; ++c)
            grid->SetCells(c, r, "WW");
    grid->SetDrawSelection(true);
    grid->SetSelection({1, 1, 2, 1});  // the grid has no focus: both cells are drawn selected
    grid->SetSelectedCellColor(clNavy);
    grid->SetSelectedFontColor(clYellow);
    grid->SetSelectedColorCell(2, 1, clMaroon);
    grid->GetFontCell(1, 3).SetColor(clRed);
    Paint();
    EXPECT_EQ(Background(1, 1), ColorToRGB(clNavy));
    EXPECT_GT(InkOf(1, 1, clYellow).count, 0);
    EXPECT_EQ(Background(2, 1), ColorToRGB(clMaroon));
    EXPECT_EQ(Background(1, 2), ColorToRGB(clWhite));
    EXPECT_GT(InkOf(1, 3, clRed).count, 0);  // the cell's own font colour
    EXPECT_EQ(InkOf(1, 3, kInk).count, 0);
    EXPECT_GT(InkOf(2, 3, kInk).count, 0);

    grid->SetDrawSelection(false);
    Paint();
    EXPECT_EQ(Background(1, 1), ColorToRGB(clWhite));
    EXPECT_EQ(InkOf(1, 1, clYellow).count, 0);
    EXPECT_GT(InkOf(1, 1, kInk).count, 0);
}

TEST_F(AligridDrawing, EachCellDrawsInItsOwnFont) {
    grid->SetCells(1, 1, "Hg");
    grid->SetCells(2, 1, "Hg");
    grid->GetFontCell(2, 1).SetHeight(-6);
    grid->GetFontRow(2).SetStyle({fsBold});
    grid->SetCells(1, 2, "Hg");
    grid->SetCells(1, 3, "Hg");
    Paint();
    const Ink normal = InkOf(1, 1, kInk), small = InkOf(2, 1, kInk);
    ASSERT_GT(normal.count, 0);
    ASSERT_GT(small.count, 0);
    EXPECT_LT(small.bottom - small.top, normal.bottom - normal.top);
    EXPECT_GT(InkOf(1, 2, kInk).count, InkOf(1, 3, kInk).count);  // bold takes more pixels
}

TEST_F(AligridDrawing, WordWrapAndEllipsisAndTheRectOnDrawCellGets) {
    const std::string text = "one two three four five six";
    grid->SetCells(1, 1, text);
    grid->SetCells(1, 2, text);
    grid->SetCells(1, 3, text);
    grid->SetWordwrapCell(1, 1, ww_wordwrap);
    grid->SetWordwrapCell(1, 2, ww_ellipsis);
    grid->SetRowHeights(1, 60);
    TRect seen;
    grid->OnDrawCell = [&](TCustomGrid*, int c, int r, const TRect& rect, TGridDrawState) {
        if (c == 1 && r == 2)
            seen = rect;
    };
    Paint();
    const Ink wrapped = InkOf(1, 1, kInk), plain = InkOf(1, 3, kInk);
    EXPECT_GT(wrapped.bottom - wrapped.top, 2 * (plain.bottom - plain.top));
    EXPECT_LE(InkOf(1, 2, kInk).right, grid->CellRect(1, 2).Right - 3);
    TRect inner = grid->CellRect(1, 2);
    InflateRect(inner, -2, -2);
    EXPECT_EQ(seen, inner);
}

TEST_F(AligridDrawing, WithoutDefaultDrawingOnlyOnDrawCellPaints) {
    grid->SetCells(1, 1, "WW");
    grid->SetColorCell(1, 1, clYellow);
    grid->SetDefaultDrawing(false);
    Paint();
    EXPECT_EQ(InkOf(1, 1, kInk).count, 0);
    EXPECT_NE(Background(1, 1), ColorToRGB(clYellow));
}
