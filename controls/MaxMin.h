#pragma once
// Integer swap, maximum and minimum as the controls use them; on a tie both answer
// their first argument.
#include <cstdint>

namespace zeko {

void SwapInt(int32_t& a, int32_t& b);
int32_t Max(int32_t a, int32_t b);
int32_t Min(int32_t a, int32_t b);

} // namespace zeko
