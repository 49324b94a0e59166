#pragma once
// The table windows in an MDI area of their own, with the main window's side of
// the requests (TTableWindows) standing in for the main window under its class
// name, over a program directory of the test's own: month files written through
// the record store, schedule histories through the history writer, the channels
// through "Zarizeni.ini"; the records and histories of app/evaluation/EvaluationRecords.h.
#include "app/evaluation/DayResult.h"
#include "app/evaluation/EvaluationRecords.h"
#include "app/evaluation/PeriodResult.h"
#include "app/TableWindows.h"
#include "core/Holidays.h"
#include "core/MojeDB.h"
#include "core/PripojenaZarizeniUnit.h"
#include "core/ProgramGlobals.h"
#include "core/RecordSaving.h"
#include "core/Schedules.h"
#include "core/WindowHelpers.h"
#include "core/ZekoMessages.h"
#include "platform/FormatSettings.h"
#include "platform/IniFile.h"
#include "platform/MainThread.h"
#include "platform/Notifier.h"
#include "platform/ProgramDir.h"
#include "platform/Registry.h"
#include "support/TempDir.h"
#include "tables/TableForm.h"

#include <QMdiArea>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "ImageProbe.h"
#include "QtTestApp.h"

namespace zeko::test {

inline TDateTime Date(int y, int m, int d) { return EncodeDate(y, m, d); }

// The main window as the table windows see it: it takes their requests and answers
// them through TTableWindows, keeping a copy of each.
struct MainWindowStandIn : MessageTarget {
    explicit MainWindowStandIn(TTableWindows& windows) : MessageTarget(MainWindowClass), windows(windows) {}
    void HandleMessage(const TMessage& m) override {
        got.push_back(m);
        if (answer)
            windows.HandleMessage(m);
    }
    TTableWindows& windows;
    std::vector<TMessage> got;
    bool answer = true;
};

class TableTest : public ::testing::Test {
protected:
    TableTest() : dir_(true) {
        SetMainThread(&queue_);
        SetRegistryFilePath(dir_ / "registry.reg");
        FormatSettings().ShortDateFormat = "dd/mm/yyyy";
        FormatSettings().DateSeparator = '.';
        FormatSettings().DecimalSeparator = ',';
        WindowWidth = 1023;
        Devices = &devices_;
        MojeDB = &db_;
        LoadChannels();
        mainForm_.resize(1015, 680);
        area_->setGeometry(0, 0, 1015, 680);
        mainForm_.show();
    }
    ~TableTest() override {
        area_->closeAllSubWindows();
        mainForm_.hide();
        SetMainThread(nullptr);
        SetRegistryFilePath(std::nullopt);
        FormatSettings().DecimalSeparator = ',';
        WindowWidth = 1023;
        PouzivejSvatky = true;
        RegulatorMeasurementId = 0;
        YearMonthCount = 12;
        YearCustomPeriod = 0;
        HolidayList.clear();
        InitDefaultSchedules();
        Devices = nullptr;
        MojeDB = nullptr;
    }

    // "Zarizeni.ini" keys of channel n (1..4), then the channel list read again.
    void SetChannelKey(int n, const std::string& key, const std::string& value) {
        TIniFile ini(ProgramFile("Zarizeni.ini"));
        ini.WriteString("ZEKO", key + std::to_string(n), value);
        ini.UpdateFile();
        LoadChannels();
    }
    void LoadChannels() { devices_.LoadFromIni(ProgramFile("Zarizeni.ini")); }

    // A record of yyyy-mm-dd hh:mi:ss whose inputs 1..4 have the values given.
    void Add(int y, int mo, int d, int h, int mi, int s, std::array<uint16_t, 4> values) {
        records_.push_back(ValueRecord(y, mo, d, h, mi, s, values));
    }
    // Stores the records added so far into the month files.
    void Save() {
        SaveRecords(records_, "");
        records_.clear();
    }
    // Tariff 1 the whole day, on working days and weekends alike.
    void AddAllDayTariff1(TDateTime validFrom) {
        TTariffTable tariffs;
        for (int dayType : {0, 1})
            SetZone(tariffs, dayType, 1, 1, 0, 0);
        AddTariffs(validFrom, tariffs);
    }

    // The regulator's own measurement with tariff 1 from 06:00 to 14:00 and tariff 2
    // from 22:00 to 06:00 on working days: on Tuesday 5 March 2024 two quarters of
    // tariff 1 with P1 400 and P2 300 (cos phi 0.8) and one hour of no tariff, on
    // the 6th one quarter of tariff 1 with cos phi 1, on Wednesday 3 April one with
    // 0.6. Tariff 2 has no records.
    void WriteTariffQuarters() {
        Add(2024, 3, 5, 10, 15, 0, {400, 300, 0, 0});
        Add(2024, 3, 5, 10, 30, 0, {400, 300, 0, 0});
        Add(2024, 3, 5, 15, 0, 0, {100, 0, 0, 0});
        Add(2024, 3, 6, 10, 15, 0, {400, 0, 0, 0});
        Add(2024, 4, 3, 10, 15, 0, {300, 400, 0, 0});
        Save();
        TTariffTable tariffs;
        SetZone(tariffs, 0, 1, 1, 360, 840);
        SetZone(tariffs, 0, 2, 1, 1320, 360);
        AddTariffs(Date(2024, 1, 1), tariffs);
    }

    // April 2024 on the regulator's own measurement: Easter Monday the 1st, a
    // Tuesday and a Saturday with records.
    void WriteApril() {
        Add(2024, 4, 1, 10, 15, 0, {100, 75, 0, 0});
        Add(2024, 4, 2, 10, 15, 0, {40, 30, 0, 0});
        Add(2024, 4, 2, 10, 30, 0, {60, 45, 0, 0});
        Add(2024, 4, 6, 10, 15, 0, {80, 0, 0, 0});
        Save();
    }
    // A Wednesday in November 2023 and a Saturday in January 2024 on the
    // regulator's own measurement, with transformer losses of 2.5 %.
    void WriteYear() {
        SetChannelKey(1, "ZtratyTRF_v", "2,5");
        Add(2023, 11, 15, 10, 15, 0, {4000, 3000, 0, 0});
        Add(2024, 1, 6, 10, 15, 0, {800, 0, 0, 0});
        Save();
    }

    // A request as a table window posts it, answered once the queue is pumped.
    void Post(uint32_t msg, TDateTime date, int channel) {
        PostToWindow(MainWindowClass, msg, static_cast<uintptr_t>(date), channel);
        Pump();
    }
    void Pump() { queue_.Pump(); }
    // The last message the main window got; Msg 0 when none.
    TMessage LastRequest() const { return main_.got.empty() ? TMessage{} : main_.got.back(); }

    // The button posts `msg` with the date and channel 0 to the main window.
    void ExpectRequest(QPushButton* button, uint32_t msg, TDateTime date) {
        button->click();
        Pump();
        const std::string name = button->objectName().toStdString();
        EXPECT_EQ(LastRequest().Msg, msg) << name;
        EXPECT_EQ(LastRequest().WParam, static_cast<uintptr_t>(date)) << name;
        EXPECT_EQ(LastRequest().LParam, 0) << name;
    }
    // The analyses stay off; the date choice, printing and the exports work, and
    // the graph is offered by the day table only.
    static void ExpectLaterButtonsOff(const TTableForm& form, bool graphOn = false) {
        for (QPushButton* off : {form.Btn_Cetnost, form.Btn_Maxima, form.Btn_Minima})
            EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
        for (QPushButton* on : {form.Btn_VyberData, form.Btn_Tisk, form.Btn_ExportTXT, form.Btn_ExportXLS})
            EXPECT_TRUE(on->isEnabled()) << on->objectName().toStdString();
        EXPECT_EQ(form.Btn_Graf->isEnabled(), graphOn);
    }

    // Keeps a picture of the window for a person to look at.
    void KeepPicture(TTableForm& form, const std::string& name) {
        const std::string folder = ZEKO_ARTEFACT_DIR;
        std::filesystem::create_directories(folder);
        EXPECT_TRUE(form.Picture().save(QString::fromStdString(folder + "/" + name + ".png")));
    }

    TempDir dir_;
    PumpedMainThread queue_;
    ScopedLoggingNotifier notifier_;
    TSeznamZarizeni devices_;
    TMojeDB db_;
    QWidget mainForm_;
    QMdiArea* area_ = new QMdiArea(&mainForm_);
    TTableWindows windows_{&mainForm_, area_};
    MainWindowStandIn main_{windows_};
    TRecordList records_;
};

// A row's label followed by its values.
inline std::vector<std::string> Labelled(const std::string& label, std::vector<std::string> values) {
    values.insert(values.begin(), label);
    return values;
}

// The texts of one row of a grid, shown columns only.
inline std::vector<std::string> RowTexts(const THyperGrid& grid, int row) {
    std::vector<std::string> texts;
    for (int c = 0; c < grid.ColCount(); ++c)
        texts.push_back(grid.Cells(c, row));
    return texts;
}

// The colour and the font colour the grid's attribute event gives a cell.
struct CellLook {
    TColor Color;
    TColor FontColor;
};
inline CellLook LookOf(TTableForm& form, int col, int row) {
    THyperGrid& grid = *form.Tabulka;
    TColor color = grid.ColumnFromGridIndex(col)->ColumnColor();
    TFont font;
    font.SetColor(clWindowText);
    TAlignment h = taCenter;
    ThgVAlignment v = hgvaCenter;
    TBevelCut outer = bvNone, inner = bvNone;
    ThgCellStates state;
    if (col < grid.FixedCols() || row < grid.FixedRows()) {
        state.Include(hgcsFixed);
        color = clBtnFace;
    }
    grid.OnChangeCellAttributes(&grid, col, row, grid.ColumnFromGridIndex(col), state, color, font, h, v, outer,
                                inner);
    return {color, font.Color()};
}

} // namespace zeko::test
