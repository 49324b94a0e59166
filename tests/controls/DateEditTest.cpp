// The date edit: its text and date, four-digit years, the keys that change the
// date, its drop-down calendar and dialog, and when it tells of a change.
#include "controls/PickDate.h"
#include "controls/ToolEdit.h"

#include "ControlsTestSupport.h"
#include "platform/Exceptions.h"
#include "platform/FormatSettings.h"
#include "platform/Notifier.h"
#include "support/QtApp.h"

#include <QApplication>
#include <QTimer>

#include <cmath>
#include <limits>

using namespace zeko;

namespace {

TDateTime D(int y, int m, int d) { return EncodeDate(y, m, d); }

std::string Text(TDateTime date) {
    if (date == NullDate)
        return "NullDate";
    const DateParts p = DecodeDate(date);
    return std::to_string(p.Day) + "." + std::to_string(p.Month) + "." + std::to_string(p.Year);
}

struct DateEditFixture : test::ControlHost {
    DateEditFixture() {
        FormatSettings() = TFormatSettings();
        SetNowOverride(D(2026, 3, 12) + 10.0 / 24);
        edit = Make();
        edit->OnChange = [this](TCustomEdit*) { ++changes; };
        edit->OnPopupDateChange = [this](TCustomDateEdit*, TDateTime date) { popupDates.push_back(date); };
        other = new TCustomEdit(&host);
        other->setGeometry(20, 120, 100, 21);
        other->show();
        edit->setFocus();
        changes = 0;
    }
    ~DateEditFixture() override {
        SetNowOverride(std::nullopt);
        FormatSettings() = TFormatSettings();
    }
    TDateEdit* Make() {
        auto* e = new TDateEdit(&host);
        e->setGeometry(20, 20, 121, 21);
        e->SetNumGlyphs(2);
        e->show();
        return e;
    }
    TPopupCalendar* Popup() const { return dynamic_cast<TPopupCalendar*>(edit->Popup()); }
    void ClickButton() { QTest::mouseClick(edit->Button(), Qt::LeftButton, {}, QPoint(5, 5)); }
    void ClickDay(int day) {
        TLocCalendar* grid = Popup()->Calendar();
        for (int row = 1; row < 7; ++row)
            for (int col = 0; col < 7; ++col)
                if (grid->CellText(col, row) == std::to_string(day)) {
                    const TRect r = grid->CellRect(col, row);
                    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(r.Left + 3, r.Top + 3));
                    return;
                }
        ADD_FAILURE() << "no cell for day " << day;
    }

    ScopedLoggingNotifier notifier;
    TDateEdit* edit;
    TCustomEdit* other;
    int changes = 0;
    std::vector<TDateTime> popupDates;
};

} // namespace

TEST_F(DateEditFixture, AnEmptyEditShowsTwoDotsAndReadsNoDate) {
    EXPECT_EQ(edit->Text(), "  .  .    ");
    EXPECT_EQ(edit->EditMask(), "!99/99/9999;1; ");
    EXPECT_EQ(edit->DateFormat(), "DD/MM/YYYY");
    EXPECT_EQ(edit->Date(), NullDate);
    edit->SetDefaultToday(true);
    EXPECT_EQ(edit->Date(), D(2026, 3, 12));
    EXPECT_EQ(edit->GlyphKind(), gkDefault);
    EXPECT_EQ(edit->NumGlyphs(), 2);
    EXPECT_EQ(edit->Glyph().Width(), 28);
    EXPECT_EQ(edit->ButtonWidth(), 21);
    EXPECT_EQ(edit->CalendarStyle(), csPopup);
    EXPECT_EQ(edit->DialogTitle(), "Vyberte datum");
    EXPECT_EQ(edit->WeekendColor(), clRed);
    EXPECT_EQ(edit->DataAvailableColor(), clBlack);
}

TEST_F(DateEditFixture, WrittenDatesShowAndReadBack) {
    struct Case {
        TDateTime value;
        const char* text;
        TDateTime read;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {D(2026, 3, 12), "12.03.2026", D(2026, 3, 12)},
        {D(2026, 3, 12) + 0.75, "12.03.2026", D(2026, 3, 12)},  // the time of day is not shown
        {NullDate, "  .  .    ", NullDate},
        {nan, "  .  .    ", NullDate},                          // no day number: no date
        {-700000, "  .  .    ", NullDate},
    };
    for (const Case& c : cases) {
        edit->SetDate(c.value);
        EXPECT_EQ(edit->Text(), c.text) << c.text;
        EXPECT_EQ(edit->Date(), c.read) << c.text;
    }
    edit->SetDefaultToday(true);
    edit->SetDate(NullDate);
    EXPECT_EQ(edit->Text(), "12.03.2026");
}

TEST_F(DateEditFixture, StoredDatesNeverComeBackACenturyOff) {
    // Two-digit years would read 1990 back as 2090; every date edit shows four.
    FormatSettings().ShortDateFormat = "dd.mm.yy";  // a system that writes two digits
    TDateEdit* fresh = Make();
    for (TDateTime date : {D(1990, 5, 1), D(1999, 12, 31), D(2069, 1, 1), D(2100, 2, 28), D(1899, 12, 30) + 1}) {
        fresh->SetDate(date);
        EXPECT_EQ(fresh->Date(), date) << fresh->Text();
    }
    EXPECT_EQ(fresh->DateFormat(), "DD/MM/YYYY");
    // Two digits only when asked for, and then the hazard is plain to see.
    fresh->SetYearDigits(dyTwo);
    fresh->SetDate(D(1990, 5, 1));
    EXPECT_EQ(fresh->Text(), "01.05.90");
    EXPECT_EQ(fresh->Date(), D(2090, 5, 1));
    fresh->SetYearDigits(dyFour);
    EXPECT_EQ(fresh->EditMask(), "!99/99/9999;1; ");
}

TEST_F(DateEditFixture, KeypadAndTodayKeysChangeTheDate) {
    struct Case {
        TDateTime from;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        TDateTime to;
    };
    const Case cases[] = {
        {NullDate, Qt::Key_Plus, Qt::KeypadModifier, D(2026, 3, 13)},  // tomorrow from an empty edit
        {NullDate, Qt::Key_Minus, Qt::KeypadModifier, D(2026, 3, 11)},
        {D(2026, 2, 28), Qt::Key_Plus, Qt::KeypadModifier, D(2026, 3, 1)},
        {D(2024, 3, 1), Qt::Key_Minus, Qt::KeypadModifier, D(2024, 2, 29)},
        {D(2026, 12, 31), Qt::Key_Plus, Qt::KeypadModifier, D(2027, 1, 1)},
        {D(2020, 6, 6), Qt::Key_T, Qt::NoModifier, D(2026, 3, 12)},
        {D(2020, 6, 6), Qt::Key_T, Qt::ShiftModifier, D(2026, 3, 12)},
        {D(2020, 6, 6), Qt::Key_Plus, Qt::NoModifier, D(2020, 6, 6)},  // the main keyboard's plus is swallowed
        {D(2020, 6, 6), Qt::Key_Plus, Qt::KeypadModifier | Qt::ControlModifier, D(2020, 6, 6)},
    };
    for (const Case& c : cases) {
        edit->SetDate(c.from);
        QTest::keyClick(edit, c.key, c.modifiers);
        EXPECT_EQ(Text(edit->Date()), Text(c.to)) << Text(c.from) << " key " << c.key;
        EXPECT_EQ(edit->Text().size(), 10u);
    }
    edit->SetDirectInput(false);
    edit->SetDate(D(2020, 6, 6));
    QTest::keyClick(edit, Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClick(edit, Qt::Key_T);
    EXPECT_EQ(edit->Date(), D(2020, 6, 6));
}

TEST_F(DateEditFixture, ChangeIsToldOncePerDifferentDate) {
    edit->SetDate(D(2026, 3, 12));
    changes = 0;
    QTest::keyClick(edit, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(changes, 1);
    QTest::keyClick(edit, Qt::Key_T);  // back to today: different
    EXPECT_EQ(changes, 2);
    QTest::keyClick(edit, Qt::Key_T);  // today again: the same
    EXPECT_EQ(changes, 2);
    // From the drop-down: a different day once, the same day or a rejection never.
    ClickButton();
    ASSERT_TRUE(edit->PopupVisible());
    ClickDay(20);
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_EQ(edit->Date(), D(2026, 3, 20));
    EXPECT_EQ(changes, 3);
    EXPECT_TRUE(edit->Modified());
    ClickButton();
    ClickDay(20);
    EXPECT_EQ(changes, 3);
    ClickButton();
    QTest::keyClick(edit->Popup(), Qt::Key_PageDown);  // the calendar moves, the edit waits
    QTest::keyClick(edit->Popup(), Qt::Key_Escape);
    EXPECT_EQ(edit->Date(), D(2026, 3, 20));
    EXPECT_EQ(changes, 3);
}

TEST_F(DateEditFixture, TheDropDownShowsTheEditsDateAndTakesTheKeys) {
    edit->SetDate(D(2026, 1, 31));
    popupDates.clear();
    ClickButton();
    ASSERT_TRUE(edit->PopupVisible());
    TPopupCalendar* popup = Popup();
    EXPECT_EQ(popup->Calendar()->CalendarDate(), D(2026, 1, 31));
    EXPECT_EQ(popup->Title()->Caption(), "leden, 2026");
    ASSERT_FALSE(popupDates.empty());
    EXPECT_EQ(popupDates.back(), D(2026, 1, 31));
    for (TZcTimerSpeedButton* button : popup->Buttons())
        EXPECT_TRUE(button->Enabled());
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        TDateTime shown;
    };
    const Step steps[] = {
        {Qt::Key_PageDown, {}, D(2026, 2, 28)},
        {Qt::Key_PageDown, Qt::ControlModifier, D(2027, 2, 28)},
        {Qt::Key_PageUp, {}, D(2027, 1, 28)},
        {Qt::Key_Right, {}, D(2027, 1, 29)},
        {Qt::Key_Minus, Qt::KeypadModifier, D(2027, 1, 28)},
        {Qt::Key_Up, {}, D(2027, 1, 21)},
        {Qt::Key_T, {}, D(2026, 3, 12)},
    };
    for (const Step& s : steps) {
        QTest::keyClick(popup, s.key, s.modifiers);  // the open popup has the keyboard
        EXPECT_EQ(Text(popup->Calendar()->CalendarDate()), Text(s.shown)) << s.key;
        EXPECT_EQ(edit->Date(), D(2026, 1, 31)) << "the edit waits";
    }
    EXPECT_EQ(popupDates.back(), D(2026, 3, 12));
    EXPECT_EQ(popup->Title()->Caption(), "březen, 2026");
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_EQ(edit->Date(), D(2026, 3, 12));
}

TEST_F(DateEditFixture, AnUnreadableTextOpensTheCalendarOnToday) {
    edit->setCursorPosition(0);
    QTest::keyClicks(edit, "3102");  // 31 February
    ClickButton();
    EXPECT_EQ(Popup()->Calendar()->CalendarDate(), D(2026, 3, 12));
    QTest::keyClick(Popup(), Qt::Key_Escape);
    EXPECT_EQ(edit->Text(), "31.02.    ");
}

TEST_F(DateEditFixture, TheTitleButtonsStepMonthsAndYears) {
    edit->SetDate(D(2024, 2, 29));
    ClickButton();
    TPopupCalendar* popup = Popup();
    QTest::mouseClick(popup->Button(cbNextYear), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(popup->Calendar()->CalendarDate(), D(2025, 2, 28));
    QTest::mouseClick(popup->Button(cbPrevMonth), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(popup->Calendar()->CalendarDate(), D(2025, 1, 28));
    EXPECT_TRUE(edit->PopupVisible());  // buttons do not close the drop-down
    QTest::mouseDClick(popup->Title(), Qt::LeftButton, {}, QPoint(30, 5));
    EXPECT_EQ(popup->Calendar()->CalendarDate(), D(2026, 3, 12));
}

TEST_F(DateEditFixture, TheAcceptEventMayChangeOrRefuseTheDate) {
    edit->OnAcceptDate = [](TCustomDateEdit*, TDateTime& date, bool& accept) {
        if (date == D(2026, 3, 20))
            accept = false;
        else
            date += 1;
    };
    ClickButton();
    ClickDay(20);
    EXPECT_EQ(edit->Date(), NullDate);
    ClickButton();
    ClickDay(5);
    EXPECT_EQ(edit->Date(), D(2026, 3, 6));
}

TEST_F(DateEditFixture, CheckOnExitKeepsTheFocusOnAnInvalidDate) {
    edit->SetCheckOnExit(true);
    int exits = 0;
    edit->OnExit = [&](TCustomEdit*) { ++exits; };
    edit->setCursorPosition(0);
    QTest::keyClicks(edit, "31022026");
    ASSERT_EQ(edit->Text(), "31.02.2026");
    other->setFocus();
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return notifier.Count() > 0 && edit->hasFocus(); }));
    EXPECT_EQ(notifier.Messages()[0].Text, "''31.02.2026'' is not a valid date");
    EXPECT_EQ(exits, 0);
    // A valid date is written again in full on leaving.
    edit->SetText("");
    edit->setCursorPosition(0);
    QTest::keyClicks(edit, "5.3.");
    ASSERT_EQ(edit->Text(), "5 .3 .    ");
    other->setFocus();
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return other->hasFocus(); }));
    EXPECT_EQ(edit->Text(), "05.03.2026");
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(notifier.Count(), 1u);
}

TEST_F(DateEditFixture, ABlankYearIsThisYearNot1999) {
    edit->setCursorPosition(0);
    QTest::keyClicks(edit, "1203");
    ASSERT_EQ(edit->Text(), "12.03.    ");
    EXPECT_EQ(edit->Date(), D(2026, 3, 12));
    SetNowOverride(D(2068, 6, 1));
    EXPECT_EQ(edit->Date(), D(2068, 3, 12));
    edit->CheckValidDate();
    EXPECT_EQ(edit->Text(), "12.03.2068");
    edit->SetText("  .03.    ");
    EXPECT_THROW(edit->CheckValidDate(), EConvertError);
    EXPECT_EQ(edit->Date(), NullDate);
}

TEST_F(DateEditFixture, BlanksCharAndLocaleRebuildTheMaskKeepingTheDate) {
    edit->SetDate(D(2026, 3, 12));
    edit->SetBlanksChar('\t');  // below a space: a space
    EXPECT_EQ(edit->BlanksChar(), ' ');
    edit->SetBlanksChar('_');
    EXPECT_EQ(edit->EditMask(), "!99/99/9999;1;_");
    EXPECT_EQ(edit->Date(), D(2026, 3, 12));
    edit->SetDate(NullDate);
    EXPECT_EQ(edit->Text(), "__.__.____");
    edit->SetDate(D(2026, 3, 12));
    FormatSettings().DateSeparator = '/';
    QEvent localeChange(QEvent::LocaleChange);
    QCoreApplication::sendEvent(edit, &localeChange);
    EXPECT_EQ(edit->Text(), "12/03/2026");
}

TEST_F(DateEditFixture, CalendarSettingsReachTheDropDown) {
    edit->SetCalendarHints({"a|", "", "c|", "d|", "fifth|"});
    EXPECT_EQ(edit->CalendarHints().size(), 4u);  // a fifth line goes at once
    TPopupCalendar* popup = Popup();
    EXPECT_EQ(popup->Button(cbPrevYear)->Hint(), "a|");
    EXPECT_EQ(popup->Button(cbPrevMonth)->Hint(), "Předchozí měsíc|");  // an empty line leaves it
    EXPECT_EQ(popup->Button(cbNextYear)->Hint(), "d|");
    edit->SetStartOfWeek(Sun);
    edit->SetWeekends({Sat, Sun});
    edit->SetWeekendColor(clGreen);
    edit->SetDataAvailableColor(clPurple);
    edit->SetPopupColor(clWhite);
    EXPECT_EQ(popup->Calendar()->StartOfWeek(), Sun);
    EXPECT_EQ(popup->Calendar()->Weekends(), (TDaysOfWeek{Sat, Sun}));
    EXPECT_EQ(popup->Calendar()->WeekendColor(), clGreen);
    EXPECT_EQ(popup->Calendar()->DataAvailableColor(), clPurple);
    EXPECT_EQ(popup->Calendar()->Color(), clWhite);
    EXPECT_EQ(edit->PopupColor(), clWhite);
}

TEST_F(DateEditFixture, DialogStyleAndBackKeepThePopupEvents) {
    edit->SetCalendarStyle(csDialog);
    EXPECT_EQ(edit->Popup(), nullptr);
    EXPECT_EQ(edit->CalendarStyle(), csDialog);
    edit->SetCalendarStyle(csPopup);
    ASSERT_NE(Popup(), nullptr);
    popupDates.clear();
    edit->SetDate(D(2026, 5, 5));
    ClickButton();
    ASSERT_FALSE(popupDates.empty());
    EXPECT_EQ(popupDates.back(), D(2026, 5, 5));
    ClickDay(6);
    EXPECT_EQ(edit->Date(), D(2026, 5, 6));
}

TEST_F(DateEditFixture, DialogStyleRunsTheSelectDateDialog) {
    edit->SetCalendarStyle(csDialog);
    edit->SetDate(D(2026, 5, 5));
    // The dialog takes the edit's date; Page Down and Enter choose a month later.
    QTimer::singleShot(0, [] {
        auto* dialog = dynamic_cast<TSelectDateDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->Date(), D(2026, 5, 5));
        QTest::keyClick(dialog->Calendar, Qt::Key_PageDown);
        QTest::keyClick(dialog->Calendar, Qt::Key_Return);
    });
    ClickButton();
    EXPECT_EQ(edit->Date(), D(2026, 6, 5));
    EXPECT_EQ(changes, 2);  // the date written before, the chosen one
    QTimer::singleShot(0, [] {
        auto* dialog = dynamic_cast<TSelectDateDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QTest::keyClick(dialog->Calendar, Qt::Key_PageDown);
        QTest::keyClick(dialog->Calendar, Qt::Key_Escape);
    });
    ClickButton();
    EXPECT_EQ(edit->Date(), D(2026, 6, 5));
}

TEST_F(DateEditFixture, PicturesOfTheEditAndItsDropDown) {
    edit->SetDate(D(2026, 3, 12));
    const QImage face = edit->grab().toImage();
    test::SaveArtefact(face, "dateedit.png");
    // The calendar leaf stands on the button at the right, inside the border.
    const TRect button = FromQRect(edit->ButtonHolder()->geometry());
    EXPECT_FALSE(IsRectEmpty(test::InkBox(face, button, clBlack)));
    EXPECT_EQ(button.Right, edit->width() - 2);
    ClickButton();
    TPopupCalendar* popup = Popup();
    ASSERT_EQ(popup->size(), QSize(PopupCalendarWidth, PopupCalendarHeight));
    const QImage picture = popup->grab().toImage();
    test::SaveArtefact(picture, "popupcalendar.png");
    // The title, whole, between the month buttons.
    const TRect title = FromQRect(QRect(popup->Title()->mapTo(popup, QPoint(0, 0)), popup->Title()->size()));
    const TRect ink = test::InkBoxOver(picture, title, clBlack, test::MostCommonColor(picture, title));
    ASSERT_FALSE(IsRectEmpty(ink));
    EXPECT_GT(ink.Left, title.Left);
    EXPECT_LT(ink.Right, title.Right);
    // Every week row of the calendar lies inside the popup.
    TLocCalendar* grid = popup->Calendar();
    const QPoint gridAt = grid->mapTo(popup, QPoint(0, 0));
    EXPECT_LE(gridAt.y() + grid->CellRect(0, 6).Bottom, PopupCalendarHeight - 1);
    QTest::keyClick(popup, Qt::Key_Escape);
}
