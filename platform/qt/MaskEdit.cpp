#include "platform/qt/MaskEdit.h"

#include "platform/Exceptions.h"
#include "platform/Notifier.h"
#include "platform/Utf8.h"
#include "platform/qt/Grids.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QSignalBlocker>

namespace zeko {
namespace {

QString FromU32(const std::u32string& text) {
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

std::u32string ToU32(const QString& text) { return text.toStdU32String(); }

bool IsHistoryKey(QKeyEvent* event) {
    return event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo);
}

} // namespace

TCustomMaskEdit::TCustomMaskEdit(QWidget* parent) : TCustomEdit(parent) {}

void TCustomMaskEdit::SetEditMask(const std::string& mask) {
    const std::string kept = Text();
    editMask_ = mask;
    mask_ = TEditMask(mask);
    // A mask's places take no drops and no composed input: every change goes
    // through the places.
    setAcceptDrops(!IsMasked());
    setAttribute(Qt::WA_InputMethodEnabled, !IsMasked());
    const bool modified = Modified();
    const QSignalBlocker quiet(this);
    setText(IsMasked() ? FromU32(mask_.Fit(Utf8ToUtf32(kept))) : QString::fromStdString(kept));
    SetModified(modified);
}

std::u32string TCustomMaskEdit::Shown() const { return ToU32(text()); }

std::string TCustomMaskEdit::Text() const {
    if (!IsMasked())
        return TCustomEdit::Text();
    return Utf32ToUtf8(mask_.Stored(Shown()));
}

std::string TCustomMaskEdit::EditText() const { return TCustomEdit::Text(); }

void TCustomMaskEdit::SetText(const std::string& text) {
    TCustomEdit::SetText(IsMasked() ? Utf32ToUtf8(mask_.Fit(Utf8ToUtf32(text))) : text);
}

size_t TCustomMaskEdit::SelStart() const {
    return static_cast<size_t>(hasSelectedText() ? selectionStart() : cursorPosition());
}

size_t TCustomMaskEdit::SelLength() const { return static_cast<size_t>(hasSelectedText() ? selectionLength() : 0); }

void TCustomMaskEdit::Apply(const TEditMask::Edit& edit) {
    if (!edit.Replacement.empty()) {
        // Replacing a selection is an edit of the user's: it marks the edit
        // modified and can be undone.
        setSelection(static_cast<int>(edit.Start), static_cast<int>(edit.Replacement.size()));
        insert(FromU32(edit.Replacement));
    }
    setCursorPosition(static_cast<int>(edit.Cursor));
}

void TCustomMaskEdit::TypeCharacter(char32_t ch) {
    if (!IsMasked() || isReadOnly()) {
        TCustomEdit::TypeCharacter(ch);
        return;
    }
    if (const auto edit = mask_.Type(Shown(), SelStart(), SelLength(), ch))
        Apply(*edit);
    else
        MessageBeep();
}

void TCustomMaskEdit::Erase(bool backward) { Apply(mask_.Erase(Shown(), SelStart(), SelLength(), backward)); }

void TCustomMaskEdit::CutToClipboard() {
    if (!IsMasked()) {
        TCustomEdit::CutToClipboard();
        return;
    }
    if (!hasSelectedText() || !CanPasteOrCut())
        return;
    QGuiApplication::clipboard()->setText(selectedText());
    Erase(false);
}

void TCustomMaskEdit::PasteFromClipboard() {
    if (!IsMasked()) {
        TCustomEdit::PasteFromClipboard();
        return;
    }
    if (CanPasteOrCut())
        Apply(mask_.Paste(Shown(), SelStart(), SelLength(), ToU32(QGuiApplication::clipboard()->text())));
}

void TCustomMaskEdit::DeleteSelection() {
    if (!IsMasked()) {
        TCustomEdit::DeleteSelection();
        return;
    }
    if (hasSelectedText() && CanPasteOrCut())
        Erase(false);
}

void TCustomMaskEdit::EditKey(QKeyEvent* event) {
    if (!IsMasked() || isReadOnly()) {
        TCustomEdit::EditKey(event);
        return;
    }
    event->accept();
    const bool noModifier = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (noModifier && (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)) {
        Erase(event->key() == Qt::Key_Backspace);
        return;
    }
    const char32_t typed = CharOf(*event);
    if (EditsText(typed) && typed != CH_BACK) {
        TypeCharacter(typed);
        return;
    }
    // Anything else moves the cursor, selects, copies or goes back in the history,
    // whose states are all whole masked texts; a key that would edit the text
    // otherwise (deleting words, say) is undone.
    const QString before = text();
    {
        const QSignalBlocker quiet(this);
        TCustomEdit::EditKey(event);
        if (!IsHistoryKey(event) && text() != before) {
            const bool modified = Modified();
            const int cursor = cursorPosition();
            setText(before);
            SetModified(modified);
            setCursorPosition(cursor);
        }
    }
    if (text() != before)
        Change();
}

void TCustomMaskEdit::ValidateEdit() {
    if (!IsMasked())
        return;
    const size_t missing = mask_.MissingPlace(Shown());
    if (missing == std::u32string::npos)
        return;
    setCursorPosition(static_cast<int>(missing));
    throw EConvertError("Invalid input value");
}

bool TCustomMaskEdit::PassesExitCheck(const std::function<void()>& check) {
    std::string message;
    try {
        check();
        return true;
    } catch (const EConvertError& error) {
        message = error.what();
    }
    errorPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this, message] {
            errorPending_ = false;
            if (CanFocus())
                setFocus(Qt::OtherFocusReason);
            // Entering selects the text; the cursor goes back to a place left blank.
            if (IsMasked() && mask_.MissingPlace(Shown()) != std::u32string::npos)
                setCursorPosition(static_cast<int>(mask_.MissingPlace(Shown())));
            ShowException(EConvertError(message));
        },
        Qt::QueuedConnection);
    return false;
}

void TCustomMaskEdit::DoExit() {
    if (PassesExitCheck([this] { ValidateEdit(); }))
        TCustomEdit::DoExit();
}

} // namespace zeko
