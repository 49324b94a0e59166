#include "core/Komunikace.h"

#include "core/RegisterTables.h"
#include "platform/TickClock.h"
#include "support/PseudoTerminal.h"

#include <gtest/gtest.h>

using namespace zeko;
using Bytes = std::vector<uint8_t>;

namespace {

// The link layer as the main window sets it up, minus the port.
class Link : public ::testing::Test {
protected:
    Link() {
        k.SetAddressRange(0, 65535);
        k.CrcDestinations.set(8);
        k.MatchLastSent = true;
        k.DirectionControl = false;  // no port: nothing to switch, no waits
    }

    Bytes Built() const { return {k.Built().begin(), k.Built().end()}; }

    // The telegrams of the queue, head first.
    std::vector<Bytes> Telegrams() const { return k.QueuedTelegrams(); }

    TKomunikace k;
};

Bytes WithChecks(Bytes frame) {
    // Fills in the header check (byte 4) and the final data check.
    frame[4] = NegatedSum(frame.data(), 4);
    frame.back() = NegatedSum(frame.data() + 5, frame.size() - 6);
    return frame;
}

} // namespace

TEST_F(Link, TheExampleTelegramsAreBuiltByteForByte) {
    EXPECT_TRUE(k.BuildTableTelegram(63, 8, 0, 0, reg8::SettingsByte));
    EXPECT_EQ(HexBytes(Built()), "A5 08 3F 02 12 01 02 0E EF");
    EXPECT_TRUE(k.BuildTableTelegram(63, 8, 0, 0, reg8::LiveValues));
    EXPECT_EQ(HexBytes(Built()), "A5 08 3F 02 12 10 00 FF F1");

    k.SetDataByte(1, 0x40);
    EXPECT_TRUE(k.BuildTelegram(63, 8, 1, 1, 0x0000, 1, 64, 0));
    EXPECT_EQ(HexBytes(Built()), "A5 08 3F 05 0F A1 00 00 40 60 BF");
    EXPECT_TRUE(k.BuildTelegram(63, 8, 1, 1, 0x0000, 1, 0, 0));
    EXPECT_EQ(HexBytes(Built()), "A5 08 3F 04 10 A1 00 00 40 60 BF");

    k.SetDataByte(1, 0x01);
    EXPECT_TRUE(k.BuildTelegram(63, 8, 1, 1, 0x0001, 1, 1, 0));
    EXPECT_EQ(HexBytes(Built()), "A5 08 3F 05 0F A1 01 00 01 D3 8A");

    k.SetDataByte(1, 0x12);
    k.SetDataByte(2, 0x34);
    EXPECT_TRUE(k.BuildTelegram(63, 8, 1, 0, 0x0E2B, 2, 0, 0));
    EXPECT_EQ(HexBytes(Built()), "A5 08 3F 05 0F 82 2B 0E 12 34 FA 05");
    EXPECT_EQ(k.FrameLength(), 12);
}

TEST_F(Link, AnExplicitReadCarriesItsDataBytes) {
    // The record reads of the download: 27 bytes of kind 2, 36 bytes, length byte 29.
    for (uint8_t i = 1; i <= 27; ++i)
        k.SetDataByte(i, i);
    ASSERT_TRUE(k.BuildTelegram(63, 8, 0, 2, 0x0011, 27, 0, 0));
    const Bytes t = Built();
    ASSERT_EQ(t.size(), 36u);
    EXPECT_EQ(t[3], 29);
    EXPECT_EQ(t[5], 0x5B);
    EXPECT_EQ(t[6], 0x11);
    EXPECT_EQ(t[7], 0x00);
    EXPECT_EQ(t[8], 1);
    EXPECT_EQ(t[34], 27);
    EXPECT_EQ(WithChecks(t), t) << HexBytes(t);
}

TEST_F(Link, TheDataOfAQueuedTelegramStayStagedForTheTelegramsAfterIt) {
    const uint8_t position[] = {0x00, 0x3C, 0x26, 0x01};
    ASSERT_TRUE(k.QueueTelegram(63, 8, 1, 0, 0x0E7C, position, 0));
    for (uint8_t i = 0; i < 4; ++i)
        k.SetDataByte(static_cast<uint8_t>(i + 1), position[i]);
    ASSERT_TRUE(k.BuildTelegram(63, 8, 1, 0, 0x0E7C, 4, 0, 0));
    EXPECT_EQ(HexBytes(k.HeadTelegram()), HexBytes(Built()));
    EXPECT_EQ(k.DataByte(2), 0x3C);
    // A read with a byte count carries what is staged, as the record reads do.
    ASSERT_TRUE(k.QueueTelegram(63, 8, 0, 2, 0x0011, 2, 0));
    const Bytes read = k.QueuedTelegrams().back();
    EXPECT_EQ(HexBytes(Bytes(read.begin() + 8, read.end() - 1)), "00 3C");
    // More data than a telegram holds is refused.
    const std::vector<uint8_t> tooMuch(51, 1);
    EXPECT_FALSE(k.QueueTelegram(63, 8, 1, 0, 0x0E7C, tooMuch, 0));
    EXPECT_EQ(k.QueuedCount(), 2);
}

TEST_F(Link, TheSendTapSeesEveryTelegramThatGoesToThePort) {
    std::vector<std::string> seen;
    k.OnSend = [&](std::span<const uint8_t> bytes) { seen.push_back(HexBytes(bytes.data(), bytes.size())); };
    k.QueueTableTelegram(63, 8, 0, 0, reg8::SettingsByte);
    k.SendNext();
    k.SendNext();  // the repetition goes out again
    k.SetAddressRange(65535, 65535);
    k.SendNext();  // refused: not sent
    EXPECT_EQ(seen, std::vector<std::string>(2, "FF A5 08 3F 02 12 01 02 0E EF"));
}

TEST_F(Link, OtherCrcDestinationsCarryTheMarkerUnderTheCrc) {
    k.CrcDestinations.set(20);
    k.SetDataByte(1, 0x40);
    k.SetDataByte(2, 0x41);
    struct Case {
        uint8_t count, key;
        Bytes block;  // what follows the data, before the data check
    };
    for (const Case& c : {Case{2, 7, {0xC2}}, Case{1, 0, {0xC2}}, Case{1, 9, {0xC3, 9}}}) {
        ASSERT_TRUE(k.BuildTelegram(63, 20, 1, 0, 0x1234, c.count, c.key, 0));
        const Bytes t = Built();
        const size_t dataEnd = 8 + c.count;
        ASSERT_EQ(t.size(), dataEnd + c.block.size() + 2) << HexBytes(t);
        EXPECT_EQ(t[3], t.size() - 7) << "ordinary length byte: " << HexBytes(t);
        EXPECT_EQ(Bytes(t.begin() + dataEnd, t.begin() + dataEnd + c.block.size()), c.block) << HexBytes(t);
        const size_t crcAt = t.size() - 2;
        EXPECT_EQ(t[crcAt], Crc8(t.data() + 5, crcAt - 5, 0)) << HexBytes(t);
        EXPECT_EQ(WithChecks(t), t) << HexBytes(t);
    }
    // A read, or a destination outside the set, has no CRC block.
    ASSERT_TRUE(k.BuildTelegram(63, 20, 0, 0, 0x1234, 1, 9, 0));
    EXPECT_EQ(k.FrameLength(), 10);
    ASSERT_TRUE(k.BuildTelegram(63, 9, 1, 0, 0x1234, 1, 9, 0));
    EXPECT_EQ(HexBytes(Built()), HexBytes(WithChecks({0xA5, 9, 63, 3, 0, 0x81, 0x34, 0x12, 0x40, 0})));
}

TEST_F(Link, BankedDestinationsGoOutAsStationTwoWithABankByte) {
    ASSERT_TRUE(k.BuildTableTelegram(63, 105, 0, 1, 3));
    EXPECT_EQ(HexBytes(Built()), HexBytes(WithChecks({0xA5, 2, 63, 3, 0, 5, 0x21, 3, 0, 0})));
    ASSERT_TRUE(k.BuildHeadTelegram(63, 100, 0, 0, 0xABCD, 4));
    EXPECT_EQ(HexBytes(Built()), HexBytes(WithChecks({0xA5, 2, 63, 3, 0, 0, 0x04, 0xCD, 0xAB, 0})));
}

TEST_F(Link, TelegramsThatCannotBeBuiltAreNotQueued) {
    EXPECT_FALSE(k.QueueTableTelegram(63, 8, 0, 0, reg8::Size));  // past the table's end
    EXPECT_FALSE(k.QueueTableTelegram(63, 9, 0, 0, 0));            // no table
    EXPECT_FALSE(k.QueueTelegram(63, 8, 0, 2, 0, 30, 0));          // L would not fit 5 bits
    EXPECT_FALSE(k.QueueTelegram(63, 8, 1, 0, 0, 29, 0));          // L = 32 with the CRC
    EXPECT_TRUE(k.QueueTelegram(63, 8, 1, 0, 0, 28, 0));
    EXPECT_EQ(Telegrams().size(), 1u);
    EXPECT_EQ(k.QueuedCount(), 1);
    EXPECT_EQ(RegisterTableFor(0)[31].Address, 0x000D);
    EXPECT_EQ(RegisterTableFor(8).size(), 53u);
    EXPECT_EQ(RegisterTableFor(115).size(), 0u);
}

TEST(RegisterTables, TheRegulatorsTableGivesEveryRegisterAndByteCount) {
    // Station 8, command index 0..52: register, bytes.
    const std::vector<std::pair<uint16_t, uint16_t>> expected = {
        {0x0070, 15}, {0x0080, 15}, {0x0090, 17}, {0x00A2, 21}, {0x0100, 26}, {0x0E01, 1},  {0x0E08, 1},
        {0x0E09, 1},  {0x0E0A, 1},  {0x0E0B, 16}, {0x0E1B, 16}, {0x0E2B, 2},  {0x0E2D, 6},  {0x0E33, 16},
        {0x0E50, 16}, {0x0E60, 16}, {0x0E70, 8},  {0xFF00, 16}, {0x0079, 7},  {0x007C, 4},  {0x0113, 1},
        {0x0E80, 24}, {0x0E02, 1},  {0x0E79, 7},  {0x0E7C, 4},  {0x0E00, 1},  {0x0000, 1},  {0x0001, 1},
        {0xFF00, 7},  {0x0E86, 3},  {0x0086, 3},  {0x0E8F, 3},  {0x008F, 3},  {0x0E80, 5},  {0x0080, 5},
        {0x0E92, 4},  {0x0092, 4},  {0x0E8B, 4},  {0x008B, 4},  {0x0070, 8},  {0x0050, 16}, {0x0060, 16},
        {0x0008, 1},  {0x0009, 1},  {0x000A, 1},  {0x000B, 16}, {0x001B, 16}, {0x0033, 16}, {0x0E96, 1},
        {0x0096, 1},  {0x0E97, 1},  {0x0097, 1},  {0x0002, 1}};
    const auto table = RegisterTableFor(8);
    ASSERT_EQ(table.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(table[i].Address, expected[i].first) << "index " << i;
        EXPECT_EQ(table[i].Count, expected[i].second) << "index " << i;
    }
    // Every other family keeps its size.
    for (const auto& [station, size] : std::vector<std::pair<uint8_t, size_t>>{
             {0, 59}, {5, 7}, {20, 15}, {30, 3}, {40, 35}, {49, 11}, {50, 1}, {60, 5}, {114, 11}, {9, 0}, {52, 0}})
        EXPECT_EQ(RegisterTableFor(station).size(), size) << int(station);
}

TEST_F(Link, TheQueueKeepsLengthEntriesAndBytes) {
    EXPECT_EQ(k.QueueCount(), 0);
    k.QueueTableTelegram(63, 8, 0, 0, reg8::SettingsByte);
    k.QueueTableTelegram(63, 8, 0, 3, reg8::IdentText1);
    EXPECT_EQ(k.QueueCount(), 20);  // two entries of 1 + 9
    EXPECT_EQ(k.QueuedCount(), 2);
    EXPECT_EQ(HexBytes(k.HeadTelegram()), "A5 08 3F 02 12 01 02 0E EF");
    k.DropHead();
    EXPECT_EQ(k.QueueCount(), 10);
    EXPECT_EQ(k.HeadTelegram()[6], 0x70);
    k.ClearQueue();
    EXPECT_EQ(k.QueueCount(), 0);
    EXPECT_EQ(k.QueuedCount(), 0);
    k.DropHead();  // nothing to drop
    EXPECT_EQ(k.QueuedCount(), 0);
}

TEST_F(Link, QueueTelegramFirstPutsTheNewTelegramAtTheHead) {
    ASSERT_TRUE(k.QueueTelegramFirst(63, 8, 0, 0, 0xFF00, 16, false));
    ASSERT_EQ(Telegrams().size(), 1u);
    EXPECT_EQ(HexBytes(Telegrams()[0]), "A5 08 3F 02 12 10 00 FF F1");

    k.ClearQueue();
    k.QueueTableTelegram(63, 8, 0, 0, reg8::SettingsByte);
    k.QueueTableTelegram(63, 8, 0, 3, reg8::IdentText1);
    const auto before = Telegrams();
    ASSERT_TRUE(k.QueueTelegramFirst(63, 8, 0, 0, 0xFF00, 16, false));
    const auto after = Telegrams();
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(HexBytes(after[0]), "A5 08 3F 02 12 10 00 FF F1");
    EXPECT_EQ(after[1], before[0]);
    EXPECT_EQ(after[2], before[1]);

    // Skipped when asked to and the same telegram waits; allowed again otherwise.
    EXPECT_FALSE(k.QueueTelegramFirst(63, 8, 0, 0, 0xFF00, 16, true));
    EXPECT_EQ(Telegrams().size(), 3u);
    EXPECT_TRUE(k.QueueTelegramFirst(63, 8, 0, 0, 0xFF00, 16, false));
    EXPECT_EQ(Telegrams().size(), 4u);
}

// Telegrams chosen anywhere in the queue leave it; the others keep their order and
// their bytes, and the count follows.
TEST_F(Link, DropQueuedIfTakesOutTheChosenTelegramsWhereverTheyStand) {
    k.QueueTableTelegram(63, 8, 0, 3, reg8::IdentText1);
    const uint8_t high[] = {1};
    k.QueueTelegram(63, 8, 1, 0, 0x0113, high, 0);
    k.QueueTableTelegram(63, 8, 0, 0, reg8::SettingsByte);
    k.QueueTelegram(63, 8, 0, 2, 0x0011, 27, 0);
    const auto before = Telegrams();
    const auto isKind = [](uint8_t kind) {
        return [kind](std::span<const uint8_t> t) { return tlg::KindOf(t[tlg::OffControl]) == kind; };
    };
    EXPECT_EQ(k.DropQueuedIf(isKind(2)), 1);
    EXPECT_EQ(Telegrams(), (std::vector<Bytes>{before[0], before[1], before[2]}));
    EXPECT_EQ(k.DropQueuedIf(isKind(0)), 2);
    EXPECT_EQ(Telegrams(), std::vector<Bytes>{before[0]});
    EXPECT_EQ(k.QueuedCount(), 1);
    EXPECT_EQ(k.QueueCount(), static_cast<int>(before[0].size()) + 1);
    EXPECT_EQ(k.DropQueuedIf(isKind(1)), 0);
    EXPECT_EQ(k.DropQueuedIf(isKind(3)), 1);
    EXPECT_EQ(k.QueueCount(), 0);
    EXPECT_EQ(k.QueuedCount(), 0);
}

TEST_F(Link, RejectDuplicatesRefusesATelegramAlreadyQueued) {
    k.RejectDuplicates = true;
    EXPECT_TRUE(k.QueueTableTelegram(63, 8, 0, 0, reg8::SettingsByte));
    EXPECT_FALSE(k.QueueTableTelegram(63, 8, 0, 0, reg8::SettingsByte));
    EXPECT_TRUE(k.QueueTableTelegram(63, 8, 0, 0, reg8::OutputCount));
    EXPECT_EQ(k.QueuedCount(), 2);
}

TEST_F(Link, SendNextOnAnEmptyQueueLeavesLastSentAlone) {
    k.SendNext();
    EXPECT_TRUE(k.LastSentTelegram().empty());
    EXPECT_EQ(k.SendCount(), 0u);
    k.QueueTableTelegram(63, 8, 0, 0, reg8::SettingsByte);
    k.SendNext();
    k.DropHead();
    const auto last = k.LastSent();
    k.SendNext();
    EXPECT_EQ(k.LastSent(), last);
    EXPECT_EQ(k.SendCount(), 1u);
}

TEST_F(Link, TheLastTelegramSentIsReadBackWithItsOwnLength) {
    // The start-up write claims a byte more in its length byte than it has.
    k.SetDataByte(1, 0x40);
    k.QueueTelegram(63, 8, 1, 1, 0x0000, 1, 64);
    k.SendNext();
    EXPECT_EQ(HexBytes(k.LastSentTelegram()), "A5 08 3F 05 0F A1 00 00 40 60 BF");
    k.DropHead();
    k.QueueTelegram(63, 8, 0, 2, 0x0011, 27, 0);
    k.SendNext();
    EXPECT_EQ(k.LastSentTelegram().size(), 36u);
}

TEST_F(Link, ATelegramSentOnAClosedPortCountsAsSentAndStaysQueued) {
    k.QueueTableTelegram(63, 8, 0, 0, reg8::SettingsByte);
    k.SendNext();
    EXPECT_EQ(HexBytes(k.LastSentTelegram()), "A5 08 3F 02 12 01 02 0E EF");
    EXPECT_EQ(k.LastSent()[0], 0xFF);
    EXPECT_EQ(k.QueuedCount(), 1);
    EXPECT_EQ(k.SendCount(), 1u);
    // The polling telegram leaves the queue as it goes out.
    k.QueueTelegramFirst(63, 8, 0, 0, 0xFF00, 16, false);
    k.DropAfterSend = true;
    k.SendNext();
    EXPECT_FALSE(k.DropAfterSend);
    EXPECT_EQ(k.QueuedCount(), 1);
    EXPECT_EQ(HexBytes(k.HeadTelegram()), "A5 08 3F 02 12 01 02 0E EF");
}

TEST_F(Link, ATelegramRefusedBeforeSendingStaysQueuedAndUnsent) {
    k.SetAddressRange(65535, 65535);  // as after a cancelled start-up
    k.QueueTableTelegram(63, 8, 0, 0, reg8::SettingsByte);
    k.SendNext();
    EXPECT_TRUE(k.LastSentTelegram().empty());
    EXPECT_EQ(k.QueuedCount(), 1);
    EXPECT_EQ(k.SendCount(), 0u);
    EXPECT_EQ(k.FrameBuffer(), k.LastSent());
}

TEST_F(Link, IdentificationTelegramsOfStations55To62LeaveTheQueueWhenSent) {
    k.QueueTableTelegram(57, 8, 0, 3, reg8::IdentText1);
    k.QueueTableTelegram(57, 8, 0, 0, reg8::SettingsByte);
    k.SendNext();
    EXPECT_EQ(k.QueuedCount(), 1);
    k.SendNext();  // kind 0 stays
    EXPECT_EQ(k.QueuedCount(), 1);
}

TEST_F(Link, DropIfLastSentDropsOnlyTheAnsweredRequest) {
    k.QueueTableTelegram(63, 8, 0, 3, reg8::IdentText1);
    k.SendNext();
    k.DropIfLastSent(63, 8, 0, 3, reg8::IdentText2);
    EXPECT_EQ(k.QueuedCount(), 1);
    k.DropIfLastSent(63, 8, 0, 3, reg8::IdentText1);
    EXPECT_EQ(k.QueuedCount(), 0);
}

TEST_F(Link, SelectPortTakesOneToEightAndElseComTwo) {
    EXPECT_EQ(k.Port->Port(), pnCustom);
    EXPECT_EQ(k.Port->PortName(), "\\\\.\\COM2");
    EXPECT_EQ(k.Port->BaudRate(), brCustom);
    EXPECT_EQ(k.Port->BaudRateValue(), 4800u);
    EXPECT_EQ(k.Port->PollingDelay(), 40);
    EXPECT_FALSE(k.Port->EnableDTROnOpen());
    EXPECT_EQ(k.Port->HwFlow(), hfNONERTSON);
    for (auto [n, name] : {std::pair<int, const char*>{0, "\\\\.\\COM2"}, {9, "\\\\.\\COM2"},
                           {1, "\\\\.\\COM1"}, {8, "\\\\.\\COM8"}, {255, "\\\\.\\COM2"}}) {
        k.SelectPort(static_cast<uint8_t>(n));
        EXPECT_EQ(k.Port->PortName(), name) << n;
    }
    k.SelectPort(3);
    EXPECT_EQ(k.Port->Port(), pnCOM3);
}

// The checks of replies: the main window's set-up, the last telegram sent being the
// read of 0x0E02 and the clock stepped by hand.
class ReplyCheck : public Link {
protected:
    ReplyCheck() {
        SetTickSource(&clock);
        k.QueueTableTelegram(63, 8, 0, 0, reg8::SettingsByte);
        k.SendNext();
        LastReplyTick = 0;
        clock.Set(5000);
    }
    ~ReplyCheck() override { SetTickSource(nullptr); }

    bool Check(const Bytes& frame, uint8_t direction = 1) {
        Bytes padded = frame;
        padded.resize(65);
        return k.CheckTelegram(padded.data(), direction, 0);
    }

    ManualTickSource clock;
};

TEST_F(ReplyCheck, TheAnswerToTheLastTelegramPassesAndIsStamped) {
    EXPECT_TRUE(Check({0xA5, 0x3F, 0x08, 0x03, 0x11, 0x01, 0x02, 0x0E, 0x00, 0xEF}));
    EXPECT_EQ(LastReplyTick, 5000u);
    // The write bit may differ.
    EXPECT_TRUE(Check(WithChecks({0xA5, 0x3F, 0x08, 0x03, 0, 0x81, 0x02, 0x0E, 0x00, 0})));
}

TEST_F(ReplyCheck, RepliesToAnythingElseAreRefusedButStamped) {
    struct Case {
        const char* what;
        Bytes frame;
    };
    const Case cases[] = {
        {"another register", {0xA5, 0x3F, 0x08, 0x03, 0, 0x01, 0x03, 0x0E, 0x00, 0}},
        {"another kind", {0xA5, 0x3F, 0x08, 0x03, 0, 0x21, 0x02, 0x0E, 0x00, 0}},
        {"another count", {0xA5, 0x3F, 0x08, 0x03, 0, 0x02, 0x02, 0x0E, 0x00, 0}},
        {"another station", {0xA5, 0x3F, 0x09, 0x03, 0, 0x01, 0x02, 0x0E, 0x00, 0}},
        {"to another station", {0xA5, 0x40, 0x08, 0x03, 0, 0x01, 0x02, 0x0E, 0x00, 0}},
    };
    for (const Case& c : cases) {
        LastReplyTick = 0;
        EXPECT_FALSE(Check(WithChecks(c.frame))) << c.what << ": " << HexBytes(WithChecks(c.frame));
        EXPECT_EQ(LastReplyTick, 5000u) << c.what;
    }
    // Without the match only the address window counts.
    k.MatchLastSent = false;
    EXPECT_TRUE(Check(WithChecks(cases[0].frame)));
    k.SetAddressRange(65535, 65535);
    EXPECT_FALSE(Check(WithChecks(cases[0].frame)));
}

TEST_F(ReplyCheck, FlagBits100PassWithoutMatchAndWithoutStamp) {
    EXPECT_TRUE(Check(WithChecks({0xA5, 0x3F, 0x08, 0x83, 0, 0x01, 0x77, 0x77, 0x00, 0})));
    EXPECT_EQ(LastReplyTick, 0u);
    // An acknowledged settings-area write with ordinary flag bits is checked as any reply.
    EXPECT_FALSE(Check(WithChecks({0xA5, 0x3F, 0x08, 0x03, 0, 0x81, 0x2B, 0x0E, 0x00, 0})));
    EXPECT_EQ(LastReplyTick, 5000u);
}

TEST_F(ReplyCheck, SpecialStationsFollowTheirOwnRules) {
    EXPECT_TRUE(Check(WithChecks({0xA5, 0x3F, 16, 0x03, 0, 0x01, 0x77, 0x77, 0x00, 0})));
    EXPECT_TRUE(Check(WithChecks({0xA5, 17, 0x08, 0x03, 0, 0x01, 0x77, 0x77, 0x00, 0})));
    EXPECT_EQ(LastReplyTick, 0u);
    // Stations 55..62: stamped; a reply passes when addressed to 56..62 (own station 0).
    EXPECT_TRUE(Check(WithChecks({0xA5, 57, 0x08, 0x03, 0, 0x01, 0x77, 0x77, 0x00, 0})));
    EXPECT_EQ(LastReplyTick, 5000u);
    EXPECT_FALSE(Check(WithChecks({0xA5, 55, 0x08, 0x03, 0, 0x01, 0x77, 0x77, 0x00, 0})));
    EXPECT_FALSE(Check(WithChecks({0xA5, 0x3F, 58, 0x03, 0, 0x01, 0x02, 0x0E, 0x00, 0})));
    EXPECT_TRUE(k.CheckTelegram(WithChecks({0xA5, 55, 0x08, 0x03, 0, 0x01, 0x77, 0x77, 0x00, 0}).data(), 1, 55));
}

TEST_F(ReplyCheck, TelegramsAboutToBeSentAreCheckedAgainstTheWindowOnly) {
    k.SetAddressRange(0, 0x0E01);
    EXPECT_FALSE(Check(WithChecks({0xA5, 0x08, 0x3F, 0x02, 0, 0x01, 0x02, 0x0E, 0}), 0));
    EXPECT_TRUE(Check(WithChecks({0xA5, 0x08, 0x3F, 0x02, 0, 0x01, 0x01, 0x0E, 0}), 0));
    EXPECT_EQ(LastReplyTick, 0u);
    // The one-byte read of register 0x000D of station 0 always goes.
    k.SetAddressRange(65535, 65535);
    EXPECT_TRUE(Check({0xA5, 0x00, 0x3F, 0x02, 0x1A, 0x21, 0x0D, 0x00, 0xD2}, 0));
    EXPECT_TRUE(Check(WithChecks({0xA5, 0x08, 0x3F, 0x02, 0, 0x12, 0x00, 0x01, 0}), 0));
    k.ReplyCheck = false;
    EXPECT_TRUE(Check(WithChecks({0xA5, 0x08, 0x3F, 0x02, 0, 0x01, 0x02, 0x0E, 0}), 0));
}

TEST_F(ReplyCheck, ABankedRequestIsMatchedOnItsBankByte) {
    k.ClearQueue();
    k.QueueTableTelegram(63, 103, 0, 0, 2);
    k.SendNext();
    ASSERT_EQ(k.LastSentTelegram()[1], 2);
    EXPECT_TRUE(Check(WithChecks({0xA5, 0x3F, 0x02, 0x04, 0, 3, 0x01, 0x02, 0x00, 0x55, 0})));
    EXPECT_FALSE(Check(WithChecks({0xA5, 0x3F, 0x02, 0x04, 0, 4, 0x01, 0x02, 0x00, 0x55, 0})));
    // Control byte 0x40 or 0x50 with length byte 29 matches at once.
    Bytes long_reply(36, 0);
    long_reply[0] = 0xA5, long_reply[1] = 0x3F, long_reply[2] = 0x02, long_reply[3] = 29;
    long_reply[5] = 3, long_reply[6] = 0x50, long_reply[7] = 0x99;
    EXPECT_TRUE(Check(WithChecks(long_reply)));
}

TEST_F(ReplyCheck, AShortFrameIsCheckedInAPaddedCopy) {
    const Bytes reply = {0xA5, 0x3F, 0x08, 0x03, 0x11, 0x01, 0x02, 0x0E, 0x00, 0xEF};
    EXPECT_TRUE(k.CheckFrame(reply.data(), reply.size(), 1, 0));
    EXPECT_FALSE(k.CheckFrame(reply.data(), 3, 1, 0));
}

TEST(LinkOnALine, SendNextPutsTheLeadByteAndTheTelegramOnTheWire) {
    test::PseudoTerminal pty;
    pty.SetComMapping(6);
    TKomunikace k;
    k.SetAddressRange(0, 65535);
    k.SelectPort(6);
    ASSERT_TRUE(k.OpenPort(4800));
    EXPECT_TRUE(k.OpenPort(4800));  // open already
    EXPECT_EQ(pty.SlaveBaudRate(), 4800u);
    k.SetDTR(false);
    k.QueueTableTelegram(63, 8, 0, 0, reg8::SettingsByte);
    k.SendNext();  // DTR switching and its waits on a line without DTR
    EXPECT_EQ(HexBytes(pty.Read(10)), "FF A5 08 3F 02 12 01 02 0E EF");
    unsetenv("ZEKO_COM6");
}

TEST(LinkOnALine, SendNextLeavesTheDirectionSwitchAndTheWritingToThePort) {
    test::PseudoTerminal pty;
    pty.SetComMapping(6);
    TKomunikace k;
    k.SetAddressRange(0, 65535);
    k.SelectPort(6);
    std::vector<TLineStep> steps;  // read once the port has finished
    k.Port->OnLineStep = [&](TLineStep step, uint32_t) { steps.push_back(step); };
    ASSERT_TRUE(k.OpenPort(4800));
    k.QueueTableTelegram(63, 8, 0, 0, reg8::SettingsByte);
    k.QueueTableTelegram(63, 8, 0, 0, reg8::LiveValues);
    k.SendNext();
    // The telegram counts as sent at once, while the port is still at it.
    EXPECT_EQ(k.SendCount(), 1u);
    EXPECT_EQ(HexBytes(k.LastSentTelegram()), "A5 08 3F 02 12 01 02 0E EF");
    k.DropHead();
    k.DirectionControl = false;
    k.SendNext();
    EXPECT_EQ(HexBytes(pty.Read(20)), "FF A5 08 3F 02 12 01 02 0E EF FF A5 08 3F 02 12 10 00 FF F1");
    k.Port->WaitForTransmissions();
    EXPECT_EQ(steps, (std::vector<TLineStep>{TLineStep::DtrOn, TLineStep::Written, TLineStep::Drained,
                                             TLineStep::DtrOff, TLineStep::Written}));
    unsetenv("ZEKO_COM6");
}
