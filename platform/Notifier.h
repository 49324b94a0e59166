#pragma once
// The user-facing questions and messages: message boxes, input boxes and file
// dialogs. Everything that must reach the user goes through Notify(); the program
// binds it to Qt dialogs (platform/qt/QtNotifier), tests to a ScriptedNotifier that
// logs every call and answers from a script.
#include <string>

namespace zeko {

enum class TMsgDlgType { Warning, Error, Information, Confirmation, Custom };

// Buttons of a message box, or-ed together.
using TMsgDlgButtons = unsigned;
constexpr TMsgDlgButtons mbYes = 1u << 0;
constexpr TMsgDlgButtons mbNo = 1u << 1;
constexpr TMsgDlgButtons mbOK = 1u << 2;
constexpr TMsgDlgButtons mbCancel = 1u << 3;
constexpr TMsgDlgButtons mbAbort = 1u << 4;
constexpr TMsgDlgButtons mbRetry = 1u << 5;
constexpr TMsgDlgButtons mbIgnore = 1u << 6;
constexpr TMsgDlgButtons mbYesNo = mbYes | mbNo;
constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;

// The results of modal windows and message boxes, numbered as the class library
// numbers them.
enum TModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
};

struct TFileDialogRequest {
    std::string Title;
    std::string Filter;      // "Popis|*.ext|Popis 2|*.e2", as the class library writes it
    std::string DefaultExt;  // without the point
    std::string InitialDir;
    std::string FileName;    // proposed name
};

class Notifier {
public:
    virtual ~Notifier() = default;
    // A message box with the given buttons; answers the result of the button chosen.
    virtual int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) = 0;
    // A plain message box with an OK button and the program's title.
    virtual void ShowMessage(const std::string& text) = 0;
    // An input box; false when cancelled (value then unchanged).
    virtual bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) = 0;
    // File dialogs; false when cancelled, else fileName is the chosen path.
    virtual bool OpenFileDialog(const TFileDialogRequest& request, std::string& fileName) = 0;
    virtual bool SaveFileDialog(const TFileDialogRequest& request, std::string& fileName) = 0;
};

// The program-wide notifier; until one is installed a ScriptedNotifier without a
// script serves (it logs to stderr and gives the harmless answer).
Notifier& Notify();
void SetNotifier(Notifier* notifier);

// Text names used by logs: "Warning", "Yes|No", "Yes".
std::string MsgDlgTypeName(TMsgDlgType type);
std::string ButtonsName(TMsgDlgButtons buttons);
std::string ModalResultName(int result);

} // namespace zeko
