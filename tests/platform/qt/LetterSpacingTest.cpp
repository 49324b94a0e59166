// Words drawn by the canvas are whole: at every face and size the windows draw
// text in, no two letters stand further apart than their own spacing, rounded to
// whole pixels, allows.
#include <gtest/gtest.h>

#include "LetterGaps.h"
#include "QtTestApp.h"

namespace zeko {
namespace {

// The faces, character heights and weights the windows draw on the screen: the
// cells of the tables (8 points, and the bitmap face of the 800 layout), the
// editors' grids and the calendars, the form face, the record viewer, the graph's
// legend and axes.
struct TShownFont {
    const char* Face;
    int Height;
    bool Bold;
};
constexpr TShownFont ShownFonts[] = {
    {"Arial", 11, false},         {"Arial", 11, true},          {"Arial", 12, false},
    {"Arial", 12, true},          {"Arial", 28, true},          {"MS Sans Serif", 11, false},
    {"MS Sans Serif", 11, true},  {"MS Sans Serif", 20, false}, {"MS Sans Serif", 22, false},
    {"MS Sans Serif", 22, true},  {"MS Sans Serif", 30, false}, {"Small Fonts", 9, false},
    {"Small Fonts", 9, true},     {"MS Serif", 9, false},       {"DejaVu Sans", 11, false},
    {"DejaVu Sans", 12, false},   {"DejaVu Sans", 12, true},    {"Fixedsys", 12, false},
    {"Liberation Sans", 12, false}, {"Liberation Sans", 30, false}, {"Elektra", 27, true},
};

// Texts of the grids and calendars, where the gaps showed ("Ne použito",
// "prosine c, 2026", "Te plota", "1. Od   Do").
constexpr const char* Words[] = {"Nepoužito", "prosinec, 2026", "Teplota", "1. Od   Do", "Činný výkon [kW]"};

TFont FontOf(const TShownFont& shown) {
    TFont font;
    font.SetName(shown.Face);
    font.SetHeight(-shown.Height);
    if (shown.Bold)
        font.SetStyle(TFontStyles{fsBold});
    return font;
}

TEST(LetterSpacing, NoLettersOfAWordStandFurtherApartThanTheirOwnSpacing) {
    for (const TShownFont& shown : ShownFonts)
        for (const char* word : Words) {
            const std::string wider = test::WiderGaps(FontOf(shown), word);
            EXPECT_TRUE(wider.empty()) << shown.Face << " " << shown.Height << (shown.Bold ? " bold" : "") << ", \""
                                       << word << "\":" << wider;
        }
}

// The measure itself: letters pushed apart by a space of their own show as a
// gap, and a drawn gap follows the face's spacing.
TEST(LetterSpacing, APushedApartLetterIsAGapAndTheSpacingFollowsTheFace) {
    const TFont font = FontOf({"Arial", 12, true});
    const auto gaps = test::LetterGaps(font, "Te plota");
    ASSERT_EQ(gaps.size(), 6u);  // the space is not a letter
    EXPECT_EQ(gaps[1].Index, 3);
    EXPECT_GT(gaps[1].Own, 2.0);
    EXPECT_GE(gaps[1].Drawn, 2);
    for (const test::TLetterGap& g : gaps)
        EXPECT_LE(std::abs(g.Drawn - g.Own), 2.0) << "letter " << g.Index;
}

} // namespace
} // namespace zeko
