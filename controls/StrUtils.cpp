#include "controls/StrUtils.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace zeko {

bool AllCharsIn(const std::string& text, const TCharSet& chars) {
    for (char c : text)
        if (!chars.Contains(c))
            return false;
    return true;
}

std::string ReplaceAll(const std::string& text, const std::string& search, const std::string& replacement) {
    if (search.empty())
        return text;
    std::string result;
    size_t from = 0;
    for (size_t at = text.find(search); at != std::string::npos; at = text.find(search, from)) {
        result.append(text, from, at - from);
        result += replacement;
        from = at + search.size();
    }
    result.append(text, from, std::string::npos);
    return result;
}

std::string RepeatChar(char c, int count) { return count < 1 ? std::string() : std::string(static_cast<size_t>(count), c); }

int WordStart(int n, const std::string& text, const TCharSet& delimiters) {
    if (n < 1)
        return 0;
    int words = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool starts = !delimiters.Contains(text[i]) && (i == 0 || delimiters.Contains(text[i - 1]));
        if (starts && ++words == n)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

std::string WordAt(int n, const std::string& text, const TCharSet& delimiters) {
    const int start = WordStart(n, text, delimiters);
    if (start == 0)
        return {};
    size_t end = static_cast<size_t>(start) - 1;
    while (end < text.size() && !delimiters.Contains(text[end]))
        ++end;
    return text.substr(static_cast<size_t>(start) - 1, end - (static_cast<size_t>(start) - 1));
}

int WordAsInteger(int n, const std::string& text, const TCharSet& delimiters, int fallback) {
    const std::string word = WordAt(n, text, delimiters);
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(word.c_str(), &end, 10);
    if (word.empty() || *end != '\0' || errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return fallback;
    return static_cast<int>(value);
}

} // namespace zeko
