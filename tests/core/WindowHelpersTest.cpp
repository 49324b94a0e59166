#include "core/ProgramGlobals.h"
#include "core/WindowHelpers.h"
#include "core/ZekoMessages.h"
#include "platform/MainThread.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zeko;

namespace {
struct Recorder : MessageTarget {
    explicit Recorder(const char* name) : MessageTarget(name) {}
    void HandleMessage(const TMessage& m) override { got.push_back(m); }
    std::vector<TMessage> got;
};
} // namespace

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

TEST(ProgramGlobals, NamesAreCutByCharactersNotBytes) {
    EXPECT_EQ(LimitLength("Směna ranní odpolední noční", 20), "Směna ranní odpoledn");
    EXPECT_EQ(LimitLength("Směna 1", 20), "Směna 1");
    EXPECT_EQ(LimitLength("ŠŠŠ", 2), "ŠŠ");
    EXPECT_EQ(LimitLength("abcdefghijklmnopqrstuvwxy", 20), "abcdefghijklmnopqrst");
    EXPECT_EQ(ShiftNames[2], "Směna 2");
    EXPECT_EQ(TariffAbbrevs[3], "T3");
}
