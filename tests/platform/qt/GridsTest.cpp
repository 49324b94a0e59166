#include "platform/qt/Grids.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>

#include <gtest/gtest.h>

#include "ImageProbe.h"
#include "QtTestApp.h"

namespace zeko {
namespace {

// A 5 x 5 string grid of 64 x 24 cells without a frame, so that client and
// widget coordinates agree.
class GridTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.SetBorderStyle(bsNone);
        grid.resize(400, 300);
    }
    void Key(uint16_t key, TShiftState shift = {}) { grid.KeyDown(key, shift); }
    void Type(const std::string& text) {
        for (char c : text) {
            char32_t ch = static_cast<unsigned char>(c);
            if (grid.EditorMode() && grid.InplaceEditor() && grid.InplaceEditor()->Visible())
                grid.InplaceEditor()->TypeKey(ch);
            else
                grid.KeyPress(ch);
        }
    }
    TColor At(const QImage& image, int x, int y) { return test::PixelAt(image, x, y); }

    TStringGrid grid;
};

TEST_F(GridTest, CellsLieLeftOfAndAboveTheirGridLines) {
    EXPECT_EQ(grid.CellRect(0, 0), (TRect{0, 0, 64, 24}));
    EXPECT_EQ(grid.CellRect(1, 0), (TRect{65, 0, 129, 24}));
    EXPECT_EQ(grid.CellRect(2, 3), (TRect{130, 75, 194, 99}));
    EXPECT_EQ(grid.MouseCoord(64, 24), (TGridCoord{0, 0}));  // the line belongs to the cell before it
    EXPECT_EQ(grid.MouseCoord(65, 25), (TGridCoord{1, 1}));
    EXPECT_EQ(grid.MouseCoord(399, 10), (TGridCoord{-1, -1}));  // right of the last column
    EXPECT_EQ(grid.MouseCoord(-1, 10), (TGridCoord{-1, -1}));
    grid.SetGridLineWidth(3);
    EXPECT_EQ(grid.CellRect(1, 1), (TRect{67, 27, 131, 51}));
    grid.SetOptions({goRangeSelect});  // no lines: no gaps either
    EXPECT_EQ(grid.CellRect(1, 1), (TRect{64, 24, 128, 48}));
}

TEST_F(GridTest, WidthsAndCountsFollowTheirRules) {
    grid.SetColWidths(2, -5);
    EXPECT_EQ(grid.ColWidths(2), 0);
    grid.SetColCount(7);
    EXPECT_EQ(grid.ColWidths(6), 64);
    grid.SetDefaultColWidth(30);
    EXPECT_EQ(grid.ColWidths(2), 30);
    grid.SetFixedCols(9);
    EXPECT_EQ(grid.FixedCols(), 6);
    grid.SetColCount(2);
    EXPECT_EQ(grid.FixedCols(), 1);
    EXPECT_EQ(grid.Col(), 1);
}

TEST_F(GridTest, RepaintingALineOutsideTheGridDoesNothing) {
    // Descendants repaint rows and columns they are told of; one that is gone or
    // never was must not reach past the grid's sizes.
    for (int line : {-3, 5, 100}) {
        grid.InvalidateRow(line);
        grid.InvalidateCol(line);
        grid.InvalidateCell(line, line);
    }
    grid.SetRowCount(0);
    grid.InvalidateRow(0);
    SUCCEED();
}

TEST_F(GridTest, KeysMoveTheCurrentCellWithinTheScrollableCells) {
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.Row(), 1);
    Key(VK_UP);
    Key(VK_LEFT);
    EXPECT_EQ(grid.Col(), 1);  // fixed cells are never current
    EXPECT_EQ(grid.Row(), 1);
    Key(VK_DOWN);
    Key(VK_RIGHT);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(grid.Row(), 2);
    Key(VK_END);
    EXPECT_EQ(grid.Col(), 4);
    EXPECT_EQ(grid.Row(), 2);
    Key(VK_HOME, {ssCtrl});
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.Row(), 1);
    Key(VK_END, {ssCtrl});
    EXPECT_EQ(grid.Col(), 4);
    EXPECT_EQ(grid.Row(), 4);
}

TEST_F(GridTest, RefusedSelectCellKeepsTheCell) {
    grid.OnSelectCell = [](TCustomGrid*, int col, int, bool& can) { can = col != 2; };
    Key(VK_RIGHT);
    EXPECT_EQ(grid.Col(), 1);
    grid.SetCol(3);
    EXPECT_EQ(grid.Col(), 3);
}

TEST_F(GridTest, ShiftExtendsTheSelectionAndRowSelectSpansTheRow) {
    Key(VK_RIGHT, {ssShift});
    Key(VK_DOWN, {ssShift});
    EXPECT_EQ(grid.Selection(), (TGridRect{1, 1, 2, 2}));
    Key(VK_DOWN);
    EXPECT_EQ(grid.Selection(), (TGridRect{2, 3, 2, 3}));
    grid.SetOptions(grid.Options() + goRowSelect);
    EXPECT_EQ(grid.Selection(), (TGridRect{1, 3, 4, 3}));
    EXPECT_TRUE(grid.IsCellSelected(4, 3));
}

TEST_F(GridTest, MouseDragSelectsARange) {
    grid.MouseDown(mbLeft, {}, 70, 30);
    grid.MouseMove({ssLeft}, 200, 80);
    grid.MouseUp(mbLeft, {}, 200, 80);
    EXPECT_EQ(grid.Selection(), (TGridRect{1, 1, 3, 3}));
    EXPECT_EQ(grid.Col(), 3);
}

TEST_F(GridTest, ScrollingIsByWholeRowsAndFollowsTheCurrentCell) {
    grid.SetRowCount(30);
    grid.resize(400, 125);  // the fixed row and four rows fit whole
    EXPECT_EQ(grid.VisibleRowCount(), 4);
    for (int i = 0; i < 4; ++i)
        Key(VK_DOWN);
    EXPECT_EQ(grid.Row(), 5);
    EXPECT_EQ(grid.TopRow(), 2);
    EXPECT_EQ(grid.CellRect(1, 1), TRect{});  // scrolled out
    EXPECT_EQ(grid.CellRect(1, 2).Top, 25);
    // Painted where CellRect says: row 2's text right under the fixed row.
    grid.SetCells(2, 2, "W");
    const QImage image = grid.PaintToImage();
    const TRect cell = grid.CellRect(2, 2);
    EXPECT_FALSE(IsRectEmpty(test::InkBox(image, cell, clBlack)));
    EXPECT_TRUE(IsRectEmpty(test::InkBox(image, grid.CellRect(2, 3), clBlack)));
    Key(VK_NEXT);
    EXPECT_EQ(grid.Row(), 9);
    grid.SetTopRow(100);
    EXPECT_EQ(grid.TopRow(), 26);  // the last four rows fill the view
    grid.SetTopRow(0);
    EXPECT_EQ(grid.TopRow(), 1);
    EXPECT_EQ(grid.verticalScrollBar()->value(), 1);
}

TEST_F(GridTest, ThumbTrackingIsAnOption) {
    EXPECT_FALSE(grid.verticalScrollBar()->hasTracking());
    grid.SetOptions(grid.Options() + goThumbTracking);
    EXPECT_TRUE(grid.verticalScrollBar()->hasTracking());
    grid.SetRowCount(40);
    grid.verticalScrollBar()->setValue(7);
    EXPECT_EQ(grid.TopRow(), 7);
}

TEST_F(GridTest, TabMovesBetweenCellsOnlyWithTheOption) {
    Key(VK_TAB);
    EXPECT_EQ(grid.Col(), 1);
    grid.SetOptions(grid.Options() + goTabs);
    grid.SetCol(4);
    Key(VK_TAB);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.Row(), 2);
    Key(VK_TAB, {ssShift});
    EXPECT_EQ(grid.Col(), 4);
    EXPECT_EQ(grid.Row(), 1);
}

TEST_F(GridTest, TypingOpensTheEditorAndEveryChangeReachesTheCell) {
    grid.SetOptions(grid.Options() + goEditing);
    grid.SetCells(1, 1, "old");
    Type("4");
    ASSERT_TRUE(grid.EditorMode());
    ASSERT_NE(grid.InplaceEditor(), nullptr);
    EXPECT_TRUE(grid.InplaceEditor()->Visible());
    EXPECT_EQ(grid.Cells(1, 1), "4");  // the typed key replaced the text
    Type("2");
    EXPECT_EQ(grid.Cells(1, 1), "42");
    EXPECT_EQ(grid.InplaceEditor()->StartText(), "old");
    // Moving while editing keeps editing in the new cell.
    Key(VK_DOWN);
    EXPECT_TRUE(grid.InplaceEditor()->Visible());
    EXPECT_EQ(grid.InplaceEditor()->Text(), "");
    EXPECT_EQ(grid.InplaceEditor()->geometry().top(), grid.CellRect(1, 2).Top);
    // Enter ends editing.
    char32_t enter = U'\r';
    grid.InplaceEditor()->KeyPress(enter);
    EXPECT_FALSE(grid.EditorMode());
    EXPECT_FALSE(grid.InplaceEditor()->Visible());
}

TEST_F(GridTest, EscapeGivesTheTextBack) {
    grid.SetOptions(grid.Options() + goEditing);
    grid.SetCells(1, 1, "old");
    Key(VK_F2);
    ASSERT_TRUE(grid.EditorMode());
    EXPECT_EQ(grid.InplaceEditor()->Text(), "old");
    Type("x");
    EXPECT_EQ(grid.Cells(1, 1), "x");
    grid.InplaceEditor()->TypeKey(27);
    EXPECT_EQ(grid.Cells(1, 1), "old");
    EXPECT_FALSE(grid.EditorMode());
}

// The grid's OnKeyPress filters what is typed, the first character that opens
// the editor and those typed into it alike, each heard once.
TEST_F(GridTest, OnKeyPressHearsEveryTypedKeyOnceAndMayDropIt) {
    grid.SetOptions(grid.Options() + goEditing);
    std::u32string heard;
    grid.OnKeyPress = [&](TCustomGrid*, char32_t& key) {
        heard += key;
        if (key < U'0' || key > U'9')
            key = 0;
    };
    Type("1a2");
    QKeyEvent b(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b");
    QCoreApplication::sendEvent(grid.InplaceEditor()->TextControl(), &b);
    QKeyEvent three(QEvent::KeyPress, Qt::Key_3, Qt::NoModifier, "3");
    QCoreApplication::sendEvent(grid.InplaceEditor()->TextControl(), &three);
    EXPECT_EQ(grid.Cells(1, 1), "123");
    EXPECT_EQ(heard, U"1a2b3");
    // Enter dropped by the handler keeps the editor open.
    char32_t enter = U'\r';
    grid.InplaceEditor()->KeyPress(enter);
    EXPECT_TRUE(grid.EditorMode());
    EXPECT_EQ(heard.back(), U'\r');
}

TEST_F(GridTest, EditorTakesRealKeyEvents) {
    grid.SetOptions(grid.Options() + goEditing);
    grid.ShowEditor();
    QWidget* control = grid.InplaceEditor()->TextControl();
    QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(control, &a);
    QKeyEvent b(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b");
    QCoreApplication::sendEvent(control, &b);
    EXPECT_EQ(grid.Cells(1, 1), "ab");
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(control, &down);
    EXPECT_EQ(grid.Row(), 2);  // navigation keys reach the grid
}

TEST_F(GridTest, ArrowsLeaveTheEditorOnlyAtTheEndsOfItsText) {
    grid.SetOptions(grid.Options() + goEditing);
    grid.SetCells(1, 1, "ab");
    grid.ShowEditor();
    TInplaceEdit* e = grid.InplaceEditor();
    e->SetSelStart(1);
    uint16_t key = VK_RIGHT;
    e->KeyDown(key, {});
    EXPECT_EQ(key, VK_RIGHT);  // inside the text: left to the text control
    EXPECT_EQ(grid.Col(), 1);
    e->SetSelStart(2);
    e->KeyDown(key, {});
    EXPECT_EQ(key, 0);
    EXPECT_EQ(grid.Col(), 2);
    key = VK_LEFT;  // the new cell is empty: its start is its end
    e->KeyDown(key, {});
    EXPECT_EQ(grid.Col(), 1);
    e->SetSelStart(1);
    key = VK_LEFT;
    e->KeyDown(key, {});
    EXPECT_EQ(key, VK_LEFT);
    EXPECT_EQ(grid.Col(), 1);
}

TEST_F(GridTest, ReadOnlyGridRefusesTyping) {
    struct ReadOnlyGrid : TStringGrid {
        bool CanEditModify() override { return false; }
    } g;
    g.SetOptions(g.Options() + goEditing);
    g.SetCells(1, 1, "keep");
    g.ShowEditor();
    g.InplaceEditor()->TypeKey('z');
    EXPECT_EQ(g.Cells(1, 1), "keep");
}

TEST_F(GridTest, DraggingAColumnBoundaryInTheTitleRowSizesIt) {
    int changes = 0;
    struct Counting : TStringGrid {
        int* n;
        void ColWidthsChanged() override { ++*n; }
    } g;
    g.n = &changes;
    g.SetBorderStyle(bsNone);
    g.resize(400, 300);
    g.SetOptions(g.Options() + goColSizing);
    g.MouseDown(mbLeft, {}, 126, 10);  // 3 pixels left of the line after column 1
    g.MouseMove({ssLeft}, 146, 10);
    g.MouseUp(mbLeft, {}, 146, 10);
    EXPECT_EQ(g.ColWidths(1), 84);
    EXPECT_EQ(changes, 1);
    g.MouseDown(mbLeft, {}, 214, 10);
    g.MouseMove({ssLeft}, -300, 10);
    g.MouseUp(mbLeft, {}, -300, 10);
    EXPECT_EQ(g.ColWidths(2), 0);  // never negative
    g.MouseDown(mbLeft, {}, 126, 40);  // the same place in a data row selects
    EXPECT_EQ(g.Col(), 1);
    EXPECT_EQ(g.ColWidths(1), 84);
}

TEST_F(GridTest, MovedColumnsAndRowsTakeTheirCellsWidthsAndTheCurrentCell) {
    for (int c = 0; c < 5; ++c)
        grid.SetCells(c, 1, std::string(1, static_cast<char>('a' + c)));
    grid.SetColWidths(1, 10);
    grid.SetCol(1);
    grid.MoveColumn(1, 3);
    EXPECT_EQ(grid.Rows(1), (std::vector<std::string>{"a", "c", "d", "b", "e"}));
    EXPECT_EQ(grid.ColWidths(3), 10);
    EXPECT_EQ(grid.Col(), 3);
    grid.SetCells(0, 4, "last");
    grid.MoveRow(4, 1);
    EXPECT_EQ(grid.Cells(0, 1), "last");
    EXPECT_EQ(grid.Cells(0, 2), "a");
    grid.DeleteColumn(0);
    EXPECT_EQ(grid.ColCount(), 4);
    EXPECT_EQ(grid.Cells(0, 2), "c");
}

TEST_F(GridTest, TitleDragWithColumnMovingMovesTheColumn) {
    grid.SetOptions(grid.Options() + goColMoving);
    grid.SetCells(1, 0, "one");
    grid.MouseDown(mbLeft, {}, 90, 10);
    grid.MouseMove({ssLeft}, 220, 10);
    grid.MouseUp(mbLeft, {}, 220, 10);
    EXPECT_EQ(grid.Cells(3, 0), "one");
}

TEST_F(GridTest, RowTitlesMoveAndSizeTheirRows) {
    grid.SetOptions(grid.Options() + goRowMoving + goRowSizing);
    grid.SetCells(0, 1, "first");
    grid.MouseDown(mbLeft, {}, 10, 30);  // row 1's title
    grid.MouseMove({ssLeft}, 300, 80);   // across to row 3, whatever the x
    grid.MouseUp(mbLeft, {}, 300, 80);
    EXPECT_EQ(grid.Cells(0, 3), "first");
    grid.MouseDown(mbLeft, {}, 10, 47);  // 2 pixels above the line under row 1
    grid.MouseMove({ssLeft}, 10, 57);
    grid.MouseUp(mbLeft, {}, 10, 57);
    EXPECT_EQ(grid.RowHeights(1), 34);
    EXPECT_EQ(grid.Cells(0, 3), "first");  // sizing moves nothing
}

TEST_F(GridTest, PostedMessagesArriveLater) {
    struct Listening : TStringGrid {
        std::vector<uint32_t> seen;
        void HandleMessage(const TMessage& m) override { seen.push_back(m.Msg); }
    } g;
    g.PostMessage(4025, 1, 80);
    g.SendMessage(7, 0, 0);
    EXPECT_EQ(g.seen, std::vector<uint32_t>{7});
    g.DeliverPostedMessages();
    EXPECT_EQ(g.seen, (std::vector<uint32_t>{7, 4025}));
}

TEST_F(GridTest, PaintsLinesFillsAndTexts) {
    grid.SetCells(2, 2, "W");
    const QImage image = grid.PaintToImage();
    EXPECT_EQ(At(image, 64, 5), clBlack);     // line right of the fixed column
    EXPECT_EQ(At(image, 100, 24), clBlack);   // line under the fixed row
    EXPECT_EQ(At(image, 129, 40), clSilver);  // line between data cells
    EXPECT_EQ(At(image, 30, 12), ColorToRGB(clBtnFace));
    EXPECT_EQ(At(image, 0, 0), clWhite);  // the raised edge of a fixed cell
    EXPECT_EQ(At(image, 63, 23), ColorToRGB(clBtnShadow));
    EXPECT_EQ(At(image, 380, 280), clWhite);  // beyond the cells: the grid colour
    bool ink = false;
    for (int y = 50; y < 74; ++y)
        for (int x = 130; x < 194; ++x)
            ink = ink || At(image, x, y) == clBlack;
    EXPECT_TRUE(ink);
}

// A paint of part of the grid paints the cells that meet it and no others, and
// the picture of that part is the one a whole paint gives.
TEST_F(GridTest, APaintOfPartOfTheGridPaintsTheCellsThatMeetIt) {
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 5; ++r)
            grid.SetCells(c, r, std::to_string(c) + "," + std::to_string(r));
    std::vector<std::pair<int, int>> painted;
    grid.OnDrawCell = [&](TCustomGrid*, int col, int row, const TRect&, TGridDrawState) {
        painted.emplace_back(col, row);
    };
    const QImage whole = grid.PaintToImage();
    EXPECT_EQ(painted.size(), 25u);

    const struct {
        QRect part;
        std::vector<std::pair<int, int>> cells;
    } cases[] = {
        {QRect(70, 30, 20, 10), {{1, 1}}},                  // inside one cell
        {QRect(64, 24, 1, 1), {{0, 0}, {1, 0}, {0, 1}, {1, 1}}},  // the crossing of two lines
        {QRect(140, 80, 70, 15), {{2, 3}, {3, 3}}},          // across a line
    };
    for (const auto& c : cases) {
        painted.clear();
        QImage part(grid.size(), QImage::Format_RGB32);
        part.fill(Qt::white);
        grid.viewport()->render(&part, c.part.topLeft(), QRegion(c.part));
        EXPECT_EQ(painted, c.cells) << c.part.x() << "," << c.part.y();
        for (int y = c.part.top(); y <= c.part.bottom(); ++y)
            for (int x = c.part.left(); x <= c.part.right(); ++x)
                ASSERT_EQ(part.pixel(x, y), whole.pixel(x, y)) << x << "," << y;
    }
}

TEST_F(GridTest, SelectedCellsAreHighlightedUnlessFocused) {
    grid.SetSelection({1, 1, 2, 1});
    const QImage image = grid.PaintToImage();
    EXPECT_EQ(At(image, 140, 40), ColorToRGB(clHighlight));  // selected, not current
    EXPECT_EQ(At(image, 80, 40), ColorToRGB(clHighlight));  // current, but the grid has no focus

    struct Probe : TStringGrid {
        using TCustomGrid::DrawsHighlighted;
    } probe;
    EXPECT_TRUE(probe.DrawsHighlighted({gdSelected}));
    EXPECT_FALSE(probe.DrawsHighlighted({}));
    EXPECT_FALSE(probe.DrawsHighlighted({gdFocused}));
    EXPECT_FALSE(probe.DrawsHighlighted({gdSelected, gdFocused}));  // the focused cell shows its focus instead
    for (TGridOption option : {goDrawFocusSelected, goRowSelect}) {
        probe.SetOptions(probe.Options() + option);
        EXPECT_TRUE(probe.DrawsHighlighted({gdSelected, gdFocused})) << option;
        probe.SetOptions(probe.Options() - option);
    }
}

} // namespace
} // namespace zeko
