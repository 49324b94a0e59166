#include "core/WireRecord.h"

#include "core/BinaryData.h"

namespace zeko {

namespace L = WireLayout;

TWireRecord DecodeWireRecord(const uint8_t* data) {
    TWireRecord r;
    r.Stamp = DecodeBcdStamp(data + L::Stamp);
    r.Status = ReadWordLE(data + L::Status);
    for (size_t i = 0; i < r.Counts.size(); ++i)
        r.Counts[i] = ReadWordLE(data + L::Counts + 2 * i);
    for (size_t i = 0; i < r.Values24.size(); ++i)
        r.Values24[i] = ReadInt24LE(data + L::Values24 + 3 * i);
    r.Value16 = ReadWordLE(data + L::Value16);
    return r;
}

TWireBytes EncodeWireRecord(const TWireRecord& r) {
    TWireBytes b{};
    for (size_t i = 0; i < r.Stamp.size(); ++i)
        b[L::Stamp + i] = ToBcd(r.Stamp[i]);
    WriteWordLE(&b[L::Status], r.Status);
    for (size_t i = 0; i < r.Counts.size(); ++i)
        WriteWordLE(&b[L::Counts + 2 * i], r.Counts[i]);
    for (size_t i = 0; i < r.Values24.size(); ++i)
        WriteInt24LE(&b[L::Values24 + 3 * i], r.Values24[i]);
    WriteWordLE(&b[L::Value16], r.Value16);
    return b;
}

void DecodeRecord(const uint8_t* data, TRegulatorRecord& record, uint32_t index,
                  const std::array<uint32_t, InputCount>& inputConstants) {
    const TWireRecord wire = DecodeWireRecord(data);
    record = TRegulatorRecord{};
    record.Second = wire.Stamp[0];
    record.Minute = wire.Stamp[1];
    record.Hour = wire.Stamp[2];
    record.Day = wire.Stamp[3];
    record.Month = wire.Stamp[4];
    record.Year = wire.Stamp[5];
    record.Index = index;
    record.Status = wire.Status;
    record.Counts = wire.Counts;
    for (size_t i = 0; i < RecordInputs; ++i)
        record.Constants[i] = static_cast<float>(inputConstants[i] / InputConstantScale);
    record.Values24 = wire.Values24;
    record.Value16 = wire.Value16;
}

} // namespace zeko
