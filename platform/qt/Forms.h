#pragma once
// The form behaviour the program's dialogs share: a modal result that closes the
// form when set (as the class library's forms do), ShowModal answering it, and for
// the boxes that must not be closed by the user, Alt+F4, Escape and the window
// manager's close button swallowed.
#include <QDialog>

namespace zeko {

// Modal results of forms and their buttons, numbered as the class library numbers them.
namespace ModalResults {
constexpr int None = 0;
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Abort = 3;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace ModalResults

class TDialogForm : public QDialog {
    Q_OBJECT
public:
    explicit TDialogForm(QWidget* parent = nullptr);

    // Shows the form modally and answers its modal result (ModalResults).
    int ShowModal();
    // Ends a modal run with this result (a button's ModalResult), or closes the form.
    void SetModalResult(int result);
    int ModalResult() const { return modalResult_; }

    // When set, the user cannot close the form: only the program (Close, a button
    // with a modal result) can.
    void SetUserCloseSwallowed(bool on) { swallowUserClose_ = on; }

    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    int modalResult_ = 0;
    bool swallowUserClose_ = false;
};

// True for the key that closes a window from the keyboard (Alt+F4).
bool IsAltF4(const QKeyEvent* event);

} // namespace zeko
