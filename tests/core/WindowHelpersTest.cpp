#include "core/ProgramGlobals.h"
#include "core/WindowHelpers.h"
#include "core/ZekoMessages.h"
#include "platform/MainThread.h"

#include "support/MessageRecorder.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zeko;

using Recorder = zeko::test::MessageRecorder;

TEST(WindowHelpers, PostToWindowFindsTheWindowByClass) {
    PumpedMainThread queue;
    SetMainThread(&queue);
    EXPECT_FALSE(PostToWindow(MainWindowClass, WM_SHOW_DAY_TABLE, 0, 0));
    {
        Recorder main(MainWindowClass);
        EXPECT_TRUE(PostToWindow("THlavniForm", WM_SHOW_DAY_TABLE, 45383, 2));
        queue.Pump();
        ASSERT_EQ(main.got.size(), 1u);
        EXPECT_EQ(main.got[0].Msg, 1426u);
        EXPECT_EQ(main.got[0].WParam, 45383u);
        EXPECT_EQ(main.got[0].LParam, 2);
    }
    EXPECT_EQ(WM_ONLINE_REFRESH, 1424u);
    EXPECT_EQ(WM_SHOW_ARCHIVE, 1432u);
    SetMainThread(nullptr);
}

TEST(WindowHelpers, LayoutWidthFollowsTheMainWindow) {
    const int saved = WindowWidth;
    WindowWidth = 899;
    EXPECT_EQ(LayoutWidth(), 800);
    WindowWidth = 900;
    EXPECT_EQ(LayoutWidth(), 1024);
    WindowWidth = saved;
    EXPECT_EQ(LayoutWidth(), 1024);  // the default width 1023
}

TEST(ProgramGlobals, DefaultNames) {
    EXPECT_EQ(ShiftNames[2], "Směna 2");
    EXPECT_EQ(TariffAbbrevs[3], "T3");
    EXPECT_EQ(ProgramVersion, "0.90beta14");
}
