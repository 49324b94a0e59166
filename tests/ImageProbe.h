#pragma once
// Reading rendered pictures in tests: a pixel as a TColor, and the box of the
// pixels of one colour (or of any colour but one) inside an area.
#include <QImage>

#include <algorithm>

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
