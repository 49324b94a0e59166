#include "app/ChangedSettings.h"

#include "core/RegulatorReplies.h"

#include <algorithm>

namespace zeko {

namespace {

// The groups inside the last settings block (the speeds, bands, pulse handling and
// fault output) are its bytes from the group's register on; the others are
// registers of the start-up reading.
bool InLastBlock(uint16_t address) {
    return address >= Registers::LastBlock && address < Registers::LastBlock + LastBlockBytes;
}

} // namespace

std::vector<uint8_t> GroupData(const TSettingsGroup& group, const TZEKO& settings) {
    const uint16_t address = RegisterOf(group.SettingsIndex);
    if (!InLastBlock(address))
        return EncodeStartupSettings(address, settings);
    const TLastBlockBytes block = EncodeLastSettingsBlock(settings);
    const auto from = block.begin() + (address - Registers::LastBlock);
    return {from, from + BytesOf(group.SettingsIndex)};
}

void TakeGroup(const TSettingsGroup& group, const TZEKO& from, TZEKO& to) {
    const uint16_t address = RegisterOf(group.SettingsIndex);
    const std::vector<uint8_t> data = GroupData(group, from);
    if (InLastBlock(address)) {
        TLastBlockBytes block = EncodeLastSettingsBlock(to);
        std::copy(data.begin(), data.end(), block.begin() + (address - Registers::LastBlock));
        DecodeLastSettingsBlock(block.data(), static_cast<int>(block.size()), to);
        return;
    }
    // The constants in force are those the regulator gave with its input functions.
    const auto inForce = to.InputConstants;
    DecodeStartupSettings(address, data.data(), static_cast<int>(data.size()), to);
    to.InputConstants = inForce;
}

const TSettingsGroup* GroupOfRegister(uint8_t kind, uint16_t address) {
    if (kind != tlg::KindSettings && kind != tlg::KindWorking)
        return nullptr;
    for (const TSettingsGroup& group : SettingsGroups)
        if (RegisterOf(kind == tlg::KindSettings ? group.SettingsIndex : group.WorkingIndex) == address)
            return &group;
    return nullptr;
}

std::vector<const TSettingsGroup*> ChangedGroups(const TZEKO& edited, const TZEKO& current) {
    std::vector<const TSettingsGroup*> changed;
    for (const TSettingsGroup& group : SettingsGroups)
        if (GroupData(group, edited) != GroupData(group, current))
            changed.push_back(&group);
    return changed;
}

int QueueChangedSettings(TKomunikace& link, const TZEKO& edited, const TZEKO& current) {
    int queued = 0;
    for (const TSettingsGroup* group : ChangedGroups(edited, current)) {
        const std::vector<uint8_t> data = GroupData(*group, edited);
        for (const auto& [kind, index] : {std::pair{tlg::KindSettings, group->SettingsIndex},
                                          std::pair{tlg::KindWorking, group->WorkingIndex}})
            if (link.QueueTelegram(tlg::StationPC, tlg::StationRegulator, 1, kind, RegisterOf(index), data, 0))
                ++queued;
    }
    return queued;
}

} // namespace zeko
