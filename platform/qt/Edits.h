#pragma once
// TCustomEdit: the class library's one-line edit on a Qt line edit. Keys reach the
// class library's handlers first: KeyDown may consume a key (set it to 0), KeyPress
// may drop or replace the character it types; what is left is edited as usual.
// Enter and Escape go on to the form (its default and cancel buttons) unless a
// handler consumed them. The edit rectangle keeps the text clear of buttons that a
// descendant places inside the edit.
#include <QLineEdit>

class QMenu;

#include <functional>
#include <string>

#include "platform/Graphics.h"
#include "platform/Keys.h"
#include "platform/qt/QtInput.h"

namespace zeko {

class TCustomEdit : public QLineEdit, public TInputHandlers {
public:
    explicit TCustomEdit(QWidget* parent = nullptr);

    virtual std::string Text() const;
    virtual void SetText(const std::string& text);  // Change runs when the text differs; Modified clears
    bool Modified() const { return isModified(); }
    void SetModified(bool value) { setModified(value); }
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool value) { setReadOnly(value); }
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool value) { autoSelect_ = value; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool value) { setEnabled(value); }
    virtual void SelectAll() { selectAll(); }
    // The edit's context menu, as the system's edit control has it (the caller owns
    // it); its actions are named "edit-undo", "edit-cut", "edit-copy", "edit-paste",
    // "edit-delete" and "select-all".
    QMenu* CreateContextMenu();
    bool TabStop() const { return focusPolicy() & Qt::TabFocus; }
    bool CanFocus() const { return isEnabled() && isVisible(); }

    int Width() const { return width(); }
    int Height() const { return height(); }
    // The edit's 3-D border and the area inside it.
    int BorderWidth() const { return hasFrame() ? 2 : 0; }
    int ClientWidth() const { return width() - 2 * BorderWidth(); }
    int ClientHeight() const { return height() - 2 * BorderWidth(); }
    // Where the text may lie, in client coordinates.
    void SetEditRect(const TRect& r);
    // The least height that shows a line of the font inside the border.
    int MinHeight() const;

    std::function<void(TCustomEdit*)> OnChange, OnEnter, OnExit;
    std::function<void(TCustomEdit*, uint16_t& key, TShiftState)> OnKeyDown;
    std::function<void(TCustomEdit*, char32_t& key)> OnKeyPress;

    // Runs OnChange; called after every change of the text.
    virtual void Change();
    void KeyDown(uint16_t& key, TShiftState shift) override;  // raises OnKeyDown
    void KeyPress(char32_t& key) override;                    // raises OnKeyPress
    void DoEnter() override;                                  // raises OnEnter
    void DoExit() override;                                   // raises OnExit

protected:
    // Whether pasting and cutting may change the text.
    virtual bool CanPasteOrCut() const { return !isReadOnly(); }
    // A character the handlers left (or put) into a key press goes into the text.
    virtual void TypeCharacter(char32_t ch);
    // The line edit's own handling of a key press the handlers left alone: moving
    // the cursor, selecting, typing, deleting, the clipboard.
    virtual void EditKey(QKeyEvent* event) { QLineEdit::keyPressEvent(event); }
    // The clipboard operations of the keys and the context menu; nothing when
    // CanPasteOrCut refuses.
    virtual void CutToClipboard();
    virtual void PasteFromClipboard();
    virtual void DeleteSelection();
    // From KeyPress: the key of the current press goes on to the form as its
    // dialog key (Enter for the default button, Escape for the cancel button).
    void PassToForm() { passToForm_ = true; }
    virtual void EnabledChanged() {}
    virtual void Resized() {}
    // Raises a height below MinHeight to it (Resized comes again); answers whether
    // it did.
    bool RaiseToMinHeight();

    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool autoSelect_ = true;
    bool passToForm_ = false;
    TAlignment alignment_ = taLeftJustify;
};

} // namespace zeko
