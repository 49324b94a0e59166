// UTF-8 texts as characters, and the lower case of Czech letters.
#include "platform/Utf8.h"

#include <gtest/gtest.h>

using namespace zeko;

TEST(Utf8, CharactersGoBothWays) {
    const std::string czech = "Příliš žluťoučký kůň";
    const std::u32string chars = Utf8ToUtf32(czech);
    EXPECT_EQ(chars.size(), 20u);
    EXPECT_EQ(chars[1], U'ř');
    EXPECT_EQ(Utf32ToUtf8(chars), czech);
    EXPECT_EQ(Utf32ToUtf8(U"€𝄞"), "€𝄞");
}

TEST(Utf8, ABrokenSequenceKeepsItsBytes) {
    // A lone lead byte and a stray continuation byte each stand for themselves.
    EXPECT_EQ(Utf8ToUtf32(std::string("a\xC5") + "b"), (std::u32string{U'a', 0xC5, U'b'}));
    EXPECT_EQ(Utf8ToUtf32("\x80"), std::u32string(1, 0x80));
    EXPECT_EQ(Utf8ToUtf32(std::string("\xC5", 1)), std::u32string(1, 0xC5));
}

TEST(Utf8, LowerCaseKnowsCzechLetters) {
    EXPECT_EQ(LowerText(U"BŘEZEN Červen ŽÁÉÍÓÚŮÝČĎĚŇŠŤ 12."), U"březen červen žáéíóúůýčďěňšť 12.");
    EXPECT_EQ(LowerChar(U'Q'), U'q');
    EXPECT_EQ(LowerChar(U'7'), U'7');
}
