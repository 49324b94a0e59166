#pragma once
// Records and month files for the record store tests.
#include "core/RecordStore.h"
#include "support/TempDir.h"

#include <string>

namespace zeko::test {

// A record of 20yy-mm-dd hh:mi:ss whose input 1 counts `count` impulses at a constant
// of 2.5 impulses per unit (value count × 1.6).
inline TRegulatorRecord MakeRecord(int yy, int mm, int dd, int hh, int mi, int ss, uint16_t count = 100,
                                   uint32_t index = 0) {
    TRegulatorRecord r;
    r.Year = static_cast<uint8_t>(yy);
    r.Month = static_cast<uint8_t>(mm);
    r.Day = static_cast<uint8_t>(dd);
    r.Hour = static_cast<uint8_t>(hh);
    r.Minute = static_cast<uint8_t>(mi);
    r.Second = static_cast<uint8_t>(ss);
    r.Index = index;
    r.Status = 0x0102;
    r.Counts = {count, 20, 30, 40};
    r.Constants = {2.5f, 1.0f, 2.0f, 4.0f};
    r.Values24 = {0x010203, 0x040506, 0x070809};
    r.Value16 = 0x0A0B;
    return r;
}

inline std::string BytesOf(const TRecordList& records) {
    std::string bytes;
    for (const TRegulatorRecord& r : records) {
        const auto b = r.Bytes();
        bytes.append(b.begin(), b.end());
    }
    return bytes;
}

} // namespace zeko::test
