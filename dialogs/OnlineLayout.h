#pragma once
// Where the live-values window puts its labels over its background picture, in
// the picture's pixels, and the display boxes the picture draws under the value
// labels. The window and the tool that draws the picture (tools/onlinepic) both
// take them from here, so a box always stands where its value is shown.
#include <QRect>

#include <algorithm>
#include <array>

namespace zeko::online {

// Alignments of the labels.
enum TLabelAlign { AlignLeft, AlignRight, AlignCentre };

struct TLabelPlace {
    const char* Text;  // the fixed labels' texts; the value labels' object names
    int Left, Top, Width, Height;
    int FontHeight;  // character height in pixels as the forms give it
    TLabelAlign Align;
    QRect Rect() const { return {Left, Top, Width, Height}; }
};

// The fixed labels, Arial bold in the form colour.
inline constexpr std::array<TLabelPlace, 18> FixedLabels = {{
    {"Cos", 260, 216, 52, 32, 27, AlignLeft},
    {"P", 260, 266, 18, 32, 27, AlignLeft},
    {"Qi", 260, 306, 29, 32, 27, AlignLeft},
    {"Qc", 260, 346, 36, 32, 27, AlignLeft},
    {"kW", 436, 266, 40, 32, 27, AlignLeft},
    {"kVAr", 436, 306, 63, 32, 27, AlignLeft},
    {"kVAr", 436, 346, 63, 32, 27, AlignLeft},
    {"Výstupy:", 260, 386, 116, 32, 27, AlignLeft},
    {"Čas záznamu:", 553, 214, 89, 16, 13, AlignLeft},
    {"Čas do reg:", 556, 242, 89, 19, 16, AlignLeft},
    {"Pásmo reg:", 556, 272, 88, 19, 16, AlignLeft},
    {"Regulace:", 572, 302, 78, 19, 16, AlignLeft},
    {"Přip.ind.", 545, 332, 63, 19, 16, AlignLeft},
    {"Přip.kap.", 541, 362, 67, 19, 16, AlignLeft},
    {"kVAr", 612, 332, 37, 19, 16, AlignLeft},
    {"kVAr", 612, 362, 37, 19, 16, AlignLeft},
    {"REG:", 519, 420, 31, 16, 13, AlignLeft},
    {"PC:", 528, 436, 22, 16, 13, AlignLeft},
}};
// `Label2`, the phi after "Cos" in the Symbol face.
inline constexpr TLabelPlace PhiLabel = {"φ:", 324, 210, 29, 37, 29, AlignLeft};

// The value labels, in the value font, bold and black.
inline constexpr std::array<TLabelPlace, 13> ValueLabels = {{
    {"Lbl_CosFi", 368, 198, 119, 64, 67, AlignLeft},
    {"Lbl_CinnyVykon", 304, 261, 120, 32, 40, AlignRight},
    {"Lbl_IndukcniVykon", 304, 301, 120, 32, 40, AlignRight},
    {"Lbl_KapacitniVykon", 304, 341, 120, 32, 40, AlignRight},
    {"Lbl_Vystupy", 396, 383, 373, 50, 40, AlignLeft},
    {"Lbl_AktCasZaznamu", 664, 212, 57, 23, 21, AlignCentre},
    {"Lbl_CasDoRegulace", 648, 234, 88, 32, 35, AlignCentre},
    {"Lbl_PasmoRegulace", 648, 264, 88, 32, 35, AlignCentre},
    {"Lbl_ZnakRegulace", 648, 294, 88, 32, 35, AlignCentre},
    {"Lbl_PripojenaIndukcnost", 648, 324, 88, 32, 35, AlignCentre},
    {"Lbl_PripojenaKapacita", 648, 354, 88, 32, 35, AlignCentre},
    {"Lbl_AktDTRegulatoru", 552, 418, 185, 20, 21, AlignCentre},
    {"Lbl_AktDTPC", 552, 434, 185, 23, 21, AlignCentre},
}};

// The notice under the panel while the regulator does not answer, in the fixed
// labels' face: the values above are then the last ones read.
inline constexpr TLabelPlace OldValuesNotice = {"Lbl_StareHodnoty", 235, 488, 550, 32, 16, AlignCentre};

// Labels that overlap by at most this many rows are neighbours in a column.
inline constexpr int NeighbourOverlap = 4;

// The display box under value label i: the label's rectangle, except where labels
// overlap. Neighbours in a column (the regulation column, the two clocks) share
// their overlap half and half; the outputs' label reaches down over the clocks,
// and its box ends above theirs.
inline QRect ValueBox(size_t i) {
    QRect box = ValueLabels[i].Rect();
    for (size_t j = 0; j < ValueLabels.size(); ++j) {
        const QRect other = ValueLabels[j].Rect();
        if (j == i || !other.intersects(ValueLabels[i].Rect()))
            continue;
        const QRect shared = other.intersected(ValueLabels[i].Rect());
        const int middle = shared.top() + shared.height() / 2;
        const bool neighbours = shared.height() <= NeighbourOverlap;
        if (other.top() > box.top())
            box.setBottom(neighbours ? std::min(box.bottom(), middle - 1) : std::min(box.bottom(), other.top() - 1));
        else if (neighbours)
            box.setTop(std::max(box.top(), middle));
    }
    return box;
}

} // namespace zeko::online
