#pragma once
// TInfoForm: the progress box that stays on top while a long operation runs in the
// main thread: one line of text, optionally a progress bar, optionally a
// "Přerušit" button whose click the running operation polls through Aborted().
// One instance (InfoForm) lives from program start to exit, hidden between uses.
#include "platform/qt/Forms.h"

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;

namespace zeko {

class TInfoForm : public TDialogForm {
    Q_OBJECT
public:
    explicit TInfoForm(QWidget* parent = nullptr);

    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QProgressBar* ProgressBar1 = nullptr;  // never shown
    QPushButton* Btn_Prerusit = nullptr;

    bool Aborted() const { return aborted_; }
    void Btn_PrerusitClick();

    // The steps every user takes: caption emptied, the text set (the box made wider
    // when the text needs it), the bar shown with `steps` as its maximum when
    // steps > 0, the button shown (the box made taller by its height) when
    // `abortButton`; then shown and painted at once.
    void Start(const std::string& text, int steps = 0, bool abortButton = false);
    // Advances the bar by one and lets the event loop run (repaint, the button).
    void StepIt();
    // Restores the size, hides the bar and the button and closes the box.
    void Finish();

    static constexpr int ClientWidth = 236;
    static constexpr int ClientHeight = 61;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    static constexpr int LabelMargin = 8;
    void LayOut(int width, int height);
    // The box's width, or the one that shows the whole text of the label.
    int WidthForText() const;

    bool aborted_ = false;
};

extern TInfoForm* InfoForm;

} // namespace zeko
