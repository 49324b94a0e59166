#pragma once
// Packed BCD as the regulator keeps its clock and time stamps: 0x59 is 59.
#include <cstdint>

namespace zeko::regsim {

inline uint8_t ToBcd(int value) { return static_cast<uint8_t>((value / 10 % 10) << 4 | value % 10); }
inline int FromBcd(uint8_t bcd) { return (bcd >> 4) * 10 + (bcd & 0x0F); }
inline bool IsBcd(uint8_t bcd) { return (bcd >> 4) <= 9 && (bcd & 0x0F) <= 9; }

} // namespace zeko::regsim
