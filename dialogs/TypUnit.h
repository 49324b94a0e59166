#pragma once
// TTypForm: the modal dialog "Výběr měření" in which the user picks the measurement
// channel of a table evaluation. The caller fills MereniCombo with one item per
// channel (text, and the channel id as value), shows it with ShowModal and, on ModalResults::Ok,
// reads the selected index and value. One instance (TypForm) lives from start to exit.
#include "platform/qt/Forms.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace zeko {

class TDataComboBox;

class TTypForm : public TDialogForm {
    Q_OBJECT
public:
    explicit TTypForm(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    TDataComboBox* MereniCombo = nullptr;
    QPushButton* BitBtn1 = nullptr;  // "&Potvrď", ModalResults::Ok
    QPushButton* BitBtn2 = nullptr;  // "&Zruš", ModalResults::Abort
    // Kept hidden; nothing reads them.
    QGroupBox* CasRadio = nullptr;
    QGroupBox* TiskRadio = nullptr;

    static constexpr int ClientWidth = 226;
    static constexpr int ClientHeight = 144;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

extern TTypForm* TypForm;

} // namespace zeko
