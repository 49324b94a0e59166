#pragma once
// A view of the day graph: which input (channel id 0..3) each of the nine upper
// series shows. The range reader takes it to know which inputs to read.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace zeko {

constexpr size_t GraphSeriesCount = 9;
constexpr uint16_t NoInput = 255;
constexpr size_t GraphViewNameLength = 25;

struct TGraphView {
    std::string Name;  // at most GraphViewNameLength characters
    // InputMap[s - 1]: the input of series s, NoInput for none.
    std::array<uint16_t, GraphSeriesCount> InputMap = [] {
        std::array<uint16_t, GraphSeriesCount> map{};
        map.fill(NoInput);
        return map;
    }();
};

} // namespace zeko
