#include "graph/ArchivGlyphs.h"

#include "platform/qt/Canvas.h"

namespace zeko {

namespace {

void Lines(TCanvas& c, const std::vector<TPoint>& points, TColor colour, int width = 1) {
    c.Pen().SetColor(colour);
    c.Pen().SetWidth(width);
    c.Polyline(points);
    c.SetPixel(points.back().X, points.back().Y, colour);
}

void Box(TCanvas& c, const TRect& r, TColor fill) {
    c.Pen().SetColor(clBlack);
    c.Pen().SetWidth(1);
    c.Brush().SetColor(fill);
    c.Rectangle(r);
}

// A printer: paper on top, the body, the paper coming out.
void Printer(TCanvas& c) {
    Box(c, {4, 1, 12, 7}, clWhite);
    Box(c, {1, 6, 15, 12}, clSilver);
    Box(c, {4, 10, 12, 15}, clWhite);
    c.SetPixel(12, 8, clLime);
}

void Arrow(TCanvas& c, bool back) {
    c.Brush().SetColor(clNavy);
    for (int i = 0; i < 6; ++i) {
        const int x = back ? 4 + i : 11 - i;
        c.FillRect({x, 7 - i, x + 1, 9 + i});
    }
    c.FillRect(back ? TRect{10, 6, 13, 10} : TRect{3, 6, 6, 10});
}

} // namespace

QImage ArchivGlyphImage(TArchivGlyph glyph) {
    QImage image(ArchivGlyphSize, ArchivGlyphSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    TCanvas c;
    c.BeginPaint(&image);
    switch (glyph) {
    case TArchivGlyph::Lines:
        Lines(c, {{1, 1}, {1, 14}, {14, 14}}, clBlack);
        Lines(c, {{2, 11}, {5, 6}, {8, 9}, {13, 3}}, clRed, 2);
        break;
    case TArchivGlyph::Steps:
        Lines(c, {{1, 1}, {1, 14}, {14, 14}}, clBlack);
        Lines(c, {{2, 11}, {5, 11}, {5, 6}, {9, 6}, {9, 9}, {13, 9}, {13, 3}}, clRed, 2);
        break;
    case TArchivGlyph::Bars:
        Lines(c, {{1, 1}, {1, 14}, {14, 14}}, clBlack);
        Box(c, {3, 8, 6, 14}, clRed);
        Box(c, {7, 4, 10, 14}, clRed);
        Box(c, {11, 10, 14, 14}, clRed);
        break;
    case TArchivGlyph::WholeDay:
        Lines(c, {{1, 3}, {1, 12}}, clBlack);
        Lines(c, {{14, 3}, {14, 12}}, clBlack);
        Lines(c, {{3, 7}, {12, 7}}, clNavy);
        Lines(c, {{5, 5}, {3, 7}, {5, 9}}, clNavy);
        Lines(c, {{10, 5}, {12, 7}, {10, 9}}, clNavy);
        break;
    case TArchivGlyph::Calendar:
        Box(c, {1, 2, 15, 15}, clWhite);
        c.Brush().SetColor(clRed);
        c.FillRect({2, 3, 14, 6});
        for (int y = 7; y < 14; y += 3)
            for (int x = 3; x < 13; x += 3)
                c.SetPixel(x, y, clBlack);
        break;
    case TArchivGlyph::Back: Arrow(c, true); break;
    case TArchivGlyph::Forward: Arrow(c, false); break;
    case TArchivGlyph::PrintSetup:
        Printer(c);
        Lines(c, {{9, 3}, {14, 8}}, clNavy, 2);
        break;
    case TArchivGlyph::Print: Printer(c); break;
    case TArchivGlyph::Save:
        Box(c, {1, 1, 15, 15}, clNavy);
        Box(c, {4, 2, 12, 7}, clWhite);
        Box(c, {5, 10, 11, 15}, clSilver);
        break;
    case TArchivGlyph::Send:
        Box(c, {1, 3, 15, 13}, clWhite);
        Lines(c, {{1, 3}, {8, 9}, {14, 3}}, clBlack);
        break;
    }
    c.EndPaint();
    return image;
}

} // namespace zeko
