#include "platform/ScriptedNotifier.h"

#include <cstdio>

namespace zeko {
namespace {

Notifier* installed = nullptr;

int HarmlessAnswer(TMsgDlgButtons buttons) {
    if (buttons & mbNo)
        return mrNo;
    if (buttons & mbCancel)
        return mrCancel;
    if (buttons & mbOK)
        return mrOk;
    if (buttons & mbAbort)
        return mrAbort;
    if (buttons & mbRetry)
        return mrRetry;
    if (buttons & mbIgnore)
        return mrIgnore;
    if (buttons & mbYes)
        return mrYes;
    return mrOk;
}

} // namespace

Notifier& Notify() {
    static ScriptedNotifier* fallback = [] {
        auto* n = new ScriptedNotifier;  // lives to the end of the process
        n->SetLogSink([](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); });
        return n;
    }();
    return installed ? *installed : *fallback;
}

void SetNotifier(Notifier* notifier) { installed = notifier; }

std::string MsgDlgTypeName(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::Warning: return "Warning";
    case TMsgDlgType::Error: return "Error";
    case TMsgDlgType::Information: return "Information";
    case TMsgDlgType::Confirmation: return "Confirmation";
    case TMsgDlgType::Custom: break;
    }
    return "Custom";
}

std::string ButtonsName(TMsgDlgButtons buttons) {
    static const std::pair<TMsgDlgButtons, const char*> names[] = {
        {mbYes, "Yes"}, {mbNo, "No"}, {mbOK, "OK"}, {mbCancel, "Cancel"},
        {mbAbort, "Abort"}, {mbRetry, "Retry"}, {mbIgnore, "Ignore"}};
    std::string text;
    for (const auto& [bit, name] : names)
        if (buttons & bit)
            text += (text.empty() ? "" : "|") + std::string(name);
    return text;
}

std::string ModalResultName(int result) {
    static const char* names[] = {"None", "OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No"};
    return result >= 0 && result <= mrNo ? names[result] : std::to_string(result);
}

void ScriptedNotifier::AnswerMessage(int modalResult) {
    std::lock_guard<std::mutex> lock(mutex_);
    messageAnswers_.push_back(modalResult);
}

void ScriptedNotifier::AnswerInput(std::string value) {
    std::lock_guard<std::mutex> lock(mutex_);
    inputAnswers_.push_back({true, std::move(value)});
}

void ScriptedNotifier::CancelInput() {
    std::lock_guard<std::mutex> lock(mutex_);
    inputAnswers_.push_back({false, {}});
}

void ScriptedNotifier::AnswerFile(std::string fileName) {
    std::lock_guard<std::mutex> lock(mutex_);
    fileAnswers_.push_back({true, std::move(fileName)});
}

void ScriptedNotifier::CancelFile() {
    std::lock_guard<std::mutex> lock(mutex_);
    fileAnswers_.push_back({false, {}});
}

void ScriptedNotifier::SetLogSink(std::function<void(const std::string&)> sink) {
    std::lock_guard<std::mutex> lock(mutex_);
    sink_ = std::move(sink);
}

std::vector<std::string> ScriptedNotifier::Log() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return log_;
}

void ScriptedNotifier::ClearLog() {
    std::lock_guard<std::mutex> lock(mutex_);
    log_.clear();
    messages_.clear();
}

std::vector<std::string> ScriptedNotifier::Messages() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
}

void ScriptedNotifier::Write(const std::string& line) {
    std::function<void(const std::string&)> sink;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        log_.push_back(line);
        sink = sink_;
    }
    if (sink)
        sink(line);
}

int ScriptedNotifier::MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    int answer;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        messages_.push_back(text);
        if (messageAnswers_.empty()) {
            answer = HarmlessAnswer(buttons);
        } else {
            answer = messageAnswers_.front();
            messageAnswers_.pop_front();
        }
    }
    Write("MessageDlg " + MsgDlgTypeName(type) + " [" + ButtonsName(buttons) + "] " + text + " -> " +
          ModalResultName(answer));
    return answer;
}

void ScriptedNotifier::ShowMessage(const std::string& text) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        messages_.push_back(text);
    }
    Write("ShowMessage " + text);
}

bool ScriptedNotifier::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
    OptionalText answer{false, {}};
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!inputAnswers_.empty()) {
            answer = inputAnswers_.front();
            inputAnswers_.pop_front();
        }
    }
    if (answer.Given)
        value = answer.Text;
    Write("InputQuery " + caption + " | " + prompt + " -> " + (answer.Given ? value : "cancel"));
    return answer.Given;
}

bool ScriptedNotifier::FileAnswer(const char* kind, const TFileDialogRequest& request, std::string& fileName) {
    OptionalText answer{false, {}};
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!fileAnswers_.empty()) {
            answer = fileAnswers_.front();
            fileAnswers_.pop_front();
        }
    }
    if (answer.Given)
        fileName = answer.Text;
    Write(std::string(kind) + " " + request.Title + " -> " + (answer.Given ? fileName : "cancel"));
    return answer.Given;
}

bool ScriptedNotifier::OpenFileDialog(const TFileDialogRequest& request, std::string& fileName) {
    return FileAnswer("OpenDialog", request, fileName);
}

bool ScriptedNotifier::SaveFileDialog(const TFileDialogRequest& request, std::string& fileName) {
    return FileAnswer("SaveDialog", request, fileName);
}

} // namespace zeko
