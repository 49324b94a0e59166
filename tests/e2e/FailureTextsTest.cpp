// Failures the user must hear of, told in Czech by the program itself: "Zeko.ini"
// that cannot be written at close (a full disk, a disk only for reading), and an
// exported workbook that no program opens.
#include "e2e/ZekoProcess.h"

#include "app/evaluation/EvaluationRecords.h"
#include "core/RecordSaving.h"
#include "platform/DateTime.h"
#include "support/SmallDisk.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sys/stat.h>
#include <thread>

using namespace zeko;

TEST(FailureTexts, AZekoIniThatCannotBeWrittenAtCloseIsToldInCzech) {
    const struct {
        const char* Name;
        bool Full;
        const char* Reason;
    } cases[] = {{"full", true, "Na disku není volné místo"}, {"read-only", false, "Disk je jen pro čtení"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        test::SmallDisk disk(64);
        if (!disk.Mounted())
            GTEST_SKIP() << "no tmpfs without the rights of root";
        test::TempDir elsewhere;
        test::ZekoProcess zeko(disk.Dir().Path(), {{"ZEKO_COM1", elsewhere / "no-port"},
                                                   {"ZEKO_TEST_LOG", elsewhere / "zeko-test.log"},
                                                   {"ZEKO_TEST_SCRIPT", elsewhere / "zeko-test.script"}});
        ASSERT_TRUE(zeko.WaitForLine("Daný sériový port neexistuje"));
        const std::vector<std::string> before = disk.Dir().Names();
        if (c.Full)
            disk.Fill();
        else
            ASSERT_TRUE(disk.MakeReadOnly());
        EXPECT_EQ(zeko.Close(), 0);
        EXPECT_EQ(test::LinesWith(zeko.Log(), "MessageDlg Error [OK] "),
                  std::vector<std::string>{"MessageDlg Error [OK] Soubor " + disk / "Zeko.ini" + " nelze zapsat: " +
                                           c.Reason + ". -> OK"});
        // Nothing half written is left behind.
        std::vector<std::string> after = before;
        if (c.Full)
            after.push_back("filler");
        std::sort(after.begin(), after.end());
        EXPECT_EQ(disk.Dir().Names(), after);
    }
}

namespace {

bool RunCommand(test::ZekoProcess& zeko, const std::string& command) {
    const size_t from = zeko.Log().size();
    zeko.Command(command);
    return zeko.WaitForLine("Command " + command, 20000, from);
}

// An xdg-open of the test's, first on PATH: notes the file it was given in
// `opened`, waits a moment as a program being started does, notes its end in
// `ended` and exits with `status`.
std::map<std::string, std::string> FakeOpener(const test::TempDir& bin, int status) {
    const std::string script = bin / "xdg-open";
    std::ofstream(script) << "#!/bin/sh\necho \"$1\" >> " << bin / "opened" << "\nsleep 1\ntouch " << bin / "ended"
                          << "\nexit " << status << "\n";
    ::chmod(script.c_str(), 0755);
    const char* path = std::getenv("PATH");
    return {{"ZEKO_COM1", bin / "no-port"}, {"ZEKO_TEST_OPEN_DOCUMENTS", "1"},
            {"PATH", bin.Path() + ":" + (path ? path : "/usr/bin:/bin")}};
}

// A record of today in the program folder, so that the day table has a month file.
void RecordToday() {
    const DateParts today = DecodeDate(Today());
    TRecordList records{test::ValueRecord(today.Year, today.Month, today.Day, 10, 15, 0, {100, 0, 0, 0})};
    SaveRecords(records, "");
}

// The file the opener was given (its first line).
std::string OpenedFile(const test::TempDir& bin) {
    std::ifstream opened(bin / "opened");
    std::string file;
    std::getline(opened, file);
    return file;
}

std::string ExportDayTable(test::ZekoProcess& zeko) {
    EXPECT_TRUE(zeko.WaitForLine("Daný sériový port neexistuje"));
    EXPECT_TRUE(RunCommand(zeko, "menu cmDennitabulka"));
    EXPECT_TRUE(RunCommand(zeko, "click DenniTabulkaForm/Btn_Dnesni"));
    EXPECT_TRUE(RunCommand(zeko, "click DenniTabulkaForm/Btn_ExportXLS"));
    EXPECT_TRUE(zeko.WaitForLine("OpenDocument "));
    const std::vector<std::string> opened = test::LinesWith(zeko.Log(), "OpenDocument ");
    return opened.empty() ? "" : opened.front().substr(13);
}

} // namespace

// xdg-open that ends with a failure (no program for workbooks) is waited for
// without holding the window up, and then the user is told, with the workbook's
// name; one that succeeds is told nothing.
TEST(FailureTexts, AWorkbookNoProgramOpensIsToldOnceTheOpenerHasEnded) {
    test::TempDir dir(true), bin;
    RecordToday();
    test::ZekoProcess zeko(dir.Path(), FakeOpener(bin, 1));
    const std::string workbook = ExportDayTable(zeko);
    ASSERT_FALSE(workbook.empty());
    // The window takes commands while the opener is still at work.
    ASSERT_TRUE(RunCommand(zeko, "menu cmOnline"));
    const std::string message = "MessageDlg Warning [OK] Tabulka byla uložena do sešitu:\\n" + workbook +
                                "\\nProgram pro tabulky se ale nepodařilo spustit (xdg-open skončil s kódem 1). -> OK";
    ASSERT_TRUE(zeko.WaitForLine(message));
    const std::vector<std::string> log = zeko.Log();
    const auto at = [&](const std::string& text) {
        return std::find_if(log.begin(), log.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
    };
    EXPECT_LT(at("Command menu cmOnline"), at(message));
    EXPECT_NE(at("Tabulka uložena do sešitu " + workbook + "; program pro tabulky se nepodařilo otevřít."), log.end());
    EXPECT_TRUE(std::filesystem::exists(workbook));
    EXPECT_EQ(OpenedFile(bin), workbook);
    EXPECT_EQ(zeko.Close(), 0);
}

TEST(FailureTexts, AWorkbookThatOpensIsToldInTheStatusLineOnly) {
    test::TempDir dir(true), bin;
    RecordToday();
    test::ZekoProcess zeko(dir.Path(), FakeOpener(bin, 0));
    const std::string workbook = ExportDayTable(zeko);
    ASSERT_FALSE(workbook.empty());
    ASSERT_TRUE(zeko.WaitForLine("Tabulka uložena do sešitu " + workbook));
    for (int i = 0; i < 500 && !std::filesystem::exists(bin / "ended"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(std::filesystem::exists(bin / "ended"));
    // A moment for the program to see the opener's end, and a command behind it.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_TRUE(RunCommand(zeko, "menu cmOnline"));
    EXPECT_EQ(zeko.Close(), 0);
    EXPECT_EQ(test::LinesWith(zeko.Log(), "MessageDlg ").size(), 1u);  // the missing port at start
    EXPECT_TRUE(test::LinesWith(zeko.Log(), "nepodařilo").empty());
    EXPECT_EQ(OpenedFile(bin), workbook);
}
