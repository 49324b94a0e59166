// The record download: the record pointers are read, every unread record of the
// ring is read in its own telegram (register 0x0113 holding the upper byte of the
// record's address), converted and collected; the saving thread merges them into
// the month files, and only when every record is stored is the new read position
// written back to the regulator. A save that fails leaves the position as it was,
// so the next download reads the same records again.
#include "app/hlavni.h"

#include "core/RegulatorReplies.h"
#include "app/TestHook.h"
#include "core/WireRecord.h"
#include "core/Komunikace.h"
#include "core/ProgramGlobals.h"
#include "core/RecordSaving.h"
#include "core/RecordStore.h"
#include "core/RegisterTables.h"
#include "core/Telegram.h"
#include "core/TextHelpers.h"
#include "core/Zeko.h"
#include "platform/Notifier.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace zeko {

namespace {

using tlg::StationPC;
using tlg::StationRegulator;

constexpr uint16_t LowWord(uint32_t address) { return static_cast<uint16_t>(address & 0xFFFF); }

} // namespace

void THlavniForm::cmNactiZaznamyClick() { DownloadRequested = true; }

void THlavniForm::Btn_PrerusZaznamyClick() {
    Btn_PrerusZaznamy->setEnabled(false);
    DownloadCancelled = true;
}

void THlavniForm::StartDownload() {
    DownloadRequested = false;
    DownloadRunning = true;
    QueueRead(tlg::KindSettings, reg8::RecordPointers);
}

void THlavniForm::HandleRecordPointers(const TReplyHeader& reply) {
    TZEKO& s = *CurrentState;
    if (!DecodeRecordPointers(reply.Data, reply.DataLength, s)) {
        DownloadRunning = false;
        return;
    }
    if (s.NewestIndex >= RingRecords || s.OldestUnreadIndex >= RingRecords) {
        // Pointers outside the ring would read (and store) places that hold no record.
        DownloadRunning = false;
        SetStatusLine(StampedLine("Chybné ukazatele záznamů v regulátoru (" + std::to_string(s.NewestIndex) + ", " +
                                  std::to_string(s.OldestUnreadIndex) + "), záznamy nebyly načteny"));
        return;
    }
    if ((s.NewestIndex == 0 || s.NewestIndex == s.OldestUnreadIndex) && s.PointerFlag == 0) {
        DownloadRunning = false;
        return;
    }
    FreeRecordList(DownloadedRecords);
    s.DownloadIndex = s.OldestUnreadIndex;
    s.DownloadAddress = RecordAddress(s.DownloadIndex);
    QueueAddressHighByte(s.DownloadAddress);
    QueueRecordRead(s.DownloadAddress);
    DownloadCancelled = false;
    const int count = static_cast<int>(RingDistance(s.OldestUnreadIndex, s.NewestIndex));
    ShowDownloadProgress(count, "Probíhá načítání záznamů - ZEKO (" + std::to_string(count) + ")");
}

void THlavniForm::QueueAddressHighByte(uint32_t address) {
    Komunikace->SetDataByte(1, AddressHighByte(address));
    Komunikace->QueueTelegram(StationPC, StationRegulator, 1, tlg::KindSettings, Registers::RecordAddressHigh, 1, 0);
}

void THlavniForm::QueueRecordRead(uint32_t address) {
    Komunikace->QueueTelegram(StationPC, StationRegulator, 0, tlg::KindRecords, LowWord(address),
                              static_cast<uint8_t>(WireLayout::Size), 0);
}

void THlavniForm::HandleRecordReply(const TReplyHeader& reply) {
    TZEKO& s = *CurrentState;
    if (!DownloadRunning || reply.WriteAck || reply.Address != LowWord(s.DownloadAddress) ||
        reply.DataLength < static_cast<int>(WireLayout::Size))
        return;
    Komunikace->DropHead();
    TRegulatorRecord record;
    DecodeRecord(reply.Data, record, s.DownloadIndex, s.InputConstants);
    DownloadedRecords.push_back(record);
    if (s.DownloadIndex == PreviousRingIndex(s.NewestIndex) || DownloadCancelled) {
        FinishDownload();
        return;
    }
    const uint32_t previousAddress = s.DownloadAddress;
    s.DownloadIndex = NextRingIndex(s.DownloadIndex);
    s.DownloadAddress = RecordAddress(s.DownloadIndex);
    if (AddressHighByte(s.DownloadAddress) != AddressHighByte(previousAddress))
        QueueAddressHighByte(s.DownloadAddress);
    QueueRecordRead(s.DownloadAddress);
    Gau_NacitaniZaznamu->setValue(Gau_NacitaniZaznamu->value() + 1);
}

void THlavniForm::FinishDownload() {
    HideDownloadProgress();
    const uint32_t next = NextRingIndex(CurrentState->DownloadIndex);
    TZEKOSavingThread saver(
        DownloadedRecords, "", [this, next](const TSaveOutcome& outcome) { DownloadSaved(outcome, next); }, &savingOwner_);
    FreeRecordList(DownloadedRecords);
}

void THlavniForm::DownloadSaved(const TSaveOutcome& outcome, uint32_t nextIndex) {
    if (Komunikace == nullptr)
        return;
    if (!outcome.Success) {
        DownloadRunning = false;
        SetStatusLine(StampedLine("Záznamy nebyly uloženy, pozice záznamů PC nezměněna"));
        MessageDlg("Chyba při ukládání záznamů:\n" + outcome.Error +
                       "\nPozice záznamů v regulátoru nebyla změněna, záznamy se načtou znovu.",
                   TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
        return;
    }
    const auto data = ReadPositionData(nextIndex);
    for (size_t i = 0; i < data.size(); ++i)
        Komunikace->SetDataByte(static_cast<uint8_t>(i + 1), data[i]);
    Komunikace->QueueTelegram(StationPC, StationRegulator, 1, tlg::KindSettings, Registers::ReadPosition,
                              static_cast<uint8_t>(data.size()), 0);
    Komunikace->QueueTelegram(StationPC, StationRegulator, 1, tlg::KindWorking, Registers::ReadPositionWorking,
                              static_cast<uint8_t>(data.size()), 0);
}

void THlavniForm::HandleReadPositionAck() {
    Komunikace->DropHead();
    SetStatusLine(StampedLine("Pozice záznamů PC zapsána"));
    DownloadRunning = false;
}

void THlavniForm::ShowDownloadProgress(int count, const std::string& text) {
    Lbl_NacitaniZaznamu->setText(QString::fromStdString(text));
    Lbl_NacitaniZaznamu->adjustSize();
    Gau_NacitaniZaznamu->move(Lbl_NacitaniZaznamu->x() + Lbl_NacitaniZaznamu->width() + 8, Gau_NacitaniZaznamu->y());
    Gau_NacitaniZaznamu->setRange(0, count);
    Gau_NacitaniZaznamu->setValue(0);
    Btn_PrerusZaznamy->setEnabled(true);
    FormResize();
    Lbl_NacitaniZaznamu->show();
    Gau_NacitaniZaznamu->show();
    Btn_PrerusZaznamy->show();
    TestLog("Download " + std::to_string(count));
}

void THlavniForm::HideDownloadProgress() {
    Lbl_NacitaniZaznamu->hide();
    Gau_NacitaniZaznamu->hide();
    Btn_PrerusZaznamy->hide();
}

} // namespace zeko
