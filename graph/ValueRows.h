#pragma once
// The rows of a value axis' ticks, labels and grid lines, shared by the screen
// and the printed page.
#include "platform/FormatSettings.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace zeko::graph {

// Calls line(y, k) for the steps k = first .. last at the rows bottom − Round(k ×
// pixelsPerStep) (Trunc with `truncate`), from the bottom up, and stops after the
// first row at or above `top`. A step that lands on the row of the one before is
// passed over, so an axis of millions of steps on a plot of a few hundred rows
// costs one call per row; a scale of 0 (a plot without height) gives its one row.
template <typename Line>
void ForEachValueRow(int bottom, int top, double pixelsPerStep, int64_t first, int64_t last, bool truncate,
                     Line line) {
    auto rowOf = [&](int64_t k) {
        const double d = std::min(double(k) * pixelsPerStep, 1e9);
        return bottom - static_cast<int>(truncate ? std::trunc(d) : double(Round(d)));
    };
    int previous = INT_MIN;
    for (int64_t k = first; k <= last;) {
        const int y = rowOf(k);
        if (y != previous)
            line(y, k);
        previous = y;
        if (y <= top || !(pixelsPerStep > 0))
            break;
        int64_t next = k + 1;
        if (pixelsPerStep < 1) {
            // The first step that can reach the next row up.
            const double needed = (bottom - y) + 1 - (truncate ? 0.0 : 0.5);
            next = std::max<int64_t>(next, static_cast<int64_t>(std::ceil(needed / pixelsPerStep)));
        }
        k = next;
    }
}

} // namespace zeko::graph
