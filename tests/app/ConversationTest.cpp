// The conversation without a window, against the simulated regulator's station
// in-process (ConversationRig.h): the start-up reading, the polling, the record
// download and a regulator that stops answering.
#include "tests/app/ConversationRig.h"

#include "core/BinaryData.h"
#include "platform/Notifier.h"
#include "tools/regsim/SiteLoad.h"
#include "support/PseudoTerminal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace zeko;
using namespace zeko::test;

TEST(Conversation, TheStartUpReadingFillsTheStateAndThenTheLiveValuesArePolled) {
    Rig rig;
    rig.StartUp();

    // The two start-up writes (no reply), then one read per reply.
    ASSERT_GE(rig.wire.size(), 2u);
    EXPECT_EQ(HexBytes(rig.wire[0]), "FF A5 08 3F 05 0F A1 00 00 40 60 BF");
    EXPECT_EQ(HexBytes(rig.wire[1]), "FF A5 08 3F 05 0F A1 01 00 01 D3 8A");
    std::vector<std::string> chain = {TableRead(0, reg8::SettingsByte)};
    for (uint8_t index : {reg8::IdentText1, reg8::IdentText2, reg8::IdentText3, reg8::IdentText4})
        chain.push_back(TableRead(3, index));
    for (uint8_t index : StartupSettingsIndices)
        if (index != reg8::SettingsByte)
            chain.push_back(TableRead(0, index));
    chain.push_back(TableRead(1, reg8::Clock));
    chain.push_back(TableRead(0, reg8::LastSettingsBlock));
    EXPECT_EQ(rig.Requests(2), chain);

    // The state holds what the regulator holds.
    TZEKO& s = rig.conversation.State();
    for (uint8_t index : StartupSettingsIndices)
        EXPECT_EQ(EncodeStartupSettings(RegisterOf(index), s), rig.memory.Read(0, RegisterOf(index), BytesOf(index)))
            << std::hex << RegisterOf(index);
    const TLastBlockBytes block = EncodeLastSettingsBlock(s);
    EXPECT_EQ(Bytes(block.begin(), block.end()), rig.memory.Read(0, Registers::LastBlock, LastBlockBytes));
    EXPECT_EQ(s.InputConstants, (std::array<uint32_t, 4>{100000000, 100000000, 100000000, 100000}));
    EXPECT_EQ(DecodeDate(s.ClockDate).Year, DecodeDate(rig.memory.Clock()).Year);
    EXPECT_EQ(rig.host.idents[1], "ZEKO M7 v2.14  ");
    EXPECT_EQ(rig.host.idents[2], "Výr.č. 000815  ");

    // The progress went through the chain and closed; the settings are read.
    EXPECT_EQ(rig.host.settings.Steps, 16);
    EXPECT_EQ(rig.host.settings.Done, 15);
    EXPECT_FALSE(rig.host.settings.Shown);
    EXPECT_EQ(rig.host.settingsRead, 1);
    EXPECT_EQ(rig.host.statuses, std::vector<std::string>{"Nastavení načteno"});
    EXPECT_EQ(rig.conversation.Phase(), TConversationPhase::Polling);

    // Nothing goes out until the send timer finds the polling due.
    const size_t sent = rig.wire.size();
    rig.conversation.SendTimerTick(500);
    EXPECT_EQ(rig.wire.size(), sent);
    rig.Tick();
    ASSERT_EQ(rig.wire.size(), sent + 1);
    EXPECT_EQ(HexBytes(rig.wire.back()), "FF A5 08 3F 02 12 10 00 FF F1");
    EXPECT_EQ(rig.host.liveValues, 1);
    // The station's site at its clock (the load moves a little from one second to the next).
    EXPECT_NEAR(s.ActivePower, regsim::LoadAt(1, rig.memory.Clock()).Active, 10.0);
    EXPECT_EQ(rig.conversation.Link().QueueCount(), 0);
}

TEST(Conversation, ARequestThatGetsNoReplyGoesOutAgainWithTheSendTimerOnly) {
    Rig rig;
    rig.conversation.OpenConversation();
    int replies = 0;
    rig.Run([&](const Bytes&) { return ++replies > 1; });  // silent after the settings byte
    ASSERT_EQ(rig.wire.size(), 4u);
    const std::string unanswered = HexBytes(rig.wire.back());
    rig.clock.Advance(500);
    rig.conversation.SendTimerTick(500);  // not more than the interval since the reply
    EXPECT_EQ(rig.wire.size(), 4u);
    rig.Tick(0);
    ASSERT_GE(rig.wire.size(), 5u);
    EXPECT_EQ(HexBytes(rig.wire[4]), unanswered);
    EXPECT_EQ(rig.host.settingsRead, 1);  // answered this time, and the reading went on
}

TEST(Conversation, CancellingTheSettingsReadLeavesTheLineSilent) {
    Rig rig;
    rig.conversation.OpenConversation();
    int replies = 0;
    rig.Run([&](const Bytes&) { return ++replies > 3; });  // the identification texts 1 and 2 came
    rig.conversation.CancelSettingsRead();
    EXPECT_EQ(rig.host.statuses, std::vector<std::string>{"Komunikace nenavázána."});
    EXPECT_FALSE(rig.host.settings.Shown);
    EXPECT_EQ(rig.conversation.Phase(), TConversationPhase::Closed);
    EXPECT_EQ(rig.conversation.Link().QueueCount(), 0);
    const size_t sent = rig.wire.size();
    rig.conversation.RequestDownload();
    rig.Tick();
    rig.Tick();
    EXPECT_EQ(rig.wire.size(), sent);
    // A late reply is not looked at any more.
    rig.Deliver({0xA5, 0x3F, 0x08, 0x03, 0x11, 0x01, 0x02, 0x0E, 0x00, 0xEF});
    EXPECT_EQ(rig.host.settings.Done, 3);
    EXPECT_EQ(rig.host.settingsRead, 0);
}

TEST(Conversation, ADownloadAcrossTheRingsWrapReadsEveryRecordAndThenWritesThePositionBack) {
    Rig rig;
    FillRing(rig.memory, 75320, 10);
    rig.StartUp();
    const size_t before = rig.wire.size();
    rig.conversation.RequestDownload();
    EXPECT_EQ(rig.wire.size(), before);  // it starts with the next handled reply
    rig.Tick();

    // Register 0x0113 goes out before the first read and again where the upper
    // address byte changes, at the wrap from place 75324 to place 0.
    std::vector<std::string> expected = {TableRead(0, reg8::RecordPointers),
                                         Write(0, Registers::RecordAddressHigh, {0x1F})};
    for (uint32_t i = 75320; i <= 75324; ++i)
        expected.push_back(RecordRead(i));
    expected.push_back(Write(0, Registers::RecordAddressHigh, {0x00}));
    for (uint32_t i = 0; i <= 4; ++i)
        expected.push_back(RecordRead(i));
    EXPECT_EQ(rig.Requests(before), expected);
    EXPECT_EQ(RecordRead(75320), "R2 F02C");
    EXPECT_EQ(rig.host.download.Steps, 10);
    EXPECT_EQ(rig.host.download.Text, "Probíhá načítání záznamů - ZEKO (10)");
    EXPECT_EQ(rig.host.download.Done, 9);
    EXPECT_FALSE(rig.host.download.Shown);

    // Every record as the regulator holds it, with its place and the input constants.
    ASSERT_EQ(rig.host.saves.size(), 1u);
    const TRecordList& records = rig.host.saves[0];
    ASSERT_EQ(records.size(), 10u);
    for (size_t n = 0; n < records.size(); ++n) {
        const uint32_t index = (75320 + static_cast<uint32_t>(n)) % RingRecords;
        TRegulatorRecord expectedRecord;
        DecodeRecord(rig.memory.Ring().Get(index).data(), expectedRecord, index, rig.conversation.State().InputConstants);
        EXPECT_EQ(records[n], expectedRecord) << index;
    }
    EXPECT_EQ(records[0].Hour, 22);
    EXPECT_EQ(records[9].Day, 29);  // 2024 is a leap year
    EXPECT_EQ(rig.conversation.DownloadPhase(), TDownloadPhase::Saving);
    EXPECT_TRUE(rig.conversation.Records().empty());

    // Only once the records are stored does the position go back, to both places.
    const size_t saved = rig.wire.size();
    rig.Tick();
    EXPECT_EQ(rig.Requests(saved), std::vector<std::string>{});
    SaveAndFinish(rig);
    EXPECT_EQ(rig.Requests(saved), (std::vector<std::string>{Write(0, Registers::ReadPosition, {0, 5, 0, 0}),
                                                             Write(1, Registers::ReadPositionWorking, {0, 5, 0, 0})}));
    EXPECT_EQ(rig.host.statuses.back(), "Pozice záznamů PC zapsána");
    EXPECT_EQ(rig.conversation.DownloadPhase(), TDownloadPhase::Idle);
    EXPECT_EQ(rig.memory.Pointers().OldestUnread, 5u);

    // The next download finds nothing new.
    const size_t done = rig.wire.size();
    rig.conversation.RequestDownload();
    rig.Tick();
    EXPECT_EQ(rig.Requests(done), std::vector<std::string>{TableRead(0, reg8::RecordPointers)});
    EXPECT_FALSE(rig.conversation.DownloadRunning());
}

namespace {

// Starts the download of a ring of ten records from `first`; the regulator goes
// mute once three of them have come, so the reply to the fourth read is lost.
void DownloadUntilMuteAfterThree(Rig& rig, uint32_t first) {
    FillRing(rig.memory, first, 10);
    rig.StartUp();
    rig.host.onStep = [&rig](TProgressKind kind) {
        if (kind == TProgressKind::Download && rig.host.download.Done == 3)
            rig.mute = true;
    };
    rig.conversation.RequestDownload();
    rig.Tick();
}

} // namespace

// "Zruš" ends the download at once, with a read on its way: that read is taken
// back, its reply when it still comes changes nothing, and the next download
// begins with that record.
TEST(Conversation, ACancelledDownloadEndsAtOnceAndKeepsWhatItRead) {
    Rig rig;
    DownloadUntilMuteAfterThree(rig, 75320);  // the reply to the read of 75323 is lost for now
    ASSERT_TRUE(rig.host.download.Shown);
    const Bytes late = rig.lost;
    rig.conversation.CancelDownload();
    EXPECT_FALSE(rig.host.download.Shown);
    ASSERT_EQ(rig.host.saves.size(), 1u);
    ASSERT_EQ(rig.host.saves[0].size(), 3u);
    EXPECT_EQ(rig.host.saves[0].back().Index, 75322u);
    EXPECT_EQ(rig.conversation.Link().QueueCount(), 0);
    EXPECT_EQ(rig.conversation.DownloadPhase(), TDownloadPhase::Saving);

    const size_t cancelled = rig.wire.size();
    rig.mute = false;
    rig.Deliver(late);
    EXPECT_EQ(rig.host.saves.size(), 1u);
    EXPECT_EQ(rig.conversation.DownloadPhase(), TDownloadPhase::Saving);
    SaveAndFinish(rig);
    EXPECT_EQ(rig.host.statuses[rig.host.statuses.size() - 2], "Načítání záznamů zrušeno, uloženo záznamů: 3");
    EXPECT_EQ(rig.host.statuses.back(), "Pozice záznamů PC zapsána");
    EXPECT_EQ(rig.Requests(cancelled), (std::vector<std::string>{Write(0, Registers::ReadPosition, {0x00, 0x3B, 0x26, 0x01}),
                                                                 Write(1, Registers::ReadPositionWorking, {0x00, 0x3B, 0x26, 0x01})}));
    EXPECT_EQ(rig.memory.Pointers().OldestUnread, 75323u);
    EXPECT_EQ(rig.memory.Pointers().Newest, 5u);
}

// While the regulator does not answer, "Zruš" still ends the download at once; the
// records read are stored, and the position goes back once the regulator answers.
// Cancelled before the first record, nothing is stored and nothing is written.
TEST(Conversation, ZrusEndsADownloadAtOnceWhileTheRegulatorDoesNotAnswer) {
    Rig rig;
    DownloadUntilMuteAfterThree(rig, 200);
    for (int tick = 0; tick < TSilenceWatch::UnansweredTimerSends + 1; ++tick)
        rig.Tick();
    ASSERT_TRUE(rig.conversation.RegulatorSilent());
    const size_t cancelled = rig.wire.size();
    rig.conversation.CancelDownload();
    EXPECT_FALSE(rig.host.download.Shown);
    ASSERT_EQ(rig.host.saves.size(), 1u);
    EXPECT_EQ(rig.host.saves[0].size(), 3u);
    SaveAndFinish(rig);  // the position waits in the queue; the polls go out meanwhile
    rig.Tick();
    EXPECT_EQ(rig.memory.Pointers().OldestUnread, 200u);
    EXPECT_EQ(rig.conversation.DownloadPhase(), TDownloadPhase::WritingPosition);

    rig.mute = false;
    rig.Tick();
    EXPECT_EQ(rig.memory.Pointers().OldestUnread, 203u);
    EXPECT_FALSE(rig.conversation.DownloadRunning());
    EXPECT_EQ(std::vector<std::string>(rig.host.statuses.end() - 4, rig.host.statuses.end()),
              (std::vector<std::string>{"Regulátor neodpovídá.", "Načítání záznamů zrušeno, uloženo záznamů: 3",
                                        "Regulátor opět odpovídá.", "Pozice záznamů PC zapsána"}));
    for (const std::string& request : rig.Requests(cancelled))
        EXPECT_EQ(request.rfind("R2", 0), std::string::npos) << request;

    // Cancelled while the first record is awaited: nothing to store or write back.
    const size_t before = rig.wire.size();
    rig.memory.SetPointers({210, 0, 205});
    rig.host.onStep = {};
    rig.mute = false;
    rig.losing = [](const Bytes& reply) { return tlg::KindOf(reply[tlg::OffControl]) == tlg::KindRecords; };
    rig.conversation.RequestDownload();
    rig.Tick();
    ASSERT_TRUE(rig.host.download.Shown);
    rig.conversation.CancelDownload();
    EXPECT_FALSE(rig.host.download.Shown);
    EXPECT_EQ(rig.host.saves.size(), 1u);
    EXPECT_EQ(rig.host.statuses.back(), "Načítání záznamů zrušeno, uloženo záznamů: 0");
    EXPECT_FALSE(rig.conversation.DownloadRunning());
    rig.Tick();
    for (const std::string& request : rig.Requests(before))
        EXPECT_EQ(request.find("0E7C"), std::string::npos) << request;
    EXPECT_EQ(rig.memory.Pointers().OldestUnread, 205u);
}

// "Zruš" while the write of the upper address byte is on its way: that write is
// taken back with the read behind it, and its acknowledgement, when it still comes
// after the records are stored, takes nothing from the queue: the read position
// goes to both places.
TEST(Conversation, ALateAcknowledgementOfATakenBackWriteLeavesThePositionWrites) {
    Rig rig;
    FillRing(rig.memory, 2350, 20);  // from 2359 on the upper address byte is 1
    rig.StartUp();
    int addressWrites = 0;  // the first goes before the first read
    rig.losing = [&addressWrites](const Bytes& reply) {
        return (reply[tlg::OffControl] & tlg::WriteBit) != 0 &&
               ReadWordLE(&reply[tlg::OffAddressLow]) == Registers::RecordAddressHigh && ++addressWrites == 2;
    };
    rig.conversation.RequestDownload();
    rig.Tick();
    ASSERT_EQ(Describe(rig.wire.back()), Write(0, Registers::RecordAddressHigh, {0x01}));
    const Bytes late = rig.lost;
    rig.conversation.CancelDownload();
    ASSERT_EQ(rig.host.saves.size(), 1u);
    EXPECT_EQ(rig.host.saves[0].size(), 9u);
    TSaveOutcome stored;
    stored.Success = true;
    stored.Appended = 9;
    rig.conversation.RecordsSaved(stored);
    const size_t saved = rig.wire.size();

    rig.losing = {};
    rig.Deliver(late);
    rig.Tick();
    const Bytes position = {0x00, 0x37, 0x09, 0x00};  // 2359
    const std::vector<std::string> requests = rig.Requests(saved);
    EXPECT_NE(std::find(requests.begin(), requests.end(), Write(0, Registers::ReadPosition, position)),
              requests.end());
    EXPECT_NE(std::find(requests.begin(), requests.end(), Write(1, Registers::ReadPositionWorking, position)),
              requests.end());
    EXPECT_EQ(rig.host.statuses.back(), "Pozice záznamů PC zapsána");
    EXPECT_FALSE(rig.conversation.DownloadRunning());
}

TEST(Conversation, ASaveThatFailsLeavesThePositionSoTheRecordsAreReadAgain) {
    ScopedLoggingNotifier notifier;
    Rig rig;
    FillRing(rig.memory, 100, 3);
    rig.StartUp();
    rig.conversation.RequestDownload();
    rig.Tick();
    ASSERT_EQ(rig.host.saves.size(), 1u);
    TSaveOutcome failed;
    failed.Error = "disk full";
    rig.conversation.RecordsSaved(failed);
    rig.conversation.RecordsSaved(failed);  // an answer not awaited is not taken
    EXPECT_EQ(notifier.Count(), 1u);
    EXPECT_EQ(rig.host.statuses.back(), "Záznamy nebyly uloženy, pozice záznamů PC nezměněna");
    EXPECT_FALSE(rig.conversation.DownloadRunning());
    EXPECT_EQ(rig.memory.Pointers().OldestUnread, 100u);

    rig.conversation.RequestDownload();
    rig.Tick();
    ASSERT_EQ(rig.host.saves.size(), 2u);
    EXPECT_EQ(rig.host.saves[1], rig.host.saves[0]);
}

TEST(Conversation, TheRecordPointersDecideWhatADownloadReads) {
    struct Case {
        TRecordPointers pointers;
        int count;  // records the download shows, 0: none is read
        const char* status;
    };
    const Case cases[] = {
        {{0, 0, 0}, 0, nullptr},
        {{100, 0, 100}, 0, nullptr},
        {{100, 1, 100}, static_cast<int>(RingRecords), nullptr},  // a full ring: all of it
        {{5, 0, 75320}, 10, nullptr},
        {{12, 0, 10}, 2, nullptr},
        {{RingRecords, 0, 3}, 0, "Chybné ukazatele záznamů v regulátoru (75325, 3), záznamy nebyly načteny"},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.StartUp();
        // The first record read holds a stamp (an empty place of the ring holds none).
        if (c.pointers.OldestUnread < RingRecords)
            rig.memory.Ring().Generate(11, EncodeDate(2024, 2, 28), 1, c.pointers.OldestUnread);
        rig.memory.SetPointers(c.pointers);
        rig.host.onStep = [&](TProgressKind) { rig.conversation.CancelDownload(); };
        rig.conversation.RequestDownload();
        rig.Tick();
        const std::string what = std::to_string(c.pointers.Newest) + "/" + std::to_string(c.pointers.Flag) + "/" +
                                 std::to_string(c.pointers.OldestUnread);
        EXPECT_EQ(rig.host.download.Steps, c.count) << what;
        EXPECT_EQ(rig.host.saves.size(), c.count ? 1u : 0u) << what;
        if (c.count) {
            ASSERT_EQ(rig.host.saves[0].size(), 1u) << what;  // cancelled after the first record
            EXPECT_EQ(rig.host.saves[0][0].Index, c.pointers.OldestUnread) << what;
        } else {
            EXPECT_FALSE(rig.conversation.DownloadRunning()) << what;
        }
        if (c.status) {
            EXPECT_EQ(rig.host.statuses.back(), c.status) << what;
        }
    }
}

TEST(Conversation, ADownloadWaitsForTheEndOfTheSettingsReadAndASettingsWriteHoldsThePolling) {
    Rig rig;
    FillRing(rig.memory, 0, 2);
    rig.conversation.OpenConversation();
    rig.conversation.RequestDownload();
    rig.Run();
    // Asked for during the start-up reading, it starts with the reply that ends it.
    const std::vector<std::string> requests = rig.Requests(2);
    ASSERT_GE(requests.size(), 18u);
    EXPECT_EQ(requests[16], TableRead(0, reg8::LastSettingsBlock));
    EXPECT_EQ(requests[17], TableRead(0, reg8::RecordPointers));
    EXPECT_EQ(rig.host.saves.size(), 1u);
    SaveAndFinish(rig);

    // While the settings are written the send timer puts no poll in front.
    rig.conversation.EnterSettingsWrite();
    const size_t sent = rig.wire.size();
    rig.Tick();
    EXPECT_EQ(rig.wire.size(), sent);
    rig.conversation.LeaveSettingsWrite();
    rig.Tick();
    ASSERT_EQ(rig.wire.size(), sent + 1);
    EXPECT_EQ(Describe(rig.wire.back()), LiveValuesRead);
}

// The send timer repeats without a limit; a few of its telegrams unanswered in a
// row, and the status line says that the regulator does not answer (once), while
// the same telegram keeps going out. The first reply says that it answers again,
// and what was waiting goes on: the start-up reading to its end, the live values.
TEST(Conversation, ARegulatorThatStopsAnsweringIsToldAndEverythingGoesOnWhenItAnswers) {
    for (const bool polling : {false, true}) {
        SCOPED_TRACE(polling ? "while polling" : "in the start-up reading");
        Rig rig;
        if (polling) {
            rig.StartUp();
            rig.Tick();
            rig.mute = true;
        } else {
            rig.mute = true;
            rig.StartUp();  // the read of the settings byte gets no reply
        }
        const std::vector<std::string> before = rig.host.statuses;
        const int liveValues = rig.host.liveValues;
        const size_t sent = rig.wire.size();
        for (int tick = 0; tick < TSilenceWatch::UnansweredTimerSends; ++tick)
            rig.Tick();
        EXPECT_EQ(rig.host.statuses, before);  // a line may lose that many replies
        EXPECT_FALSE(rig.conversation.RegulatorSilent());
        rig.Tick();
        EXPECT_TRUE(rig.conversation.RegulatorSilent());
        EXPECT_EQ(rig.host.answering_, std::vector<bool>{false});
        for (int tick = 0; tick < 10; ++tick)
            rig.Tick();
        std::vector<std::string> said = before;
        said.push_back("Regulátor neodpovídá.");
        EXPECT_EQ(rig.host.statuses, said);
        ASSERT_EQ(rig.wire.size(), sent + TSilenceWatch::UnansweredTimerSends + 11);
        for (size_t i = sent; i < rig.wire.size(); ++i)
            EXPECT_EQ(rig.wire[i], rig.wire[sent - 1]) << i;
        EXPECT_EQ(rig.host.liveValues, liveValues);
        EXPECT_EQ(rig.host.settings.Shown, !polling);

        rig.mute = false;
        rig.Tick();
        EXPECT_FALSE(rig.conversation.RegulatorSilent());
        EXPECT_EQ(rig.host.answering_, (std::vector<bool>{false, true}));
        said.push_back("Regulátor opět odpovídá.");
        if (!polling)
            said.push_back("Nastavení načteno");
        EXPECT_EQ(rig.host.statuses, said);
        EXPECT_EQ(rig.host.liveValues, liveValues + (polling ? 1 : 0));
        EXPECT_EQ(rig.conversation.Phase(), TConversationPhase::Polling);
        // One reply lost now and then is no silence.
        rig.mute = true;
        rig.Tick();
        rig.mute = false;
        rig.Tick();
        EXPECT_EQ(rig.host.answering_.size(), 2u);
    }
}

// A download asked for where no telegram goes out says why; the port-missing
// message names the device of the port.
TEST(Conversation, WithoutAConversationADownloadSaysWhyNothingHappens) {
    ScopedLoggingNotifier notifier;
    test::PseudoTerminal pty;
    pty.SetComMapping(1);
    const struct Unmap {
        ~Unmap() { ::unsetenv("ZEKO_COM1"); }
    } unmap;
    const std::string device = "COM1 je zařízení " + pty.SlavePath() +
                               "; jiné zařízení určuje proměnná prostředí ZEKO_COM1.";
    Rig rig;
    rig.conversation.Link().SelectPort(1);
    EXPECT_EQ(rig.conversation.PortMissingText(),
              "Daný sériový port neexistuje nebo se právě používá !\n" + device);
    rig.conversation.RequestDownload();
    ASSERT_TRUE(rig.conversation.OpenPort(1, 4800));
    rig.conversation.OpenConversation();
    rig.conversation.CancelSettingsRead();
    rig.conversation.RequestDownload();
    const std::vector<LoggingNotifier::Entry> messages = notifier.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].Text, "Záznamy nelze načíst, sériový port není otevřen.\n" + device);
    EXPECT_EQ(messages[1].Text, "Záznamy nelze načíst, komunikace s regulátorem nebyla navázána (načítání "
                                "nastavení bylo zrušeno).\nNaváže se znovu po volbě jiného sériového portu.");
    EXPECT_EQ(messages[0].Type, TMsgDlgType::mtWarning);
    EXPECT_FALSE(rig.conversation.DownloadRequested());
}

// Places of the ring that hold no record (their stamp bytes 0xFF) are read past and
// stored nowhere; when nothing else was read the position still moves on, so the
// next download does not read them again, and the user is told.
TEST(Conversation, RecordsWhoseStampIsNoDateAreReadPastAndNeverStored) {
    const struct Case {
        uint32_t valid;  // records with a stamp before the three empty places
        size_t saved;
    } cases[] = {{0, 0}, {2, 1}};
    for (const Case& c : cases) {
        Rig rig;
        rig.StartUp();
        if (c.valid)
            rig.memory.Ring().Generate(11, EncodeDate(2024, 2, 28), c.valid, 100);
        rig.memory.SetPointers({100 + c.valid + 3, 0, 100});
        rig.conversation.RequestDownload();
        rig.Tick();
        ASSERT_EQ(rig.host.saves.size(), c.saved) << c.valid;
        if (c.saved) {
            EXPECT_EQ(rig.host.saves[0].size(), c.valid);
            SaveAndFinish(rig);
        }
        EXPECT_FALSE(rig.conversation.DownloadRunning()) << c.valid;
        EXPECT_EQ(rig.memory.Pointers().OldestUnread, 100 + c.valid + 3) << c.valid;
        ASSERT_GE(rig.host.statuses.size(), 2u);
        EXPECT_EQ(rig.host.statuses[rig.host.statuses.size() - 2], "Pozice záznamů PC zapsána");
        EXPECT_EQ(rig.host.statuses.back(), "Záznamy s neplatným datem a časem vynechány: 3 (první z nich č. " +
                                                std::to_string(100 + c.valid) + " v regulátoru)");
    }
}

namespace {

// What the port component tells the conversation when its adapter is pulled out
// and when it is open again.
void PullOut(Rig& rig) {
    TCommPortDriver& port = *rig.conversation.Link().Port;
    port.OnLineLost(&port);
}

void PlugBackIn(Rig& rig) {
    TCommPortDriver& port = *rig.conversation.Link().Port;
    port.OnLineBack(&port);
}

} // namespace

// The adapter pulled out while a record's reply is on its way (half of it came):
// nothing goes out while the port is gone. Back, the upper address byte and the
// record awaited go out again, the download reads on, every record is stored once
// and the position goes back after the last one.
TEST(Conversation, ADownloadGoesOnWhenItsPortComesBack) {
    Rig rig;
    DownloadUntilMuteAfterThree(rig, 200);
    ASSERT_GT(rig.lost.size(), 5u);
    rig.Deliver(Bytes(rig.lost.begin(), rig.lost.begin() + 5));
    PullOut(rig);
    EXPECT_EQ(rig.host.statuses.back(), "Sériový port COM2 odpojen, zkouší se znovu otevřít.");
    EXPECT_TRUE(rig.conversation.PortLost());
    EXPECT_TRUE(rig.conversation.RegulatorSilent());  // the live values are old
    EXPECT_EQ(rig.host.answering_, std::vector<bool>{false});
    rig.mute = false;
    const size_t lost = rig.wire.size();
    for (int tick = 0; tick < 5; ++tick)
        rig.Tick();
    EXPECT_EQ(rig.wire.size(), lost);
    EXPECT_TRUE(rig.host.download.Shown);
    const std::vector<std::string> whileLost = rig.host.statuses;

    PlugBackIn(rig);
    rig.Run();  // no send timer needed: the replies come at once
    EXPECT_FALSE(rig.conversation.PortLost());
    EXPECT_EQ(rig.host.statuses[whileLost.size()], "Sériový port COM2 opět připojen.");
    std::vector<std::string> expected = {Write(0, Registers::RecordAddressHigh, {0x00})};
    for (uint32_t i = 203; i < 210; ++i)
        expected.push_back(RecordRead(i));
    EXPECT_EQ(rig.Requests(lost), expected);
    ASSERT_EQ(rig.host.saves.size(), 1u);
    ASSERT_EQ(rig.host.saves[0].size(), 10u);
    for (uint32_t n = 0; n < 10; ++n)
        EXPECT_EQ(rig.host.saves[0][n].Index, 200 + n);
    SaveAndFinish(rig);
    EXPECT_EQ(rig.host.statuses.back(), "Pozice záznamů PC zapsána");
    EXPECT_EQ(rig.memory.Pointers().OldestUnread, 210u);
}

// "Zruš" while the port is gone stores the records read at once; the position goes
// to the regulator only once the port is back.
TEST(Conversation, ADownloadCancelledWhileItsPortIsGoneWritesThePositionOnceItIsBack) {
    Rig rig;
    DownloadUntilMuteAfterThree(rig, 200);
    PullOut(rig);
    rig.conversation.CancelDownload();
    ASSERT_EQ(rig.host.saves.size(), 1u);
    EXPECT_EQ(rig.host.saves[0].size(), 3u);
    const size_t cancelled = rig.wire.size();
    SaveAndFinish(rig);
    rig.Tick();
    EXPECT_EQ(rig.wire.size(), cancelled);
    EXPECT_EQ(rig.conversation.DownloadPhase(), TDownloadPhase::WritingPosition);

    rig.mute = false;
    PlugBackIn(rig);
    rig.Run();
    EXPECT_EQ(rig.Requests(cancelled), (std::vector<std::string>{Write(0, Registers::ReadPosition, {0, 203, 0, 0}),
                                                                 Write(1, Registers::ReadPositionWorking, {0, 203, 0, 0})}));
    EXPECT_EQ(rig.host.statuses.back(), "Pozice záznamů PC zapsána");
    EXPECT_EQ(rig.memory.Pointers().OldestUnread, 203u);
}

// Lost in the start-up reading, the reading goes on with its request once the port
// is back; lost while polling, the live values are read again at once.
TEST(Conversation, TheStartUpReadingAndThePollingGoOnWhenThePortComesBack) {
    for (const bool polling : {false, true}) {
        SCOPED_TRACE(polling ? "while polling" : "in the start-up reading");
        Rig rig;
        rig.mute = !polling;
        rig.StartUp();
        const int liveValues = rig.host.liveValues;
        PullOut(rig);
        rig.mute = false;
        const size_t lost = rig.wire.size();
        for (int tick = 0; tick < 5; ++tick)
            rig.Tick();
        EXPECT_EQ(rig.wire.size(), lost);
        EXPECT_EQ(rig.host.liveValues, liveValues);
        EXPECT_EQ(rig.host.settings.Shown, !polling);

        PlugBackIn(rig);
        rig.Run();
        EXPECT_EQ(rig.conversation.Phase(), TConversationPhase::Polling);
        EXPECT_EQ(rig.host.settingsRead, 1);
        EXPECT_FALSE(rig.conversation.RegulatorSilent());
        if (polling) {
            ASSERT_GT(rig.wire.size(), lost);
            EXPECT_EQ(Describe(rig.wire[lost]), LiveValuesRead);
            EXPECT_EQ(rig.host.liveValues, liveValues + 1);
        } else {
            EXPECT_EQ(rig.host.statuses.back(), "Nastavení načteno");
        }
    }
}
