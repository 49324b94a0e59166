#pragma once
// A picture of the next message box the program shows, for a person to look at:
// the box is saved as a PNG, its text kept, and one of its buttons pressed.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace zeko::test {

// Watches for the next modal message box; saves it as `path`, puts its text into
// `text` and presses the button whose caption (without '&') is `button`.
inline void GrabNextMessageBox(const QString& path, const QString& button, QString& text) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, path, button, &text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        text = box->text();
        box->grab().save(path);
        for (QAbstractButton* b : box->buttons())
            if (b->text().remove('&') == button)
                b->click();
    });
    poll->start(5);
}

} // namespace zeko::test
