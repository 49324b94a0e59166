#include "platform/Graphics.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace zeko {
namespace {

// The classic grey 3-D scheme, 0x00BBGGRR.
constexpr std::array<TColor, SystemColorCount> ClassicScheme = {
    RGB(192, 192, 192),  // scroll bar
    RGB(0, 128, 128),    // desktop
    RGB(0, 0, 128),      // active caption
    RGB(128, 128, 128),  // inactive caption
    RGB(192, 192, 192),  // menu
    RGB(255, 255, 255),  // window
    RGB(0, 0, 0),        // window frame
    RGB(0, 0, 0),        // menu text
    RGB(0, 0, 0),        // window text
    RGB(255, 255, 255),  // caption text
    RGB(192, 192, 192),  // active border
    RGB(192, 192, 192),  // inactive border
    RGB(128, 128, 128),  // application work space
    RGB(0, 0, 128),      // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(192, 192, 192),  // button face
    RGB(128, 128, 128),  // button shadow
    RGB(128, 128, 128),  // grey text
    RGB(0, 0, 0),        // button text
    RGB(192, 192, 192),  // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(0, 0, 0),        // 3-D dark shadow
    RGB(223, 223, 223),  // 3-D light
    RGB(0, 0, 0),        // info text
    RGB(255, 255, 225),  // info background
};

std::array<TColor, SystemColorCount>& Scheme() {
    static std::array<TColor, SystemColorCount> scheme = ClassicScheme;
    return scheme;
}

unsigned& Generation() {
    static unsigned generation = 0;
    return generation;
}

} // namespace

TColor ColorToRGB(TColor color) {
    if (color < 0) {  // the system-colour bit is the sign bit
        const int index = color & 0xFF;
        return index < SystemColorCount ? Scheme()[index] : clBlack;
    }
    return color & 0xFFFFFF;
}

void SetSysColor(int index, TColor rgb) {
    if (index >= 0 && index < SystemColorCount) {
        Scheme()[index] = rgb & 0xFFFFFF;
        ++Generation();
    }
}

void ResetSysColors() {
    Scheme() = ClassicScheme;
    ++Generation();
}

unsigned SysColorGeneration() { return Generation(); }

bool PtInRect(const TRect& r, TPoint p) {
    return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

bool IsRectEmpty(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }

void InflateRect(TRect& r, int dx, int dy) {
    r.Left -= dx;
    r.Right += dx;
    r.Top -= dy;
    r.Bottom += dy;
}

void OffsetRect(TRect& r, int dx, int dy) {
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}

void TGraphicsObject::NotifyChange() {
    if (OnChange)
        OnChange();
}

void TPen::SetColor(TColor v) { Store(color_, v); }
void TPen::SetWidth(int v) { Store(width_, std::max(1, v)); }
void TPen::SetStyle(TPenStyle v) { Store(style_, v); }
void TPen::SetMode(TPenMode v) { Store(mode_, v); }
void TPen::Assign(const TPen& other) {
    color_ = other.color_;
    width_ = other.width_;
    style_ = other.style_;
    mode_ = other.mode_;
    NotifyChange();
}

void TBrush::SetColor(TColor v) { Store(color_, v); }
void TBrush::SetStyle(TBrushStyle v) { Store(style_, v); }
void TBrush::Assign(const TBrush& other) {
    color_ = other.color_;
    style_ = other.style_;
    NotifyChange();
}

void TFont::SetName(const std::string& v) { Store(name_, v); }
void TFont::SetHeight(int v) { Store(height_, v); }
int TFont::Size() const {
    // Points from pixels, rounded to the nearest as the class library shows them.
    const int h = -height_;
    return h >= 0 ? (h * 72 + PixelsPerInch / 2) / PixelsPerInch : -((-h * 72 + PixelsPerInch / 2) / PixelsPerInch);
}
void TFont::SetSize(int points) {
    const int p = std::abs(points);
    const int pixels = (p * PixelsPerInch + 36) / 72;
    SetHeight(points >= 0 ? -pixels : pixels);
}
void TFont::SetColor(TColor v) { Store(color_, v); }
void TFont::SetStyle(TFontStyles v) { Store(style_, v); }
void TFont::SetPitch(TFontPitch v) { Store(pitch_, v); }
void TFont::Assign(const TFont& other) {
    name_ = other.name_;
    height_ = other.height_;
    color_ = other.color_;
    style_ = other.style_;
    pitch_ = other.pitch_;
    NotifyChange();
}

} // namespace zeko
