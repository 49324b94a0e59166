// THyperGrid's column model on the grid: hidden columns, column counts, names,
// registry widths, display formats, cell events, fixed-cell clicks and the
// enlargement requests.
#include "grids/HgGrid.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "QtTestApp.h"
#include "grids/HgEdit.h"
#include "platform/FormatSettings.h"
#include "platform/Streams.h"
#include "platform/Registry.h"
#include "support/TempDir.h"

namespace zeko {
namespace {

// A 4-column grid with one fixed row and column, cells 50 x 20, no frame.
class HyperGrid : public ::testing::Test {
protected:
    void SetUp() override {
        grid.SetBorderStyle(bsNone);
        grid.SetScrollBars(ssNone);
        grid.SetColCount(4);
        grid.SetRowCount(4);
        grid.SetDefaultColWidth(50);
        grid.resize(400, 300);
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 4; ++r)
                grid.SetCells(c, r, std::to_string(c) + ":" + std::to_string(r));
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (int i = 0; i < grid.Columns().Count(); ++i)
            out.push_back(grid.Columns().Items(i)->Name());
        return out;
    }
    THyperGrid grid;
};

TEST_F(HyperGrid, StartsWithOneItemPerGridColumnAndItsDefaults) {
    THyperGrid fresh;
    EXPECT_EQ(fresh.Columns().Count(), fresh.ColCount());
    EXPECT_EQ(fresh.DefaultRowHeight(), 20);
    EXPECT_EQ(fresh.Version(), "2.10");
    EXPECT_EQ(fresh.HyperOptions(), (ThgOptions{hgoptDrawFocusRectangle, hgoptHighlightSelection}));
    EXPECT_EQ(fresh.HyperHighlightColor(), clHighlight);
    EXPECT_TRUE(fresh.HyperColumnClick());
    EXPECT_TRUE(fresh.AutoAcceptSuggestion());
}

TEST_F(HyperGrid, HiddenColumnKeepsItsCellsAndWidthUntilShownAgain) {
    grid.SetColWidths(1, 33);
    ThgColumn* second = grid.Columns().Items(1);
    second->SetVisible(false);
    EXPECT_EQ(grid.ColCount(), 3);
    EXPECT_EQ(grid.Cells(1, 2), "2:2");
    EXPECT_EQ(grid.GridIndexOfColumn(second), -1);
    EXPECT_EQ(grid.ColumnFromGridIndex(1), grid.Columns().Items(2));
    EXPECT_EQ(second->HiddenCells(), (std::vector<std::string>{"1:0", "1:1", "1:2", "1:3"}));

    grid.SetRowCount(6);  // new rows are empty in the hidden column too
    grid.MoveRow(1, 3);   // and it follows the rows moved meanwhile
    second->SetVisible(true);
    EXPECT_EQ(grid.ColCount(), 4);
    EXPECT_EQ(grid.ColWidths(1), 33);
    EXPECT_EQ(grid.ColWidths(3), 50);
    EXPECT_EQ(grid.Cols(1), (std::vector<std::string>{"1:0", "1:2", "1:3", "1:1", "", ""}));
    EXPECT_EQ(grid.Cells(2, 3), "2:1");
    EXPECT_TRUE(second->HiddenCells().empty());
    EXPECT_EQ(grid.GridIndexOfColumn(second), 1);
}

TEST_F(HyperGrid, RowsTakenAwayWhileAColumnIsHiddenDoNotComeBackInItLater) {
    ThgColumn* second = grid.Columns().Items(1);
    second->SetVisible(false);
    grid.SetRowCount(2);  // rows 2 and 3 go, in every column
    grid.SetRowCount(4);  // and come back empty
    second->SetVisible(true);
    EXPECT_EQ(grid.Cols(1), (std::vector<std::string>{"1:0", "1:1", "", ""}));
    EXPECT_EQ(grid.Cols(2), (std::vector<std::string>{"2:0", "2:1", "", ""}));

    second->SetVisible(false);
    grid.DeleteRow(0);  // a deleted row's text goes too
    grid.SetRowCount(4);
    second->SetVisible(true);
    EXPECT_EQ(grid.Cols(1), (std::vector<std::string>{"1:1", "", "", ""}));
}

TEST_F(HyperGrid, ColumnCountChangesAddAndFreeVisibleItems) {
    grid.SetColCount(5);
    grid.Columns().Items(4)->SetVisible(false);  // hidden: skipped when shrinking
    EXPECT_EQ(grid.ColCount(), 4);
    grid.SetColCount(2);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Column 1", "Column 2", "Column 5"}));
    grid.SetColCount(4);
    EXPECT_EQ(Names(), (std::vector<std::string>{"Column 1", "Column 2", "Column 5", "Column 3", "Column 4"}));
    EXPECT_EQ(grid.VisibleColumnCount(), 4);
}

TEST_F(HyperGrid, FindsColumnsByNameWithoutRegardToCase) {
    grid.Columns().Items(2)->SetName("Celkem");
    EXPECT_EQ(grid.ColumnByName("CELKEM"), grid.Columns().Items(2));
    try {
        grid.ColumnByName("Sjednáno");
        FAIL();
    } catch (const EhgInvalidColumnName& e) {
        EXPECT_STREQ(e.what(), "Invalid column name \"Sjednáno\"");
    }
    try {
        grid.ColumnFromGridIndex(4);
        FAIL();
    } catch (const EhgColumnIndexOutOfRange& e) {
        EXPECT_STREQ(e.what(), "THyperGrid: Column index out of range");
    }
    EXPECT_EQ(grid.GridIndexOfColumn(nullptr), -1);
}

TEST_F(HyperGrid, TheFormStreamKeepsTheVisibleColumnCount) {
    grid.Columns().Items(3)->SetVisible(false);
    TMemoryStream stream;
    TWriter writer(stream);
    WriteDefinedProperties(writer, [&](TFiler& f) { grid.DefineProperties(f); });
    THyperGrid loaded;
    loaded.BeginLoading();
    while (loaded.Columns().Count() < 5)
        loaded.Columns().Add();
    stream.SetPosition(0);
    TReader reader(stream);
    ReadDefinedProperties(reader, [&](TFiler& f) { loaded.DefineProperties(f); });
    EXPECT_EQ(loaded.ColCount(), 3);
    EXPECT_EQ(loaded.Columns().Count(), 5);  // no item added or freed
    loaded.Columns().Items(4)->SetVisible(false);
    loaded.Loaded();
    EXPECT_EQ(loaded.ColCount(), 4);

    // A damaged count (more than the items, or below 0) is passed over.
    for (int32_t damaged : {0x7FFFFFFF, 6, -1}) {
        TMemoryStream bad;
        TWriter badWriter(bad);
        WriteDefinedProperties(badWriter, [&](TFiler& f) {
            f.DefineProperty("AVisibleColumnCount", nullptr, [&](TWriter& w) { w.WriteInteger(damaged); }, true);
        });
        bad.SetPosition(0);
        TReader badReader(bad);
        ReadDefinedProperties(badReader, [&](TFiler& f) { loaded.DefineProperties(f); });
        EXPECT_EQ(loaded.ColCount(), 4) << damaged;
    }
}

TEST_F(HyperGrid, UserColumnMoveReordersTheItems) {
    ThgColumn* first = grid.Columns().Items(1);
    grid.MoveColumn(1, 3);
    EXPECT_EQ(grid.ColumnFromGridIndex(3), first);
    EXPECT_EQ(grid.Cells(3, 1), "1:1");
    EXPECT_EQ(first->Index(), 3);
}

class RegistryWidths : public HyperGrid {
protected:
    void SetUp() override {
        HyperGrid::SetUp();
        SetRegistryFilePath(dir / "registry.reg");
    }
    void TearDown() override { SetRegistryFilePath(std::nullopt); }
    test::TempDir dir;
};

TEST_F(RegistryWidths, LoadSetsTheColumnsItKnowsAndSkipsTheRest) {
    {
        TRegistry reg;
        reg.OpenKey("SOFTWARE\\Vadro\\ColWidths800\\Denni", true);
        reg.WriteInteger("Column 1", 75);
        reg.WriteInteger("Neznámý", 99);
        reg.WriteString("Column 2", "wide");
        reg.WriteInteger("column 3", 44);
        reg.WriteInteger("Column 4", -20);
        reg.WriteInteger("Column 5", 0x7FFFFFFF);
    }
    grid.SetColCount(5);
    grid.Columns().Items(1)->SetName("Column 2");
    grid.Columns().Items(2)->SetVisible(false);  // "Column 3": applied to shown columns only
    EXPECT_NO_THROW(grid.LoadColumnWidths("SOFTWARE\\Vadro\\ColWidths800\\Denni"));
    EXPECT_EQ(grid.ColWidths(0), 75);
    EXPECT_EQ(grid.ColWidths(1), 50);
    EXPECT_EQ(grid.ColWidths(2), 50);  // Column 4: a negative width is damage, skipped
    EXPECT_EQ(grid.ColWidths(3), 50);  // Column 5: so is one no screen could show
    EXPECT_EQ(grid.Columns().Items(2)->SavedWidth(), 50);
    EXPECT_NO_THROW(grid.LoadColumnWidths("SOFTWARE\\Vadro\\Missing"));
    EXPECT_NO_THROW(grid.LoadColumnWidths("  "));
}

TEST_F(RegistryWidths, SavedWidthsReadBackAndTheGridSavesItsKeyWhenFreed) {
    grid.SetColWidths(2, 61);
    grid.SaveColumnWidths("SOFTWARE\\Vadro\\ColWidths1024\\Rocni");
    {
        THyperGrid other;
        other.SetColCount(4);
        other.LoadColumnWidths("SOFTWARE\\Vadro\\ColWidths1024\\Rocni");
        EXPECT_EQ(other.ColWidths(2), 61);
        other.SetColWidths(3, 17);
        other.SetColumnsRegistryKey("SOFTWARE\\Vadro\\Own");
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Vadro\\Own", false));
    EXPECT_EQ(reg.ReadInteger("Column 4"), 17);
}

TEST_F(HyperGrid, NumericDisplayFormats) {
    auto& fs = FormatSettings();
    const TFormatSettings keep = fs;
    fs.ThousandSeparator = ',';
    fs.DecimalSeparator = '.';
    ThgColumn* c = grid.Columns().Items(1);
    c->SetFormatType(hgfmtNumeric);
    c->SetDecimals(0);
    c->SetNegativeParenthesis(true);
    grid.SetCells(1, 1, "-1234");
    std::string s;
    grid.GetDisplayText(1, 1, s);
    EXPECT_EQ(s, "(1,234)");
    c->SetDecimals(2);
    c->SetThousandsSeparator(false);
    c->SetNegativeParenthesis(false);
    c->SetPrefix("$");
    grid.SetCells(1, 1, "1234.5");
    grid.GetDisplayText(1, 1, s);
    EXPECT_EQ(s, "$1234.50");
    c->SetFormatType(hgfmtScientific);
    c->SetDecimals(1);
    grid.GetDisplayText(1, 1, s);
    EXPECT_EQ(s, "1.2E+03");
    fs = keep;
}

TEST_F(HyperGrid, DateColumnShowsABadTextUnchangedAndReportsItOnce) {
    ThgColumn* c = grid.Columns().Items(2);
    c->SetFormatType(hgfmtDateTime);
    c->SetDateFormat(2);
    c->SetTimeFormat(-1);
    int errors = 0;
    grid.OnConversionError = [&](THyperGrid*, int, int, ThgColumn* column, std::string& text) {
        ++errors;
        EXPECT_EQ(column, c);
        EXPECT_EQ(text, "x");
    };
    grid.SetCells(2, 1, "x");
    std::string s;
    grid.GetDisplayText(2, 1, s);
    EXPECT_EQ(s, "x");
    EXPECT_EQ(errors, 1);
    grid.SetCells(2, 1, "15.03.2024");
    grid.GetDisplayText(2, 1, s);
    EXPECT_EQ(s, "15.03.24");
    c->SetDateFormat(-1);
    c->SetTimeFormat(0);
    grid.SetCells(2, 1, "8:05");
    grid.GetDisplayText(2, 1, s);
    EXPECT_EQ(s, "8:05");
}

TEST_F(HyperGrid, DisplayTextHandlerMayStopTheConversion) {
    grid.Columns().Items(1)->SetFormatType(hgfmtNumeric);
    grid.SetCells(1, 1, "x");
    grid.OnDisplayText = [](THyperGrid*, int, int, ThgColumn*, std::string& text, bool& convert) {
        text += "!";
        convert = false;
    };
    std::string s;
    grid.GetDisplayText(1, 1, s);
    EXPECT_EQ(s, "x!");
}

TEST_F(HyperGrid, RefusedExitKeepsTheCellAlsoAcrossRows) {
    std::vector<std::string> events;
    grid.OnExitCell = [&](THyperGrid*, int c, int r, bool& can) {
        events.push_back("exit cell " + std::to_string(c) + "," + std::to_string(r));
        can = c != 2;
    };
    grid.OnExitRow = [&](THyperGrid*, int, int r, bool&) { events.push_back("exit row " + std::to_string(r)); };
    grid.OnEnterRow = [&](THyperGrid*, int, int r) { events.push_back("enter row " + std::to_string(r)); };
    grid.OnEnterCell = [&](THyperGrid*, int c, int r) {
        events.push_back("enter cell " + std::to_string(c) + "," + std::to_string(r));
    };
    grid.SetRow(2);
    EXPECT_EQ(events, (std::vector<std::string>{"exit cell 1,1", "exit row 1", "enter row 2", "enter cell 1,2"}));
    events.clear();
    grid.SetCol(2);
    EXPECT_EQ(grid.Col(), 2);
    events.clear();
    uint16_t down = VK_DOWN;
    grid.KeyDown(down, {});
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(events, (std::vector<std::string>{"exit cell 2,2", "exit row 2"}));
}

TEST_F(HyperGrid, FitRequestsOnlyEverGrowAColumnOrRow) {
    grid.SendMessage(HGM_ADJUSTCOLWIDTH, 1, 90);
    EXPECT_EQ(grid.ColWidths(1), 90);
    grid.SendMessage(HGM_ADJUSTCOLWIDTH, 1, 70);  // a narrower cell of the same column
    EXPECT_EQ(grid.ColWidths(1), 90);
    grid.SendMessage(HGM_ADJUSTROWHEIGHT, 2, 35);
    grid.SendMessage(HGM_ADJUSTROWHEIGHT, 2, 25);
    EXPECT_EQ(grid.RowHeights(2), 35);
    grid.SetOptions(grid.Options() + goColSizing);  // the user sizes columns himself
    grid.SendMessage(HGM_ADJUSTCOLWIDTH, 1, 120);
    EXPECT_EQ(grid.ColWidths(1), 90);
}

TEST_F(HyperGrid, PaintingATooWideTextWidensItsColumnOnce) {
    grid.SetHyperAdjustColWidth(true);
    grid.SetCells(1, 1, "a rather long text for a cell");
    grid.SetCells(1, 2, "a long text");
    grid.PaintToImage();
    grid.DeliverPostedMessages();
    const int widened = grid.ColWidths(1);
    EXPECT_GT(widened, 50);
    grid.PaintToImage();
    grid.DeliverPostedMessages();
    EXPECT_EQ(grid.ColWidths(1), widened);
}

// Fixed cells and headings as buttons.
class FixedClicks : public HyperGrid {
protected:
    void SetUp() override {
        HyperGrid::SetUp();
        grid.SetRowHeights(0, 40);
        grid.Headings().Add()->SetCaption("Heading");
        for (int c = 1; c <= 3; ++c)
            grid.Columns().Items(c)->SetHeadingIndex(0);
        grid.Columns().Items(3)->SetHeadingIndex(-1);
        grid.OnFixedCellClick = [this](THyperGrid*, int c, int r, int h, TMouseButton, TShiftState, int, int) {
            clicks.push_back({c, r, h});
        };
    }
    struct Click {
        int col, row, heading;
        friend bool operator==(const Click&, const Click&) = default;
    };
    std::vector<Click> clicks;
};

TEST_F(FixedClicks, ATitlePressAndReleaseOverItClicks) {
    grid.MouseDown(mbLeft, {}, 80, 30);  // column 1's title, lower half
    EXPECT_TRUE(grid.Pressing());
    EXPECT_TRUE(grid.PressInside());
    grid.MouseUp(mbLeft, {}, 80, 32);
    EXPECT_EQ(clicks, (std::vector<Click>{{1, 0, -1}}));
    EXPECT_FALSE(grid.Pressing());
    grid.MouseDown(mbLeft, {}, 80, 30);
    grid.MouseMove({ssLeft}, 180, 30);
    EXPECT_FALSE(grid.PressInside());
    grid.MouseUp(mbLeft, {}, 180, 30);  // released elsewhere: no click
    EXPECT_EQ(clicks.size(), 1u);
    grid.MouseDown(mbLeft, {}, 20, 70);  // a row title
    grid.MouseUp(mbLeft, {}, 20, 70);
    EXPECT_EQ(clicks.back(), (Click{0, 2, -1}));
}

TEST_F(FixedClicks, AHeadingReleasedOverAnotherOfItsColumnsClicksThere) {
    EXPECT_EQ(grid.HeadingIndexAt(80, 5), 0);
    EXPECT_EQ(grid.HeadingIndexAt(80, 25), -1);
    EXPECT_EQ(grid.HeadingIndexAt(170, 5), -1);  // column 3 carries no heading
    grid.MouseDown(mbLeft, {}, 80, 5);
    EXPECT_EQ(grid.PressHeading(), 0);
    grid.MouseMove({ssLeft}, 120, 6);
    EXPECT_TRUE(grid.PressInside());
    grid.MouseUp(mbLeft, {}, 120, 6);
    EXPECT_EQ(clicks, (std::vector<Click>{{2, 0, 0}}));
}

TEST_F(FixedClicks, SizingZoneStartsSizingNotAClick) {
    grid.SetOptions(grid.Options() + goColSizing);
    grid.MouseDown(mbLeft, {}, 98, 30);  // 3 pixels left of column 1's right edge
    EXPECT_FALSE(grid.Pressing());
    grid.MouseMove({ssLeft}, 118, 30);
    grid.MouseUp(mbLeft, {}, 118, 30);
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(grid.ColWidths(1), 70);
}

TEST_F(FixedClicks, BeforeClickHandlerMayRefuse) {
    grid.OnBeforeFixedCellClick = [](THyperGrid*, int, int, int, bool& can) { can = false; };
    grid.MouseDown(mbLeft, {}, 80, 30);
    EXPECT_FALSE(grid.Pressing());
    grid.MouseUp(mbLeft, {}, 80, 30);
    EXPECT_TRUE(clicks.empty());
    grid.OnBeforeFixedCellClick = nullptr;
    grid.SetHyperColumnClick(false);
    grid.MouseDown(mbLeft, {}, 80, 30);
    grid.MouseUp(mbLeft, {}, 80, 30);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(HyperGrid, EditorIsTheColumnGridsOwn) {
    grid.SetOptions(grid.Options() + goEditing);
    grid.ShowEditor();
    ASSERT_NE(grid.HyperEditor(), nullptr);
    EXPECT_NE(dynamic_cast<THgInplaceEdit*>(grid.InplaceEditor()), nullptr);
    grid.Columns().Items(1)->SetMaxTextLength(3);
    grid.HideEditor();
    grid.ShowEditor();
    grid.InplaceEditor()->SetText("");
    for (char ch : std::string("12345"))
        grid.InplaceEditor()->TypeKey(static_cast<char32_t>(ch));
    EXPECT_EQ(grid.Cells(1, 1), "123");
}

} // namespace
} // namespace zeko
