// The date-choice dialog: the marks it reads from the program folder, the move
// through months and years, the count of days or months with its end date, and how
// it closes.
#include "graph/kalendar.h"

#include "controls/ToolEdit.h"
#include "controls/ZcSpin.h"
#include "core/RecordSamples.h"
#include "graph/MujKalendar.h"
#include "grids/Aligrid.h"
#include "platform/FormatSettings.h"
#include "platform/Notifier.h"
#include "platform/ProgramDir.h"
#include "support/TempDir.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "QtTestApp.h"

using namespace zeko;

namespace {

TDateTime D(int y, int m, int d) { return EncodeDate(y, m, d); }

// A program folder whose year folders and month files have names in every letter
// case, as users copy them from other machines:
//   Rok2023/                      no month file
//   rok2024/MESIC03.ZEK           records of days 3, 3 and 17
//   rok2024/mesic05.zek           empty
//   rok2024/Mesic07.zek/          a folder, no month file
//   ROK2026/Mesic01.zek           a record of day 31
//   rok2021                       a file, no year folder
struct KalendarFormTest : ::testing::Test {
    KalendarFormTest() : dir(true) {
        FormatSettings().ShortDateFormat = "dd/mm/yyyy";
        FormatSettings().DateSeparator = '.';
        ResetSysColors();
        devices.LoadFromIni(ProgramFile("Zarizeni.ini"));
        Devices = &devices;
        std::filesystem::create_directories(dir / "Rok2023");
        dir.Write("rok2024/MESIC03.ZEK", test::BytesOf({test::MakeRecord(24, 3, 3, 10, 0, 0),
                                                        test::MakeRecord(24, 3, 3, 11, 0, 0),
                                                        test::MakeRecord(24, 3, 17, 0, 15, 0)}));
        dir.Write("rok2024/mesic05.zek", "");
        std::filesystem::create_directories(dir / "rok2024/Mesic07.zek");
        dir.Write("ROK2026/Mesic01.zek", test::BytesOf({test::MakeRecord(26, 1, 31, 0, 15, 0)}));
        dir.Write("rok2021", "not a folder");
        form.InputList = {"0"};
    }
    ~KalendarFormTest() override {
        Devices = nullptr;
        SetNowOverride(std::nullopt);
    }

    // Shows the dialog as a caller does (without its modal loop).
    void Show() {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    // The calendar on a day, as a user leaves it between two showings.
    void CalendarOn(int y, int m, int d) {
        form.Kalendar->SetDay(1);
        form.Kalendar->SetYear(y);
        form.Kalendar->SetMonth(m);
        form.Kalendar->SetDay(d);
    }
    static bool Marked(TStringAlignGrid& grid, int col) {
        const TFont& font = grid.GetCellFont(col, 0);
        return font.Color() == clRed && font.Style().Contains(fsBold);
    }
    std::set<std::string> MarkedCells(TStringAlignGrid& grid) {
        std::set<std::string> marked;
        for (int col = 0; col < grid.ColCount(); ++col)
            if (Marked(grid, col))
                marked.insert(grid.Cells(col, 0));
        return marked;
    }
    std::set<int> MarkedDays() const {
        std::set<int> days;
        for (int d = 0; d < 256; ++d)
            if (form.Kalendar->MarkedDays().test(static_cast<size_t>(d)))
                days.insert(d);
        return days;
    }
    void DoubleClickCell(TCustomGrid& grid, int col) {
        const TRect r = grid.CellRect(col, 0);
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    }
    // The end date as the user types it over the shown one.
    void TypeEndDate(const char* digits) {
        form.VyberDT->setFocus();
        form.VyberDT->setCursorPosition(0);
        QTest::keyClicks(form.VyberDT, digits);
    }
    // A modal showing answered by `act` once the dialog is up; one that stays open
    // is a failure, closed with the result None.
    int ShowModalThen(std::function<void()> act) {
        QTimer::singleShot(0, &form, [&form = form, act] {
            if (form.isVisible())
                act();
            if (form.isVisible()) {
                ADD_FAILURE() << "the dialog stays open";
                form.SetModalResult(ModalResults::None);
            }
        });
        return form.ShowModal();
    }

    // Today is 10 March 2024 from before the dialog is made.
    struct FixedToday {
        FixedToday() { SetNowOverride(D(2024, 3, 10) + 0.5); }
    };
    QApplication& app = test::QtApp();
    FixedToday today;
    test::TempDir dir;
    TSeznamZarizeni devices;
    ScopedLoggingNotifier notifier;
    TKalendarForm form;
};

} // namespace

TEST_F(KalendarFormTest, IsTheDialogVyberDataWithItsCaptions) {
    EXPECT_EQ(form.windowTitle().toStdString(), "Výběr data");
    EXPECT_EQ(form.size(), QSize(TKalendarForm::ClientWidth, TKalendarForm::ClientHeight));
    const std::pair<QLabel*, const char*> labels[] = {
        {form.Label1, "Výběr dne:"}, {form.Label2, "Měsíc:"},  {form.Label3, "Rok:"},
        {form.Label4, "Externí záznamy!"}, {form.Label5, "Cesta:"}, {form.Label7, "Odběrné místo:"},
        {form.Lbl_VyberDT, "Do data:"}};
    for (const auto& [label, text] : labels)
        EXPECT_EQ(label->text().toStdString(), text);
    EXPECT_EQ(form.BitBtn1->text().toStdString(), "&Potvrď");
    EXPECT_EQ(form.BitBtn2->text().toStdString(), "&Zruš");
    EXPECT_EQ(form.Kalendar->StartOfWeek(), 1);
    EXPECT_EQ(form.Kalendar->GridLineWidth(), 2);
    EXPECT_EQ(form.Kalendar->size(), QSize(318, 115));
    EXPECT_EQ(form.MesiceGrid->ColCount(), 12);
    EXPECT_EQ(form.RokyGrid->ColCount(), 7);
    EXPECT_FALSE(form.SpinEdit->EditorEnabled());
    Show();
    for (QLabel* hidden : {form.Label4, form.Label5, form.Label6, form.Label7, form.Label8})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    // A day alone: no count, no end date.
    for (QWidget* hidden : {static_cast<QWidget*>(form.SpinEdit), static_cast<QWidget*>(form.SpinEditLabel),
                            static_cast<QWidget*>(form.VyberDT), static_cast<QWidget*>(form.Lbl_VyberDT)})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    EXPECT_EQ(form.LMesic->text().toStdString(), "3");
    EXPECT_EQ(form.LRok->text().toStdString(), "2024");
}

// Years with a year folder, months with a month file and the days of the
// calendar month's records are bold red, whatever the case of their names.
TEST_F(KalendarFormTest, MarksWhatThePogramFolderHoldsWithoutRegardToCase) {
    const struct {
        int year, month;
        std::set<std::string> years, months;
        std::set<int> days;
        bool monthMarked;
    } cases[] = {
        {2024, 3, {"2023", "2024", "2026"}, {"3", "5"}, {3, 17}, true},
        {2024, 5, {"2023", "2024", "2026"}, {"3", "5"}, {}, true},  // a month file without records
        {2024, 4, {"2023", "2024", "2026"}, {"3", "5"}, {}, false},
        {2024, 7, {"2023", "2024", "2026"}, {"3", "5"}, {}, false},  // a folder is no month file
        {2026, 1, {"2023", "2024", "2026"}, {"1"}, {31}, true},
        {2020, 6, {"2023"}, {}, {}, false},
        {2030, 6, {}, {}, {}, false},
    };
    Show();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month));
        CalendarOn(c.year, c.month, 1);
        form.RefreshMarks();
        for (int k = 0; k < 7; ++k)
            EXPECT_EQ(form.RokyGrid->Cells(k, 0), std::to_string(c.year - 3 + k));
        for (int m = 1; m <= 12; ++m)
            EXPECT_EQ(form.MesiceGrid->Cells(m - 1, 0), std::to_string(m));
        EXPECT_EQ(MarkedCells(*form.RokyGrid), c.years);
        EXPECT_EQ(MarkedCells(*form.MesiceGrid), c.months);
        EXPECT_EQ(MarkedDays(), c.days);
        // The year and month shown: on the caption colour, white where no data are.
        EXPECT_EQ(form.RokyGrid->GetColorCell(3, 0), clActiveCaption);
        EXPECT_EQ(form.MesiceGrid->GetColorCell(c.month - 1, 0), clActiveCaption);
        EXPECT_EQ(form.MesiceGrid->GetCellFont(c.month - 1, 0).Color(), c.monthMarked ? clRed : clWhite);
        const int other = c.month % 12;  // the next month's cell
        EXPECT_EQ(form.MesiceGrid->GetColorCell(other, 0), clWhite);
        EXPECT_EQ(form.MesiceGrid->GetCellFont(other, 0).Color(), Marked(*form.MesiceGrid, other) ? clRed : clBlack);
    }
    EXPECT_EQ(notifier.Count(), 0u);
}

TEST_F(KalendarFormTest, NothingIsMarkedForNoChannelOrARecordlessDeviceType) {
    Show();
    CalendarOn(2024, 3, 1);
    for (const std::vector<std::string>& inputs : {std::vector<std::string>{}, {"x"}}) {
        form.InputList = inputs;
        form.RefreshMarks();
        EXPECT_TRUE(MarkedCells(*form.RokyGrid).empty());
        EXPECT_TRUE(MarkedCells(*form.MesiceGrid).empty());
        EXPECT_TRUE(MarkedDays().empty());
        EXPECT_EQ(form.RokyGrid->GetCellFont(3, 0).Color(), clWhite);
    }
    TVstupyInfo channel;
    channel.DeviceType = "FIKTIVNI";
    EXPECT_EQ(YearFolder(2024, channel), "");
    channel.DeviceType = "ZEKO";
    EXPECT_EQ(YearFolder(2024, channel), dir / "rok2024");
    EXPECT_EQ(MonthFileOf(YearFolder(2024, channel), 3), dir / "rok2024/MESIC03.ZEK");
}

// The month and year buttons and grids move the calendar to day 1 of another
// month; the marks follow.
TEST_F(KalendarFormTest, MonthAndYearMovesGoToTheFirstOfTheMonth) {
    Show();
    CalendarOn(2023, 12, 31);
    form.SpinButton1TopClick();
    EXPECT_EQ(form.Kalendar->CalendarDate(), D(2024, 1, 1));
    EXPECT_EQ(form.LMesic->text().toStdString(), "1");
    EXPECT_EQ(form.LRok->text().toStdString(), "2024");
    form.SpinButton1BottomClick();
    EXPECT_EQ(form.Kalendar->CalendarDate(), D(2023, 12, 1));
    EXPECT_EQ(form.LRok->text().toStdString(), "2023");
    CalendarOn(2024, 3, 31);
    form.SpinButton1TopClick();  // no 31 April
    EXPECT_EQ(form.Kalendar->CalendarDate(), D(2024, 4, 1));
    CalendarOn(2024, 2, 29);
    form.SpinButton2TopClick();  // no 29 February 2025
    EXPECT_EQ(form.Kalendar->CalendarDate(), D(2025, 2, 1));
    form.SpinButton2BottomClick();
    EXPECT_EQ(form.Kalendar->CalendarDate(), D(2024, 2, 1));

    CalendarOn(2024, 4, 20);
    DoubleClickCell(*form.MesiceGrid, 2);
    EXPECT_EQ(form.Kalendar->CalendarDate(), D(2024, 3, 1));
    EXPECT_EQ(MarkedDays(), (std::set<int>{3, 17}));
    // The year row is built again around the year chosen.
    DoubleClickCell(*form.RokyGrid, 5);
    EXPECT_EQ(form.Kalendar->CalendarDate(), D(2026, 3, 1));
    EXPECT_EQ(form.LRok->text().toStdString(), "2026");
    EXPECT_EQ(form.RokyGrid->Cells(3, 0), "2026");
    EXPECT_EQ(form.RokyGrid->Cells(0, 0), "2023");
    EXPECT_EQ(MarkedCells(*form.MesiceGrid), (std::set<std::string>{"1"}));
}

// The month table's count of days: the month's length, held to 2..35 by the
// button and by the end date, and the end date following the count.
TEST_F(KalendarFormTest, TheCountOfDaysStaysWithinItsLimitsAndTheEndDateFollows) {
    CalendarOn(2024, 3, 1);
    form.ShowSpinEdit(true);
    form.SpinLimit = 35;
    Show();
    EXPECT_TRUE(form.SpinEdit->isVisible());
    EXPECT_TRUE(form.VyberDT->isVisible());
    EXPECT_EQ(form.SpinEditLabel->text().toStdString(), "Dnů. v tab.");
    EXPECT_EQ(form.SpinEdit->Text(), "31");
    EXPECT_EQ(form.VyberDT->Date(), D(2024, 4, 1));
    EXPECT_EQ(form.VyberDT->MinDate, D(2024, 3, 3));
    EXPECT_EQ(form.VyberDT->MaxDate, D(2024, 4, 5));

    const struct {
        const char* step;
        int times;
        int count;
    } steps[] = {{"up", 4, 35}, {"up", 1, 35}, {"down", 33, 2}, {"down", 1, 2}, {"up", 8, 10}};
    for (const auto& s : steps) {
        for (int i = 0; i < s.times; ++i)
            s.step[0] == 'u' ? form.SpinEdit->UpClick() : form.SpinEdit->DownClick();
        EXPECT_EQ(form.SpinEdit->Text(), std::to_string(s.count)) << s.step << " " << s.times;
        EXPECT_EQ(form.VyberDT->Date(), D(2024, 3, 1) + s.count);
        EXPECT_EQ(form.SpinCount(), s.count);
    }

    // Typed end dates: a date too early or too late gives the nearest count; one that
    // is no date yet changes nothing; the end date shown follows once it is left.
    const struct {
        const char* typed;
        int count;
        TDateTime shownAfterExit;
    } ends[] = {{"20032024", 19, D(2024, 3, 20)}, {"30042024", 35, D(2024, 4, 5)},
                {"01032024", 2, D(2024, 3, 3)},   {"15021999", 2, D(2024, 3, 3)},
                {"02032024", 2, D(2024, 3, 3)},   {"05042024", 35, D(2024, 4, 5)},
                {"31022024", 35, D(2024, 4, 5)}};
    for (const auto& e : ends) {
        SCOPED_TRACE(e.typed);
        TypeEndDate(e.typed);
        EXPECT_EQ(form.SpinEdit->Text(), std::to_string(e.count));
        EXPECT_EQ(form.SpinCount(), e.count);
        form.BitBtn2->setFocus();
        EXPECT_EQ(form.VyberDT->Date(), e.shownAfterExit);
    }

    // The calendar's day moves the end date with the count.
    form.Kalendar->SetDay(10);
    EXPECT_EQ(form.VyberDT->Date(), D(2024, 3, 10) + 35);
    EXPECT_EQ(form.VyberDT->MinDate, D(2024, 3, 12));
    // The spin edit takes no typing.
    form.SpinEdit->setFocus();
    QTest::keyClicks(form.SpinEdit, "9");
    QTest::keyClick(form.SpinEdit, Qt::Key_Up);
    EXPECT_EQ(form.SpinEdit->Text(), "35");
    // Whatever text it holds, the count read is one the table can take.
    for (const auto& [text, count] : {std::pair{"99", 35}, {"1", 2}, {"-4", 2}, {"", 2}, {"x", 2}, {"20", 20}}) {
        form.SpinEdit->SetText(text);
        EXPECT_EQ(form.SpinCount(), count) << text;
    }
}

TEST_F(KalendarFormTest, ADayPickedInTheDropDownIsHeldToTheCount) {
    CalendarOn(2024, 3, 1);
    form.ShowSpinEdit(true);
    form.SpinLimit = 35;
    Show();
    const struct {
        TDateTime picked;
        int count;
    } picks[] = {{D(2024, 3, 25), 24}, {D(2024, 5, 30), 35}, {D(2024, 2, 1), 2}};
    for (const auto& p : picks) {
        TDateTime date = p.picked;
        bool accept = true;
        form.VyberDT->OnAcceptDate(form.VyberDT, date, accept);
        form.VyberDT->SetDate(date);
        EXPECT_EQ(form.SpinEdit->Text(), std::to_string(p.count));
        EXPECT_EQ(form.VyberDT->Date(), D(2024, 3, 1) + p.count);
    }
}

// The year table's count of months: 12, held to 2..15, without an end date.
TEST_F(KalendarFormTest, TheCountOfMonthsHasNoEndDate) {
    CalendarOn(2024, 3, 1);
    form.MonthsMode = 1;
    form.ShowSpinEdit(true);
    form.SpinLimit = 15;
    Show();
    EXPECT_EQ(form.SpinEditLabel->text().toStdString(), "Měs.v tab.");
    EXPECT_EQ(form.SpinEdit->Text(), "12");
    EXPECT_TRUE(form.SpinEdit->isVisible());
    EXPECT_FALSE(form.VyberDT->isVisible());
    EXPECT_FALSE(form.Lbl_VyberDT->isVisible());
    for (int i = 0; i < 5; ++i)
        form.SpinEdit->UpClick();
    EXPECT_EQ(form.SpinCount(), 15);
    form.SpinButton1TopClick();  // another month: 12 again
    EXPECT_EQ(form.SpinEdit->Text(), "12");
    for (int i = 0; i < 12; ++i)
        form.SpinEdit->DownClick();
    EXPECT_EQ(form.SpinCount(), 2);
    // Every close starts the next showing with a day alone.
    form.done(ModalResults::Ok);
    EXPECT_EQ(form.MonthsMode, 0);
    EXPECT_TRUE(form.SpinEdit->isHidden());
    EXPECT_TRUE(form.VyberDT->isHidden());
    EXPECT_EQ(form.SpinLimit, 15);
    EXPECT_EQ(form.SpinCount(), 2);  // the caller reads it after the close
}

TEST_F(KalendarFormTest, ClosesByItsButtonsEscOrADoubleClickedDayButNotAltF4) {
    CalendarOn(2024, 3, 5);
    EXPECT_EQ(ShowModalThen([this] {
                  QTest::keyClick(form.Kalendar, Qt::Key_F4, Qt::AltModifier);
                  EXPECT_TRUE(form.isVisible());
                  form.BitBtn1->click();
              }),
              ModalResults::Ok);
    EXPECT_EQ(ShowModalThen([this] { form.BitBtn2->click(); }), ModalResults::Cancel);
    EXPECT_EQ(ShowModalThen([this] { QTest::keyClick(form.Kalendar, Qt::Key_Escape); }), ModalResults::Cancel);
    EXPECT_EQ(ShowModalThen([this] {
                  for (int row = 1; row < 7; ++row)
                      for (int col = 0; col < 7; ++col)
                          if (form.Kalendar->CellText(col, row) == "19") {
                              const TRect r = form.Kalendar->CellRect(col, row);
                              QTest::mouseDClick(form.Kalendar->viewport(), Qt::LeftButton, {},
                                                 QPoint(r.Left + 5, r.Top + 5));
                          }
              }),
              ModalResults::Ok);
    EXPECT_EQ(form.Kalendar->CalendarDate(), D(2024, 3, 19));
}

// Pictures of the dialog at its size, for a person to look at; every text fits
// the control that shows it.
TEST_F(KalendarFormTest, PicturesOfBothModesShowEveryTextWhole) {
    const struct {
        const char* name;
        uint8_t monthsMode;
        uint8_t limit;
    } modes[] = {{"kalendar-dny.png", 0, 35}, {"kalendar-mesice.png", 1, 15}, {"kalendar-den.png", 0, 0}};
    for (const auto& m : modes) {
        SCOPED_TRACE(m.name);
        CalendarOn(2024, 3, 10);
        form.MonthsMode = m.monthsMode;
        form.ShowSpinEdit(m.limit != 0);
        form.SpinLimit = m.limit;
        Show();
        QDir().mkpath(ZEKO_ARTEFACT_DIR);
        EXPECT_TRUE(form.grab().save(QString(ZEKO_ARTEFACT_DIR) + "/" + m.name));
        for (QLabel* label : form.findChildren<QLabel*>()) {
            if (!label->isVisible())
                continue;
            const QSize text = label->fontMetrics().size(Qt::TextShowMnemonic, label->text());
            EXPECT_LE(text.width(), label->width()) << label->objectName().toStdString();
            EXPECT_LE(text.height(), label->height()) << label->objectName().toStdString();
        }
        for (QPushButton* button : {form.BitBtn1, form.BitBtn2})
            EXPECT_LE(button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width() + 8, button->width());
        for (TStringAlignGrid* grid : {form.MesiceGrid, form.RokyGrid}) {
            EXPECT_LE(grid->CellRect(grid->ColCount() - 1, 0).Right, grid->ClientWidth()) << grid->objectName().toStdString();
            EXPECT_LE(grid->CellRect(0, 0).Bottom, grid->ClientHeight());
        }
        EXPECT_LE(form.SpinEdit->fontMetrics().horizontalAdvance("35") + form.SpinEdit->ButtonWidth(),
                  form.SpinEdit->width());
        EXPECT_LE(form.VyberDT->fontMetrics().horizontalAdvance("88.88.8888") + form.VyberDT->ButtonWidth() + 6,
                  form.VyberDT->width());
        form.done(ModalResults::Cancel);
    }
}
