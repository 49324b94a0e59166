#include "core/RecordMemory.h"

#include <gtest/gtest.h>

using namespace zeko;

TEST(RecordAddress, NineteenRecordsOfTwentySevenBytesPerPageOf528) {
    EXPECT_EQ(RecordAddress(0), 0u);
    EXPECT_EQ(RecordAddress(18), 486u);
    EXPECT_EQ(RecordAddress(19), 528u);
    EXPECT_EQ(RecordAddress(2358), 0xFFF6u);
    EXPECT_EQ(RecordAddress(2359), 0x10011u);
    EXPECT_EQ(RecordAddress(RingRecords - 1), 3964u * 528 + 8 * 27);
}

TEST(Ring, DistancesWrapAndTheAddressBytesOfRegister0113) {
    EXPECT_EQ(RingDistance(75320, 5), 10u);
    EXPECT_EQ(RingDistance(100, 100), 75325u);
    EXPECT_EQ(RingDistance(10, 12), 2u);
    EXPECT_EQ(NextRingIndex(75324), 0u);
    EXPECT_EQ(PreviousRingIndex(0), 75324u);
    EXPECT_EQ(RecordAddress(2358), 0xFFF6u);
    EXPECT_EQ(RecordAddress(2359), 0x10011u);
    EXPECT_EQ(AddressHighByte(RecordAddress(2358)), 0);
    EXPECT_EQ(AddressHighByte(RecordAddress(2359)), 1);
}
