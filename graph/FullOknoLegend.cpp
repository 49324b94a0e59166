// The day graph's legend column, voltage boxes, cursor markers and frame.
#include "graph/FullOkno.h"

#include "platform/FormatPatterns.h"
#include "platform/FormatSettings.h"
#include "platform/qt/QtText.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

namespace zeko::graph {

namespace {

constexpr int BoxHeight = 28;
constexpr int UpperSlot = 29;
constexpr int SmallBoxHeight = 18;
constexpr int LowerSlot = 19;
constexpr int StripeWidth = 4;

// A legend value with `decimals` places; beyond six digits before the point it
// is written with an exponent.
std::string LegendValueText(double value, int decimals) {
    if (std::fabs(value) >= 1e6)
        return FormatFloat("0.#####E+0", value);
    return FormatFixed(value, decimals);
}

// A value's whole part as a number that fits, also for a value a damaged record
// made too large for one.
int64_t WholePart(double value) { return static_cast<int64_t>(std::trunc(std::clamp(value, -9e15, 9e15))); }

// Text clipped to the inside of a box, over what the box already shows.
void BoxText(TCanvas& c, const TRect& inside, int x, int y, const std::string& text, TColor colour) {
    c.Font().SetColor(colour);
    const TBrushStyle style = c.Brush().Style();
    c.Brush().SetStyle(bsClear);
    c.TextRect(inside, x, y, text);
    c.Brush().SetStyle(style);
}

} // namespace

bool TFullOkno::LegendValue(const TSet& set, int minute, int gapLimit, double& value) {
    const std::vector<TGraphPoint>& points = set.Points();
    if (points.empty())
        return false;
    const TGraphPoint* at = nullptr;
    for (const TGraphPoint& p : points)
        if (p.Minute <= minute && (!at || p.Minute >= at->Minute))
            at = &p;
    if (!at || !std::isfinite(at->Value))
        return false;
    if (int64_t{minute} - at->Minute >= gapLimit || int64_t{minute} - points.back().Minute >= gapLimit)
        return false;
    value = at->Value;
    return true;
}

void TFullOkno::DrawLegend(int Minute) {
    TCanvas& c = *BufferCanvas;
    const std::string fontName = c.Font().Name();
    const TColor fontColour = c.Font().Color();
    c.Font().SetName("Arial");
    c.Font().SetStyle(TFontStyles{fsBold});
    const int x = GraphWidth - UpperFrame.Right + 5;
    const int boxWidth = BufferWidth - 3 - x;
    double value = 0;
    for (int i = 1; i <= NumSeries; ++i) {
        const TSet& set = Series[i];
        SeriesBoxes[i] = {};
        if (set.Count() > 0 && LegendValue(set, Minute, set.GapLimit, value))
            DrawLegendBox(x, UpperFrame.Top + 3 + (i - 1) * UpperSlot, boxWidth, Captions[i],
                          LegendValueText(value, Decimals[i]), Units[i], set.Color, SeriesBoxes[i], set.Visible,
                          false, "");
    }
    if (!SingleGraf)
        for (int j = 1; j <= NumSeries2; ++j) {
            const TSet& set = LowerSeries[j];
            LowerBoxes[j] = {};
            if (set.Count() > 0 && LegendValue(set, Minute, set.GapLimit, value))
                DrawLegendBox2(x, SplitY + LowerFrame.Top + 3 + (j - 1) * LowerSlot, set.Visible, LowerBoxes[j],
                               set.Color,
                               MinutesToText(static_cast<int>(std::clamp<int64_t>(WholePart(value), INT_MIN, INT_MAX))),
                               "St." + std::to_string(j));
        }
    CosPhiBox = {};
    if (KresliUcinik && CosPhiSeries.Count() > 0 &&
        LegendValue(CosPhiSeries, Minute, CosPhiSeries.GapLimit, value))
        DrawLegendBox(x, CosPhiY - 14, boxWidth, "Cos fi:", FormatFixed(value, 2), "",
                      value >= 0 ? CosPhiSeries.Color : CosPhiSeries.NegativeColor, CosPhiBox,
                      CosPhiSeries.Visible, false, "");
    auto bottomText = [&](int left, int right, const std::string& text) {
        const TRect area{left, height() - 17, right, height() - 3};
        BlankRect(area);
        c.Font().SetColor(clBlack);
        c.Brush().SetColor(BackColor);
        c.TextOut(area.Left, area.Top, text);
    };
    if (RegMaxDrawing)
        bottomText(GraphWidth - 100, GraphWidth - 20,
                   "Reg.max: " + std::to_string(static_cast<int64_t>(std::trunc(RegMaxAt(Minute)))));
    if (KresliSjednaneOdbery && ContractedSeries.Count() > 0 && LegendValue(ContractedSeries, Minute, 65, value))
        bottomText(GraphWidth - 200, GraphWidth - 100,
                   "Sjednáno:" + std::to_string(WholePart(value)));
    c.Font().SetStyle(TFontStyles{});
    c.Font().SetColor(clBlack);
    if (DateDrawing) {
        const std::string text = U(FormatSettings().ShortDayNames[DayOfWeek(GraphDate) - 1] + "  " +
                                   DateToStr(GraphDate))
                                     .toUpper()
                                     .toStdString();
        c.Brush().SetColor(BackColor);
        c.Brush().SetStyle(bsSolid);
        c.TextOut(BufferWidth - c.TextWidth(text) - 5, BufferHeight - 17, text);
    }
    c.Font().SetName(fontName);
    c.Font().SetColor(fontColour);
}

TRect TFullOkno::LegendBoxFrame(const TRect& r, TColor colour) {
    TCanvas& c = *BufferCanvas;
    c.Pen().SetColor(clBlack);
    c.Pen().SetWidth(1);
    c.Pen().SetStyle(psSolid);
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(BoxColor);
    c.Rectangle(r);
    c.Brush().SetColor(colour);
    c.FillRect({r.Right - 1 - StripeWidth, r.Top + 1, r.Right - 1, r.Bottom - 1});
    c.Brush().SetColor(BoxColor);
    return {r.Left + 1, r.Top + 1, r.Right - 1 - StripeWidth, r.Bottom - 1};
}

void TFullOkno::DrawLegendBox(int X, int Y, int Width, const std::string& Caption, const std::string& ValueText,
                              const std::string& UnitText, TColor Colour, TRect& Box, bool Visible, bool ShowExtra,
                              const std::string& ExtraText) {
    TCanvas& c = *BufferCanvas;
    Box = {X, Y, X + Width, Y + BoxHeight};
    const TRect inside = LegendBoxFrame(Box, Colour);
    const int half = Y + BoxHeight / 2;
    BoxText(c, {inside.Left, inside.Top, inside.Right, half}, X + 3, Y + 1, Caption, clBlack);
    const TRect lower{inside.Left, half, inside.Right, inside.Bottom};
    int unitX = X + Width - c.TextWidth("kVArh") - 9;
    if (ShowExtra) {
        const int extraX = inside.Right - 2 - c.TextWidth(ExtraText);
        BoxText(c, lower, extraX, half, ExtraText, clBlack);
        unitX = extraX - 3 - c.TextWidth(UnitText);
    }
    BoxText(c, lower, unitX, half, UnitText, clBlack);
    BoxText(c, lower, unitX - 5 - c.TextWidth(ValueText), half, ValueText, Colour);
    if (CanDblClick && !Visible)
        BoxText(c, lower, X + 3, half, "x", clBlack);
}

void TFullOkno::DrawLegendBox2(int X, int Y, bool Visible, TRect& Box, TColor Colour, const std::string& ValueText,
                               const std::string& Caption) {
    TCanvas& c = *BufferCanvas;
    Box = {X, Y, width() - 3, Y + SmallBoxHeight};
    const TRect inside = LegendBoxFrame(Box, Colour);
    const int textY = Y + (SmallBoxHeight - c.TextHeight(Caption)) / 2;
    BoxText(c, inside, X + 3, textY, Caption, clBlack);
    if (CanDblClick && !Visible)
        BoxText(c, inside, X + 3 + c.TextWidth(Caption) + 5, textY, "x", clBlack);
    BoxText(c, inside, Box.Right - 5 - c.TextWidth("99:99  "), textY, ValueText, Colour);
}

void TFullOkno::DrawMinMaxBoxes() {
    if (!ShowMinMaxValues)
        return;
    TCanvas& c = *BufferCanvas;
    const std::string fontName = c.Font().Name();
    c.Font().SetName("Arial");
    c.Font().SetStyle(TFontStyles{fsBold});
    TRect box;
    for (int k = 0; k < VoltageCount; ++k)
        DrawLegendBox(UpperFrame.Left + 110 * k, 5, 100, VoltageNames[k], FormatFixed(Voltages[k], 2), "V",
                      k % 2 == 0 ? clBlue : clRed, box, true, true, PercentText(VoltageDeviations[k]));
    c.Font().SetName(fontName);
    c.Font().SetStyle(TFontStyles{});
}

// ---------------------------------------------------------------- cursor

void TFullOkno::DrawArrow(int x, int top, int bottom, bool headDown, bool headUp) {
    TCanvas& c = *BufferCanvas;
    c.FillRect({x, top, x + 1, bottom + 1});
    for (int i = 1; i <= 3; ++i) {
        if (headDown)
            c.FillRect({x - i, bottom - i, x + i + 1, bottom - i + 1});
        if (headUp)
            c.FillRect({x - i, top + i, x + i + 1, top + i + 1});
    }
}

void TFullOkno::DrawCursorMarker() {
    TCanvas& c = *BufferCanvas;
    c.Pen().SetWidth(1);
    c.Pen().SetStyle(psSolid);
    c.Brush().SetStyle(bsSolid);
    const int upperTop = UpperFrame.Top - 17, upperBottom = UpperFrame.Top - 3;
    const int lowerTop = SplitY + LowerFrame.Top - 17, lowerBottom = SplitY + LowerFrame.Top - 3;
    const int footTop = height() - 18, footBottom = height() - 4;
    for (const auto& [top, bottom] : {std::pair{upperTop, upperBottom}, std::pair{lowerTop, lowerBottom},
                                      std::pair{footTop, footBottom}})
        BlankRect({OldCursorX - 4, top, OldCursorX + 5, bottom + 1});
    c.Brush().SetColor(CursorColor);
    DrawArrow(CursorX, upperTop, upperBottom, true, false);
    if (!SingleGraf)
        DrawArrow(CursorX, lowerTop, lowerBottom, true, true);
    DrawArrow(CursorX, footTop, footBottom, false, true);
    DrawCursorTime();
}

void TFullOkno::DrawCursorTime() {
    TCanvas& c = *BufferCanvas;
    const int minute = XToMinute(CursorX);
    c.Font().SetStyle(TFontStyles{});
    c.Font().SetColor(clBlack);
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(BackColor);
    c.TextOut(GraphWidth / 2, height() - 17, MinutesToText(minute));
    DrawLegend(minute);
}

void TFullOkno::DrawBorder() {
    if (!BorderDrawing)
        return;
    TCanvas& c = *BufferCanvas;
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(clWhite);
    c.FrameRect({1, 1, width() - 1, height() - 1});
    c.FrameRect({2, 2, width() - 2, height() - 2});
}

std::string TFullOkno::MinutesToText(int N) {
    if (N >= 1441)
        N -= 1440;
    char text[16];
    std::snprintf(text, sizeof text, "%.2d:%.2d", N / 60, N % 60);
    return text;
}

std::string TFullOkno::PercentText(double V) {
    const std::string digits = FormatFixed(std::fabs(V), 2) + "%";
    if (V > 0)
        return "+" + digits;
    if (V < 0)
        return "-" + digits;
    return digits;
}

void TFullOkno::TextOutRotated(TCanvas& Canvas, int X, const std::string& Text, int Angle, int Y) {
    if (!Text.empty())
        Canvas.TextOutRotated(X, Y, Text, Angle * 10);
}

} // namespace zeko::graph
