#pragma once
// The printed day graph's page: device metrics of a printer page or of the
// picture, centimetres measured on the sheet turned into device pixels, and the
// page header with the title, the subtitle and five lines of details.
#include "platform/qt/Canvas.h"

#include <string>
#include <vector>

class QPrinter;

namespace zeko {

struct TDeviceMetrics {
    int Width = 0, Height = 0;  // the drawable page in device pixels
    int PixelsPerInchX = 96, PixelsPerInchY = 96;
    // Where the drawable page starts on the sheet (a printer's unprintable edge).
    int OffsetX = 0, OffsetY = 0;
};

// The printer's page as it stands (orientation, resolution, margins).
TDeviceMetrics PrinterMetrics(const QPrinter& printer);
// A picture stands for an 11 × 8.25 inch page, so its margins in centimetres
// leave room for the plot whatever printer there is.
constexpr int PicturePixelsPerInch = 200;
TDeviceMetrics PictureMetrics(int width, int height);

// A position `centimetres` from the sheet's left (or, Vertical, top) edge, in the
// drawable page's pixels.
int CentimetresToPixels(const TDeviceMetrics& device, bool Vertical, double Centimetres);
// A length (a margin from the right or the bottom, a distance) in pixels.
int CentimetresToLength(const TDeviceMetrics& device, bool Vertical, double Centimetres);
// A font of that many points as a pixel height (negative, as character heights are).
int PointsToFontHeight(const TDeviceMetrics& device, int points);
// The page's pens are given in the pixels of a printer of ordinary resolution: on a
// finer device each such pixel covers this many of its own (1 on coarser ones, and
// in the picture), so that a 4-pixel axis is as thick on a 1200 dpi page as on a
// 300 dpi one.
constexpr int OrdinaryPrinterPixelsPerInch = 300;
int PenScale(const TDeviceMetrics& device);

// Title and subtitle in Arial 20 bold, centred over the rectangle, the title
// ending at Rect.Top and the subtitle starting there; the lines in 10 points at
// Rect.Left from two line heights under Rect.Top, one under the other. The canvas
// font is restored.
void DrawGraphHeader(TCanvas& Canvas, const TDeviceMetrics& device, const TRect& Rect, const std::string& Title,
                     const std::string& Subtitle, const std::vector<std::string>& Lines);

} // namespace zeko
