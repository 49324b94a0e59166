#include "core/PowerFactor.h"

#include <algorithm>
#include <cmath>

namespace zeko {

double SignedCosPhi(double a, double b, double c) {
    if (b == 0)
        c = 0;
    const double reactive = b - c;
    const double root = std::sqrt(a * a + reactive * reactive);
    if (root == 0)
        return 1;
    return reactive < 0 ? -(a / root) : a / root;
}

double CosPhi(double a, double b, double /*c*/) {
    const double root = std::sqrt(a * a + b * b);
    return root == 0 ? 1 : a / root;
}

namespace {
// The thousandths of the two ranges and the offsets of their codes.
constexpr long InductiveLow = 872, InductiveHigh = 1000;
constexpr long CapacitiveLow = -999, CapacitiveHigh = -873;
constexpr uint8_t LastInductiveCode = 128;
constexpr long InductiveOffset = 872, CapacitiveOffset = 1128;
} // namespace

double CosPhiFromByte(uint8_t code) {
    const long thousandths = code <= LastInductiveCode ? code + InductiveOffset : code - CapacitiveOffset;
    return static_cast<double>(thousandths) / 1000.0;
}

uint8_t CosPhiToByte(double value) {
    // A power factor of 0 is no value of the ranges; it takes the end next to 1.000.
    if (std::isnan(value) || value == 0)
        return static_cast<uint8_t>(CapacitiveLow + CapacitiveOffset);
    const double scaled = std::clamp(value * 1000.0, -1.0e6, 1.0e6);
    const long n = std::lround(scaled);
    if (value > 0)
        return static_cast<uint8_t>(std::clamp(n, InductiveLow, InductiveHigh) - InductiveOffset);
    return static_cast<uint8_t>(std::clamp(n, CapacitiveLow, CapacitiveHigh) + CapacitiveOffset);
}

} // namespace zeko
