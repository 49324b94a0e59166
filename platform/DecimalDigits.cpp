#include "platform/DecimalDigits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace zeko {

Decimal ToDecimal(double value) {
    Decimal d;
    d.negative = std::signbit(value) && value != 0;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
    std::string s(buf, res.ptr);
    const size_t e = s.find('e');
    const int exp10 = std::atoi(s.c_str() + e + 1);
    for (size_t i = 0; i < e; ++i)
        if (s[i] != '.')
            d.digits += s[i];
    d.exponent = exp10 + 1;
    if (d.digits == "0")
        d.exponent = 1;
    return d;
}

void RoundDigits(Decimal& d, int keep) {
    if (d.digits == "0")
        d.digits.clear();
    if (keep < 0) {
        d.digits.clear();
    } else if (keep < static_cast<int>(d.digits.size())) {
        const bool up = d.digits[keep] >= '5';
        d.digits.resize(keep);
        if (up) {
            int i = keep - 1;
            while (i >= 0 && d.digits[i] == '9')
                d.digits[i--] = '0';
            if (i < 0) {
                d.digits.insert(d.digits.begin(), '1');
                ++d.exponent;
            } else {
                ++d.digits[i];
            }
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty())
        d.exponent = 0;
}

void DropBinaryError(Decimal& d, int shownDigits) { RoundDigits(d, std::max(TrustedDigits, shownDigits)); }

} // namespace zeko
