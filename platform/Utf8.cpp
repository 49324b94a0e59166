#include "platform/Utf8.h"

#include <locale.h>
#include <wctype.h>

namespace zeko {
namespace {

// The length of the sequence that starts with `lead`, or 0 for no lead byte.
size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 0;
}

locale_t UnicodeCType() {
    static const locale_t loc = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return loc;
}

} // namespace

std::u32string Utf8ToUtf32(const std::string& text) {
    std::u32string out;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t n = SequenceLength(lead);
        bool whole = n > 0 && i + n <= text.size();
        char32_t c = n == 1 ? lead : n == 2 ? (lead & 0x1F) : n == 3 ? (lead & 0x0F) : (lead & 0x07);
        for (size_t k = 1; whole && k < n; ++k) {
            const auto b = static_cast<unsigned char>(text[i + k]);
            whole = (b & 0xC0) == 0x80;
            c = (c << 6) | (b & 0x3F);
        }
        if (!whole) {
            out += static_cast<char32_t>(lead);
            ++i;
            continue;
        }
        out += c;
        i += n;
    }
    return out;
}

std::string Utf32ToUtf8(const std::u32string& text) {
    std::string out;
    for (char32_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

char32_t LowerChar(char32_t c) {
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
    const locale_t loc = UnicodeCType();
    return loc ? static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), loc)) : c;
}

char32_t UpperChar(char32_t c) {
    if (c < 0x80)
        return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c;
    const locale_t loc = UnicodeCType();
    return loc ? static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), loc)) : c;
}

std::u32string LowerText(std::u32string text) {
    for (char32_t& c : text)
        c = LowerChar(c);
    return text;
}

} // namespace zeko
