// The main window's commands that change the regulator: the settings dialog and the
// write of the changed settings, the clock set from the PC clock, and the reset of
// the record positions. The conversation sends the telegrams and takes their
// acknowledgements (app/ConversationWrite.cpp); the window asks, shows the dialog
// and the progress box, and keeps the settings files: "zekosettings.set" as the
// regulator had its settings before the edit, "zekosettingsnew.set" as it confirmed
// them after it.
#include "app/hlavni.h"

#include "app/TestHook.h"
#include "core/TextHelpers.h"
#include "dialogs/info.h"
#include "dialogs/nastaveni.h"
#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "platform/Notifier.h"
#include "platform/ProgramDir.h"

#include <QTimer>

#include <utility>

namespace zeko {

namespace {

// The settings before and after the last confirmed edit.
constexpr const char* SettingsAsRead = "zekosettings.set";
constexpr const char* SettingsAsEdited = "zekosettingsnew.set";

} // namespace

void THlavniForm::cmNastaveniRegulatoruClick() {
    if (!conversation_)
        return;
    // The groups still on their way would be taken from an edit begun over them.
    if (conversation_->SettingsWriteRunning()) {
        MessageDlg("Probíhá zápis nastavení regulátoru!", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
        return;
    }
    const std::shared_ptr<TConversation> conversation = conversation_;
    conversation->State().AssignTo(conversation->Edited());
    TNastaveniForm form(conversation->Edited(), conversation->State(), this);
    form.LoadControls();
    if (form.ShowModal() != ModalResults::Ok)
        return;
    try {
        form.StoreControls();
        conversation->State().SaveToIni(ProgramFile(SettingsAsRead));
    } catch (const EConvertError& e) {
        ShowException(e);
        return;
    } catch (const EIniFileException& e) {
        ShowException(e);
        return;
    }
    if (!conversation->WriteChangedSettings()) {
        SaveConfirmedSettings();
        ShowSettingsFileError();
    }
}

void THlavniForm::SaveConfirmedSettings() {
    if (!conversation_)
        return;
    try {
        conversation_->State().SaveToIni(ProgramFile(SettingsAsEdited));
    } catch (const EIniFileException& e) {
        // A message box now would run the event loop inside the reply's handler.
        settingsFileError_ = e.what();
        QTimer::singleShot(0, this, [this] { ShowSettingsFileError(); });
    }
}

void THlavniForm::ShowSettingsFileError() {
    if (settingsFileError_.empty())
        return;
    const std::string text = std::exchange(settingsFileError_, std::string());
    MessageDlg(text, TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
}

bool THlavniForm::MayCutSettingsWrite(const std::string& question) {
    if (!conversation_ || !conversation_->SettingsWriteRunning())
        return true;
    const std::string groups = Joined(conversation_->UnwrittenGroups(), ", ");
    if (MessageDlg("Probíhá zápis nastavení regulátoru, dosud nezapsáno: " + groups + ".\n" + question,
                   TMsgDlgType::mtWarning, TMsgDlgButtons::mbYesNo) != TModalResult::mrYes)
        return false;
    // The write may have ended while the question was open.
    if (conversation_) {
        conversation_->AbandonSettingsWrite();
        ShowSettingsFileError();
    }
    return true;
}

void THlavniForm::ShowWriteProgress(const std::string& text) {
    TestLog("InfoForm " + text);
    if (InfoForm != nullptr)
        InfoForm->Start(text);
}

void THlavniForm::HideWriteProgress() {
    TestLog("InfoForm closed");
    if (InfoForm != nullptr)
        InfoForm->Finish();
}

void THlavniForm::cmNastavitCasClick() {
    if (MessageDlg("Opravdu chcete nastavit čas regulátoru dle PC?", TMsgDlgType::mtConfirmation,
                   TMsgDlgButtons::mbYesNo) != TModalResult::mrYes)
        return;
    if (conversation_)
        conversation_->SetRegulatorClock();
}

void THlavniForm::cmNulujZaznamyClick() {
    if (!conversation_)
        return;
    const auto refused = [](TResetRefusal refusal) {
        switch (refusal) {
        case TResetRefusal::None: return false;
        case TResetRefusal::DownloadRunning:
            MessageDlg("Probíhá načítání záznamů!", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
            return true;
        case TResetRefusal::NotOpen:
            MessageDlg("Komunikace s regulátorem není navázána, pozice záznamů nelze vynulovat!",
                       TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
            return true;
        }
        return true;
    };
    if (refused(conversation_->ResetRefusal()))
        return;
    if (MessageDlg("Chcete vynulovat pozice záznamů?", TMsgDlgType::mtWarning, TMsgDlgButtons::mbYesNo) !=
        TModalResult::mrYes)
        return;
    // A download may have begun while the question was open.
    if (conversation_)
        refused(conversation_->ResetRecordPositions());
}

} // namespace zeko
