// The day graph under the mouse: the cursor, Shift-drag zoom, right-drag pan, the
// Y-maximum menu with the user's maximum, the views menu, legend boxes toggled by
// a double click and right-clicked.
#include "GraphFixture.h"

#include "platform/MainThread.h"
#include "platform/Notifier.h"
#include "platform/UserDialogs.h"
#include "support/MessageRecorder.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

namespace zeko::graph {

using zeko::test::GraphTest;

namespace {

class GraphMouse : public GraphTest {
protected:
    GraphMouse() {
        SetMainThread(&queue_);
        SetDialogs(&dialogs_);
        G().SetSingleGraf(true);
    }
    ~GraphMouse() override {
        SetDialogs(nullptr);
        SetMainThread(nullptr);
    }

    // The pixel column of a minute of the whole day.
    static int X(int minute) { return static_cast<int>(35 + minute * (920 - 65) / 1440.0); }
    static constexpr int PlotY = 300;

    void Zoom(int fromX, int toX) {
        G().MouseDown(mbLeft, {ssShift, ssLeft}, fromX, PlotY);
        G().MouseMove({ssShift, ssLeft}, toX, PlotY);
        G().MouseUp(mbLeft, {ssShift, ssLeft}, toX, PlotY);
    }
    void ShowView(int start, int end) {
        G().ViewStart = start;
        G().ViewEnd = end;
        G().RedrawAll();
    }
    std::pair<int, int> View() { return {G().ViewStart, G().ViewEnd}; }
    // The captions of the menu that a right press at (x, y) pops up, which is then
    // closed; none when no menu comes.
    std::vector<std::string> MenuOfRightPress(int x, int y) {
        std::vector<std::string> captions;
        QTimer reader;
        reader.setSingleShot(true);
        QObject::connect(&reader, &QTimer::timeout, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (QAction* a : menu->actions())
                    captions.push_back(a->isSeparator() ? "-" : a->text().toStdString());
                menu->close();
            }
        });
        reader.start(0);
        G().MouseDown(mbRight, {ssRight}, x, y);
        return captions;
    }
    static void Choose(TPopupMenu* menu, int index) { menu->actions()[index]->trigger(); }
    // Series 1 with points around the cursor, so that its legend box is drawn.
    TRect SeriesOneBox() {
        G().Series[1].Add({705, 10});
        G().Series[1].Add({720, 20});
        G().RedrawAll();
        return G().SeriesBoxes[1];
    }

    PumpedMainThread queue_;
    ScriptedDialogs dialogs_;
    ScopedLoggingNotifier notifier_;
};

} // namespace

TEST_F(GraphMouse, AShiftClickWithoutMovingZoomsToAnHour) {
    Zoom(X(600), X(600));
    EXPECT_EQ(View(), std::make_pair(600, 660));
    ShowView(0, 1440);
    Zoom(X(1430), X(1430));
    EXPECT_EQ(View(), std::make_pair(1380, 1440));
}

TEST_F(GraphMouse, AZoomDraggedBackwardsGivesTheSameView) {
    Zoom(X(600), X(750));
    const auto forwards = View();
    EXPECT_EQ(forwards, std::make_pair(600, 750));
    EXPECT_EQ(G().TimeStep, 15);
    ShowView(0, 1440);
    Zoom(X(750), X(600));
    EXPECT_EQ(View(), forwards);
    EXPECT_FALSE(G().Zooming);
}

TEST_F(GraphMouse, TheZoomLineFollowsTheMouseAboveThePlot) {
    G().MouseDown(mbLeft, {ssShift, ssLeft}, X(600), PlotY);
    G().MouseMove({ssShift, ssLeft}, X(700), PlotY);
    EXPECT_EQ(test::PixelAt(Picture(), X(650), 5), clYellow);
    G().MouseMove({ssShift, ssLeft}, X(640), PlotY);
    EXPECT_EQ(test::PixelAt(Picture(), X(670), 5), G().BackColor);
    EXPECT_EQ(test::PixelAt(Picture(), X(620), 5), clYellow);
}

TEST_F(GraphMouse, ARightDragMovesTheWindowOneStepPerMoveBeyondTheThreshold) {
    struct Case {
        int start, end, dx;
        std::pair<int, int> view;
    } const cases[] = {
        {0, 1440, 11, {0, 1440}},   {0, 1440, -11, {0, 1440}},  {600, 720, 11, {585, 705}},
        {600, 720, -11, {615, 735}}, {600, 720, 10, {600, 720}}, {1320, 1440, -20, {1320, 1440}},
    };
    for (const Case& c : cases) {
        ShowView(c.start, c.end);
        G().MouseDown(mbRight, {ssRight}, 500, PlotY);
        G().MouseMove({ssRight}, 500 + c.dx, PlotY);
        EXPECT_EQ(View(), c.view) << c.start << " " << c.dx;
        G().MouseUp(mbRight, {ssRight}, 500 + c.dx, PlotY);
    }
}

TEST_F(GraphMouse, TheCursorFollowsAPressOrALeftDragInsideThePlotOnly) {
    G().MouseDown(mbLeft, {ssLeft}, X(600), PlotY);
    EXPECT_EQ(G().CursorX, X(600));
    G().MouseMove({ssLeft}, X(300), PlotY);
    EXPECT_EQ(G().CursorX, X(300));
    EXPECT_EQ(G().OldCursorX, X(600));
    G().MouseMove({}, X(400), PlotY);
    G().MouseDown(mbLeft, {ssLeft}, 10, PlotY);
    G().MouseMove({ssLeft}, 950, PlotY);
    EXPECT_EQ(G().CursorX, X(300));
    G().SetCursorMinute(2000);  // held to 1439
    EXPECT_EQ(G().CursorX, 889);
}

TEST_F(GraphMouse, TheWindowSystemsMouseReachesTheHandlers) {
    const QPointF at(X(600), PlotY);
    QMouseEvent press(QEvent::MouseButtonPress, at, G().mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::ShiftModifier);
    QCoreApplication::sendEvent(g.get(), &press);
    EXPECT_EQ(G().CursorX, X(600));
    EXPECT_TRUE(G().Zooming);
    QMouseEvent release(QEvent::MouseButtonRelease, at, G().mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::ShiftModifier);
    QCoreApplication::sendEvent(g.get(), &release);
    EXPECT_EQ(View(), std::make_pair(600, 660));
}

TEST_F(GraphMouse, RightClicksPopUpTheMaximumMenuTheViewsMenuOrTellTheOwner) {
    G().AddView("ZEKO");
    const std::vector<std::string> maxima = MenuOfRightPress(20, PlotY);
    ASSERT_EQ(maxima.size(), 16u);
    EXPECT_EQ(maxima[0], "Tech. maximum");
    EXPECT_EQ(maxima[3], "-");
    EXPECT_EQ(maxima[5], "Změnit uživ. maximum");
    EXPECT_EQ(MenuOfRightPress(950, PlotY), (std::vector<std::string>{"&Upravit pohledy", "-", "ZEKO"}));

    const TRect box = SeriesOneBox();
    std::vector<std::pair<int, int>> clicked;
    G().OnAboveSeriesRightClick = [&](TFullOkno&, int kind, int number) { clicked.push_back({kind, number}); };
    EXPECT_TRUE(MenuOfRightPress(box.Left + 5, box.Top + 5).empty());
    EXPECT_EQ(clicked, (std::vector<std::pair<int, int>>{{1, 1}}));
}

TEST_F(GraphMouse, TheMaximumPointerIsHeldToItsRangeAndSetsTheAxis) {
    EXPECT_EQ(G().UkazatelMaxima(), 0);
    G().Maxima[1] = 2000;
    G().Maxima[13] = 777;
    G().SetUkazatelMaxima(0);
    EXPECT_EQ(G().UkazatelMaxima(), 1);
    EXPECT_EQ(G().YMax, 2000);
    G().SetUkazatelMaxima(20);
    EXPECT_EQ(G().UkazatelMaxima(), 13);
    EXPECT_EQ(G().MaxChoice, 13);
    EXPECT_EQ(G().YMax, 800);
}

TEST_F(GraphMouse, ChoosingAMaximumTellsTheOwnerAndAUserMaximumOfZeroGivesOne) {
    std::vector<std::pair<int, int>> told;
    G().OnYAxisMaxChanged = [&](TFullOkno&, int userMax, uint8_t choice) { told.push_back({userMax, choice}); };
    G().Maxima[2] = 1234;
    Choose(G().MaxMenu, 1);
    EXPECT_EQ(G().YMax, 1500);
    EXPECT_EQ(G().UkazatelMaxima(), 2);
    G().SetUzivatelskeMaximum(0);
    Choose(G().MaxMenu, 4);
    EXPECT_EQ(G().YMax, 1);
    EXPECT_EQ(told, (std::vector<std::pair<int, int>>{{0, 2}, {0, 4}}));
}

TEST_F(GraphMouse, TheUserMaximumMustBeAWholeNumberOfAtLeastOne) {
    struct Case {
        const char* typed;
        int userMax;
        const char* message;
    } const cases[] = {
        {"0", 1000, "Uživatelské maximum musí být alespoň 1."},
        {"-5", 1000, "Uživatelské maximum musí být alespoň 1."},
        {"abc", 1000, "'abc' is not a valid integer value"},
        {"1500", 1500, nullptr},
        {"1", 1, nullptr},
    };
    for (const Case& c : cases) {
        G().SetUzivatelskeMaximum(1000);
        G().SetUkazatelMaxima(1);
        notifier_.Clear();
        dialogs_.AnswerInput(c.typed);
        Choose(G().MaxMenu, 5);
        EXPECT_EQ(G().UzivatelskeMaximum(), c.userMax) << c.typed;
        if (c.message) {
            ASSERT_EQ(notifier_.Count(), 1u) << c.typed;
            EXPECT_EQ(notifier_.Messages()[0].Text, c.message);
            EXPECT_EQ(G().UkazatelMaxima(), 1) << c.typed;
        } else {
            EXPECT_EQ(notifier_.Count(), 0u) << c.typed;
            EXPECT_EQ(G().UkazatelMaxima(), 4) << c.typed;
            EXPECT_EQ(G().YMax, G().NiceScale(c.userMax)) << c.typed;
        }
    }
    Choose(G().MaxMenu, 5);  // no answer: cancelled
    EXPECT_EQ(G().UzivatelskeMaximum(), 1);
    EXPECT_EQ(dialogs_.Log().back(), "InputQuery Uživatelské maximum osy y | Hodnota: -> cancel");
}

TEST_F(GraphMouse, TheViewsMenuPostsToItsWindow) {
    test::MessageRecorder owner("TViewOwner");
    G().AddView("ZEKO");
    G().AddView("Druhý");
    G().ViewMessage = 1500;
    Choose(G().ViewMenu, 0);  // no window: the edit request goes nowhere
    G().ViewWindow = &owner;
    for (int index : {0, 1, 3})
        Choose(G().ViewMenu, index);
    queue_.Pump();
    ASSERT_EQ(owner.got.size(), 2u);
    EXPECT_EQ(owner.got[0].Msg, 1500u);
    EXPECT_EQ(owner.got[0].WParam, 255u);
    EXPECT_EQ(owner.got[1].WParam, 0u);
    EXPECT_EQ(owner.got[1].LParam, 1);
    G().ViewMessage = -1;
    Choose(G().ViewMenu, 2);
    queue_.Pump();
    EXPECT_EQ(owner.got.size(), 2u);
    EXPECT_EQ(notifier_.Count(), 1u);
}

TEST_F(GraphMouse, ADoubleClickOnALegendBoxTogglesItsSeriesOnlyWhenAllowed) {
    const TRect box = SeriesOneBox();
    ASSERT_FALSE(IsRectEmpty(box));
    std::vector<std::pair<int, int>> toggled;
    G().OnSeriesVisibleChanged = [&](TFullOkno&, int kind, int number) { toggled.push_back({kind, number}); };
    auto doubleClick = [&](int x, int y) {
        G().MouseDown(mbLeft, {ssLeft, ssDouble}, x, y);
        G().DblClick();
    };
    doubleClick(box.Left + 5, box.Top + 5);
    EXPECT_TRUE(G().Series[1].Visible);
    G().CanDblClick = true;
    doubleClick(box.Right, box.Bottom);  // the edges belong to the box
    EXPECT_FALSE(G().Series[1].Visible);
    EXPECT_EQ(toggled, (std::vector<std::pair<int, int>>{{1, 1}}));
    doubleClick(box.Left - 1, box.Top);
    EXPECT_FALSE(G().Series[1].Visible);

    G().SetKresliUcinik(true);
    G().CosPhiSeries.Add({705, 0.95});
    G().CosPhiSeries.Add({720, -0.9});
    G().RedrawAll();
    const TRect cosBox = G().CosPhiBox;
    ASSERT_FALSE(IsRectEmpty(cosBox));
    doubleClick(cosBox.Left + 5, cosBox.Top + 5);
    EXPECT_FALSE(G().CosPhiSeries.Visible);
    EXPECT_EQ(toggled.size(), 1u);
}

} // namespace zeko::graph
