#include "dialogs/info.h"

#include "platform/qt/FontTable.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace zeko {

TInfoForm* InfoForm = nullptr;

namespace {

constexpr int FormFontPixels = 11;

void SetUpBar(QProgressBar* bar) {
    bar->setRange(0, 12);
    bar->setValue(1);
    bar->setTextVisible(false);
    bar->hide();
}

} // namespace

TInfoForm::TInfoForm(QWidget* parent) : TDialogForm(parent) {
    setObjectName("InfoForm");
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(false);
    SetUserCloseSwallowed(true);
    // The form's face, "MS Sans Serif" of 8 points; the desktop's larger default
    // would not fit the box's texts.
    setFont(StandInQFont("MS Sans Serif", FormFontPixels));

    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);
    Label1 = new QLabel(Panel1);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->setAlignment(Qt::AlignCenter);
    ProgressBar = new QProgressBar(Panel1);
    SetUpBar(ProgressBar);
    ProgressBar1 = new QProgressBar(Panel1);
    SetUpBar(ProgressBar1);
    // Below the client area: seen only while a user makes the box taller.
    Btn_Prerusit = new QPushButton(QString::fromUtf8("Přerušit"), this);
    Btn_Prerusit->hide();
    connect(Btn_Prerusit, &QPushButton::clicked, this, [this] { Btn_PrerusitClick(); });

    Label1->setText(QString::fromUtf8("Provádí se výpočet tabulky..."));
    LayOut(ClientWidth, ClientHeight);
}

void TInfoForm::LayOut(int width, int height) {
    // A box shown before keeps its centre where it was.
    if (testAttribute(Qt::WA_Moved))
        move(x() + (this->width() - width) / 2, y());
    setFixedSize(width, height);
    Panel1->setGeometry(0, 0, width, ClientHeight);
    Label1->setGeometry(LabelMargin, 8, width - 2 * LabelMargin, 20);
    ProgressBar->setGeometry(16, 34, width - 32, 16);
    ProgressBar1->setGeometry(16, 34, width - 32, 16);
    Btn_Prerusit->setGeometry((width - 90) / 2, ClientHeight + 4, 90, 25);
}

int TInfoForm::WidthForText() const {
    const int text = Label1->fontMetrics().horizontalAdvance(Label1->text());
    return std::max<int>(ClientWidth, text + 2 * LabelMargin + 2 * Label1->margin() + 4);
}

void TInfoForm::Btn_PrerusitClick() { aborted_ = true; }

void TInfoForm::showEvent(QShowEvent* event) {
    aborted_ = false;
    TDialogForm::showEvent(event);
}

void TInfoForm::hideEvent(QHideEvent* event) {
    ProgressBar->hide();
    TDialogForm::hideEvent(event);
}

void TInfoForm::Start(const std::string& text, int steps, bool abortButton) {
    setWindowTitle(QString());
    Label1->setText(QString::fromStdString(text));
    if (steps > 0) {
        ProgressBar->setRange(0, steps);
        ProgressBar->setValue(0);
        ProgressBar->show();
    }
    // A text wider than the box widens it: centred, it would lose both its ends.
    LayOut(WidthForText(), abortButton ? ClientHeight + Btn_Prerusit->height() + 8 : ClientHeight);
    if (abortButton)
        Btn_Prerusit->show();
    show();
    repaint();
    QApplication::processEvents();
}

void TInfoForm::StepIt() {
    if (ProgressBar->value() < ProgressBar->maximum())
        ProgressBar->setValue(ProgressBar->value() + 1);
    QApplication::processEvents();
}

void TInfoForm::Finish() {
    LayOut(ClientWidth, ClientHeight);
    ProgressBar->hide();
    Btn_Prerusit->hide();
    close();
}

} // namespace zeko
