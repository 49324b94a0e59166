#include "dialogs/TypUnit.h"
#include "dialogs/info.h"

#include "controls/DataComboBox.h"
#include "support/QtApp.h"
#include "LayoutProbe.h"

#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace zeko;

namespace {

void PressAltF4(QWidget* w) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F4, Qt::AltModifier);
    QApplication::sendEvent(w, &press);
}

} // namespace

TEST(InfoForm, AbortFlagIsClearedAtEachShowAndTheBoxIsRestoredForTheNextUser) {
    test::QtApp();
    TInfoForm box;
    EXPECT_EQ(box.Label1->text().toStdString(), "Provádí se výpočet tabulky...");
    box.Start("Načítají se záznamy...", 10, true);
    EXPECT_TRUE(box.isVisible());
    EXPECT_TRUE(box.ProgressBar->isVisible());
    EXPECT_TRUE(box.Btn_Prerusit->isVisible());
    EXPECT_GT(box.height(), TInfoForm::ClientHeight);
    EXPECT_EQ(test::LayoutFaults(&box), std::vector<std::string>{});
    box.StepIt();
    EXPECT_EQ(box.ProgressBar->value(), 1);
    box.Btn_Prerusit->click();
    EXPECT_TRUE(box.Aborted());
    box.Finish();
    EXPECT_FALSE(box.isVisible());

    box.Start("Zapisuje se nastavení regulátoru...");
    EXPECT_FALSE(box.Aborted());
    EXPECT_EQ(box.height(), TInfoForm::ClientHeight);
    EXPECT_FALSE(box.ProgressBar->isVisible());
    EXPECT_FALSE(box.Btn_Prerusit->isVisible());
    EXPECT_FALSE(box.ProgressBar1->isVisible());
    box.Finish();
}

// Each user's text is shown whole (centred text wider than its label loses both its
// ends), and the box is as it was for the next, shorter text.
TEST(InfoForm, EveryUsersTextIsWhole) {
    test::QtApp();
    TInfoForm box;
    QDir().mkpath(ZEKO_ARTEFACT_DIR);
    for (const char* text : {"Zapisuje se nastavení regulátoru...", "Provádí se výpočet tabulky...",
                             "Načítají se záznamy...", "Připravuje se tisková sestava..."}) {
        SCOPED_TRACE(text);
        box.Start(text);
        QApplication::processEvents();
        const QRect needed = box.Label1->fontMetrics().boundingRect(box.Label1->text());
        EXPECT_GE(box.Label1->contentsRect().width(), needed.width());
        EXPECT_TRUE(box.rect().contains(box.Label1->geometry()));
        EXPECT_GE(box.width(), TInfoForm::ClientWidth);
        if (std::string(text).starts_with("Zapisuje"))
            box.grab().save(QString(ZEKO_ARTEFACT_DIR) + "/info-zapis.png");
        box.Finish();
    }
    box.Start("Načítají se záznamy...");
    EXPECT_EQ(box.width(), TInfoForm::ClientWidth);
    box.Finish();
}

TEST(InfoForm, UserCannotCloseTheBox) {
    test::QtApp();
    TInfoForm box;
    box.Start("Provádí se výpočet tabulky...");
    PressAltF4(&box);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&box, &escape);
    EXPECT_TRUE(box.isVisible());
    box.Finish();
    EXPECT_FALSE(box.isVisible());
}

TEST(TypForm, ConfirmGivesOkAndTheChosenChannelAbortGivesAbort) {
    test::QtApp();
    TTypForm form;
    EXPECT_EQ(form.windowTitle().toStdString(), "Výběr měření");
    EXPECT_FALSE(form.CasRadio->isVisibleTo(&form));
    form.MereniCombo->ClearAll();
    for (int id = 0; id < 4; ++id) {
        form.MereniCombo->addItem(QString("Kanál %1").arg(id));
        form.MereniCombo->AddValue(id, id);
    }
    form.MereniCombo->setCurrentIndex(2);
    form.show();
    EXPECT_EQ(test::LayoutFaults(&form), std::vector<std::string>{});  // "Zvolte typ požadovaného měření:" whole
    QDir().mkpath(ZEKO_ARTEFACT_DIR);
    EXPECT_TRUE(form.grab().save(ZEKO_ARTEFACT_DIR "/typ.png"));
    QTimer::singleShot(0, &form, [&] {
        PressAltF4(&form);  // swallowed: the dialog stays
        form.BitBtn1->click();
    });
    EXPECT_EQ(form.ShowModal(), ModalResults::Ok);
    EXPECT_EQ(form.MereniCombo->Actual(), "2");
    QTimer::singleShot(0, &form, [&] { form.BitBtn2->click(); });
    EXPECT_EQ(form.ShowModal(), ModalResults::Abort);
}
