#include "platform/qt/Grids.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

#include "platform/qt/QtInput.h"

namespace zeko {

namespace {

const QEvent::Type GridMessageEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

class GridMessageEvent : public QEvent {
public:
    explicit GridMessageEvent(const TMessage& m) : QEvent(GridMessageEventType), message(m) {}
    TMessage message;
};

// The zone around a column or row boundary in which a press starts sizing.
constexpr int SizingZone = 4;

bool IsInside(const QWidget* outer, const QWidget* w) { return w && outer && (w == outer || outer->isAncestorOf(w)); }

} // namespace

int GetScrollBarWidth() {
    return QApplication::style() ? QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 16;
}

void MessageBeep() { QApplication::beep(); }

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

// ================================================================ TCustomGrid

TCustomGrid::TCustomGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    cols_.Resize(5);
    rows_.Resize(5);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    QObject::connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) {
        if (!updatingScroll_)
            SetLeftCol(v);
    });
    QObject::connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int v) {
        if (!updatingScroll_)
            SetTopRow(v);
    });
    QObject::connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) { FocusChanged(old, now); });
    font_.OnChange = [this] { InvalidateGrid(); };
    SetBorderStyle(bsSingle);
    SetOptions(options_);
    UpdateScrollRange();
}

TCustomGrid::~TCustomGrid() {
    componentState_.Include(csDestroying);
    QObject::disconnect(qApp, nullptr, this, nullptr);
}

// ---------------------------------------------------------------- layout

int TCustomGrid::VertLineWidth() const {
    return options_.Contains(goFixedVertLine) || options_.Contains(goVertLine) ? gridLineWidth_ : 0;
}

int TCustomGrid::HorzLineWidth() const {
    return options_.Contains(goFixedHorzLine) || options_.Contains(goHorzLine) ? gridLineWidth_ : 0;
}

bool TCustomGrid::DrawsHighlighted(TGridDrawState state) const {
    return state.Contains(gdSelected) &&
           (!state.Contains(gdFocused) || options_.Contains(goDrawFocusSelected) || options_.Contains(goRowSelect));
}

int TCustomGrid::LineWidth(const GridAxis& axis) const { return &axis == &cols_ ? VertLineWidth() : HorzLineWidth(); }

int TCustomGrid::ClientExtent(const GridAxis& axis) const { return &axis == &cols_ ? ClientWidth() : ClientHeight(); }

QScrollBar* TCustomGrid::BarOf(const GridAxis& axis) const {
    return &axis == &cols_ ? horizontalScrollBar() : verticalScrollBar();
}

void TCustomGrid::SizesChanged(const GridAxis& axis) {
    if (&axis == &cols_)
        ColWidthsChanged();
    else
        RowHeightsChanged();
}

void TCustomGrid::LayoutChanged() {
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditorPlace();
}

void TCustomGrid::SetCount(GridAxis& axis, int count) {
    count = std::max(0, count);
    if (count == axis.Count())
        return;
    const int oldCols = ColCount(), oldRows = RowCount();
    axis.Resize(count);
    SizeChanged(oldCols, oldRows);
    LayoutChanged();
}

void TCustomGrid::SetFixed(GridAxis& axis, int count) {
    count = std::clamp(count, 0, std::max(0, axis.Count() - 1));
    if (count == axis.fixed)
        return;
    axis.SetFixed(count);  // the current cell starts again after the fixed lines
    LayoutChanged();
}

void TCustomGrid::SetDefaultSize(GridAxis& axis, int size) {
    axis.defaultSize = std::max(0, size);
    std::fill(axis.sizes.begin(), axis.sizes.end(), axis.defaultSize);
    SizesChanged(axis);
    LayoutChanged();
}

void TCustomGrid::SetSize(GridAxis& axis, int index, int size) {
    if (index < 0 || index >= axis.Count())
        return;
    size = std::max(0, size);
    if (axis.sizes[index] == size)
        return;
    axis.sizes[index] = size;
    SizesChanged(axis);
    LayoutChanged();
}

void TCustomGrid::SetGridLineWidth(int width) {
    width = std::max(0, width);
    if (width == gridLineWidth_)
        return;
    gridLineWidth_ = width;
    LayoutChanged();
}

void TCustomGrid::SetOptions(TGridOptions options) {
    const bool editingOff = !options.Contains(goEditing) || options.Contains(goRowSelect);
    options_ = options;
    horizontalScrollBar()->setTracking(options_.Contains(goThumbTracking));
    verticalScrollBar()->setTracking(options_.Contains(goThumbTracking));
    if (editingOff && editorMode_)
        HideEditor();
    if (options_.Contains(goRowSelect)) {
        cols_.anchor = cols_.fixed;
        rows_.anchor = rows_.current;
    }
    if (options_.Contains(goAlwaysShowEditor) && options_.Contains(goEditing) && Focused())
        ShowEditor();
    LayoutChanged();
}

void TCustomGrid::SetScrollBars(TScrollStyle style) {
    scrollBars_ = style;
    UpdateScrollRange();
}

void TCustomGrid::SetBorderStyle(TBorderStyle style) {
    borderStyle_ = style;
    if (style == bsNone) {
        setFrameStyle(QFrame::NoFrame);
    } else {
        setFrameStyle(ctl3D_ ? (QFrame::Panel | QFrame::Sunken) : QFrame::Box);
        setLineWidth(ctl3D_ ? 2 : 1);
    }
    UpdateScrollRange();
}

void TCustomGrid::SetDefaultDrawing(bool value) { SetAndRepaint(defaultDrawing_, value); }

void TCustomGrid::SetCtl3D(bool value) {
    ctl3D_ = value;
    SetBorderStyle(borderStyle_);
    InvalidateGrid();
}

void TCustomGrid::SetColor(TColor color) { SetAndRepaint(color_, color); }

void TCustomGrid::SetFixedColor(TColor color) { SetAndRepaint(fixedColor_, color); }

// ---------------------------------------------------------------- geometry

int TCustomGrid::ClientWidth() const {
    return std::max(0, contentsRect().width() - (vBar_ ? GetScrollBarWidth() : 0));
}

int TCustomGrid::ClientHeight() const {
    return std::max(0, contentsRect().height() - (hBar_ ? GetScrollBarWidth() : 0));
}

TPoint TCustomGrid::ClientToScreen(TPoint p) const {
    const QPoint g = viewport()->mapToGlobal(QPoint(p.X, p.Y));
    return {g.x(), g.y()};
}

TPoint TCustomGrid::ScreenToClient(TPoint p) const {
    const QPoint l = viewport()->mapFromGlobal(QPoint(p.X, p.Y));
    return {l.x(), l.y()};
}

TRect TCustomGrid::CellRect(int col, int row) const {
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
        return {};
    if (cols_.ScrolledOut(col) || rows_.ScrolledOut(row))
        return {};
    const int x = ColumnLeft(col);
    const int y = RowTop(row);
    if (x >= ClientWidth() || y >= ClientHeight())
        return {};
    return {x, y, x + cols_.sizes[col], y + rows_.sizes[row]};
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const {
    const int c = cols_.Find(x, VertLineWidth(), ClientWidth());
    const int r = rows_.Find(y, HorzLineWidth(), ClientHeight());
    if (c < 0 || r < 0)
        return {-1, -1};
    return {c, r};
}

void TCustomGrid::MouseToCell(int x, int y, int& col, int& row) const {
    const TGridCoord c = MouseCoord(x, y);
    col = c.X;
    row = c.Y;
}

// ---------------------------------------------------------------- scrolling

void TCustomGrid::UpdateScrollRange() {
    const int w = contentsRect().width();
    const int h = contentsRect().height();
    const bool allowH = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
    const bool allowV = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
    const int sb = GetScrollBarWidth();
    bool hb = false, vb = false;
    for (int pass = 0; pass < 2; ++pass) {  // each bar takes room from the other direction
        hb = allowH && cols_.Total(VertLineWidth()) > w - (vb ? sb : 0);
        vb = allowV && rows_.Total(HorzLineWidth()) > h - (hb ? sb : 0);
    }
    hBar_ = hb;
    vBar_ = vb;
    updatingScroll_ = true;
    setHorizontalScrollBarPolicy(hb ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vb ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    bool moved = false;
    for (GridAxis* axis : {&cols_, &rows_}) {
        const int maxFirst = axis->MaxFirst(ClientExtent(*axis), LineWidth(*axis));
        QScrollBar* bar = BarOf(*axis);
        bar->setRange(axis->fixed, maxFirst);
        bar->setPageStep(std::max(1, axis->VisibleCount(ClientExtent(*axis), LineWidth(*axis))));
        const int first = std::clamp(axis->first, axis->fixed, maxFirst);
        moved = moved || first != axis->first;
        axis->first = first;
        bar->setValue(first);
    }
    updatingScroll_ = false;
    if (moved)
        TopLeftChanged();
}

void TCustomGrid::SetFirst(GridAxis& axis, int first) {
    first = std::clamp(first, axis.fixed, axis.MaxFirst(ClientExtent(axis), LineWidth(axis)));
    if (first == axis.first)
        return;
    axis.first = first;
    updatingScroll_ = true;
    BarOf(axis)->setValue(first);
    updatingScroll_ = false;
    TopLeftChanged();
    InvalidateGrid();
    UpdateEditorPlace();
}

int TCustomGrid::VisibleColCount() const { return cols_.VisibleCount(ClientWidth(), VertLineWidth()); }

int TCustomGrid::VisibleRowCount() const { return rows_.VisibleCount(ClientHeight(), HorzLineWidth()); }

void TCustomGrid::scrollContentsBy(int, int) {}

// ---------------------------------------------------------------- current cell

bool TCustomGrid::Focused() const {
    const QWidget* f = QApplication::focusWidget();
    return f && IsInside(this, f);
}

void TCustomGrid::SetCol(int col) {
    if (col != Col())
        FocusCell(col, Row());
}

void TCustomGrid::SetRow(int row) {
    if (row != Row())
        FocusCell(Col(), row);
}

bool TCustomGrid::FocusCell(int col, int row, bool extend) {
    if (ColCount() <= cols_.fixed || RowCount() <= rows_.fixed)
        return false;
    col = cols_.ClampScrollable(col);
    row = rows_.ClampScrollable(row);
    if (!SelectCell(col, row))
        return false;
    MoveCurrent(col, row, extend);
    return true;
}

void TCustomGrid::MoveCurrent(int col, int row, bool extend) {
    const bool moved = col != Col() || row != Row();
    cols_.current = col;
    rows_.current = row;
    if (!extend || !options_.Contains(goRangeSelect)) {
        cols_.anchor = options_.Contains(goRowSelect) ? cols_.fixed : col;
        rows_.anchor = row;
    }
    ClampInView();
    InvalidateGrid();
    if (editorMode_ || (options_.Contains(goAlwaysShowEditor) && options_.Contains(goEditing))) {
        if (options_.Contains(goAlwaysShowEditor))
            editorMode_ = true;
        UpdateEdit();
    }
    if (moved)
        Click();
}

void TCustomGrid::ClampInView() {
    if (!options_.Contains(goRowSelect))
        SetFirst(cols_, cols_.FirstShowing(cols_.current, ClientWidth(), VertLineWidth()));
    SetFirst(rows_, rows_.FirstShowing(rows_.current, ClientHeight(), HorzLineWidth()));
}

TGridRect TCustomGrid::Selection() const {
    TGridRect s{std::min(cols_.anchor, Col()), std::min(rows_.anchor, Row()), std::max(cols_.anchor, Col()),
                std::max(rows_.anchor, Row())};
    if (options_.Contains(goRowSelect)) {
        s.Left = cols_.fixed;
        s.Right = std::max(cols_.fixed, ColCount() - 1);
    }
    return s;
}

void TCustomGrid::SetSelection(const TGridRect& selection) {
    cols_.anchor = selection.Left;
    rows_.anchor = selection.Top;
    cols_.current = selection.Right;
    rows_.current = selection.Bottom;
    ClampInView();
    InvalidateGrid();
}

bool TCustomGrid::IsCellSelected(int col, int row) const {
    const TGridRect s = Selection();
    return col >= s.Left && col <= s.Right && row >= s.Top && row <= s.Bottom;
}

bool TCustomGrid::SelectCell(int, int) { return true; }

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

// ---------------------------------------------------------------- structure

void TCustomGrid::DeleteColumn(int col) {
    if (col < 0 || col >= ColCount())
        return;
    MoveColumn(col, ColCount() - 1);
    SetColCount(ColCount() - 1);
}

void TCustomGrid::DeleteRow(int row) {
    if (row < 0 || row >= RowCount())
        return;
    MoveRow(row, RowCount() - 1);
    SetRowCount(RowCount() - 1);
}

void TCustomGrid::MoveLine(GridAxis& axis, int fromIndex, int toIndex) {
    if (fromIndex == toIndex || fromIndex < 0 || toIndex < 0 || fromIndex >= axis.Count() || toIndex >= axis.Count())
        return;
    axis.Move(fromIndex, toIndex);
    // Descendants move their cells while the current cell still names the old line.
    if (&axis == &cols_)
        ColumnMoved(fromIndex, toIndex);
    else
        RowMoved(fromIndex, toIndex);
    axis.current = MovedIndex(axis.current, fromIndex, toIndex);
    axis.anchor = MovedIndex(axis.anchor, fromIndex, toIndex);
    SizesChanged(axis);
    LayoutChanged();
}

void TCustomGrid::SizeChanged(int, int) {}
void TCustomGrid::ColumnMoved(int, int) {}
void TCustomGrid::RowMoved(int, int) {}
void TCustomGrid::ColWidthsChanged() {}
void TCustomGrid::RowHeightsChanged() {}
void TCustomGrid::TopLeftChanged() {}

// ---------------------------------------------------------------- repainting

void TCustomGrid::InvalidateCell(int col, int row) { InvalidateRect(CellRect(col, row)); }

void TCustomGrid::InvalidateCol(int col) {
    if (col < 0 || col >= ColCount())
        return;  // no such column on the screen
    const int left = ColumnLeft(col);
    InvalidateRect({left, 0, left + ColWidths(col) + VertLineWidth(), ClientHeight()});
}

void TCustomGrid::InvalidateRow(int row) {
    if (row < 0 || row >= RowCount())
        return;
    const int top = RowTop(row);
    InvalidateRect({0, top, ClientWidth(), top + RowHeights(row) + HorzLineWidth()});
}

void TCustomGrid::InvalidateGrid() { viewport()->update(); }

void TCustomGrid::InvalidateRect(const TRect& r) {
    if (!IsRectEmpty(r))
        viewport()->update(ToQRect(r));
}

QImage TCustomGrid::PaintToImage() {
    UpdateScrollRange();
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    render(&image);
    return image;
}

void TCustomGrid::paintEvent(QPaintEvent*) {
    TWidgetPaint paint(canvas_, viewport());
    Paint();
}

void TCustomGrid::Paint() {
    DrawLines();
    DrawCells();
}

namespace {
// Calls f(index, start) for each line in view: the fixed ones, then the scrolled
// ones from the first shown, until the client room ends. The starts are summed
// on the way, as Start would give them.
template <typename F>
void ForEachShown(const GridAxis& axis, int line, int client, F f) {
    int start = 0;
    for (int i = 0; i < axis.Count(); ++i) {
        if (axis.ScrolledOut(i))
            continue;
        if (start >= client)
            break;
        f(i, start);
        start += axis.sizes[i] + line;
    }
}
} // namespace

void TCustomGrid::DrawLines() {
    TCanvas& c = canvas_;
    const int cw = ClientWidth(), ch = ClientHeight();
    const int vlw = VertLineWidth(), hlw = HorzLineWidth();
    // Room right of and below the last cells.
    const int right = std::min(cw, ColumnLeft(ColCount()));
    const int bottom = std::min(ch, RowTop(RowCount()));
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(color_);
    c.FillRect({right, 0, cw, ch});
    c.FillRect({0, bottom, right, ch});
    const int fixedW = FixedWidth(), fixedH = FixedHeight();
    // A gap with its line, or, with the line switched off, in the cells' colour.
    auto gap = [&](const TRect& r, bool fixed, bool on) {
        if (IsRectEmpty(r))
            return;
        c.Brush().SetColor(on ? (fixed ? clBlack : (ctl3D_ ? clSilver : clBlack)) : (fixed ? fixedColor_ : color_));
        c.FillRect(r);
    };
    // In the fixed rows (columns) every line is a fixed line; beyond them it
    // follows its own column (row).
    if (vlw > 0)
        ForEachShown(cols_, vlw, cw, [&](int col, int start) {
            const int x = start + cols_.sizes[col];
            const bool fixed = col < cols_.fixed;
            gap({x, 0, x + vlw, std::min(fixedH, bottom)}, true, options_.Contains(goFixedVertLine));
            gap({x, fixedH, x + vlw, bottom}, fixed, options_.Contains(fixed ? goFixedVertLine : goVertLine));
        });
    if (hlw > 0)
        ForEachShown(rows_, hlw, ch, [&](int row, int start) {
            const int y = start + rows_.sizes[row];
            const bool fixed = row < rows_.fixed;
            gap({0, y, std::min(fixedW, right), y + hlw}, true, options_.Contains(goFixedHorzLine));
            gap({fixedW, y, right, y + hlw}, fixed, options_.Contains(fixed ? goFixedHorzLine : goHorzLine));
        });
}

void TCustomGrid::DrawCells() {
    TCanvas& c = canvas_;
    const bool focused = Focused();
    const bool editing = editor_ && editor_->Visible();
    const int cw = ClientWidth(), ch = ClientHeight();
    // The columns in view with their left edges, the same in every row.
    std::vector<std::pair<int, int>> shownCols;
    ForEachShown(cols_, VertLineWidth(), cw, [&](int col, int x) { shownCols.emplace_back(col, x); });
    ForEachShown(rows_, HorzLineWidth(), ch, [&](int row, int y) {
        for (const auto& [col, x] : shownCols) {
            const TRect r{x, y, x + cols_.sizes[col], y + rows_.sizes[row]};  // CellRect(col, row)
            TGridDrawState state;
            const bool fixed = col < cols_.fixed || row < rows_.fixed;
            if (fixed) {
                state.Include(gdFixed);
            } else {
                state.Set(gdSelected, IsCellSelected(col, row));
                state.Set(gdFocused, focused && col == Col() && row == Row());
            }
            c.ResetClip();
            c.Pen().SetColor(clBlack);
            c.Pen().SetWidth(1);
            c.Pen().SetStyle(psSolid);
            c.Pen().SetMode(pmCopy);
            c.Brush().SetStyle(bsSolid);
            c.SetFont(font_);
            c.SetCopyMode(cmSrcCopy);
            c.Brush().SetColor(fixed ? fixedColor_ : color_);
            if (defaultDrawing_) {
                if (DrawsHighlighted(state)) {
                    c.Brush().SetColor(clHighlight);
                    c.Font().SetColor(clHighlightText);
                }
                c.FillRect(r);
            }
            DrawCell(col, row, r, state);
            if (!defaultDrawing_)
                continue;
            c.ResetClip();
            if (fixed && ctl3D_ && (options_.Contains(goFixedVertLine) || options_.Contains(goFixedHorzLine))) {
                TRect edge = r;
                DrawEdge(c, edge, BDR_RAISEDINNER, BF_RECT);
            }
            if (state.Contains(gdFocused) && !editing && !options_.Contains(goRowSelect))
                c.DrawFocusRect(r);
        }
    });
    if (defaultDrawing_ && focused && options_.Contains(goRowSelect) && Row() < RowCount()) {
        const int top = RowTop(Row());
        c.ResetClip();
        c.DrawFocusRect({FixedWidth(), top, std::min(cw, ColumnLeft(ColCount())), top + RowHeights(Row())});
    }
}

// ---------------------------------------------------------------- component life

void TCustomGrid::Loaded() {
    componentState_.Exclude(csLoading);
    UpdateScrollRange();
    InvalidateGrid();
}

// ---------------------------------------------------------------- messages

void TCustomGrid::PostMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    QCoreApplication::postEvent(this, new GridMessageEvent(TMessage{msg, wParam, lParam}));
}

void TCustomGrid::SendMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    HandleMessage(TMessage{msg, wParam, lParam});
}

void TCustomGrid::HandleMessage(const TMessage&) {}

void TCustomGrid::DeliverPostedMessages() { QCoreApplication::sendPostedEvents(this, GridMessageEventType); }

bool TCustomGrid::event(QEvent* e) {
    if (e->type() == GridMessageEventType) {
        HandleMessage(static_cast<GridMessageEvent*>(e)->message);
        return true;
    }
    return QAbstractScrollArea::event(e);
}

// ---------------------------------------------------------------- keys

void TCustomGrid::KeyDown(uint16_t& key, TShiftState shift) {
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
    if (key == 0)
        return;
    const bool extend = shift.Contains(ssShift) && options_.Contains(goRangeSelect);
    const int page = std::max(1, VisibleRowCount());
    const bool rowSelect = options_.Contains(goRowSelect);
    int col = Col(), row = Row();
    switch (key) {
    case VK_UP: --row; break;
    case VK_DOWN: ++row; break;
    case VK_LEFT:
        if (rowSelect)
            SetLeftCol(LeftCol() - 1);
        else
            --col;
        break;
    case VK_RIGHT:
        if (rowSelect)
            SetLeftCol(LeftCol() + 1);
        else
            ++col;
        break;
    case VK_PRIOR:
        row -= page;
        SetTopRow(TopRow() - page);
        break;
    case VK_NEXT:
        row += page;
        SetTopRow(TopRow() + page);
        break;
    case VK_HOME:
        col = cols_.fixed;
        if (shift.Contains(ssCtrl))
            row = rows_.fixed;
        break;
    case VK_END:
        col = ColCount() - 1;
        if (shift.Contains(ssCtrl))
            row = RowCount() - 1;
        break;
    case VK_TAB:
        if (!options_.Contains(goTabs) || shift.Contains(ssAlt))
            return;
        // Along the row, then on to the next (previous) row.
        if (!shift.Contains(ssShift)) {
            if (col < ColCount() - 1)
                ++col;
            else if (row < RowCount() - 1) {
                ++row;
                col = cols_.fixed;
            }
        } else if (col > cols_.fixed) {
            --col;
        } else if (row > rows_.fixed) {
            --row;
            col = ColCount() - 1;
        }
        FocusCell(col, row);
        key = 0;
        return;
    case VK_F2:
        if (options_.Contains(goEditing)) {
            ShowEditor();
            key = 0;
        }
        return;
    default: return;
    }
    if (col != Col() || row != Row())
        FocusCell(col, row, extend);
    key = 0;
}

void TCustomGrid::KeyPress(char32_t& key) {
    // A character typed into the grid opens the editor and is typed into it; the
    // editor hands it back here (OnKeyPress) before it takes it.
    if (options_.Contains(goEditing) && !editorMode_ && EditsText(key) && CanEditAcceptKey(key)) {
        ShowEditor();
        if (editor_ && editor_->Visible()) {
            editor_->SelectAll();
            editor_->TypeKey(key);
            key = 0;
            return;
        }
    }
    if (OnKeyPress)
        OnKeyPress(this, key);
    if (key == 0)
        return;
    if (key == CH_RETURN) {
        if (options_.Contains(goEditing) && !options_.Contains(goAlwaysShowEditor))
            SetEditorMode(!editorMode_);
        key = 0;
    }
}

void TCustomGrid::KeyUp(uint16_t& key, TShiftState shift) {
    if (OnKeyUp)
        OnKeyUp(this, key, shift);
}

void TCustomGrid::keyPressEvent(QKeyEvent* event) {
    DeliverKey(*event);
    event->accept();
}

void TCustomGrid::keyReleaseEvent(QKeyEvent* event) { DeliverKeyUp(*event); }

bool TCustomGrid::focusNextPrevChild(bool next) {
    if (options_.Contains(goTabs))
        return false;  // Tab moves between cells
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void TCustomGrid::SelectNextControl(bool forward) {
    QWidget* next = forward ? nextInFocusChain() : previousInFocusChain();
    while (next && next != this &&
           (IsInside(this, next) || !(next->focusPolicy() & Qt::TabFocus) || !next->isEnabled() || !next->isVisible()))
        next = forward ? next->nextInFocusChain() : next->previousInFocusChain();
    if (next && next != this)
        next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

// ---------------------------------------------------------------- mouse

GridAxis& TCustomGrid::DragAxis() {
    return gridState_ == GridState::ColSizing || gridState_ == GridState::ColMoving ? cols_ : rows_;
}

int TCustomGrid::ColSizingAt(int x, int y) const {
    if (y < 0 || y >= FixedHeight())
        return -1;
    return cols_.BoundaryAt(x, VertLineWidth(), ClientWidth(), SizingZone);
}

int TCustomGrid::RowSizingAt(int x, int y) const {
    if (x < 0 || x >= FixedWidth())
        return -1;
    return rows_.BoundaryAt(y, HorzLineWidth(), ClientHeight(), SizingZone);
}

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (!Focused() && focusPolicy() != Qt::NoFocus)
        setFocus(Qt::MouseFocusReason);
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
    if (button != mbLeft)
        return;
    pressPoint_ = {x, y};
    // A boundary in the titles sizes its column (row).
    const int sizedCol = options_.Contains(goColSizing) ? ColSizingAt(x, y) : -1;
    const int sizedRow = sizedCol < 0 && options_.Contains(goRowSizing) ? RowSizingAt(x, y) : -1;
    if (sizedCol >= 0 || sizedRow >= 0) {
        const bool cols = sizedCol >= 0;
        gridState_ = cols ? GridState::ColSizing : GridState::RowSizing;
        sizingIndex_ = cols ? sizedCol : sizedRow;
        sizingOrigin_ = (cols ? x : y) - DragAxis().sizes[sizingIndex_];
        return;
    }
    const TGridCoord cell = MouseCoord(x, y);
    if (cell.X < 0)
        return;
    // A title moves its column (row) when dragged.
    const bool colTitle = cell.Y < rows_.fixed && cell.X >= cols_.fixed;
    const bool rowTitle = cell.X < cols_.fixed && cell.Y >= rows_.fixed;
    if (colTitle || rowTitle) {
        if (options_.Contains(colTitle ? goColMoving : goRowMoving)) {
            gridState_ = colTitle ? GridState::ColMoving : GridState::RowMoving;
            moveFrom_ = moveTo_ = colTitle ? cell.X : cell.Y;
        }
        return;
    }
    if (cell.X < cols_.fixed || cell.Y < rows_.fixed)
        return;
    const bool wasCurrent = cell.X == Col() && cell.Y == Row();
    FocusCell(cell.X, cell.Y, shift.Contains(ssShift) && options_.Contains(goRangeSelect));
    if (options_.Contains(goRangeSelect) && !options_.Contains(goRowSelect))
        gridState_ = GridState::Selecting;
    if (wasCurrent && options_.Contains(goEditing) && !editorMode_ && !shift.Contains(ssDouble))
        ShowEditor();
}

void TCustomGrid::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
    switch (gridState_) {
    case GridState::Selecting: {
        const TGridCoord cell = MouseCoord(x, y);
        if (cell.X >= cols_.fixed && cell.Y >= rows_.fixed && (cell.X != Col() || cell.Y != Row()))
            FocusCell(cell.X, cell.Y, true);
        break;
    }
    case GridState::ColSizing:
    case GridState::RowSizing: {
        DragAxis().sizes[sizingIndex_] = std::max(0, (gridState_ == GridState::ColSizing ? x : y) - sizingOrigin_);
        LayoutChanged();
        break;
    }
    case GridState::ColMoving:
    case GridState::RowMoving: {
        // Along the titles, whatever the other coordinate.
        const GridAxis& axis = DragAxis();
        const int to = axis.Find(&axis == &cols_ ? x : y, LineWidth(axis), ClientExtent(axis));
        if (to >= axis.fixed)
            moveTo_ = to;
        break;
    }
    case GridState::Normal: {
        Qt::CursorShape shape = Qt::ArrowCursor;
        if (options_.Contains(goColSizing) && ColSizingAt(x, y) >= 0)
            shape = Qt::SplitHCursor;
        else if (options_.Contains(goRowSizing) && RowSizingAt(x, y) >= 0)
            shape = Qt::SplitVCursor;
        viewport()->setCursor(shape);
        break;
    }
    }
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    const GridState state = gridState_;
    GridAxis& axis = DragAxis();
    gridState_ = GridState::Normal;
    if (state == GridState::ColSizing || state == GridState::RowSizing)
        SizesChanged(axis);
    if ((state == GridState::ColMoving || state == GridState::RowMoving) && moveTo_ != moveFrom_)
        MoveLine(axis, moveFrom_, moveTo_);
    sizingIndex_ = moveFrom_ = moveTo_ = -1;
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TCustomGrid::Click() {
    if (OnClick)
        OnClick(this);
}

void TCustomGrid::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
    if (options_.Contains(goEditing) && MouseCoord(pressPoint_.X, pressPoint_.Y) == TGridCoord{Col(), Row()})
        ShowEditor();
}

void TCustomGrid::MouseEnter() {}

void TCustomGrid::MouseLeave() {}

void TCustomGrid::mousePressEvent(QMouseEvent* e) { DeliverMouse(*e, e->position().toPoint()); }
void TCustomGrid::mouseMoveEvent(QMouseEvent* e) { DeliverMouse(*e, e->position().toPoint()); }
void TCustomGrid::mouseReleaseEvent(QMouseEvent* e) { DeliverMouse(*e, e->position().toPoint()); }
void TCustomGrid::mouseDoubleClickEvent(QMouseEvent* e) { DeliverMouse(*e, e->position().toPoint()); }

bool TCustomGrid::viewportEvent(QEvent* e) {
    switch (e->type()) {
    case QEvent::Enter: MouseEnter(); break;
    case QEvent::Leave: MouseLeave(); break;
    default: break;
    }
    return QAbstractScrollArea::viewportEvent(e);
}

void TCustomGrid::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    UpdateScrollRange();
    Resize();
    UpdateEditorPlace();
}

void TCustomGrid::Resize() {}

// ---------------------------------------------------------------- focus

void TCustomGrid::FocusChanged(QWidget* old, QWidget* now) {
    if (componentState_.Contains(csDestroying))
        return;
    const bool wasIn = IsInside(this, old);
    const bool isIn = IsInside(this, now);
    if (editor_) {
        const bool editorHad = IsInside(editor_, old);
        const bool editorHas = IsInside(editor_, now);
        if (editorHad && !editorHas)
            editor_->DoExit();
        if (!editorHad && editorHas)
            editor_->DoEnter();
        if (now && !editorHas)
            editor_->CancelMode(now);
    }
    if (wasIn && !isIn)
        DoExit();
    if (!wasIn && isIn)
        DoEnter();
    if (now && now != this && !IsInside(editor_, now))
        CancelMode(now);
}

void TCustomGrid::DoEnter() {
    if (OnEnter)
        OnEnter(this);
    if (options_.Contains(goAlwaysShowEditor) && options_.Contains(goEditing))
        ShowEditor();
    InvalidateGrid();
}

void TCustomGrid::DoExit() {
    if (OnExit)
        OnExit(this);
    InvalidateGrid();
}

// ================================================================ TDrawGrid

void TDrawGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    if (OnDrawCell)
        OnDrawCell(this, col, row, rect, state);
}

bool TDrawGrid::SelectCell(int col, int row) {
    bool canSelect = true;
    if (OnSelectCell)
        OnSelectCell(this, col, row, canSelect);
    return canSelect;
}

void TDrawGrid::ColumnMoved(int fromIndex, int toIndex) {
    if (OnColumnMoved)
        OnColumnMoved(this, fromIndex, toIndex);
}

void TDrawGrid::RowMoved(int fromIndex, int toIndex) {
    if (OnRowMoved)
        OnRowMoved(this, fromIndex, toIndex);
}

void TDrawGrid::TopLeftChanged() {
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}

std::string TDrawGrid::GetEditText(int col, int row) {
    std::string value;
    if (OnGetEditText)
        OnGetEditText(this, col, row, value);
    return value;
}

void TDrawGrid::SetEditText(int col, int row, const std::string& value) {
    if (OnSetEditText)
        OnSetEditText(this, col, row, value);
}

// ================================================================ TStringGrid

TStringGrid::TStringGrid(QWidget* parent) : TDrawGrid(parent) { SizeChanged(0, 0); }

const TStringGrid::CellData* TStringGrid::At(int col, int row) const {
    if (col < 0 || row < 0 || col >= static_cast<int>(data_.size()) || row >= static_cast<int>(data_[col].size()))
        return nullptr;
    return &data_[col][row];
}

TStringGrid::CellData* TStringGrid::At(int col, int row) {
    return const_cast<CellData*>(static_cast<const TStringGrid*>(this)->At(col, row));
}

const std::string& TStringGrid::Cells(int col, int row) const {
    static const std::string empty;
    const CellData* cell = At(col, row);
    return cell ? cell->text : empty;
}

void TStringGrid::SetCells(int col, int row, const std::string& text) {
    CellData* cell = At(col, row);
    if (!cell)
        return;
    cell->text = text;
    InvalidateCell(col, row);
    if (col == Col() && row == Row() && EditorMode() && InplaceEditor() && InplaceEditor()->Visible())
        InplaceEditor()->ShowGridText(text);
}

void* TStringGrid::Objects(int col, int row) const {
    const CellData* cell = At(col, row);
    return cell ? cell->object : nullptr;
}

void TStringGrid::SetObjects(int col, int row, void* object) {
    if (CellData* cell = At(col, row))
        cell->object = object;
}

std::vector<std::string> TStringGrid::Cols(int col) const {
    std::vector<std::string> out;
    for (int r = 0; r < RowCount(); ++r)
        out.push_back(Cells(col, r));
    return out;
}

void TStringGrid::SetCols(int col, const std::vector<std::string>& texts) {
    for (int r = 0; r < RowCount(); ++r)
        SetCells(col, r, r < static_cast<int>(texts.size()) ? texts[r] : std::string());
}

std::vector<std::string> TStringGrid::Rows(int row) const {
    std::vector<std::string> out;
    for (int c = 0; c < ColCount(); ++c)
        out.push_back(Cells(c, row));
    return out;
}

void TStringGrid::SetRows(int row, const std::vector<std::string>& texts) {
    for (int c = 0; c < ColCount(); ++c)
        SetCells(c, row, c < static_cast<int>(texts.size()) ? texts[c] : std::string());
}

void TStringGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    if (DefaultDrawing())
        Canvas().TextRect(rect, rect.Left + 2, rect.Top + 2, Cells(col, row));
    TDrawGrid::DrawCell(col, row, rect, state);
}

void TStringGrid::SizeChanged(int oldColCount, int oldRowCount) {
    data_.resize(ColCount());
    for (auto& column : data_)
        column.resize(RowCount());
    TDrawGrid::SizeChanged(oldColCount, oldRowCount);
}

void TStringGrid::ColumnMoved(int fromIndex, int toIndex) {
    MoveItem(data_, fromIndex, toIndex);
    TDrawGrid::ColumnMoved(fromIndex, toIndex);
}

void TStringGrid::RowMoved(int fromIndex, int toIndex) {
    for (auto& column : data_)
        MoveItem(column, fromIndex, toIndex);
    TDrawGrid::RowMoved(fromIndex, toIndex);
}

std::string TStringGrid::GetEditText(int col, int row) {
    std::string value = Cells(col, row);
    if (OnGetEditText)
        OnGetEditText(this, col, row, value);
    return value;
}

void TStringGrid::SetEditText(int col, int row, const std::string& value) {
    if (CellData* cell = At(col, row)) {
        cell->text = value;
        InvalidateCell(col, row);
    }
    TDrawGrid::SetEditText(col, row, value);
}

} // namespace zeko
