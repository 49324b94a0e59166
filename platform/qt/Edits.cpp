#include "platform/qt/Edits.h"

#include "platform/qt/GraphicControl.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

#include "platform/qt/QtText.h"

namespace zeko {

TCustomEdit::TCustomEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, [this] { Change(); });
}

std::string TCustomEdit::Text() const { return text().toStdString(); }

void TCustomEdit::SetText(const std::string& text) {
    // Writing the same text again leaves the edit alone, Modified included.
    const QString next = QString::fromStdString(text);
    if (next != this->text())
        setText(next);
}

void TCustomEdit::SetAlignment(TAlignment value) {
    alignment_ = value;
    const Qt::Alignment horizontal =
        value == taRightJustify ? Qt::AlignRight : value == taCenter ? Qt::AlignHCenter : Qt::AlignLeft;
    setAlignment(horizontal | Qt::AlignVCenter);
}

void TCustomEdit::SetEditRect(const TRect& r) {
    setTextMargins(r.Left, r.Top, std::max(0, ClientWidth() - r.Right), 0);
}

int TCustomEdit::MinHeight() const {
    constexpr int BorderHeight = 1;  // the system's thin border
    return QFontMetrics(font()).height() + 4 * BorderHeight + 1;
}

bool TCustomEdit::RaiseToMinHeight() {
    const int least = MinHeight();
    if (height() >= least)
        return false;
    resize(width(), least);
    return true;
}

void TCustomEdit::Change() {
    if (OnChange)
        OnChange(this);
}

void TCustomEdit::KeyDown(uint16_t& key, TShiftState shift) {
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
}

void TCustomEdit::KeyPress(char32_t& key) {
    if (OnKeyPress)
        OnKeyPress(this, key);
}

void TCustomEdit::DoEnter() {
    if (OnEnter)
        OnEnter(this);
}

void TCustomEdit::DoExit() {
    if (OnExit)
        OnExit(this);
}

void TCustomEdit::keyPressEvent(QKeyEvent* event) {
    passToForm_ = false;
    uint16_t key = VirtualKeyOf(*event);
    const char32_t typed = CharOf(*event);
    char32_t ch = typed;
    if (key != 0)
        KeyDown(key, ShiftStateOf(event->modifiers()));
    const bool keyConsumed = key == 0;
    if (ch != 0)
        KeyPress(ch);
    if (passToForm_) {
        event->ignore();
        return;
    }
    if (typed != 0) {
        if (ch == 0) {
            event->accept();
            return;
        }
        // A replaced character, or one whose key KeyDown consumed, is typed here.
        if (ch != typed || keyConsumed) {
            if (EditsText(ch) && ch != CH_BACK)
                TypeCharacter(ch);
            event->accept();
            return;
        }
    } else if (keyConsumed) {
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)) {
        if (event->matches(QKeySequence::Paste))
            PasteFromClipboard();
        else
            CutToClipboard();
        event->accept();
        return;
    }
    EditKey(event);
}

void TCustomEdit::TypeCharacter(char32_t ch) {
    if (!isReadOnly())
        insert(QString::fromUcs4(&ch, 1));
}

// A popup (a menu, a drop-down) takes the keyboard for a while without the focus
// leaving the edit, as the class library's drop-downs never took it: that is no
// exit and no entering.
void TCustomEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (event->reason() == Qt::PopupFocusReason)
        return;
    if (autoSelect_ && !LeftButtonHeld())
        SelectAll();
    DoEnter();
}

void TCustomEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        DoExit();
}

void TCustomEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        EnabledChanged();
}

void TCustomEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    Resized();
}

void TCustomEdit::CutToClipboard() {
    if (CanPasteOrCut())
        cut();
}

void TCustomEdit::PasteFromClipboard() {
    if (CanPasteOrCut())
        paste();
}

void TCustomEdit::DeleteSelection() {
    if (CanPasteOrCut())
        del();
}

QMenu* TCustomEdit::CreateContextMenu() {
    auto* menu = new QMenu(this);
    const bool selected = hasSelectedText();
    const bool changeable = CanPasteOrCut();
    auto add = [&](const char* name, const char* text, bool enabled, auto handler) {
        QAction* action = menu->addAction(U(text));
        action->setObjectName(QLatin1String(name));
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, handler);
    };
    add("edit-undo", "&Zpět", isUndoAvailable() && !isReadOnly(), [this] { undo(); });
    menu->addSeparator();
    add("edit-cut", "Vyj&mout", selected && changeable, [this] { CutToClipboard(); });
    add("edit-copy", "&Kopírovat", selected && echoMode() == Normal, [this] { copy(); });
    add("edit-paste", "&Vložit", changeable && !QGuiApplication::clipboard()->text().isEmpty(),
        [this] { PasteFromClipboard(); });
    add("edit-delete", "&Odstranit", selected && changeable, [this] { DeleteSelection(); });
    menu->addSeparator();
    add("select-all", "Vybrat &vše", !text().isEmpty(), [this] { SelectAll(); });
    return menu;
}

void TCustomEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

} // namespace zeko
