#pragma once
// What a person sees wrong in a window as it is shown: a text that its label or
// button cuts off, and two visible controls lying on top of each other. Each fault
// is one line for the test's message.
#include <QAbstractButton>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QWidget>

#include <string>
#include <vector>

namespace zeko::test {

inline std::string NameOf(const QWidget* w) {
    return w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName().toStdString();
}

// The text as it shows, without the mnemonic marks.
inline QString ShownText(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

inline std::vector<std::string> LayoutFaults(const QWidget* window) {
    std::vector<std::string> faults;
    std::vector<const QWidget*> shown;
    for (const QWidget* w : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isVisibleTo(window) && !w->isWindow())
            shown.push_back(w);
    for (const QWidget* w : shown) {
        QString text;
        int room = 0;
        if (const auto* label = qobject_cast<const QLabel*>(w); label && !label->wordWrap()) {
            text = ShownText(label->text());
            room = label->contentsRect().width() - 2 * label->margin();
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            text = ShownText(button->text());
            room = button->width() - 2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) -
                   (button->icon().isNull() ? 0 : button->iconSize().width());
        }
        if (!text.isEmpty() && QFontMetrics(w->font()).horizontalAdvance(text) > room)
            faults.push_back(NameOf(w) + " cuts \"" + text.toStdString() + "\"");
        if (w->geometry().right() >= window->width() || w->geometry().bottom() >= window->height())
            faults.push_back(NameOf(w) + " reaches out of the window");
    }
    for (size_t i = 0; i < shown.size(); ++i)
        for (size_t j = i + 1; j < shown.size(); ++j)
            if (shown[i]->geometry().intersects(shown[j]->geometry()))
                faults.push_back(NameOf(shown[i]) + " lies on " + NameOf(shown[j]));
    // Controls inside a plain panel or a group are checked within it.
    for (const QWidget* w : shown) {
        const QMetaObject* kind = w->metaObject();
        if (kind == &QWidget::staticMetaObject || kind == &QFrame::staticMetaObject ||
            kind == &QGroupBox::staticMetaObject)
            for (const std::string& fault : LayoutFaults(w))
                faults.push_back(NameOf(w) + ": " + fault);
    }
    return faults;
}

} // namespace zeko::test
