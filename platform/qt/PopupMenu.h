#pragma once
// The class library's popup menu: a list of items (caption, Tag, check mark,
// click handler) that the owner builds and changes as plain data, and shows at a
// screen point when the user asks for it. A caption "-" is a separator. Checking a
// radio item unchecks the other radio items of the menu, as one group does.
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMenu;
class QWidget;

namespace zeko {

class TMenuItem {
public:
    std::string Caption;
    int Tag = 0;
    bool RadioItem = false;
    std::function<void(TMenuItem&)> OnClick;

    bool Checked() const { return checked_; }
    bool IsLine() const { return Caption == "-"; }

private:
    friend class TPopupMenu;
    bool checked_ = false;
};

class TPopupMenu {
public:
    TMenuItem& Add(const std::string& caption, int tag, std::function<void(TMenuItem&)> onClick,
                   bool radioItem = true);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem& Items(int index) { return *items_.at(static_cast<size_t>(index)); }
    const TMenuItem& Items(int index) const { return *items_.at(static_cast<size_t>(index)); }
    void SetChecked(TMenuItem& item, bool checked);
    // What choosing the item at `index` does: its click handler runs.
    void Click(int index);
    // Shows the menu at the screen point, without waiting for the choice; the
    // handler of the chosen item runs later. Answers the menu on the screen.
    QMenu* Popup(QWidget* owner, int screenX, int screenY);

private:
    std::vector<std::unique_ptr<TMenuItem>> items_;
    unsigned generation_ = 0;  // counts the rebuilds, so a menu on the screen knows its items
};

} // namespace zeko
