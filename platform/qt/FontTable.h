#pragma once
// The fonts drawn in place of the Windows faces the forms name. Each face maps to
// an installed font from a Debian package that scripts/deps installs:
// metric-compatible where Debian has one (Liberation for Arial, Courier New and
// Times New Roman), a close face elsewhere. A face keeps its character height in
// pixels unless the table gives a size of its own for it: the stand-ins of the
// bitmap faces are taller than the originals, and some cells the forms give are
// too low even for the original face (8-point text in 15-pixel rows), so there a
// smaller size makes the text fit.
#include <QFont>

#include <string>
#include <vector>

namespace zeko {

enum class TFontWeight { Any, Regular, Bold };

// How a stand-in's glyphs meet the pixels; every one is smoothed.
enum class TFontHinting {
    // Only up and down: each letter keeps the place its advance gives it, also where
    // advances fall between pixels, so words are evenly spaced, and the widths are
    // the face's own, so each text fits the cell it was measured for.
    Vertical,
    // In both directions, with the face's own instructions: the letters of the
    // faces drawn 8 pixels high keep their shapes (the light hinting pulls digits of
    // the serif face down to the height of small letters and lifts the accents of
    // capitals two pixels above the line), and the advances are whole pixels.
    Full,
    None,  // the outlines as they are
};

struct TFontStandIn {
    const char* Face;      // as the forms name it
    int DesignPixels;      // the character height the forms give; 0: any other
    TFontWeight Weight;    // the weights the entry is for
    const char* Family;    // the installed font drawn instead
    int Pixels;            // its pixel size; 0: the character height given
    TFontHinting Hinting;
    // Its bold is drawn without hinting: Liberation Sans Bold hinted thins the
    // stems of some letters to one pixel at 11 to 13 pixels, and a word then
    // looks half bold.
    bool BoldUnhinted;
    const char* Package;   // the Debian package that installs the family
};

// Every entry; the first that matches a face, size and weight holds.
const std::vector<TFontStandIn>& FontStandIns();

// The family and pixel size drawn for `face` at a character height of
// `designPixels`. A face the table does not name keeps its name, for the font
// matching of the system to choose, and its height.
struct TStandInFont {
    std::string Family;
    int Pixels = 0;
    TFontHinting Hinting = TFontHinting::Vertical;
};
TStandInFont StandInFor(const std::string& face, int designPixels, bool bold = false);

// A QFont of the stand-in, bold when asked.
QFont StandInQFont(const std::string& face, int designPixels, bool bold = false);

} // namespace zeko
