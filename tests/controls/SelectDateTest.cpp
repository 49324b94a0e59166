// The select-date dialog: the date it starts on, the keys it sees first, and what
// its caller gets back on OK and on everything else.
#include "controls/PickDate.h"

#include "ControlsTestSupport.h"
#include "platform/FormatSettings.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <functional>

using namespace zeko;

namespace {

TDateTime D(int y, int m, int d) { return EncodeDate(y, m, d); }

struct SelectDateFixture : test::ControlHost {
    SelectDateFixture() {
        FormatSettings() = TFormatSettings();
        SetNowOverride(D(2026, 3, 12) + 0.5);
    }
    ~SelectDateFixture() override { SetNowOverride(std::nullopt); }

    // Runs SelectDate on `date` while `act` works the dialog.
    bool Run(TDateTime& date, const std::function<void(TSelectDateDlg&)>& act) {
        QTimer::singleShot(0, [act] {
            auto* dialog = dynamic_cast<TSelectDateDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
        });
        return SelectDate(date, "", Mon, {}, clRed, {Sun});
    }
    static void Key(TSelectDateDlg& dialog, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(dialog.Calendar, key, modifiers);
    }
};

} // namespace

TEST_F(SelectDateFixture, NoDateStartsOnToday) {
    TDateTime date = NullDate;
    TDateTime shown = 0;
    std::string title;
    EXPECT_TRUE(Run(date, [&](TSelectDateDlg& dialog) {
        shown = dialog.Date();
        title = dialog.TitleLabel->Caption();
        Key(dialog, Qt::Key_Return);
    }));
    EXPECT_EQ(shown, D(2026, 3, 12));
    EXPECT_EQ(title, "březen, 2026");
    EXPECT_EQ(date, D(2026, 3, 12));
}

TEST_F(SelectDateFixture, OnlyOkGivesADateBack) {
    const std::function<void(TSelectDateDlg&)> endings[] = {
        [](TSelectDateDlg& d) { Key(d, Qt::Key_Escape); },
        [](TSelectDateDlg& d) { d.CancelButton->click(); },
        [](TSelectDateDlg& d) { d.close(); },
    };
    for (const auto& end : endings) {
        TDateTime date = D(2025, 7, 4);
        EXPECT_FALSE(Run(date, [&](TSelectDateDlg& d) {
            Key(d, Qt::Key_PageDown);
            end(d);
        }));
        EXPECT_EQ(date, D(2025, 7, 4));
    }
    TDateTime date = D(2025, 7, 4);
    EXPECT_TRUE(Run(date, [](TSelectDateDlg& d) {
        Key(d, Qt::Key_PageDown);
        d.OkButton->click();
    }));
    EXPECT_EQ(date, D(2025, 8, 4));
}

TEST_F(SelectDateFixture, TheFormSeesTheKeysFirst) {
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        TDateTime shown;
    };
    const Case cases[] = {
        {Qt::Key_Tab, {}, D(2025, 2, 28)},  // a month on instead of the focus
        {Qt::Key_Backtab, Qt::ShiftModifier, D(2024, 12, 31)},
        {Qt::Key_PageDown, {}, D(2025, 2, 28)},
        {Qt::Key_PageDown, Qt::ControlModifier, D(2026, 1, 31)},
        {Qt::Key_PageUp, Qt::ControlModifier, D(2024, 1, 31)},
        {Qt::Key_Left, {}, D(2025, 1, 30)},  // the calendar's own keys
        {Qt::Key_Plus, Qt::KeypadModifier, D(2025, 2, 1)},
        {Qt::Key_T, {}, D(2026, 3, 12)},
    };
    for (const Case& c : cases) {
        TDateTime date = D(2025, 1, 31);
        bool focusKept = false;
        std::string title;
        EXPECT_TRUE(Run(date, [&](TSelectDateDlg& d) {
            d.Calendar->setFocus();
            Key(d, c.key, c.modifiers);
            focusKept = d.focusWidget() == d.Calendar;
            title = d.TitleLabel->Caption();
            Key(d, Qt::Key_Return);
        }));
        EXPECT_EQ(date, c.shown) << c.key;
        EXPECT_TRUE(focusKept) << c.key;
        EXPECT_EQ(title, CalendarTitle(c.shown)) << c.key;
    }
}

TEST_F(SelectDateFixture, ADoubleClickOnADayChoosesIt) {
    TDateTime date = D(2026, 3, 12);
    EXPECT_TRUE(Run(date, [](TSelectDateDlg& d) {
        for (int row = 1; row < 7; ++row)
            for (int col = 0; col < 7; ++col)
                if (d.Calendar->CellText(col, row) == "24") {
                    const TRect r = d.Calendar->CellRect(col, row);
                    QTest::mouseDClick(d.Calendar->viewport(), Qt::LeftButton, {}, QPoint(r.Left + 4, r.Top + 4));
                    return;
                }
    }));
    EXPECT_EQ(date, D(2026, 3, 24));
}

TEST_F(SelectDateFixture, TheCallersSettingsReachTheCalendar) {
    TDateTime date = D(2026, 3, 12);
    TDayOfWeekName start = Mon;
    TColor weekendColor = clNone;
    std::string hint;
    QString caption;
    QTimer::singleShot(0, [&] {
        auto* d = dynamic_cast<TSelectDateDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        start = d->Calendar->StartOfWeek();
        weekendColor = d->Calendar->WeekendColor();
        hint = d->Buttons[cbNextYear]->Hint();
        caption = d->windowTitle();
        test::SaveArtefact(d->grab().toImage(), "selectdate.png");
        Key(*d, Qt::Key_Escape);
    });
    EXPECT_FALSE(SelectDate(date, "Datum platnosti", Sun, {"", "", "", "Další rok|"}, clGreen, {Sat, Sun}));
    EXPECT_EQ(start, Sun);
    EXPECT_EQ(weekendColor, clGreen);
    EXPECT_EQ(hint, "Další rok|");
    EXPECT_EQ(caption, QString::fromUtf8("Datum platnosti"));
}

TEST_F(SelectDateFixture, TheDialogIsLaidOutAsItsPartsSay) {
    const std::unique_ptr<TSelectDateDlg> dialog = CreateDateDialog("");
    EXPECT_EQ(dialog->size(), QSize(222, 154));
    // The dialog's own words are Czech, whatever the session's language.
    EXPECT_EQ(dialog->windowTitle(), QString("Vyberte datum"));
    EXPECT_EQ(dialog->OkButton->text(), QString("OK"));
    EXPECT_EQ(dialog->CancelButton->text(), QString::fromUtf8("Zrušit"));
    EXPECT_EQ(dialog->Buttons[cbPrevYear]->Hint(), "Předchozí rok|");
    EXPECT_EQ(dialog->Buttons[cbNextMonth]->Hint(), "Následující měsíc|");
    EXPECT_EQ(dialog->TitleLabel->geometry(), QRect(35, 4, 152, 14));
    EXPECT_EQ(dialog->Buttons[cbPrevYear]->geometry(), QRect(3, 3, 16, 16));
    EXPECT_EQ(dialog->Buttons[cbNextYear]->geometry(), QRect(203, 3, 16, 16));
    EXPECT_EQ(dialog->OkButton->geometry(), QRect(0, 0, 112, 21));
    EXPECT_EQ(dialog->CancelButton->geometry(), QRect(111, 0, 111, 21));
    EXPECT_EQ(dialog->TitleLabel->Font().Color(), clBlue);
    EXPECT_TRUE(dialog->TitleLabel->Font().Style().Contains(fsBold));
    dialog->SetDate(NullDate);
    EXPECT_EQ(dialog->Date(), D(2026, 3, 12));
    dialog->SetDate(D(2030, 1, 1));
    EXPECT_EQ(dialog->TitleLabel->Caption(), "leden, 2030");
    dialog->show();
    const QImage picture = dialog->grab().toImage();
    // The blue bold title lies whole inside its label, clear of the buttons.
    const TRect label = FromQRect(dialog->TitleLabel->geometry());
    const TRect ink = test::InkBox(picture, {0, 0, 222, 22}, clBlue);
    ASSERT_FALSE(IsRectEmpty(ink));
    EXPECT_GT(ink.Left, label.Left);
    EXPECT_LT(ink.Right, label.Right);
    EXPECT_LE(ink.Bottom, 22);
}
