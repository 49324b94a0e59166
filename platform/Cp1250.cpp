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
    // Converts `in`; a sequence that cannot be converted is replaced by
    // `replacement` and skipped by `skip` input bytes.
    std::string Run(const std::string& in, const std::string& replacement, size_t skip) {
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
                out += replacement;
                size_t n = skip ? skip : Utf8Length(src, srcLeft);
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
    // Length of the character at `p` when it is well-formed UTF-8, else 1.
    static size_t Utf8Length(const char* p, size_t left) {
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
    iconv_t cd_;
    std::mutex mutex_;
};

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
    return conv.Run(utf8, "?", 0);
}

std::string Cp1250ToUtf8(const std::string& cp1250) {
    if (IsAscii(cp1250))
        return cp1250;
    static Converter conv("UTF-8", "WINDOWS-1250");
    return conv.Run(cp1250, "\xEF\xBF\xBD", 1);
}

} // namespace zeko
