// The archive window: a stored day read into the graph (quarter-hour windows, the
// day's edges, the larger of two values, the power factor), its set-up and tool
// bar, WM_SHOW_ARCHIVE, a month file that cannot be read, and its pixels at the
// places the layout's formulas give.
#include "ArchiveFixture.h"

#include "core/PowerFactor.h"
#include "core/WindowHelpers.h"
#include "core/ZekoMessages.h"
#include "graph/MujKalendar.h"
#include "graph/kalendar.h"
#include "platform/Exceptions.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <cmath>

namespace zeko::graph {

using zeko::test::ArchiveTest;
using zeko::test::Date;
using zeko::test::PixelAt;

TEST_F(ArchiveTest, SetupPreparesThreeSeriesTheBandAndTheToolBar) {
    OsaKL = 80;
    OsaZAP = 70;
    TArchivForm& f = Open();
    EXPECT_TRUE(f.SetUpDone);
    EXPECT_TRUE(ArchiveOpen);
    EXPECT_EQ(Graph().width(), 1012);
    EXPECT_EQ(Graph().height(), 680 - 28 - 3);
    EXPECT_EQ(Graph().NumSeries, 3);
    for (int i = 1; i <= 9; ++i)
        EXPECT_EQ(Graph().Series[i].Visible, i <= 4) << i;
    for (int i = 5; i <= 9; ++i)
        EXPECT_EQ(Graph().Captions[i], "Nepřiřazeno");
    EXPECT_TRUE(Graph().SingleGraf);
    EXPECT_TRUE(Graph().KresliUcinik);
    EXPECT_FLOAT_EQ(Graph().YMinUcinikKl, 0.8f);
    EXPECT_FLOAT_EQ(Graph().YMinUcinikZap, 0.7f);
    EXPECT_EQ(Graph().UkazatelMaxima(), 1);
    EXPECT_EQ(Graph().UzivatelskeMaximum(), 1000);
    EXPECT_EQ(Graph().ViewWindow, &f);
    EXPECT_EQ(Graph().Views, std::vector<std::string>{"ZEKO"});
    EXPECT_EQ(f.View.Name, "ZEKO");
    EXPECT_EQ(f.DialogInputs(), (std::vector<std::string>{"0", "1", "2", "3"}));
    EXPECT_TRUE(f.SpeedLines->isChecked());
    EXPECT_TRUE(f.SpeedCosFi->isChecked());
    EXPECT_EQ(f.SpeedZoom->toolTip().toStdString(), "Nastav časovou osu na celý den");
    for (QToolButton* off : {f.PrintSetup, f.Print, f.SpeedSave, f.SpeedSend})
        EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
    EXPECT_TRUE(f.SpeedOpen->isEnabled());
    EXPECT_TRUE(f.SpeedView->isHidden());
    form_.reset();
    EXPECT_FALSE(ArchiveOpen);
}

TEST_F(ArchiveTest, EachRecordIsAPointAtTheStartOfItsQuarterHourWindow) {
    Add(2024, 3, 5, 0, 5, 0, {99, 0, 0, 0});     // still the day before
    Add(2024, 3, 5, 0, 7, 31, {10, 0, 0, 0});    // the day's first window
    Add(2024, 3, 5, 10, 22, 30, {20, 0, 0, 0});  // the last second of 10:07
    Add(2024, 3, 5, 10, 22, 31, {30, 0, 0, 0});
    Add(2024, 3, 6, 0, 5, 0, {40, 0, 0, 0});     // the day's last window
    Add(2024, 3, 6, 0, 7, 30, {45, 0, 0, 0});
    Add(2024, 3, 6, 0, 7, 31, {99, 0, 0, 0});    // the next day
    Save();
    TArchivForm& f = Open();
    ASSERT_TRUE(f.ShowDay(Date(2024, 3, 5)));
    EXPECT_EQ(Minutes(Graph().Series[1]), (std::vector<int>{7, 607, 622, 1432}));
    EXPECT_EQ(ValueAt(Graph().Series[1], 1432), 45);
    EXPECT_EQ(Graph().GraphDate, Date(2024, 3, 5));
}

TEST_F(ArchiveTest, TwoRecordsOfOneWindowGiveOnePointWithTheLargerValue) {
    Add(2024, 3, 5, 10, 10, 0, {50, 7, 0, 0});
    Add(2024, 3, 5, 10, 20, 0, {80, 3, 0, 0});
    Add(2024, 3, 5, 11, 10, 0, {80, 3, 0, 0});
    Add(2024, 3, 5, 11, 20, 0, {50, 7, 0, 0});
    Save();
    Open().ShowDay(Date(2024, 3, 5));
    for (int minute : {607, 667}) {
        EXPECT_EQ(ValueAt(Graph().Series[1], minute), 80) << minute;
        EXPECT_EQ(ValueAt(Graph().Series[2], minute), 7) << minute;
    }
}

TEST_F(ArchiveTest, ThePowerFactorOfEachRecordWithAStatusAboveOne) {
    struct Case {
        int hour;
        std::array<uint16_t, 4> values;
        uint16_t status;
        double cosPhi;  // NaN: no point
    } const cases[] = {
        {1, {30, 40, 0, 0}, 2, 0.6},    {2, {30, 10, 50, 0}, 0x0102, -0.6}, {3, {30, 0, 40, 0}, 2, 1.0},
        {4, {0, 0, 0, 0}, 2, 1.0},      {5, {30, 40, 0, 0}, 1, std::nan("")}, {6, {30, 40, 0, 0}, 0, std::nan("")},
    };
    for (const Case& c : cases)
        Add(2024, 3, 5, c.hour, 15, 0, c.values, c.status);
    Save();
    Open().ShowDay(Date(2024, 3, 5));
    for (const Case& c : cases) {
        const double shown = ValueAt(Graph().CosPhiSeries, c.hour * 60 + 7);
        if (std::isnan(c.cosPhi))
            EXPECT_TRUE(std::isnan(shown)) << c.hour;
        else
            EXPECT_DOUBLE_EQ(shown, c.cosPhi) << c.hour;
    }
    EXPECT_EQ(Graph().CosPhiSeries.GapLimit, 17);
}

TEST_F(ArchiveTest, TheDaySetsTheMaximaTheLegendTextsAndTheAxisFromZero) {
    Add(2024, 3, 5, 10, 15, 0, {1234, 55, 66, 77});
    Add(2024, 3, 5, 11, 15, 0, {1500, 5, 6, 7});
    Save();
    TArchivForm& f = Open();
    Graph().SetUzivatelskeMaximum(900);
    Graph().SetUkazatelMaxima(4);
    f.ShowDay(Date(2024, 3, 5));
    EXPECT_EQ(Graph().YZapMax, 0);
    EXPECT_EQ(Graph().NegativeRange, 0);
    EXPECT_EQ(f.LowestValue, 0);
    EXPECT_EQ(Graph().Maxima[5], 1500);
    EXPECT_EQ(Graph().Maxima[6], 55);
    EXPECT_EQ(Graph().Maxima[8], 77);
    EXPECT_EQ(Graph().Maxima[1], 2000);
    EXPECT_EQ(Graph().UzivatelskeMaximum(), 0);
    EXPECT_EQ(Graph().UkazatelMaxima(), 1);
    EXPECT_EQ(Graph().YMax, 2000);
    EXPECT_EQ(Graph().PrintTechMax, 2000);
    EXPECT_EQ(Graph().Captions[1], "Činný");
    EXPECT_EQ(Graph().Captions[2], "Jalový");
    EXPECT_EQ(Graph().Units[1], "kWh");
    EXPECT_EQ(Graph().Units[2], "kVArh");
    EXPECT_EQ(Graph().MaxMenu->actions()[8]->text().toStdString(), "Jalový");
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(Graph().Series[k].GapLimit, 17) << k;
}

// The site's technical maximum of "Zeko.ini" is the axis every day starts with and
// the page's "Tech. max."; the regulated maxima stay as they were.
TEST_F(ArchiveTest, TheSitesTechnicalMaximumIsTheFirstChoiceOfTheAxis) {
    Add(2024, 3, 5, 10, 15, 0, {234, 55, 66, 77});
    Save();
    TechMaximum = 300;
    TArchivForm& f = Open();
    f.ShowDay(Date(2024, 3, 5));
    EXPECT_EQ(Graph().Maxima[1], 300);
    EXPECT_EQ(Graph().Maxima[2], 2000);
    EXPECT_EQ(Graph().Maxima[3], 2000);
    EXPECT_EQ(Graph().UkazatelMaxima(), 1);
    EXPECT_EQ(Graph().YMax, 300);
    EXPECT_EQ(Graph().PrintTechMax, 300);
}

TEST_F(ArchiveTest, TheDayStepsReadTheNeighbouringMonthFiles) {
    Add(2024, 3, 31, 12, 0, 0, {31, 0, 0, 0});
    Add(2024, 4, 1, 0, 5, 0, {32, 0, 0, 0});  // the last window of 31 March, in April's file
    Add(2024, 4, 1, 12, 0, 0, {41, 0, 0, 0});
    Save();
    TArchivForm& f = Open();
    f.ShowDay(Date(2024, 3, 30));
    EXPECT_EQ(Graph().Series[1].Count(), 0);
    f.SpeedRight->click();
    EXPECT_EQ(f.Day, Date(2024, 3, 31));
    EXPECT_EQ(Minutes(Graph().Series[1]), (std::vector<int>{712, 1432}));
    f.SpeedRight->click();
    EXPECT_EQ(f.Day, Date(2024, 4, 1));
    EXPECT_EQ(ValueAt(Graph().Series[1], 712), 41);
    f.SpeedLeft->click();
    EXPECT_EQ(ValueAt(Graph().Series[1], 712), 31);
    EXPECT_EQ(notifier_.Count(), 0u);
}

// The date button: the date dialog marks the days of the view's inputs and shows
// the day chosen; a cancelled dialog leaves the day shown.
TEST_F(ArchiveTest, TheDateButtonShowsTheDayChosenInTheDateDialog) {
    Add(2024, 3, 5, 10, 15, 0, {10, 0, 0, 0});
    Add(2024, 3, 17, 10, 15, 0, {17, 0, 0, 0});
    Save();
    TArchivForm& f = Open();
    f.ShowDay(Date(2024, 3, 5));
    TKalendarForm dialog;
    KalendarForm = &dialog;
    dialog.Kalendar->SetDay(1);
    dialog.Kalendar->SetYear(2024);
    dialog.Kalendar->SetMonth(3);
    auto answer = [&](int day, bool confirm) {
        QTimer::singleShot(0, &dialog, [&dialog, day, confirm] {
            EXPECT_EQ(dialog.InputList, (std::vector<std::string>{"0", "1", "2", "3"}));
            EXPECT_TRUE(dialog.Kalendar->MarkedDays().test(5));
            EXPECT_TRUE(dialog.Kalendar->MarkedDays().test(17));
            dialog.Kalendar->SetDay(day);
            (confirm ? dialog.BitBtn1 : dialog.BitBtn2)->click();
        });
        f.SpeedOpen->click();
    };
    answer(17, true);
    EXPECT_EQ(f.Day, Date(2024, 3, 17));
    EXPECT_EQ(ValueAt(Graph().Series[1], 607), 17);  // the window from 10:07:31
    answer(5, false);
    EXPECT_EQ(f.Day, Date(2024, 3, 17));
    KalendarForm = nullptr;
    EXPECT_EQ(notifier_.Count(), 0u);
}

TEST_F(ArchiveTest, ARequestForAnInputOutsideTheViewIsAnsweredAndChangesNothing) {
    Add(2024, 3, 5, 10, 15, 0, {10, 0, 0, 0});
    Add(2024, 3, 6, 10, 15, 0, {20, 0, 0, 0});
    Save();
    TArchivForm& f = Open();
    f.ShowDay(Date(2024, 3, 5));
    for (int channel : {0, 1, 2}) {
        const TDateTime day = channel == 1 ? Date(2024, 3, 6) : Date(2024, 3, 5);
        PostToWindow(ArchiveWindowClass, WM_SHOW_ARCHIVE, static_cast<uintptr_t>(day), channel);
        queue_.Pump();
        EXPECT_EQ(f.Day, day) << channel;
    }
    for (int channel : {3, 4}) {
        f.HandleMessage({WM_SHOW_ARCHIVE, static_cast<uintptr_t>(Date(2024, 3, 6)), channel});
        EXPECT_EQ(f.Day, Date(2024, 3, 5));
    }
    ASSERT_EQ(notifier_.Count(), 2u);
    EXPECT_EQ(notifier_.Messages()[0].Text, "Tento vstup není obsažen v žádném pohledu!");
    EXPECT_EQ(ValueAt(Graph().Series[1], 607), 10);
}

TEST_F(ArchiveTest, AMonthFileThatCannotBeReadIsReportedAndTheShownDayStays) {
    Add(2024, 2, 20, 10, 15, 0, {10, 0, 0, 0});
    Save();
    dir_.Write("ROK2024/Mesic03.zek/blocked", "");  // a folder where the file should be
    TArchivForm& f = Open();
    ASSERT_TRUE(f.ShowDay(Date(2024, 2, 20)));
    f.HandleMessage({WM_SHOW_ARCHIVE, static_cast<uintptr_t>(Date(2024, 3, 5)), 0});
    EXPECT_EQ(f.Day, Date(2024, 2, 20));
    EXPECT_EQ(Graph().GraphDate, Date(2024, 2, 20));
    EXPECT_EQ(ValueAt(Graph().Series[1], 607), 10);
    ASSERT_EQ(notifier_.Count(), 1u);
    EXPECT_NE(notifier_.Messages()[0].Text.find("Mesic03.zek"), std::string::npos) << notifier_.Messages()[0].Text;
    EXPECT_EQ(notifier_.Messages()[0].Type, TMsgDlgType::mtError);
    EXPECT_THROW(
        {
            f.Day = Date(2024, 3, 1);
            f.LoadDay();
        },
        EInOutError);
}

TEST_F(ArchiveTest, TheStyleButtonsTheWholeDayAndTheBandSwitch) {
    TArchivForm& f = Open();
    f.SpeedStep->click();
    EXPECT_EQ(Graph().GrafStyl, Step);
    f.SpeedBar->click();
    EXPECT_EQ(Graph().GrafStyl, Bar);
    EXPECT_FALSE(f.SpeedLines->isChecked());
    f.SpeedLines->click();
    EXPECT_EQ(Graph().GrafStyl, Line);

    Graph().ViewStart = 600;
    Graph().ViewEnd = 720;
    Graph().RedrawAll();
    f.SpeedZoom->click();
    EXPECT_EQ(Graph().ViewStart, 0);
    EXPECT_EQ(Graph().ViewEnd, 1440);

    const int height = Graph().height();
    f.SpeedCosFi->click();
    EXPECT_FALSE(Graph().KresliUcinik);
    EXPECT_FALSE(f.SpeedCosFi->isChecked());
    EXPECT_EQ(Graph().SplitY, height);
    EXPECT_EQ(Graph().UpperFrame.Bottom, 35);
    f.SpeedCosFi->click();
    EXPECT_TRUE(Graph().KresliUcinik);
    EXPECT_TRUE(f.SpeedCosFi->isChecked());
    EXPECT_EQ(Graph().SplitY, height);
    EXPECT_EQ(Graph().UpperFrame.Bottom, 100);
}

TEST_F(ArchiveTest, OpenedFromTheMenuItShowsTodayWithTheCursorOnItsLastQuarterHour) {
    SetNowOverride(EncodeDate(2024, 3, 5) + EncodeTime(15, 0, 0));
    Add(2024, 3, 5, 10, 15, 0, {10, 0, 0, 0});
    Add(2024, 3, 5, 14, 40, 0, {20, 0, 0, 0});
    Save();
    form_ = std::make_unique<TArchivForm>(MdiClient);
    form_->Setup(true);
    EXPECT_EQ(form_->Day, Date(2024, 3, 5));
    EXPECT_EQ(Graph().Series[1].Count(), 2);
    EXPECT_EQ(Graph().CursorX, static_cast<int>(std::nearbyint(877 * (931 - 65) / 1440.0 + 35)));  // 14:37
}

TEST_F(ArchiveTest, TheLayoutDrawsAtTheCoordinatesOfItsFormulas) {
    Add(2024, 3, 5, 10, 15, 0, {1000, 500, 0, 0});    // inductive
    Add(2024, 3, 5, 14, 15, 0, {1000, 100, 600, 0});  // capacitive
    Save();
    TArchivForm& f = Open();
    f.ShowDay(Date(2024, 3, 5));
    const QImage picture = Graph().Buffer.Image();
    // Graph 1012 × 649, graph part Round(1012 × 0.92) = 931, single layout with
    // the band: plot from x 35 to 901, y 20 to 649 − 100, zero line at 549.
    const double pixelsPerMinute = (931 - 35 - 30) / 1440.0;
    const double yScale = (649 - 20 - 100) / 2000.0;
    auto x = [&](int minute) { return static_cast<int>(std::nearbyint(minute * pixelsPerMinute + 35)); };
    const int cosPhiY = 649 - 50;
    EXPECT_EQ(PixelAt(picture, 35, 300), clLime);       // the value axis
    EXPECT_EQ(PixelAt(picture, 600, 549), clLime);      // the time axis on the zero line
    EXPECT_EQ(PixelAt(picture, 35, cosPhiY), clLime);   // the band's axis
    EXPECT_EQ(PixelAt(picture, 20, 300), clGray);
    const int y = static_cast<int>(std::nearbyint(549 - 1000 * yScale));
    EXPECT_EQ(PixelAt(picture, x(607) + 5, y), 0x0000E0);  // series 1's hold at 1000
    EXPECT_EQ(PixelAt(picture, x(607) + 5, y - 3), clGray);
    const int inductive = static_cast<int>(std::nearbyint(cosPhiY - (1 - SignedCosPhi(1000, 500, 0)) * 30)) + 1;
    const int capacitive = static_cast<int>(std::nearbyint(cosPhiY + (1 + SignedCosPhi(1000, 100, 600)) * 30)) + 1;
    EXPECT_EQ(PixelAt(picture, x(607) + 5, inductive), 0x0000E0);
    EXPECT_EQ(PixelAt(picture, x(847) + 5, capacitive), clLime);
    EXPECT_EQ(PixelAt(picture, x(847) + 5, inductive), clGray);
    // The legend's box of series 1 beside the plot.
    Graph().SetCursorMinute(610);
    EXPECT_EQ(PixelAt(Graph().Buffer.Image(), 931 - 30 + 5, 20 + 3), clBlack);
    EXPECT_EQ(PixelAt(Graph().Buffer.Image(), 931 - 30 + 7, 20 + 3 + 25), Graph().BoxColor);
}

TEST_F(ArchiveTest, AFullDayShowsALegendBoxForEachSeriesAndThePowerFactor) {
    for (int q = 0; q < 96; ++q) {
        const TDateTime at = Date(2024, 3, 5) + EncodeTime(0, 15, 0) + q / 96.0;
        const DateParts d = DecodeDate(at);
        const TimeParts t = DecodeTime(at);
        const double wave = std::sin(q * 3.14159 / 48);
        const auto active = static_cast<uint16_t>(900 + 600 * wave);
        const auto reactive = static_cast<uint16_t>(q < 40 ? 350 + 150 * wave : 60);
        const auto supplied = static_cast<uint16_t>(q < 40 ? 0 : 200 + 100 * std::cos(q * 0.2));
        Add(d.Year, d.Month, d.Day, t.Hour, t.Minute, 0, {active, reactive, supplied, 0});
    }
    Save();
    TArchivForm& f = Open();
    f.ShowDay(Date(2024, 3, 5));
    Graph().SetCursorMinute(11 * 60 + 7);
    for (int i = 1; i <= 3; ++i)
        EXPECT_FALSE(IsRectEmpty(Graph().SeriesBoxes[i])) << i;
    EXPECT_TRUE(IsRectEmpty(Graph().SeriesBoxes[4]));  // the fourth input is not drawn
    EXPECT_FALSE(IsRectEmpty(Graph().CosPhiBox));
    EXPECT_EQ(Graph().CosPhiSeries.Count(), 96);
    // Caption above, value and unit below: the unit beside the stripe is not
    // painted over by the value.
    const TRect box = Graph().SeriesBoxes[2];
    const QImage& picture = Graph().Buffer.Image();
    EXPECT_FALSE(IsRectEmpty(test::InkBox(picture, {box.Right - 45, box.Top + 15, box.Right - 6, box.Bottom - 1}, clBlack)));
    EXPECT_FALSE(IsRectEmpty(test::InkBox(picture, {box.Left + 1, box.Top + 15, box.Right - 45, box.Bottom - 1}, clBlue)));
    EXPECT_FALSE(IsRectEmpty(test::InkBox(picture, {box.Left + 1, box.Top + 1, box.Right - 6, box.Top + 14}, clBlack)));
    f.show();
    const QImage shown = f.Picture();  // the window as painted: the graph puts its buffer on it
    EXPECT_EQ(PixelAt(shown, 35, 300), clLime);
    EXPECT_EQ(PixelAt(shown, 20, 300), clGray);
    KeepPicture(shown, "archiv");
}

} // namespace zeko::graph
