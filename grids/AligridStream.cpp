// The alignment grid's data in the form stream. All values are form-stream values
// (platform/FormStream.h): "Integer" an integer of the smallest form, "String" a
// string, a list is vaList ... vaNull.
//
// Property record: (Integer tag, value) pairs, only for the fields that are set,
// in tag order, ended by the Integer 0:
//   tag  value                            field
//   1    Integer TMyAlign ordinal         Alignment      (not alDefault)
//   2    Integer T_Wordwrap ordinal       Wordwrap       (not ww_default)
//   3    Integer 1 or 2                   Editable       (not 0)
//   4    brush record                     Brush
//   5    brush record                     SelectedBrush
//   6    font record                      Font
//   7    font record                      SelectedFont
//   0    -                                end
// A tag above 7 carries no value and is passed over.
//   brush record: Integer colour, Integer TBrushStyle ordinal
//   font record:  Integer colour, Integer height, String name,
//                 Integer TFontPitch ordinal, Integer style bits
//                 (bit 0 bold, 1 italic, 2 underline, 3 strike-out)
//
// Named properties, written in this order:
//   "HintCell"      when the grid holds hints: list of (Integer col, Integer row, String)
//   "Cells"         when the texts came from the stream: list of (col, row, String)
//   "PropCell"      list of (Integer col, Integer row, property record)
//   "PropCol", "PropRow", "PropFixedCol", "PropFixedRow"
//                   list of (Integer index, property record)
// Indices of the property lists are read modulo 65536.
//
// Older names, read and never written:
//   "AlignCell"                  binary, 5-byte records: u16 col, u16 row, u8 TMyAlign
//   "AlignCol", "FixedAlignCol", "AlignRow", "FixedAlignRow"
//                                binary, 3-byte records: u16 index, u8 TMyAlign
//   "EditCell"                   binary, 5-byte records: u16 col, u16 row, u8 0/1
//   "EditCol", "EditRow"         binary, 3-byte records: u16 index, u8 0/1
//   "FontCell" / "BrushCell"     list of (col, row, font / brush record)
//   "FontCol", "FontFixedCol", "FontRow", "FontFixedRow",
//   "BrushCol", "BrushFixedCol", "BrushRow", "BrushFixedRow"
//                                list of (index, font / brush record)
//   "ColorCell", "SelectedColorCell"          list of (col, row, Integer colour)
//   "ColorCol", "ColorFixedCol", "ColorRow", "ColorFixedRow",
//   "SelectedColorCol", "SelectedColorRow"    list of (index, Integer colour)
// Font and brush lists take their indices modulo 65536, colour lists whole.
#include "grids/Aligrid.h"

namespace zeko {

namespace {

constexpr int kTagEnd = 0;
constexpr int kTagAlignment = 1;
constexpr int kTagWordwrap = 2;
constexpr int kTagEditable = 3;
constexpr int kTagBrush = 4;
constexpr int kTagSelectedBrush = 5;
constexpr int kTagFont = 6;
constexpr int kTagSelectedFont = 7;

constexpr int kCellBlockRecord = 5;  // u16 col, u16 row, u8 value
constexpr int kLineBlockRecord = 3;  // u16 index, u8 value
constexpr int kFontStyleBits = 0x0F;
// Whole-taken indices beyond this are damage, not a grid: such records are passed over.
constexpr int kMaxWholeIndex = 0xFFFF;

int Modulo65536(int32_t index) { return static_cast<uint16_t>(index); }
bool WholeIndexValid(int32_t index) { return index >= 0 && index <= kMaxWholeIndex; }

void WriteBrushRecord(TWriter& writer, const TBrush& brush) {
    writer.WriteInteger(brush.Color());
    writer.WriteInteger(brush.Style());
}

void WriteFontRecord(TWriter& writer, const TFont& font) {
    writer.WriteInteger(font.Color());
    writer.WriteInteger(font.Height());
    writer.WriteString(font.Name());
    writer.WriteInteger(font.Pitch());
    writer.WriteInteger(static_cast<int32_t>(font.Style().Bits()));
}

// Values outside an enumeration's range come only from damage; they give `fallback`.
template <class E>
E Ordinal(int32_t value, E last, E fallback) {
    return value >= 0 && value <= static_cast<int32_t>(last) ? static_cast<E>(value) : fallback;
}

void ReadBrushRecord(TReader& reader, TBrush& brush) {
    const TColor color = reader.ReadInteger();
    const TBrushStyle style = Ordinal(reader.ReadInteger(), bsDiagCross, bsSolid);
    brush.SetColor(color);
    brush.SetStyle(style);
}

void ReadFontRecord(TReader& reader, TFont& font) {
    const TColor color = reader.ReadInteger();
    const int height = reader.ReadInteger();
    const std::string name = reader.ReadString();
    const TFontPitch pitch = Ordinal(reader.ReadInteger(), fpFixed, fpDefault);
    const int style = reader.ReadInteger() & 0xFF & kFontStyleBits;
    font.SetColor(color);
    font.SetHeight(height);
    font.SetName(name);
    font.SetPitch(pitch);
    font.SetStyle(TFontStyles::FromBits(static_cast<uint64_t>(style)));
}

std::unique_ptr<TMyBrush> ReadMyBrush(TReader& reader, TStringAlignGrid* grid) {
    auto brush = std::make_unique<TMyBrush>();
    ReadBrushRecord(reader, *brush);
    RepaintOnChange(*brush, grid);
    return brush;
}

std::unique_ptr<TMyFont> ReadMyFont(TReader& reader, TStringAlignGrid* grid) {
    auto font = std::make_unique<TMyFont>();
    ReadFontRecord(reader, *font);
    RepaintOnChange(*font, grid);
    return font;
}

} // namespace

// ---------------------------------------------------------------- the record

void TCellProperties::WriteToStream(TWriter& writer) const {
    if (Alignment != alDefault) {
        writer.WriteInteger(kTagAlignment);
        writer.WriteInteger(Alignment);
    }
    if (Wordwrap != ww_default) {
        writer.WriteInteger(kTagWordwrap);
        writer.WriteInteger(Wordwrap);
    }
    if (Editable != kEditNotSet) {
        writer.WriteInteger(kTagEditable);
        writer.WriteInteger(Editable);
    }
    if (Brush) {
        writer.WriteInteger(kTagBrush);
        WriteBrushRecord(writer, *Brush);
    }
    if (SelectedBrush) {
        writer.WriteInteger(kTagSelectedBrush);
        WriteBrushRecord(writer, *SelectedBrush);
    }
    if (Font) {
        writer.WriteInteger(kTagFont);
        WriteFontRecord(writer, *Font);
    }
    if (SelectedFont) {
        writer.WriteInteger(kTagSelectedFont);
        WriteFontRecord(writer, *SelectedFont);
    }
    writer.WriteInteger(kTagEnd);
}

void TCellProperties::ReadTag(int tag, TReader& reader, TStringAlignGrid* grid) {
    switch (tag) {
    case kTagAlignment:
        Alignment = Ordinal(reader.ReadInteger(), alDefault, alDefault);
        break;
    case kTagWordwrap:
        Wordwrap = Ordinal(reader.ReadInteger(), ww_default, ww_default);
        break;
    case kTagEditable: {
        const int32_t value = reader.ReadInteger();
        Editable = value == kEditNo || value == kEditYes ? static_cast<uint8_t>(value) : kEditNotSet;
        break;
    }
    case kTagBrush:
        Brush = ReadMyBrush(reader, grid);
        break;
    case kTagSelectedBrush:
        SelectedBrush = ReadMyBrush(reader, grid);
        break;
    case kTagFont:
        Font = ReadMyFont(reader, grid);
        break;
    case kTagSelectedFont:
        SelectedFont = ReadMyFont(reader, grid);
        break;
    default:
        break;  // no value follows an unknown tag
    }
}

void TCellProperties::ReadFromStream(TReader& reader) {
    for (int tag = reader.ReadInteger(); tag != kTagEnd; tag = reader.ReadInteger())
        ReadTag(tag, reader, Grid);
}

// ---------------------------------------------------------------- the grid's lists

void TStringAlignGrid::WriteLineList(TWriter& writer, TPropList& list, int count) {
    writer.WriteListBegin();
    for (int i = 0; i < count; ++i) {
        const TCellProperties* record = list.Get(i);
        if (!record || record->IsEmpty())
            continue;
        writer.WriteInteger(i);
        record->WriteToStream(writer);
    }
    writer.WriteListEnd();
}

void TStringAlignGrid::ReadLineList(TReader& reader, TPropList& list) {
    reader.ReadListBegin();
    while (!reader.EndOfList()) {
        const int index = Modulo65536(reader.ReadInteger());
        auto record = std::make_unique<TCellProperties>(this);
        record->ReadFromStream(reader);
        list.Put(index, std::move(record));
    }
    reader.ReadListEnd();
}

void TStringAlignGrid::ReadPropCell(TReader& reader) {
    reader.ReadListBegin();
    while (!reader.EndOfList()) {
        const int col = Modulo65536(reader.ReadInteger());
        const int row = Modulo65536(reader.ReadInteger());
        auto record = std::make_unique<TCellProperties>(this);
        record->ReadFromStream(reader);
        propCell_.Put(col, row, std::move(record));
    }
    reader.ReadListEnd();
}

// Hints (from the list) or texts (from the grid's cells), over the grid's size.
void TStringAlignGrid::WriteCellStrings(TWriter& writer, const TStringCellList* list, bool fromGrid) {
    writer.WriteListBegin();
    for (int c = 0; c < ColCount(); ++c)
        for (int r = 0; r < RowCount(); ++r) {
            const std::string* text = fromGrid ? &Cells(c, r) : list->Get(c, r);
            if (!text || (fromGrid && text->empty()))
                continue;
            writer.WriteInteger(c);
            writer.WriteInteger(r);
            writer.WriteString(*text);
        }
    writer.WriteListEnd();
}

void TStringAlignGrid::ReadCellStrings(TReader& reader, TStringCellList& list) {
    reader.ReadListBegin();
    while (!reader.EndOfList()) {
        const int32_t col = reader.ReadInteger();
        const int32_t row = reader.ReadInteger();
        std::string text = reader.ReadString();
        if (WholeIndexValid(col) && WholeIndexValid(row))
            list.Put(col, row, std::make_unique<std::string>(std::move(text)));
    }
    reader.ReadListEnd();
}

void TStringAlignGrid::DefineProperties(TFiler& filer) {
    filer.DefineProperty("HintCell",
        [this](TReader& r) { ReadCellStrings(r, hintCell_); hasCellHints_ = true; },
        [this](TWriter& w) { WriteCellStrings(w, &hintCell_, false); }, hasCellHints_);
    filer.DefineProperty("Cells",
        [this](TReader& r) {
            if (!loadedCells_)
                loadedCells_ = std::make_unique<TStringCellList>();
            ReadCellStrings(r, *loadedCells_);
            storeCells_ = true;
        },
        [this](TWriter& w) { WriteCellStrings(w, nullptr, true); }, storeCells_);
    filer.DefineProperty("PropCell", [this](TReader& r) { ReadPropCell(r); },
        [this](TWriter& w) {
            w.WriteListBegin();
            for (int c = 0; c < propCell_.ColCount(); ++c)
                for (int r = 0; r < propCell_.RowCount(c); ++r) {
                    const TCellProperties* record = propCell_.Get(c, r);
                    if (!record || record->IsEmpty())
                        continue;
                    w.WriteInteger(c);
                    w.WriteInteger(r);
                    record->WriteToStream(w);
                }
            w.WriteListEnd();
        }, true);
    filer.DefineProperty("PropCol", [this](TReader& r) { ReadLineList(r, propCol_); },
        [this](TWriter& w) { WriteLineList(w, propCol_, ColCount()); }, true);
    filer.DefineProperty("PropRow", [this](TReader& r) { ReadLineList(r, propRow_); },
        [this](TWriter& w) { WriteLineList(w, propRow_, RowCount()); }, true);
    filer.DefineProperty("PropFixedCol", [this](TReader& r) { ReadLineList(r, propFixedCol_); },
        [this](TWriter& w) { WriteLineList(w, propFixedCol_, ColCount()); }, true);
    filer.DefineProperty("PropFixedRow", [this](TReader& r) { ReadLineList(r, propFixedRow_); },
        [this](TWriter& w) { WriteLineList(w, propFixedRow_, RowCount()); }, true);
    DefineOldProperties(filer);
}

// ---------------------------------------------------------------- older names

namespace {

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// Calls `apply` for each whole record of the block; a cut-off tail is left alone.
template <class F>
void ForEachBlockRecord(TStream& block, int size, F apply) {
    uint8_t record[kCellBlockRecord];
    while (block.Read(record, size) == size)
        apply(record);
}

using CellApply = std::function<void(TReader&, int col, int row, bool valid)>;
using LineApply = std::function<void(TReader&, int index, bool valid)>;

// A list of (col, row, value) or (index, value) records; the value is read by
// `apply` even when the indices are not valid, so that the list stays in step.
TFiler::TReaderProc IndexedList(int indices, bool wholeIndex, CellApply apply) {
    return [indices, wholeIndex, apply](TReader& reader) {
        reader.ReadListBegin();
        while (!reader.EndOfList()) {
            const int32_t a = reader.ReadInteger();
            const int32_t b = indices == 2 ? reader.ReadInteger() : 0;
            if (wholeIndex)
                apply(reader, a, b, WholeIndexValid(a) && WholeIndexValid(b));
            else
                apply(reader, Modulo65536(a), Modulo65536(b), true);
        }
        reader.ReadListEnd();
    };
}

TFiler::TReaderProc CellList(bool wholeIndex, CellApply apply) { return IndexedList(2, wholeIndex, apply); }

TFiler::TReaderProc LineList(bool wholeIndex, LineApply apply) {
    return IndexedList(1, wholeIndex, [apply](TReader& reader, int index, int, bool valid) {
        apply(reader, index, valid);
    });
}

// One (index, value) list per name; `read` takes the value for the line that
// `member` gives.
template <class Member, class Read>
void DefineLineLists(TFiler& filer, TStringAlignGrid* grid,
                     std::initializer_list<std::pair<const char*, Member>> lines, bool wholeIndex, Read read) {
    for (const auto& [name, member] : lines)
        filer.DefineProperty(name, LineList(wholeIndex, [grid, member = member, read](TReader& r, int index, bool valid) {
            read(r, grid, member, index, valid);
        }), nullptr, false);
}

} // namespace

void TStringAlignGrid::DefineOldProperties(TFiler& filer) {
    using AlignSetter = void (TStringAlignGrid::*)(int, TMyAlign);
    using EditSetter = void (TStringAlignGrid::*)(int, bool);
    using FontOf = TMyFont& (TStringAlignGrid::*)(int);
    using BrushOf = TMyBrush& (TStringAlignGrid::*)(int);
    using ColorSetter = void (TStringAlignGrid::*)(int, TColor);

    filer.DefineBinaryProperty("AlignCell", [this](TStream& block) {
        ForEachBlockRecord(block, kCellBlockRecord, [&](const uint8_t* p) {
            if (p[4] <= alDefault)
                SetAlignCell(U16(p), U16(p + 2), static_cast<TMyAlign>(p[4]));
        });
    }, nullptr, false);
    const std::pair<const char*, AlignSetter> alignLines[] = {
        {"AlignCol", &TStringAlignGrid::SetAlignCol}, {"FixedAlignCol", &TStringAlignGrid::SetAlignFixedCol},
        {"AlignRow", &TStringAlignGrid::SetAlignRow}, {"FixedAlignRow", &TStringAlignGrid::SetAlignFixedRow}};
    for (const auto& [name, set] : alignLines)
        filer.DefineBinaryProperty(name, [this, set = set](TStream& block) {  // clang < 16 cannot capture a binding
            ForEachBlockRecord(block, kLineBlockRecord, [&](const uint8_t* p) {
                if (p[2] <= alDefault)
                    (this->*set)(U16(p), static_cast<TMyAlign>(p[2]));
            });
        }, nullptr, false);

    filer.DefineBinaryProperty("EditCell", [this](TStream& block) {
        ForEachBlockRecord(block, kCellBlockRecord, [&](const uint8_t* p) {
            if (p[4] <= 1)
                SetEditCell(U16(p), U16(p + 2), p[4] == 1);
        });
    }, nullptr, false);
    const std::pair<const char*, EditSetter> editLines[] = {
        {"EditCol", &TStringAlignGrid::SetEditCol}, {"EditRow", &TStringAlignGrid::SetEditRow}};
    for (const auto& [name, set] : editLines)
        filer.DefineBinaryProperty(name, [this, set = set](TStream& block) {  // clang < 16 cannot capture a binding
            ForEachBlockRecord(block, kLineBlockRecord, [&](const uint8_t* p) {
                if (p[2] <= 1)
                    (this->*set)(U16(p), p[2] == 1);
            });
        }, nullptr, false);

    filer.DefineProperty("FontCell", CellList(false, [this](TReader& r, int c, int row, bool) {
        ReadFontRecord(r, GetFontCell(c, row));
    }), nullptr, false);
    DefineLineLists<FontOf>(filer, this, {{"FontCol", &TStringAlignGrid::GetFontCol},
        {"FontFixedCol", &TStringAlignGrid::GetFontFixedCol}, {"FontRow", &TStringAlignGrid::GetFontRow},
        {"FontFixedRow", &TStringAlignGrid::GetFontFixedRow}}, false,
        [](TReader& r, TStringAlignGrid* g, FontOf own, int index, bool) { ReadFontRecord(r, (g->*own)(index)); });

    filer.DefineProperty("BrushCell", CellList(false, [this](TReader& r, int c, int row, bool) {
        ReadBrushRecord(r, GetBrushCell(c, row));
    }), nullptr, false);
    DefineLineLists<BrushOf>(filer, this, {{"BrushCol", &TStringAlignGrid::GetBrushCol},
        {"BrushFixedCol", &TStringAlignGrid::GetBrushFixedCol}, {"BrushRow", &TStringAlignGrid::GetBrushRow},
        {"BrushFixedRow", &TStringAlignGrid::GetBrushFixedRow}}, false,
        [](TReader& r, TStringAlignGrid* g, BrushOf own, int index, bool) { ReadBrushRecord(r, (g->*own)(index)); });

    filer.DefineProperty("ColorCell", CellList(true, [this](TReader& r, int c, int row, bool valid) {
        const TColor color = r.ReadInteger();
        if (valid)
            SetColorCell(c, row, color);
    }), nullptr, false);
    DefineLineLists<BrushOf>(filer, this, {{"ColorCol", &TStringAlignGrid::GetBrushCol},
        {"ColorFixedCol", &TStringAlignGrid::GetBrushFixedCol}, {"ColorRow", &TStringAlignGrid::GetBrushRow},
        {"ColorFixedRow", &TStringAlignGrid::GetBrushFixedRow}}, true,
        [](TReader& r, TStringAlignGrid* g, BrushOf own, int index, bool valid) {
            const TColor color = r.ReadInteger();
            if (valid)
                (g->*own)(index).SetColor(color);
        });

    filer.DefineProperty("SelectedColorCell", CellList(true, [this](TReader& r, int c, int row, bool valid) {
        const TColor color = r.ReadInteger();
        if (valid)
            SetSelectedColorCell(c, row, color);
    }), nullptr, false);
    DefineLineLists<ColorSetter>(filer, this, {{"SelectedColorCol", &TStringAlignGrid::SetSelectedColorCol},
        {"SelectedColorRow", &TStringAlignGrid::SetSelectedColorRow}}, true,
        [](TReader& r, TStringAlignGrid* g, ColorSetter set, int index, bool valid) {
            const TColor color = r.ReadInteger();
            if (valid)
                (g->*set)(index, color);
        });
}

// ---------------------------------------------------------------- loading

void TStringAlignGrid::Loaded() {
    TStringGrid::Loaded();
    if (loadedCells_) {
        for (int c = 0; c < ColCount(); ++c)
            for (int r = 0; r < RowCount(); ++r) {
                const std::string* text = loadedCells_->Get(c, r);
                SetCells(c, r, text ? *text : std::string());
            }
        if (!ComponentState().Contains(csDesigning))
            loadedCells_.reset();
    }
    editorReturn_ = Options().Contains(goAlwaysShowEditor);
    if (editorReturn_ && selectEditText_)
        savedSelLength_ = -1;
    HideEditor();
}

void TStringAlignGrid::WriteProperties(TStream& stream) {
    TWriter writer(stream);
    WriteDefinedProperties(writer, [this](TFiler& filer) { DefineProperties(filer); });
}

void TStringAlignGrid::ReadProperties(TStream& stream) {
    BeginLoading();
    TReader reader(stream);
    try {
        ReadDefinedProperties(reader, [this](TFiler& filer) { DefineProperties(filer); });
    } catch (...) {
        Loaded();
        throw;
    }
    Loaded();
}

} // namespace zeko
