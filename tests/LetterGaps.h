#pragma once
// How far apart the canvas draws the letters of a text, against how far apart the
// letters' own outlines set them. A face whose letters are placed in whole pixels
// at a size where its advances fall between pixels shows a column of background
// inside a word ("Ne použito") where a letter's rounded place moved it off its
// neighbour.
#include <QFont>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QImage>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Graphics.h"
#include "platform/qt/Canvas.h"
#include "platform/qt/Grids.h"

namespace zeko::test {

// For a letter after the first (spaces are not letters): the columns of
// background between the ink of the letters before it and its own ink, as drawn
// (negative where they overlap), and the same distance in pixels of the text as
// its letters' outlines give it.
struct TLetterGap {
    int Index = 0;  // of the letter in the text
    int Drawn = 0;
    double Own = 0;
};

namespace letter_gaps {

// The columns of the picture that hold a pixel not white, and those in which
// two pictures differ.
inline std::vector<bool> InkColumns(const QImage& image) {
    std::vector<bool> ink(static_cast<size_t>(image.width()));
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) != 0xFFFFFF)
                ink[x] = true;
    }
    return ink;
}

inline std::vector<bool> DifferingColumns(const QImage& a, const QImage& b) {
    std::vector<bool> differ(static_cast<size_t>(a.width()));
    for (int y = 0; y < a.height(); ++y) {
        const auto* la = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* lb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if (la[x] != lb[x])
                differ[x] = true;
    }
    return differ;
}

// The gap in columns before each letter, from pictures of each start of the text:
// between the last column of ink of the start before the letter and the first
// column the letter changes.
inline std::map<int, int> DrawnGaps(const TFont& font, const QString& text) {
    TCanvas measure;
    measure.SetFont(font);
    const TSize size = measure.TextExtent(text.toStdString());
    const int margin = size.cy;
    auto draw = [&](int letters) {
        QImage image(size.cx + 2 * margin, size.cy + 2 * margin, QImage::Format_RGB32);
        image.fill(Qt::white);
        TCanvas canvas;
        canvas.BeginPaint(&image);
        canvas.SetFont(font);
        canvas.Font().SetColor(clBlack);
        canvas.Brush().SetStyle(bsClear);
        canvas.TextOut(margin, margin, text.left(letters).toStdString());
        canvas.EndPaint();
        return image;
    };
    std::map<int, int> gaps;
    QImage before = draw(1);
    for (int k = 1; k < text.size(); ++k) {
        const QImage with = draw(k + 1);
        if (text[k] != ' ') {
            const std::vector<bool> ink = InkColumns(before);
            const std::vector<bool> letter = DifferingColumns(before, with);
            const auto right = std::find(ink.rbegin(), ink.rend(), true);
            const auto left = std::find(letter.begin(), letter.end(), true);
            if (right != ink.rend() && left != letter.end())
                gaps[k] = static_cast<int>(left - letter.begin()) - static_cast<int>(ink.rend() - right);
        }
        before = with;
    }
    return gaps;
}

// The same gaps as the face's outlines set them: the letters laid out without
// hinting, each letter's ink from its glyphs' outlines.
inline std::map<int, double> OwnGaps(const TFont& font, const QString& text) {
    QFont outlines = ToQFont(font);
    outlines.setHintingPreference(QFont::PreferNoHinting);
    QTextLayout layout(text, outlines);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    std::map<int, double> gaps;
    double right = 0;
    bool any = false;
    for (int k = 0; k < text.size(); ++k) {
        if (text[k] == ' ')
            continue;
        double left = 1e9, end = -1e9;
        for (const QGlyphRun& run : layout.glyphRuns(k, 1)) {
            const QRawFont raw = run.rawFont();
            for (qsizetype g = 0; g < run.glyphIndexes().size(); ++g) {
                const QRectF ink = raw.pathForGlyph(run.glyphIndexes()[g]).boundingRect();
                if (ink.isEmpty())
                    continue;
                left = std::min(left, run.positions()[g].x() + ink.left());
                end = std::max(end, run.positions()[g].x() + ink.right());
            }
        }
        if (end < left)
            continue;
        if (any)
            gaps[k] = left - right;
        right = any ? std::max(right, end) : end;
        any = true;
    }
    return gaps;
}

} // namespace letter_gaps

inline std::vector<TLetterGap> LetterGaps(const TFont& font, const std::string& text) {
    const QString s = QString::fromStdString(text);
    const std::map<int, int> drawn = letter_gaps::DrawnGaps(font, s);
    const std::map<int, double> own = letter_gaps::OwnGaps(font, s);
    std::vector<TLetterGap> gaps;
    for (const auto& [index, columns] : drawn)
        if (own.count(index) > 0)
            gaps.push_back({index, columns, own.at(index)});
    return gaps;
}

// The letters inside a word of the text drawn further apart than their own
// spacing, rounded to whole pixels, allows; empty when every word is whole. (The
// room a space leaves is not judged: a face hinted to whole pixels rounds it.)
inline std::string WiderGaps(const TFont& font, const std::string& text) {
    const QString s = QString::fromStdString(text);
    std::ostringstream out;
    for (const TLetterGap& g : LetterGaps(font, text)) {
        if (s[g.Index - 1] == ' ' || g.Drawn <= std::lround(g.Own))
            continue;
        out << " '" << s.mid(g.Index - 1, 2).toStdString() << "' " << g.Drawn << " columns apart, own spacing "
            << g.Own << ";";
    }
    return out.str();
}

// The same for every cell of a string grid, drawn in the grid's font.
inline std::string GridWiderGaps(TStringGrid& grid) {
    std::ostringstream out;
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col) {
            const std::string wider = WiderGaps(grid.Font(), grid.Cells(col, row));
            if (!wider.empty())
                out << "\ncell " << col << ", " << row << ":" << wider;
        }
    return out.str();
}

} // namespace zeko::test
