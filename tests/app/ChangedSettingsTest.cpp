// The groups of a settings write: which telegrams a change queues, byte for byte,
// and what an acknowledged group takes into the confirmed state.
#include "app/ChangedSettings.h"

#include "core/RegulatorReplies.h"
#include "tests/app/ConversationRig.h"

#include <gtest/gtest.h>

using namespace zeko;
using namespace zeko::test;

namespace {

// The settings the simulated regulator starts with, as the start-up reading takes them.
TZEKO RegulatorSettings() {
    regsim::RegulatorMemory memory;
    TZEKO s;
    for (uint8_t index : StartupSettingsIndices) {
        const std::vector<uint8_t> data = memory.Read(0, RegisterOf(index), BytesOf(index));
        DecodeStartupSettings(RegisterOf(index), data.data(), static_cast<int>(data.size()), s);
    }
    const std::vector<uint8_t> block = memory.Read(0, Registers::LastBlock, LastBlockBytes);
    DecodeLastSettingsBlock(block.data(), static_cast<int>(block.size()), s);
    return s;
}

// What QueueChangedSettings queues for an edit, each telegram taken apart.
std::vector<std::string> Queued(const std::function<void(TZEKO&)>& edit,
                                const std::function<void(TZEKO&)>& before = {}) {
    TZEKO current = RegulatorSettings();
    if (before)
        before(current);
    TZEKO edited = current;
    edit(edited);
    TKomunikace link;
    link.CrcDestinations.set(tlg::StationRegulator);
    const int count = QueueChangedSettings(link, edited, current);
    std::vector<std::string> out;
    for (std::vector<uint8_t> telegram : link.QueuedTelegrams()) {
        telegram.insert(telegram.begin(), tlg::LeadByte);
        out.push_back(Describe(telegram));
    }
    EXPECT_EQ(count, static_cast<int>(out.size()));
    return out;
}

} // namespace

TEST(ChangedSettings, EachChangedGroupGoesToTheSettingsAreaAndThenToItsTwin) {
    struct Case {
        const char* what;
        std::function<void(TZEKO&)> edit;
        uint16_t address;
        Bytes data;
    };
    const Case cases[] = {
        {"the upper edge of the first band", [](TZEKO& s) { s.BandHigh = 120; }, 0x0E86, {78, 98, 120}},
        {"the second band", [](TZEKO& s) { s.Band2Centre = 110; }, 0x0E8F, {88, 110, 128}},
        {"a regulation speed", [](TZEKO& s) { s.SpeedOver = 0x0102; }, 0x0E80, {60, 0, 0x02, 0x01, 0}},
        {"the speed type", [](TZEKO& s) { s.SpeedType = 0x11; }, 0x0E80, {60, 0, 30, 0, 0x11}},
        {"the second band used", [](TZEKO& s) { s.UseBand2 = 0; }, 0x0E92, {0x68, 0x01, 0x28, 0x05}},
        {"the second band's start", [](TZEKO& s) { s.Band2Start = 7 * 60; }, 0x0E92, {0xA4, 0x81, 0x28, 0x05}},
        {"the pulse handling", [](TZEKO& s) { s.UnderWait = 10; }, 0x0E8B, {1, 0, 2, 10}},
        {"the function of input 2", [](TZEKO& s) { s.InputFunctions[1] = 4; }, 0x0E70, {0, 4, 2, 3, 0, 0, 0, 0}},
        {"a meter constant",
         [](TZEKO& s) { s.MeterConstants[3] = 230000; },
         0x0E50,
         {0x00, 0xE1, 0xF5, 0x05, 0x00, 0xE1, 0xF5, 0x05, 0x00, 0xE1, 0xF5, 0x05, 0x70, 0x82, 0x03, 0x00}},
        {"the number of outputs from 12 to 8", [](TZEKO& s) { s.OutputCount = 8; }, 0x0E08, {7}},
        {"the type of output 3", [](TZEKO& s) { s.OutputTypes = 0x0004; }, 0x0E09, {0x04}},
        {"the type of output 12 only", [](TZEKO& s) { s.OutputTypes = 0x0800; }, 0x0E0A, {0x08}},
        {"the discharge time of output 3", [](TZEKO& s) { s.DischargeTimes[2] = 9; }, 0x0E33,
         {6, 6, 9, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6}},
        {"the fault output", [](TZEKO& s) { s.FaultOutput = 1; }, 0x0E96, {1}},
        {"the fault delay", [](TZEKO& s) { s.FaultDelay = 42; }, 0x0E97, {42}},
        {"a value of outputs 1..8", [](TZEKO& s) { s.OutputValues[0] = 0x1234; }, 0x0E0B,
         {0x34, 0x12, 50, 0, 100, 0, 100, 0, 200, 0, 200, 0, 200, 0, 200, 0}},
        {"a value of outputs 9..16", [](TZEKO& s) { s.OutputValues[15] = 5; }, 0x0E1B,
         {0x2C, 1, 0x2C, 1, 0x2C, 1, 0x2C, 1, 0, 0, 0, 0, 0, 0, 5, 0}},
        {"the expander switch", [](TZEKO& s) { s.Switches = 1; }, 0x0E02, {1}},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> queued = Queued(c.edit);
        EXPECT_EQ(queued, (std::vector<std::string>{Write(0, c.address, c.data),
                                                    Write(1, Registers::WorkingTwin(c.address), c.data)}))
            << c.what;
    }
}

TEST(ChangedSettings, TheSecondBandNotUsedFromSixToTwentyTwo) {
    const auto used = [](TZEKO& s) {
        s.UseBand2 = 0;
        s.Band2Start = 6 * 60;
        s.Band2End = 22 * 60;
    };
    EXPECT_EQ(Queued([](TZEKO& s) { s.UseBand2 = 1; }, used),
              (std::vector<std::string>{Write(0, 0x0E92, {0x68, 0x81, 0x28, 0x05}),
                                        Write(1, 0x0092, {0x68, 0x81, 0x28, 0x05})}));
}

TEST(ChangedSettings, GroupsGoInTheirOrderAndNothingGoesForNoChange) {
    EXPECT_TRUE(Queued([](TZEKO&) {}).empty());
    const std::vector<std::string> queued = Queued([](TZEKO& s) {
        s.Switches = 1;
        s.FaultDelay = 11;
        s.BandLow = 77;
        s.OutputTypes = 0x0101;
    });
    const std::vector<std::string> registers = [&] {
        std::vector<std::string> out;
        for (const std::string& t : queued)
            out.push_back(t.substr(0, 7));
        return out;
    }();
    EXPECT_EQ(registers, (std::vector<std::string>{"W0 0E86", "W1 0086", "W0 0E09", "W1 0009", "W0 0E0A", "W1 000A",
                                                   "W0 0E97", "W1 0097", "W0 0E02", "W1 0002"}));
}

TEST(ChangedSettings, AnAcknowledgedGroupTakesOnlyItsOwnFields) {
    const TZEKO current = RegulatorSettings();
    TZEKO edited = current;
    edited.FaultDelay = 42;
    edited.FaultOutput = 1;
    edited.OutputTypes = 0xFF01;
    edited.InputFunctions = {3, 3, 3, 3};
    TZEKO confirmed = current;
    confirmed.InputConstants = {7, 7, 7, 7};
    TakeGroup(*GroupOfRegister(tlg::KindSettings, Registers::FaultDelay), edited, confirmed);
    EXPECT_EQ(confirmed.FaultDelay, 42);
    EXPECT_EQ(confirmed.FaultOutput, current.FaultOutput);
    TakeGroup(*GroupOfRegister(tlg::KindSettings, Registers::OutputTypesHigh), edited, confirmed);
    EXPECT_EQ(confirmed.OutputTypes, 0xFF00);
    TakeGroup(*GroupOfRegister(tlg::KindSettings, Registers::InputFunctions), edited, confirmed);
    EXPECT_EQ(confirmed.InputFunctions, edited.InputFunctions);
    EXPECT_EQ(confirmed.InputConstants, (std::array<uint32_t, 4>{7, 7, 7, 7}));
    // Every twin belongs to its group; other registers to none.
    for (const TSettingsGroup& group : SettingsGroups)
        EXPECT_EQ(GroupOfRegister(tlg::KindWorking, RegisterOf(group.WorkingIndex)), &group);
    EXPECT_EQ(GroupOfRegister(tlg::KindSettings, Registers::RecordPointers), nullptr);
    EXPECT_EQ(GroupOfRegister(tlg::KindWorking, Registers::Clock), nullptr);
    EXPECT_EQ(GroupOfRegister(tlg::KindRecords, Registers::FaultDelay), nullptr);
}
