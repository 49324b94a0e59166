#include "platform/qt/Menus.h"

#include <QMouseEvent>

namespace zeko {

TPopupMenu::TPopupMenu(QWidget* parent) : QMenu(parent) {}

QPoint TPopupMenu::PopupOrigin(int x, int y) const {
    const int width = sizeHint().width();
    switch (alignment_) {
    case paRight: return {x - width, y};
    case paCenter: return {x - width / 2, y};
    default: return {x, y};
    }
}

void TPopupMenu::Popup(int x, int y) {
    setAttribute(Qt::WA_NoMouseReplay, false);
    exec(PopupOrigin(x, y));
}

bool TPopupMenu::event(QEvent* event) {
    // Qt hands a press outside a pop-up on to the control under it once the
    // pop-up has closed; over the popup component that would open the menu again.
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint global = mouse->globalPosition().toPoint();
        if (!rect().contains(mouse->position().toPoint()) && popupComponent_ &&
            QRect(popupComponent_->mapToGlobal(QPoint(0, 0)), popupComponent_->size()).contains(global))
            setAttribute(Qt::WA_NoMouseReplay, true);
    }
    return QMenu::event(event);
}

} // namespace zeko
