// The next-cell walk, Tab, the clipboard text, sorting and the line operations of
// the alignment grid, with the settings and hints that go with each line.
#include <gtest/gtest.h>

#include <QScrollBar>

#include "AligridTestSupport.h"
#include "platform/qt/QtClipboard.h"

using namespace zeko;
using namespace zeko::aligrid_test;

namespace {

std::string Column(TStringAlignGrid& grid, int col) {
    std::string out;
    for (int r = 0; r < grid.RowCount(); ++r)
        out += (r ? "|" : "") + grid.Cells(col, r);
    return out;
}

std::string Row(TStringAlignGrid& grid, int row) {
    std::string out;
    for (int c = 0; c < grid.ColCount(); ++c)
        out += (c ? "|" : "") + grid.Cells(c, row);
    return out;
}

// Installs an in-process clipboard for the test's life.
struct ClipboardScope {
    TMemoryClipboard clipboard;
    ClipboardScope() { SetClipboard(&clipboard); }
    ~ClipboardScope() { SetClipboard(nullptr); }
    void SetText(const std::string& text) {
        std::vector<uint8_t> block(text.begin(), text.end());
        block.push_back(0);
        clipboard.SetBlock(CF_TEXT, block);
    }
    std::string Text() {
        const auto block = clipboard.GetBlock(CF_TEXT);
        return block ? std::string(block->begin(), block->end() - 1) : std::string("<none>");
    }
};

} // namespace

// ---------------------------------------------------------------- next cell

TEST(AligridNextCell, StepsAndLineEndsOfEveryDirection) {
    // 5 x 5 grid, one fixed row and column: cells 1..4 both ways.
    struct Case { T_nextcell dir; int col, row, toCol, toRow; };
    const Case cases[] = {
        {nc_rightdown, 2, 2, 3, 2}, {nc_rightdown, 4, 2, 1, 3},
        {nc_downright, 2, 2, 2, 3}, {nc_downright, 2, 4, 3, 1},
        {nc_leftdown, 2, 2, 1, 2},  {nc_leftdown, 1, 2, 4, 3},
        {nc_downleft, 2, 2, 2, 3},  {nc_downleft, 2, 4, 1, 1},
        {nc_leftup, 2, 2, 1, 2},    {nc_leftup, 1, 2, 4, 1},
        {nc_upleft, 2, 2, 2, 1},    {nc_upleft, 2, 1, 1, 4},
        {nc_rightup, 2, 2, 3, 2},   {nc_rightup, 4, 2, 1, 1},
        {nc_upright, 2, 2, 2, 1},   {nc_upright, 2, 1, 3, 4},
    };
    auto grid = MakeGrid();
    for (const Case& c : cases) {
        int col = c.col, row = c.row;
        grid->NextCell(c.dir, lc_stop, row, col);
        EXPECT_EQ(col, c.toCol) << c.dir << " from " << c.col << "," << c.row;
        EXPECT_EQ(row, c.toRow) << c.dir << " from " << c.col << "," << c.row;
    }
}

TEST(AligridNextCell, PastTheLastCellOfEveryDirectionByEndRule) {
    // Each direction from its last cell; expected cell and grid size for the
    // rules "new line" and "first", and (-1, -1) for stop and exit.
    struct Case { T_nextcell dir; int col, row; int newCol, newRow, cols, rows; int firstCol, firstRow; };
    const Case cases[] = {
        {nc_rightdown, 4, 4, 1, 5, 5, 6, 1, 1},
        {nc_downright, 4, 4, 5, 1, 6, 5, 1, 1},
        {nc_leftdown, 1, 4, 4, 5, 5, 6, 4, 1},
        {nc_downleft, 1, 4, 1, 1, 6, 5, 4, 1},
        {nc_leftup, 1, 1, 4, 1, 5, 6, 4, 4},
        {nc_upleft, 1, 1, 1, 4, 6, 5, 4, 4},
        {nc_rightup, 4, 1, 1, 1, 5, 6, 1, 4},
        {nc_upright, 4, 1, 5, 4, 6, 5, 1, 4},
    };
    for (const Case& c : cases) {
        auto grid = MakeGrid();
        int col = c.col, row = c.row;
        grid->NextCell(c.dir, lc_newcolrow, row, col);
        EXPECT_EQ((TGridCoord{col, row}), (TGridCoord{c.newCol, c.newRow})) << "new line, direction " << c.dir;
        EXPECT_EQ(grid->ColCount(), c.cols) << c.dir;
        EXPECT_EQ(grid->RowCount(), c.rows) << c.dir;

        for (T_lastcell rule : {lc_first, lc_stop, lc_exit}) {
            auto other = MakeGrid();
            col = c.col, row = c.row;
            other->NextCell(c.dir, rule, row, col);
            const TGridCoord expected = rule == lc_first ? TGridCoord{c.firstCol, c.firstRow} : TGridCoord{-1, -1};
            EXPECT_EQ((TGridCoord{col, row}), expected) << "rule " << rule << ", direction " << c.dir;
            EXPECT_EQ(other->RowCount(), 5);
            EXPECT_EQ(other->ColCount(), 5);
        }
    }
}

TEST(AligridNextCell, InsertedLinesTakeTheirSettingsAlong) {
    auto grid = MakeGrid();
    grid->SetAlignRow(1, alCenter);
    int col = 4, row = 1;
    grid->NextCell(nc_rightup, lc_newcolrow, row, col);  // a row inserted above row 1
    EXPECT_EQ((TGridCoord{col, row}), (TGridCoord{1, 1}));
    EXPECT_EQ(grid->GetAlignCell(2, 1), alLeft);
    EXPECT_EQ(grid->GetAlignCell(2, 2), alCenter);
}

TEST(AligridNextCell, EditableSearchEndsWithoutEditableCells) {
    auto grid = MakeGrid();
    grid->SetEditable(false);
    for (T_lastcell rule : {lc_first, lc_stop}) {
        grid->SetAfterLastCellEdit(rule);
        int col = 2, row = 2;
        grid->NextEditableCell(col, row);
        EXPECT_EQ((TGridCoord{col, row}), (rule == lc_first ? TGridCoord{2, 2} : TGridCoord{-1, -1}));
    }
    // From a fixed cell the walk never comes back to its start.
    grid->SetAfterLastCellEdit(lc_first);
    int col = 0, row = 2;
    grid->NextEditableCell(col, row);
    EXPECT_EQ((TGridCoord{col, row}), (TGridCoord{0, 2}));
    grid->SetEditCell(3, 1, true);
    grid->NextEditableCell(col, row);
    EXPECT_EQ((TGridCoord{col, row}), (TGridCoord{3, 1}));
}

// ---------------------------------------------------------------- Tab

namespace {

class AligridTab : public ::testing::Test {
protected:
    void SetUp() override {
        grid = MakeGrid();
        grid->SetOptions(grid->Options() + goTabs);
    }
    void Tab(bool shift = false) {
        uint16_t key = VK_TAB;
        grid->KeyDown(key, shift ? TShiftState{ssShift} : TShiftState{});
        EXPECT_EQ(key, 0);
    }
    TGridCoord Current() { return {grid->Col(), grid->Row()}; }
    std::unique_ptr<TStringAlignGrid> grid;
};

} // namespace

TEST_F(AligridTab, ShiftTabGoesBackAndToTheRowAbove) {
    grid->FocusCell(2, 3);
    Tab(true);
    EXPECT_EQ(Current(), (TGridCoord{1, 3}));
    Tab(true);
    EXPECT_EQ(Current(), (TGridCoord{4, 2}));
    Tab();
    EXPECT_EQ(Current(), (TGridCoord{1, 3}));
}

TEST_F(AligridTab, PassesOverColumnsThatAreNoTabStop) {
    grid->SetTabStops(2, false);
    grid->SetTabStops(3, false);
    grid->FocusCell(1, 1);
    Tab();
    EXPECT_EQ(Current(), (TGridCoord{4, 1}));
    Tab();
    EXPECT_EQ(Current(), (TGridCoord{1, 2}));
    grid->FocusCell(4, 4);
    Tab();  // past the end: the first cell again (lc_first)
    EXPECT_EQ(Current(), (TGridCoord{1, 1}));
    grid->SetAfterLastCellTab(lc_stop);
    grid->FocusCell(4, 4);
    Tab();
    EXPECT_EQ(Current(), (TGridCoord{4, 4}));
}

TEST_F(AligridTab, NoTabStopAnywhereStaysAndAddsNoRows) {
    for (int c = 0; c < grid->ColCount(); ++c)
        grid->SetTabStops(c, false);
    for (T_lastcell rule : {lc_newcolrow, lc_first, lc_stop}) {
        grid->SetAfterLastCellTab(rule);
        grid->FocusCell(4, 4);
        Tab();
        EXPECT_EQ(Current(), (TGridCoord{4, 4}));
        EXPECT_EQ(grid->RowCount(), 5);
    }
    grid->SetTabStops(0, true);  // a fixed column is no place to go either
    Tab();
    EXPECT_EQ(Current(), (TGridCoord{4, 4}));
    EXPECT_EQ(grid->RowCount(), 5);
}

TEST_F(AligridTab, NewRowRuleAppendsOneRowAtTheEnd) {
    grid->SetAfterLastCellTab(lc_newcolrow);
    grid->FocusCell(4, 4);
    Tab();
    EXPECT_EQ(Current(), (TGridCoord{1, 5}));
    EXPECT_EQ(grid->RowCount(), 6);
}

// ---------------------------------------------------------------- clipboard

TEST(AligridClipboard, CopyWritesEveryCellWithItsSeparatorThenCrLf) {
    auto grid = MakeGrid();
    grid->SetCells(1, 1, "a");
    grid->SetCells(2, 1, "b");
    grid->SetCells(1, 2, "c");
    grid->SetCells(2, 2, "d");
    EXPECT_EQ(grid->CopyToStream('\t', {1, 1, 2, 2})->Text(), "a\tb\t\r\nc\td\t\r\n");
    // Edges before their opposite or negative reach to the grid's last line; a
    // negative left or top becomes 0.
    EXPECT_EQ(grid->CopyToStream(';', {2, 2, 1, -1})->Text(), "d;;;\r\n;;;\r\n;;;\r\n");
    EXPECT_EQ(grid->CopyToStream(';', {-3, -3, 1, 0})->Text(), ";;\r\n");
    ClipboardScope clip;
    grid->CopyToClipboard('\t', {1, 1, 2, 2});
    EXPECT_EQ(clip.Text(), "a\tb\t\r\nc\td\t\r\n");
}

TEST(AligridClipboard, PasteFillsTheRangeFromItsTopLeftCell) {
    auto grid = MakeGrid();
    TMemoryStream text(std::string("a\tb\t\r\nc\td\t\r\n"));
    grid->PasteFromStream(text, '\t', {2, 2, 2, 2});
    EXPECT_EQ(Row(*grid, 2), "||a||");  // a single cell takes only "a"
    EXPECT_EQ(Row(*grid, 3), "||||");

    grid->PasteFromStream(text, '\t', {1, 1, 0, 0});  // unlimited
    EXPECT_EQ(Row(*grid, 1), "|a|b||");
    EXPECT_EQ(Row(*grid, 2), "|c|d||");

    TMemoryStream gaps(std::string("x\t\ty\n\nz\rw"));
    grid->PasteFromStream(gaps, '\t', {2, 1, -1, -1});
    EXPECT_EQ(Row(*grid, 1), "|a|x||y");  // an empty field empties its cell
    EXPECT_EQ(Row(*grid, 2), "|c|d||");   // an empty line leaves its row
    EXPECT_EQ(Row(*grid, 3), "||z||");
    EXPECT_EQ(Row(*grid, 4), "||w||");
}

TEST(AligridClipboard, PasteWritesOnlyInsideTheGrid) {
    auto grid = MakeGrid(3, 3);
    TMemoryStream text(std::string("1\t2\t3\t4\r\n5\t6\t7\t8\r\n9\r\n"));
    grid->PasteFromStream(text, '\t', {1, 1, -1, -1});
    EXPECT_EQ(grid->ColCount(), 3);
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(Row(*grid, 1), "|1|2");
    EXPECT_EQ(Row(*grid, 2), "|5|6");
    grid->PasteFromStream(text, '\t', {7, 9, -1, -1});  // starting outside
    grid->PasteFromStream(text, '\t', {-5, -5, -9, -9});  // negative top-left: from (0, 0)
    EXPECT_EQ(Row(*grid, 0), "1|2|3");
    EXPECT_EQ(grid->ColCount(), 3);
    EXPECT_EQ(grid->RowCount(), 3);
}

TEST(AligridClipboard, PastedControlCharactersAndNulBytesAreDropped) {
    auto grid = MakeGrid();
    const char raw[] = "a\0b\x01\t\x1B" "c\x7F\t\r\nd\0\0\0";
    const std::string dirty(raw, sizeof raw - 1);
    TMemoryStream text(dirty);
    grid->PasteFromStream(text, '\t', {1, 1, -1, -1});
    EXPECT_EQ(Row(*grid, 1), "|ab|c||");
    EXPECT_EQ(Row(*grid, 2), "|d|||");
}

TEST(AligridClipboard, KeyboardCutCopyAndPasteWorkOnTheSelection) {
    ClipboardScope clip;
    auto grid = MakeGrid();
    grid->SetOptions(grid->Options() + goEditing);
    grid->SetCells(1, 1, "a");
    grid->SetCells(2, 1, "b");
    grid->SetSelection({1, 1, 2, 1});
    uint16_t key = VK_INSERT;
    grid->KeyDown(key, {ssCtrl});
    EXPECT_EQ(clip.Text(), "a\tb\t\r\n");

    grid->SetEditCell(2, 1, false);  // the user may not change that cell
    key = VK_DELETE;
    grid->KeyDown(key, {ssShift});
    EXPECT_EQ(Row(*grid, 1), "||b||");

    clip.SetText("x\ty\r\n");
    grid->SetSelection({1, 2, 1, 2});
    key = VK_INSERT;
    grid->KeyDown(key, {ssShift});
    EXPECT_EQ(Row(*grid, 2), "|x|||");

    grid->SetOptions(grid->Options() - goEditing);  // a read-only grid is not pasted into
    grid->SetSelection({3, 3, 3, 3});
    grid->SendMessage(WM_PASTE, 0, 0);
    EXPECT_EQ(grid->Cells(3, 3), "");
    grid->SendMessage(WM_CUT, 0, 0);
    EXPECT_EQ(clip.Text(), "\t\r\n");
}

TEST(AligridClipboard, LongTextGoesThroughTheClipboardWhole) {
    ClipboardScope clip;
    auto grid = MakeGrid(2, 2);
    std::string cell(32769 - 3, 'q');  // with its Tab, CR and LF: 32769 bytes
    grid->SetCells(1, 1, cell);
    grid->CopyToClipboard('\t', {1, 1, 1, 1});
    EXPECT_EQ(clip.Text().size(), 32769u);
    grid->SetCells(1, 1, "");
    grid->PasteFromClipboard('\t', {1, 1, 1, 1});
    EXPECT_EQ(grid->Cells(1, 1), cell);
}

TEST(AligridClipboard, SystemClipboardCarriesTheText) {
    TQtClipboard qt;
    SetClipboard(&qt);
    auto grid = MakeGrid();
    grid->SetCells(1, 1, "žluť");
    grid->SetCells(2, 1, "kůň");
    grid->CopyToClipboard('\t', {1, 1, 2, 1});
    grid->PasteFromClipboard('\t', {1, 3, 2, 3});
    SetClipboard(nullptr);
    EXPECT_EQ(Row(*grid, 3), "|žluť|kůň||");
}

// ---------------------------------------------------------------- sorting

TEST(AligridSort, RowsByAColumnCarryTheirSettingsAndHints) {
    auto grid = MakeGrid(3, 5);
    const char* keys[] = {"b", "a", "c", "a"};
    for (int r = 1; r <= 4; ++r) {
        grid->SetCells(0, r, keys[r - 1]);
        grid->SetCells(1, r, std::to_string(r));
        grid->SetHintCell(2, r, std::string("hint ") + keys[r - 1] + std::to_string(r));
    }
    grid->SetAlignRow(3, alCenter);       // row "c"
    grid->SetColorCell(1, 1, clRed);      // row "b"
    grid->SortCells(0, 1, 4, true, true);
    EXPECT_EQ(Column(*grid, 0), "|a|a|b|c");
    EXPECT_EQ(grid->Cells(1, 3), "1");
    EXPECT_EQ(grid->Cells(1, 4), "3");
    EXPECT_EQ(grid->GetAlignCell(1, 4), alCenter);
    EXPECT_EQ(grid->GetColorCell(1, 3), clRed);
    EXPECT_EQ(grid->GetHintCell(2, 4), "hint c3");
    EXPECT_EQ(grid->GetHintCell(2, 3), "hint b1");
    for (int r = 1; r <= 2; ++r)
        EXPECT_EQ(grid->GetHintCell(2, r), "hint a" + grid->Cells(1, r));

    grid->SortCells(0, 1, 4, true, false);
    EXPECT_EQ(Column(*grid, 0), "|c|b|a|a");
    EXPECT_EQ(grid->GetAlignCell(1, 1), alCenter);
}

TEST(AligridSort, SortOrderIsByCharacterCodesAndReplaceable) {
    auto grid = MakeGrid(2, 9);
    const char* keys[] = {"b", "B", "a", "10", "9", "", "Ž", "A"};
    for (int r = 1; r <= 8; ++r)
        grid->SetCells(1, r, keys[r - 1]);
    grid->SortCells(1, 1, 8, true, true);
    EXPECT_EQ(Column(*grid, 1), "||10|9|A|B|a|b|Ž");
    grid->OnCompareCol = [](TStringAlignGrid* g, int col, int r1, int r2) {
        const size_t a = g->Cells(col, r1).size(), b = g->Cells(col, r2).size();
        return a < b ? rel_less : a == b ? rel_equal : rel_greater;
    };
    grid->SortCells(1, 1, 8, true, false);
    EXPECT_EQ(grid->Cells(1, 1).size(), 2u);  // the longest first
    EXPECT_EQ(grid->Cells(1, 8), "");
}

TEST(AligridSort, ColumnsByARowAndRangesOutsideTheGrid) {
    auto grid = MakeGrid(5, 2);
    const char* keys[] = {"d", "b", "c", "a"};
    for (int c = 1; c <= 4; ++c) {
        grid->SetCells(c, 1, keys[c - 1]);
        grid->SetCells(c, 0, std::string("h") + keys[c - 1]);
    }
    grid->SetAlignCol(1, alRight);  // column "d"
    grid->SortCells(1, 1, 99, false, true);
    EXPECT_EQ(Row(*grid, 1), "|a|b|c|d");
    EXPECT_EQ(Row(*grid, 0), "|ha|hb|hc|hd");
    EXPECT_EQ(grid->GetAlignCell(4, 1), alRight);
}

TEST(AligridSort, LargeRangesSortCorrectly) {
    auto grid = MakeGrid(2, 401);
    uint32_t seed = 12345;
    for (int r = 1; r <= 400; ++r) {
        seed = seed * 1103515245u + 12345u;
        grid->SetCells(1, r, std::to_string(100 + (seed >> 16) % 50));
    }
    grid->SortCells(1, 1, 400, true, true);
    for (int r = 2; r <= 400; ++r)
        ASSERT_LE(grid->Cells(1, r - 1), grid->Cells(1, r)) << r;
}

// ---------------------------------------------------------------- lines

TEST(AligridLines, InsertRowAboveTheCurrentRowKeepsTheEditorOnItsText) {
    auto grid = MakeGrid();
    grid->SetOptions(grid->Options() + goEditing);
    grid->resize(300, 200);
    grid->show();
    std::vector<std::string> events;
    grid->OnBeforeEdit = [&](TStringAlignGrid*, int c, int r) {
        events.push_back("before " + std::to_string(c) + "," + std::to_string(r));
    };
    grid->OnAfterEdit = [&](TStringAlignGrid*, int c, int r) {
        events.push_back("after " + std::to_string(c) + "," + std::to_string(r));
    };
    grid->SetCells(2, 2, "edited");
    grid->SetAlignRow(2, alCenter);
    grid->SetHintCell(2, 2, "tip");
    grid->GetFontCell(2, 2).SetHeight(-30);
    grid->FocusCell(2, 2);
    grid->ShowEditor();
    grid->DeliverPostedMessages();
    grid->InsertRow(1);
    grid->DeliverPostedMessages();
    EXPECT_EQ(grid->RowCount(), 6);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(Column(*grid, 2), "|||edited||");
    EXPECT_TRUE(grid->InplaceEditor()->Visible());
    EXPECT_EQ(grid->InplaceEditor()->Text(), "edited");
    // The editor's cell moved with its row: the edit goes on, nothing ends or begins.
    EXPECT_EQ(grid->AlignEditor()->EditRow, 3);
    EXPECT_EQ(events, std::vector<std::string>{"before 2,2"});
    EXPECT_EQ(grid->GetAlignCell(2, 3), alCenter);
    EXPECT_EQ(grid->GetAlignCell(2, 1), alLeft);
    EXPECT_EQ(grid->GetHintCell(2, 3), "tip");
    EXPECT_EQ(grid->GetCellFont(2, 3).Height(), -30);
    EXPECT_EQ(grid->CellProperties(2, 2), nullptr);
    grid->InsertRow(0);  // never among the fixed rows
    EXPECT_EQ(grid->GetAlignCell(2, 4), alCenter);
    EXPECT_EQ(grid->Cells(2, 0), "");
    grid->InsertColumn(1);  // a column before the editor's moves it along the same way
    grid->DeliverPostedMessages();
    EXPECT_EQ(grid->Col(), 3);
    EXPECT_EQ(grid->AlignEditor()->EditCol, 3);
    EXPECT_EQ(grid->InplaceEditor()->Text(), "edited");
    EXPECT_EQ(events, std::vector<std::string>{"before 2,2"});
}

TEST(AligridLines, InsertColumnShiftsColumnSettingsButNotTheFixedOnes) {
    auto grid = MakeGrid();
    grid->SetCells(1, 1, "one");
    grid->SetAlignCol(1, alRight);
    grid->SetAlignFixedCol(2, alCenter);
    grid->SetColWidths(1, 77);
    grid->SetTabStops(1, false);
    grid->FocusCell(3, 1);
    grid->InsertColumn(1);
    EXPECT_EQ(grid->ColCount(), 6);
    EXPECT_EQ(Row(*grid, 1), "||one|||");
    EXPECT_EQ(grid->GetAlignCell(2, 1), alRight);
    EXPECT_EQ(grid->GetAlignCell(1, 1), alLeft);
    EXPECT_EQ(grid->ColWidths(2), 77);
    EXPECT_EQ(grid->ColWidths(1), 40);
    EXPECT_FALSE(grid->TabStops(2));
    EXPECT_TRUE(grid->TabStops(1));
    EXPECT_EQ(grid->FixedColProperties(2)->Alignment, alCenter);  // fixed lists stay
    EXPECT_EQ(grid->Col(), 4);
}

TEST(AligridLines, MovedAndExchangedLinesCarryTheirRecords) {
    auto grid = MakeGrid();
    for (int r = 0; r < 5; ++r)
        grid->SetCells(1, r, "r" + std::to_string(r));
    grid->SetAlignRow(1, alCenter);
    grid->SetColorCell(1, 1, clRed);
    grid->SetHintCell(1, 1, "h1");
    grid->MoveRow(1, 3);
    EXPECT_EQ(Column(*grid, 1), "r0|r2|r3|r1|r4");
    EXPECT_EQ(grid->GetAlignCell(2, 3), alCenter);
    EXPECT_EQ(grid->GetColorCell(1, 3), clRed);
    EXPECT_EQ(grid->GetHintCell(1, 3), "h1");
    EXPECT_EQ(grid->GetAlignCell(2, 1), alLeft);

    grid->SetAlignCol(2, alRight);
    grid->SetCells(2, 2, "c2");
    grid->MoveColumn(2, 4);
    EXPECT_EQ(grid->GetAlignCell(4, 2), alRight);
    EXPECT_EQ(grid->Cells(4, 2), "c2");

    int object = 0;
    grid->SetObjects(1, 2, &object);
    grid->ExchangeRows(2, 3);
    EXPECT_EQ(Column(*grid, 1), "r0|r2|r1|r3|r4");
    EXPECT_EQ(grid->Objects(1, 3), &object);
    EXPECT_EQ(grid->GetColorCell(1, 2), clRed);
    EXPECT_EQ(grid->GetHintCell(1, 2), "h1");
    grid->ExchangeColumns(1, 4);
    EXPECT_EQ(grid->GetColorCell(4, 2), clRed);
    EXPECT_EQ(grid->GetAlignCell(1, 1), alRight);
    EXPECT_EQ(grid->Cells(4, 2), "r1");
}

TEST(AligridLines, DeletedLinesTakeTheirRecordsWithThem) {
    auto grid = MakeGrid();
    grid->SetAlignRow(2, alCenter);
    grid->SetAlignRow(3, alRight);
    grid->SetColorCell(2, 3, clRed);
    grid->SetCells(2, 3, "x");
    grid->DeleteRow(2);
    EXPECT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(grid->GetAlignCell(1, 2), alRight);
    EXPECT_EQ(grid->GetColorCell(2, 2), clRed);
    EXPECT_EQ(grid->Cells(2, 2), "x");
    grid->SetRowCount(5);  // the deleted row's settings do not come back
    EXPECT_EQ(grid->GetAlignCell(1, 4), alLeft);
    EXPECT_EQ(grid->RowProperties(4), nullptr);

    grid->SetAlignCol(1, alCenter);
    grid->SetHintCell(3, 1, "h");
    grid->DeleteColumn(1);
    EXPECT_EQ(grid->GetHintCell(2, 1), "h");
    EXPECT_EQ(grid->GetAlignCell(1, 1), alLeft);
    EXPECT_EQ(grid->GetColorCell(1, 2), clRed);
}

TEST(AligridLines, LastColumnFillsTheRestButNeverGoesNegative) {
    auto grid = MakeGrid(3, 3);
    grid->SetBorderStyle(bsNone);
    grid->SetScrollBars(ssNone);
    grid->resize(200, 100);
    grid->SetAutoAdjustLastCol(true);
    EXPECT_EQ(grid->ColWidths(2), 200 - 80 - 3);
    grid->SetGridLineWidth(2);
    EXPECT_EQ(grid->ColWidths(2), 200 - 80 - 6);
    grid->SetGridLineWidth(1);
    grid->SetColWidths(1, 118);  // 40 + 118 = 158 < 200, but lines leave 200 - 158 - 3 = 39
    grid->AdjustLastCol();
    EXPECT_EQ(grid->ColWidths(2), 39);
    grid->SetColWidths(1, 158);  // the lines alone take more than what is left
    grid->SetColWidths(2, 25);
    grid->AdjustLastCol();
    EXPECT_EQ(grid->ColWidths(2), 25);
    grid->SetColWidths(1, 300);
    grid->AdjustLastCol();
    EXPECT_EQ(grid->ColWidths(2), 25);
    grid->SetColWidths(1, 40);
    grid->SetOptions(grid->Options() - goVertLine - goFixedVertLine);  // no lines, no room for them
    grid->AdjustLastCol();
    EXPECT_EQ(grid->ColWidths(2), 200 - 80);
}

TEST(AligridLines, RedrawWhileScrollFollowsTheDraggedThumb) {
    auto grid = MakeGrid(3, 40);
    grid->resize(200, 120);
    grid->show();
    QScrollBar* bar = grid->verticalScrollBar();
    ASSERT_FALSE(bar->hasTracking());  // the value changes only when the thumb is let go
    bar->setSliderDown(true);
    bar->setSliderPosition(7);
    EXPECT_EQ(grid->TopRow(), 1);
    grid->SetRedrawWhileScroll(true);
    bar->setSliderPosition(9);
    EXPECT_EQ(grid->TopRow(), 9);
    bar->setSliderDown(false);
}

TEST(AligridLines, WidthAndHeightChangesAreReported) {
    auto grid = MakeGrid();
    int cols = 0, rows = 0;
    grid->OnColWidthsChanged = [&](TStringAlignGrid*) { ++cols; };
    grid->OnRowHeightsChanged = [&](TStringAlignGrid*) { ++rows; };
    grid->SetColWidths(1, 55);
    grid->SetRowHeights(2, 33);
    EXPECT_GE(cols, 1);
    EXPECT_GE(rows, 1);
}
