#include "platform/UserDialogs.h"

#include <atomic>

#include "platform/Notifier.h"
#include "platform/ProgramDir.h"

namespace zeko {

namespace {
std::atomic<UserDialogs*> installed{nullptr};
} // namespace

UserDialogs& CurrentDialogs() {
    static ScriptedDialogs fallback;
    UserDialogs* d = installed.load();
    return d ? *d : fallback;
}

void SetDialogs(UserDialogs* dialogs) { installed.store(dialogs); }

bool ConfirmOverwrite(const std::string& fileName) {
    return MessageDlg(ExtractFileName(fileName) + " již existuje.\nChcete jej nahradit?", TMsgDlgType::mtWarning,
                      TMsgDlgButtons::mbYesNo) == TModalResult::mrYes;
}

void ScriptedDialogs::AnswerInput(std::string value) {
    std::lock_guard<std::mutex> lock(mutex_);
    inputAnswers_.push_back({true, std::move(value)});
}

void ScriptedDialogs::AnswerFile(std::string fileName) {
    std::lock_guard<std::mutex> lock(mutex_);
    fileAnswers_.push_back({true, std::move(fileName)});
}

void ScriptedDialogs::CancelFile() {
    std::lock_guard<std::mutex> lock(mutex_);
    fileAnswers_.push_back({false, {}});
}

void ScriptedDialogs::SetLogSink(std::function<void(const std::string&)> sink) {
    std::lock_guard<std::mutex> lock(mutex_);
    sink_ = std::move(sink);
}

std::vector<std::string> ScriptedDialogs::Log() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return log_;
}

bool ScriptedDialogs::Take(std::deque<Answer>& answers, std::string& value) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (answers.empty())
        return false;
    const Answer answer = answers.front();
    answers.pop_front();
    if (answer.Given)
        value = answer.Text;
    return answer.Given;
}

void ScriptedDialogs::Write(const std::string& line) {
    std::function<void(const std::string&)> sink;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        log_.push_back(line);
        sink = sink_;
    }
    if (sink)
        sink(line);
}

bool ScriptedDialogs::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
    const bool given = Take(inputAnswers_, value);
    Write("InputQuery " + caption + " | " + prompt + " -> " + (given ? value : "cancel"));
    return given;
}

bool ScriptedDialogs::FileAnswer(const char* kind, const TFileDialogRequest& request, std::string& fileName) {
    const bool given = Take(fileAnswers_, fileName);
    Write(std::string(kind) + " " + request.Title + " -> " + (given ? fileName : "cancel"));
    return given;
}

bool ScriptedDialogs::OpenFileDialog(const TFileDialogRequest& request, std::string& fileName) {
    return FileAnswer("OpenDialog", request, fileName);
}

bool ScriptedDialogs::SaveFileDialog(const TFileDialogRequest& request, std::string& fileName) {
    while (FileAnswer("SaveDialog", request, fileName))
        if (!request.OverwritePrompt || !FileExists(fileName) || ConfirmOverwrite(fileName))
            return true;
    return false;
}

} // namespace zeko
