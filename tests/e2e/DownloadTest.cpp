// The record download against the simulated regulator: every record lands in its
// month file byte for byte, the upper address byte goes out when it changes, and the
// read position is written back only once the records are stored.
#include "e2e/E2eSupport.h"

#include "core/WireRecord.h"
#include "core/BinaryData.h"
#include "core/RecordStore.h"
#include "core/RegisterTables.h"
#include "core/Telegram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

using namespace zeko;
using namespace zeko::e2e;

namespace {

struct Download {
    uint32_t First;
    uint32_t Count;
    std::string Start;
};

// "" when equal, else the first record that differs, stored and expected, in hex.
std::string FirstDifference(const std::string& stored, const std::string& expected) {
    for (size_t at = 0; at < std::max(stored.size(), expected.size()); at += RecordBytes) {
        const std::string a = at < stored.size() ? stored.substr(at, RecordBytes) : "";
        const std::string b = at < expected.size() ? expected.substr(at, RecordBytes) : "";
        if (a != b)
            return "record " + std::to_string(at / RecordBytes) + "\n stored   " + Hex(Bytes(a.begin(), a.end())) +
                   "\n expected " + Hex(Bytes(b.begin(), b.end()));
    }
    return "";
}

// The read position `next` written back in both places, every time (a write whose
// acknowledgement was lost goes out again, the same).
void ExpectPositionWrittenBack(const test::RegsimLog& log, uint32_t next) {
    for (const auto& [mode, address] : {std::pair{tlg::KindSettings, Registers::ReadPosition},
                                        std::pair{tlg::KindWorking, Registers::ReadPositionWorking}}) {
        const std::vector<Bytes> writes = WritesTo(log, mode, address);
        EXPECT_FALSE(writes.empty()) << address;
        for (const Bytes& data : writes)
            EXPECT_EQ(data, PositionData(next)) << address;
    }
}

// Asks for the download of a ring of 600 records and returns once the simulator
// has answered 40 record reads, the download being under way.
void StartLongDownload(Session& session) {
    ASSERT_TRUE(session.Started());
    session.zeko.Command("menu cmNactiZaznamy");
    ASSERT_TRUE(session.sim.WaitForLog([](const test::RegsimLog& log) {
        size_t reads = 0;
        for (const Request& r : Requests(log))
            reads += r.Mode == tlg::KindRecords;
        return reads >= 40;
    }));
}

const std::vector<std::string> LongRing{"--records", "600", "--first-index", "0", "--start", "2024-05-01 00:00"};

// Runs one download of a ring of `d.Count` records from `d.First` and checks files
// and the position written back.
void DownloadAndCheck(const Download& d, const std::vector<std::string>& faults = {}, int sendTimerMs = 150,
                      int timeoutMs = 60000) {
    std::vector<std::string> options{"--records", std::to_string(d.Count), "--first-index", std::to_string(d.First),
                                     "--start", d.Start};
    options.insert(options.end(), faults.begin(), faults.end());
    Session session(options, sendTimerMs);
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Started(timeoutMs));
    zeko.Command("menu cmNactiZaznamy");
    ASSERT_TRUE(zeko.WaitForLine("Download " + std::to_string(d.Count), timeoutMs));
    ASSERT_TRUE(zeko.WaitForLine("Pozice záznamů PC zapsána", timeoutMs));
    EXPECT_EQ(zeko.Close(), 0);

    const test::RegsimLog log = sim.Log();
    if (!faults.empty()) {
        // The faults asked for did happen.
        for (const char* note : {"dropped", "bad header check", "bad data check", "noise", "piece 2/"})
            EXPECT_TRUE(std::any_of(log.begin(), log.end(), [note](const test::RegsimLogLine& l) {
                return l.Note.find(note) != std::string::npos;
            })) << note;
    }
    const auto expected = ExpectedMonthFiles(sim, d.First, d.Count, InputConstantsFrom(log));
    const auto stored = MonthFiles(dir);
    ASSERT_EQ(stored.size(), expected.size());
    for (const auto& [path, bytes] : expected) {
        ASSERT_EQ(stored.count(path), 1u) << path;
        EXPECT_EQ(stored.at(path).size(), bytes.size()) << path;
        EXPECT_EQ(FirstDifference(stored.at(path), bytes), "") << path;
    }
    // The position after the last record.
    ExpectPositionWrittenBack(log, (d.First + d.Count) % RingRecords);
}

// The record reads (kind 2) and the writes of register 0x0113, in order, as
// "R <low address>" and "H <byte>".
std::vector<std::string> AddressSteps(const test::RegsimLog& log) {
    std::vector<std::string> steps;
    for (const Request& r : Requests(log)) {
        if (r.Mode == 2 && !r.Write)
            steps.push_back("R " + std::to_string(r.Address));
        else if (r.Mode == 0 && r.Write && r.Address == 0x0113 && !r.Data.empty())
            steps.push_back("H " + std::to_string(r.Data[0]));
    }
    return Collapse(steps);
}

} // namespace

TEST(Download, RecordsOfTwoMonthsLandInTheirMonthFilesByteForByte) {
    DownloadAndCheck({40, 300, "2024-01-30 12:00"});
}

TEST(Download, AcrossTheEndOfTheRing) {
    DownloadAndCheck({75250, 150, "2024-06-01 00:00"});
}

TEST(Download, AcrossAChangeOfTheUpperAddressByte) {
    Session session({"--records", "20", "--first-index", "2350", "--start", "2024-03-01 00:00"});
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Started());
    ASSERT_TRUE(session.Downloaded());
    EXPECT_EQ(zeko.Close(), 0);
    std::vector<std::string> expected{"H 0"};
    for (uint32_t i = 2350; i < 2370; ++i) {
        if (i == 2359)
            expected.push_back("H 1");
        expected.push_back("R " + std::to_string(RecordAddress(i) & 0xFFFF));
    }
    EXPECT_EQ(AddressSteps(sim.Log()), expected);
    EXPECT_EQ(RecordAddress(2359) & 0xFFFF, 0x0011u);
}

TEST(Download, CancelledInTheMiddleKeepsWhatWasReadAndGoesOnFromThere) {
    Session session(LongRing);
    auto& [dir, sim, zeko] = session;
    ASSERT_NO_FATAL_FAILURE(StartLongDownload(session));
    zeko.Command("click Btn_PrerusZaznamy");
    ASSERT_TRUE(zeko.WaitForLine("Pozice záznamů PC zapsána"));
    EXPECT_EQ(zeko.Close(), 0);
    const test::RegsimLog log = sim.Log();
    const std::vector<Bytes> positions = WritesTo(log, 0, 0x0E7C);
    ASSERT_EQ(positions.size(), 1u);
    ASSERT_EQ(positions[0].size(), 4u);
    const uint32_t next = ReadInt24LE(&positions[0][1]);
    EXPECT_GE(next, 40u);
    EXPECT_LT(next, 600u);
    const auto expected = ExpectedMonthFiles(sim, 0, next, InputConstantsFrom(log));
    EXPECT_TRUE(MonthFiles(dir) == expected);
}

// "Zruš" while the regulator does not answer ends the download at once and says
// how many records were stored; the read position follows them once the regulator
// answers again, and the files hold exactly the records before it.
TEST(Download, CancelledWhileTheRegulatorDoesNotAnswerEndsAtOnceAndThePositionFollows) {
    Session session(LongRing);
    auto& [dir, sim, zeko] = session;
    ASSERT_NO_FATAL_FAILURE(StartLongDownload(session));
    sim.ToggleMute();
    ASSERT_TRUE(zeko.WaitForLine("Regulátor neodpovídá."));
    zeko.Command("click Btn_PrerusZaznamy");
    const std::string cancelled = "Načítání záznamů zrušeno, uloženo záznamů: ";
    ASSERT_TRUE(zeko.WaitForLine(cancelled));
    const std::string line = test::LinesWith(zeko.Log(), cancelled).front();
    const uint32_t stored = static_cast<uint32_t>(std::stoul(line.substr(line.find(cancelled) + cancelled.size())));
    EXPECT_GE(stored, 40u);
    EXPECT_LT(stored, 600u);
    sim.ToggleMute();
    ASSERT_TRUE(zeko.WaitForLine("Pozice záznamů PC zapsána"));
    EXPECT_EQ(zeko.Close(), 0);
    const test::RegsimLog log = sim.Log();
    ExpectPositionWrittenBack(log, stored);
    EXPECT_TRUE(MonthFiles(dir) == ExpectedMonthFiles(sim, 0, stored, InputConstantsFrom(log)));
}

TEST(Download, ADownloadAskedForDuringTheStartUpReadingWaitsForItsEnd) {
    Session session({"--records", "5", "--delay", "30", "--start", "2024-05-01 00:00"});
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Downloaded());
    EXPECT_EQ(zeko.Close(), 0);
    const std::vector<std::string> rx = RxTelegrams(sim.Log());
    const auto lastBlock = std::find(rx.begin(), rx.end(), Hex(Table(0, 0, 21)));
    const auto pointers = std::find(rx.begin(), rx.end(), Hex(Table(0, 0, 23)));
    ASSERT_NE(lastBlock, rx.end());
    ASSERT_NE(pointers, rx.end());
    EXPECT_LT(lastBlock - rx.begin(), pointers - rx.begin());
    // The records carry the regulator's constants, not zeros.
    const auto files = MonthFiles(dir);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(files.begin()->second == ExpectedMonthFiles(sim, 0, 5, InputConstantsFrom(sim.Log())).begin()->second);
}

TEST(Download, PointersOutsideTheRingStartNoDownload) {
    Session session({"--poke", "0:0E79=A08601010A0000"});
    auto& [dir, sim, zeko] = session;
    // Newest index 100000, flag 1, oldest unread 10.
    ASSERT_TRUE(session.Started());
    zeko.Command("menu cmNactiZaznamy");
    ASSERT_TRUE(zeko.WaitForLine("Chybné ukazatele záznamů v regulátoru (100000, 10)"));
    EXPECT_EQ(zeko.Close(), 0);
    for (const Request& r : Requests(sim.Log()))
        EXPECT_NE(r.Mode, 2);
    EXPECT_TRUE(WritesTo(sim.Log(), 0, 0x0113).empty());
    EXPECT_TRUE(MonthFiles(dir).empty());
}

TEST(Download, WhenTheRecordsCannotBeStoredThePositionStaysAndTheNextDownloadReadsThemAgain) {
    Session session({"--records", "30", "--first-index", "100", "--start", "2024-07-01 00:00"});
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Started());
    // A file where the year folder must go: the save fails.
    dir.Write("ROK2024", "in the way");
    zeko.Command("menu cmNactiZaznamy");
    ASSERT_TRUE(zeko.WaitForLine("MessageDlg Error [OK] Chyba při ukládání záznamů"));
    ASSERT_TRUE(zeko.WaitForLine("Záznamy nebyly uloženy"));
    EXPECT_TRUE(WritesTo(sim.Log(), 0, 0x0E7C).empty());
    EXPECT_TRUE(WritesTo(sim.Log(), 1, 0x007C).empty());

    std::filesystem::remove(dir / "ROK2024");
    const size_t before = Requests(sim.Log()).size();
    ASSERT_TRUE(session.Downloaded());
    EXPECT_EQ(zeko.Close(), 0);
    const std::vector<Request> all = Requests(sim.Log());
    const auto again = std::find_if(all.begin() + static_cast<std::ptrdiff_t>(before), all.end(),
                                    [](const Request& r) { return r.Mode == 2; });
    ASSERT_NE(again, all.end());
    EXPECT_EQ(again->Address, RecordAddress(100) & 0xFFFF);
    EXPECT_EQ(WritesTo(sim.Log(), 0, 0x0E7C), std::vector<Bytes>{PositionData(130)});
    EXPECT_TRUE(MonthFiles(dir) == ExpectedMonthFiles(sim, 100, 30, InputConstantsFrom(sim.Log())));
}

TEST(Download, EveryReplyDoubledStillEndsTheDownloadOnce) {
    // A second reply to one telegram is taken for nothing: the last record's copy
    // would otherwise end the download again (another save, another write-back),
    // and the read position's copy would drop what was queued since.
    Session session({"--records", "30", "--first-index", "500", "--start", "2024-08-01 00:00", "--double", "100"});
    auto& [dir, sim, zeko] = session;
    ASSERT_TRUE(session.Started());
    ASSERT_TRUE(session.Downloaded());
    // Two more polls: time for any copy to have come and gone.
    ASSERT_TRUE(PolledAgain(sim, 2));
    EXPECT_EQ(zeko.Close(), 0);
    EXPECT_EQ(test::LinesWith(zeko.Log(), "Pozice záznamů PC zapsána").size(), 1u);
    const test::RegsimLog log = sim.Log();
    ExpectPositionWrittenBack(log, 530);
    EXPECT_TRUE(MonthFiles(dir) == ExpectedMonthFiles(sim, 500, 30, InputConstantsFrom(log)));
}

TEST(Download, TwoThousandRecordsOverAFaultyLineAreStoredOnceEachAndExact) {
    // The month files equal the ring's records, each once; the checks of every
    // download (DownloadAndCheck) hold also here.
    DownloadAndCheck({74000, 2000, "2024-02-20 00:00"},
                     {"--corrupt", "5", "--drop", "5", "--noise", "10", "--split", "5", "--seed", "11"}, 60, 180000);
}
