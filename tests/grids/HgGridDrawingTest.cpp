// THyperGrid painted into an image: headings over several columns, title bevels,
// per-cell borders and colours from the events, alignment, the pressed look and
// the highlight.
#include "grids/HgGrid.h"

#include <gtest/gtest.h>

#include "ImageProbe.h"
#include "QtTestApp.h"

namespace zeko {
namespace {

using test::InkBox;
using test::InkBoxExcept;
using test::InkBoxOver;
using test::PixelAt;

// Five 40-pixel columns (one fixed), a 40-pixel title row and 20-pixel rows; a
// heading over columns 1..3. Grid lines 1 pixel: column c starts at 41 * c.
class Drawing : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSysColors();
        grid.SetBorderStyle(bsNone);
        grid.SetScrollBars(ssNone);
        grid.SetDefaultDrawing(false);
        grid.SetColCount(5);
        grid.SetRowCount(4);
        grid.SetDefaultColWidth(40);
        grid.SetRowHeights(0, 40);
        grid.Font().SetName("DejaVu Sans");
        grid.Font().SetHeight(-11);
        grid.Font().SetColor(clBlack);
        grid.resize(260, 140);
        grid.Headings().Add()->SetCaption("MMM");
        for (int c = 1; c <= 3; ++c)
            grid.Columns().Items(c)->SetHeadingIndex(0);
        grid.Columns().Items(4)->SetCaption("E");
    }
    void Paint() { image = grid.PaintToImage(); }
    TColor At(int x, int y) const { return PixelAt(image, x, y); }
    TRect Cell(int c, int r) const { return grid.CellRect(c, r); }

    THyperGrid grid;
    QImage image;
};

TEST_F(Drawing, AHeadingSpansItsColumnsWithoutGridLinesInTheUpperHalf) {
    Paint();
    const TColor face = ColorToRGB(clBtnFace);
    EXPECT_EQ(At(81, 8), face);   // between columns 1 and 2, upper half
    EXPECT_EQ(At(122, 8), face);  // between columns 2 and 3
    EXPECT_EQ(At(81, 30), clBlack);  // the titles below keep their lines
    EXPECT_EQ(At(40, 8), clBlack);   // the span's edges keep theirs
    EXPECT_EQ(At(163, 8), clBlack);
    for (int x : {45, 100, 150})
        EXPECT_EQ(At(x, 18), clBlack) << x;  // the line under the heading
    EXPECT_EQ(At(41, 0), ColorToRGB(clBtnHighlight));  // one raised frame round the whole span
    EXPECT_EQ(At(162, 10), ColorToRGB(clBtnShadow));
    EXPECT_EQ(At(81, 0), ColorToRGB(clBtnHighlight));
}

TEST_F(Drawing, AHeadingCaptionIsDrawnOnceCentredOverTheSpan) {
    Paint();
    const TRect ink = InkBoxOver(image, {41, 1, 163, 18}, clBlack, clBtnFace);
    ASSERT_FALSE(IsRectEmpty(ink));
    TCanvas measure;
    measure.SetFont(grid.Font());
    EXPECT_NEAR(ink.Width(), measure.TextWidth("MMM"), 3);
    EXPECT_NEAR((ink.Left + ink.Right) / 2.0, (41 + 163) / 2.0, 2.0);
}

TEST_F(Drawing, AHeadingScrolledPartlyOutOfViewKeepsItsPicture) {
    grid.SetColCount(8);
    for (int c = 4; c <= 5; ++c)
        grid.Columns().Items(c)->SetHeadingIndex(0);
    grid.resize(8 * 41, 140);
    Paint();
    const QImage whole = image;
    const int x3 = Cell(3, 0).Left;
    grid.resize(4 * 41, 140);
    grid.SetLeftCol(3);
    ASSERT_EQ(grid.LeftCol(), 3);
    Paint();
    const int scrolled = Cell(3, 0).Left;
    ASSERT_EQ(scrolled, 41);
    for (int y = 1; y < 18; ++y)
        for (int dx = 0; dx < 40; ++dx)
            ASSERT_EQ(PixelAt(image, scrolled + dx, y), PixelAt(whole, x3 + dx, y)) << dx << "," << y;
}

TEST_F(Drawing, TitlesHaveARaisedBevelAndAPressedOneIsLoweredWithItsTextMoved) {
    // The pressed text area loses 2 pixels at the left and top: a text aligned
    // there moves by 2 (a centred one would move by 1).
    grid.Columns().Items(4)->SetTitleHAlignment(taLeftJustify);
    grid.Columns().Items(4)->SetTitleVAlignment(hgvaTop);
    Paint();
    const TRect title = Cell(4, 0);
    EXPECT_EQ(At(title.Left, title.Top), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(At(title.Right - 1, title.Bottom - 1), ColorToRGB(clBtnShadow));
    const TRect text =
        InkBoxOver(image, {title.Left + 1, title.Top + 1, title.Right - 1, title.Bottom - 1}, clBlack, clBtnFace);
    ASSERT_FALSE(IsRectEmpty(text));

    const int cx = (title.Left + title.Right) / 2, cy = (title.Top + title.Bottom) / 2;
    grid.MouseDown(mbLeft, {}, cx, cy);
    Paint();
    EXPECT_EQ(At(title.Left, title.Top), ColorToRGB(clBtnShadow));
    EXPECT_EQ(At(title.Right - 1, title.Bottom - 1), ColorToRGB(clBtnHighlight));
    const TRect pressed =
        InkBoxOver(image, {title.Left + 1, title.Top + 1, title.Right - 1, title.Bottom - 1}, clBlack, clBtnFace);
    EXPECT_EQ(pressed.Left, text.Left + 2);
    EXPECT_EQ(pressed.Top, text.Top + 2);

    grid.MouseMove({ssLeft}, cx, 100);
    Paint();
    EXPECT_EQ(At(title.Left, title.Top), ColorToRGB(clBtnHighlight));
    grid.MouseUp(mbLeft, {}, cx, 100);
}

TEST_F(Drawing, BorderEventThickensTheTopOfARow) {
    int headingCalls = 0;
    grid.OnChangeCellBorders = [&](THyperGrid*, int col, int row, ThgHeading* item, ThgCellStates state,
                                   ThgBorder& top, ThgBorder&, ThgBorder&, ThgBorder&) {
        if (item == grid.Headings().Items(0)) {
            // A heading is asked as a whole, not as one of its columns' cells.
            EXPECT_EQ(col, -1);
            EXPECT_EQ(row, -1);
            EXPECT_EQ(state, ThgCellStates{hgcsHeading});
            ++headingCalls;
        }
        if (row == 2) {
            top.SetStyle(hgbrdSolid);
            top.SetWidth(2);
            top.SetColor(clBlack);
        }
    };
    grid.SetCells(2, 2, "x");
    Paint();
    const TRect r = Cell(2, 2);
    for (int x = r.Left; x < r.Right; x += 7) {
        EXPECT_EQ(At(x, r.Top), clBlack);
        EXPECT_EQ(At(x, r.Top + 1), clBlack);
        EXPECT_EQ(At(x, r.Top + 2), clWhite);
    }
    EXPECT_EQ(At(5, Cell(0, 2).Top + 1), clBlack);  // the fixed column's cell too
    EXPECT_EQ(At(r.Left + 5, r.Top - 2), clWhite);  // the row above is untouched
    EXPECT_GT(headingCalls, 0);
}

TEST_F(Drawing, AttributeEventColoursOnlyItsCells) {
    constexpr TColor maxColor = 0x0000FF, minColor = 0xFF0000;
    grid.OnChangeCellAttributes = [](THyperGrid*, int col, int row, ThgHeading*, ThgCellStates, TColor& color,
                                     TFont& font, TAlignment&, ThgVAlignment&, TBevelCut&, TBevelCut&) {
        if (row == 1 && col == 1) {
            color = maxColor;
            font.SetColor(clWhite);
        } else if (row == 1 && col == 2) {
            color = minColor;
            font.SetColor(clWhite);
        }
    };
    grid.SetCells(1, 1, "88,8");
    grid.SetCells(3, 1, "1,0");
    Paint();
    const TRect maxCell = Cell(1, 1), minCell = Cell(2, 1);
    EXPECT_EQ(At(maxCell.Right - 2, maxCell.Bottom - 2), maxColor);
    EXPECT_EQ(At(maxCell.Left, maxCell.Top), maxColor);
    EXPECT_EQ(At(minCell.Right - 2, minCell.Bottom - 2), minColor);
    EXPECT_FALSE(IsRectEmpty(InkBoxOver(image, maxCell, clWhite, maxColor)));  // white text on red
    EXPECT_EQ(At(Cell(3, 1).Right - 2, Cell(3, 1).Bottom - 2), clWhite);
    EXPECT_EQ(At(maxCell.Right, maxCell.Top + 5), clSilver);  // the grid line keeps its place
}

TEST_F(Drawing, ColumnAlignmentPlacesTheText) {
    grid.Columns().Items(1)->SetColumnHAlignment(taRightJustify);
    grid.Columns().Items(2)->SetColumnHAlignment(taCenter);
    grid.Columns().Items(3)->SetColumnVAlignment(hgvaBottom);
    for (int c = 1; c <= 3; ++c)
        grid.SetCells(c, 3, "8");
    grid.Font().SetColor(clBlack);
    Paint();
    const TRect right = InkBoxOver(image, Cell(1, 3), clBlack, clWhite);
    const TRect centre = InkBoxOver(image, Cell(2, 3), clBlack, clWhite);
    const TRect left = InkBoxOver(image, Cell(3, 3), clBlack, clWhite);
    ASSERT_FALSE(IsRectEmpty(right));
    EXPECT_GE(right.Right, Cell(1, 3).Right - 4);
    EXPECT_NEAR((centre.Left + centre.Right) / 2.0, (Cell(2, 3).Left + Cell(2, 3).Right) / 2.0, 1.5);
    EXPECT_LE(left.Left, Cell(3, 3).Left + 4);
    EXPECT_GT(left.Top, right.Top);  // bottom-aligned
}

TEST_F(Drawing, SelectedCellsAreHighlightedWithoutDrawFocusSelected) {
    grid.SetSelection({1, 2, 2, 2});
    Paint();
    EXPECT_EQ(At(Cell(1, 2).Right - 2, Cell(1, 2).Bottom - 2), ColorToRGB(clHighlight));
    EXPECT_EQ(At(Cell(3, 2).Right - 2, Cell(3, 2).Bottom - 2), clWhite);
    grid.SetHyperOptions({hgoptDrawFocusRectangle});
    Paint();
    EXPECT_EQ(At(Cell(1, 2).Right - 2, Cell(1, 2).Bottom - 2), clWhite);
}

TEST_F(Drawing, CellImagesTakeTheirRoomBesideTheText) {
    TPicture picture;
    QImage square(6, 6, QImage::Format_RGB32);
    square.fill(QColor(0, 255, 0));
    picture.SetGraphic(square);
    grid.OnGetCellImage = [&](THyperGrid*, int col, int row, int, ThgCellImage& image) {
        if (col == 2 && row == 1)
            image.Picture = &picture;
    };
    grid.SetCells(2, 1, "8");
    Paint();
    const TRect r = Cell(2, 1);
    const TRect green = InkBox(image, r, clLime);
    EXPECT_EQ(green.Left, r.Left + 2);  // the margin
    EXPECT_EQ(green.Width(), 6);
    EXPECT_GE(InkBoxOver(image, r, clBlack, clWhite).Left, r.Left + 2 + 6 + 2);  // the text starts after the image room
}

} // namespace
} // namespace zeko
