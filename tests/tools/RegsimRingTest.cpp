#include "tools/regsim/RecordRing.h"

#include "tools/regsim/Faults.h"
#include "tools/regsim/Options.h"
#include "tools/regsim/Station.h"

#include "core/Telegram.h"

#include <gtest/gtest.h>


using namespace zeko;
using namespace zeko::regsim;
using Bytes = std::vector<uint8_t>;

TEST(RegsimRing, RecordsLieInPagesOf19) {
    EXPECT_EQ(RecordAddress(0), 0u);
    EXPECT_EQ(RecordAddress(18), 486u);
    EXPECT_EQ(RecordAddress(19), 528u);
    EXPECT_EQ(RecordAddress(2358), 0xFFF6u);
    EXPECT_EQ(RecordAddress(2359), 0x10011u);
    EXPECT_LT(RecordAddress(RingRecords - 1) + WireRecordBytes, MemoryBytes + 1);
}

TEST(RegsimRing, GeneratedRecordsAreQuarterHoursInBcdAndWrapTheRing) {
    RecordRing ring;
    const TDateTime first = EncodeDate(2009, 12, 31) + EncodeTime(23, 45, 0);
    ring.Generate(7, first, 4, RingRecords - 2);
    EXPECT_EQ(HexBytes(ring.Get(RingRecords - 2).data(), 6), "00 45 23 31 12 09");
    EXPECT_EQ(HexBytes(ring.Get(RingRecords - 1).data(), 6), "00 00 00 01 01 10");
    EXPECT_EQ(HexBytes(ring.Get(0).data(), 6), "00 15 00 01 01 10");
    EXPECT_EQ(HexBytes(ring.Get(1).data(), 6), "00 30 00 01 01 10");
    Record erased;
    erased.fill(0xFF);
    EXPECT_EQ(ring.Get(2), erased);
    // The same seed gives the same records; another seed other values.
    RecordRing again, other;
    again.Generate(7, first, 4, RingRecords - 2);
    other.Generate(8, first, 4, RingRecords - 2);
    EXPECT_EQ(again.Get(0), ring.Get(0));
    EXPECT_NE(other.Get(0), ring.Get(0));
}

TEST(RegsimRing, FieldsAreLowByteFirst) {
    RecordFields f;
    f.Stamp = EncodeDate(2024, 3, 1);
    f.Status = 0x0102;
    f.Counters = {0x0304, 0x0506, 0x0708, 0x090A};
    f.Values = {0x0B0C0D, 0x0E0F10, 0x111213};
    f.LastValue = 0x1415;
    EXPECT_EQ(HexBytes(EncodeRecord(f)),
              "00 00 00 01 03 24 02 01 04 03 06 05 08 07 0A 09 0D 0C 0B 10 0F 0E 13 12 11 15 14");
}

TEST(RegsimOptions, RingPlansFollowTheOptions) {
    const TDateTime clock = EncodeDate(2024, 3, 1) + EncodeTime(10, 20, 0);
    Options o = ParseOptions({"--records", "10", "--first-index", "75320"});
    RingPlan plan = PlanRing(o, clock);
    EXPECT_EQ(plan.Newest, 5u);
    EXPECT_EQ(plan.OldestUnread, 75320u);
    EXPECT_EQ(plan.Flag, 0);
    EXPECT_EQ(ToSeconds(plan.FirstStamp), ToSeconds(EncodeDate(2024, 3, 1) + EncodeTime(8, 0, 0)));

    o = ParseOptions({"--records", "80000", "--first-index", "100", "--start", "2020-01-01 00:15"});
    plan = PlanRing(o, clock);
    EXPECT_EQ(plan.Newest, (100u + 80000u) % RingRecords);
    EXPECT_EQ(plan.OldestUnread, plan.Newest);
    EXPECT_EQ(plan.Flag, 1);
    EXPECT_EQ(ToSeconds(plan.FirstStamp), ToSeconds(EncodeDate(2020, 1, 1) + EncodeTime(0, 15, 0)));

    o = ParseOptions({"--newest", "100", "--oldest-unread", "100", "--pointer-flag", "1"});
    plan = PlanRing(o, clock);
    EXPECT_EQ(plan.Newest, 100u);
    EXPECT_EQ(plan.Flag, 1);
}

// The clock set back an hour after 03:00: the regulator records 02:15 .. 03:00 again,
// at the ring places after the first ones, with values of their own.
TEST(RegsimOptions, ASecondRunOfRecordsFollowsTheFirstInTheRing) {
    const Options o = ParseOptions({"--records", "4", "--first-index", "75323", "--start", "2024-10-27 02:15",
                                    "--more-records", "3", "--more-start", "2024-10-27 02:15"});
    const RingPlan plan = PlanRing(o, EncodeDate(2024, 10, 28));
    EXPECT_EQ(plan.Newest, 5u);
    EXPECT_EQ(plan.OldestUnread, 75323u);
    RecordRing ring;
    FillRing(o, plan, ring);
    std::vector<std::string> stamps;
    for (uint32_t i : {75323u, 75324u, 0u, 1u, 2u, 3u, 4u, 5u})
        stamps.push_back(HexBytes(ring.Get(i).data(), 6));
    EXPECT_EQ(stamps, (std::vector<std::string>{"00 15 02 27 10 24", "00 30 02 27 10 24", "00 45 02 27 10 24",
                                                "00 00 03 27 10 24", "00 15 02 27 10 24", "00 30 02 27 10 24",
                                                "00 45 02 27 10 24", "FF FF FF FF FF FF"}));
    EXPECT_NE(HexBytes(ring.Get(75323).data() + 6, 21), HexBytes(ring.Get(2).data() + 6, 21));
    EXPECT_THROW(ParseOptions({"--more-records", "3"}), std::invalid_argument);
}

TEST(RegsimOptions, EveryOptionIsReadAndBadOnesAreNamed) {
    const Options o = ParseOptions({"--log", "l", "--export-ring", "r", "--seed", "9", "--clock",
                                    "2007-03-05 14:03:09", "--ident", "2=Abc", "--poke", "0:0E08=0B0C",
                                    "--drop", "10", "--delay", "5", "--corrupt", "20", "--noise", "30",
                                    "--split", "40", "--double", "50", "--wrong-address", "60", "--pace", "4800",
                                    "--lose-ack", "0:0E97", "--lose-ack", "1:97", "--mute-at", "1:0097"});
    EXPECT_EQ(o.LogPath, "l");
    EXPECT_EQ(o.ExportRingPath, "r");
    EXPECT_EQ(o.Seed, 9u);
    EXPECT_EQ(o.Faults.Seed, 9u);
    ASSERT_TRUE(o.Clock);
    EXPECT_EQ(DecodeTime(*o.Clock).Second, 9);
    EXPECT_EQ(o.IdentTexts[0], (std::pair<int, std::string>{2, "Abc"}));
    EXPECT_EQ(o.Pokes[0].Address, 0x0E08);
    EXPECT_EQ(o.Pokes[0].Bytes, (Bytes{0x0B, 0x0C}));
    EXPECT_EQ(o.Faults.DropPercent, 10);
    EXPECT_EQ(o.Faults.DelayMs, 5u);
    EXPECT_EQ(o.Faults.CorruptPercent, 20);
    EXPECT_EQ(o.Faults.NoisePercent, 30);
    EXPECT_EQ(o.Faults.SplitPercent, 40);
    EXPECT_EQ(o.Faults.DoublePercent, 50);
    EXPECT_EQ(o.Faults.WrongAddressPercent, 60);
    EXPECT_EQ(o.PaceBaud, 4800u);
    EXPECT_EQ(o.Faults.LoseFirstAck, (std::vector<std::pair<uint8_t, uint16_t>>{{0, 0x0E97}, {1, 0x0097}}));
    EXPECT_EQ(o.Faults.MuteFromWrite, (std::pair<uint8_t, uint16_t>{1, 0x0097}));
    const Options altered = ParseOptions({"--alter", "1:FF00+4=13", "--alter", "0:0E79=A08601/1"});
    ASSERT_EQ(altered.Faults.Alterations.size(), 2u);
    const Alteration& clock = altered.Faults.Alterations[0];
    EXPECT_EQ(clock.Kind, 1);
    EXPECT_EQ(clock.Address, 0xFF00);
    EXPECT_EQ(clock.Offset, 4u);
    EXPECT_EQ(clock.Bytes, (Bytes{0x13}));
    EXPECT_EQ(clock.Count, 0u);
    const Alteration& pointers = altered.Faults.Alterations[1];
    EXPECT_EQ(pointers.Offset, 0u);
    EXPECT_EQ(pointers.Bytes, (Bytes{0xA0, 0x86, 0x01}));
    EXPECT_EQ(pointers.Count, 1u);
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--drop", "101"}, {"--records", "-1"}, {"--start", "2024-02-30 00:00"},
          {"--poke", "4:0000=00"}, {"--poke", "0:0000=0"}, {"--what", "1"}, {"--log"}, {"--first-index", "75325"},
          {"--lose-ack", "0E97"}, {"--lose-ack", "4:0E97"}, {"--mute-at", "0E97"}, {"--alter", "1:FF00+4"},
          {"--alter", "1:FF00+x=13"}, {"--alter", "1:FF00=13/0"}, {"--alter", "5:FF00=13"}})
        EXPECT_THROW(ParseOptions(bad), std::invalid_argument) << bad[0];
}

namespace {

bool ChecksHold(const Bytes& f) {
    return f.size() >= 7 && SumsToZero(f.data(), tlg::HeaderSize) &&
           SumsToZero(f.data() + tlg::HeaderSize, f.size() - tlg::HeaderSize);
}

const Bytes kReply = {0xA5, 0x3F, 0x08, 0x03, 0x11, 0x01, 0x02, 0x0E, 0x00, 0xEF};

} // namespace

TEST(RegsimFaults, EachFaultChangesTheReplyAsNamed) {
    std::string note;
    FaultSettings s;
    s.DropPercent = 100;
    EXPECT_TRUE(Faults(s).Apply(kReply, note).empty());
    EXPECT_EQ(note, "dropped");

    s = {};
    s.CorruptPercent = 100;
    Faults corrupt(s);
    for (int i = 0; i < 2; ++i) {
        const auto t = corrupt.Apply(kReply, note);
        ASSERT_EQ(t.size(), 1u);
        EXPECT_FALSE(ChecksHold(t[0].Bytes)) << HexBytes(t[0].Bytes);
    }

    s = {};
    s.WrongAddressPercent = 100;
    auto t = Faults(s).Apply(kReply, note);
    EXPECT_TRUE(ChecksHold(t[0].Bytes));
    EXPECT_EQ(t[0].Bytes[6], 0x03);

    s = {};
    s.NoisePercent = s.SplitPercent = s.DoublePercent = 100;
    s.DelayMs = 7;
    t = Faults(s).Apply(kReply, note);
    ASSERT_GE(t.size(), 4u);
    EXPECT_EQ(t[0].Note, "noise");
    EXPECT_EQ(t[0].PauseMs, 7u);
    Bytes joined;
    for (size_t i = 1; i + 1 < t.size(); ++i) {
        joined.insert(joined.end(), t[i].Bytes.begin(), t[i].Bytes.end());
        EXPECT_EQ(t[i].PauseMs, i == 1 ? 0u : s.SplitPauseMs);
    }
    EXPECT_EQ(joined, kReply);
    EXPECT_EQ(t.back().Bytes, kReply);
    EXPECT_EQ(t.back().Note, "copy");
}

TEST(RegsimFaults, TheFirstAcknowledgementOfAWriteToARegisterIsLost) {
    FaultSettings s;
    s.LoseFirstAck = {{0, 0x0E97}};
    Faults faults(s);
    const Bytes ack = regsim::BuildReply(63, 0x81 | 0x00, 0x0E97, {42});
    const Bytes otherAck = regsim::BuildReply(63, 0x81 | 0x20, 0x0097, {42});
    const Bytes read = regsim::BuildReply(63, 0x01, 0x0E97, {42});
    std::string note;
    EXPECT_EQ(faults.Apply(read, note).size(), 1u);  // a read reply of the register is no acknowledgement
    EXPECT_EQ(faults.Apply(otherAck, note).size(), 1u);
    EXPECT_TRUE(faults.Apply(ack, note).empty());
    EXPECT_EQ(note, "acknowledgement lost");
    note.clear();
    const auto again = faults.Apply(ack, note);  // the repeated write is acknowledged
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].Bytes, ack);
}

TEST(RegsimFaults, FromAWriteToARegisterOnNothingIsAnswered) {
    FaultSettings s;
    s.MuteFromWrite = {{0, 0x0E97}};
    Faults faults(s);
    const Bytes ack = regsim::BuildReply(63, 0x81 | 0x00, 0x0E97, {42});
    const Bytes read = regsim::BuildReply(63, 0x01, 0x0E97, {42});
    const Bytes live = regsim::BuildReply(63, 0x01, 0xFF00, Bytes(16, 0));
    std::string note;
    EXPECT_EQ(faults.Apply(read, note).size(), 1u);  // a read of the register does not silence it
    EXPECT_TRUE(faults.Apply(ack, note).empty());
    EXPECT_EQ(note, "muted");
    for (const Bytes& reply : {read, live, ack}) {
        note.clear();
        EXPECT_TRUE(faults.Apply(reply, note).empty());
        EXPECT_EQ(note, "muted");
    }
}

// Absurd data in a well-formed reply: the data bytes change, the check bytes stay
// right, other registers and write acknowledgements are left alone, and a count
// ends the change.
TEST(RegsimFaults, AnAlterationChangesTheDataAndKeepsTheChecksRight) {
    FaultSettings s;
    s.Alterations = {Alteration{1, 0xFF00, 4, {0x13}, 0}, Alteration{0, 0x0E79, 0, {0xA0, 0x86, 0x01}, 1}};
    Faults faults(s);
    const Bytes clock = regsim::BuildReply(63, 0x20 | 0x07, 0xFF00, {0x09, 0x03, 0x14, 0x05, 0x03, 0x01, 0x07});
    const Bytes clockAck = regsim::BuildReply(63, 0x80 | 0x20 | 0x07, 0xFF00, {0x09, 0x03, 0x14, 0x05, 0x03, 0x01, 0x07});
    const Bytes pointers = regsim::BuildReply(63, 0x07, 0x0E79, {0x0A, 0, 0, 0, 0x05, 0, 0});
    const Bytes live = regsim::BuildReply(63, 0x10, 0xFF00, Bytes(16, 0));
    std::string note;
    for (int i = 0; i < 2; ++i) {
        const auto t = faults.Apply(clock, note);
        ASSERT_EQ(t.size(), 1u);
        EXPECT_TRUE(ChecksHold(t[0].Bytes));
        EXPECT_EQ(t[0].Bytes, regsim::BuildReply(63, 0x27, 0xFF00, {0x09, 0x03, 0x14, 0x05, 0x13, 0x01, 0x07}));
        EXPECT_EQ(t[0].Note, "altered");
    }
    EXPECT_EQ(faults.Apply(clockAck, note)[0].Bytes, clockAck);
    EXPECT_EQ(faults.Apply(live, note)[0].Bytes, live);
    EXPECT_EQ(faults.Apply(pointers, note)[0].Bytes, regsim::BuildReply(63, 0x07, 0x0E79, {0xA0, 0x86, 0x01, 0, 0x05, 0, 0}));
    EXPECT_EQ(faults.Apply(pointers, note)[0].Bytes, pointers);  // only the first one
    // Bytes beyond the reply's data are not added.
    FaultSettings past;
    past.Alterations = {Alteration{0, 0x0E79, 6, {0x11, 0x22}, 0}};
    const auto t = Faults(past).Apply(pointers, note);
    EXPECT_EQ(t[0].Bytes, regsim::BuildReply(63, 0x07, 0x0E79, {0x0A, 0, 0, 0, 0x05, 0, 0x11}));
}
