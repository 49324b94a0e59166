#pragma once
// One direction of a grid: the columns across or the rows down. It holds the
// sizes of the lines (columns or rows), how many of them are fixed, the first
// scrolled line shown (LeftCol or TopRow), the current line and the anchor of a
// range selection, and answers the pixel questions of that direction. `line` is
// the width of the gap after each line (the grid line), `client` the room on the
// screen in that direction.
#include <algorithm>
#include <vector>

namespace zeko {

struct GridAxis {
    std::vector<int> sizes;
    int fixed = 1;
    int first = 1;    // the first scrollable line shown
    int current = 1;  // the current cell's line
    int anchor = 1;   // the other corner of the selection
    int defaultSize = 0;

    int Count() const { return static_cast<int>(sizes.size()); }
    int Size(int index) const { return index >= 0 && index < Count() ? sizes[index] : defaultSize; }
    // A scrollable line left of (above) the view.
    bool ScrolledOut(int index) const { return index >= fixed && index < first; }
    // The nearest scrollable line (the first one when there is none).
    int ClampScrollable(int index) const { return std::clamp(index, fixed, std::max(fixed, Count() - 1)); }

    int FixedExtent(int line) const;  // the fixed lines with their gaps
    int Total(int line) const;        // every line with its gap
    // Where a line starts in the view; scrolled-out lines get the place they would
    // have, left of (above) the fixed lines' end.
    int Start(int index, int line) const;
    // The line that holds the pixel position (its gap included), or -1.
    int Find(int pos, int line, int client) const;
    // The largest `first` that still fills the view from there to the last line.
    int MaxFirst(int client, int line) const;
    // Scrollable lines shown whole from `first`.
    int VisibleCount(int client, int line) const;
    // The `first` that shows line `index` whole, moving as little as it can.
    int FirstShowing(int index, int client, int line) const;
    // The line whose end lies within `zone` pixels of the position, or -1.
    int BoundaryAt(int pos, int line, int client, int zone) const;

    // Sets the count; new lines take defaultSize, the positions stay inside.
    void Resize(int count);
    // Sets the fixed count (at most Count() - 1); the positions start again after it.
    void SetFixed(int count);
    // Moves a line's size; the caller moves the positions (MovedIndex).
    void Move(int from, int to);
};

// Where index `i` ends up when the item at `from` moves to `to`.
int MovedIndex(int i, int from, int to);

// Takes the item at `from` out and puts it in again at `to`; both lie inside v.
template <class T>
void MoveItem(std::vector<T>& v, int from, int to) {
    const auto at = [&](int i) { return v.begin() + i; };
    if (from < to)
        std::rotate(at(from), at(from + 1), at(to + 1));
    else if (to < from)
        std::rotate(at(to), at(from), at(from + 1));
}

} // namespace zeko
