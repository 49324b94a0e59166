// The writes that change the regulator. A settings write queues the changed groups
// and holds the polling and any download until the last of its telegrams is
// acknowledged, one telegram per acknowledgement; each group acknowledged in the
// settings area is taken into the state as confirmed, so an interrupted write
// leaves the state with the groups the regulator took. The clock set writes the
// PC's time and reads the clock back; the reset writes zero record pointers.
#include "app/ChangedSettings.h"
#include "app/Conversation.h"

#include "core/RegisterTables.h"
#include "core/RegulatorReplies.h"
#include "core/TextHelpers.h"

namespace zeko {

namespace {

using tlg::StationPC;
using tlg::StationRegulator;

} // namespace

bool TConversation::WriteChangedSettings() {
    const std::vector<const TSettingsGroup*> changed = ChangedGroups(edited_, state_);
    const int queued = QueueChangedSettings(link_, edited_, state_);
    if (queued == 0)
        return false;
    unwritten_ = changed;
    // A group is taken into the state as it was queued, whatever the edit does
    // meanwhile.
    writing_ = edited_;
    writesOutstanding_ += queued;
    EnterSettingsWrite();
    events_.ShowProgress(TProgressKind::SettingsWrite, 0, "Zapisuje se nastavení regulátoru...");
    return true;
}

void TConversation::HandleSettingsAck(const TReplyHeader& reply) {
    const TSettingsGroup* group = GroupOfRegister(reply.Mode, reply.Address);
    if (group == nullptr || writesOutstanding_ == 0)
        return;
    if (reply.Mode == tlg::KindSettings)
        TakeGroup(*group, writing_, state_);
    else
        std::erase(unwritten_, group);
    ContinueSettingsWrite();
}

void TConversation::ContinueSettingsWrite() {
    link_.DropHead();
    // Counted rather than read off the queue: a record read queued before the write
    // waits behind it, and the write still ends with its own last telegram.
    if (--writesOutstanding_ > 0)
        return;
    EndSettingsWrite("Nastavení regulátoru zapsáno");
}

std::vector<std::string> TConversation::UnwrittenGroups() const {
    std::vector<std::string> names;
    if (SettingsWriteRunning())
        for (const TSettingsGroup* group : unwritten_)
            names.emplace_back(group->Name);
    return names;
}

void TConversation::AbandonSettingsWrite() {
    if (!SettingsWriteRunning())
        return;
    const std::string names = Joined(UnwrittenGroups(), ", ");
    // The writes still queued would go out with the next reply.
    link_.DropQueuedIf([](std::span<const uint8_t> telegram) {
        const TReplyHeader t = DecodeReplyHeader(telegram.data());
        return t.WriteAck && GroupOfRegister(t.Mode, t.Address) != nullptr;
    });
    writesOutstanding_ = 0;
    EndSettingsWrite("Zápis nastavení regulátoru přerušen, nezapsáno: " + names);
}

void TConversation::EndSettingsWrite(const std::string& status) {
    events_.HideProgress(TProgressKind::SettingsWrite);
    unwritten_.clear();
    LeaveSettingsWrite();
    events_.SettingsWriteEnded();
    Report(status);
}

TClockBytes TConversation::PackPcDateTime() const { return EncodeClock(PcClock()); }

void TConversation::SetRegulatorClock() {
    const TClockBytes clock = PackPcDateTime();
    link_.QueueTelegram(StationPC, StationRegulator, 1, tlg::KindWorking, Registers::Clock, clock, 0);
    link_.SendNext();
}

void TConversation::HandleClockAck() {
    link_.DropHead();
    QueueRead(tlg::KindWorking, reg8::Clock);
}

TResetRefusal TConversation::ResetRefusal() const {
    if (DownloadRunning())
        return TResetRefusal::DownloadRunning;
    // A closed conversation sends nothing: queued, the reset would go out with the
    // next port, unasked.
    if (phase_ == TConversationPhase::Closed)
        return TResetRefusal::NotOpen;
    return TResetRefusal::None;
}

TResetRefusal TConversation::ResetRecordPositions() {
    const TResetRefusal refusal = ResetRefusal();
    if (refusal != TResetRefusal::None)
        return refusal;
    const TPointerBytes zero{};
    link_.QueueTelegram(StationPC, StationRegulator, 1, tlg::KindSettings, Registers::RecordPointers, zero, 0);
    link_.QueueTelegram(StationPC, StationRegulator, 1, tlg::KindWorking, Registers::RecordPointersWorking, zero, 0);
    return TResetRefusal::None;
}

void TConversation::HandleResetAck() {
    link_.DropHead();
    Report("Pozice záznamů nulována");
}

} // namespace zeko
