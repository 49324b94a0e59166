#include "controls/VCLUtils.h"

#include "ImageProbe.h"
#include "support/QtApp.h"

#include <gtest/gtest.h>

using namespace zeko;

namespace {

struct EllipsisFixture : ::testing::Test {
    EllipsisFixture() : surface(10, 10) {
        test::QtApp();
        surface.canvas.Font().SetName("Liberation Sans");
        surface.canvas.Font().SetHeight(-30);
    }
    int Width(const std::string& text) const { return surface.canvas.TextWidth(text); }
    test::CanvasOnImage surface;
};

} // namespace

TEST_F(EllipsisFixture, ShortensTheTextUntilItFits) {
    const std::string text = "WWWWW";
    struct Case {
        int maxWidth;
        std::string result;
    };
    const Case cases[] = {
        {Width(text), text},  // it fits: unchanged
        {Width("WWW..."), "WWW..."},
        {Width("WW...") + 1, "WW..."},
        {Width("W..."), "W..."},
        {Width("..."), "..."},
        {Width("...") - 1, "..."},  // nothing fits: the dots alone
        {0, "..."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EllipsisText(text, surface.canvas, c.maxWidth), c.result) << c.maxWidth;
}

TEST_F(EllipsisFixture, TheFirstShortenedTextDropsTwoCharacters) {
    // "WWWW..." is narrower than "WWWWW" in this face, yet never tried.
    ASSERT_LT(Width("WWWW..."), Width("WWWWW"));
    EXPECT_EQ(EllipsisText("WWWWW", surface.canvas, Width("WWWW...")), "WWW...");
}

TEST_F(EllipsisFixture, CountsCharactersNotBytes) {
    const std::string text = "Měsíční";  // 7 characters, 10 bytes
    EXPECT_EQ(EllipsisText(text, surface.canvas, Width("Měsí...")), "Měsí...");
    EXPECT_EQ(EllipsisText("", surface.canvas, 0), "");
}

TEST(VCLUtils, PointInRectTakesTheRightAndBottomEdgesIn) {
    const TRect r{10, 20, 30, 40};
    struct Case {
        TPoint p;
        bool inside;
    };
    const Case cases[] = {{{10, 20}, true},  {{30, 40}, true},  {{30, 20}, true},  {{20, 30}, true},
                          {{9, 20}, false},  {{31, 30}, false}, {{20, 41}, false}, {{20, 19}, false}};
    for (const Case& c : cases)
        EXPECT_EQ(PointInRect(c.p, r), c.inside) << c.p.X << "," << c.p.Y;
    EXPECT_FALSE(PtInRect(r, {30, 40}));  // unlike the system's own test
    EXPECT_EQ(RectWidth(r), 20);
    EXPECT_EQ(RectHeight({0, 5, 0, 2}), -3);
}

TEST(VCLUtils, DisabledBitmapEmbossesTheOutlineColourOnly) {
    test::QtApp();
    ResetSysColors();
    QImage source(6, 5, QImage::Format_RGB32);
    source.fill(Qt::white);
    source.setPixel(1, 1, qRgb(0, 0, 0));
    source.setPixel(2, 1, qRgb(0, 0, 0));
    source.setPixel(4, 3, qRgb(255, 0, 0));  // not the outline colour: disappears
    TBitmap bitmap;
    bitmap.Assign(source);

    const auto embossed = MakeDisabledBitmapEx(bitmap, clBlack, clSilver, true, clGray, clWhite);
    ASSERT_EQ(embossed->Width(), 6);
    ASSERT_EQ(embossed->Height(), 5);
    const QImage& e = embossed->Image();
    EXPECT_EQ(test::PixelAt(e, 1, 1), clGray);
    EXPECT_EQ(test::PixelAt(e, 2, 1), clGray);
    EXPECT_EQ(test::PixelAt(e, 2, 2), clWhite);  // highlight one down and right
    EXPECT_EQ(test::PixelAt(e, 3, 2), clWhite);
    EXPECT_EQ(test::PixelAt(e, 4, 3), clSilver);
    EXPECT_EQ(test::PixelAt(e, 0, 0), clSilver);

    const auto flat = MakeDisabledBitmapEx(bitmap, clBlack, clSilver, false, clGray, clWhite);
    EXPECT_EQ(test::PixelAt(flat->Image(), 3, 2), clSilver);  // no highlight
    EXPECT_EQ(test::PixelAt(flat->Image(), 2, 1), clGray);

    // A monochrome source marks its white pixels, whatever the outline colour.
    QImage mono = source.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    TBitmap monoBitmap;
    monoBitmap.Assign(mono);
    ASSERT_TRUE(monoBitmap.Monochrome());
    const auto monoEmbossed = MakeDisabledBitmapEx(monoBitmap, clBlack, clSilver, false, clGray, clWhite);
    EXPECT_EQ(test::PixelAt(monoEmbossed->Image(), 0, 0), clGray);
    EXPECT_EQ(test::PixelAt(monoEmbossed->Image(), 1, 1), clSilver);

    // The plain form uses the button colours.
    SetSysColor(15, clSilver);
    SetSysColor(16, clGray);
    SetSysColor(20, clWhite);
    const auto button = MakeDisabledBitmap(bitmap, clBlack);
    EXPECT_EQ(test::PixelAt(button->Image(), 1, 1), clGray);
    EXPECT_EQ(test::PixelAt(button->Image(), 3, 2), clWhite);
    EXPECT_EQ(test::PixelAt(button->Image(), 5, 0), clSilver);
    ResetSysColors();
}

TEST(VCLUtils, DisabledImageMarksTheOpaquePixelsOfAListImage) {
    test::QtApp();
    QImage picture(4, 4, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    picture.setPixel(1, 1, qRgba(255, 0, 0, 255));
    picture.setPixel(2, 2, qRgba(0, 0, 255, 255));
    TImageList list(4, 4);
    list.Add(picture);
    test::CanvasOnImage surface(8, 8);
    surface.canvas.Brush().SetColor(clYellow);
    DrawDisabledImage(list, surface.canvas, 2, 2, 0, clLime, clGray, true);
    EXPECT_EQ(surface.At(3, 3), clGray);
    EXPECT_EQ(surface.At(4, 4), clGray);
    EXPECT_EQ(surface.At(5, 5), clLime);
    EXPECT_EQ(surface.At(4, 3), clWhite);  // transparent pixels leave the canvas alone
    EXPECT_EQ(surface.canvas.Brush().Color(), clYellow);
    DrawDisabledImage(list, surface.canvas, 0, 0, 1, clLime, clGray, true);  // no such image
    EXPECT_EQ(surface.At(1, 1), clWhite);
}

TEST(VCLUtils, TheDragFrameComesAndGoesLikeAnInvertedFrame) {
    test::QtApp();
    const TRect r{100, 100, 180, 140};
    const int before = XorFramesShown();
    DrawXorFrame(r, 0);
    EXPECT_EQ(XorFramesShown(), before);
    DrawXorFrame(r, 3);
    EXPECT_EQ(XorFramesShown(), before + 1);
    DrawXorFrame({100, 100, 181, 140}, 3);  // another frame
    EXPECT_EQ(XorFramesShown(), before + 2);
    DrawXorFrame(r, 3);  // drawn twice: gone
    DrawXorFrame({100, 100, 181, 140}, 3);
    EXPECT_EQ(XorFramesShown(), before);
}

TEST(VCLUtils, TransparentImageLetsTheKeyColourThrough) {
    test::QtApp();
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 0, 255));
    picture.setPixel(1, 0, qRgb(10, 20, 30));
    const QImage masked = TransparentImage(picture, clFuchsia);
    EXPECT_EQ(qAlpha(masked.pixel(0, 0)), 0);
    EXPECT_EQ(masked.pixel(1, 0), qRgba(10, 20, 30, 255));
}
