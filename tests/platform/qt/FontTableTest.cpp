#include "platform/qt/FontTable.h"

#include <QFontInfo>

#include <gtest/gtest.h>

#include "QtTestApp.h"

namespace zeko {
namespace {

// Each family is installed: the program would otherwise draw whatever the
// system's font matching gives, at metrics the cells were not fitted to.
TEST(FontTable, EveryStandInIsInstalled) {
    for (const TFontStandIn& e : FontStandIns()) {
        const QFont font = StandInQFont(e.Face, e.DesignPixels > 0 ? e.DesignPixels : 12,
                                        e.Weight == TFontWeight::Bold);
        EXPECT_EQ(QFontInfo(font).family().toStdString(), e.Family)
            << e.Face << ": install " << e.Package << " (scripts/deps)";
    }
}

TEST(FontTable, AFaceSizeAndWeightChooseTheStandIn) {
    using H = TFontHinting;
    struct Case {
        const char* face;
        int pixels;
        bool bold;
        const char* family;
        int standIn;
        TFontHinting hinting;
    } cases[] = {
        {"Arial", 11, false, "Liberation Sans", 10, H::Vertical},  // the 8-point cells of the 1024 layout
        {"Arial", 11, true, "Liberation Sans", 11, H::None},
        {"ARIAL", 12, true, "Liberation Sans", 12, H::None},    // faces are named without regard to case
        {"Arial", 19, false, "Liberation Sans", 19, H::Vertical},
        {"Small Fonts", 9, false, "DejaVu Sans", 8, H::Full},
        {"Small Fonts", 9, true, "DejaVu Sans Condensed", 8, H::Full},
        {"Small Fonts", 12, false, "DejaVu Sans", 12, H::Vertical},
        {"MS Serif", 9, false, "DejaVu Serif", 8, H::Full},
        {"MS Sans Serif", 11, false, "Liberation Sans", 11, H::Vertical},
        {"Courier New", 13, false, "Liberation Mono", 13, H::Vertical},
        {"Elektra", 35, true, "DejaVu Sans Condensed", 35, H::Vertical},
        {"Tahoma", 13, false, "Tahoma", 13, H::Vertical},  // not in the table: as named
    };
    for (const Case& c : cases) {
        const TStandInFont s = StandInFor(c.face, c.pixels, c.bold);
        EXPECT_EQ(s.Family, c.family) << c.face << " " << c.pixels;
        EXPECT_EQ(s.Pixels, c.standIn) << c.face << " " << c.pixels;
        EXPECT_EQ(s.Hinting, c.hinting) << c.face << " " << c.pixels;
    }
}

} // namespace
} // namespace zeko
