// TExcel, the link to the spreadsheet program, against servers of the test's own:
// finding the program in the registry, connecting and starting it, pacing, a
// command refused once and twice, and the quoting of cell texts.
#include "tables/Excels.h"

#include "platform/DateTime.h"
#include "platform/FormatSettings.h"

#include <gtest/gtest.h>

#include <map>

namespace zeko::test {
namespace {

// Answers "Status" as told and refuses the first `refusals` commands.
class ScriptedServer : public TDdeServer {
public:
    bool AcceptsTopic(const std::string& topic) const override { return topic == "System"; }
    std::optional<std::string> Request(const std::string&, const std::string& item) override {
        log.push_back("Request " + item);
        if (item != "Status")
            return std::nullopt;
        return readyAfter-- <= 0 ? std::optional<std::string>("Ready") : std::optional<std::string>("Busy");
    }
    bool Execute(const std::string&, const std::string& command) override {
        log.push_back((refusals > 0 ? "Refused " : "Exec ") + command);
        return refusals-- <= 0;
    }
    std::vector<std::string> log;
    int refusals = 0;
    int readyAfter = 0;  // "Status" requests answered "Busy" first
};

class Excel : public ::testing::Test {
protected:
    Excel() {
        RegisterDdeServer("Excel", &server_);
        SetNowOverride(EncodeDate(2024, 3, 10));
    }
    ~Excel() override {
        RegisterDdeServer("Excel", nullptr);
        RegisterDdeApplication("Excel", {});
        SetNowOverride(std::nullopt);
        FormatSettings().DecimalSeparator = ',';
    }
    // The message of what `action` raises; empty when nothing.
    static std::string Raised(const std::function<void()>& action) {
        try {
            action();
        } catch (const EExcel& e) {
            return e.what();
        }
        return "";
    }
    ScriptedServer server_;
    TExcel excel_;
};

TEST_F(Excel, StartsWithTheFormsValuesAndKeepsTheBlockSizesInOrder) {
    EXPECT_EQ(excel_.ExeName(), "Excel");
    EXPECT_EQ(excel_.ExecLimit, 99);
    EXPECT_EQ(excel_.Decimals, 2);
    EXPECT_EQ(excel_.BatchMin(), 200);
    EXPECT_EQ(excel_.BatchMax(), 250);
    excel_.SetBatchMin(300);
    EXPECT_EQ(excel_.BatchMin(), 250);
    excel_.SetBatchMax(100);
    EXPECT_EQ(excel_.BatchMax(), 250);
    excel_.SetBatchMax(400);
    excel_.SetBatchMin(300);
    EXPECT_EQ(excel_.BatchMin(), 300);
    EXPECT_EQ(excel_.BatchMax(), 400);
}

TEST_F(Excel, TheProgramIsFoundThroughTheCommandRegisteredForXls) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> keys;
        bool exists;
        std::optional<std::string> found;
    };
    const std::string command = "Excel.Sheet.8\\Shell\\Open\\Command";
    const Case cases[] = {
        {"nothing registered", {}, true, std::nullopt},
        {"a class without a capital E", {{".XLS", "calc.sheet"}, {"calc.sheet\\Shell\\Open\\Command", "x"}}, true,
         std::nullopt},
        {"a quoted path with arguments",
         {{".XLS", "Excel.Sheet.8"}, {command, "\"C:\\Program Files\\Office\\excel.exe\" /e \"%1\""}}, true,
         "C:\\PROGRAM FILES\\OFFICE\\EXCEL.EXE"},
        {"a path that does not exist", {{".XLS", "Excel.Sheet.8"}, {command, "C:\\Office\\EXCEL.EXE /e"}}, false,
         std::nullopt},
        {"no command under the class", {{".XLS", "Excel.Sheet.8"}}, true, std::nullopt},
    };
    for (const Case& c : cases) {
        std::vector<std::string> asked;
        const auto read = [&](const std::string& key) -> std::optional<std::string> {
            const auto it = c.keys.find(key);
            return it == c.keys.end() ? std::nullopt : std::optional<std::string>(it->second);
        };
        const auto exists = [&](const std::string& file) {
            asked.push_back(file);
            return c.exists;
        };
        EXPECT_EQ(LocateExcelProgram(read, exists), c.found) << c.name;
        TExcel excel;
        excel.ClassesRoot = read;
        excel.ProgramExists = exists;
        excel.LocateExcel();
        // Kept without the extension.
        EXPECT_EQ(excel.ExeName(), c.found ? "C:\\PROGRAM FILES\\OFFICE\\EXCEL" : "Excel") << c.name;
    }
}

TEST_F(Excel, WithoutAServerOrAProgramToStartTheLinkCannotBeLaunched) {
    RegisterDdeServer("Excel", nullptr);
    excel_.ClassesRoot = [](const std::string&) { return std::nullopt; };
    EXPECT_EQ(Raised([&] { excel_.Connect(); }), "Excel cannot be lunched\rExcel");
    EXPECT_FALSE(excel_.Connected());
    EXPECT_EQ(Raised([&] { excel_.Exec("[SELECT(\"R1C1\")]"); }), "Excel not connected");
    EXPECT_EQ(Raised([&] { excel_.Request("Status"); }), "Excel not connected");
}

TEST_F(Excel, AProgramThatIsNotRunningIsStartedByItsName) {
    RegisterDdeServer("Excel", nullptr);
    int started = 0;
    RegisterDdeApplication("excel.exe", [&] {
        ++started;
        RegisterDdeServer("Excel", &server_);
        return true;
    });
    int opened = 0;
    excel_.OnOpen = [&] { ++opened; };
    excel_.Connect();
    EXPECT_TRUE(excel_.Connected());
    EXPECT_EQ(started, 1);
    EXPECT_EQ(opened, 1);
    excel_.Connect();  // already connected: nothing more
    EXPECT_EQ(opened, 1);
    // The program going away closes the link.
    int closed = 0;
    excel_.OnClose = [&] { ++closed; };
    RegisterDdeServer("Excel", nullptr);
    EXPECT_EQ(excel_.Request("Status"), "*** No Reply ***");
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(excel_.Connected());
}

TEST_F(Excel, ARefusedCommandIsSentAgainAfterReadyAndRaisesWhenRefusedTwice) {
    excel_.Connect();
    server_.refusals = 1;
    excel_.Exec("[A]");
    EXPECT_EQ(server_.log, (std::vector<std::string>{"Refused [A]", "Request Status", "Exec [A]"}));
    server_.log.clear();
    server_.refusals = 2;
    EXPECT_EQ(Raised([&] { excel_.Exec("[B]"); }), "\"[B]\" not accepted by Excel");
    EXPECT_EQ(server_.log, (std::vector<std::string>{"Refused [B]", "Request Status", "Refused [B]"}));
}

TEST_F(Excel, ReadyIsAwaitedSixtyFourRoundsAtMost) {
    excel_.Connect();
    server_.readyAfter = 63;
    excel_.WaitForReady();
    server_.readyAfter = 64;
    EXPECT_EQ(Raised([&] { excel_.WaitForReady(); }), "Excel not responding");
    server_.readyAfter = 1;
    EXPECT_FALSE(excel_.Ready());
    EXPECT_TRUE(excel_.Ready());
}

TEST_F(Excel, AFastStreamWaitsForReadyBeforeEveryHundredthCommandAndASlowOneDoesNot) {
    excel_.Connect();
    for (int i = 0; i < 250; ++i)
        excel_.Exec("[C]");
    std::vector<size_t> waits;
    for (size_t i = 0; i < server_.log.size(); ++i)
        if (server_.log[i] == "Request Status")
            waits.push_back(i);
    // Before the 100th command, then before every 100 more.
    EXPECT_EQ(waits, (std::vector<size_t>{99, 200}));

    // 100 commands over more than 1.728 seconds go on without asking.
    server_.log.clear();
    TDateTime now = EncodeDate(2024, 3, 11);
    for (int i = 0; i < 250; ++i) {
        now += 0.02 / 86400;
        SetNowOverride(now);
        excel_.Exec("[C]");
    }
    EXPECT_EQ(std::count(server_.log.begin(), server_.log.end(), "Request Status"), 0);
}

TEST_F(Excel, CellTextsAreQuotedAsTheMacroLanguageWritesThem) {
    excel_.Connect();
    excel_.PutStr(3, 2, "Tarif \"A\"");
    excel_.Select(1, 1);
    excel_.PutExt(5, 4, 1.005);
    FormatSettings().DecimalSeparator = '.';
    excel_.Decimals = 1;
    excel_.PutExt(5, 5, -2.25);
    excel_.PutInt(6, 1, -7);
    excel_.PutDate(7, 1, EncodeDate(2024, 3, 5));
    EXPECT_EQ(server_.log, (std::vector<std::string>{
                               "Exec [FORMULA(\"Tarif \"\"A\"\"\",\"R3C2\")]",
                               "Exec [SELECT(\"R1C1\")]",
                               "Exec [FORMULA(\"1,01\",\"R5C4\")]",
                               "Exec [FORMULA(\"-2.3\",\"R5C5\")]",
                               "Exec [FORMULA(\"-7\",\"R6C1\")]",
                               "Exec [FORMULA(\"05.03.2024\",\"R7C1\")]",
                           }));
}

} // namespace
} // namespace zeko::test
