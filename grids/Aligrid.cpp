#include "grids/Aligrid.h"

#include "platform/qt/HintWindow.h"

namespace zeko {

// ---------------------------------------------------------------- fonts and brushes

void TMyFont::NotifyChange() {
    Changed = true;
    TFont::NotifyChange();
}

void TMyBrush::NotifyChange() {
    Changed = true;
    TBrush::NotifyChange();
}

void RepaintOnChange(TGraphicsObject& object, TStringAlignGrid* grid) {
    if (grid)
        object.OnChange = [grid] { grid->InvalidateGrid(); };
    else
        object.OnChange = nullptr;
}

namespace {

// A font or brush copied from `source`, `changed` or not, that repaints the grid
// on every change of its own.
template <class Own, class Plain>
std::unique_ptr<Own> CopyOf(const Plain& source, bool changed, TStringAlignGrid* grid) {
    auto copy = std::make_unique<Own>();
    copy->Assign(source);
    copy->Changed = changed;
    RepaintOnChange(*copy, grid);
    return copy;
}

// A record's own font or brush copied with its changed flag.
template <class Own, class Plain>
std::unique_ptr<Own> CopyOfOwn(const Own* source, TStringAlignGrid* grid) {
    return source ? CopyOf<Own, Plain>(*source, source->Changed, grid) : nullptr;
}

} // namespace

// ---------------------------------------------------------------- the record

TCellProperties::~TCellProperties() = default;

void TCellProperties::Assign(const TCellProperties* source) {
    if (!source) {
        Alignment = alDefault;
        Wordwrap = ww_default;
        Editable = kEditNotSet;
        Brush.reset();
        SelectedBrush.reset();
        Font.reset();
        SelectedFont.reset();
        return;
    }
    if (source == this)
        return;
    Alignment = source->Alignment;
    Wordwrap = source->Wordwrap;
    Editable = source->Editable;
    Brush = CopyOfOwn<TMyBrush, TBrush>(source->Brush.get(), Grid);
    SelectedBrush = CopyOfOwn<TMyBrush, TBrush>(source->SelectedBrush.get(), Grid);
    Font = CopyOfOwn<TMyFont, TFont>(source->Font.get(), Grid);
    SelectedFont = CopyOfOwn<TMyFont, TFont>(source->SelectedFont.get(), Grid);
}

bool TCellProperties::IsEmpty() const {
    return Alignment == alDefault && Wordwrap == ww_default && Editable == kEditNotSet &&
           !Brush && !SelectedBrush && !Font && !SelectedFont;
}

std::unique_ptr<TCellProperties> TCellProperties::Clone() const {
    auto copy = std::make_unique<TCellProperties>(Grid);
    copy->Assign(this);
    return copy;
}

// ---------------------------------------------------------------- construction

TStringAlignGrid::TStringAlignGrid(QWidget* parent) : TStringGrid(parent) {
    Initialize();
    editable_ = true;
    FollowScrollThumbs();
}

TStringAlignGrid::~TStringAlignGrid() = default;

void TStringAlignGrid::Initialize() {
    alignment_ = alLeft;
    wordwrap_ = ww_none;
    selectedCellColor_ = clHighlight;
    selectedFontColor_ = clWhite;
    showCellHints_ = true;
    selectEditText_ = true;
    nextCellEdit_ = nextCellTab_ = nc_rightdown;
    afterLastCellEdit_ = lc_newcolrow;
    afterLastCellTab_ = lc_first;
    drawSelection_ = true;
    lastHintCell_ = {-1, -1};
    // The fixed cells take the grid's font until their own is changed.
    const auto followGridFont = [this] {
        fixedFont_.Assign(TStringGrid::Font());
        fixedFont_.Changed = false;
    };
    followGridFont();
    TFont& font = TStringGrid::Font();
    font.OnChange = [this, followGridFont, repaint = font.OnChange] {
        if (!fixedFont_.Changed)
            followGridFont();
        if (repaint)
            repaint();
    };
    fixedBrush_.SetColor(TStringGrid::FixedColor());
    fixedBrush_.Changed = false;
    RepaintOnChange(fixedFont_, this);
    RepaintOnChange(fixedBrush_, this);
    OnCompareCol = [](TStringAlignGrid* grid, int col, int row1, int row2) {
        return grid->CompareText(grid->Cells(col, row1), grid->Cells(col, row2));
    };
    OnCompareRow = [](TStringAlignGrid* grid, int row, int col1, int col2) {
        return grid->CompareText(grid->Cells(col1, row), grid->Cells(col2, row));
    };
}

t_relation TStringAlignGrid::CompareText(const std::string& a, const std::string& b) const {
    const int c = a.compare(b);  // character codes, case-sensitive
    return c < 0 ? rel_less : c == 0 ? rel_equal : rel_greater;
}

// ---------------------------------------------------------------- grid-wide properties

void TStringAlignGrid::SetAlignment(TMyAlign value) { SetAndRepaint(alignment_, value); }

void TStringAlignGrid::SetWordwrap(T_Wordwrap value) { SetAndRepaint(wordwrap_, value); }

void TStringAlignGrid::SetEditable(bool value) { SetAndRepaint(editable_, value); }

void TStringAlignGrid::SetFixedColor(TColor color) {
    TStringGrid::SetFixedColor(color);
    fixedBrush_.SetColor(color);
}

void TStringAlignGrid::SetSelectedCellColor(TColor color) { SetAndRepaint(selectedCellColor_, color); }

void TStringAlignGrid::SetSelectedFontColor(TColor color) { SetAndRepaint(selectedFontColor_, color); }

void TStringAlignGrid::SetDrawSelection(bool value) { SetAndRepaint(drawSelection_, value); }

bool TStringAlignGrid::TabStops(int col) const { return noTabStop_.Get(col) == nullptr; }

void TStringAlignGrid::SetTabStops(int col, bool value) {
    noTabStop_.Put(col, value ? nullptr : std::make_unique<TDummyObject>());
}

// ---------------------------------------------------------------- records

TCellProperties& TStringAlignGrid::Record(TPropList& list, int index) {
    if (index < 0)
        return Scratch();
    if (TCellProperties* found = list.Get(index))
        return *found;
    list.Put(index, std::make_unique<TCellProperties>(this));
    return *list.Get(index);
}

TCellProperties& TStringAlignGrid::CellRecord(int col, int row) {
    if (col < 0 || row < 0)
        return Scratch();
    if (TCellProperties* found = propCell_.Get(col, row))
        return *found;
    propCell_.Put(col, row, std::make_unique<TCellProperties>(this));
    return *propCell_.Get(col, row);
}

// What a setting for a line or cell that cannot exist goes into, and is lost.
TCellProperties& TStringAlignGrid::Scratch() {
    scratch_ = std::make_unique<TCellProperties>(nullptr);
    return *scratch_;
}

TMyFont& TStringAlignGrid::OwnFont(TCellProperties& record) {
    if (!record.Font)
        record.Font = CopyOf<TMyFont, TFont>(TStringGrid::Font(), false, this);
    return *record.Font;
}

TMyBrush& TStringAlignGrid::OwnBrush(TCellProperties& record) {
    if (!record.Brush) {
        gridBrush_.SetColor(Color());
        record.Brush = CopyOf<TMyBrush, TBrush>(gridBrush_, false, this);
    }
    return *record.Brush;
}

std::unique_ptr<TMyBrush> TStringAlignGrid::BrushOfColor(TColor color) {
    auto brush = std::make_unique<TMyBrush>();
    brush->SetColor(color);
    RepaintOnChange(*brush, this);
    return brush;
}

TStringAlignGrid::Chain TStringAlignGrid::ChainOf(int col, int row) const {
    const bool fixed = IsFixedCell(col, row);
    return {propCell_.Get(col, row),
            fixed ? propFixedCol_.Get(col) : propCol_.Get(col),
            fixed ? propFixedRow_.Get(row) : propRow_.Get(row)};
}

namespace {

// The first own font or brush of the chain.
template <class T>
const T* FirstOwn(std::initializer_list<const TCellProperties*> chain, std::unique_ptr<T> TCellProperties::*field) {
    for (const TCellProperties* record : chain)
        if (record && record->*field)
            return (record->*field).get();
    return nullptr;
}

} // namespace

// ---------------------------------------------------------------- alignment, word wrap, editability

template <class T>
void TStringAlignGrid::Store(TCellProperties& record, T TCellProperties::*field, T value) {
    record.*field = std::move(value);
    InvalidateGrid();
}

template <class T>
const T* TStringAlignGrid::OwnSetting(int col, int row, T TCellProperties::*field, T notSet) const {
    const Chain c = ChainOf(col, row);
    for (const TCellProperties* record : {c.cell, c.col, c.row})
        if (record && record->*field != notSet)
            return &(record->*field);
    return nullptr;
}

void TStringAlignGrid::SetAlignCell(int col, int row, TMyAlign value) {
    Store(CellRecord(col, row), &TCellProperties::Alignment, value);
}
void TStringAlignGrid::SetAlignCol(int col, TMyAlign value) { Store(Record(propCol_, col), &TCellProperties::Alignment, value); }
void TStringAlignGrid::SetAlignRow(int row, TMyAlign value) { Store(Record(propRow_, row), &TCellProperties::Alignment, value); }
void TStringAlignGrid::SetAlignFixedCol(int col, TMyAlign value) {
    Store(Record(propFixedCol_, col), &TCellProperties::Alignment, value);
}
void TStringAlignGrid::SetAlignFixedRow(int row, TMyAlign value) {
    Store(Record(propFixedRow_, row), &TCellProperties::Alignment, value);
}

TMyAlign TStringAlignGrid::GetAlignCell(int col, int row) const {
    const TMyAlign* own = OwnSetting(col, row, &TCellProperties::Alignment, alDefault);
    const TMyAlign value = own ? *own : alignment_;
    return value == alDefault ? alLeft : value;
}

void TStringAlignGrid::SetWordwrapCell(int col, int row, T_Wordwrap value) {
    Store(CellRecord(col, row), &TCellProperties::Wordwrap, value);
}
void TStringAlignGrid::SetWordwrapCol(int col, T_Wordwrap value) { Store(Record(propCol_, col), &TCellProperties::Wordwrap, value); }
void TStringAlignGrid::SetWordwrapRow(int row, T_Wordwrap value) { Store(Record(propRow_, row), &TCellProperties::Wordwrap, value); }
void TStringAlignGrid::SetWordwrapFixedCol(int col, T_Wordwrap value) {
    Store(Record(propFixedCol_, col), &TCellProperties::Wordwrap, value);
}
void TStringAlignGrid::SetWordwrapFixedRow(int row, T_Wordwrap value) {
    Store(Record(propFixedRow_, row), &TCellProperties::Wordwrap, value);
}

T_Wordwrap TStringAlignGrid::GetWordwrapCell(int col, int row) const {
    const T_Wordwrap* own = OwnSetting(col, row, &TCellProperties::Wordwrap, ww_default);
    const T_Wordwrap value = own ? *own : wordwrap_;
    return value == ww_default ? ww_none : value;
}

namespace {
uint8_t EditValue(bool editable) { return editable ? kEditYes : kEditNo; }
} // namespace

void TStringAlignGrid::SetEditCell(int col, int row, bool value) {
    Store(CellRecord(col, row), &TCellProperties::Editable, EditValue(value));
}
void TStringAlignGrid::SetEditCol(int col, bool value) { Store(Record(propCol_, col), &TCellProperties::Editable, EditValue(value)); }
void TStringAlignGrid::SetEditRow(int row, bool value) { Store(Record(propRow_, row), &TCellProperties::Editable, EditValue(value)); }

bool TStringAlignGrid::GetEditCell(int col, int row) const {
    const uint8_t* own = OwnSetting(col, row, &TCellProperties::Editable, kEditNotSet);
    return own ? *own == kEditYes : editable_;
}

// ---------------------------------------------------------------- fonts and brushes

TMyFont& TStringAlignGrid::GetFontCell(int col, int row) { return OwnFont(CellRecord(col, row)); }
TMyFont& TStringAlignGrid::GetFontCol(int col) { return OwnFont(Record(propCol_, col)); }
TMyFont& TStringAlignGrid::GetFontRow(int row) { return OwnFont(Record(propRow_, row)); }
TMyFont& TStringAlignGrid::GetFontFixedCol(int col) { return OwnFont(Record(propFixedCol_, col)); }
TMyFont& TStringAlignGrid::GetFontFixedRow(int row) { return OwnFont(Record(propFixedRow_, row)); }

const TFont& TStringAlignGrid::GetCellFont(int col, int row) const {
    const Chain c = ChainOf(col, row);
    if (const TMyFont* own = FirstOwn({c.cell, c.col, c.row}, &TCellProperties::Font))
        return *own;
    if (IsFixedCell(col, row))
        return fixedFont_;
    return const_cast<TStringAlignGrid*>(this)->TStringGrid::Font();
}

TMyBrush& TStringAlignGrid::GetBrushCell(int col, int row) { return OwnBrush(CellRecord(col, row)); }
TMyBrush& TStringAlignGrid::GetBrushCol(int col) { return OwnBrush(Record(propCol_, col)); }
TMyBrush& TStringAlignGrid::GetBrushRow(int row) { return OwnBrush(Record(propRow_, row)); }
TMyBrush& TStringAlignGrid::GetBrushFixedCol(int col) { return OwnBrush(Record(propFixedCol_, col)); }
TMyBrush& TStringAlignGrid::GetBrushFixedRow(int row) { return OwnBrush(Record(propFixedRow_, row)); }

const TBrush& TStringAlignGrid::GetCellBrush(int col, int row) const {
    const Chain c = ChainOf(col, row);
    if (const TMyBrush* own = FirstOwn({c.cell, c.col, c.row}, &TCellProperties::Brush))
        return *own;
    if (IsFixedCell(col, row))
        return fixedBrush_;
    gridBrush_.SetColor(Color());
    return gridBrush_;
}

void TStringAlignGrid::SetColorCell(int col, int row, TColor color) { GetBrushCell(col, row).SetColor(color); }

TColor TStringAlignGrid::GetColorCell(int col, int row) const { return GetCellBrush(col, row).Color(); }

void TStringAlignGrid::SetSelectedColorCell(int col, int row, TColor color) {
    Store(CellRecord(col, row), &TCellProperties::SelectedBrush, BrushOfColor(color));
}
void TStringAlignGrid::SetSelectedColorCol(int col, TColor color) {
    Store(Record(propCol_, col), &TCellProperties::SelectedBrush, BrushOfColor(color));
}
void TStringAlignGrid::SetSelectedColorRow(int row, TColor color) {
    Store(Record(propRow_, row), &TCellProperties::SelectedBrush, BrushOfColor(color));
}

// The selection colours never come from the fixed lists.
TColor TStringAlignGrid::GetSelectedColorCell(int col, int row) const {
    const TMyBrush* own =
        FirstOwn({propCell_.Get(col, row), propCol_.Get(col), propRow_.Get(row)}, &TCellProperties::SelectedBrush);
    return own ? own->Color() : selectedCellColor_;
}

TColor TStringAlignGrid::GetSelectedFontColorCell(int col, int row) const {
    const TMyFont* own =
        FirstOwn({propCell_.Get(col, row), propCol_.Get(col), propRow_.Get(row)}, &TCellProperties::SelectedFont);
    return own ? own->Color() : selectedFontColor_;
}

// ---------------------------------------------------------------- hints

std::string TStringAlignGrid::GetHintCell(int col, int row) const {
    const std::string* hint = hintCell_.Get(col, row);
    return hint ? *hint : std::string();
}

void TStringAlignGrid::SetHintCell(int col, int row, const std::string& hint) {
    if (hint.empty()) {
        hintCell_.Put(col, row, nullptr);
        return;
    }
    hintCell_.Put(col, row, std::make_unique<std::string>(hint));
    hasCellHints_ = true;
}

} // namespace zeko
