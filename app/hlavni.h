#pragma once
// THlavniForm: the main window, the multiple-document frame of the program. It owns
// the menus, the bar with the table buttons and the download gauge, the status bar
// and the two timers; it creates and frees the program-wide objects of the
// conversation with the regulator, reads and writes "Zeko.ini", and runs the
// conversation itself: the reply parser and dispatch (hlavniReplies.cpp), the
// start-up reading and live-value polling (hlavniStartup.cpp) and the record
// download (hlavniDownload.cpp); its commands open the table windows, whose
// requests TTableWindows answers (hlavniTables.cpp, app/TableWindows.h). Registered
// under the class name "THlavniForm", so other windows post their requests to it.
#include "platform/WindowMessages.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <cstdint>
#include <memory>
#include <set>
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

class TFrameParser;
class TMDIImage;
class TOnlineForm;
class TSpeedBar;
class TSpeedbarSection;
class TSuperTimer;
class TTableWindows;
class TZaznamyServisForm;
class TZcSpeedButton;
struct TSaveOutcome;

// The fields of a reply as the handlers see them.
struct TReplyHeader {
    uint8_t Source = 0;
    int DataLength = 0;     // bits 4..0 of the length byte, minus 2
    uint8_t Flags = 0;      // bits 7..5 of the length byte
    uint8_t Mode = 0;       // memory kind
    bool WriteAck = false;  // the reply answers a write
    uint16_t Address = 0;
    const uint8_t* Data = nullptr;
};
TReplyHeader DecodeReplyHeader(const uint8_t* frame);

class THlavniForm : public QMainWindow, public MessageTarget {
    Q_OBJECT
public:
    explicit THlavniForm(QWidget* parent = nullptr);
    ~THlavniForm() override;

    // Menus (captions as the user sees them; handlers below).
    QMenu* cmProgram;
    QMenu* cmOkno;
    QAction* cmOnline;
    QAction* cmArchiv;
    QAction* cmDennitabulka;
    QAction* cmMesicniTabulka;
    QAction* cmRocniTabulka;
    QMenu* cmNastaveni;
    QAction* cmNastaveniRegulatoru;
    QAction* cmNastavitCas;
    QAction* cmSmeny;
    QAction* cmTarify;
    QMenu* cmServis;
    QAction* cmNactiZaznamyZeSouboru;
    QAction* cmNulujZaznamy;
    QAction* cmNactiZaznamy;
    QMenu* cmComPort;
    std::array<QAction*, 8> cmCom;  // "Com 1" .. "Com 8", Tag 0..7
    QMenu* cmUsporadaniOken;
    QAction* cmKaskada;         // Tag 0
    QAction* cmDlazdice;        // Tag 1
    QAction* cmUsporadejIkony;  // Tag 2

    // The bar under the menu: the table buttons and the record-download progress
    // (hlavniBar.cpp).
    TSpeedBar* SpeedBar1;
    TSpeedbarSection* SpeedbarSection1;
    TZcSpeedButton* Btn_A1;
    TZcSpeedButton* Btn_DenniTabulka;
    TZcSpeedButton* Btn_MesicniTabulka;
    TZcSpeedButton* Btn_RocniTabulka;
    QLabel* Lbl_NacitaniZaznamu;
    QProgressBar* Gau_NacitaniZaznamu;
    QPushButton* Btn_PrerusZaznamy;

    // Status panels 0..4: the status line, two empty panels, the first and the
    // second identification text of the regulator.
    std::array<QLabel*, 5> StatusPanels;
    // The PC date and time while no child window is open.
    QLabel* Pnl_Datum;
    QLabel* Pnl_Cas;
    // The settings-read progress.
    QFrame* Panel1;
    QLabel* ProgressLabel;
    QProgressBar* ProgressBar;
    QPushButton* ZrusNacitani;

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
    void cmComClick(int tag);
    void cmKaskadaClick(int tag);
    void Tmr_ProgramTimer();
    void cmOnlineClick();
    // Enables or disables a menu item; an item whose window or command comes with
    // a later part of the program stays disabled.
    void EnableItem(QAction* item, bool enabled);
    TOnlineForm* OnlineForm() const { return onlineForm_; }

    // ---- reply parser and dispatch (hlavniReplies.cpp) ----
    void ReceiveBytes(const uint8_t* data, uint32_t count);
    void HandleRegulatorReply(const uint8_t* frame);
    void HandleEepromReply(const TReplyHeader& reply);
    void HandleRamReply(const TReplyHeader& reply);
    void HandleIdentReply(const TReplyHeader& reply);
    void PumpTelegramQueue();
    void Tmr_SendTLGTimer();

    // ---- start-up reading and live values (hlavniStartup.cpp) ----
    void OpenConversation();
    void ShowSettingsProgress();
    void HideSettingsProgress();
    void ZrusNacitaniClick();
    void EnableRegulatorMenu();
    void DisableRegulatorMenu();
    const std::array<std::string, 4>& IdentTexts() const { return identTexts_; }

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

    // ---- record download (hlavniDownload.cpp) ----
    void cmNactiZaznamyClick();
    void Btn_PrerusZaznamyClick();
    void HandleRecordReply(const TReplyHeader& reply);
    void ShowDownloadProgress(int count, const std::string& text);
    void HideDownloadProgress();

    bool DownloadCancelled = false;
    bool SettingsWriteRunning = false;

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
    void ResetConversationFlags();
    // Step 18 and 19 of the start-up: the port of ComPort opened at BaudRate and the
    // conversation opened, or the warning that it cannot be.
    void OpenPortAndConversation();
    void TickComItem();

    // Start-up reading (hlavniStartup.cpp).
    bool HandleStartupSettingsReply(const TReplyHeader& reply);
    void HandleStartupClock(const TReplyHeader& reply);
    void HandleLastSettingsBlock(const TReplyHeader& reply);
    void HandleLiveValues(const TReplyHeader& reply);
    void QueueRead(uint8_t mode, uint8_t index);

    // Record download (hlavniDownload.cpp).
    void StartDownload();
    void HandleRecordPointers(const TReplyHeader& reply);
    void QueueAddressHighByte(uint32_t address);
    void QueueRecordRead(uint32_t address);
    void FinishDownload();
    void DownloadSaved(const TSaveOutcome& outcome, uint32_t nextIndex);
    void HandleReadPositionAck();

    QMdiArea* mdiArea_;
    QActionGroup* comGroup_;
    bool resizeAttached_ = false;
    std::unique_ptr<TSuperTimer> Tmr_SendTLG;
    std::unique_ptr<TSuperTimer> Tmr_Program;
    std::unique_ptr<TFrameParser> parser_;
    uint32_t answeredSend_ = 0;  // Komunikace->SendCount when the last reply was taken
    std::array<std::string, 4> identTexts_;
    TOnlineForm* onlineForm_ = nullptr;  // valid while OnlineOpen
    std::unique_ptr<TTableWindows> tables_;
    QPointer<TZaznamyServisForm> serviceViewer_;
    std::set<QAction*> laterItems_;  // items of windows that come later
    // Owner of the saving threads' calls back: cancelled with the conversation, so
    // a save ended after a port change writes no position to the new one.
    char savingOwner_ = 0;
};

} // namespace zeko
