// The year table filled from month files: month labels across the turn of the
// year, the transformer-loss column and row, the "x" of a month without records,
// the summary rows (means for an averaged quantity), hidden columns shown again
// empty, and the requests of its buttons.
#include "tables/MesicniTabulka.h"
#include "tables/RocniTabulka.h"

#include "TableFixture.h"

#include <QPushButton>

namespace zeko::test {
namespace {

using Row = std::vector<std::string>;

class YearTable : public TableTest {
protected:
    TRocniTabulkaForm& Open() {
        windows_.OpenYearTable();
        return *windows_.YearForm();
    }
    // The year from `first` of a channel whose table has no losses column or row.
    const THyperGrid& ShowWithoutLosses(TDateTime first, int channel, const std::string& totalCaption) {
        TRocniTabulkaForm& form = Open();
        Post(WM_SHOW_YEAR_TABLE, first, channel);
        const THyperGrid& t = *form.Tabulka;
        EXPECT_FALSE(form.TrfShown);
        EXPECT_EQ(t.RowCount(), 12 + 5);
        EXPECT_EQ(t.ColCount(), 11);
        EXPECT_EQ(t.ColumnFromGridIndex(7)->Caption(), totalCaption);
        return t;
    }
    static Row Blank(Row values, size_t width) {
        values.resize(width, "");
        return values;
    }
};

TEST_F(YearTable, TwelveMonthsFromNovemberWithTransformerLosses) {
    WriteYear();
    TRocniTabulkaForm& form = Open();
    Post(WM_SHOW_YEAR_TABLE, Date(2023, 11, 1), 0);
    const THyperGrid& t = *form.Tabulka;

    EXPECT_TRUE(form.TrfShown);
    ASSERT_EQ(t.RowCount(), 19);
    ASSERT_EQ(t.ColCount(), 13);
    EXPECT_EQ(t.Headings().Items(0)->Caption(), "Roční výpis - Činný - Činný  01.11.2023");
    std::vector<std::string> captions;
    for (int c = 0; c < t.ColCount(); ++c)
        captions.push_back(t.ColumnFromGridIndex(c)->Caption());
    EXPECT_EQ(captions, (Row{"Odběr:\nMěsíc:", "S1", "S2", "S3", "T1", "T2", "T3", "Celý měsíc [kWh]",
                             "TRF [kWh]", "cos.fí", "Hodnota [kW]", "Čas", "Datum"}));
    const Row zeros(5, "0,0");
    auto values = [&](const char* total, const char* trf, const char* cos, const char* max, const char* date) {
        Row r{total};
        r.insert(r.end(), zeros.begin(), zeros.end());
        r.insert(r.end(), {total, trf, cos, max, "10:15", date});
        return r;
    };
    EXPECT_EQ(RowTexts(t, 1), Labelled("11. 2023", values("1000,0", "1025,0", "0,80", "4000,0", "15.11.")));
    EXPECT_EQ(RowTexts(t, 2), Labelled("12. 2023", Row(12, "x")));
    EXPECT_EQ(RowTexts(t, 3), Labelled("01. 2024", values("200,0", "205,0", "1,00", "800,0", "06.01.")));
    EXPECT_EQ(RowTexts(t, 12), Labelled("10. 2024", Row(12, "x")));

    auto summary = [&](const char* label, const char* total, const char* trf, const char* cos = "") {
        Row r{label, total};
        r.insert(r.end(), zeros.begin(), zeros.end());
        r.insert(r.end(), {total, trf, cos});
        return Blank(r, 13);
    };
    EXPECT_EQ(RowTexts(t, 13), summary("Celkem:", "1200,0", "1230,0", "0,90"));
    EXPECT_EQ(RowTexts(t, 14), summary("Celk. TRF:", "1230,0", ""));
    EXPECT_EQ(RowTexts(t, 15), summary("Po÷Pá", "1000,0", "1025,0"));
    EXPECT_EQ(RowTexts(t, 16), summary("So+Ne", "200,0", "205,0"));
    EXPECT_EQ(RowTexts(t, 17), Blank({"1/4h.max:", "", "", "", "", "15.11.2023", "10:15", "4000,0"}, 13));
    // No record lies in a tariff.
    EXPECT_EQ(RowTexts(t, 18), Blank({"cos. fí:", "", "", "", "x", "x", "x"}, 13));
    KeepPicture(form, "rocni-tabulka");
}

TEST_F(YearTable, WithoutLossesTheTrfColumnAndRowAreAbsent) {
    Add(2024, 2, 7, 10, 15, 0, {0, 400, 0, 0});
    Save();
    const THyperGrid& t = ShowWithoutLosses(Date(2024, 1, 1), 1, "Celý měsíc [kVArh]");
    EXPECT_EQ(t.ColumnFromGridIndex(8)->Caption(), "Hodnota [kVAr]");
    EXPECT_EQ(RowTexts(t, 2), Labelled("02. 2024", {"100,0", "0,0", "0,0", "0,0", "0,0", "0,0", "100,0", "400,0",
                                                 "10:15", "07.02."}));
    const Row labels = {"Celkem:", "Po÷Pá", "So+Ne", "1/4h.max:"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(t.Cells(0, 13 + i), labels[static_cast<size_t>(i)]);

    Post(WM_SHOW_YEAR_TABLE, Date(2024, 1, 1), 0);  // the own measurement adds the cos phi row
    EXPECT_EQ(t.RowCount(), 12 + 6);
    EXPECT_EQ(t.Cells(0, 17), "cos. fí:");
}

// A °C channel (with a loss value, which a temperature has no use for): its total
// row is the mean over all the year's records, not working days plus weekends.
TEST_F(YearTable, AnAveragedQuantityShowsMeansOverTheYearAndNoLosses) {
    SetChannelKey(3, "Jednotka_v", "2");
    SetChannelKey(3, "ZtratyTRF_v", "2,5");
    AddAllDayTariff1(Date(2023, 12, 1));
    Add(2024, 1, 10, 12, 0, 0, {0, 0, 20, 0});  // Wednesdays
    Add(2024, 1, 17, 12, 0, 0, {0, 0, 22, 0});
    Add(2024, 2, 7, 12, 0, 0, {0, 0, 30, 0});
    Add(2024, 2, 10, 12, 0, 0, {0, 0, 18, 0});  // Saturday
    Save();
    const THyperGrid& t = ShowWithoutLosses(Date(2024, 1, 1), 2, "Celý měsíc [°C]");
    auto means = [](const char* label, const char* value, Row rest = {"", "", ""}) {
        Row r{label, value, "0,0", "0,0", value, "0,0", "0,0", value};
        r.insert(r.end(), rest.begin(), rest.end());
        return r;
    };
    EXPECT_EQ(RowTexts(t, 1), means("01. 2024", "21,0", {"22,0", "12:00", "17.01."}));
    EXPECT_EQ(RowTexts(t, 2), means("02. 2024", "24,0", {"30,0", "12:00", "07.02."}));
    EXPECT_EQ(RowTexts(t, 13), means("Průměr:", "22,5"));
    EXPECT_EQ(RowTexts(t, 14), means("Po÷Pá", "24,0"));
    EXPECT_EQ(RowTexts(t, 15), means("So+Ne", "18,0"));
    EXPECT_EQ(RowTexts(t, 16), Blank({"1/4h.max:", "", "", "", "", "07.02.2024", "12:00", "30,0"}, 11));
}

// The year's tariff cos phi is the mean over the tariff's quarters of all months:
// (0.8 + 0.8 + 1 + 0.6) / 4, not the mean of March's 0.87 and April's 0.60.
TEST_F(YearTable, ATariffsCosPhiIsTheMeanOfItsQuartersOverTheYear) {
    WriteTariffQuarters();
    TRocniTabulkaForm& form = Open();
    Post(WM_SHOW_YEAR_TABLE, Date(2024, 3, 1), 0);
    const THyperGrid& t = *form.Tabulka;
    ASSERT_EQ(t.Cells(0, 17), "cos. fí:");
    EXPECT_EQ(RowTexts(t, 17), Blank({"cos. fí:", "", "", "", "0,80", "x", "x"}, 12));
}

// A year without records has no maximum and no cos phi, where the evaluation
// leaves 0,0 at 00:00 and 1.
TEST_F(YearTable, AYearWithoutRecordsHasNoMaximumAndNoCosPhi) {
    TRocniTabulkaForm& form = Open();
    Post(WM_SHOW_YEAR_TABLE, Date(2020, 1, 1), 0);
    const THyperGrid& t = *form.Tabulka;
    ASSERT_FALSE(form.TrfShown);
    EXPECT_EQ(RowTexts(t, 2), Labelled("02. 2020", Row(11, "x")));
    EXPECT_EQ(RowTexts(t, 13), Labelled("Celkem:", {"0,0", "0,0", "0,0", "0,0", "0,0", "0,0", "0,0", "x", "", "", ""}));
    EXPECT_EQ(RowTexts(t, 16), Blank({"1/4h.max:", "", "", "", "", "x", "x", "x"}, 12));
}

// The losses and cos phi columns, hidden for another channel or while they held
// texts, come back empty: the old total row's figures must not turn up in the
// "Celk. TRF:" row of a shorter period, which the fill leaves empty there.
TEST_F(YearTable, HiddenColumnsComeBackEmpty) {
    WriteYear();
    TRocniTabulkaForm& form = Open();
    constexpr int trf = TRocniTabulkaForm::TrfColumn, cos = TRocniTabulkaForm::CosPhiColumn;
    const auto cell = [&](int column, int row) { return GetCellByColumn(*form.Tabulka, column, row); };
    // A shorter period: its "Celk. TRF:" row has neither figure, its total row both.
    const auto showShorter = [&](int months) {
        YearMonthCount = static_cast<uint8_t>(months);
        Post(WM_SHOW_YEAR_TABLE, Date(2023, 11, 1), 0);
        const int trfRow = months + 2;
        ASSERT_EQ(form.Tabulka->Cells(0, trfRow), "Celk. TRF:");
        EXPECT_EQ(cell(trf, trfRow), "");
        EXPECT_EQ(cell(cos, trfRow), "");
        EXPECT_EQ(cell(trf, months + 1), "1230,0");
        EXPECT_EQ(cell(cos, months + 1), "0,90");
    };
    Post(WM_SHOW_YEAR_TABLE, Date(2023, 11, 1), 0);
    ASSERT_EQ(cell(trf, 13), "1230,0");
    ASSERT_EQ(cell(cos, 13), "0,90");

    Post(WM_SHOW_YEAR_TABLE, Date(2023, 11, 1), 1);  // neither column for this channel
    showShorter(11);

    for (int column : {trf, cos})  // hidden with their texts
        form.Tabulka->Columns().Items(column)->SetVisible(false);
    showShorter(10);
}

TEST_F(YearTable, AMonthSelectedBeyondAShorterPeriodOpensItsLastMonth) {
    WriteYear();
    TRocniTabulkaForm& form = Open();
    Post(WM_SHOW_YEAR_TABLE, Date(2023, 11, 1), 0);
    form.TabulkaFixedCellClick(0, 12);
    ASSERT_EQ(form.SelectedRow, 12);
    YearMonthCount = 6;
    YearCustomPeriod = 1;
    Post(WM_SHOW_YEAR_TABLE, Date(2023, 11, 1), 0);
    EXPECT_EQ(form.SelectedRow, 6);
    form.TabulkaFixedCellClick(0, 7);  // the total row is no month
    EXPECT_EQ(form.SelectedRow, 6);
    main_.answer = false;
    ExpectRequest(form.Btn_MesTab, WM_OPEN_MONTH_TABLE, Date(2024, 4, 1));
}

TEST_F(YearTable, AFreshWindowLabelsTheCurrentYearAndAThirteenMonthRequestAddsARow) {
    TRocniTabulkaForm& form = Open();
    const int year = DecodeDate(Today()).Year;
    EXPECT_EQ(YearMonthCount, 12);
    EXPECT_EQ(form.Tabulka->Cells(0, 1), "01. " + std::to_string(year));
    EXPECT_EQ(form.Tabulka->Cells(0, 12), "12. " + std::to_string(year));
    YearMonthCount = 13;
    YearCustomPeriod = 1;
    Post(WM_SHOW_YEAR_TABLE, Date(2023, 11, 20), 0);
    EXPECT_EQ(form.FirstMonth, Date(2023, 11, 1));
    EXPECT_EQ(form.Tabulka->Cells(0, 13), "11. 2024");
    EXPECT_EQ(form.Tabulka->Cells(0, 14), "Celkem:");
}

TEST_F(YearTable, TheButtonsMoveByYearsAndOpenTheSelectedMonth) {
    WriteYear();
    TRocniTabulkaForm& form = Open();
    Post(WM_SHOW_YEAR_TABLE, Date(2023, 11, 1), 0);

    THyperGrid& grid = *form.Tabulka;
    const TRect label = grid.CellRect(0, 3);
    grid.MouseDown(mbLeft, {}, label.Left + 5, label.Top + 5);
    grid.MouseUp(mbLeft, {}, label.Left + 5, label.Top + 5);
    EXPECT_EQ(form.SelectedRow, 3);
    EXPECT_EQ(LookOf(form, 0, 3).Color, 0x00FF00);
    EXPECT_EQ(LookOf(form, 0, 1).Color, clBtnFace);
    EXPECT_EQ(LookOf(form, 7, 3).Color, clAqua);

    form.Btn_MesTab->click();
    Pump();
    EXPECT_EQ(LastRequest().Msg, WM_OPEN_MONTH_TABLE);
    EXPECT_EQ(LastRequest().WParam, static_cast<uintptr_t>(Date(2024, 1, 1)));
    ASSERT_NE(windows_.MonthForm(), nullptr);
    EXPECT_EQ(windows_.MonthForm()->FirstDay, Date(2024, 1, 1));
    EXPECT_EQ(windows_.MonthForm()->Tabulka->Cells(7, 6), "200,0");

    main_.answer = false;
    YearCustomPeriod = 1;
    ExpectRequest(form.Btn_Predchozi, WM_SHOW_YEAR_TABLE, Date(2022, 11, 1));
    ExpectRequest(form.Btn_Dalsi, WM_SHOW_YEAR_TABLE, Date(2023, 11, 1));
    ExpectRequest(form.Btn_Dalsi, WM_SHOW_YEAR_TABLE, Date(2024, 11, 1));
    EXPECT_EQ(YearCustomPeriod, 1);
    const DateParts today = DecodeDate(Today());
    ExpectRequest(form.Btn_Dnesni, WM_SHOW_YEAR_TABLE, Date(today.Year, today.Month, 1));
    EXPECT_EQ(YearCustomPeriod, 0);
    ExpectRequest(form.Btn_VyberData, WM_SHOW_YEAR_TABLE, 0);
    ExpectLaterButtonsOff(form);
}

} // namespace
} // namespace zeko::test
