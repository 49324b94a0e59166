#include "graph/MujKalendar.h"

#include "platform/Exceptions.h"
#include "platform/FormatSettings.h"

#include <QDir>

#include <gtest/gtest.h>

#include "ImageProbe.h"
#include "QtTestApp.h"

using namespace zeko;

namespace {

// Today is 20 May 2024 while it lives.
struct FixedToday {
    FixedToday() { SetNowOverride(EncodeDate(2024, 5, 20) + EncodeTime(10, 0, 0)); }
    ~FixedToday() { SetNowOverride(std::nullopt); }
};

// The calendar as the date-choice dialog holds it: 318 × 115, grid lines 2 wide,
// weeks from Monday, shown.
struct Calendar : ::testing::Test {
    Calendar() {
        kalendar.resize(318, 115);
        kalendar.SetGridLineWidth(2);
        kalendar.show();
        kalendar.SetStartOfWeek(1);
        kalendar.OnChange = [this](TMujKalendar*) { ++changes; };
        kalendar.OnClick = [this](TCustomGrid*) { ++clicks; };
    }
    // Shows a month without counting it as a change.
    void Show(int year, int month, int day = 1) {
        kalendar.SetDay(1);
        kalendar.SetYear(year);
        kalendar.SetMonth(month);
        kalendar.SetDay(day);
        changes = 0;
    }
    // The cell of a day: the one whose text is that day's number.
    TGridCoord CellOf(int day) const {
        for (int row = 1; row < 7; ++row)
            for (int col = 0; col < 7; ++col)
                if (kalendar.CellText(col, row) == std::to_string(day))
                    return {col, row};
        return {-1, -1};
    }
    void ClickCell(int col, int row) {
        const TRect r = kalendar.CellRect(col, row);
        kalendar.MouseDown(mbLeft, {}, r.Left + 2, r.Top + 2);
        kalendar.MouseUp(mbLeft, {}, r.Left + 2, r.Top + 2);
    }

    FixedToday today;
    TMujKalendar kalendar;
    int changes = 0;
    int clicks = 0;
};

} // namespace

TEST_F(Calendar, StartsOnTodayFollowingIt) {
    EXPECT_TRUE(kalendar.UseCurrentDate());
    EXPECT_EQ(kalendar.CalendarDate(), EncodeDate(2024, 5, 20));
    EXPECT_EQ(kalendar.Year(), 2024);
    EXPECT_EQ(kalendar.Month(), 5);
    EXPECT_EQ(kalendar.Day(), 20);
    EXPECT_EQ(kalendar.GetDateElement(4), -1);
    EXPECT_EQ(kalendar.ColCount(), 7);
    EXPECT_EQ(kalendar.RowCount(), 7);
    EXPECT_EQ(kalendar.FixedRows(), 1);
    EXPECT_EQ(kalendar.FixedCols(), 0);
    EXPECT_FALSE(kalendar.Options().Contains(goRangeSelect));
    EXPECT_TRUE(kalendar.MarkedDays().none());
    // The selected cell is the day held.
    EXPECT_EQ(kalendar.CellText(kalendar.Col(), kalendar.Row()), "20");
}

// Weeks from Monday: the first of each month lands in the column of its weekday,
// in the first week row, never in the heading row.
TEST_F(Calendar, MondayFirstLayoutOfMonthsStartingOnEachWeekday) {
    const struct {
        int year, month;
        const char* weekday;
        int offset, firstCol;
        int days, lastCol, lastRow;
    } cases[] = {
        {2024, 1, "Monday", 1, 0, 31, 2, 5},
        {2024, 10, "Tuesday", 0, 1, 31, 3, 5},
        {2024, 5, "Wednesday", -1, 2, 31, 4, 5},
        {2024, 2, "Thursday", -2, 3, 29, 3, 5},
        {2024, 3, "Friday", -3, 4, 31, 6, 5},
        {2024, 6, "Saturday", -4, 5, 30, 6, 5},
        {2024, 9, "Sunday", -5, 6, 30, 0, 6},
        {2021, 2, "Monday, a month of four whole weeks", 1, 0, 28, 6, 4},
        {2026, 3, "Sunday, 31 days over six week rows", -5, 6, 31, 1, 6},
    };
    for (const auto& c : cases) {
        Show(c.year, c.month);
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month) + " starts " + c.weekday);
        EXPECT_EQ(kalendar.MonthOffset(), c.offset);
        EXPECT_EQ(CellOf(1), (TGridCoord{c.firstCol, 1}));
        EXPECT_EQ(kalendar.DnuVMesici(), c.days);
        EXPECT_EQ(CellOf(c.days), (TGridCoord{c.lastCol, c.lastRow}));
        EXPECT_EQ(kalendar.CellText(c.lastCol, c.lastRow), std::to_string(c.days));
        // Before the first and after the last day the cells are empty.
        if (c.firstCol > 0) {
            EXPECT_EQ(kalendar.CellText(c.firstCol - 1, 1), "");
        }
        EXPECT_EQ(kalendar.CellText(6, 6), c.lastRow == 6 && c.lastCol == 6 ? std::to_string(c.days) : "");
    }
    // The heading row: short day names from Monday.
    const auto& names = FormatSettings().ShortDayNames;
    for (int col = 0; col < 7; ++col)
        EXPECT_EQ(kalendar.CellText(col, 0), names[static_cast<size_t>((col + 1) % 7)]);
}

TEST_F(Calendar, WeeksFromSundayMoveTheDaysOneColumnOn) {
    kalendar.SetStartOfWeek(0);
    Show(2024, 9);  // starts on a Sunday
    EXPECT_EQ(kalendar.MonthOffset(), 1);
    EXPECT_EQ(CellOf(1), (TGridCoord{0, 1}));
    EXPECT_EQ(kalendar.CellText(0, 0), FormatSettings().ShortDayNames[0]);
    kalendar.SetStartOfWeek(1);
    EXPECT_EQ(CellOf(1), (TGridCoord{6, 1}));
}

TEST_F(Calendar, MonthLengthsAndLeapYears) {
    const struct {
        int year, month, days;
    } cases[] = {{2000, 2, 29}, {1900, 2, 28}, {2024, 2, 29}, {2023, 2, 28}, {2100, 2, 28},
                 {2024, 4, 30}, {2024, 12, 31}, {2024, 13, 0}, {2024, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(kalendar.DaysPerMonth(c.year, c.month), c.days) << c.year << "-" << c.month;
    Show(2000, 2);
    EXPECT_EQ(kalendar.DaysThisMonth(), 29);
    EXPECT_EQ(kalendar.DnuVMesici(), 29);
}

TEST_F(Calendar, DateElementsIgnoreWhatTheMonthCannotHold) {
    Show(2024, 4, 10);
    const struct {
        int index, value;
    } ignored[] = {{3, 31}, {3, 0}, {3, -1}, {2, 13}, {2, 0}, {1, 0}, {3, 10}, {2, 4}, {1, 2024}, {5, 3}};
    for (const auto& c : ignored) {
        kalendar.SetDateElement(c.index, c.value);
        EXPECT_EQ(kalendar.CalendarDate(), EncodeDate(2024, 4, 10)) << c.index << " := " << c.value;
    }
    EXPECT_EQ(changes, 0);
    kalendar.SetDay(30);
    kalendar.SetMonth(6);
    kalendar.SetYear(2025);
    EXPECT_EQ(kalendar.CalendarDate(), EncodeDate(2025, 6, 30));
    EXPECT_EQ(changes, 3);
    EXPECT_FALSE(kalendar.UseCurrentDate());
    EXPECT_EQ(kalendar.CellText(kalendar.Col(), kalendar.Row()), "30");
    // A month that lacks the day held cannot be encoded.
    kalendar.SetMonth(5);
    kalendar.SetDay(31);
    changes = 0;
    EXPECT_THROW(kalendar.SetMonth(4), EConvertError);
    EXPECT_EQ(kalendar.CalendarDate(), EncodeDate(2025, 5, 31));
    EXPECT_EQ(changes, 0);
}

TEST_F(Calendar, FollowingTodayAgainChangesTheDateWithoutAChange) {
    Show(2023, 1, 5);
    EXPECT_FALSE(kalendar.UseCurrentDate());
    kalendar.SetUseCurrentDate(true);
    EXPECT_EQ(kalendar.CalendarDate(), EncodeDate(2024, 5, 20));
    EXPECT_EQ(kalendar.CellText(kalendar.Col(), kalendar.Row()), "20");
    EXPECT_EQ(changes, 0);
}

TEST_F(Calendar, ClickingADayChoosesItAndAnEmptyCellNothing) {
    Show(2024, 9, 10);  // starts on a Sunday: row 1 holds day 1 alone
    ClickCell(0, 1);
    EXPECT_EQ(kalendar.Day(), 10);
    EXPECT_EQ(CellOf(10), (TGridCoord{kalendar.Col(), kalendar.Row()}));
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(clicks, 0);
    const TGridCoord day17 = CellOf(17);
    ClickCell(day17.X, day17.Y);
    EXPECT_EQ(kalendar.Day(), 17);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(clicks, 1);
    // The heading row is no day.
    ClickCell(3, 0);
    EXPECT_EQ(kalendar.Day(), 17);
    // Read only: the user cannot choose, the program still can.
    kalendar.SetReadOnly(true);
    const TGridCoord day3 = CellOf(3);
    ClickCell(day3.X, day3.Y);
    EXPECT_EQ(kalendar.Day(), 17);
    kalendar.SetDay(3);
    EXPECT_EQ(CellOf(3), (TGridCoord{kalendar.Col(), kalendar.Row()}));
    EXPECT_EQ(clicks, 1);
}

TEST_F(Calendar, SevenColumnsAndRowsShareItsSize) {
    const int line = kalendar.GridLineWidth();
    EXPECT_EQ(kalendar.DefaultColWidth(), (kalendar.ClientWidth() - 6 * line) / 7);
    EXPECT_EQ(kalendar.DefaultRowHeight(), (kalendar.ClientHeight() - 6 * line) / 7);
    kalendar.resize(220, 160);
    EXPECT_EQ(kalendar.DefaultColWidth(), (kalendar.ClientWidth() - 6 * line) / 7);
    EXPECT_EQ(kalendar.DefaultRowHeight(), (kalendar.ClientHeight() - 6 * line) / 7);
    EXPECT_EQ(kalendar.ColWidths(6), kalendar.DefaultColWidth());
}

// Placed on a form, the calendar has a child's small first size, with room for a
// column or two of the grid's default width, and scrolls to the day held; at the
// size the form then gives it the whole month is in view.
TEST(CalendarSizing, TheWholeMonthIsInViewOnceSized) {
    FixedToday today;  // a Monday
    QWidget form;
    auto* kalendar = new TMujKalendar(&form);
    kalendar->SetStartOfWeek(1);
    kalendar->SetDay(26);  // a Sunday: the last column
    kalendar->setGeometry(8, 24, 318, 115);
    form.show();
    EXPECT_EQ(kalendar->LeftCol(), 0);
    EXPECT_EQ(kalendar->TopRow(), 1);
    EXPECT_EQ(kalendar->CellRect(0, 0).Left, 0);
    EXPECT_GT(kalendar->CellRect(6, 6).Width(), 0);
}

// Marked days are bold red; the rest and the heading row keep the grid's colours.
TEST_F(Calendar, MarkedDaysAreDrawnBoldRed) {
    Show(2024, 3, 20);
    TMujKalendar::TMarkedDays marked;
    for (int day : {3, 17, 31, 200})
        marked.set(static_cast<size_t>(day));
    kalendar.SetMarkedDays(marked);
    const QImage image = kalendar.PaintToImage();
    QDir().mkpath(ZEKO_ARTEFACT_DIR);
    image.save(QString(ZEKO_ARTEFACT_DIR) + "/mujkalendar.png");
    auto redIn = [](const QImage& picture, const TRect& r) { return test::InkBox(picture, r, clRed) != TRect{}; };
    for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 7; ++col) {
            const std::string text = kalendar.CellText(col, row);
            const bool expected = row > 0 && (text == "3" || text == "17" || text == "31");
            EXPECT_EQ(redIn(image, kalendar.CellRect(col, row)), expected) << col << "," << row << " " << text;
        }
    // A marked day's text is centred across its cell (a left-aligned one would
    // leave all the cell's room on one side), and bolder than the same text unmarked.
    const TGridCoord c17 = CellOf(17);
    const TRect cell = kalendar.CellRect(c17.X, c17.Y);
    const TRect ink = test::InkBox(image, cell, clRed);
    EXPECT_LE(std::abs((ink.Left - cell.Left) - (cell.Right - ink.Right)), 4);
    EXPECT_GT(ink.Top, cell.Top);  // whole in its low row
    EXPECT_LT(ink.Bottom, cell.Bottom);
    kalendar.SetMarkedDays({});
    const QImage plain = kalendar.PaintToImage();
    EXPECT_FALSE(redIn(plain, cell));
    auto inkCount = [&](const QImage& picture, TColor background) {
        int n = 0;
        for (int y = cell.Top; y < cell.Bottom; ++y)
            for (int x = cell.Left; x < cell.Right; ++x)
                n += test::PixelAt(picture, x, y) != ColorToRGB(background);
        return n;
    };
    EXPECT_GT(inkCount(image, clWindow), inkCount(plain, clWindow));
}
