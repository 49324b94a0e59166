// The program's table outputs end to end: the real binary, headless, over month
// files of today, opens the day table, exports it as text into the file the test
// chooses, prints it into a PDF without a dialog, and exports it into a workbook
// that the test reads back.
#include "e2e/ZekoProcess.h"

#include "app/evaluation/EvaluationRecords.h"
#include "core/RecordSaving.h"
#include "platform/Cp1250.h"
#include "platform/DateTime.h"
#include "platform/FormatPatterns.h"
#include "platform/FormatSettings.h"
#include "support/PdfText.h"
#include "support/TempDir.h"
#include "support/XlsxReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

using namespace zeko;

namespace {

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Sends a command and waits until the program has run it.
bool RunCommand(test::ZekoProcess& zeko, const std::string& command) {
    const size_t from = zeko.Log().size();
    zeko.Command(command);
    return zeko.WaitForLine("Command " + command, 20000, from);
}

} // namespace

TEST(TableOutputs, TheDayTableIsExportedPrintedAndSentToASpreadsheet) {
    test::TempDir dir(true);
    const DateParts today = DecodeDate(Today());
    TRecordList records;
    for (const auto& [minute, value] : {std::pair{15, 100}, {30, 120}, {45, 80}})
        records.push_back(test::ValueRecord(today.Year, today.Month, today.Day, 10, minute, 0, {uint16_t(value), 0, 0, 0}));
    SaveRecords(records, "");

    // The program takes its decimal separator from the locale it inherits.
    LoadLocaleFormatSettings();
    auto value = [](double v) { return FormatFixed(v, 1); };
    test::ZekoProcess zeko(dir.Path(), {{"ZEKO_COM1", dir / "no-port"}});
    ASSERT_TRUE(zeko.WaitForLine("Daný sériový port neexistuje"));
    ASSERT_TRUE(RunCommand(zeko, "menu cmDennitabulka"));
    ASSERT_TRUE(RunCommand(zeko, "click DenniTabulkaForm/Btn_Dnesni"));

    // The text export into the file the dialog chooses.
    ASSERT_TRUE(RunCommand(zeko, "file " + dir / "den.txt"));
    ASSERT_TRUE(RunCommand(zeko, "click DenniTabulkaForm/Btn_ExportTXT"));
    ASSERT_TRUE(zeko.WaitForLine("SaveDialog Uložit jako -> " + dir / "den.txt")) << ::testing::PrintToString(zeko.Log());

    // Printed into a PDF without a dialog. The program takes this command only once
    // the export has run to its end, so the text file is whole by then.
    ASSERT_TRUE(RunCommand(zeko, "printer pdf " + dir / "den.pdf"));
    const std::string text = Cp1250ToUtf8(FileText(dir / "den.txt"));
    const std::string hour = "10 - 11\t" + value(100) + "\t" + value(120) + "\t" + value(80) + "\tx\t" + value(75) + "\t";
    EXPECT_NE(text.find("\r\n" + hour), std::string::npos) << text;
    EXPECT_NE(text.find("Verze softwaru PC: 0.90beta14\r\n"), std::string::npos);
    ASSERT_TRUE(RunCommand(zeko, "click DenniTabulkaForm/Btn_Tisk"));
    ASSERT_TRUE(zeko.WaitForLine("Preview 1 pages -> " + dir / "den.pdf"));
    const std::string printed = test::PdfText(dir / "den.pdf", false);
    for (const std::string& shown : {std::string("Denní výpis"), std::string("10 - 11"), value(120), value(75),
                                     std::string("Čtvrthodinové maximum:")})
        EXPECT_NE(printed.find(shown), std::string::npos) << shown << "\n" << printed;

    // Into the spreadsheet: a workbook in the program folder, named in the status line.
    ASSERT_TRUE(RunCommand(zeko, "click DenniTabulkaForm/Btn_ExportXLS"));
    ASSERT_TRUE(zeko.WaitForLine("OpenDocument "));
    const std::string workbook = test::LinesWith(zeko.Log(), "OpenDocument ").front().substr(13);
    // Named after the table in front: its kind, measurement and day.
    EXPECT_EQ(workbook.rfind(dir / "Export/Denní tabulka ", 0), 0u) << workbook;
    const std::string day = FormatDateTime("yyyy-mm-dd", Today()) + ".xlsx";
    EXPECT_EQ(workbook.substr(workbook.size() - std::min(workbook.size(), day.size())), day) << workbook;
    // The status line follows the opening of the workbook.
    EXPECT_TRUE(zeko.WaitForLine("Tabulka uložena do sešitu " + workbook));
    const test::XlsxBook book = test::ReadXlsx(workbook);
    ASSERT_EQ(book.Sheets.size(), 1u);
    EXPECT_EQ(book.At(book.Sheets[0], "B15").Value, " 10 - 11 ");
    EXPECT_EQ(book.At(book.Sheets[0], "D15").Value, "120.0");
    EXPECT_TRUE(test::LinesWith(zeko.Log(), "MessageDlg Error").empty());
    EXPECT_EQ(zeko.Close(), 0);
}
