#include "app/ProgramIcon.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>
#include <numbers>

namespace zeko {
namespace {

const QColor Blue(5, 59, 149);
const QColor LightBlue(62, 128, 220);
const QColor Band(80, 200, 90);
const QColor Needle(232, 80, 40);

// A point of the dial: `degrees` from the right end of its half circle, counter-
// clockwise, `radius` from its centre.
QPointF OnDial(QPointF centre, double radius, double degrees) {
    const double a = degrees * std::numbers::pi / 180.0;
    return {centre.x() + radius * std::cos(a), centre.y() - radius * std::sin(a)};
}

} // namespace

// Drawn on a 256-pixel square and scaled; the small sizes leave out the ticks and
// the wave, which would only blur there.
QImage DrawProgramIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    const bool small = size <= 32;

    QLinearGradient face(0, 0, 0, 256);
    face.setColorAt(0, LightBlue);
    face.setColorAt(1, Blue);
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);

    const QPointF centre(128, small ? 170 : 158);
    const double radius = small ? 96 : 92;
    const QRectF dial(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, small ? 22 : 14, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(dial, 0, 180 * 16);
    // The dead band around a power factor of one, at the top of the scale.
    p.setPen(QPen(Band, small ? 22 : 14, Qt::SolidLine, Qt::FlatCap));
    p.drawArc(dial, 72 * 16, 36 * 16);
    if (!small) {
        p.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap));
        for (int degrees = 0; degrees <= 180; degrees += 30)
            p.drawLine(OnDial(centre, radius - 16, degrees), OnDial(centre, radius - 34, degrees));
    }

    p.setPen(QPen(Needle, small ? 18 : 12, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, OnDial(centre, radius - 14, 80));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(centre, small ? 18 : 14, small ? 18 : 14);

    if (!small) {
        // The alternating current the regulator compensates.
        QPainterPath wave;
        wave.moveTo(64, 206);
        for (int x = 64; x <= 192; x += 2)
            wave.lineTo(x, 206 - 16 * std::sin((x - 64) * 2 * std::numbers::pi / 64));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::white, 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(wave);
    }
    return image;
}

QIcon ProgramIcon() {
    QIcon drawn;
    for (int size : ProgramIconSizes)
        drawn.addPixmap(QPixmap::fromImage(DrawProgramIcon(size)));
    return QIcon::fromTheme(QStringLiteral("zeko"), drawn);
}

} // namespace zeko
