// The grids: their cells, sizes, scrolling, current cell and selection, structure
// and posted messages, and the draw and string grids; drawing, input and the
// in-place editor are GridsDrawing.cpp, GridsInput.cpp and GridsEditing.cpp.
#include "platform/qt/Grids.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace zeko {

namespace {

const QEvent::Type GridMessageEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

class GridMessageEvent : public QEvent {
public:
    explicit GridMessageEvent(const TMessage& m) : QEvent(GridMessageEventType), message(m) {}
    TMessage message;
};

} // namespace

int GetScrollBarWidth() {
    return QApplication::style() ? QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 16;
}

void MessageBeep() { QApplication::beep(); }

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
