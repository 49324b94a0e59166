#include "core/RegisterTables.h"

#include <array>

namespace zeko {
namespace {

// Station 8, the regulator; the comments give the memory kind the program uses.
constexpr std::array<TRegisterEntry, reg8::Size> kRegulator = {{
    {0x0070, 15}, {0x0080, 15}, {0x0090, 17}, {0x00A2, 21},  //  0.. 3 identification texts (3)
    {0x0100, 26},                                            //  4 identification block (3)
    {0x0E01, 1},  {0x0E08, 1},  {0x0E09, 1},  {0x0E0A, 1},   //  5.. 8 settings (0)
    {0x0E0B, 16}, {0x0E1B, 16}, {0x0E2B, 2},  {0x0E2D, 6},   //  9..12
    {0x0E33, 16}, {0x0E50, 16}, {0x0E60, 16}, {0x0E70, 8},   // 13..16
    {0xFF00, 16},                                            // 17 live values (0)
    {0x0079, 7},  {0x007C, 4},                               // 18..19 record pointers (1)
    {0x0113, 1},                                             // 20 record address, bits 16..23 (0)
    {0x0E80, 24}, {0x0E02, 1},                               // 21..22 settings (0)
    {0x0E79, 7},  {0x0E7C, 4},                               // 23..24 record pointers (0)
    {0x0E00, 1},                                             // 25 not used
    {0x0000, 1},  {0x0001, 1},                               // 26..27 start-up writes (1)
    {0xFF00, 7},                                             // 28 clock (1)
    {0x0E86, 3},  {0x0086, 3},  {0x0E8F, 3},  {0x008F, 3},   // 29..32 settings and twins
    {0x0E80, 5},  {0x0080, 5},  {0x0E92, 4},  {0x0092, 4},   // 33..36
    {0x0E8B, 4},  {0x008B, 4},                               // 37..38
    {0x0070, 8},  {0x0050, 16}, {0x0060, 16},                // 39..41 working registers (1)
    {0x0008, 1},  {0x0009, 1},  {0x000A, 1},  {0x000B, 16},  // 42..45
    {0x001B, 16}, {0x0033, 16},                              // 46..47
    {0x0E96, 1},  {0x0096, 1},  {0x0E97, 1},  {0x0097, 1},   // 48..51
    {0x0002, 1},                                             // 52
}};

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

bool In(uint8_t d, uint8_t low, uint8_t high) { return d >= low && d <= high; }

} // namespace

std::span<const TRegisterEntry> RegisterTableFor(uint8_t d) {
    if (d == 0)
        return kStation0;
    if (In(d, 32, 47))
        return kStations32To47;
    if (In(d, 55, 62))
        return kStations55To62;
    if (In(d, 50, 51))
        return kStations50To51;
    if (In(d, 48, 49))
        return kStations48To49;
    if (d == 20)
        return kStation20;
    if (In(d, 24, 31))
        return kStations24To31;
    if (In(d, 4, 7))
        return kStations4To7;
    if (IsBankedDestination(d))
        return kBanked;
    if (d == 8)
        return kRegulator;
    return {};
}

} // namespace zeko
