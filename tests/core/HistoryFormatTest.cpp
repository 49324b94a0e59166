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

namespace {

THistoryRecord Tariffs(TDateTime validFrom, uint16_t start, uint16_t end) {
    TTariffTable table;
    table.Zone(0, 1, 1) = {start, end, ZoneInUse};
    return THistoryRecord::Of(validFrom, table);
}

Bytes BytesOf(const THistoryList& list) {
    Bytes bytes;
    for (const THistoryRecord& r : list)
        r.AppendBytes(bytes);
    return bytes;
}

} // namespace

// A damaged record is left out, and every intact record before and after it is
// read: the reading goes on where the program's records of the table's size would
// begin, else where the damaged record's own length ends it, else at the next
// place an intact record begins.
TEST(HistoryFormat, ADamagedRecordIsLeftOutAndTheIntactOnesAroundItAreRead) {
    const THistoryRecord a = Tariffs(EncodeDate(2024, 1, 1), 360, 840);
    const THistoryRecord b = Tariffs(EncodeDate(2024, 7, 1), 420, 900);
    const THistoryRecord c = Tariffs(EncodeDate(2024, 3, 15), 300, 1320);
    const Bytes good = BytesOf({a, b, c});
    const size_t second = 132, third = 264;
    const auto changed = [&](size_t at, Bytes with) {
        Bytes bytes = good;
        std::copy(with.begin(), with.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
        return bytes;
    };
    // A band ending 05:20 followed by one from 02:00 puts the bytes of an intact head
    // inside the record (at its byte 7): a search byte by byte would take it.
    TTariffTable lookalike;
    lookalike.Zone(0, 1, 1) = {0, 320, ZoneInUse};
    lookalike.Zone(0, 1, 2) = {120, 200, ZoneInUse};
    Bytes withLookalike = BytesOf({a, THistoryRecord::Of(EncodeDate(2024, 7, 1), lookalike), c});
    withLookalike[second + HistoryLayout::BodyLength] = 0;
    Bytes shiftInTheMiddle = BytesOf({a});  // the file of 288 bytes that lost its third record
    Bytes shift;
    TShiftTable shifts;
    THistoryRecord::Of(EncodeDate(2024, 7, 1), shifts).AppendBytes(shift);
    shiftInTheMiddle.insert(shiftInTheMiddle.end(), shift.begin(), shift.end());
    Bytes cBytes;
    c.AppendBytes(cBytes);
    shiftInTheMiddle.insert(shiftInTheMiddle.end(), cBytes.begin(), cBytes.end());
    Bytes inserted = good;
    inserted.insert(inserted.begin() + second, {0xAA, 0x55, 0x01, 0x00, 0x78});
    Bytes lost = good;
    lost.erase(lost.begin() + second, lost.begin() + second + 7);
    const Bytes nan = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x7F};

    const struct Case {
        const char* what;
        Bytes bytes;
        THistoryList intact;
        THistoryDamageList damage;
    } cases[] = {
        {"intact", good, {a, b, c}, {}},
        {"middle length 12", changed(second + HistoryLayout::BodyLength, {12, 0}), {a, c},
         {{second, 132, THistoryFault::BodyLength, 12}}},
        {"middle length 0x7801", changed(second + HistoryLayout::BodyLength, {1, 0x78}), {a, c},
         {{second, 132, THistoryFault::BodyLength, 0x7801}}},
        {"a shift record in the middle", shiftInTheMiddle, {a, c}, {{second, 24, THistoryFault::BodyLength, 12}}},
        {"middle marker 0", changed(second + HistoryLayout::Marker, {0}), {a, c},
         {{second, 132, THistoryFault::Marker, 0}}},
        {"middle valid-from no number", changed(second, nan), {a, c}, {{second, 132, THistoryFault::ValidFrom, 0}}},
        {"first length 11", changed(HistoryLayout::BodyLength, {11}), {b, c},
         {{0, 132, THistoryFault::BodyLength, 11}}},
        {"five bytes put in", inserted, {a, b, c}, {{second, 5, THistoryFault::BodyLength, 0xE634}}},
        {"seven bytes lost", lost, {a, c}, {{second, 125, THistoryFault::BodyLength, 0}}},
        {"last cut short", Bytes(good.begin(), good.end() - 1), {a, b}, {{third, 131, THistoryFault::CutShort, 0}}},
        {"last length too large", changed(third + HistoryLayout::BodyLength, {200}), {a, b},
         {{third, 132, THistoryFault::BodyLength, 200}}},
        {"an intact head inside the damaged record", withLookalike, {a, c},
         {{second, 132, THistoryFault::BodyLength, 0}}},
        {"nothing but damage", Bytes(300, 0x5A), {}, {{0, 300, THistoryFault::BodyLength, 0x5A5A}}},
    };
    for (const Case& c : cases) {
        THistoryList list;
        const THistoryDamageList damage =
            ReadHistoryRecords(c.bytes.data(), c.bytes.size(), TTariffTable::BodySize, list);
        EXPECT_EQ(list, c.intact) << c.what;
        EXPECT_EQ(damage, c.damage) << c.what;
        EXPECT_EQ(ParseHistory(c.bytes.data(), c.bytes.size(), TTariffTable::BodySize, list), c.damage.empty())
            << c.what;
    }
}
