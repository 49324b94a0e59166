#include "platform/Cp1250.h"

#include <gtest/gtest.h>

using namespace zeko;

TEST(Cp1250, CzechTextsRoundTrip) {
    const std::string text = "Daný sériový port neexistuje nebo se právě používá ! Směna Žluťoučký kůň";
    const std::string bytes = Utf8ToCp1250(text);
    EXPECT_EQ(bytes.size(), 72u);  // one byte a character
    EXPECT_EQ(static_cast<unsigned char>(Utf8ToCp1250("ě")[0]), 0xEC);
    EXPECT_EQ(static_cast<unsigned char>(Utf8ToCp1250("Ž")[0]), 0x8E);
    EXPECT_EQ(static_cast<unsigned char>(Utf8ToCp1250("°")[0]), 0xB0);
    EXPECT_EQ(Cp1250ToUtf8(bytes), text);
}

TEST(Cp1250, WhatHasNoFormIsReplaced) {
    EXPECT_EQ(Utf8ToCp1250("a€b"), std::string("a\x80" "b"));
    EXPECT_EQ(Utf8ToCp1250("a\xE2\x88\x9E" "b"), "a?b");       // infinity sign
    EXPECT_EQ(Utf8ToCp1250("a\xFF" "b"), "a?b");                // broken UTF-8
}

TEST(Cp1250, EveryByteComesBackAsItWas) {
    // A file saved as UTF-8 by another editor holds bytes Windows-1250 leaves
    // unassigned ("ň" is C5 88, "Ř" C5 98); writing it again must keep them.
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(all)), all);
    EXPECT_EQ(Cp1250ToUtf8("a\x98" "b"), "a\xC2\x98" "b");
    EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8("k\xC5\x88\xC5\x98")), "k\xC5\x88\xC5\x98");
}
