#include "tools/regsim/Station.h"

#include "core/BinaryData.h"
#include "core/Komunikace.h"
#include "core/RegisterTables.h"
#include "core/Telegram.h"

#include <gtest/gtest.h>

using namespace zeko;
using namespace zeko::regsim;
using Bytes = std::vector<uint8_t>;

namespace {

// The program's own builders make the requests; the station answers them.
class StationTest : public ::testing::Test {
protected:
    StationTest() : station(memory) { link.CrcDestinations.set(8); }

    Bytes Request(bool table, uint8_t write, uint8_t kind, uint16_t addressOrIndex, uint8_t count = 0,
                  uint8_t key = 0) {
        if (table)
            link.BuildTableTelegram(63, 8, write, kind, static_cast<uint8_t>(addressOrIndex));
        else
            link.BuildTelegram(63, 8, write, kind, addressOrIndex, count, key, 0);
        Bytes t = {tlg::LeadByte};
        t.insert(t.end(), link.Built().begin(), link.Built().end());
        return t;
    }
    Bytes Read(uint8_t index) { return Request(true, 0, KindOfIndex(index), index); }
    Bytes Write(uint8_t kind, uint16_t address, const Bytes& data, uint8_t key = 0) {
        for (size_t i = 0; i < data.size(); ++i)
            link.SetDataByte(static_cast<uint8_t>(i + 1), data[i]);
        return Request(false, 1, kind, address, static_cast<uint8_t>(data.size()), key);
    }
    static uint8_t KindOfIndex(uint8_t index) {
        switch (index) {
        case reg8::IdentText1: case reg8::IdentText2: case reg8::IdentText3: case reg8::IdentText4:
        case reg8::IdentBlock: return 3;
        case reg8::Clock: case reg8::RecordPointersRam: case reg8::ReadPositionRam: return 1;
        default: return 0;
        }
    }

    // The one reply to the bytes, or an empty one.
    Bytes Exchange(const Bytes& bytes) {
        const auto exchanges = station.Receive(bytes.data(), bytes.size());
        EXPECT_EQ(exchanges.size(), 1u) << HexBytes(bytes);
        return exchanges.empty() ? Bytes{} : exchanges[0].Reply;
    }
    static Bytes DataOf(const Bytes& reply) { return {reply.begin() + 8, reply.end() - 1}; }

    RegulatorMemory memory;
    Station station;
    TKomunikace link;
};

} // namespace

TEST_F(StationTest, TheSettingsByteIsAnsweredAsTheRegulatorDoes) {
    EXPECT_EQ(HexBytes(Exchange(Read(reg8::SettingsByte))), "A5 3F 08 03 11 01 02 0E 00 EF");
}

TEST_F(StationTest, TheStartUpWritesGetNoReplyEvenWithTheirLengthByteFive) {
    const Bytes first = Write(1, 0x0000, {0x40}, 64);
    const Bytes second = Write(1, 0x0001, {0x01}, 1);
    EXPECT_EQ(HexBytes(first), "FF A5 08 3F 05 0F A1 00 00 40 60 BF");
    EXPECT_EQ(HexBytes(second), "FF A5 08 3F 05 0F A1 01 00 01 D3 8A");
    // Both at once, with the read behind them: only the read is answered.
    Bytes all = first;
    all.insert(all.end(), second.begin(), second.end());
    const Bytes read = Read(reg8::SettingsByte);
    all.insert(all.end(), read.begin(), read.end());
    const auto exchanges = station.Receive(all.data(), all.size());
    ASSERT_EQ(exchanges.size(), 3u);
    EXPECT_TRUE(exchanges[0].Reply.empty());
    EXPECT_EQ(exchanges[0].Note, "start-up write");
    EXPECT_EQ(exchanges[0].Received, first);
    EXPECT_TRUE(exchanges[1].Reply.empty());
    EXPECT_EQ(HexBytes(exchanges[2].Reply), "A5 3F 08 03 11 01 02 0E 00 EF");
    EXPECT_TRUE(station.Pending().empty());
}

TEST_F(StationTest, WritesAreAcknowledgedWithTheWriteBitAndStored) {
    // A one-byte write with a key (length byte 5) and a longer one (length byte Count + 3).
    for (const auto& [address, data, key] : {std::tuple<uint16_t, Bytes, uint8_t>{0x0E97, {0x2A}, 7},
                                             {0x0E86, {0x50, 0x60, 0x70}, 0}}) {
        const Bytes ack = Exchange(Write(0, address, data, key));
        ASSERT_EQ(ack.size(), 8 + data.size() + 1) << HexBytes(ack);
        EXPECT_EQ(ack[1], 63);
        EXPECT_EQ(ack[2], 8);
        EXPECT_EQ(ack[5], tlg::Control(true, 0, static_cast<uint8_t>(data.size())));
        EXPECT_EQ(ack[6] | ack[7] << 8, address);
        EXPECT_EQ(memory.Read(0, address, static_cast<uint8_t>(data.size())), data);
    }
}

TEST_F(StationTest, WritesWithoutAGoodCrcAreNotTaken) {
    Bytes t = Write(0, 0x0E97, {0x2A}, 7);
    const uint8_t before = memory.Read(0, 0x0E97, 1)[0];
    t[10] ^= 0x01;  // the CRC byte
    t[11] = NegatedSum(t.data() + 6, 5);
    EXPECT_TRUE(Exchange(t).empty());
    link.CrcDestinations.reset();
    EXPECT_TRUE(Exchange(Write(0, 0x0E97, {0x2A})).empty());
    EXPECT_EQ(memory.Read(0, 0x0E97, 1)[0], before);
    // Kinds 2 and 3 are not written.
    link.CrcDestinations.set(8);
    EXPECT_TRUE(Exchange(Write(3, 0x0070, {0x41})).empty());
}

TEST_F(StationTest, TheMemoryKindsAreKeptApart) {
    Exchange(Write(0, 0x0008, {0x11}));
    Exchange(Write(1, 0x0008, {0x22}));
    EXPECT_EQ(DataOf(Exchange(Request(false, 0, 0, 0x0008, 1))), Bytes{0x11});
    EXPECT_EQ(DataOf(Exchange(Request(false, 0, 1, 0x0008, 1))), Bytes{0x22});
    EXPECT_NE(DataOf(Exchange(Request(false, 0, 3, 0x0008, 1))), Bytes{0x11});
    // Kind 0 at 0xFF00 is the live values, kind 1 there the clock.
    EXPECT_EQ(DataOf(Exchange(Read(reg8::LiveValues))).size(), 16u);
    EXPECT_EQ(DataOf(Exchange(Read(reg8::Clock))).size(), 7u);
}

TEST_F(StationTest, TheClockIsPackedBcdAndCanBeSet) {
    memory.SetClock(EncodeDate(2007, 3, 5) + EncodeTime(14, 3, 9));
    const Bytes clock = DataOf(Exchange(Read(reg8::Clock)));
    ASSERT_EQ(clock.size(), 7u);
    EXPECT_EQ(clock[1], 0x03);
    EXPECT_EQ(clock[2], 0x14);
    EXPECT_EQ(HexBytes(Bytes(clock.begin() + 3, clock.end())), "05 03 01 07");  // Monday
    EXPECT_LE(FromBcd(clock[0]) - 9, 2);
    const Bytes ack = Exchange(Write(1, 0xFF00, {0x00, 0x30, 0x08, 0x31, 0x12, 0x03, 0x25}));
    EXPECT_EQ(ack[5], 0xA7);
    const TDateTime set = memory.Clock();
    EXPECT_EQ(DecodeDate(set).Year, 2025);
    EXPECT_EQ(DecodeTime(set).Hour, 8);
}

TEST_F(StationTest, TheIdentificationTextsHaveTheirSizes) {
    memory.SetIdentText(1, "ABC");
    const Bytes text = DataOf(Exchange(Read(reg8::IdentText1)));
    EXPECT_EQ(std::string(text.begin(), text.end()), "ABC            ");
    for (uint8_t i : {reg8::IdentText2, reg8::IdentText3, reg8::IdentText4, reg8::IdentBlock})
        EXPECT_EQ(DataOf(Exchange(Read(i))).size(), RegisterTableFor(8)[i].Count);
}

TEST_F(StationTest, RecordReadsUseTheUpperAddressByteAndEchoTheLowBits) {
    memory.Ring().Generate(5, EncodeDate(2024, 3, 1), 20, 2350);
    const auto readRecord = [&](uint16_t low) {
        const Bytes reply = Exchange(Request(false, 0, 2, low, 27));
        EXPECT_EQ(reply[6] | reply[7] << 8, low);
        EXPECT_EQ(reply[5], 0x5B);
        return DataOf(reply);
    };
    Exchange(Write(0, 0x0113, {0x00}));
    const Bytes r2358 = readRecord(0xFFF6);  // runs on past 0xFFFF into 0x10000..
    EXPECT_EQ(HexBytes(r2358), HexBytes(memory.Ring().Get(2358)));
    Exchange(Write(0, 0x0113, {0x01}));
    EXPECT_EQ(HexBytes(readRecord(0x0011)), HexBytes(memory.Ring().Get(2359)));
}

TEST_F(StationTest, ThePointersAreOneBlockInBothPlaces) {
    memory.SetPointers({5, 0, 75320});
    EXPECT_EQ(HexBytes(DataOf(Exchange(Read(reg8::RecordPointers)))), "05 00 00 00 38 26 01");
    EXPECT_EQ(HexBytes(DataOf(Exchange(Read(reg8::RecordPointersRam)))), "05 00 00 00 38 26 01");
    // The read position written back into the settings area shows in the working copy.
    Exchange(Write(0, 0x0E7C, {0x00, 0x3C, 0x26, 0x01}));
    EXPECT_EQ(memory.Pointers().OldestUnread, 75324u);
    EXPECT_EQ(HexBytes(DataOf(Exchange(Read(reg8::ReadPositionRam)))), "00 3C 26 01");
    Exchange(Write(1, 0x0079, Bytes(7, 0)));
    EXPECT_EQ(HexBytes(DataOf(Exchange(Read(reg8::RecordPointers)))), "00 00 00 00 00 00 00");
}

TEST_F(StationTest, NoiseAndPiecesOfTelegramsAreSortedOut) {
    const Bytes read = Read(reg8::SettingsByte);
    Bytes stream = {0x13, 0xA5, 0x00, 0x55};  // noise, a false start among it
    stream.insert(stream.end(), read.begin(), read.end());
    std::vector<regsim::Exchange> all;
    for (uint8_t b : stream)
        for (auto& e : station.Receive(&b, 1))
            all.push_back(e);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].Received, stream);
    EXPECT_EQ(HexBytes(all[0].Reply), "A5 3F 08 03 11 01 02 0E 00 EF");
    // A telegram to another station is consumed without a reply.
    link.BuildTableTelegram(63, 0, 0, 1, 31);
    Bytes other(link.Built().begin(), link.Built().end());
    const auto e = station.Receive(other.data(), other.size());
    ASSERT_EQ(e.size(), 1u);
    EXPECT_TRUE(e[0].Reply.empty());
    EXPECT_EQ(station.TakeStale(), Bytes{});
}

TEST_F(StationTest, ATelegramTooShortForARequestGetsNoReply) {
    // Length bytes 0 and 1: well-formed frames of 7 and 8 bytes, no address in them.
    for (uint8_t length : {0, 1}) {
        Bytes t = {0xA5, 8, 63, length, 0, 0x12, 0x02, 0x0E};
        t.resize(5u + length + 2u);
        t[4] = NegatedSum(t.data(), 4);
        t.back() = 0;
        t.back() = NegatedSum(t.data() + 5, t.size() - 6);
        const auto e = station.Receive(t.data(), t.size());
        ASSERT_EQ(e.size(), 1u) << HexBytes(t);
        EXPECT_TRUE(e[0].Reply.empty());
        EXPECT_EQ(e[0].Note, "too short for a request");
    }
}
