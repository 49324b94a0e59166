// The record download: the record pointers are read, every unread record of the
// ring is read in its own telegram (register 0x0113 holding the upper byte of the
// record's address), converted and collected; the host stores them, and only when
// every record is stored is the new read position written back to the regulator. A
// save that fails leaves the position as it was, so the next download reads the
// same records again. "Zruš" ends a download at once, whether or not a reply is on
// its way: what was read is stored and the position after it written back. A
// record whose stamp is no date and time is read past and never stored; how many
// were left out is told after the position is written.
#include "app/Conversation.h"

#include "core/RecordMemory.h"
#include "core/RecordSaving.h"
#include "core/RegisterTables.h"
#include "core/RegulatorReplies.h"
#include "core/WireRecord.h"
#include "platform/Notifier.h"

#include <utility>

namespace zeko {

namespace {

using tlg::StationPC;
using tlg::StationRegulator;

// The telegrams a download queues for its records: the reads of the record memory
// and the writes of the upper address byte before them.
bool IsRecordRequest(std::span<const uint8_t> telegram) {
    const TReplyHeader t = DecodeReplyHeader(telegram.data());
    return (t.Mode == tlg::KindRecords && !t.WriteAck) ||
           (t.Mode == tlg::KindSettings && t.WriteAck && t.Address == Registers::RecordAddressHigh);
}

std::string CancelledText(size_t stored) {
    return "Načítání záznamů zrušeno, uloženo záznamů: " + std::to_string(stored);
}

} // namespace

void TConversation::RequestDownload() {
    if (phase_ != TConversationPhase::Closed) {
        download_.Requested = true;
        return;
    }
    // Nothing would ever start it: no telegram goes out on this port.
    const std::string why = link_.Port->Connected()
                                ? "komunikace s regulátorem nebyla navázána (načítání nastavení bylo zrušeno).\n"
                                  "Naváže se znovu po volbě jiného sériového portu."
                                : "sériový port není otevřen.\n" + PortDeviceText();
    MessageDlg("Záznamy nelze načíst, " + why, TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
}

void TConversation::CancelDownload() {
    download_.Cancelled = true;
    if (download_.Phase != TDownloadPhase::ReadingRecords)
        return;
    // The read on its way is taken back, with the address byte before it: a reply
    // that still comes finds the download ended, and the next download reads that
    // record again.
    link_.DropQueuedIf(IsRecordRequest);
    FinishDownload(state_.DownloadIndex);
}

void TConversation::StartDownload() {
    download_.Requested = false;
    download_.Phase = TDownloadPhase::ReadingPointers;
    QueueRead(tlg::KindSettings, reg8::RecordPointers);
}

void TConversation::HandleRecordPointers(const TReplyHeader& reply) {
    if (download_.Phase != TDownloadPhase::ReadingPointers)
        return;
    TZEKO& s = state_;
    if (!DecodeRecordPointers(reply.Data, reply.DataLength, s)) {
        download_.Phase = TDownloadPhase::Idle;
        return;
    }
    if (s.NewestIndex >= RingRecords || s.OldestUnreadIndex >= RingRecords) {
        // Pointers outside the ring would read (and store) places that hold no record.
        download_.Phase = TDownloadPhase::Idle;
        Report("Chybné ukazatele záznamů v regulátoru (" + std::to_string(s.NewestIndex) + ", " +
               std::to_string(s.OldestUnreadIndex) + "), záznamy nebyly načteny");
        return;
    }
    if ((s.NewestIndex == 0 || s.NewestIndex == s.OldestUnreadIndex) && s.PointerFlag == 0) {
        download_.Phase = TDownloadPhase::Idle;
        return;
    }
    download_.Phase = TDownloadPhase::ReadingRecords;
    download_.Records.clear();
    download_.Skipped = 0;
    s.DownloadIndex = s.OldestUnreadIndex;
    s.DownloadAddress = RecordAddress(s.DownloadIndex);
    QueueAddressHighByte(s.DownloadAddress);
    QueueRecordRead(s.DownloadAddress);
    download_.Cancelled = false;
    const int count = static_cast<int>(RingDistance(s.OldestUnreadIndex, s.NewestIndex));
    events_.ShowProgress(TProgressKind::Download, count,
                         "Probíhá načítání záznamů - ZEKO (" + std::to_string(count) + ")");
}

void TConversation::QueueAddressHighByte(uint32_t address) {
    const uint8_t high[] = {AddressHighByte(address)};
    link_.QueueTelegram(StationPC, StationRegulator, 1, tlg::KindSettings, Registers::RecordAddressHigh, high, 0);
}

void TConversation::QueueRecordRead(uint32_t address) {
    // The staged form: a read carries the data bytes staged last, as it always has.
    link_.QueueTelegram(StationPC, StationRegulator, 0, tlg::KindRecords, AddressLowWord(address),
                        static_cast<uint8_t>(WireLayout::Size), 0);
}

void TConversation::RequeueRecordRead() {
    // A regulator switched off together with the adapter has lost the upper byte of
    // the address: the read without it would store another place under this index.
    link_.DropQueuedIf(IsRecordRequest);
    QueueAddressHighByte(state_.DownloadAddress);
    QueueRecordRead(state_.DownloadAddress);
}

void TConversation::HandleRecordReply(const TReplyHeader& reply) {
    TZEKO& s = state_;
    if (download_.Phase != TDownloadPhase::ReadingRecords || reply.WriteAck ||
        reply.Address != AddressLowWord(s.DownloadAddress) || reply.DataLength < static_cast<int>(WireLayout::Size))
        return;
    link_.DropHead();
    TRegulatorRecord record;
    DecodeRecord(reply.Data, record, s.DownloadIndex, s.InputConstants);
    // A record whose stamp is no date and time belongs in no month file; it is read
    // past all the same, or every download would stop at it.
    int64_t seconds = 0;
    if (RecordSeconds(record, seconds)) {
        download_.Records.push_back(record);
    } else if (download_.Skipped++ == 0) {
        download_.FirstSkipped = s.DownloadIndex;
    }
    if (s.DownloadIndex == PreviousRingIndex(s.NewestIndex)) {
        FinishDownload(NextRingIndex(s.DownloadIndex));
        return;
    }
    const uint32_t previousAddress = s.DownloadAddress;
    s.DownloadIndex = NextRingIndex(s.DownloadIndex);
    s.DownloadAddress = RecordAddress(s.DownloadIndex);
    if (AddressHighByte(s.DownloadAddress) != AddressHighByte(previousAddress))
        QueueAddressHighByte(s.DownloadAddress);
    QueueRecordRead(s.DownloadAddress);
    events_.StepProgress(TProgressKind::Download);
}

void TConversation::FinishDownload(uint32_t resumeIndex) {
    events_.HideProgress(TProgressKind::Download);
    download_.ResumeIndex = resumeIndex;
    if (download_.Records.empty()) {
        if (download_.Skipped == 0) {
            // Cancelled before the first record came: the position stays as it is.
            download_.Phase = TDownloadPhase::Idle;
            Report(CancelledText(0));
            return;
        }
        // Nothing to store, but the records read are behind the position.
        if (download_.Cancelled)
            Report(CancelledText(0));
        WriteReadPosition();
        return;
    }
    download_.Phase = TDownloadPhase::Saving;
    const TRecordList records = std::exchange(download_.Records, {});
    events_.SaveRecords(records);
}

void TConversation::WriteReadPosition() {
    download_.Phase = TDownloadPhase::WritingPosition;
    const auto position = ReadPositionData(download_.ResumeIndex);
    link_.QueueTelegram(StationPC, StationRegulator, 1, tlg::KindSettings, Registers::ReadPosition, position, 0);
    link_.QueueTelegram(StationPC, StationRegulator, 1, tlg::KindWorking, Registers::ReadPositionWorking, position, 0);
}

void TConversation::RecordsSaved(const TSaveOutcome& outcome) {
    if (download_.Phase != TDownloadPhase::Saving)
        return;
    if (!outcome.Success) {
        download_.Phase = TDownloadPhase::Idle;
        Report("Záznamy nebyly uloženy, pozice záznamů PC nezměněna");
        MessageDlg("Chyba při ukládání záznamů:\n" + outcome.Error +
                       "\nPozice záznamů v regulátoru nebyla změněna, záznamy se načtou znovu.",
                   TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
        return;
    }
    if (download_.Cancelled)
        Report(CancelledText(outcome.Appended + outcome.Replaced + outcome.Unchanged));
    WriteReadPosition();
}

void TConversation::HandleReadPositionAck() {
    link_.DropHead();
    Report("Pozice záznamů PC zapsána");
    if (download_.Skipped != 0)
        Report("Záznamy s neplatným datem a časem vynechány: " + std::to_string(download_.Skipped) +
               " (první z nich č. " + std::to_string(download_.FirstSkipped) + " v regulátoru)");
    download_.Phase = TDownloadPhase::Idle;
}

} // namespace zeko
