// The alignment grid's data in the form stream, byte for byte. The streams below
// are written out by hand from the format, not produced by the writer.
#include <gtest/gtest.h>

#include "AligridTestSupport.h"

using namespace zeko;
using namespace zeko::aligrid_test;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Name(const std::string& s) {
    Bytes b{static_cast<uint8_t>(s.size())};
    for (char ch : s)
        b.push_back(static_cast<uint8_t>(ch));
    return b;
}
Bytes I(int v) { return {0x02, static_cast<uint8_t>(v)}; }  // vaInt8
Bytes I16(int v) { return {0x03, static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)}; }
Bytes I32(uint32_t v) {
    return {0x04, static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}
Bytes S(const std::string& s) { return Bytes{0x06} + Name(s); }  // vaString
Bytes Bin(const Bytes& data) {
    const auto n = static_cast<uint32_t>(data.size());
    return Bytes{0x0A, static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), 0, 0} + data;
}
const Bytes L{0x01};  // list
const Bytes E{0x00};  // end of list

const Bytes kEmptyLists = Name("PropCell") + L + E + Name("PropCol") + L + E + Name("PropRow") + L + E +
                          Name("PropFixedCol") + L + E + Name("PropFixedRow") + L + E;

Bytes Written(TStringAlignGrid& grid) {
    TMemoryStream stream;
    grid.WriteProperties(stream);
    return stream.Bytes();
}

void Read(TStringAlignGrid& grid, const Bytes& bytes) {
    TMemoryStream stream(bytes);
    grid.ReadProperties(stream);
}

// Brush record: colour, style. Font record: colour, height, name, pitch, style bits.
const Bytes kBlueCross = I32(0x00FF0000) + I(6);
const Bytes kArialBoldItalic = I(0x00) + I16(-13 & 0xFFFF) + S("Arial") + I(2) + I(3);

} // namespace

TEST(AligridStream, UntouchedGridWritesOnlyTheFiveEmptyLists) {
    auto grid = MakeGrid();
    grid->SetCells(1, 1, "text");  // typed texts are not stored
    EXPECT_EQ(Written(*grid), kEmptyLists + E);
}

TEST(AligridStream, ACentredColumnIsThePairsOneTwoThenZero) {
    auto grid = MakeGrid();
    grid->SetAlignCol(1, alCenter);
    grid->SetEditRow(2, false);
    const Bytes expected = Name("PropCell") + L + E + Name("PropCol") + L + I(1) + I(1) + I(2) + I(0) + E +
                           Name("PropRow") + L + I(2) + I(3) + I(1) + I(0) + E + Name("PropFixedCol") + L + E +
                           Name("PropFixedRow") + L + E + E;
    EXPECT_EQ(Written(*grid), expected);
}

TEST(AligridStream, HandMadeStreamOfEveryCurrentRecordKind) {
    const Bytes fullRecord = I(1) + I(0) + I(2) + I(1) + I(3) + I(2) + I(4) + kBlueCross + I(5) + I32(0x0000FF00) +
                             I(0) + I(6) + kArialBoldItalic + I(7) + I32(0x000000FF) + I(-24 & 0xFF) + S("Courier") +
                             I(1) + I(0x7F) + I(0);
    const Bytes stream =
        Name("HintCell") + L + I(1) + I(2) + S("tip") + E +
        Name("Cells") + L + I(1) + I(1) + S("x") + I(2) + I(3) + S("y") + E +
        Name("PropCell") + L + I(2) + I(1) + fullRecord + E +
        Name("PropCol") + L + I32(65537) + I(1) + I(2) + I(0) + E +  // index taken modulo 65536
        Name("PropRow") + L + I(3) + I(2) + I(2) + I(0) + E +
        Name("PropFixedCol") + L + I(0) + I(1) + I(0) + I(0) + E +
        Name("PropFixedRow") + L + I(0) + I(9) + I(3) + I(1) + I(0) + E +  // tag 9 has no value
        E;
    auto grid = MakeGrid();
    grid->SetCells(4, 4, "before");
    Read(*grid, stream);

    EXPECT_EQ(grid->GetHintCell(1, 2), "tip");
    EXPECT_EQ(grid->Cells(1, 1), "x");
    EXPECT_EQ(grid->Cells(2, 3), "y");
    EXPECT_EQ(grid->Cells(4, 4), "");  // not among the texts read

    const TCellProperties* cell = grid->CellProperties(2, 1);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->Alignment, alRight);
    EXPECT_EQ(cell->Wordwrap, ww_wordwrap);
    EXPECT_EQ(cell->Editable, kEditYes);
    ASSERT_TRUE(cell->Brush && cell->SelectedBrush && cell->Font && cell->SelectedFont);
    EXPECT_EQ(cell->Brush->Color(), 0x00FF0000);
    EXPECT_EQ(cell->Brush->Style(), bsCross);
    EXPECT_EQ(cell->SelectedBrush->Color(), 0x0000FF00);
    EXPECT_EQ(cell->Font->Name(), "Arial");
    EXPECT_EQ(cell->Font->Height(), -13);
    EXPECT_EQ(cell->Font->Pitch(), fpFixed);
    EXPECT_EQ(cell->Font->Style(), (TFontStyles{fsBold, fsItalic}));
    EXPECT_EQ(cell->SelectedFont->Color(), 0x000000FF);
    EXPECT_EQ(cell->SelectedFont->Height(), -24);
    EXPECT_EQ(cell->SelectedFont->Style(), (TFontStyles{fsBold, fsItalic, fsUnderline, fsStrikeOut}));

    EXPECT_EQ(grid->GetAlignCell(1, 3), alCenter);
    EXPECT_EQ(grid->GetWordwrapCell(2, 3), ww_ellipsis);
    EXPECT_EQ(grid->GetAlignCell(0, 2), alRight);  // fixed column 0
    EXPECT_FALSE(grid->GetEditCell(3, 0));         // fixed row 0
    EXPECT_EQ(grid->GetSelectedColorCell(2, 1), 0x0000FF00);
    EXPECT_EQ(grid->GetSelectedFontColorCell(2, 1), 0x000000FF);
}

TEST(AligridStream, OlderPropertyNamesAreRead) {
    const Bytes font = I32(0x0000FF) + I(-16 & 0xFF) + S("Serif") + I(0) + I(1);
    const Bytes stream =
        Name("AlignCell") + Bin({1, 0, 2, 0, 0}) +
        Name("AlignCol") + Bin({2, 0, 2}) +
        Name("FixedAlignCol") + Bin({0, 0, 0, 1, 0, 7}) +  // value 7 is no alignment
        Name("AlignRow") + Bin({3, 0, 0}) +
        Name("FixedAlignRow") + Bin({0, 0, 2, 9}) +        // cut-off record left alone
        Name("EditCell") + Bin({1, 0, 2, 0, 1}) +
        Name("EditCol") + Bin({3, 0, 0}) +
        Name("EditRow") + Bin({4, 0, 1}) +
        Name("FontCell") + L + I(1) + I(1) + font + E +
        Name("FontCol") + L + I32(65540) + font + E +
        Name("FontFixedCol") + L + I(0) + font + E +
        Name("FontRow") + L + I(4) + font + E +
        Name("FontFixedRow") + L + I(0) + font + E +
        Name("BrushCell") + L + I(3) + I(3) + kBlueCross + E +
        Name("BrushCol") + L + I(1) + kBlueCross + E +
        Name("BrushFixedCol") + L + I(0) + kBlueCross + E +
        Name("BrushRow") + L + I(2) + kBlueCross + E +
        Name("BrushFixedRow") + L + I(0) + kBlueCross + E +
        Name("ColorCell") + L + I(2) + I(2) + I32(0x123456) + I32(70000) + I(1) + I32(0x999999) + E +
        Name("ColorCol") + L + I(4) + I32(0x111111) + E +
        Name("ColorRow") + L + I(4) + I32(0x333333) + E +
        Name("SelectedColorCell") + L + I(1) + I(4) + I32(0x555555) + E +
        Name("SelectedColorCol") + L + I(2) + I32(0x666666) + E +
        Name("SelectedColorRow") + L + I(3) + I32(0x777777) + E +
        E;
    auto grid = MakeGrid();
    grid->SetEditable(false);
    Read(*grid, stream);

    EXPECT_EQ(grid->GetAlignCell(1, 2), alRight);
    EXPECT_EQ(grid->GetAlignCell(2, 1), alCenter);
    EXPECT_EQ(grid->GetAlignCell(0, 1), alRight);
    EXPECT_EQ(grid->FixedColProperties(1), nullptr);
    EXPECT_EQ(grid->GetAlignCell(1, 3), alRight);
    EXPECT_EQ(grid->GetAlignCell(1, 0), alCenter);
    EXPECT_TRUE(grid->GetEditCell(1, 2));
    EXPECT_FALSE(grid->GetEditCell(3, 1));
    EXPECT_TRUE(grid->GetEditCell(2, 4));
    EXPECT_EQ(grid->CellProperties(1, 2)->Editable, kEditYes);  // stored as value + 1
    EXPECT_EQ(grid->ColProperties(3)->Editable, kEditNo);

    for (const TFont* f : {&grid->GetFontCell(1, 1), &grid->GetFontCol(4), &grid->GetFontFixedCol(0),
                           &grid->GetFontRow(4), &grid->GetFontFixedRow(0)}) {
        EXPECT_EQ(f->Name(), "Serif");
        EXPECT_EQ(f->Color(), 0x0000FF);
        EXPECT_EQ(f->Style(), TFontStyles{fsBold});
    }
    for (const TBrush* b : {&grid->GetBrushCell(3, 3), &grid->GetBrushCol(1), &grid->GetBrushFixedCol(0),
                            &grid->GetBrushRow(2), &grid->GetBrushFixedRow(0)}) {
        EXPECT_EQ(b->Color(), 0x00FF0000);
        EXPECT_EQ(b->Style(), bsCross);
    }
    EXPECT_EQ(grid->GetColorCell(2, 2), 0x123456);
    // A colour list takes its index whole; one beyond any grid is passed over.
    EXPECT_EQ(grid->CellProperties(70000, 1), nullptr);
    EXPECT_EQ(grid->CellProperties(70000 % 65536, 1), nullptr);
    EXPECT_EQ(grid->GetBrushCol(4).Color(), 0x111111);
    EXPECT_EQ(grid->GetBrushRow(4).Color(), 0x333333);
    EXPECT_EQ(grid->GetSelectedColorCell(1, 4), 0x555555);
    EXPECT_EQ(grid->GetSelectedColorCell(2, 3), 0x666666);  // the column comes before the row
    EXPECT_EQ(grid->GetSelectedColorCell(1, 3), 0x777777);
    // Nothing of the older names is written back.
    TMemoryStream out;
    grid->WriteProperties(out);
    EXPECT_EQ(out.Text().find("AlignCol"), std::string::npos);
}

TEST(AligridStream, FixedColorListsFollowTheirOwnBrushes) {
    const Bytes stream = Name("ColorFixedCol") + L + I(0) + I32(0x222222) + E +
                         Name("ColorFixedRow") + L + I(0) + I32(0x444444) + E + E;
    auto grid = MakeGrid();
    Read(*grid, stream);
    EXPECT_EQ(grid->GetColorCell(0, 2), 0x222222);
    EXPECT_EQ(grid->GetColorCell(2, 0), 0x444444);
    EXPECT_EQ(grid->GetColorCell(0, 0), 0x222222);  // the corner: fixed column before fixed row
}

TEST(AligridStream, WhatIsWrittenReadsBackToTheSameBytes) {
    auto grid = MakeGrid(4, 6);
    grid->SetAlignCell(2, 3, alCenter);
    grid->SetWordwrapCell(2, 3, ww_ellipsis);
    grid->SetEditCell(1, 4, true);
    grid->GetFontCell(3, 2).SetName("Směna");  // Windows-1250 in the stream
    grid->GetFontCell(3, 2).SetStyle({fsUnderline});
    grid->SetColorCell(1, 1, clYellow);
    grid->SetSelectedColorCell(1, 1, clNavy);
    grid->SetAlignCol(3, alRight);
    grid->GetBrushRow(5).SetStyle(bsHorizontal);
    grid->SetSelectedColorRow(5, clRed);
    grid->SetAlignFixedCol(0, alCenter);
    grid->GetFontFixedRow(0).SetColor(clMaroon);
    grid->SetHintCell(2, 2, "nápověda");
    grid->SetAlignCell(50, 50, alRight);  // outside the grid: still a record

    const Bytes first = Written(*grid);
    auto copy = MakeGrid(4, 6);
    Read(*copy, first);
    EXPECT_EQ(Written(*copy), first);
    EXPECT_EQ(copy->GetAlignCell(2, 3), alCenter);
    EXPECT_EQ(copy->GetFontCell(3, 2).Name(), "Směna");
    EXPECT_EQ(copy->GetColorCell(1, 1), clYellow);
    EXPECT_EQ(copy->GetSelectedColorCell(2, 5), clRed);
    EXPECT_EQ(copy->GetHintCell(2, 2), "nápověda");
    EXPECT_EQ(copy->GetCellFont(2, 0).Color(), clMaroon);
}

TEST(AligridStream, TextsReadFromTheStreamAreStoredAgain) {
    const Bytes stream = Name("Cells") + L + I(1) + I(1) + S("a") + I(9) + I(9) + S("far") + E + E;
    auto grid = MakeGrid(3, 3);
    Read(*grid, stream);
    grid->SetCells(2, 2, "b");
    const Bytes expected = Name("Cells") + L + I(1) + I(1) + S("a") + I(2) + I(2) + S("b") + E + kEmptyLists + E;
    EXPECT_EQ(Written(*grid), expected);
}

TEST(AligridStream, DamagedStreamRaisesAReadErrorAtEveryCut) {
    auto source = MakeGrid(4, 4);
    source->SetAlignCell(1, 2, alCenter);
    source->GetFontCol(2).SetName("Arial");
    source->GetBrushFixedRow(0).SetColor(clRed);
    source->SetHintCell(1, 1, "hint");
    const Bytes whole = Written(*source) ;
    for (size_t n = 0; n < whole.size(); ++n) {
        auto grid = MakeGrid(4, 4);
        const Bytes cut(whole.begin(), whole.begin() + static_cast<long>(n));
        EXPECT_THROW(Read(*grid, cut), EReadError) << "cut at " << n;
        grid->SetCells(1, 1, "still usable");
        EXPECT_EQ(grid->Cells(1, 1), "still usable");
    }
}

TEST(AligridStream, DamagedValuesAreSkippedOrRaiseAndNeverCrash) {
    auto source = MakeGrid(4, 4);
    source->SetAlignCell(1, 2, alCenter);
    source->GetFontCell(2, 2).SetName("Arial");
    source->SetSelectedColorCol(1, clRed);
    const Bytes whole = Written(*source);
    for (size_t i = 0; i < whole.size(); ++i)
        for (uint8_t value : {uint8_t{0x00}, uint8_t{0x0C}, uint8_t{0x7F}, uint8_t{0xFF}}) {
            Bytes damaged = whole;
            damaged[i] = value;
            auto grid = MakeGrid(4, 4);
            try {
                Read(*grid, damaged);
            } catch (const EReadError&) {
            }
        }
    // Out-of-range values in a record leave the field unset.
    const Bytes stream = Name("PropCell") + L + I(1) + I(1) + I(1) + I(9) + I(3) + I(5) + I(0) + E +
                         Name("ColorCell") + L + I32(0x80000000) + I(1) + I(7) + E + Name("Unknown") + S("x") + E;
    auto grid = MakeGrid(4, 4);
    Read(*grid, stream);
    ASSERT_NE(grid->CellProperties(1, 1), nullptr);
    EXPECT_EQ(grid->CellProperties(1, 1)->Alignment, alDefault);  // ordinal 9 is no alignment
    EXPECT_EQ(grid->CellProperties(1, 1)->Editable, kEditNotSet);
    EXPECT_EQ(grid->GetColorCell(1, 1), grid->Color());  // negative whole index skipped
}
