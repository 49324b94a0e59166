#pragma once
// The schedule history files "Tarify.his" and "Smeny.his": records back to back,
// no file header, little-endian.
//
//   History record        Offset  Size  Field
//                         0       8     valid from: IEEE double day number (30 Dec 1899 = 0)
//                         8       2     1
//                         10      2     body length (120 tariffs, 12 shifts)
//                         12      n     body
//
//   Tariff table (120)    day type 0 (working days), then 1 (weekend, holidays),
//                         each 12 zones of 5 bytes:
//                         0       2     start, minute of day 0..1439
//                         2       2     end (below the start: over midnight)
//                         4       1     state: 0 in use, 2 not in use
//                         Zone z (0..11) is band z mod 4 + 1 of tariff z div 4 + 1.
//
//   Shift table (12)      shifts 1..3, each:
//                         0       2     start, minute of day
//                         2       2     end; start and end 0xFFFF: not in use
#include "platform/DateTime.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zeko {

namespace HistoryLayout {
constexpr size_t ValidFrom = 0;
constexpr size_t Marker = 8;
constexpr size_t BodyLength = 10;
constexpr size_t HeadSize = 12;
} // namespace HistoryLayout
constexpr uint16_t HistoryMarker = 1;

namespace TariffLayout {
constexpr size_t DayTypes = 2;
constexpr size_t Tariffs = 3;
constexpr size_t BandsPerTariff = 4;
constexpr size_t Zones = Tariffs * BandsPerTariff;
constexpr size_t ZoneStart = 0;
constexpr size_t ZoneEnd = 2;
constexpr size_t ZoneState = 4;
constexpr size_t ZoneSize = 5;
constexpr size_t Size = DayTypes * Zones * ZoneSize;  // 120
} // namespace TariffLayout
constexpr uint8_t ZoneInUse = 0;
constexpr uint8_t ZoneNotInUse = 2;

namespace ShiftLayout {
constexpr size_t Shifts = 3;
constexpr size_t Start = 0;
constexpr size_t End = 2;
constexpr size_t ShiftSize = 4;
constexpr size_t Size = Shifts * ShiftSize;  // 12
} // namespace ShiftLayout
constexpr uint16_t ShiftNotInUse = 0xFFFF;

// Minutes of day a band edge may hold (1440 stands for 24:00).
constexpr uint16_t LastBandMinute = 1440;

struct TTariffZone {
    uint16_t Start = 0;
    uint16_t End = 0;
    uint8_t State = ZoneNotInUse;
    bool InUse() const { return State == ZoneInUse && Start <= LastBandMinute && End <= LastBandMinute; }
    bool operator==(const TTariffZone&) const = default;
};

struct TTariffTable {
    static constexpr size_t BodySize = TariffLayout::Size;
    // Zones[day type][zone 0..11]
    std::array<std::array<TTariffZone, TariffLayout::Zones>, TariffLayout::DayTypes> Zones{};

    // Zone of band 1..4 of tariff 1..3.
    TTariffZone& Zone(int dayType, int tariff, int band);
    const TTariffZone& Zone(int dayType, int tariff, int band) const;

    // Reads up to Size bytes; zones beyond a short body stay as they are.
    void ReadBody(const uint8_t* body, size_t size);
    std::vector<uint8_t> Body() const;
    bool operator==(const TTariffTable&) const = default;
};

struct TShiftBand {
    uint16_t Start = ShiftNotInUse;
    uint16_t End = ShiftNotInUse;
    bool InUse() const { return Start <= LastBandMinute && End <= LastBandMinute; }
    bool operator==(const TShiftBand&) const = default;
};

struct TShiftTable {
    static constexpr size_t BodySize = ShiftLayout::Size;
    std::array<TShiftBand, ShiftLayout::Shifts> Shifts{};  // shift n is Shifts[n - 1]

    void ReadBody(const uint8_t* body, size_t size);
    std::vector<uint8_t> Body() const;
    bool operator==(const TShiftTable&) const = default;
};

struct THistoryRecord {
    TDateTime ValidFrom = 0;
    uint16_t Marker = HistoryMarker;
    std::vector<uint8_t> Body;

    static THistoryRecord Of(TDateTime validFrom, const TTariffTable& table);
    static THistoryRecord Of(TDateTime validFrom, const TShiftTable& table);
    void AppendBytes(std::vector<uint8_t>& out) const;
    bool operator==(const THistoryRecord&) const = default;
};

// Reads the record at `bytes`; false when fewer bytes remain than its head and body
// need. `used` receives its length.
bool ParseHistoryRecord(const uint8_t* bytes, size_t available, THistoryRecord& record, size_t& used);

using THistoryList = std::vector<THistoryRecord>;

// What is wrong with a damaged record of a history file.
enum class THistoryFault {
    BodyLength,  // a body length other than the table's
    Marker,      // a marker other than 1
    ValidFrom,   // a valid-from that is no date the schedules can hold
    CutShort,    // the file ends inside the record
};

// A damaged place: the record that begins at Offset and the bytes after it up to
// the next intact record (or the end of the file), Length in all, left out.
struct THistoryDamage {
    size_t Offset = 0;
    size_t Length = 0;
    THistoryFault Fault = THistoryFault::CutShort;
    uint32_t Found = 0;  // the body length or marker found (BodyLength, Marker)
    bool operator==(const THistoryDamage&) const = default;
};
using THistoryDamageList = std::vector<THistoryDamage>;

// A valid-from the schedules can use: a number between 1 January 1800 and
// 1 January 3000, both excluded (the bounds of the choice of the valid record).
bool UsableValidFrom(TDateTime validFrom);

// Appends the intact records of a history file's bytes to List, whose bodies are
// `bodySize` bytes (TTariffTable::BodySize, TShiftTable::BodySize), and answers the
// damaged places, none for an intact file. An intact record has the table's body
// length, the marker 1 and a usable valid-from, and the file holds it whole. Damage
// is never taken for a table and never ends the reading: it goes on at the next
// intact record, looked for first where the program's records of that size would
// lie, then where the damaged record's own length ends it, then anywhere after it.
THistoryDamageList ReadHistoryRecords(const uint8_t* bytes, size_t size, size_t bodySize, THistoryList& List);
// The same; true when the file held no damage.
bool ParseHistory(const uint8_t* bytes, size_t size, size_t bodySize, THistoryList& List);

} // namespace zeko
