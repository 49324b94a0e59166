// The speed button on a shown window, the mouse coming through the window system.
#include "controls/ZcCtrls.h"

#include "ControlsTestSupport.h"
#include "platform/qt/Forms.h"

#include <QWindow>

#include <memory>
#include <stdexcept>
#include <vector>

using namespace zeko;

namespace {

// A 16 × 16 glyph of one cell: a black frame round a red square on magenta.
QImage FramedSquare() {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 255));
    for (int y = 2; y < 14; ++y)
        for (int x = 2; x < 14; ++x)
            image.setPixel(x, y, (x == 2 || x == 13 || y == 2 || y == 13) ? qRgb(0, 0, 0) : qRgb(255, 0, 0));
    return image;
}

struct SpeedButtonFixture : test::ControlHost {
    TZcSpeedButton* Add(QWidget* parent, int left, int group = 0) {
        auto* button = new TZcSpeedButton(parent);
        button->SetBounds(left, 10, 25, 25);
        button->SetGroupIndex(group);
        button->OnClick = [this, button](TGraphicControl*) {
            clicks.push_back(button);
            clickTimes.push_back(clock.Now());
        };
        button->show();
        return button;
    }
    void Press(QWidget* w, QPoint p = {12, 12}) { QTest::mousePress(w, Qt::LeftButton, {}, p); }
    void Release(QWidget* w, QPoint p = {12, 12}) { QTest::mouseRelease(w, Qt::LeftButton, {}, p); }
    void Move(QWidget* w, QPoint p) { QTest::mouseMove(w, p); }
    void ClickOn(QWidget* w) {
        Press(w);
        Release(w);
    }
    QImage Face(TZcSpeedButton* button) { return button->grab().toImage(); }

    std::vector<TZcSpeedButton*> clicks;
    std::vector<uint32_t> clickTimes;
};

} // namespace

// ---------------------------------------------------------------- groups

TEST_F(SpeedButtonFixture, AButtonWithoutAGroupNeverStaysDown) {
    TZcSpeedButton* b = Add(&host, 10);
    b->SetDown(true);
    EXPECT_FALSE(b->Down());
    ClickOn(b);
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(b->State(), gsUp);
    EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(SpeedButtonFixture, OneButtonOfAGroupStaysDown) {
    // a, b: group 1 on the window; c: group 2 on the window; d: group 1 on a panel.
    QWidget* panel = new QWidget(&host);
    panel->setGeometry(150, 0, 100, 60);
    panel->show();
    TZcSpeedButton* a = Add(&host, 10, 1);
    TZcSpeedButton* b = Add(&host, 40, 1);
    TZcSpeedButton* c = Add(&host, 70, 2);
    TZcSpeedButton* d = Add(panel, 10, 1);
    struct Step {
        const char* what;
        TZcSpeedButton* clicked;
        bool allowAllUp;
        std::vector<bool> down;  // a, b, c, d afterwards
    };
    const Step steps[] = {
        {"a goes down", a, false, {true, false, false, false}},
        {"b takes over from a", b, false, {false, true, false, false}},
        {"another group and another parent keep theirs", c, false, {false, true, true, false}},
        {"d is alone in its parent's group", d, false, {false, true, true, true}},
        {"clicking the down button leaves it down", b, false, {false, true, true, true}},
        {"with all up allowed it goes up", b, true, {false, false, true, true}},
    };
    for (const Step& s : steps) {
        s.clicked->SetAllowAllUp(s.allowAllUp);
        ClickOn(s.clicked);
        const std::vector<bool> down = {a->Down(), b->Down(), c->Down(), d->Down()};
        EXPECT_EQ(down, s.down) << s.what;
    }
    EXPECT_EQ(clicks.size(), std::size(steps));
}

TEST_F(SpeedButtonFixture, AllowAllUpIsSharedAcrossTheGroup) {
    TZcSpeedButton* a = Add(&host, 10, 3);
    TZcSpeedButton* b = Add(&host, 40, 3);
    TZcSpeedButton* other = Add(&host, 70, 4);
    a->SetAllowAllUp(true);
    EXPECT_TRUE(b->AllowAllUp());
    EXPECT_FALSE(other->AllowAllUp());
    b->SetDown(true);
    b->SetDown(false);
    EXPECT_FALSE(b->Down());
}

namespace {

// Another kind of control on the same parent that records the control messages.
class MessageRecorder : public QWidget, public TControlMessageTarget {
public:
    using QWidget::QWidget;
    void HandleControlMessage(TMessage& message) override { messages.push_back(message); }
    std::vector<TMessage> messages;
};

} // namespace

TEST_F(SpeedButtonFixture, GoingDownIsBroadcastToEveryControlOfTheParent) {
    auto* recorder = new MessageRecorder(&host);
    TZcSpeedButton* a = Add(&host, 10, 7);
    EXPECT_EQ(recorder->messages.size(), 1u);  // joining the group is told too
    recorder->messages.clear();
    a->SetDown(true);
    ASSERT_EQ(recorder->messages.size(), 1u);
    EXPECT_EQ(recorder->messages[0].Msg, 0xB051u);
    EXPECT_EQ(recorder->messages[0].WParam, 7u);
    EXPECT_EQ(recorder->messages[0].LParam, reinterpret_cast<intptr_t>(static_cast<QObject*>(a)));
    a->SetAllowAllUp(true);  // told to the group as well
    EXPECT_EQ(recorder->messages.size(), 2u);
    a->SetDown(false);  // going up is not
    EXPECT_EQ(recorder->messages.size(), 2u);
}

// ---------------------------------------------------------------- mouse

TEST_F(SpeedButtonFixture, ThePressFollowsThePointerAndTheReleaseDecidesTheClick) {
    TZcSpeedButton* b = Add(&host, 10);
    Press(b);
    EXPECT_EQ(b->State(), gsDown);
    EXPECT_TRUE(b->Dragging());
    Move(b, {40, 12});
    EXPECT_EQ(b->State(), gsUp);
    Move(b, {20, 20});
    EXPECT_EQ(b->State(), gsDown);
    Release(b, {20, 20});
    EXPECT_EQ(b->State(), gsUp);
    EXPECT_FALSE(b->Dragging());
    EXPECT_EQ(clicks.size(), 1u);

    struct Case {
        QPoint release;
        bool click;
    };
    const Case cases[] = {
        {{0, 0}, true},   {{24, 24}, true},  {{12, 25}, true},  // one row below the button counts
        {{12, 26}, false}, {{25, 12}, false}, {{-1, 12}, false}, {{12, -1}, false},
    };
    for (const Case& c : cases) {
        clicks.clear();
        Press(b);
        Move(b, c.release);
        Release(b, c.release);
        EXPECT_EQ(clicks.size(), c.click ? 1u : 0u) << c.release.x() << "," << c.release.y();
        EXPECT_EQ(b->State(), gsUp);
    }
}

TEST_F(SpeedButtonFixture, ADisabledButtonTakesNoPress) {
    TZcSpeedButton* b = Add(&host, 10);
    b->SetEnabled(false);
    EXPECT_EQ(b->State(), gsDisabled);
    ClickOn(b);
    EXPECT_TRUE(clicks.empty());
    b->SetEnabled(true);
    EXPECT_EQ(b->State(), gsUp);
}

TEST_F(SpeedButtonFixture, ADoubleClickCountsOnlyOnAButtonThatIsDown) {
    TZcSpeedButton* grouped = Add(&host, 10, 5);
    TZcSpeedButton* plain = Add(&host, 40);
    int doubles = 0;
    for (TZcSpeedButton* b : {grouped, plain})
        b->OnDblClick = [&](TGraphicControl*) { ++doubles; };
    QTest::mouseDClick(grouped, Qt::LeftButton, {}, QPoint(12, 12));  // down by its first click
    EXPECT_TRUE(grouped->Down());
    EXPECT_EQ(doubles, 1);
    QTest::mouseDClick(plain, Qt::LeftButton, {}, QPoint(12, 12));  // never down
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(clicks.size(), 4u);  // each half of a double click clicks
}

// ---------------------------------------------------------------- repeat

TEST_F(SpeedButtonFixture, AHeldButtonRepeatsAfterThePauseAndClicksOnRelease) {
    TZcSpeedButton* b = Add(&host, 10);
    b->SetAllowTimer(true);
    Press(b);
    clock.Advance(1000);
    Release(b);
    EXPECT_EQ(clickTimes, (std::vector<uint32_t>{500, 600, 700, 800, 900, 1000, 1000}));
    EXPECT_EQ(clock.RunningCount(), 0);
}

TEST_F(SpeedButtonFixture, SlidingOffPausesTheRepeatsAndBackResumesThem) {
    TZcSpeedButton* b = Add(&host, 10);
    b->SetAllowTimer(true);
    b->SetInitPause(300);
    b->SetRepeatInterval(50);
    Press(b);
    clock.Advance(350);  // 300, 350
    Move(b, {60, 12});
    clock.Advance(200);  // off the button: nothing
    Move(b, {12, 12});
    clock.Advance(100);  // 600, 650
    Move(b, {60, 12});
    Release(b, {60, 12});  // released off the button: no click
    EXPECT_EQ(clickTimes, (std::vector<uint32_t>{300, 350, 600, 650}));
}

TEST_F(SpeedButtonFixture, WithoutTheTimerOnlyTheReleaseClicks) {
    TZcSpeedButton* b = Add(&host, 10);
    Press(b);
    clock.Advance(3000);
    Release(b);
    EXPECT_EQ(clickTimes, (std::vector<uint32_t>{3000}));
    b->SetAllowTimer(true);
    b->SetAllowTimer(false);  // the timer goes with the permission
    Press(b);
    clock.Advance(3000);
    Release(b);
    EXPECT_EQ(clickTimes.size(), 2u);
}

TEST_F(SpeedButtonFixture, AClickThatFailsStopsTheRepeats) {
    TZcSpeedButton* b = Add(&host, 10);
    b->SetAllowTimer(true);
    int calls = 0;
    b->OnClick = [&](TGraphicControl*) {
        if (++calls == 2)
            throw std::runtime_error("click failed");
    };
    Press(b);
    EXPECT_THROW(clock.Advance(1000), std::runtime_error);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(clock.RunningCount(), 0);
    clock.Advance(1000);
    EXPECT_EQ(calls, 2);
}

// ---------------------------------------------------------------- drop-down menu

namespace {

// A menu that records where it was asked to open instead of opening.
class RecordingMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    void Popup(int x, int y) override { opened.push_back({x, y}); }
    std::vector<QPoint> opened;
};

} // namespace

TEST_F(SpeedButtonFixture, TheMenuOpensAtTheCornerItsAlignmentAndPositionName) {
    TZcSpeedButton* b = Add(&host, 10);
    b->SetBounds(10, 10, 30, 20);
    EXPECT_EQ(b->GetDropDownMenuPos(), TPoint{});  // no menu
    RecordingMenu menu;
    b->SetDropDownMenu(&menu);
    struct Case {
        TZcDropDownMenuPos position;
        TPopupAlignment alignment;
        TPoint point;
    };
    const Case cases[] = {
        {dmpBottom, paLeft, {-1, 20}}, {dmpBottom, paRight, {31, 20}}, {dmpBottom, paCenter, {15, 20}},
        {dmpRight, paLeft, {30, -1}},  {dmpRight, paRight, {-1, -1}},  {dmpRight, paCenter, {15, 20}},
    };
    for (const Case& c : cases) {
        b->SetMenuPosition(c.position);
        menu.SetAlignment(c.alignment);
        EXPECT_EQ(b->GetDropDownMenuPos(), c.point) << int(c.position) << "/" << int(c.alignment);
    }
}

TEST_F(SpeedButtonFixture, APressOpensTheMenuBelowTheLeftEdgeAndClicksNothing) {
    TZcSpeedButton* b = Add(&host, 10);
    RecordingMenu menu;
    b->SetDropDownMenu(&menu);
    Press(b);
    ASSERT_EQ(menu.opened.size(), 1u);
    EXPECT_EQ(menu.opened[0], b->mapToGlobal(QPoint(-1, 25)));
    EXPECT_EQ(menu.PopupComponent(), b);
    EXPECT_FALSE(b->Dragging());  // the press ended with the menu
    EXPECT_EQ(b->State(), gsUp);
    Release(b);
    EXPECT_TRUE(clicks.empty());

    menu.SetAutoPopup(false);  // the button then clicks as any other
    ClickOn(b);
    EXPECT_EQ(menu.opened.size(), 1u);
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_TRUE(b->CheckMenuDropDown({0, 0}, true));  // unless asked for the menu
    EXPECT_EQ(menu.opened.size(), 2u);

    {
        RecordingMenu gone;
        b->SetDropDownMenu(&gone);
    }
    EXPECT_EQ(b->DropDownMenu(), nullptr);
}

// Qt hands the press that closed a pop-up on to the control under the pointer
// unless the pop-up is told not to; the offscreen platform never hands it on, so
// what is checked here is that the menu is told so exactly for its own button.
TEST_F(SpeedButtonFixture, AClickOnTheButtonThatClosesItsMenuDoesNotReachTheButton) {
    TZcSpeedButton* b = Add(&host, 10);
    TZcSpeedButton* other = Add(&host, 100);
    int presses = 0;
    b->OnMouseDown = [&](TGraphicControl*, TMouseButton, TShiftState, int, int) { ++presses; };
    TPopupMenu menu(&host);
    menu.addAction(QStringLiteral("Položka"));
    menu.SetPopupComponent(b);
    menu.popup(host.mapToGlobal(QPoint(10, 60)));
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return menu.isVisible(); }));
    Press(b);
    EXPECT_FALSE(menu.isVisible());
    EXPECT_TRUE(menu.testAttribute(Qt::WA_NoMouseReplay));
    test::ProcessEventsUntil([] { return false; }, 50);
    Release(b);
    EXPECT_EQ(presses, 0);
    EXPECT_TRUE(clicks.empty());

    // A press elsewhere closes the menu and may go on to where it was made.
    menu.popup(host.mapToGlobal(QPoint(10, 60)));
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return menu.isVisible(); }));
    Press(other);
    EXPECT_FALSE(menu.isVisible());
    EXPECT_FALSE(menu.testAttribute(Qt::WA_NoMouseReplay));
    Release(other);
}

// ---------------------------------------------------------------- form, keys

TEST_F(SpeedButtonFixture, AClickSetsTheFormsModalResult) {
    TDialogForm form;
    auto* b = new TZcSpeedButton(&form);
    b->SetModalResult(ModalResults::Cancel);
    int clicked = 0;
    b->OnClick = [&](TGraphicControl*) {
        EXPECT_EQ(form.ModalResult(), ModalResults::Cancel);  // before the click event
        ++clicked;
    };
    b->Click();
    EXPECT_EQ(clicked, 1);
    EXPECT_EQ(form.ModalResult(), ModalResults::Cancel);
}

TEST_F(SpeedButtonFixture, TheCaptionsAcceleratorClicksAnEnabledButton) {
    TZcSpeedButton* b = Add(&host, 10);
    b->SetCaption("&Dál");
    EXPECT_TRUE(b->DialogChar(U'd'));
    EXPECT_TRUE(b->DialogChar(U'D'));
    EXPECT_FALSE(b->DialogChar(U'a'));
    b->SetEnabled(false);
    EXPECT_FALSE(b->DialogChar(U'd'));
    b->SetEnabled(true);
    b->SetCaption("R&&D");  // a doubled "&" is an ampersand
    EXPECT_FALSE(b->DialogChar(U'd'));
    EXPECT_EQ(clicks.size(), 2u);
}

// ---------------------------------------------------------------- looks

TEST(ButtonFrame, EachLookHasItsRingsAndGivesTheRectangleInside) {
    test::QtApp();
    test::CanvasOnImage surface(20, 20);
    SetSysColor(20, clYellow);  // the highlight, which would not show on white
    const TColor hl = clYellow, wf = clBlack, face = RGB(192, 192, 192), shadow = RGB(128, 128, 128), none = clWhite;
    struct Case {
        bool down;
        TButtonStyle style;
        bool flat;
        TColor outerTopLeft, outerBottomRight, innerTopLeft, innerBottomRight;
        int inset;
    };
    const Case cases[] = {
        {false, bsNew, false, hl, wf, face, shadow, 3},
        {false, bsAutoDetect, false, hl, wf, face, shadow, 3},  // this system has the new look
        {false, bsNew, true, hl, shadow, none, none, 2},
        {false, bsWin31, false, wf, wf, hl, shadow, 3},
        {false, bsWin31, true, hl, wf, none, none, 2},
        {true, bsNew, false, wf, hl, shadow, face, 3},
        {true, bsNew, true, wf, hl, none, none, 2},
        {true, bsWin31, false, wf, wf, shadow, none, 2},  // a shadow line along the top and left only
        {true, bsWin31, true, wf, hl, none, none, 2},
    };
    for (const Case& c : cases) {
        surface.Clear();
        const TRect inside = DrawButtonFrame(surface.canvas, {0, 0, 20, 20}, c.down, c.style, c.flat);
        const std::string what = std::string(c.down ? "down" : "up") + " style " + std::to_string(c.style) +
                                 (c.flat ? " flat" : "");
        EXPECT_EQ(surface.At(0, 0), c.outerTopLeft) << what;
        EXPECT_EQ(surface.At(0, 18), c.outerTopLeft) << what;
        EXPECT_EQ(surface.At(19, 19), c.outerBottomRight) << what;
        EXPECT_EQ(surface.At(19, 1), c.outerBottomRight) << what;
        EXPECT_EQ(surface.At(1, 1), c.innerTopLeft) << what;
        EXPECT_EQ(surface.At(18, 18), c.innerBottomRight) << what;
        EXPECT_EQ(inside, (TRect{c.inset, c.inset, 20 - c.inset, 20 - c.inset})) << what;
        EXPECT_EQ(surface.At(c.inset, c.inset), none) << what;
    }
    ResetSysColors();
}

TEST_F(SpeedButtonFixture, AFlatButtonShowsAFrameAndColoursOnlyUnderTheMouse) {
    TZcSpeedButton* b = Add(&host, 10);
    b->SetGlyph(FramedSquare());
    b->SetFlat(true);
    Move(&host, {200, 150});
    ASSERT_FALSE(b->MouseInControl());
    const QImage away = Face(b);
    EXPECT_EQ(test::PixelAt(away, 0, 0), ColorToRGB(clBtnFace));   // no frame
    EXPECT_EQ(test::PixelAt(away, 24, 24), ColorToRGB(clBtnFace));
    EXPECT_EQ(test::InkBox(away, {0, 0, 25, 25}, clRed), TRect{});  // gray glyph
    EXPECT_NE(test::InkBox(away, {0, 0, 25, 25}, RGB(76, 76, 76)), TRect{});

    std::vector<std::string> events;
    b->OnMouseEnter = [&](TZcSpeedButton*) { events.push_back("enter"); };
    b->OnMouseLeave = [&](TZcSpeedButton*) { events.push_back("leave"); };
    Move(b, {12, 12});
    ASSERT_TRUE(b->MouseInControl());
    const QImage over = Face(b);
    EXPECT_EQ(test::PixelAt(over, 0, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(test::PixelAt(over, 24, 24), ColorToRGB(clBtnShadow));
    EXPECT_EQ(test::PixelAt(over, 1, 1), ColorToRGB(clBtnFace));  // one ring only
    EXPECT_NE(test::InkBox(over, {0, 0, 25, 25}, clRed), TRect{});
    test::SaveArtefact(away, "speedbutton-flat-away.png");
    test::SaveArtefact(over, "speedbutton-flat-over.png");

    Move(&host, {200, 150});
    EXPECT_FALSE(b->MouseInControl());
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave"}));

    // Without GrayedInactive the glyph keeps its colours away from the mouse.
    b->SetGrayedInactive(false);
    EXPECT_NE(test::InkBox(Face(b), {0, 0, 25, 25}, clRed), TRect{});
}

TEST_F(SpeedButtonFixture, AFlatButtonStaysFlatWhileAnotherProgramIsActive) {
    TZcSpeedButton* b = Add(&host, 10);
    b->SetFlat(true);
    QWindow foreign;  // a window of no widget: as another program's to this one
    foreign.resize(50, 50);
    foreign.show();
    foreign.requestActivate();
    ASSERT_TRUE(test::ProcessEventsUntil([] { return QApplication::activeWindow() == nullptr; }));
    Move(b, {12, 12});
    EXPECT_FALSE(b->MouseInControl());
    b->UpdateTracking();
    EXPECT_FALSE(b->MouseInControl());
    EXPECT_EQ(test::PixelAt(Face(b), 0, 0), ColorToRGB(clBtnFace));
}

TEST_F(SpeedButtonFixture, FacesOfTheStates) {
    // One button in each state, side by side, for the eye; the probes below.
    SetSysColor(15, RGB(192, 192, 192));
    auto add = [&](int left) {
        TZcSpeedButton* b = Add(&host, left, 0);
        b->SetGlyph(FramedSquare());
        return b;
    };
    TZcSpeedButton* up = add(10);
    TZcSpeedButton* down = add(40);
    down->SetGroupIndex(9);
    down->SetDown(true);
    TZcSpeedButton* disabled = add(70);
    disabled->SetEnabled(false);
    TZcSpeedButton* pressed = add(100);
    Press(pressed);

    const QImage row = host.grab(QRect(0, 0, 140, 45)).toImage();
    test::SaveArtefact(row.scaled(row.size() * 4), "speedbutton-states.png");
    Release(pressed);

    // Up: raised frame; the glyph in colour, centred.
    const QImage upFace = up->grab().toImage();
    EXPECT_EQ(test::PixelAt(upFace, 0, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(test::PixelAt(upFace, 24, 24), ColorToRGB(clWindowFrame));
    EXPECT_EQ(test::PixelAt(upFace, 23, 23), ColorToRGB(clBtnShadow));
    EXPECT_EQ(test::InkBox(upFace, {2, 2, 23, 23}, clBlack), (TRect{6, 6, 18, 18}));
    // Held down: sunken frame, a checker inside, the glyph one pixel down and right.
    const QImage downFace = down->grab().toImage();
    EXPECT_EQ(test::PixelAt(downFace, 0, 0), ColorToRGB(clWindowFrame));
    EXPECT_EQ(test::PixelAt(downFace, 24, 24), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(test::PixelAt(downFace, 2, 2), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(test::PixelAt(downFace, 3, 2), ColorToRGB(clBtnFace));
    EXPECT_EQ(test::InkBox(downFace, {2, 2, 23, 23}, clBlack), (TRect{7, 7, 19, 19}));
    // Disabled: only the black frame of the glyph, embossed.
    const QImage disabledFace = disabled->grab().toImage();
    EXPECT_EQ(test::InkBox(disabledFace, {2, 2, 23, 23}, clRed), TRect{});
    EXPECT_EQ(test::InkBox(disabledFace, {2, 2, 23, 23}, clBtnShadow), (TRect{6, 6, 18, 18}));
}

TEST_F(SpeedButtonFixture, ATransparentButtonShowsWhatLiesBehindIt) {
    QWidget* panel = new QWidget(&host);
    panel->setGeometry(0, 0, 100, 60);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, QColor(0, 128, 0));
    panel->setPalette(palette);
    panel->show();
    TZcSpeedButton* b = Add(panel, 10);
    b->SetGlyph(FramedSquare());
    b->SetFlat(true);
    b->SetGrayedInactive(false);
    Move(&host, {200, 150});
    EXPECT_EQ(test::PixelAt(panel->grab().toImage(), 12, 12), ColorToRGB(clBtnFace));
    b->SetTransparent(true);
    const QImage seen = panel->grab().toImage();
    EXPECT_EQ(test::PixelAt(seen, 12, 12), clGreen);           // the panel behind the face
    EXPECT_EQ(test::PixelAt(seen, 10 + 8, 10 + 8), clRed);     // the glyph on it
}
