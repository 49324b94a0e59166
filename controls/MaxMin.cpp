#include "controls/MaxMin.h"

namespace zeko {

void SwapInt(int32_t& a, int32_t& b) {
    const int32_t keep = a;
    a = b;
    b = keep;
}

int32_t Max(int32_t a, int32_t b) { return b > a ? b : a; }

int32_t Min(int32_t a, int32_t b) { return b < a ? b : a; }

} // namespace zeko
