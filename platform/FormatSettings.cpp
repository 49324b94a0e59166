#include "platform/FormatSettings.h"

#include "platform/DecimalDigits.h"
#include "platform/Exceptions.h"
#include "platform/TextFiles.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <langinfo.h>
#include <locale.h>

namespace zeko {
namespace {

// The locale the environment names for a category: LC_ALL, else the category's own
// variable, else LANG, as the C library looks for it; "" when none is set.
std::string EnvironmentLocale(const char* category) {
    for (const char* name : {"LC_ALL", category, "LANG"})
        if (const char* value = std::getenv(name); value != nullptr && value[0] != '\0')
            return value;
    return "";
}

// The C locale (plain, "C.UTF-8", "POSIX", or nothing set) is no one's choice of
// language: a system left as installed.
bool IsPlainLocale(const std::string& name) {
    return name.empty() || name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

} // namespace

TFormatSettings& FormatSettings() {
    static TFormatSettings settings;
    return settings;
}

void LoadLocaleFormatSettings() {
    locale_t loc = newlocale(LC_NUMERIC_MASK | LC_TIME_MASK, "", nullptr);
    if (loc == nullptr)
        return;
    // Where no language is chosen the numbers stay as the Czech texts around them
    // write them, with a decimal comma.
    const char* radix = nl_langinfo_l(RADIXCHAR, loc);
    if (radix && radix[0] && !radix[1] && !IsPlainLocale(EnvironmentLocale("LC_NUMERIC")))
        FormatSettings().DecimalSeparator = radix[0];
    const char* tfmt = nl_langinfo_l(T_FMT, loc);
    if (tfmt && tfmt[0]) {
        // strftime pattern to the class library's letters (hh:nn:ss)
        std::string out;
        for (const char* p = tfmt; *p; ++p) {
            if (*p != '%') {
                out += *p;
                continue;
            }
            switch (*++p) {
            case 'H': case 'k': out += "hh"; break;
            case 'I': case 'l': out += "hh"; break;
            case 'M': out += "nn"; break;
            case 'S': out += "ss"; break;
            case 'p': out += "ampm"; break;
            case 'T': out += "hh:nn:ss"; break;
            case 'R': out += "hh:nn"; break;
            case '\0': --p; break;
            default: break;
            }
        }
        if (out.find("hh") != std::string::npos)
            FormatSettings().LongTimeFormat = out;
    }
    const char* am = nl_langinfo_l(AM_STR, loc);
    const char* pm = nl_langinfo_l(PM_STR, loc);
    if (am && am[0] && pm && pm[0]) {
        FormatSettings().TimeAMString = am;
        FormatSettings().TimePMString = pm;
    }
    freelocale(loc);
}

std::string ShortestDecimal(double value) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

std::string FormatFixed(double value, int decimals) {
    if (!std::isfinite(value))
        return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
    if (decimals < 0)
        decimals = 0;
    Decimal d = ToDecimal(value);
    DropBinaryError(d, d.exponent + decimals);
    // Integer digits and fraction digits as text, padded with zeros.
    std::string intPart, fracPart;
    if (d.exponent > 0) {
        if (static_cast<int>(d.digits.size()) <= d.exponent) {
            intPart = d.digits + std::string(d.exponent - d.digits.size(), '0');
        } else {
            intPart = d.digits.substr(0, d.exponent);
            fracPart = d.digits.substr(d.exponent);
        }
    } else {
        intPart = "0";
        fracPart = std::string(-d.exponent, '0') + d.digits;
    }
    bool roundUp = static_cast<int>(fracPart.size()) > decimals && fracPart[decimals] >= '5';
    if (static_cast<int>(fracPart.size()) < decimals)
        fracPart += std::string(decimals - fracPart.size(), '0');
    fracPart.resize(decimals);
    std::string all = intPart + fracPart;
    if (roundUp) {
        int i = static_cast<int>(all.size()) - 1;
        while (i >= 0 && all[i] == '9')
            all[i--] = '0';
        if (i < 0)
            all.insert(all.begin(), '1');
        else
            ++all[i];
    }
    std::string whole = all.substr(0, all.size() - decimals);
    std::string frac = all.substr(all.size() - decimals);
    size_t nz = whole.find_first_not_of('0');
    whole = nz == std::string::npos ? "0" : whole.substr(nz);
    const bool isZero = whole == "0" && frac.find_first_not_of('0') == std::string::npos;
    std::string out = (d.negative && !isZero) ? "-" : "";
    out += whole;
    if (decimals > 0) {
        out += FormatSettings().DecimalSeparator;
        out += frac;
    }
    return out;
}

std::string FloatToStr(double value) {
    if (!std::isfinite(value))
        return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
    if (value == 0)
        return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14E", value);  // 15 significant digits
    std::string s(buf);
    const size_t e = s.find('E');
    const int exp10 = std::atoi(s.c_str() + e + 1);
    std::string digits;
    for (size_t i = (s[0] == '-') ? 1 : 0; i < e; ++i)
        if (s[i] != '.')
            digits += s[i];
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string out = value < 0 ? "-" : "";
    const char sep = FormatSettings().DecimalSeparator;
    if (exp10 >= 15 || exp10 < -5) {
        out += digits[0];
        if (digits.size() > 1) {
            out += sep;
            out += digits.substr(1);
        }
        char eb[16];
        std::snprintf(eb, sizeof eb, "E%c%02d", exp10 < 0 ? '-' : '+', std::abs(exp10));
        out += eb;
        return out;
    }
    if (exp10 < 0) {
        out += "0";
        out += sep;
        out += std::string(-exp10 - 1, '0') + digits;
        return out;
    }
    if (static_cast<int>(digits.size()) <= exp10 + 1) {
        out += digits + std::string(exp10 + 1 - digits.size(), '0');
    } else {
        out += digits.substr(0, exp10 + 1);
        out += sep;
        out += digits.substr(exp10 + 1);
    }
    return out;
}

int64_t Round(double value) {
    return static_cast<int64_t>(std::nearbyint(value));  // default mode: to nearest even
}

bool TryStrToFloat(const std::string& text, double& value) {
    // Only a written number counts: [sign] digits [separator digits] [E [sign] digits],
    // with a digit on one side of the separator at least. Words such as "nan" or
    // "inf" are no numbers to a user.
    const std::string s = TrimBlanks(text);
    const char sep = FormatSettings().DecimalSeparator;
    auto isDigit = [](char ch) { return ch >= '0' && ch <= '9'; };
    std::string c;  // the number with '.' as separator, for from_chars
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        c += s[i++] == '-' ? "-" : "";
    size_t mantissaDigits = 0;
    for (; i < s.size() && isDigit(s[i]); ++i, ++mantissaDigits)
        c += s[i];
    if (i < s.size() && s[i] == sep) {
        c += '.';
        for (++i; i < s.size() && isDigit(s[i]); ++i, ++mantissaDigits)
            c += s[i];
    }
    if (mantissaDigits == 0)
        return false;
    if (c.back() == '.')
        c += '0';
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        c += s[i++];
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            c += s[i++];
        size_t exponentDigits = 0;
        for (; i < s.size() && isDigit(s[i]); ++i, ++exponentDigits)
            c += s[i];
        if (exponentDigits == 0)
            return false;
    }
    if (i != s.size())
        return false;
    double v = 0;
    auto res = std::from_chars(c.data(), c.data() + c.size(), v, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != c.data() + c.size())
        return false;
    value = v;
    return true;
}

double StrToFloat(const std::string& text) {
    double v;
    if (!TryStrToFloat(text, v))
        throw EConvertError("'" + text + "' is not a valid floating point value");
    return v;
}

bool TryStrToInt(const std::string& text, int64_t& value) {
    std::string s = TrimBlanks(text);
    if (s.empty())
        return false;
    bool negative = false;
    size_t i = 0;
    if (s[i] == '+' || s[i] == '-') {
        negative = s[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size())
        return false;
    uint64_t v = 0;
    auto res = std::from_chars(s.data() + i, s.data() + s.size(), v, base);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size())
        return false;
    if (v > (negative ? 0x8000000000000000ull : 0x7FFFFFFFFFFFFFFFull))
        return false;
    value = negative ? static_cast<int64_t>(0 - v) : static_cast<int64_t>(v);
    return true;
}

int64_t StrToInt(const std::string& text) {
    int64_t v;
    if (!TryStrToInt(text, v))
        throw EConvertError("'" + text + "' is not a valid integer value");
    return v;
}

int64_t StrToIntDef(const std::string& text, int64_t fallback) {
    int64_t v;
    return TryStrToInt(text, v) ? v : fallback;
}

std::string IntToStr(int64_t value) { return std::to_string(value); }

} // namespace zeko
