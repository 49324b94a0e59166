#pragma once
// The power factor of an active value and reactive values, and the one-byte cos phi
// code of the regulator's dead-band settings.
#include <cstdint>

namespace zeko {

// A ÷ √(A² + (B − C)²) with A the active, B the consumed and C the supplied reactive
// value; C counts as 0 when B is 0; negative when B − C is negative; 1 when the root
// is 0.
double SignedCosPhi(double a, double b, double c);
// A ÷ √(A² + B²), 1 when the root is 0; C is not used.
double CosPhi(double a, double b, double c);

// The cos phi code: 0..128 stand for 0.872..1.000, 129..255 for -0.999..-0.873
// (capacitive). In code order the values run from 0.872 up to 1.000 and on from
// -0.999 to -0.873.
double CosPhiFromByte(uint8_t code);
// The code of the nearest thousandth. A value outside the code's ranges takes the
// nearest end of its own side: above 1 gives 1.000, 0 and below -1 give -0.999,
// 0..0.872 gives 0.872 and -0.873..0 gives -0.873, so that no value becomes a
// code of the other sign.
uint8_t CosPhiToByte(double value);

} // namespace zeko
