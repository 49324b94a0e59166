// The tables' "Výběr data" in the program itself: the request with date 0 goes
// through the measurement choice and the date dialog, driven with the mouse as a
// user drives them, to the filled table; the month table takes 35 days and the year
// table 15 months from the month chosen.
#include "e2e/ZekoProcess.h"

#include "app/evaluation/EvaluationRecords.h"
#include "core/RecordSaving.h"
#include "platform/DateTime.h"
#include "platform/FormatPatterns.h"
#include "platform/FormatSettings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace zeko;

namespace {

// Two years back the year row of the dialog, which starts on today, holds the
// year in its second cell, and the 15 months from its March are all past.
const int DataYear = DecodeDate(Today()).Year - 2;
constexpr int DataYearCell = 1;
constexpr int MarchCell = 2;

// The cell of a day in the dialog's calendar, whose weeks start on Monday.
std::string DayCell(int year, int month, int day) {
    int offset = 2 - ((DayOfWeek(EncodeDate(year, month, 1)) - 1 + 7) % 7);
    if (offset == 2)
        offset = -5;
    return std::to_string((day - offset) % 7) + " " + std::to_string((day - offset) / 7 + 1);
}

// A value as the tables show it, with the decimal separator of the locale.
std::string V(double value) { return FormatFixed(value, 1); }

struct DateChoice : ::testing::Test {
    DateChoice() : dir(true) {
        FormatSettings().ShortDateFormat = "dd/mm/yyyy";
        FormatSettings().DateSeparator = '.';
        LoadLocaleFormatSettings();
    }
    void Store(TRecordList records) { SaveRecords(records, ""); }
    void Start() {
        zeko = std::make_unique<test::ZekoProcess>(dir.Path(), std::map<std::string, std::string>{
                                                                   {"ZEKO_COM1", dir / "no-such-port"}});
        ASSERT_TRUE(zeko->WaitForLine("Daný sériový port neexistuje"));
    }
    // Sends a command and waits until the program has run it.
    void Run(const std::string& command) {
        const size_t from = zeko->Log().size();
        zeko->Command(command);
        ASSERT_TRUE(zeko->WaitForLine("Command " + command, 20000, from)) << command;
    }
    // Sends a command and waits until it has shown the dialog.
    void RunShowing(const std::string& command, const std::string& dialog) {
        const size_t from = zeko->Log().size();
        zeko->Command(command);
        ASSERT_TRUE(zeko->WaitForLine("Shown " + dialog, 20000, from)) << command;
    }
    // The `count` rows of a grid as the program shows them now.
    std::vector<std::string> Rows(const std::string& grid, size_t count) {
        const size_t from = zeko->Log().size();
        zeko->Command("cells " + grid);
        EXPECT_TRUE(zeko->WaitForLine("Cells " + grid + " " + std::to_string(count - 1) + " ", 20000, from)) << grid;
        // Every row logged, also any beyond the count.
        const std::vector<std::string> log = zeko->Log();
        return test::LoggedRows({log.begin() + static_cast<std::ptrdiff_t>(from), log.end()}, grid, 0, log.size());
    }

    test::TempDir dir;
    std::unique_ptr<test::ZekoProcess> zeko;
};

} // namespace

TEST_F(DateChoice, ADayTableAskedForWithoutADateShowsTheDayChosenInTheDialog) {
    const int y = DataYear;
    Store({test::ValueRecord(y, 3, 15, 10, 15, 0, {100, 40, 0, 0}), test::ValueRecord(y, 3, 15, 10, 30, 0, {100, 44, 0, 0}),
           test::ValueRecord(y, 3, 16, 10, 15, 0, {100, 99, 0, 0})});
    Start();
    Run("menu cmDennitabulka");
    RunShowing("click DenniTabulkaForm/Btn_VyberData", "TypForm");
    Run("select TypForm/MereniCombo 1");  // the second measurement: input 2
    RunShowing("click TypForm/BitBtn1", "KalendarForm");
    Run("dblclickcell KalendarForm/RokyGrid " + std::to_string(DataYearCell) + " 0");
    Run("dblclickcell KalendarForm/MesiceGrid " + std::to_string(MarchCell) + " 0");
    Run("clickcell KalendarForm/Kalendar " + DayCell(y, 3, 15));
    Run("click KalendarForm/BitBtn1");
    const std::vector<std::string> rows = Rows("DenniTabulkaForm/Tabulka", 27);
    ASSERT_EQ(rows.size(), 27u);
    // 15 March of channel 1, not the 16th, nor channel 0.
    EXPECT_EQ(test::CellsOf(rows[11]), (std::vector<std::string>{"10 - 11", V(40.0), V(44.0), "x", "x", V(21.0)}));
    EXPECT_EQ(test::CellsOf(rows[25]).back(), V(21.0));
    EXPECT_EQ(zeko->Close(), 0);
    EXPECT_TRUE(test::LinesWith(zeko->Log(), "CommandFailed").empty());
    EXPECT_TRUE(test::LinesWith(zeko->Log(), "MessageDlg Error").empty());
}

TEST_F(DateChoice, AMonthTableOf35DaysAndAYearTableOf15Months) {
    const int y = DataYear;
    Store({test::ValueRecord(y, 3, 1, 12, 0, 0, {8, 0, 0, 0}), test::ValueRecord(y, 3, 31, 12, 0, 0, {12, 0, 0, 0}),
           test::ValueRecord(y, 4, 4, 12, 0, 0, {20, 0, 0, 0}), test::ValueRecord(y, 4, 5, 12, 0, 0, {99, 0, 0, 0}),
           test::ValueRecord(y + 1, 5, 31, 12, 0, 0, {16, 0, 0, 0}),
           test::ValueRecord(y + 1, 6, 1, 12, 0, 0, {77, 0, 0, 0})});
    Start();
    Run("menu cmMesicniTabulka");
    RunShowing("click MesicniTabulkaForm/Btn_VyberData", "TypForm");
    RunShowing("click TypForm/BitBtn1", "KalendarForm");
    Run("dblclickcell KalendarForm/RokyGrid " + std::to_string(DataYearCell) + " 0");
    Run("dblclickcell KalendarForm/MesiceGrid " + std::to_string(MarchCell) + " 0");
    // March's 31 days, then four steps up to the most the table takes, and one past.
    for (int i = 0; i < 5; ++i)
        Run("spin KalendarForm/SpinEdit up");
    Run("click KalendarForm/BitBtn1");
    // A title row, 35 day rows from 1 March to 4 April, five summary rows.
    const std::vector<std::string> month = Rows("MesicniTabulkaForm/Tabulka", 41);
    ASSERT_EQ(month.size(), 41u);
    EXPECT_EQ(test::CellsOf(month[1])[0].substr(0, 6), "01.03.");
    EXPECT_EQ(test::CellsOf(month[1])[1], V(2.0));
    EXPECT_EQ(test::CellsOf(month[31])[1], V(3.0));
    EXPECT_EQ(test::CellsOf(month[35])[0].substr(0, 6), "04.04.");
    EXPECT_EQ(test::CellsOf(month[35])[1], V(5.0));
    // 5 April is not in the period.
    EXPECT_EQ(test::CellsOf(month[36])[0], "Celkem:");
    EXPECT_EQ(test::CellsOf(month[36])[1], V(10.0));

    Run("menu cmRocniTabulka");
    RunShowing("click RocniTabulkaForm/Btn_VyberData", "TypForm");
    RunShowing("click TypForm/BitBtn1", "KalendarForm");
    // The calendar keeps 1 March; twelve months, three steps up, and one past.
    for (int i = 0; i < 4; ++i)
        Run("spin KalendarForm/SpinEdit up");
    Run("click KalendarForm/BitBtn1");
    // A title row, 15 month rows from March to May of the next year, five summary rows.
    const std::vector<std::string> year = Rows("RocniTabulkaForm/Tabulka", 21);
    ASSERT_EQ(year.size(), 21u);
    EXPECT_EQ(test::CellsOf(year[1])[0], "03. " + std::to_string(y));
    EXPECT_EQ(test::CellsOf(year[1])[1], V(5.0));
    EXPECT_EQ(test::CellsOf(year[2])[1], V(29.8));  // April whole, 5 April with it
    EXPECT_EQ(test::CellsOf(year[15])[0], "05. " + std::to_string(y + 1));
    EXPECT_EQ(test::CellsOf(year[15])[1], V(4.0));
    // June of the next year is not in the period.
    EXPECT_EQ(test::CellsOf(year[16])[0], "Celkem:");
    EXPECT_EQ(test::CellsOf(year[16])[1], V(38.8));
    EXPECT_EQ(zeko->Close(), 0);
    EXPECT_TRUE(test::LinesWith(zeko->Log(), "CommandFailed").empty());
    EXPECT_TRUE(test::LinesWith(zeko->Log(), "MessageDlg Error").empty());
}
