// The record-file viewer in the real program: a month file downloaded from the
// simulated regulator, with a record of a damaged stamp behind the downloaded
// ones, listed line by line, ordered by date, and the day it holds evaluated.
#include "e2e/E2eSupport.h"

#include "core/RecordSamples.h"
#include "core/ZekoMessages.h"
#include "platform/DateTime.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace zeko;
using namespace zeko::e2e;

namespace {

bool Begins(const std::string& text, const std::string& start) { return text.compare(0, start.size(), start) == 0; }

} // namespace

TEST(Viewer, ListsAMonthFileWithARecordOfAnInvalidStamp) {
    Session session({"--records", "6", "--first-index", "40", "--start", "2024-03-05 10:00"});
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Started());
    ASSERT_TRUE(session.Downloaded());

    // The regulator's clock once said 24 o'clock; such a record is in the file.
    const TRegulatorRecord damaged = test::MakeRecord(24, 3, 5, 24, 15, 0, 0, 99);
    const std::string file = dir / "ROK2024/Mesic03.zek";
    {
        const auto bytes = damaged.Bytes();
        std::ofstream(file, std::ios::binary | std::ios::app).write(reinterpret_cast<const char*>(bytes.data()), RecordBytes);
    }

    zeko.Command("menu cmNactiZaznamyZeSouboru");
    zeko.Command("file " + file);
    zeko.Command("click Otevri");
    zeko.Command("cells HyperGrid1");
    ASSERT_TRUE(zeko.WaitForLine("Cells HyperGrid1 6 "));
    const std::vector<std::string> byFile = test::LoggedRows(zeko.Log(), "HyperGrid1", 0, 7);
    ASSERT_EQ(byFile.size(), 7u);
    const char* times[] = {"10:00:00", "10:15:00", "10:30:00", "10:45:00", "11:00:00", "11:15:00"};
    for (size_t i = 0; i < 6; ++i)
        EXPECT_TRUE(Begins(byFile[i], "000" + std::to_string(40 + i) + "  05.03.2024  " + times[i] + "  "))
            << byFile[i];
    EXPECT_TRUE(Begins(byFile[6], "00099  05.03.2024  Neplatný čas  04:18  Cinny :Imp-00000  ")) << byFile[6];

    // By date the damaged record, dated by its day alone, comes first.
    zeko.Command("click Rgp_Razeni1");
    zeko.Command("cells HyperGrid1");
    ASSERT_TRUE(zeko.WaitForLog([](const std::vector<std::string>& log) {
        return test::LinesWith(log, "Cells HyperGrid1 ").size() == 14;
    }));
    const std::vector<std::string> byDate = test::LoggedRows(zeko.Log(), "HyperGrid1", 1, 7);
    ASSERT_EQ(byDate.size(), 7u);
    EXPECT_EQ(byDate[0], byFile[6]);
    EXPECT_EQ(std::vector<std::string>(byDate.begin() + 1, byDate.end()),
              std::vector<std::string>(byFile.begin(), byFile.begin() + 6));

    // The day table of that day, asked for as its windows ask: the evaluation
    // passes over the damaged record and shows the downloaded ones.
    zeko.Command("post " + std::to_string(WM_OPEN_DAY_TABLE) + " " +
                 std::to_string(static_cast<int>(EncodeDate(2024, 3, 5))) + " 0");
    zeko.Command("cells DenniTabulkaForm/Tabulka");
    ASSERT_TRUE(zeko.WaitForLine("Cells DenniTabulkaForm/Tabulka 26 "));
    const std::vector<std::string> day = test::LoggedRows(zeko.Log(), "DenniTabulkaForm/Tabulka", 0, 27);
    ASSERT_EQ(day.size(), 27u);
    // Quarter cells (columns 1..4 of the hour rows) with a value: one per downloaded
    // record, 10:00 in the last quarter of 09 - 10 through 11:15 in the first of 11 - 12.
    std::vector<std::string> quarters;
    for (size_t row = 1; row <= 24; ++row) {
        const std::vector<std::string> cells = test::CellsOf(day[row]);
        ASSERT_GE(cells.size(), 5u) << day[row];
        for (size_t col = 1; col <= 4; ++col)
            if (cells[col] != "x")
                quarters.push_back(cells[0] + " " + std::to_string(col));
    }
    EXPECT_EQ(quarters, (std::vector<std::string>{"09 - 10 4", "10 - 11 1", "10 - 11 2", "10 - 11 3", "10 - 11 4",
                                                  "11 - 12 1"}));
    EXPECT_TRUE(test::LinesWith(zeko.Log(), "MessageDlg").empty());
    EXPECT_TRUE(test::LinesWith(zeko.Log(), "CommandFailed").empty());
    EXPECT_EQ(zeko.Close(), 0);
}
