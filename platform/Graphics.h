#pragma once
// The drawing vocabulary of the controls without any window system: colours as
// 0x00BBGGRR values (system colours are 0x80000000 + an index and are looked up in
// the colour scheme only when something is painted), rectangles whose right and
// bottom edges lie outside them, and the pen, brush and font objects a canvas
// carries. Each graphics object reports its changes through NotifyChange.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Sets.h"

namespace zeko {

// ---------------------------------------------------------------- colours
using TColor = int32_t;

constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
constexpr TColor SystemColor(int index) { return clSystemColor | index; }

// System colours; the index is the colour's place in the colour scheme.
constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);
constexpr int SystemColorCount = 25;

// Fixed colours, 0x00BBGGRR.
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor RGB(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }
constexpr int GetRValue(TColor c) { return c & 0xFF; }
constexpr int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
constexpr int GetBValue(TColor c) { return (c >> 16) & 0xFF; }

// The plain 0x00BBGGRR value of a colour: a system colour is looked up in the
// current scheme, anything else keeps its low three bytes.
TColor ColorToRGB(TColor color);
// The scheme starts as the classic grey 3-D look; the program or a test may change
// single entries.
void SetSysColor(int index, TColor rgb);
void ResetSysColors();
// Grows with every change of the scheme: pictures drawn in system colours and kept
// are stale once it has moved on from the value they were drawn under.
unsigned SysColorGeneration();

// ---------------------------------------------------------------- geometry
struct TPoint {
    int X = 0, Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Left and Top lie inside, Right and Bottom just outside: width = Right - Left.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

struct TSize {
    int cx = 0, cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

inline TPoint Point(int x, int y) { return {x, y}; }
inline TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }
bool PtInRect(const TRect& r, TPoint p);  // right and bottom edges excluded
bool IsRectEmpty(const TRect& r);
void InflateRect(TRect& r, int dx, int dy);
void OffsetRect(TRect& r, int dx, int dy);

// ---------------------------------------------------------------- enumerations
enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TBevelCut : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };

enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };

enum TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// What a pen pixel does to the pixel under it (P pen, D destination).
enum TPenMode : uint8_t {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
enum TBrushStyle : uint8_t { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

// ---------------------------------------------------------------- graphics objects
// Base of pen, brush and font: every setter that changes a value calls
// NotifyChange, which runs OnChange. Assign copies the values (not OnChange) and
// reports one change.
class TGraphicsObject {
public:
    virtual ~TGraphicsObject() = default;
    std::function<void()> OnChange;

protected:
    virtual void NotifyChange();
    // Stores a different value and reports the change.
    template <typename T>
    void Store(T& field, const T& value) {
        if (!(field == value)) {
            field = value;
            NotifyChange();
        }
    }
};

class TPen : public TGraphicsObject {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    int Width() const { return width_; }
    void SetWidth(int v);  // below 1 counts as 1
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle v);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode v);
    void Assign(const TPen& other);

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
};

class TBrush : public TGraphicsObject {
public:
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle v);
    void Assign(const TBrush& other);

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
};

// Height in pixels as the class library keeps it: negative = the character height
// without internal leading (what a point size gives), positive = the full cell
// height. Size in points at 96 pixels per inch.
class TFont : public TGraphicsObject {
public:
    static constexpr int PixelsPerInch = 96;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& v);
    int Height() const { return height_; }
    void SetHeight(int v);
    int Size() const;
    void SetSize(int points);
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles v);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch v);
    void Assign(const TFont& other);

private:
    std::string name_ = "MS Sans Serif";
    int height_ = -11;  // 8 points
    TColor color_ = clWindowText;
    TFontStyles style_;
    TFontPitch pitch_ = fpDefault;
};

} // namespace zeko
