// Replies whose check bytes are right but whose data are absurd (the simulator's
// --alter): a record pointer beyond the ring, a clock of month 13, records whose
// stamp is no date. None of it is taken for a value or stored as a record; each is
// told, and the conversation goes on.
#include "e2e/E2eSupport.h"

#include "core/RecordMemory.h"
#include "core/RegisterTables.h"
#include "core/RegulatorRecord.h"
#include "core/Telegram.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace zeko;
using namespace zeko::e2e;

namespace {

// The low 16 bits of a record's address, as the simulator's option names them.
std::string RecordRegister(uint32_t index) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", AddressLowWord(RecordAddress(index)));
    return text;
}

} // namespace

TEST(AbsurdReplies, AreRefusedOrSkippedAndToldWhileTheIntactOnesAreStored) {
    constexpr uint32_t Records = 20;
    Session session({"--records", std::to_string(Records), "--start", "2024-03-01 00:00", "--clock",
                     "2024-03-06 10:00:00",
                     // every clock reply: month 13
                     "--alter", "1:FF00+4=13",
                     // the first pointer reply: newest index 100000
                     "--alter", "0:0E79=A08601/1",
                     // record 3: month 13; record 7: a day byte that is no BCD number;
                     // record 12: 30 February
                     "--alter", "2:" + RecordRegister(3) + "+4=13", "--alter", "2:" + RecordRegister(7) + "+3=3A",
                     "--alter", "2:" + RecordRegister(12) + "+3=3002"});
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Started());
    const Bytes clock = ReplyData(sim.Log(), tlg::KindWorking, Registers::Clock);
    ASSERT_EQ(clock.size(), 7u);
    EXPECT_EQ(clock[4], 0x13);
    const std::string refused = "Neplatné datum a čas regulátoru (" + Hex(clock) + "), nebyly převzaty";
    EXPECT_TRUE(zeko.WaitForLine(refused));
    // The live values come; the regulator's clock is not shown.
    ASSERT_TRUE(zeko.WaitForLine("Online "));
    for (const std::string& line : test::LinesWith(zeko.Log(), "Online "))
        EXPECT_EQ(line.back(), '|') << line;

    zeko.Command("menu cmNactiZaznamy");
    ASSERT_TRUE(zeko.WaitForLine("Chybné ukazatele záznamů v regulátoru (100000, 0), záznamy nebyly načteny"));
    ASSERT_TRUE(session.Downloaded());
    ASSERT_TRUE(zeko.WaitForLine("Záznamy s neplatným datem a časem vynechány: 3 (první z nich č. 3 v regulátoru)"));

    // Setting the clock reads it back: an absurd clock is no clock set.
    const size_t before = zeko.Log().size();
    zeko.Command("answer Yes");
    zeko.Command("menu cmNastavitCas");
    EXPECT_TRUE(zeko.WaitForLine("Neplatné datum a čas regulátoru (", 20000, before));
    EXPECT_EQ(zeko.Close(), 0);
    EXPECT_EQ(WritesTo(sim.Log(), tlg::KindWorking, Registers::Clock).size(), 1u);
    EXPECT_TRUE(test::LinesWith(zeko.Log(), "Datum a čas regulátoru nastaven podle PC").empty());

    const test::RegsimLog log = sim.Log();
    for (uint32_t index : {3u, 7u, 12u}) {
        const std::vector<Bytes> altered = RepliesOf(log, tlg::KindRecords, AddressLowWord(RecordAddress(index)));
        ASSERT_EQ(altered.size(), 1u) << index;
    }
    // Every intact record, none of the three, and the position after the last one.
    const auto expected = ExpectedMonthFiles(sim, 0, Records, InputConstantsFrom(log), {3, 7, 12});
    EXPECT_EQ(MonthFiles(dir), expected);
    ASSERT_EQ(expected.size(), 1u);
    EXPECT_EQ(expected.begin()->second.size(), (Records - 3) * RecordBytes);
    for (const Bytes& data : WritesTo(log, tlg::KindSettings, Registers::ReadPosition))
        EXPECT_EQ(data, PositionData(Records));
}
