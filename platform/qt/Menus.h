#pragma once
// TPopupMenu: the class library's pop-up menu on a Qt menu: where it opens against
// the point it is given (Alignment), whether its control opens it by itself
// (AutoPopup) and which control opened it last (PopupComponent).
#include <QMenu>
#include <QPointer>

namespace zeko {

enum TPopupAlignment : uint8_t { paLeft, paRight, paCenter };

class TPopupMenu : public QMenu {
public:
    explicit TPopupMenu(QWidget* parent = nullptr);

    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment value) { alignment_ = value; }
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool value) { autoPopup_ = value; }
    QWidget* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(QWidget* control) { popupComponent_ = control; }

    // Opens the menu at the screen point (x, y) by the alignment and returns when
    // it has closed. The press of a mouse button that closes the menu over its
    // popup component is not passed on to that component, so a click on the
    // control that opened the menu only closes it.
    virtual void Popup(int x, int y);

    // Where the menu's top-left corner goes for the point (x, y).
    QPoint PopupOrigin(int x, int y) const;

protected:
    bool event(QEvent* event) override;

private:
    TPopupAlignment alignment_ = paLeft;
    bool autoPopup_ = true;
    QPointer<QWidget> popupComponent_;
};

} // namespace zeko
