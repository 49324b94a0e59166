// The combo edit: where its drop-down opens, how it opens and closes by button,
// keys and presses elsewhere, and its button's width and glyphs.
#include "controls/ToolEdit.h"

#include "ControlsTestSupport.h"
#include "controls/ZcConst.h"
#include "platform/qt/Grids.h"

#include <QDialog>
#include <QPushButton>
#include <QScreen>

using namespace zeko;

namespace {

// A drop-down that holds a text.
class TextPopup : public TPopupWindow {
public:
    explicit TextPopup(TCustomComboEdit* editor) : TPopupWindow(editor) { resize(150, 60); }
    TPopupValue GetValue() override { return value; }
    void SetValue(const TPopupValue& v) override {
        received = v;
        value = PopupValueText(v);
    }
    std::string value;
    TPopupValue received;
};

class ComboEdit : public TCustomComboEdit {
public:
    using TCustomComboEdit::TCustomComboEdit;
    TextPopup* Attach() {
        auto* popup = new TextPopup(this);
        popup->OnCloseUp = [this](TPopupWindow* sender, bool accept) { PopupCloseUp(sender, accept); };
        SetPopup(popup);
        return popup;
    }
    int popupChanges = 0;

protected:
    void PopupChange() override { ++popupChanges; }
};

struct ComboEditFixture : test::ControlHost {
    ComboEditFixture() {
        edit = new ComboEdit(&host);
        edit->setGeometry(20, 20, 121, 21);
        edit->OnChange = [this](TCustomEdit*) { ++changes; };
        edit->OnButtonClick = [this](TCustomComboEdit*) { ++buttonClicks; };
        popup = edit->Attach();
        edit->show();
        edit->setFocus();
    }
    void ClickButton() { QTest::mouseClick(edit->Button(), Qt::LeftButton, {}, QPoint(5, 5)); }
    void AltDown() { QTest::keyClick(edit, Qt::Key_Down, Qt::AltModifier); }

    ComboEdit* edit;
    TextPopup* popup;
    int changes = 0;
    int buttonClicks = 0;
};

} // namespace

TEST(PopupPosition, BelowTheEditAndAlwaysOnItsScreen) {
    struct Case {
        const char* what;
        TRect edit;
        TPopupAlign align;
        TRect screen;
        TPoint origin;
    };
    const TRect main{0, 0, 1024, 768};
    const TRect right{1024, 0, 2048, 768};     // a second screen right of the first
    const TRect left{-1280, -200, 0, 824};     // one left of it, standing higher
    const Case cases[] = {
        {"right-aligned with the edit", Bounds(100, 100, 121, 21), epaRight, main, {34, 121}},
        {"left-aligned", Bounds(100, 100, 121, 21), epaLeft, main, {100, 121}},
        {"kept left-aligned at the screen's left edge", Bounds(10, 100, 121, 21), epaRight, main, {10, 121}},
        {"above the edit at the screen's bottom", Bounds(100, 700, 121, 21), epaRight, main, {34, 576}},
        {"right-aligned at the screen's right edge", Bounds(950, 100, 60, 21), epaLeft, main, {823, 121}},
        {"pushed back inside the right edge", Bounds(980, 100, 121, 21), epaLeft, main, {837, 121}},
        {"wider than the edit, on the second screen", Bounds(1030, 100, 121, 21), epaRight, right, {1030, 121}},
        {"on a screen left of the first", Bounds(-1270, 780, 121, 21), epaRight, left, {-1270, 656}},
        {"an edit reaching past the screen's left edge", Bounds(-20, 100, 121, 21), epaLeft, main, {0, 121}},
        {"an edit on the very top", Bounds(100, 0, 121, 21), epaRight, {0, 0, 1024, 100}, {34, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PopupPosition(c.edit, {187, 124}, c.screen, c.align), c.origin) << c.what;
}

TEST_F(ComboEditFixture, TheButtonDropsTheListDownUnderTheEdit) {
    edit->SetText("abc");
    ClickButton();
    ASSERT_TRUE(edit->PopupVisible());
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(buttonClicks, 1);
    EXPECT_EQ(std::get<std::string>(popup->received), "abc");
    const QPoint corner = edit->mapToGlobal(QPoint(0, 0));
    const TPoint expected = PopupPosition(Bounds(corner.x(), corner.y(), 121, 21), {150, 60},
                                          FromQRect(edit->screen()->availableGeometry()), epaRight);
    EXPECT_EQ(popup->pos(), QPoint(expected.X, expected.Y));
    EXPECT_TRUE(edit->isReadOnly());  // the text waits while the list is open
    QTest::keyClick(popup, Qt::Key_Escape);  // the open list has the keyboard
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_FALSE(popup->isVisible());
    EXPECT_FALSE(edit->isReadOnly());
    EXPECT_EQ(edit->Text(), "abc");
    edit->SetText("");
    AltDown();
    EXPECT_TRUE(std::holds_alternative<std::monostate>(popup->received));  // an empty text is no value
}

TEST_F(ComboEditFixture, EnterTakesTheListsValueOnce) {
    AltDown();
    ASSERT_TRUE(edit->PopupVisible());
    popup->value = "chosen";
    changes = 0;
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_EQ(edit->Text(), "chosen");
    EXPECT_TRUE(edit->Modified());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(edit->popupChanges, 1);  // the text changed while the list was still counted open
    // The same value again changes nothing.
    AltDown();
    changes = 0;
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(changes, 0);
}

TEST_F(ComboEditFixture, TheButtonWhileOpenTakesTheValueAndDoesNotReopen) {
    ClickButton();
    ASSERT_TRUE(edit->PopupVisible());
    popup->value = "picked";
    ClickButton();  // the press lands outside the open list
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(edit->Text(), "picked");
    EXPECT_EQ(buttonClicks, 1);
}

TEST_F(ComboEditFixture, APressElsewhereClosesTheListWithoutItsValue) {
    for (QWidget* target : {static_cast<QWidget*>(&host), static_cast<QWidget*>(edit)}) {
        edit->SetText("kept");
        ClickButton();
        ASSERT_TRUE(edit->PopupVisible());
        popup->value = "dropped";
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_FALSE(edit->PopupVisible());
        EXPECT_EQ(edit->Text(), "kept");
    }
    // A click inside the list closes it with its value.
    ClickButton();
    popup->value = "inside";
    QTest::mouseClick(popup, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_EQ(edit->Text(), "inside");
}

TEST_F(ComboEditFixture, AListClosedByTheWindowSystemIsARejection) {
    edit->SetText("kept");
    ClickButton();
    popup->value = "dropped";
    popup->hide();  // as when another program comes to the front
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_FALSE(edit->isReadOnly());
    EXPECT_EQ(edit->Text(), "kept");
    ClickButton();  // and it opens again
    EXPECT_TRUE(edit->PopupVisible());
}

TEST_F(ComboEditFixture, ReadOnlyOpensNothing) {
    edit->SetReadOnly(true);
    EXPECT_TRUE(edit->isReadOnly());
    ClickButton();
    AltDown();
    EXPECT_FALSE(edit->PopupVisible());
    EXPECT_EQ(buttonClicks, 0);
    edit->SetReadOnly(false);
    edit->SetDirectInput(false);  // typing is off, the list still opens
    EXPECT_TRUE(edit->isReadOnly());
    AltDown();
    EXPECT_TRUE(edit->PopupVisible());
}

TEST_F(ComboEditFixture, AnotherClickKeyOpensTheList) {
    edit->SetClickKey(VK_F4);
    AltDown();
    EXPECT_FALSE(edit->PopupVisible());
    QTest::keyClick(edit, Qt::Key_F4);
    EXPECT_TRUE(edit->PopupVisible());
    EXPECT_EQ(ShortCut(VK_DOWN, {ssAlt}), 32808);
}

TEST_F(ComboEditFixture, ButtonWidthBelowTwoHidesTheButton) {
    EXPECT_EQ(edit->ButtonWidth(), 21);
    EXPECT_TRUE(edit->ButtonHolder()->isVisible());
    for (int width : {1, 0}) {
        edit->SetButtonWidth(width);
        EXPECT_FALSE(edit->ButtonHolder()->isVisible()) << width;
    }
    edit->SetButtonWidth(30);
    EXPECT_TRUE(edit->ButtonHolder()->isVisible());
    EXPECT_EQ(edit->ButtonWidth(), 30);
    // Inside the border on the right, over the client area's height.
    EXPECT_EQ(edit->ButtonHolder()->geometry(), QRect(121 - 2 - 30, 2, 30, 17));
    edit->SetButtonWidth(500);  // wider than the edit: refused
    EXPECT_EQ(edit->ButtonWidth(), 30);
    // Without its button, Alt+Down still opens the list only while the button has a width.
    edit->SetButtonWidth(0);
    AltDown();
    EXPECT_FALSE(edit->PopupVisible());
}

TEST_F(ComboEditFixture, GlyphKindsDrawTheirOwnPictures) {
    edit->SetGlyphKind(gkEllipsis);
    const TBitmap& dots = edit->Glyph();
    ASSERT_EQ(dots.Width(), 21 - 6);
    ASSERT_EQ(dots.Height(), 4);
    // Three 2 × 2 squares: the gap is held to 3, then centred.
    std::string row;
    for (int x = 0; x < dots.Width(); ++x)
        row += test::PixelAt(dots.Image(), x, 1) == clBlack ? '#' : '.';
    EXPECT_EQ(row, ".##...##...##..");
    EXPECT_EQ(edit->NumGlyphs(), 1);
    edit->SetNumGlyphs(3);
    EXPECT_EQ(edit->NumGlyphs(), 1);
    edit->SetGlyphKind(gkDropDown);
    EXPECT_EQ(edit->ButtonWidth(), GetScrollBarWidth());
    EXPECT_EQ(edit->Glyph().Width(), 7);
    edit->SetGlyph(LoadZcBitmap("NEXT2"));
    EXPECT_EQ(edit->GlyphKind(), gkCustom);
    edit->SetNumGlyphs(2);
    EXPECT_EQ(edit->NumGlyphs(), 2);
}

TEST_F(ComboEditFixture, EnterAndEscapeWithoutAListGoToTheForm) {
    QDialog dialog;
    auto* inDialog = new ComboEdit(&dialog);
    int accepted = 0, rejected = 0;
    QObject::connect(&dialog, &QDialog::accepted, [&] { ++accepted; });
    QObject::connect(&dialog, &QDialog::rejected, [&] { ++rejected; });
    auto* ok = new QPushButton("OK", &dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    dialog.show();
    QTest::keyClick(inDialog, Qt::Key_Return);
    EXPECT_EQ(accepted, 1);
    dialog.show();
    QTest::keyClick(inDialog, Qt::Key_Escape);
    EXPECT_EQ(rejected, 1);
}
