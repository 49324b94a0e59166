#include "core/RegulatorReplies.h"

#include "core/BinaryData.h"
#include "core/Telegram.h"
#include "core/WireRecord.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

using namespace zeko;

TEST(ReplyHeader, FieldsOfTheFrameAsTheHandlersSeeThem) {
    // The acknowledgement of a 7-byte write of the record pointers, flag bits 001.
    const uint8_t ack[] = {0xA5, 0x3F, 0x08, 0x29, 0xEB, 0x87, 0x79, 0x0E, 1, 2, 3, 4, 5, 6, 7, 0x00};
    const TReplyHeader a = DecodeReplyHeader(ack);
    EXPECT_EQ(a.Source, 8);
    EXPECT_EQ(a.DataLength, 7);
    EXPECT_EQ(a.Flags, 1);
    EXPECT_EQ(a.Mode, 0);
    EXPECT_TRUE(a.WriteAck);
    EXPECT_EQ(a.Address, 0x0E79);
    EXPECT_EQ(a.Data, ack + 8);
    // The reply of a record read: memory kind 2, the low address byte first (the
    // data bytes are not looked at here).
    const uint8_t record[] = {0xA5, 0x3F, 0x08, 0x1D, 0xF7, 0x5B, 0x11, 0xFF, 0x00};
    const TReplyHeader r = DecodeReplyHeader(record);
    EXPECT_EQ(r.DataLength, 27);
    EXPECT_EQ(r.Flags, 0);
    EXPECT_EQ(r.Mode, 2);
    EXPECT_FALSE(r.WriteAck);
    EXPECT_EQ(r.Address, 0xFF11);
}

TEST(StartupSettings, OutputCountTypesAndInputConstantsAreDecodedAsTheRegulatorSendsThem) {
    TZEKO s;
    const uint8_t count = 0x0B;
    ASSERT_TRUE(DecodeStartupSettings(Registers::OutputCount, &count, 1, s));
    EXPECT_EQ(s.OutputCount, 12);
    const uint8_t low = 0x34, high = 0x12;
    ASSERT_TRUE(DecodeStartupSettings(Registers::OutputTypesLow, &low, 1, s));
    ASSERT_TRUE(DecodeStartupSettings(Registers::OutputTypesHigh, &high, 1, s));
    EXPECT_EQ(s.OutputTypes, 0x1234);

    uint8_t meters[16];
    for (uint32_t i = 0; i < 4; ++i)
        WriteDWordLE(meters + 4 * i, (i + 1) * 100000);
    ASSERT_TRUE(DecodeStartupSettings(Registers::MeterConstants, meters, 16, s));
    const uint8_t functions[8] = {2, 0, 7, 3, 9, 9, 9, 9};
    ASSERT_TRUE(DecodeStartupSettings(Registers::InputFunctions, functions, 8, s));
    EXPECT_EQ(s.InputConstants, (std::array<uint32_t, 4>{300000, 100000, 1, 400000}));
}

TEST(StartupSettings, BlocksOfWordsAndTwentyFourBitValues) {
    TZEKO s;
    uint8_t words[16];
    for (int i = 0; i < 8; ++i)
        WriteWordLE(words + 2 * i, static_cast<uint16_t>(100 + i));
    ASSERT_TRUE(DecodeStartupSettings(Registers::OutputValues9, words, 16, s));
    EXPECT_EQ(s.OutputValues[8], 100);
    EXPECT_EQ(s.OutputValues[15], 107);
    EXPECT_EQ(s.OutputValues[0], 0);
    const uint8_t sums[6] = {0x01, 0x02, 0x03, 0xFF, 0x00, 0x10};
    ASSERT_TRUE(DecodeStartupSettings(Registers::SumC, sums, 6, s));
    EXPECT_EQ(s.SumC, 0x030201u);
    EXPECT_EQ(s.SumC2, 0x1000FFu);
    ASSERT_TRUE(DecodeStartupSettings(Registers::SmallestOutput, sums, 2, s));
    EXPECT_EQ(s.SmallestOutput, 0x0201);
    uint8_t times[16];
    for (uint8_t i = 0; i < 16; ++i)
        times[i] = static_cast<uint8_t>(30 + i);
    ASSERT_TRUE(DecodeStartupSettings(Registers::DischargeTimes, times, 16, s));
    EXPECT_EQ(s.DischargeTimes[0], 30);
    EXPECT_EQ(s.DischargeTimes[15], 45);
    const uint8_t switches = 0x01;
    ASSERT_TRUE(DecodeStartupSettings(Registers::Switches, &switches, 1, s));
    EXPECT_EQ(s.Switches, 1);
}

TEST(StartupSettings, ShortRepliesAndUnknownRegistersStoreNothing) {
    TZEKO s;
    const uint8_t bytes[16] = {5};
    EXPECT_FALSE(DecodeStartupSettings(Registers::OutputValues1, bytes, 15, s));
    EXPECT_FALSE(DecodeStartupSettings(0x0E60, bytes, 16, s));
    EXPECT_FALSE(DecodeStartupSettings(Registers::Switches, bytes, 0, s));
    EXPECT_EQ(s.OutputValues[0], 0);
    EXPECT_EQ(s.Switches, 0);
}

TEST(LastSettingsBlock, SecondBandWordCarriesTheUseFlagInBit15) {
    uint8_t d[24] = {};
    WriteWordLE(d + 0, 300);
    WriteWordLE(d + 2, 120);
    d[4] = 0x11;
    d[6] = 10;
    d[7] = 20;
    d[8] = 30;
    d[15] = 40;
    WriteWordLE(d + 18, 0x8168);
    WriteWordLE(d + 20, 0x8000 | 1320);
    d[22] = 1;
    d[23] = 45;
    TZEKO s;
    ASSERT_TRUE(DecodeLastSettingsBlock(d, 24, s));
    EXPECT_EQ(s.SpeedUnder, 300);
    EXPECT_EQ(s.SpeedOver, 120);
    EXPECT_EQ(s.SpeedType, 0x11);
    EXPECT_EQ(s.BandLow, 10);
    EXPECT_EQ(s.BandCentre, 20);
    EXPECT_EQ(s.BandHigh, 30);
    EXPECT_EQ(s.Band2Low, 40);
    EXPECT_EQ(s.UseBand2, 1);
    EXPECT_EQ(s.Band2Start, 360);
    EXPECT_EQ(s.Band2End, 1320);
    EXPECT_EQ(s.FaultOutput, 1);
    EXPECT_EQ(s.FaultDelay, 45);
    EXPECT_FALSE(DecodeLastSettingsBlock(d, 23, s));
}

TEST(LiveValues, PowersInKilowattsAndASignedCosPhi) {
    uint8_t d[16] = {};
    WriteSingleLE(d, 12500.0f);
    WriteSingleLE(d + 4, -3200.0f);
    WriteWordLE(d + 8, 0x0005);
    WriteWordLE(d + 10, 0xFFFF);
    d[12] = 0x02;
    d[13] = 12;
    WriteWordLE(d + 14, 754);
    TZEKO s;
    ASSERT_TRUE(DecodeLiveValues(d, 16, s));
    EXPECT_DOUBLE_EQ(s.ActivePower, 12.5);
    EXPECT_DOUBLE_EQ(s.ReactivePower, -3.2);
    EXPECT_LT(s.CosPhi, 0);
    EXPECT_NEAR(s.CosPhi, -0.96873, 1e-4);
    EXPECT_EQ(s.LiveWords.OutputStates, 5);
    EXPECT_EQ(s.LiveWords.NextStepTime, 0xFFFF);
    EXPECT_EQ(s.LiveWords.BandWord, 1);
    EXPECT_EQ(s.LiveWords.RegulationState, 12);
    EXPECT_EQ(s.LiveWords.RecordTime, 754);
    EXPECT_EQ(s.LiveWords.RecordTimeCopy, 754);
    d[12] = 0xFD;  // every bit but bit 1
    ASSERT_TRUE(DecodeLiveValues(d, 16, s));
    EXPECT_EQ(s.LiveWords.BandWord, 0);
}

TEST(Clock, BcdClockAndTheTickOfTheReading) {
    const uint8_t d[7] = {0x09, 0x03, 0x14, 0x05, 0x03, 0x01, 0x07};
    TZEKO s;
    ASSERT_TRUE(DecodeClock(d, 7, s, 5000));
    EXPECT_EQ(s.ClockDate, EncodeDate(2007, 3, 5));
    EXPECT_NEAR(s.ClockTime, EncodeTime(14, 3, 9), 1e-9);
    EXPECT_EQ(s.ClockWeekday, 1);
    EXPECT_EQ(s.ClockTick, 4900u);
}

TEST(RecordPointers, TwentyFourBitIndicesAndTheFlag) {
    const uint8_t d[7] = {0x05, 0x00, 0x00, 0x01, 0xB8, 0x25, 0x01};
    TZEKO s;
    ASSERT_TRUE(DecodeRecordPointers(d, 7, s));
    EXPECT_EQ(s.NewestIndex, 5u);
    EXPECT_EQ(s.PointerFlag, 1);
    EXPECT_EQ(s.OldestUnreadIndex, 75192u);
    EXPECT_FALSE(DecodeRecordPointers(d, 6, s));
}

TEST(WireRecord, TheTwentySevenBytesBecomeAStoredRecord) {
    uint8_t d[27] = {0x59, 0x45, 0x23, 0x31, 0x12, 0x09};
    WriteWordLE(d + 6, 0xA001);
    for (int i = 0; i < 4; ++i)
        WriteWordLE(d + 8 + 2 * i, static_cast<uint16_t>(1000 + i));
    d[16] = 0x01, d[17] = 0x02, d[18] = 0x03;
    d[19] = 0xFF, d[20] = 0xFF, d[21] = 0xFF;
    d[22] = 0x10;
    WriteWordLE(d + 25, 0xBEEF);
    TRegulatorRecord r;
    DecodeRecord(d, r, 2359, {250000, 100000, 1, 0});
    const auto bytes = r.Bytes();
    const std::array<uint8_t, 6> stamp{59, 45, 23, 31, 12, 9};
    EXPECT_TRUE(std::equal(stamp.begin(), stamp.end(), bytes.begin()));
    EXPECT_EQ(ReadDWordLE(&bytes[6]), 2359u);
    EXPECT_EQ(ReadWordLE(&bytes[10]), 0xA001);
    EXPECT_EQ(ReadWordLE(&bytes[12]), 1000);
    EXPECT_EQ(ReadWordLE(&bytes[18]), 1003);
    EXPECT_FLOAT_EQ(ReadSingleLE(&bytes[20]), 2.5f);
    EXPECT_FLOAT_EQ(ReadSingleLE(&bytes[24]), 1.0f);
    EXPECT_FLOAT_EQ(ReadSingleLE(&bytes[28]), 0.00001f);
    EXPECT_FLOAT_EQ(ReadSingleLE(&bytes[32]), 0.0f);
    EXPECT_EQ(ReadDWordLE(&bytes[36]), 0x030201u);
    EXPECT_EQ(ReadDWordLE(&bytes[40]), 0xFFFFFFu);
    EXPECT_EQ(ReadDWordLE(&bytes[44]), 0x10u);
    EXPECT_EQ(ReadWordLE(&bytes[48]), 0xBEEF);
    for (size_t i = 50; i < 100; ++i)
        ASSERT_EQ(bytes[i], 0xFF) << i;
}

TEST(ReadPosition, FlagClearedAndTheIndexLowByteFirst) {
    EXPECT_EQ(ReadPositionData(75324), (std::array<uint8_t, 4>{0x00, 0x3C, 0x26, 0x01}));
    EXPECT_EQ(ReadPositionData(0), (std::array<uint8_t, 4>{0, 0, 0, 0}));
}

namespace {

// A state with a different value in every field the replies carry.
TZEKO EveryFieldSet() {
    TZEKO s;
    s.Switches = 0x01;
    s.OutputCount = 12;
    s.OutputTypes = 0x1234;
    for (size_t i = 0; i < s.OutputValues.size(); ++i)
        s.OutputValues[i] = static_cast<uint16_t>(1000 + 37 * i);
    s.SmallestOutput = 0x0201;
    s.SumC = 0x030201;
    s.SumC2 = 0xFEDCBA;
    for (size_t i = 0; i < s.DischargeTimes.size(); ++i)
        s.DischargeTimes[i] = static_cast<uint8_t>(30 + i);
    s.MeterConstants = {250000, 100000, 0x12345678, 1};
    s.InputFunctions = {2, 0, 7, 3};
    s.SpeedUnder = 300;
    s.SpeedOver = 120;
    s.SpeedType = 0x11;
    s.BandLow = 10, s.BandCentre = 20, s.BandHigh = 30;
    s.BlockBytes = {0xAB, 0xCD};
    s.AveragingIndex = 4, s.NonAveragedPulse = 5, s.SensitivityIndex = 6, s.UnderWait = 7;
    s.Band2Low = 40, s.Band2Centre = 50, s.Band2High = 60;
    s.UseBand2 = 1, s.Band2Start = 360, s.Band2End = 1320;
    s.FaultOutput = 1, s.FaultDelay = 45;
    s.ActivePower = 12.5, s.ReactivePower = -3.25;
    s.LiveWords = {0x0105, 0xFFFF, 1, 12, 754, 754};
    return s;
}

auto SettingsFields(const TZEKO& s) {
    return std::tuple(s.Switches, s.OutputCount, s.OutputTypes, s.OutputValues, s.SmallestOutput, s.SumC, s.SumC2,
                      s.DischargeTimes, s.MeterConstants, s.InputFunctions, s.InputConstants);
}
auto LastBlockFields(const TZEKO& s) {
    return std::tuple(s.SpeedUnder, s.SpeedOver, s.SpeedType, s.BandLow, s.BandCentre, s.BandHigh, s.BlockBytes,
                      s.AveragingIndex, s.NonAveragedPulse, s.SensitivityIndex, s.UnderWait, s.Band2Low,
                      s.Band2Centre, s.Band2High, s.UseBand2, s.Band2Start, s.Band2End, s.FaultOutput, s.FaultDelay);
}
auto LiveFields(const TZEKO& s) {
    return std::tuple(s.ActivePower, s.ReactivePower, s.LiveWords.OutputStates, s.LiveWords.NextStepTime,
                      s.LiveWords.BandWord, s.LiveWords.RegulationState, s.LiveWords.RecordTime,
                      s.LiveWords.RecordTimeCopy);
}

} // namespace

// The encoders are what the simulated regulator answers with; the literal-byte tests
// above pin the decoders to the wire, these the encoders to the decoders.
TEST(ReplyEncoders, EveryLayoutReadsBackWhatItWrote) {
    TZEKO s = EveryFieldSet();
    DeriveInputConstants(s);
    TZEKO r;
    for (uint8_t index : StartupSettingsIndices) {
        const uint16_t address = RegisterOf(index);
        const std::vector<uint8_t> bytes = EncodeStartupSettings(address, s);
        EXPECT_EQ(bytes.size(), BytesOf(index)) << std::hex << address;
        ASSERT_TRUE(DecodeStartupSettings(address, bytes.data(), static_cast<int>(bytes.size()), r))
            << std::hex << address;
    }
    EXPECT_EQ(SettingsFields(r), SettingsFields(s));
    EXPECT_TRUE(EncodeStartupSettings(Registers::LastBlock, s).empty());

    const TLastBlockBytes block = EncodeLastSettingsBlock(s);
    ASSERT_TRUE(DecodeLastSettingsBlock(block.data(), static_cast<int>(block.size()), r));
    EXPECT_EQ(LastBlockFields(r), LastBlockFields(s));

    const TLiveValueBytes live = EncodeLiveValues(s);
    ASSERT_TRUE(DecodeLiveValues(live.data(), static_cast<int>(live.size()), r));
    EXPECT_EQ(LiveFields(r), LiveFields(s));

    for (const TRecordPointers p : {TRecordPointers{5, 0, 75320}, TRecordPointers{75324, 1, 0x123456}}) {
        const TPointerBytes bytes = EncodePointerBlock(p);
        const TRecordPointers back = DecodePointerBlock(bytes.data());
        EXPECT_EQ(std::tuple(back.Newest, back.Flag, back.OldestUnread), std::tuple(p.Newest, p.Flag, p.OldestUnread));
    }
}

TEST(ReplyEncoders, TheClockIsPackedBcdWithAMondayFirstWeekday) {
    EXPECT_EQ(HexBytes(EncodeClock(EncodeDate(2007, 3, 5) + EncodeTime(14, 3, 9))), "09 03 14 05 03 01 07");
    const TClockBytes sunday = EncodeClock(EncodeDate(1999, 12, 26) + EncodeTime(23, 59, 58));
    EXPECT_EQ(HexBytes(sunday), "58 59 23 26 12 07 99");
    TZEKO s;
    ASSERT_TRUE(DecodeClock(sunday.data(), static_cast<int>(sunday.size()), s, 1000));
    EXPECT_EQ(s.ClockDate, EncodeDate(1999, 12, 26));
    EXPECT_EQ(s.ClockWeekday, 7);
}

TEST(ReplyEncoders, AWireRecordReadsBackAndAReplyCarriesItsChecks) {
    TWireRecord w;
    w.Stamp = {59, 45, 23, 31, 12, 9};
    w.Status = 0xA001;
    w.Counts = {1000, 1001, 1002, 0xFFFF};
    w.Values24 = {0x030201, 0xFFFFFF, 0x10};
    w.Value16 = 0xBEEF;
    const TWireBytes bytes = EncodeWireRecord(w);
    EXPECT_EQ(HexBytes(bytes.data(), 6), "59 45 23 31 12 09");
    EXPECT_EQ(DecodeWireRecord(bytes.data()), w);

    const std::vector<uint8_t> reply = EncodeReply(63, 8, tlg::Control(false, tlg::KindRecords, 27), 0x0011, bytes);
    ASSERT_EQ(reply.size(), 36u);
    const TReplyHeader h = DecodeReplyHeader(reply.data());
    EXPECT_EQ(h.DataLength, 27);
    EXPECT_EQ(h.Address, 0x0011);
    EXPECT_EQ(h.Mode, tlg::KindRecords);
    EXPECT_TRUE(SumsToZero(reply.data(), tlg::HeaderSize));
    EXPECT_TRUE(SumsToZero(reply.data() + tlg::HeaderSize, reply.size() - tlg::HeaderSize));
}
