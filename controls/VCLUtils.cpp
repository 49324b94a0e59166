#include "controls/VCLUtils.h"

#include "controls/MaxMin.h"

#include <QApplication>
#include <QPainter>
#include <QString>
#include <QWidget>

#include <map>
#include <tuple>

namespace zeko {

namespace {

QRgb ToRgb(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return qRgb(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

// A picture of the source's size in `color` where `set` holds, transparent elsewhere.
template <typename Set>
QImage Silhouette(const QImage& source, TColor color, Set set) {
    QImage out(source.size(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    const QRgb ink = ToRgb(color);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            if (set(source.pixel(x, y)))
                out.setPixel(x, y, ink);
    return out;
}

// Draws the embossed silhouette: the highlight copy first, one pixel down and right.
void Emboss(TCanvas& canvas, int x, int y, const QImage& source, bool drawHighlight, TColor highlight, TColor shadow,
            const std::function<bool(QRgb)>& set) {
    if (drawHighlight)
        canvas.Draw(x + 1, y + 1, Silhouette(source, highlight, set));
    canvas.Draw(x, y, Silhouette(source, shadow, set));
}

} // namespace

std::unique_ptr<TBitmap> MakeDisabledBitmapEx(const TBitmap& source, TColor outline, TColor back, bool drawHighlight,
                                              TColor shadow, TColor highlight) {
    auto result = std::make_unique<TBitmap>();
    result->SetSize(source.Width(), source.Height());
    if (source.Empty())
        return result;
    TCanvas& canvas = result->Canvas();
    canvas.Brush().SetColor(back);
    canvas.Brush().SetStyle(bsSolid);
    canvas.FillRect({0, 0, source.Width(), source.Height()});
    const QRgb marked = source.Monochrome() ? qRgb(255, 255, 255) : ToRgb(outline);
    Emboss(canvas, 0, 0, source.Image(), drawHighlight, highlight, shadow,
           [marked](QRgb pixel) { return (pixel & RGB_MASK) == (marked & RGB_MASK); });
    return result;
}

std::unique_ptr<TBitmap> MakeDisabledBitmap(const TBitmap& source, TColor outline) {
    return MakeDisabledBitmapEx(source, outline, clBtnFace, true, clBtnShadow, clBtnHighlight);
}

void DrawDisabledImage(const TImageList& images, TCanvas& canvas, int x, int y, int index, TColor highlight,
                       TColor gray, bool drawHighlight) {
    if (index < 0 || index >= images.Count())
        return;
    Emboss(canvas, x, y, images.Image(index), drawHighlight, highlight, gray,
           [](QRgb pixel) { return qAlpha(pixel) != 0; });
}

// ---------------------------------------------------------------- drag frame

namespace {

// A window over everything that shows the nested frames and lets the mouse through.
class ScreenFrame : public QWidget {
public:
    ScreenFrame(const TRect& r, int width)
        : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::WindowTransparentForInput),
          width_(width) {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(r.Left, r.Top, r.Width(), r.Height());
        show();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QImage image(size(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        TCanvas canvas;
        canvas.BeginPaint(&image);
        TRect r = {0, 0, width(), height()};
        for (int i = 0; i < width_; ++i) {
            canvas.DrawFocusRect(r);
            InflateRect(r, -1, -1);
        }
        canvas.EndPaint();
        QPainter(this).drawImage(0, 0, image);
    }

private:
    int width_;
};

using FrameKey = std::tuple<int, int, int, int, int>;

std::map<FrameKey, std::unique_ptr<ScreenFrame>>& Frames() {
    static std::map<FrameKey, std::unique_ptr<ScreenFrame>> frames;
    return frames;
}

} // namespace

void DrawXorFrame(const TRect& r, int width) {
    if (width <= 0)
        return;
    const FrameKey key{r.Left, r.Top, r.Right, r.Bottom, width};
    auto& frames = Frames();
    if (const auto it = frames.find(key); it != frames.end())
        frames.erase(it);
    else
        frames[key] = std::make_unique<ScreenFrame>(r, width);
}

int XorFramesShown() { return static_cast<int>(Frames().size()); }

// ---------------------------------------------------------------- rectangles, texts

int RectWidth(const TRect& r) { return r.Right - r.Left; }

int RectHeight(const TRect& r) { return r.Bottom - r.Top; }

bool PointInRect(const TPoint& p, const TRect& r) {
    return p.X >= r.Left && p.X <= r.Right && p.Y >= r.Top && p.Y <= r.Bottom;
}

std::string EllipsisText(const std::string& text, const TCanvas& canvas, int maxWidth) {
    const QString whole = QString::fromStdString(text);
    const int length = static_cast<int>(whole.size());
    std::string result = text;
    for (int i = 1; i <= length; ) {
        if (canvas.TextWidth(result) <= maxWidth)
            break;
        ++i;
        result = whole.left(Max(0, length - i)).toStdString() + "...";
    }
    return result;
}

std::string ResString(const std::string& text) { return text; }

bool IsOwnWindowActive() { return QApplication::activeWindow() != nullptr; }

QImage TransparentImage(const QImage& picture, TColor transparent) {
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = ToRgb(transparent) & RGB_MASK;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            if ((out.pixel(x, y) & RGB_MASK) == key)
                out.setPixel(x, y, qRgba(0, 0, 0, 0));
    return out;
}

} // namespace zeko
