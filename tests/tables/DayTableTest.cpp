// The day table filled from month files: cell texts, hour labels, headings, the
// maximum and minimum cells, the rows of several records, the shift and tariff
// grid, and the requests of its buttons.
#include "tables/dennitabulka.h"

#include "TableFixture.h"

#include <QPushButton>

namespace zeko::test {
namespace {

using Row = std::vector<std::string>;

class DayTable : public TableTest {
protected:
    TDenniTabulkaForm& Open() {
        windows_.OpenDayTable();
        return *windows_.DayForm();
    }
    // Tuesday 5 March 2024 on the regulator's own measurement (inputs 1..3), the
    // tariff 1 band 10:00-12:00 on working days.
    void WriteTuesday() {
        Add(2024, 3, 5, 0, 15, 0, {5, 0, 0, 0});
        Add(2024, 3, 5, 10, 15, 0, {100, 75, 0, 0});
        Add(2024, 3, 5, 10, 30, 0, {120, 75, 0, 0});
        Add(2024, 3, 5, 10, 45, 0, {80, 75, 0, 0});
        Add(2024, 3, 5, 11, 0, 0, {100, 75, 0, 0});
        Add(2024, 3, 5, 13, 20, 0, {10, 0, 0, 0});  // two records in one quarter
        Add(2024, 3, 5, 13, 21, 0, {14, 0, 0, 0});
        Add(2024, 3, 5, 23, 55, 0, {200, 0, 0, 0});  // the maximum
        Add(2024, 3, 6, 0, 5, 0, {7, 0, 0, 0});      // still the last quarter of the 5th
        Save();
        TTariffTable tariffs;
        SetZone(tariffs, 0, 1, 1, 600, 720);
        AddTariffs(Date(2024, 1, 1), tariffs);
    }
};

TEST_F(DayTable, AnOwnMeasurementDayShowsQuartersHoursCosPhiAndTheDaySummary) {
    WriteTuesday();
    TDenniTabulkaForm& form = Open();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
    const THyperGrid& t = *form.Tabulka;

    ASSERT_EQ(t.ColCount(), 7);  // hour, four quarters, hour total, cos phi
    EXPECT_EQ(t.RowCount(), 27);
    EXPECT_EQ(t.Headings().Items(0)->Caption(), "Denní výpis : Činný - Činný - úterý  05.03.2024");
    EXPECT_EQ(t.ColumnFromGridIndex(5)->Caption(), "Celkem [kWh]:");
    EXPECT_EQ(t.ColumnFromGridIndex(6)->Caption(), "cos. fí");
    EXPECT_EQ(RowTexts(t, 1), (Row{"00 - 01", "5,0", "x", "x", "x", "1,3", "1,00"}));
    EXPECT_EQ(RowTexts(t, 2), (Row{"01 - 02", "x", "x", "x", "x", "0,0", "x"}));
    EXPECT_EQ(RowTexts(t, 11), (Row{"10 - 11", "100,0", "120,0", "80,0", "100,0", "100,0", "0,80"}));
    EXPECT_EQ(RowTexts(t, 14), (Row{"13 - 14", "14,0", "x", "x", "x", "6,0", "1,00"}));
    EXPECT_EQ(RowTexts(t, 24), (Row{"23 - 00", "x", "x", "x", "200,0", "51,8", "1,00"}));
    EXPECT_EQ(RowTexts(t, 25), (Row{"Celkem:", "", "", "", "", "159,0", "0,95"}));
    EXPECT_EQ(RowTexts(t, 26), (Row{"MIN/MAX", "00:15", "5,0", "", "23:55", "200,0", ""}));

    // Tariff 1 holds the four quarters of 10 - 11, whose cos phi 0.80, 0.85, 0.73
    // and 0.80 have the mean 0.79 (the hour's powers give 0.80); tariffs 2 and 3
    // have no records.
    const THyperGrid& s = *form.Tabulka1;
    EXPECT_EQ(RowTexts(s, 0), (Row{"", "", "", "", "0,79", "x", "x"}));
    EXPECT_EQ(RowTexts(s, 1), (Row{"Součty [kWh]:", "106,0", "0,0", "53,0", "100,0", "0,0", "0,0"}));
    // Shift 2 and tariffs 2 and 3 had no records: no maximum, no time.
    EXPECT_EQ(RowTexts(s, 2), (Row{"Maxima [kW]:", "120,0", "x", "200,0", "120,0", "x", "x"}));
    EXPECT_EQ(RowTexts(s, 3), (Row{"Časy:", "10:30", "x", "23:55", "10:30", "x", "x"}));
    EXPECT_EQ(s.Columns().Items(4)->Caption(), "Tarif 1");
    EXPECT_EQ(form.DayType, 0);
    EXPECT_TRUE(form.Tariffs.Zone(0, 1, 1).InUse());
    KeepPicture(form, "denni-tabulka");
}

TEST_F(DayTable, TheMaximumIsRedTheMinimumBlueAndHoursOfSeveralRecordsHaveARedTotal) {
    WriteTuesday();
    TDenniTabulkaForm& form = Open();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
    EXPECT_EQ(form.MaxCellRow, 24);
    EXPECT_EQ(form.MaxCellCol, 4);
    EXPECT_EQ(form.MinCellRow, 1);
    EXPECT_EQ(form.MinCellCol, 1);
    const CellLook max = LookOf(form, 4, 24);
    EXPECT_EQ(max.Color, 0x0000FF);
    EXPECT_EQ(max.FontColor, clWhite);
    const CellLook min = LookOf(form, 1, 1);
    EXPECT_EQ(min.Color, 0xFF0000);
    EXPECT_EQ(min.FontColor, clWhite);
    EXPECT_EQ(LookOf(form, 5, 14).FontColor, clRed);   // 13:20 and 13:21 share a quarter
    EXPECT_EQ(LookOf(form, 5, 24).FontColor, clRed);   // 23:55 and 00:05
    EXPECT_EQ(LookOf(form, 5, 11).FontColor, clBlack);
    EXPECT_EQ(LookOf(form, 5, 11).Color, clAqua);
    EXPECT_EQ(LookOf(form, 2, 11).FontColor, clBlack);
    EXPECT_EQ(LookOf(form, 5, 25).FontColor, clWindowText);  // the summary rows keep the column's look

    // The same on the screen: the maximum cell's fill, and the thick line over "Celkem:".
    QImage picture = form.Tabulka->PaintToImage();
    const TRect maxCell = form.Tabulka->CellRect(4, 24);
    EXPECT_EQ(PixelAt(picture, maxCell.Left + 1, maxCell.Top + 1), 0x0000FF);
    const TRect minCell = form.Tabulka->CellRect(1, 1);
    EXPECT_EQ(PixelAt(picture, minCell.Left + 1, minCell.Top + 1), 0xFF0000);
    const TRect total = form.Tabulka->CellRect(3, 25);
    EXPECT_EQ(PixelAt(picture, total.Left + 5, total.Top), clBlack);
    EXPECT_EQ(PixelAt(picture, total.Left + 5, total.Top + 1), clBlack);
    EXPECT_EQ(PixelAt(picture, total.Left + 5, total.Top + 3), ColorToRGB(clWindow));
}

TEST_F(DayTable, AMaximumJustAfterMidnightBelongsToTheQuarterThatBeganBeforeIt) {
    Add(2024, 3, 5, 9, 0, 0, {10, 0, 0, 0});
    Add(2024, 3, 6, 0, 5, 0, {90, 0, 0, 0});
    Save();
    TDenniTabulkaForm& form = Open();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
    EXPECT_EQ(form.MaxCellRow, 24);
    EXPECT_EQ(form.MaxCellCol, 4);
    EXPECT_EQ(form.Tabulka->Cells(4, 24), "90,0");
    EXPECT_EQ(form.Tabulka->Cells(4, 26), "00:05");
}

TEST_F(DayTable, EachTariffShowsTheCosPhiOfItsQuartersAndXWithoutRecords) {
    WriteTariffQuarters();
    TDenniTabulkaForm& form = Open();
    const THyperGrid& s = *form.Tabulka1;
    // Another channel's records in the same tariff give it no cos phi.
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 1);
    EXPECT_EQ(s.Cells(4, 1), "150,0");  // tariff 1: (300 + 300) ÷ 4
    EXPECT_EQ(RowTexts(s, 0), (Row{"", "", "", "", "", "", ""}));

    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
    EXPECT_EQ(RowTexts(s, 0), (Row{"", "", "", "", "0,80", "x", "x"}));
    EXPECT_EQ(RowTexts(*form.Tabulka, 25).back(), "0,90");  // the day's: the hours 0.8 and 1
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 6), 0);
    EXPECT_EQ(RowTexts(s, 0), (Row{"", "", "", "", "1,00", "x", "x"}));
}

TEST_F(DayTable, ADayStartingAtSixLabelsItsHoursFromSixAndHidesTheCosPhiOfAnotherChannel) {
    SetChannelKey(2, "PocatekDne_v", "6");
    Add(2024, 3, 5, 6, 15, 0, {0, 50, 0, 0});   // row 1, slot 1
    Add(2024, 3, 5, 7, 7, 31, {0, 60, 0, 0});   // row 2, slot 1
    Add(2024, 3, 6, 6, 5, 0, {0, 70, 0, 0});    // row 24, slot 4
    Save();
    TDenniTabulkaForm& form = Open();
    const THyperGrid& t = *form.Tabulka;
    EXPECT_EQ(t.Cells(0, 1), "00 - 01");  // before the first day: from midnight
    EXPECT_EQ(t.Cells(0, 24), "23 - 24");
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 1);

    ASSERT_EQ(t.ColCount(), 6);
    EXPECT_EQ(t.Headings().Items(0)->Caption(), "Denní výpis : Jalový - Jalový - úterý  05.03.2024");
    EXPECT_EQ(t.Columns().Items(5)->Caption(), "Celkem [kVArh]:");
    EXPECT_EQ(RowTexts(t, 1), (Row{"06 - 07", "50,0", "x", "x", "x", "12,5"}));
    EXPECT_EQ(RowTexts(t, 2), (Row{"07 - 08", "60,0", "x", "x", "x", "15,0"}));
    EXPECT_EQ(t.Cells(0, 18), "23 - 00");
    EXPECT_EQ(t.Cells(0, 19), "00 - 01");
    EXPECT_EQ(RowTexts(t, 24), (Row{"05 - 06", "x", "x", "x", "70,0", "17,5"}));
    EXPECT_EQ(form.DayStartHour, 6);
    EXPECT_EQ(form.MinCellRow, 1);
    EXPECT_EQ(form.MaxCellRow, 24);
    const THyperGrid& s = *form.Tabulka1;
    EXPECT_EQ(s.Cells(0, 1), "Součty [kVArh]:");
    EXPECT_EQ(s.Cells(0, 2), "Maxima [kVAr]:");
    EXPECT_EQ(s.Cells(4, 0), "");  // no tariff cos phi for another channel
    KeepPicture(form, "denni-tabulka-od-6");
}

TEST_F(DayTable, AnAveragedQuantityShowsMeansWithoutColonsAndTheLocaleSeparator) {
    SetChannelKey(4, "Jednotka_v", "2");  // °C
    Add(2024, 3, 5, 10, 15, 0, {0, 0, 0, 20});
    Add(2024, 3, 5, 10, 30, 0, {0, 0, 0, 21});
    Add(2024, 3, 5, 10, 45, 0, {0, 0, 0, 22});
    Add(2024, 3, 5, 11, 0, 0, {0, 0, 0, 23});
    Save();
    FormatSettings().DecimalSeparator = '.';
    TDenniTabulkaForm& form = Open();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 3);
    EXPECT_EQ(form.Tabulka->Columns().Items(5)->Caption(), "Průměr [°C]");
    EXPECT_EQ(form.Tabulka1->Cells(0, 1), "Průměry [°C]");
    EXPECT_EQ(form.Tabulka1->Cells(0, 2), "Maxima [°C]:");
    EXPECT_EQ(RowTexts(*form.Tabulka, 11), (Row{"10 - 11", "20.0", "21.0", "22.0", "23.0", "21.5"}));
}

TEST_F(DayTable, ADayWithoutRecordsSaysSoAndTheWindowKeepsWhatItShowed) {
    WriteTuesday();
    TDenniTabulkaForm& form = Open();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 7), 0);
    ASSERT_EQ(notifier_.Messages().size(), 1u);
    EXPECT_EQ(notifier_.Messages()[0].Text, "Pro daný den nejsou k dispozici žádné záznamy!");  // March has a file
    EXPECT_EQ(form.Day, Date(2024, 3, 5));
    EXPECT_EQ(form.Tabulka->Cells(1, 11), "100,0");
}

TEST_F(DayTable, TheButtonsAskForTheNeighbouringDaysAndTheMonthAndYearOfTheDay) {
    WriteTuesday();
    TDenniTabulkaForm& form = Open();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
    main_.answer = false;
    ExpectRequest(form.Btn_Predchozi, WM_SHOW_DAY_TABLE, Date(2024, 3, 4));
    ExpectRequest(form.Btn_Dalsi, WM_SHOW_DAY_TABLE, Date(2024, 3, 6));
    ExpectRequest(form.Btn_Dnesni, WM_SHOW_DAY_TABLE, Today());
    ExpectRequest(form.Btn_MesTab, WM_OPEN_MONTH_TABLE, Date(2024, 3, 5));
    ExpectRequest(form.Btn_RokTab, WM_OPEN_YEAR_TABLE, Date(2024, 3, 5));
    form.Btn_Graf->click();
    Pump();
    EXPECT_EQ(LastRequest().Msg, WM_SHOW_ARCHIVE);
    EXPECT_EQ(LastRequest().WParam, static_cast<uintptr_t>(Date(2024, 3, 5)));
    ExpectRequest(form.Btn_VyberData, WM_SHOW_DAY_TABLE, 0);
    ExpectLaterButtonsOff(form, true);
}

TEST_F(DayTable, TheNextDayButtonShowsTheNextDay) {
    WriteTuesday();
    Add(2024, 3, 6, 12, 0, 0, {44, 0, 0, 0});
    Save();
    TDenniTabulkaForm& form = Open();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
    form.Btn_Dalsi->click();
    Pump();
    EXPECT_EQ(form.Day, Date(2024, 3, 6));
    EXPECT_EQ(form.Tabulka->Headings().Items(0)->Caption(), "Denní výpis : Činný - Činný - středa  06.03.2024");
    EXPECT_EQ(form.Tabulka->Cells(4, 12), "44,0");
    EXPECT_EQ(form.Tabulka->Cells(1, 1), "x");
}

} // namespace
} // namespace zeko::test
