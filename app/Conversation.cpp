// The dispatch of the conversation: every byte of the port goes through the frame
// parser; each accepted reply of the regulator is handed to the handler of its
// memory kind, and then the conversation goes on: a due polling telegram goes to the
// head of the queue, a requested download starts, and the head telegram is sent.
// Only one telegram is ever on its way.
#include "app/Conversation.h"

#include "core/RegisterTables.h"
#include "core/TextHelpers.h"
#include "platform/TickClock.h"

namespace zeko {

TConversation::TConversation(TConversationEvents& events, void* portOwner)
    : events_(events), link_(portOwner), parser_(link_) {
    parser_.OnRegulatorReply = [this](const uint8_t* frame) { HandleRegulatorReply(frame); };
    // Replies of any register are looked at, and writes to the regulator carry the CRC.
    link_.SetAddressRange(0, 65535);
    link_.CrcDestinations.set(tlg::StationRegulator);
}

TConversation::~TConversation() = default;

void TConversation::Report(const std::string& text) { events_.Status(StampedLine(text)); }

void TConversation::QueueRead(uint8_t mode, uint8_t index) {
    link_.QueueTableTelegram(tlg::StationPC, tlg::StationRegulator, 0, mode, index);
}

void TConversation::ReceiveBytes(const uint8_t* data, size_t count) { parser_.ReceiveBytes(data, count); }

void TConversation::HandleRegulatorReply(const uint8_t* frame) {
    // The regulator answers each telegram once. A second reply to the same send
    // (doubled on the line, or a late one after a repetition) is taken for nothing:
    // its handler would drop a telegram queued since then before it went out, or
    // end a download twice.
    if (link_.SendCount() == answeredSend_)
        return;
    answeredSend_ = link_.SendCount();
    NoteAnswer();
    const TReplyHeader reply = DecodeReplyHeader(frame);
    switch (reply.Mode) {
    case tlg::KindSettings: HandleEepromReply(reply); break;
    case tlg::KindWorking: HandleRamReply(reply); break;
    case tlg::KindRecords: HandleRecordReply(reply); break;
    default: HandleIdentReply(reply); break;
    }
    if (!SettingsWriteRunning()) {
        PumpTelegramQueue();
        // A download waits for the end of the start-up reading, so that its records
        // carry the regulator's input constants.
        if (download_.Requested && !DownloadRunning() && !SettingsReadRunning())
            StartDownload();
    }
    link_.SendNext();
}

void TConversation::HandleEepromReply(const TReplyHeader& reply) {
    switch (reply.Address) {
    case Registers::LiveValues:
        HandleLiveValues(reply);
        return;
    case Registers::RecordPointers:
        link_.DropHead();
        if (!reply.WriteAck)
            HandleRecordPointers(reply);
        return;
    case Registers::ReadPosition:
        link_.DropHead();
        return;
    case Registers::RecordAddressHigh:
        // "Zruš" took the write back with the read behind it: a late acknowledgement
        // would drop a telegram queued since, such as the read position's.
        if (download_.Phase != TDownloadPhase::ReadingRecords)
            return;
        link_.DropHead();
        Report("Nastaven horni byte adresy zaznamu");
        return;
    case Registers::Switches:
    case Registers::OutputCount:
    case Registers::OutputTypesLow:
    case Registers::OutputTypesHigh:
    case Registers::OutputValues1:
    case Registers::OutputValues9:
    case Registers::DischargeTimes:
    case Registers::MeterConstants:
    case Registers::InputFunctions:
        // Their write acknowledgements belong to the settings write.
        if (reply.WriteAck)
            HandleSettingsAck(reply);
        else
            HandleStartupSettingsReply(reply);
        return;
    case Registers::SmallestOutput:
    case Registers::SumC:
        HandleStartupSettingsReply(reply);
        return;
    case Registers::LastBlock:
        if (reply.WriteAck)
            HandleSettingsAck(reply);
        else
            HandleLastSettingsBlock(reply);
        return;
    default:
        // The other groups are never read: any reply of theirs acknowledges a write.
        HandleSettingsAck(reply);
        return;
    }
}

void TConversation::HandleRamReply(const TReplyHeader& reply) {
    switch (reply.Address) {
    case Registers::ReadPositionWorking:
        if (reply.WriteAck)
            HandleReadPositionAck();
        return;
    case Registers::RecordPointersWorking:
        if (reply.WriteAck)
            HandleResetAck();
        return;
    case Registers::Clock:
        if (reply.WriteAck)
            HandleClockAck();
        else
            HandleClock(reply);
        return;
    case Registers::StartWrite1:
    case Registers::StartWrite2:
        // The start-up writes were dropped when sent.
        return;
    default:
        if (reply.WriteAck)
            HandleSettingsAck(reply);
        return;
    }
}

void TConversation::PumpTelegramQueue() {
    TPollItem item;
    if (polling_.CurrentItem(item) == -1)
        return;
    link_.QueueTelegramFirst(item.Source, item.Destination, item.Write, item.Mode, item.Address, item.Count, false);
    link_.DropAfterSend = true;
    polling_.Next();
}

void TConversation::SendTimerTick(uint32_t intervalMs) {
    // Nothing goes to a port that is gone; the port component tries to open it.
    if (portLost_ || TicksBetween(LastReplyTick, GetTickCount()) <= intervalMs)
        return;
    // No polling while the settings are written, here as in the dispatch.
    if (!SettingsWriteRunning())
        PumpTelegramQueue();
    const uint32_t sent = link_.SendCount();
    link_.SendNext();
    if (link_.SendCount() != sent)
        NoteTimerSend();
}

void TConversation::EnterSettingsWrite() { phase_ = TConversationPhase::WritingSettings; }

void TConversation::LeaveSettingsWrite() {
    if (phase_ == TConversationPhase::WritingSettings)
        phase_ = TConversationPhase::Polling;
}

} // namespace zeko
