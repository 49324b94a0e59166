// The glyph engine without a button: cells, state images, the shared image lists,
// layout and the drop-down mark, drawn on a canvas over an image.
#include "controls/ZcCtrls.h"

#include "ImageProbe.h"
#include "support/QtApp.h"

#include <gtest/gtest.h>

using namespace zeko;

namespace {

constexpr QRgb Magenta = 0xFFFF00FF;

// A glyph bitmap of `cells` 16 × 16 cells on magenta; cell n holds a 4 × 4 block of
// its own colour at (4, 4) and a black pixel at (1, 1).
QImage Cells(int cells, int size = 16) {
    static const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 128, 0), qRgb(0, 0, 255), qRgb(255, 255, 0),
                                   qRgb(0, 255, 255)};
    QImage image(size * cells, size, QImage::Format_RGB32);
    image.fill(Magenta);
    for (int n = 0; n < cells; ++n) {
        for (int y = 4; y < 8; ++y)
            for (int x = 4; x < 8; ++x)
                image.setPixel(n * size + x, y, colours[n % 5]);
        image.setPixel(n * size + 1, 1, qRgb(0, 0, 0));
    }
    return image;
}

struct GlyphFixture : ::testing::Test {
    GlyphFixture() : surface(64, 48) {
        test::QtApp();
        surface.canvas.Font().SetName("Liberation Sans");
        surface.canvas.Font().SetHeight(-12);
    }
    // The colour of (x, y) of the state's face drawn at (0, 0) on white.
    TColor FacePixel(TZcButtonGlyph& glyph, TGlyphState state, int x, int y) {
        surface.Clear();
        glyph.DrawButtonGlyph(surface.canvas, 0, 0, state);
        return surface.At(x, y);
    }
    test::CanvasOnImage surface;
};

} // namespace

TEST_F(GlyphFixture, TheBitmapIsSplitIntoCellsOfItsHeight) {
    struct Case {
        int width, height, cells;
    };
    const Case cases[] = {
        {64, 16, 4}, {96, 16, 1},  // six times the height: one cell
        {80, 16, 5}, {16, 16, 1}, {32, 16, 2},
        {0, 16, 1},  // no width: one cell, never 0
    };
    for (const Case& c : cases) {
        TZcButtonGlyph glyph;
        glyph.SetNumGlyphs(3);
        QImage image = c.width > 0 ? QImage(c.width, c.height, QImage::Format_RGB32) : QImage();
        if (!image.isNull())
            image.fill(Magenta);
        TBitmap bitmap;
        if (image.isNull())
            bitmap.SetSize(c.width, c.height);
        else
            bitmap.Assign(image);
        glyph.SetGlyph(bitmap);
        EXPECT_EQ(glyph.NumGlyphs(), c.cells) << c.width << " x " << c.height;
    }
    // A width that is no multiple of the height keeps the number given.
    TZcButtonGlyph glyph;
    glyph.SetNumGlyphs(2);
    glyph.SetGlyph(QImage(40, 16, QImage::Format_RGB32));
    EXPECT_EQ(glyph.NumGlyphs(), 2);
    glyph.SetNumGlyphs(0);  // ignored
    EXPECT_EQ(glyph.NumGlyphs(), 2);
    glyph.SetNumGlyphs(9);  // at most five
    EXPECT_EQ(glyph.NumGlyphs(), 5);
}

TEST_F(GlyphFixture, AnEmptyGlyphOfSomeHeightDrawsNothingAndLaysOutSafely) {
    TZcButtonGlyph glyph;
    TBitmap bitmap;
    bitmap.SetSize(0, 16);
    glyph.SetGlyph(bitmap);
    for (TGlyphState state : {gsUp, gsDisabled, gsDown, gsExclusive, gsInactive})
        EXPECT_EQ(glyph.CreateButtonGlyph(state), -1);
    EXPECT_EQ(glyph.DrawButtonGlyph(surface.canvas, 0, 0, gsUp), TSize{});
    const TButtonLayoutResult place =
        glyph.CalcButtonLayout(surface.canvas, {0, 0, 24, 24}, "", blGlyphLeft, -1, -1, false, DT_CENTER, nullptr, -1);
    EXPECT_EQ(place.GlyphPos.X, 12);
    EXPECT_EQ(surface.Ink(), TRect{});
}

TEST_F(GlyphFixture, EachStateDrawsItsOwnCell) {
    TZcButtonGlyph glyph;
    glyph.SetGlyph(Cells(5));
    ASSERT_EQ(glyph.NumGlyphs(), 5);
    EXPECT_EQ(glyph.TransparentColor(), clFuchsia);
    struct Case {
        TGlyphState state;
        TColor block;
    };
    const Case cases[] = {{gsUp, clRed},        {gsDisabled, clGreen}, {gsDown, clBlue},
                          {gsExclusive, clYellow}, {gsInactive, clAqua}};
    for (const Case& c : cases) {
        EXPECT_EQ(FacePixel(glyph, c.state, 5, 5), c.block) << int(c.state);
        EXPECT_EQ(surface.At(10, 10), clWhite) << "magenta is transparent";
    }
}

TEST_F(GlyphFixture, FewerCellsFallBackToTheFirst) {
    for (int cells : {1, 2}) {
        TZcButtonGlyph glyph;
        glyph.SetGlyph(Cells(cells));
        EXPECT_EQ(glyph.CreateButtonGlyph(gsDown), glyph.CreateButtonGlyph(gsUp)) << cells;  // pressed = up
        EXPECT_EQ(FacePixel(glyph, gsExclusive, 5, 5), clRed) << cells;  // no 4th cell: the first
    }
    TZcButtonGlyph three;
    three.SetGlyph(Cells(3));
    EXPECT_EQ(FacePixel(three, gsDown, 5, 5), clBlue);
    EXPECT_EQ(FacePixel(three, gsDisabled, 5, 5), clGreen);  // the 2nd cell, not embossed
}

TEST_F(GlyphFixture, OneCellIsEmbossedWhenDisabledAndGrayWhenInactive) {
    ResetSysColors();
    TZcButtonGlyph glyph;
    QImage image = Cells(1);
    image.setPixel(10, 10, ToQColor(clBtnFace).rgb());  // the face colour stays in the gray image
    glyph.SetGlyph(image);

    // Disabled: only the black pixel shows, in shadow with a highlight below right.
    EXPECT_EQ(FacePixel(glyph, gsDisabled, 1, 1), ColorToRGB(clBtnShadow));
    EXPECT_EQ(surface.At(2, 2), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(surface.At(5, 5), clWhite);    // the red block is gone
    EXPECT_EQ(surface.At(10, 10), clWhite);  // the face colour is transparent here

    // Inactive: grays (77 R + 150 G + 29 B) >> 8; magenta and the face colour stay.
    EXPECT_EQ(FacePixel(glyph, gsInactive, 5, 5), RGB(76, 76, 76));
    EXPECT_EQ(surface.At(1, 1), clBlack);
    EXPECT_EQ(surface.At(12, 12), clWhite);
    EXPECT_EQ(surface.At(10, 10), ColorToRGB(clBtnFace));
}

TEST_F(GlyphFixture, AnotherColourSchemeBuildsTheFacesAgain) {
    ResetSysColors();
    TZcButtonGlyph glyph;
    glyph.SetGlyph(Cells(1));
    EXPECT_EQ(FacePixel(glyph, gsDisabled, 1, 1), RGB(128, 128, 128));
    const int before = glyph.CreateButtonGlyph(gsDisabled);
    SetSysColor(16, RGB(0, 0, 160));  // the button shadow
    EXPECT_EQ(FacePixel(glyph, gsDisabled, 1, 1), RGB(0, 0, 160));
    EXPECT_EQ(glyph.CreateButtonGlyph(gsDisabled), before);  // its old slot, given back and taken again
    EXPECT_EQ(glyph.GlyphList()->UsedCount(), 1);
    ResetSysColors();
    EXPECT_EQ(FacePixel(glyph, gsDisabled, 1, 1), RGB(128, 128, 128));
}

TEST(GrayPixel, KeepsTheKeyColoursAndGraysTheRest) {
    ResetSysColors();
    struct Case {
        TColor colour, transparent, result;
    };
    const Case cases[] = {
        {clRed, clFuchsia, RGB(76, 76, 76)},
        {clLime, clFuchsia, RGB(149, 149, 149)},
        {clBlue, clFuchsia, RGB(28, 28, 28)},
        {clWhite, clFuchsia, RGB(255, 255, 255)},
        {clFuchsia, clFuchsia, clFuchsia},
        {clRed, clRed, clRed},
        {ColorToRGB(clBtnFace), clFuchsia, ColorToRGB(clBtnFace)},
        {clBtnFace, clFuchsia, clBtnFace},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GrayPixel(c.colour, c.transparent), c.result) << std::hex << c.colour;
}

TEST_F(GlyphFixture, GlyphsOfOneSizeShareAListAndItsFreedSlots) {
    {
        TZcButtonGlyph a, b;
        a.SetGlyph(Cells(1));
        b.SetGlyph(Cells(2));
        const int ia = a.CreateButtonGlyph(gsUp);
        const int ib = b.CreateButtonGlyph(gsUp);
        ASSERT_NE(a.GlyphList(), nullptr);
        EXPECT_EQ(a.GlyphList(), b.GlyphList());
        EXPECT_EQ(GlyphCache()->ListCount(), 1);
        EXPECT_NE(ia, ib);
        TGlyphList* shared = a.GlyphList();
        EXPECT_EQ(shared->UsedCount(), 2);
        EXPECT_EQ(a.CreateButtonGlyph(gsUp), ia);  // built once
        EXPECT_EQ(shared->UsedCount(), 2);

        {
            TZcButtonGlyph big;
            big.SetGlyph(Cells(1, 20));
            big.CreateButtonGlyph(gsUp);
            EXPECT_EQ(GlyphCache()->ListCount(), 2);
        }
        EXPECT_EQ(GlyphCache()->ListCount(), 1);  // its list went with its last image

        a.Invalidate();  // a's slot is free for the next image
        EXPECT_EQ(shared->UsedCount(), 1);
        TZcButtonGlyph c;
        c.SetGlyph(Cells(1));
        EXPECT_EQ(c.CreateButtonGlyph(gsUp), ia);
        EXPECT_EQ(shared->Count(), 2);  // reused, not grown
    }
    EXPECT_EQ(GlyphCache(), nullptr);  // freed with the last glyph
}

TEST_F(GlyphFixture, ACaptionThatDoesNotFitIsShortenedLineByLine) {
    TZcButtonGlyph glyph;
    const int width = surface.canvas.TextWidth("Abc...");
    EXPECT_EQ(glyph.MinimizeCaption(surface.canvas, "Abcdefgh\r\nAbcdefghij\r\n  ", width), "Abc...\r\nAbc...");
    EXPECT_EQ(glyph.MinimizeCaption(surface.canvas, "Ab\nAbcdefgh", width), "Ab\r\nAbc...");
    glyph.SetWordWrap(true);
    EXPECT_EQ(glyph.MinimizeCaption(surface.canvas, "Abcdefgh\r\nAbcdefghij", width), "Abcdefgh\r\nAbcdefghij");
    EXPECT_EQ(glyph.MinimizeCaption(surface.canvas, std::string(300, 'x'), 5000).size(), 255u);
}

TEST_F(GlyphFixture, LayoutPlacesGlyphAndTextByLayoutMarginAndSpacing) {
    TZcButtonGlyph glyph;
    glyph.SetGlyph(Cells(1));
    const std::string caption = "Ab";
    const int tw = surface.canvas.TextWidth(caption);
    const int th = surface.canvas.TextHeight(caption);
    const int w = 40 + tw;  // (w - (16 + tw)) div 3 = 8
    const int h = 50;
    struct Case {
        const char* what;
        TRect client;
        std::string caption;
        TButtonLayout layout;
        int margin, spacing;
        bool mark;
        TPoint glyph;
        TPoint text;
    };
    const Case cases[] = {
        {"no caption centres the glyph", {0, 0, 24, 24}, "", blGlyphLeft, -1, -1, false, {4, 4}, {20, 12}},
        {"automatic margin and spacing", {0, 0, w, h}, caption, blGlyphLeft, -1, -1, false,
         {8, h / 2 - 8}, {32, h / 2 - th / 2}},
        {"glyph right", {0, 0, w, h}, caption, blGlyphRight, -1, -1, false, {w - 24, h / 2 - 8}, {8, h / 2 - th / 2}},
        {"both given", {0, 0, w, h}, caption, blGlyphLeft, 1, 2, false, {1, h / 2 - 8}, {19, h / 2 - th / 2}},
        {"margin given, glyph top", {0, 0, w, h}, caption, blGlyphTop, 2, -1, false,
         {w / 2 - 8, 2}, {w / 2 - tw / 2, 18 + (h - 18) / 2 - th / 2}},
        {"spacing given, glyph bottom", {0, 0, w, h}, caption, blGlyphBottom, -1, 3, false,
         {w / 2 - 8, h - (h / 2 - (19 + th) / 2) - 16}, {w / 2 - tw / 2, h - (h / 2 - (19 + th) / 2) - 19 - th}},
        {"moved by the client's corner", {10, 20, 34, 44}, "", blGlyphTop, -1, -1, false, {14, 24}, {22, 40}},
        {"mark after a top glyph widens it", {0, 0, 40, 40}, "", blGlyphTop, -1, -1, true, {9, 12}, {20, 28}},
        {"mark after a left glyph goes after the text", {0, 0, 40, 40}, "", blGlyphLeft, -1, -1, true,
         {5, 12}, {26, 20}},
    };
    for (const Case& c : cases) {
        const TButtonLayoutResult place = glyph.CalcButtonLayout(surface.canvas, c.client, c.caption, c.layout,
                                                                 c.margin, c.spacing, c.mark, DT_CENTER, nullptr, -1);
        EXPECT_EQ(place.GlyphPos, c.glyph) << c.what << ": " << place.GlyphPos.X << "," << place.GlyphPos.Y;
        EXPECT_EQ((TPoint{place.TextBounds.Left, place.TextBounds.Top}), c.text)
            << c.what << ": " << place.TextBounds.Left << "," << place.TextBounds.Top;
    }
}

TEST_F(GlyphFixture, AnImageOfAListTakesThePlaceOfTheGlyph) {
    TImageList images(10, 12);
    QImage picture(10, 12, QImage::Format_ARGB32);
    picture.fill(qRgba(0, 0, 255, 255));
    images.Add(picture);
    TZcButtonGlyph glyph;
    glyph.SetGlyph(Cells(1));
    const TButtonLayoutResult place =
        glyph.CalcButtonLayout(surface.canvas, {0, 0, 30, 30}, "", blGlyphTop, -1, -1, false, DT_CENTER, &images, 0);
    EXPECT_EQ(place.GlyphPos, (TPoint{10, 9}));  // the list's 10 × 12, centred
    surface.Clear();
    glyph.DrawEx(surface.canvas, {0, 0, 30, 30}, "", blGlyphTop, -1, -1, false, &images, 0, gsUp, DT_CENTER);
    EXPECT_EQ(surface.Ink(), (TRect{10, 9, 20, 21}));
    EXPECT_EQ(surface.At(12, 11), clBlue);
    surface.Clear();
    glyph.DrawEx(surface.canvas, {0, 0, 30, 30}, "", blGlyphTop, -1, -1, false, &images, 0, gsInactive, DT_CENTER);
    EXPECT_EQ(surface.At(12, 11), RGB(28, 28, 28));
    surface.Clear();
    TZcButtonGlyph other;
    other.SetGlyph(Cells(1));
    other.DrawEx(surface.canvas, {0, 0, 30, 30}, "", blGlyphTop, -1, -1, false, &images, 5, gsUp, DT_CENTER);
    EXPECT_EQ(surface.At(12, 12), clRed);  // no such image: the glyph
}

TEST_F(GlyphFixture, ThePopupMarkIsATriangleOfSevenFiveThreeAndOnePixels) {
    ResetSysColors();
    TZcButtonGlyph::DrawPopupMark(surface.canvas, 10, 10, gsUp);
    const TColor ink = ColorToRGB(clBtnText);
    EXPECT_EQ(test::InkBox(surface.image, {0, 9, 64, 10}, ink), (TRect{10, 9, 17, 10}));
    EXPECT_EQ(test::InkBox(surface.image, {0, 10, 64, 11}, ink), (TRect{11, 10, 16, 11}));
    EXPECT_EQ(test::InkBox(surface.image, {0, 11, 64, 12}, ink), (TRect{12, 11, 15, 12}));
    EXPECT_EQ(test::InkBox(surface.image, {0, 12, 64, 13}, ink), (TRect{13, 12, 14, 13}));
    EXPECT_EQ(surface.Ink(), (TRect{10, 9, 17, 13}));

    surface.Clear();
    SetSysColor(20, clYellow);  // the highlight, which would not show on white
    TZcButtonGlyph::DrawPopupMark(surface.canvas, 10, 10, gsDisabled);
    EXPECT_EQ(surface.At(10, 9), ColorToRGB(clBtnShadow));
    EXPECT_EQ(surface.At(17, 10), ColorToRGB(clBtnHighlight));  // the copy below right
    EXPECT_EQ(surface.Ink(), (TRect{10, 9, 18, 14}));
}

TEST_F(GlyphFixture, DisabledCaptionIsDrawnTwiceAndLeavesTheShadowColour) {
    SetSysColor(20, clYellow);  // the highlight, which would not show on white
    TZcButtonGlyph glyph;
    surface.canvas.Font().SetColor(clBlack);
    glyph.DrawButtonText(surface.canvas, "I", {2, 2, 40, 30}, gsDisabled, DT_LEFT);
    EXPECT_EQ(surface.canvas.Font().Color(), clBtnShadow);
    const TRect shadow = test::InkBoxOver(surface.image, {0, 0, 64, 48}, clBtnShadow, clWhite);
    const TRect light = test::InkBoxOver(surface.image, {0, 0, 64, 48}, clBtnHighlight, clWhite);
    ASSERT_NE(shadow, TRect{});
    ASSERT_NE(light, TRect{});
    EXPECT_EQ(light.Right, shadow.Right + 1);
    EXPECT_EQ(light.Bottom, shadow.Bottom + 1);
}

TEST_F(GlyphFixture, AButtonImageIsARaisedButtonWithItsGlyph) {
    ResetSysColors();
    TButtonImage image;
    image.Glyph().SetGlyph(Cells(1));
    image.DrawEx(surface.canvas, 4, 4, -1, -1, blGlyphTop, nullptr, nullptr, -1, DT_CENTER);
    EXPECT_EQ(surface.At(4, 4), ColorToRGB(clBtnShadow));         // outer top-left
    EXPECT_EQ(surface.At(27, 26), ColorToRGB(clWindowFrame));     // outer bottom-right of 24 × 23
    EXPECT_EQ(surface.At(5, 5), ColorToRGB(clBtnHighlight));      // inner top-left
    EXPECT_EQ(surface.At(26, 25), ColorToRGB(clBtnShadow));       // inner bottom-right
    EXPECT_EQ(surface.At(28, 4), clWhite);                        // nothing beyond the size
    EXPECT_EQ(test::InkBox(surface.image, {0, 0, 64, 48}, clRed).Width(), 4);
}
