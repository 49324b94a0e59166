#pragma once
// The series of the day graph: points of (minute of the day, value) with the
// drawing attributes of the series. A series owns its points; they keep the order
// in which they were added until Sort. Points are addressed from 1.
//
// The day graph lives in namespace zeko::graph: its series class keeps the name
// TSet, which in zeko names the small sets of enumeration values.
#include "platform/Graphics.h"

#include <cstdint>
#include <vector>

namespace zeko::graph {

struct TGraphPoint {
    int32_t Minute = 0;  // 0..1440
    double Value = 0;
};

class TSet {
public:
    TSet() = default;
    virtual ~TSet() = default;
    TSet(const TSet&) = default;
    TSet& operator=(const TSet&) = default;

    TColor Color = clBlack;  // pen and brush; a TSet2's colour of values of 0 or more
    bool Visible = false;
    bool Band = false;       // tolerance band around a line
    int BandPlus = 0;        // upper band edge: value × (1 + BandPlus ÷ 100)
    int BandMinus = 0;       // lower band edge: value × (100 − BandMinus) ÷ 100
    // Neighbouring points are joined only when fewer than GapLimit minutes apart;
    // a point before a gap, and the last one, hold for GapLimit − 1 minutes.
    int GapLimit = 0;

    void Clear() { points_.clear(); }
    void Add(const TGraphPoint& point) { points_.push_back(point); }
    // A point outside 1..Count reads as minute 0, value 0.
    void GetPoint(int index, TGraphPoint& point) const;
    // A point outside 1..Count is not written.
    void SetPoint(int index, const TGraphPoint& point);
    int Count() const { return static_cast<int>(points_.size()); }
    // By minute, ascending; points of one minute in no defined order.
    void Sort();
    const std::vector<TGraphPoint>& Points() const { return points_; }

private:
    std::vector<TGraphPoint> points_;
};

// The power-factor series: segments starting at a negative (capacitive) value are
// drawn in NegativeColor.
class TSet2 : public TSet {
public:
    TColor NegativeColor = clBlack;
};

} // namespace zeko::graph
