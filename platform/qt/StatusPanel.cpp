#include "platform/qt/StatusPanel.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

namespace zeko {

TStatusPanel::TStatusPanel(QWidget* parent) : QLabel(parent) {}

void TStatusPanel::SetText(const QString& text) {
    setText(text);
    UpdateToolTip();
}

QString TStatusPanel::ShownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width() - 2 * margin());
}

QSize TStatusPanel::minimumSizeHint() const { return {0, QLabel::minimumSizeHint().height()}; }

void TStatusPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(&painter);
    const QRect room = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&painter, room, static_cast<int>(QStyle::visualAlignment(layoutDirection(), alignment())),
                          palette(), isEnabled(), ShownText(), foregroundRole());
}

void TStatusPanel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    UpdateToolTip();
}

void TStatusPanel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        UpdateToolTip();
}

void TStatusPanel::UpdateToolTip() { setToolTip(ShownText() == text() ? QString() : text()); }

} // namespace zeko
