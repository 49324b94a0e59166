#pragma once
// Input boxes and file dialogs, the questions beside the message boxes of
// platform/Notifier.h. The program binds them to Qt dialogs
// (platform/qt/QtNotifier); tests to ScriptedDialogs, which answers from a script
// and logs every call.
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace zeko {

struct TFileDialogRequest {
    std::string Title;
    std::string Filter;      // "Popis|*.ext|Popis 2|*.e2", as the class library writes it
    std::string DefaultExt;  // without the point
    std::string InitialDir;
    std::string FileName;    // proposed name
    // A save dialog asks before an existing file is chosen (ConfirmOverwrite); No
    // leaves the dialog open for another name.
    bool OverwritePrompt = false;
};

// The save dialog's question before it takes an existing file, as a message box
// of the notifier service; true on Yes.
bool ConfirmOverwrite(const std::string& fileName);

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // An input box; false when cancelled (value then unchanged).
    virtual bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) = 0;
    // False when cancelled; else fileName is the chosen path.
    virtual bool OpenFileDialog(const TFileDialogRequest& request, std::string& fileName) = 0;
    virtual bool SaveFileDialog(const TFileDialogRequest& request, std::string& fileName) = 0;
};

// The program-wide service; until one is installed a ScriptedDialogs without a
// script serves (every box counts as cancelled).
UserDialogs& CurrentDialogs();
void SetDialogs(UserDialogs* dialogs);  // nullptr: the fallback again

// Answers in order, each by the next call of its kind; without one the box counts
// as cancelled. Log lines: "InputQuery <caption> | <prompt> -> <value>|cancel",
// "OpenDialog <title> -> <file>|cancel", "SaveDialog <title> -> ...". A save
// dialog with OverwritePrompt asks ConfirmOverwrite for an existing file and, on
// No, takes the next answer.
class ScriptedDialogs : public UserDialogs {
public:
    void AnswerInput(std::string value);
    void AnswerFile(std::string fileName);
    void CancelFile();
    void SetLogSink(std::function<void(const std::string&)> sink);
    std::vector<std::string> Log() const;

    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
    bool OpenFileDialog(const TFileDialogRequest& request, std::string& fileName) override;
    bool SaveFileDialog(const TFileDialogRequest& request, std::string& fileName) override;

private:
    struct Answer {
        bool Given;
        std::string Text;
    };
    bool Take(std::deque<Answer>& answers, std::string& value);
    void Write(const std::string& line);
    bool FileAnswer(const char* kind, const TFileDialogRequest& request, std::string& fileName);

    mutable std::mutex mutex_;
    std::deque<Answer> inputAnswers_;
    std::deque<Answer> fileAnswers_;
    std::vector<std::string> log_;
    std::function<void(const std::string&)> sink_;
};

} // namespace zeko
