// The hint grid: the countdown, the cell it follows and when a hint may show.
#include "grids/HgHGrid.h"

#include <QWidget>

#include <gtest/gtest.h>

#include "QtTestApp.h"
#include "grids/HgEdit.h"

namespace zeko {
namespace {

// A hint grid on a form whose activity the test decides.
class FormGrid : public THgHintGrid {
public:
    using THgHintGrid::THgHintGrid;
    bool active = true;

protected:
    bool FormIsActive() const override { return active; }
};

class HintGrid : public ::testing::Test {
protected:
    void SetUp() override {
        grid = new FormGrid(&form);
        grid->SetBorderStyle(bsNone);
        grid->SetScrollBars(ssNone);
        grid->setGeometry(0, 0, 400, 200);
    }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i)
            grid->HintTimerTick();
    }
    QWidget form;
    FormGrid* grid = nullptr;
};

TEST_F(HintGrid, WithoutAHandlerNoHintShowsHoweverLongTheMouseRests) {
    grid->MouseEnter();
    grid->MouseMove({}, 70, 30);
    EXPECT_TRUE(grid->HintTimerRunning());
    Ticks(500);
    EXPECT_FALSE(grid->HintShowing());
    EXPECT_FALSE(grid->HintWindow()->Visible());
    EXPECT_LT(grid->HintCountdown(), 0);  // runs on below zero
}

TEST_F(HintGrid, AHandlersTextShowsAfterSixtyTicks) {
    grid->OnShowCellHint = [](TCustomGrid*, int c, int r, std::string& hint, TPoint&) {
        hint = "cell " + std::to_string(c) + "," + std::to_string(r);
    };
    grid->MouseEnter();
    grid->MouseMove({}, 70, 30);
    EXPECT_EQ(grid->HintCol(), 1);
    EXPECT_EQ(grid->HintRow(), 1);
    Ticks(59);
    EXPECT_FALSE(grid->HintShowing());
    Ticks(1);
    EXPECT_TRUE(grid->HintShowing());
    EXPECT_TRUE(grid->HintWindow()->Visible());
    EXPECT_EQ(grid->HintWindow()->Caption(), "cell 1,1");
    EXPECT_FALSE(grid->HintTimerRunning());
    grid->SetHintActive(false);
    EXPECT_FALSE(grid->HintWindow()->Visible());
}

TEST_F(HintGrid, OnlyAMoveToAnotherCellRestartsTheCountdown) {
    grid->MouseEnter();
    grid->MouseMove({}, 70, 30);
    Ticks(30);
    grid->MouseMove({}, 75, 35);  // the same cell
    EXPECT_EQ(grid->HintCountdown(), 30);
    grid->MouseMove({}, 140, 35);
    EXPECT_EQ(grid->HintCountdown(), 60);
    EXPECT_EQ(grid->HintCol(), 2);
}

TEST_F(HintGrid, OutsideTheCellsOrOnAnInactiveFormNothingStarts) {
    grid->MouseEnter();
    grid->MouseMove({}, 390, 30);  // right of the last column
    EXPECT_EQ(grid->HintCol(), -1);
    EXPECT_FALSE(grid->HintTimerRunning());
    grid->active = false;
    grid->MouseMove({}, 70, 30);
    EXPECT_FALSE(grid->HintTimerRunning());
    grid->active = true;
    grid->ApplicationActivated(true);
    EXPECT_TRUE(grid->HintTimerRunning());
    grid->ApplicationActivated(false);
    EXPECT_FALSE(grid->HintTimerRunning());
}

TEST_F(HintGrid, FollowingTheCurrentCellNeedsTheFocus) {
    grid->SetHintFollowsMouse(false);
    grid->SetHintCell({2, 2});
    EXPECT_FALSE(grid->HintTimerRunning());  // the grid has no focus
    THgHintGrid loose;  // a grid without a parent never shows hints
    loose.MouseEnter();
    loose.MouseMove({}, 70, 30);
    EXPECT_FALSE(loose.HintTimerRunning());
}

} // namespace
} // namespace zeko
