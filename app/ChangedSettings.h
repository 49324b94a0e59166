#pragma once
// The groups of a settings write. The regulator takes its settings in groups, each
// written to the settings area (memory kind 0, registers 0x0Exx) and then with the
// same bytes to its twin among the working registers (memory kind 1, 0x00xx). A
// group's bytes are those its register holds, in the layouts of
// core/RegulatorReplies.h, so a group is written exactly when the regulator would
// be given other bytes than it confirmed last, and an acknowledged group is taken
// into the confirmed state as a read of the register would take it.
#include "core/Komunikace.h"
#include "core/RegisterTables.h"
#include "core/Zeko.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zeko {

struct TSettingsGroup {
    uint8_t SettingsIndex;  // station 8's table entry of the settings-area register
    uint8_t WorkingIndex;   // and of its twin
};

// In the order the groups are compared and queued.
inline constexpr std::array<TSettingsGroup, 16> SettingsGroups = {{
    {reg8::Band, reg8::BandRam},
    {reg8::Band2, reg8::Band2Ram},
    {reg8::Speeds, reg8::SpeedsRam},
    {reg8::Band2Window, reg8::Band2WindowRam},
    {reg8::Averaging, reg8::AveragingRam},
    {reg8::InputFunctions, reg8::InputFunctionsRam},
    {reg8::MeterConstants, reg8::MeterConstantsRam},
    {reg8::OutputCount, reg8::OutputCountRam},
    {reg8::OutputTypesLow, reg8::OutputTypesLowRam},
    {reg8::OutputTypesHigh, reg8::OutputTypesHighRam},
    {reg8::DischargeTimes, reg8::DischargeTimesRam},
    {reg8::FaultOutput, reg8::FaultOutputRam},
    {reg8::FaultDelay, reg8::FaultDelayRam},
    {reg8::OutputValues1, reg8::OutputValues1Ram},
    {reg8::OutputValues2, reg8::OutputValues2Ram},
    {reg8::SettingsByte, reg8::SettingsByteRam},
}};

// The bytes of the group's register for these settings.
std::vector<uint8_t> GroupData(const TSettingsGroup& group, const TZEKO& settings);
// Stores the group's bytes of `from` into `to`; the other fields of `to` stay.
void TakeGroup(const TSettingsGroup& group, const TZEKO& from, TZEKO& to);
// The group whose settings-area register (kind 0) or twin (kind 1) is `address`;
// nullptr for any other register.
const TSettingsGroup* GroupOfRegister(uint8_t kind, uint16_t address);

// Queues, for every group in which `edited` differs from `current`, the write to
// the settings area and then the write to its twin, from the PC (63) to station 8,
// key 0; answers the number of telegrams queued (0: the two agree).
int QueueChangedSettings(TKomunikace& link, const TZEKO& edited, const TZEKO& current);

} // namespace zeko
