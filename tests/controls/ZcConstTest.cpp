#include "controls/ZcConst.h"

#include "ImageProbe.h"
#include "platform/qt/Cursors.h"
#include "support/QtApp.h"

#include <QPixmap>

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace zeko;

namespace {

// A picture as rows of "X" (black) and "." (any other colour).
std::vector<std::string> Rows(const QImage& image) {
    std::vector<std::string> rows;
    for (int y = 0; y < image.height(); ++y) {
        std::string row;
        for (int x = 0; x < image.width(); ++x)
            row += test::PixelAt(image, x, y) == clBlack ? 'X' : '.';
        rows.push_back(row);
    }
    return rows;
}

} // namespace

TEST(ZcConst, TheArrowPicturesAreBlackOnWhite) {
    test::QtApp();
    struct Case {
        const char* name;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {"ZCSPINUP", {"..XX..", ".XXXX.", "XXXXXX", "..XX..", "..XX..", "..XX.."}},
        {"ZCSPINDOWN", {"..XX..", "..XX..", "..XX..", "XXXXXX", ".XXXX.", "..XX.."}},
        {"PREV1", {"....X...", "...XX...", "..XXX...", "..XXX...", "...XX...", "....X..."}},
        {"PREV2", {"..X...X.", ".XX..XX.", "XXX.XXX.", "XXX.XXX.", ".XX..XX.", "..X...X."}},
        {"NEXT1", {"...X....", "...XX...", "...XXX..", "...XXX..", "...XX...", "...X...."}},
        {"NEXT2", {".X...X..", ".XX..XX.", ".XXX.XXX", ".XXX.XXX", ".XX..XX.", ".X...X.."}},
    };
    for (const Case& c : cases) {
        const QImage image = LoadZcBitmap(c.name);
        ASSERT_FALSE(image.isNull()) << c.name;
        EXPECT_EQ(Rows(image), c.rows) << c.name;
        // White, the bottom-left pixel, is the transparent colour when it is drawn.
        EXPECT_EQ(test::PixelAt(image, 0, image.height() - 1), clWhite) << c.name;
        std::set<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y));
        EXPECT_EQ(colours.size(), 2u) << c.name;  // one bit per pixel
    }
    EXPECT_TRUE(LoadZcBitmap("NOSUCHBITMAP").isNull());
}

TEST(ZcConst, TheDateEditGlyphHoldsTwoLeavesOnMagenta) {
    test::QtApp();
    const QImage glyph = LoadZcBitmap("DEDITBMP");
    ASSERT_EQ(glyph.size(), QSize(28, 12));
    EXPECT_EQ(test::PixelAt(glyph, 0, 11), clFuchsia);
    std::set<QRgb> colours;
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x)
            colours.insert(glyph.pixel(x, y));
    EXPECT_LE(colours.size(), 16u);
    // The second leaf, the disabled one, has no black and no red.
    const TRect second{14, 0, 28, 12};
    EXPECT_EQ(test::InkBox(glyph, second, clBlack), TRect{});
    EXPECT_EQ(test::InkBox(glyph, second, clRed), TRect{});
    EXPECT_NE(test::InkBox(glyph, {0, 0, 14, 12}, clBlack), TRect{});
}

TEST(ZcConst, TheTwoHandCursorsAreRegisteredAtStart) {
    test::QtApp();
    EXPECT_EQ(ScreenCursor(crLinkHand).shape(), Qt::ArrowCursor);  // not yet
    InitZcConst();
    ASSERT_TRUE(HasCursor(crLinkHand));
    ASSERT_TRUE(HasCursor(crGrabHand));
    const QCursor link = ScreenCursor(crLinkHand);
    const QCursor grab = ScreenCursor(crGrabHand);
    EXPECT_EQ(link.shape(), Qt::BitmapCursor);
    EXPECT_EQ(link.pixmap().size(), QSize(32, 32));
    EXPECT_EQ(grab.pixmap().size(), QSize(32, 32));
    // The pointing hand clicks with its fingertip, at the top of the picture.
    const QImage hand = link.pixmap().toImage();
    EXPECT_EQ(link.hotSpot().y(), 0);
    EXPECT_GT(qAlpha(hand.pixel(link.hotSpot())), 0);
    // The grabbing hand holds with its middle.
    const QImage fist = grab.pixmap().toImage();
    EXPECT_GT(qAlpha(fist.pixel(grab.hotSpot())), 0);
    EXPECT_NEAR(grab.hotSpot().x(), 10, 3);
    EXPECT_EQ(ScreenCursor(12345).shape(), Qt::ArrowCursor);
}
