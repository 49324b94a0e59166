// The spin edit: its value rules, the keys it takes, its steps and its buttons.
#include "controls/ZcSpin.h"

#include "ControlsTestSupport.h"
#include "platform/FormatSettings.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QDialog>
#include <QGuiApplication>
#include <QPushButton>

#include <cmath>
#include <memory>
#include <vector>

using namespace zeko;

namespace {

struct SpinEditFixture : test::ControlHost {
    SpinEditFixture() {
        FormatSettings().DecimalSeparator = ',';
        edit = new TZcSpinEdit(&host);
        edit->setGeometry(10, 10, 100, 21);
        edit->OnChange = [this](TCustomEdit*) { ++changes; };
        edit->show();
    }
    TZcSpinEdit* edit;
    int changes = 0;
};

} // namespace

TEST_F(SpinEditFixture, StartsAtZeroWithItsDefaults) {
    EXPECT_EQ(edit->Text(), "0");
    EXPECT_EQ(edit->Value(), 0.0);
    EXPECT_EQ(edit->Increment(), 1.0);
    EXPECT_EQ(edit->Decimal(), 2);
    EXPECT_EQ(edit->ValueType(), vtInteger);
    EXPECT_EQ(edit->ButtonKind(), bkDiagonal);
    EXPECT_TRUE(edit->EditorEnabled());
    EXPECT_TRUE(edit->ArrowKeys());
    ASSERT_NE(edit->Button(), nullptr);
    EXPECT_EQ(edit->UpDown(), nullptr);
}

TEST_F(SpinEditFixture, WrittenValuesAreLimitedAndFormattedByType) {
    struct Case {
        TValueType type;
        double min, max;
        uint8_t decimals;
        double value;
        std::string text;
    };
    const Case cases[] = {
        {vtInteger, 0, 0, 2, 1e6, "1000000"},  // equal limits limit nothing
        {vtInteger, 0, 0, 2, -7, "-7"},
        {vtInteger, 1, 10, 2, 15, "10"},
        {vtInteger, 1, 10, 2, -5, "1"},
        {vtInteger, 5, 5, 2, 9, "9"},
        {vtInteger, 0, 0, 2, 2.5, "2"},  // halves to even
        {vtInteger, 0, 0, 2, 3.5, "4"},
        {vtInteger, 0, 0, 2, -2.5, "-2"},
        {vtInteger, 0, 0, 2, 0.5, "0"},
        {vtInteger, 0, 0, 2, 2.4999, "2"},
        {vtInteger, 0, 10, 2, 9.6, "10"},
        {vtFloat, 0, 0, 2, 2.5, "2,50"},
        {vtFloat, 0, 0, 0, 2.5, "3"},  // fixed notation rounds the written decimal half away
        {vtFloat, 0, 0, 3, -1.0005, "-1,001"},
        {vtFloat, 0, 0, 2, 1.005, "1,01"},
        {vtFloat, -1.5, 1.5, 1, 7, "1,5"},
        {vtFloat, 0, 0, 2, 1e16, FloatToStr(1e16)},  // more than 15 whole digits
    };
    for (const Case& c : cases) {
        edit->SetValueType(c.type);
        edit->SetMinValue(c.min);
        edit->SetMaxValue(c.max);
        edit->SetDecimal(c.decimals);
        edit->SetValue(c.value);
        EXPECT_EQ(edit->Text(), c.text) << c.value << " in " << c.min << ".." << c.max;
    }
}

TEST_F(SpinEditFixture, ATextThatIsNoNumberReadsAsTheMinimum) {
    struct Case {
        TValueType type;
        double min;
        std::string text;
        double value;
    };
    const Case cases[] = {
        {vtInteger, 0, "42", 42},     {vtInteger, 0, "-3", -3},    {vtInteger, 1.7, "abc", 1},
        {vtInteger, -1.7, "", -1},     {vtInteger, 0, "1,5", 0},    {vtFloat, 0, "1,5", 1.5},
        {vtFloat, 0.25, "x", 0.25},    {vtFloat, 0, "2e3", 2000},   {vtFloat, -4, "1.5", -4},  // the locale's separator only
    };
    for (const Case& c : cases) {
        edit->SetValueType(c.type);
        edit->SetMinValue(c.min);
        edit->SetText(c.text);
        EXPECT_DOUBLE_EQ(edit->Value(), c.value) << '"' << c.text << '"';
    }
}

TEST_F(SpinEditFixture, ChangingTheValueTypeKeepsTheValue) {
    edit->SetValueType(vtFloat);
    edit->SetText("1,5");
    edit->SetValueType(vtInteger);  // read as 1.5, written rounded
    EXPECT_EQ(edit->Text(), "2");
    edit->SetValueType(vtFloat);
    EXPECT_EQ(edit->Text(), "2,00");
    edit->SetText("2,5");
    edit->SetMinValue(-9);
    edit->SetMaxValue(9);
    edit->SetValueType(vtInteger);
    EXPECT_EQ(edit->Text(), "2");  // not the minimum

    struct Case {
        double increment, integer;
    };
    for (const Case& c : {Case{0.4, 1}, Case{2.6, 3}, Case{2.5, 2}, Case{-0.3, 1}, Case{-1.6, -2}}) {
        edit->SetValueType(vtFloat);
        edit->SetIncrement(c.increment);
        edit->SetValueType(vtInteger);
        EXPECT_EQ(edit->Increment(), c.integer) << c.increment;
    }
}

TEST_F(SpinEditFixture, ChangingTheDecimalsRewritesTheText) {
    edit->SetValueType(vtFloat);
    edit->SetValue(1.25);
    EXPECT_EQ(edit->Text(), "1,25");
    edit->SetDecimal(1);
    EXPECT_EQ(edit->Text(), "1,3");
    edit->SetDecimal(4);
    EXPECT_EQ(edit->Text(), "1,3000");
}

TEST_F(SpinEditFixture, KeysAreTakenByValueType) {
    struct Case {
        TValueType type;
        bool editor;
        std::string text;
        char32_t key;
        bool taken;
    };
    const Case cases[] = {
        {vtInteger, true, "", U'7', true},      {vtInteger, true, "", U'+', true},
        {vtInteger, true, "", U'-', true},      {vtInteger, true, "", U',', false},
        {vtInteger, true, "", U'e', false},     {vtInteger, true, "", U'a', false},
        {vtInteger, true, "", U' ', false},     {vtInteger, true, "", CH_BACK, true},
        {vtInteger, true, "", CH_RETURN, true}, {vtInteger, true, "", U'é', false},
        {vtFloat, true, "1", U',', true},       {vtFloat, true, "1,5", U',', false},  // one separator
        {vtFloat, true, "1", U'.', false},      // not the locale's separator
        {vtFloat, true, "1", U'e', true},       {vtFloat, true, "1", U'E', true},
        {vtFloat, true, "1e", U'E', false},     // one exponent, whatever its case
        {vtFloat, true, "1E", U'e', false},     {vtFloat, true, "", U'x', false},
        {vtInteger, false, "", U'7', false},    // no typing without the editor
        {vtInteger, false, "", CH_BACK, false}, {vtInteger, false, "", CH_RETURN, true},
        {vtInteger, false, "", CH_ESCAPE, true}, {vtInteger, false, "", CH_TAB, true},
        {vtFloat, false, "1", U',', false},
    };
    for (const Case& c : cases) {
        edit->SetValueType(c.type);
        edit->SetEditorEnabled(c.editor);
        edit->SetText(c.text);
        EXPECT_EQ(edit->IsValidChar(c.key), c.taken)
            << "key " << uint32_t(c.key) << " on \"" << c.text << "\" type " << int(c.type) << " editor " << c.editor;
    }
}

TEST_F(SpinEditFixture, RefusedCharactersAreNotTyped) {
    edit->SetText("");
    QTest::keyClicks(edit, "1a2.,3");
    EXPECT_EQ(edit->Text(), "123");
    edit->SetValueType(vtFloat);
    edit->SetText("");
    QTest::keyClicks(edit, "1,5,2e3E");
    EXPECT_EQ(edit->Text(), "1,52e3");
}

TEST_F(SpinEditFixture, StepsAreLimitedAndTellTheirHandlers) {
    edit->SetMinValue(0);
    edit->SetMaxValue(3);
    edit->SetIncrement(2);
    std::vector<std::string> tops;
    int bottoms = 0;
    edit->OnTopClick = [&](TZcSpinEdit* e) { tops.push_back(e->Text()); };
    edit->OnBottomClick = [&](TZcSpinEdit*) { ++bottoms; };
    edit->SetModified(false);
    changes = 0;
    edit->UpClick();
    edit->UpClick();
    edit->UpClick();  // stays at the maximum: no change, the handler all the same
    EXPECT_EQ(tops, (std::vector<std::string>{"2", "3", "3"}));
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(edit->Modified());
    edit->DownClick();
    edit->DownClick();
    EXPECT_EQ(edit->Text(), "0");
    EXPECT_EQ(bottoms, 2);

    edit->SetReadOnly(true);  // only a beep
    edit->UpClick();
    EXPECT_EQ(edit->Text(), "0");
    EXPECT_EQ(tops.size(), 3u);
}

TEST_F(SpinEditFixture, TheArrowKeysStepAlsoWithoutTheEditor) {
    edit->SetEditorEnabled(false);
    QTest::keyClick(edit, Qt::Key_Up);
    QTest::keyClick(edit, Qt::Key_Up);
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->Text(), "1");
    QTest::keyClicks(edit, "5");
    EXPECT_EQ(edit->Text(), "1");
    edit->SetArrowKeys(false);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->Text(), "1");
}

TEST_F(SpinEditFixture, EnterAndEscapeReachTheFormsButtons) {
    QDialog dialog;
    auto* spin = new TZcSpinEdit(&dialog);
    spin->SetEditorEnabled(false);
    auto* ok = new QPushButton("OK", &dialog);
    ok->move(0, 40);
    ok->setDefault(true);
    int pressed = 0;
    QObject::connect(ok, &QPushButton::clicked, [&] { ++pressed; });
    dialog.show();
    QTest::keyClick(spin, Qt::Key_Return);
    EXPECT_EQ(pressed, 1);
    EXPECT_EQ(spin->Text(), "0");
    QTest::keyClick(spin, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(SpinEditFixture, PastingNeedsTheEditor) {
    QGuiApplication::clipboard()->setText("77");
    edit->SetText("1");
    edit->selectAll();
    edit->SetEditorEnabled(false);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), "1");
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), "1");
    // Nor does the context menu paste, cut or delete.
    std::unique_ptr<QMenu> menu(edit->CreateContextMenu());
    for (const char* name : {"edit-cut", "edit-paste", "edit-delete"}) {
        QAction* action = menu->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_FALSE(action->isEnabled()) << name;
        edit->selectAll();
        action->trigger();
        EXPECT_EQ(edit->Text(), "1") << name;
    }
    edit->SetEditorEnabled(true);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), "77");
}

TEST_F(SpinEditFixture, LeavingTheEditLimitsItsText) {
    auto* other = new QLineEdit(&host);
    other->setGeometry(10, 60, 80, 21);
    other->show();
    edit->SetMinValue(1);
    edit->SetMaxValue(10);
    edit->setFocus();
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return edit->hasFocus(); }));
    edit->SetText("50");
    other->setFocus();
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return other->hasFocus(); }));
    EXPECT_EQ(edit->Text(), "10");
    edit->setFocus();
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return edit->hasFocus(); }));
    edit->SetText("abc");  // no number: left as it is
    other->setFocus();
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return other->hasFocus(); }));
    EXPECT_EQ(edit->Text(), "abc");
}

TEST_F(SpinEditFixture, TheDiagonalButtonSitsInsideTheBorderAndStepsTheValue) {
    edit->resize(100, 24);
    TZcSpinButton* button = edit->Button();
    EXPECT_EQ(button->geometry(), QRect(100 - 24 + 1, 1, 21, 21));
    EXPECT_EQ(edit->ButtonWidth(), 21);
    edit->setFrame(false);
    edit->resize(100, 25);
    EXPECT_EQ(button->geometry(), QRect(75, 0, 25, 25));
    edit->setFrame(true);
    edit->resize(100, 24);

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(18, 18));
    EXPECT_EQ(edit->Text(), "1");
    EXPECT_TRUE(edit->hasFocus());  // the button gives the edit the focus

    const QImage picture = host.grab(QRect(0, 0, 130, 45)).toImage();
    test::SaveArtefact(picture.scaled(picture.size() * 4), "spinedit.png");
    const QImage face = button->grab().toImage();
    EXPECT_EQ(test::PixelAt(face, 0, 0), ColorToRGB(clWindowFrame));
    EXPECT_NE(test::InkBox(face, {0, 0, 10, 10}, clBlack), TRect{});  // the up arrow
}

TEST_F(SpinEditFixture, TheStandardKindHasUpDownArrows) {
    edit->SetButtonKind(bkStandard);
    ASSERT_NE(edit->UpDown(), nullptr);
    EXPECT_EQ(edit->Button(), nullptr);
    TZcUpDown* arrows = edit->UpDown();
    EXPECT_EQ(arrows->width(), std::min(15, edit->ButtonWidth()));
    EXPECT_EQ(arrows->geometry().right(), edit->width() - 3);  // against the right border
    QTest::mousePress(arrows, Qt::LeftButton, {}, QPoint(3, 2));
    EXPECT_TRUE(arrows->Pressed(btNext));
    clock.Advance(450);  // at once and at 400
    QTest::mouseRelease(arrows, Qt::LeftButton, {}, QPoint(3, 2));
    EXPECT_FALSE(arrows->Pressed(btNext));
    EXPECT_EQ(edit->Text(), "2");
    QTest::mouseClick(arrows, Qt::LeftButton, {}, QPoint(3, arrows->height() - 2));
    EXPECT_EQ(edit->Text(), "1");
    QTest::keyClick(edit, Qt::Key_Up);  // the arrow keys go through the arrows
    EXPECT_EQ(edit->Text(), "2");

    edit->SetButtonKind(bkDiagonal);
    EXPECT_EQ(edit->UpDown(), nullptr);
    ASSERT_NE(edit->Button(), nullptr);
}

TEST_F(SpinEditFixture, AnEditIsAtLeastAsHighAsItsText) {
    edit->resize(100, 4);
    EXPECT_EQ(edit->height(), edit->MinHeight());
    EXPECT_GT(edit->MinHeight(), QFontMetrics(edit->font()).height());
    edit->resize(100, 40);
    EXPECT_EQ(edit->height(), 40);
}
