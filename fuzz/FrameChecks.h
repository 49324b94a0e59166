#pragma once
// The fuzz entry of the link layer's frame handling: the builders, the transmit
// queue, the reply frame parser and the reply check, driven by arbitrary bytes.
// The fuzzer (FrameChecksFuzzer.cpp) and the corpus replay test call it alike.
#include <cstddef>
#include <cstdint>

namespace zeko::fuzz {

// Runs one input; false when a rule was broken (a reply with a bad check byte, from
// another station or refused by the check reached the handler, a built telegram
// had bad check bytes, the queue lost its shape). Crashes are the fuzzer's to find.
bool FrameChecks(const uint8_t* data, size_t size);

} // namespace zeko::fuzz
