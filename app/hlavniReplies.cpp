// The main window's reply parser and dispatch: every byte of the port goes through
// the link layer's frame parser; each accepted reply of the regulator is handed to
// the handler of its memory kind, and then the conversation goes on: a due polling
// telegram goes to the head of the queue, a requested download starts, and the head
// telegram is sent. Only one telegram is ever on its way.
#include "app/hlavni.h"

#include "core/RegulatorReplies.h"
#include "core/BinaryData.h"
#include "core/FrameParser.h"
#include "core/Komunikace.h"
#include "core/PollingList.h"
#include "core/ProgramGlobals.h"
#include "core/SuperTimer.h"
#include "core/Telegram.h"
#include "core/TextHelpers.h"
#include "platform/TickClock.h"

namespace zeko {

void THlavniForm::ReceiveBytes(const uint8_t* data, uint32_t count) {
    if (parser_)
        parser_->ReceiveBytes(data, count);
}

void THlavniForm::HandleRegulatorReply(const uint8_t* frame) {
    // The regulator answers each telegram once. A second reply to the same send
    // (doubled on the line, or a late one after a repetition) is taken for nothing:
    // its handler would drop a telegram queued since then before it went out, or
    // end a download twice.
    if (Komunikace->SendCount() == answeredSend_)
        return;
    answeredSend_ = Komunikace->SendCount();
    const TReplyHeader reply = DecodeReplyHeader(frame);
    switch (reply.Mode) {
    case tlg::KindSettings: HandleEepromReply(reply); break;
    case tlg::KindWorking: HandleRamReply(reply); break;
    case tlg::KindRecords: HandleRecordReply(reply); break;
    default: HandleIdentReply(reply); break;
    }
    if (!SettingsWriteRunning) {
        PumpTelegramQueue();
        // A download waits for the end of the start-up reading, so that its records
        // carry the regulator's input constants.
        if (DownloadRequested && !DownloadRunning && !SettingsReadRunning)
            StartDownload();
    }
    Komunikace->SendNext();
}

void THlavniForm::HandleEepromReply(const TReplyHeader& reply) {
    switch (reply.Address) {
    case Registers::LiveValues:
        HandleLiveValues(reply);
        return;
    case Registers::RecordPointers:
        Komunikace->DropHead();
        if (!reply.WriteAck)
            HandleRecordPointers(reply);
        return;
    case Registers::ReadPosition:
        Komunikace->DropHead();
        return;
    case Registers::RecordAddressHigh:
        Komunikace->DropHead();
        SetStatusLine(StampedLine("Nastaven horni byte adresy zaznamu"));
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
        if (!reply.WriteAck)
            HandleStartupSettingsReply(reply);
        return;
    case Registers::SmallestOutput:
    case Registers::SumC:
        HandleStartupSettingsReply(reply);
        return;
    case Registers::LastBlock:
        if (!reply.WriteAck)
            HandleLastSettingsBlock(reply);
        return;
    default:
        return;
    }
}

void THlavniForm::HandleRamReply(const TReplyHeader& reply) {
    switch (reply.Address) {
    case Registers::ReadPositionWorking:
        if (reply.WriteAck)
            HandleReadPositionAck();
        return;
    case Registers::Clock:
        if (!reply.WriteAck)
            HandleStartupClock(reply);
        return;
    default:
        // The start-up writes (0x0000, 0x0001) were dropped when sent.
        return;
    }
}

void THlavniForm::PumpTelegramQueue() {
    TPollItem item;
    if (PollingList == nullptr || PollingList->CurrentItem(item) == -1)
        return;
    Komunikace->QueueTelegramFirst(item.Source, item.Destination, item.Write, item.Mode, item.Address, item.Count,
                                   false);
    Komunikace->DropAfterSend = true;
    PollingList->Next();
}

void THlavniForm::Tmr_SendTLGTimer() {
    if (Komunikace == nullptr)
        return;
    if (TicksBetween(LastReplyTick, GetTickCount()) > Tmr_SendTLG->Interval()) {
        // No polling while the settings are written, here as in the dispatch.
        if (!SettingsWriteRunning)
            PumpTelegramQueue();
        Komunikace->SendNext();
    }
}

} // namespace zeko
