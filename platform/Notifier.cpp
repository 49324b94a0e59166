#include "platform/Notifier.h"

#include <atomic>

namespace zeko {
namespace {
std::atomic<Notifier*> installed{nullptr};
} // namespace

Notifier& CurrentNotifier() {
    static LoggingNotifier fallback;
    Notifier* n = installed.load();
    return n ? *n : fallback;
}

void SetNotifier(Notifier* notifier) { installed.store(notifier); }

TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    return CurrentNotifier().MessageDlg(text, type, buttons);
}

void ShowException(const std::exception& error) { MessageDlg(error.what(), TMsgDlgType::mtError); }

TModalResult FirstButton(TMsgDlgButtons buttons) {
    switch (buttons) {
    case TMsgDlgButtons::mbYesNo:
    case TMsgDlgButtons::mbYesNoCancel:
        return TModalResult::mrYes;
    case TMsgDlgButtons::mbOK:
    case TMsgDlgButtons::mbOKCancel:
        break;
    }
    return TModalResult::mrOk;
}

TModalResult LoggingNotifier::MessageDlg(const std::string& text, TMsgDlgType type,
                                         TMsgDlgButtons buttons) {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.push_back({text, type, buttons});
    if (answers_.empty())
        return FirstButton(buttons);
    const TModalResult answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void LoggingNotifier::QueueAnswer(TModalResult answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_.push_back(answer);
}

std::vector<LoggingNotifier::Entry> LoggingNotifier::Messages() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
}

size_t LoggingNotifier::Count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_.size();
}

void LoggingNotifier::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.clear();
    answers_.clear();
}

} // namespace zeko
