#include "platform/MainThread.h"
#include "platform/WindowMessages.h"

#include "support/MessageRecorder.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace zeko;

using Recorder = zeko::test::MessageRecorder;

TEST(WindowMessages, PostedMessagesArriveInOrderWhenTheQueueIsPumped) {
    PumpedMainThread queue;
    SetMainThread(&queue);
    Recorder main("THlavniForm");
    ASSERT_EQ(FindWindowByClass("THlavniForm"), &main);
    EXPECT_TRUE(PostMessageTo(FindWindowByClass("THlavniForm"), WM_USER + 402, 45000, 1));
    EXPECT_TRUE(PostMessageTo(&main, WM_USER + 403, 45001, 2));
    EXPECT_TRUE(main.got.empty());
    queue.Pump();
    ASSERT_EQ(main.got.size(), 2u);
    EXPECT_EQ(main.got[0].Msg, 1426u);
    EXPECT_EQ(main.got[0].WParam, 45000u);
    EXPECT_EQ(main.got[1].LParam, 2);
    SetMainThread(nullptr);
}

TEST(WindowMessages, NothingReachesAWindowThatHasGone) {
    PumpedMainThread queue;
    SetMainThread(&queue);
    auto day = std::make_unique<Recorder>("TDenniTabulkaForm");
    PostMessageTo(day.get(), WM_USER, 0, 0);
    day.reset();
    EXPECT_EQ(FindWindowByClass("TDenniTabulkaForm"), nullptr);
    EXPECT_EQ(queue.Pump(), 0);
    EXPECT_FALSE(PostMessageTo(FindWindowByClass("TDenniTabulkaForm"), WM_USER, 0, 0));
    SetMainThread(nullptr);
}
