#pragma once
// The shared vocabulary and drawing routines of the column-model grid and its
// in-place editor: the option and style enumerations, the border object, and the
// painters for border lines, cell borders, 3-D bevels and cell texts (which ask
// the grid to enlarge a row or a column when a text does not fit). The date and
// time display formats live here too.
//
// Rectangle sizes in this unit count both edges (BothEdgesWidth, BothEdgesHeight).
#include <cstdint>
#include <string>

#include "platform/Graphics.h"
#include "platform/qt/Canvas.h"
#include "platform/qt/Grids.h"

namespace zeko {

class THyperGrid;

enum ThgBorderStyle : uint8_t {
    hgbrdNone, hgbrdSolid, hgbrdDash, hgbrdDot, hgbrdDashDot, hgbrdDashDotDot, hgbrdDouble
};
enum ThgVAlignment : uint8_t { hgvaTop, hgvaCenter, hgvaBottom };
enum ThgClipStyle : uint8_t { hgclpClip, hgclpEllipsis, hgclpWrap };
enum ThgControlType : uint8_t { hgctlComboBox, hgctlButton };
using ThgControlTypes = TSet<ThgControlType>;
enum ThgButtonStyle : uint8_t { hgbstEllipsis, hgbstDropDown, hgbstCustom };
enum ThgFormatType : uint8_t { hgfmtNone, hgfmtNumeric, hgfmtDateTime, hgfmtScientific };
enum ThgOption : uint8_t { hgoptDrawFocusRectangle, hgoptHighlightSelection };
using ThgOptions = TSet<ThgOption>;
enum ThgImagePosition : uint8_t { hgipLeft, hgipRight, hgipTop, hgipBottom };

// The state of a drawn cell as the drawing events see it: the grid's own three
// draw states in bits 0..2, and bit 3 when the item drawn is an upper heading.
enum ThgCellState : uint8_t { hgcsSelected, hgcsFocused, hgcsFixed, hgcsHeading };
using ThgCellStates = TSet<ThgCellState>;
ThgCellStates CellStatesOf(TGridDrawState state);

// Private messages posted to the grid: WParam the row (column), LParam the wanted
// height (width).
constexpr uint32_t HGM_ADJUSTROWHEIGHT = 4024;
constexpr uint32_t HGM_ADJUSTCOLWIDTH = 4025;

// The look of one side of a cell.
class ThgBorder {
public:
    ThgBorderStyle Style() const { return style_; }
    void SetStyle(ThgBorderStyle v) { style_ = v; }
    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }
    TColor Color() const { return color_; }
    void SetColor(TColor v) { color_ = v; }
    void Assign(const ThgBorder& other);
    friend bool operator==(const ThgBorder& a, const ThgBorder& b) {
        return a.style_ == b.style_ && a.width_ == b.width_ && a.color_ == b.color_;
    }

private:
    ThgBorderStyle style_ = hgbrdNone;
    int width_ = 1;
    TColor color_ = clBlack;
};

// What the cell-text painter needs.
struct THgDrawInfo {
    TCanvas* Canvas = nullptr;
    ThgVAlignment VAlign = hgvaTop;
    TAlignment HAlign = taLeftJustify;
    std::string Text;
    TRect Rect;  // the area still free for the text
    int HMargin = 2;
    int VMargin = 2;
    ThgClipStyle ClipStyle = hgclpClip;
    int Col = 0, Row = 0;
    THyperGrid* Grid = nullptr;  // receives the enlargement requests
    TGridDrawState State;
};

// The sizes of a rectangle whose Right and Bottom edges count as inside it.
inline int BothEdgesWidth(const TRect& r) { return r.Right - r.Left + 1; }
inline int BothEdgesHeight(const TRect& r) { return r.Bottom - r.Top + 1; }

// Border sides as DrawBorderLine takes them.
constexpr int hgSideTop = 0;
constexpr int hgSideBottom = 1;
constexpr int hgSideLeft = 2;
constexpr int hgSideRight = 3;

// Draws one side from p1 towards p2 (the end point left out), growing into the
// cell; answers the pixels it took (0 for hgbrdNone, Width + 2 for a double line).
int DrawBorderLine(TCanvas& canvas, TPoint p1, TPoint p2, int side, const ThgBorder& border);
// Draws the four sides inside r and shrinks r by what each took.
void DrawCellBorders(TCanvas& canvas, TRect& r, const ThgBorder& top, const ThgBorder& left,
                     const ThgBorder& bottom, const ThgBorder& right);
// The colours of a cut; bvSpace leaves the colours as they were given.
void BevelColors(TBevelCut cut, TColor& topLeft, TColor& bottomRight);
// An outer 1-pixel 3-D frame, then for an inner cut a face-coloured frame and the
// inner frame; r shrinks by each frame.
void DrawBevels(TCanvas& canvas, TRect& r, TBevelCut outer, TBevelCut inner);
// Draws Info.Text in Info.Rect by the alignments and clip style, first posting
// HGM_ADJUSTROWHEIGHT and HGM_ADJUSTCOLWIDTH when the text does not fit and the
// grid asks for it.
void DrawCellText(THgDrawInfo& info);

// 0 month first, 1 day first, 2 year first, from the locale's short date format.
int DateOrder();
bool StartsWith(const std::string& prefix, const std::string& s);

constexpr int hgDateFormatCount = 11;
constexpr int hgTimeFormatCount = 4;
// The display pattern of a DateFormat (0..10) in a date order, and of a
// TimeFormat (0..3); an index outside the table gives "" (no date or time part).
std::string DateFormatPattern(int index, int order);
std::string TimeFormatPattern(int index);

} // namespace zeko
