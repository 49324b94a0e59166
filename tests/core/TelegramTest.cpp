#include "core/Telegram.h"

#include <gtest/gtest.h>

#include <string>

using namespace zeko;

TEST(CheckBytes, Crc8OfTheNineDigitsIsA1) {
    const std::string digits = "123456789";
    EXPECT_EQ(Crc8(reinterpret_cast<const uint8_t*>(digits.data()), digits.size(), 0), 0xA1);
    // The start value carries on: two halves give the same as the whole.
    const auto* d = reinterpret_cast<const uint8_t*>(digits.data());
    EXPECT_EQ(Crc8(d + 4, 5, Crc8(d, 4, 0)), 0xA1);
}

TEST(CheckBytes, SumsAreTwosAndOnesComplements) {
    const uint8_t header[] = {0xA5, 0x08, 0x3F, 0x02};
    EXPECT_EQ(NegatedSum(header, 4), 0x12);
    const uint8_t none[] = {0};
    EXPECT_EQ(NegatedSum(none, 0), 0x00);
    const uint8_t bytes[] = {0x00, 0xFF, 0x01};
    EXPECT_EQ(InvertedSum(bytes, 3), static_cast<uint8_t>(255 + 0 + 254));
    EXPECT_EQ(InvertedSum(none, 0), 0x00);
    const uint8_t checked[] = {0xA5, 0x08, 0x3F, 0x02, 0x12};
    EXPECT_TRUE(SumsToZero(checked, 5));
    EXPECT_FALSE(SumsToZero(checked, 4));
    EXPECT_TRUE(SumsToZero(none, 0));
}

TEST(CheckBytes, FramesPrintAsSpacedUpperCaseHex) {
    const std::vector<uint8_t> frame = {0xA5, 0x08, 0x3F, 0x0A};
    EXPECT_EQ(HexBytes(frame), "A5 08 3F 0A");
    EXPECT_EQ(HexBytes(std::vector<uint8_t>{}), "");
}
