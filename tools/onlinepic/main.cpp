// onlinepic OUTPUT.jpg: draws the 1000 x 648 background of the live-values window,
// a plain panel layout under the window's labels, and writes it as a baseline JPEG.
//   QT_QPA_PLATFORM=offscreen build/tools/onlinepic/onlinepic dialogs/online.jpg
#include "dialogs/OnlineLayout.h"
#include "tools/PictureTool.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>

namespace {

constexpr int Width = 1000;
constexpr int Height = 648;

const QColor Blue(5, 59, 149);
const QColor Panel(226, 232, 242);
const QColor PanelEdge(120, 140, 180);
const QColor Display(214, 228, 204);  // the value fields, a pale display green
const QColor DisplayEdge(96, 120, 96);

void DrawPanel(QPainter& p, const QRect& r) {
    p.setPen(QPen(PanelEdge, 2));
    p.setBrush(Panel);
    p.drawRoundedRect(r, 10, 10);
}

// A value's box: its frame line is the outermost pixel of the box.
void DrawDisplay(QPainter& p, const QRect& r) {
    p.setPen(QPen(DisplayEdge, 1));
    p.setBrush(Display);
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
}

QImage DrawBackground() {
    QImage image(Width, Height, QImage::Format_RGB888);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, Height);
    sky.setColorAt(0, Blue.lighter(140));
    sky.setColorAt(1, Blue.darker(160));
    p.fillRect(image.rect(), sky);

    // A light stripe at the top and the bottom frames the panels.
    p.fillRect(QRect(0, 0, Width, 24), Blue.darker(200));
    p.fillRect(QRect(0, Height - 24, Width, 24), Blue.darker(200));

    // One panel under every label, divided between the measured values (left) and
    // the regulation and the clocks (right); a value box under each value label.
    DrawPanel(p, QRect(235, 175, 550, 300));
    p.setPen(QPen(PanelEdge, 1));
    p.drawLine(512, 195, 512, 372);
    for (size_t i = 0; i < zeko::online::ValueLabels.size(); ++i)
        DrawDisplay(p, zeko::online::ValueBox(i));
    p.end();
    return image;
}

} // namespace

int main(int argc, char** argv) { return zeko::RunPictureTool(argc, argv, "onlinepic", DrawBackground); }
