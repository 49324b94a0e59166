// The in-place editor of the grids and the grid's side of editing: showing,
// placing and hiding the editor, and taking its text.
#include "platform/qt/Grids.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>

#include <algorithm>

#include "platform/qt/QtInput.h"

namespace zeko {

// ================================================================ TInplaceEdit

TInplaceEdit::TInplaceEdit(TCustomGrid* grid) : QWidget(grid->viewport()), grid_(grid) {
    hide();
    font_.OnChange = [this] { ApplyLook(); };
    BuildTextControl();
}

TInplaceEdit::~TInplaceEdit() = default;

QWidget* TInplaceEdit::TextControl() const {
    if (multi_)
        return multi_;
    return line_;
}

void TInplaceEdit::BuildTextControl() {
    const std::string text = line_ || multi_ ? Text() : std::string();
    const int start = line_ || multi_ ? SelStart() : 0;
    const int length = line_ || multi_ ? SelLength() : 0;
    delete line_;
    delete multi_;
    line_ = nullptr;
    multi_ = nullptr;
    QWidget* control;
    if (multiline_) {
        multi_ = new QPlainTextEdit(this);
        multi_->setFrameShape(QFrame::NoFrame);
        multi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        multi_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        multi_->document()->setDocumentMargin(0);
        multi_->viewport()->installEventFilter(this);
        QObject::connect(multi_, &QPlainTextEdit::textChanged, this, [this] { TextControlChanged(); });
        control = multi_;
    } else {
        line_ = new QLineEdit(this);
        line_->setFrame(false);
        line_->setTextMargins(0, 0, 0, 0);
        line_->setContentsMargins(0, 0, 0, 0);
        QObject::connect(line_, &QLineEdit::textChanged, this, [this] { TextControlChanged(); });
        control = line_;
    }
    control->installEventFilter(this);
    setFocusProxy(control);
    settingText_ = true;
    if (multi_)
        multi_->setPlainText(QString::fromStdString(text));
    else
        line_->setText(QString::fromStdString(text));
    settingText_ = false;
    ApplyLook();
    PlaceTextControl();
    control->show();
    SetSelStart(start);
    SetSelLength(length);
}

void TInplaceEdit::ApplyLook() {
    QWidget* control = TextControl();
    if (!control)
        return;
    QPalette pal = control->palette();
    pal.setColor(QPalette::Base, ToQColor(color_));
    pal.setColor(QPalette::Window, ToQColor(color_));
    pal.setColor(QPalette::Text, ToQColor(font_.Color()));
    control->setPalette(pal);
    control->setFont(ToQFont(font_));
    const Qt::Alignment h = alignment_ == taRightJustify ? Qt::AlignRight
                            : alignment_ == taCenter     ? Qt::AlignHCenter
                                                         : Qt::AlignLeft;
    if (line_) {
        line_->setAlignment(h | Qt::AlignVCenter);
        line_->setReadOnly(readOnly_);
        line_->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
    } else {
        QTextOption option = multi_->document()->defaultTextOption();
        option.setAlignment(h);
        multi_->document()->setDefaultTextOption(option);
        multi_->setReadOnly(readOnly_);
    }
    update();
}

void TInplaceEdit::PlaceTextControl() {
    QWidget* control = TextControl();
    if (!control)
        return;
    TRect r = IsRectEmpty(formatRect_) ? ClientRect() : formatRect_;
    control->setGeometry(r.Left, r.Top, std::max(0, r.Width()), std::max(0, r.Height()));
}

std::string TInplaceEdit::Text() const {
    if (multi_)
        return multi_->toPlainText().toStdString();
    return line_ ? line_->text().toStdString() : std::string();
}

void TInplaceEdit::SetText(const std::string& text) {
    if (Text() == text)
        return;
    if (multi_)
        multi_->setPlainText(QString::fromStdString(text));
    else
        line_->setText(QString::fromStdString(text));
}

void TInplaceEdit::ShowGridText(const std::string& text) {
    if (Text() == text)
        return;
    settingText_ = true;
    SetText(text);
    settingText_ = false;
}

int TInplaceEdit::TextLength() const {
    return static_cast<int>(multi_ ? multi_->toPlainText().size() : line_->text().size());
}

int TInplaceEdit::SelStart() const {
    if (multi_)
        return multi_->textCursor().selectionStart();
    return line_->hasSelectedText() ? line_->selectionStart() : line_->cursorPosition();
}

int TInplaceEdit::SelLength() const {
    if (multi_) {
        const QTextCursor c = multi_->textCursor();
        return c.selectionEnd() - c.selectionStart();
    }
    return line_->hasSelectedText() ? line_->selectionLength() : 0;
}

void TInplaceEdit::SetSelStart(int start) {
    start = std::clamp(start, 0, TextLength());
    if (multi_) {
        QTextCursor c = multi_->textCursor();
        c.setPosition(start);
        multi_->setTextCursor(c);
    } else {
        line_->setCursorPosition(start);
    }
}

void TInplaceEdit::SetSelLength(int length) {
    const int start = SelStart();
    const int size = TextLength();
    if (length < 0)
        length = size - start;
    length = std::clamp(length, 0, size - start);
    if (multi_) {
        QTextCursor c = multi_->textCursor();
        c.setPosition(start);
        c.setPosition(start + length, QTextCursor::KeepAnchor);
        multi_->setTextCursor(c);
    } else if (length > 0) {
        line_->setSelection(start, length);
    } else {
        line_->setCursorPosition(start);
    }
}

void TInplaceEdit::SelectAll() {
    if (multi_)
        multi_->selectAll();
    else
        line_->selectAll();
}

void TInplaceEdit::Deselect() { SetSelStart(TextLength()); }

void TInplaceEdit::SetMaxLength(int length) {
    maxLength_ = std::max(0, length);
    ApplyLook();
}

void TInplaceEdit::SetReadOnly(bool value) {
    readOnly_ = value;
    ApplyLook();
}

void TInplaceEdit::SetAlignment(TAlignment value) {
    alignment_ = value;
    ApplyLook();
}

void TInplaceEdit::SetMultiline(bool value) {
    if (multiline_ == value)
        return;
    const bool focused = HasFocus();
    multiline_ = value;
    BuildTextControl();
    if (focused)
        SetFocus();
}

void TInplaceEdit::SetColor(TColor color) {
    color_ = color;
    ApplyLook();
}

TRect TInplaceEdit::ClientRect() const { return {0, 0, width(), height()}; }

void TInplaceEdit::SetFormatRect(const TRect& r) {
    formatRect_ = r;
    PlaceTextControl();
}

TPoint TInplaceEdit::ClientToScreen(TPoint p) const {
    const QPoint g = mapToGlobal(QPoint(p.X, p.Y));
    return {g.x(), g.y()};
}

void TInplaceEdit::UpdateContents() {
    settingText_ = true;
    const std::string text = grid_->GetEditText(grid_->Col(), grid_->Row());
    SetMaxLength(grid_->GetEditLimit());
    SetText(text);
    settingText_ = false;
    startText_ = text;
    modified_ = false;
    SelectAll();
}

void TInplaceEdit::UpdateLoc(const TRect& cellRect) {
    setGeometry(cellRect.Left, cellRect.Top, std::max(0, cellRect.Width()), std::max(0, cellRect.Height()));
    BoundsChanged();
}

void TInplaceEdit::Move(const TRect& cellRect) {
    UpdateLoc(cellRect);
    show();
    raise();
}

void TInplaceEdit::BoundsChanged() { SetFormatRect({2, 2, width() - 2, height()}); }

void TInplaceEdit::Hide() {
    const bool focused = HasFocus();
    hide();
    if (focused)
        grid_->setFocus();
}

void TInplaceEdit::SetFocus() {
    if (QWidget* c = TextControl())
        c->setFocus();
}

bool TInplaceEdit::HasFocus() const {
    const QWidget* f = QApplication::focusWidget();
    return f && (f == this || isAncestorOf(f));
}

void TInplaceEdit::KeyDown(uint16_t& key, TShiftState shift) {
    const bool atStart = SelStart() == 0 && SelLength() == 0;
    const bool atEnd = SelLength() == 0 && SelStart() == TextLength();
    bool toGrid = false;
    switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: toGrid = !multiline_; break;
    case VK_TAB: toGrid = grid_->Options().Contains(goTabs) && !shift.Contains(ssAlt); break;
    case VK_LEFT: toGrid = atStart && !shift.Contains(ssShift); break;
    case VK_RIGHT: toGrid = atEnd && !shift.Contains(ssShift); break;
    case VK_HOME:
    case VK_END: toGrid = shift.Contains(ssCtrl); break;
    default: break;
    }
    if (toGrid) {
        grid_->KeyDown(key, shift);
        key = 0;
    }
}

void TInplaceEdit::KeyPress(char32_t& key) {
    // The grid hears every key typed into its editor first: its OnKeyPress may drop
    // or replace it, and Enter is the grid's.
    grid_->KeyPress(key);
    switch (key) {
    case 0: break;
    case CH_RETURN: key = 0; break;
    case CH_ESCAPE:  // gives the cell its text back and ends editing
        SetText(startText_);
        SelectAll();
        if (!grid_->Options().Contains(goAlwaysShowEditor))
            grid_->HideEditor();
        key = 0;
        break;
    case CH_TAB: key = 0; break;
    default:
        if (EditsText(key) && (!grid_->CanEditModify() || readOnly_)) {
            MessageBeep();
            key = 0;
        }
        break;
    }
}

void TInplaceEdit::Change() {
    grid_->SetEditText(grid_->Col(), grid_->Row(), Text());
    grid_->EditChanged();
}

void TInplaceEdit::TextControlChanged() {
    if (settingText_)
        return;
    if (multi_ && maxLength_ > 0) {
        const QString t = multi_->toPlainText();
        if (t.size() > maxLength_) {
            settingText_ = true;
            multi_->setPlainText(t.left(maxLength_));
            multi_->moveCursor(QTextCursor::End);
            settingText_ = false;
        }
    }
    modified_ = true;
    Change();
}

void TInplaceEdit::InsertText(const std::string& text) {
    if (readOnly_)
        return;
    if (multi_)
        multi_->insertPlainText(QString::fromStdString(text));
    else
        line_->insert(QString::fromStdString(text));
}

void TInplaceEdit::TypeKey(char32_t key) {
    KeyPress(key);
    if (key == 0 || readOnly_)
        return;
    if (key == CH_BACK) {
        if (multi_)
            multi_->textCursor().deletePreviousChar();
        else
            line_->backspace();
    } else if (key >= 32 || key == CH_RETURN) {
        InsertText(QString::fromUcs4(&key, 1).toStdString());
    }
}

void TInplaceEdit::Paint(TCanvas& canvas) {
    canvas.Brush().SetColor(color_);
    canvas.Brush().SetStyle(bsSolid);
    canvas.FillRect(ClientRect());
}

void TInplaceEdit::paintEvent(QPaintEvent*) {
    TWidgetPaint paint(canvas_, this);
    Paint(canvas_);
}

void TInplaceEdit::resizeEvent(QResizeEvent*) { PlaceTextControl(); }

void TInplaceEdit::mousePressEvent(QMouseEvent* e) { DeliverMouse(*e, e->position().toPoint()); }
void TInplaceEdit::mouseMoveEvent(QMouseEvent* e) { DeliverMouse(*e, e->position().toPoint()); }
void TInplaceEdit::mouseReleaseEvent(QMouseEvent* e) { DeliverMouse(*e, e->position().toPoint()); }
void TInplaceEdit::mouseDoubleClickEvent(QMouseEvent* e) { DeliverMouse(*e, e->position().toPoint()); }

bool TInplaceEdit::HandleTextKey(QKeyEvent* event) {
    uint16_t key = VirtualKeyOf(*event);
    const TShiftState shift = ShiftStateOf(event->modifiers());
    char32_t ch = CharOf(*event);
    dropKeyPress_ = false;
    if (key != 0)
        KeyDown(key, shift);
    if (dropKeyPress_) {
        dropKeyPress_ = false;
        return true;
    }
    if (ch != 0) {
        const char32_t typed = ch;
        KeyPress(ch);
        if (ch == 0)
            return true;
        if (ch != typed || key == 0) {
            // Changed by the hook, or the key itself was consumed: type it ourselves.
            if (!readOnly_ && (ch >= 32 || ch == CH_RETURN))
                InsertText(QString::fromUcs4(&ch, 1).toStdString());
            return true;
        }
    }
    if (key == 0)
        return true;
    forwarding_ = true;
    QCoreApplication::sendEvent(TextControl(), event);
    forwarding_ = false;
    return true;
}

bool TInplaceEdit::eventFilter(QObject* watched, QEvent* event) {
    if (forwarding_)
        return false;
    QWidget* control = TextControl();
    const bool onControl = watched == control || (multi_ && watched == multi_->viewport());
    if (!onControl)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: return HandleTextKey(static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease: {
        auto* k = static_cast<QKeyEvent*>(event);
        uint16_t key = VirtualKeyOf(*k);
        KeyUp(key, ShiftStateOf(k->modifiers()));
        return key == 0;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
        // The handlers see the text control's mouse in the editor's coordinates;
        // the control then handles it as usual.
        auto* m = static_cast<QMouseEvent*>(event);
        DeliverMouse(*m, mapFromGlobal(m->globalPosition().toPoint()));
        return false;
    }
    default: return false;
    }
}

// ---------------------------------------------------------------- editor

bool TCustomGrid::CanEditShow() {
    return options_.Contains(goEditing) && !options_.Contains(goRowSelect) && editorMode_ &&
           !componentState_.Contains(csDesigning) && Col() >= cols_.fixed && Row() >= rows_.fixed &&
           Col() < ColCount() && Row() < RowCount();
}

bool TCustomGrid::CanEditAcceptKey(char32_t) { return true; }

bool TCustomGrid::CanEditModify() { return true; }

TInplaceEdit* TCustomGrid::CreateEditor() { return new TInplaceEdit(this); }

std::string TCustomGrid::GetEditText(int, int) { return {}; }

void TCustomGrid::SetEditText(int, int, const std::string&) {}

void TCustomGrid::SetEditorMode(bool value) {
    if (value)
        ShowEditor();
    else
        HideEditor();
}

void TCustomGrid::ShowEditor() {
    editorMode_ = true;
    UpdateEdit();
}

void TCustomGrid::UpdateEdit() {
    if (!editorMode_ || !CanEditShow()) {
        if (editor_ && editor_->Visible())
            editor_->Hide();
        return;
    }
    if (!editor_) {
        editor_ = CreateEditor();
        editor_->Font().Assign(font_);
        editor_->SetColor(color_);
    }
    const bool gridFocused = Focused();
    // The contents first: the layout of a descendant depends on the cell's column.
    editor_->UpdateContents();
    editor_->Move(CellRect(Col(), Row()));
    if (gridFocused)
        editor_->SetFocus();
}

void TCustomGrid::HideEditor() {
    editorMode_ = false;
    if (editor_ && editor_->Visible())
        editor_->Hide();
}

void TCustomGrid::InvalidateEditor() {
    if (editor_ && editor_->Visible())
        UpdateEdit();
}

void TCustomGrid::UpdateText() {
    if (editor_ && editorMode_)
        SetEditText(Col(), Row(), editor_->Text());
}

void TCustomGrid::UpdateEditorPlace() {
    if (!editor_ || !editor_->Visible())
        return;
    const TRect r = CellRect(Col(), Row());
    // A cell scrolled out of view takes its editor out of view with it.
    editor_->UpdateLoc(IsRectEmpty(r) ? Bounds(-1000, -1000, ColWidths(Col()), RowHeights(Row())) : r);
}

} // namespace zeko
