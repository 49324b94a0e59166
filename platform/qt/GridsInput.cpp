// Keys, mouse and focus of the grids: moving the current cell, selecting, sizing
// and moving columns and rows.
#include "platform/qt/Grids.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace zeko {

namespace {

// The zone around a column or row boundary in which a press starts sizing.
constexpr int SizingZone = 4;

bool IsInside(const QWidget* outer, const QWidget* w) { return w && outer && (w == outer || outer->isAncestorOf(w)); }

} // namespace

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
    // The grid has no use for Esc: it goes on to the form, whose cancel button
    // closes a dialog.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->ignore();
        return;
    }
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

bool TCustomGrid::Focused() const {
    const QWidget* f = QApplication::focusWidget();
    return f && IsInside(this, f);
}

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

} // namespace zeko
