// The day graph on a landscape printer page, or on a 2200 × 1650 picture saved as
// a JPEG file.
#include "graph/FullOkno.h"

#include "graph/ValueRows.h"

#include "platform/FormatSettings.h"
#include "platform/Jpeg.h"
#include "platform/Notifier.h"
#include "platform/TextFiles.h"
#include "platform/qt/QtJpeg.h"
#include "platform/report/ReportPrinting.h"

#include <QPainter>
#include <QPicture>
#include <QPrinter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

namespace zeko::graph {

namespace {

int TruncToInt(double v) {
    if (!std::isfinite(v))
        return 0;
    return static_cast<int>(std::trunc(std::clamp(v, -2e9, 2e9)));
}

// The values of the printed series that a page has to show.
void ValueRange(const TFullOkno& graph, const TPrintedSeries& printed, double& largest, double& smallest) {
    largest = graph.YMax;
    smallest = 0;
    for (int n : printed.Numbers) {
        const TSet& set = printed.Lower ? graph.LowerSeries[n] : graph.Series[n];
        for (const TGraphPoint& p : set.Points()) {
            if (!std::isfinite(p.Value))
                continue;
            if (printed.Lower)
                largest = std::max(largest, p.Value);
            else
                smallest = std::min(smallest, p.Value);
        }
    }
}

} // namespace

QPrinter& TFullOkno::Printer() {
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

bool TFullOkno::PrinterSetup() { return CurrentReportPrinting().PrinterSetup(Printer()); }

TPrintedSeries TFullOkno::PrintedSeries(int Mode) const {
    TPrintedSeries printed;
    switch (Mode) {
    case 1: printed.Numbers = {1, 2, 3}; break;
    case 2:
        printed.Lower = true;
        printed.Numbers = {1, 2, 3, 4, 5, 6};
        break;
    case 3: printed.Numbers = {1, 2, 3, 4, 5, 6, 7, 8, 9}; break;
    default:
        // The one series is one that exists, whatever the number says.
        printed.Lower = PrintLowerSeries;
        printed.Numbers = {std::clamp<int>(PrintSeriesNumber, 1, PrintLowerSeries ? LowerSeriesCount
                                                                                  : UpperSeriesCount)};
        break;
    }
    return printed;
}

std::vector<std::string> TFullOkno::HeaderLines() const {
    // A detail nobody gave is left out rather than printed as a bare label.
    const std::pair<const char*, std::string> details[] = {
        {"Velkoodběr:  ", HeaderConsumer},
        {"Odb. místo:  ", HeaderPlace},
        {"Regulátor:  ", HeaderRegulator},
        {"Reg. max. [kWh]:  ", FirstLastText()},
        {"Tech. max. [kWh]:  ", std::to_string(PrintTechMax)},
        {"Verze SW PC:  ", HeaderVersion},
    };
    std::vector<std::string> lines;
    for (const auto& [label, value] : details)
        if (!value.empty())
            lines.push_back(label + value);
    return lines;
}

std::string TFullOkno::FirstLastText() const {
    // The list stays empty in this program: nothing to tell then.
    if (RegMaxList.empty())
        return "";
    return FormatFixed(RegMaxList.front().Value, 1) + "/" + FormatFixed(RegMaxList.back().Value, 1);
}

void TFullOkno::ComputePageMetrics(const TDeviceMetrics& device, bool Colour, int seriesCount, double largest,
                                   double smallest) {
    TPageMetrics& p = Page;
    p.PageWidth = device.Width;
    p.PageHeight = device.Height;
    p.PageLeft = CentimetresToPixels(device, false, 2.5);
    p.PageTop = CentimetresToPixels(device, true, ShowMinMaxValues ? 6.5 : 5.5);
    p.PageRight = CentimetresToLength(device, false, Colour && seriesCount > 1 ? 6.0 : 2.0);
    p.PageBottom = CentimetresToLength(device, true, 1.5);
    p.PixelsPerHour = std::max(0, p.PageWidth - p.PageLeft - p.PageRight) / 24.0;
    p.PageYMax = NiceScale(TruncToInt(std::ceil(largest)), p.PageYStep);
    const double m = -smallest;
    if (m <= 0)
        p.PageNegative = 0;
    else if (m <= p.PageYStep)
        p.PageNegative = p.PageYStep;
    else
        p.PageNegative = static_cast<int>(
            std::min<int64_t>((int64_t{TruncToInt(m)} / p.PageYStep + 1) * p.PageYStep, 2000000000));
    p.PageYScale = std::max(0, p.PageHeight - p.PageTop - p.PageBottom) / (double(p.PageYMax) + p.PageNegative);
    p.PageTick = static_cast<int>(Round(p.PageHeight * 0.004));
    p.PageTextShift = static_cast<int>(Round(p.PageHeight * 0.007));
    p.PageGap = static_cast<int>(Round(p.PageHeight * 0.01));
    p.PageNegativeHeight = static_cast<int>(Round(p.PageNegative * p.PageYScale));
}

bool TFullOkno::Print(int Mode, const std::string& UnitText, bool Colour, bool ToPicture,
                      const std::string& FileName) {
    if (PrintAlternate)
        return PrintAlternateLayout(Colour, ToPicture, FileName);
    return RunPrint(ToPicture, FileName,
                    [&](const TDeviceMetrics& device) { PrintPage(Mode, UnitText, Colour, device); });
}

bool TFullOkno::RunPrint(bool ToPicture, const std::string& FileName,
                         const std::function<void(const TDeviceMetrics&)>& draw) {
    // Whatever happens, the screen gets its buffer and a full picture back.
    struct BackToScreen {
        TFullOkno& graph;
        ~BackToScreen() {
            graph.UseBuffer();
            graph.AxisLabels = true;
            graph.RedrawAll();
        }
    } back{*this};
    Printer().setPageOrientation(QPageLayout::Landscape);
    QImage picture;  // outlives the canvas drawing on it
    TCanvas canvas;
    BufferCanvas = &canvas;
    if (ToPicture) {
        picture = QImage(PictureWidth, PictureHeight, QImage::Format_RGB32);
        picture.fill(Qt::white);
        canvas.BeginPaint(&picture);
        BufferWidth = PictureWidth;
        BufferHeight = PictureHeight;
        draw(PictureMetrics(PictureWidth, PictureHeight));
        canvas.EndPaint();
        return SavePictureAsJpeg(picture, FileName);
    }
    // The page is recorded first and goes to the printer only when it is whole:
    // the printer's document cannot be taken back once begun, so a drawing that
    // fails half way must not begin it.
    const TDeviceMetrics device = PrinterMetrics(Printer());
    QPicture page;
    {
        QPainter recorder(&page);
        canvas.BeginPaint(&recorder);
        canvas.SetPenScale(PenScale(device));
        BufferWidth = device.Width;
        BufferHeight = device.Height;
        draw(device);
        canvas.EndPaint();
    }
    const std::optional<std::string> failure =
        PaintOnPrinter(Printer(), [&page](QPainter& printer, QPagedPaintDevice& paper) {
            // A picture is played back scaled from its own resolution to the
            // device's; the page is in device pixels already.
            printer.scale(double(page.logicalDpiX()) / paper.logicalDpiX(),
                          double(page.logicalDpiY()) / paper.logicalDpiY());
            printer.drawPicture(0, 0, page);
        });
    if (failure)
        MessageDlg(PrinterFailureText(*failure), TMsgDlgType::mtError);
    return !failure;
}

// ---------------------------------------------------------------- the page

void TFullOkno::PrintPage(int Mode, const std::string& UnitText, bool Colour, const TDeviceMetrics& device) {
    TCanvas& c = *BufferCanvas;
    const TPrintedSeries printed = PrintedSeries(Mode);
    double largest = 0, smallest = 0;
    ValueRange(*this, printed, largest, smallest);
    c.Font().SetName("MS Sans Serif");
    c.Font().SetHeight(PointsToFontHeight(device, 8));
    c.Font().SetStyle(TFontStyles{});
    c.Font().SetColor(clBlack);
    ComputePageMetrics(device, Colour, static_cast<int>(printed.Numbers.size()), largest, smallest);
    PrintTimeAndValueAxes(UnitText);
    c.Font().SetName("Arial");
    PrintSeriesLines(printed, Colour);
    c.Font().SetName("MS Sans Serif");
    PrintHeaderLegendAndVoltages(Mode, printed, Colour, device);
}

void TFullOkno::PrintTimeAndValueAxes(const std::string& UnitText) {
    TCanvas& c = *BufferCanvas;
    const TPageMetrics& p = Page;
    const int bottom = p.PageHeight - p.PageBottom;
    const int right = p.PageWidth - p.PageRight;
    const int y0 = bottom - p.PageNegativeHeight;
    c.Brush().SetStyle(bsClear);
    c.Pen().SetColor(clBlack);
    auto dashed = [&](int x1, int y1, int x2, int y2) {
        c.Pen().SetWidth(1);
        c.Pen().SetStyle(psDash);
        c.MoveTo(x1, y1);
        c.LineTo(x2, y2);
        c.Pen().SetStyle(psSolid);
    };
    auto thick = [&](int x1, int y1, int x2, int y2) {
        c.Pen().SetWidth(4);
        c.MoveTo(x1, y1);
        c.LineTo(x2, y2);
    };
    c.Font().SetStyle(TFontStyles{fsBold});
    const int labelTop = y0 + p.PageTextShift / 2;
    const int labelBottom = labelTop + c.TextHeight("0");
    for (int h = 0; h <= 24; ++h) {
        const int x = TruncToInt(h * p.PixelsPerHour + p.PageLeft);
        // Below a range that reaches under zero the labels stand inside the plot:
        // the hour line leaves them free.
        if (labelBottom < bottom) {
            dashed(x, bottom, x, labelBottom + p.PageGap / 2);
            dashed(x, y0, x, p.PageTop);
        } else {
            dashed(x, bottom, x, p.PageTop);
        }
        thick(x, y0 - p.PageTick, x, y0 + p.PageTick);
        char label[8];
        std::snprintf(label, sizeof label, h == 0 ? "0" : "%.2d", h);
        c.TextOut(x - p.PageTextShift, labelTop, label);
    }
    c.Font().SetStyle(TFontStyles{});
    thick(p.PageLeft, y0, right, y0);
    thick(p.PageLeft, bottom, p.PageLeft, p.PageTop);
    const int64_t steps = (int64_t{p.PageYMax} + p.PageNegative) / std::max(1, p.PageYStep);
    ForEachValueRow(bottom, INT_MIN, p.PageYStep * p.PageYScale, 0, steps, true, [&](int y, int64_t k) {
        thick(p.PageLeft - p.PageTick, y, p.PageLeft + p.PageTick, y);
        const int64_t value = k * p.PageYStep - p.PageNegative;
        if (value != 0)
            dashed(p.PageLeft, y, right, y);
        const std::string label = std::to_string(value);
        c.TextOut(p.PageLeft - p.PageGap - c.TextWidth(label), y - c.TextHeight(label) / 2, label);
    });
    const std::string unit = "[" + UnitText + "]";
    c.TextOut(p.PageLeft - p.PageGap - c.TextWidth(unit), p.PageTop - 4 * p.PageTextShift, unit);
    c.Pen().SetWidth(1);
    c.Brush().SetStyle(bsSolid);
}

void TFullOkno::PrintSeriesLines(const TPrintedSeries& printed, bool Colour) {
    TCanvas& c = *BufferCanvas;
    const TPageMetrics& p = Page;
    const int y0 = p.PageHeight - p.PageBottom - p.PageNegativeHeight;
    const int count = static_cast<int>(printed.Numbers.size());
    auto xOf = [&](double minute) {
        return TruncToInt(std::round(std::clamp(minute / 60 * p.PixelsPerHour + p.PageLeft, -CoordinateMargin,
                                                p.PageWidth + CoordinateMargin)));
    };
    auto yOf = [&](double value) {
        return static_cast<int>(Round(std::clamp(y0 - value * p.PageYScale, double(p.PageTop),
                                                 p.PageHeight + CoordinateMargin)));
    };
    c.Pen().SetWidth(4);
    c.Pen().SetStyle(psSolid);
    c.Brush().SetStyle(bsFDiagonal);
    for (int n : printed.Numbers) {
        const TSet& set = printed.Lower ? LowerSeries[n] : Series[n];
        if (!set.Visible)
            continue;
        const TColor colour = Colour ? set.Color : clBlack;
        c.Pen().SetColor(colour);
        c.Brush().SetColor(colour);
        std::vector<TGraphPoint> points;
        for (const TGraphPoint& pt : set.Points())
            if (std::isfinite(pt.Value))
                points.push_back(pt);
        // The day ends at 24:00: a hold segment or a bar past it stays off the page.
        c.SetClipRect({p.PageLeft, 0, p.PageWidth - p.PageRight + 1, p.PageHeight});
        const int gap = GrafStyl == Step ? 17 : set.GapLimit;
        for (size_t k = 0; k < points.size(); ++k) {
            const int x = xOf(points[k].Minute), y = yOf(points[k].Value);
            if (GrafStyl == Bar) {
                const int w = TruncToInt((p.PageWidth - p.PageLeft - p.PageRight) / 24.0 / 5);
                c.Rectangle(x, std::min(y, y0), x + w, std::max(y, y0));
                continue;
            }
            c.MoveTo(x, y);
            const int64_t before = k > 0 ? int64_t{points[k].Minute} - points[k - 1].Minute : -1;
            if (before >= 0 && before < gap) {
                const int px = xOf(points[k - 1].Minute), py = yOf(points[k - 1].Value);
                if (GrafStyl == Step)
                    c.LineTo(x, py);
                c.LineTo(px, py);
            }
            const int64_t after = k + 1 < points.size() ? int64_t{points[k + 1].Minute} - points[k].Minute : gap;
            if (after >= gap || after < 0) {
                c.MoveTo(x, y);
                c.LineTo(xOf(points[k].Minute + gap), y);
            }
        }
        c.ResetClip();
        if (GrafStyl != Bar && set.GapLimit > 10)
            for (const TGraphPoint& pt : points)
                DrawRotatedValue(xOf(pt.Minute), p.PageTop - p.PageGap, pt.Value, colour, Colour, count);
    }
    c.Brush().SetStyle(bsSolid);
    c.Pen().SetWidth(1);
}

void TFullOkno::DrawRotatedValue(int X, int Y, double Value, TColor Colour, bool ColourOn, int SeriesCount) {
    if (SeriesCount != 1)
        return;
    TCanvas& c = *BufferCanvas;
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(clWhite);
    TextOutRotated(c, X - static_cast<int>(Round(Page.PageHeight * 0.0017)), FormatFixed(Value, 1), 90, Y);
    c.Brush().SetColor(ColourOn ? Colour : clBlack);
}

void TFullOkno::PrintHeaderLegendAndVoltages(int Mode, const TPrintedSeries& printed, bool Colour,
                                             const TDeviceMetrics& device) {
    TCanvas& c = *BufferCanvas;
    const TPageMetrics& p = Page;
    c.Brush().SetStyle(bsClear);
    DrawGraphHeader(c, device, {p.PageLeft, CentimetresToPixels(device, true, 1.5), p.PageWidth - p.PageRight,
                                p.PageTop},
                    HeaderTitle, HeaderSubtitle, HeaderLines());
    if (Colour && printed.Numbers.size() > 1) {
        const int x = p.PageWidth - p.PageRight + CentimetresToLength(device, false, 0.5);
        const int length = CentimetresToLength(device, false, 2.5);
        static const char* const mainInputs[] = {"HL", "1P", "2P"};
        for (int n : printed.Numbers) {
            const TSet& set = printed.Lower ? LowerSeries[n] : Series[n];
            if (!set.Visible)
                continue;
            const int y = p.PageTop + CentimetresToLength(device, true, n - 0.5);
            c.Pen().SetColor(set.Color);
            c.Pen().SetWidth(4);
            c.MoveTo(x, y);
            c.LineTo(x + length, y);
            const std::string name = Mode == 2   ? "St." + std::to_string(n)
                                     : Mode == 3 ? Captions[n]
                                     : Mode == 1 ? mainInputs[n - 1]
                                                 : "";
            c.TextOut(x + length + p.PageGap, y - c.TextHeight(name) / 2, name);
        }
        c.Pen().SetWidth(1);
    }
    if (ShowMinMaxValues) {
        const int top = CentimetresToPixels(device, true, 4.6);
        for (int k = 0; k < VoltageCount; ++k) {
            const int x = p.PageLeft + CentimetresToLength(device, false, 6.0 + 3.4 * k);
            c.Font().SetColor(!Colour ? clBlack : k % 2 == 0 ? clBlue : clRed);
            c.TextOut(x, top, VoltageNames[k] + ":");
            c.TextOut(x, top + c.TextHeight("Wg"),
                      FormatFixed(Voltages[k], 2) + " [V]  " + PercentText(VoltageDeviations[k]));
        }
        c.Font().SetColor(clBlack);
    }
    c.Brush().SetStyle(bsSolid);
}

// ---------------------------------------------------------------- the screen layout on a page

bool TFullOkno::PrintAlternateLayout(bool Colour, bool ToPicture, const std::string& FileName) {
    return RunPrint(ToPicture, FileName, [&](const TDeviceMetrics& device) { AlternatePage(Colour, device); });
}

void TFullOkno::AlternatePage(bool Colour, const TDeviceMetrics& device) {
    // Everything the page changes, put back afterwards, also after a failure.
    struct Saved {
        TFullOkno& g;
        TRect upper = g.UpperFrame, lower = g.LowerFrame;
        int splitY = g.SplitY, graphWidth = g.GraphWidth, cosPhiY = g.CosPhiY, cosPhiHalf = g.CosPhiHalf;
        TColor back = g.BackColor, axis = g.AxisColor, regMax = g.RegMaxColor;
        uint8_t tick = g.TickSize;
        double ppm = g.PixelsPerMinute, yScale = g.YScale, yScale2 = g.YScale2;
        double kl = g.CosPhiScaleKl, zap = g.CosPhiScaleZap;
        uint16_t negativeHeight = g.NegativeHeight;
        int labelOffset = g.upperLabelOffset_;
        std::array<TColor, UpperSeriesCount> colours{};
        std::array<TColor, LowerSeriesCount> lowerColours{};
        explicit Saved(TFullOkno& graph) : g(graph) {
            for (int i = 1; i <= UpperSeriesCount; ++i)
                colours[i - 1] = g.Series[i].Color;
            for (int j = 1; j <= LowerSeriesCount; ++j)
                lowerColours[j - 1] = g.LowerSeries[j].Color;
        }
        ~Saved() {
            g.UpperFrame = upper;
            g.LowerFrame = lower;
            g.SplitY = splitY;
            g.GraphWidth = graphWidth;
            g.CosPhiY = cosPhiY;
            g.CosPhiHalf = cosPhiHalf;
            g.BackColor = back;
            g.AxisColor = axis;
            g.RegMaxColor = regMax;
            g.TickSize = tick;
            g.PixelsPerMinute = ppm;
            g.YScale = yScale;
            g.YScale2 = yScale2;
            g.CosPhiScaleKl = kl;
            g.CosPhiScaleZap = zap;
            g.NegativeHeight = negativeHeight;
            g.upperLabelOffset_ = labelOffset;
            for (int i = 1; i <= UpperSeriesCount; ++i)
                g.Series[i].Color = colours[i - 1];
            for (int j = 1; j <= LowerSeriesCount; ++j)
                g.LowerSeries[j].Color = lowerColours[j - 1];
        }
    } saved(*this);
    const int screenWidth = std::max(1, Buffer.Width()), screenHeight = std::max(1, Buffer.Height());
    const int w = device.Width, h = device.Height;
    const int left = CentimetresToPixels(device, false, 2.5);
    const int top = CentimetresToPixels(device, true, ShowMinMaxValues ? 6.5 : 5.5);
    const int right = CentimetresToLength(device, false, Colour ? 6.0 : 1.5);
    const int bottom = CentimetresToLength(device, true, 1.5);
    UpperFrame = {left, top, right, bottom};
    LowerFrame = {left, CentimetresToLength(device, true, 0.5), right,
                  CentimetresToLength(device, true, KresliUcinik ? 4.5 : 1.5)};
    SplitY = std::min(top + CentimetresToLength(device, true, SingleGraf ? 12.0 : 6.5), h - bottom);
    GraphWidth = w;
    CosPhiHalf = CentimetresToLength(device, true, 1.5);
    CosPhiY = h - CentimetresToLength(device, true, 1.5) - CosPhiHalf;
    // The single graph ends a centimetre above the power-factor band, so that its
    // hour labels stay clear of the band's top label.
    if (SingleGraf && KresliUcinik)
        SplitY = std::min(SplitY, CosPhiY - CosPhiHalf - CentimetresToLength(device, true, 1.0) + bottom);
    PixelsPerMinute = double(std::max(0, w - left - right)) / std::max(1, ViewEnd - ViewStart);
    YScale = std::max(0, SplitY - (top + bottom)) / (double(YMax) + NegativeRange);
    NegativeHeight = static_cast<uint16_t>(std::clamp<int64_t>(Round(NegativeRange * YScale), 0, 65535));
    YScale2 = std::max(0, h - SplitY - (LowerFrame.Top + LowerFrame.Bottom)) / double(std::max(1, YMax2));
    const double kl = 1.0 - YMinUcinikKl, zap = 1.0 - YMinUcinikZap;
    CosPhiScaleKl = kl != 0 && zap != 0 ? CosPhiHalf / kl : CosPhiHalf;
    CosPhiScaleZap = kl != 0 && zap != 0 ? CosPhiHalf / zap : CosPhiHalf;
    TickSize = static_cast<uint8_t>(std::clamp<int64_t>(Round(h * 0.004), 0, 255));
    BackColor = clWhite;
    AxisColor = clBlack;
    if (!Colour) {
        for (TSet& s : Series)
            s.Color = clBlack;
        for (TSet& s : LowerSeries)
            s.Color = clBlack;
        RegMaxColor = clBlack;
    }
    const int weightX = static_cast<int>(Round(double(w) / screenWidth));
    const int weightY = static_cast<int>(Round(double(h) / screenHeight));
    upperLabelOffset_ = weightY;
    TCanvas& c = *BufferCanvas;
    c.Font().SetName("MS Sans Serif");
    c.Font().SetHeight(PointsToFontHeight(device, 8));
    c.Font().SetColor(clBlack);
    if (!SingleGraf) {
        DrawLowerGrid();
        DrawLowerSeries(0, true);
    }
    if (KresliUcinik) {
        DrawCosPhiGrid();
        DrawCosPhiSeries(true);
    }
    DrawGrid();
    DrawUpperSeries(0, true);
    DrawYAxes(weightX);
    DrawTimeAxis(UpperZeroY(), weightX, upperLabelOffset_);
    if (!SingleGraf)
        DrawTimeAxis(h - LowerFrame.Bottom, weightY, weightY);
    AxisLabels = false;
    if (KresliUcinik)
        DrawTimeAxis(CosPhiY, weightY, weightY);
    AxisLabels = true;
    TPrintedSeries shown;
    for (int i = 1; i <= NumSeries; ++i)
        shown.Numbers.push_back(i);
    Page.PageLeft = left;
    Page.PageTop = top;
    Page.PageRight = right;
    Page.PageBottom = bottom;
    Page.PageWidth = w;
    Page.PageHeight = h;
    Page.PageGap = static_cast<int>(Round(h * 0.01));
    PrintHeaderLegendAndVoltages(3, shown, Colour, device);
}

// ---------------------------------------------------------------- the picture file

bool SavePictureAsJpeg(const QImage& picture, const std::string& FileName,
                       const std::function<bool(const std::vector<uint8_t>&, int quality)>& write) {
    const TRgbImage rgb = FromQImage(picture);
    for (const int quality : {100, 80, 60, 40}) {
        std::vector<uint8_t> bytes;
        if (!EncodeJpeg(rgb, quality, bytes))
            continue;
        const bool written = write ? write(bytes, quality)
                                   : ReplaceChosenFile(FileName, bytes.data(), bytes.size()) == 0;
        if (written)
            return true;
    }
    MessageDlg("Chyba při ukládání souboru", TMsgDlgType::mtError);
    return false;
}

} // namespace zeko::graph
