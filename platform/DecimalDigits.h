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

// Significant digits a computed value is trusted to. A sum carries binary error in
// the last digits of its shortest text (0.1 + 14.35 + 0.2 gives 14.649999999999999
// for a true 14.65), which must not decide how a shown digit rounds.
constexpr int TrustedDigits = 12;
// Rounds d to TrustedDigits significant digits, or to `shownDigits` when more are
// shown, before the text rounds to the digits it shows.
void DropBinaryError(Decimal& d, int shownDigits);

} // namespace zeko
