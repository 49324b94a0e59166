#include "core/PowerFactor.h"

#include <gtest/gtest.h>

using namespace zeko;

TEST(PowerFactor, SignedCosPhi) {
    EXPECT_DOUBLE_EQ(SignedCosPhi(3, 4, 0), 0.6);
    EXPECT_DOUBLE_EQ(SignedCosPhi(3, 0, 4), 1.0);  // C counts as 0 when B is 0
    EXPECT_DOUBLE_EQ(SignedCosPhi(3, 1, 5), -0.6);
    EXPECT_DOUBLE_EQ(SignedCosPhi(0, 0, 0), 1.0);
    EXPECT_DOUBLE_EQ(SignedCosPhi(3, -4, 0), -0.6);  // a live value that is negative
    EXPECT_DOUBLE_EQ(SignedCosPhi(0, 5, 0), 0.0);
    EXPECT_DOUBLE_EQ(SignedCosPhi(3, 4, 4), 1.0);
}

TEST(PowerFactor, CosPhiIgnoresTheThirdValue) {
    EXPECT_DOUBLE_EQ(CosPhi(3, 4, 100), 0.6);
    EXPECT_DOUBLE_EQ(CosPhi(3, -4, 0), 0.6);
    EXPECT_DOUBLE_EQ(CosPhi(0, 0, 9), 1.0);
}

TEST(PowerFactor, EveryCosPhiCodeComesBackFromItsValue) {
    for (int code = 0; code <= 255; ++code) {
        const double value = CosPhiFromByte(static_cast<uint8_t>(code));
        const double expected = code <= 128 ? (code + 872) / 1000.0 : (code - 1128) / 1000.0;
        EXPECT_DOUBLE_EQ(value, expected) << code;
        EXPECT_EQ(CosPhiToByte(value), code) << code;
        EXPECT_EQ(value > 0, code <= 128) << code;
    }
    EXPECT_EQ(CosPhiToByte(0.95), 78);
    EXPECT_EQ(CosPhiToByte(0.9504), 78);  // the nearest thousandth
    EXPECT_EQ(CosPhiToByte(0.9996), 128);
}

TEST(PowerFactor, AValueOutsideTheCodeRangesKeepsItsSign) {
    struct Case {
        double value;
        int code;
    };
    for (const Case& c : {Case{1.1, 128}, Case{1.0005, 128}, Case{1e9, 128}, Case{0.5, 0}, Case{0.0004, 0},
                          Case{0.0, 129}, Case{-0.0004, 255}, Case{-0.5, 255}, Case{-1.0, 129}, Case{-1.1, 129},
                          Case{-1e9, 129}}) {
        EXPECT_EQ(CosPhiToByte(c.value), c.code) << c.value;
        if (c.value != 0) {
            EXPECT_EQ(CosPhiFromByte(CosPhiToByte(c.value)) > 0, c.value > 0) << c.value;
        }
    }
}
