#include "core/HistoryFormat.h"

#include <gtest/gtest.h>

using namespace zeko;

namespace {
using Bytes = std::vector<uint8_t>;
}

TEST(HistoryFormat, ShiftRecordIsTwentyFourBytesAsStored) {
    TShiftTable table;
    table.Shifts = {TShiftBand{360, 840}, TShiftBand{840, 1320}, TShiftBand{ShiftNotInUse, ShiftNotInUse}};
    Bytes bytes;
    THistoryRecord::Of(EncodeDate(2024, 1, 1) + 0.25, table).AppendBytes(bytes);
    const Bytes expected = {0x00, 0x00, 0x00, 0x00, 0x88, 0x1D, 0xE6, 0x40,  // 1.1.2024 06:00
                            0x01, 0x00, 0x0C, 0x00,                          // 1, body of 12
                            0x68, 0x01, 0x48, 0x03,                          // 360-840
                            0x48, 0x03, 0x28, 0x05,                          // 840-1320
                            0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(bytes, expected);
}

TEST(HistoryFormat, TariffRecordIs132BytesWithZonesInOrder) {
    TTariffTable table;
    table.Zone(0, 1, 1) = {1320, 360, ZoneInUse};  // zone 1 of working days
    table.Zone(0, 2, 1) = {360, 1320, ZoneInUse};  // zone 5
    table.Zone(1, 3, 4) = {0, 1440, ZoneInUse};    // last zone of the weekend
    Bytes bytes;
    THistoryRecord::Of(EncodeDate(2024, 1, 1), table).AppendBytes(bytes);
    ASSERT_EQ(bytes.size(), 132u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 12),
              (Bytes{0x00, 0x00, 0x00, 0x00, 0x80, 0x1D, 0xE6, 0x40, 0x01, 0x00, 0x78, 0x00}));
    EXPECT_EQ(Bytes(bytes.begin() + 12, bytes.begin() + 17), (Bytes{0x28, 0x05, 0x68, 0x01, 0x00}));
    EXPECT_EQ(Bytes(bytes.begin() + 17, bytes.begin() + 22), (Bytes{0x00, 0x00, 0x00, 0x00, 0x02}));
    EXPECT_EQ(Bytes(bytes.begin() + 12 + 4 * 5, bytes.begin() + 12 + 5 * 5), (Bytes{0x68, 0x01, 0x28, 0x05, 0x00}));
    EXPECT_EQ(Bytes(bytes.end() - 5, bytes.end()), (Bytes{0x00, 0x00, 0xA0, 0x05, 0x00}));
}

TEST(HistoryFormat, RecordsReadBackAsWrittenAndShortOnesAreIncomplete) {
    Bytes bytes;
    THistoryRecord a{EncodeDate(2024, 7, 1), 1, {1, 2, 3}};
    THistoryRecord b{EncodeDate(2023, 1, 1) + 0.5, 7, {}};  // the marker is kept as read
    a.AppendBytes(bytes);
    b.AppendBytes(bytes);
    THistoryRecord r;
    size_t used = 0;
    ASSERT_TRUE(ParseHistoryRecord(bytes.data(), bytes.size(), r, used));
    EXPECT_EQ(r, a);
    EXPECT_EQ(used, 15u);
    ASSERT_TRUE(ParseHistoryRecord(bytes.data() + used, bytes.size() - used, r, used));
    EXPECT_EQ(r, b);
    EXPECT_FALSE(ParseHistoryRecord(bytes.data(), 11, r, used));  // head cut
    EXPECT_FALSE(ParseHistoryRecord(bytes.data(), 14, r, used));  // body cut
}

TEST(HistoryFormat, TablesReadFromBodiesAndAShortBodyLeavesTheRest) {
    TTariffTable table;
    table.Zone(1, 2, 3) = {100, 200, ZoneInUse};
    TTariffTable back;
    const Bytes body = table.Body();
    back.ReadBody(body.data(), body.size());
    EXPECT_EQ(back, table);

    TShiftTable shifts;
    shifts.Shifts = {TShiftBand{1, 2}, TShiftBand{3, 4}, TShiftBand{5, 6}};
    TShiftTable partial;
    const Bytes shiftBody = shifts.Body();
    partial.ReadBody(shiftBody.data(), 8);
    EXPECT_EQ(partial.Shifts[1], (TShiftBand{3, 4}));
    EXPECT_FALSE(partial.Shifts[2].InUse());
}
