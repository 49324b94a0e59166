#include "core/RegulatorRecord.h"

#include "RecordSamples.h"

#include <gtest/gtest.h>

using namespace zeko;
using zeko::test::MakeRecord;

TEST(RegulatorRecord, FieldsLieAtTheirOffsetsLittleEndian) {
    TRegulatorRecord r = MakeRecord(24, 3, 15, 13, 52, 30, 0x1234, 75324);
    r.Constants[0] = 2.5f;  // 0x40200000
    const auto b = r.Bytes();
    ASSERT_EQ(b.size(), 100u);
    EXPECT_EQ(b[0], 30);
    EXPECT_EQ(b[1], 52);
    EXPECT_EQ(b[2], 13);
    EXPECT_EQ(b[3], 15);
    EXPECT_EQ(b[4], 3);
    EXPECT_EQ(b[5], 24);
    // 75324 = 0x0001263C
    EXPECT_EQ(b[6], 0x3C);
    EXPECT_EQ(b[7], 0x26);
    EXPECT_EQ(b[8], 0x01);
    EXPECT_EQ(b[9], 0x00);
    EXPECT_EQ(b[10], 0x02);
    EXPECT_EQ(b[11], 0x01);
    EXPECT_EQ(b[12], 0x34);
    EXPECT_EQ(b[13], 0x12);
    EXPECT_EQ(b[18], 40);
    EXPECT_EQ(b[20], 0x00);
    EXPECT_EQ(b[21], 0x00);
    EXPECT_EQ(b[22], 0x20);
    EXPECT_EQ(b[23], 0x40);
    EXPECT_EQ(b[36], 0x03);
    EXPECT_EQ(b[37], 0x02);
    EXPECT_EQ(b[38], 0x01);
    EXPECT_EQ(b[39], 0x00);
    EXPECT_EQ(b[44], 0x09);
    EXPECT_EQ(b[48], 0x0B);
    EXPECT_EQ(b[49], 0x0A);
    for (size_t i = 50; i < 100; ++i)
        EXPECT_EQ(b[i], 0xFF) << i;
}

TEST(RegulatorRecord, ReadAndWrittenAgainGivesTheSameBytes) {
    std::array<uint8_t, 100> bytes{};
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 37 + 11);  // odd filler and a NaN-ish constant included
    const TRegulatorRecord r = TRegulatorRecord::FromBytes(bytes.data());
    EXPECT_EQ(r.Bytes(), bytes);
    EXPECT_EQ(r.Second, bytes[0]);
    EXPECT_EQ(r.Index, uint32_t(bytes[6] | bytes[7] << 8 | bytes[8] << 16 | uint32_t(bytes[9]) << 24));
}

TEST(RegulatorRecord, InvalidStampsHaveNoTime) {
    struct Case {
        int yy, mm, dd, hh, mi, ss;
    };
    const Case invalid[] = {
        {24, 0, 1, 0, 0, 0},   {24, 13, 1, 0, 0, 0}, {65, 165, 1, 0, 0, 0}, {24, 2, 30, 0, 0, 0},
        {23, 2, 29, 0, 0, 0},  {24, 1, 0, 0, 0, 0},  {24, 1, 32, 0, 0, 0},  {24, 1, 1, 24, 0, 0},
        {24, 1, 1, 0, 60, 0},  {24, 1, 1, 0, 0, 60}, {100, 1, 1, 0, 0, 0},  {165, 1, 1, 0, 0, 0},
    };
    for (const Case& c : invalid) {
        int64_t seconds = 0;
        EXPECT_FALSE(RecordSeconds(MakeRecord(c.yy, c.mm, c.dd, c.hh, c.mi, c.ss), seconds))
            << c.yy << "-" << c.mm << "-" << c.dd << " " << c.hh << ":" << c.mi << ":" << c.ss;
    }
}

TEST(RegulatorRecord, ValidStampsGiveTheirTimeWithTheTwoDigitYearRule) {
    int64_t t = 0;
    ASSERT_TRUE(RecordSeconds(MakeRecord(24, 2, 29, 23, 59, 59), t));
    EXPECT_EQ(t, ToSeconds(EncodeDate(2024, 2, 29) + EncodeTime(23, 59, 59)));
    ASSERT_TRUE(RecordSeconds(MakeRecord(80, 1, 1, 0, 0, 0), t));
    EXPECT_EQ(FromSeconds(t), EncodeDate(1980, 1, 1));
    ASSERT_TRUE(RecordSeconds(MakeRecord(79, 12, 31, 0, 0, 0), t));
    EXPECT_EQ(FromSeconds(t), EncodeDate(2079, 12, 31));
}

TEST(RegulatorRecord, TimeStampKeyOrdersLikeTheTimeAndIgnoresTheRest) {
    EXPECT_LT(TimeStampKey(MakeRecord(24, 1, 31, 23, 59, 59)), TimeStampKey(MakeRecord(24, 2, 1, 0, 0, 0)));
    EXPECT_LT(TimeStampKey(MakeRecord(24, 3, 1, 10, 7, 30)), TimeStampKey(MakeRecord(24, 3, 1, 10, 7, 31)));
    EXPECT_EQ(TimeStampKey(MakeRecord(24, 3, 1, 10, 7, 30, 1, 5)),
              TimeStampKey(MakeRecord(24, 3, 1, 10, 7, 30, 999, 6)));
}

TEST(RegulatorRecord, InputValueIsTheHourlyRateOfTheQuarterHourCount) {
    TRegulatorRecord r = MakeRecord(24, 1, 1, 0, 0, 0, 250);
    EXPECT_DOUBLE_EQ(RecordInput1Value(r), 250 * 4 / 2.5);
    EXPECT_DOUBLE_EQ(RecordInputValue(r, 3), 40 * 4 / 4.0);
    r.Constants[1] = 0;
    EXPECT_EQ(RecordInputValue(r, 1), 0);
}
