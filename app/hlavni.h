#pragma once
// THlavniForm: the main window, the multiple-document frame of the program. It owns
// the menus, the bar with the table buttons and the download gauge, the status bar
// and the two timers; it creates and frees the program-wide objects of the
// conversation with the regulator and reads and writes "Zeko.ini". The conversation
// itself is TConversation (app/Conversation.h): the window forwards the port's
// opening, the send timer and its menu and cancel commands to it and shows what it
// reports (hlavniConversation.cpp). Its commands open the table windows, whose
// requests TTableWindows answers (hlavniTables.cpp, app/TableWindows.h). Registered
// under the class name "THlavniForm", so other windows post their requests to it.
#include "app/Conversation.h"
#include "dialogs/online.h"
#include "platform/WindowMessages.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QMdiArea;
class QMenu;
class QProgressBar;
class QPushButton;

namespace zeko {

class TMDIImage;
class TSpeedBar;
class TSpeedbarSection;
class TStatusPanel;
class TSuperTimer;
class TTableWindows;
class TZaznamyServisForm;
class TZcSpeedButton;

class THlavniForm : public QMainWindow, public MessageTarget {
    Q_OBJECT
public:
    explicit THlavniForm(QWidget* parent = nullptr);
    ~THlavniForm() override;

    // Menus (captions as the user sees them; handlers below).
    QMenu* cmProgram = nullptr;
    QMenu* cmOkno = nullptr;
    QAction* cmOnline = nullptr;
    QAction* cmArchiv = nullptr;
    QAction* cmDennitabulka = nullptr;
    QAction* cmMesicniTabulka = nullptr;
    QAction* cmRocniTabulka = nullptr;
    QMenu* cmNastaveni = nullptr;
    QAction* cmNastaveniRegulatoru = nullptr;
    QAction* cmNastavitCas = nullptr;
    QAction* cmSmeny = nullptr;
    QAction* cmTarify = nullptr;
    QMenu* cmServis = nullptr;
    QAction* cmNactiZaznamyZeSouboru = nullptr;
    QAction* cmNulujZaznamy = nullptr;
    QAction* cmNactiZaznamy = nullptr;
    QMenu* cmComPort = nullptr;
    std::array<QAction*, 8> cmCom{};  // "Com 1" .. "Com 8", Tag 0..7
    QMenu* cmUsporadaniOken = nullptr;
    QAction* cmKaskada = nullptr;         // Tag 0
    QAction* cmDlazdice = nullptr;        // Tag 1
    QAction* cmUsporadejIkony = nullptr;  // Tag 2

    // The bar under the menu: the table buttons and the record-download progress
    // (hlavniBar.cpp).
    TSpeedBar* SpeedBar1 = nullptr;
    TSpeedbarSection* SpeedbarSection1 = nullptr;
    TZcSpeedButton* Btn_A1 = nullptr;
    TZcSpeedButton* Btn_DenniTabulka = nullptr;
    TZcSpeedButton* Btn_MesicniTabulka = nullptr;
    TZcSpeedButton* Btn_RocniTabulka = nullptr;
    QLabel* Lbl_NacitaniZaznamu = nullptr;
    QProgressBar* Gau_NacitaniZaznamu = nullptr;
    QPushButton* Btn_PrerusZaznamy = nullptr;

    // Status panels 0..4: the status line, two empty panels, the first and the
    // second identification text of the regulator.
    std::array<TStatusPanel*, 5> StatusPanels{};
    // The PC date and time while no child window is open.
    QLabel* Pnl_Datum = nullptr;
    QLabel* Pnl_Cas = nullptr;
    // The settings-read progress.
    QFrame* Panel1 = nullptr;
    QLabel* ProgressLabel = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QPushButton* ZrusNacitani = nullptr;

    QMdiArea* MdiArea() const { return mdiArea_; }
    // "logo.jpg" of the program folder behind the child windows (hlavniBar.cpp).
    TMDIImage* BackgroundImage = nullptr;

    // Status line (panel 0) and its stamped form used by every conversation result.
    void SetStatusLine(const std::string& text);
    std::string StatusLine() const;
    void SetStatusPanel(int index, const std::string& text);

    void HandleMessage(const TMessage& message) override;

    // ---- start, configuration, close (hlavni.cpp) ----
    // FormCreate is the start-up; the program runs it once the window is shown, so
    // that its messages appear over the window.
    void FormCreate();
    void FormResize();
    void FormClose();
    void ReadIniFile(const std::string& fileName);
    void WriteIniFile(const std::string& fileName);
    void FreeSharedObjects();
    // Another port: after the question, the conversation is built again on it. The
    // port ticked already: a port that went away is tried at once (the tries go on
    // when it is still missing, and the user is told why it does not open); one that
    // is not open, or whose start-up reading was cancelled, is opened again with a
    // new conversation; a conversation that runs is left as it is.
    void cmComClick(int tag);
    void cmKaskadaClick(int tag);
    void Tmr_ProgramTimer();
    void cmOnlineClick();
    // Enables or disables a menu item.
    void EnableItem(QAction* item, bool enabled);
    TOnlineForm* OnlineForm() const { return onlineForm_; }

    // ---- the conversation with the regulator (hlavniConversation.cpp) ----
    // The conversation of the port open now (one exists from FormCreate on).
    TConversation& Conversation() const { return *conversation_; }
    void Tmr_SendTLGTimer();
    void OpenConversation();
    void ShowSettingsProgress();
    void HideSettingsProgress();
    void ZrusNacitaniClick();
    void EnableRegulatorMenu();
    void DisableRegulatorMenu();

    // ---- table windows and their requests (hlavniTables.cpp, TableWindows.h) ----
    void cmDennitabulkaClick();
    void cmMesicniTabulkaClick();
    void cmRocniTabulkaClick();
    void Btn_DenniTabulkaClick();
    void Btn_MesicniTabulkaClick();
    void Btn_RocniTabulkaClick();
    // The windows and their requests WM_SHOW_DAY_TABLE .. WM_OPEN_DAY_TABLE.
    TTableWindows& Tables() const { return *tables_; }
    // WParam the day, LParam the channel id plus ArchiveMenuItemFactor × the item
    // of an archive-choice menu: only a request without an item opens the archive.
    void OpenArchive(bool Today);
    void WMShowArchive(const TMessage& message);
    // The record-file viewer: made and laid out once, then brought to the front.
    void cmNactiZaznamyZeSouboruClick();
    TZaznamyServisForm* ServiceViewer() const;

    // ---- the schedule editors (hlavniSchedules.cpp) ----
    void cmSmenyClick();
    void cmTarifyClick();

    // ---- the commands that change the regulator (hlavniSettings.cpp) ----
    void cmNastaveniRegulatoruClick();
    void cmNastavitCasClick();
    void cmNulujZaznamyClick();
    // The progress box while the changed settings are written.
    void ShowWriteProgress(const std::string& text);
    void HideWriteProgress();
    // "zekosettingsnew.set" gets what the regulator confirmed of the last edit: at
    // once when nothing is to be written, else when the write ends or is cut short,
    // so that it never holds values the regulator did not take. A failure is told
    // once the reply being handled is done (ShowSettingsFileError).
    void SaveConfirmedSettings();
    void ShowSettingsFileError();
    // While a settings write runs: the Yes/No question that names the groups not yet
    // written, ending in `question`; on Yes the write is cut short. True when no
    // write runs or the user said Yes.
    bool MayCutSettingsWrite(const std::string& question);

    // ---- record download (hlavniConversation.cpp) ----
    void cmNactiZaznamyClick();
    void Btn_PrerusZaznamyClick();
    void ShowDownloadProgress(int count, const std::string& text);
    void HideDownloadProgress();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenus();
    void CreateSpeedBar();
    void CreateBackgroundImage();
    void CreateStatusBar();
    void CreatePanels();
    void CreateSharedObjects();
    // Step 18 and 19 of the start-up: the port of ComPort opened at BaudRate and the
    // conversation opened, or the warning that it cannot be.
    void OpenPortAndConversation();
    void OpenSamePortAgain();
    // The conversation torn down and built again on the port of ComPort.
    void RestartConversation();
    void TickComItem();

    // What the conversation reports, shown by this window (hlavniConversation.cpp).
    class TConversationHost : public TConversationEvents {
    public:
        explicit TConversationHost(THlavniForm& form) : form_(form) {}
        void Status(const std::string& text) override;
        void IdentText(int n, const std::string& text) override;
        void ShowProgress(TProgressKind kind, int steps, const std::string& text) override;
        void StepProgress(TProgressKind kind) override;
        void HideProgress(TProgressKind kind) override;
        void SettingsRead() override;
        void LiveValuesRead() override;
        void SaveRecords(const TRecordList& records) override;
        void RegulatorAnswering(bool answering) override;
        void SettingsWriteEnded() override;

    private:
        THlavniForm& form_;
    };
    void CreateConversation();
    void FreeConversation();

    QMdiArea* mdiArea_ = nullptr;
    QActionGroup* comGroup_ = nullptr;
    bool resizeAttached_ = false;
    std::unique_ptr<TSuperTimer> Tmr_SendTLG;
    std::unique_ptr<TSuperTimer> Tmr_Program;
    TConversationHost host_{*this};
    // Shared with the saving threads' calls back only as a weak reference: a save
    // that ends after a port change writes no position to the new conversation.
    std::shared_ptr<TConversation> conversation_;
    // The live-values window while it exists; it goes with the window's children,
    // which may be after this window's own part is gone.
    QPointer<TOnlineForm> onlineForm_;
    std::unique_ptr<TTableWindows> tables_;
    QPointer<TZaznamyServisForm> serviceViewer_;
    std::string settingsFileError_;  // of SaveConfirmedSettings, not yet shown
};

} // namespace zeko
