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
    start = std::clamp(start, 0, static_cast<int>(QString::fromStdString(Text()).size()));
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
    const int size = static_cast<int>(QString::fromStdString(Text()).size());
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

void TInplaceEdit::Deselect() {
    const int end = static_cast<int>(QString::fromStdString(Text()).size());
    SetSelStart(end);
}

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
    const bool atEnd = SelLength() == 0 && SelStart() == static_cast<int>(QString::fromStdString(Text()).size());
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
    switch (key) {
    case U'\r':
        grid_->KeyPress(key);
        key = 0;
        break;
    case 27:  // Escape gives the cell its text back and ends editing
        SetText(startText_);
        SelectAll();
        if (!grid_->Options().Contains(goAlwaysShowEditor))
            grid_->HideEditor();
        key = 0;
        break;
    case U'\t': key = 0; break;
    default:
        if ((key >= 32 || key == 8) && (!grid_->CanEditModify() || readOnly_)) {
            MessageBeep();
            key = 0;
        }
        break;
    }
}

void TInplaceEdit::KeyUp(uint16_t&, TShiftState) {}
void TInplaceEdit::MouseDown(TMouseButton, TShiftState, int, int) {}
void TInplaceEdit::MouseMove(TShiftState, int, int) {}
void TInplaceEdit::MouseUp(TMouseButton, TShiftState, int, int) {}
void TInplaceEdit::DblClick() {}
void TInplaceEdit::DoEnter() {}
void TInplaceEdit::DoExit() {}
void TInplaceEdit::CancelMode(QWidget*) {}

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
    if (key == 8) {
        if (multi_)
            multi_->textCursor().deletePreviousChar();
        else
            line_->backspace();
    } else if (key >= 32 || key == U'\r') {
        InsertText(QString::fromUcs4(&key, 1).toStdString());
    }
}

void TInplaceEdit::Paint(TCanvas& canvas) {
    canvas.Brush().SetColor(color_);
    canvas.Brush().SetStyle(bsSolid);
    canvas.FillRect(ClientRect());
}

bool TInplaceEdit::TextAreaAt(int x, int y) const {
    const TRect r = IsRectEmpty(formatRect_) ? ClientRect() : formatRect_;
    return PtInRect(r, {x, y});
}

void TInplaceEdit::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    canvas_.BeginPaint(&painter);
    Paint(canvas_);
    canvas_.EndPaint();
}

void TInplaceEdit::resizeEvent(QResizeEvent*) { PlaceTextControl(); }

void TInplaceEdit::mousePressEvent(QMouseEvent* e) {
    MouseDown(MouseButtonOf(e->button()), ShiftStateOf(*e), e->position().toPoint().x(), e->position().toPoint().y());
}

void TInplaceEdit::mouseMoveEvent(QMouseEvent* e) {
    MouseMove(ShiftStateOf(*e), e->position().toPoint().x(), e->position().toPoint().y());
}

void TInplaceEdit::mouseReleaseEvent(QMouseEvent* e) {
    MouseUp(MouseButtonOf(e->button()), ShiftStateOf(*e), e->position().toPoint().x(), e->position().toPoint().y());
}

void TInplaceEdit::mouseDoubleClickEvent(QMouseEvent* e) {
    mousePressEvent(e);
    DblClick();
}

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
            if (!readOnly_ && (ch >= 32 || ch == U'\r'))
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
        auto* m = static_cast<QMouseEvent*>(event);
        const QPoint p = mapFromGlobal(m->globalPosition().toPoint());
        if (event->type() == QEvent::MouseMove)
            MouseMove(ShiftStateOf(*m), p.x(), p.y());
        else if (event->type() == QEvent::MouseButtonRelease)
            MouseUp(MouseButtonOf(m->button()), ShiftStateOf(*m), p.x(), p.y());
        else {
            TShiftState s = ShiftStateOf(*m);
            if (event->type() == QEvent::MouseButtonDblClick)
                s.Include(ssDouble);
            MouseDown(MouseButtonOf(m->button()), s, p.x(), p.y());
            if (event->type() == QEvent::MouseButtonDblClick)
                DblClick();
        }
        return false;
    }
    default: return false;
    }
}

// ================================================================ TCustomGrid

TCustomGrid::TCustomGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    colWidths_.assign(5, defaultColWidth_);
    rowHeights_.assign(5, defaultRowHeight_);
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

int TCustomGrid::FixedWidth() const {
    int w = 0;
    for (int c = 0; c < fixedCols_ && c < ColCount(); ++c)
        w += colWidths_[c] + VertLineWidth();
    return w;
}

int TCustomGrid::FixedHeight() const {
    int h = 0;
    for (int r = 0; r < fixedRows_ && r < RowCount(); ++r)
        h += rowHeights_[r] + HorzLineWidth();
    return h;
}

int TCustomGrid::TotalWidth() const {
    int w = 0;
    for (int c : colWidths_)
        w += c + VertLineWidth();
    return w;
}

int TCustomGrid::TotalHeight() const {
    int h = 0;
    for (int r : rowHeights_)
        h += r + HorzLineWidth();
    return h;
}

int TCustomGrid::ColumnLeft(int col) const {
    if (col < fixedCols_) {
        int x = 0;
        for (int c = 0; c < col; ++c)
            x += colWidths_[c] + VertLineWidth();
        return x;
    }
    int x = FixedWidth();
    if (col >= leftCol_) {
        for (int c = leftCol_; c < col; ++c)
            x += colWidths_[c] + VertLineWidth();
    } else {
        for (int c = col; c < leftCol_; ++c)
            x -= colWidths_[c] + VertLineWidth();
    }
    return x;
}

int TCustomGrid::RowTop(int row) const {
    if (row < fixedRows_) {
        int y = 0;
        for (int r = 0; r < row; ++r)
            y += rowHeights_[r] + HorzLineWidth();
        return y;
    }
    int y = FixedHeight();
    if (row >= topRow_) {
        for (int r = topRow_; r < row; ++r)
            y += rowHeights_[r] + HorzLineWidth();
    } else {
        for (int r = row; r < topRow_; ++r)
            y -= rowHeights_[r] + HorzLineWidth();
    }
    return y;
}

void TCustomGrid::SetColCount(int count) {
    count = std::max(0, count);
    if (count == ColCount())
        return;
    const int oldCols = ColCount();
    colWidths_.resize(count, defaultColWidth_);
    fixedCols_ = std::clamp(fixedCols_, 0, std::max(0, count - 1));
    const int lastCol = std::max(fixedCols_, count - 1);
    col_ = std::clamp(col_, fixedCols_, lastCol);
    anchorCol_ = std::clamp(anchorCol_, fixedCols_, lastCol);
    leftCol_ = std::clamp(leftCol_, fixedCols_, lastCol);
    SizeChanged(oldCols, RowCount());
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditorPlace();
}

void TCustomGrid::SetRowCount(int count) {
    count = std::max(0, count);
    if (count == RowCount())
        return;
    const int oldRows = RowCount();
    rowHeights_.resize(count, defaultRowHeight_);
    fixedRows_ = std::clamp(fixedRows_, 0, std::max(0, count - 1));
    const int lastRow = std::max(fixedRows_, count - 1);
    row_ = std::clamp(row_, fixedRows_, lastRow);
    anchorRow_ = std::clamp(anchorRow_, fixedRows_, lastRow);
    topRow_ = std::clamp(topRow_, fixedRows_, lastRow);
    SizeChanged(ColCount(), oldRows);
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditorPlace();
}

void TCustomGrid::SetFixedCols(int count) {
    count = std::clamp(count, 0, std::max(0, ColCount() - 1));
    if (count == fixedCols_)
        return;
    // The current cell starts again at the first scrollable column.
    fixedCols_ = count;
    col_ = anchorCol_ = leftCol_ = fixedCols_;
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditorPlace();
}

void TCustomGrid::SetFixedRows(int count) {
    count = std::clamp(count, 0, std::max(0, RowCount() - 1));
    if (count == fixedRows_)
        return;
    fixedRows_ = count;
    row_ = anchorRow_ = topRow_ = fixedRows_;
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditorPlace();
}

void TCustomGrid::SetDefaultColWidth(int width) {
    defaultColWidth_ = std::max(0, width);
    std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
    ColWidthsChanged();
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditorPlace();
}

void TCustomGrid::SetDefaultRowHeight(int height) {
    defaultRowHeight_ = std::max(0, height);
    std::fill(rowHeights_.begin(), rowHeights_.end(), defaultRowHeight_);
    RowHeightsChanged();
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditorPlace();
}

int TCustomGrid::ColWidths(int col) const {
    return col >= 0 && col < ColCount() ? colWidths_[col] : defaultColWidth_;
}

void TCustomGrid::SetColWidths(int col, int width) {
    if (col < 0 || col >= ColCount())
        return;
    width = std::max(0, width);
    if (colWidths_[col] == width)
        return;
    colWidths_[col] = width;
    ColWidthsChanged();
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditorPlace();
}

int TCustomGrid::RowHeights(int row) const {
    return row >= 0 && row < RowCount() ? rowHeights_[row] : defaultRowHeight_;
}

void TCustomGrid::SetRowHeights(int row, int height) {
    if (row < 0 || row >= RowCount())
        return;
    height = std::max(0, height);
    if (rowHeights_[row] == height)
        return;
    rowHeights_[row] = height;
    RowHeightsChanged();
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditorPlace();
}

void TCustomGrid::SetGridLineWidth(int width) {
    width = std::max(0, width);
    if (width == gridLineWidth_)
        return;
    gridLineWidth_ = width;
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditorPlace();
}

void TCustomGrid::SetOptions(TGridOptions options) {
    const bool editingOff = !options.Contains(goEditing) || options.Contains(goRowSelect);
    options_ = options;
    horizontalScrollBar()->setTracking(options_.Contains(goThumbTracking));
    verticalScrollBar()->setTracking(options_.Contains(goThumbTracking));
    if (editingOff && editorMode_)
        HideEditor();
    if (options_.Contains(goRowSelect)) {
        anchorCol_ = fixedCols_;
        anchorRow_ = row_;
    }
    if (options_.Contains(goAlwaysShowEditor) && options_.Contains(goEditing) && Focused())
        ShowEditor();
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditorPlace();
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

void TCustomGrid::SetDefaultDrawing(bool value) {
    defaultDrawing_ = value;
    InvalidateGrid();
}

void TCustomGrid::SetCtl3D(bool value) {
    ctl3D_ = value;
    SetBorderStyle(borderStyle_);
    InvalidateGrid();
}

void TCustomGrid::SetColor(TColor color) {
    color_ = color;
    InvalidateGrid();
}

void TCustomGrid::SetFixedColor(TColor color) {
    fixedColor_ = color;
    InvalidateGrid();
}

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
    if ((col >= fixedCols_ && col < leftCol_) || (row >= fixedRows_ && row < topRow_))
        return {};
    const int x = ColumnLeft(col);
    const int y = RowTop(row);
    if (x >= ClientWidth() || y >= ClientHeight())
        return {};
    return {x, y, x + colWidths_[col], y + rowHeights_[row]};
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const {
    // The line right of (below) a cell belongs to that cell.
    auto find = [](int pos, int fixed, int first, int line, const std::vector<int>& sizes, int limit) {
        if (pos < 0 || pos >= limit)
            return -1;
        int edge = 0;
        for (int i = 0; i < static_cast<int>(sizes.size()); ++i) {
            if (i >= fixed && i < first)
                continue;  // scrolled out of view
            edge += sizes[i] + line;
            if (pos < edge)
                return i;
        }
        return -1;
    };
    const int c = find(x, fixedCols_, leftCol_, VertLineWidth(), colWidths_, ClientWidth());
    const int r = find(y, fixedRows_, topRow_, HorzLineWidth(), rowHeights_, ClientHeight());
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

int TCustomGrid::MaxLeftColFor(int clientWidth) const {
    int room = clientWidth - FixedWidth();
    int start = ColCount();
    while (start > fixedCols_) {
        const int w = colWidths_[start - 1] + VertLineWidth();
        if (w > room && start < ColCount())
            break;
        room -= w;
        --start;
        if (room < 0)
            break;
    }
    return std::clamp(start, fixedCols_, std::max(fixedCols_, ColCount() - 1));
}

int TCustomGrid::MaxTopRowFor(int clientHeight) const {
    int room = clientHeight - FixedHeight();
    int start = RowCount();
    while (start > fixedRows_) {
        const int h = rowHeights_[start - 1] + HorzLineWidth();
        if (h > room && start < RowCount())
            break;
        room -= h;
        --start;
        if (room < 0)
            break;
    }
    return std::clamp(start, fixedRows_, std::max(fixedRows_, RowCount() - 1));
}

void TCustomGrid::UpdateScrollRange() {
    const int w = contentsRect().width();
    const int h = contentsRect().height();
    const bool allowH = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
    const bool allowV = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
    const int sb = GetScrollBarWidth();
    bool hb = false, vb = false;
    for (int pass = 0; pass < 2; ++pass) {
        hb = allowH && TotalWidth() > w - (vb ? sb : 0);
        vb = allowV && TotalHeight() > h - (hb ? sb : 0);
    }
    hBar_ = hb;
    vBar_ = vb;
    updatingScroll_ = true;
    setHorizontalScrollBarPolicy(hb ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(vb ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const int maxLeft = MaxLeftColFor(ClientWidth());
    const int maxTop = MaxTopRowFor(ClientHeight());
    horizontalScrollBar()->setRange(fixedCols_, std::max(fixedCols_, maxLeft));
    verticalScrollBar()->setRange(fixedRows_, std::max(fixedRows_, maxTop));
    horizontalScrollBar()->setPageStep(std::max(1, VisibleColCount()));
    verticalScrollBar()->setPageStep(std::max(1, VisibleRowCount()));
    updatingScroll_ = false;
    const int left = std::clamp(leftCol_, fixedCols_, std::max(fixedCols_, maxLeft));
    const int top = std::clamp(topRow_, fixedRows_, std::max(fixedRows_, maxTop));
    if (left != leftCol_ || top != topRow_) {
        leftCol_ = left;
        topRow_ = top;
        TopLeftChanged();
    }
    updatingScroll_ = true;
    horizontalScrollBar()->setValue(leftCol_);
    verticalScrollBar()->setValue(topRow_);
    updatingScroll_ = false;
}

void TCustomGrid::SetTopRow(int row) {
    row = std::clamp(row, fixedRows_, std::max(fixedRows_, MaxTopRowFor(ClientHeight())));
    if (row == topRow_)
        return;
    topRow_ = row;
    updatingScroll_ = true;
    verticalScrollBar()->setValue(row);
    updatingScroll_ = false;
    TopLeftChanged();
    InvalidateGrid();
    UpdateEditorPlace();
}

void TCustomGrid::SetLeftCol(int col) {
    col = std::clamp(col, fixedCols_, std::max(fixedCols_, MaxLeftColFor(ClientWidth())));
    if (col == leftCol_)
        return;
    leftCol_ = col;
    updatingScroll_ = true;
    horizontalScrollBar()->setValue(col);
    updatingScroll_ = false;
    TopLeftChanged();
    InvalidateGrid();
    UpdateEditorPlace();
}

int TCustomGrid::VisibleColCount() const {
    int x = FixedWidth();
    int n = 0;
    for (int c = leftCol_; c < ColCount(); ++c) {
        if (x + colWidths_[c] > ClientWidth())
            break;
        x += colWidths_[c] + VertLineWidth();
        ++n;
    }
    return n;
}

int TCustomGrid::VisibleRowCount() const {
    int y = FixedHeight();
    int n = 0;
    for (int r = topRow_; r < RowCount(); ++r) {
        if (y + rowHeights_[r] > ClientHeight())
            break;
        y += rowHeights_[r] + HorzLineWidth();
        ++n;
    }
    return n;
}

void TCustomGrid::scrollContentsBy(int, int) {}

// ---------------------------------------------------------------- current cell

bool TCustomGrid::Focused() const {
    const QWidget* f = QApplication::focusWidget();
    return f && IsInside(this, f);
}

void TCustomGrid::SetCol(int col) {
    if (col != col_)
        FocusCell(col, row_);
}

void TCustomGrid::SetRow(int row) {
    if (row != row_)
        FocusCell(col_, row);
}

bool TCustomGrid::FocusCell(int col, int row, bool extend) {
    if (ColCount() <= fixedCols_ || RowCount() <= fixedRows_)
        return false;
    col = std::clamp(col, fixedCols_, ColCount() - 1);
    row = std::clamp(row, fixedRows_, RowCount() - 1);
    if (!SelectCell(col, row))
        return false;
    MoveCurrent(col, row, extend);
    return true;
}

void TCustomGrid::MoveCurrent(int col, int row, bool extend) {
    const bool moved = col != col_ || row != row_;
    col_ = col;
    row_ = row;
    if (!extend || !options_.Contains(goRangeSelect)) {
        anchorCol_ = options_.Contains(goRowSelect) ? fixedCols_ : col;
        anchorRow_ = row;
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
    if (!options_.Contains(goRowSelect)) {
        if (col_ < leftCol_) {
            SetLeftCol(col_);
        } else {
            int left = leftCol_;
            auto right = [&] {
                int x = FixedWidth();
                for (int c = left; c < col_; ++c)
                    x += colWidths_[c] + VertLineWidth();
                return x + colWidths_[col_];
            };
            while (left < col_ && right() > ClientWidth())
                ++left;
            SetLeftCol(left);
        }
    }
    if (row_ < topRow_) {
        SetTopRow(row_);
    } else {
        int top = topRow_;
        auto bottom = [&] {
            int y = FixedHeight();
            for (int r = top; r < row_; ++r)
                y += rowHeights_[r] + HorzLineWidth();
            return y + rowHeights_[row_];
        };
        while (top < row_ && bottom() > ClientHeight())
            ++top;
        SetTopRow(top);
    }
}

TGridRect TCustomGrid::Selection() const {
    TGridRect s{std::min(anchorCol_, col_), std::min(anchorRow_, row_), std::max(anchorCol_, col_),
                std::max(anchorRow_, row_)};
    if (options_.Contains(goRowSelect)) {
        s.Left = fixedCols_;
        s.Right = std::max(fixedCols_, ColCount() - 1);
    }
    return s;
}

void TCustomGrid::SetSelection(const TGridRect& selection) {
    anchorCol_ = selection.Left;
    anchorRow_ = selection.Top;
    col_ = selection.Right;
    row_ = selection.Bottom;
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
           !componentState_.Contains(csDesigning) && col_ >= fixedCols_ && row_ >= fixedRows_ &&
           col_ < ColCount() && row_ < RowCount();
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
    editor_->UpdateLoc(CellRect(col_, row_));
    editor_->show();
    editor_->raise();
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
        SetEditText(col_, row_, editor_->Text());
}

void TCustomGrid::UpdateEditorPlace() {
    if (editor_ && editor_->Visible()) {
        const TRect r = CellRect(col_, row_);
        if (IsRectEmpty(r))
            editor_->UpdateLoc({-1000, -1000, -1000 + colWidths_[col_], -1000 + rowHeights_[row_]});
        else
            editor_->UpdateLoc(r);
    }
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

namespace {
// Where index `i` ends up when the item at `from` moves to `to`.
int MovedIndex(int i, int from, int to) {
    if (i == from)
        return to;
    if (from < to && i > from && i <= to)
        return i - 1;
    if (to < from && i >= to && i < from)
        return i + 1;
    return i;
}

void MoveItem(std::vector<int>& v, int from, int to) {
    const int value = v[from];
    v.erase(v.begin() + from);
    v.insert(v.begin() + to, value);
}
} // namespace

void TCustomGrid::MoveColumn(int fromIndex, int toIndex) {
    if (fromIndex == toIndex || fromIndex < 0 || toIndex < 0 || fromIndex >= ColCount() || toIndex >= ColCount())
        return;
    MoveItem(colWidths_, fromIndex, toIndex);
    ColumnMoved(fromIndex, toIndex);
    col_ = MovedIndex(col_, fromIndex, toIndex);
    anchorCol_ = MovedIndex(anchorCol_, fromIndex, toIndex);
    ColWidthsChanged();
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditorPlace();
}

void TCustomGrid::MoveRow(int fromIndex, int toIndex) {
    if (fromIndex == toIndex || fromIndex < 0 || toIndex < 0 || fromIndex >= RowCount() || toIndex >= RowCount())
        return;
    MoveItem(rowHeights_, fromIndex, toIndex);
    RowMoved(fromIndex, toIndex);
    row_ = MovedIndex(row_, fromIndex, toIndex);
    anchorRow_ = MovedIndex(anchorRow_, fromIndex, toIndex);
    RowHeightsChanged();
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditorPlace();
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
    const TRect r = CellRect(col, 0);
    const int left = IsRectEmpty(r) ? ColumnLeft(col) : r.Left;
    InvalidateRect({left, 0, left + ColWidths(col) + VertLineWidth(), ClientHeight()});
}

void TCustomGrid::InvalidateRow(int row) {
    const int top = RowTop(row);
    InvalidateRect({0, top, ClientWidth(), top + RowHeights(row) + HorzLineWidth()});
}

void TCustomGrid::InvalidateGrid() { viewport()->update(); }

void TCustomGrid::InvalidateRect(const TRect& r) {
    if (!IsRectEmpty(r))
        viewport()->update(QRect(r.Left, r.Top, r.Width(), r.Height()));
}

QImage TCustomGrid::PaintToImage() {
    UpdateScrollRange();
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    render(&image);
    return image;
}

void TCustomGrid::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    canvas_.BeginPaint(&painter);
    Paint();
    canvas_.EndPaint();
}

void TCustomGrid::Paint() {
    DrawLines();
    DrawCells();
}

void TCustomGrid::DrawLines() {
    TCanvas& c = canvas_;
    const int cw = ClientWidth(), ch = ClientHeight();
    // Room right of and below the last cells.
    const int right = std::min(cw, ColumnLeft(ColCount()));
    const int bottom = std::min(ch, RowTop(RowCount()));
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(color_);
    c.FillRect({right, 0, cw, ch});
    c.FillRect({0, bottom, right, ch});
    const int vlw = VertLineWidth(), hlw = HorzLineWidth();
    const TColor fixedLine = clBlack;
    const TColor dataLine = ctl3D_ ? clSilver : clBlack;
    const int fixedW = FixedWidth(), fixedH = FixedHeight();
    auto gap = [&](const TRect& r, bool fixed, bool on) {
        if (IsRectEmpty(r))
            return;
        c.Brush().SetColor(on ? (fixed ? fixedLine : dataLine) : (fixed ? fixedColor_ : color_));
        c.FillRect(r);
    };
    if (vlw > 0) {
        for (int col = 0; col < ColCount(); ++col) {
            if (col >= fixedCols_ && col < leftCol_)
                continue;
            const int x = ColumnLeft(col) + colWidths_[col];
            if (x >= cw)
                break;
            const bool fixedCol = col < fixedCols_;
            // In the fixed rows every line is a fixed line; below them it follows the column.
            gap({x, 0, x + vlw, std::min(fixedH, bottom)}, true, options_.Contains(goFixedVertLine));
            gap({x, fixedH, x + vlw, bottom}, fixedCol,
                options_.Contains(fixedCol ? goFixedVertLine : goVertLine));
        }
    }
    if (hlw > 0) {
        for (int row = 0; row < RowCount(); ++row) {
            if (row >= fixedRows_ && row < topRow_)
                continue;
            const int y = RowTop(row) + rowHeights_[row];
            if (y >= ch)
                break;
            const bool fixedRow = row < fixedRows_;
            gap({0, y, std::min(fixedW, right), y + hlw}, true, options_.Contains(goFixedHorzLine));
            gap({fixedW, y, right, y + hlw}, fixedRow, options_.Contains(fixedRow ? goFixedHorzLine : goHorzLine));
        }
    }
}

void TCustomGrid::DrawCells() {
    TCanvas& c = canvas_;
    const bool focused = Focused();
    const bool editing = editor_ && editor_->Visible();
    const int cw = ClientWidth(), ch = ClientHeight();
    for (int row = 0; row < RowCount(); ++row) {
        if (row >= fixedRows_ && row < topRow_)
            continue;
        if (RowTop(row) >= ch)
            break;
        for (int col = 0; col < ColCount(); ++col) {
            if (col >= fixedCols_ && col < leftCol_)
                continue;
            if (ColumnLeft(col) >= cw)
                break;
            const TRect r = CellRect(col, row);
            TGridDrawState state;
            const bool fixed = col < fixedCols_ || row < fixedRows_;
            if (fixed)
                state.Include(gdFixed);
            else {
                if (IsCellSelected(col, row))
                    state.Include(gdSelected);
                if (focused && col == col_ && row == row_)
                    state.Include(gdFocused);
            }
            c.ResetClip();
            c.Pen().SetColor(clBlack);
            c.Pen().SetWidth(1);
            c.Pen().SetStyle(psSolid);
            c.Pen().SetMode(pmCopy);
            c.Brush().SetStyle(bsSolid);
            c.SetFont(font_);
            c.SetCopyMode(cmSrcCopy);
            if (defaultDrawing_) {
                const bool highlight = state.Contains(gdSelected) &&
                                       (!state.Contains(gdFocused) || options_.Contains(goDrawFocusSelected) ||
                                        options_.Contains(goRowSelect));
                if (fixed) {
                    c.Brush().SetColor(fixedColor_);
                } else if (highlight) {
                    c.Brush().SetColor(clHighlight);
                    c.Font().SetColor(clHighlightText);
                } else {
                    c.Brush().SetColor(color_);
                }
                c.FillRect(r);
            } else {
                c.Brush().SetColor(fixed ? fixedColor_ : color_);
            }
            DrawCell(col, row, r, state);
            if (defaultDrawing_) {
                c.ResetClip();
                if (fixed && ctl3D_ && (options_.Contains(goFixedVertLine) || options_.Contains(goFixedHorzLine))) {
                    TRect edge = r;
                    DrawEdge(c, edge, BDR_RAISEDINNER, BF_RECT);
                }
                if (state.Contains(gdFocused) && !editing && !options_.Contains(goRowSelect))
                    c.DrawFocusRect(r);
            }
        }
    }
    if (defaultDrawing_ && focused && options_.Contains(goRowSelect) && row_ < RowCount()) {
        const int top = RowTop(row_);
        c.ResetClip();
        c.DrawFocusRect({FixedWidth(), top, std::min(cw, ColumnLeft(ColCount())), top + rowHeights_[row_]});
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
    int col = col_, row = row_;
    switch (key) {
    case VK_UP: --row; break;
    case VK_DOWN: ++row; break;
    case VK_LEFT:
        if (options_.Contains(goRowSelect))
            SetLeftCol(leftCol_ - 1);
        else
            --col;
        break;
    case VK_RIGHT:
        if (options_.Contains(goRowSelect))
            SetLeftCol(leftCol_ + 1);
        else
            ++col;
        break;
    case VK_PRIOR:
        row -= page;
        SetTopRow(topRow_ - page);
        break;
    case VK_NEXT:
        row += page;
        SetTopRow(topRow_ + page);
        break;
    case VK_HOME:
        col = fixedCols_;
        if (shift.Contains(ssCtrl))
            row = fixedRows_;
        break;
    case VK_END:
        col = ColCount() - 1;
        if (shift.Contains(ssCtrl))
            row = RowCount() - 1;
        break;
    case VK_TAB:
        if (!options_.Contains(goTabs) || shift.Contains(ssAlt))
            return;
        if (shift.Contains(ssShift)) {
            if (col > fixedCols_)
                --col;
            else if (row > fixedRows_) {
                --row;
                col = ColCount() - 1;
            }
        } else {
            if (col < ColCount() - 1)
                ++col;
            else if (row < RowCount() - 1) {
                ++row;
                col = fixedCols_;
            }
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
    if (col != col_ || row != row_)
        FocusCell(col, row, extend && key != VK_TAB);
    key = 0;
}

void TCustomGrid::KeyPress(char32_t& key) {
    if (OnKeyPress)
        OnKeyPress(this, key);
    if (key == 0)
        return;
    if (key == U'\r') {
        if (options_.Contains(goEditing) && !options_.Contains(goAlwaysShowEditor))
            SetEditorMode(!editorMode_);
        key = 0;
        return;
    }
    if (!options_.Contains(goEditing) || editorMode_ || !(key >= 32 || key == 8) || !CanEditAcceptKey(key))
        return;
    ShowEditor();
    if (editor_ && editor_->Visible()) {
        editor_->SelectAll();
        editor_->TypeKey(key);
        key = 0;
    }
}

void TCustomGrid::KeyUp(uint16_t& key, TShiftState shift) {
    if (OnKeyUp)
        OnKeyUp(this, key, shift);
}

void TCustomGrid::keyPressEvent(QKeyEvent* event) {
    uint16_t key = VirtualKeyOf(*event);
    char32_t ch = CharOf(*event);
    if (key != 0)
        KeyDown(key, ShiftStateOf(event->modifiers()));
    if (ch != 0)
        KeyPress(ch);
    event->accept();
}

void TCustomGrid::keyReleaseEvent(QKeyEvent* event) {
    uint16_t key = VirtualKeyOf(*event);
    KeyUp(key, ShiftStateOf(event->modifiers()));
}

bool TCustomGrid::focusNextPrevChild(bool next) {
    if (options_.Contains(goTabs))
        return false;  // Tab moves between cells
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void TCustomGrid::SelectNextControl(bool forward) {
    QWidget* start = editor_ && editor_->HasFocus() ? static_cast<QWidget*>(this) : this;
    QWidget* next = forward ? start->nextInFocusChain() : start->previousInFocusChain();
    while (next && next != start && (IsInside(this, next) || !(next->focusPolicy() & Qt::TabFocus) ||
                                     !next->isEnabled() || !next->isVisible()))
        next = forward ? next->nextInFocusChain() : next->previousInFocusChain();
    if (next && next != start)
        next->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

// ---------------------------------------------------------------- mouse

int TCustomGrid::ColSizingAt(int x, int y) const {
    if (y < 0 || y >= FixedHeight())
        return -1;
    for (int col = 0; col < ColCount(); ++col) {
        if (col >= fixedCols_ && col < leftCol_)
            continue;
        const int edge = ColumnLeft(col) + colWidths_[col];
        if (x >= edge - SizingZone && x < edge + VertLineWidth() + SizingZone)
            return col;
        if (edge > ClientWidth())
            break;
    }
    return -1;
}

int TCustomGrid::RowSizingAt(int x, int y) const {
    if (x < 0 || x >= FixedWidth())
        return -1;
    for (int row = 0; row < RowCount(); ++row) {
        if (row >= fixedRows_ && row < topRow_)
            continue;
        const int edge = RowTop(row) + rowHeights_[row];
        if (y >= edge - SizingZone && y < edge + HorzLineWidth() + SizingZone)
            return row;
        if (edge > ClientHeight())
            break;
    }
    return -1;
}

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (!Focused() && focusPolicy() != Qt::NoFocus)
        setFocus(Qt::MouseFocusReason);
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
    if (button != mbLeft)
        return;
    pressPoint_ = {x, y};
    if (options_.Contains(goColSizing)) {
        const int c = ColSizingAt(x, y);
        if (c >= 0) {
            gridState_ = GridState::ColSizing;
            sizingIndex_ = c;
            sizingOrigin_ = x - colWidths_[c];
            return;
        }
    }
    if (options_.Contains(goRowSizing)) {
        const int r = RowSizingAt(x, y);
        if (r >= 0) {
            gridState_ = GridState::RowSizing;
            sizingIndex_ = r;
            sizingOrigin_ = y - rowHeights_[r];
            return;
        }
    }
    const TGridCoord cell = MouseCoord(x, y);
    if (cell.X < 0)
        return;
    if (cell.Y < fixedRows_ && cell.X >= fixedCols_) {
        if (options_.Contains(goColMoving)) {
            gridState_ = GridState::ColMoving;
            moveFrom_ = moveTo_ = cell.X;
        }
        return;
    }
    if (cell.X < fixedCols_ && cell.Y >= fixedRows_) {
        if (options_.Contains(goRowMoving)) {
            gridState_ = GridState::RowMoving;
            moveFrom_ = moveTo_ = cell.Y;
        }
        return;
    }
    if (cell.X < fixedCols_ || cell.Y < fixedRows_)
        return;
    const bool wasCurrent = cell.X == col_ && cell.Y == row_;
    const bool extend = shift.Contains(ssShift) && options_.Contains(goRangeSelect);
    FocusCell(cell.X, cell.Y, extend);
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
        if (cell.X >= fixedCols_ && cell.Y >= fixedRows_ && (cell.X != col_ || cell.Y != row_))
            FocusCell(cell.X, cell.Y, true);
        break;
    }
    case GridState::ColSizing:
        if (sizingIndex_ >= 0 && sizingIndex_ < ColCount()) {
            colWidths_[sizingIndex_] = std::max(0, x - sizingOrigin_);
            UpdateScrollRange();
            InvalidateGrid();
            UpdateEditorPlace();
        }
        break;
    case GridState::RowSizing:
        if (sizingIndex_ >= 0 && sizingIndex_ < RowCount()) {
            rowHeights_[sizingIndex_] = std::max(0, y - sizingOrigin_);
            UpdateScrollRange();
            InvalidateGrid();
            UpdateEditorPlace();
        }
        break;
    case GridState::ColMoving: {
        const TGridCoord cell = MouseCoord(x, std::max(0, std::min(y, FixedHeight() - 1)));
        if (cell.X >= fixedCols_)
            moveTo_ = cell.X;
        break;
    }
    case GridState::RowMoving: {
        const TGridCoord cell = MouseCoord(std::max(0, std::min(x, FixedWidth() - 1)), y);
        if (cell.Y >= fixedRows_)
            moveTo_ = cell.Y;
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
    gridState_ = GridState::Normal;
    switch (state) {
    case GridState::ColSizing: ColWidthsChanged(); break;
    case GridState::RowSizing: RowHeightsChanged(); break;
    case GridState::ColMoving:
        if (moveTo_ != moveFrom_)
            MoveColumn(moveFrom_, moveTo_);
        break;
    case GridState::RowMoving:
        if (moveTo_ != moveFrom_)
            MoveRow(moveFrom_, moveTo_);
        break;
    default: break;
    }
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
}

void TCustomGrid::MouseEnter() { mouseInside_ = true; }

void TCustomGrid::MouseLeave() { mouseInside_ = false; }

void TCustomGrid::mousePressEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    MouseDown(MouseButtonOf(e->button()), ShiftStateOf(*e), p.x(), p.y());
}

void TCustomGrid::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    MouseMove(ShiftStateOf(*e), p.x(), p.y());
}

void TCustomGrid::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    MouseUp(MouseButtonOf(e->button()), ShiftStateOf(*e), p.x(), p.y());
}

void TCustomGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    TShiftState s = ShiftStateOf(*e);
    s.Include(ssDouble);
    MouseDown(MouseButtonOf(e->button()), s, p.x(), p.y());
    DblClick();
    if (options_.Contains(goEditing) && MouseCoord(p.x(), p.y()) == TGridCoord{col_, row_})
        ShowEditor();
}

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

void TCustomGrid::CancelMode(QWidget*) {}

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
    auto column = std::move(data_[fromIndex]);
    data_.erase(data_.begin() + fromIndex);
    data_.insert(data_.begin() + toIndex, std::move(column));
    TDrawGrid::ColumnMoved(fromIndex, toIndex);
}

void TStringGrid::RowMoved(int fromIndex, int toIndex) {
    for (auto& column : data_) {
        CellData cell = std::move(column[fromIndex]);
        column.erase(column.begin() + fromIndex);
        column.insert(column.begin() + toIndex, std::move(cell));
    }
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
