#pragma once
// The power factor of an active value and reactive values.

namespace zeko {

// A ÷ √(A² + (B − C)²) with A the active, B the consumed and C the supplied reactive
// value; C counts as 0 when B is 0; negative when B − C is negative; 1 when the root
// is 0.
double SignedCosPhi(double a, double b, double c);
// A ÷ √(A² + B²), 1 when the root is 0; C is not used.
double CosPhi(double a, double b, double c);

} // namespace zeko
