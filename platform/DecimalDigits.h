#pragma once
// The decimal digits of a double as its shortest round-trip text gives them, for
// formatting that rounds on the decimal value as written (half away from zero).
#include <string>

namespace zeko {

struct Decimal {
    bool negative = false;
    std::string digits;  // no leading zeros; "0" for zero
    int exponent = 0;    // value = 0.digits × 10^exponent
};

Decimal ToDecimal(double value);

// Keeps `keep` leading digits and rounds half away from zero on the first dropped
// one; trailing zeros are removed, and zero comes back as digits "" (exponent 0).
void RoundDigits(Decimal& d, int keep);

} // namespace zeko
