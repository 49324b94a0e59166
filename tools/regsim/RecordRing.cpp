#include "tools/regsim/RecordRing.h"

#include "platform/TextFiles.h"
#include "tools/regsim/SiteLoad.h"
#include "tools/regsim/SplitMix.h"


namespace zeko::regsim {

Record EncodeRecord(const RecordFields& f) {
    const TimeParts t = DecodeTime(f.Stamp);
    const DateParts d = DecodeDate(f.Stamp);
    TWireRecord r;
    r.Stamp = {static_cast<uint8_t>(t.Second), static_cast<uint8_t>(t.Minute), static_cast<uint8_t>(t.Hour),
               static_cast<uint8_t>(d.Day),    static_cast<uint8_t>(d.Month),  static_cast<uint8_t>(d.Year % 100)};
    r.Status = f.Status;
    r.Counts = f.Counters;
    r.Values24 = f.Values;
    r.Value16 = f.LastValue;
    return EncodeWireRecord(r);
}

RecordFields GeneratedRecord(uint64_t seed, TDateTime stamp, uint32_t n) {
    RecordFields f;
    f.Stamp = stamp;
    // The meters' impulses of the quarter hour that ends at the stamp.
    f.Counters = QuarterCounts(QuarterLoad(seed, stamp));
    // A whole quarter hour measured (seconds): the status that lets the power
    // factor be computed from the record.
    f.Status = QuarterSeconds;
    const uint64_t s = SplitMix(SplitMix(seed * 0x100000001B3ull + n));
    f.Values[0] = static_cast<uint32_t>(s & 0xFFFFFF);
    f.Values[1] = static_cast<uint32_t>((s >> 24) & 0xFFFFFF);
    f.Values[2] = static_cast<uint32_t>(n & 0xFFFFFF);
    f.LastValue = static_cast<uint16_t>(s >> 48);
    return f;
}

RecordRing::RecordRing() : memory_(MemoryBytes, 0xFF) {}

void RecordRing::Generate(uint64_t seed, TDateTime first, uint32_t count, uint32_t firstIndex) {
    const int64_t firstSecond = ToSeconds(first);
    for (uint32_t n = 0; n < count; ++n) {
        const TDateTime stamp = FromSeconds(firstSecond + int64_t{n} * 900);
        Put((firstIndex + n) % RingRecords, EncodeRecord(GeneratedRecord(seed, stamp, n)));
    }
}

void RecordRing::Put(uint32_t index, const Record& record) {
    const uint32_t at = RecordAddress(index % RingRecords);
    std::copy(record.begin(), record.end(), memory_.begin() + at);
}

Record RecordRing::Get(uint32_t index) const {
    Record r{};
    const uint32_t at = RecordAddress(index % RingRecords);
    std::copy(memory_.begin() + at, memory_.begin() + at + WireRecordBytes, r.begin());
    return r;
}

uint8_t RecordRing::ByteAt(uint32_t address) const {
    return address < memory_.size() ? memory_[address] : 0xFF;
}

bool RecordRing::Export(const std::string& path) const {
    std::vector<uint8_t> places;
    places.reserve(size_t{RingRecords} * WireRecordBytes);
    for (uint32_t i = 0; i < RingRecords; ++i) {
        const Record r = Get(i);
        places.insert(places.end(), r.begin(), r.end());
    }
    return WriteWholeFile(path, places.data(), places.size(), false) == 0;
}

} // namespace zeko::regsim
