#include "core/BinaryData.h"
#include "core/Telegram.h"

#include "core/RegulatorRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace zeko;

TEST(BinaryData, BcdBothWays) {
    for (int v = 0; v < 100; ++v)
        ASSERT_EQ(FromBcd(ToBcd(v)), v);
    EXPECT_EQ(ToBcd(59), 0x59);
    EXPECT_EQ(FromBcd(0x45), 45);
    EXPECT_EQ(FromBcd(0xFF), 165);
}

TEST(BinaryData, BcdStampKeepsTheOrder) {
    const uint8_t wire[6] = {0x30, 0x07, 0x23, 0x31, 0x12, 0x24};
    const std::array<uint8_t, 6> expected = {30, 7, 23, 31, 12, 24};
    EXPECT_EQ(DecodeBcdStamp(wire), expected);
}

// A nibble above 9 once read 0x1A as a valid 20; now the field, and with it the
// stamp, is invalid, so the record is skipped as one with an invalid stamp.
TEST(BinaryData, BcdStampWithANibbleAbove9IsNoValidTime) {
    const uint8_t good[6] = {0x30, 0x07, 0x23, 0x15, 0x06, 0x24};
    for (size_t field = 0; field < 6; ++field) {
        for (const uint8_t bad : {0x0A, 0xA0, 0x1A, 0x1F, 0xF1, 0xFF}) {
            uint8_t wire[6];
            std::copy(good, good + 6, wire);
            wire[field] = bad;
            const std::array<uint8_t, 6> stamp = DecodeBcdStamp(wire);
            EXPECT_EQ(stamp[field], BcdInvalid) << field << " " << int(bad);
            std::array<uint8_t, RecordBytes> stored{};  // the stamp at the front of a stored record
            std::copy(stamp.begin(), stamp.end(), stored.begin());
            int64_t seconds = 0;
            EXPECT_FALSE(RecordSeconds(TRegulatorRecord::FromBytes(stored.data()), seconds)) << field << " " << int(bad);
        }
    }
    EXPECT_TRUE(IsBcd(0x99));
    EXPECT_TRUE(IsBcd(0x00));
    EXPECT_FALSE(IsBcd(0x9A));
    EXPECT_FALSE(IsBcd(0xA9));
}

TEST(BinaryData, RegulatorClock) {
    struct Case {
        uint8_t bytes[7];
        TDateTime date, time;
        int weekday;
        bool valid;  // a date and time that exist, as the regulator's clock is taken
    };
    const Case cases[] = {
        {{0x15, 0x30, 0x08, 0x01, 0x04, 0x01, 0x24}, EncodeDate(2024, 4, 1), EncodeTime(8, 30, 15), 1, true},
        {{0x00, 0x00, 0x00, 0x45, 0x03, 0x07, 0x24}, EncodeDate(2024, 3, 1), 0, 7, false},  // day 45 -> 1
        {{0x00, 0x00, 0x00, 0x10, 0x13, 0x02, 0x24}, EncodeDate(2024, 1, 10), 0, 2, false}, // month 13 -> 1
        {{0x00, 0x61, 0x12, 0x30, 0x02, 0x05, 0x24}, EncodeDate(1980, 1, 1), EncodeTime(1, 0, 0), 5, false},
        {{0x00, 0x00, 0x25, 0x00, 0x00, 0x00, 0x99}, EncodeDate(1980, 1, 1), EncodeTime(1, 0, 0), 0, false},
        {{0x59, 0x59, 0x23, 0x31, 0x12, 0x04, 0x85}, EncodeDate(1985, 12, 31), EncodeTime(23, 59, 59), 4, true},
        // Bytes that are no BCD numbers fall to the same defaults as impossible values.
        {{0x0A, 0x30, 0x08, 0x1A, 0x04, 0x01, 0x24}, EncodeDate(2024, 4, 1), EncodeTime(1, 0, 0), 1, false},
        {{0x15, 0x30, 0x08, 0x01, 0x0B, 0x01, 0x24}, EncodeDate(2024, 1, 1), EncodeTime(8, 30, 15), 1, false},
        {{0x15, 0x30, 0x08, 0x01, 0x04, 0x01, 0xA4}, EncodeDate(1980, 1, 1), EncodeTime(8, 30, 15), 1, false},
    };
    for (const Case& c : cases) {
        TDateTime date = -1, time = -1;
        uint8_t weekday = 99;
        DecodeBcdDateTime(c.bytes, date, time, weekday);
        EXPECT_EQ(date, c.date);
        EXPECT_EQ(time, c.time);
        EXPECT_EQ(weekday, c.weekday);
        TDateTime tried = -1, triedTime = -1;
        uint8_t triedWeekday = 99;
        EXPECT_EQ(TryDecodeBcdDateTime(c.bytes, tried, triedTime, triedWeekday), c.valid) << HexBytes(c.bytes, 7);
        EXPECT_EQ(tried, c.valid ? c.date : -1);
        EXPECT_EQ(triedTime, c.valid ? c.time : -1);
        EXPECT_EQ(triedWeekday, c.valid ? c.weekday : 99);
    }
}

TEST(BinaryData, LittleEndianFields) {
    const uint8_t b[] = {0x34, 0x12, 0x56, 0x78, 0x9A, 0xBC};
    EXPECT_EQ(ReadWordLE(b), 0x1234);
    EXPECT_EQ(ReadInt24LE(b), 0x561234u);
    EXPECT_EQ(ReadDWordLE(b), 0x78561234u);
    const uint8_t* p = b;
    EXPECT_EQ(TakeWordLE(p, 2), 0x1234);
    EXPECT_EQ(TakeWordLE(p, 3), 0x7856);
    EXPECT_EQ(p, b + 5);

    // 1.0f is 3F800000, 0.5 is 3FE0000000000000.
    const uint8_t one[] = {0x00, 0x00, 0x80, 0x3F};
    p = one;
    EXPECT_EQ(TakeSingle(p), 1.0f);
    EXPECT_EQ(p, one + 4);
    std::vector<uint8_t> buf(8);
    WriteDoubleLE(buf.data(), 0.5);
    EXPECT_EQ(buf, (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0xE0, 0x3F}));
    EXPECT_EQ(ReadDoubleLE(buf.data()), 0.5);
    WriteSingleLE(buf.data(), 1.0f);
    EXPECT_EQ(ReadSingleLE(buf.data()), 1.0f);
    WriteDWordLE(buf.data(), 0xA1B2C3D4u);
    EXPECT_EQ(buf[0], 0xD4);
    EXPECT_EQ(buf[3], 0xA1);
    WriteInt24LE(buf.data(), 0x00C0FFEEu);
    EXPECT_EQ(ReadInt24LE(buf.data()), 0xC0FFEEu);
    EXPECT_EQ(buf[3], 0xA1);  // the fourth byte stays
    WriteWordLE(buf.data() + 4, 0xBEEF);
    EXPECT_EQ(ReadWordLE(buf.data() + 4), 0xBEEF);

    uint8_t dest[3] = {1, 2, 3};
    CopyBytes(b, dest, 2);
    EXPECT_EQ(dest[0], 0x34);
    EXPECT_EQ(dest[1], 0x12);
    EXPECT_EQ(dest[2], 3);
}
