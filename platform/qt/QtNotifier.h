#pragma once
// The message boxes, input boxes and file dialogs bound to Qt, with Czech button
// captions, each modal over the active window.
#include "platform/Notifier.h"
#include "platform/UserDialogs.h"

#include <memory>

class QFileDialog;
class QWidget;

namespace zeko {

class QtNotifier : public Notifier, public UserDialogs {
public:
    TModalResult MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) override;
    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
    bool OpenFileDialog(const TFileDialogRequest& request, std::string& fileName) override;
    bool SaveFileDialog(const TFileDialogRequest& request, std::string& fileName) override;
};

// "Popis|*.a;*.b|Jiný|*.c" as Qt filters "Popis (*.a *.b);;Jiný (*.c)".
std::string QtFileFilter(const std::string& filter);
// The open and the save dialog of a request: Qt's own dialog in Czech, the first
// filter chosen and shown by its description alone, its patterns matched without
// regard to letter case; the save dialog adds the default extension and leaves the
// question before overwriting to the caller.
std::unique_ptr<QFileDialog> MakeOpenFileDialog(const TFileDialogRequest& request, QWidget* parent = nullptr);
std::unique_ptr<QFileDialog> MakeSaveFileDialog(const TFileDialogRequest& request, QWidget* parent = nullptr);

} // namespace zeko
