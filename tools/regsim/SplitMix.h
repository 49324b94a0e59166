#pragma once
// splitmix64: a small, well-mixed generator, the same on every machine. The ring's
// record values and the fault choices come from it, so a seed repeats a run.
#include <cstdint>

namespace zeko::regsim {

// What a running generator adds to its state at each step.
constexpr uint64_t SplitMixIncrement = 0x9E3779B97F4A7C15ull;

// The generator's output for the state before a step.
inline uint64_t SplitMix(uint64_t x) {
    x += SplitMixIncrement;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

} // namespace zeko::regsim
