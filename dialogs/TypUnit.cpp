#include "dialogs/TypUnit.h"

#include "controls/DataComboBox.h"
#include "platform/qt/FontTable.h"
#include "platform/qt/QtText.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zeko {

TTypForm* TypForm = nullptr;

namespace {

constexpr int FormFontPixels = 11;

QGroupBox* HiddenRadioGroup(QWidget* parent, const QString& caption, const QStringList& items, int selected) {
    auto* group = new QGroupBox(caption, parent);
    auto* layout = new QVBoxLayout(group);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], group);
        button->setChecked(i == selected);
        layout->addWidget(button);
    }
    group->hide();
    return group;
}

} // namespace

TTypForm::TTypForm(QWidget* parent) : TDialogForm(parent) {
    setObjectName("TypForm");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(ClientWidth, ClientHeight);
    setWindowTitle(U("Výběr měření"));
    // The form's face, "MS Sans Serif" of 8 points: the bold question fits the form's
    // width in it, as it was laid out.
    setFont(StandInQFont("MS Sans Serif", FormFontPixels));

    Label1 = new QLabel(U("Zvolte typ požadovaného měření:"), this);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->setGeometry(12, 12, ClientWidth - 24, 20);
    Label1->setObjectName("Label1");
    MereniCombo = new TDataComboBox(this);
    MereniCombo->setObjectName("MereniCombo");
    MereniCombo->setEditable(false);
    MereniCombo->setGeometry(12, 44, ClientWidth - 24, 24);
    BitBtn1 = new QPushButton(U("&Potvrď"), this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setGeometry(12, 100, 95, 28);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(U("&Zruš"), this);
    BitBtn2->setObjectName("BitBtn2");
    BitBtn2->setGeometry(ClientWidth - 12 - 95, 100, 95, 28);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { SetModalResult(ModalResults::Ok); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { SetModalResult(ModalResults::Abort); });

    const QString hours = U("hodin");
    CasRadio = HiddenRadioGroup(this, U("Začátek dne:"), {"00 " + hours, "22 " + hours}, 0);
    TiskRadio = HiddenRadioGroup(this, U("Tiskni barevně"), {U("&Ne"), U("&Ano")}, 1);
}

void TTypForm::keyPressEvent(QKeyEvent* event) {
    if (IsAltF4(event)) {
        event->accept();
        return;
    }
    TDialogForm::keyPressEvent(event);
}

} // namespace zeko
