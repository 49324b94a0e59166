#include "core/PollingList.h"

#include "platform/TickClock.h"

#include <gtest/gtest.h>

using namespace zeko;

namespace {
struct ManualClock : ::testing::Test {
    void SetUp() override { SetTickSource(&clock); }
    void TearDown() override { SetTickSource(nullptr); }
    ManualTickSource clock{1000};
};
} // namespace

TEST_F(ManualClock, TheItemComesWhenTheIntervalHasPassedAndStaysUntilNext) {
    TMyExtList list;
    list.AddItem(LiveValuesPollItem);
    list.SetInterval(450);
    TPollItem item{};
    clock.Advance(449);
    EXPECT_EQ(list.CurrentItem(item), -1);
    EXPECT_EQ(item.Address, 0);  // nothing copied
    clock.Advance(1);
    ASSERT_NE(list.CurrentItem(item), -1);
    EXPECT_EQ(item.Source, 63);
    EXPECT_EQ(item.Destination, 8);
    EXPECT_EQ(item.Write, 0);
    EXPECT_EQ(item.Mode, 0);
    EXPECT_EQ(item.Count, 16);
    EXPECT_EQ(item.Address, 0xFF00);
    clock.Advance(5000);
    EXPECT_NE(list.CurrentItem(item), -1);  // again and again until Next
    EXPECT_NE(list.Current(), -1);
    list.Next();
    EXPECT_EQ(list.CurrentIndex, 0);  // one item: the index stays
    EXPECT_EQ(list.Current(), -1);
    clock.Advance(450);
    EXPECT_NE(list.Current(), -1);
}

TEST_F(ManualClock, AnEmptyListAnswersNothing) {
    TMyExtList list;
    EXPECT_EQ(list.Current(), -1);
    list.SetInterval(0);
    TPollItem item;
    EXPECT_EQ(list.CurrentItem(item), -1);
    list.AddItem(LiveValuesPollItem);
    EXPECT_EQ(list.Current(), 0);  // no interval
    list.ClearItems();
    EXPECT_EQ(list.Current(), -1);
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(ManualClock, ItemsAreTakenInTurn) {
    TMyExtList list;
    for (uint16_t a : {0x10, 0x20, 0x30})
        list.AddItem({63, 8, 0, 0, 2, a});
    TPollItem item;
    std::vector<uint16_t> seen;
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(list.CurrentItem(item), -1);
        seen.push_back(item.Address);
        list.Next();
    }
    EXPECT_EQ(seen, (std::vector<uint16_t>{0x10, 0x20, 0x30, 0x10}));
    list.SetIndex(2);
    EXPECT_EQ(list.CurrentIndex, 2);
    list.SetIndex(3);
    EXPECT_EQ(list.CurrentIndex, 0);
    list.SetIndex(-5);
    EXPECT_EQ(list.CurrentIndex, 0);
}

TEST_F(ManualClock, TheIntervalHoldsAcrossTheWrapOfTheTickCounter) {
    clock.Set(0xFFFFFF00u);
    TMyExtList list;
    list.AddItem(LiveValuesPollItem);
    list.SetInterval(450);
    clock.Advance(300);  // past 0
    EXPECT_EQ(list.Current(), -1);
    clock.Advance(150);
    EXPECT_EQ(list.Current(), 0);
}
