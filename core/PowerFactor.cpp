#include "core/PowerFactor.h"

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

} // namespace zeko
