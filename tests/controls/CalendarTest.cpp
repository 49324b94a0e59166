// The month calendar: its layout, month and year steps, date elements, clicks and
// keys, and its colours as drawn.
#include "controls/PickDate.h"

#include "ControlsTestSupport.h"
#include "platform/FormatSettings.h"

using namespace zeko;

namespace {

TDateTime D(int y, int m, int d) { return EncodeDate(y, m, d); }

std::string Text(TDateTime date) {
    const DateParts p = DecodeDate(date);
    return std::to_string(p.Day) + "." + std::to_string(p.Month) + "." + std::to_string(p.Year);
}

struct CalendarFixture : test::ControlHost {
    CalendarFixture() {
        FormatSettings() = TFormatSettings();
        SetNowOverride(D(2026, 3, 12) + 0.4);  // a Thursday
        calendar = new TZcCalendar(&host);
        calendar->setGeometry(10, 10, 218, 107);
        calendar->OnChange = [this](TZcCalendar*) { ++changes; };
        calendar->show();
        changes = 0;
    }
    ~CalendarFixture() override {
        SetNowOverride(std::nullopt);
        FormatSettings() = TFormatSettings();
    }
    QPoint CellCentre(int col, int row) const {
        const TRect r = calendar->CellRect(col, row);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    void ClickCell(int col, int row) {
        QTest::mouseClick(calendar->viewport(), Qt::LeftButton, {}, CellCentre(col, row));
    }
    // The cell that shows the day number.
    TGridCoord CellOf(int day) const {
        for (int row = 1; row < 7; ++row)
            for (int col = 0; col < 7; ++col)
                if (calendar->CellText(col, row) == std::to_string(day))
                    return {col, row};
        return {-1, -1};
    }

    TZcCalendar* calendar;
    int changes = 0;
};

} // namespace

TEST_F(CalendarFixture, StartsOnTodayWithItsDefaults) {
    EXPECT_EQ(calendar->CalendarDate(), D(2026, 3, 12));
    EXPECT_TRUE(calendar->UseCurrentDate());
    EXPECT_EQ(calendar->StartOfWeek(), Mon);
    EXPECT_EQ(calendar->Weekends(), TDaysOfWeek{Sun});
    EXPECT_EQ(calendar->WeekendColor(), clBlue);
    EXPECT_EQ(calendar->DataAvailableColor(), clRed);
    EXPECT_FALSE(calendar->DataAvailable(12));
    EXPECT_EQ(calendar->ColCount(), 7);
    EXPECT_EQ(calendar->RowCount(), 7);
    EXPECT_EQ(calendar->FixedRows(), 1);
    EXPECT_EQ(calendar->FixedCols(), 0);
    // Thursday 12 March in a month that begins on a Sunday.
    EXPECT_EQ(calendar->Col(), 3);
    EXPECT_EQ(calendar->Row(), 3);
}

TEST_F(CalendarFixture, TheFirstOfTheMonthFallsInItsWeekdaysColumn) {
    struct Case {
        int year, month;
        TDayOfWeekName start;
        int offset;
        TGridCoord first, last;
    };
    const Case cases[] = {
        // March 2026 begins on a Sunday: just before a Monday start, so row 1 ends with it.
        {2026, 3, Mon, -5, {6, 1}, {1, 6}},
        {2026, 3, Sun, 1, {0, 1}, {2, 5}},  // on the start of the week: column 0
        {2026, 3, Sat, 0, {1, 1}, {3, 5}},
        {2026, 6, Mon, 1, {0, 1}, {1, 5}},  // June 2026 begins on a Monday
        {2026, 6, Sun, 0, {1, 1}, {2, 5}},
        {2026, 1, Mon, -2, {3, 1}, {5, 5}},  // a Thursday
        {2026, 2, Sun, 1, {0, 1}, {6, 4}},   // 28 days in four whole weeks
        {2024, 2, Mon, -2, {3, 1}, {3, 5}},  // a leap February from a Thursday
    };
    for (const Case& c : cases) {
        calendar->SetStartOfWeek(c.start);
        calendar->SetCalendarDate(D(c.year, c.month, 1));
        const std::string what = std::to_string(c.month) + "/" + std::to_string(c.year) + " from " +
                                 FormatSettings().ShortDayNames[c.start];
        EXPECT_EQ(calendar->MonthOffset(), c.offset) << what;
        EXPECT_EQ(CellOf(1), c.first) << what;
        EXPECT_EQ(CellOf(DaysPerMonth(c.year, c.month)), c.last) << what;
        EXPECT_EQ((TGridCoord{calendar->Col(), calendar->Row()}), c.first) << what;
    }
}

TEST_F(CalendarFixture, TheTitleRowNamesTheDaysFromTheStartOfTheWeek) {
    const std::vector<std::string> monday = {"po", "út", "st", "čt", "pá", "so", "ne"};
    for (int col = 0; col < 7; ++col)
        EXPECT_EQ(calendar->CellText(col, 0), monday[col]);
    calendar->SetStartOfWeek(Sun);
    EXPECT_EQ(calendar->CellText(0, 0), "ne");
    EXPECT_EQ(calendar->CellText(6, 0), "so");
    EXPECT_TRUE(calendar->IsWeekendColumn(0));
    calendar->SetWeekends({Sat, Sun});
    EXPECT_TRUE(calendar->IsWeekendColumn(6));
    EXPECT_FALSE(calendar->IsWeekendColumn(3));
}

TEST_F(CalendarFixture, MonthAndYearStepsKeepTheDayWhereTheTargetHasIt) {
    struct Case {
        TDateTime from;
        void (TZcCalendar::*step)();
        TDateTime to;
    };
    const Case cases[] = {
        {D(2026, 1, 31), &TZcCalendar::NextMonth, D(2026, 2, 28)},
        {D(2024, 1, 31), &TZcCalendar::NextMonth, D(2024, 2, 29)},
        {D(2026, 4, 30), &TZcCalendar::NextMonth, D(2026, 5, 30)},
        {D(2026, 12, 15), &TZcCalendar::NextMonth, D(2027, 1, 15)},
        {D(2024, 3, 31), &TZcCalendar::PrevMonth, D(2024, 2, 29)},
        {D(2026, 1, 15), &TZcCalendar::PrevMonth, D(2025, 12, 15)},
        {D(2024, 2, 29), &TZcCalendar::NextYear, D(2025, 2, 28)},
        {D(2024, 2, 29), &TZcCalendar::PrevYear, D(2023, 2, 28)},
        {D(2023, 3, 1), &TZcCalendar::PrevYear, D(2022, 3, 1)},
        {D(9999, 12, 31), &TZcCalendar::NextMonth, D(9999, 12, 31)},  // no month after the calendar's end
        {D(1, 1, 1), &TZcCalendar::PrevMonth, D(1, 1, 1)},
    };
    for (const Case& c : cases) {
        calendar->SetCalendarDate(c.from);
        (calendar->*c.step)();
        EXPECT_EQ(Text(calendar->CalendarDate()), Text(c.to)) << "from " << Text(c.from);
    }
}

TEST_F(CalendarFixture, DateElementsIgnoreWhatNoCalendarHas) {
    struct Case {
        TDateTime from;
        void (TZcCalendar::*set)(int);
        int value;
        TDateTime to;
        int changes;
    };
    const Case cases[] = {
        // A year without 29 February takes the 28th instead of failing.
        {D(2024, 2, 29), &TZcCalendar::SetYear, 2023, D(2023, 2, 28), 1},
        {D(2024, 2, 29), &TZcCalendar::SetYear, 2028, D(2028, 2, 29), 1},
        {D(2026, 1, 31), &TZcCalendar::SetMonth, 4, D(2026, 4, 30), 1},
        {D(2026, 1, 31), &TZcCalendar::SetMonth, 13, D(2026, 1, 31), 0},
        {D(2026, 1, 31), &TZcCalendar::SetMonth, 1, D(2026, 1, 31), 0},
        {D(2026, 4, 10), &TZcCalendar::SetDay, 31, D(2026, 4, 10), 0},
        {D(2026, 4, 10), &TZcCalendar::SetDay, 30, D(2026, 4, 30), 1},
        {D(2026, 4, 10), &TZcCalendar::SetDay, 0, D(2026, 4, 10), 0},
        {D(2026, 4, 10), &TZcCalendar::SetYear, -5, D(2026, 4, 10), 0},
        {D(2026, 4, 10), &TZcCalendar::SetYear, 10000, D(2026, 4, 10), 0},
    };
    for (const Case& c : cases) {
        calendar->SetCalendarDate(c.from);
        changes = 0;
        (calendar->*c.set)(c.value);
        EXPECT_EQ(Text(calendar->CalendarDate()), Text(c.to)) << Text(c.from) << " <- " << c.value;
        EXPECT_EQ(changes, c.changes) << Text(c.from) << " <- " << c.value;
    }
    EXPECT_FALSE(calendar->UseCurrentDate());
    calendar->SetUseCurrentDate(true);
    EXPECT_EQ(calendar->CalendarDate(), D(2026, 3, 12));
}

TEST_F(CalendarFixture, ClicksPickDaysAndOnlyDays) {
    const TGridCoord twenty = CellOf(20);
    ClickCell(twenty.X, twenty.Y);
    EXPECT_EQ(calendar->CalendarDate(), D(2026, 3, 20));
    EXPECT_EQ(changes, 1);
    ClickCell(0, 1);  // before the 1st: empty
    ClickCell(2, 0);  // a day name
    EXPECT_EQ(calendar->CalendarDate(), D(2026, 3, 20));
    EXPECT_EQ(changes, 1);
    calendar->SetReadOnly(true);
    const TGridCoord third = CellOf(3);
    ClickCell(third.X, third.Y);
    EXPECT_EQ(calendar->CalendarDate(), D(2026, 3, 20));
}

TEST_F(CalendarFixture, KeysMoveTheDayAcrossMonthEnds) {
    struct Case {
        TDateTime from;
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* text;
        TDateTime to;
    };
    const Case cases[] = {
        {D(2026, 3, 12), Qt::Key_Left, {}, "", D(2026, 3, 11)},
        {D(2026, 3, 1), Qt::Key_Left, {}, "", D(2026, 2, 28)},
        {D(2026, 3, 31), Qt::Key_Right, {}, "", D(2026, 4, 1)},
        {D(2026, 3, 12), Qt::Key_Plus, Qt::KeypadModifier, "+", D(2026, 3, 13)},
        {D(2026, 3, 1), Qt::Key_Minus, Qt::KeypadModifier, "-", D(2026, 2, 28)},
        {D(2026, 12, 31), Qt::Key_Plus, Qt::KeypadModifier, "+", D(2027, 1, 1)},
        {D(2026, 3, 12), Qt::Key_Up, {}, "", D(2026, 3, 5)},     // a week back, through the grid
        {D(2026, 3, 30), Qt::Key_Down, {}, "", D(2026, 3, 30)},  // no week below
        {D(2026, 3, 2), Qt::Key_Up, {}, "", D(2026, 3, 2)},      // the cell above is empty
        {D(2025, 7, 4), Qt::Key_T, {}, "t", D(2026, 3, 12)},
        {D(2025, 7, 4), Qt::Key_T, Qt::ShiftModifier, "T", D(2026, 3, 12)},
    };
    for (const Case& c : cases) {
        calendar->SetCalendarDate(c.from);
        QTest::keyClick(calendar, static_cast<Qt::Key>(c.key), c.modifiers);
        EXPECT_EQ(Text(calendar->CalendarDate()), Text(c.to)) << Text(c.from) << " key " << c.key;
    }
}

TEST_F(CalendarFixture, AllCellsFitTheClientAreaWithTheirLines) {
    // 218 × 107 with a one-pixel border: 216 × 105 inside, a line after every cell.
    EXPECT_EQ(calendar->ClientWidth(), 216);
    EXPECT_EQ(calendar->ColWidths(0), (216 - 7) / 7);
    EXPECT_EQ(calendar->RowHeights(0), (105 - 7) / 7);
    TLocCalendar flat(&host);
    flat.setGeometry(0, 0, 183, 102);
    flat.show();
    EXPECT_EQ(flat.ColWidths(0), 183 / 7);  // no vertical lines
    EXPECT_EQ(flat.RowHeights(0), (102 - 7) / 7);
    // Nothing scrolls, whichever day is shown.
    for (int day : {1, 31}) {
        calendar->SetCalendarDate(D(2026, 3, day));
        EXPECT_EQ(calendar->LeftCol(), 0);
        EXPECT_EQ(calendar->TopRow(), 1);
    }
}

TEST_F(CalendarFixture, WeekendsAndMarkedDaysAreDrawnInTheirColours) {
    calendar->SetColor(clWhite);
    calendar->SetDataAvailable(20, true);  // a Friday
    calendar->SetDataAvailable(22, true);  // a Sunday: the mark wins over the weekend
    calendar->SetDataAvailable(300, true);  // no such day in the set
    EXPECT_FALSE(calendar->DataAvailable(300));
    const QImage picture = calendar->grab().toImage();
    test::SaveArtefact(picture, "calendar_marked.png");
    // The widget's picture includes the border; cell rectangles are viewport coordinates.
    const QPoint offset = calendar->viewport()->pos();
    // Text in the colour over the cell's background (the text is smoothed).
    auto ink = [&](int day, TColor colour, TColor background = clWhite) {
        const TGridCoord cell = day == 0 ? TGridCoord{6, 0} : CellOf(day);
        TRect r = calendar->CellRect(cell.X, cell.Y);
        OffsetRect(r, offset.x(), offset.y());
        return !IsRectEmpty(test::InkBoxOver(picture, r, colour, background));
    };
    EXPECT_TRUE(ink(15, clBlue));  // a Sunday
    EXPECT_TRUE(ink(0, clBlue));   // the Sunday column's day name
    EXPECT_TRUE(ink(20, clRed));
    EXPECT_TRUE(ink(22, clRed));
    EXPECT_FALSE(ink(22, clBlue));
    EXPECT_FALSE(ink(10, clRed));
    EXPECT_FALSE(ink(10, clBlue));
    EXPECT_TRUE(ink(10, clBlack));
    // The shown day is drawn selected: highlight behind, highlighted text.
    EXPECT_TRUE(ink(12, clHighlight));
    EXPECT_TRUE(ink(12, clHighlightText, clHighlight));
    // A selected Sunday loses the weekend colour; a selected marked day keeps its mark.
    calendar->SetCalendarDate(D(2026, 3, 15));
    QImage again = calendar->grab().toImage();
    {
        TRect r = calendar->CellRect(CellOf(15).X, CellOf(15).Y);
        OffsetRect(r, offset.x(), offset.y());
        EXPECT_TRUE(IsRectEmpty(test::InkBoxOver(again, r, clBlue, clHighlight)));
    }
    calendar->SetCalendarDate(D(2026, 3, 20));
    again = calendar->grab().toImage();
    TRect r = calendar->CellRect(CellOf(20).X, CellOf(20).Y);
    OffsetRect(r, offset.x(), offset.y());
    EXPECT_FALSE(IsRectEmpty(test::InkBoxOver(again, r, clRed, clHighlight)));
    EXPECT_FALSE(IsRectEmpty(test::InkBox(again, r, clHighlight)));
}

TEST_F(CalendarFixture, AnEmptyDaySetShowsNoMarkColour) {
    calendar->SetColor(clWhite);
    calendar->SetDataAvailableColor(clLime);
    const QImage picture = calendar->grab().toImage();
    EXPECT_TRUE(IsRectEmpty(test::InkBox(picture, {0, 0, picture.width(), picture.height()}, clLime)));
}

TEST_F(CalendarFixture, TheFlatCalendarFramesToday) {
    TLocCalendar flat(&host);
    flat.setGeometry(0, 0, 183, 102);
    flat.TakeParentColor(clBtnFace);
    flat.show();
    EXPECT_EQ(flat.focusPolicy(), Qt::NoFocus);
    flat.SetCalendarDate(D(2026, 3, 20));  // today (12th) is another cell
    const QImage picture = flat.grab().toImage();
    test::SaveArtefact(picture, "calendar_flat.png");
    int col = -1, row = -1;
    for (int r = 1; r < 7 && col < 0; ++r)
        for (int c = 0; c < 7; ++c)
            if (flat.CellText(c, r) == "12") {
                col = c;
                row = r;
            }
    const TRect cell = flat.CellRect(col, row);
    EXPECT_EQ(test::PixelAt(picture, cell.Left, cell.Top), ColorToRGB(clBtnShadow));
    EXPECT_EQ(test::PixelAt(picture, cell.Right - 1, cell.Bottom - 1), ColorToRGB(clBtnHighlight));
    flat.SetCalendarDate(D(2026, 4, 12));  // the 12th of another month: no frame
    const QImage other = flat.grab().toImage();
    EXPECT_NE(test::PixelAt(other, cell.Left, cell.Top), ColorToRGB(clBtnShadow));
}
