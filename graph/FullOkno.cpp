#include "graph/FullOkno.h"

#include "platform/FormatSettings.h"

#include <QPrinter>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace zeko::graph {

namespace {

// The largest axis value the scales work with: NiceScale's result stays a whole
// number of steps below the 32-bit limit.
constexpr int64_t LargestScaleValue = 2000000000;

int ClampToInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

int RoundToInt(double v) {
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(Round(std::clamp(v, double(INT_MIN), double(INT_MAX))));
}

} // namespace

TFullOkno::TFullOkno(QWidget* AOwner) : TGraphicControl(AOwner) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    Font().SetName("Arial");
    Font().SetSize(8);
    Font().SetColor(clBlack);
    BufferCanvas = &Buffer.Canvas();
    MaxMenu = new TPopupMenu(this);
    ViewMenu = new TPopupMenu(this);
    BuildViewMenu();
}

TFullOkno::~TFullOkno() = default;

void TFullOkno::Init(int AWidth, int AHeight) {
    WidthKoef = 0.92;
    setFixedSize(std::max(0, AWidth), std::max(0, AHeight));
    SplitY = height() / 2;
    GraphWidth = RoundToInt(width() * WidthKoef);
    Buffer.SetSize(width(), height());
    UseBuffer();
    const TColor colours[UpperSeriesCount] = {0x0000E0, clBlue, clLime,   clBlack, clAqua,
                                              clYellow, clNavy, clPurple, clSilver};
    for (int i = 1; i <= UpperSeriesCount; ++i) {
        Series[i].Color = colours[i - 1];
        Series[i].Visible = true;
        Series[i].BandPlus = 10;
        Series[i].BandMinus = 5;
        Series[i].GapLimit = 17;
    }
    for (int j = 1; j <= LowerSeriesCount; ++j) {
        LowerSeries[j].Color = colours[j - 1];
        LowerSeries[j].Visible = true;
        LowerSeries[j].GapLimit = 17;
    }
    CosPhiSeries.Color = 0x0000E0;
    CosPhiSeries.NegativeColor = clLime;
    CosPhiSeries.Visible = true;
    CosPhiSeries.GapLimit = 17;
    ContractedSeries.Color = clWhite;
    ContractedSeries.GapLimit = 65;
    // Every other field starts as it is declared.
    GraphDate = Today();
    CursorX = OldCursorX = GraphWidth / 2 + 2;
    CosPhiY = height() - 50;
    BuildMaxMenu();
    Redraw();
}

void TFullOkno::UseBuffer() {
    BufferCanvas = &Buffer.Canvas();
    BufferWidth = Buffer.Width();
    BufferHeight = Buffer.Height();
}

void TFullOkno::Paint() { Canvas().Draw(0, 0, Buffer); }

void TFullOkno::BlankRect(const TRect& r) {
    TCanvas& c = *BufferCanvas;
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(BackColor);
    c.FillRect(r);
}

// ---------------------------------------------------------------- redraw

void TFullOkno::Redraw() {
    TCanvas& c = *BufferCanvas;
    if (Buffer.Empty() && BufferCanvas == &Buffer.Canvas())
        return;
    c.Font().Assign(Font());
    if (FullRedraw) {
        c.Pen().SetColor(BackColor);
        c.Pen().SetStyle(psSolid);
        c.Pen().SetWidth(1);
        c.Brush().SetStyle(bsSolid);
        c.Brush().SetColor(BackColor);
        c.Rectangle(0, 0, BufferWidth, BufferHeight);
        ComputeScales();
        if (!SingleGraf) {
            DrawLowerGrid();
            DrawLowerSeries(ScreenMode, false);
        }
        if (KresliUcinik) {
            DrawCosPhiGrid();
            DrawCosPhiSeries(false);
        }
        DrawGrid();
        DrawUpperSeries(ScreenMode, false);
        DrawYAxes(1);
        DrawTimeAxis(UpperZeroY(), 1, upperLabelOffset_);
        if (!SingleGraf)
            DrawTimeAxis(height() - LowerFrame.Bottom, 1, 2);
        AxisLabels = false;
        if (KresliUcinik)
            DrawTimeAxis(CosPhiY, 1, 2);
        DrawCursorMarker();
        AxisLabels = true;
        FullRedraw = true;
        DrawBorder();
        DrawMinMaxBoxes();
        return;
    }
    const int legendLeft = GraphWidth - UpperFrame.Right + 1;
    BlankRect({legendLeft, 0, width() - 1, SplitY - UpperFrame.Bottom});
    if (!SingleGraf)
        BlankRect({GraphWidth - LowerFrame.Right + 1, SplitY, width() - 1, height() - LowerFrame.Bottom});
    if (KresliUcinik)
        BlankRect({legendLeft, CosPhiY - CosPhiHalf, width() - 1, CosPhiY + CosPhiHalf + 1});
    DrawTimeAxis(UpperZeroY(), 1, upperLabelOffset_);
    DrawCursorMarker();
    FullRedraw = true;
    DrawBorder();
}

void TFullOkno::RedrawAll() {
    FullRedraw = true;
    Redraw();
    Invalidate();
}

// ---------------------------------------------------------------- scales

void TFullOkno::ComputeScales() {
    int s = ViewStart, e = ViewEnd;
    if (e - s < 60) {
        e = s + 60;
        if (e >= 1441) {
            s = 1380;
            e = 1440;
        }
    }
    const int64_t n = Round((e - s) / 15.0);
    TimeStep = n <= 15 ? 15 : n > 30 ? 60 : 30;
    ViewStart = RoundToStep(s, TimeStep);
    ViewEnd = RoundToStep(e, TimeStep);
    PixelsPerMinute = double(GraphWidth - UpperFrame.Left - UpperFrame.Right) / (ViewEnd - ViewStart);

    YMax = NiceScale(YMax, YStep);
    int64_t negative = 0;
    if (YZapMax == 0)
        negative = 0;
    else if (YZapMax <= YStep)
        negative = YStep;
    else if (YZapMax % YStep == 0)
        negative = YZapMax;
    else
        negative = (int64_t{YZapMax} / YStep + 1) * YStep;
    NegativeRange = static_cast<int>(std::min<int64_t>(negative, LargestScaleValue));
    // A window too low for its margins draws everything on the zero line instead
    // of upside down.
    const int upperHeight = std::max(0, SplitY - (UpperFrame.Top + UpperFrame.Bottom));
    YScale = double(upperHeight) / (double(YMax) + NegativeRange);
    NegativeHeight = static_cast<uint16_t>(std::clamp<int64_t>(Round(NegativeRange * YScale), 0, 65535));

    YMax2 = NiceScale(YMax2, YStep2);
    const int lowerHeight = std::max(0, height() - SplitY - (LowerFrame.Top + LowerFrame.Bottom));
    YScale2 = double(lowerHeight) / YMax2;

    const double kl = 1.0 - YMinUcinikKl, zap = 1.0 - YMinUcinikZap;
    CosPhiScaleKl = CosPhiHalf / kl;
    CosPhiScaleZap = CosPhiHalf / zap;
    if (kl == 0 || zap == 0 || !std::isfinite(CosPhiScaleKl) || !std::isfinite(CosPhiScaleZap))
        CosPhiScaleKl = CosPhiScaleZap = CosPhiHalf;
}

int TFullOkno::NiceScale(int Value, int& Step) const {
    const int64_t value = std::min<int64_t>(Value, LargestScaleValue);
    const int64_t d = MaxDivisions;
    if (value <= 0) {
        Step = 1;
        return 1;
    }
    int64_t step = 5000;
    for (const int64_t candidate : {1, 5, 10, 50, 100, 500, 1000})
        if (d > value / candidate) {
            step = candidate;
            break;
        }
    Step = static_cast<int>(step);
    return ClampToInt(value % step == 0 ? value : (value / step + 1) * step);
}

int TFullOkno::RoundToStep(int Minute, int Step) {
    if (Step <= 0)
        return Minute;
    const int q = Minute / Step;
    const int lower = q * Step, upper = (q + 1) * Step;
    return Minute - lower < upper - Minute ? lower : upper;
}

void TFullOkno::PutPoint(TSet& Set, int Minute, double Value, bool Add, bool KeepLarger) {
    if (!std::isfinite(Value))
        return;
    const std::vector<TGraphPoint>& points = Set.Points();
    const auto found = std::find_if(points.begin(), points.end(),
                                    [Minute](const TGraphPoint& p) { return p.Minute == Minute; });
    if (found == points.end()) {
        if (Set.Count() <= maxPocetBodu_)
            Set.Add({Minute, Value});
        return;
    }
    const int index = static_cast<int>(found - points.begin()) + 1;
    TGraphPoint p = *found;
    if (Add)
        p.Value += Value;
    else if (p.Value < Value || !KeepLarger)
        p.Value = Value;
    Set.SetPoint(index, p);
}

// ---------------------------------------------------------------- geometry

int TFullOkno::MinuteToX(double minute) const {
    const double x = (minute - ViewStart) * PixelsPerMinute + UpperFrame.Left;
    return RoundToInt(std::clamp(x, -CoordinateMargin, BufferWidth + CoordinateMargin));
}

int TFullOkno::HeldY(double y, double low) const {
    return RoundToInt(std::clamp(y, low, BufferHeight + CoordinateMargin));
}

int TFullOkno::UpperValueToY(double value) const { return HeldY(UpperZeroY() - value * YScale, -CoordinateMargin); }

int TFullOkno::LowerValueToY(double value) const {
    return HeldY(BufferHeight - LowerFrame.Bottom - value * YScale2, -CoordinateMargin);
}

int TFullOkno::CosPhiToY(double C) const {
    if (!std::isfinite(C))
        return CosPhiY;
    double y;
    if (C >= 0) {
        const double c = std::max<double>(C, YMinUcinikKl);
        y = CosPhiY - (1 - c) * CosPhiScaleKl;
    } else {
        const double c = std::max<double>(-C, YMinUcinikZap);
        y = CosPhiY + (1 - c) * CosPhiScaleZap;
    }
    if (!std::isfinite(y))
        return CosPhiY;
    const int result = HeldY(y, -CoordinateMargin);
    return result == CosPhiY ? result : result + 1;
}

int TFullOkno::XToMinute(int x) const {
    if (PixelsPerMinute <= 0)
        return ViewStart;
    return ViewStart + RoundToInt((x - UpperFrame.Left) / PixelsPerMinute);
}

// ---------------------------------------------------------------- properties

void TFullOkno::SetGrafStyl(TFullOknoStyle value) {
    GrafStyl = value;
    Redraw();
    Invalidate();
}

void TFullOkno::SetNumSeries(int value) { NumSeries = std::clamp(value, 0, UpperSeriesCount); }

void TFullOkno::SetNumSeries2(int value) { NumSeries2 = std::clamp(value, 0, LowerSeriesCount); }

void TFullOkno::SetYMax(int value) { YMax = NiceScale(value); }

void TFullOkno::SetYMinUcinikZap(float value) {
    YMinUcinikZap = value;
    RedrawAll();
}

void TFullOkno::SetKresliUcinik(bool value) {
    if (value) {
        if (SingleGraf) {
            SplitY = height();
            UpperFrame = {35, SingleTopMargin, 30, 100};
            MaxDivisions = 11;
        } else {
            SplitY = height() / 2 - 30;
            LowerFrame = {35, 5, 30, 100};
            MaxDivisions = 6;
        }
    } else {
        SplitY = height() / 2;
        LowerFrame = {35, 5, 30, 35};
        MaxDivisions = 11;
    }
    KresliUcinik = value;
    ComputeScales();
    Redraw();
    Invalidate();
}

void TFullOkno::SetSingleGraf(bool value) {
    SingleGraf = value;
    if (value) {
        SplitY = height();
        UpperFrame = {35, SingleTopMargin, 30, 35};
    } else {
        SplitY = height() / 2;
        UpperFrame = {35, 20, 30, 27};
    }
    ComputeScales();
    Redraw();
    Invalidate();
}

void TFullOkno::SetXRozliseni(int value) {
    if (value != 800)
        return;
    setFixedSize(788, 459);
    GraphWidth = RoundToInt(width() * WidthKoef);
    Buffer.SetSize(width(), height());
    UseBuffer();
    XRozliseni = 800;
    CosPhiY = height() - 50;
    ComputeScales();
    Redraw();
    Invalidate();
    SetSingleGraf(SingleGraf);
}

void TFullOkno::SetYZapMax(int value) { YZapMax = value == INT_MIN ? INT_MAX : std::abs(value); }

void TFullOkno::SetWidthKoef(double value) {
    WidthKoef = value;
    GraphWidth = RoundToInt(width() * value);
    RedrawAll();
}

void TFullOkno::SetBorderDrawing(bool value) {
    BorderDrawing = value;
    Redraw();
    Invalidate();
}

void TFullOkno::SetRegMaxDrawing(bool value) {
    RegMaxDrawing = value;
    RedrawAll();
}

void TFullOkno::SetShowMinMaxValues(bool value) {
    ShowMinMaxValues = value;
    SingleTopMargin = value ? 60 : 20;
    ComputeScales();
    Redraw();
    Invalidate();
}

} // namespace zeko::graph
