#pragma once
// TConversation: the conversation with the regulator, without a window. It owns the
// link layer, the frame parser, the polling list, the regulator state (as read, and
// as edited) and the download cursor, and it runs every request chain: the opening
// with its start-up reading, the polling of the live values, and the record
// download, and the writes that change the regulator: the changed settings, the
// clock and the reset of the record positions. What it is told: the bytes the port
// delivers, the ticks of the send timer, and the user's requests. What it tells: the
// status line, the progress, the end of the settings read, the live values, a
// regulator that stops answering and answers again, and the records a download has
// read, to be stored (TConversationEvents). A port whose device goes away (a USB
// adapter pulled out) is told, nothing is sent while the port component tries to
// open it again, and once it is back the conversation goes on where it stood: the
// live values are polled again, and a download goes on with the record it waited
// for (ConversationPortLoss.cpp).
//
// Its state is two phases instead of scattered flags. The conversation runs
// Closed -> ReadingSettings -> Polling; a settings write holds the polling as
// WritingSettings. Beside it the download runs Idle -> ReadingPointers ->
// ReadingRecords -> Saving -> WritingPosition -> Idle; a requested download waits
// for the next handled reply outside the settings read and write.
//
// The program-wide names of the conversation (Komunikace, CurrentState,
// EditedSettings, PollingList, DownloadedRecords) point at its members while the
// main window keeps it. Everything runs in the main thread.
#include "app/SilenceWatch.h"
#include "core/FrameParser.h"
#include "core/Komunikace.h"
#include "core/PollingList.h"
#include "core/RecordStore.h"
#include "core/RegulatorReplies.h"
#include "core/Zeko.h"

#include "platform/DateTime.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zeko {

struct TSaveOutcome;
struct TSettingsGroup;

enum class TConversationPhase : uint8_t {
    Closed,           // nothing goes out: no port yet, or the start-up reading was cancelled
    ReadingSettings,  // the start-up reading: each reply queues the next read
    Polling,          // the live values are polled; a requested download runs beside them
    WritingSettings,  // a settings write holds the polling and the downloads until it ends
};

enum class TDownloadPhase : uint8_t {
    Idle,
    ReadingPointers,  // the record pointers are asked for
    ReadingRecords,   // one read per record, the upper address byte written where it changes
    Saving,           // the records are with the host, to be stored
    WritingPosition,  // the new read position goes to the settings area and the working registers
};

// Which progress an event is about: the panel of the settings read, the gauge of a
// download, or the box of a settings write (which has no steps).
enum class TProgressKind : uint8_t { SettingsRead, Download, SettingsWrite };

// Why the record positions cannot be reset now.
enum class TResetRefusal : uint8_t { None, DownloadRunning, NotOpen };

class TConversationEvents {
public:
    virtual ~TConversationEvents() = default;
    // A result for the status line, already stamped with the date and time.
    virtual void Status(const std::string& text) = 0;
    // Identification text n (1..4) as the regulator sent it (UTF-8).
    virtual void IdentText(int n, const std::string& text) = 0;
    // A progress is shown with its number of steps (a download's with its text),
    // advanced by one step, and hidden.
    virtual void ShowProgress(TProgressKind kind, int steps, const std::string& text) = 0;
    virtual void StepProgress(TProgressKind kind) = 0;
    virtual void HideProgress(TProgressKind kind) = 0;
    // The start-up reading has ended: the settings are in State(), polling begins.
    virtual void SettingsRead() = 0;
    // A live-values reply is in State().
    virtual void LiveValuesRead() = 0;
    // A download has ended: its records are to be stored, and the host answers with
    // RecordsSaved once they are (or are not). The records are the host's copy.
    virtual void SaveRecords(const TRecordList& records) = 0;
    // A settings write has ended, with every group acknowledged or cut short:
    // State() holds what the regulator confirmed.
    virtual void SettingsWriteEnded() {}
    // The regulator has stopped answering (false), or answers again (true); the
    // status line has said so. The live values in State() are then the last ones
    // read, not current ones.
    virtual void RegulatorAnswering(bool answering) { (void)answering; }
};

class TConversation {
public:
    // portOwner is handed to the port component.
    explicit TConversation(TConversationEvents& events, void* portOwner = nullptr);
    ~TConversation();
    TConversation(const TConversation&) = delete;
    TConversation& operator=(const TConversation&) = delete;

    // ---- opening (ConversationStartup.cpp)
    // Selects port COMn and opens it at the rate; false when it cannot be opened.
    bool OpenPort(int comPort, int baudRate);
    // The two start-up writes, then the start-up reading with its progress shown.
    void OpenConversation();
    // "Zruš" of the settings read: nothing more is looked at or sent on this port.
    void CancelSettingsRead();
    // The port-missing message: its first line as it always was, then the device
    // that the port stands for and why it did not open: the device missing (and how
    // to choose another one), the user not allowed to open it (not in its group),
    // another program holding it, no serial line, or the rate refused.
    std::string PortMissingText() const;
    // The port's device went away and is not back yet; RetryLostPort tries to open
    // it at once (the port's own tries go on when that fails).
    bool PortLost() const { return portLost_; }
    bool RetryLostPort();

    // ---- what comes in (Conversation.cpp)
    // The port's receive handler, installed by OpenConversation.
    void ReceiveBytes(const uint8_t* data, size_t count);
    // The send timer: when no reply has come for longer than its interval, a due
    // live-values read goes to the head of the queue and the head telegram is sent.
    void SendTimerTick(uint32_t intervalMs);
    // A settings write holds the polling and any download from its first telegram
    // queued to its last acknowledgement.
    void EnterSettingsWrite();
    void LeaveSettingsWrite();

    // ---- the record download (ConversationDownload.cpp)
    // "Načti záznamy": starts with the next handled reply, after a running one. With
    // no conversation (no port, or the start-up reading cancelled) the user is told
    // why nothing happens.
    void RequestDownload();
    // "Zruš": the download ends at once, also while a reply is awaited: the records
    // read so far are stored and the position after them is written back.
    void CancelDownload();
    // The host's answer to SaveRecords; anything but the answer awaited is ignored.
    void RecordsSaved(const TSaveOutcome& outcome);

    // ---- writing to the regulator (ConversationWrite.cpp)
    // Queues the settings groups in which Edited() differs from State() and holds
    // the polling until the last of them is acknowledged; each acknowledged group
    // is taken into State(). False (nothing queued) when they agree.
    bool WriteChangedSettings();
    // The groups of the settings write that the regulator has not acknowledged in
    // both places yet (their names, in the order written); none when no write runs.
    std::vector<std::string> UnwrittenGroups() const;
    // The write ends without the groups still on their way (the program closes, the
    // port changes): the status line names them, and what the regulator confirmed
    // stays in State().
    void AbandonSettingsWrite();
    // The PC's date and time (PcClock) go to the regulator's clock, which is read
    // back once it has taken them.
    void SetRegulatorClock();
    // The record pointers of the regulator become 0, so that the next download
    // finds nothing until new records come. Refused, with nothing queued, while a
    // download runs or while the conversation is closed.
    TResetRefusal ResetRefusal() const;
    TResetRefusal ResetRecordPositions();
    // The PC clock of the clock set.
    std::function<TDateTime()> PcClock = [] { return Now(); };

    TConversationPhase Phase() const { return phase_; }
    TDownloadPhase DownloadPhase() const { return download_.Phase; }
    bool SettingsReadRunning() const { return phase_ == TConversationPhase::ReadingSettings; }
    bool SettingsWriteRunning() const { return phase_ == TConversationPhase::WritingSettings; }
    bool DownloadRunning() const { return download_.Phase != TDownloadPhase::Idle; }
    bool DownloadRequested() const { return download_.Requested; }
    bool DownloadCancelled() const { return download_.Cancelled; }
    // True from a few unanswered telegrams of the send timer to the next reply, and
    // while the port is lost: the live values are the last ones read.
    bool RegulatorSilent() const { return silence_.Silent() || portLost_; }
    // The PC's date and time of the last live-values reply (0 before the first).
    TDateTime LiveValuesReadAt() const { return liveValuesAt_; }

    TKomunikace& Link() { return link_; }
    TZEKO& State() { return state_; }
    TZEKO& Edited() { return edited_; }
    TMyExtList& Polling() { return polling_; }
    TRecordList& Records() { return download_.Records; }
    const std::array<std::string, 4>& IdentTexts() const { return state_.IdentTexts; }

private:
    // Dispatch (Conversation.cpp).
    void HandleRegulatorReply(const uint8_t* frame);
    void HandleEepromReply(const TReplyHeader& reply);
    void HandleRamReply(const TReplyHeader& reply);
    void PumpTelegramQueue();
    void QueueRead(uint8_t mode, uint8_t index);
    void Report(const std::string& text);

    // A regulator that stops answering (ConversationSilence.cpp).
    void NoteTimerSend();
    void NoteAnswer();

    // A port that goes away and comes back (ConversationPortLoss.cpp).
    void PortLostEvent();
    void PortBackEvent();
    // "COM1" of "\\.\COM1" (another name as it stands).
    std::string PortShortName() const;

    // Start-up reading and live values (ConversationStartup.cpp).
    // "COM1 je zařízení /dev/ttyS0; ...": the device of the port and why it did not
    // open (PortFailureText.h).
    std::string PortDeviceText() const;
    void HandleStartupSettingsReply(const TReplyHeader& reply);
    void HandleIdentReply(const TReplyHeader& reply);
    void HandleClock(const TReplyHeader& reply);
    void HandleLastSettingsBlock(const TReplyHeader& reply);
    void HandleLiveValues(const TReplyHeader& reply);

    // Record download (ConversationDownload.cpp).
    void StartDownload();
    void HandleRecordPointers(const TReplyHeader& reply);
    void HandleRecordReply(const TReplyHeader& reply);
    void QueueAddressHighByte(uint32_t address);
    void QueueRecordRead(uint32_t address);
    // The reads of a download that waited for a lost port go out again, the upper
    // address byte first (ConversationDownload.cpp).
    void RequeueRecordRead();
    void FinishDownload(uint32_t resumeIndex);
    // The read position after the records read goes to the regulator (both twins).
    void WriteReadPosition();
    void HandleReadPositionAck();

    // Writes (ConversationWrite.cpp).
    // The PC clock as the clock telegram's packed BCD bytes.
    TClockBytes PackPcDateTime() const;
    void HandleSettingsAck(const TReplyHeader& reply);
    void ContinueSettingsWrite();
    void EndSettingsWrite(const std::string& status);
    void HandleClockAck();
    void HandleResetAck();

    // One download: its phase, the user's request and cancel, and the records read so
    // far. The ring position is the regulator state's (DownloadIndex and
    // DownloadAddress, ending before NewestIndex); ResumeIndex is the read position
    // written back once the records are stored.
    struct TDownloadCursor {
        TDownloadPhase Phase = TDownloadPhase::Idle;
        bool Requested = false;
        bool Cancelled = false;
        TRecordList Records;
        uint32_t ResumeIndex = 0;
        // Records read whose stamp is no date and time: left out of Records, and
        // told once the position is written; the first one's index.
        size_t Skipped = 0;
        uint32_t FirstSkipped = 0;
    };

    TConversationEvents& events_;
    TKomunikace link_;
    TFrameParser parser_;
    TMyExtList polling_;
    TZEKO state_;
    TZEKO edited_;
    TConversationPhase phase_ = TConversationPhase::Closed;
    TDownloadCursor download_;
    // The settings being written, as they were queued, their telegrams not yet
    // acknowledged, and the groups not yet acknowledged by their twins.
    TZEKO writing_;
    int writesOutstanding_ = 0;
    std::vector<const TSettingsGroup*> unwritten_;
    TSilenceWatch silence_;
    bool portLost_ = false;
    TDateTime liveValuesAt_ = 0;
    uint32_t answeredSend_ = 0;  // link_.SendCount() when the last reply was taken
};

} // namespace zeko
