// The tariff editor in the real program, worked from the keyboard: a band and a
// name entered into an empty history, saved to "Tarify.his" and "Zeko.ini", and the
// next evaluation of a downloaded day splitting its energy by that band.
#include "e2e/E2eSupport.h"

#include "core/HistoryFormat.h"
#include "core/ZekoMessages.h"
#include "platform/Cp1250.h"
#include "platform/DateTime.h"

#include <gtest/gtest.h>


using namespace zeko;
using namespace zeko::e2e;

namespace {

// The cells of a logged grid row, from the `dump`-th "cells" command of the grid.
std::vector<std::string> Cells(const std::vector<std::string>& log, const std::string& grid, size_t dump,
                               size_t rows, size_t row) {
    const std::vector<std::string> texts = test::LoggedRows(log, grid, dump, rows);
    return row < texts.size() ? test::CellsOf(texts[row]) : std::vector<std::string>{};
}

} // namespace

TEST(Schedules, ATariffEditIsSavedAndUsedByTheNextDayEvaluation) {
    Session session({"--records", "6", "--first-index", "40", "--start", "2024-03-05 10:00"});
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Started());
    ASSERT_TRUE(session.Downloaded());

    const std::string day = std::to_string(static_cast<int>(EncodeDate(2024, 3, 5)));
    const std::string schedules = "DenniTabulkaForm/Tabulka1";
    const size_t scheduleRows = 4;
    zeko.Command("post " + std::to_string(WM_OPEN_DAY_TABLE) + " " + day + " 0");
    zeko.Command("cells " + schedules);
    ASSERT_TRUE(zeko.WaitForLine("Cells " + schedules + " 3 "));
    // No tariff band yet: nothing is counted in a tariff.
    const std::vector<std::string> before = Cells(zeko.Log(), schedules, 0, scheduleRows, 1);
    ASSERT_EQ(before.size(), 7u);
    EXPECT_EQ(before[4], before[5]);
    EXPECT_EQ(before[4], before[6]);

    // The first tariff gets a name and the band 06:00-22:00 on working days.
    zeko.Command("input Denní");
    zeko.Command("input DT");
    zeko.Command("menu cmTarify");
    zeko.Command("key TarifyForm/TabTarify Return");
    zeko.Command("key TarifyForm/TabTarify Right");
    zeko.Command("key TarifyForm/TabTarify Return");
    zeko.Command("type TarifyForm/CasEdit 06002200");
    zeko.Command("key TarifyForm/CasEdit Return");
    zeko.Command("cells TarifyForm/TabTarify");
    zeko.Command("click TarifyForm/BitBtn1");
    zeko.Command("post " + std::to_string(WM_SHOW_DAY_TABLE) + " " + day + " 0");
    zeko.Command("cells " + schedules);
    ASSERT_TRUE(zeko.WaitForLog([&](const std::vector<std::string>& log) {
        return test::LinesWith(log, "Cells " + schedules + " ").size() == 2 * scheduleRows;
    }));
    const std::vector<std::string> log = zeko.Log();
    EXPECT_TRUE(test::LinesWith(log, "MessageDlg").empty());
    EXPECT_TRUE(test::LinesWith(log, "CommandFailed").empty());
    EXPECT_EQ(test::LinesWith(log, "InputQuery Tarify | ").size(), 2u);
    EXPECT_EQ(Cells(log, "TarifyForm/TabTarify", 0, 4, 1),
              (std::vector<std::string>{"Denní", "06:00-22:00", "Nepoužito", "Nepoužito", "Nepoužito"}));

    // The day's sums: the first shift and the first tariff now hold the same
    // energy, that of the records from 10:00 to 11:15; the other tariffs none.
    const std::vector<std::string> after = Cells(log, schedules, 1, scheduleRows, 1);
    ASSERT_EQ(after.size(), 7u);
    EXPECT_NE(after[4], before[4]);
    EXPECT_EQ(after[4], after[1]);
    EXPECT_EQ(after[5], before[5]);
    EXPECT_EQ(after[6], before[6]);

    // "Tarify.his": one record, valid from the day it was entered, its first zone
    // of the working days 360-1320 in use.
    const std::string his = dir.Read("Tarify.his");
    ASSERT_EQ(his.size(), 132u);
    THistoryRecord record;
    size_t used = 0;
    ASSERT_TRUE(ParseHistoryRecord(reinterpret_cast<const uint8_t*>(his.data()), his.size(), record, used));
    EXPECT_GE(record.ValidFrom, Today() - 1);
    EXPECT_LE(record.ValidFrom, Now() + 1);
    TTariffTable table;
    table.ReadBody(record.Body.data(), record.Body.size());
    EXPECT_EQ(table.Zone(0, 1, 1), (TTariffZone{360, 1320, ZoneInUse}));
    EXPECT_EQ(table.Zone(1, 1, 1).State, ZoneNotInUse);
    const std::string ini = Cp1250ToUtf8(dir.Read("Zeko.ini"));
    EXPECT_NE(ini.find("[Tarify]\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Tarif1=Denní\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Tarif1Zkratka=DT\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("PouzivejSvatky=1\r\n"), std::string::npos) << ini;
    EXPECT_EQ(zeko.Close(), 0);
}

// The file of 288 bytes whose third record (the tariffs from 15 March 2024) an
// unedited "Potvrď" once dropped: a record of shift size stands in the middle. The
// program tells of it when the editor opens, asks before it writes, leaves the file
// byte for byte on No and keeps both intact records on Yes.
TEST(Schedules, AnUneditedConfirmKeepsTheIntactRecordsAroundADamagedOne) {
    Session session({});
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Started());
    TTariffTable early, march;
    early.Zone(0, 1, 1) = {360, 840, ZoneInUse};
    march.Zone(1, 3, 2) = {1320, 360, ZoneInUse};
    std::vector<uint8_t> bytes, intact;
    THistoryRecord::Of(EncodeDate(2024, 1, 1), early).AppendBytes(bytes);
    THistoryRecord::Of(EncodeDate(2024, 7, 1), TShiftTable{}).AppendBytes(bytes);
    THistoryRecord::Of(EncodeDate(2024, 3, 15), march).AppendBytes(bytes);
    ASSERT_EQ(bytes.size(), 288u);
    THistoryRecord::Of(EncodeDate(2024, 1, 1), early).AppendBytes(intact);
    THistoryRecord::Of(EncodeDate(2024, 3, 15), march).AppendBytes(intact);
    const std::string damaged(bytes.begin(), bytes.end());
    dir.Write("Tarify.his", damaged);

    const std::string question = "Přejete si historii přesto uložit? -> ";
    for (const char* answer : {"No", "Yes"}) {
        const size_t from = zeko.Log().size();
        zeko.Command("answer OK");
        zeko.Command(std::string("answer ") + answer);
        zeko.Command("menu cmTarify");
        zeko.Command("click TarifyForm/BitBtn1");
        ASSERT_TRUE(zeko.WaitForLine(question + answer, 20000, from)) << answer;
        const std::vector<std::string> all = zeko.Log();
        const std::vector<std::string> log(all.begin() + static_cast<std::ptrdiff_t>(from), all.end());
        EXPECT_EQ(test::LinesWith(log, "MessageDlg Error [OK] Chyba při načítání historie tarifů/směn!").size(), 1u);
        EXPECT_EQ(test::LinesWith(log, "Poškozený záznam na pozici 132 (vynecháno bajtů:\u00a024): délka dat 12 místo 120.")
                      .size(),
                  2u);  // told, then asked
        EXPECT_EQ(test::LinesWith(log, "MessageDlg Warning [Yes|No] Historie nebyla načtena celá:").size(), 1u);
        if (std::string(answer) == "No")
            EXPECT_EQ(dir.Read("Tarify.his"), damaged);
    }
    EXPECT_EQ(zeko.Close(), 0);
    EXPECT_EQ(dir.Read("Tarify.his"), std::string(intact.begin(), intact.end()));
}
