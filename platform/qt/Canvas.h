#pragma once
// The drawing surface every control paints through. It follows the class
// library's rules: a rectangle covers Left..Right-1 and Top..Bottom-1, a line
// leaves out its end point, text is placed by its top-left corner, and colours are
// TColor values resolved against the colour scheme only while painting.
//
// A canvas draws only while it is bound to a surface: a widget's painter during a
// paint event, or an image (TBitmap, or a QImage given by a test). Measuring
// (TextWidth, DrawText with DT_CALCRECT) works also while it is unbound.
#include <QImage>
#include <QRegion>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Graphics.h"

class QPainter;
class QPaintDevice;
class QWidget;
class QFont;
class QFontMetrics;
class QBrush;
class QColor;

namespace zeko {

QColor ToQColor(TColor color);  // system colours resolved now
QFont ToQFont(const TFont& font);
QRect ToQRect(const TRect& r);
TRect FromQRect(const QRect& r);

// ---------------------------------------------------------------- DrawText flags
constexpr uint32_t DT_TOP = 0x0000;
constexpr uint32_t DT_LEFT = 0x0000;
constexpr uint32_t DT_CENTER = 0x0001;
constexpr uint32_t DT_RIGHT = 0x0002;
constexpr uint32_t DT_VCENTER = 0x0004;  // only with DT_SINGLELINE
constexpr uint32_t DT_BOTTOM = 0x0008;   // only with DT_SINGLELINE
constexpr uint32_t DT_WORDBREAK = 0x0010;
constexpr uint32_t DT_SINGLELINE = 0x0020;
constexpr uint32_t DT_EXPANDTABS = 0x0040;
constexpr uint32_t DT_NOCLIP = 0x0100;
constexpr uint32_t DT_CALCRECT = 0x0400;
constexpr uint32_t DT_NOPREFIX = 0x0800;
constexpr uint32_t DT_END_ELLIPSIS = 0x8000;

// ---------------------------------------------------------------- DrawEdge
constexpr uint32_t BDR_RAISEDOUTER = 0x0001;
constexpr uint32_t BDR_SUNKENOUTER = 0x0002;
constexpr uint32_t BDR_RAISEDINNER = 0x0004;
constexpr uint32_t BDR_SUNKENINNER = 0x0008;
constexpr uint32_t EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr uint32_t EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr uint32_t EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr uint32_t EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;

constexpr uint32_t BF_LEFT = 0x0001;
constexpr uint32_t BF_TOP = 0x0002;
constexpr uint32_t BF_RIGHT = 0x0004;
constexpr uint32_t BF_BOTTOM = 0x0008;
constexpr uint32_t BF_TOPLEFT = BF_TOP | BF_LEFT;
constexpr uint32_t BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
constexpr uint32_t BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr uint32_t BF_MIDDLE = 0x0800;  // fill the inside with the face colour
constexpr uint32_t BF_SOFT = 0x1000;
constexpr uint32_t BF_ADJUST = 0x2000;  // shrink the rectangle by the edge
constexpr uint32_t BF_FLAT = 0x4000;    // one shadow-coloured line instead of 3-D
constexpr uint32_t BF_MONO = 0x8000;    // one black line

// ---------------------------------------------------------------- DrawFrameControl
constexpr uint32_t DFC_SCROLL = 3;
constexpr uint32_t DFC_BUTTON = 4;
constexpr uint32_t DFCS_SCROLLUP = 0x0000;
constexpr uint32_t DFCS_SCROLLDOWN = 0x0001;
constexpr uint32_t DFCS_SCROLLLEFT = 0x0002;
constexpr uint32_t DFCS_SCROLLRIGHT = 0x0003;
constexpr uint32_t DFCS_SCROLLCOMBOBOX = 0x0005;
constexpr uint32_t DFCS_BUTTONPUSH = 0x0010;
constexpr uint32_t DFCS_INACTIVE = 0x0100;
constexpr uint32_t DFCS_PUSHED = 0x0200;
constexpr uint32_t DFCS_CHECKED = 0x0400;
constexpr uint32_t DFCS_FLAT = 0x4000;
constexpr uint32_t DFCS_MONO = 0x8000;

// ---------------------------------------------------------------- raster operations
// Block copies and pattern fills: S source, D destination, P the brush.
enum TCopyMode : uint8_t {
    cmSrcCopy,      // S
    cmNotSrcCopy,   // not S
    cmSrcAnd,       // S and D
    cmSrcPaint,     // S or D
    cmSrcInvert,    // S xor D
    cmSrcErase,     // S and not D
    cmNotSrcErase,  // not (S or D)
    cmMergePaint,   // not S or D
    cmMergeCopy,    // S and P
    cmDstInvert,    // not D
    cmPatCopy,      // P
    cmPatInvert,    // P xor D
    cmPatPaint,     // P or not S or D, taken as P or D
    cmBlackness,
    cmWhiteness
};

class TBitmap;

class TCanvas {
public:
    TCanvas();
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // ---- binding
    void BeginPaint(QImage* image);      // draws into the image until EndPaint
    void BeginPaint(QPainter* painter);  // borrows a painter (a widget's paint event)
    void EndPaint();
    bool Painting() const;
    QImage* Image() const { return image_; }  // the bound image, or null

    // ---- state
    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font) { font_.Assign(font); }
    TCopyMode CopyMode() const { return copyMode_; }
    void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }
    TPoint PenPos() const { return penPos_; }
    void SetPenPos(TPoint p) { penPos_ = p; }
    // Device pixels a pen pixel covers (and a hatch's lines are apart): 1 on the
    // screen and in pictures; more on a printer whose pixels are much finer than a
    // screen's, so that a line keeps its thickness on paper. Whether a pen is
    // styled (dashed lines are one pixel wide) goes by the pen's own width.
    int PenScale() const { return penScale_; }
    void SetPenScale(int scale) { penScale_ = std::max(1, scale); }

    // ---- shapes
    void FillRect(const TRect& r);   // brush; nothing with bsClear
    void FrameRect(const TRect& r);  // 1-pixel frame in the brush colour
    void Rectangle(const TRect& r);  // pen outline inside r, brush inside it
    void Rectangle(int x1, int y1, int x2, int y2) { Rectangle(TRect{x1, y1, x2, y2}); }
    void MoveTo(int x, int y) { penPos_ = {x, y}; }
    void LineTo(int x, int y);  // from PenPos; the end point stays unpainted
    void Polyline(const std::vector<TPoint>& points);
    void Polygon(const std::vector<TPoint>& points);  // filled with the brush, hatched ones too
    void Ellipse(const TRect& r);
    TColor Pixel(int x, int y) const;  // clNone when not bound to an image or outside
    void SetPixel(int x, int y, TColor color);
    // Inverts every other pixel of the rectangle's one-pixel frame; a second call
    // on the same rectangle restores it.
    void DrawFocusRect(const TRect& r);

    // ---- text (the font colour draws; the brush fills behind unless bsClear)
    void TextOut(int x, int y, const std::string& text);
    void TextRect(const TRect& r, int x, int y, const std::string& text);  // fills r, clips to it
    // Text turned anticlockwise by `escapement` tenths of a degree about its
    // top-left corner (x, y), as a font with that escapement writes it: 900 runs
    // upwards from (x, y).
    void TextOutRotated(int x, int y, const std::string& text, int escapement);
    int TextWidth(const std::string& text) const;
    int TextHeight(const std::string& text) const;
    TSize TextExtent(const std::string& text) const;
    // Lays out and draws text in r with DT_ flags; answers the text height. With
    // DT_CALCRECT nothing is drawn and r's Right and Bottom are set to the text's
    // extent (widest line, all lines); end ellipsis is ignored when measuring.
    int DrawText(const std::string& text, TRect& r, uint32_t flags);

    // ---- images
    void Draw(int x, int y, const QImage& image);
    void Draw(int x, int y, const TBitmap& bitmap);
    void StretchDraw(const TRect& r, const QImage& image);
    // Copies source's sourceRect into dest (stretched when the sizes differ) with
    // CopyMode.
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect);

    // ---- clipping (canvas coordinates); drawing outside the clip region is lost
    void SetClipRect(const TRect& r);
    void IntersectClipRect(const TRect& r);
    void ExcludeClipRect(const TRect& r);
    void ResetClip();
    bool HasClip() const { return clip_.has_value(); }
    TRect ClipRect() const;  // bounding box of the clip region; the surface when none

    // For code that must reach Qt directly; null while unbound. Its state is
    // reset by the next canvas call.
    QPainter* Painter();

    // Fills the pixel rectangle r with colour rgb under a raster operation on the
    // destination (used by lines, fills and block operations alike).
    void FillPixels(const TRect& r, TColor color, TPenMode mode);
    void BlitImage(const TRect& dest, const QImage& source, const TRect& sourceRect, TCopyMode mode);
    TRect SurfaceRect() const;

private:
    QPainter* Prepared();
    // Prepared, with the composition of the pen mode and its fill colour.
    QPainter* PreparedFill(TColor color, TPenMode mode, QColor& fill);
    void LinePixels(int x1, int y1, int x2, int y2, bool lastPoint, int& dashPhase);
    QRegion ClipWithin(const TRect& r) const;  // the clip region cut down to r
    // Lines as vectors of the pen's width on a printer or a recorded picture of a
    // page, where pixel runs would make thousands of tiny shapes; pixels elsewhere.
    bool DrawsVectors() const;
    // The brush with its hatch lines as far apart as the pen scale has them.
    QBrush ScaledBrush() const;
    void VectorLine(int x1, int y1, int x2, int y2);
    // The text by its top-left corner (x, y) in the font colour, over `behind`
    // filled with the brush unless the brush is clear.
    void PaintText(QPainter* p, const QFont& font, const QFontMetrics& fm, const QRect& behind, int x, int y,
                   const QString& text);

    TPen pen_;
    TBrush brush_;
    TFont font_;
    TCopyMode copyMode_ = cmSrcCopy;
    TPoint penPos_;
    int penScale_ = 1;
    QImage* image_ = nullptr;
    QPainter* painter_ = nullptr;
    std::unique_ptr<QPainter> ownPainter_;
    std::optional<QRegion> clip_;
};

// Binds a canvas to a widget for the length of its paint event.
class TWidgetPaint {
public:
    TWidgetPaint(TCanvas& canvas, QWidget* widget);
    ~TWidgetPaint();
    TWidgetPaint(const TWidgetPaint&) = delete;
    TWidgetPaint& operator=(const TWidgetPaint&) = delete;

private:
    TCanvas& canvas_;
    std::unique_ptr<QPainter> painter_;
};

// The class library's 3-D frame: `width` rings, each with the top and left sides
// in topColor and the right and bottom sides in bottomColor (those two also take
// the top-right and bottom-left corners); r shrinks by width on every side.
void Frame3D(TCanvas& canvas, TRect& r, TColor topColor, TColor bottomColor, int width);
// The system's 3-D edges (BDR_, EDGE_ and BF_ flags).
bool DrawEdge(TCanvas& canvas, TRect& r, uint32_t edge, uint32_t flags);
// The system's control faces; DFC_SCROLL with DFCS_SCROLLCOMBOBOX is the
// drop-down arrow button of a combo box.
bool DrawFrameControl(TCanvas& canvas, const TRect& r, uint32_t type, uint32_t state);
// Block transfers between canvases and pattern fills with a raster operation.
bool BitBlt(TCanvas& dest, int x, int y, int width, int height, TCanvas& source, int sx, int sy, TCopyMode rop);
bool PatBlt(TCanvas& dest, int x, int y, int width, int height, TCopyMode rop);

// An off-screen picture with its own canvas.
class TBitmap {
public:
    TBitmap() = default;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    // A bitmap may be 0 pixels in one direction and not in the other; it is then
    // empty, but keeps both numbers.
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetWidth(int w) { SetSize(w, Height()); }
    void SetHeight(int h) { SetSize(Width(), h); }
    void SetSize(int w, int h);  // the content is kept where it fits, new area white
    bool Empty() const { return image_.isNull(); }
    TCanvas& Canvas();  // bound to the picture while the bitmap lives
    const QImage& Image() const { return image_; }
    void Assign(const QImage& image);  // a one-bit image makes a monochrome bitmap
    void Assign(const TBitmap& other);
    // Two colours, black and white (a one-bit picture).
    bool Monochrome() const { return monochrome_; }
    // The colour that drawing with transparency leaves out: that of the bottom-left
    // pixel (clNone for an empty bitmap).
    TColor TransparentColor() const;

private:
    QImage image_;
    int width_ = 0;
    int height_ = 0;
    bool monochrome_ = false;
    TCanvas canvas_;
};

// A picture property: an image or nothing. Icons and bitmaps are both images here.
class TPicture {
public:
    std::function<void()> OnChange;
    bool Empty() const { return image_.isNull(); }
    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    const QImage& Graphic() const { return image_; }
    void SetGraphic(const QImage& image);
    void Assign(const TPicture& other);
    void Clear() { SetGraphic(QImage()); }

private:
    QImage image_;
};

// Images of one size, drawn by index.
class TImageList {
public:
    TImageList(int width = 16, int height = 16) : width_(width), height_(height) {}
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const { return static_cast<int>(images_.size()); }
    int Add(const QImage& image);  // scaled to the list's size; answers its index
    void Replace(int index, const QImage& image);  // scaled as Add scales
    const QImage& Image(int index) const { return images_.at(static_cast<size_t>(index)); }
    void Clear() { images_.clear(); }
    // A disabled image is drawn greyed.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;

private:
    int width_, height_;
    std::vector<QImage> images_;
};

} // namespace zeko
