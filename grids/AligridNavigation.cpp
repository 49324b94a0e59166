// The next-cell walk after an edit and on Tab, the clipboard text of cell ranges,
// and the line operations (insert, delete, move, exchange, sort) that carry each
// line's settings and hints with its cells.
#include <QScrollBar>

#include <algorithm>

#include "grids/Aligrid.h"

namespace zeko {

// ---------------------------------------------------------------- the next cell

void TStringAlignGrid::NextCell(T_nextcell direction, T_lastcell afterLast, int& row, int& col) {
    const int C = ColCount(), R = RowCount(), FC = FixedCols(), FR = FixedRows();
    bool out = false;
    switch (direction) {
    case nc_rightdown:
        if (++col >= C) { col = FC; ++row; }
        out = row >= R;
        break;
    case nc_downright:
        if (++row >= R) { row = FR; ++col; }
        out = col >= C;
        break;
    case nc_leftdown:
        if (--col < FC) { col = C - 1; ++row; }
        out = row >= R;
        break;
    case nc_downleft:
        if (++row >= R) { row = FR; --col; }
        out = col < FC;
        break;
    case nc_leftup:
        if (--col < FC) { col = C - 1; --row; }
        out = row < FR;
        break;
    case nc_upleft:
        if (--row < FR) { row = R - 1; --col; }
        out = col < FC;
        break;
    case nc_rightup:
        if (++col >= C) { col = FC; --row; }
        out = row < FR;
        break;
    case nc_upright:
        if (--row < FR) { row = R - 1; ++col; }
        out = col >= C;
        break;
    }
    if (!out)
        return;
    col = row = -1;
    switch (afterLast) {
    case lc_newcolrow:
        switch (direction) {
        case nc_rightdown:
            SetRowCount(RowCount() + 1);
            col = FixedCols(), row = RowCount() - 1;
            break;
        case nc_downright:
            SetColCount(ColCount() + 1);
            col = ColCount() - 1, row = FixedRows();
            break;
        case nc_leftdown:
            SetRowCount(RowCount() + 1);
            col = ColCount() - 1, row = RowCount() - 1;
            break;
        case nc_downleft:
            InsertColumn(FixedCols());
            col = FixedCols(), row = FixedRows();
            break;
        case nc_leftup:
            InsertRow(FixedRows());
            col = ColCount() - 1, row = FixedRows();
            break;
        case nc_upleft:
            InsertColumn(FixedCols());
            col = FixedCols(), row = RowCount() - 1;
            break;
        case nc_rightup:
            InsertRow(FixedRows());
            col = FixedCols(), row = FixedRows();
            break;
        case nc_upright:
            SetColCount(ColCount() + 1);
            col = ColCount() - 1, row = RowCount() - 1;
            break;
        }
        break;
    case lc_stop:
        break;
    case lc_first:
        switch (direction) {
        case nc_rightdown: case nc_downright:
            col = FC, row = FR;
            break;
        case nc_leftdown: case nc_downleft:
            col = C - 1, row = FR;
            break;
        case nc_leftup: case nc_upleft:
            col = C - 1, row = R - 1;
            break;
        case nc_rightup: case nc_upright:
            col = FC, row = R - 1;
            break;
        }
        break;
    case lc_exit:
        SelectNextControl(true);
        break;
    }
}

namespace {

// One walk visits every cell once; a search longer than that finds nothing new.
int WalkLimit(int cols, int rows) { return cols * rows + 2; }

} // namespace

void TStringAlignGrid::NextEditableCell(int& col, int& row) {
    const int startCol = col, startRow = row;
    const int C = ColCount(), R = RowCount();
    for (int steps = WalkLimit(C, R); steps > 0; --steps) {
        NextCell(nextCellEdit_, afterLastCellEdit_, row, col);
        if (ColCount() != C || RowCount() != R)
            return;
        if ((col == startCol && row == startRow) || (col == -1 && row == -1))
            return;
        if (GetEditCell(col, row))
            return;
    }
    // Started outside the walk (in a fixed cell) and found nothing editable.
    col = startCol, row = startRow;
}

namespace {

T_nextcell Opposite(T_nextcell direction) {
    switch (direction) {
    case nc_rightdown: return nc_leftup;
    case nc_leftup: return nc_rightdown;
    case nc_downright: return nc_upleft;
    case nc_upleft: return nc_downright;
    case nc_leftdown: return nc_rightup;
    case nc_rightup: return nc_leftdown;
    case nc_downleft: return nc_upright;
    case nc_upright: return nc_downleft;
    }
    return direction;
}

} // namespace

void TStringAlignGrid::TabToNextStop(bool backwards) {
    const T_nextcell direction = backwards ? Opposite(nextCellTab_) : nextCellTab_;
    const int startCol = Col(), startRow = Row();
    bool anyStop = false;
    for (int c = FixedCols(); c < ColCount() && !anyStop; ++c)
        anyStop = TabStops(c);
    if (!anyStop)
        return;  // no column to go to: stay, and add no lines looking for one
    int col = startCol, row = startRow;
    for (int steps = WalkLimit(ColCount(), RowCount()); ; --steps) {
        NextCell(direction, afterLastCellTab_, row, col);
        if (col == -1 && row == -1) {
            col = startCol, row = startRow;
            break;
        }
        if ((col == startCol && row == startRow) || TabStops(col))
            break;
        if (steps <= 0) {
            col = startCol, row = startRow;
            break;
        }
    }
    FocusCell(col, row);
}

void TStringAlignGrid::KeyDown(uint16_t& key, TShiftState shift) {
    if (key == VK_TAB && !shift.Contains(ssAlt) && Options().Contains(goTabs)) {
        TabToNextStop(shift.Contains(ssShift));
        key = 0;
        return;
    }
    if (key == VK_INSERT && shift.Contains(ssShift))
        SendMessage(WM_PASTE, 0, 0);
    else if (key == VK_INSERT && shift.Contains(ssCtrl))
        SendMessage(WM_COPY, 0, 0);
    else if (key == VK_DELETE && shift.Contains(ssShift))
        SendMessage(WM_CUT, 0, 0);
    TStringGrid::KeyDown(key, shift);
}

// ---------------------------------------------------------------- clipboard

TGridRect TStringAlignGrid::Normalized(TGridRect range) const {
    const int lastCol = ColCount() - 1, lastRow = RowCount() - 1;
    if (range.Right < range.Left || range.Right < 0 || range.Right > lastCol)
        range.Right = lastCol;
    if (range.Bottom < range.Top || range.Bottom < 0 || range.Bottom > lastRow)
        range.Bottom = lastRow;
    range.Left = std::max(range.Left, 0);
    range.Top = std::max(range.Top, 0);
    return range;
}

void TStringAlignGrid::CopyToStream(TStream& stream, char separator, TGridRect range) {
    range = Normalized(range);
    for (int r = range.Top; r <= range.Bottom; ++r) {
        std::string line;
        for (int c = range.Left; c <= range.Right; ++c) {
            line += Cells(c, r);
            line += separator;
        }
        line += "\r\n";
        WriteStringToStream(stream, line);
    }
}

std::unique_ptr<TMemoryStream> TStringAlignGrid::CopyToStream(char separator, TGridRect range) {
    auto stream = std::make_unique<TMemoryStream>();
    CopyToStream(*stream, separator, range);
    return stream;
}

namespace {

// The stream's text as lines (CR LF, LF or CR end a line), without NUL bytes and
// control characters other than the separator.
std::vector<std::string> CleanLines(TStream& stream, char separator) {
    stream.SetPosition(0);
    std::string text(static_cast<size_t>(stream.Size()), '\0');
    text.resize(static_cast<size_t>(stream.Read(text.data(), static_cast<int64_t>(text.size()))));
    std::vector<std::string> lines;
    std::string line;
    bool hasLine = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '\r' || ch == '\n') {
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            lines.push_back(std::move(line));
            line.clear();
            hasLine = false;
            continue;
        }
        hasLine = true;
        const auto byte = static_cast<unsigned char>(ch);
        if (ch == separator || (byte >= 0x20 && byte != 0x7F))
            line += ch;
    }
    if (hasLine)
        lines.push_back(std::move(line));
    return lines;
}

} // namespace

void TStringAlignGrid::PasteFromStream(TStream& stream, char separator, TGridRect range) {
    PasteCells(stream, separator, range, false);
}

void TStringAlignGrid::PasteCells(TStream& stream, char separator, TGridRect range, bool editableOnly) {
    range = Normalized(range);
    const std::vector<std::string> lines = CleanLines(stream, separator);
    int r = range.Top;
    for (size_t i = 0; i < lines.size() && r <= range.Bottom; ++i, ++r) {
        std::string rest = lines[i] + separator;
        for (int c = range.Left; c <= range.Right && rest.size() > 1; ++c) {
            const size_t end = rest.find(separator);
            if (!editableOnly || GetEditCell(c, r) || editAll_)
                SetCells(c, r, rest.substr(0, end));
            rest.erase(0, end + 1);
        }
    }
}

void TStringAlignGrid::CopyToClipboard(char separator, TGridRect range) {
    TMemoryStream stream;
    CopyToStream(stream, separator, range);
    PutClipboardText(stream, CF_TEXT);
}

void TStringAlignGrid::PasteFromClipboard(char separator, TGridRect range) {
    TMemoryStream stream;
    GetClipboardText(stream, CF_TEXT);
    PasteFromStream(stream, separator, range);
}

void TStringAlignGrid::CopySelectionToClipboard() { CopyToClipboard('\t', Selection()); }

// Cut and paste from the keyboard change only what the user could have typed.
bool TStringAlignGrid::UserMayChange(int col, int row) const {
    return Options().Contains(goEditing) && (GetEditCell(col, row) || editAll_);
}

void TStringAlignGrid::CutToClipboard() {
    const TGridRect range = Normalized(Selection());
    CopyToClipboard('\t', range);
    for (int r = range.Top; r <= range.Bottom; ++r)
        for (int c = range.Left; c <= range.Right; ++c)
            if (UserMayChange(c, r))
                SetCells(c, r, std::string());
}

void TStringAlignGrid::PasteSelectionFromClipboard() {
    if (!Options().Contains(goEditing))
        return;
    TMemoryStream stream;
    GetClipboardText(stream, CF_TEXT);
    PasteCells(stream, '\t', Selection(), true);
}

// ---------------------------------------------------------------- lines

// A new empty line at `index` (never among the fixed lines): the settings and
// hints from there on move one line on, then the cells.
void TStringAlignGrid::InsertLine(bool rows, int index) {
    const int p = std::max(index, rows ? FixedRows() : FixedCols());
    const int current = rows ? Row() : Col();
    TInplaceEdit* editor = InplaceEditor();
    const bool hidden = editor && editor->Visible() && current >= p;
    if (hidden)
        HideEditor();
    if (rows) {
        propRow_.InsertEmpty(p);
        propCell_.InsertEmptyRow(p);
        hintCell_.InsertEmptyRow(p);
        SetRowCount(RowCount() + 1);
    } else {
        propCol_.InsertEmpty(p);
        propCell_.InsertEmptyCol(p);
        hintCell_.InsertEmptyCol(p);
        noTabStop_.InsertEmpty(p);
        SetColCount(ColCount() + 1);
    }
    const int last = (rows ? RowCount() : ColCount()) - 1;
    for (int i = 0; i < (rows ? ColCount() : RowCount()); ++i) {
        const int c = rows ? i : last, r = rows ? last : i;
        SetCells(c, r, std::string());
        SetObjects(c, r, nullptr);
    }
    movingCellsOnly_ = true;
    if (rows)
        MoveRow(last, p);
    else
        MoveColumn(last, p);
    movingCellsOnly_ = false;
    if (current >= p && (rows ? Row() : Col()) != current + 1) {
        if (rows)
            FocusCell(Col(), current + 1);
        else
            FocusCell(current + 1, Row());
    }
    if (hidden)
        ShowEditor();
    InvalidateGrid();
}

void TStringAlignGrid::InsertColumn(int col) { InsertLine(false, col); }
void TStringAlignGrid::InsertRow(int row) { InsertLine(true, row); }

// The line's settings and hints are freed with it.
void TStringAlignGrid::DeleteLine(bool rows, int index) {
    if (index < 0 || index >= (rows ? RowCount() : ColCount()))
        return;
    movingCellsOnly_ = true;
    if (rows) {
        propRow_.DeleteAndFree(index);
        propCell_.DeleteRow(index);
        hintCell_.DeleteRow(index);
        TStringGrid::DeleteRow(index);
    } else {
        propCol_.DeleteAndFree(index);
        propCell_.DeleteCol(index);
        hintCell_.DeleteCol(index);
        noTabStop_.DeleteAndFree(index);
        TStringGrid::DeleteColumn(index);
    }
    movingCellsOnly_ = false;
}

void TStringAlignGrid::DeleteColumn(int col) { DeleteLine(false, col); }
void TStringAlignGrid::DeleteRow(int row) { DeleteLine(true, row); }

// The editor's cell follows its text also when only the cells move.
void TStringAlignGrid::LineMoved(bool rows, int fromIndex, int toIndex) {
    if (TNewInplaceEdit* editor = AlignEditor(); editor && editor->HasCell()) {
        int& index = rows ? editor->EditRow : editor->EditCol;
        index = MovedIndex(index, fromIndex, toIndex);
    }
    if (movingCellsOnly_ || fromIndex == toIndex)
        return;
    if (rows) {
        propRow_.Move(fromIndex, toIndex);
        propCell_.MoveRow(fromIndex, toIndex);
        hintCell_.MoveRow(fromIndex, toIndex);
    } else {
        propCol_.Move(fromIndex, toIndex);
        propCell_.MoveCol(fromIndex, toIndex);
        hintCell_.MoveCol(fromIndex, toIndex);
        noTabStop_.Move(fromIndex, toIndex);
    }
}

void TStringAlignGrid::ColumnMoved(int fromIndex, int toIndex) {
    LineMoved(false, fromIndex, toIndex);
    TStringGrid::ColumnMoved(fromIndex, toIndex);
}

void TStringAlignGrid::RowMoved(int fromIndex, int toIndex) {
    LineMoved(true, fromIndex, toIndex);
    TStringGrid::RowMoved(fromIndex, toIndex);
}

void TStringAlignGrid::ExchangeLines(bool rows, int a, int b) {
    const int count = rows ? RowCount() : ColCount();
    if (a == b || a < 0 || b < 0 || a >= count || b >= count)
        return;
    TInplaceEdit* editor = InplaceEditor();
    const int current = rows ? Row() : Col();
    const bool hidden = editor && editor->Visible() && (current == a || current == b);
    if (hidden)
        HideEditor();
    if (rows) {
        propRow_.Exchange(a, b);
        propCell_.ExchangeRows(a, b);
        hintCell_.ExchangeRows(a, b);
    } else {
        propCol_.Exchange(a, b);
        propCell_.ExchangeCols(a, b);
        hintCell_.ExchangeCols(a, b);
    }
    const int across = rows ? ColCount() : RowCount();
    for (int i = 0; i < across; ++i) {
        const int ca = rows ? i : a, ra = rows ? a : i;
        const int cb = rows ? i : b, rb = rows ? b : i;
        const std::string text = Cells(ca, ra);
        void* object = Objects(ca, ra);
        SetCells(ca, ra, Cells(cb, rb));
        SetObjects(ca, ra, Objects(cb, rb));
        SetCells(cb, rb, text);
        SetObjects(cb, rb, object);
    }
    if (current == a || current == b) {
        const int other = current == a ? b : a;
        if (rows)
            FocusCell(Col(), other);
        else
            FocusCell(other, Row());
    }
    if (hidden)
        ShowEditor();
    InvalidateGrid();
}

void TStringAlignGrid::ExchangeColumns(int col1, int col2) { ExchangeLines(false, col1, col2); }
void TStringAlignGrid::ExchangeRows(int row1, int row2) { ExchangeLines(true, row1, row2); }

// ---------------------------------------------------------------- sorting

t_relation TStringAlignGrid::CompareLines(bool sortRows, int index, int a, int b) {
    const TCompareFunction& compare = sortRows ? OnCompareCol : OnCompareRow;
    return compare ? compare(this, index, a, b) : rel_equal;
}

void TStringAlignGrid::QuickSort(int index, int lo, int hi, bool sortRows, t_relation wanted) {
    while (lo < hi) {
        int i = lo, j = hi - 1;
        for (;;) {
            while (i < hi && CompareLines(sortRows, index, i, hi) == wanted)
                ++i;
            while (j != lo && CompareLines(sortRows, index, hi, j) == wanted)
                --j;
            if (j <= i)
                break;
            ExchangeLines(sortRows, i, j);
            ++i;
            --j;
        }
        ExchangeLines(sortRows, i, hi);
        // The smaller part by recursion, the larger in this loop: the depth stays small.
        if (i - lo < hi - i) {
            QuickSort(index, lo, i - 1, sortRows, wanted);
            lo = i + 1;
        } else {
            QuickSort(index, i + 1, hi, sortRows, wanted);
            hi = i - 1;
        }
    }
}

void TStringAlignGrid::SortCells(int index, int first, int last, bool sortRows, bool ascending) {
    const int count = sortRows ? RowCount() : ColCount();
    first = std::max(first, 0);
    last = std::min(last, count - 1);
    if (first < last)
        QuickSort(index, first, last, sortRows, ascending ? rel_less : rel_greater);
}

// ---------------------------------------------------------------- last column, sizes, scrolling

void TStringAlignGrid::AdjustLastCol() {
    const int count = ColCount();
    if (count <= 0)
        return;
    int widths = 0;
    for (int c = 0; c < count - 1; ++c)
        widths += ColWidths(c);
    const int width = ClientWidth() - widths - count * VertLineWidth();
    // Too little room leaves the column as it is rather than give it no width.
    if (widths < ClientWidth() && width > 0)
        SetColWidths(count - 1, width);
}

void TStringAlignGrid::SetAutoAdjustLastCol(bool value) {
    autoAdjustLastCol_ = value;
    if (value)
        AdjustLastCol();
}

void TStringAlignGrid::SetGridLineWidth(int width) {
    TStringGrid::SetGridLineWidth(width);
    if (autoAdjustLastCol_)
        AdjustLastCol();
}

void TStringAlignGrid::Resize() {
    TStringGrid::Resize();
    if (autoAdjustLastCol_)
        AdjustLastCol();
}

void TStringAlignGrid::FollowScrollThumbs() {
    QObject::connect(verticalScrollBar(), &QScrollBar::sliderMoved, this, [this](int value) {
        if (redrawWhileScroll_)
            SetTopRow(value);
    });
    QObject::connect(horizontalScrollBar(), &QScrollBar::sliderMoved, this, [this](int value) {
        if (redrawWhileScroll_)
            SetLeftCol(value);
    });
}

void TStringAlignGrid::ColWidthsChanged() {
    TStringGrid::ColWidthsChanged();
    if (OnColWidthsChanged)
        OnColWidthsChanged(this);
}

void TStringAlignGrid::RowHeightsChanged() {
    TStringGrid::RowHeightsChanged();
    if (OnRowHeightsChanged)
        OnRowHeightsChanged(this);
}

} // namespace zeko
