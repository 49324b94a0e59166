// logopic OUTPUT.jpg: draws a 360 x 200 picture for the background of the main
// window's child-window area (the program shows "logo.jpg" from its folder there)
// and writes it as a baseline JPEG.
//   QT_QPA_PLATFORM=offscreen build/tools/logopic/logopic demo/logo.jpg
#include "tools/PictureTool.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include <cmath>

namespace {

constexpr int Width = 360;
constexpr int Height = 200;

const QColor Face(212, 208, 200);  // the program's button face, so the picture sits on the window
const QColor Blue(5, 59, 149);

// A power-factor dial: a scale from the capacitive to the inductive side and a needle.
void DrawDial(QPainter& p, const QPointF& centre, double radius) {
    p.setPen(QPen(Blue, 3));
    p.setBrush(Qt::white);
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(Blue.lighter(130), 2));
    for (int i = 0; i <= 10; ++i) {
        const double a = M_PI * (0.15 + 0.07 * i);
        const QPointF dir(-std::cos(a), -std::sin(a));
        p.drawLine(centre + dir * radius * 0.72, centre + dir * radius * (i % 5 == 0 ? 0.95 : 0.86));
    }
    p.setPen(QPen(QColor(200, 40, 40), 4, Qt::SolidLine, Qt::RoundCap));
    const double needle = M_PI * 0.58;
    p.drawLine(centre, centre + QPointF(-std::cos(needle), -std::sin(needle)) * radius * 0.8);
    p.setBrush(Blue);
    p.setPen(Qt::NoPen);
    p.drawEllipse(centre, 6, 6);
}

QImage DrawLogo() {
    QImage image(Width, Height, QImage::Format_RGB888);
    image.fill(Face);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient plate(0, 0, 0, Height);
    plate.setColorAt(0, Blue.lighter(150));
    plate.setColorAt(1, Blue);
    p.setPen(QPen(Blue.darker(150), 2));
    p.setBrush(plate);
    p.drawRoundedRect(QRectF(4, 4, Width - 8, Height - 8), 18, 18);
    DrawDial(p, QPointF(90, 100), 62);

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(54);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(166, 40, 180, 76), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ZEKO"));
    QFont line(QStringLiteral("DejaVu Sans"));
    line.setPixelSize(17);
    p.setFont(line);
    p.drawText(QRectF(168, 112, 190, 26), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Regulátor M7"));
    p.setPen(QPen(QColor(255, 200, 60), 3));
    p.drawLine(168, 146, 330, 146);
    p.end();
    return image;
}

} // namespace

int main(int argc, char** argv) { return zeko::RunPictureTool(argc, argv, "logopic", DrawLogo); }
