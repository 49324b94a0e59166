// Settings resolved per cell, column and row, the editing protocol, hints and
// clicks of the alignment grid.
#include <gtest/gtest.h>

#include <vector>

#include "AligridTestSupport.h"

using namespace zeko;
using namespace zeko::aligrid_test;

TEST(AligridSettings, CellBeforeColumnBeforeRowBeforeGrid) {
    auto grid = MakeGrid();
    grid->SetAlignCol(2, alCenter);
    grid->SetAlignCell(2, 3, alRight);
    grid->SetAlignRow(3, alCenter);
    EXPECT_EQ(grid->GetAlignCell(2, 3), alRight);
    EXPECT_EQ(grid->GetAlignCell(2, 1), alCenter);
    EXPECT_EQ(grid->GetAlignCell(2, 4), alCenter);
    EXPECT_EQ(grid->GetAlignCell(1, 3), alCenter);  // the row
    EXPECT_EQ(grid->GetAlignCell(1, 1), alLeft);
    grid->SetAlignment(alDefault);
    EXPECT_EQ(grid->GetAlignCell(1, 1), alLeft);  // the grid's default counts as left
    grid->SetAlignment(alRight);
    EXPECT_EQ(grid->GetAlignCell(1, 1), alRight);

    grid->SetWordwrapRow(4, ww_wordwrap);
    EXPECT_EQ(grid->GetWordwrapCell(1, 4), ww_wordwrap);
    grid->SetWordwrap(ww_default);
    EXPECT_EQ(grid->GetWordwrapCell(1, 1), ww_none);
}

TEST(AligridSettings, FixedCellsUseTheFixedLines) {
    auto grid = MakeGrid();
    grid->SetAlignCol(0, alRight);
    grid->SetAlignFixedCol(0, alCenter);
    grid->SetAlignRow(0, alRight);
    EXPECT_EQ(grid->GetAlignCell(0, 2), alCenter);  // PropFixedCol[0], not PropCol[0]
    EXPECT_EQ(grid->GetAlignCell(2, 0), alLeft);    // PropRow[0] does not reach a fixed row
    grid->SetAlignFixedRow(0, alRight);
    EXPECT_EQ(grid->GetAlignCell(2, 0), alRight);
    EXPECT_EQ(grid->GetAlignCell(0, 0), alCenter);  // the corner: fixed column first

    EXPECT_EQ(grid->GetCellBrush(0, 2).Color(), clBtnFace);
    grid->SetFixedColor(clTeal);
    EXPECT_EQ(grid->GetCellBrush(2, 0).Color(), clTeal);
    EXPECT_EQ(grid->GetCellBrush(2, 2).Color(), grid->Color());
}

TEST(AligridSettings, FixedCellsFollowTheGridFontUntilTheirOwnChanges) {
    auto grid = MakeGrid();
    grid->Font().SetHeight(-17);
    EXPECT_EQ(grid->GetCellFont(0, 1).Height(), -17);
    EXPECT_EQ(&grid->GetCellFont(0, 1), &grid->FixedFont());
    grid->FixedFont().SetStyle({fsBold});
    grid->Font().SetHeight(-9);
    EXPECT_EQ(grid->GetCellFont(0, 1).Height(), -17);
    EXPECT_EQ(grid->GetCellFont(1, 1).Height(), -9);
}

TEST(AligridSettings, EditabilityChain) {
    auto grid = MakeGrid();
    grid->SetEditable(false);
    grid->SetEditCol(2, true);
    grid->SetEditCell(2, 3, false);
    grid->SetEditRow(4, true);
    EXPECT_TRUE(grid->GetEditCell(2, 1));
    EXPECT_FALSE(grid->GetEditCell(2, 3));
    EXPECT_TRUE(grid->GetEditCell(1, 4));
    EXPECT_FALSE(grid->GetEditCell(1, 1));
}

TEST(AligridSettings, OwnFontsAndBrushesStartAsCopiesOfTheGrids) {
    auto grid = MakeGrid();
    grid->Font().SetName("DejaVu Sans");
    TMyFont& font = grid->GetFontCell(1, 1);
    EXPECT_EQ(font.Name(), "DejaVu Sans");
    EXPECT_FALSE(font.Changed);
    font.SetColor(clRed);
    EXPECT_TRUE(font.Changed);
    EXPECT_EQ(&grid->GetFontCell(1, 1), &font);  // made once
    EXPECT_EQ(grid->GetCellFont(1, 1).Color(), clRed);
    EXPECT_EQ(&grid->GetCellFont(1, 2), &grid->Font());

    grid->SetColor(clAqua);
    TMyBrush& brush = grid->GetBrushRow(3);
    EXPECT_EQ(brush.Color(), clAqua);
    EXPECT_FALSE(brush.Changed);
    grid->GetBrushCol(2).SetColor(clLime);
    EXPECT_EQ(grid->GetColorCell(2, 3), clLime);  // the column before the row
    EXPECT_EQ(grid->GetColorCell(1, 3), clAqua);
    grid->SetColorCell(1, 3, clFuchsia);
    EXPECT_EQ(grid->GetColorCell(1, 3), clFuchsia);
}

TEST(AligridSettings, NegativeLinesTakeNothing) {
    auto grid = MakeGrid();
    grid->SetAlignCol(-1, alCenter);
    grid->SetEditCell(-3, 2, false);
    grid->GetFontRow(-2).SetHeight(-40);
    grid->SetColorCell(1, -1, clRed);
    EXPECT_EQ(grid->ColProperties(-1), nullptr);
    EXPECT_EQ(grid->CellProperties(1, -1), nullptr);
    EXPECT_TRUE(grid->GetEditCell(1, 2));
    EXPECT_NE(grid->GetCellFont(1, 1).Height(), -40);
}

TEST(AligridSettings, RecordCopiesKeepOrSetTheChangedFlag) {
    auto grid = MakeGrid();
    TCellProperties source(grid.get());
    source.Alignment = alCenter;
    source.Font = std::make_unique<TMyFont>();
    source.Brush = std::make_unique<TMyBrush>();
    source.Brush->SetColor(clRed);  // changed
    source.Font->Changed = false;
    auto copy = source.Clone();
    EXPECT_EQ(copy->Alignment, alCenter);
    ASSERT_TRUE(copy->Font && copy->Brush);
    EXPECT_NE(copy->Font.get(), source.Font.get());
    EXPECT_FALSE(copy->Font->Changed);
    EXPECT_TRUE(copy->Brush->Changed);
    EXPECT_EQ(copy->Brush->Color(), clRed);
    EXPECT_FALSE(copy->IsEmpty());
    copy->Assign(nullptr);
    EXPECT_TRUE(copy->IsEmpty());
}

TEST(AligridSettings, SelectionColoursSkipTheFixedLines) {
    auto grid = MakeGrid();
    EXPECT_EQ(grid->GetSelectedColorCell(1, 1), clHighlight);
    EXPECT_EQ(grid->GetSelectedFontColorCell(1, 1), clWhite);
    grid->SetSelectedColorRow(2, clGreen);
    grid->SetSelectedColorCol(3, clOlive);
    grid->SetSelectedColorCell(3, 2, clPurple);
    EXPECT_EQ(grid->GetSelectedColorCell(1, 2), clGreen);
    EXPECT_EQ(grid->GetSelectedColorCell(3, 1), clOlive);
    EXPECT_EQ(grid->GetSelectedColorCell(3, 2), clPurple);
    grid->SetSelectedCellColor(clYellow);
    EXPECT_EQ(grid->GetSelectedColorCell(1, 1), clYellow);
}

// ---------------------------------------------------------------- editing

namespace {

struct EditLog {
    std::vector<std::string> events;
    bool accept = true;

    void Attach(TStringAlignGrid& grid) {
        auto cell = [](const char* what, int c, int r) {
            return std::string(what) + " " + std::to_string(c) + "," + std::to_string(r);
        };
        grid.OnBeforeEdit = [this, cell](TStringAlignGrid*, int c, int r) { events.push_back(cell("before", c, r)); };
        grid.OnAfterEdit = [this, cell](TStringAlignGrid*, int c, int r) { events.push_back(cell("after", c, r)); };
        grid.OnCancelEdit = [this, cell](TStringAlignGrid*, int c, int r) { events.push_back(cell("cancel", c, r)); };
        grid.OnValidateEdit = [this, cell](TStringAlignGrid*, int c, int r, bool& ok) {
            events.push_back(cell("validate", c, r));
            ok = accept;
        };
    }
};

class AligridEditing : public ::testing::Test {
protected:
    void SetUp() override {
        grid = MakeGrid(4, 4);
        grid->SetOptions(grid->Options() + goEditing);
        grid->resize(300, 200);
        grid->show();
        log.Attach(*grid);
    }

    // Opens the editor on (col, row) the way typing a character does.
    void Type(int col, int row, const std::string& text) {
        grid->FocusCell(col, row);
        for (char ch : text) {
            char32_t key = static_cast<unsigned char>(ch);
            if (grid->EditorMode() && Editor())
                Editor()->TypeKey(key);
            else
                grid->KeyPress(key);
        }
        Deliver();
    }
    void Key(char32_t key) {
        Editor()->TypeKey(key);
        Deliver();
    }
    void Deliver() { grid->DeliverPostedMessages(); }
    TNewInplaceEdit* Editor() { return grid->AlignEditor(); }
    bool EditorVisible() { return Editor() && Editor()->Visible(); }

    std::unique_ptr<TStringAlignGrid> grid;
    EditLog log;
};

} // namespace

TEST_F(AligridEditing, EnterAcceptsTheEditWithBeforeValidateAfter) {
    grid->SetCells(1, 1, "old");
    Type(1, 1, "new");
    EXPECT_TRUE(EditorVisible());
    EXPECT_EQ(Editor()->OldText, "old");
    Key(U'\r');
    EXPECT_FALSE(EditorVisible());
    EXPECT_EQ(grid->Cells(1, 1), "new");
    EXPECT_EQ(log.events, (std::vector<std::string>{"before 1,1", "validate 1,1", "after 1,1"}));
    // Moving on afterwards does not end that edit a second time.
    grid->FocusCell(2, 2);
    grid->ShowEditor();
    Deliver();
    EXPECT_EQ(log.events.size(), 4u);
    EXPECT_EQ(log.events.back(), "before 2,2");
}

TEST_F(AligridEditing, RefusedValidationKeepsTheEditorOnTheTypedText) {
    grid->SetCells(2, 1, "12");
    log.accept = false;
    Type(2, 1, "x");
    Key(U'\r');
    EXPECT_TRUE(EditorVisible());
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(Editor()->Text(), "x");
    EXPECT_TRUE(grid->EditorShown());
    // Escape still gives back the text from before the edit.
    Key(27);
    EXPECT_EQ(grid->Cells(2, 1), "12");
    EXPECT_EQ(log.events, (std::vector<std::string>{"before 2,1", "validate 2,1", "cancel 2,1"}));
}

TEST_F(AligridEditing, EscapeRestoresTheTextAndCancels) {
    grid->SetCells(1, 2, "keep");
    Type(1, 2, "gone");
    Key(27);
    EXPECT_FALSE(EditorVisible());
    EXPECT_EQ(grid->Cells(1, 2), "keep");
    EXPECT_EQ(log.events, (std::vector<std::string>{"before 1,2", "cancel 1,2"}));
}

TEST_F(AligridEditing, MovingAwayWhileEditingEndsTheEdit) {
    Type(1, 1, "a");
    grid->FocusCell(2, 1);  // still in editor mode: the editor follows
    Deliver();
    EXPECT_EQ(log.events, (std::vector<std::string>{"before 1,1", "before 2,1", "validate 1,1", "after 1,1"}));
    EXPECT_EQ(Editor()->EditCol, 2);
}

TEST_F(AligridEditing, OnlyEditableCellsOpenTheEditor) {
    grid->SetEditable(false);
    grid->SetEditCell(2, 2, true);
    Type(1, 1, "a");
    EXPECT_FALSE(EditorVisible());
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(grid->Cells(1, 1), "");
    Type(2, 2, "b");
    EXPECT_TRUE(EditorVisible());
    EXPECT_EQ(grid->Cells(2, 2), "b");
    grid->SetEditAll(true);
    Key(U'\r');
    Type(1, 1, "c");
    EXPECT_EQ(grid->Cells(1, 1), "c");
}

TEST_F(AligridEditing, EditorTakesTheCellsLook) {
    grid->SetAlignCell(1, 1, alCenter);
    grid->SetColorCell(1, 1, clYellow);
    grid->GetFontCell(1, 1).SetHeight(-20);
    Type(1, 1, "x");
    EXPECT_EQ(Editor()->EditAlignment, alCenter);
    EXPECT_EQ(Editor()->Alignment(), taCenter);
    EXPECT_EQ(Editor()->Color(), clYellow);
    EXPECT_EQ(Editor()->Font().Height(), -20);
    Key(U'\r');
    grid->SetAlignCell(2, 1, alDefault);
    Type(2, 1, "y");
    EXPECT_EQ(Editor()->Alignment(), taLeftJustify);  // resolved: the grid's left
}

TEST_F(AligridEditing, AutoEditNextCellMovesToTheNextEditableCell) {
    grid->SetAutoEditNextCell(true);
    grid->SetEditCol(2, false);
    Type(1, 1, "a");
    Key(U'\r');
    EXPECT_EQ(grid->Col(), 3);  // column 2 is passed over
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_TRUE(EditorVisible());
    EXPECT_EQ(log.events.back(), "before 3,1");
}

TEST_F(AligridEditing, PastTheLastCellByEndRule) {
    grid->SetAutoEditNextCell(true);
    struct Case { T_lastcell rule; int col, row, rows; bool editing; };
    const Case cases[] = {
        {lc_newcolrow, 1, 4, 5, true},  // a new row, its first non-fixed column
        {lc_first, 1, 1, 4, true},
        {lc_stop, 3, 3, 4, false},      // stays on the last cell
    };
    for (const Case& c : cases) {
        SetUp();
        grid->SetAutoEditNextCell(true);
        grid->SetAfterLastCellEdit(c.rule);
        Type(3, 3, "z");
        Key(U'\r');
        EXPECT_EQ(grid->Col(), c.col) << c.rule;
        EXPECT_EQ(grid->Row(), c.row) << c.rule;
        EXPECT_EQ(grid->RowCount(), c.rows) << c.rule;
        EXPECT_EQ(EditorVisible(), c.editing) << c.rule;
    }
}

TEST_F(AligridEditing, MultilineEditorKeepsEnterAndTheArrows) {
    grid->SetEditMultiline(true);
    Type(1, 1, "a");
    EXPECT_TRUE(Editor()->Multiline());
    Key(U'\r');
    EXPECT_TRUE(EditorVisible());
    EXPECT_TRUE(log.events.size() == 1);
    uint16_t key = VK_DOWN;
    Editor()->KeyDown(key, {});
    EXPECT_EQ(key, VK_DOWN);  // left to the text
    EXPECT_EQ(grid->Row(), 1);
    char32_t enter = U'\r';
    grid->KeyPress(enter);  // the grid swallows Enter
    EXPECT_EQ(enter, 0u);
}

TEST_F(AligridEditing, EscapeClosesAMultilineEditorToo) {
    grid->SetEditMultiline(true);
    grid->SetCells(1, 1, "first");
    Type(1, 1, "x");
    Key(27);
    EXPECT_FALSE(EditorVisible());
    EXPECT_EQ(grid->Cells(1, 1), "first");
    EXPECT_EQ(log.events.back(), "cancel 1,1");
}

TEST_F(AligridEditing, EndEditAcceptsOrCancels) {
    grid->SetCells(1, 1, "was");
    Type(1, 1, "now");
    grid->EndEdit(false);
    EXPECT_FALSE(EditorVisible());
    EXPECT_EQ(grid->Cells(1, 1), "now");
    EXPECT_EQ(log.events.back(), "after 1,1");
    Type(2, 2, "typed");
    grid->EndEdit(true);
    Deliver();
    EXPECT_EQ(grid->Cells(2, 2), "");
    EXPECT_EQ(log.events.back(), "cancel 2,2");
}

TEST_F(AligridEditing, SelectEditTextDecidesTheOpeningSelection) {
    grid->SetCells(1, 1, "abc");
    grid->FocusCell(1, 1);
    grid->ShowEditor();
    Deliver();
    EXPECT_EQ(Editor()->SelLength(), 3);
    Key(27);
    grid->SetSelectEditText(false);
    grid->ShowEditor();
    Deliver();
    EXPECT_EQ(Editor()->SelLength(), 0);
}

TEST_F(AligridEditing, LosingTheFocusEndsTheEditAndComingBackReopensIt) {
    grid->SetOptions(grid->Options() + goAlwaysShowEditor);
    grid->SetCells(1, 1, "abc");
    grid->FocusCell(1, 1);
    Deliver();
    ASSERT_TRUE(EditorVisible());
    Editor()->SetSelStart(1);
    Editor()->SetSelLength(1);
    grid->DoExit();
    Deliver();
    EXPECT_FALSE(EditorVisible());
    EXPECT_EQ(log.events.back(), "after 1,1");
    grid->DoEnter();
    Deliver();
    ASSERT_TRUE(EditorVisible());
    EXPECT_EQ(Editor()->SelStart(), 1);  // the selection from before
    EXPECT_EQ(Editor()->SelLength(), 1);

    log.accept = false;  // a refused edit keeps the user in the cell
    grid->DoExit();
    Deliver();
    EXPECT_TRUE(EditorVisible());
    EXPECT_TRUE(grid->EditorShown());
    EXPECT_EQ(log.events.back(), "validate 1,1");
}

// ---------------------------------------------------------------- hints and clicks

TEST(AligridHints, HintTextAndPlaceComeFromTheCell) {
    auto grid = MakeGrid();
    grid->SetBorderStyle(bsNone);
    grid->resize(300, 200);
    grid->SetHintCell(2, 1, "druhý sloupec");
    std::string text;
    TCellHintInfo info;
    const TRect cell = grid->CellRect(2, 1);
    EXPECT_TRUE(grid->CellHintRequest({cell.Left + 5, cell.Top + 5}, text, info));
    EXPECT_EQ(text, "druhý sloupec");
    EXPECT_EQ(info.HintPos, grid->ClientToScreen({cell.Left, cell.Bottom + 6}));
    EXPECT_EQ(grid->LastHintCell(), (TGridCoord{2, 1}));

    EXPECT_FALSE(grid->CellHintRequest({cell.Left - 10, cell.Top + 5}, text, info));  // no hint there
    grid->OnShowHintCell = [](TStringAlignGrid*, int c, int, std::string& s, bool& canShow, TCellHintInfo&) {
        s = "col " + std::to_string(c);
        canShow = c != 3;
    };
    EXPECT_TRUE(grid->CellHintRequest({cell.Left - 10, cell.Top + 5}, text, info));
    EXPECT_EQ(text, "col 1");
    EXPECT_FALSE(grid->CellHintRequest({cell.Right + 10, cell.Top + 5}, text, info));
    grid->SetShowCellHints(false);
    EXPECT_FALSE(grid->CellHintRequest({cell.Left + 5, cell.Top + 5}, text, info));

    // A move to another cell forgets the hint cell.
    grid->SetShowCellHints(true);
    grid->CellHintRequest({cell.Left + 5, cell.Top + 5}, text, info);
    grid->MouseMove({}, cell.Left + 6, cell.Top + 6);
    EXPECT_EQ(grid->LastHintCell(), (TGridCoord{2, 1}));
    grid->MouseMove({}, cell.Right + 10, cell.Top + 6);
    EXPECT_EQ(grid->LastHintCell(), (TGridCoord{-1, -1}));
}

TEST(AligridClicks, FixedColumnAndRowHeadersReportTheirLine) {
    auto grid = MakeGrid();
    grid->SetBorderStyle(bsNone);
    grid->resize(300, 200);
    std::vector<std::string> clicks;
    grid->OnFixedColClick = [&](TStringAlignGrid*, int c) { clicks.push_back("col " + std::to_string(c)); };
    grid->OnFixedRowClick = [&](TStringAlignGrid*, int r) { clicks.push_back("row " + std::to_string(r)); };
    auto press = [&](int col, int row) {
        const TRect r = grid->CellRect(col, row);
        grid->MouseDown(mbLeft, {}, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        grid->MouseUp(mbLeft, {}, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    };
    press(3, 0);
    press(0, 2);
    press(0, 0);  // the corner raises neither
    press(2, 2);
    grid->MouseDown(mbLeft, {}, -1, 5);
    EXPECT_EQ(clicks, (std::vector<std::string>{"col 3", "row 2"}));
}
