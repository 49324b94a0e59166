#include "core/RegisterTables.h"

#include <array>

namespace zeko {
namespace {

// The other families are never addressed by the program; their entries are
// placeholders (register = index, one byte), keeping the sizes of their tables.
template <size_t N>
constexpr std::array<TRegisterEntry, N> Placeholders() {
    std::array<TRegisterEntry, N> table{};
    for (size_t i = 0; i < N; ++i)
        table[i] = {static_cast<uint16_t>(i), 1};
    return table;
}

constexpr std::array<TRegisterEntry, 59> Station0Table() {
    auto table = Placeholders<59>();
    table[31] = {0x000D, 1};  // the one-byte read that the send check lets through
    return table;
}

constexpr auto kStation0 = Station0Table();
constexpr auto kStations4To7 = Placeholders<7>();
constexpr auto kStation20 = Placeholders<15>();
constexpr auto kStations24To31 = Placeholders<3>();
constexpr auto kStations32To47 = Placeholders<35>();
constexpr auto kStations48To49 = Placeholders<11>();
constexpr auto kStations50To51 = Placeholders<1>();
constexpr auto kStations55To62 = Placeholders<5>();
constexpr auto kBanked = Placeholders<11>();

struct TFamily {
    tlg::TStationRange Stations;
    std::span<const TRegisterEntry> Table;
};

// In the order the table builder looks for a destination's family.
const TFamily kFamilies[] = {
    {{0, 0}, kStation0},
    {{32, 47}, kStations32To47},
    {tlg::OwnRuleStations, kStations55To62},
    {{50, 51}, kStations50To51},
    {{48, 49}, kStations48To49},
    {{20, 20}, kStation20},
    {{24, 31}, kStations24To31},
    {{4, 7}, kStations4To7},
    {tlg::BankedStations, kBanked},
    {{tlg::StationRegulator, tlg::StationRegulator}, RegulatorTable},
};

} // namespace

std::span<const TRegisterEntry> RegisterTableFor(uint8_t d) {
    for (const TFamily& family : kFamilies)
        if (family.Stations.Holds(d))
            return family.Table;
    return {};
}

} // namespace zeko
