// The diagonal spin button: its halves, its three pictures and its repeat.
#include "controls/ZcSpin.h"

#include "ControlsTestSupport.h"

#include <vector>

using namespace zeko;

TEST(SpinButton, TheDiagonalDividesTheHalves) {
    struct Case {
        int x, y, w, h;
        TSpinButtonState half;
    };
    const Case cases[] = {
        {2, 2, 20, 20, sbTopDown},     {17, 17, 20, 20, sbBottomDown},
        {10, 10, 20, 20, sbTopDown},   // on the diagonal: top
        {10, 11, 20, 20, sbBottomDown}, {0, 20, 20, 20, sbTopDown},    {1, 20, 20, 20, sbBottomDown},
        {20, 0, 40, 10, sbTopDown},    {20, 6, 40, 10, sbBottomDown},  // a wide button: y > 10 - x / 4
        {5, 5, 0, 10, sbTopDown},      // no width: no division by 0
    };
    for (const Case& c : cases)
        EXPECT_EQ(SpinHalfAt(c.x, c.y, c.w, c.h), c.half) << c.x << "," << c.y << " in " << c.w << "x" << c.h;
}

namespace {

struct SpinButtonFixture : test::ControlHost {
    SpinButtonFixture() {
        button = new TZcSpinButton(&host);
        button->SetBounds(10, 10, 20, 20);
        button->OnTopClick = [this](TZcSpinButton*) { clicks.push_back({'T', clock.Now()}); };
        button->OnBottomClick = [this](TZcSpinButton*) { clicks.push_back({'B', clock.Now()}); };
        button->show();
    }
    TZcSpinButton* button;
    std::vector<std::pair<char, uint32_t>> clicks;
};

} // namespace

TEST_F(SpinButtonFixture, EachPressedHalfHasItsOwnPicture) {
    const TColor face = ColorToRGB(clBtnFace), frame = ColorToRGB(clWindowFrame);
    const TColor light = ColorToRGB(clBtnHighlight), shadow = ColorToRGB(clBtnShadow);
    struct Probe {
        const char* what;
        int x, y;
        TColor notDown, top, bottom;
    };
    const Probe probes[] = {
        {"frame", 0, 0, frame, frame, frame},
        {"frame bottom right", 19, 19, frame, frame, frame},
        {"diagonal", 9, 10, frame, frame, frame},
        {"top half's left edge", 1, 8, light, shadow, light},
        {"top half's top edge", 8, 1, light, shadow, light},
        {"line under the diagonal", 1, 17, shadow, face, shadow},
        {"bottom half's bottom edge", 10, 18, shadow, shadow, light},
        {"bottom half's right edge", 18, 10, shadow, shadow, light},
        {"line above the diagonal, lower", 10, 10, light, light, shadow},
        {"second line of a pressed bottom", 11, 10, face, face, shadow},
        {"up arrow, top row", 5, 3, clBlack, face, clBlack},
        {"up arrow moved in when pressed", 9, 6, face, clBlack, face},
        {"down arrow, widest row", 11, 14, clBlack, clBlack, clBlack},
        {"left of the down arrow", 10, 14, face, face, face},
    };
    const QImage notDown = button->Picture(sbNotDown);
    const QImage top = button->Picture(sbTopDown);
    const QImage bottom = button->Picture(sbBottomDown);
    ASSERT_EQ(notDown.size(), QSize(20, 20));
    for (const Probe& p : probes) {
        EXPECT_EQ(test::PixelAt(notDown, p.x, p.y), p.notDown) << p.what;
        EXPECT_EQ(test::PixelAt(top, p.x, p.y), p.top) << p.what;
        EXPECT_EQ(test::PixelAt(bottom, p.x, p.y), p.bottom) << p.what;
    }
    // The arrows keep their shape: the up arrow's six rows at (3, 3).
    EXPECT_EQ(test::InkBox(notDown, {2, 2, 10, 10}, clBlack), (TRect{3, 3, 9, 9}));
    EXPECT_EQ(test::InkBox(notDown, {10, 10, 18, 18}, clBlack), (TRect{11, 11, 17, 17}));
    QImage strip(60, 20, QImage::Format_RGB32);
    for (int s = 0; s < 3; ++s)
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
                strip.setPixel(s * 20 + x, y, button->Picture(static_cast<TSpinButtonState>(s)).pixel(x, y));
    test::SaveArtefact(strip.scaled(strip.size() * 8), "spinbutton-halves.png");
}

TEST_F(SpinButtonFixture, PicturesFollowTheSizeAndTheGlyphs) {
    button->SetBounds(10, 10, 30, 16);
    EXPECT_EQ(button->Picture(sbNotDown).size(), QSize(30, 16));
    QImage arrow(3, 2, QImage::Format_RGB32);
    arrow.fill(qRgb(255, 255, 255));
    arrow.setPixel(0, 0, qRgb(0, 0, 255));
    button->SetUpGlyph(arrow);
    EXPECT_EQ(button->UpGlyph().Width(), 3);
    EXPECT_NE(test::InkBox(button->Picture(sbNotDown), {0, 0, 30, 16}, clBlue), TRect{});
    button->SetUpGlyph(QImage());  // back to the resource
    EXPECT_EQ(button->UpGlyph().Width(), 6);
    EXPECT_EQ(test::InkBox(button->Picture(sbNotDown), {0, 0, 30, 16}, clBlue), TRect{});
}

TEST_F(SpinButtonFixture, AHeldHalfClicksAtOnceThenAfter400AndEvery100) {
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_EQ(button->State(), sbTopDown);
    clock.Advance(650);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(4, 4));
    clock.Advance(500);
    EXPECT_EQ(clicks, (std::vector<std::pair<char, uint32_t>>{{'T', 0}, {'T', 400}, {'T', 500}, {'T', 600}}));
    EXPECT_EQ(button->State(), sbNotDown);
}

TEST_F(SpinButtonFixture, SlidingOffPausesAndOnlyThePressedHalfResumes) {
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(16, 16));  // bottom
    clock.Advance(450);                                              // 0, 400
    QTest::mouseMove(button, QPoint(3, 3));                          // over the top half: paused
    EXPECT_EQ(button->State(), sbNotDown);
    clock.Advance(100);
    QTest::mouseMove(button, QPoint(30, 30));  // off the button
    clock.Advance(100);
    QTest::mouseMove(button, QPoint(15, 15));  // back on the bottom half
    EXPECT_EQ(button->State(), sbBottomDown);
    clock.Advance(100);  // the tick at 700
    QTest::mouseMove(button, QPoint(40, 40));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(40, 40));
    EXPECT_EQ(clicks, (std::vector<std::pair<char, uint32_t>>{{'B', 0}, {'B', 400}, {'B', 700}}));
}

TEST_F(SpinButtonFixture, APressFocusesTheFocusControlAndADisabledButtonTakesNone) {
    QLineEdit* edit = new QLineEdit(&host);
    edit->setGeometry(40, 10, 60, 20);
    edit->show();
    QLineEdit* other = new QLineEdit(&host);
    other->setGeometry(40, 40, 60, 20);
    other->show();
    other->setFocus();
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return other->hasFocus(); }));
    button->SetFocusControl(edit);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_TRUE(edit->hasFocus());
    delete edit;
    EXPECT_EQ(button->FocusControl(), nullptr);

    clicks.clear();
    button->SetEnabled(false);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_TRUE(clicks.empty());
}
