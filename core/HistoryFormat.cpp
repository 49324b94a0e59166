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

bool ParseHistory(const uint8_t* bytes, size_t size, size_t bodySize, THistoryList& List) {
    bool intact = true;
    size_t at = 0, used = 0;
    THistoryRecord record;
    while (at < size) {
        if (!ParseHistoryRecord(bytes + at, size - at, record, used) || record.Body.size() != bodySize)
            return false;
        if (record.Marker == HistoryMarker)
            List.push_back(std::move(record));
        else
            intact = false;
        at += used;
    }
    return intact;
}

} // namespace zeko
