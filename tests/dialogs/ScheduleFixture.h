#pragma once
// A schedule editor in a program folder of its own, with the message boxes and
// input boxes answered from the test, the clock fixed, and keys given to whatever
// has the focus as the keyboard gives them.
#include "core/HistoryFormat.h"
#include "core/Schedules.h"
#include "platform/DateTime.h"
#include "platform/FormatSettings.h"
#include "platform/Notifier.h"
#include "platform/UserDialogs.h"
#include "support/QtApp.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zeko::test {

// 12 March 2026 09:30:15, a Thursday.
inline TDateTime FixedNow() { return EncodeDate(2026, 3, 12) + EncodeTime(9, 30, 15); }

template <typename Form>
struct ScheduleFixture : ::testing::Test {
    ScheduleFixture() {
        QtApp();
        FormatSettings().ShortDateFormat = "dd/mm/yyyy";
        FormatSettings().DateSeparator = '.';
        FormatSettings().TimeSeparator = ':';
        SetNowOverride(FixedNow());
        SetDialogs(&dialogs);
    }
    ~ScheduleFixture() override {
        form.reset();
        SetDialogs(nullptr);
        SetNowOverride(std::nullopt);
        FormatSettings() = saved;
    }

    void WriteHistory(const char* name, const THistoryList& history) {
        std::string bytes;
        for (const THistoryRecord& r : history) {
            std::vector<uint8_t> b;
            r.AppendBytes(b);
            bytes.append(b.begin(), b.end());
        }
        dir.Write(name, bytes);
    }

    // The dialog shown and active, as the main window shows it.
    Form& Open() {
        form = std::make_unique<Form>();
        form->show();
        form->activateWindow();
        EXPECT_TRUE(ProcessEventsUntil([&] { return form->isActiveWindow(); }));
        return *form;
    }

    QWidget* Focus() const { return QApplication::focusWidget() ? QApplication::focusWidget() : form.get(); }
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QString text = key == Qt::Key_Return ? "\r" : key == Qt::Key_Escape ? "\x1b" : "";
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(Focus(), &press);
        QApplication::processEvents();
    }
    void Type(const QString& text) {
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, c.isLetterOrNumber() ? int(c.toUpper().unicode()) : int(c.unicode()),
                            Qt::NoModifier, QString(c));
            QApplication::sendEvent(Focus(), &press);
        }
        QApplication::processEvents();
    }
    // Lets the queued reactions to a focus change run (the report of a refused band).
    void Settle() {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }

    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& m : notifier.Messages())
            texts.push_back(m.Text);
        return texts;
    }

    void SavePicture(QWidget& window, const std::string& name) {
        QDir().mkpath(ZEKO_ARTEFACT_DIR);
        EXPECT_TRUE(window.grab().save(QString(ZEKO_ARTEFACT_DIR) + "/" + QString::fromStdString(name)));
    }

    TempDir dir{true};
    ScopedLoggingNotifier notifier;
    ScriptedDialogs dialogs;
    std::unique_ptr<Form> form;
    TFormatSettings saved = FormatSettings();
};

} // namespace zeko::test
