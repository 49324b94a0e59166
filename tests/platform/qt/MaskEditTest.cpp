// The masked edit: typing, removing and pasting through the places of its mask,
// the texts it reads back, and leaving it with a required place blank.
#include "platform/FormatSettings.h"
#include "platform/Notifier.h"
#include "platform/qt/MaskEdit.h"

#include "support/QtApp.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>

#include <gtest/gtest.h>

#include <memory>

using namespace zeko;
using zeko::test::ProcessEventsUntil;

namespace {

constexpr const char* DateMask = "!99/99/9999;1; ";

using MaskEdit = TCustomMaskEdit;

struct MaskEditTest : ::testing::Test {
    MaskEditTest() {
        zeko::test::QtApp();
        FormatSettings() = TFormatSettings();
        host.resize(300, 100);
        edit = new MaskEdit(&host);
        edit->setGeometry(10, 10, 120, 21);
        other = new TCustomEdit(&host);
        other->setGeometry(10, 40, 120, 21);
        edit->OnChange = [this](TCustomEdit*) { ++changes; };
        host.show();
        host.activateWindow();
        ProcessEventsUntil([this] { return host.isActiveWindow(); });
        edit->SetEditMask(DateMask);
        edit->setFocus();
        changes = 0;
    }
    ~MaskEditTest() override { FormatSettings() = TFormatSettings(); }

    void Key(int key, Qt::KeyboardModifiers modifiers = {}, const QString& text = {}) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        QCoreApplication::sendEvent(edit, &event);
    }
    void Type(const QString& text) {
        for (QChar c : text) {
            const int key = c.isDigit() ? Qt::Key_0 + c.digitValue() : c == '.' ? Qt::Key_Period : Qt::Key_A;
            Key(key, {}, QString(c));
        }
    }

    ScopedLoggingNotifier notifier;
    QWidget host;
    MaskEdit* edit;
    TCustomEdit* other;
    int changes = 0;
};

} // namespace

TEST_F(MaskEditTest, AnEmptyMaskedEditShowsItsLiteralsBetweenBlanks) {
    EXPECT_EQ(edit->EditText(), "  .  .    ");
    EXPECT_EQ(edit->Text(), "  .  .    ");
    EXPECT_TRUE(edit->IsMasked());
}

TEST_F(MaskEditTest, TypedDigitsFillThePlacesOneByOne) {
    edit->setCursorPosition(0);
    Type("12032026");
    EXPECT_EQ(edit->Text(), "12.03.2026");
    EXPECT_TRUE(edit->Modified());
    EXPECT_EQ(changes, 8);  // one change per typed digit
    EXPECT_EQ(edit->cursorPosition(), 10);
    Key(Qt::Key_1, {}, "1");  // past the last place
    EXPECT_EQ(edit->Text(), "12.03.2026");
    edit->setCursorPosition(0);
    Type("x");  // no digit: refused
    EXPECT_EQ(edit->Text(), "12.03.2026");
    Type("5");  // typing overwrites
    EXPECT_EQ(edit->Text(), "52.03.2026");
}

TEST_F(MaskEditTest, SeparatorsTypedEarlyLeaveTheFieldBlank) {
    edit->setCursorPosition(0);
    Type("5.3.2026");
    EXPECT_EQ(edit->Text(), "5 .3 .2026");
    edit->SetText("");
    edit->setCursorPosition(0);
    Type("12.03.2026");  // separators right behind their place are taken as typed
    EXPECT_EQ(edit->Text(), "12.03.2026");
}

TEST_F(MaskEditTest, RemovingKeepsTheLiteralsInPlace) {
    edit->SetText("12.03.2026");
    edit->setCursorPosition(10);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(edit->Text(), "12.03.202 ");
    EXPECT_EQ(edit->cursorPosition(), 9);
    edit->setCursorPosition(0);
    Key(Qt::Key_Delete);
    EXPECT_EQ(edit->Text(), "2 .03.202 ");
    edit->selectAll();
    Key(Qt::Key_Delete);
    EXPECT_EQ(edit->Text(), "  .  .    ");
    // Keys that would take whole words out would break the places: they do nothing.
    edit->SetText("12.03.2026");
    edit->setCursorPosition(5);
    Key(Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), "12.03.2026");
}

TEST_F(MaskEditTest, UndoGoesBackToWholeMaskedTexts) {
    edit->setCursorPosition(0);
    Type("12");
    ASSERT_EQ(edit->Text(), "12.  .    ");
    Key(Qt::Key_Z, Qt::ControlModifier);
    const std::string undone = edit->Text();
    EXPECT_TRUE(undone == "1 .  .    " || undone == "  .  .    ") << undone;
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), "12.  .    ");
}

TEST_F(MaskEditTest, PasteAndCutGoThroughThePlaces) {
    QGuiApplication::clipboard()->setText("5.3.2026");
    edit->setCursorPosition(0);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), "5 .3 .2026");
    edit->setSelection(6, 4);
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "2026");
    EXPECT_EQ(edit->Text(), "5 .3 .    ");
    // The context menu's paste and delete take the same way.
    QGuiApplication::clipboard()->setText("1.1.2000");
    edit->SetText("");
    edit->setCursorPosition(0);
    std::unique_ptr<QMenu> menu(edit->CreateContextMenu());
    menu->findChild<QAction*>("edit-paste")->trigger();
    EXPECT_EQ(edit->Text(), "1 .1 .2000");
    edit->setSelection(0, 3);
    menu.reset(edit->CreateContextMenu());
    menu->findChild<QAction*>("edit-delete")->trigger();
    EXPECT_EQ(edit->Text(), "  .1 .2000");
}

TEST_F(MaskEditTest, TheMenuChangesNothingAReadOnlyEditShows) {
    QGuiApplication::clipboard()->setText("1.1.2000");
    edit->SetText("12.03.2026");
    edit->selectAll();
    edit->setReadOnly(true);
    std::unique_ptr<QMenu> menu(edit->CreateContextMenu());
    for (const char* name : {"edit-undo", "edit-cut", "edit-paste", "edit-delete"})
        EXPECT_FALSE(menu->findChild<QAction*>(name)->isEnabled()) << name;
    EXPECT_TRUE(menu->findChild<QAction*>("edit-copy")->isEnabled());
    EXPECT_TRUE(menu->findChild<QAction*>("select-all")->isEnabled());
    Key(Qt::Key_V, Qt::ControlModifier);
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit->Text(), "12.03.2026");
}

TEST_F(MaskEditTest, TextsArePutOntoTheMaskAndReadBackWithOrWithoutLiterals) {
    edit->SetText("1203");
    EXPECT_EQ(edit->Text(), "12.03.    ");
    EXPECT_FALSE(edit->Modified());
    edit->SetEditMask("99/99;0;_");
    EXPECT_EQ(edit->EditText(), "12.03");
    EXPECT_EQ(edit->Text(), "1203");
    edit->SetEditMask("");
    EXPECT_FALSE(edit->IsMasked());
    EXPECT_EQ(edit->Text(), "1203");  // a mask taken away leaves the text
}

TEST_F(MaskEditTest, LeavingWithARequiredPlaceBlankIsRefused) {
    edit->SetEditMask("00:00;1;_");
    edit->SetText("12:3");
    int exits = 0;
    edit->OnExit = [&](TCustomEdit*) { ++exits; };
    other->setFocus();
    ProcessEventsUntil([&] { return notifier.Count() > 0; });
    ASSERT_EQ(notifier.Count(), 1u);
    EXPECT_EQ(notifier.Messages()[0].Text, "Invalid input value");
    ProcessEventsUntil([&] { return edit->hasFocus(); });
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->cursorPosition(), 4);
    EXPECT_EQ(exits, 0);
    edit->SetText("12:34");
    other->setFocus();
    ProcessEventsUntil([&] { return other->hasFocus(); });
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(notifier.Count(), 1u);
}
