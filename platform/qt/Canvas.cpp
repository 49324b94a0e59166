#include "platform/qt/Canvas.h"

#include "platform/qt/FontTable.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace zeko {

QColor ToQColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

QFont ToQFont(const TFont& font) {
    QFont f = StandInQFont(font.Name(), std::abs(font.Height()), font.Style().Contains(fsBold));
    f.setItalic(font.Style().Contains(fsItalic));
    f.setUnderline(font.Style().Contains(fsUnderline));
    f.setStrikeOut(font.Style().Contains(fsStrikeOut));
    if (font.Pitch() == fpFixed) {
        f.setFixedPitch(true);
        f.setStyleHint(QFont::TypeWriter, f.styleStrategy());
    }
    return f;
}

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

TRect FromQRect(const QRect& r) { return Bounds(r.left(), r.top(), r.width(), r.height()); }

namespace {

QPainter::CompositionMode PenModeComposition(TPenMode mode) {
    switch (mode) {
    case pmNot: return QPainter::RasterOp_NotDestination;
    case pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMask: return QPainter::RasterOp_SourceAndDestination;
    case pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    default: return QPainter::CompositionMode_Source;
    }
}

QPainter::CompositionMode CopyModeComposition(TCopyMode mode) {
    switch (mode) {
    case cmNotSrcCopy: return QPainter::RasterOp_NotSource;
    case cmSrcAnd: return QPainter::RasterOp_SourceAndDestination;
    case cmSrcPaint: return QPainter::RasterOp_SourceOrDestination;
    case cmSrcInvert: return QPainter::RasterOp_SourceXorDestination;
    case cmSrcErase: return QPainter::RasterOp_SourceAndNotDestination;
    case cmNotSrcErase: return QPainter::RasterOp_NotSourceAndNotDestination;
    case cmMergePaint: return QPainter::RasterOp_NotSourceOrDestination;
    default: return QPainter::CompositionMode_Source;
    }
}

TColor FromQRgb(QRgb rgb) { return RGB(qRed(rgb), qGreen(rgb), qBlue(rgb)); }

// The brush with its hatch; bsClear gives no brush.
QBrush ToQBrush(const TBrush& brush) {
    static const std::array<Qt::BrushStyle, 8> hatch = {
        Qt::SolidPattern, Qt::NoBrush,        Qt::HorPattern,   Qt::VerPattern,
        Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    return QBrush(ToQColor(brush.Color()), hatch[brush.Style()]);
}

// On and off lengths of the styled one-pixel pens.
const std::vector<int>& DashPattern(TPenStyle style) {
    static const std::vector<int> none;
    static const std::vector<int> dash = {18, 6};
    static const std::vector<int> dot = {3, 3};
    static const std::vector<int> dashDot = {9, 6, 3, 6};
    static const std::vector<int> dashDotDot = {9, 3, 3, 3, 3, 3};
    switch (style) {
    case psDash: return dash;
    case psDot: return dot;
    case psDashDot: return dashDot;
    case psDashDotDot: return dashDotDot;
    default: return none;
    }
}

bool DashOn(const std::vector<int>& pattern, int phase) {
    if (pattern.empty())
        return true;
    int total = 0;
    for (int n : pattern)
        total += n;
    int p = phase % total;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (p < pattern[i])
            return i % 2 == 0;
        p -= pattern[i];
    }
    return true;
}

} // namespace

// ---------------------------------------------------------------- binding

TCanvas::TCanvas() = default;

TCanvas::~TCanvas() { EndPaint(); }

void TCanvas::BeginPaint(QImage* image) {
    EndPaint();
    if (!image || image->isNull())
        return;
    image_ = image;
    ownPainter_ = std::make_unique<QPainter>(image);
    painter_ = ownPainter_.get();
}

void TCanvas::BeginPaint(QPainter* painter) {
    EndPaint();
    painter_ = painter;
    if (painter && painter->device() && painter->device()->devType() == QInternal::Image)
        image_ = static_cast<QImage*>(painter->device());
}

void TCanvas::EndPaint() {
    if (ownPainter_) {
        ownPainter_->end();
        ownPainter_.reset();
    }
    painter_ = nullptr;
    image_ = nullptr;
    clip_.reset();
}

bool TCanvas::Painting() const { return painter_ != nullptr && painter_->isActive(); }

QPainter* TCanvas::Prepared() {
    if (!Painting())
        return nullptr;
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setOpacity(1.0);
    if (clip_)
        painter_->setClipRegion(*clip_);
    else
        painter_->setClipping(false);
    return painter_;
}

QPainter* TCanvas::Painter() { return Prepared(); }

TRect TCanvas::SurfaceRect() const {
    if (image_)
        return {0, 0, image_->width(), image_->height()};
    if (painter_ && painter_->device())
        return {0, 0, painter_->device()->width(), painter_->device()->height()};
    return {};
}

TWidgetPaint::TWidgetPaint(TCanvas& canvas, QWidget* widget)
    : canvas_(canvas), painter_(std::make_unique<QPainter>(widget)) {
    canvas_.BeginPaint(painter_.get());
}

TWidgetPaint::~TWidgetPaint() { canvas_.EndPaint(); }

// ---------------------------------------------------------------- clipping

void TCanvas::SetClipRect(const TRect& r) { clip_ = QRegion(ToQRect(r)); }

void TCanvas::IntersectClipRect(const TRect& r) {
    const QRegion base = clip_ ? *clip_ : QRegion(ToQRect(SurfaceRect()));
    clip_ = base.intersected(ToQRect(r));
}

void TCanvas::ExcludeClipRect(const TRect& r) {
    const QRegion base = clip_ ? *clip_ : QRegion(ToQRect(SurfaceRect()));
    clip_ = base.subtracted(ToQRect(r));
}

void TCanvas::ResetClip() { clip_.reset(); }

TRect TCanvas::ClipRect() const {
    if (!clip_)
        return SurfaceRect();
    return FromQRect(clip_->boundingRect());
}

// ---------------------------------------------------------------- pixels and lines

QPainter* TCanvas::PreparedFill(TColor color, TPenMode mode, QColor& fill) {
    QPainter* p = Prepared();
    if (!p)
        return nullptr;
    fill = ToQColor(color);
    if (mode == pmBlack)
        fill = Qt::black;
    else if (mode == pmWhite)
        fill = Qt::white;
    else if (mode == pmNotCopy)
        fill = QColor(255 - fill.red(), 255 - fill.green(), 255 - fill.blue());
    p->setCompositionMode(PenModeComposition(mode));
    return p;
}

void TCanvas::FillPixels(const TRect& r, TColor color, TPenMode mode) {
    if (IsRectEmpty(r) || mode == pmNop)
        return;
    QColor fill;
    if (QPainter* p = PreparedFill(color, mode, fill))
        p->fillRect(ToQRect(r), fill);
}

bool TCanvas::DrawsVectors() const {
    if (image_ || !painter_ || !painter_->device())
        return false;
    const int type = painter_->device()->devType();
    return type == QInternal::Printer || type == QInternal::Picture;
}

QBrush TCanvas::ScaledBrush() const {
    QBrush brush = ToQBrush(brush_);
    if (penScale_ > 1 && brush_.Style() != bsSolid && brush_.Style() != bsClear)
        brush.setTransform(QTransform::fromScale(penScale_, penScale_));
    return brush;
}

void TCanvas::VectorLine(int x1, int y1, int x2, int y2) {
    QPainter* p = Prepared();
    if (!p)
        return;
    const int w = pen_.Width();
    QPen pen(ToQColor(pen_.Color()), w * penScale_, Qt::SolidLine, w > 1 ? Qt::RoundCap : Qt::FlatCap,
             Qt::RoundJoin);
    const auto& pattern = w == 1 ? DashPattern(pen_.Style()) : DashPattern(psSolid);
    if (!pattern.empty())
        pen.setDashPattern(QList<qreal>(pattern.begin(), pattern.end()));
    p->setPen(pen);
    p->drawLine(x1, y1, x2, y2);
}

void TCanvas::LinePixels(int x1, int y1, int x2, int y2, bool lastPoint, int& dashPhase) {
    if (pen_.Style() == psClear)
        return;
    if (DrawsVectors() && pen_.Mode() == pmCopy) {
        VectorLine(x1, y1, x2, y2);
        return;
    }
    const auto& pattern = pen_.Width() == 1 ? DashPattern(pen_.Style()) : DashPattern(psSolid);
    const int w = pen_.Width() * penScale_;
    const TColor color = pen_.Color();
    const TPenMode mode = pen_.Mode();
    if (mode == pmNop)
        return;
    // The painter is made ready once for the whole line, not for every pixel.
    QColor fill;
    QPainter* p = PreparedFill(color, mode, fill);
    if (!p)
        return;
    // Solid lines fill each straight run of pixels (a column of a steep line, a
    // row of a flat one) in one piece; dashed ones go pixel by pixel.
    TRect run;
    bool inRun = false;
    auto flush = [&] {
        if (inRun)
            p->fillRect(QRect(std::min(run.Left, run.Right) - w / 2, std::min(run.Top, run.Bottom) - w / 2,
                              std::abs(run.Right - run.Left) + w, std::abs(run.Bottom - run.Top) + w),
                        fill);
        inRun = false;
    };
    auto plot = [&](int x, int y) {
        if (!pattern.empty()) {
            if (DashOn(pattern, dashPhase))
                p->fillRect(QRect(x - w / 2, y - w / 2, w, w), fill);
            ++dashPhase;
            return;
        }
        if (inRun && ((x == run.Left && x == run.Right) || (y == run.Top && y == run.Bottom))) {
            run.Right = x;
            run.Bottom = y;
            return;
        }
        flush();
        run = {x, y, x, y};
        inRun = true;
    };
    // Straight runs are filled in one piece (the common case: borders and grid lines).
    if ((y1 == y2 || x1 == x2) && pattern.empty()) {
        int len = std::max(std::abs(x2 - x1), std::abs(y2 - y1)) + (lastPoint ? 1 : 0);
        if (len <= 0)
            return;
        if (y1 == y2) {
            const int left = x2 >= x1 ? x1 : x1 - len + 1;
            p->fillRect(ToQRect(Bounds(left - w / 2, y1 - w / 2, len + w - 1, w)), fill);
        } else {
            const int top = y2 >= y1 ? y1 : y1 - len + 1;
            p->fillRect(ToQRect(Bounds(x1 - w / 2, top - w / 2, w, len + w - 1)), fill);
        }
        dashPhase += len;
        return;
    }
    int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
    int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    int x = x1, y = y1;
    while (true) {
        if (x == x2 && y == y2) {
            if (lastPoint)
                plot(x, y);
            flush();
            break;
        }
        plot(x, y);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void TCanvas::LineTo(int x, int y) {
    int phase = 0;
    LinePixels(penPos_.X, penPos_.Y, x, y, false, phase);
    penPos_ = {x, y};
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
    if (points.empty())
        return;
    int phase = 0;
    for (size_t i = 1; i < points.size(); ++i)
        LinePixels(points[i - 1].X, points[i - 1].Y, points[i].X, points[i].Y, false, phase);
    penPos_ = points.back();
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
    if (points.size() < 2)
        return;
    if (brush_.Style() != bsClear) {
        if (QPainter* p = Prepared()) {
            QPolygon poly;
            for (const TPoint& pt : points)
                poly << QPoint(pt.X, pt.Y);
            p->setPen(Qt::NoPen);
            p->setBrush(ScaledBrush());
            p->drawPolygon(poly, Qt::OddEvenFill);
        }
    }
    std::vector<TPoint> closed = points;
    closed.push_back(points.front());
    const TPoint keep = penPos_;
    Polyline(closed);
    penPos_ = keep;
}

void TCanvas::Ellipse(const TRect& r) {
    QPainter* p = Prepared();
    if (!p || IsRectEmpty(r))
        return;
    p->setBrush(brush_.Style() == bsClear ? QBrush(Qt::NoBrush) : QBrush(ToQColor(brush_.Color())));
    if (pen_.Style() == psClear)
        p->setPen(Qt::NoPen);
    else
        p->setPen(QPen(ToQColor(pen_.Color()), pen_.Width() > 1 || penScale_ > 1 ? pen_.Width() * penScale_ : 0));
    p->drawEllipse(QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
}

TColor TCanvas::Pixel(int x, int y) const {
    if (!image_ || x < 0 || y < 0 || x >= image_->width() || y >= image_->height())
        return clNone;
    return FromQRgb(image_->pixel(x, y));
}

void TCanvas::SetPixel(int x, int y, TColor color) { FillPixels(Bounds(x, y, 1, 1), color, pmCopy); }

void TCanvas::DrawFocusRect(const TRect& r) {
    if (IsRectEmpty(r))
        return;
    auto dot = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            FillPixels(Bounds(x, y, 1, 1), clBlack, pmNot);
    };
    for (int x = r.Left; x < r.Right; ++x) {
        dot(x, r.Top);
        if (r.Bottom - 1 > r.Top)
            dot(x, r.Bottom - 1);
    }
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
        dot(r.Left, y);
        if (r.Right - 1 > r.Left)
            dot(r.Right - 1, y);
    }
}

// ---------------------------------------------------------------- shapes

void TCanvas::FillRect(const TRect& r) {
    if (brush_.Style() == bsClear)
        return;
    if (brush_.Style() == bsSolid) {
        FillPixels(r, brush_.Color(), pmCopy);
        return;
    }
    QPainter* p = Prepared();
    if (!p)
        return;
    p->fillRect(ToQRect(r), ScaledBrush());
}

namespace {

// A frame `w` pixels thick just inside r: the top and bottom sides across the
// whole width, the left and right ones between them.
void FillFrame(TCanvas& c, const TRect& r, int w, TColor color, TPenMode mode) {
    c.FillPixels({r.Left, r.Top, r.Right, r.Top + w}, color, mode);
    c.FillPixels({r.Left, r.Bottom - w, r.Right, r.Bottom}, color, mode);
    c.FillPixels({r.Left, r.Top + w, r.Left + w, r.Bottom - w}, color, mode);
    c.FillPixels({r.Right - w, r.Top + w, r.Right, r.Bottom - w}, color, mode);
}

} // namespace

void TCanvas::FrameRect(const TRect& r) {
    if (!IsRectEmpty(r))
        FillFrame(*this, r, 1, brush_.Color(), pmCopy);
}

void TCanvas::Rectangle(const TRect& r) {
    if (IsRectEmpty(r))
        return;
    FillRect(r);
    if (pen_.Style() == psClear)
        return;
    const int w = std::min({pen_.Width() * penScale_, (r.Width() + 1) / 2, (r.Height() + 1) / 2});
    if (pen_.Style() != psSolid && pen_.Style() != psInsideFrame && pen_.Width() == 1) {
        int phase = 0;
        LinePixels(r.Left, r.Top, r.Right - 1, r.Top, false, phase);
        LinePixels(r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1, false, phase);
        LinePixels(r.Right - 1, r.Bottom - 1, r.Left, r.Bottom - 1, false, phase);
        LinePixels(r.Left, r.Bottom - 1, r.Left, r.Top, false, phase);
        return;
    }
    FillFrame(*this, r, w, pen_.Color(), pen_.Mode());
}

// ---------------------------------------------------------------- text

int TCanvas::TextWidth(const std::string& text) const { return TextExtent(text).cx; }

int TCanvas::TextHeight(const std::string& text) const { return TextExtent(text).cy; }

TSize TCanvas::TextExtent(const std::string& text) const {
    const QFontMetrics fm(ToQFont(font_));
    return {fm.horizontalAdvance(QString::fromStdString(text)), fm.height()};
}

QRegion TCanvas::ClipWithin(const TRect& r) const {
    return clip_ ? clip_->intersected(ToQRect(r)) : QRegion(ToQRect(r));
}

void TCanvas::PaintText(QPainter* p, const QFont& font, const QFontMetrics& fm, const QRect& behind, int x, int y,
                        const QString& text) {
    if (brush_.Style() != bsClear)
        p->fillRect(behind, ToQColor(brush_.Color()));
    p->setFont(font);
    p->setPen(ToQColor(font_.Color()));
    p->drawText(QPoint(x, y + fm.ascent()), text);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    const QFont f = ToQFont(font_);
    const QFontMetrics fm(f);
    const QString s = QString::fromStdString(text);
    const int w = fm.horizontalAdvance(s);
    if (QPainter* p = Prepared())
        PaintText(p, f, fm, QRect(x, y, w, fm.height()), x, y, s);
    penPos_ = {x + w, y};
}

void TCanvas::TextOutRotated(int x, int y, const std::string& text, int escapement) {
    QPainter* p = Prepared();
    if (!p || text.empty())
        return;
    const QFont f = ToQFont(font_);
    const QFontMetrics fm(f);
    const QString s = QString::fromStdString(text);
    p->save();
    p->translate(x, y);
    p->rotate(-escapement / 10.0);
    PaintText(p, f, fm, QRect(0, 0, fm.horizontalAdvance(s), fm.height()), 0, 0, s);
    p->restore();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
    QPainter* p = Prepared();
    if (!p)
        return;
    const QFont f = ToQFont(font_);
    const QFontMetrics fm(f);
    p->setClipRegion(ClipWithin(r));
    PaintText(p, f, fm, ToQRect(r), x, y, QString::fromStdString(text));
}

namespace {

struct TextLine {
    QString text;
    int underline = -1;  // index of the character marked by a prefix, or -1
};

// Removes the prefix marks: "&x" underlines x, "&&" is one "&".
TextLine StripPrefix(const QString& s) {
    TextLine line;
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size()) {
            ++i;
            if (s[i] != '&' && line.underline < 0)
                line.underline = line.text.size();
        }
        line.text += s[i];
    }
    return line;
}

QString ExpandTabs(const QString& s, const QFontMetrics& fm) {
    if (!s.contains('\t'))
        return s;
    const int stop = 8 * std::max(1, fm.averageCharWidth());
    QString out;
    for (QChar c : s) {
        if (c != '\t') {
            out += c;
            continue;
        }
        const int w = fm.horizontalAdvance(out);
        const int target = (w / stop + 1) * stop;
        do
            out += ' ';
        while (fm.horizontalAdvance(out) < target);
    }
    return out;
}

// Breaks one paragraph into lines no wider than width where spaces allow; a word
// wider than the width gets a line of its own.
std::vector<TextLine> WrapParagraph(const TextLine& para, const QFontMetrics& fm, int width) {
    std::vector<TextLine> lines;
    const QString& s = para.text;
    int lineStart = 0;
    int lastFit = -1;  // end of the last word that fit on the current line
    int i = 0;
    auto push = [&](int start, int end) {
        TextLine l;
        l.text = s.mid(start, end - start);
        if (para.underline >= start && para.underline < end)
            l.underline = para.underline - start;
        lines.push_back(l);
    };
    while (i <= s.size()) {
        const bool atEnd = i == s.size();
        if (atEnd || s[i] == ' ') {
            const int w = fm.horizontalAdvance(s.mid(lineStart, i - lineStart));
            if (w > width && lastFit > lineStart) {
                push(lineStart, lastFit);
                lineStart = lastFit;
                while (lineStart < s.size() && s[lineStart] == ' ')
                    ++lineStart;
                lastFit = -1;
                continue;  // measure this word again on the new line
            }
            lastFit = i;
            if (atEnd)
                break;
        }
        ++i;
    }
    push(lineStart, s.size());
    return lines;
}

QString WithEndEllipsis(const QString& s, const QFontMetrics& fm, int width) {
    if (fm.horizontalAdvance(s) <= width)
        return s;
    int lo = 0, hi = s.size();
    while (lo < hi) {  // the longest start that fits together with the dots
        const int mid = (lo + hi + 1) / 2;
        if (fm.horizontalAdvance(s.left(mid) + "...") <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    return s.left(lo) + "...";
}

std::vector<TextLine> LayoutText(const std::string& text, const QFontMetrics& fm, int width, uint32_t flags) {
    std::vector<TextLine> lines;
    if (text.empty())
        return lines;
    QString all = QString::fromStdString(text);
    if (flags & DT_EXPANDTABS)
        all = ExpandTabs(all, fm);
    QStringList paragraphs;
    if (flags & DT_SINGLELINE) {
        all.remove('\r');
        all.remove('\n');
        paragraphs << all;
    } else {
        all.replace("\r\n", "\n");
        all.replace('\r', '\n');
        paragraphs = all.split('\n');
    }
    for (const QString& p : paragraphs) {
        const TextLine para = (flags & DT_NOPREFIX) ? TextLine{p, -1} : StripPrefix(p);
        if ((flags & DT_WORDBREAK) && !(flags & DT_SINGLELINE)) {
            for (TextLine& l : WrapParagraph(para, fm, width))
                lines.push_back(std::move(l));
        } else {
            lines.push_back(para);
        }
    }
    return lines;
}

} // namespace

int TCanvas::DrawText(const std::string& text, TRect& r, uint32_t flags) {
    const QFont f = ToQFont(font_);
    const QFontMetrics fm(f);
    std::vector<TextLine> lines = LayoutText(text, fm, r.Width(), flags);
    const int lh = fm.height();
    const int total = static_cast<int>(lines.size()) * lh;
    if (flags & DT_CALCRECT) {
        int widest = 0;
        for (const TextLine& l : lines)
            widest = std::max(widest, fm.horizontalAdvance(l.text));
        r.Right = r.Left + widest;
        r.Bottom = r.Top + total;
        return total;
    }
    int y = r.Top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_VCENTER)
            y = r.Top + (r.Height() - lh) / 2;
        else if (flags & DT_BOTTOM)
            y = r.Bottom - lh;
    }
    const int answer = (flags & DT_SINGLELINE) && (flags & (DT_VCENTER | DT_BOTTOM)) ? y - r.Top + total : total;
    QPainter* p = Prepared();
    if (!p)
        return answer;
    if (!(flags & DT_NOCLIP)) {
        // The stand-in faces draw the accents of capitals (Č, Ř) a pixel or two
        // above their ascent: those rows belong to the first line, so the top
        // edge does not cut them.
        TRect clip = r;
        if (!lines.empty())
            clip.Top = std::min(clip.Top, y + fm.ascent() + fm.tightBoundingRect(lines.front().text).top());
        p->setClipRegion(ClipWithin(clip));
    }
    const QColor textColor = ToQColor(font_.Color());
    for (TextLine& l : lines) {
        if (flags & DT_END_ELLIPSIS)
            l.text = WithEndEllipsis(l.text, fm, r.Width());
        const int w = fm.horizontalAdvance(l.text);
        int x = r.Left;
        if (flags & DT_CENTER)
            x = r.Left + (r.Width() - w) / 2;
        else if (flags & DT_RIGHT)
            x = r.Right - w;
        PaintText(p, f, fm, QRect(x, y, w, lh), x, y, l.text);
        if (l.underline >= 0 && l.underline < l.text.size()) {
            const int ux = x + fm.horizontalAdvance(l.text.left(l.underline));
            const int uw = fm.horizontalAdvance(l.text.at(l.underline));
            p->fillRect(QRect(ux, y + fm.ascent() + 1, uw, 1), textColor);
        }
        y += lh;
    }
    return answer;
}

// ---------------------------------------------------------------- images

void TCanvas::BlitImage(const TRect& dest, const QImage& source, const TRect& sourceRect, TCopyMode mode) {
    if (IsRectEmpty(dest))
        return;
    switch (mode) {
    case cmBlackness: FillPixels(dest, clBlack, pmBlack); return;
    case cmWhiteness: FillPixels(dest, clWhite, pmWhite); return;
    case cmDstInvert: FillPixels(dest, clBlack, pmNot); return;
    case cmPatCopy: FillPixels(dest, brush_.Color(), pmCopy); return;
    case cmPatInvert: FillPixels(dest, brush_.Color(), pmXor); return;
    case cmPatPaint: FillPixels(dest, brush_.Color(), pmMerge); return;
    default: break;
    }
    QPainter* p = Prepared();
    if (!p || source.isNull() || IsRectEmpty(sourceRect))
        return;
    if (mode == cmMergeCopy) {
        // Source and brush: the source drawn, then masked with the brush colour.
        p->setCompositionMode(QPainter::CompositionMode_Source);
        p->drawImage(ToQRect(dest), source, ToQRect(sourceRect));
        p->setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        p->fillRect(ToQRect(dest), ToQColor(brush_.Color()));
        return;
    }
    p->setCompositionMode(CopyModeComposition(mode));
    p->drawImage(ToQRect(dest), source, ToQRect(sourceRect));
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
    if (!source.image_)
        return;
    BlitImage(dest, *source.image_, sourceRect, copyMode_);
}

void TCanvas::Draw(int x, int y, const QImage& image) {
    if (image.isNull())
        return;
    QPainter* p = Prepared();
    if (p)
        p->drawImage(QPoint(x, y), image);
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) { Draw(x, y, bitmap.Image()); }

void TCanvas::StretchDraw(const TRect& r, const QImage& image) {
    QPainter* p = Prepared();
    if (p && !image.isNull())
        p->drawImage(ToQRect(r), image);
}

// ---------------------------------------------------------------- 3-D frames

namespace {

// One ring on the chosen sides: top and left in the first colour, right and
// bottom in the second, which also takes the top-right and bottom-left corners.
// The drawn sides of r move in by one.
void Ring(TCanvas& c, TRect& r, TColor topLeft, TColor bottomRight, uint32_t sides) {
    if (IsRectEmpty(r))
        return;
    if (sides & BF_TOP)
        c.FillPixels({r.Left, r.Top, r.Right - 1, r.Top + 1}, topLeft, pmCopy);
    if (sides & BF_LEFT)
        c.FillPixels({r.Left, r.Top, r.Left + 1, r.Bottom - 1}, topLeft, pmCopy);
    if (sides & BF_RIGHT)
        c.FillPixels({r.Right - 1, r.Top, r.Right, r.Bottom}, bottomRight, pmCopy);
    if (sides & BF_BOTTOM)
        c.FillPixels({r.Left, r.Bottom - 1, r.Right, r.Bottom}, bottomRight, pmCopy);
    if (sides & BF_TOP)
        ++r.Top;
    if (sides & BF_LEFT)
        ++r.Left;
    if (sides & BF_RIGHT)
        --r.Right;
    if (sides & BF_BOTTOM)
        --r.Bottom;
}

} // namespace

void Frame3D(TCanvas& canvas, TRect& r, TColor topColor, TColor bottomColor, int width) {
    for (int i = 0; i < width; ++i)
        Ring(canvas, r, topColor, bottomColor, BF_RECT);
}

namespace {

// The colours of an edge ring: raised top-left and bottom-right, sunken ones, the
// flat line and the mono line.
struct EdgeRingColors {
    uint32_t raisedBit;
    TColor raisedTopLeft, raisedBottomRight, sunkenTopLeft, sunkenBottomRight, flat, mono;
};
constexpr EdgeRingColors OuterRing{BDR_RAISEDOUTER, cl3DLight,   cl3DDkShadow, clBtnShadow,
                                   clBtnHighlight,  clBtnShadow, clWindowFrame};
constexpr EdgeRingColors InnerRing{BDR_RAISEDINNER, clBtnHighlight, clBtnShadow, cl3DDkShadow,
                                   cl3DLight,       clBtnFace,      clWindow};

} // namespace

bool DrawEdge(TCanvas& canvas, TRect& r, uint32_t edge, uint32_t flags) {
    TRect work = r;
    const uint32_t sides = flags & BF_RECT;
    const bool mono = flags & BF_MONO;
    const bool flat = flags & BF_FLAT;
    const uint32_t rings[2] = {edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER), edge & (BDR_RAISEDINNER | BDR_SUNKENINNER)};
    const EdgeRingColors* colors[2] = {&OuterRing, &InnerRing};
    for (int i = 0; i < 2; ++i) {
        if (!rings[i])
            continue;
        const EdgeRingColors& c = *colors[i];
        if (mono)
            Ring(canvas, work, c.mono, c.mono, sides);
        else if (flat)
            Ring(canvas, work, c.flat, c.flat, sides);
        else if (rings[i] & c.raisedBit)
            Ring(canvas, work, c.raisedTopLeft, c.raisedBottomRight, sides);
        else
            Ring(canvas, work, c.sunkenTopLeft, c.sunkenBottomRight, sides);
    }
    if (flags & BF_MIDDLE)
        canvas.FillPixels(work, mono ? clWindow : clBtnFace, pmCopy);
    if (flags & BF_ADJUST)
        r = work;
    return true;
}

namespace {

// A solid triangle of odd base width pointing in one of four directions, centred
// in r.
void Arrow(TCanvas& c, const TRect& r, uint32_t direction, TColor color) {
    int base = std::min(r.Width(), r.Height()) * 7 / 16;
    base = std::max(3, base | 1);
    const int depth = (base + 1) / 2;
    const int cx = r.Left + (r.Width() - (direction <= DFCS_SCROLLDOWN ? base : depth)) / 2;
    const int cy = r.Top + (r.Height() - (direction <= DFCS_SCROLLDOWN ? depth : base)) / 2;
    for (int k = 0; k < depth; ++k) {
        const int len = base - 2 * k;
        switch (direction) {
        case DFCS_SCROLLUP: c.FillPixels(Bounds(cx + k, cy + depth - 1 - k, len, 1), color, pmCopy); break;
        case DFCS_SCROLLLEFT: c.FillPixels(Bounds(cx + depth - 1 - k, cy + k, 1, len), color, pmCopy); break;
        case DFCS_SCROLLRIGHT: c.FillPixels(Bounds(cx + k, cy + k, 1, len), color, pmCopy); break;
        default: c.FillPixels(Bounds(cx + k, cy + k, len, 1), color, pmCopy); break;
        }
    }
}

} // namespace

bool DrawFrameControl(TCanvas& canvas, const TRect& r, uint32_t type, uint32_t state) {
    if (IsRectEmpty(r))
        return false;
    TRect face = r;
    const bool pushed = state & (DFCS_PUSHED | DFCS_CHECKED);
    if (state & DFCS_FLAT) {
        canvas.FillPixels(face, clBtnFace, pmCopy);
        Ring(canvas, face, clBtnShadow, clBtnShadow, BF_RECT);
    } else {
        DrawEdge(canvas, face, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
    }
    if (type != DFC_SCROLL)
        return type == DFC_BUTTON;
    uint32_t direction = state & 0xFF;
    if (direction == DFCS_SCROLLCOMBOBOX)
        direction = DFCS_SCROLLDOWN;
    // The arrow keeps its place whatever the frame; pushed it moves down-right.
    face = r;
    InflateRect(face, -2, -2);
    if (pushed)
        OffsetRect(face, 1, 1);
    if (state & DFCS_INACTIVE) {
        TRect shadow = face;
        OffsetRect(shadow, 1, 1);
        Arrow(canvas, shadow, direction, clBtnHighlight);
        Arrow(canvas, face, direction, clBtnShadow);
    } else {
        Arrow(canvas, face, direction, clBtnText);
    }
    return true;
}

bool BitBlt(TCanvas& dest, int x, int y, int width, int height, TCanvas& source, int sx, int sy, TCopyMode rop) {
    const TRect d = Bounds(x, y, width, height);
    const TRect s = Bounds(sx, sy, width, height);
    if (rop >= cmDstInvert) {
        dest.BlitImage(d, QImage(), s, rop);
        return true;
    }
    if (!source.Image())
        return false;
    dest.BlitImage(d, *source.Image(), s, rop);
    return true;
}

bool PatBlt(TCanvas& dest, int x, int y, int width, int height, TCopyMode rop) {
    dest.BlitImage(Bounds(x, y, width, height), QImage(), {}, rop);
    return true;
}

// ---------------------------------------------------------------- pictures

void TBitmap::SetSize(int w, int h) {
    w = std::max(0, w);
    h = std::max(0, h);
    if (w == Width() && h == Height())
        return;
    width_ = w;
    height_ = h;
    canvas_.EndPaint();
    QImage next;
    if (w > 0 && h > 0) {
        next = QImage(w, h, QImage::Format_RGB32);
        next.fill(Qt::white);
        if (!image_.isNull()) {
            QPainter p(&next);
            p.drawImage(QPoint(0, 0), image_);
        }
    }
    image_ = next;
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_.Painting() && !image_.isNull())
        canvas_.BeginPaint(&image_);
    return canvas_;
}

void TBitmap::Assign(const QImage& image) {
    canvas_.EndPaint();
    monochrome_ = !image.isNull() && image.depth() == 1;
    image_ = image.convertToFormat(QImage::Format_RGB32);
    width_ = image_.width();
    height_ = image_.height();
}

void TBitmap::Assign(const TBitmap& other) {
    if (&other == this)
        return;
    canvas_.EndPaint();
    image_ = other.image_;
    width_ = other.width_;
    height_ = other.height_;
    monochrome_ = other.monochrome_;
}

TColor TBitmap::TransparentColor() const {
    return image_.isNull() ? clNone : FromQRgb(image_.pixel(0, image_.height() - 1));
}

void TPicture::SetGraphic(const QImage& image) {
    image_ = image;
    if (OnChange)
        OnChange();
}

void TPicture::Assign(const TPicture& other) { SetGraphic(other.image_); }

int TImageList::Add(const QImage& image) {
    images_.push_back(image.size() == QSize(width_, height_) ? image : image.scaled(width_, height_));
    return Count() - 1;
}

void TImageList::Replace(int index, const QImage& image) {
    images_.at(static_cast<size_t>(index)) = image.size() == QSize(width_, height_) ? image : image.scaled(width_, height_);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
    if (index < 0 || index >= Count())
        return;
    if (enabled) {
        canvas.Draw(x, y, images_[index]);
        return;
    }
    QImage grey = images_[index].convertToFormat(QImage::Format_ARGB32);
    for (int j = 0; j < grey.height(); ++j)
        for (int i = 0; i < grey.width(); ++i) {
            const QRgb px = grey.pixel(i, j);
            const int g = 128 + qGray(px) / 2;
            grey.setPixel(i, j, qRgba(g, g, g, qAlpha(px)));
        }
    canvas.Draw(x, y, grey);
}

} // namespace zeko
