#include "platform/GridAxis.h"

#include <algorithm>

namespace zeko {

int MovedIndex(int i, int from, int to) {
    if (i == from)
        return to;
    if (from < to && i > from && i <= to)
        return i - 1;
    if (to < from && i >= to && i < from)
        return i + 1;
    return i;
}

int GridAxis::FixedExtent(int line) const {
    int extent = 0;
    for (int i = 0; i < fixed && i < Count(); ++i)
        extent += sizes[i] + line;
    return extent;
}

int GridAxis::Total(int line) const {
    int total = 0;
    for (int s : sizes)
        total += s + line;
    return total;
}

int GridAxis::Start(int index, int line) const {
    int pos = 0;
    if (index < fixed) {
        for (int i = 0; i < index; ++i)
            pos += sizes[i] + line;
        return pos;
    }
    pos = FixedExtent(line);
    for (int i = first; i < index; ++i)
        pos += sizes[i] + line;
    for (int i = index; i < first; ++i)
        pos -= sizes[i] + line;
    return pos;
}

int GridAxis::Find(int pos, int line, int client) const {
    if (pos < 0 || pos >= client)
        return -1;
    int edge = 0;
    for (int i = 0; i < Count(); ++i) {
        if (ScrolledOut(i))
            continue;
        edge += sizes[i] + line;
        if (pos < edge)
            return i;
    }
    return -1;
}

int GridAxis::MaxFirst(int client, int line) const {
    int room = client - FixedExtent(line);
    int start = Count();
    // Take lines from the end while they fit; the last one always counts.
    while (start > fixed) {
        const int s = sizes[start - 1] + line;
        if (s > room && start < Count())
            break;
        room -= s;
        --start;
        if (room < 0)
            break;
    }
    return std::clamp(start, fixed, std::max(fixed, Count() - 1));
}

int GridAxis::VisibleCount(int client, int line) const {
    int pos = FixedExtent(line);
    int n = 0;
    for (int i = first; i < Count(); ++i) {
        if (pos + sizes[i] > client)
            break;
        pos += sizes[i] + line;
        ++n;
    }
    return n;
}

int GridAxis::FirstShowing(int index, int client, int line) const {
    if (index < fixed || index >= Count())
        return first;
    if (index < first)
        return index;
    int start = first;
    auto end = [&] {
        int pos = FixedExtent(line);
        for (int i = start; i < index; ++i)
            pos += sizes[i] + line;
        return pos + sizes[index];
    };
    while (start < index && end() > client)
        ++start;
    return start;
}

int GridAxis::BoundaryAt(int pos, int line, int client, int zone) const {
    for (int i = 0; i < Count(); ++i) {
        if (ScrolledOut(i))
            continue;
        const int end = Start(i, line) + sizes[i];
        if (pos >= end - zone && pos < end + line + zone)
            return i;
        if (end > client)
            break;
    }
    return -1;
}

void GridAxis::Resize(int count) {
    count = std::max(0, count);
    sizes.resize(count, defaultSize);
    fixed = std::clamp(fixed, 0, std::max(0, count - 1));
    current = ClampScrollable(current);
    anchor = ClampScrollable(anchor);
    first = ClampScrollable(first);
}

void GridAxis::SetFixed(int count) {
    fixed = std::clamp(count, 0, std::max(0, Count() - 1));
    current = anchor = first = fixed;
}

void GridAxis::Move(int from, int to) { MoveItem(sizes, from, to); }

} // namespace zeko
