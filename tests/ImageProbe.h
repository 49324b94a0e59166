#pragma once
// Reading rendered pictures in tests: a pixel as a TColor, and the box of the
// pixels of one colour (or of any colour but one, or of a colour drawn smoothed
// over another) inside an area.
#include <QImage>

#include <algorithm>
#include <map>

#include "platform/Graphics.h"
#include "platform/qt/Canvas.h"

namespace zeko::test {

inline TColor PixelAt(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

// The smallest rectangle holding every pixel of `area` for which `match` holds;
// an empty TRect{} when there is none.
template <typename Match>
TRect BoxWhere(const QImage& image, const TRect& area, Match match) {
    TRect box{1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
    bool any = false;
    for (int y = std::max(0, area.Top); y < std::min(image.height(), area.Bottom); ++y)
        for (int x = std::max(0, area.Left); x < std::min(image.width(), area.Right); ++x)
            if (match(PixelAt(image, x, y))) {
                any = true;
                box.Left = std::min(box.Left, x);
                box.Top = std::min(box.Top, y);
                box.Right = std::max(box.Right, x + 1);
                box.Bottom = std::max(box.Bottom, y + 1);
            }
    return any ? box : TRect{};
}

inline TRect InkBox(const QImage& image, const TRect& area, TColor color) {
    const TColor rgb = ColorToRGB(color);
    return BoxWhere(image, area, [rgb](TColor c) { return c == rgb; });
}

inline TRect InkBoxExcept(const QImage& image, const TRect& area, TColor background) {
    const TColor rgb = ColorToRGB(background);
    return BoxWhere(image, area, [rgb](TColor c) { return c != rgb; });
}

// Whether the pixel shows `color` drawn over `background` covering at least half
// of it: smoothed text blends its edges with what lies behind, and a thin stem
// may cover no pixel whole. A pixel of another colour is not on the way between
// the two and does not count.
inline bool Covers(TColor pixel, TColor color, TColor background) {
    const TColor p = ColorToRGB(pixel), c = ColorToRGB(color), b = ColorToRGB(background);
    const double toPixel[3] = {double(GetRValue(p)) - GetRValue(b), double(GetGValue(p)) - GetGValue(b),
                               double(GetBValue(p)) - GetBValue(b)};
    const double toColor[3] = {double(GetRValue(c)) - GetRValue(b), double(GetGValue(c)) - GetGValue(b),
                               double(GetBValue(c)) - GetBValue(b)};
    double along = 0, length = 0;
    for (int i = 0; i < 3; ++i) {
        along += toPixel[i] * toColor[i];
        length += toColor[i] * toColor[i];
    }
    if (length == 0)
        return p == c;
    const double share = along / length;
    double off = 0;
    for (int i = 0; i < 3; ++i)
        off += (toPixel[i] - share * toColor[i]) * (toPixel[i] - share * toColor[i]);
    constexpr double MostOff = 24;  // the rounding of a blend, in steps of a channel
    return share >= 0.5 && off <= MostOff * MostOff;
}

inline TRect InkBoxOver(const QImage& image, const TRect& area, TColor color, TColor background) {
    return BoxWhere(image, area, [&](TColor c) { return Covers(c, color, background); });
}

// The colour most pixels of the area have: the background of a text drawn there.
inline TColor MostCommonColor(const QImage& image, const TRect& area) {
    std::map<TColor, int> count;
    for (int y = std::max(0, area.Top); y < std::min(image.height(), area.Bottom); ++y)
        for (int x = std::max(0, area.Left); x < std::min(image.width(), area.Right); ++x)
            ++count[PixelAt(image, x, y)];
    if (count.empty())
        return clNone;
    return std::max_element(count.begin(), count.end(), [](const auto& a, const auto& b) {
               return a.second < b.second;
           })->first;
}

// A white picture with a canvas bound to it, for drawing tests.
struct CanvasOnImage {
    CanvasOnImage(int width, int height) : image(width, height, QImage::Format_RGB32) {
        ResetSysColors();
        image.fill(Qt::white);
        canvas.BeginPaint(&image);
    }
    ~CanvasOnImage() { ResetSysColors(); }
    TColor At(int x, int y) const { return PixelAt(image, x, y); }
    // The box of everything drawn on the white.
    TRect Ink() const { return InkBoxExcept(image, {0, 0, image.width(), image.height()}, clWhite); }
    void Clear() { image.fill(Qt::white); }

    QImage image;
    TCanvas canvas;
};

} // namespace zeko::test
