// The column grid's in-place editor: suggestions, the drop-down list and its
// search, the button, and the edited-cell report.
#include "grids/HgEdit.h"

#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include "QtTestApp.h"
#include "grids/HgGrid.h"
#include "platform/TickClock.h"

namespace zeko {
namespace {

// One list column of 16 rows with the items "L" and "C", as the output types of
// the settings dialog; no fixed cells.
class Editor : public ::testing::Test {
protected:
    void SetUp() override {
        form.resize(300, 400);
        grid = new THyperGrid(&form);
        grid->SetBorderStyle(bsNone);
        grid->SetColCount(1);
        grid->SetRowCount(16);
        grid->SetFixedCols(0);
        grid->SetFixedRows(0);
        grid->SetDefaultColWidth(120);
        grid->SetOptions(grid->Options() + goEditing);
        grid->setGeometry(10, 10, 200, 340);
        column = grid->Columns().Items(0);
        column->SetControlType({hgctlComboBox});
        column->SetItems({"L", "C"});
        grid->OnComboSelection = [this](THyperGrid*, int c, int r) { selections.push_back({c, r}); };
    }
    THgInplaceEdit& Edit() {
        if (!grid->EditorMode())
            grid->ShowEditor();
        return *grid->HyperEditor();
    }
    void Press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
        QKeyEvent e(QEvent::KeyPress, key, mods, text);
        QCoreApplication::sendEvent(Edit().TextControl(), &e);
    }

    QWidget form;
    THyperGrid* grid = nullptr;
    ThgColumn* column = nullptr;
    std::vector<TGridCoord> selections;
};

TEST_F(Editor, TypingALowerCaseLetterSuggestsTheItemAndEnterTakesIt) {
    Edit().SetText("");
    Edit().TypeKey('l');
    ThgHintWindow* hint = Edit().SuggestionWindow();
    ASSERT_TRUE(hint->Visible());
    EXPECT_EQ(hint->Caption(), "L");
    EXPECT_LT(hint->BoundsRect().Top, Edit().ClientToScreen({0, 0}).Y);  // just above the cell
    Press(Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(grid->Cells(0, 0), "L");
    EXPECT_EQ(selections, (std::vector<TGridCoord>{{0, 0}}));
    EXPECT_FALSE(hint->Visible());
}

TEST_F(Editor, TheFullItemTextShowsNoSuggestion) {
    Edit().SetText("");
    Edit().TypeKey('L');
    EXPECT_FALSE(Edit().SuggestionWindow()->Visible());
    Edit().SetText("");
    Edit().TypeKey('x');
    EXPECT_FALSE(Edit().SuggestionWindow()->Visible());
}

TEST_F(Editor, WithoutAListTheGridsHandlerSuggests) {
    column->SetControlType({});
    grid->OnGetSuggestion = [](THyperGrid*, int, int, const std::string& text, std::string& s) {
        s = text == "Ve" ? "Velikonoce" : "";
    };
    Edit().SetText("V");
    EXPECT_FALSE(Edit().SuggestionWindow()->Visible());
    Edit().TypeKey('e');
    EXPECT_TRUE(Edit().SuggestionWindow()->Visible());
    EXPECT_EQ(Edit().SuggestionWindow()->Caption(), "Velikonoce");
    Edit().TypeKey('x');  // no suggestion for "Vex": the shown one goes
    EXPECT_FALSE(Edit().SuggestionWindow()->Visible());
    Edit().TypeKey(8);
    EXPECT_TRUE(Edit().SuggestionWindow()->Visible());
    grid->SetRow(1);  // leaving the cell takes the suggestion
    EXPECT_EQ(grid->Cells(0, 0), "Velikonoce");
}

TEST_F(Editor, ListHeightFollowsItsItemsAndDropDownCount) {
    column->SetItems({"a", "b", "c"});
    Edit().DropDown();
    ASSERT_TRUE(Edit().DroppedDown());
    EXPECT_EQ(Edit().ActiveList()->height(), 3 * 11 + 4);
    const int narrow = Edit().ActiveList()->width();
    Edit().CloseUp(false);
    std::vector<std::string> many;
    for (int i = 0; i < 20; ++i)
        many.push_back(std::to_string(i));
    column->SetItems(many);
    column->SetComboMaxWidth(true);
    Edit().DropDown();
    EXPECT_EQ(Edit().ActiveList()->height(), 8 * 11 + 4);
    // 16 for the scroll bar, and 4 more because the list is now wider than the editor
    EXPECT_EQ(Edit().ActiveList()->width(), narrow + 16 + 4);
    Edit().CloseUp(false);
    EXPECT_FALSE(Edit().ActiveList()->isVisible());
}

TEST_F(Editor, ListOpensBelowTheCellOrAboveItAtTheScreenBottom) {
    form.move(0, 0);
    form.show();
    Edit().DropDown();
    const int editorTop = Edit().ClientToScreen({0, 0}).Y;
    EXPECT_GT(Edit().ActiveList()->geometry().top(), editorTop);
    Edit().CloseUp(false);
    form.move(0, ScreenSize().cy - 40);
    grid->HideEditor();
    Edit().DropDown();
    EXPECT_LT(Edit().ActiveList()->geometry().bottom(), Edit().ClientToScreen({0, Edit().EditRect().Top}).Y);
    Edit().CloseUp(false);
}

TEST_F(Editor, KeysDropTheListDownMoveInItAndTakeTheItem) {
    Press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Edit().DroppedDown());
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    EXPECT_EQ(Edit().ActiveList()->ItemIndex(), 1);
    EXPECT_EQ(grid->Row(), 0);  // the keys went to the list, not to the grid
    Press(Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_FALSE(Edit().DroppedDown());
    EXPECT_EQ(grid->Cells(0, 0), "C");
    EXPECT_EQ(selections.size(), 1u);
    Press(Qt::Key_Down, Qt::AltModifier);
    Press(Qt::Key_Escape, Qt::NoModifier, "\x1b");
    EXPECT_FALSE(Edit().DroppedDown());
    EXPECT_EQ(selections.size(), 1u);
    EXPECT_TRUE(grid->EditorMode());  // Escape closed only the list
}

TEST_F(Editor, ReadOnlyColumnOpensTheListButKeepsTheCell) {
    column->SetReadOnly(true);
    grid->SetCells(0, 0, "L");
    Edit().DropDown();
    ASSERT_TRUE(Edit().DroppedDown());
    EXPECT_EQ(Edit().ActiveList()->ItemIndex(), 0);  // the cell's item is selected
    Edit().ActiveList()->SetItemIndex(1);
    Edit().CloseUp(true);
    EXPECT_EQ(grid->Cells(0, 0), "L");
    EXPECT_TRUE(selections.empty());
    EXPECT_TRUE(Edit().ReadOnly());
}

TEST_F(Editor, ListOnlyColumnsAndTheReadOnlyEventMakeTheTextReadOnly) {
    EXPECT_FALSE(Edit().ReadOnly());
    column->SetDropDownList(true);
    grid->HideEditor();
    EXPECT_TRUE(Edit().ReadOnly());
    column->SetDropDownList(false);
    grid->OnGetReadOnly = [](THyperGrid*, int, int r, bool& ro) { ro = r == 0; };
    grid->HideEditor();
    EXPECT_TRUE(Edit().ReadOnly());
}

TEST_F(Editor, PressingTheArrowDropsTheListAndAgainClosesIt) {
    THgInplaceEdit& e = Edit();
    const TRect arrow = e.ArrowRect();
    ASSERT_FALSE(IsRectEmpty(arrow));
    const int x = (arrow.Left + arrow.Right) / 2, y = (arrow.Top + arrow.Bottom) / 2;
    e.MouseDown(mbLeft, {}, x, y);
    EXPECT_TRUE(e.DroppedDown());
    EXPECT_TRUE(e.ArrowPressed());
    e.MouseUp(mbLeft, {}, x, y);
    EXPECT_FALSE(e.ArrowPressed());
    e.MouseDown(mbLeft, {}, x, y);
    EXPECT_FALSE(e.DroppedDown());
}

TEST_F(Editor, ButtonSitsAtTheRightAndShiftEnterClicksIt) {
    column->SetControlType({hgctlComboBox, hgctlButton});
    std::vector<TGridCoord> clicks;
    grid->OnButtonClick = [&](THyperGrid*, int c, int r) { clicks.push_back({c, r}); };
    THgInplaceEdit& e = Edit();
    EXPECT_EQ(e.ButtonRect().Right, e.EditRect().Right + 2);
    EXPECT_EQ(e.ButtonRect().Width(), e.ButtonWidth());
    EXPECT_EQ(e.ArrowRect().Right, e.ButtonRect().Left);
    EXPECT_EQ(e.ArrowRect().Width(), e.ComboWidth());
    EXPECT_EQ(e.ButtonRect().Top, e.EditRect().Top - 2);
    Press(Qt::Key_Return, Qt::ShiftModifier, "\r");
    EXPECT_EQ(clicks, (std::vector<TGridCoord>{{0, 0}}));
    EXPECT_TRUE(grid->EditorMode());  // the Enter was consumed
    const TRect b = e.ButtonRect();
    e.MouseDown(mbLeft, {}, b.Left + 2, b.Top + 2);
    EXPECT_TRUE(e.ButtonPressed());
    e.MouseUp(mbLeft, {}, b.Left + 2, b.Top + 2);
    EXPECT_EQ(clicks.size(), 2u);
}

TEST_F(Editor, LosingTheFocusWithAChangedTextReportsTheCell) {
    std::vector<TGridCoord> edited;
    grid->OnCellEdited = [&](THyperGrid*, int c, int r) { edited.push_back({c, r}); };
    grid->SetCells(0, 3, "C");
    grid->SetRow(3);
    Edit().DoExit();
    EXPECT_TRUE(edited.empty());
    Edit().SetText("L");
    Edit().DoExit();
    EXPECT_EQ(edited, (std::vector<TGridCoord>{{0, 3}}));
}

TEST_F(Editor, TakesTheCellsAttributes) {
    grid->OnChangeCellAttributes = [](THyperGrid*, int, int r, ThgHeading*, ThgCellStates, TColor& color, TFont& font,
                                      TAlignment&, ThgVAlignment&, TBevelCut&, TBevelCut&) {
        if (r == 2) {
            color = clYellow;
            font.SetStyle({fsBold});
        }
    };
    grid->SetRow(2);
    EXPECT_EQ(Edit().Color(), clYellow);
    EXPECT_TRUE(Edit().Font().Style().Contains(fsBold));
    grid->SetRow(3);
    EXPECT_EQ(Edit().Color(), clWindow);
}

TEST(PopupList, SearchesByWhatWasTypedWithinTwoSeconds) {
    ManualTickSource clock(100000);
    SetTickSource(&clock);
    QWidget owner;
    TPopupListbox list(&owner);
    list.SetItems({"Alfa", "Bratislava", "Brno", "Praha", "Rokycany"});
    auto type = [&](char32_t key) {
        list.SearchKey(key);
        return key;
    };
    EXPECT_EQ(type('b'), 0u);  // consumed
    EXPECT_EQ(list.ItemIndex(), 1);
    clock.Advance(1500);
    type('r');
    EXPECT_EQ(list.SearchText(), "br");
    EXPECT_EQ(list.ItemIndex(), 1);
    type('n');
    EXPECT_EQ(list.ItemIndex(), 2);
    clock.Advance(2001);
    type('r');
    EXPECT_EQ(list.SearchText(), "r");
    EXPECT_EQ(list.ItemIndex(), 4);
    EXPECT_EQ(type(8), 8u);  // Backspace goes on
    EXPECT_EQ(list.SearchText(), "");
    for (int i = 0; i < 40; ++i)
        type('z');
    EXPECT_EQ(list.SearchText().size(), 32u);
    EXPECT_EQ(list.IndexOfExact("praha"), 3);
    SetTickSource(nullptr);
}

TEST(SuggestionWindow, StaysOnTheScreenAndFitsItsText) {
    ThgHintWindow w;
    w.ActivateHint(Bounds(-50, -30, 0, 0), "Velikonoční pondělí");
    EXPECT_EQ(w.BoundsRect().Left, 0);
    EXPECT_EQ(w.BoundsRect().Top, 0);
    EXPECT_EQ(w.BoundsRect().Width(), w.Canvas().TextWidth("Velikonoční pondělí") + 8);
    const int lineHeight = w.Canvas().TextHeight("Wg");
    EXPECT_EQ(w.BoundsRect().Height(), lineHeight + 6);
    const TSize screen = ScreenSize();
    w.ActivateHint(Bounds(screen.cx - 5, screen.cy - 5, 0, 0), "x");
    EXPECT_EQ(w.BoundsRect().Right, screen.cx);
    EXPECT_EQ(w.BoundsRect().Bottom, screen.cy);
    w.hide();
    w.SetCaption("a longer text");  // a new text shows the window again, sized to it
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(w.BoundsRect().Width(), w.Canvas().TextWidth("a longer text") + 8);
    EXPECT_EQ(w.BoundsRect().Height(), lineHeight + 6);
}

} // namespace
} // namespace zeko
