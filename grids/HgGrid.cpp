#include "grids/HgGrid.h"

#include <algorithm>

#include "grids/HgEdit.h"
#include "platform/DateParsing.h"
#include "platform/Exceptions.h"
#include "platform/FormatPatterns.h"
#include "platform/FormatSettings.h"
#include "platform/Registry.h"
#include "platform/TextFiles.h"

namespace zeko {

namespace {

bool SameText(const std::string& a, const std::string& b) {
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

// Sets a flag for the lifetime of the guard.
class FlagGuard {
public:
    explicit FlagGuard(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = old_; }

private:
    bool& flag_;
    bool old_;
};

// A stored width below 0 or wider than any screen is damage: it would hide the
// column or run the grid's pixel sums past the integer range.
constexpr int32_t MaxStoredColWidth = 32767;
bool StoredWidthSound(int32_t width) { return width >= 0 && width <= MaxStoredColWidth; }

} // namespace

THyperGrid::THyperGrid(QWidget* parent) : THgHintGrid(parent), curCol_(FixedCols()), curRow_(FixedRows()) {
    columns_.OnItemChange = [this](ThgHeading* item, int action) { ItemChanged(item, action); };
    SetDefaultRowHeight(20);
    if (!ComponentState().Contains(csLoading))
        for (int i = 0; i < ColCount(); ++i)
            columns_.Add();
}

THyperGrid::~THyperGrid() {
    if (!TrimBlanks(columnsRegistryKey_).empty() && !ComponentState().Contains(csDesigning)) {
        try {
            SaveColumnWidths(columnsRegistryKey_);
        } catch (const std::exception&) {
            // Widths are a convenience; a store that cannot be written loses only them.
        }
    }
    columns_.OnItemChange = nullptr;
}

std::string THyperGrid::Author() const { return "ZEKO grid controls"; }

void THyperGrid::SetHyperOptions(ThgOptions v) { SetAndRepaint(hyperOptions_, v); }
void THyperGrid::SetHyperHighlightColor(TColor v) { SetAndRepaint(hyperHighlightColor_, v); }
void THyperGrid::SetHyperHighlightFontColor(TColor v) { SetAndRepaint(hyperHighlightFontColor_, v); }

THgInplaceEdit* THyperGrid::HyperEditor() const { return static_cast<THgInplaceEdit*>(InplaceEditor()); }

// ---------------------------------------------------------------- columns

ThgColumn* THyperGrid::ColumnFromGridIndex(int index) const {
    int target = index;
    for (int i = 0; i < columns_.Count() && i <= target; ++i)
        if (!columns_.Items(i)->Visible())
            ++target;
    if (index < 0 || target >= columns_.Count())
        throw EhgColumnIndexOutOfRange("THyperGrid: Column index out of range");
    return columns_.Items(target);
}

int THyperGrid::VisibleItemsBefore(const ThgColumn* column) const {
    int n = 0;
    for (int i = 0; i < column->Index(); ++i)
        if (columns_.Items(i)->Visible())
            ++n;
    return n;
}

int THyperGrid::GridIndexOfColumn(const ThgColumn* column) const {
    if (!column || !column->Visible() || column->Collection() != &columns_)
        return -1;
    const int n = VisibleItemsBefore(column);
    return n < ColCount() ? n : -1;
}

ThgColumn* THyperGrid::ColumnByName(const std::string& name) const {
    for (int i = 0; i < columns_.Count(); ++i)
        if (SameText(columns_.Items(i)->Name(), name))
            return columns_.Items(i);
    throw EhgInvalidColumnName("Invalid column name \"" + name + "\"");
}

int THyperGrid::VisibleColumnCount() const {
    int n = 0;
    for (int i = 0; i < columns_.Count(); ++i)
        if (columns_.Items(i)->Visible())
            ++n;
    return n;
}

void THyperGrid::LoadColumnWidths(const std::string& key) {
    if (TrimBlanks(key).empty())
        return;
    TRegistry registry;
    if (!registry.OpenKeyReadOnly(key))
        return;
    for (const std::string& name : registry.GetValueNames()) {
        try {
            ThgColumn* column = ColumnByName(name);
            const int32_t width = registry.ReadInteger(name);
            const int index = GridIndexOfColumn(column);
            if (index > -1 && StoredWidthSound(width))
                SetColWidths(index, width);
        } catch (const EhgInvalidColumnName&) {
            // a width of a column this grid does not have
        } catch (const ERegistryException&) {
            // not an integer
        }
    }
}

void THyperGrid::SaveColumnWidths(const std::string& key) {
    if (TrimBlanks(key).empty())
        return;
    TRegistry registry;
    if (!registry.OpenKey(key, true))
        return;
    for (int i = 0; i < ColCount(); ++i)
        registry.WriteInteger(ColumnFromGridIndex(i)->Name(), ColWidths(i));
}

void THyperGrid::RepaintRow(int row) { InvalidateRow(row); }

bool THyperGrid::IsFixedCell(int col, int row) const {
    return (col >= 0 && col < FixedCols()) || (row >= 0 && row < FixedRows());
}

int THyperGrid::HeadingIndexAt(int x, int y) const {
    const TGridCoord cell = MouseCoord(x, y);
    if (cell.Y != 0 || cell.X < 0 || !IsFixedCell(cell.X, cell.Y))
        return -1;
    ThgColumn* column;
    try {
        column = ColumnFromGridIndex(cell.X);
    } catch (const EhgException&) {
        return -1;
    }
    if (column->HeadingIndex() < 0)
        return -1;
    TRect r = CellRect(cell.X, 0);
    r.Bottom = r.Top + RowHeights(0) / 2 - 2;
    return PtInRect(r, {x, y}) ? column->HeadingIndex() : -1;
}

// ---------------------------------------------------------------- showing and hiding items

void THyperGrid::ItemChanged(ThgHeading* item, int action) {
    auto* column = dynamic_cast<ThgColumn*>(item);
    if (action == hgItemVisibleChanged && column) {
        if (column->Visible())
            ShowItem(column);
        else
            HideItem(column);
        return;
    }
    InvalidateGrid();
}

void THyperGrid::HideItem(ThgColumn* column) {
    HideEditor();
    const int p = VisibleItemsBefore(column);
    if (p < ColCount()) {
        column->HiddenCells() = Cols(p);
        column->SetSavedWidth(ColWidths(p));
        FlagGuard internal(internalColChange_);
        DeleteColumn(p);
    }
    InvalidateGrid();
}

void THyperGrid::ShowItem(ThgColumn* column) {
    HideEditor();
    {
        FlagGuard internal(internalColChange_);
        const int oldCount = ColCount();
        const int lastWidth = oldCount > 0 ? ColWidths(oldCount - 1) : DefaultColWidth();
        SetColCount(oldCount + 1);
        if (oldCount > 0)
            SetColWidths(oldCount - 1, lastWidth);
        const int last = ColCount() - 1;
        SetColWidths(last, column->SavedWidth());
        SetCols(last, column->HiddenCells());
        MoveColumn(last, VisibleItemsBefore(column));
    }
    column->HiddenCells().clear();
    InvalidateGrid();
}

void THyperGrid::SizeChanged(int oldColCount, int oldRowCount) {
    THgHintGrid::SizeChanged(oldColCount, oldRowCount);
    // A hidden column keeps one line per row, as the shown ones do: the texts of
    // rows taken away go with them and never come back in new rows.
    if (RowCount() != oldRowCount)
        for (int i = 0; i < columns_.Count(); ++i) {
            ThgColumn* c = columns_.Items(i);
            if (!c->Visible())
                c->HiddenCells().resize(RowCount());
        }
    if (internalColChange_)
        return;
    if (ColCount() > oldColCount) {
        for (int i = oldColCount; i < ColCount(); ++i)
            columns_.Add();
    } else if (ColCount() < oldColCount) {
        int toRemove = oldColCount - ColCount();
        for (int i = columns_.Count() - 1; i >= 0 && toRemove > 0; --i)
            if (columns_.Items(i)->Visible()) {
                columns_.Delete(i);
                --toRemove;
            }
    }
}

void THyperGrid::ColumnMoved(int fromIndex, int toIndex) {
    if (!internalColChange_) {
        ThgColumn* from = ColumnFromGridIndex(fromIndex);
        ThgColumn* to = ColumnFromGridIndex(toIndex);
        columns_.Move(from->Index(), to->Index());
    }
    THgHintGrid::ColumnMoved(fromIndex, toIndex);
}

void THyperGrid::RowMoved(int fromIndex, int toIndex) {
    THgHintGrid::RowMoved(fromIndex, toIndex);
    for (int i = 0; i < columns_.Count(); ++i) {
        std::vector<std::string>& cells = columns_.Items(i)->HiddenCells();
        if (columns_.Items(i)->Visible() || fromIndex >= static_cast<int>(cells.size()) ||
            toIndex >= static_cast<int>(cells.size()))
            continue;
        MoveItem(cells, fromIndex, toIndex);
    }
}

void THyperGrid::DefineProperties(TFiler& filer) {
    filer.DefineProperty(
        "AVisibleColumnCount",
        [this](TReader& reader) {
            const int count = reader.ReadInteger();
            // More shown columns than items is damage; Loaded settles the count anyway.
            if (count < 0 || count > columns_.Count())
                return;
            FlagGuard internal(internalColChange_);
            SetColCount(count);
        },
        [this](TWriter& writer) { writer.WriteInteger(VisibleColumnCount()); }, true);
}

void THyperGrid::Loaded() {
    THgHintGrid::Loaded();
    {
        FlagGuard internal(internalColChange_);
        SetColCount(VisibleColumnCount());
    }
    if (!ComponentState().Contains(csDesigning))
        LoadColumnWidths(columnsRegistryKey_);
}

// ---------------------------------------------------------------- display text

void THyperGrid::GetCellText(const std::string& value, std::string& text) { text = value; }

std::string THyperGrid::FormatDisplay(const ThgColumn& column, const std::string& text) const {
    switch (column.FormatType()) {
    case hgfmtNumeric: {
        const double value = StrToFloat(text);
        std::string pattern = "\"" + column.Prefix() + "\"#";
        if (column.ThousandsSeparator())
            pattern += ",";
        pattern += "##0";
        if (column.Decimals() > 0)
            pattern += "." + std::string(column.Decimals(), '0');
        if (column.NegativeParenthesis())
            pattern += ";(" + pattern + ")";
        return FormatFloat(pattern, value);
    }
    case hgfmtDateTime: {
        const std::string datePart = DateFormatPattern(column.DateFormat(), DateOrder());
        const std::string timePart = TimeFormatPattern(column.TimeFormat());
        if (!datePart.empty() && !timePart.empty())
            return FormatDateTime(datePart + " " + timePart, StrToDateTime(text));
        if (!datePart.empty())
            return FormatDateTime(datePart, StrToDate(text));
        if (!timePart.empty())
            return FormatDateTime(timePart, StrToTime(text));
        return text;
    }
    case hgfmtScientific: {
        const double value = StrToFloat(text);
        std::string pattern = "0";
        if (column.Decimals() > 0)
            pattern += "." + std::string(column.Decimals(), '0');
        return FormatFloat(pattern + "E+00", value);
    }
    default: return text;
    }
}

void THyperGrid::GetDisplayText(int col, int row, std::string& text) {
    GetCellText(Cells(col, row), text);
    ThgColumn* column = ColumnFromGridIndex(col);
    bool convert = true;
    if (OnDisplayText)
        OnDisplayText(this, col, row, column, text, convert);
    if (text.empty() || !convert)
        return;
    try {
        text = FormatDisplay(*column, text);
    } catch (const EConvertError&) {
        if (OnConversionError)
            OnConversionError(this, col, row, column, text);
    }
}

void THyperGrid::DoComboSelection(int col, int row) {
    if (OnComboSelection)
        OnComboSelection(this, col, row);
}

void THyperGrid::DoCellEdited(int col, int row) {
    if (OnCellEdited)
        OnCellEdited(this, col, row);
}

void THyperGrid::DoButtonClick(int col, int row) {
    if (OnButtonClick)
        OnButtonClick(this, col, row);
}

// ---------------------------------------------------------------- the current cell

bool THyperGrid::SelectCell(int col, int row) {
    if (!THgHintGrid::SelectCell(col, row))
        return false;
    if (col == curCol_ && row == curRow_)
        return true;
    const bool rowChanges = row != curRow_;
    bool canMove = DoExitCell();
    if (rowChanges)
        canMove = DoExitRow() && canMove;
    if (!canMove)
        return false;
    curCol_ = col;
    curRow_ = row;
    if (rowChanges)
        DoEnterRow();
    DoEnterCell();
    return true;
}

void THyperGrid::DoEnter() {
    THgHintGrid::DoEnter();
    curCol_ = Col();
    curRow_ = Row();
    DoEnterRow();
    DoEnterCell();
}

void THyperGrid::DoExit() {
    DoExitCell();
    DoExitRow();
    THgHintGrid::DoExit();
}

void THyperGrid::Entered(const std::function<void(THyperGrid*, int, int)>& event) {
    if (event)
        event(this, curCol_, curRow_);
    if (!HintFollowsMouse())
        SetHintCell({curCol_, curRow_});
}

bool THyperGrid::MayExit(const std::function<void(THyperGrid*, int, int, bool&)>& event) {
    bool canExit = true;
    if (HyperEditor() && autoAcceptSuggestion_)
        HyperEditor()->AcceptSuggestion();
    if (event)
        event(this, curCol_, curRow_, canExit);
    if (!HintFollowsMouse())
        SetHintActive(false);
    return canExit;
}

void THyperGrid::DoEnterCell() { Entered(OnEnterCell); }
void THyperGrid::DoEnterRow() { Entered(OnEnterRow); }
bool THyperGrid::DoExitCell() { return MayExit(OnExitCell); }
bool THyperGrid::DoExitRow() { return MayExit(OnExitRow); }

// ---------------------------------------------------------------- editing

TInplaceEdit* THyperGrid::CreateEditor() { return new THgInplaceEdit(this); }

int THyperGrid::GetEditLimit() {
    try {
        return ColumnFromGridIndex(Col())->MaxTextLength();
    } catch (const EhgException&) {
        return 0;
    }
}

void THyperGrid::EditChanged() {
    if (HyperEditor())
        HyperEditor()->TextChanged();
}

void THyperGrid::HandleMessage(const TMessage& message) {
    const int index = static_cast<int>(message.WParam);
    const int wanted = static_cast<int>(message.LParam);
    // Fitting only ever enlarges: cells of one column that want different widths
    // must not make it shrink and grow in turn.
    if (message.Msg == HGM_ADJUSTCOLWIDTH) {
        if (!Options().Contains(goColSizing) && !ComponentState().Contains(csDesigning) && wanted > ColWidths(index))
            SetColWidths(index, wanted);
        return;
    }
    if (message.Msg == HGM_ADJUSTROWHEIGHT) {
        if (!Options().Contains(goRowSizing) && !ComponentState().Contains(csDesigning) && wanted > RowHeights(index))
            SetRowHeights(index, wanted);
        return;
    }
    THgHintGrid::HandleMessage(message);
}

// ---------------------------------------------------------------- fixed cells as buttons

bool THyperGrid::ShowsHeading(int col, int headingIndex) const {
    try {
        return ColumnFromGridIndex(col)->HeadingIndex() == headingIndex;
    } catch (const EhgException&) {
        return false;
    }
}

void THyperGrid::HeadingSpan(int col, int headingIndex, int& first, int& last) const {
    first = col;
    while (first - 1 >= 0 && ShowsHeading(first - 1, headingIndex))
        --first;
    last = col;
    while (last + 1 < ColCount() && ShowsHeading(last + 1, headingIndex))
        ++last;
}

TRect THyperGrid::HeadingVisibleRect(int col, int row, int headingIndex) const {
    int first = col, last = col;
    // Only the columns in view: not those scrolled out to the left or the right.
    while (first - 1 >= 0 && ShowsHeading(first - 1, headingIndex) && !(first - 1 < LeftCol() && first - 1 >= FixedCols()))
        --first;
    while (last + 1 < ColCount() && ShowsHeading(last + 1, headingIndex) && last + 1 <= LeftCol() + VisibleColCount())
        ++last;
    const TRect a = CellRect(first, row);
    const TRect b = CellRect(last, row);
    return {a.Left, a.Top, b.Right, a.Top + RowHeights(row) / 2 - 2};
}

void THyperGrid::InvalidatePressed() {
    if (pressHeading_ < 0)
        InvalidateCell(pressCol_, pressRow_);
    else
        InvalidateRect(HeadingVisibleRect(pressCol_, pressRow_, pressHeading_));
}

void THyperGrid::UpdatePress(int x, int y) {
    bool over;
    if (pressHeading_ < 0)
        over = MouseCoord(x, y) == TGridCoord{pressCol_, pressRow_} && HeadingIndexAt(x, y) == -1;
    else
        over = HeadingIndexAt(x, y) == pressHeading_;
    pressOver_ = over;
    const bool inside = over && pressButton_ == mbLeft;
    if (inside != pressInside_) {
        pressInside_ = inside;
        InvalidatePressed();
    }
}

void THyperGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (!hyperColumnClick_) {
        THgHintGrid::MouseDown(button, shift, x, y);
        return;
    }
    const TGridCoord cell = MouseCoord(x, y);
    const bool fixed = cell.X >= 0 && IsFixedCell(cell.X, cell.Y);
    TRect r = CellRect(cell.X, cell.Y);
    if (button == mbLeft && fixed) {
        // Keep the sizing and moving zones at the edges free.
        if (cell.X >= FixedCols()) {
            if (Options().Contains(goColSizing))
                InflateRect(r, -4, 0);
            if (Options().Contains(goColMoving))
                InflateRect(r, 0, -4);
        } else if (cell.Y >= FixedRows()) {
            if (Options().Contains(goRowMoving))
                InflateRect(r, -4, 0);
            if (Options().Contains(goRowSizing))
                InflateRect(r, 0, -4);
        }
    }
    if (!fixed || !PtInRect(r, {x, y})) {
        THgHintGrid::MouseDown(button, shift, x, y);
        return;
    }
    pressCol_ = cell.X;
    pressRow_ = cell.Y;
    pressHeading_ = HeadingIndexAt(x, y);
    pressing_ = true;
    if (OnBeforeFixedCellClick)
        OnBeforeFixedCellClick(this, cell.X, cell.Y, pressHeading_, pressing_);
    if (!pressing_) {
        THgHintGrid::MouseDown(button, shift, x, y);
        return;
    }
    pressButton_ = button;
    UpdatePress(x, y);
}

void THyperGrid::MouseMove(TShiftState shift, int x, int y) {
    if (pressing_)
        UpdatePress(x, y);
    THgHintGrid::MouseMove(shift, x, y);
}

void THyperGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (!pressing_) {
        THgHintGrid::MouseUp(button, shift, x, y);
        return;
    }
    const TGridCoord cell = MouseCoord(x, y);
    const bool click = pressOver_ && button == pressButton_;
    if (click && OnFixedCellClick)
        OnFixedCellClick(this, cell.X, cell.Y, pressHeading_, button, shift, x, y);
    pressing_ = false;
    UpdatePress(-1, -1);
    pressInside_ = false;
    if (!click)
        THgHintGrid::MouseUp(button, shift, x, y);
}

} // namespace zeko
