#include "graph/HlavickaGrafu.h"

#include "platform/FormatSettings.h"

#include <QPrinter>

#include <algorithm>

namespace zeko {

TDeviceMetrics PrinterMetrics(const QPrinter& printer) {
    TDeviceMetrics m;
    const QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    m.Width = page.width();
    m.Height = page.height();
    m.PixelsPerInchX = printer.logicalDpiX();
    m.PixelsPerInchY = printer.logicalDpiY();
    m.OffsetX = page.left() - paper.left();
    m.OffsetY = page.top() - paper.top();
    return m;
}

TDeviceMetrics PictureMetrics(int width, int height) {
    TDeviceMetrics m;
    m.Width = width;
    m.Height = height;
    m.PixelsPerInchX = m.PixelsPerInchY = PicturePixelsPerInch;
    return m;
}

int CentimetresToLength(const TDeviceMetrics& device, bool Vertical, double Centimetres) {
    const int resolution = Vertical ? device.PixelsPerInchY : device.PixelsPerInchX;
    return static_cast<int>(Round(resolution * Centimetres / 2.54));
}

int CentimetresToPixels(const TDeviceMetrics& device, bool Vertical, double Centimetres) {
    return CentimetresToLength(device, Vertical, Centimetres) - (Vertical ? device.OffsetY : device.OffsetX);
}

int PointsToFontHeight(const TDeviceMetrics& device, int points) {
    return -static_cast<int>(Round(points * device.PixelsPerInchY / 72.0));
}

int PenScale(const TDeviceMetrics& device) {
    return std::max(1, static_cast<int>(Round(double(std::min(device.PixelsPerInchX, device.PixelsPerInchY)) /
                                              OrdinaryPrinterPixelsPerInch)));
}

void DrawGraphHeader(TCanvas& Canvas, const TDeviceMetrics& device, const TRect& Rect, const std::string& Title,
                     const std::string& Subtitle, const std::vector<std::string>& Lines) {
    TFont saved;
    saved.Assign(Canvas.Font());
    TFont& font = Canvas.Font();
    font.SetName("Arial");
    font.SetHeight(PointsToFontHeight(device, 20));
    font.SetStyle(TFontStyles{fsBold});
    // Centred over the rectangle (the plot's width), not half its width from the
    // sheet's edge.
    const int centre = (Rect.Left + Rect.Right) / 2;
    Canvas.TextOut(centre - Canvas.TextWidth(Title) / 2, Rect.Top - Canvas.TextHeight(Title), Title);
    Canvas.TextOut(centre - Canvas.TextWidth(Subtitle) / 2, Rect.Top, Subtitle);
    font.SetHeight(PointsToFontHeight(device, 10));
    const int lineHeight = Canvas.TextHeight("Wg");
    int y = Rect.Top + 2 * lineHeight;
    for (const std::string& line : Lines) {
        Canvas.TextOut(Rect.Left, y, line);
        y += lineHeight;
    }
    Canvas.Font().Assign(saved);
}

} // namespace zeko
