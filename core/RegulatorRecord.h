#pragma once
// One stored record of the regulator: 100 bytes, little-endian, the unit of the
// download list and of the month files. Layout:
//
//   Offset  Size  Field
//   0       1     second 0..59
//   1       1     minute
//   2       1     hour
//   3       1     day of month
//   4       1     month 1..12
//   5       1     year, two digits (below 80 = 20xx, else 19xx)
//   6       4     the record's index in the regulator's ring, 0..75324
//   10      2     status word
//   12      2×4   impulse counts of inputs 1..4 in the record's quarter hour
//   20      4×4   impulses per unit of inputs 1..4, IEEE single
//   36      4×3   the three 24-bit values of the record (high byte 0)
//   48      2     the 16-bit value of the record
//   50      50    0xFF each
//
// The time fields are plain binary numbers (the wire record carries them in BCD).
#include "platform/DateTime.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace zeko {

namespace RecordLayout {
constexpr size_t Second = 0;
constexpr size_t Minute = 1;
constexpr size_t Hour = 2;
constexpr size_t Day = 3;
constexpr size_t Month = 4;
constexpr size_t Year = 5;
constexpr size_t StampSize = 6;
constexpr size_t Index = 6;
constexpr size_t Status = 10;
constexpr size_t Counts = 12;      // + 2 × input
constexpr size_t Constants = 20;   // + 4 × input
constexpr size_t Values24 = 36;    // + 4 × value
constexpr size_t Value16 = 48;
constexpr size_t Filler = 50;
constexpr size_t FillerSize = 50;
constexpr size_t Size = 100;
} // namespace RecordLayout

constexpr size_t RecordBytes = RecordLayout::Size;
constexpr size_t RecordInputs = 4;
constexpr uint8_t RecordFillerByte = 0xFF;

struct TRegulatorRecord {
    uint8_t Second = 0, Minute = 0, Hour = 0, Day = 0, Month = 0, Year = 0;
    uint32_t Index = 0;
    uint16_t Status = 0;
    std::array<uint16_t, RecordInputs> Counts{};
    std::array<float, RecordInputs> Constants{};
    std::array<uint32_t, 3> Values24{};
    uint16_t Value16 = 0;
    // Kept as read, so that a record read and written again is the same 100 bytes.
    std::array<uint8_t, RecordLayout::FillerSize> Filler = FilledFiller();

    static TRegulatorRecord FromBytes(const uint8_t* bytes);  // RecordBytes bytes
    void ToBytes(uint8_t* bytes) const;                        // RecordBytes bytes
    std::array<uint8_t, RecordBytes> Bytes() const;

    bool operator==(const TRegulatorRecord&) const = default;

private:
    static std::array<uint8_t, RecordLayout::FillerSize> FilledFiller();
};

// The six time-stamp bytes as one number that orders like the stamp's time.
uint64_t TimeStampKey(const TRegulatorRecord& record);

// What makes two stored records one record: the same stamp at the same place of
// the regulator's ring, as when a record is read again. A clock set back (the change
// to winter time) repeats stamps at new places: those are records of their own.
struct TRecordIdentity {
    uint64_t Stamp = 0;  // TimeStampKey
    uint32_t Index = 0;
    bool operator==(const TRecordIdentity&) const = default;
};
TRecordIdentity IdentityOf(const TRegulatorRecord& record);

// The record's time in whole seconds since 30 Dec 1899 (ToSeconds); false when the
// stamp is no valid date and time (a year byte above 99 included).
bool RecordSeconds(const TRegulatorRecord& record, int64_t& seconds);

// The value of input k (0..3): QuarterHourPower(count k, constant k).
double RecordInputValue(const TRegulatorRecord& record, size_t input);
// The value that decides whether a record replaces a stored one of the same stamp.
double RecordInput1Value(const TRegulatorRecord& record);

} // namespace zeko
