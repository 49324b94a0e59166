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
