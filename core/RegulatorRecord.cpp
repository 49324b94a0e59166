#include "core/RegulatorRecord.h"

#include "core/BinaryData.h"
#include "core/Calendar.h"
#include "core/QuarterHours.h"

#include <algorithm>

namespace zeko {

namespace L = RecordLayout;

std::array<uint8_t, L::FillerSize> TRegulatorRecord::FilledFiller() {
    std::array<uint8_t, L::FillerSize> filler{};
    filler.fill(RecordFillerByte);
    return filler;
}

TRegulatorRecord TRegulatorRecord::FromBytes(const uint8_t* b) {
    TRegulatorRecord r;
    r.Second = b[L::Second];
    r.Minute = b[L::Minute];
    r.Hour = b[L::Hour];
    r.Day = b[L::Day];
    r.Month = b[L::Month];
    r.Year = b[L::Year];
    r.Index = ReadDWordLE(b + L::Index);
    r.Status = ReadWordLE(b + L::Status);
    for (size_t k = 0; k < RecordInputs; ++k) {
        r.Counts[k] = ReadWordLE(b + L::Counts + 2 * k);
        r.Constants[k] = ReadSingleLE(b + L::Constants + 4 * k);
    }
    for (size_t v = 0; v < r.Values24.size(); ++v)
        r.Values24[v] = ReadDWordLE(b + L::Values24 + 4 * v);
    r.Value16 = ReadWordLE(b + L::Value16);
    std::copy_n(b + L::Filler, L::FillerSize, r.Filler.begin());
    return r;
}

void TRegulatorRecord::ToBytes(uint8_t* b) const {
    b[L::Second] = Second;
    b[L::Minute] = Minute;
    b[L::Hour] = Hour;
    b[L::Day] = Day;
    b[L::Month] = Month;
    b[L::Year] = Year;
    WriteDWordLE(b + L::Index, Index);
    WriteWordLE(b + L::Status, Status);
    for (size_t k = 0; k < RecordInputs; ++k) {
        WriteWordLE(b + L::Counts + 2 * k, Counts[k]);
        WriteSingleLE(b + L::Constants + 4 * k, Constants[k]);
    }
    for (size_t v = 0; v < Values24.size(); ++v)
        WriteDWordLE(b + L::Values24 + 4 * v, Values24[v]);
    WriteWordLE(b + L::Value16, Value16);
    std::copy(Filler.begin(), Filler.end(), b + L::Filler);
}

std::array<uint8_t, RecordBytes> TRegulatorRecord::Bytes() const {
    std::array<uint8_t, RecordBytes> bytes{};
    ToBytes(bytes.data());
    return bytes;
}

uint64_t TimeStampKey(const TRegulatorRecord& r) {
    uint64_t key = r.Year;
    for (uint8_t part : {r.Month, r.Day, r.Hour, r.Minute, r.Second})
        key = key << 8 | part;
    return key;
}

TRecordIdentity IdentityOf(const TRegulatorRecord& r) { return {TimeStampKey(r), r.Index}; }

bool RecordSeconds(const TRegulatorRecord& r, int64_t& seconds) {
    TDateTime date = 0, time = 0;
    if (r.Year > 99 || !TryEncodeDate(ExpandYear(r.Year), r.Month, r.Day, date) ||
        !TryEncodeTime(r.Hour, r.Minute, r.Second, 0, time))
        return false;
    seconds = static_cast<int64_t>(date) * 86400 + r.Hour * 3600 + r.Minute * 60 + r.Second;
    return true;
}

double RecordInputValue(const TRegulatorRecord& r, size_t input) {
    return QuarterHourPower(r.Counts[input], r.Constants[input]);
}

double RecordInput1Value(const TRegulatorRecord& r) { return RecordInputValue(r, 0); }

} // namespace zeko
