#include "platform/Cp1250.h"

#include <cerrno>
#include <iconv.h>
#include <mutex>

namespace zeko {
namespace {

// iconv descriptors keep state; one per direction, used under a lock.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    // Converts `in`; a sequence that cannot be converted goes through `replace`,
    // which gives its output and the number of input bytes it stands for.
    template <typename Replace>
    std::string Run(const std::string& in, Replace replace) {
        std::lock_guard<std::mutex> lock(mutex_);
        std::string out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char buf[1024];
        while (srcLeft > 0) {
            char* dst = buf;
            size_t dstLeft = sizeof buf;
            const size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buf, dst - buf);
            if (r == static_cast<size_t>(-1)) {
                if (errno == E2BIG)
                    continue;
                size_t n = 1;
                out += replace(src, srcLeft, n);
                if (n > srcLeft)
                    n = srcLeft;
                src += n;
                srcLeft -= n;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

private:
    iconv_t cd_;
    std::mutex mutex_;
};

// Length of the character at `p` when it is well-formed UTF-8, else 1.
size_t Utf8Length(const char* p, size_t left) {
    const unsigned char lead = static_cast<unsigned char>(*p);
    size_t n = 1;
    if (lead >= 0xC2 && lead <= 0xDF) n = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) n = 3;
    else if (lead >= 0xF0 && lead <= 0xF4) n = 4;
    if (n > left)
        return 1;
    for (size_t i = 1; i < n; ++i)
        if ((static_cast<unsigned char>(p[i]) & 0xC0) != 0x80)
            return 1;
    return n;
}

// The five bytes Windows-1250 leaves unassigned stand for the control characters
// of the same number, both ways, as Windows converts them; so a file's foreign
// bytes come back as they were when it is written again.
bool IsUnassigned(unsigned char b) {
    return b == 0x81 || b == 0x83 || b == 0x88 || b == 0x90 || b == 0x98;
}

bool IsAscii(const std::string& s) {
    for (unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

} // namespace

std::string Utf8ToCp1250(const std::string& utf8) {
    if (IsAscii(utf8))
        return utf8;
    static Converter conv("WINDOWS-1250", "UTF-8");
    return conv.Run(utf8, [](const char* p, size_t left, size_t& used) {
        const auto second = left >= 2 ? static_cast<unsigned char>(p[1]) : 0;
        if (static_cast<unsigned char>(p[0]) == 0xC2 && IsUnassigned(second)) {
            used = 2;
            return std::string(1, static_cast<char>(second));
        }
        used = Utf8Length(p, left);
        return std::string("?");
    });
}

std::string Cp1250ToUtf8(const std::string& cp1250) {
    if (IsAscii(cp1250))
        return cp1250;
    static Converter conv("UTF-8", "WINDOWS-1250");
    return conv.Run(cp1250, [](const char* p, size_t, size_t& used) {
        used = 1;
        if (IsUnassigned(static_cast<unsigned char>(*p)))
            return std::string("\xC2") + *p;
        return std::string("\xEF\xBF\xBD");
    });
}

} // namespace zeko
