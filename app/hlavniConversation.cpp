// The main window's side of the conversation with the regulator: it creates the
// conversation of the port, forwards the send timer and its commands to it, and
// shows what the conversation reports: the status line, the identification texts,
// the settings-read panel, the download gauge, the live-values window. It stores a
// download's records in a saving thread and answers the conversation when they are.
#include "app/hlavni.h"

#include "app/Conversation.h"
#include "app/TestHook.h"
#include "core/Komunikace.h"
#include "core/PollingList.h"
#include "core/ProgramGlobals.h"
#include "core/RecordSaving.h"
#include "core/SuperTimer.h"
#include "core/ZekoMessages.h"
#include "dialogs/online.h"
#include "platform/MainThread.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace zeko {

namespace {

// The status panels of the first and the second identification text.
constexpr int IdentPanels[] = {3, 4};

} // namespace

void THlavniForm::TConversationHost::Status(const std::string& text) { form_.SetStatusLine(text); }

void THlavniForm::TConversationHost::IdentText(int n, const std::string& text) {
    if (n >= 1 && n <= static_cast<int>(std::size(IdentPanels)))
        form_.SetStatusPanel(IdentPanels[n - 1], text.substr(0, text.find('\0')));
}

void THlavniForm::TConversationHost::ShowProgress(TProgressKind kind, int steps, const std::string& text) {
    if (kind == TProgressKind::Download) {
        form_.ShowDownloadProgress(steps, text);
        return;
    }
    if (kind == TProgressKind::SettingsWrite) {
        form_.ShowWriteProgress(text);
        return;
    }
    form_.ShowSettingsProgress();
    form_.ProgressBar->setMaximum(steps);
}

void THlavniForm::TConversationHost::StepProgress(TProgressKind kind) {
    QProgressBar* bar = kind == TProgressKind::Download ? form_.Gau_NacitaniZaznamu : form_.ProgressBar;
    bar->setValue(bar->value() + 1);
}

void THlavniForm::TConversationHost::HideProgress(TProgressKind kind) {
    if (kind == TProgressKind::Download)
        form_.HideDownloadProgress();
    else if (kind == TProgressKind::SettingsWrite)
        form_.HideWriteProgress();
    else
        form_.HideSettingsProgress();
}

void THlavniForm::TConversationHost::SettingsRead() {
    PostMessageTo(&form_, WM_OPEN_ONLINE, 0, 0);
    form_.EnableRegulatorMenu();
}

void THlavniForm::TConversationHost::LiveValuesRead() {
    if (OnlineOpen && form_.onlineForm_ != nullptr)
        PostMessageTo(form_.onlineForm_, WM_ONLINE_REFRESH, 0, 0);
}

void THlavniForm::TConversationHost::RegulatorAnswering(bool) {
    // The window shows its values as old, or as current again.
    if (OnlineOpen && form_.onlineForm_ != nullptr)
        PostMessageTo(form_.onlineForm_, WM_ONLINE_REFRESH, 0, 0);
}

void THlavniForm::TConversationHost::SettingsWriteEnded() { form_.SaveConfirmedSettings(); }

void THlavniForm::TConversationHost::SaveRecords(const TRecordList& records) {
    const std::weak_ptr<TConversation> conversation = form_.conversation_;
    TZEKOSavingThread saver(
        records, "",
        [conversation](const TSaveOutcome& outcome) {
            if (const auto alive = conversation.lock())
                alive->RecordsSaved(outcome);
        },
        form_.conversation_.get());
}

void THlavniForm::CreateConversation() {
    conversation_ = std::make_shared<TConversation>(host_, this);
    TConversation& c = *conversation_;
    Komunikace = &c.Link();
    CurrentState = &c.State();
    EditedSettings = &c.Edited();
    PollingList = &c.Polling();
    DownloadedRecords = &c.Records();
    // The port takes a reply up as its bytes come; its polling timer keeps the 40 ms
    // of the link layer unless a test asks for another.
    const TTestAutomation* automation = TTestAutomation::Instance();
    if (automation && automation->PortPollingMs())
        c.Link().Port->SetPollingDelay(automation->PortPollingMs());
    if (automation && automation->PcClock())
        c.PcClock = [fixed = *automation->PcClock()] { return fixed; };
}

void THlavniForm::FreeConversation() {
    if (!conversation_)
        return;
    MainThread().CancelFor(conversation_.get());
    Komunikace = nullptr;
    CurrentState = nullptr;
    EditedSettings = nullptr;
    PollingList = nullptr;
    DownloadedRecords = nullptr;
    // Bytes and replies of the old port are no longer looked at.
    conversation_.reset();
}

void THlavniForm::OpenConversation() {
    conversation_->OpenConversation();
    Tmr_SendTLG->SetEnabled(true);
}

void THlavniForm::Tmr_SendTLGTimer() {
    if (conversation_)
        conversation_->SendTimerTick(Tmr_SendTLG->Interval());
}

void THlavniForm::ShowSettingsProgress() {
    Panel1->show();
    Panel1->raise();
    ZrusNacitani->show();
    ZrusNacitani->raise();
    ProgressBar->setValue(ProgressBar->minimum());
}

void THlavniForm::HideSettingsProgress() {
    Panel1->hide();
    ZrusNacitani->hide();
}

void THlavniForm::ZrusNacitaniClick() {
    conversation_->CancelSettingsRead();
    DisableRegulatorMenu();
    SetStatusPanel(3, "");
    SetStatusPanel(4, "");
}

void THlavniForm::EnableRegulatorMenu() {
    EnableItem(cmNastaveniRegulatoru, true);
    EnableItem(cmNastavitCas, true);
}

void THlavniForm::DisableRegulatorMenu() {
    EnableItem(cmNastaveniRegulatoru, false);
    EnableItem(cmNastavitCas, false);
}

void THlavniForm::cmNactiZaznamyClick() {
    if (conversation_)
        conversation_->RequestDownload();
}

void THlavniForm::Btn_PrerusZaznamyClick() {
    Btn_PrerusZaznamy->setEnabled(false);
    conversation_->CancelDownload();
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
