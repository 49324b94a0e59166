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

struct TFontStandIn {
    const char* Face;      // as the forms name it
    int DesignPixels;      // the character height the forms give; 0: any other
    TFontWeight Weight;    // the weights the entry is for
    const char* Family;    // the installed font drawn instead
    int Pixels;            // its pixel size; 0: the character height given
    // Its bold is drawn without hinting: Liberation Sans Bold drawn in whole
    // pixels with its hinting thins the stems of some letters to one pixel at 11
    // to 13 pixels, and a word then looks half bold.
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
    bool Unhinted = false;
};
TStandInFont StandInFor(const std::string& face, int designPixels, bool bold = false);

// A QFont of the stand-in, bold when asked.
QFont StandInQFont(const std::string& face, int designPixels, bool bold = false);

} // namespace zeko
