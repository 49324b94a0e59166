#include "platform/TextScanner.h"

#include "platform/TextFiles.h"

namespace zeko {

bool TTextScanner::DigitAt(size_t pos) const { return pos < s_.size() && s_[pos] >= '0' && s_[pos] <= '9'; }

void TTextScanner::SkipBlanks() {
    while (pos_ < s_.size() && s_[pos_] == ' ')
        ++pos_;
}

bool TTextScanner::AtEnd() {
    SkipBlanks();
    return pos_ >= s_.size();
}

bool TTextScanner::Number(int& value, int* digits, int maxDigits, int stopAt) {
    SkipBlanks();
    int read = 0;
    int v = 0;
    while (DigitAt(pos_) && read < maxDigits && v < stopAt) {
        v = v * 10 + (s_[pos_++] - '0');
        ++read;
    }
    if (digits)
        *digits = read;
    if (read == 0)
        return false;
    value = v;
    return true;
}

bool TTextScanner::Char(char ch) {
    SkipBlanks();
    if (pos_ < s_.size() && s_[pos_] == ch) {
        ++pos_;
        return true;
    }
    return false;
}

bool TTextScanner::Word(const std::string& word) {
    SkipBlanks();
    if (!MatchesNoCaseAt(s_, pos_, word))
        return false;
    pos_ += word.size();
    return true;
}

void TTextScanner::ToNumber() {
    // Bytes of a multi-byte character are never ASCII digits, so a byte at a time
    // steps over them too.
    while (pos_ < s_.size() && !DigitAt(pos_))
        ++pos_;
}

void TTextScanner::SkipWord() {
    while (pos_ < s_.size() && s_[pos_] != ' ')
        ++pos_;
    SkipBlanks();
}

bool TTextScanner::StartsWith(const std::string& word) const { return MatchesNoCaseAt(s_, pos_, word); }

} // namespace zeko
