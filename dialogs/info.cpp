#include "dialogs/info.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace zeko {

TInfoForm* InfoForm = nullptr;

namespace {

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
    setFixedSize(ClientWidth, ClientHeight);

    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);
    Panel1->setGeometry(0, 0, ClientWidth, ClientHeight);
    Label1 = new QLabel(Panel1);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(8, 8, ClientWidth - 16, 20);
    ProgressBar = new QProgressBar(Panel1);
    ProgressBar->setGeometry(16, 34, ClientWidth - 32, 16);
    SetUpBar(ProgressBar);
    ProgressBar1 = new QProgressBar(Panel1);
    ProgressBar1->setGeometry(16, 34, ClientWidth - 32, 16);
    SetUpBar(ProgressBar1);
    // Below the client area: seen only while a user makes the box taller.
    Btn_Prerusit = new QPushButton(QString::fromUtf8("Přerušit"), this);
    Btn_Prerusit->setGeometry((ClientWidth - 90) / 2, ClientHeight + 4, 90, 25);
    Btn_Prerusit->hide();
    connect(Btn_Prerusit, &QPushButton::clicked, this, [this] { Btn_PrerusitClick(); });

    Label1->setText(QString::fromUtf8("Provádí se výpočet tabulky..."));
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
    if (abortButton) {
        Btn_Prerusit->show();
        setFixedSize(ClientWidth, ClientHeight + Btn_Prerusit->height() + 8);
    }
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
    setFixedSize(ClientWidth, ClientHeight);
    ProgressBar->hide();
    Btn_Prerusit->hide();
    close();
}

} // namespace zeko
