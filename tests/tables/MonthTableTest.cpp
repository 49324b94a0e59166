// The month table filled from month files: day labels with their weekdays, the
// "x" of a day without records, the summary rows (means for an averaged quantity),
// a hidden column shown again empty, the weekend, holiday and selection colours,
// custom periods, and the requests of its buttons.
#include "tables/MesicniTabulka.h"
#include "tables/dennitabulka.h"

#include "TableFixture.h"

#include <QPushButton>

namespace zeko::test {
namespace {

using Row = std::vector<std::string>;

class MonthTable : public TableTest {
protected:
    TMesicniTabulkaForm& Open() {
        windows_.OpenMonthTable();
        return *windows_.MonthForm();
    }
    const Row NoData = Row(10, "x");
};

TEST_F(MonthTable, AMonthShowsItsDaysAndSummaryRows) {
    WriteApril();
    TMesicniTabulkaForm& form = Open();
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 4, 1), 0);
    const THyperGrid& t = *form.Tabulka;

    EXPECT_EQ(form.PeriodDays, 30);
    ASSERT_EQ(t.RowCount(), 36);
    ASSERT_EQ(t.ColCount(), 11);  // day, 3 shifts, 3 tariffs, total, cos phi, maximum and its time
    EXPECT_EQ(t.Headings().Items(0)->Caption(), "Měsíční výpis - Činný - Činný  01.04.2024");
    std::vector<std::string> captions;
    for (int c = 0; c < t.ColCount(); ++c)
        captions.push_back(t.ColumnFromGridIndex(c)->Caption());
    EXPECT_EQ(captions, (Row{"Odběr:\nDen:", "S1", "S2", "S3", "T1", "T2", "T3", "Celý den [kWh]", "cos. fí",
                             "Hodnota [kW]", "Čas"}));
    EXPECT_EQ(RowTexts(t, 1),
              Labelled("01.04. po", {"25,0", "0,0", "0,0", "0,0", "0,0", "0,0", "25,0", "0,80", "100,0", "10:15"}));
    EXPECT_EQ(RowTexts(t, 2),
              Labelled("02.04. út", {"25,0", "0,0", "0,0", "0,0", "0,0", "0,0", "25,0", "0,80", "60,0", "10:30"}));
    EXPECT_EQ(RowTexts(t, 3), Labelled("03.04. st", NoData));
    EXPECT_EQ(RowTexts(t, 6),
              Labelled("06.04. so", {"20,0", "0,0", "0,0", "0,0", "0,0", "0,0", "20,0", "1,00", "80,0", "10:15"}));
    EXPECT_EQ(RowTexts(t, 30), Labelled("30.04. út", NoData));
    EXPECT_EQ(RowTexts(t, 31), Labelled("Celkem:", {"70,0", "0,0", "0,0", "0,0", "0,0", "0,0", "70,0", "0,87", "", ""}));
    EXPECT_EQ(RowTexts(t, 32), Labelled("Po÷Pá", {"25,0", "0,0", "0,0", "0,0", "0,0", "0,0", "25,0", "", "", ""}));
    EXPECT_EQ(RowTexts(t, 33), Labelled("So+Ne", {"45,0", "0,0", "0,0", "0,0", "0,0", "0,0", "45,0", "", "", ""}));
    EXPECT_EQ(RowTexts(t, 34), Labelled("1/4h.max:", {"", "", "", "", "01.04.2024", "10:15", "100,0", "", "", ""}));
    // No record lies in a tariff.
    EXPECT_EQ(RowTexts(t, 35), Labelled("cos. fí:", {"", "", "", "x", "x", "x", "", "", "", ""}));
    KeepPicture(form, "mesicni-tabulka");
}

TEST_F(MonthTable, WeekendsAreYellowHolidaysOrangeAndTheSelectedDayGreen) {
    WriteApril();
    TMesicniTabulkaForm& form = Open();
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 4, 1), 0);
    constexpr TColor yellow = 0x80FFFF, orange = 0x5EAEFF, green = 0x00FF00;
    EXPECT_EQ(LookOf(form, 3, 6).Color, yellow);   // Saturday
    EXPECT_EQ(LookOf(form, 3, 7).Color, yellow);   // Sunday without records
    EXPECT_EQ(LookOf(form, 3, 1).Color, orange);   // Easter Monday
    EXPECT_EQ(LookOf(form, 3, 2).Color, clWindow);
    EXPECT_EQ(LookOf(form, 5, 2).Color, clWhite);
    EXPECT_EQ(LookOf(form, 7, 2).Color, clAqua);
    EXPECT_EQ(LookOf(form, 2, 33).Color, yellow);  // the weekend summary
    EXPECT_EQ(LookOf(form, 2, 32).Color, clWindow);
    EXPECT_EQ(LookOf(form, 0, 1).Color, green);
    EXPECT_EQ(LookOf(form, 0, 6).Color, clBtnFace);

    // A click on the label of the 2nd selects it; the day table then opens that day.
    THyperGrid& grid = *form.Tabulka;
    const TRect label = grid.CellRect(0, 2);
    const int x = label.Left + label.Width() / 2, y = label.Top + label.Height() / 2;
    grid.MouseDown(mbLeft, {}, x, y);
    grid.MouseUp(mbLeft, {}, x, y);
    EXPECT_EQ(form.SelectedRow, 2);
    EXPECT_EQ(LookOf(form, 0, 2).Color, green);
    EXPECT_EQ(LookOf(form, 0, 1).Color, clBtnFace);
    QImage picture = grid.PaintToImage();
    EXPECT_EQ(PixelAt(picture, x, label.Top + 2), green);
    const TRect saturday = grid.CellRect(3, 6);
    EXPECT_EQ(PixelAt(picture, saturday.Left + 2, saturday.Top + 2), yellow);

    form.Btn_DenTab->click();
    Pump();
    EXPECT_EQ(LastRequest().Msg, WM_OPEN_DAY_TABLE);
    EXPECT_EQ(LastRequest().WParam, static_cast<uintptr_t>(Date(2024, 4, 2)));
    ASSERT_NE(windows_.DayForm(), nullptr);
    EXPECT_EQ(windows_.DayForm()->Day, Date(2024, 4, 2));
    EXPECT_EQ(windows_.DayForm()->Tabulka->Cells(2, 11), "60,0");
}

TEST_F(MonthTable, WithoutHolidaysEasterMondayIsAWorkingDay) {
    WriteApril();
    PouzivejSvatky = false;
    TMesicniTabulkaForm& form = Open();
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 4, 1), 0);
    EXPECT_EQ(LookOf(form, 3, 1).Color, clWindow);
    EXPECT_EQ(form.Tabulka->Cells(7, 32), "50,0");
    EXPECT_EQ(form.Tabulka->Cells(7, 33), "20,0");
}

TEST_F(MonthTable, AnotherChannelHasNoCosPhiColumnOrRow) {
    Add(2024, 4, 2, 10, 15, 0, {0, 44, 0, 0});
    Save();
    TMesicniTabulkaForm& form = Open();
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 4, 1), 1);
    const THyperGrid& t = *form.Tabulka;
    EXPECT_EQ(t.RowCount(), 35);
    ASSERT_EQ(t.ColCount(), 10);
    EXPECT_EQ(t.ColumnFromGridIndex(7)->Caption(), "Celý den [kVArh]");
    EXPECT_EQ(t.ColumnFromGridIndex(8)->Caption(), "Hodnota [kVAr]");
    EXPECT_EQ(RowTexts(t, 2), Labelled("02.04. út", {"11,0", "0,0", "0,0", "0,0", "0,0", "0,0", "11,0", "44,0", "10:15"}));
    EXPECT_EQ(t.Cells(0, 34), "1/4h.max:");
}

// A °C channel: each summary row is a mean, the total row the mean of the day
// means, not working days plus weekends.
TEST_F(MonthTable, AnAveragedQuantityShowsMeansInItsSummaryRows) {
    SetChannelKey(3, "Jednotka_v", "2");
    AddAllDayTariff1(Date(2023, 12, 1));
    Add(2024, 1, 10, 10, 0, 0, {0, 0, 20, 0});  // Wednesday, shift 1
    Add(2024, 1, 10, 15, 0, 0, {0, 0, 30, 0});  // shift 2
    Add(2024, 1, 13, 10, 0, 0, {0, 0, 14, 0});  // Saturday
    Save();
    TMesicniTabulkaForm& form = Open();
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 1, 1), 2);
    const THyperGrid& t = *form.Tabulka;
    ASSERT_EQ(t.RowCount(), 31 + 5);
    ASSERT_EQ(t.ColCount(), 10);
    EXPECT_EQ(t.ColumnFromGridIndex(7)->Caption(), "Celý den [°C]");
    EXPECT_EQ(RowTexts(t, 10),
              Labelled("10.01. st", {"20,0", "30,0", "0,0", "25,0", "0,0", "0,0", "25,0", "30,0", "15:00"}));
    EXPECT_EQ(RowTexts(t, 13),
              Labelled("13.01. so", {"14,0", "0,0", "0,0", "14,0", "0,0", "0,0", "14,0", "14,0", "10:00"}));
    EXPECT_EQ(RowTexts(t, 32),
              Labelled("Průměr:", {"17,0", "30,0", "0,0", "19,5", "0,0", "0,0", "19,5", "", ""}));
    EXPECT_EQ(RowTexts(t, 33), Labelled("Po÷Pá", {"20,0", "30,0", "0,0", "25,0", "0,0", "0,0", "25,0", "", ""}));
    EXPECT_EQ(RowTexts(t, 34), Labelled("So+Ne", {"14,0", "0,0", "0,0", "14,0", "0,0", "0,0", "14,0", "", ""}));
}

// The cos phi column, hidden for another channel or while it held texts, comes back
// empty: the old total row's cos phi must not turn up in the "Po÷Pá" row of a
// shorter month, which the fill leaves empty there.
TEST_F(MonthTable, AHiddenCosPhiColumnComesBackEmpty) {
    WriteApril();
    TMesicniTabulkaForm& form = Open();
    constexpr int cos = TMesicniTabulkaForm::CosPhiColumn;
    const auto cell = [&](int row) { return GetCellByColumn(*form.Tabulka, cos, row); };
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 4, 1), 0);
    ASSERT_EQ(cell(31), "0,87");

    Post(WM_SHOW_MONTH_TABLE, Date(2024, 4, 1), 1);  // no cos phi for this channel
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 2, 1), 0);
    ASSERT_EQ(form.Tabulka->Cells(0, 31), "Po÷Pá");
    EXPECT_EQ(cell(31), "");

    Post(WM_SHOW_MONTH_TABLE, Date(2024, 4, 1), 0);
    form.Tabulka->Columns().Items(cos)->SetVisible(false);  // hidden with its texts
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 2, 1), 0);
    EXPECT_EQ(cell(31), "");
    EXPECT_EQ(cell(30), "x");  // February has no records
}

// The evaluation leaves 1 as the cos phi and 0,0 at 00:00 of the first day as the
// maximum of a period without records; the table shows that there is none.
TEST_F(MonthTable, APeriodWithoutRecordsHasNoMaximumAndNoCosPhi) {
    WriteApril();
    TMesicniTabulkaForm& form = Open();
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 2, 1), 0);
    const THyperGrid& t = *form.Tabulka;
    ASSERT_EQ(form.PeriodDays, 29);
    EXPECT_EQ(RowTexts(t, 30), Labelled("Celkem:", {"0,0", "0,0", "0,0", "0,0", "0,0", "0,0", "0,0", "x", "", ""}));
    EXPECT_EQ(RowTexts(t, 33), Labelled("1/4h.max:", {"", "", "", "", "x", "x", "x", "", "", ""}));
    // One day with records is enough for both.
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 4, 1), 0);
    EXPECT_EQ(t.Cells(8, 31), "0,87");
    EXPECT_EQ(t.Cells(7, 34), "100,0");
}

// The tariff's cos phi is the mean over all its quarters of the period: (0.8 + 0.8
// + 1) / 3 in March, not the mean 0.9 of its two days.
TEST_F(MonthTable, ATariffsCosPhiIsTheMeanOfItsQuartersOverThePeriod) {
    WriteTariffQuarters();
    TMesicniTabulkaForm& form = Open();
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 3, 1), 0);
    const THyperGrid& t = *form.Tabulka;
    ASSERT_EQ(form.PeriodDays, 31);
    EXPECT_EQ(RowTexts(t, 36), Labelled("cos. fí:", {"", "", "", "0,87", "x", "x", "", "", "", ""}));
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 4, 1), 0);
    EXPECT_EQ(RowTexts(t, 35), Labelled("cos. fí:", {"", "", "", "0,60", "x", "x", "", "", "", ""}));
}

TEST_F(MonthTable, ACustomPeriodOfThirtyFiveDaysRunsIntoTheNextMonths) {
    TMesicniTabulkaForm& form = Open();
    form.PartialMonth = 1;
    form.PeriodDays = 35;
    Post(WM_SHOW_MONTH_TABLE, Date(2025, 1, 30), 0);
    const THyperGrid& t = *form.Tabulka;
    ASSERT_EQ(form.PeriodDays, 35);
    EXPECT_EQ(t.Headings().Items(0)->Caption(), "Měsíční výpis - Činný - Činný  30.01.2025");
    const std::pair<int, const char*> labels[] = {{1, "30.01. čt"}, {2, "31.01. pá"}, {3, "01.02. so"},
                                                  {30, "28.02. pá"}, {31, "01.03. so"}, {35, "05.03. st"}};
    for (const auto& [row, label] : labels)
        EXPECT_EQ(t.Cells(0, row), label) << row;
    EXPECT_EQ(t.Cells(0, 36), "Celkem:");
    EXPECT_EQ(t.Cells(1, 35), "x");
}

TEST_F(MonthTable, OpeningTheMonthOfADayTakesTheWholeLengthOfThatMonth) {
    TMesicniTabulkaForm& form = Open();
    form.PartialMonth = 1;
    form.PeriodDays = 35;
    form.SelectedRow = 33;
    Post(WM_OPEN_MONTH_TABLE, Date(2024, 2, 15), 0);
    EXPECT_EQ(form.SelectedRow, 29);  // the selection stays inside the shorter period
    EXPECT_EQ(form.PartialMonth, 0);
    EXPECT_EQ(form.PeriodDays, 29);
    EXPECT_EQ(form.Tabulka->Cells(0, 1), "15.02. čt");
    EXPECT_EQ(form.Tabulka->Cells(0, 29), "14.03. čt");
    // "Denní tab." opens the last day of the table, not one past it.
    main_.answer = false;
    ExpectRequest(form.Btn_DenTab, WM_OPEN_DAY_TABLE, Date(2024, 3, 14));
}

TEST_F(MonthTable, TheButtonsMoveByMonthsAndOpenTheYearAndTheSelectedDay) {
    WriteApril();
    TMesicniTabulkaForm& form = Open();
    Post(WM_SHOW_MONTH_TABLE, Date(2024, 4, 1), 0);
    main_.answer = false;
    form.SelectedRow = 3;
    form.PartialMonth = 1;
    ExpectRequest(form.Btn_Predchozi, WM_SHOW_MONTH_TABLE, Date(2024, 3, 1));
    ExpectRequest(form.Btn_Dalsi, WM_SHOW_MONTH_TABLE, Date(2024, 4, 1));
    ExpectRequest(form.Btn_Dalsi, WM_SHOW_MONTH_TABLE, Date(2024, 5, 1));
    ExpectRequest(form.Btn_RokTab, WM_OPEN_YEAR_TABLE, Date(2024, 5, 1));
    ExpectRequest(form.Btn_DenTab, WM_OPEN_DAY_TABLE, Date(2024, 5, 3));
    EXPECT_EQ(form.PartialMonth, 1);
    ExpectRequest(form.Btn_Dnesni, WM_SHOW_MONTH_TABLE, Today());
    EXPECT_EQ(form.PartialMonth, 0);
    ExpectRequest(form.Btn_VyberData, WM_SHOW_MONTH_TABLE, 0);
    ExpectLaterButtonsOff(form);
}

} // namespace
} // namespace zeko::test
