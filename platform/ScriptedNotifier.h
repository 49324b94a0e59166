#pragma once
// A Notifier without a screen: every call is written as one line to a log (a list
// in memory and, when set, a callback), and answered from a script of answers given
// in advance. Without a scripted answer a message box gets the harmless answer (No,
// else Cancel, else OK, else the first button offered) and input boxes and file
// dialogs count as cancelled.
//
// Log lines:  MessageDlg Warning [Yes|No] <text> -> Yes
//             ShowMessage <text>
//             InputQuery <caption> | <prompt> -> <value> (or -> cancel)
//             OpenDialog <title> -> <file> (or -> cancel), SaveDialog likewise
#include "platform/Notifier.h"

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace zeko {

class ScriptedNotifier : public Notifier {
public:
    // Answers are used in order, each by the next call of its kind.
    void AnswerMessage(int modalResult);
    void AnswerInput(std::string value);  // the input box is confirmed with value
    void CancelInput();
    void AnswerFile(std::string fileName);
    void CancelFile();

    void SetLogSink(std::function<void(const std::string&)> sink);
    std::vector<std::string> Log() const;
    void ClearLog();
    // The texts of the message boxes shown so far (MessageDlg and ShowMessage).
    std::vector<std::string> Messages() const;

    int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) override;
    void ShowMessage(const std::string& text) override;
    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
    bool OpenFileDialog(const TFileDialogRequest& request, std::string& fileName) override;
    bool SaveFileDialog(const TFileDialogRequest& request, std::string& fileName) override;

private:
    struct OptionalText {
        bool Given;
        std::string Text;
    };
    void Write(const std::string& line);
    bool FileAnswer(const char* kind, const TFileDialogRequest& request, std::string& fileName);

    mutable std::mutex mutex_;
    std::deque<int> messageAnswers_;
    std::deque<OptionalText> inputAnswers_;
    std::deque<OptionalText> fileAnswers_;
    std::vector<std::string> log_;
    std::vector<std::string> messages_;
    std::function<void(const std::string&)> sink_;
};

} // namespace zeko
