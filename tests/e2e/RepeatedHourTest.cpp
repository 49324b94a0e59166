// The night of the change to winter time against the simulated regulator: its clock
// set back from 03:00 to 02:00, it records 02:15 .. 03:00 of 27.10.2024 a second
// time, at new places of its ring. Every record is stored, each once, and the tables,
// the graph and the exports of that day show what the month file holds, the repeated
// quarter hours counted twice.
#include "e2e/E2eSupport.h"

#include "core/QuarterHours.h"
#include "core/RecordStore.h"
#include "core/ZekoMessages.h"
#include "platform/Cp1250.h"
#include "platform/DateTime.h"
#include "platform/FormatPatterns.h"
#include "platform/FormatSettings.h"
#include "support/XlsxReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>

using namespace zeko;
using namespace zeko::e2e;

namespace {

constexpr uint32_t FirstRun = 109;   // 26.10. 00:00 .. 27.10. 03:00, ring places 0 .. 108
constexpr uint32_t SecondRun = 100;  // 27.10. 02:15 .. 28.10. 03:00, ring places 109 .. 208
const std::string MonthFile = "ROK2024/Mesic10.zek";

// The regulator's ring of both runs; the pointers as given.
std::vector<std::string> Ring(uint32_t oldestUnread, uint32_t newest) {
    return {"--records", std::to_string(FirstRun), "--start", "2024-10-26 00:00", "--more-records",
            std::to_string(SecondRun), "--more-start", "2024-10-27 02:15", "--clock", "2024-10-28 03:10:00",
            "--oldest-unread", std::to_string(oldestUnread), "--newest", std::to_string(newest)};
}

// Sends a command and waits until the program has run it.
void RunCommand(test::ZekoProcess& zeko, const std::string& command) {
    const size_t from = zeko.Log().size();
    zeko.Command(command);
    ASSERT_TRUE(zeko.WaitForLine("Command " + command, 20000, from)) << command;
}

// One download by the program in `dir` from a regulator of the ring; what the
// regulator was asked, and the file the records must give, to compare.
struct TDownloaded {
    test::RegsimLog Log;
    std::string Expected;  // the month file of all the ring's records, in ring order
};
TDownloaded DownloadOnce(const test::TempDir& dir, uint32_t oldestUnread, uint32_t newest) {
    test::RegsimProcess sim(Ring(oldestUnread, newest));
    test::ZekoProcess zeko(dir.Path(), FastTiming(sim));
    EXPECT_TRUE(zeko.WaitForLine("Nastavení načteno"));
    zeko.Command("menu cmNactiZaznamy");
    EXPECT_TRUE(zeko.WaitForLine("Pozice záznamů PC zapsána"));
    EXPECT_EQ(zeko.Close(), 0);
    const test::RegsimLog log = sim.Log();
    return {log, ExpectedMonthFiles(sim, 0, FirstRun + SecondRun, InputConstantsFrom(log)).at(MonthFile)};
}

// A record's input-1 value, as a table cell shows it.
std::string Shown(double value) { return FormatFixed(value, 1); }

// A cell's text as the workbook holds it: a number is stored as a number, which the
// reader writes with a decimal point whatever separator the table shows.
std::string InWorkbook(std::string text) {
    std::replace(text.begin(), text.end(), FormatSettings().DecimalSeparator, '.');
    return text;
}

// A day table as the month file gives it: the value of each quarter (the larger of
// two records in one quarter) and the hour's energy (every record of the hour
// counted), a row per hour "hh - hh+1" of the day from 00:07:31 on.
struct TDayFigures {
    std::array<std::array<double, 4>, 24> Quarters{};
    std::array<std::array<int, 4>, 24> Records{};
    std::array<double, 24> HourSums{};
    double DaySum = 0;
    int Count = 0;
    int QuartersWithRecords() const {
        int n = 0;
        for (const auto& hour : Records)
            n += static_cast<int>(std::count_if(hour.begin(), hour.end(), [](int c) { return c > 0; }));
        return n;
    }
};
TDayFigures DayFromFile(const TRecordList& records, TDateTime date) {
    TDayFigures day;
    const TDateTime from = date + EncodeTime(0, 7, 31);
    const TDateTime to = date + 1 + EncodeTime(0, 7, 30);
    for (const TRegulatorRecord& r : records) {
        const TDateTime t = EncodeDate(2000 + r.Year, r.Month, r.Day) + EncodeTime(r.Hour, r.Minute, r.Second);
        if (t < from || t > to)
            continue;
        // Every record stands at a whole quarter: hh:15, :30 and :45 are the first
        // three quarters of the hour hh - hh+1, hh:00 the last of the hour before.
        const int hour = r.Minute == 0 ? (r.Hour + 23) % 24 : r.Hour;
        const int quarter = r.Minute == 0 ? 3 : r.Minute / 15 - 1;
        const double v = QuarterHourPower(r.Counts[0], r.Constants[0]);
        double& kept = day.Quarters[hour][quarter];
        kept = day.Records[hour][quarter]++ == 0 ? v : std::max(kept, v);
        day.HourSums[hour] += v;
        day.DaySum += v;
        ++day.Count;
    }
    return day;
}

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }
std::string HourLabel(int hour) { return TwoDigits(hour) + " - " + TwoDigits((hour + 1) % 24); }

// The texts of a grid as the program logs them, a vector of cells per row.
std::vector<std::vector<std::string>> GridCells(test::ZekoProcess& zeko, const std::string& grid) {
    const size_t from = zeko.Log().size();
    RunCommand(zeko, "cells " + grid);
    const std::vector<std::string> log = zeko.Log();
    const std::vector<std::string> rows =
        test::LoggedRows({log.begin() + static_cast<std::ptrdiff_t>(from), log.end()}, grid, 0, log.size());
    std::vector<std::vector<std::string>> cells;
    for (const std::string& row : rows)
        cells.push_back(test::CellsOf(row));
    return cells;
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Day(int d, int m, int y) { return std::to_string(static_cast<int>(EncodeDate(y, m, d))); }

} // namespace

// Two downloads of 26.10. 00:00 .. 27.10. 03:00 (the second one as after a read
// position that never reached the regulator: the same records at the same places),
// then the 100 records from the second 02:15 on: all 209 are in the month file, in
// the order first read, and the tables, the graph and the exports of 27.10. agree
// with it.
TEST(RepeatedHour, EveryRecordOfTheHourRecordedTwiceIsStoredAndShown) {
    test::TempDir dir;
    TDownloaded first = DownloadOnce(dir, 0, FirstRun);
    ASSERT_EQ(MonthFiles(dir).at(MonthFile), first.Expected.substr(0, size_t{FirstRun} * RecordBytes));
    DownloadOnce(dir, 0, FirstRun);
    ASSERT_EQ(MonthFiles(dir).at(MonthFile), first.Expected.substr(0, size_t{FirstRun} * RecordBytes));

    test::RegsimProcess sim(Ring(FirstRun, FirstRun + SecondRun));
    test::ZekoProcess zeko(dir.Path(), FastTiming(sim));
    ASSERT_TRUE(zeko.WaitForLine("Nastavení načteno"));
    zeko.Command("menu cmNactiZaznamy");
    ASSERT_TRUE(zeko.WaitForLine("Pozice záznamů PC zapsána"));
    const std::map<std::string, std::string> files = MonthFiles(dir);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files.at(MonthFile).size(), size_t{FirstRun + SecondRun} * RecordBytes);
    EXPECT_TRUE(files.at(MonthFile) == first.Expected);
    EXPECT_EQ(WritesTo(sim.Log(), 0, 0x0E7C), std::vector<Bytes>{PositionData(FirstRun + SecondRun)});

    TRecordList stored;
    ReadRecordFile(stored, dir / MonthFile);
    const TDayFigures day = DayFromFile(stored, EncodeDate(2024, 10, 27));
    ASSERT_EQ(day.Count, 100);
    ASSERT_EQ(day.Records[2], (std::array<int, 4>{2, 2, 2, 2}));  // 02 - 03 twice over
    ASSERT_EQ(day.QuartersWithRecords(), 96);

    // The day table: each quarter and hour as the file has them.
    LoadLocaleFormatSettings();
    FormatSettings().ShortDateFormat = "dd/mm/yyyy";
    FormatSettings().DateSeparator = '.';
    RunCommand(zeko, "post " + std::to_string(WM_OPEN_DAY_TABLE) + " " + Day(27, 10, 2024) + " 0");
    const auto table = GridCells(zeko, "DenniTabulkaForm/Tabulka");
    ASSERT_GE(table.size(), 26u);
    for (int hour = 0; hour < 24; ++hour) {
        const std::vector<std::string>& row = table[static_cast<size_t>(hour) + 1];
        ASSERT_GE(row.size(), 7u) << hour;
        EXPECT_EQ(row[0], HourLabel(hour));
        for (size_t q = 0; q < 4; ++q)
            EXPECT_EQ(row[q + 1], day.Records[hour][q] ? Shown(day.Quarters[hour][q]) : "x") << HourLabel(hour) << q;
        EXPECT_EQ(row[5], Shown(day.HourSums[hour] / 4)) << HourLabel(hour);
    }
    ASSERT_GE(table[25].size(), 7u);
    EXPECT_EQ(table[25][5], Shown(day.DaySum / 4));

    // Its text export and its workbook hold the table's texts.
    RunCommand(zeko, "file " + dir / "den.txt");
    RunCommand(zeko, "click DenniTabulkaForm/Btn_ExportTXT");
    ASSERT_TRUE(zeko.WaitForLine("SaveDialog Uložit jako -> " + dir / "den.txt"));
    RunCommand(zeko, "click DenniTabulkaForm/Btn_ExportXLS");
    ASSERT_TRUE(zeko.WaitForLine("OpenDocument "));
    const std::string text = Cp1250ToUtf8(FileText(dir / "den.txt"));
    const std::string workbook = test::LinesWith(zeko.Log(), "OpenDocument ").front().substr(13);
    const test::XlsxBook book = test::ReadXlsx(workbook);
    ASSERT_EQ(book.Sheets.size(), 1u);
    for (size_t r = 1; r <= 25; ++r) {
        const std::vector<std::string>& row = table[r];
        std::string line;
        for (size_t c = 0; c <= 6; ++c)
            line += row[c] + "\t";
        EXPECT_NE(text.find("\r\n" + line), std::string::npos) << line << "\n" << text;
        if (r == 25)
            continue;
        const std::vector<std::string> cells = book.Row(book.Sheets[0], static_cast<int>(r) + 4, 'B', 6);
        EXPECT_EQ(cells, (std::vector<std::string>{" " + row[0] + " ", InWorkbook(row[1]), InWorkbook(row[2]),
                                                   InWorkbook(row[3]), InWorkbook(row[4]), InWorkbook(row[5])}));
    }
    EXPECT_EQ(book.At(book.Sheets[0], "G29").Value, InWorkbook(table[25][5]));

    // The month table: each day's energy as the file has it, the 27th with both
    // hours; the year table: October's.
    double october = 0;
    for (const TRegulatorRecord& r : stored)
        october += QuarterHourPower(r.Counts[0], r.Constants[0]);
    RunCommand(zeko, "post " + std::to_string(WM_OPEN_MONTH_TABLE) + " " + Day(1, 10, 2024) + " 0");
    const auto month = GridCells(zeko, "MesicniTabulkaForm/Tabulka");
    ASSERT_GE(month.size(), 33u);
    constexpr size_t TotalColumn = 7;  // after the three shifts and the three tariffs
    for (int d = 1; d <= 31; ++d) {
        const std::vector<std::string>& row = month[static_cast<size_t>(d)];
        ASSERT_GT(row.size(), TotalColumn) << d;
        EXPECT_EQ(row[0].substr(0, 6), TwoDigits(d) + ".10.");
        const TDayFigures figures = DayFromFile(stored, EncodeDate(2024, 10, d));
        EXPECT_EQ(row[TotalColumn], figures.Count ? Shown(figures.DaySum / 4) : "x") << row[0];
    }
    EXPECT_EQ(month[27][TotalColumn], table[25][5]);
    EXPECT_EQ(month[32][0], "Celkem:");
    EXPECT_EQ(month[32][TotalColumn], Shown(october / 4));
    RunCommand(zeko, "post " + std::to_string(WM_OPEN_YEAR_TABLE) + " " + Day(1, 1, 2024) + " 0");
    const auto year = GridCells(zeko, "RocniTabulkaForm/Tabulka");
    ASSERT_GE(year.size(), 11u);
    ASSERT_GT(year[10].size(), TotalColumn);
    EXPECT_EQ(year[10][0], "10. 2024");
    EXPECT_EQ(year[10][TotalColumn], Shown(october / 4));
    EXPECT_EQ(year[9][TotalColumn], "x");

    // The day graph draws a point at each quarter of the file, the larger of two
    // records in one quarter as the day table's quarters show it.
    RunCommand(zeko, "post " + std::to_string(WM_SHOW_ARCHIVE) + " " + Day(27, 10, 2024) + " 0");
    const std::string points = std::to_string(day.QuartersWithRecords());
    EXPECT_TRUE(zeko.WaitForLine("Archiv 27.10.2024 " + points + " " + points + " " + points + " cos " + points));
    EXPECT_TRUE(test::LinesWith(zeko.Log(), "MessageDlg").empty());
    EXPECT_TRUE(test::LinesWith(zeko.Log(), "CommandFailed").empty());
    EXPECT_EQ(zeko.Close(), 0);
}

// One download of both runs at once: the records of a stamp read twice in one list
// are both stored.
TEST(RepeatedHour, OneDownloadOfBothRunsStoresEveryRecord) {
    test::TempDir dir;
    const TDownloaded both = DownloadOnce(dir, 0, FirstRun + SecondRun);
    const std::map<std::string, std::string> files = MonthFiles(dir);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files.at(MonthFile).size(), size_t{FirstRun + SecondRun} * RecordBytes);
    EXPECT_TRUE(files.at(MonthFile) == both.Expected);
}
