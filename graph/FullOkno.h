#pragma once
// TFullOkno: the day graph. It shows the values of one day against the minute of
// the day (0..1440): from the top an upper graph of up to nine series, an optional
// lower graph of up to six series of seconds, an optional power-factor band, and a
// legend column on the right with each series' value at the cursor minute.
// Everything is drawn into an off-screen picture of the control's size (Buffer)
// through our canvas, and the picture is put on the screen when the control paints.
//
//   FullOkno.cpp            set-up, layouts, scales, points, the redraw pipeline
//   FullOknoDrawing.cpp     grids, axes, the three series styles, the bands
//   FullOknoLegend.cpp      legend, voltage boxes, cursor markers and time, frame
//   FullOknoInteraction.cpp cursor, zoom, pan, the two popup menus, events
//   FullOknoPrint.cpp       the printed page and the picture export
//
// Pixel coordinates are computed in floating point and held to the drawable
// area's surroundings before they are rounded, so a corrupt value draws at the
// edge instead of overflowing; values that are no finite number are not drawn.
#include "graph/FullOknoSeries.h"
#include "graph/HlavickaGrafu.h"
#include "platform/DateTime.h"
#include "platform/WindowMessages.h"
#include "platform/qt/Canvas.h"
#include "platform/qt/GraphicControl.h"
#include "platform/qt/Menus.h"
#include "platform/qt/QtInput.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPrinter;

namespace zeko::graph {

enum TFullOknoStyle : uint8_t { Bar, Step, Line };

// A fixed array indexed from 1, as the graph numbers its series, boxes and maxima;
// an index outside 1..N raises std::out_of_range.
template <typename T, int N>
class OneBased {
public:
    static constexpr int Count = N;
    T& operator[](int i) { return items_.at(static_cast<size_t>(i - 1)); }
    const T& operator[](int i) const { return items_.at(static_cast<size_t>(i - 1)); }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::array<T, N> items_{};
};

constexpr int UpperSeriesCount = 9;
constexpr int LowerSeriesCount = 6;
constexpr int MaximaCount = 13;
constexpr int VoltageCount = 6;

// One step of the regulated maxima: Value holds from the time of day of Time on.
struct TRegMaxItem {
    TDateTime Stamp = 0;  // not read by the graph
    TDateTime Time = 0;
    uint16_t Value = 0;
};

// The printed page's margins and scales, in device pixels.
struct TPageMetrics {
    int PageLeft = 0, PageTop = 0, PageRight = 0, PageBottom = 0;
    int PageWidth = 0, PageHeight = 0;
    double PixelsPerHour = 0;
    double PageYScale = 0;
    int PageYStep = 1, PageYMax = 1;
    int PageTick = 0, PageTextShift = 0, PageGap = 0;
    int PageNegative = 0, PageNegativeHeight = 0;
};

// The series one print shows: upper or lower ones, by number.
struct TPrintedSeries {
    bool Lower = false;
    std::vector<int> Numbers;
};

// The drawing routines' switch between the screen and a printed page.
constexpr int ScreenMode = 1;
// How far outside the drawable area a coordinate may lie; a line is held there.
constexpr double CoordinateMargin = 2000;

class TFullOkno : public TGraphicControl {
public:
    explicit TFullOkno(QWidget* AOwner);
    ~TFullOkno() override;

    // ---------------------------------------------------------------- model
    int ViewStart = 0, ViewEnd = 1440;  // minutes on the time axis
    OneBased<TSet, UpperSeriesCount> Series;
    OneBased<TSet, LowerSeriesCount> LowerSeries;  // values in seconds
    TSet2 CosPhiSeries;                            // positive inductive, negative capacitive
    bool FullRedraw = true;  // cleared for one Redraw by a cursor move
    bool SingleGraf = true;
    TDateTime GraphDate = 0;
    TColor BackColor = clGray;
    TColor GridColor = clBlack;
    TColor CursorColor = clBlack;
    TColor ZoomColor = clYellow;
    TColor AxisColor = clLime;
    TColor BoxColor = 0x00939292;
    TColor BarFrameColor = clBlack;
    TColor RegMaxColor = clBlue;
    int YZapMax = 0;          // how far the upper axis reaches below zero (positive)
    int NegativeRange = 0;    // YZapMax rounded up to YStep
    uint16_t NegativeHeight = 0;  // NegativeRange in pixels
    bool PrintLowerSeries = false;
    uint8_t PrintSeriesNumber = 0;
    bool PrintAlternate = false;
    OneBased<uint8_t, UpperSeriesCount> Decimals;
    OneBased<std::string, UpperSeriesCount> Units;
    OneBased<std::string, UpperSeriesCount> Captions;
    int SingleTopMargin = 20;
    TSet ContractedSeries;  // contracted demand ("Sjednáno")
    bool KresliSjednaneOdbery = false;
    uint16_t PrintTechMax = 0;
    // 1 technical, 2 regulated, 3 regulated in the second band, 4 the user's
    // maximum (UzivatelskeMaximum), 5..13 the maxima of upper series 1..9.
    OneBased<int, MaximaCount> Maxima;
    MessageTarget* ViewWindow = nullptr;  // receives the views menu's message
    int ViewMessage = 0;
    std::array<double, VoltageCount> Voltages{};  // L1 min, L1 max, L2 min, ...
    std::array<double, VoltageCount> VoltageDeviations{};  // percent
    std::array<std::string, VoltageCount> VoltageNames = {"Napětí L1 MIN", "Napětí L1 MAX", "Napětí L2 MIN",
                                                          "Napětí L2 MAX", "Napětí L3 MIN", "Napětí L3 MAX"};
    bool ShowMinMaxValues = false;
    TBitmap Buffer;
    std::vector<TRegMaxItem> RegMaxList;  // stays empty: nothing in the program adds items
    int NumSeries = 9;
    int NumSeries2 = 6;
    TFullOknoStyle GrafStyl = Line;
    int CursorX = 0, OldCursorX = 0;
    TRect UpperFrame{35, 20, 30, 27};  // margins: left, top, right, bottom
    TRect LowerFrame{35, 5, 30, 35};
    int SplitY = 0;      // between the upper and the lower graph
    int GraphWidth = 0;  // the graph part; the legend column lies to its right
    double PixelsPerMinute = 1;
    int TimeStep = 60;   // 15, 30 or 60
    bool Zooming = false;
    TRect ZoomRect;      // start column, zoom line row, current column
    int PanX = 0;
    bool Grid = true;
    int YMax = 500, YMax2 = 12;
    double YScale = 1, YScale2 = 1;
    double CosPhiScaleKl = 30, CosPhiScaleZap = 30;
    float YMinUcinikKl = 0, YMinUcinikZap = 0;  // band edges
    int YStep = 1, YStep2 = 1;
    int MaxDivisions = 11;
    TPenStyle GridStyle = psDot;
    int PanThreshold = 10;
    int CosPhiY = 0;     // the band's centre line (power factor 1)
    int CosPhiHalf = 30;
    bool KresliUcinik = false;
    bool AxisLabels = true;
    int XRozliseni = 640;
    TPageMetrics Page;
    uint8_t TickSize = 3;
    uint8_t BarMinutes = 15;
    uint16_t MaxMinute = 1440, MinMinute = 0;
    TCanvas* BufferCanvas = nullptr;  // the buffer's, or the page's while printing
    int BufferWidth = 0, BufferHeight = 0;
    // Owned by the control. An item's Tag is its action's data; the maximum items
    // are radio items, which the handlers check (a click alone checks nothing).
    TPopupMenu* MaxMenu = nullptr;
    TPopupMenu* ViewMenu = nullptr;
    std::vector<std::string> Views;
    uint8_t MaxChoice = 1;
    double WidthKoef = 0.92;
    bool BorderDrawing = false, RegMaxDrawing = true, DateDrawing = true;
    OneBased<TRect, UpperSeriesCount> SeriesBoxes;
    OneBased<TRect, LowerSeriesCount> LowerBoxes;
    TRect CosPhiBox;
    bool CanDblClick = false;
    std::string HeaderPlace, HeaderConsumer, HeaderTitle, HeaderSubtitle, HeaderVersion;
    // The regulator's type and serial number on the printed page; empty when unknown.
    std::string HeaderRegulator;

    // kind 1 upper, 2 lower series
    std::function<void(TFullOkno&, int aSeriesKind, int aSeriesNumber)> OnSeriesVisibleChanged;
    std::function<void(TFullOkno&, int aSeriesKind, int aSeriesNumber)> OnAboveSeriesRightClick;
    std::function<void(TFullOkno&, int aUserMax, uint8_t aMaxPtr)> OnYAxisMaxChanged;

    int MaxPocetBodu() const { return maxPocetBodu_; }
    int UzivatelskeMaximum() const { return Maxima[4]; }
    void SetUzivatelskeMaximum(int value) { Maxima[4] = value; }

    // ---------------------------------------------------------------- set-up
    // Once after creation, before anything else.
    virtual void Init(int AWidth, int AHeight);
    void Redraw();
    virtual void ComputeScales();
    // Value rounded up to a multiple of a step that gives at most MaxDivisions
    // steps (1, 5, 10, 50, ... 5000); 0 and less give 1.
    int NiceScale(int Value, int& Step) const;
    int NiceScale(int Value) const {
        int step = 1;
        return NiceScale(Value, step);
    }
    static int RoundToStep(int Minute, int Step);
    // One point per minute: a new minute is appended (not beyond MaxPocetBodu
    // points); an existing one gets the value added (Add) or the new value unless
    // the stored one is larger and KeepLarger holds. No finite number, no point.
    void PutPoint(TSet& Set, int Minute, double Value, bool Add, bool KeepLarger);

    // ---------------------------------------------------------------- properties
    void SetGrafStyl(TFullOknoStyle value);
    void SetNumSeries(int value);
    void SetNumSeries2(int value);
    void SetYMax(int value);
    void SetYMax2(int value) { YMax2 = value; }
    void SetYMinUcinikKl(float value) { YMinUcinikKl = value; }
    void SetYMinUcinikZap(float value);
    void SetKresliUcinik(bool value);
    void SetSingleGraf(bool value);
    void SetXRozliseni(int value);
    void SetYZapMax(int value);
    void SetWidthKoef(double value);
    void SetBorderDrawing(bool value);
    void SetRegMaxDrawing(bool value);
    void SetShowMinMaxValues(bool value);

    // ---------------------------------------------------------------- geometry
    // Pixel positions of a minute, of an upper and a lower value; a value far
    // outside the plot lands just outside the drawable area.
    int MinuteToX(double minute) const;
    int UpperZeroY() const { return SplitY - UpperFrame.Bottom - NegativeHeight; }
    int UpperValueToY(double value) const;
    int LowerValueToY(double value) const;
    // A y held to `low`..(the drawable height + a margin), then rounded.
    int HeldY(double y, double low) const;
    // The band's y of a power factor: inductive above the centre line, capacitive
    // below, each side held to its band edge.
    int CosPhiToY(double C) const;
    // The minute under a pixel column (the cursor's).
    int XToMinute(int x) const;

    // ---------------------------------------------------------------- drawing
    void DrawGrid();
    void DrawLowerGrid();
    void DrawCosPhiGrid();
    virtual void DrawTimeAxis(int Y, int Weight, int LabelOffset);
    void DrawYAxes(int Weight);
    void DrawUpperSeries(int Mode, bool Print);
    void DrawLowerSeries(int Mode, bool Print);
    void DrawCosPhiSeries(bool Print);
    void RenderLine(const TSet& Set, int BaseY, double Scale, int BottomMargin);
    void RenderStep(const TSet& Set, int BaseY, double Scale, int BottomMargin);
    void RenderBar(const TSet& Set, int BaseY, double Scale, int BottomMargin, int Index, int Count, int BarWidth);
    void DrawContractedDemand();
    virtual void DrawRegulatedMaxima();
    double RegMaxAt(int Minute) const;
    virtual void DrawLegend(int Minute);
    void DrawLegendBox(int X, int Y, int Width, const std::string& Caption, const std::string& ValueText,
                       const std::string& UnitText, TColor Colour, TRect& Box, bool Visible, bool ShowExtra,
                       const std::string& ExtraText);
    void DrawLegendBox2(int X, int Y, bool Visible, TRect& Box, TColor Colour, const std::string& ValueText,
                        const std::string& Caption);
    void DrawMinMaxBoxes();
    void DrawCursorMarker();
    virtual void DrawCursorTime();
    void DrawBorder();
    static std::string MinutesToText(int N);
    static std::string PercentText(double V);
    static void TextOutRotated(TCanvas& Canvas, int X, const std::string& Text, int Angle, int Y);
    // The value steps of the upper axis, the part below zero included.
    int64_t UpperSteps() const;
    // The bar width of the upper series for the current view.
    int BarWidth() const;
    // The value a legend shows at `minute`: that of the last point at or before
    // it, when that point is fewer than `gapLimit` minutes before it and the minute
    // fewer than `gapLimit` minutes after the series' last point.
    static bool LegendValue(const TSet& set, int minute, int gapLimit, double& value);

    // ---------------------------------------------------------------- interaction
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void DblClick() override;
    void SetCursorX(int X);
    void SetCursorMinute(int M);
    void CursorToLastPoint();
    uint8_t UkazatelMaxima() const;
    void SetUkazatelMaxima(uint8_t value);
    void ApplyMaxChoice();
    void AddView(const std::string& Name);
    void BuildMaxMenu();
    void BuildViewMenu();
    bool LegendHitTest(int X, int Y, int& Kind, int& Number) const;
    static bool PointInBox(const TRect& Box, int X, int Y);
    void MaxMenuClick(QAction* Item);
    void UserMaxMenuClick();
    void ViewMenuClick(QAction* Item);
    static int MenuTag(const QAction* Item);
    virtual void DoSeriesVisibleChanged(int Kind, int Number);
    // Full redraw: FullRedraw set, Redraw, and the buffer put on the screen.
    void RedrawAll();

    // ---------------------------------------------------------------- printing
    // Mode 0 one series (PrintLowerSeries, PrintSeriesNumber), 1 upper series
    // 1..3, 2 lower series 1..6, 3 upper series 1..9, other values as 0. A
    // picture is saved as a JPEG file; otherwise the page goes to Printer().
    // True when the page or the picture got there; a printer or a file that does
    // not take it is told to the user, a drawing that fails raises.
    virtual bool Print(int Mode, const std::string& UnitText, bool Colour, bool ToPicture,
                       const std::string& FileName);
    bool PrintAlternateLayout(bool Colour, bool ToPicture, const std::string& FileName);
    virtual void DrawRotatedValue(int X, int Y, double Value, TColor Colour, bool ColourOn, int SeriesCount);
    std::string FirstLastText() const;
    // The header's detail lines, each a label and its text; those without a text
    // are left out.
    std::vector<std::string> HeaderLines() const;
    TPrintedSeries PrintedSeries(int Mode) const;
    // The page metrics for a device, the printed series and their value range.
    void ComputePageMetrics(const TDeviceMetrics& device, bool Colour, int seriesCount, double largest,
                            double smallest);
    // The printer Print uses: the system's default one until the caller chooses
    // another (PrinterSetup) or sets it to write a PDF file.
    QPrinter& Printer();
    // The printer dialog of the printing service on Printer(); false when cancelled.
    bool PrinterSetup();
    static constexpr int PictureWidth = 2200;
    static constexpr int PictureHeight = 1650;

protected:
    // Copies the whole buffer onto the control's canvas; after a change the
    // control redraws its buffer and asks for this (Invalidate).
    void Paint() override;

private:
    // The buffer as the drawing canvas again after a print.
    void UseBuffer();
    void BlankRect(const TRect& r);  // pen and brush BackColor
    // The dotted vertical lines of the time steps from one row to another.
    // They leave the rows of the upper time axis' labels free.
    void TimeGridLines(int fromY, int toY);
    // A graph's dotted grid: the time steps and the value steps between its rows.
    void DrawValueGrid(const TRect& frame, int top, int bottom, double pixelsPerStep, int64_t first, int64_t last);
    // The rows the labels of a time axis at Y take (the canvas font's height).
    void TimeLabelRows(int Y, int LabelOffset, int& top, int& bottom) const;
    // The rows from the upper time axis down past its labels, which grid lines
    // leave free.
    void UpperLabelGap(int& top, int& bottom) const;
    // A legend box's frame, fill and colour stripe; answers the room for its texts.
    TRect LegendBoxFrame(const TRect& r, TColor colour);
    // Appends an item ("-": a line) whose click runs `onClick`.
    QAction* AddMenuItem(TPopupMenu* menu, const std::string& caption, int tag,
                         void (TFullOkno::*onClick)(QAction*));
    // Checks the item and unchecks the menu's others.
    static void CheckMenuItem(TPopupMenu* menu, QAction* item);
    void UserMaxItemClick(QAction*) { UserMaxMenuClick(); }
    // One series of the upper graph in the current style, its band first.
    void DrawUpperOne(const TSet& set, int index, bool print);
    void DrawBand(const TSet& set);
    void DrawCosPhiLine(bool stepped);
    // Points joined by lines (or steps) where fewer than GapLimit minutes apart.
    void RenderJoined(const TSet& Set, int BaseY, double Scale, int BottomMargin, bool stepped);
    void DrawCosPhiBars();
    // A line from one y to another at the x of two minutes, in the pen as it is.
    void HoldSegment(int x, int y, int untilMinute);
    // A cursor marker: a vertical line from top to bottom with arrow heads.
    void DrawArrow(int x, int top, int bottom, bool headDown, bool headUp);
    void PrintPage(int Mode, const std::string& UnitText, bool Colour, const TDeviceMetrics& device);
    void PrintTimeAndValueAxes(const std::string& UnitText);
    void PrintSeriesLines(const TPrintedSeries& printed, bool Colour);
    void PrintHeaderLegendAndVoltages(int Mode, const TPrintedSeries& printed, bool Colour,
                                      const TDeviceMetrics& device);
    void AlternatePage(bool Colour, const TDeviceMetrics& device);
    // Runs `draw` on the printer or on a picture saved to FileName, with the end
    // steps (buffer back, full redraw) also after a failure; a drawing that fails
    // begins no printer document. True when the page or picture got there.
    bool RunPrint(bool ToPicture, const std::string& FileName,
                  const std::function<void(const TDeviceMetrics&)>& draw);

    int maxPocetBodu_ = 2000;
    // How far below the upper time axis its labels stand (in twos of pixels): the
    // screen's, or a page's while it is drawn.
    int upperLabelOffset_ = 2;
    QPoint lastMouse_;  // where the last button was pressed, for DblClick
    std::unique_ptr<QPrinter> printer_;
};

// Saves the picture as a JPEG file with quality 100, and when that fails with 80,
// 60 and 40; after the last failure the user is told "Chyba při ukládání souboru".
// `write` writes the encoded bytes (the file system's writer when empty).
bool SavePictureAsJpeg(const QImage& picture, const std::string& FileName,
                       const std::function<bool(const std::vector<uint8_t>&, int quality)>& write = {});

} // namespace zeko::graph
