#include "grids/HgGlobal.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "grids/HgGrid.h"
#include "platform/FormatSettings.h"

namespace zeko {

ThgCellStates CellStatesOf(TGridDrawState state) { return ThgCellStates::FromBits(state.Bits() & 0x07); }

void ThgBorder::Assign(const ThgBorder& other) {
    style_ = other.style_;
    width_ = other.width_;
    color_ = other.color_;
}

namespace {

TPenStyle PenStyleOf(ThgBorderStyle style) {
    switch (style) {
    case hgbrdDash: return psDash;
    case hgbrdDot: return psDot;
    case hgbrdDashDot: return psDashDot;
    case hgbrdDashDotDot: return psDashDotDot;
    default: return psSolid;
    }
}

} // namespace

int DrawBorderLine(TCanvas& canvas, TPoint p1, TPoint p2, int side, const ThgBorder& border) {
    if (border.Style() == hgbrdNone)
        return 0;
    TPen& pen = canvas.Pen();
    const TPenMode oldMode = pen.Mode();
    const TColor oldColor = pen.Color();
    const TPenStyle oldStyle = pen.Style();
    pen.SetStyle(PenStyleOf(border.Style()));
    pen.SetMode(pmCopy);
    pen.SetWidth(1);
    pen.SetColor(border.Color());
    static constexpr std::array<TPoint, 4> steps = {TPoint{0, 1}, TPoint{0, -1}, TPoint{1, 0}, TPoint{-1, 0}};
    const TPoint step = steps[side & 3];
    // A negative width would draw outside the cell and make it grow.
    const int width = std::max(0, border.Width());
    int taken;
    if (border.Style() == hgbrdDouble) {
        canvas.MoveTo(p1.X, p1.Y);
        canvas.LineTo(p2.X, p2.Y);
        const int gap = width + 1;
        canvas.MoveTo(p1.X + gap * step.X, p1.Y + gap * step.Y);
        canvas.LineTo(p2.X + gap * step.X, p2.Y + gap * step.Y);
        taken = width + 2;
    } else {
        for (int i = 0; i < width; ++i) {
            canvas.MoveTo(p1.X, p1.Y);
            canvas.LineTo(p2.X, p2.Y);
            p1 = {p1.X + step.X, p1.Y + step.Y};
            p2 = {p2.X + step.X, p2.Y + step.Y};
        }
        taken = width;
    }
    pen.SetMode(oldMode);
    pen.SetColor(oldColor);
    pen.SetStyle(oldStyle);
    return taken;
}

void DrawCellBorders(TCanvas& canvas, TRect& r, const ThgBorder& top, const ThgBorder& left,
                     const ThgBorder& bottom, const ThgBorder& right) {
    const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    r.Top += DrawBorderLine(canvas, {L, T}, {R, T}, hgSideTop, top);
    r.Right -= DrawBorderLine(canvas, {R - 1, T}, {R - 1, B}, hgSideRight, right);
    r.Bottom -= DrawBorderLine(canvas, {R - 1, B - 1}, {L - 1, B - 1}, hgSideBottom, bottom);
    r.Left += DrawBorderLine(canvas, {L, B - 1}, {L, T - 1}, hgSideLeft, left);
}

void BevelColors(TBevelCut cut, TColor& topLeft, TColor& bottomRight) {
    switch (cut) {
    case bvNone:
        topLeft = clBtnFace;
        bottomRight = clBtnFace;
        break;
    case bvLowered:
        topLeft = clBtnShadow;
        bottomRight = clBtnHighlight;
        break;
    case bvRaised:
        topLeft = clBtnHighlight;
        bottomRight = clBtnShadow;
        break;
    case bvSpace: break;
    }
}

void DrawBevels(TCanvas& canvas, TRect& r, TBevelCut outer, TBevelCut inner) {
    if (outer == bvNone && inner == bvNone)
        return;
    TColor topLeft = clBtnFace, bottomRight = clBtnFace;
    if (outer != bvNone) {
        BevelColors(outer, topLeft, bottomRight);
        Frame3D(canvas, r, topLeft, bottomRight, 1);
    }
    if (inner != bvNone) {
        topLeft = bottomRight = clBtnFace;
        Frame3D(canvas, r, topLeft, bottomRight, 1);
        BevelColors(inner, topLeft, bottomRight);
        Frame3D(canvas, r, topLeft, bottomRight, 1);
    }
}

void DrawCellText(THgDrawInfo& info) {
    TCanvas& canvas = *info.Canvas;
    TRect r = info.Rect;
    r.Left += info.HMargin;
    r.Right -= info.HMargin;
    r.Top += info.VMargin;
    r.Bottom -= info.VMargin;
    if (info.State.Contains(gdFixed))
        r.Top -= 2 * info.VMargin;
    uint32_t flags = DT_NOPREFIX | DT_EXPANDTABS;
    if (info.ClipStyle == hgclpEllipsis)
        flags |= DT_END_ELLIPSIS;
    else if (info.ClipStyle == hgclpWrap)
        flags |= DT_WORDBREAK;
    if (info.HAlign == taRightJustify)
        flags |= DT_RIGHT;
    else if (info.HAlign == taCenter)
        flags |= DT_CENTER;
    TRect c = r;
    const int h = canvas.DrawText(info.Text, c, flags | DT_CALCRECT);
    if (info.Grid) {
        if (h > BothEdgesHeight(r) && info.Grid->HyperAdjustRowHeight())
            info.Grid->PostMessage(HGM_ADJUSTROWHEIGHT, static_cast<uintptr_t>(info.Row), h + 2 * info.VMargin);
        if (BothEdgesWidth(c) > BothEdgesWidth(r) && info.Grid->HyperAdjustColWidth())
            info.Grid->PostMessage(HGM_ADJUSTCOLWIDTH, static_cast<uintptr_t>(info.Col),
                                   BothEdgesWidth(c) + 2 * info.HMargin);
    }
    if (h < BothEdgesHeight(r)) {
        if (info.VAlign == hgvaCenter)
            r.Top += (BothEdgesHeight(r) - h) / 2;
        else if (info.VAlign == hgvaBottom)
            r.Top = r.Bottom - h;
    }
    canvas.Brush().SetStyle(bsClear);
    canvas.DrawText(info.Text, r, flags);
}

int DateOrder() {
    for (char ch : FormatSettings().ShortDateFormat) {
        switch (std::toupper(static_cast<unsigned char>(ch))) {
        case 'D': return 1;
        case 'M': return 0;
        case 'Y': return 2;
        default: break;
        }
    }
    return 0;
}

bool StartsWith(const std::string& prefix, const std::string& s) {
    return prefix.size() <= s.size() && s.compare(0, prefix.size(), prefix) == 0;
}

namespace {

// Columns: month first, day first, year first.
constexpr std::array<std::array<const char*, 3>, hgDateFormatCount> DateFormats = {{
    {"m/d", "d/m", "m/d"},
    {"m/d/yy", "d/m/yy", "yy/m/d"},
    {"mm/dd/yy", "dd/mm/yy", "yy/mm/dd"},
    {"d-mmm", "d-mmm", "d-mmm"},
    {"d-mmm-yy", "d-mmm-yy", "d-mmm-yy"},
    {"dd-mmm-yy", "dd-mmm-yy", "dd-mmm-yy"},
    {"mmm-yy", "mmm-yy", "mmm-yy"},
    {"mmmm-yy", "mmmm-yy", "mmmm-yy"},
    {"mmmm d, yyyy", "mmmm d, yyyy", "mmmm d, yyyy"},
    {"ddd mmmm d, yyyy", "ddd mmmm d, yyyy", "ddd mmmm d, yyyy"},
    {"dddd mmmm d, yyyy", "dddd mmmm d, yyyy", "dddd mmmm d, yyyy"},
}};

constexpr std::array<const char*, hgTimeFormatCount> TimeFormats = {"h:nn", "h:nn ampm", "h:nn:ss", "h:nn:ss ampm"};

} // namespace

std::string DateFormatPattern(int index, int order) {
    if (index < 0 || index >= hgDateFormatCount || order < 0 || order > 2)
        return {};
    return DateFormats[index][order];
}

std::string TimeFormatPattern(int index) {
    if (index < 0 || index >= hgTimeFormatCount)
        return {};
    return TimeFormats[index];
}

} // namespace zeko
