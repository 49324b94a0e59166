// The writes that change the regulator, in-process against the simulated
// regulator's station (ConversationRig.h): the settings write, the clock set and
// the reset of the record positions.
#include "core/BinaryData.h"
#include "core/TextHelpers.h"
#include "tests/app/ConversationRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

using namespace zeko;
using namespace zeko::test;

namespace {

// A reply taken apart as the telegram it answers.
std::string AsSent(const Bytes& reply) {
    Bytes framed = reply;
    framed.insert(framed.begin(), tlg::LeadByte);
    return Describe(framed);
}

// Writes of the settings groups, in the order they went out.
std::vector<std::string> Writes(const Rig& rig, size_t from) {
    std::vector<std::string> out;
    for (const std::string& r : rig.Requests(from))
        if (r[0] == 'W')
            out.push_back(r);
    return out;
}

bool Polled(const Rig& rig, size_t from, size_t to = SIZE_MAX) {
    for (size_t i = from; i < std::min(to, rig.wire.size()); ++i)
        if (Describe(rig.wire[i]) == LiveValuesRead)
            return true;
    return false;
}

// No live values were asked for between the first and the last write from `from`.
bool PolledDuringTheWrite(const Rig& rig, size_t from) {
    size_t last = from;
    for (size_t i = from; i < rig.wire.size(); ++i)
        if (Describe(rig.wire[i])[0] == 'W')
            last = i;
    return Polled(rig, from, last);
}

// The edited settings, starting from the regulator's state.
TZEKO& EditFromState(TConversation& c) {
    c.State().AssignTo(c.Edited());
    return c.Edited();
}

// The write from `from` has ended, without polling in between, and says so.
void ExpectWriteEnded(const Rig& rig, size_t from) {
    EXPECT_FALSE(PolledDuringTheWrite(rig, from));  // the polling waits for the write
    EXPECT_FALSE(rig.conversation.SettingsWriteRunning());
    EXPECT_FALSE(rig.host.write.Shown);
    EXPECT_EQ(rig.host.writesEnded, 1);
    EXPECT_TRUE(rig.conversation.UnwrittenGroups().empty());
    EXPECT_EQ(rig.host.statuses.back(), "Nastavení regulátoru zapsáno");
}

} // namespace

TEST(ConversationWrite, AChangedFaultDelayGoesToBothPlacesAndIsTakenAsConfirmed) {
    Rig rig;
    rig.StartUp();
    TConversation& c = rig.conversation;
    EditFromState(c).FaultDelay = 42;
    const size_t before = rig.wire.size();
    ASSERT_TRUE(c.WriteChangedSettings());
    EXPECT_TRUE(c.SettingsWriteRunning());
    EXPECT_TRUE(rig.host.write.Shown);
    EXPECT_EQ(rig.host.write.Text, "Zapisuje se nastavení regulátoru...");
    rig.Tick();
    EXPECT_EQ(rig.Requests(before), (std::vector<std::string>{Write(0, 0x0E97, {42}), Write(1, 0x0097, {42})}));
    ExpectWriteEnded(rig, before);
    EXPECT_EQ(c.State().FaultDelay, 42);
    EXPECT_EQ(rig.memory.Read(0, 0x0E97, 1), Bytes{42});
    EXPECT_EQ(rig.memory.Read(1, 0x0097, 1), Bytes{42});
    EXPECT_EQ(c.Link().QueueCount(), 0);
    // Polling comes back with the next send-timer tick.
    const size_t written = rig.wire.size();
    rig.Tick();
    EXPECT_TRUE(Polled(rig, written));
    // Nothing left to write.
    EditFromState(c);
    EXPECT_FALSE(c.WriteChangedSettings());
    EXPECT_FALSE(c.SettingsWriteRunning());
}

TEST(ConversationWrite, ALostAcknowledgementIsRepeatedByTheSendTimerAndTheWriteEnds) {
    Rig rig;
    rig.StartUp();
    TConversation& c = rig.conversation;
    EditFromState(c).OutputCount = 8;
    const size_t before = rig.wire.size();
    ASSERT_TRUE(c.WriteChangedSettings());
    // The first acknowledgement of the settings area's write is lost on the line.
    bool lost = false;
    rig.Tick(500, [&](const Bytes& reply) {
        if (lost || AsSent(reply) != Write(0, 0x0E08, {7}))
            return false;
        return lost = true;
    });
    ASSERT_TRUE(lost);
    EXPECT_TRUE(c.SettingsWriteRunning());
    EXPECT_TRUE(rig.host.write.Shown);
    EXPECT_EQ(c.State().OutputCount, 12);
    rig.Tick();
    EXPECT_EQ(Writes(rig, before), (std::vector<std::string>{Write(0, 0x0E08, {7}), Write(0, 0x0E08, {7}),
                                                             Write(1, 0x0008, {7})}));
    ExpectWriteEnded(rig, before);
    EXPECT_EQ(c.State().OutputCount, 8);
    EXPECT_EQ(rig.memory.Read(1, 0x0008, 1), Bytes{7});
}

// The regulator falls silent after some replies: the state keeps the groups it took
// (as they were queued, whatever the edit does meanwhile). The user then cuts the
// write short (closing the program, changing the port). A group counts as written
// once its twin among the working registers is acknowledged too.
TEST(ConversationWrite, AnInterruptedWriteKeepsWhatTheRegulatorTookAndACutNamesTheRest) {
    struct Case {
        int replies;  // before the silence
        std::vector<std::string> unwritten;
        uint8_t bandHigh, faultDelay;  // as the state takes them
    };
    const Case cases[] = {
        {0, {"1. pásmo necitlivosti", "zpoždění poruchy"}, 118, 10},
        {1, {"1. pásmo necitlivosti", "zpoždění poruchy"}, 120, 10},  // the settings area only
        {2, {"zpoždění poruchy"}, 120, 10},
        {3, {"zpoždění poruchy"}, 120, 42},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.replies);
        Rig rig;
        rig.StartUp();
        TConversation& c = rig.conversation;
        TZEKO& edited = EditFromState(c);
        edited.BandHigh = 120;
        edited.FaultDelay = 42;
        ASSERT_TRUE(c.WriteChangedSettings());
        edited.BandHigh = 1;
        int replies = 0;
        rig.Tick(500, [&](const Bytes&) { return ++replies > k.replies; });
        ASSERT_TRUE(c.SettingsWriteRunning());
        EXPECT_EQ(c.State().BandHigh, k.bandHigh);
        EXPECT_EQ(c.State().FaultDelay, k.faultDelay);
        EXPECT_EQ(c.UnwrittenGroups(), k.unwritten);
        EXPECT_EQ(rig.host.writesEnded, 0);

        c.AbandonSettingsWrite();
        EXPECT_FALSE(c.SettingsWriteRunning());
        EXPECT_FALSE(rig.host.write.Shown);
        EXPECT_EQ(rig.host.writesEnded, 1);
        EXPECT_EQ(rig.host.statuses.back(), "Zápis nastavení regulátoru přerušen, nezapsáno: " + Joined(k.unwritten, ", "));
        EXPECT_TRUE(c.UnwrittenGroups().empty());
        EXPECT_EQ(c.State().BandHigh, k.bandHigh);
        EXPECT_EQ(c.State().FaultDelay, k.faultDelay);
        // The regulator answers again: the polling goes on, and no write goes out.
        const size_t cut = rig.wire.size();
        rig.Tick();
        rig.Tick();
        EXPECT_TRUE(Polled(rig, cut));
        EXPECT_TRUE(Writes(rig, cut).empty());
        EXPECT_EQ(c.State().FaultDelay, k.faultDelay);
    }
}

TEST(ConversationWrite, ARecordReadQueuedBeforeTheWriteDoesNotKeepItRunning) {
    Rig rig;
    FillRing(rig.memory, 0, 5);
    rig.StartUp();
    TConversation& c = rig.conversation;
    rig.host.onStep = [&](TProgressKind kind) {
        if (kind != TProgressKind::Download || rig.host.download.Done != 2)
            return;
        // A settings write confirmed in the middle of a download.
        EditFromState(c).FaultDelay = 42;
        ASSERT_TRUE(c.WriteChangedSettings());
    };
    c.RequestDownload();
    rig.Tick();
    rig.Tick();
    EXPECT_FALSE(c.SettingsWriteRunning());
    EXPECT_EQ(rig.host.statuses.back(), "Nastavení regulátoru zapsáno");
    ASSERT_EQ(rig.host.saves.size(), 1u);
    EXPECT_EQ(rig.host.saves[0].size(), 5u);
    SaveAndFinish(rig);
    EXPECT_EQ(rig.memory.Pointers().OldestUnread, 5u);
}

TEST(ConversationWrite, TheClockIsSetFromThePcClockAndReadBack) {
    Rig rig;
    rig.StartUp();
    TConversation& c = rig.conversation;
    c.PcClock = [] { return EncodeDate(2007, 3, 5) + EncodeTime(14, 3, 9); };  // a Monday
    const size_t before = rig.wire.size();
    c.SetRegulatorClock();
    rig.Run();
    EXPECT_EQ(rig.Requests(before), (std::vector<std::string>{Write(1, 0xFF00, {0x09, 0x03, 0x14, 0x05, 0x03, 0x01, 0x07}),
                                                              TableRead(1, reg8::Clock)}));
    EXPECT_EQ(rig.host.statuses.back(), "Datum a čas regulátoru nastaven podle PC");
    EXPECT_EQ(DecodeDate(c.State().ClockDate).Year, 2007);
    EXPECT_EQ(c.State().ClockWeekday, 1);
    EXPECT_NEAR(ToSeconds(rig.memory.Clock()), ToSeconds(EncodeDate(2007, 3, 5) + EncodeTime(14, 3, 9)), 2);
    EXPECT_EQ(c.Link().QueueCount(), 0);
}

TEST(ConversationWrite, TheResetZeroesThePointersSoTheNextDownloadFindsNothing) {
    Rig rig;
    FillRing(rig.memory, 200, 30);
    rig.StartUp();
    TConversation& c = rig.conversation;
    const size_t before = rig.wire.size();
    ASSERT_EQ(c.ResetRecordPositions(), TResetRefusal::None);
    rig.Tick();
    EXPECT_EQ(rig.Requests(before), (std::vector<std::string>{Write(0, 0x0E79, Bytes(7, 0)), Write(1, 0x0079, Bytes(7, 0))}));
    EXPECT_EQ(rig.host.statuses.back(), "Pozice záznamů nulována");
    EXPECT_EQ(rig.memory.Pointers().Newest, 0u);
    EXPECT_EQ(rig.memory.Pointers().OldestUnread, 0u);
    EXPECT_EQ(rig.memory.Pointers().Flag, 0);
    c.RequestDownload();
    rig.Tick();
    EXPECT_FALSE(c.DownloadRunning());
    EXPECT_TRUE(rig.host.saves.empty());
    EXPECT_EQ(rig.host.download.Steps, 0);
}

TEST(ConversationWrite, TheResetIsRefusedDuringADownloadAndWhileTheConversationIsClosed) {
    Rig closed;
    EXPECT_EQ(closed.conversation.ResetRecordPositions(), TResetRefusal::NotOpen);
    EXPECT_EQ(closed.conversation.Link().QueueCount(), 0);

    Rig cancelled;
    cancelled.conversation.OpenConversation();
    cancelled.conversation.CancelSettingsRead();
    EXPECT_EQ(cancelled.conversation.ResetRecordPositions(), TResetRefusal::NotOpen);
    EXPECT_EQ(cancelled.conversation.Link().QueueCount(), 0);

    Rig rig;
    FillRing(rig.memory, 0, 5);
    rig.StartUp();
    TResetRefusal during = TResetRefusal::None;
    rig.host.onStep = [&](TProgressKind) {
        if (rig.host.download.Done == 1)
            during = rig.conversation.ResetRecordPositions();
    };
    rig.conversation.RequestDownload();
    rig.Tick();
    EXPECT_EQ(during, TResetRefusal::DownloadRunning);
    for (const std::string& r : rig.Requests(0))
        EXPECT_NE(r.substr(0, 7), "W0 0E79");
}
