#pragma once
// Packed BCD and little-endian fields of the regulator's data and of the program's
// own binary files. Everything is read and written byte by byte, never by casting
// a struct over the bytes.
#include "platform/DateTime.h"

#include <array>
#include <cstdint>

namespace zeko {

uint8_t FromBcd(uint8_t b);  // (b shr 4) × 10 + low nibble
uint8_t ToBcd(int value);    // value 0..99

// A byte with a nibble above 9 is no BCD number (a bit flipped on the line or in
// the regulator's memory). Read by FromBcd it would give a valid but wrong value
// (0x1A as 20), so the time decoders take it as BcdInvalid, a value that no time
// field accepts.
constexpr uint8_t BcdInvalid = 0xFF;
bool IsBcd(uint8_t b);
uint8_t DecodeBcd(uint8_t b);  // FromBcd(b), or BcdInvalid when b is no BCD number

// Six BCD bytes second, minute, hour, day, month, two-digit year, decoded into the
// same order (the time-stamp bytes of a stored record). A byte that is no BCD
// number gives BcdInvalid, so the stamp is no valid date and time.
std::array<uint8_t, 6> DecodeBcdStamp(const uint8_t* bytes);

// The regulator clock: seven BCD bytes second, minute, hour, day, month, weekday,
// year. An impossible time (a byte that is no BCD number included) reads as
// 01:00:00; a day above 31 or a month above 12 (or no BCD number) counts as 1; a
// date that still does not exist reads as 1 January 1980.
void DecodeBcdDateTime(const uint8_t* bytes, TDateTime& date, TDateTime& time, uint8_t& weekday);
// The same bytes, only when they hold a date and time that exist (every field a BCD
// number, the weekday aside); false leaves date, time and weekday as they were.
bool TryDecodeBcdDateTime(const uint8_t* bytes, TDateTime& date, TDateTime& time, uint8_t& weekday);

uint16_t ReadWordLE(const uint8_t* p);
uint16_t TakeWordLE(const uint8_t*& p, int step);  // reads, then moves p by step
uint32_t ReadInt24LE(const uint8_t* p);
uint32_t ReadDWordLE(const uint8_t* p);
float ReadSingleLE(const uint8_t* p);
float TakeSingle(const uint8_t*& p);  // reads, then moves p by 4
double ReadDoubleLE(const uint8_t* p);
void CopyBytes(const uint8_t* source, uint8_t* dest, uint16_t count);

void WriteWordLE(uint8_t* p, uint16_t value);
void WriteInt24LE(uint8_t* p, uint32_t value);  // the low three bytes
void WriteDWordLE(uint8_t* p, uint32_t value);
void WriteSingleLE(uint8_t* p, float value);
void WriteDoubleLE(uint8_t* p, double value);

} // namespace zeko
