// What the three table windows share: the cell texts, the column widths of the
// 800 and 1024 layouts from the registry store, the row heights and fonts of the
// layouts, fitting the grid into the room beside the buttons, and the open flags.
#include "tables/MesicniTabulka.h"
#include "tables/RocniTabulka.h"
#include "tables/TableTexts.h"
#include "tables/dennitabulka.h"

#include "TableFixture.h"

#include <QApplication>
#include <QEvent>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QScrollBar>

#include "platform/qt/MdiChild.h"

#include <functional>
#include <string>
#include <vector>

namespace zeko::test {
namespace {

TEST(TableTexts, ValuesUseTheLocaleSeparatorAndFallBackBeyondTheirPrecision) {
    FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(TableValueText(1.25), "1,3");
    EXPECT_EQ(TableValueText(-0.05), "-0,1");
    EXPECT_EQ(TableValueText(0), "0,0");
    EXPECT_EQ(CosPhiCellText(0.8), "0,80");
    EXPECT_EQ(CosPhiCellText(1), "1,00");
    EXPECT_EQ(TableValueText(123456789.25, 1, 10), "123456789,3");
    EXPECT_EQ(TableValueText(1e10, 1, 10), FloatToStr(1e10));  // no room before the point
    FormatSettings().DecimalSeparator = '.';
    EXPECT_EQ(TableValueText(12.34), "12.3");
    FormatSettings().DecimalSeparator = ',';
}

// A tariff without quarters has no cos phi, not one of 1.
TEST(TableTexts, ATariffCosPhiWithoutADenominatorIsX) {
    EXPECT_EQ(TariffCosPhiText({0, 0, 0, 0, 0, 0}, 1), "x");
    EXPECT_EQ(TariffCosPhiText({0, 3, 0, 0, 4, 0}, 2), "0,75");
    EXPECT_EQ(TariffCosPhiText({0, 0, 5, 0, 0, -2}, 3), "x");
    EXPECT_EQ(TariffCosPhiText({2.6, 0, 0, 3, 0, 0}, 1), "0,87");
}

TEST(TableTexts, TheColumnWidthKeyFollowsTheMainWindowWidth) {
    WindowWidth = 899;
    EXPECT_EQ(ColumnWidthsKey("Denni"), "SOFTWARE\\Vadro\\ColWidths800\\Denni");
    WindowWidth = 900;
    EXPECT_EQ(ColumnWidthsKey("Mesicni"), "SOFTWARE\\Vadro\\ColWidths1024\\Mesicni");
    WindowWidth = 1023;
}

class TableLayout : public TableTest {
protected:
    void Widths(const std::string& key, const std::vector<std::pair<std::string, int32_t>>& values) {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(key, true));
        for (const auto& [name, width] : values)
            registry.WriteInteger(name, width);
    }
};

TEST_F(TableLayout, ColumnWidthsComeFromTheKeyOfTheLayout) {
    Widths("SOFTWARE\\Vadro\\ColWidths1024\\Denni", {{"Column 2", 80}, {"Column 99", 10}, {"Column 12", 44}});
    Widths("SOFTWARE\\Vadro\\ColWidths1024\\Denni1", {{"Column 1", 120}});
    Widths("SOFTWARE\\Vadro\\ColWidths800\\Denni", {{"Column 2", 30}});
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey("SOFTWARE\\Vadro\\ColWidths1024\\Denni", false));
        registry.WriteString("Column 3", "wide");  // not an integer: skipped
    }
    windows_.OpenDayTable();
    TDenniTabulkaForm& day = *windows_.DayForm();
    EXPECT_EQ(day.Tabulka->ColWidths(1), 80);
    EXPECT_EQ(day.Tabulka->ColWidths(2), 55);
    EXPECT_EQ(day.Tabulka->ColWidths(6), 44);  // cos phi, loaded while every column was shown
    EXPECT_EQ(day.Tabulka1->ColWidths(0), 120);
    EXPECT_EQ(day.Tabulka1->width(), 6 * 77 + 120 + 7);
    delete MdiChildOf(&day);

    WindowWidth = 800;
    windows_.OpenDayTable();
    EXPECT_EQ(windows_.DayForm()->Tabulka->ColWidths(1), 30);
}

TEST_F(TableLayout, TheLayoutsSetRowHeightsAndFonts) {
    windows_.OpenDayTable();
    windows_.OpenMonthTable();
    windows_.OpenYearTable();
    TDenniTabulkaForm& day = *windows_.DayForm();
    TMesicniTabulkaForm& month = *windows_.MonthForm();
    TRocniTabulkaForm& year = *windows_.YearForm();
    const struct {
        TTableForm* form;
        int hour, summary, title;
    } wide[] = {{&day, 16, 19, 57}, {&month, 15, 17, 57}, {&year, 16, 19, 57}};
    for (const auto& c : wide) {
        EXPECT_EQ(c.form->HourRowHeight, c.hour) << c.form->objectName().toStdString();
        EXPECT_EQ(c.form->SummaryRowHeight, c.summary);
        EXPECT_EQ(c.form->Tabulka->RowHeights(0), c.title);
        EXPECT_EQ(c.form->Tabulka->RowHeights(1), c.hour);
        EXPECT_EQ(c.form->Tabulka->RowHeights(c.form->Tabulka->RowCount() - 1), c.summary);
        const ThgColumn* column = c.form->Tabulka->Columns().Items(1);
        EXPECT_EQ(column->ColumnFont().Name(), "Arial");
        EXPECT_EQ(column->ColumnFont().Size(), 8);
    }
    EXPECT_EQ(day.Tabulka1->RowHeights(0), 16);
    EXPECT_EQ(day.Tabulka1->RowHeights(1), 16);
    EXPECT_EQ(day.Tabulka->Cells(0, 1), "00 - 01");
    EXPECT_EQ(day.Tabulka->Cells(0, 24), "23 - 24");
    EXPECT_EQ(day.Tabulka->Cells(0, 25), "Celkem:");
    EXPECT_EQ(day.Tabulka->Cells(0, 26), "MIN/MAX");
    for (TTableForm* form : {static_cast<TTableForm*>(&day), static_cast<TTableForm*>(&month),
                             static_cast<TTableForm*>(&year)})
        delete MdiChildOf(form);

    WindowWidth = 800;
    windows_.OpenDayTable();
    windows_.OpenMonthTable();
    windows_.OpenYearTable();
    const struct {
        TTableForm* form;
        int hour, summary;
    } narrow[] = {{windows_.DayForm(), 13, 16}, {windows_.MonthForm(), 13, 15}, {windows_.YearForm(), 13, 15}};
    for (const auto& c : narrow) {
        EXPECT_EQ(c.form->Tabulka->RowHeights(1), c.hour) << c.form->objectName().toStdString();
        EXPECT_EQ(c.form->Tabulka->RowHeights(c.form->Tabulka->RowCount() - 1), c.summary);
        EXPECT_EQ(c.form->Tabulka->Columns().Items(1)->ColumnFont().Name(), "Small Fonts");
    }
}

TEST_F(TableLayout, TheGridFitsBesideTheButtonsOrScrolls) {
    windows_.OpenMonthTable();
    TMesicniTabulkaForm& form = *windows_.MonthForm();
    THyperGrid& grid = *form.Tabulka;
    EXPECT_EQ(form.AvailableWidth, form.MdiClientRect.Right - form.Panel1->width() - TTableForm::TableLeft - 10);
    EXPECT_EQ(form.Panel1->x(), TTableForm::TableLeft + form.AvailableWidth + form.Margin);
    EXPECT_EQ(grid.width(), NaturalWidth(grid));
    EXPECT_EQ(grid.x(), form.AvailableWidth / 2 + form.Margin - grid.width() / 2);
    EXPECT_EQ(grid.ScrollBars(), ssNone);

    // 35 days do not fit into a room of 300 pixels: the grid scrolls vertically.
    form.AvailableHeight = 300;
    form.PeriodDays = 35;
    form.SetupTable();
    EXPECT_EQ(grid.height(), 300);
    EXPECT_EQ(grid.ScrollBars(), ssVertical);
    EXPECT_EQ(grid.width(), NaturalWidth(grid) + GetScrollBarWidth());

    form.AvailableWidth = 200;
    form.SetupTable();
    EXPECT_EQ(grid.width(), 200);
    EXPECT_EQ(grid.ScrollBars(), ssBoth);
}

// The buttons stand beside the grid down to the bottom of the panel: a main window
// made smaller than that after the window opened scrolls to them.
TEST_F(TableLayout, AWindowSmallerThanItsGridAndButtonsScrolls) {
    windows_.OpenMonthTable();
    TMesicniTabulkaForm& form = *windows_.MonthForm();
    area_->resize(500, 300);
    QApplication::processEvents();
    auto* scroller = qobject_cast<QScrollArea*>(MdiChildOf(&form)->widget());
    ASSERT_NE(scroller, nullptr);
    EXPECT_GE(form.height(), form.Panel1->geometry().bottom());
    EXPECT_GE(form.width(), form.Panel1->geometry().right());
    EXPECT_GT(scroller->verticalScrollBar()->maximum(), 0);
    EXPECT_GT(scroller->horizontalScrollBar()->maximum(), 0);
}

TEST_F(TableLayout, EachWindowOpensOnceAndClearsItsFlagWhenClosed) {
    windows_.OpenMonthTable();
    TMesicniTabulkaForm* first = windows_.MonthForm();
    windows_.OpenMonthTable();
    EXPECT_EQ(windows_.MonthForm(), first);
    EXPECT_EQ(area_->subWindowList().size(), 1);
    EXPECT_TRUE(MonthTableOpen);
    EXPECT_FALSE(DayTableOpen);
    windows_.OpenDayTable();
    EXPECT_TRUE(DayTableOpen);
    EXPECT_EQ(area_->activeSubWindow(), MdiChildOf(windows_.DayForm()));
    windows_.OpenMonthTable();
    EXPECT_EQ(area_->activeSubWindow(), MdiChildOf(first));
    EXPECT_EQ(area_->subWindowList().size(), 2);
    EXPECT_TRUE(area_->activeSubWindow()->isMaximized());

    delete MdiChildOf(first);
    EXPECT_FALSE(MonthTableOpen);
    EXPECT_EQ(windows_.MonthForm(), nullptr);
    // A request for a window that has gone is lost.
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 4, 1), 0);
    EXPECT_FALSE(MonthTableOpen);
    EXPECT_TRUE(notifier_.Messages().empty());
}

// The units and the total's label follow the quantity the evaluation averages by.
TEST_F(TableLayout, WithoutTheProgramsQuantityTableTheBuiltInOneGivesTheUnits) {
    MojeDB = nullptr;
    windows_.OpenMonthTable();
    TMesicniTabulkaForm& form = *windows_.MonthForm();
    form.Channel.UnitCode = 2;  // °C
    form.SetupTable();
    EXPECT_EQ(form.EnergyUnitText, "[°C]");
    EXPECT_EQ(form.Tabulka->Cells(0, form.PeriodDays + 1), "Průměr:");
    EXPECT_EQ(AggregationKindOf(form.Channel), form.Quantity.Kind);
}

TEST_F(TableLayout, ARequestWithoutADateAsksNothingUntilTheDateDialogExists) {
    windows_.OpenDayTable();
    TDenniTabulkaForm& form = *windows_.DayForm();
    const std::string before = form.Tabulka->Headings().Items(0)->Caption();
    Post(WM_SHOW_DAY_TABLE, 0, 0);
    EXPECT_EQ(form.Tabulka->Headings().Items(0)->Caption(), before);
    EXPECT_TRUE(notifier_.Messages().empty());
    EXPECT_TRUE(mainForm_.isEnabled());
}

// The heading of a grid each time it is painted.
class HeadingAtPaint : public QObject {
public:
    explicit HeadingAtPaint(THyperGrid& grid) : grid_(grid) { grid.viewport()->installEventFilter(this); }
    std::vector<std::string> Seen;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            Seen.push_back(grid_.Headings().Items(0)->Caption());
        return false;
    }

private:
    THyperGrid& grid_;
};

void PaintWhatIsDue() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// The main form is disabled for a request but not painted so: each table is painted
// once, with its result, after the request, also when the event loop ran during the
// evaluation (the month and the year step their progress), and the frame is painted
// and takes input again afterwards.
TEST_F(TableLayout, ARequestPaintsItsWindowOnceWithItsResult) {
    WriteApril();
    struct Case {
        const char* name;
        std::function<TTableForm&()> open;
        uint32_t msg;
        TDateTime date;
        const char* heading;
    };
    const Case cases[] = {
        {"day", [this]() -> TTableForm& { return DayWindow(); }, WM_SHOW_DAY_TABLE, Date(2024, 4, 2),
         "Denní výpis : Činný - Činný - úterý  02.04.2024"},
        {"month", [this]() -> TTableForm& { return MonthWindow(); }, WM_SHOW_MONTH_TABLE, Date(2024, 4, 1),
         "Měsíční výpis - Činný - Činný  01.04.2024"},
        {"year", [this]() -> TTableForm& { return YearWindow(); }, WM_SHOW_YEAR_TABLE, Date(2024, 1, 1),
         "Roční výpis - Činný - Činný  01.01.2024"},
    };
    for (const Case& c : cases) {
        TTableForm& form = c.open();
        PaintWhatIsDue();
        HeadingAtPaint paints(*form.Tabulka);
        Post(c.msg, c.date, 0);
        PaintWhatIsDue();
        EXPECT_EQ(paints.Seen, std::vector<std::string>{c.heading}) << c.name;
        EXPECT_TRUE(mainForm_.isEnabled()) << c.name;
        EXPECT_TRUE(mainForm_.updatesEnabled()) << c.name;
    }
}

} // namespace
} // namespace zeko::test
