#pragma once
// The Notifier bound to Qt dialogs: message boxes with Czech button captions, the
// input box and the file dialogs, each modal over the active window.
#include "platform/Notifier.h"

namespace zeko {

class QtNotifier : public Notifier {
public:
    int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) override;
    void ShowMessage(const std::string& text) override;
    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
    bool OpenFileDialog(const TFileDialogRequest& request, std::string& fileName) override;
    bool SaveFileDialog(const TFileDialogRequest& request, std::string& fileName) override;
};

// "Popis|*.a;*.b|Jiný|*.c" as Qt filters "Popis (*.a *.b);;Jiný (*.c)".
std::string QtFileFilter(const std::string& filter);

} // namespace zeko
