#include "graph/FullOknoSeries.h"

#include <algorithm>

namespace zeko::graph {

void TSet::GetPoint(int index, TGraphPoint& point) const {
    point = index >= 1 && index <= Count() ? points_[static_cast<size_t>(index - 1)] : TGraphPoint{};
}

void TSet::SetPoint(int index, const TGraphPoint& point) {
    if (index >= 1 && index <= Count())
        points_[static_cast<size_t>(index - 1)] = point;
}

void TSet::Sort() {
    std::sort(points_.begin(), points_.end(),
              [](const TGraphPoint& a, const TGraphPoint& b) { return a.Minute < b.Minute; });
}

} // namespace zeko::graph
