#include "platform/qt/PopupMenu.h"

#include <QMenu>
#include <QPointer>

namespace zeko {

TMenuItem& TPopupMenu::Add(const std::string& caption, int tag, std::function<void(TMenuItem&)> onClick,
                           bool radioItem) {
    auto item = std::make_unique<TMenuItem>();
    item->Caption = caption;
    item->Tag = tag;
    item->RadioItem = radioItem;
    item->OnClick = std::move(onClick);
    items_.push_back(std::move(item));
    return *items_.back();
}

void TPopupMenu::Clear() {
    items_.clear();
    ++generation_;
}

void TPopupMenu::SetChecked(TMenuItem& item, bool checked) {
    if (checked && item.RadioItem)
        for (auto& other : items_)
            if (other.get() != &item && other->RadioItem)
                other->checked_ = false;
    item.checked_ = checked;
}

void TPopupMenu::Click(int index) {
    if (index < 0 || index >= Count())
        return;
    TMenuItem& item = Items(index);
    if (item.OnClick)
        item.OnClick(item);
}

QMenu* TPopupMenu::Popup(QWidget* owner, int screenX, int screenY) {
    auto* menu = new QMenu(owner);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (int i = 0; i < Count(); ++i) {
        const TMenuItem& item = Items(i);
        if (item.IsLine()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromStdString(item.Caption));
        action->setCheckable(item.Checked());
        action->setChecked(item.Checked());
        // The items may be rebuilt while the menu is open; a stale choice is lost.
        QObject::connect(action, &QAction::triggered, menu, [this, i, generation = generation_] {
            if (generation_ == generation)
                Click(i);
        });
    }
    menu->popup(QPoint(screenX, screenY));
    return menu;
}

} // namespace zeko
