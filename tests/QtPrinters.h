#pragma once
// Qt's sizes, points and rectangles as a test failure prints them: 696x480,
// (10,20), (10,20 900x600), not as the bytes they are made of.
#include <QPoint>
#include <QRect>
#include <QSize>

#include <ostream>

inline void PrintTo(const QSize& s, std::ostream* os) { *os << s.width() << "x" << s.height(); }
inline void PrintTo(const QPoint& p, std::ostream* os) { *os << "(" << p.x() << "," << p.y() << ")"; }
inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << "(" << r.x() << "," << r.y() << " " << r.width() << "x" << r.height() << ")";
}
