#include "controls/StrUtils.h"

#include <gtest/gtest.h>

using namespace zeko;

namespace {

const TCharSet SpaceComma{' ', ','};

struct WordCase {
    int n;
    std::string text;
    int start;
    std::string word;
};

} // namespace

TEST(StrUtils, WordsAreRunsBetweenDelimiters) {
    const WordCase cases[] = {
        {1, "10,20 30", 1, "10"},
        {2, "10,20 30", 4, "20"},
        {3, "10,20 30", 7, "30"},
        {4, "10,20 30", 0, ""},      // fewer words
        {0, "10,20 30", 0, ""},      // n below 1
        {-1, "10,20 30", 0, ""},
        {1, " ,,alpha", 4, "alpha"},  // leading delimiters
        {2, "a,, ,b, ", 6, "b"},      // a run of delimiters separates once
        {1, "", 0, ""},
        {1, ", ,", 0, ""},
    };
    for (const WordCase& c : cases) {
        EXPECT_EQ(WordStart(c.n, c.text, SpaceComma), c.start) << c.n << " in \"" << c.text << '"';
        EXPECT_EQ(WordAt(c.n, c.text, SpaceComma), c.word) << c.n << " in \"" << c.text << '"';
    }
}

TEST(StrUtils, ReplaceAllNeverSearchesAReplacementAgain) {
    struct Case {
        std::string text, search, replacement, result;
    };
    const Case cases[] = {
        {"aaa", "aa", "b", "ba"},
        {"12.03.2026", ".", "", "12032026"},
        {"a.b", ".", "..", "a..b"},       // the inserted dots are not replaced again
        {"abc", "", "x", "abc"},          // an empty search text changes nothing
        {"abc", "d", "x", "abc"},
        {"", "a", "x", ""},
        {"xyxy", "xy", "xyxy", "xyxyxyxy"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReplaceAll(c.text, c.search, c.replacement), c.result) << c.text << " / " << c.search;
}

TEST(StrUtils, RepeatCharAndAllCharsIn) {
    EXPECT_EQ(RepeatChar('-', 3), "---");
    EXPECT_EQ(RepeatChar('-', 0), "");
    EXPECT_EQ(RepeatChar('-', -2), "");
    const TCharSet blanks{'\0', ' ', '.', '_'};
    EXPECT_TRUE(AllCharsIn("", blanks));
    EXPECT_TRUE(AllCharsIn(" ._. ", blanks));
    EXPECT_TRUE(AllCharsIn(std::string(1, '\0'), blanks));
    EXPECT_FALSE(AllCharsIn(" .1. ", blanks));
    // Characters above 127 are members like any other.
    TCharSet high;
    high.Include('\xE9');
    EXPECT_TRUE(AllCharsIn("\xE9\xE9", high));
    EXPECT_FALSE(AllCharsIn("\xE9" "e", high));
}
