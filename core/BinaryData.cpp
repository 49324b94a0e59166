#include "core/BinaryData.h"

#include "core/Calendar.h"

#include <bit>
#include <cstring>

namespace zeko {

uint8_t FromBcd(uint8_t b) {
    return static_cast<uint8_t>((b >> 4) * 10 + (b & 15));
}

uint8_t ToBcd(int value) {
    return static_cast<uint8_t>((value / 10) * 16 + value % 10);
}

bool IsBcd(uint8_t b) {
    return (b >> 4) <= 9 && (b & 15) <= 9;
}

uint8_t DecodeBcd(uint8_t b) {
    return IsBcd(b) ? FromBcd(b) : BcdInvalid;
}

std::array<uint8_t, 6> DecodeBcdStamp(const uint8_t* bytes) {
    std::array<uint8_t, 6> stamp{};
    for (size_t i = 0; i < stamp.size(); ++i)
        stamp[i] = DecodeBcd(bytes[i]);
    return stamp;
}

void DecodeBcdDateTime(const uint8_t* bytes, TDateTime& date, TDateTime& time, uint8_t& weekday) {
    const int second = DecodeBcd(bytes[0]), minute = DecodeBcd(bytes[1]), hour = DecodeBcd(bytes[2]);
    int day = DecodeBcd(bytes[3]), month = DecodeBcd(bytes[4]);
    weekday = FromBcd(bytes[5]);
    const int year = DecodeBcd(bytes[6]);
    if (!TryEncodeTime(hour, minute, second, 0, time))
        time = EncodeTime(1, 0, 0);
    if (day > 31)
        day = 1;
    if (month > 12)
        month = 1;
    if (year > 99 || !TryEncodeDate(ExpandYear(year), month, day, date))
        date = EncodeDate(1980, 1, 1);
}

bool TryDecodeBcdDateTime(const uint8_t* bytes, TDateTime& date, TDateTime& time, uint8_t& weekday) {
    const int year = DecodeBcd(bytes[6]);
    TDateTime d = 0, t = 0;
    if (year > 99 || !TryEncodeTime(DecodeBcd(bytes[2]), DecodeBcd(bytes[1]), DecodeBcd(bytes[0]), 0, t) ||
        !TryEncodeDate(ExpandYear(year), DecodeBcd(bytes[4]), DecodeBcd(bytes[3]), d))
        return false;
    date = d;
    time = t;
    weekday = FromBcd(bytes[5]);
    return true;
}

uint16_t ReadWordLE(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint16_t TakeWordLE(const uint8_t*& p, int step) {
    const uint16_t value = ReadWordLE(p);
    p += step;
    return value;
}

uint32_t ReadInt24LE(const uint8_t* p) {
    return p[0] | p[1] << 8 | static_cast<uint32_t>(p[2]) << 16;
}

uint32_t ReadDWordLE(const uint8_t* p) {
    return ReadWordLE(p) | static_cast<uint32_t>(ReadWordLE(p + 2)) << 16;
}

float ReadSingleLE(const uint8_t* p) {
    return std::bit_cast<float>(ReadDWordLE(p));
}

float TakeSingle(const uint8_t*& p) {
    const float value = ReadSingleLE(p);
    p += 4;
    return value;
}

double ReadDoubleLE(const uint8_t* p) {
    const uint64_t bits = ReadDWordLE(p) | static_cast<uint64_t>(ReadDWordLE(p + 4)) << 32;
    return std::bit_cast<double>(bits);
}

void CopyBytes(const uint8_t* source, uint8_t* dest, uint16_t count) {
    if (count > 0)
        std::memmove(dest, source, count);
}

void WriteWordLE(uint8_t* p, uint16_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}

void WriteInt24LE(uint8_t* p, uint32_t value) {
    WriteWordLE(p, static_cast<uint16_t>(value));
    p[2] = static_cast<uint8_t>(value >> 16);
}

void WriteDWordLE(uint8_t* p, uint32_t value) {
    WriteWordLE(p, static_cast<uint16_t>(value));
    WriteWordLE(p + 2, static_cast<uint16_t>(value >> 16));
}

void WriteSingleLE(uint8_t* p, float value) {
    WriteDWordLE(p, std::bit_cast<uint32_t>(value));
}

void WriteDoubleLE(uint8_t* p, double value) {
    const uint64_t bits = std::bit_cast<uint64_t>(value);
    WriteDWordLE(p, static_cast<uint32_t>(bits));
    WriteDWordLE(p + 4, static_cast<uint32_t>(bits >> 32));
}

} // namespace zeko
