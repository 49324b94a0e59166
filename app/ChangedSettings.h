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
    const char* Name;       // as the user is told of it
};

// In the order the groups are compared and queued.
inline constexpr std::array<TSettingsGroup, 16> SettingsGroups = {{
    {reg8::Band, reg8::BandRam, "1. pásmo necitlivosti"},
    {reg8::Band2, reg8::Band2Ram, "2. pásmo necitlivosti"},
    {reg8::Speeds, reg8::SpeedsRam, "časy regulace"},
    {reg8::Band2Window, reg8::Band2WindowRam, "použití a čas 2. pásma"},
    {reg8::Averaging, reg8::AveragingRam, "zpracování impulsů a citlivost"},
    {reg8::InputFunctions, reg8::InputFunctionsRam, "přiřazení vstupů"},
    {reg8::MeterConstants, reg8::MeterConstantsRam, "konstanty vstupů"},
    {reg8::OutputCount, reg8::OutputCountRam, "počet výstupů"},
    {reg8::OutputTypesLow, reg8::OutputTypesLowRam, "typy výstupů 1-8"},
    {reg8::OutputTypesHigh, reg8::OutputTypesHighRam, "typy výstupů 9-16"},
    {reg8::DischargeTimes, reg8::DischargeTimesRam, "vybíjecí časy"},
    {reg8::FaultOutput, reg8::FaultOutputRam, "výstup poruchy"},
    {reg8::FaultDelay, reg8::FaultDelayRam, "zpoždění poruchy"},
    {reg8::OutputValues1, reg8::OutputValues1Ram, "hodnoty výstupů 1-8"},
    {reg8::OutputValues2, reg8::OutputValues2Ram, "hodnoty výstupů 9-16"},
    {reg8::SettingsByte, reg8::SettingsByteRam, "výstupní expander"},
}};

// The bytes of the group's register for these settings.
std::vector<uint8_t> GroupData(const TSettingsGroup& group, const TZEKO& settings);
// Stores the group's bytes of `from` into `to`; the other fields of `to` stay.
void TakeGroup(const TSettingsGroup& group, const TZEKO& from, TZEKO& to);
// The group whose settings-area register (kind 0) or twin (kind 1) is `address`;
// nullptr for any other register.
const TSettingsGroup* GroupOfRegister(uint8_t kind, uint16_t address);

// The groups in which `edited` gives the regulator other bytes than `current`, in
// the order of SettingsGroups.
std::vector<const TSettingsGroup*> ChangedGroups(const TZEKO& edited, const TZEKO& current);

// Queues, for every group in which `edited` differs from `current`, the write to
// the settings area and then the write to its twin, from the PC (63) to station 8,
// key 0; answers the number of telegrams queued (0: the two agree).
int QueueChangedSettings(TKomunikace& link, const TZEKO& edited, const TZEKO& current);

} // namespace zeko
