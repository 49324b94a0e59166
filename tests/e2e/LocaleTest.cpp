// The program under the session locales of a desktop left as installed (C) and of an
// English one: its texts are Czech in both, and its tables write numbers with the
// Czech decimal comma under C and with the chosen locale's separator otherwise.
#include "e2e/ZekoProcess.h"

#include "app/evaluation/EvaluationRecords.h"
#include "core/RecordSaving.h"
#include "platform/DateTime.h"
#include "support/TempDir.h"
#include "support/TestLocales.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace zeko;

TEST(Locales, TheProgramIsCzechUnderCAndEnglishAndItsNumbersFollowTheChosenLocale) {
    const test::TestLocales locales;
    const bool english = locales.Make("en_US");
    struct Case {
        std::map<std::string, std::string> environment;
        const char* value;  // 100 impulses of a quarter hour, as the day table shows them
    } const cases[] = {
        {{{"LANG", "C"}, {"LC_ALL", "C"}}, "100,0"},
        {{{"LANG", "en_US.UTF-8"}, {"LC_ALL", "en_US.UTF-8"}, {"LOCPATH", locales.Folder()}}, "100.0"},
    };
    for (const Case& c : cases) {
        if (c.environment.at("LANG") != "C" && !english)
            continue;
        test::TempDir dir(true);
        const DateParts today = DecodeDate(Today());
        TRecordList records{test::ValueRecord(today.Year, today.Month, today.Day, 10, 15, 0, {100, 0, 0, 0})};
        SaveRecords(records, "");
        std::map<std::string, std::string> environment = c.environment;
        environment["ZEKO_COM1"] = dir / "no-port";
        test::ZekoProcess zeko(dir.Path(), environment);
        EXPECT_TRUE(zeko.WaitForLine("Daný sériový port neexistuje nebo se právě používá !")) << c.value;
        for (const char* command : {"menu cmDennitabulka", "click DenniTabulkaForm/Btn_Dnesni"}) {
            zeko.Command(command);
            ASSERT_TRUE(zeko.WaitForLine(std::string("Command ") + command)) << c.value;
        }
        const size_t from = zeko.Log().size();
        zeko.Command("cells DenniTabulkaForm/Tabulka");
        // The hour from 10 to 11 holds the quarter hour of 10:15.
        ASSERT_TRUE(zeko.WaitForLine("Cells DenniTabulkaForm/Tabulka 26 ", 20000, from)) << c.value;
        const std::vector<std::string> rows = test::LinesWith(zeko.Log(), "10 - 11|");
        ASSERT_FALSE(rows.empty()) << c.value;
        EXPECT_NE(rows.back().find(std::string("|") + c.value + "|"), std::string::npos) << rows.back();
        EXPECT_EQ(zeko.Close(), 0);
    }
    if (!english)
        GTEST_SKIP() << "no en_US locale could be made (localedef)";
}
