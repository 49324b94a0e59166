// The table requests with date 0: the measurement choice lists the channels, a
// cancelled dialog evaluates nothing, the count of the date dialog sets the month's
// period and the year's months, and the windows remember the measurement chosen.
#include "app/TableChoice.h"

#include "app/TableWindows.h"
#include "app/evaluation/PeriodResult.h"
#include "controls/DataComboBox.h"
#include "controls/ToolEdit.h"
#include "controls/ZcSpin.h"
#include "core/PripojenaZarizeniUnit.h"
#include "core/ProgramGlobals.h"
#include "core/RecordSamples.h"
#include "core/RecordSaving.h"
#include "core/ZekoMessages.h"
#include "dialogs/TypUnit.h"
#include "graph/MujKalendar.h"
#include "graph/kalendar.h"
#include "platform/Notifier.h"
#include "platform/ProgramDir.h"
#include "platform/qt/QtMainThread.h"
#include "support/QtApp.h"
#include "support/TempDir.h"
#include "tables/MesicniTabulka.h"
#include "tables/RocniTabulka.h"
#include "tables/dennitabulka.h"

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

using namespace zeko;

namespace {

TDateTime D(int y, int m, int d) { return EncodeDate(y, m, d); }

// Answers the modal dialogs as they come up, one step per dialog, in order.
class ModalSteps {
public:
    ModalSteps() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || steps_.empty() || modal != steps_.front().first)
                return;
            auto act = std::move(steps_.front().second);
            steps_.pop_front();
            act();
        });
        timer_.start(5);
    }
    void Then(QWidget* dialog, std::function<void()> act) { steps_.emplace_back(dialog, std::move(act)); }
    bool Done() const { return steps_.empty(); }

private:
    QTimer timer_;
    std::deque<std::pair<QWidget*, std::function<void()>>> steps_;
};

struct TableChoiceTest : ::testing::Test {
    TableChoiceTest() : dir(true) {
        mainThread.reset(InstallQtMainThread());
        devices.LoadFromIni(ProgramFile("Zarizeni.ini"));
        Devices = &devices;
        TypForm = new TTypForm(&main);
        KalendarForm = new TKalendarForm(&main);
        area = new QMdiArea(&main);
        main.resize(1024, 700);
        area->resize(1000, 680);
        main.show();
        tables = std::make_unique<TTableWindows>(&main, area);
        TRecordList records = {test::MakeRecord(24, 3, 5, 12, 0, 0, 25), test::MakeRecord(24, 4, 3, 12, 0, 0, 25)};
        SaveRecords(records, "");
    }
    ~TableChoiceTest() override {
        tables.reset();
        TypForm = nullptr;
        KalendarForm = nullptr;
        Devices = nullptr;
        YearMonthCount = DefaultYearMonthCount;
        YearCustomPeriod = 0;
    }
    // The measurement item chosen and confirmed (or cancelled).
    void ChooseMeasurement(int index, bool confirm = true) {
        steps.Then(TypForm, [index, confirm] {
            TypForm->MereniCombo->setCurrentIndex(index);
            (confirm ? TypForm->BitBtn1 : TypForm->BitBtn2)->click();
        });
    }
    // The date dialog on a date, its count stepped, confirmed (or cancelled).
    void ChooseDate(TDateTime date, int countSteps = 0, bool confirm = true, std::function<void()> check = {}) {
        steps.Then(KalendarForm, [date, countSteps, confirm, check] {
            if (check)
                check();
            TMujKalendar& calendar = *KalendarForm->Kalendar;
            const DateParts d = DecodeDate(date);
            calendar.SetDay(1);
            calendar.SetYear(d.Year);
            calendar.SetMonth(d.Month);
            calendar.SetDay(d.Day);
            KalendarForm->RefreshMarks();
            for (int i = 0; i < std::abs(countSteps); ++i)
                countSteps > 0 ? KalendarForm->SpinEdit->UpClick() : KalendarForm->SpinEdit->DownClick();
            (confirm ? KalendarForm->BitBtn1 : KalendarForm->BitBtn2)->click();
        });
    }
    void Request(uint32_t msg) {
        tables->HandleMessage({msg, 0, 0});
        EXPECT_TRUE(steps.Done());
    }

    QApplication& app = test::QtApp();
    test::TempDir dir;
    std::unique_ptr<QtMainThread> mainThread;
    ScopedLoggingNotifier notifier;
    TSeznamZarizeni devices;
    QWidget main;
    QMdiArea* area = nullptr;
    std::unique_ptr<TTableWindows> tables;
    ModalSteps steps;
};

} // namespace

TEST_F(TableChoiceTest, TheMeasurementChoiceListsEveryChannelWithItsId) {
    TDataComboBox combo;
    combo.addItem("old");
    FillMeasurementCombo(combo);
    ASSERT_EQ(combo.count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(combo.itemText(i).toStdString(), DeviceValueCaption(i));
        EXPECT_EQ(combo.GetValueInt(i), i);
    }
    EXPECT_EQ(combo.currentIndex(), 0);
}

TEST_F(TableChoiceTest, ADayChosenInTheDialogsIsShownAndACancelShowsNothing) {
    tables->OpenDayTable();
    TDenniTabulkaForm& day = *tables->DayForm();
    ChooseMeasurement(2);
    ChooseDate(D(2024, 3, 5), 0, true, [] {
        EXPECT_EQ(KalendarForm->InputList, std::vector<std::string>{"2"});
        EXPECT_TRUE(KalendarForm->SpinEdit->isHidden());
    });
    Request(WM_SHOW_DAY_TABLE);
    EXPECT_EQ(day.Day, D(2024, 3, 5));
    EXPECT_EQ(day.Channel.Id, 2);
    EXPECT_EQ(day.MeasurementIndex, 2);
    EXPECT_TRUE(main.isEnabled());

    // Cancelled in the measurement choice: nothing asked further, nothing shown.
    ChooseMeasurement(0, false);
    Request(WM_SHOW_DAY_TABLE);
    EXPECT_EQ(day.Day, D(2024, 3, 5));
    EXPECT_EQ(day.MeasurementIndex, 2);
    // Cancelled in the date dialog: the measurement is remembered, nothing shown.
    ChooseMeasurement(1);
    ChooseDate(D(2024, 3, 6), 0, false);
    Request(WM_SHOW_DAY_TABLE);
    EXPECT_EQ(day.Day, D(2024, 3, 5));
    EXPECT_EQ(day.MeasurementIndex, 1);
    steps.Then(TypForm, [] {
        EXPECT_EQ(TypForm->MereniCombo->currentIndex(), 1);  // preselected
        TypForm->BitBtn2->click();
    });
    Request(WM_SHOW_DAY_TABLE);
    EXPECT_EQ(notifier.Count(), 0u);
}

// A count of the month's length is the whole month; any other a period of its own,
// which the window's day steps keep.
TEST_F(TableChoiceTest, TheCountOfDaysMakesTheMonthsPeriod) {
    tables->OpenMonthTable();
    TMesicniTabulkaForm& month = *tables->MonthForm();
    const struct {
        TDateTime first;
        int steps;
        uint8_t partial, days;
    } cases[] = {{D(2024, 3, 1), 0, 0, 31}, {D(2024, 3, 1), 4, 1, 35}, {D(2024, 3, 1), 10, 1, 35},
                 {D(2024, 2, 1), 0, 0, 29}, {D(2024, 4, 1), -28, 1, 2},  {D(2024, 3, 10), -1, 1, 30}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(DecodeDate(c.first).Month) + " " + std::to_string(c.steps));
        ChooseMeasurement(0);
        ChooseDate(c.first, c.steps, true, [] {
            EXPECT_EQ(KalendarForm->SpinLimit, MonthTableSpinLimit);
            EXPECT_FALSE(KalendarForm->VyberDT->isHidden());
        });
        Request(WM_SHOW_MONTH_TABLE);
        EXPECT_EQ(month.FirstDay, c.first);
        EXPECT_EQ(month.PartialMonth, c.partial);
        EXPECT_EQ(month.PeriodDays, c.days);
        EXPECT_EQ(MonthPeriodInfo.DayRows, c.days);
    }
    // 10 March for 30 days: the 3 April record is day row 25.
    EXPECT_EQ(MonthResult.DayHasData[24], 1);
    EXPECT_TRUE(KalendarForm->SpinEdit->isHidden());  // gone with the dialog
}

TEST_F(TableChoiceTest, TheCountOfMonthsMakesTheYearFromTheFirstOfTheMonth) {
    tables->OpenYearTable();
    TRocniTabulkaForm& year = *tables->YearForm();
    const struct {
        int steps;
        int months;
        uint8_t custom;
    } cases[] = {{0, 12, 0}, {1, 13, 1}, {5, 15, 1}, {-10, 2, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps);
        ChooseMeasurement(0);
        ChooseDate(D(2024, 3, 1), c.steps, true, [] {
            EXPECT_EQ(KalendarForm->SpinLimit, YearTableSpinLimit);
            EXPECT_FALSE(KalendarForm->Kalendar->isEnabled());
            EXPECT_EQ(KalendarForm->Kalendar->Day(), 1);
            EXPECT_TRUE(KalendarForm->VyberDT->isHidden());
            EXPECT_EQ(KalendarForm->SpinEditLabel->text().toStdString(), "Měs.v tab.");
        });
        Request(WM_SHOW_YEAR_TABLE);
        EXPECT_EQ(YearMonthCount, c.months);
        EXPECT_EQ(YearCustomPeriod, c.custom);
        EXPECT_EQ(year.FirstMonth, D(2024, 3, 1));
        EXPECT_TRUE(KalendarForm->Kalendar->isEnabled());
        EXPECT_EQ(KalendarForm->MonthsMode, 0);
    }
    // A cancelled date dialog leaves the calendar enabled and the count as it was.
    ChooseMeasurement(0);
    ChooseDate(D(2024, 5, 1), 1, false);
    Request(WM_SHOW_YEAR_TABLE);
    EXPECT_EQ(YearMonthCount, 2);
    EXPECT_TRUE(KalendarForm->Kalendar->isEnabled());
}
