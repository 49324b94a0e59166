// The day graph's grids, axes and series.
#include "graph/FullOkno.h"

#include "graph/ValueRows.h"

#include "platform/FormatSettings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zeko::graph {

namespace {

// The points of a set that can be drawn: those with a finite value.
std::vector<TGraphPoint> DrawablePoints(const TSet& set) {
    std::vector<TGraphPoint> points;
    points.reserve(set.Points().size());
    for (const TGraphPoint& p : set.Points())
        if (std::isfinite(p.Value))
            points.push_back(p);
    return points;
}

// Whether point k is followed by a gap: it is the last, or the next one lies
// `gapLimit` or more minutes later, or earlier.
bool EndsRun(const std::vector<TGraphPoint>& points, size_t k, int gapLimit) {
    if (k + 1 >= points.size())
        return true;
    const int64_t d = int64_t{points[k + 1].Minute} - points[k].Minute;
    return d >= gapLimit || d < 0;
}

// Whether point k joins the one before it.
bool JoinsPrevious(const std::vector<TGraphPoint>& points, size_t k, int gapLimit) {
    if (k == 0)
        return false;
    const int64_t d = int64_t{points[k].Minute} - points[k - 1].Minute;
    return d >= 0 && d < gapLimit;
}

} // namespace

void TFullOkno::HoldSegment(int x, int y, int untilMinute) {
    BufferCanvas->MoveTo(x, y);
    BufferCanvas->LineTo(MinuteToX(untilMinute), y);
}

// ---------------------------------------------------------------- grids

void TFullOkno::TimeGridLines(int fromY, int toY) {
    TCanvas& c = *BufferCanvas;
    c.Pen().SetColor(GridColor);
    c.Pen().SetStyle(GridStyle);
    c.Pen().SetWidth(1);
    // The labels of the upper time axis stand inside a grid when the range reaches
    // below zero, and on a page the power-factor band may begin under them: the
    // lines leave them free.
    int gapTop = 0, gapBottom = -1;
    UpperLabelGap(gapTop, gapBottom);
    const int low = std::max(fromY, toY), high = std::min(fromY, toY);
    const bool gap = gapTop < low && gapBottom > high;
    for (int k = 1; k * TimeStep <= ViewEnd - ViewStart; ++k) {
        const int x = MinuteToX(ViewStart + k * TimeStep);
        if (!gap) {
            c.MoveTo(x, fromY);
            c.LineTo(x, toY);
            continue;
        }
        if (gapBottom < low) {
            c.MoveTo(x, low);
            c.LineTo(x, gapBottom);
        }
        if (gapTop > high) {
            c.MoveTo(x, gapTop);
            c.LineTo(x, high);
        }
    }
}

void TFullOkno::DrawValueGrid(const TRect& frame, int top, int bottom, double pixelsPerStep, int64_t first,
                              int64_t last) {
    if (!Grid)
        return;
    TCanvas& c = *BufferCanvas;
    TimeGridLines(bottom - 4, top);
    ForEachValueRow(bottom, top, pixelsPerStep, first, last, false, [&](int y, int64_t) {
        c.MoveTo(frame.Left + TickSize + 2, y);
        c.LineTo(GraphWidth - frame.Right, y);
    });
    c.Pen().SetStyle(psSolid);
}

void TFullOkno::TimeLabelRows(int Y, int LabelOffset, int& top, int& bottom) const {
    top = Y + 2 * LabelOffset;
    bottom = top + BufferCanvas->TextHeight("0");
}

void TFullOkno::UpperLabelGap(int& top, int& bottom) const {
    int labelTop = 0;
    TimeLabelRows(UpperZeroY(), upperLabelOffset_, labelTop, bottom);
    top = UpperZeroY();
    bottom += 1;
}

void TFullOkno::DrawGrid() {
    DrawValueGrid(UpperFrame, UpperFrame.Top, SplitY - UpperFrame.Bottom, YStep * YScale, 0, UpperSteps() + 1);
}

void TFullOkno::DrawLowerGrid() {
    DrawValueGrid(LowerFrame, SplitY + LowerFrame.Top, BufferHeight - LowerFrame.Bottom, YStep2 * YScale2, 1,
                  YMax2 / YStep2 + 1);
}

void TFullOkno::DrawCosPhiGrid() {
    if (!Grid)
        return;
    TCanvas& c = *BufferCanvas;
    TimeGridLines(CosPhiY - CosPhiHalf, CosPhiY + CosPhiHalf);
    for (const int y : {CosPhiY - CosPhiHalf, CosPhiY - CosPhiHalf / 2, CosPhiY + CosPhiHalf / 2,
                        CosPhiY + CosPhiHalf}) {
        c.MoveTo(UpperFrame.Left, y);
        c.LineTo(GraphWidth - UpperFrame.Right, y);
    }
    c.Pen().SetStyle(psSolid);
}

// ---------------------------------------------------------------- axes

namespace {

// Pen and font of an axis: 4 pixels and bold on a page.
void AxisPen(TCanvas& c, TColor color, int weight) {
    c.Pen().SetColor(color);
    c.Pen().SetStyle(psSolid);
    c.Pen().SetWidth(weight > 1 ? 4 : 1);
    c.Font().SetStyle(weight > 1 ? TFontStyles{fsBold} : TFontStyles{});
    c.Brush().SetStyle(bsClear);
}

void EndAxisPen(TCanvas& c) {
    c.Pen().SetWidth(1);
    c.Font().SetStyle(TFontStyles{});
    c.Brush().SetStyle(bsSolid);
}

// A tick across the vertical axis at x, with its label right-aligned left of it.
// The label 2 pixels left of the tick and 5 above its row on the screen; on a page
// (weight above 1) those distances grow with the weight, as the pens do, so that
// the label stands beside its row there too.
void ValueTick(TCanvas& c, int x, int y, int tick, const std::string& label, int weight) {
    c.MoveTo(x - tick, y);
    c.LineTo(x + tick, y);
    const int w = std::max(1, weight);
    c.TextOut(x - tick - 2 * w - c.TextWidth(label), y - 5 * w, label);
}

std::string BandEdgeText(const char* sign, float edge) {
    return edge == 0 ? std::string("0") : sign + FormatFixed(edge, 2);
}

} // namespace

void TFullOkno::DrawTimeAxis(int Y, int Weight, int LabelOffset) {
    TCanvas& c = *BufferCanvas;
    AxisPen(c, AxisColor, Weight);
    c.MoveTo(UpperFrame.Left, Y);
    c.LineTo(GraphWidth - UpperFrame.Right, Y);
    if (TimeStep <= 0)
        return EndAxisPen(c);
    for (int m = ViewStart;; m += TimeStep) {
        const int x = MinuteToX(m);
        c.MoveTo(x, Y - TickSize);
        c.LineTo(x, Y + TickSize);
        if (AxisLabels) {
            char label[16];
            if (TimeStep < 60)
                std::snprintf(label, sizeof label, "%d:%.2d", m / 60, m % 60);
            else
                std::snprintf(label, sizeof label, "%d", m / 60);
            // On a page the hour stands centred under its tick, clear of the
            // value axis' label at the corner.
            const int left = Weight > 1 ? x - c.TextWidth(label) / 2 : x - 5;
            c.TextOut(left, Y + 2 * LabelOffset, label);
        }
        if (m >= ViewEnd)
            break;
    }
    EndAxisPen(c);
}

void TFullOkno::DrawYAxes(int Weight) {
    TCanvas& c = *BufferCanvas;
    AxisPen(c, AxisColor, Weight);
    const int upperBottom = SplitY - UpperFrame.Bottom;
    c.MoveTo(UpperFrame.Left, UpperFrame.Top);
    c.LineTo(UpperFrame.Left, upperBottom);
    ForEachValueRow(upperBottom, UpperFrame.Top, YStep * YScale, 0, UpperSteps() + 1, false, [&](int y, int64_t k) {
        ValueTick(c, UpperFrame.Left, y, TickSize, std::to_string(k * YStep - NegativeRange), Weight);
    });
    if (!SingleGraf) {
        const int bottom = BufferHeight - LowerFrame.Bottom;
        const int top = SplitY + LowerFrame.Top;
        c.MoveTo(LowerFrame.Left, top);
        c.LineTo(LowerFrame.Left, bottom);
        ValueTick(c, LowerFrame.Left, bottom, TickSize, "0", Weight);
        ForEachValueRow(bottom, top, YStep2 * YScale2, 1, YMax2 / YStep2 + 1, false, [&](int y, int64_t k) {
            ValueTick(c, LowerFrame.Left, y, TickSize, std::to_string(k * YStep2), Weight);
        });
        c.TextOut(UpperFrame.Left / 5, SplitY - 12, "[sec]");
    }
    if (KresliUcinik) {
        c.MoveTo(LowerFrame.Left, CosPhiY - CosPhiHalf);
        c.LineTo(LowerFrame.Left, CosPhiY + CosPhiHalf);
        ValueTick(c, LowerFrame.Left, CosPhiY, TickSize, "1", Weight);
        ValueTick(c, LowerFrame.Left, CosPhiY - CosPhiHalf, TickSize, BandEdgeText("+", YMinUcinikKl), Weight);
        ValueTick(c, LowerFrame.Left, CosPhiY + CosPhiHalf, TickSize, BandEdgeText(" -", YMinUcinikZap), Weight);
    }
    EndAxisPen(c);
}

// ---------------------------------------------------------------- series

void TFullOkno::RenderJoined(const TSet& Set, int BaseY, double Scale, int BottomMargin, bool stepped) {
    TCanvas& c = *BufferCanvas;
    const std::vector<TGraphPoint> points = DrawablePoints(Set);
    // A line may run up out of the plot, which the margins blank; a step stays on
    // the picture.
    const double highest = stepped ? 0 : -CoordinateMargin;
    int px = 0, py = 0;
    for (size_t k = 0; k < points.size(); ++k) {
        const int x = MinuteToX(points[k].Minute);
        const int y = HeldY(BaseY - BottomMargin - points[k].Value * Scale, highest);
        c.MoveTo(x, y);
        if (JoinsPrevious(points, k, Set.GapLimit)) {
            if (stepped)
                c.LineTo(x, py);
            c.LineTo(px, py);
        }
        if (EndsRun(points, k, Set.GapLimit))
            HoldSegment(x, y, points[k].Minute + Set.GapLimit - 1);
        px = x;
        py = y;
    }
}

void TFullOkno::RenderLine(const TSet& Set, int BaseY, double Scale, int BottomMargin) {
    RenderJoined(Set, BaseY, Scale, BottomMargin, false);
}

void TFullOkno::RenderStep(const TSet& Set, int BaseY, double Scale, int BottomMargin) {
    RenderJoined(Set, BaseY, Scale, BottomMargin, true);
}

void TFullOkno::RenderBar(const TSet& Set, int BaseY, double Scale, int BottomMargin, int Index, int Count,
                          int BarWidth) {
    TCanvas& c = *BufferCanvas;
    const int base = BaseY - BottomMargin;
    const int n = std::max(1, Count);
    for (const TGraphPoint& p : DrawablePoints(Set)) {
        const int x = MinuteToX(p.Minute);
        const int y = HeldY(base - p.Value * Scale, 0);
        if (n * 3 <= BarWidth) {
            const int left = x + (Index - 1) * BarWidth / n;
            const int right = x + BarWidth / n + (Index - 1) * BarWidth / n;
            c.Pen().SetColor(BarFrameColor);
            c.Pen().SetWidth(1);
            c.Brush().SetColor(Set.Color);
            c.Rectangle(left, std::min(y, base), right, std::max(y, base));
        } else {
            c.MoveTo(x, base);
            c.LineTo(x, y);
            c.LineTo(x + BarWidth / 2, y);
            c.LineTo(x + BarWidth / 2, base);
        }
    }
    c.Pen().SetColor(Set.Color);
}

int64_t TFullOkno::UpperSteps() const { return (int64_t{YMax} + NegativeRange) / std::max(1, YStep); }

int TFullOkno::BarWidth() const {
    const int minutes = ViewEnd - ViewStart;
    if (minutes <= 0)
        return 0;
    return (GraphWidth - UpperFrame.Left - UpperFrame.Right) * BarMinutes / minutes - 5;
}

void TFullOkno::DrawBand(const TSet& set) {
    TCanvas& c = *BufferCanvas;
    const std::vector<TGraphPoint> points = DrawablePoints(set);
    auto upper = [&](double v) { return v * (1 + set.BandPlus / 100.0); };
    auto lower = [&](double v) { return v * (100 - set.BandMinus) / 100.0; };
    const int width = c.Pen().Width();
    c.Brush().SetStyle(bsDiagCross);
    c.Brush().SetColor(set.Color - 48);
    c.Pen().SetColor(BackColor);
    c.Pen().SetWidth(1);
    for (size_t k = 1; k < points.size(); ++k) {
        const TGraphPoint& a = points[k - 1];
        const TGraphPoint& b = points[k];
        c.Polygon({{MinuteToX(a.Minute), UpperValueToY(upper(a.Value))},
                   {MinuteToX(b.Minute), UpperValueToY(upper(b.Value))},
                   {MinuteToX(b.Minute), UpperValueToY(lower(b.Value))},
                   {MinuteToX(a.Minute), UpperValueToY(lower(a.Value))}});
    }
    c.Brush().SetStyle(bsSolid);
    c.Pen().SetColor(set.Color);
    c.Pen().SetStyle(psDashDot);
    for (auto edge : {+1, -1}) {
        TSet copy;
        copy.Color = set.Color;
        copy.Visible = set.Visible;
        copy.GapLimit = set.GapLimit;
        for (const TGraphPoint& p : points)
            copy.Add({p.Minute, edge > 0 ? upper(p.Value) : lower(p.Value)});
        RenderLine(copy, SplitY - NegativeHeight, YScale, UpperFrame.Bottom);
    }
    c.Pen().SetStyle(psSolid);
    c.Pen().SetWidth(width);
}

void TFullOkno::DrawUpperOne(const TSet& set, int index, bool print) {
    TCanvas& c = *BufferCanvas;
    const int base = SplitY - NegativeHeight;
    c.Pen().SetColor(set.Color);
    c.Brush().SetColor(set.Color);
    c.Brush().SetStyle(print ? bsFDiagonal : bsSolid);
    switch (GrafStyl) {
    case Line:
        if (set.Band)
            DrawBand(set);
        RenderLine(set, base, YScale, UpperFrame.Bottom);
        break;
    case Step: RenderStep(set, base, YScale, UpperFrame.Bottom); break;
    case Bar: RenderBar(set, base, YScale, UpperFrame.Bottom, index, NumSeries, BarWidth()); break;
    }
}

void TFullOkno::DrawUpperSeries(int Mode, bool Print) {
    TCanvas& c = *BufferCanvas;
    const int width = Mode == ScreenMode ? 2 : 4;
    for (int i = 1; i <= NumSeries; ++i) {
        if (!Series[i].Visible)
            continue;
        c.Pen().SetWidth(width);
        c.Pen().SetStyle(psSolid);
        DrawUpperOne(Series[i], i, Print);
    }
    c.Brush().SetStyle(bsSolid);
    c.Pen().SetWidth(2);
    c.Pen().SetColor(RegMaxColor);
    DrawRegulatedMaxima();
    if (KresliSjednaneOdbery && !Print)
        DrawContractedDemand();
    c.Pen().SetWidth(1);
    BlankRect({0, 0, UpperFrame.Left, SplitY});
    BlankRect({GraphWidth - UpperFrame.Right + 1, 0, BufferWidth, SplitY});
    BlankRect({0, 0, BufferWidth, UpperFrame.Top});
}

void TFullOkno::DrawLowerSeries(int Mode, bool Print) {
    TCanvas& c = *BufferCanvas;
    const int width = Mode == ScreenMode ? 2 : 4;
    for (int j = 1; j <= NumSeries2; ++j) {
        const TSet& set = LowerSeries[j];
        if (!set.Visible)
            continue;
        c.Pen().SetWidth(width);
        c.Pen().SetStyle(psSolid);
        c.Pen().SetColor(set.Color);
        c.Brush().SetColor(set.Color);
        c.Brush().SetStyle(Print ? bsFDiagonal : bsSolid);
        switch (GrafStyl) {
        case Line: RenderLine(set, BufferHeight, YScale2, LowerFrame.Bottom); break;
        case Step: RenderStep(set, BufferHeight, YScale2, LowerFrame.Bottom); break;
        case Bar: RenderBar(set, BufferHeight, YScale2, LowerFrame.Bottom, j, LowerSeriesCount, BarWidth()); break;
        }
    }
    c.Brush().SetStyle(bsSolid);
    c.Pen().SetWidth(1);
    BlankRect({0, SplitY, LowerFrame.Left, BufferHeight});
    BlankRect({GraphWidth - LowerFrame.Right + 1, SplitY, BufferWidth, BufferHeight});
    BlankRect({0, 0, BufferWidth, SplitY});
}

// ---------------------------------------------------------------- power factor

void TFullOkno::DrawCosPhiLine(bool stepped) {
    TCanvas& c = *BufferCanvas;
    const std::vector<TGraphPoint> points = DrawablePoints(CosPhiSeries);
    auto colourOf = [&](double v) { return v >= 0 ? CosPhiSeries.Color : CosPhiSeries.NegativeColor; };
    const int gap = CosPhiSeries.GapLimit;
    for (size_t k = 0; k < points.size(); ++k) {
        const int x = MinuteToX(points[k].Minute);
        const int y = CosPhiToY(points[k].Value);
        if (JoinsPrevious(points, k, gap)) {
            const int px = MinuteToX(points[k - 1].Minute);
            const int py = CosPhiToY(points[k - 1].Value);
            c.Pen().SetColor(colourOf(points[k - 1].Value));
            c.MoveTo(x, y);
            if (stepped)
                c.LineTo(x, py);
            c.LineTo(px, py);
        }
        if (EndsRun(points, k, gap)) {
            c.Pen().SetColor(colourOf(points[k].Value));
            HoldSegment(x, y, points[k].Minute + gap - 1);
        }
    }
}

void TFullOkno::DrawCosPhiBars() {
    TCanvas& c = *BufferCanvas;
    const int minutes = ViewEnd - ViewStart;
    const int w = minutes > 0 ? (GraphWidth - UpperFrame.Left - UpperFrame.Right) * 15 / minutes - 5 : 0;
    for (const TGraphPoint& p : DrawablePoints(CosPhiSeries)) {
        const TColor colour = p.Value >= 0 ? CosPhiSeries.Color : CosPhiSeries.NegativeColor;
        const int x = MinuteToX(p.Minute);
        const int y = CosPhiToY(p.Value);
        if (w > 2) {
            c.Pen().SetColor(clBlack);
            c.Pen().SetWidth(1);
            c.Brush().SetColor(colour);
            c.Rectangle(x, std::min(y, CosPhiY), x + w, std::max(y, CosPhiY) + 1);
        } else {
            c.Pen().SetColor(colour);
            c.MoveTo(x, CosPhiY);
            c.LineTo(x, y);
            c.LineTo(x + w / 2, y);
            c.LineTo(x + w / 2, CosPhiY);
        }
    }
}

void TFullOkno::DrawCosPhiSeries(bool Print) {
    TCanvas& c = *BufferCanvas;
    if (CosPhiSeries.Visible) {
        c.Pen().SetWidth(2);
        c.Pen().SetStyle(psSolid);
        c.Brush().SetStyle(Print ? bsFDiagonal : bsSolid);
        switch (GrafStyl) {
        case Line: DrawCosPhiLine(false); break;
        case Step: DrawCosPhiLine(true); break;
        case Bar: DrawCosPhiBars(); break;
        }
        c.Brush().SetStyle(bsSolid);
        c.Pen().SetWidth(1);
    }
    const int top = CosPhiY - CosPhiHalf - 2, bottom = CosPhiY + CosPhiHalf + 3;
    BlankRect({0, top, UpperFrame.Left, bottom});
    BlankRect({GraphWidth - UpperFrame.Right + 1, top, BufferWidth, bottom});
}

// ---------------------------------------------------------------- step lines

void TFullOkno::DrawContractedDemand() {
    TCanvas& c = *BufferCanvas;
    c.Pen().SetColor(ContractedSeries.Color);
    RenderStep(ContractedSeries, SplitY - NegativeHeight, YScale, UpperFrame.Bottom);
}

namespace {

int MinuteOfDay(TDateTime time) {
    const TimeParts t = DecodeTime(time);
    return t.Hour * 60 + t.Minute;
}

} // namespace

void TFullOkno::DrawRegulatedMaxima() {
    TCanvas& c = *BufferCanvas;
    for (size_t k = 0; k < RegMaxList.size(); ++k) {
        const int x = MinuteToX(MinuteOfDay(RegMaxList[k].Time));
        const int y = UpperValueToY(RegMaxList[k].Value);
        if (k > 0) {
            const int py = UpperValueToY(RegMaxList[k - 1].Value);
            c.MoveTo(MinuteToX(MinuteOfDay(RegMaxList[k - 1].Time)), py);
            c.LineTo(x, py);
            c.LineTo(x, y);
        }
        if (k + 1 == RegMaxList.size()) {
            c.MoveTo(x, y);
            c.LineTo(GraphWidth - UpperFrame.Right, y);
        }
    }
}

double TFullOkno::RegMaxAt(int Minute) const {
    if (RegMaxList.empty())
        return 0;
    const int m = std::clamp(Minute, 0, 1440);
    double value = RegMaxList.front().Value;
    for (const TRegMaxItem& item : RegMaxList)
        if (MinuteOfDay(item.Time) <= m)
            value = item.Value;
    return value;
}

} // namespace zeko::graph
