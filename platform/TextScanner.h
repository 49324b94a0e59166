#pragma once
// Reading typed dates and times left to right: blanks are skipped in front of every
// number, character and word, and a failed read leaves the position where it was.
// Positions are 0-based byte positions in the text.
#include <climits>
#include <cstddef>
#include <string>

namespace zeko {

class TTextScanner {
public:
    explicit TTextScanner(const std::string& text, size_t pos = 0) : s_(text), pos_(pos) {}

    void SkipBlanks();
    // Skips blanks and answers whether the text ends there.
    bool AtEnd();
    // A decimal number: digits are read while fewer than maxDigits were read and
    // the value so far is below stopAt; `digits` tells how many were read.
    bool Number(int& value, int* digits = nullptr, int maxDigits = 4, int stopAt = INT_MAX);
    bool Char(char ch);
    // A word compared without case (ASCII letters).
    bool Word(const std::string& word);
    // Moves on to the next digit, or to the end of the text.
    void ToNumber();
    // Steps over the characters up to the next blank, and the blanks behind them.
    void SkipWord();
    // Whether the text at the position begins with the word, compared without case.
    bool StartsWith(const std::string& word) const;

    const std::string& Text() const { return s_; }
    size_t Pos() const { return pos_; }
    void SetPos(size_t pos) { pos_ = pos; }

private:
    bool DigitAt(size_t pos) const;

    const std::string& s_;
    size_t pos_ = 0;
};

} // namespace zeko
