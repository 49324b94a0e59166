#include "platform/qt/Canvas.h"

#include <QPainter>
#include <QPicture>

#include <gtest/gtest.h>

#include "ImageProbe.h"
#include "QtTestApp.h"

namespace zeko {
namespace {

class CanvasTest : public ::testing::Test, public test::CanvasOnImage {
protected:
    CanvasTest() : CanvasOnImage(60, 40) {}
    // The tests read "no ink" as a box whose right edge is -1.
    TRect Ink() const {
        const TRect r = CanvasOnImage::Ink();
        return IsRectEmpty(r) ? TRect{image.width(), image.height(), -1, -1} : r;
    }
};

TEST_F(CanvasTest, FillRectLeavesOutItsRightAndBottomEdges) {
    canvas.Brush().SetColor(clRed);
    canvas.FillRect({2, 3, 5, 7});
    EXPECT_EQ(At(2, 3), clRed);
    EXPECT_EQ(At(4, 6), clRed);
    EXPECT_EQ(At(5, 3), clWhite);
    EXPECT_EQ(At(2, 7), clWhite);
    EXPECT_EQ(Ink(), (TRect{2, 3, 5, 7}));
}

TEST_F(CanvasTest, ClearBrushFillsNothing) {
    canvas.Brush().SetColor(clRed);
    canvas.Brush().SetStyle(bsClear);
    canvas.FillRect({0, 0, 10, 10});
    EXPECT_EQ(Ink().Right, -1);
}

TEST_F(CanvasTest, LineLeavesOutItsEndPoint) {
    struct Case {
        TPoint from, to;
        TRect ink;
    };
    const Case cases[] = {
        {{1, 1}, {5, 1}, {1, 1, 5, 2}},     // to the right
        {{5, 2}, {1, 2}, {2, 2, 6, 3}},     // to the left
        {{3, 1}, {3, 6}, {3, 1, 4, 6}},     // down
        {{3, 6}, {3, 1}, {3, 2, 4, 7}},     // up
        {{0, 0}, {4, 4}, {0, 0, 4, 4}},     // diagonal
    };
    for (const Case& c : cases) {
        Clear();
        canvas.MoveTo(c.from.X, c.from.Y);
        canvas.LineTo(c.to.X, c.to.Y);
        EXPECT_EQ(Ink(), c.ink) << c.from.X << "," << c.from.Y << " -> " << c.to.X << "," << c.to.Y;
        EXPECT_EQ(canvas.PenPos(), c.to);
    }
}

TEST_F(CanvasTest, DottedPenDrawsThreeOnThreeOff) {
    canvas.Pen().SetStyle(psDot);
    canvas.MoveTo(0, 0);
    canvas.LineTo(12, 0);
    const TColor expected[] = {clBlack, clBlack, clBlack, clWhite, clWhite, clWhite,
                               clBlack, clBlack, clBlack, clWhite, clWhite, clWhite};
    for (int x = 0; x < 12; ++x)
        EXPECT_EQ(At(x, 0), expected[x]) << x;
}

TEST_F(CanvasTest, XorPenTwiceRestoresThePicture) {
    canvas.Brush().SetColor(clBlue);
    canvas.FillRect({0, 0, 20, 2});
    canvas.Pen().SetMode(pmXor);
    canvas.Pen().SetColor(clWhite);
    canvas.MoveTo(0, 0);
    canvas.LineTo(10, 0);
    EXPECT_EQ(At(3, 0), RGB(255, 255, 0));  // blue xor white
    canvas.MoveTo(0, 0);
    canvas.LineTo(10, 0);
    EXPECT_EQ(At(3, 0), clBlue);
}

TEST_F(CanvasTest, RectangleOutlineLiesInsideAndBrushFillsTheRest) {
    canvas.Pen().SetColor(clBlack);
    canvas.Brush().SetColor(clRed);
    canvas.Rectangle(1, 1, 6, 5);
    EXPECT_EQ(Ink(), (TRect{1, 1, 6, 5}));
    EXPECT_EQ(At(1, 1), clBlack);
    EXPECT_EQ(At(5, 4), clBlack);
    EXPECT_EQ(At(5, 2), clBlack);
    EXPECT_EQ(At(2, 2), clRed);
    EXPECT_EQ(At(4, 3), clRed);
}

TEST_F(CanvasTest, FrameRectDrawsOnePixelInTheBrushColour) {
    canvas.Brush().SetColor(clGreen);
    canvas.FrameRect({2, 2, 8, 6});
    EXPECT_EQ(Ink(), (TRect{2, 2, 8, 6}));
    EXPECT_EQ(At(7, 5), clGreen);
    EXPECT_EQ(At(4, 3), clWhite);
}

TEST_F(CanvasTest, Frame3DGivesTheFarCornersToTheBottomColourAndShrinks) {
    TRect r{2, 2, 12, 10};
    Frame3D(canvas, r, clRed, clBlue, 2);
    EXPECT_EQ(r, (TRect{4, 4, 10, 8}));
    // outer ring
    EXPECT_EQ(At(2, 2), clRed);    // top-left
    EXPECT_EQ(At(10, 2), clRed);   // top, just before the corner
    EXPECT_EQ(At(11, 2), clBlue);  // top-right corner
    EXPECT_EQ(At(2, 9), clBlue);   // bottom-left corner
    EXPECT_EQ(At(2, 8), clRed);
    EXPECT_EQ(At(11, 9), clBlue);
    // second ring
    EXPECT_EQ(At(3, 3), clRed);
    EXPECT_EQ(At(10, 3), clBlue);
    EXPECT_EQ(At(4, 4), clWhite);
}

TEST_F(CanvasTest, RaisedEdgeUsesLightAndShadowColoursAndAdjusts) {
    TRect r{0, 0, 10, 10};
    DrawEdge(canvas, r, EDGE_RAISED, BF_RECT | BF_ADJUST | BF_MIDDLE);
    EXPECT_EQ(r, (TRect{2, 2, 8, 8}));
    EXPECT_EQ(At(0, 0), ColorToRGB(cl3DLight));
    EXPECT_EQ(At(9, 9), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(At(1, 1), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(At(8, 8), ColorToRGB(clBtnShadow));
    EXPECT_EQ(At(5, 5), ColorToRGB(clBtnFace));

    TRect s{20, 0, 30, 10};
    DrawEdge(canvas, s, BDR_SUNKENOUTER, BF_TOPLEFT);
    EXPECT_EQ(s, (TRect{20, 0, 30, 10}));  // no BF_ADJUST
    EXPECT_EQ(At(20, 5), ColorToRGB(clBtnShadow));
    EXPECT_EQ(At(29, 5), clWhite);  // the right side was not asked for
}

TEST_F(CanvasTest, SystemColoursAreResolvedWhenPainted) {
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect({0, 0, 5, 5});
    EXPECT_EQ(At(1, 1), RGB(192, 192, 192));
    SetSysColor(15, RGB(10, 20, 30));
    canvas.FillRect({0, 0, 5, 5});
    EXPECT_EQ(canvas.Brush().Color(), clBtnFace);
    EXPECT_EQ(At(1, 1), RGB(10, 20, 30));
}

TEST_F(CanvasTest, FocusRectInvertsEveryOtherPixelAndASecondOneRestores) {
    canvas.DrawFocusRect({0, 0, 8, 6});
    EXPECT_EQ(At(0, 0), clBlack);
    EXPECT_EQ(At(1, 0), clWhite);
    EXPECT_EQ(At(2, 0), clBlack);
    EXPECT_EQ(At(7, 5), clBlack);  // 7 + 5 even
    EXPECT_EQ(At(3, 3), clWhite);  // inside untouched
    canvas.DrawFocusRect({0, 0, 8, 6});
    EXPECT_EQ(Ink().Right, -1);
}

TEST_F(CanvasTest, ClippingKeepsDrawingOutOfExcludedAreas) {
    canvas.ExcludeClipRect({0, 0, 10, 10});
    canvas.Brush().SetColor(clRed);
    canvas.FillRect({0, 0, 20, 5});
    EXPECT_EQ(At(5, 2), clWhite);
    EXPECT_EQ(At(15, 2), clRed);
    canvas.ResetClip();
    canvas.IntersectClipRect({0, 20, 5, 25});
    canvas.FillRect({0, 0, 60, 40});
    EXPECT_EQ(Ink(), (TRect{0, 0, 20, 25}));
    EXPECT_EQ(At(4, 24), clRed);
    EXPECT_EQ(At(5, 24), clWhite);
}

TEST_F(CanvasTest, CopyRectCopiesABlockAndXorCopyUndoesItself) {
    TBitmap source;
    source.SetSize(10, 10);
    source.Canvas().Brush().SetColor(clRed);
    source.Canvas().FillRect({0, 0, 5, 10});
    canvas.CopyRect({20, 5, 30, 15}, source.Canvas(), {0, 0, 10, 10});
    EXPECT_EQ(At(20, 5), clRed);
    EXPECT_EQ(At(24, 14), clRed);
    EXPECT_EQ(At(25, 5), clWhite);
    EXPECT_EQ(Ink(), (TRect{20, 5, 25, 15}));

    Clear();
    canvas.SetCopyMode(cmSrcInvert);
    canvas.CopyRect({0, 0, 10, 10}, source.Canvas(), {0, 0, 10, 10});
    EXPECT_EQ(At(2, 2), RGB(0, 255, 255));  // red xor white
    canvas.CopyRect({0, 0, 10, 10}, source.Canvas(), {0, 0, 10, 10});
    EXPECT_EQ(At(2, 2), clWhite);
}

TEST_F(CanvasTest, BitmapKeepsItsContentWhenResized) {
    TBitmap b;
    b.SetSize(4, 4);
    b.Canvas().Brush().SetColor(clBlue);
    b.Canvas().FillRect({0, 0, 4, 4});
    b.SetSize(8, 2);
    EXPECT_EQ(b.Canvas().Pixel(3, 1), clBlue);
    EXPECT_EQ(b.Canvas().Pixel(5, 1), clWhite);
    EXPECT_EQ(b.Canvas().Pixel(3, 3), clNone);  // outside
}

TEST_F(CanvasTest, ComboArrowIsCentredAndMovesWhenPushed) {
    auto darkBox = [&](const TRect& area) {
        TRect r{1000, 1000, -1, -1};
        for (int y = area.Top; y < area.Bottom; ++y)
            for (int x = area.Left; x < area.Right; ++x)
                if (At(x, y) == ColorToRGB(clBtnText)) {
                    r.Left = std::min(r.Left, x);
                    r.Top = std::min(r.Top, y);
                    r.Right = std::max(r.Right, x + 1);
                    r.Bottom = std::max(r.Bottom, y + 1);
                }
        return r;
    };
    DrawFrameControl(canvas, {0, 0, 16, 16}, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
    const TRect up = darkBox({2, 2, 14, 14});
    ASSERT_GT(up.Right, up.Left);
    EXPECT_GT(up.Width(), up.Height());  // a triangle pointing down is wider than high
    EXPECT_NEAR((up.Left + up.Right) / 2.0, 8.0, 1.0);
    DrawFrameControl(canvas, {20, 0, 36, 16}, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_PUSHED | DFCS_FLAT);
    const TRect down = darkBox({22, 2, 34, 14});
    EXPECT_EQ(down.Left - 20, up.Left + 1);
    EXPECT_EQ(down.Top, up.Top + 1);
    EXPECT_EQ(At(20, 0), ColorToRGB(clBtnShadow));  // flat frame
}

TEST_F(CanvasTest, TextMeasuringWorksUnboundAndMatchesDrawing) {
    TCanvas loose;
    TRect r{0, 0, 1000, 0};
    const int h = loose.DrawText("Celkem", r, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(h, loose.TextHeight("Celkem"));
    EXPECT_EQ(r.Width(), loose.TextWidth("Celkem"));
    EXPECT_EQ(r.Height(), h);
    TRect empty{0, 0, 100, 0};
    EXPECT_EQ(loose.DrawText("", empty, DT_CALCRECT), 0);
}

TEST_F(CanvasTest, WordBreakMakesLinesAndCalcRectNarrowsToTheWidest) {
    const int lh = canvas.TextHeight("Wg");
    const int w = canvas.TextWidth("Sjednáno");
    TRect r{0, 0, std::max(w, canvas.TextWidth("kum. [kWh]")) + 2, 0};
    EXPECT_EQ(canvas.DrawText("Sjednáno kum. [kWh]", r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX), 2 * lh);
    TRect wide{0, 0, 1000, 0};
    canvas.DrawText("Sjednáno kum. [kWh]", wide, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(wide.Height(), lh);
    EXPECT_EQ(wide.Width(), canvas.TextWidth("Sjednáno kum. [kWh]"));
    // A word wider than the rectangle keeps its line and widens the result.
    TRect narrow{0, 0, 5, 0};
    canvas.DrawText("Sjednáno", narrow, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(narrow.Width(), w);
    // Explicit line breaks always count, ellipsis never narrows a measurement.
    TRect two{0, 0, 10, 0};
    EXPECT_EQ(canvas.DrawText("a\r\nb", two, DT_CALCRECT | DT_END_ELLIPSIS), 2 * lh);
    TRect single{0, 0, 10, 0};
    EXPECT_EQ(canvas.DrawText("a\r\nb", single, DT_CALCRECT | DT_SINGLELINE), lh);
}

// Texts are laid out once and kept: the same text is measured anew in another
// width where lines are broken or shortened, in another font, and with other flags.
TEST_F(CanvasTest, AKeptLayoutIsNotTakenForAnotherWidthFontOrFlags) {
    const std::string text = "Sjednáno kum. [kWh]";
    const int lh = canvas.TextHeight("Wg");
    TRect wide{0, 0, 1000, 0};
    EXPECT_EQ(canvas.DrawText(text, wide, DT_CALCRECT | DT_WORDBREAK), lh);
    TRect narrow{0, 0, canvas.TextWidth("kum. [kWh]") + 2, 0};
    EXPECT_EQ(canvas.DrawText(text, narrow, DT_CALCRECT | DT_WORDBREAK), 2 * lh);
    TRect unbroken{0, 0, 10, 0};
    EXPECT_EQ(canvas.DrawText(text, unbroken, DT_CALCRECT), lh);
    EXPECT_EQ(unbroken.Width(), wide.Width());

    canvas.Font().SetStyle(TFontStyles{fsBold});
    canvas.Font().SetHeight(-16);
    TRect bold{0, 0, 1000, 0};
    canvas.DrawText(text, bold, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(bold.Width(), canvas.TextWidth(text));
    EXPECT_GT(bold.Width(), wide.Width());
    EXPECT_EQ(bold.Height(), canvas.TextHeight("Wg"));

    canvas.Brush().SetStyle(bsClear);
    int right = 0;
    for (int width : {40, 80}) {
        Clear();
        TRect e{0, 0, width, 30};
        canvas.DrawText("MMMMMMMMMMMMMMMM", e, DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS | DT_NOCLIP);
        EXPECT_LE(Ink().Right, width);
        EXPECT_GT(Ink().Right, right + width / 4) << width;
        right = Ink().Right;
    }
}

TEST_F(CanvasTest, TextAlignmentPlacesTheInk) {
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetColor(clBlack);
    const TRect area{0, 0, 60, 40};
    struct Case {
        uint32_t flags;
        const char* name;
    };
    const int w = canvas.TextWidth("MM");
    for (const Case& c : {Case{DT_LEFT, "left"}, Case{DT_RIGHT, "right"}, Case{DT_CENTER, "centre"}}) {
        Clear();
        TRect r = area;
        canvas.DrawText("MM", r, c.flags | DT_NOPREFIX);
        const TRect ink = Ink();
        ASSERT_GT(ink.Right, ink.Left) << c.name;
        if (c.flags == DT_LEFT) {
            EXPECT_LE(ink.Left, 2) << c.name;
        }
        if (c.flags == DT_RIGHT) {
            EXPECT_GE(ink.Right, 58) << c.name;
        }
        if (c.flags == DT_CENTER) {
            EXPECT_NEAR(ink.Left, (60 - w) / 2, 2) << c.name;
        }
        EXPECT_LT(ink.Top, 10) << c.name;
    }
    Clear();
    TRect r = area;
    canvas.DrawText("MM", r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    const TRect ink = Ink();
    EXPECT_NEAR((ink.Top + ink.Bottom) / 2.0, 20.0, 3.0);
}

// A capital's caron rises above the stand-in face's ascent: a rectangle whose top
// is the line's top keeps it, as drawing without a clip does; what lies below the
// rectangle is still cut.
TEST_F(CanvasTest, TheAccentsOfCapitalsAboveTheAscentAreNotCutAtTheTop) {
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetName("Arial");
    canvas.Font().SetHeight(-11);
    canvas.Font().SetColor(clBlack);
    const int lh = canvas.TextHeight("Č");
    TRect unclipped{0, 10, 60, 40};
    canvas.DrawText("Časy:", unclipped, DT_NOPREFIX | DT_NOCLIP);
    const TRect whole = Ink();
    ASSERT_LT(whole.Top, 10);  // this face puts the caron above the line
    Clear();
    TRect tight{0, 10, 60, 10 + lh};
    canvas.DrawText("Časy:", tight, DT_NOPREFIX);
    EXPECT_EQ(Ink(), whole);
    Clear();
    TRect low{0, 10, 60, 10 + lh / 2};
    canvas.DrawText("Časy:", low, DT_NOPREFIX);
    EXPECT_LE(Ink().Bottom, 10 + lh / 2);
}

TEST_F(CanvasTest, TextIsClippedToItsRectangleAndEllipsisShortensIt) {
    canvas.Brush().SetStyle(bsClear);
    TRect r{0, 0, 20, 20};
    canvas.DrawText("MMMMMMMMMM", r, DT_LEFT | DT_NOPREFIX);
    EXPECT_LE(Ink().Right, 20);
    Clear();
    TRect e{0, 0, 30, 20};
    canvas.DrawText("MMMMMMMMMM", e, DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS | DT_NOCLIP);
    EXPECT_LE(Ink().Right, 30);  // shortened, not merely clipped
    EXPECT_GT(Ink().Right, 10);
}

TEST_F(CanvasTest, OpaqueTextFillsBehindItself) {
    canvas.Brush().SetColor(clYellow);
    canvas.TextOut(5, 5, "x");
    EXPECT_EQ(At(5, 5), clYellow);
    EXPECT_EQ(canvas.PenPos().X, 5 + canvas.TextWidth("x"));
    canvas.Brush().SetColor(clRed);
    canvas.TextRect({30, 0, 40, 10}, 30, 0, "");
    EXPECT_EQ(At(39, 9), clRed);
    EXPECT_EQ(At(40, 9), clWhite);
}

TEST_F(CanvasTest, PrefixMarksAreRemovedUnlessNoPrefix) {
    TRect a{0, 0, 1000, 0};
    canvas.DrawText("&Tisk", a, DT_CALCRECT);
    EXPECT_EQ(a.Width(), canvas.TextWidth("Tisk"));
    TRect b{0, 0, 1000, 0};
    canvas.DrawText("&Tisk", b, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(b.Width(), canvas.TextWidth("&Tisk"));
}

TEST_F(CanvasTest, AWideLineCoversTheSquaresAroundTheThinLinesPixels) {
    const std::pair<TPoint, TPoint> lines[] = {
        {{5, 3}, {9, 35}}, {{40, 30}, {12, 25}}, {{2, 2}, {30, 30}}, {{50, 36}, {48, 4}}, {{10, 20}, {10, 20}}};
    for (const auto& [from, to] : lines) {
        Clear();
        canvas.Pen().SetWidth(1);
        canvas.MoveTo(from.X, from.Y);
        canvas.LineTo(to.X, to.Y);
        QImage expected(image.size(), QImage::Format_RGB32);
        expected.fill(Qt::white);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (At(x, y) == clBlack)
                    for (int dy = -1; dy <= 0; ++dy)
                        for (int dx = -1; dx <= 0; ++dx)
                            if (x + dx >= 0 && y + dy >= 0)
                                expected.setPixel(x + dx, y + dy, qRgb(0, 0, 0));
        Clear();
        canvas.Pen().SetWidth(2);
        canvas.MoveTo(from.X, from.Y);
        canvas.LineTo(to.X, to.Y);
        EXPECT_EQ(image, expected) << from.X << "," << from.Y << " -> " << to.X << "," << to.Y;
    }
}

TEST_F(CanvasTest, AHatchedPolygonLeavesGapsBetweenItsLines) {
    canvas.Brush().SetColor(clRed);
    canvas.Brush().SetStyle(bsDiagCross);
    canvas.Pen().SetColor(clBlue);
    canvas.Polygon({{5, 5}, {45, 5}, {45, 35}, {5, 35}});
    const TRect inside{10, 10, 40, 30};
    EXPECT_FALSE(IsRectEmpty(test::InkBox(image, inside, clRed)));
    EXPECT_FALSE(IsRectEmpty(test::InkBox(image, inside, clWhite)));
    EXPECT_EQ(At(5, 20), clBlue);
}

TEST_F(CanvasTest, RotatedTextRunsUpwardsFromItsCorner) {
    canvas.Font().SetName("Arial");
    canvas.Font().SetHeight(-12);
    canvas.Brush().SetStyle(bsClear);
    canvas.TextOutRotated(20, 38, "Wgh", 900);
    const TRect ink = Ink();
    EXPECT_GE(ink.Left, 20);
    EXPECT_LE(ink.Bottom, 38);
    EXPECT_GT(ink.Height(), ink.Width());
    EXPECT_GE(ink.Height(), canvas.TextWidth("Wgh") - 2);
    Clear();
    canvas.TextOutRotated(20, 38, "", 900);
    EXPECT_EQ(Ink().Right, -1);
}

TEST_F(CanvasTest, OnARecordedPageLinesAreVectorsOfThePensWidthTimesThePenScale) {
    // A fine printer's page draws each pen pixel as `scale` of its own; a styled
    // pen of one pixel stays styled.
    for (const int scale : {1, 3}) {
        QPicture page;
        TCanvas recorder;
        {
            QPainter painter(&page);
            recorder.BeginPaint(&painter);
            recorder.SetPenScale(scale);
            recorder.Pen().SetWidth(4);
            recorder.MoveTo(10, 10);
            recorder.LineTo(50, 10);
            recorder.Pen().SetWidth(1);
            recorder.Pen().SetStyle(psDash);
            recorder.MoveTo(0, 30);
            recorder.LineTo(60, 30);
            recorder.EndPaint();
        }
        EXPECT_LT(page.size(), 2000u);  // two lines, not a shape per pixel
        QImage played(60, 40, QImage::Format_RGB32);
        played.fill(Qt::white);
        QPainter player(&played);
        player.scale(double(page.logicalDpiX()) / played.logicalDpiX(),
                     double(page.logicalDpiY()) / played.logicalDpiY());
        player.drawPicture(0, 0, page);
        player.end();
        const TRect thick = test::InkBox(played, {0, 0, 60, 20}, clBlack);
        EXPECT_EQ(thick.Height(), 4 * scale) << scale;
        EXPECT_GE(thick.Width(), 40) << scale;
        const TRect dashed = test::InkBox(played, {0, 25, 60, 36}, clBlack);
        EXPECT_EQ(dashed.Height(), scale) << scale;
        EXPECT_FALSE(IsRectEmpty(test::InkBox(played, {0, 30, 60, 31}, clWhite))) << scale;  // the dashes' gaps
    }
}

} // namespace
} // namespace zeko
