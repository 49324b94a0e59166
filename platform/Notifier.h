#pragma once
// The message boxes the user sees. Core code reports through MessageDlg with the
// program's Czech text and a kind; the program binds the service to Qt dialogs,
// tests bind it to LoggingNotifier, which keeps every message and answers from a
// script. Called in the main thread only.
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <vector>

namespace zeko {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };
enum class TMsgDlgButtons { mbOK, mbOKCancel, mbYesNo, mbYesNoCancel };
enum class TModalResult { mrNone, mrOk, mrCancel, mrYes, mrNo };

class Notifier {
public:
    virtual ~Notifier() = default;
    // Shows `text` (UTF-8) modally and answers the button the user chose.
    virtual TModalResult MessageDlg(const std::string& text, TMsgDlgType type,
                                    TMsgDlgButtons buttons) = 0;
};

// The program-wide service; until one is installed a LoggingNotifier owned by the
// platform layer serves (it shows nothing).
Notifier& CurrentNotifier();
void SetNotifier(Notifier* notifier);  // nullptr: the fallback again

TModalResult MessageDlg(const std::string& text, TMsgDlgType type,
                        TMsgDlgButtons buttons = TMsgDlgButtons::mbOK);

// An error raised out of an event handler, shown as the class library's
// application showed it: its text in an error box.
void ShowException(const std::exception& error);

// The answer a box gets when nobody chooses: OK, or Yes for a question.
TModalResult FirstButton(TMsgDlgButtons buttons);

class LoggingNotifier : public Notifier {
public:
    struct Entry {
        std::string Text;
        TMsgDlgType Type;
        TMsgDlgButtons Buttons;
    };

    TModalResult MessageDlg(const std::string& text, TMsgDlgType type,
                            TMsgDlgButtons buttons) override;

    // Answers for the next boxes, in order; when none is left a box gets FirstButton.
    void QueueAnswer(TModalResult answer);
    std::vector<Entry> Messages() const;
    size_t Count() const;
    void Clear();

private:
    mutable std::mutex mutex_;
    std::vector<Entry> messages_;
    std::deque<TModalResult> answers_;
};

// Installs a LoggingNotifier for the lifetime of the scope (tests).
class ScopedLoggingNotifier : public LoggingNotifier {
public:
    ScopedLoggingNotifier() { SetNotifier(this); }
    ~ScopedLoggingNotifier() override { SetNotifier(nullptr); }
    ScopedLoggingNotifier(const ScopedLoggingNotifier&) = delete;
    ScopedLoggingNotifier& operator=(const ScopedLoggingNotifier&) = delete;
};

} // namespace zeko
