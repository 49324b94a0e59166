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

namespace {

void NotifyGrid(TGraphicsObject& object, TStringAlignGrid* grid) {
    if (grid)
        object.OnChange = [grid] { grid->InvalidateGrid(); };
    else
        object.OnChange = nullptr;
}

template <class Own, class Plain>
std::unique_ptr<Own> CopyOf(const Own* source, TStringAlignGrid* grid) {
    if (!source)
        return nullptr;
    auto copy = std::make_unique<Own>();
    copy->Assign(static_cast<const Plain&>(*source));
    copy->Changed = source->Changed;
    NotifyGrid(*copy, grid);
    return copy;
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
    Brush = CopyOf<TMyBrush, TBrush>(source->Brush.get(), Grid);
    SelectedBrush = CopyOf<TMyBrush, TBrush>(source->SelectedBrush.get(), Grid);
    Font = CopyOf<TMyFont, TFont>(source->Font.get(), Grid);
    SelectedFont = CopyOf<TMyFont, TFont>(source->SelectedFont.get(), Grid);
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
    fixedFont_.Assign(TStringGrid::Font());
    fixedFont_.Changed = false;
    fixedBrush_.SetColor(TStringGrid::FixedColor());
    fixedBrush_.Changed = false;
    NotifyGrid(fixedFont_, this);
    NotifyGrid(fixedBrush_, this);
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

void TStringAlignGrid::Changed() { InvalidateGrid(); }

// ---------------------------------------------------------------- grid-wide properties

void TStringAlignGrid::SetAlignment(TMyAlign value) {
    alignment_ = value;
    Changed();
}

void TStringAlignGrid::SetWordwrap(T_Wordwrap value) {
    wordwrap_ = value;
    Changed();
}

void TStringAlignGrid::SetEditable(bool value) {
    editable_ = value;
    Changed();
}

void TStringAlignGrid::SetFixedColor(TColor color) {
    TStringGrid::SetFixedColor(color);
    fixedBrush_.SetColor(color);
}

void TStringAlignGrid::SetSelectedCellColor(TColor color) {
    selectedCellColor_ = color;
    Changed();
}

void TStringAlignGrid::SetSelectedFontColor(TColor color) {
    selectedFontColor_ = color;
    Changed();
}

void TStringAlignGrid::SetDrawSelection(bool value) {
    drawSelection_ = value;
    Changed();
}

bool TStringAlignGrid::TabStops(int col) const { return noTabStop_.Get(col) == nullptr; }

void TStringAlignGrid::SetTabStops(int col, bool value) {
    noTabStop_.Put(col, value ? nullptr : std::make_unique<TDummyObject>());
}

// ---------------------------------------------------------------- records

TCellProperties& TStringAlignGrid::Record(TPropList& list, int index) {
    if (TCellProperties* found = list.Get(index))
        return *found;
    list.Put(index, std::make_unique<TCellProperties>(this));
    return *list.Get(index);
}

TCellProperties& TStringAlignGrid::CellRecord(int col, int row) {
    if (TCellProperties* found = propCell_.Get(col, row))
        return *found;
    propCell_.Put(col, row, std::make_unique<TCellProperties>(this));
    return *propCell_.Get(col, row);
}

TMyFont& TStringAlignGrid::OwnFont(TCellProperties& record) {
    if (!record.Font) {
        record.Font = std::make_unique<TMyFont>();
        record.Font->Assign(TStringGrid::Font());
        record.Font->Changed = false;
        NotifyGrid(*record.Font, this);
    }
    return *record.Font;
}

TMyBrush& TStringAlignGrid::OwnBrush(TCellProperties& record) {
    if (!record.Brush) {
        gridBrush_.SetColor(Color());
        record.Brush = std::make_unique<TMyBrush>();
        record.Brush->Assign(gridBrush_);
        record.Brush->Changed = false;
        NotifyGrid(*record.Brush, this);
    }
    return *record.Brush;
}

std::unique_ptr<TMyBrush> TStringAlignGrid::BrushOfColor(TColor color) {
    auto brush = std::make_unique<TMyBrush>();
    brush->SetColor(color);
    NotifyGrid(*brush, this);
    return brush;
}

TStringAlignGrid::Chain TStringAlignGrid::ChainOf(int col, int row) const {
    const bool fixed = IsFixedCell(col, row);
    return {propCell_.Get(col, row),
            fixed ? propFixedCol_.Get(col) : propCol_.Get(col),
            fixed ? propFixedRow_.Get(row) : propRow_.Get(row)};
}

namespace {

// The first record of the chain for which `pick` gives a value.
template <class T, class Pick>
const T* FirstSet(std::initializer_list<const TCellProperties*> chain, Pick pick) {
    for (const TCellProperties* record : chain)
        if (record)
            if (const T* value = pick(*record))
                return value;
    return nullptr;
}

} // namespace

// ---------------------------------------------------------------- alignment, word wrap, editability

void TStringAlignGrid::SetAlignCell(int col, int row, TMyAlign value) {
    CellRecord(col, row).Alignment = value;
    Changed();
}
void TStringAlignGrid::SetAlignCol(int col, TMyAlign value) {
    Record(propCol_, col).Alignment = value;
    Changed();
}
void TStringAlignGrid::SetAlignRow(int row, TMyAlign value) {
    Record(propRow_, row).Alignment = value;
    Changed();
}
void TStringAlignGrid::SetAlignFixedCol(int col, TMyAlign value) {
    Record(propFixedCol_, col).Alignment = value;
    Changed();
}
void TStringAlignGrid::SetAlignFixedRow(int row, TMyAlign value) {
    Record(propFixedRow_, row).Alignment = value;
    Changed();
}

TMyAlign TStringAlignGrid::GetAlignCell(int col, int row) const {
    const Chain c = ChainOf(col, row);
    const TMyAlign* set = FirstSet<TMyAlign>({c.cell, c.col, c.row}, [](const TCellProperties& p) {
        return p.Alignment != alDefault ? &p.Alignment : nullptr;
    });
    const TMyAlign value = set ? *set : alignment_;
    return value == alDefault ? alLeft : value;
}

void TStringAlignGrid::SetWordwrapCell(int col, int row, T_Wordwrap value) {
    CellRecord(col, row).Wordwrap = value;
    Changed();
}
void TStringAlignGrid::SetWordwrapCol(int col, T_Wordwrap value) {
    Record(propCol_, col).Wordwrap = value;
    Changed();
}
void TStringAlignGrid::SetWordwrapRow(int row, T_Wordwrap value) {
    Record(propRow_, row).Wordwrap = value;
    Changed();
}
void TStringAlignGrid::SetWordwrapFixedCol(int col, T_Wordwrap value) {
    Record(propFixedCol_, col).Wordwrap = value;
    Changed();
}
void TStringAlignGrid::SetWordwrapFixedRow(int row, T_Wordwrap value) {
    Record(propFixedRow_, row).Wordwrap = value;
    Changed();
}

T_Wordwrap TStringAlignGrid::GetWordwrapCell(int col, int row) const {
    const Chain c = ChainOf(col, row);
    const T_Wordwrap* set = FirstSet<T_Wordwrap>({c.cell, c.col, c.row}, [](const TCellProperties& p) {
        return p.Wordwrap != ww_default ? &p.Wordwrap : nullptr;
    });
    const T_Wordwrap value = set ? *set : wordwrap_;
    return value == ww_default ? ww_none : value;
}

void TStringAlignGrid::SetEditCell(int col, int row, bool value) {
    CellRecord(col, row).Editable = value ? kEditYes : kEditNo;
    Changed();
}
void TStringAlignGrid::SetEditCol(int col, bool value) {
    Record(propCol_, col).Editable = value ? kEditYes : kEditNo;
    Changed();
}
void TStringAlignGrid::SetEditRow(int row, bool value) {
    Record(propRow_, row).Editable = value ? kEditYes : kEditNo;
    Changed();
}

bool TStringAlignGrid::GetEditCell(int col, int row) const {
    const Chain c = ChainOf(col, row);
    const uint8_t* set = FirstSet<uint8_t>({c.cell, c.col, c.row}, [](const TCellProperties& p) {
        return p.Editable != kEditNotSet ? &p.Editable : nullptr;
    });
    return set ? *set == kEditYes : editable_;
}

// ---------------------------------------------------------------- fonts and brushes

TMyFont& TStringAlignGrid::GetFontCell(int col, int row) { return OwnFont(CellRecord(col, row)); }
TMyFont& TStringAlignGrid::GetFontCol(int col) { return OwnFont(Record(propCol_, col)); }
TMyFont& TStringAlignGrid::GetFontRow(int row) { return OwnFont(Record(propRow_, row)); }
TMyFont& TStringAlignGrid::GetFontFixedCol(int col) { return OwnFont(Record(propFixedCol_, col)); }
TMyFont& TStringAlignGrid::GetFontFixedRow(int row) { return OwnFont(Record(propFixedRow_, row)); }

const TFont& TStringAlignGrid::GetCellFont(int col, int row) const {
    const Chain c = ChainOf(col, row);
    if (const TMyFont* own = FirstSet<TMyFont>({c.cell, c.col, c.row},
                                               [](const TCellProperties& p) { return p.Font.get(); }))
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
    if (const TMyBrush* own = FirstSet<TMyBrush>({c.cell, c.col, c.row},
                                                 [](const TCellProperties& p) { return p.Brush.get(); }))
        return *own;
    if (IsFixedCell(col, row))
        return fixedBrush_;
    gridBrush_.SetColor(Color());
    return gridBrush_;
}

void TStringAlignGrid::SetColorCell(int col, int row, TColor color) { GetBrushCell(col, row).SetColor(color); }

TColor TStringAlignGrid::GetColorCell(int col, int row) const { return GetCellBrush(col, row).Color(); }

void TStringAlignGrid::SetSelectedColorCell(int col, int row, TColor color) {
    CellRecord(col, row).SelectedBrush = BrushOfColor(color);
    Changed();
}
void TStringAlignGrid::SetSelectedColorCol(int col, TColor color) {
    Record(propCol_, col).SelectedBrush = BrushOfColor(color);
    Changed();
}
void TStringAlignGrid::SetSelectedColorRow(int row, TColor color) {
    Record(propRow_, row).SelectedBrush = BrushOfColor(color);
    Changed();
}

// The selection colours never come from the fixed lists.
TColor TStringAlignGrid::GetSelectedColorCell(int col, int row) const {
    const TMyBrush* own = FirstSet<TMyBrush>({propCell_.Get(col, row), propCol_.Get(col), propRow_.Get(row)},
                                             [](const TCellProperties& p) { return p.SelectedBrush.get(); });
    return own ? own->Color() : selectedCellColor_;
}

TColor TStringAlignGrid::GetSelectedFontColorCell(int col, int row) const {
    const TMyFont* own = FirstSet<TMyFont>({propCell_.Get(col, row), propCol_.Get(col), propRow_.Get(row)},
                                           [](const TCellProperties& p) { return p.SelectedFont.get(); });
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
