#include "platform/qt/FontTable.h"

#include <strings.h>

#include <algorithm>

namespace zeko {

namespace {

constexpr const char* Liberation2 = "fonts-liberation2";
constexpr const char* DejaVu = "fonts-dejavu-core";
constexpr const char* DejaVuExtra = "fonts-dejavu-extra";  // the condensed faces
using W = TFontWeight;
constexpr TFontHinting Vertical = TFontHinting::Vertical;
constexpr TFontHinting Full = TFontHinting::Full;

bool WeightMatches(TFontWeight weight, bool bold) {
    return weight == W::Any || (weight == W::Bold) == bold;
}

} // namespace

const std::vector<TFontStandIn>& FontStandIns() {
    static const std::vector<TFontStandIn> table = {
        // The 8-point cell text of the 1024 layout: a line of the 11-pixel face is
        // 12 pixels high, and the month table's 15-pixel rows leave 11 of them
        // between the cell margins.
        {"Arial", 11, W::Regular, "Liberation Sans", 10, Vertical, true, Liberation2},
        {"Arial", 0, W::Any, "Liberation Sans", 0, Vertical, true, Liberation2},
        {"MS Sans Serif", 0, W::Any, "Liberation Sans", 0, Vertical, true, Liberation2},
        {"Courier New", 0, W::Any, "Liberation Mono", 0, Vertical, false, Liberation2},
        // The record viewer's lines: a sans-serif face of fixed pitch, as the
        // system's own was.
        {"Fixedsys", 0, W::Any, "DejaVu Sans Mono", 0, Vertical, false, DejaVu},
        {"Times New Roman", 0, W::Any, "Liberation Serif", 0, Vertical, false, Liberation2},
        // The bitmap faces of the 800 layout, whose 13-pixel rows leave 9 pixels
        // between the cell margins: an 8-pixel line fills them. Of the faces that
        // fit, these keep the digits apart (the 8-pixel narrow and Liberation
        // faces draw 5 like 6, and the comma as a point); the condensed bold keeps
        // the captions as narrow as the original ones.
        {"Small Fonts", 9, W::Regular, "DejaVu Sans", 8, Full, false, DejaVu},
        {"Small Fonts", 9, W::Bold, "DejaVu Sans Condensed", 8, Full, false, DejaVuExtra},
        {"Small Fonts", 0, W::Any, "DejaVu Sans", 0, Vertical, false, DejaVu},
        {"MS Serif", 9, W::Any, "DejaVu Serif", 8, Full, false, DejaVu},
        {"MS Serif", 0, W::Any, "DejaVu Serif", 0, Vertical, false, DejaVu},
        // The Greek letters; the live-values window writes the phi itself.
        {"Symbol", 0, W::Any, "Liberation Serif", 0, Vertical, false, Liberation2},
        // The live values: a condensed face, so that the digits keep their size in
        // the narrow boxes; the window fits each value to its box.
        {"Elektra", 0, W::Any, "DejaVu Sans Condensed", 0, Vertical, false, DejaVuExtra},
    };
    return table;
}

TStandInFont StandInFor(const std::string& face, int designPixels, bool bold) {
    const auto& table = FontStandIns();
    const auto entry = std::find_if(table.begin(), table.end(), [&](const TFontStandIn& e) {
        return strcasecmp(e.Face, face.c_str()) == 0 && (e.DesignPixels == 0 || e.DesignPixels == designPixels) &&
               WeightMatches(e.Weight, bold);
    });
    if (entry == table.end())
        return {face, designPixels, TFontHinting::Vertical};
    return {entry->Family, entry->Pixels > 0 ? entry->Pixels : designPixels,
            bold && entry->BoldUnhinted ? TFontHinting::None : entry->Hinting};
}

QFont StandInQFont(const std::string& face, int designPixels, bool bold) {
    const TStandInFont standIn = StandInFor(face, designPixels, bold);
    QFont font(QString::fromStdString(standIn.Family));
    font.setPixelSize(std::max(1, standIn.Pixels));
    font.setBold(bold);
    // Smoothed, and hinted as the table says rather than as the desktop prefers:
    // the widths are then those the cells were fitted to, on every desktop.
    font.setStyleStrategy(QFont::PreferAntialias);
    switch (standIn.Hinting) {
    case TFontHinting::Vertical: font.setHintingPreference(QFont::PreferVerticalHinting); break;
    case TFontHinting::Full: font.setHintingPreference(QFont::PreferFullHinting); break;
    case TFontHinting::None: font.setHintingPreference(QFont::PreferNoHinting); break;
    }
    return font;
}

} // namespace zeko
