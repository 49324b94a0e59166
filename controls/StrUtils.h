#pragma once
// String helpers of the controls. Positions are 1-based character positions, as the
// class library counts them; a text is a string of 8-bit characters.
#include <bitset>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace zeko {

// A set of 8-bit characters.
class TCharSet {
public:
    TCharSet() = default;
    TCharSet(std::initializer_list<char> chars) {
        for (char c : chars)
            Include(c);
    }
    void Include(char c) { bits_.set(static_cast<uint8_t>(c)); }
    bool Contains(char c) const { return bits_.test(static_cast<uint8_t>(c)); }

private:
    std::bitset<256> bits_;
};

// Every character of the text is in the set (true for an empty text).
bool AllCharsIn(const std::string& text, const TCharSet& chars);
// Every occurrence of `search`, found left to right in the part not yet searched,
// replaced; a replacement is never searched again. An empty search text changes
// nothing.
std::string ReplaceAll(const std::string& text, const std::string& search, const std::string& replacement);
// `count` copies of the character; empty for a count below 1.
std::string RepeatChar(char c, int count);
// Words are maximal runs of characters outside `delimiters`. The position of the
// first character of the n-th word, or 0 when n < 1 or there are fewer words.
int WordStart(int n, const std::string& text, const TCharSet& delimiters);
// The n-th word, or an empty text when there is none.
std::string WordAt(int n, const std::string& text, const TCharSet& delimiters);
// The n-th word as a decimal integer; the fallback when it is missing or no integer.
int WordAsInteger(int n, const std::string& text, const TCharSet& delimiters, int fallback);

} // namespace zeko
