#include "core/HistoryFormat.h"

#include "core/BinaryData.h"

#include <algorithm>

namespace zeko {

namespace {
size_t ZoneIndex(int tariff, int band) {
    return static_cast<size_t>(tariff - 1) * TariffLayout::BandsPerTariff + static_cast<size_t>(band - 1);
}
} // namespace

TTariffZone& TTariffTable::Zone(int dayType, int tariff, int band) {
    return Zones.at(static_cast<size_t>(dayType)).at(ZoneIndex(tariff, band));
}

const TTariffZone& TTariffTable::Zone(int dayType, int tariff, int band) const {
    return Zones.at(static_cast<size_t>(dayType)).at(ZoneIndex(tariff, band));
}

void TTariffTable::ReadBody(const uint8_t* body, size_t size) {
    size = std::min(size, TariffLayout::Size);
    for (size_t z = 0; (z + 1) * TariffLayout::ZoneSize <= size; ++z) {
        const uint8_t* p = body + z * TariffLayout::ZoneSize;
        TTariffZone& zone = Zones[z / TariffLayout::Zones][z % TariffLayout::Zones];
        zone.Start = ReadWordLE(p + TariffLayout::ZoneStart);
        zone.End = ReadWordLE(p + TariffLayout::ZoneEnd);
        zone.State = p[TariffLayout::ZoneState];
    }
}

std::vector<uint8_t> TTariffTable::Body() const {
    std::vector<uint8_t> body(TariffLayout::Size);
    for (size_t z = 0; z < TariffLayout::DayTypes * TariffLayout::Zones; ++z) {
        uint8_t* p = body.data() + z * TariffLayout::ZoneSize;
        const TTariffZone& zone = Zones[z / TariffLayout::Zones][z % TariffLayout::Zones];
        WriteWordLE(p + TariffLayout::ZoneStart, zone.Start);
        WriteWordLE(p + TariffLayout::ZoneEnd, zone.End);
        p[TariffLayout::ZoneState] = zone.State;
    }
    return body;
}

void TShiftTable::ReadBody(const uint8_t* body, size_t size) {
    size = std::min(size, ShiftLayout::Size);
    for (size_t s = 0; (s + 1) * ShiftLayout::ShiftSize <= size; ++s) {
        const uint8_t* p = body + s * ShiftLayout::ShiftSize;
        Shifts[s].Start = ReadWordLE(p + ShiftLayout::Start);
        Shifts[s].End = ReadWordLE(p + ShiftLayout::End);
    }
}

std::vector<uint8_t> TShiftTable::Body() const {
    std::vector<uint8_t> body(ShiftLayout::Size);
    for (size_t s = 0; s < ShiftLayout::Shifts; ++s) {
        uint8_t* p = body.data() + s * ShiftLayout::ShiftSize;
        WriteWordLE(p + ShiftLayout::Start, Shifts[s].Start);
        WriteWordLE(p + ShiftLayout::End, Shifts[s].End);
    }
    return body;
}

THistoryRecord THistoryRecord::Of(TDateTime validFrom, const TTariffTable& table) {
    return {validFrom, HistoryMarker, table.Body()};
}

THistoryRecord THistoryRecord::Of(TDateTime validFrom, const TShiftTable& table) {
    return {validFrom, HistoryMarker, table.Body()};
}

void THistoryRecord::AppendBytes(std::vector<uint8_t>& out) const {
    const size_t at = out.size();
    out.resize(at + HistoryLayout::HeadSize);
    WriteDoubleLE(out.data() + at + HistoryLayout::ValidFrom, ValidFrom);
    WriteWordLE(out.data() + at + HistoryLayout::Marker, Marker);
    WriteWordLE(out.data() + at + HistoryLayout::BodyLength, static_cast<uint16_t>(Body.size()));
    out.insert(out.end(), Body.begin(), Body.end());
}

bool ParseHistoryRecord(const uint8_t* bytes, size_t available, THistoryRecord& record, size_t& used) {
    if (available < HistoryLayout::HeadSize)
        return false;
    const size_t length = ReadWordLE(bytes + HistoryLayout::BodyLength);
    if (available - HistoryLayout::HeadSize < length)
        return false;
    record.ValidFrom = ReadDoubleLE(bytes + HistoryLayout::ValidFrom);
    record.Marker = ReadWordLE(bytes + HistoryLayout::Marker);
    const uint8_t* body = bytes + HistoryLayout::HeadSize;
    record.Body.assign(body, body + length);
    used = HistoryLayout::HeadSize + length;
    return true;
}

bool UsableValidFrom(TDateTime validFrom) {
    static const TDateTime earliest = EncodeDate(1800, 1, 1), latest = EncodeDate(3000, 1, 1);
    return validFrom > earliest && validFrom < latest;  // false for a NaN
}

namespace {

// Whether an intact record of the history begins at `bytes`; else `damage` says why.
bool IntactRecordAt(const uint8_t* bytes, size_t available, size_t bodySize, THistoryDamage& damage) {
    if (available < HistoryLayout::HeadSize) {
        damage.Fault = THistoryFault::CutShort;
        return false;
    }
    const uint16_t length = ReadWordLE(bytes + HistoryLayout::BodyLength);
    const uint16_t marker = ReadWordLE(bytes + HistoryLayout::Marker);
    if (length != bodySize) {
        damage.Fault = THistoryFault::BodyLength;
        damage.Found = length;
    } else if (available - HistoryLayout::HeadSize < length) {
        damage.Fault = THistoryFault::CutShort;
    } else if (marker != HistoryMarker) {
        damage.Fault = THistoryFault::Marker;
        damage.Found = marker;
    } else if (!UsableValidFrom(ReadDoubleLE(bytes + HistoryLayout::ValidFrom))) {
        damage.Fault = THistoryFault::ValidFrom;
    } else {
        return true;
    }
    return false;
}

bool IntactRecordAt(const uint8_t* bytes, size_t size, size_t at, size_t bodySize) {
    THistoryDamage ignored;
    return IntactRecordAt(bytes + at, size - at, bodySize, ignored);
}

// Where the reading goes on after the damaged record at `at`: the program writes
// every record at the table's size, so first the places where the records after it
// would begin; then the end of the damaged record as its own length gives it (a
// record of something else); last any place at all (bytes put in or lost).
size_t NextIntactRecord(const uint8_t* bytes, size_t size, size_t at, size_t bodySize) {
    const size_t recordSize = HistoryLayout::HeadSize + bodySize;
    for (size_t p = at + recordSize; p < size; p += recordSize)
        if (IntactRecordAt(bytes, size, p, bodySize))
            return p;
    if (size - at >= HistoryLayout::HeadSize) {
        const size_t own = at + HistoryLayout::HeadSize + ReadWordLE(bytes + at + HistoryLayout::BodyLength);
        if (own < size && IntactRecordAt(bytes, size, own, bodySize))
            return own;
    }
    for (size_t p = at + 1; p < size; ++p)
        if (IntactRecordAt(bytes, size, p, bodySize))
            return p;
    return size;
}

} // namespace

THistoryDamageList ReadHistoryRecords(const uint8_t* bytes, size_t size, size_t bodySize, THistoryList& List) {
    THistoryDamageList damaged;
    THistoryRecord record;
    size_t at = 0, used = 0;
    while (at < size) {
        THistoryDamage damage;
        if (IntactRecordAt(bytes + at, size - at, bodySize, damage) &&
            ParseHistoryRecord(bytes + at, size - at, record, used)) {
            List.push_back(std::move(record));
            at += used;
            continue;
        }
        const size_t next = NextIntactRecord(bytes, size, at, bodySize);
        damage.Offset = at;
        damage.Length = next - at;
        damaged.push_back(damage);
        at = next;
    }
    return damaged;
}

bool ParseHistory(const uint8_t* bytes, size_t size, size_t bodySize, THistoryList& List) {
    return ReadHistoryRecords(bytes, size, bodySize, List).empty();
}

} // namespace zeko
